#pragma once

#include <QPointer>
#include <memory>

#include "chart/CInstrument.h"
#include "chart/IMarkerReceiver.h"
#include "chart/IMessageSink.h"

namespace qm {

class CAnalysisDialog;
class CLevantoView;

// The one slot for the active chart controller, with the chart view it draws into. Marker
// moves go to the open pane's dialog, chart messages to a message box.
class CChartHolder : public IMarkerReceiver, public IMessageSink {
public:
    explicit CChartHolder(CLevantoView* view);
    ~CChartHolder() override;
    CChartHolder(const CChartHolder&) = delete;
    CChartHolder& operator=(const CChartHolder&) = delete;

    // Replaces the controller by a new one for a file-tree item value (a section's tree value;
    // level, hum and anything else get the null controller), created on the view.
    CInstrument& InstallController(int sectionValue);
    void InstallNullController() { InstallController(0); }
    CInstrument* Current() const { return m_current.get(); }
    std::string CurrentKind() const;
    // Controllers installed so far.
    int Installs() const { return m_installs; }

    void SetMarkerTarget(CAnalysisDialog* dialog);
    // The style every chart installed from now on is drawn in; the current one redraws in it.
    void SetChartStyle(ChartStyle style);
    ChartStyle Style() const { return m_style; }

    // Draws the current chart's next frame now rather than at the render thread's next
    // wake-up (up to 100 ms away); nothing happens when nothing changed.
    void DrawNow();

    // From the view.
    void Resize(const PlotRect& clientRect);
    void OnDrag(int x, int y);
    void StepMarker(CInstrument::MarkerStep step);

    void MarkerMoved(long position) override;
    void ShowError(const std::string& text) override;

private:
    CLevantoView* m_view;
    std::unique_ptr<CInstrument> m_current;
    QPointer<CAnalysisDialog> m_markerTarget;
    int m_installs = 0;
    ChartStyle m_style = ChartStyle::Classic;
};

} // namespace qm
