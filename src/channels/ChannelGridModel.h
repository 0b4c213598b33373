#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "channels/ChannelPlanList.h"

namespace qm {

// What the channel grid shows, without widgets: per row the cell texts and the index of the
// record the row shows, plus the current row and column of the editor. The desktop grid
// mirrors it; the cell edit rules read and update it.
class CChannelGridModel {
public:
    // Grid fill: one row per record of the plan in order, cells by the display rules of the
    // plan's kind. A kind other than 0, 1 and 2 has no columns and shows no rows. Every row is
    // inserted focused, so the last one ends as the current row.
    void Fill(const CChannelPlanList& plan);
    void Clear();

    int ColumnCount() const { return m_columns; }
    std::size_t RowCount() const { return m_rows.size(); }
    // row and column must lie inside the grid.
    const std::string& Cell(std::size_t row, int column) const;
    void SetCell(std::size_t row, int column, std::string text);
    const std::vector<std::string>& RowCells(std::size_t row) const { return m_rows[row].cells; }
    std::size_t RecordOf(std::size_t row) const { return m_rows[row].record; }
    bool Contains(std::size_t row, int column) const {
        return row < m_rows.size() && column >= 0 && column < m_columns;
    }

    std::size_t CurrentRow() const { return m_currentRow; }
    int CurrentColumn() const { return m_currentColumn; }
    void SetCurrent(std::size_t row, int column) {
        m_currentRow = row;
        m_currentColumn = column;
    }
    void SetCurrentRow(std::size_t row) { m_currentRow = row; }

private:
    struct Row {
        std::vector<std::string> cells;
        std::size_t record = 0;
    };
    std::vector<Row> m_rows;
    int m_columns = 0;
    std::size_t m_currentRow = 0;
    int m_currentColumn = 0;
};

// The choices request of a drop-down: the column's choices for the plan's kind and the signal
// type of the current row's record; none when there is no current row.
std::vector<std::string> CurrentRowChoices(const CChannelPlanList& plan,
                                           const CChannelGridModel& grid, int column);

} // namespace qm
