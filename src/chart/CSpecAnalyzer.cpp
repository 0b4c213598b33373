#include "chart/CSpecAnalyzer.h"

#include "panes/PaneText.h"
#include "res/StringTable.h"

namespace qm {

namespace {
constexpr COLORREF kYellow = 0x00FFFF;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kOrange = 0x3399FF;
constexpr int kUnitPosition = 19;
constexpr int kValueDecimals = 2;
constexpr int kMarkerPlacement = 2;
constexpr int kColumnCount = 9;
constexpr int kRowCount = 11;
constexpr std::chrono::milliseconds kPeriod{100};
} // namespace

CSpecAnalyzer::~CSpecAnalyzer() {
    StopRenderThread();
}

bool CSpecAnalyzer::Create(IFrameSink* window, const PlotRect& windowRect) {
    ConfigureChart(window, windowRect, ChartStyles({kYellow, StyleLine}, kRed, kOrange));
    Surface()->SetValueDecimals(kValueDecimals);
    Surface()->Update([](CDevGDI::State& s) {
        s.markerPlacement = kMarkerPlacement;
        s.markerUnitsOn = false;
        s.numericYScale = true;
        s.yMin = 0;
        s.yMax = 120;
    });
    return window && StartRenderThread(kPeriod);
}

void CSpecAnalyzer::Resize(int left, int top, int right, int bottom) {
    ResizeChart(left, top, right, bottom);
}

int CSpecAnalyzer::RefreshTexts() {
    SetChartTexts(QStringLiteral("MHz"), kUnitPosition);
    if (CMyDevGDI* s = Surface())
        s->Update([](CDevGDI::State& st) {
            st.columnCount = kColumnCount;
            st.rowCount = kRowCount;
        });
    return 1;
}

int CSpecAnalyzer::SetKindName() {
    SetKind("CS_SPEC_ANALYZER");
    return 1;
}

void CSpecAnalyzer::SetData(const _tagFileDataExt& measurement) {
    const MeasurementFile file(measurement);
    m_traces.Publish(SpectrumTracesOf(file));
    KeepMeasurementTime(file);
    if (CMyDevGDI* s = Surface()) {
        // The sweep as the pane's tables give it: the span around the centre.
        const double span = SpanMHz(file.SpanCode(), file.FixedSpanFlag());
        const double centre = file.SpectrumCentre() / 100.0;
        const int base = LanguageBase();
        s->Update([span, centre, base](CDevGDI::State& st) {
            st.xFirst = centre - span / 2;
            st.xLast = centre + span / 2;
            st.traceNames = {QString::fromStdString(Tr(txt::kLevel, base)),
                             QString::fromStdString(Tr(txt::kMax, base))};
        });
    }
    RequestFrame();
    ResetAfterData(true);
}

int CSpecAnalyzer::PointCount() const {
    const auto traces = m_traces.Load();
    return traces ? traces->pointCount : 0;
}

void CSpecAnalyzer::OnDrag(int x, int y) {
    if (CMyDevGDI* s = Surface())
        s->MoveActiveMarkerInPlot(x, y, PointCount());
    NotifyMarkerMoved();
}

QImage CSpecAnalyzer::DrawFrame() {
    CMyDevGDI* s = Surface();
    if (!s)
        return {};
    auto overlay = m_overlay.Load();
    if (!overlay || overlay->Empty())
        overlay = SpectrumReference().Load();
    const auto traces = m_traces.Load();
    if (!traces)
        return s->DrawSpectrumFrame({}, {}, overlay.get());
    return s->DrawSpectrumFrame(traces->trace0, traces->trace1, overlay.get());
}

} // namespace qm
