#include "desktop/frame/CChartHolder.h"

#include "chart/SectionChart.h"
#include "desktop/Prompt.h"
#include "desktop/frame/CLevantoView.h"
#include "desktop/panes/CAnalysisDialog.h"

namespace qm {

CChartHolder::CChartHolder(CLevantoView* view) : m_view(view) {
    m_view->SetHolder(this);
}

CChartHolder::~CChartHolder() {
    // The controller's render thread must stop before the view it draws into goes.
    m_current.reset();
    m_view->SetHolder(nullptr);
}

CInstrument& CChartHolder::InstallController(int sectionValue) {
    m_current.reset();
    // Without this the view would go on showing (and the panes saving) the previous chart.
    m_view->ClearFrame();
    m_current = MakeChart(SectionFromTreeValue(sectionValue));
    m_current->SetMarkerReceiver(this);
    m_current->SetMessageSink(this);
    m_current->Create(m_view, m_view->ClientRect());
    m_current->SetChartStyle(m_style);
    ++m_installs;
    return *m_current;
}

void CChartHolder::SetChartStyle(ChartStyle style) {
    m_style = style;
    if (m_current)
        m_current->SetChartStyle(style);
    DrawNow();
}

void CChartHolder::SetMarkerTarget(CAnalysisDialog* dialog) {
    m_markerTarget = dialog;
}

std::string CChartHolder::CurrentKind() const {
    return m_current ? m_current->GetKindName() : std::string();
}

void CChartHolder::DrawNow() {
    if (m_current)
        m_current->RenderTick();
}

void CChartHolder::Resize(const PlotRect& clientRect) {
    if (m_current)
        m_current->Resize(clientRect.left, clientRect.top, clientRect.right, clientRect.bottom);
}

void CChartHolder::OnDrag(int x, int y) {
    if (m_current)
        m_current->OnDrag(x, y);
}

void CChartHolder::StepMarker(CInstrument::MarkerStep step) {
    if (m_current)
        m_current->StepMarker(step);
}

void CChartHolder::MarkerMoved(long position) {
    if (m_markerTarget)
        m_markerTarget->MarkerMoved(position);
    m_view->AnnounceMarker();
}

void CChartHolder::ShowError(const std::string& text) {
    Prompt().ShowMessage(
        m_view->window(),
        {MessageCaption(MessageKind::Error), QString::fromStdString(text), {}, MessageKind::Error});
}

} // namespace qm
