#include <gtest/gtest.h>

#include <QFontMetrics>

#include "ChartTestSupport.h"
#include "chart/CMyDevGDI.h"
#include "chart/ValueText.h"

namespace qm::test {
namespace {

constexpr COLORREF kBackground = 0x323232;
constexpr COLORREF kFrame = 0xDCDCDC;
constexpr COLORREF kText = 0x00FFFF;

// A surface of 585 x 545 pixels whose plot area (default margins 60, 15, 25, 30) is 500 x 500.
void UsePlainSurface(CDevGDI& s, int right = 585, int bottom = 545) {
    s.SetPlotArea({0, 0, right, bottom});
    s.Update([](CDevGDI::State& st) {
        st.backgroundColour = kBackground;
        st.frameColour = kFrame;
        st.textColour = kText;
        st.numericYScale = false;
        st.rowCount = 0;
        st.columnCount = 0;
        st.yMin = 0;
        st.yMax = 120;
    });
}

QImage OneBarFrame(CDevGDI& s) {
    const ChannelBar none;
    return s.DrawBarFrame(std::span<const ChannelBar>(&none, 1));
}

TEST(PlotSurface, StartsWithTheDocumentedDefaults) {
    CMyDevGDI s;
    const CDevGDI::State st = s.GetState();
    EXPECT_EQ(st.columnCount, 8);
    EXPECT_EQ(st.rowCount, 6);
    EXPECT_EQ(st.topMargin, 15);
    EXPECT_EQ(st.bottomMargin, 30);
    EXPECT_EQ(st.rightMargin, 25);
    EXPECT_EQ(st.leftMargin, 60);
    const std::array<COLORREF, 7> colours = {0x00FF00, 0x00FFFF, 0xFF00FF, 0xFFFF00,
                                             0xFF0000, 0x0000FF, 0xFFFFFF};
    for (std::size_t i = 0; i < colours.size(); ++i)
        EXPECT_EQ(st.seriesColours[i], colours[i]) << i;
    EXPECT_EQ(st.seriesColours[19], 0xFFFFFFu);
    EXPECT_EQ(st.seriesStyles[7], StyleLine);
    EXPECT_EQ(st.crosshairColour, 0xDCDC00u);
    EXPECT_EQ(st.markerPlacement, 2);
    EXPECT_EQ(st.yMax, 1000000.0);
    EXPECT_EQ(st.valueFormat, "%.3f");
    EXPECT_EQ(st.yUnit, " ");
    EXPECT_EQ(st.markerUnits[9], " ");
    EXPECT_EQ(st.fontFace, "System");
    EXPECT_EQ(st.fontSize, 100);
    EXPECT_TRUE(st.markerUnitsOn && st.horizontalCrosshair && st.numericYScale);
    EXPECT_FALSE(st.verticalCrosshair || st.axisLabels || st.markerEnabled[0]);
    EXPECT_FALSE(st.textBoxes[0].visible);
}

TEST(PlotSurface, AttachSetsColoursStylesAndMarkerTextColours) {
    CMyDevGDI s;
    CaptureSink window;
    s.AttachWindow(&window, {110, 70, 710, 470}, 0x010203, 0x00FF00, 2, 1, 0x00FFFF, 9, 0xABCDEF);
    const CDevGDI::State st = s.GetState();
    EXPECT_EQ(st.rect, (PlotRect{110, 70, 710, 470})); // the window's client coordinates
    EXPECT_EQ(st.backgroundColour, 0x010203u);
    EXPECT_EQ(st.framePenWidth, 2);
    EXPECT_EQ(st.seriesColours[0], 0x00FFFFu);
    EXPECT_EQ(st.seriesStyles[0], 9);
    const std::array<COLORREF, 5> next = {0xFFFF00, 0xFF00FF, 0x0000FF, 0x00FF00, 0xFF0000};
    for (std::size_t i = 0; i < next.size(); ++i)
        EXPECT_EQ(st.seriesColours[1 + i], next[i]);
    EXPECT_EQ(st.seriesColours[6], 0xFFFFFFu);
    EXPECT_EQ(st.seriesStyles[1], 1);
    EXPECT_EQ(st.markerTextColours[9][19], 0xABCDEFu);

    CMyDevGDI unattached;
    unattached.SetPlotArea({110, 70, 710, 470});
    EXPECT_EQ(unattached.GetState().rect, (PlotRect{0, 0, 600, 400}));
}

TEST(PlotSurface, TextBoxIndexOutsideTheFiveChangesNothing) {
    CMyDevGDI s;
    const auto revision = s.Revision();
    s.SetTextBox(true, 5, "x", 0);
    s.SetTextBox(true, -1, "x", 0);
    EXPECT_EQ(s.Revision(), revision);
    for (const TextBox& box : s.GetState().textBoxes)
        EXPECT_FALSE(box.visible);
    s.Update([](CDevGDI::State& st) { st.textBoxes[4].prefix = "P"; });
    s.SetTextBox(true, 4, "dBuV", 9);
    const TextBox box = s.GetState().textBoxes[4];
    EXPECT_TRUE(box.prefix.isEmpty());
    EXPECT_EQ(box.text, "dBuV");
    EXPECT_EQ(box.position, 9);
}

TEST(PlotSurface, ValueDecimalsAreClampedToTheFormatsRange) {
    CMyDevGDI s;
    s.SetValueDecimals(150);
    EXPECT_EQ(s.GetState().valueFormat, "%.99f");
    s.SetValueDecimals(-3);
    EXPECT_EQ(s.GetState().valueFormat, "%.0f");
    s.SetValueDecimals(2);
    EXPECT_EQ(s.GetState().valueFormat, "%.2f");
}

TEST(PlotSurface, ValuesPrintWholeOrWithTheFormat) {
    EXPECT_EQ(ValueText(120.0, "%.2f"), "120");
    EXPECT_EQ(ValueText(10.909, "%.2f"), "10.91");
    EXPECT_EQ(ValueText(85.0, "%.2f"), "85");
    EXPECT_EQ(ValueText(85.25, "%.2f"), "85.25");
    EXPECT_EQ(ValueText(-0.5, "%.1f"), "-0.5");
    EXPECT_EQ(ValueText(-3.0, "%.1f"), "-3");
    EXPECT_EQ(ValueText(65.1, "%.3f"), "65.100");
    EXPECT_EQ(ValueText(0.5, "%.99f").size(), 101);
    // Formats that could read arguments that are not there are printed as text.
    EXPECT_EQ(ValueText(1.5, "%s"), "%s");
    EXPECT_EQ(ValueText(1.5, "%n%f"), "%n%f");
    EXPECT_EQ(ValueText(1.5, "%f%f"), "%f%f");
}

TEST(PlotSurface, LabelsPickTheirValueByConversionLetter) {
    AxisLabel label;
    label.value = 1.25;
    label.intValue = 7;
    label.floatValue = 2.5f;
    label.format = "%d";
    EXPECT_EQ(LabelText(label, LabelAxis::Row), "7");
    label.format = "";
    EXPECT_EQ(LabelText(label, LabelAxis::Row), "7"); // no "%": "%d"
    label.format = "%.1e";
    EXPECT_EQ(LabelText(label, LabelAxis::Row), "2.5e+00");
    EXPECT_EQ(LabelText(label, LabelAxis::Column), "1.2e+00");
    label.format = "%.2f dB";
    EXPECT_EQ(LabelText(label, LabelAxis::Row), "1.25 dB");
    EXPECT_EQ(LabelText(label, LabelAxis::Column), "1.25 dB");
    label.format = "%s";
    EXPECT_EQ(LabelText(label, LabelAxis::Column), "%s");
}

TEST(PlotSurface, LevelsMapToRowsWithClampsToTheSurface) {
    CMyDevGDI s;
    UsePlainSurface(s);
    const CDevGDI::State st = s.GetState();
    EXPECT_EQ(CDevGDI::ValueToY(st, 60), 545 - 30 - 1 - 250);
    EXPECT_EQ(CDevGDI::ValueToY(st, 0), 514);
    EXPECT_EQ(CDevGDI::ValueToY(st, 500), 1);    // T + 1, above the plot area
    EXPECT_EQ(CDevGDI::ValueToY(st, -500), 543); // B - 2, below it
    EXPECT_EQ(CDevGDI::MarkerY(st, 500), 15);    // markers stay in the plot area
    EXPECT_EQ(CDevGDI::MarkerY(st, -500), 515);
    // An empty range draws somewhere on the surface instead of failing.
    CDevGDI::State empty = st;
    empty.yMax = empty.yMin;
    const int y = CDevGDI::ValueToY(empty, 10);
    EXPECT_GE(y, 1);
    EXPECT_LE(y, 543);
}

TEST(PlotSurface, OneColumnDrawsOneLineInTheMiddleAndNineDrawNine) {
    CMyDevGDI s;
    UsePlainSurface(s);
    s.Update([](CDevGDI::State& st) { st.columnCount = 1; });
    EXPECT_EQ(ColumnsOf(OneBarFrame(s), 100, kFrame), (std::vector<int>{60, 310, 560}));
    s.Update([](CDevGDI::State& st) { st.columnCount = 9; });
    std::vector<int> expected{60};
    for (int i = 1; i <= 9; ++i)
        expected.push_back(60 + i * 50);
    expected.push_back(560);
    const QImage frame = OneBarFrame(s);
    EXPECT_EQ(ColumnsOf(frame, 100, kFrame), expected);
    // A grid line spans the plot area from its top edge to the frame's bottom edge.
    const std::vector<int> column = RowsOf(frame, 110, kFrame);
    EXPECT_EQ(column.size(), 501u);
    EXPECT_EQ(column.front(), 15);
}

TEST(PlotSurface, ElevenRowsDivideTheHeightIntoTwelveBands) {
    CMyDevGDI s;
    UsePlainSurface(s);
    s.Update([](CDevGDI::State& st) { st.rowCount = 11; });
    std::vector<int> expected{15};
    for (int i = 1; i <= 11; ++i)
        expected.push_back(15 + i * 500 / 12);
    expected.push_back(515);
    EXPECT_EQ(RowsOf(OneBarFrame(s), 300, kFrame), expected);
}

TEST(PlotSurface, RowLabelsSitOnTheFrameEdgesAndEveryGridRow) {
    CMyDevGDI s;
    UsePlainSurface(s);
    s.Update([](CDevGDI::State& st) {
        st.rowCount = 11;
        st.axisLabels = true;
        for (int i = 0; i < 13; ++i) {
            st.rowLabels[i].intValue = 120 - 10 * i;
            st.rowLabels[i].format = "%d";
            st.rowLabels[i].shown = true;
        }
        st.rowLabels[3].shown = false;
    });
    const QImage frame = OneBarFrame(s);
    const QFont font = CDevGDI::SurfaceFont("System", 100);
    for (int i = 0; i < 13; ++i) {
        const int y = 15 + i * 500 / 12;
        if (i == 3)
            EXPECT_FALSE(TextAt(frame, "90", 15, y, font, kFrame));
        else
            EXPECT_TRUE(TextAt(frame, QString::number(120 - 10 * i), 15, y, font, kFrame)) << i;
    }
}

TEST(PlotSurface, FontSizesInTenthsOfAPointBecomePixelsAt96Dpi) {
    const std::pair<int, int> sizes[] = {{70, 9},   {75, 10},  {80, 11},  {100, 13},
                                         {105, 14}, {120, 16}, {240, 32}, {0, 1}};
    for (const auto& [tenths, pixels] : sizes)
        EXPECT_EQ(CDevGDI::SurfaceFont("System", tenths).pixelSize(), pixels) << tenths;

    // A bar frame prints its labels in the surface's size, not the default one.
    CMyDevGDI s;
    UsePlainSurface(s);
    s.Update([](CDevGDI::State& st) {
        st.fontSize = 120;
        st.rowCount = 11;
        st.axisLabels = true;
        st.rowLabels[0].intValue = 120;
        st.rowLabels[0].format = "%d";
        st.rowLabels[0].shown = true;
    });
    QFont sixteen = CDevGDI::SurfaceFont("System", 100);
    sixteen.setPixelSize(16);
    const QImage frame = OneBarFrame(s);
    EXPECT_TRUE(TextAt(frame, "120", 15, 15, sixteen, kFrame));
}

TEST(PlotSurface, NumericScalePrintsTheRangeInElevenSteps) {
    CMyDevGDI s;
    UsePlainSurface(s);
    s.SetValueDecimals(2);
    s.Update([](CDevGDI::State& st) {
        st.rowCount = 11;
        st.numericYScale = true;
    });
    const QImage frame = OneBarFrame(s);
    const QFont font = CDevGDI::SurfaceFont("System", 100);
    const QFontMetrics fm(font);
    const char* texts[] = {"0",     "10.91", "21.82", "32.73", "43.64",  "54.55",
                           "65.45", "76.36", "87.27", "98.18", "109.09", "120"};
    for (int k = 0; k <= 11; ++k) {
        const QString text = QString(texts[k]) + " ";
        const int y = k == 0 ? 515 - 15 : 15 + (11 - k) * 500 / 11 + fm.height() / 2 - 15;
        EXPECT_TRUE(TextAt(frame, text, 59 - fm.horizontalAdvance(text), y, font, kText)) << k;
    }
}

TEST(PlotSurface, TextBoxesGoWherePositionCodesSay) {
    const QFont font = CDevGDI::SurfaceFont("System", 100);
    const QFontMetrics fm(font);
    const QString drawn = "Hi   ";
    const int cx = fm.horizontalAdvance(drawn), cy = fm.height();
    // Surface 600 x 400, bottom margin 60: XL 60, XR 575 - cx, XC 60 + 300 - cx / 2, and the
    // plot's bottom edge at 340.
    const struct {
        int code, x, y;
    } cases[] = {
        {0, 60, 15 - cy - 2},
        {9, 60, 15 - cy - 2},
        {3, 575 - cx, 15 - cy - 2},
        {1, 60, 200 + 15},
        {13, 575 - cx, 340},
        {19, 575 - cx, 340 + cy},
        {7, 360 - cx / 2, 15},
        {8, 360 - cx / 2, 320},
        {24, 60, 340 + 2 * cy},
        {26, 360 - cx / 2, 340 + 2 * cy},
        {27, 60, 0},
        {99, 60, 0},
        {-1, 60, 0},
    };
    for (const auto& c : cases) {
        CMyDevGDI s;
        UsePlainSurface(s, 600, 400);
        s.Update([](CDevGDI::State& st) { st.bottomMargin = 60; });
        s.SetTextBox(true, 2, "Hi", c.code);
        EXPECT_TRUE(TextAt(OneBarFrame(s), drawn, c.x, c.y, font, kText)) << c.code;
    }
}

TEST(PlotSurface, FramesGoToTheWindowWholeAndAreReusedOnceReleased) {
    CMyDevGDI s;
    CaptureSink window;
    s.AttachWindow(&window, {0, 0, 300, 200}, kBackground, kFrame, 1, 1, 0x00FF00, 1, kText);
    QImage first = OneBarFrame(s);
    ASSERT_EQ(window.Count(), 1);
    EXPECT_EQ(window.LastArea(), (PlotRect{0, 0, 300, 200}));
    EXPECT_EQ(window.Last().size(), QSize(300, 200));
    EXPECT_EQ(Pixel(window.Last(), 0, 0), kBackground);
    // The window still holds the first frame: the next one must not draw over it.
    s.Update([](CDevGDI::State& st) { st.backgroundColour = 0x000080; });
    OneBarFrame(s);
    EXPECT_EQ(Pixel(first, 0, 0), kBackground);
    EXPECT_EQ(Pixel(window.Last(), 0, 0), 0x000080u);

    CMyDevGDI empty;
    EXPECT_TRUE(OneBarFrame(empty).isNull()); // no area, no frame
}

} // namespace
} // namespace qm::test
