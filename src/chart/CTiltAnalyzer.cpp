#include "chart/CTiltAnalyzer.h"

#include "chart/ChartConversion.h"

namespace qm {

namespace {
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kYellow = 0x00FFFF;
constexpr int kUnitPosition = 13;
constexpr int kValueDecimals = 2;
constexpr std::chrono::milliseconds kPeriod{50};
// Shown when the stored tilt count disagrees with the plan's tilt channels.
constexpr const char* kTiltCountMessage = "Tilt channel num is incorrect";
} // namespace

CTiltAnalyzer::~CTiltAnalyzer() {
    StopRenderThread();
}

bool CTiltAnalyzer::Create(IFrameSink* window, const PlotRect& windowRect) {
    ConfigureChart(window, windowRect, ChartStyles({kGreen, StyleTiltBars}, kYellow, kYellow));
    Surface()->SetValueDecimals(kValueDecimals);
    Surface()->Update([](CDevGDI::State& s) {
        s.markerPlacement = kMarkerPlacementInSlot;
        s.markerUnitsOn = true;
        s.numericYScale = false;
    });
    return window && StartRenderThread(kPeriod);
}

void CTiltAnalyzer::Resize(int left, int top, int right, int bottom) {
    ResizeChart(left, top, right, bottom);
}

int CTiltAnalyzer::RefreshTexts() {
    SetChartTexts(QStringLiteral("CH"), kUnitPosition);
    return 1;
}

int CTiltAnalyzer::SetKindName() {
    SetKind("CS_TILT_ANALYZER");
    return 1;
}

void CTiltAnalyzer::SetData(const _tagFileDataExt& measurement) {
    TiltBarsResult tilt = TiltBars(MeasurementFile(measurement));
    if (!tilt.countMatches)
        ShowError(kTiltCountMessage);
    // A refused measurement still gets its grid, labels and texts, so the view never keeps
    // showing the previous chart.
    m_bars.Publish(std::move(tilt.bars));
    RequestFrame();
    ResetAfterData(true);
}

void CTiltAnalyzer::OnDrag(int x, int /*y*/) {
    DragOnBars(x, m_bars);
}

QImage CTiltAnalyzer::DrawFrame() {
    return DrawBars(m_bars);
}

} // namespace qm
