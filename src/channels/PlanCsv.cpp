#include "channels/PlanCsv.h"
#include "res/StringTable.h"

#include <algorithm>

#include "base/CsvText.h"
#include "channels/CellEditRules.h"
#include "channels/ChannelColumnSet.h"
#include "channels/ChannelGridModel.h"
#include "channels/ChannelRowTexts.h"

namespace qm {

namespace {

constexpr char kSeparator = ',';
// Only kind 0 derives column widths from it, and widths do not matter here.
constexpr int kAnyWidth = 1000;

std::vector<std::string> Headings(int kind) {
    std::vector<std::string> headings;
    for (const ChannelColumnInfo& column : ChannelColumnSet(kind, kAnyWidth))
        headings.push_back(column.heading);
    return headings;
}

PlanCsvImport Refuse(std::size_t row, std::string column, std::string text, std::string reason,
                     std::optional<UserMessage> message = std::nullopt) {
    return {std::nullopt,
            PlanCsvProblem{row, std::move(column), std::move(text), message, std::move(reason)}};
}

// The order a row's cells are typed in: the grid's, but the symbol rate after the standard,
// since choosing a standard sets the rate to that standard's default and so would replace the
// rate the file gives.
std::vector<int> EditOrder(int columnCount) {
    std::vector<int> order;
    for (int c = 1; c < columnCount; ++c)
        if (c != kColSymbolRate)
            order.push_back(c);
    if (kColSymbolRate < columnCount)
        order.insert(std::find(order.begin(), order.end(), kColStandard) + 1, kColSymbolRate);
    return order;
}

} // namespace

std::string ExportPlanCsv(const CChannelPlanList& plan) {
    CChannelGridModel grid;
    grid.Fill(plan);
    std::string text = CsvRecord(Headings(plan.Kind()), kSeparator) + "\r\n";
    for (std::size_t row = 0; row < grid.RowCount(); ++row)
        text += CsvRecord(grid.RowCells(row), kSeparator) + "\r\n";
    return text;
}

PlanCsvImport ImportPlanCsv(std::string_view csv, int kind) {
    const std::vector<ChannelColumnInfo> columns = ChannelColumnSet(kind, kAnyWidth);
    if (columns.empty())
        return Refuse(0, "", "", Tr(txt::kCsvKind));
    // A spreadsheet of a comma-decimal locale saves with semicolons.
    const std::string_view firstLine = csv.substr(0, csv.find('\n'));
    const char separator = firstLine.find(';') != std::string_view::npos &&
                                   firstLine.find(',') == std::string_view::npos
                               ? ';'
                               : kSeparator;
    const auto records = ParseCsv(csv, separator);
    if (!records)
        return Refuse(0, "", "", Tr(txt::kCsvQuoteOpen));
    if (records->empty() || (*records)[0] != Headings(kind))
        return Refuse(0, "", "",
                      TrFill(txt::kCsvHeadings,
                             {std::to_string(kind), CsvRecord(Headings(kind), kSeparator)}));
    const std::size_t count = records->size() - 1;
    if (count == 0 || count > kMaxPlanChannels)
        return Refuse(0, "", "",
                      TrFill(txt::kCsvChannelCount,
                             {std::to_string(kMaxPlanChannels), std::to_string(count)}));

    CChannelPlanList plan;
    plan.SetKind(kind);
    CChannelGridModel grid;
    CCellEditRules rules(plan, grid);
    for (std::size_t row = 0; row < count; ++row) {
        const std::vector<std::string>& cells = (*records)[row + 1];
        if (cells.size() != columns.size())
            return Refuse(row + 1, "", "",
                          TrFill(txt::kCsvCellCount,
                                 {std::to_string(cells.size()), std::to_string(columns.size())}));
        // A new row starts from an empty record; rows below it do not exist yet, so the
        // uniqueness rules only see the rows already read.
        plan.Append(CommonChannel{});
        grid.Fill(plan);
        for (const int c : EditOrder(static_cast<int>(columns.size()))) {
            const std::string& text = cells[static_cast<std::size_t>(c)];
            const ChannelColumnInfo& column = columns[static_cast<std::size_t>(c)];
            if (grid.Cell(row, c) == text)
                continue;
            if (column.editor == CellEditor::ReadOnly)
                return Refuse(row + 1, column.heading, text, Tr(txt::kCsvReadOnly));
            if (!column.validChars.empty() &&
                text.find_first_not_of(column.validChars) != std::string::npos)
                return Refuse(row + 1, column.heading, text,
                              TrFill(txt::kCsvValidChars, {column.validChars}));
            const CellEditOutcome outcome = rules.EditFinished(row, c, text);
            if (outcome.message)
                return Refuse(row + 1, column.heading, text, "", outcome.message);
            if (!outcome.applied ||
                (column.editor == CellEditor::DropDown && grid.Cell(row, c) != text))
                return Refuse(row + 1, column.heading, text, Tr(txt::kCsvCannotShow));
        }
    }
    return {std::move(plan), std::nullopt};
}

} // namespace qm
