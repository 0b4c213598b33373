#include "chart/CInstrument.h"

#include <algorithm>
#include <ctime>
#include <system_error>

#include "base/Platform.h"
#include "chart/IMarkerReceiver.h"
#include "chart/IMessageSink.h"
#include "res/StringTable.h"
#include "res/TextCodec.h"

namespace qm {

namespace {

// Colours of the chart configuration (0x00BBGGRR).
constexpr COLORREF kBackground = 0x323232;
constexpr COLORREF kAttachFrame = 0x00FF00;
constexpr COLORREF kAttachSeries0 = 0x00FFFF;
constexpr COLORREF kYellow = 0x00FFFF;
constexpr COLORREF kFrame = 0xDCDCDC;
constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr std::array<COLORREF, 4> kSeries4To7 = {0xFFB1C7, 0xC00000, 0x000080, 0xE1E1E1};

constexpr int kChartRowCount = 11;
constexpr int kChartColumnCount = 1;
constexpr double kLevelMin = 0;
constexpr double kLevelMax = 120;
constexpr int kRowLabelCount = 13;
constexpr int kColumnLabelCount = 11;
constexpr int kFormattedColumnLabels = 9;

constexpr int kLevelUnitPosition = 9;
constexpr int kTimePosition = 3;

QString LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    const std::tm t = LocalTime(now);
    return QString::asprintf("%d-%d-%d  %d:%d:%d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                             t.tm_hour, t.tm_min, t.tm_sec);
}

} // namespace

CInstrument::~CInstrument() {
    StopRenderThread();
}

std::string CInstrument::GetKindName() const {
    return m_kindName;
}

PlotRect CInstrument::WindowRect() const {
    std::lock_guard lock(m_rectMutex);
    return m_windowRect;
}

void CInstrument::CreateSurfaces(int count) {
    m_surfaces = std::make_unique<CMyDevGDI[]>(static_cast<std::size_t>(count));
    m_surfaceCount = count;
}

std::array<SeriesStyle, CDevGDI::kSeriesCount>
CInstrument::ChartStyles(SeriesStyle series0, COLORREF series1, COLORREF series3) {
    std::array<SeriesStyle, CDevGDI::kSeriesCount> styles{};
    for (SeriesStyle& s : styles)
        s = {kWhite, StyleLine};
    styles[0] = series0;
    styles[1].colour = series1;
    styles[2].colour = kBlue;
    styles[3].colour = series3;
    for (std::size_t i = 0; i < kSeries4To7.size(); ++i)
        styles[4 + i].colour = kSeries4To7[i];
    return styles;
}

void CInstrument::ConfigureChart(IFrameSink* window, const PlotRect& windowRect,
                                 const std::array<SeriesStyle, CDevGDI::kSeriesCount>& styles) {
    m_window = window;
    {
        std::lock_guard lock(m_rectMutex);
        m_windowRect = windowRect;
    }
    CreateSurfaces(kSurfaceCount);
    CMyDevGDI& s = m_surfaces[0];
    s.SetChangeListener([this] { RequestFrame(); });
    s.AttachWindow(window, windowRect, kBackground, kAttachFrame, 2, 1, kAttachSeries0, StyleLine,
                   kYellow);
    s.Update([](CDevGDI::State& st) {
        st.frameColour = kFrame;
        st.framePenWidth = 1;
        st.gridPenWidth = 1;
        st.leftMargin = kLeftMargin;
        st.topMargin = kTopMargin;
        st.rightMargin = kRightMargin;
        st.bottomMargin = kBottomMargin;
        st.columnCount = kChartColumnCount;
        st.rowCount = kChartRowCount;
    });
    s.SetSeriesStyles(styles);
    s.Update([](CDevGDI::State& st) {
        st.markerEnabled[0] = true;
        st.horizontalCrosshair = false;
        st.verticalCrosshair = true;
        st.axisLabels = true;
    });
}

void CInstrument::ResizeChart(int left, int top, int right, int bottom) {
    {
        std::lock_guard lock(m_rectMutex);
        m_windowRect = {left, top, right, bottom};
    }
    CMyDevGDI* s = Surface();
    if (!s)
        return;
    s->Update([](CDevGDI::State& st) {
        st.leftMargin = kLeftMargin;
        st.topMargin = kTopMargin;
        st.rightMargin = kRightMargin;
        st.bottomMargin = kBottomMargin;
    });
    s->SetPlotArea({left, top, right, bottom});
}

void CInstrument::SetChartTexts(const QString& unit, int unitPosition) {
    CMyDevGDI* s = Surface();
    if (!s)
        return;
    s->SetTextBox(true, 0, QStringLiteral("dBuV"), kLevelUnitPosition);
    s->SetTextBox(true, 1, unit, unitPosition);
    m_textsSet = true;
    ShowTimeText();
}

void CInstrument::ShowTimeText() {
    CMyDevGDI* s = Surface();
    if (!s || !m_textsSet)
        return;
    s->SetTextBox(true, 2, m_style == ChartStyle::Clear ? m_measuredAt : LocalTimeText(),
                  kTimePosition);
}

void CInstrument::KeepMeasurementTime(const MeasurementFile& file) {
    // In the file's code page, as the pane's "File date" shows it.
    m_measuredAt =
        QString::fromStdString(AnsiToUtf8(file.DateTimeText(), LanguageBase())).trimmed();
    ShowTimeText();
}

void CInstrument::SetChartStyle(ChartStyle style) {
    m_style = style;
    if (CMyDevGDI* s = Surface())
        s->Update([style](CDevGDI::State& st) { st.style = style; });
    ShowTimeText();
}

void CInstrument::ResetAfterData(bool setYRange) {
    CMyDevGDI* s = Surface();
    if (!s)
        return;
    s->Update([setYRange](CDevGDI::State& st) {
        if (setYRange) {
            st.yMin = kLevelMin;
            st.yMax = kLevelMax;
        }
        st.markerPositions[0] = 0;
        for (int i = 0; i < kRowLabelCount; ++i) {
            AxisLabel& label = st.rowLabels[i];
            label.intValue = static_cast<int>(kLevelMax) - 10 * i;
            label.format = QStringLiteral("%d");
            label.suffix.clear();
            label.shown = true;
        }
        for (int i = 0; i < kColumnLabelCount; ++i) {
            AxisLabel& label = st.columnLabels[i];
            label.value = 0;
            label.shown = false;
            if (i < kFormattedColumnLabels)
                label.format = QStringLiteral("%.2f");
        }
    });
}

bool CInstrument::StartRenderThread(std::chrono::milliseconds period) {
    if (m_thread.joinable())
        return true;
    try {
        m_thread = std::thread([this, period] {
            std::unique_lock lock(m_stopMutex);
            for (;;) {
                m_stopEvent.wait(lock, [this] { return m_stop || m_frameWanted; });
                if (m_stop)
                    return;
                m_frameWanted = false;
                m_wakeups.fetch_add(1, std::memory_order_relaxed);
                lock.unlock();
                const bool drawn = RenderTick();
                lock.lock();
                // After a frame, changes during the period are drawn together after it.
                if (drawn && m_stopEvent.wait_for(lock, period, [this] { return m_stop; }))
                    return;
            }
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CInstrument::RequestFrame() {
    {
        std::lock_guard lock(m_stopMutex);
        m_frameWanted = true;
    }
    m_stopEvent.notify_all();
}

void CInstrument::StopRenderThread() {
    {
        std::lock_guard lock(m_stopMutex);
        m_stop = true;
    }
    m_stopEvent.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool CInstrument::RenderTick() {
    std::lock_guard lock(m_tickMutex);
    const CMyDevGDI* s = Surface();
    if (!s)
        return false;
    const std::optional<std::uint64_t> generation = DataGeneration();
    if (!generation)
        return false;
    const std::pair<std::uint64_t, std::uint64_t> key{s->Revision(), *generation};
    if (m_lastFrameKey == key)
        return false;
    DrawFrame();
    m_lastFrameKey = key;
    return true;
}

void CInstrument::StepMarker(MarkerStep step) {
    CMyDevGDI* s = Surface();
    const int count = MarkerPointCount();
    if (!s || count <= 0)
        return;
    const CDevGDI::State state = s->GetState();
    if (state.activeMarker < 0 || state.activeMarker >= CDevGDI::kMarkerCount)
        return;
    const int at = state.markerPositions[static_cast<std::size_t>(state.activeMarker)];
    int to = at;
    switch (step) {
    case MarkerStep::Previous:
        to = at - 1;
        break;
    case MarkerStep::Next:
        to = at + 1;
        break;
    case MarkerStep::First:
        to = 0;
        break;
    case MarkerStep::Last:
        to = count - 1;
        break;
    }
    to = std::clamp(to, 0, count - 1);
    if (to == at)
        return;
    s->SetMarkerPosition(state.activeMarker, to);
    NotifyMarkerMoved();
}

int CInstrument::MarkerPosition() const {
    const CMyDevGDI* s = Surface();
    if (!s)
        return 0;
    const CDevGDI::State state = s->GetState();
    if (state.activeMarker < 0 || state.activeMarker >= CDevGDI::kMarkerCount)
        return 0;
    return state.markerPositions[static_cast<std::size_t>(state.activeMarker)];
}

void CInstrument::NotifyMarkerMoved() {
    const CMyDevGDI* s = Surface();
    if (!m_markerReceiver || !s)
        return;
    m_markerReceiver->MarkerMoved(s->GetState().markerPositions[0]);
}

QImage CInstrument::DrawBars(const BarSlot& bars) {
    CMyDevGDI* s = Surface();
    const std::shared_ptr<const std::vector<ChannelBar>> data = bars.Load();
    if (!s || !data)
        return {};
    return s->DrawBarFrame(*data);
}

void CInstrument::DragOnBars(int x, const BarSlot& bars) {
    CMyDevGDI* s = Surface();
    if (!s)
        return;
    const std::shared_ptr<const std::vector<ChannelBar>> data = bars.Load();
    s->MoveActiveMarker(x, data ? static_cast<int>(data->size()) : 0);
    NotifyMarkerMoved();
}

void CInstrument::ShowError(const std::string& text) {
    if (m_messageSink)
        m_messageSink->ShowError(text);
}

} // namespace qm
