#pragma once

#include <string>

#include "panes/AnalysisPane.h"

namespace qm {

// A pane's data table for a spreadsheet of the user's locale, beside the exact CSV export:
// UTF-8 with a byte-order mark, one header row with the column titles, CR LF after each
// row, fields separated by `separator` (quoted when needed) and plain numbers written with
// `decimalMark` ("65.1" becomes "65,1" for a comma locale; "12.50MHz" stays as it is).
std::string SpreadsheetText(const PaneTable& table, char separator, char decimalMark);

// The table a pane's spreadsheet export holds: "List" of the chart panes, "Table" of the level
// and hum panes.
const PaneTable* SpreadsheetTable(const AnalysisPane& pane);

} // namespace qm
