#include "chart/CScanAnalyzer.h"

#include "chart/ChartConversion.h"

namespace qm {

namespace {
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kYellow = 0x00FFFF;
constexpr int kUnitPosition = 13;
constexpr std::chrono::milliseconds kPeriod{50};
} // namespace

CScanAnalyzer::~CScanAnalyzer() {
    StopRenderThread();
}

bool CScanAnalyzer::Create(IFrameSink* window, const PlotRect& windowRect) {
    ConfigureChart(window, windowRect, ChartStyles({kGreen, StyleChannelBars}, kYellow, kYellow));
    Surface()->Update([](CDevGDI::State& s) {
        s.markerPlacement = kMarkerPlacementInSlot;
        s.markerUnitsOn = true;
        s.numericYScale = false;
        s.yMin = 0;
        s.yMax = 120;
    });
    return window && StartRenderThread(kPeriod);
}

void CScanAnalyzer::Resize(int left, int top, int right, int bottom) {
    ResizeChart(left, top, right, bottom);
}

int CScanAnalyzer::RefreshTexts() {
    SetChartTexts(QStringLiteral("CH"), kUnitPosition);
    return 1;
}

int CScanAnalyzer::SetKindName() {
    SetKind("CS_SCAN_ANALYZER");
    return 1;
}

void CScanAnalyzer::SetData(const _tagFileDataExt& measurement) {
    m_bars.Publish(ScanBars(MeasurementFile(measurement)));
    RequestFrame();
    ResetAfterData(false);
}

void CScanAnalyzer::OnDrag(int x, int /*y*/) {
    DragOnBars(x, m_bars);
}

QImage CScanAnalyzer::DrawFrame() {
    return DrawBars(m_bars);
}

} // namespace qm
