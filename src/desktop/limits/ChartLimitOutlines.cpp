#include "desktop/limits/ChartLimitOutlines.h"

#include "desktop/frame/CChartHolder.h"
#include "desktop/panes/CAnalysisDialog.h"

namespace qm {

ChartLimitOutlines::ChartLimitOutlines(CChartHolder& holder, QObject* parent)
    : QObject(parent), m_holder(holder) {}

void ChartLimitOutlines::Follow(CAnalysisDialog* dialog) {
    disconnect(m_connection);
    m_chart = m_holder.Current();
    m_dialog = dialog;
    if (!dialog)
        return;
    m_connection =
        connect(dialog, &CAnalysisDialog::FailingBarsChanged, this, &ChartLimitOutlines::Apply);
    // A chart put back for a pane that judged before (after the About box) gets its outlines
    // at once.
    Apply(dialog->FailingBars());
}

void ChartLimitOutlines::Apply(const std::vector<int>& bars) {
    CInstrument* chart = m_holder.Current();
    // Another chart (or none) took the view's place since: nothing of ours to redraw.
    if (!chart || chart != m_chart)
        return;
    if (CMyDevGDI* surface = chart->Surface())
        surface->Update([&bars](CDevGDI::State& s) { s.outlinedBars = bars; });
    m_holder.DrawNow();
}

} // namespace qm
