#include "desktop/limits/PaneLimitMarks.h"

#include <QLabel>

#include "desktop/limits/LimitProfiles.h"
#include "desktop/panes/PaneTableView.h"
#include "limits/LimitTexts.h"
#include "res/StringTable.h"

namespace qm {

bool SectionShowsVerdicts(PaneSection section) {
    return section == PaneSection::Level || section == PaneSection::Tilt ||
           section == PaneSection::Scan || section == PaneSection::Limit;
}

PaneLimitMarks::PaneLimitMarks(const AnalysisPane& pane, QWidget* parent)
    : QObject(parent), m_pane(pane), m_summary(new QLabel(parent)) {
    m_summary->setObjectName("limitSummary");
    // A long verdict line wraps within the pane rather than widening the window.
    m_summary->setWordWrap(true);
    m_summary->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_summary->hide();
    connect(&LimitProfiles::Instance(), &LimitProfiles::Changed, this, &PaneLimitMarks::Refresh);
}

void PaneLimitMarks::FileShown() {
    m_hasFile = true;
    Refresh();
}

void PaneLimitMarks::Refresh() {
    if (!SectionShowsVerdicts(m_pane.Section()))
        return;
    const LimitProfile* profile = LimitProfiles::Instance().Active();
    m_check = profile && m_hasFile ? CheckPane(m_pane, *profile) : SectionCheck{};
    if (m_table)
        m_table->ShowVerdicts(m_check);
    emit FailingBarsChanged(FailingBars(m_check));
    if (!profile || !m_hasFile) {
        m_summary->hide();
        return;
    }
    const bool fails = m_check.verdict == Verdict::Fail;
    m_summary->setText(QString::fromStdString(SectionSummaryText(m_check, LanguageBase())));
    m_summary->setStyleSheet(fails ? "color: rgb(176,0,32); font-weight: bold;"
                                   : "color: rgb(27,110,32); font-weight: bold;");
    m_summary->setToolTip(QString::fromStdString(profile->ShownName(LanguageBase())));
    m_summary->show();
}

} // namespace qm
