#include <cstdlib>
#include <gtest/gtest.h>

#include <limits>
#include <numeric>

#include "ChartTestSupport.h"
#include "chart/CMyDevGDI.h"
#include "chart/SpectrumOverlay.h"

namespace qm::test {
namespace {

constexpr COLORREF kBackground = 0x323232;
constexpr COLORREF kFrame = 0xDCDCDC;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kYellow = 0x00FFFF;
constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kMagenta = 0xFF00FF;
constexpr COLORREF kCrosshair = 0xDCDC00;

std::vector<int> Range(int from, int to) { // [from, to)
    std::vector<int> v(static_cast<std::size_t>(to - from));
    std::iota(v.begin(), v.end(), from);
    return v;
}

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// 585 x 545 pixels, default margins (60, 15, 25, 30): the plot area is 500 x 500 with its left
// edge at x = 60 and its bottom edge at y = 515; levels 0..120 dBuV; no grid inside.
void UseBarSurface(CDevGDI& s, int style) {
    s.SetPlotArea({0, 0, 585, 545});
    s.Update([style](CDevGDI::State& st) {
        st.backgroundColour = kBackground;
        st.frameColour = kFrame;
        st.textColour = kMagenta;
        for (auto& perSeries : st.markerTextColours)
            perSeries.fill(kMagenta);
        st.seriesColours[0] = kGreen;
        st.seriesColours[1] = kYellow;
        st.seriesColours[2] = kBlue;
        st.seriesColours[3] = kYellow;
        st.seriesStyles[0] = style;
        st.numericYScale = false;
        st.rowCount = 0;
        st.columnCount = 0;
        st.yMin = 0;
        st.yMax = 120;
    });
}

int Y(double level) {
    return 514 - static_cast<int>(500 * level / 120);
}

TEST(BarFrame, ThreeAnalogueChannelsFillTheMiddleSlotsOfFive) {
    CMyDevGDI s;
    UseBarSurface(s, StyleChannelBars);
    const std::vector<ChannelBar> bars(3, Analogue(90, 60));
    const QImage f = s.DrawBarFrame(bars);
    // Slots of 100 pixels, inset 10: bars at 110-190, 210-290, 310-390 from the plot's left.
    const int vision = Y(75), audio = Y(30);
    EXPECT_EQ(ColumnsOf(f, vision, kBlack), (std::vector<int>{170, 249, 270, 349, 370, 449}));
    EXPECT_EQ(ColumnsOf(f, vision, kGreen),
              Concat({Range(171, 249), Range(271, 349), Range(371, 449)}));
    EXPECT_EQ(ColumnsOf(f, audio, kYellow),
              Concat({Range(171, 249), Range(271, 349), Range(371, 449)}));
    EXPECT_EQ(ColumnsOf(f, audio, kBackground),
              Concat({Range(0, 60), Range(61, 170), Range(250, 270), Range(350, 370),
                      Range(450, 560), Range(561, 585)}));
    // Outlines: vision top, audio top drawn over the vision bar, bottom one above the baseline.
    EXPECT_EQ(Pixel(f, 200, Y(90)), kBlack);
    EXPECT_EQ(Pixel(f, 200, Y(90) - 1), kBackground);
    EXPECT_EQ(Pixel(f, 200, Y(60)), kBlack);
    EXPECT_EQ(Pixel(f, 200, 513), kBlack);
    EXPECT_EQ(Pixel(f, 200, 514), kBackground);
    EXPECT_EQ(Pixel(f, 200, 515), kFrame);
}

TEST(BarFrame, AnalogueChannelWithAudioAtTheBottomShowsNoBarAtAll) {
    CMyDevGDI s;
    UseBarSurface(s, StyleChannelBars);
    const std::vector<ChannelBar> bars = {Analogue(90, 60), Analogue(90, 0), Analogue(-5, 50)};
    const QImage f = s.DrawBarFrame(bars);
    const QRect secondAndThird(261, 16, 200, 498);
    EXPECT_TRUE(BoundsOf(f, kGreen, secondAndThird).isEmpty());
    EXPECT_TRUE(BoundsOf(f, kYellow, secondAndThird).isEmpty());
    EXPECT_TRUE(BoundsOf(f, kBlack, secondAndThird).isEmpty());
    EXPECT_FALSE(BoundsOf(f, kGreen, QRect(161, 16, 99, 498)).isEmpty());
}

TEST(BarFrame, DigitalLevelsAreHeldBetweenTheBaselineAndThePlotTop) {
    CMyDevGDI s;
    UseBarSurface(s, StyleChannelBars);
    const std::vector<ChannelBar> bars = {Digital(130), Digital(-10), ClassC(60)};
    const QImage f = s.DrawBarFrame(bars);
    EXPECT_EQ(Pixel(f, 200, 14), kBackground);
    EXPECT_EQ(Pixel(f, 200, 15), kBlack); // the bar's top on the plot's top edge
    EXPECT_EQ(Pixel(f, 200, 16), kBlue);
    EXPECT_EQ(Pixel(f, 200, 512), kBlue);
    EXPECT_TRUE(BoundsOf(f, kBlack, QRect(261, 16, 99, 498)).isEmpty()); // below 0: no bar
    EXPECT_EQ(Pixel(f, 400, Y(30)), kYellow);                            // class C
    EXPECT_EQ(Pixel(f, 400, Y(60)), kBlack);
}

TEST(TiltFrame, NarrowBarsAndNoTiltLineWhenBothEndsAreZero) {
    CMyDevGDI s;
    UseBarSurface(s, StyleTiltBars);
    const std::vector<ChannelBar> bars = {Digital(0), Digital(50), ClassC(60), Digital(0)};
    const QImage f = s.DrawBarFrame(bars);
    // Slots of 500 / 6 pixels; each bar keeps the left fifth of its slot.
    const int y = Y(25);
    EXPECT_EQ(ColumnsOf(f, y, kBlack), (std::vector<int>{226, 243, 310, 326}));
    EXPECT_EQ(ColumnsOf(f, y, kBlue), Range(227, 243));
    EXPECT_EQ(ColumnsOf(f, y, kYellow), Range(311, 326));
    EXPECT_TRUE(BoundsOf(f, kYellow, QRect(0, 0, 585, Y(60))).isEmpty()); // no line
}

TEST(TiltFrame, EqualEndsDrawAHorizontalTiltLineFromFirstToLastBar) {
    CMyDevGDI s;
    UseBarSurface(s, StyleTiltBars);
    std::vector<ChannelBar> bars = {Digital(60), Digital(80), Digital(70), Digital(60)};
    QImage f = s.DrawBarFrame(bars);
    EXPECT_EQ(ColumnsOf(f, Y(60), kYellow), Range(143, 393));
    EXPECT_EQ(BoundsOf(f, kYellow, QRect(0, 0, 585, 545)).height(), 1);

    bars.back() = Digital(90);
    f = s.DrawBarFrame(bars);
    EXPECT_EQ(Pixel(f, 143, Y(60)), kYellow);
    EXPECT_EQ(BoundsOf(f, kYellow, QRect(0, 0, 585, 545)).top(), Y(90));
}

TEST(TiltFrame, BarsFollowTheSurfaceClampsBeyondTheRange) {
    CMyDevGDI s;
    UseBarSurface(s, StyleTiltBars);
    const std::vector<ChannelBar> bars = {Digital(130), Digital(-20)};
    const QImage f = s.DrawBarFrame(bars);
    // Two records: slots of 125 pixels from x = 185. Above the range the bar reaches T + 1,
    // below it the bar hangs from the baseline down to B - 2.
    EXPECT_EQ(Pixel(f, 190, 0), kBackground);
    EXPECT_EQ(Pixel(f, 190, 1), kBlack);
    EXPECT_EQ(Pixel(f, 190, 2), kBlue);
    EXPECT_EQ(Pixel(f, 315, 514), kBlack);
    EXPECT_EQ(Pixel(f, 315, 541), kBlue);
    EXPECT_EQ(Pixel(f, 315, 542), kBlack);
    EXPECT_EQ(Pixel(f, 315, 543), kBackground);
}

TEST(Markers, BarMarkerSitsInsideTheSlotWithNumberAndValue) {
    CMyDevGDI s;
    UseBarSurface(s, StyleChannelBars);
    s.SetValueDecimals(2);
    s.Update([](CDevGDI::State& st) {
        st.markerEnabled[0] = true;
        st.markerPlacement = 3;
        st.horizontalCrosshair = false;
        st.verticalCrosshair = true;
    });
    const QFont font = CDevGDI::SurfaceFont("System", 100);
    const std::vector<ChannelBar> low = {Digital(60.25)};
    QImage f = s.DrawBarFrame(low);
    // One record: slot 226-393; the marker line 45 % into it.
    const int x = 226 + 75, y = static_cast<int>(515 - 60.25 * 500 / 120) - 1;
    EXPECT_EQ(RowsOf(f, x, kCrosshair).front(), 15);
    EXPECT_EQ(RowsOf(f, x, kCrosshair).back(), 514);
    EXPECT_TRUE(TextAt(f, "1", x + 6, y - 15, font, kMagenta));
    EXPECT_TRUE(TextAt(f, "60.25 ", x - 30, y - 30, font, kMagenta));

    // Near the top the value text moves below the marker number.
    const std::vector<ChannelBar> high = {Digital(120)};
    f = s.DrawBarFrame(high);
    EXPECT_TRUE(TextAt(f, "1", x + 6, 0, font, kMagenta));
    EXPECT_TRUE(TextAt(f, "120 ", x - 30, 20, font, kMagenta));

    s.Update([](CDevGDI::State& st) {
        st.markerUnitsOn = false;
        st.markerPlacement = 2;
    });
    f = s.DrawBarFrame(low);
    EXPECT_EQ(RowsOf(f, 226, kCrosshair).back(), 514);
    EXPECT_TRUE(TextAt(f, "60.25", 226 - 10, y - 30, font, kMagenta));

    // A stale position beyond the records draws no marker.
    s.SetMarkerPosition(0, 5);
    f = s.DrawBarFrame(low);
    EXPECT_TRUE(BoundsOf(f, kCrosshair, f.rect()).isEmpty());
}

void UseSpectrumSurface(CDevGDI& s) {
    UseBarSurface(s, StyleLine);
    s.Update([](CDevGDI::State& st) {
        st.markerEnabled[0] = true;
        st.markerPositions[0] = 2;
        st.verticalCrosshair = true;
        st.axisLabels = true;
        st.seriesColours[1] = 0x0000FF;
    });
}

TEST(SpectrumFrame, TracesArePolylinesAcrossNPlusOneSteps) {
    CMyDevGDI s;
    UseSpectrumSurface(s);
    s.Update([](CDevGDI::State& st) { st.markerEnabled[0] = false; });
    const std::vector<double> flat(10, 60.0);
    const QImage f = s.DrawSpectrumFrame(flat, {});
    const std::vector<int> xs = ColumnsOf(f, Y(60), kGreen);
    ASSERT_FALSE(xs.empty());
    EXPECT_EQ(xs.front(), 60 + 500 / 11);
    EXPECT_GE(xs.back(), 60 + 10 * 500 / 11 - 1);
    EXPECT_LE(xs.back(), 60 + 10 * 500 / 11);
    // One point gives no line to draw.
    const std::vector<double> single(1, 60.0);
    EXPECT_TRUE(BoundsOf(s.DrawSpectrumFrame(single, {}), kGreen, QRect(0, 0, 585, 545)).isEmpty());
}

TEST(SpectrumFrame, AValueThatIsNotANumberIsAGapInTheLine) {
    CMyDevGDI s;
    UseSpectrumSurface(s);
    const double gap = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> levels(10, 60.0);
    levels[0] = levels[4] = levels[5] = gap;
    // The marker on a gap has no value to show; it is left out, not drawn somewhere.
    s.SetMarkerPosition(0, 4);
    const QImage f = s.DrawSpectrumFrame(levels, {});
    const auto x = [](int i) { return 60 + (i + 1) * 500 / 11; };
    const std::vector<int> xs = ColumnsOf(f, Y(60), kGreen);
    ASSERT_FALSE(xs.empty());
    EXPECT_EQ(xs.front(), x(1));
    EXPECT_GE(xs.back(), x(9) - 1);
    for (int column : xs)
        EXPECT_TRUE(column <= x(3) || column >= x(6)) << column;
}

TEST(SpectrumFrame, TheMaxTracePenIsHeldAt64Pixels) {
    CMyDevGDI s;
    UseSpectrumSurface(s);
    const std::vector<double> trace(10, 20.0), max(10, 70.0);
    s.Update([](CDevGDI::State& st) {
        st.markerEnabled[0] = false;
        st.seriesStyles[1] = 3;
    });
    EXPECT_EQ(RowsOf(s.DrawSpectrumFrame(trace, max), 300, 0x0000FF).size(), 3u);
    s.Update([](CDevGDI::State& st) { st.seriesStyles[1] = 100000; });
    EXPECT_EQ(RowsOf(s.DrawSpectrumFrame(trace, max), 300, 0x0000FF).size(), 64u);
}

TEST(SpectrumFrame, OneTraceShowsTheMarkerLineWithoutTexts) {
    CMyDevGDI s;
    UseSpectrumSurface(s);
    const std::vector<double> trace(10, 60.0), max(10, 70.0);
    QImage f = s.DrawSpectrumFrame(trace, {});
    const int x = 60 + 3 * 500 / 11;
    EXPECT_EQ(RowsOf(f, x, kCrosshair).size(), 500u);
    EXPECT_EQ(ColumnsOf(f, 515 - 250 - 1, kCrosshair).size(), 498u);
    EXPECT_TRUE(BoundsOf(f, kMagenta, f.rect()).isEmpty());

    f = s.DrawSpectrumFrame(trace, max);
    const int y = static_cast<int>(515 - 70 * 500 / 120.0) - 1;
    EXPECT_TRUE(TextAt(f, "1", x + 6, y - 15, CDevGDI::DefaultFont(), kMagenta));
    EXPECT_TRUE(TextAt(f, "70", x - 30, y - 30, CDevGDI::DefaultFont(), kMagenta));
}

TEST(SpectrumFrame, TextsTakeTheFrameColourUnlessAMarkerWasDrawn) {
    CMyDevGDI s;
    UseSpectrumSurface(s);
    s.SetTextBox(true, 0, "MHz", 27);
    const QFont font = CDevGDI::DefaultFont();
    QImage f = s.DrawSpectrumFrame({}, {});
    EXPECT_TRUE(TextAt(f, "MHz   ", 60, 0, font, kFrame));
    const std::vector<double> trace(10, 60.0);
    f = s.DrawSpectrumFrame(trace, {});
    EXPECT_TRUE(TextAt(f, "MHz   ", 60, 0, font, kMagenta));
}

TEST(MarkerFromMouse, PicksTheBarWhoseSlotIsUnderThePointer) {
    CMyDevGDI s;
    UseBarSurface(s, StyleChannelBars); // plot 500 pixels wide from x = 60
    auto position = [&] { return s.GetState().markerPositions[0]; };
    // Every bar from its left edge to its right one, for slots that divide the width evenly
    // or not; the empty slot at either end belongs to the bar beside it.
    for (int n : {3, 7, 170}) {
        for (int k = 0; k < n; ++k) {
            const int left = 60 + (k + 1) * 500 / (n + 2), right = 60 + (k + 2) * 500 / (n + 2);
            for (int x : {k == 0 ? 60 : left, right - 1, k == n - 1 ? 560 : right - 1}) {
                s.MoveActiveMarker(x, n);
                ASSERT_EQ(position(), k) << n << " records, x " << x;
            }
        }
    }
    for (int x : {561, 59}) // outside the plot nothing moves
        s.MoveActiveMarker(x, 3);
    s.MoveActiveMarker(200, 0);
    EXPECT_EQ(position(), 169);
    s.Update([](CDevGDI::State& st) { st.activeMarker = 1; });
    s.MoveActiveMarker(210, 3);
    EXPECT_EQ(position(), 169);
    EXPECT_EQ(s.GetState().markerPositions[1], 0);
}

TEST(MarkerFromMouse, SpectrumPicksTheNearestPointInsideThePlot) {
    CMyDevGDI s;
    UseBarSurface(s, StyleLine);
    auto position = [&] { return s.GetState().markerPositions[0]; };
    const auto distance = [](int i, int n, int x) {
        return std::abs(60 + (i + 1) * 500 / (n + 1) - x);
    };
    for (int n : {2, 315}) {
        for (int x = 60; x <= 560; ++x) {
            s.MoveActiveMarkerInPlot(x, 300, n);
            for (int i = 0; i < n; ++i)
                ASSERT_LE(distance(position(), n, x), distance(i, n, x)) << n << " points, x " << x;
        }
    }
    for (const auto& [x, y] : {std::pair{300, 14}, {300, 516}, {59, 300}, {561, 300}})
        s.MoveActiveMarkerInPlot(x, y, 315);
    EXPECT_EQ(position(), 314);
}

} // namespace
} // namespace qm::test

namespace qm::test {
namespace {

TEST(SpectrumFrame, AnOverlayLiesUnderTheTraceWithALegendAndAnEmptyOneChangesNothing) {
    CMyDevGDI s;
    UseSpectrumSurface(s);
    const std::vector<double> trace(10, 60.0);
    const QImage plain = s.DrawSpectrumFrame(trace, {}).copy();
    SpectrumOverlay overlay;
    overlay.values = {40.0};
    EXPECT_EQ(s.DrawSpectrumFrame(trace, {}, &overlay), plain); // one point: nothing to draw
    overlay.values = std::vector<double>(10, 40.0);
    overlay.values[5] = 60.0; // where it meets the trace, the trace is on top
    overlay.label = "B";
    overlay.baseLabel = "A";
    const QImage f = s.DrawSpectrumFrame(trace, {}, &overlay);
    EXPECT_FALSE(ColumnsOf(f, Y(40), kOverlayColour).empty());
    EXPECT_TRUE(ColumnsOf(f, Y(60), kOverlayColour).empty());
    EXPECT_FALSE(BoundsOf(f, kOverlayColour, QRect(300, 0, 285, 100)).isEmpty()); // legend
}

} // namespace
} // namespace qm::test
