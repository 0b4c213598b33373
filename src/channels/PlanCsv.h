#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/UserMessage.h"
#include "channels/ChannelPlanList.h"
#include "res/StringTable.h"

namespace qm {

// A plan as CSV for spreadsheets: one header row with the grid's column headings (English in
// every language), then one row per channel with the texts the grid shows; UTF-8, CR LF line
// ends, comma separated.
std::string ExportPlanCsv(const CChannelPlanList& plan);

// Why an import stopped. row is the channel's ID (1 = the first data row; 0 = the header or
// the file as a whole), column the heading of the refused cell (empty for a whole row).
struct PlanCsvProblem {
    std::size_t row = 0;
    std::string column;
    std::string text;                   // the refused cell's text
    std::optional<UserMessage> message; // the cell editor's message when it refused the text
    std::string reason;                 // in the program's language when there is no message
};

struct PlanCsvImport {
    std::optional<CChannelPlanList> plan; // set when every cell was accepted
    std::optional<PlanCsvProblem> problem;
};

// Reads a plan of the kind from CSV as ExportPlanCsv writes it (a byte-order mark, LF line
// ends or ';' as separator are accepted too). Every cell goes through the cell edit rules in
// the grid's order (but the symbol rate after the standard, which would reset it), row by
// row, as if typed into a new row of the channel editor; cells that already show the text are
// left alone. The first cell the rules refuse or ignore stops the
// import, and no plan comes back.
PlanCsvImport ImportPlanCsv(std::string_view csv, int kind);

} // namespace qm
