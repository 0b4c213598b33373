#pragma once

#include <QTableWidget>

#include "panes/PaneTable.h"

namespace qm {

struct SectionCheck;

// Item role of a cell's limit verdict (a Verdict as int); unset on cells that do not fail.
inline constexpr int kVerdictRole = Qt::UserRole + 1;

// A report-mode table of an analysis pane: shows one of the core's pane tables as it is, with
// grid lines and whole-row selection. Shares of the width follow the table's client width
// until the user drags a column border.
class PaneTableView : public QTableWidget {
    Q_OBJECT
public:
    explicit PaneTableView(QWidget* parent = nullptr);

    // Columns (when they changed) and every row of the table.
    void Show(const PaneTable& table);
    // Marks the failing cells of the check (made from the table shown), clearing older marks:
    // a cross before the text, red on pink, and the reasons as the tip.
    void ShowVerdicts(const SectionCheck& check);
    // The text a cell is drawn with: its own, after the cross when it fails.
    static QString ShownText(const QModelIndex& index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyColumnWidths();

    std::vector<PaneColumn> m_columns;
    bool m_applyingWidths = false;
    bool m_userSized = false;
};

} // namespace qm
