#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "chart/CMyDevGDI.h"
#include "chart/ChartTypes.h"
#include "chart/PlotDataSlot.h"
#include "measurement/FileDataExt.h"
#include "measurement/MeasurementFile.h"

namespace qm {

class IFrameSink;
class IMarkerReceiver;
class IMessageSink;

// A chart controller: turns one measurement into a chart on its first plot surface, redraws it
// from a render thread and turns drags in the view into marker moves for its analysis pane.
//
// The render thread sleeps until something a frame depends on (surface configuration, size,
// texts, marker, plot data) changes, composes a frame, and then lets at least one period pass
// before the next one: the period is the upper frame rate. An open chart that nobody touches
// never wakes.
class CInstrument {
public:
    static constexpr int kSurfaceCount = 8;
    static constexpr int kLeftMargin = 35;
    static constexpr int kTopMargin = 40;
    static constexpr int kRightMargin = 25;
    static constexpr int kBottomMargin = 40;

    CInstrument() = default;
    // Stops the render thread and waits for it before anything it draws is released.
    virtual ~CInstrument();
    CInstrument(const CInstrument&) = delete;
    CInstrument& operator=(const CInstrument&) = delete;

    // Configures the surfaces for the view (window rectangle in screen coordinates) and
    // starts the render thread; false when no thread runs. Without a window there is nobody
    // to present frames to, so no thread is started; DrawFrame still composes them. The
    // window must outlive the controller.
    virtual bool Create(IFrameSink* window, const PlotRect& windowRect) = 0;
    virtual void Resize(int left, int top, int right, int bottom) = 0;
    virtual int RefreshTexts() = 0;
    virtual int SetKindName() = 0;
    std::string GetKindName() const;
    // `measurement` is one loaded element: the meter kind byte, then the file.
    virtual void SetData(const _tagFileDataExt& measurement) = 0;
    // A left-button drag at client coordinates (x, y).
    virtual void OnDrag(int x, int y) = 0;

    // The keyboard's way to the marker: one point back or on, or the first or last point.
    // The pane hears of it as of a drag onto that point; nothing happens at either end.
    enum class MarkerStep { Previous, Next, First, Last };
    void StepMarker(MarkerStep step);
    // The points (bars, spectrum points) the marker moves over; 0 with nothing drawn.
    virtual int MarkerPointCount() const { return 0; }
    // The active marker's point.
    int MarkerPosition() const;

    // Classic or clear; after Create. Classic frames stay exactly as they always were.
    void SetChartStyle(ChartStyle style);
    ChartStyle Style() const { return m_style; }

    // The pane that follows the marker and the place for message boxes; both stay owned by
    // the caller and must outlive the controller or be reset first.
    void SetMarkerReceiver(IMarkerReceiver* receiver) { m_markerReceiver = receiver; }
    void SetMessageSink(IMessageSink* sink) { m_messageSink = sink; }

    // Composes and presents one frame from the current data now; a null image when the
    // controller has nothing to draw.
    virtual QImage DrawFrame() = 0;
    // One period of the render thread: true when a frame was composed, false when there was
    // nothing to draw or nothing changed since the last frame.
    bool RenderTick();

    // Surface 0 (the chart), null before Create.
    CMyDevGDI* Surface() { return m_surfaces ? &m_surfaces[0] : nullptr; }
    const CMyDevGDI* Surface() const { return m_surfaces ? &m_surfaces[0] : nullptr; }
    int SurfaceCount() const { return m_surfaceCount; }
    PlotRect WindowRect() const;
    bool RenderThreadRunning() const { return m_thread.joinable(); }
    // Times the render thread woke to look for a frame to draw.
    int RenderWakeups() const { return m_wakeups.load(std::memory_order_relaxed); }

protected:
    // Generation of the plot data the next frame would draw; nullopt while there is nothing
    // to draw.
    virtual std::optional<std::uint64_t> DataGeneration() const = 0;

    void SetKind(const char* name) { m_kindName = name; }
    void CreateSurfaces(int count);
    // The steps every chart's Create shares, up to and including the series styles.
    void ConfigureChart(IFrameSink* window, const PlotRect& windowRect,
                        const std::array<SeriesStyle, CDevGDI::kSeriesCount>& styles);
    static std::array<SeriesStyle, CDevGDI::kSeriesCount>
    ChartStyles(SeriesStyle series0, COLORREF series1, COLORREF series3);
    void ResizeChart(int left, int top, int right, int bottom);
    // Text boxes 0 to 2: level unit, the chart's unit text and the current local time.
    void SetChartTexts(const QString& unit, int unitPosition);
    // The date and time the file says it was measured, for the clear style's time text.
    void KeepMeasurementTime(const MeasurementFile& file);
    // After SetData: y range 0..120 when asked, marker 0 on the first point, the row labels
    // 120..0 and hidden column labels.
    void ResetAfterData(bool setYRange);
    bool StartRenderThread(std::chrono::milliseconds period);
    // Every concrete controller calls this first in its destructor, so the thread never runs
    // into a half-destroyed object.
    void StopRenderThread();
    // Tells the render thread that the next frame may differ (new plot data; the surface
    // reports its own changes).
    void RequestFrame();
    void NotifyMarkerMoved();

    // What the three bar charts share: frames drawn when data are present, drags along the
    // bars. An empty record array still gives frames (grid, labels, texts) so that the view
    // never goes on showing, or saving, the chart of the measurement before.
    using BarSlot = PlotDataSlot<std::vector<ChannelBar>>;
    QImage DrawBars(const BarSlot& bars);
    void DragOnBars(int x, const BarSlot& bars);
    void ShowError(const std::string& text);
    IFrameSink* Window() const { return m_window; }

private:
    std::string m_kindName;
    ChartStyle m_style = ChartStyle::Classic;
    QString m_measuredAt;
    bool m_textsSet = false;
    // Text box 2: the time of opening (classic) or of measuring (clear).
    void ShowTimeText();
    mutable std::mutex m_rectMutex;
    PlotRect m_windowRect;
    IFrameSink* m_window = nullptr;
    std::unique_ptr<CMyDevGDI[]> m_surfaces;
    int m_surfaceCount = 0;
    IMarkerReceiver* m_markerReceiver = nullptr;
    IMessageSink* m_messageSink = nullptr;

    std::thread m_thread;
    std::mutex m_stopMutex;
    std::condition_variable m_stopEvent;
    bool m_stop = false;
    // A first look when the thread starts: there may be data already.
    bool m_frameWanted = true;
    std::atomic<int> m_wakeups{0};

    std::mutex m_tickMutex;
    std::optional<std::pair<std::uint64_t, std::uint64_t>> m_lastFrameKey;
};

} // namespace qm
