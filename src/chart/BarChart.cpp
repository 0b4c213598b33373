#include "chart/BarChart.h"
#include "res/StringTable.h"

namespace qm {

namespace {

constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kYellow = 0x00FFFF;
constexpr int kUnitPosition = 13;
constexpr int kColumnCount = 9;
constexpr int kRowCount = 11;
constexpr std::chrono::milliseconds kPeriod{50};

std::vector<ChannelBar> TiltChartBars(const MeasurementFile& file, std::string& refusal) {
    TiltBarsResult tilt = TiltBars(file);
    // Shown when the stored tilt count disagrees with the plan's tilt channels.
    if (!tilt.countMatches)
        refusal = Tr(txt::kTiltCountIncorrect);
    return std::move(tilt.bars);
}

std::vector<ChannelBar> ScanChartBars(const MeasurementFile& file, std::string&) {
    return ScanBars(file);
}

std::vector<ChannelBar> LimitChartBars(const MeasurementFile& file, std::string&) {
    return LimitBars(file);
}

} // namespace

const BarChartConfig kTiltChart{"CS_TILT_ANALYZER", StyleTiltBars, 2, false, false, TiltChartBars};
const BarChartConfig kScanChart{"CS_SCAN_ANALYZER", StyleChannelBars, std::nullopt, true, false,
                                ScanChartBars};
const BarChartConfig kLimitChart{"CS_LIMIT_ANALYZER", StyleChannelBars, std::nullopt, false, true,
                                 LimitChartBars};

BarChart::~BarChart() {
    StopRenderThread();
}

bool BarChart::Create(IFrameSink* window, const PlotRect& windowRect) {
    ConfigureChart(window, windowRect,
                   ChartStyles({kGreen, m_config.seriesStyle}, kYellow, kYellow));
    if (m_config.valueDecimals)
        Surface()->SetValueDecimals(*m_config.valueDecimals);
    Surface()->Update([this](CDevGDI::State& s) {
        s.markerPlacement = kMarkerPlacementInSlot;
        s.markerUnitsOn = true;
        s.numericYScale = false;
        if (m_config.yRangeAtCreate) {
            s.yMin = 0;
            s.yMax = 120;
        }
    });
    return window && StartRenderThread(kPeriod);
}

void BarChart::Resize(int left, int top, int right, int bottom) {
    ResizeChart(left, top, right, bottom);
}

int BarChart::RefreshTexts() {
    SetChartTexts(QStringLiteral("CH"), kUnitPosition);
    if (CMyDevGDI* s = Surface(); s && m_config.gridFromTexts)
        s->Update([](CDevGDI::State& st) {
            st.columnCount = kColumnCount;
            st.rowCount = kRowCount;
        });
    return 1;
}

int BarChart::SetKindName() {
    SetKind(m_config.kindName);
    return 1;
}

void BarChart::SetData(const _tagFileDataExt& measurement) {
    std::string refusal;
    const MeasurementFile file(measurement);
    std::vector<ChannelBar> bars = m_config.bars(file, refusal);
    KeepMeasurementTime(file);
    if (!refusal.empty())
        ShowError(refusal);
    // A refused measurement still gets its grid, labels and texts, so the view never keeps
    // showing the previous chart.
    m_bars.Publish(std::move(bars));
    RequestFrame();
    ResetAfterData(!m_config.yRangeAtCreate);
}

void BarChart::OnDrag(int x, int /*y*/) {
    DragOnBars(x, m_bars);
}

int BarChart::MarkerPointCount() const {
    const auto bars = m_bars.Load();
    return bars ? static_cast<int>(bars->size()) : 0;
}

QImage BarChart::DrawFrame() {
    return DrawBars(m_bars);
}

} // namespace qm
