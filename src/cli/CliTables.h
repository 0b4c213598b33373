#pragma once

#include <iosfwd>
#include <vector>

#include "base/JsonWriter.h"
#include "panes/PaneTable.h"

namespace qm::cli {

// A table as `show` prints it: "[Tag]", the column titles, the rows, TAB-separated.
void PrintTable(std::ostream& out, const PaneTable& table);
// The tables as the JSON "tables" array: tag, columns, rows of cells.
void WriteTablesJson(JsonWriter& json, const std::vector<PaneTable>& tables);

} // namespace qm::cli
