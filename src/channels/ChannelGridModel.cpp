#include "channels/ChannelGridModel.h"

#include "channels/ChannelRowTexts.h"

namespace qm {

void CChannelGridModel::Fill(const CChannelPlanList& plan) {
    m_rows.clear();
    m_columns = ChannelColumnCount(plan.Kind());
    if (m_columns == 0)
        return;
    m_rows.reserve(plan.Count());
    for (std::size_t i = 0; i < plan.Count(); ++i)
        m_rows.push_back({ChannelRowTexts(plan.Kind(), plan.At(i), i), i});
    if (!m_rows.empty())
        m_currentRow = m_rows.size() - 1;
}

void CChannelGridModel::Clear() {
    m_rows.clear();
    m_columns = 0;
    m_currentRow = 0;
    m_currentColumn = 0;
}

const std::string& CChannelGridModel::Cell(std::size_t row, int column) const {
    return m_rows[row].cells[static_cast<std::size_t>(column)];
}

void CChannelGridModel::SetCell(std::size_t row, int column, std::string text) {
    m_rows[row].cells[static_cast<std::size_t>(column)] = std::move(text);
}

std::vector<std::string> CurrentRowChoices(const CChannelPlanList& plan,
                                           const CChannelGridModel& grid, int column) {
    const std::size_t row = grid.CurrentRow();
    if (row >= grid.RowCount() || grid.RecordOf(row) >= plan.Count())
        return {};
    return ColumnChoices(plan.Kind(), column, plan.At(grid.RecordOf(row)).Type(plan.Kind()));
}

} // namespace qm
