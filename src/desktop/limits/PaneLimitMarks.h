#pragma once

#include <QObject>

#include "measurement/FileDataExt.h"
#include "panes/AnalysisPane.h"

class QLabel;
class QTableWidget;

namespace qm {

// The verdicts of one pane: failing cells of its main table marked (colour and a cross, so
// that the mark does not depend on seeing colour) and a summary line. Judges again whenever
// the file or the active profile changes; shows nothing while no profile is active.
class PaneLimitMarks : public QObject {
    Q_OBJECT
public:
    PaneLimitMarks(PaneSection section, QWidget* parent);

    QLabel* SummaryLabel() const { return m_summary; }
    void SetTable(QTableWidget* table) { m_table = table; }
    // After the pane showed a file (and rebuilt its table).
    void FileShown(const _tagFileDataExt& element);
    void Refresh();

private:
    PaneSection m_section;
    QLabel* m_summary;
    QTableWidget* m_table = nullptr;
    _tagFileDataExt m_element{};
    bool m_hasFile = false;
};

// The sections whose panes show verdicts: level, tilt, scan and limit.
bool SectionShowsVerdicts(PaneSection section);

} // namespace qm
