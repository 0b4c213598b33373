#pragma once

#include <QObject>
#include <vector>

#include "limits/LimitCheck.h"
#include "panes/AnalysisPane.h"

class QLabel;

namespace qm {

class PaneTableView;

// The verdicts of one pane: its rows judged once whenever the pane shows a file or the
// active profile changes, the failing cells of its main table marked through the table's
// verdict role, a summary line, and the failing bars for its chart. Shows nothing while no
// profile is active.
class PaneLimitMarks : public QObject {
    Q_OBJECT
public:
    PaneLimitMarks(const AnalysisPane& pane, QWidget* parent);

    QLabel* SummaryLabel() const { return m_summary; }
    void SetTable(PaneTableView* table) { m_table = table; }
    // After the pane showed a file (and rebuilt its table).
    void FileShown();
    void Refresh();

    // The last verdicts; empty while no profile is active or no file is shown.
    const SectionCheck& Check() const { return m_check; }

signals:
    // The chart bars of the failing channels, after every judgement.
    void FailingBarsChanged(const std::vector<int>& bars);

private:
    const AnalysisPane& m_pane;
    QLabel* m_summary;
    PaneTableView* m_table = nullptr;
    bool m_hasFile = false;
    SectionCheck m_check;
};

// The sections whose panes show verdicts: level, tilt, scan and limit.
bool SectionShowsVerdicts(PaneSection section);

} // namespace qm
