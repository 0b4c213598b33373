#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

#include "chart/ChartTypes.h"

namespace qm {

class GdiPainter;
struct SpectrumOverlay;
class IFrameSink;

// A plot surface: everything that decides how a chart looks, the value-to-pixel mappings, and
// the composition of whole frames off screen that are handed to the window in one piece.
//
// Configuration runs on the user-interface thread while a render thread draws: every change
// goes through a short internal lock, and each frame draws from a copy of the state taken at
// its start, so a frame never mixes old and new settings.
class CDevGDI {
public:
    static constexpr int kTextBoxCount = 5;
    static constexpr int kLabelCount = 20;
    static constexpr int kSeriesCount = 20;
    static constexpr int kMarkerCount = 10;

    struct State {
        int columnCount = 8;
        int rowCount = 6;
        std::array<TextBox, kTextBoxCount> textBoxes{};
        std::array<AxisLabel, kLabelCount> rowLabels{};
        std::array<AxisLabel, kLabelCount> columnLabels{};
        PlotRect rect;
        COLORREF backgroundColour = 0x000000;
        COLORREF frameColour = 0x000000;
        std::array<COLORREF, kSeriesCount> seriesColours{};
        COLORREF textColour = 0x000000;
        COLORREF crosshairColour = 0xDCDC00;
        std::array<std::array<COLORREF, kSeriesCount>, kMarkerCount> markerTextColours{};
        int framePenWidth = 1;
        int gridPenWidth = 1;
        std::array<int, kSeriesCount> seriesStyles{};
        int topMargin = 15;
        int bottomMargin = 30;
        int rightMargin = 25;
        int leftMargin = 60;
        std::array<int, kMarkerCount> markerPositions{};
        int activeMarker = 0;
        int markerPlacement = 2;
        double yMin = 0;
        double yMax = 1000000;
        QString valueFormat = QStringLiteral("%.3f");
        QString yUnit = QStringLiteral(" ");
        std::array<QString, kMarkerCount> markerUnits{};
        QString fontFace = QStringLiteral("System");
        int fontSize = 100; // tenths of a point
        std::array<bool, kMarkerCount> markerEnabled{};
        bool markerUnitsOn = true;
        bool horizontalCrosshair = true;
        bool verticalCrosshair = false;
        bool numericYScale = true;
        bool axisLabels = false;
        // Bars drawn with an outline (channels outside their limits); empty draws none.
        std::vector<int> outlinedBars;
        // Only the clear style draws the rest: the x axis of a spectrum in MHz (its first and
        // last point), the names of the two traces for the legend.
        ChartStyle style = ChartStyle::Classic;
        double xFirst = 0;
        double xLast = 0;
        std::array<QString, 2> traceNames{};

        State();
    };

    CDevGDI();
    virtual ~CDevGDI();
    CDevGDI(const CDevGDI&) = delete;
    CDevGDI& operator=(const CDevGDI&) = delete;

    // Configuration (user-interface thread).
    void AttachWindow(IFrameSink* window, const PlotRect& rect, COLORREF backgroundColour,
                      COLORREF frameColour, int framePenWidth, int gridPenWidth,
                      COLORREF series0Colour, int series0Style, COLORREF textColour);
    // With a window the rectangle is in screen coordinates; without one only its size counts.
    void SetPlotArea(const PlotRect& rect);
    void SetSeriesStyles(const std::array<SeriesStyle, kSeriesCount>& styles);
    // An index outside 0..4 changes nothing.
    void SetTextBox(bool visible, int index, const QString& text, int position);
    void SetValueDecimals(int decimals);
    void SetMarkerPosition(int marker, int position);
    // Writes plain fields (margins, counts, colours, flags, y range...) in one step.
    void Update(const std::function<void(State&)>& change);

    State GetState() const;
    // Changes with every configuration change that can alter a frame.
    std::uint64_t Revision() const { return m_revision.load(std::memory_order_acquire); }
    // Called after every such change (under the surface's lock: it must not call back into
    // the surface). Set it before any other thread uses the surface.
    void SetChangeListener(std::function<void()> listener) { m_listener = std::move(listener); }

    // Frames (render thread). Each composes one frame, hands it to the window and returns it;
    // a surface without area gives a null image.
    QImage DrawBarFrame(std::span<const ChannelBar> records);
    // An overlay with at least two points is drawn under series 0, with a legend.
    QImage DrawSpectrumFrame(std::span<const double> series0, std::span<const double> series1,
                             const SpectrumOverlay* overlay = nullptr);

    // Mouse operations: set the active marker from a position in client coordinates: on a bar
    // chart to the bar whose slot is under the pointer, on a spectrum to the nearest point, as
    // the frames draw them. Outside the plot area they do nothing.
    void MoveActiveMarker(int x, int count);
    void MoveActiveMarkerInPlot(int x, int y, int count);

    // The mappings frames use.
    static int ValueToY(const State& s, double value);
    // The record (0..count-1) whose slot holds x; the point (0..count-1) nearest to x. Both
    // need a plot width above 0.
    static int BarUnderPointer(const State& s, int x, int count);
    static int PointNearest(const State& s, int x, int count);
    static int MarkerY(const State& s, double value);
    static int PointToX(const State& s, int index, int count);
    // Left edge of bar slot `slot` (1 = the first record) of a chart of `count` records.
    static int SlotX(const State& s, int slot, int count);
    static QPoint TextBoxOrigin(const State& s, int position, QSize extent);
    // The font of bar frames; the "System" face is served by a font every system has.
    static QFont SurfaceFont(const QString& face, int tenthsOfPoint);
    // The font spectrum frames draw with (the one a fresh drawing context starts with).
    static QFont DefaultFont();

protected:
    // The lock spectrum frames hold for their whole duration (see CMyDevGDI).
    void SetFrameLock(std::mutex* lock) { m_frameLock = lock; }

private:
    struct Snapshot {
        State state;
        IFrameSink* window = nullptr;
    };
    Snapshot TakeSnapshot() const;
    void Changed() {
        m_revision.fetch_add(1, std::memory_order_acq_rel);
        if (m_listener)
            m_listener();
    }

    QImage AcquireImage(const PlotRect& rect);
    void Present(const Snapshot& snap, const QImage& image);

    static void DrawFrameAndGrid(GdiPainter& p, const State& s);
    static void DrawAxisLabels(GdiPainter& p, const State& s);
    static void DrawChannelBars(GdiPainter& p, const State& s, std::span<const ChannelBar> r);
    static void DrawTiltBars(GdiPainter& p, const State& s, std::span<const ChannelBar> r);
    static void DrawLineSeries(GdiPainter& p, const State& s, std::span<const double> values,
                               int series);
    // The values as one line, broken where a value is not a number.
    static void DrawPolyline(GdiPainter& p, const State& s, std::span<const double> values,
                             int width, COLORREF colour);
    static void DrawMarker(GdiPainter& p, const State& s, int marker, int series, int x,
                           double value, bool withTexts);
    static void DrawNumericYScale(GdiPainter& p, const State& s);
    static void DrawTextBoxes(GdiPainter& p, const State& s);
    static void DrawLegend(GdiPainter& p, const State& s,
                           std::span<const std::pair<COLORREF, QString>> entries);
    // Clear style: a channel number under each bar that has room for it; MHz under the
    // vertical grid lines.
    static void DrawBarLabels(GdiPainter& p, const State& s, std::span<const ChannelBar> r);
    static void DrawFrequencyTicks(GdiPainter& p, const State& s);

    mutable std::mutex m_mutex; // guards m_state and m_window
    State m_state;
    IFrameSink* m_window = nullptr;
    std::atomic<std::uint64_t> m_revision{1};
    std::function<void()> m_listener;
    std::mutex* m_frameLock = nullptr;

    // Frame buffers are reused once the window has let go of them.
    std::mutex m_poolMutex;
    std::array<QImage, 2> m_pool;
};

} // namespace qm
