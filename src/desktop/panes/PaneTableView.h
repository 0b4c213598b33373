#pragma once

#include <QTableWidget>

#include "panes/PaneTable.h"

namespace qm {

// A report-mode table of an analysis pane: shows one of the core's pane tables as it is, with
// grid lines and whole-row selection. Shares of the width follow the table's client width
// until the user drags a column border.
class PaneTableView : public QTableWidget {
    Q_OBJECT
public:
    explicit PaneTableView(QWidget* parent = nullptr);

    // Columns (when they changed) and every row of the table.
    void Show(const PaneTable& table);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyColumnWidths();

    std::vector<PaneColumn> m_columns;
    bool m_applyingWidths = false;
    bool m_userSized = false;
};

} // namespace qm
