#include "chart/CLimitAnalyzer.h"

#include "chart/ChartConversion.h"

namespace qm {

namespace {
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kYellow = 0x00FFFF;
constexpr int kUnitPosition = 13;
constexpr int kColumnCount = 9;
constexpr int kRowCount = 11;
constexpr std::chrono::milliseconds kPeriod{50};
} // namespace

CLimitAnalyzer::~CLimitAnalyzer() {
    StopRenderThread();
}

bool CLimitAnalyzer::Create(IFrameSink* window, const PlotRect& windowRect) {
    ConfigureChart(window, windowRect, ChartStyles({kGreen, StyleChannelBars}, kYellow, kYellow));
    Surface()->Update([](CDevGDI::State& s) {
        s.markerPlacement = kMarkerPlacementInSlot;
        s.markerUnitsOn = true;
        s.numericYScale = false;
    });
    return window && StartRenderThread(kPeriod);
}

void CLimitAnalyzer::Resize(int left, int top, int right, int bottom) {
    ResizeChart(left, top, right, bottom);
}

int CLimitAnalyzer::RefreshTexts() {
    SetChartTexts(QStringLiteral("CH"), kUnitPosition);
    if (CMyDevGDI* s = Surface())
        s->Update([](CDevGDI::State& st) {
            st.columnCount = kColumnCount;
            st.rowCount = kRowCount;
        });
    return 1;
}

int CLimitAnalyzer::SetKindName() {
    SetKind("CS_LIMIT_ANALYZER");
    return 1;
}

void CLimitAnalyzer::SetData(const _tagFileDataExt& measurement) {
    m_bars.Publish(LimitBars(MeasurementFile(measurement)));
    RequestFrame();
    ResetAfterData(true);
}

void CLimitAnalyzer::OnDrag(int x, int /*y*/) {
    DragOnBars(x, m_bars);
}

QImage CLimitAnalyzer::DrawFrame() {
    return DrawBars(m_bars);
}

} // namespace qm
