#include <gtest/gtest.h>

#include <QFontMetrics>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "ChartTestSupport.h"
#include "chart/BarChart.h"
#include "chart/CEndAnalyzer.h"
#include "chart/CSpecAnalyzer.h"
#include "chart/ChartConversion.h"
#include "chart/SectionChart.h"

namespace qm::test {
namespace {

constexpr int kAnalogue = 0, kDvbC = 1, kDvbT2 = 3;
constexpr int kEnabled = 0x80, kTilt = 0x40;

bool SameBar(const ChannelBar& a, const ChannelBar& b) {
    return a.primary == b.primary && a.secondary == b.secondary && a.a1 == b.a1 && a.a2 == b.a2 &&
           a.b == b.b && a.c == b.c;
}

// A kind 1 file with a scan of three channels: analogue, DVB-C, analogue.
_tagFileDataExt ScanElement() {
    ElementBuilder b(1);
    b.Entry(0, kAnalogue, kEnabled);
    b.Entry(1, kDvbC, 0);
    b.Entry(2, kDvbC, kEnabled);
    b.Entry(3, kAnalogue, kEnabled);
    b.Entry(4, kAnalogue, kEnabled);
    b.ScanWindow(1, 3);
    b.Scan(2, 650, 0);
    b.Scan(3, 700, -20);
    b.Scan(4, 800, 700);
    return b.e;
}

TEST(Controllers, KindNamesFollowTheSection) {
    const std::pair<int, const char*> kinds[] = {
        {600, "CS_TILT_ANALYZER"},   {700, "CS_SCAN_ANALYZER"}, {800, "CS_SPEC_ANALYZER"},
        {1000, "CS_LIMIT_ANALYZER"}, {500, "CS_NULL_MEAS"},     {900, "CS_NULL_MEAS"},
    };
    for (const auto& [value, name] : kinds) {
        auto c = MakeChart(SectionFromTreeValue(value));
        EXPECT_EQ(c->SetKindName(), 1);
        EXPECT_EQ(c->GetKindName(), name);
    }
}

TEST(Controllers, CreateConfiguresTheFirstOfEightSurfaces) {
    CScanAnalyzer scan;
    EXPECT_FALSE(scan.Create(nullptr, {0, 0, 800, 500})); // no window, no thread
    EXPECT_EQ(scan.SurfaceCount(), 8);
    const CDevGDI::State st = scan.Surface()->GetState();
    EXPECT_EQ(st.backgroundColour, 0x323232u);
    EXPECT_EQ(st.frameColour, 0xDCDCDCu);
    EXPECT_EQ(st.framePenWidth, 1);
    EXPECT_EQ(st.textColour, 0x00FFFFu);
    EXPECT_EQ(st.markerTextColours[0][0], 0x00FFFFu);
    EXPECT_EQ((std::array{st.leftMargin, st.topMargin, st.rightMargin, st.bottomMargin}),
              (std::array{35, 40, 25, 40}));
    EXPECT_EQ(st.columnCount, 1);
    EXPECT_EQ(st.rowCount, 11);
    const std::array<COLORREF, 9> colours = {0x00FF00, 0x00FFFF, 0xFF0000, 0x00FFFF, 0xFFB1C7,
                                             0xC00000, 0x000080, 0xE1E1E1, 0xFFFFFF};
    for (std::size_t i = 0; i < colours.size(); ++i)
        EXPECT_EQ(st.seriesColours[i], colours[i]) << i;
    EXPECT_EQ(st.seriesStyles[0], StyleChannelBars);
    EXPECT_EQ(st.seriesStyles[1], 1);
    EXPECT_TRUE(st.markerEnabled[0] && st.verticalCrosshair && st.axisLabels && st.markerUnitsOn);
    EXPECT_FALSE(st.horizontalCrosshair || st.numericYScale || st.markerEnabled[1]);
    EXPECT_EQ(st.markerPlacement, 3);
    EXPECT_EQ(st.valueFormat, "%.3f");
    EXPECT_EQ(st.yMax, 120.0);

    CSpecAnalyzer spec;
    spec.Create(nullptr, {0, 0, 800, 500});
    const CDevGDI::State sp = spec.Surface()->GetState();
    EXPECT_EQ(sp.seriesStyles[0], StyleLine);
    EXPECT_EQ((std::array{sp.seriesColours[0], sp.seriesColours[1], sp.seriesColours[3]}),
              (std::array<COLORREF, 3>{0x00FFFF, 0x0000FF, 0x3399FF}));
    EXPECT_EQ(sp.valueFormat, "%.2f");
    EXPECT_EQ(sp.markerPlacement, 2);
    EXPECT_FALSE(sp.markerUnitsOn);
    EXPECT_TRUE(sp.numericYScale);
    EXPECT_EQ(sp.yMax, 120.0);

    CTiltAnalyzer tilt;
    tilt.Create(nullptr, {0, 0, 800, 500});
    EXPECT_EQ(tilt.Surface()->GetState().seriesStyles[0], StyleTiltBars);
    EXPECT_EQ(tilt.Surface()->GetState().valueFormat, "%.2f");
    EXPECT_EQ(tilt.Surface()->GetState().yMax, 1000000.0); // until SetData
}

TEST(Controllers, RefreshTextsWritesUnitTextsAndTheCurrentTime) {
    CSpecAnalyzer spec;
    spec.Create(nullptr, {0, 0, 800, 500});
    EXPECT_EQ(spec.RefreshTexts(), 1);
    const std::time_t now = std::time(nullptr);
    CDevGDI::State st = spec.Surface()->GetState();
    EXPECT_EQ(st.textBoxes[0].text, "dBuV");
    EXPECT_EQ(st.textBoxes[0].position, 9);
    EXPECT_EQ(st.textBoxes[1].text, "MHz");
    EXPECT_EQ(st.textBoxes[1].position, 19);
    EXPECT_EQ(st.textBoxes[2].position, 3);
    EXPECT_TRUE(st.textBoxes[0].visible && st.textBoxes[1].visible && st.textBoxes[2].visible);
    EXPECT_EQ(st.columnCount, 9);
    EXPECT_EQ(st.rowCount, 11);
    std::tm t{};
    ASSERT_EQ(std::sscanf(st.textBoxes[2].text.toStdString().c_str(), "%d-%d-%d  %d:%d:%d",
                          &t.tm_year, &t.tm_mon, &t.tm_mday, &t.tm_hour, &t.tm_min, &t.tm_sec),
              6);
    EXPECT_FALSE(st.textBoxes[2].text.contains("-0")); // no leading zeros
    t.tm_year -= 1900;
    t.tm_mon -= 1;
    t.tm_isdst = -1;
    EXPECT_LE(std::abs(std::difftime(std::mktime(&t), now)), 5.0);

    CScanAnalyzer scan;
    scan.Create(nullptr, {0, 0, 800, 500});
    scan.RefreshTexts();
    st = scan.Surface()->GetState();
    EXPECT_EQ(st.textBoxes[1].text, "CH");
    EXPECT_EQ(st.textBoxes[1].position, 13);
    EXPECT_EQ(st.columnCount, 1);
    CLimitAnalyzer limit;
    limit.Create(nullptr, {0, 0, 800, 500});
    limit.RefreshTexts();
    EXPECT_EQ(limit.Surface()->GetState().columnCount, 9);
}

TEST(Controllers, SetDataWritesLevelLabelsAndPutsTheMarkerOnTheFirstPoint) {
    CLimitAnalyzer limit;
    limit.Create(nullptr, {0, 0, 800, 500});
    limit.Surface()->SetMarkerPosition(0, 5);
    limit.SetData(ScanElement());
    const CDevGDI::State st = limit.Surface()->GetState();
    EXPECT_EQ(st.markerPositions[0], 0);
    EXPECT_EQ(st.yMin, 0.0);
    EXPECT_EQ(st.yMax, 120.0);
    for (int i = 0; i < 13; ++i) {
        EXPECT_TRUE(st.rowLabels[i].shown);
        EXPECT_EQ(st.rowLabels[i].intValue, 120 - 10 * i);
        EXPECT_EQ(st.rowLabels[i].format, "%d");
    }
    EXPECT_FALSE(st.rowLabels[13].shown);
    for (int i = 0; i < 11; ++i)
        EXPECT_FALSE(st.columnLabels[i].shown);
    EXPECT_EQ(st.columnLabels[8].format, "%.2f");
    EXPECT_EQ(st.columnLabels[9].format, "");
}

TEST(Conversions, ScanFollowsTheEnabledListFromTheScanStart) {
    const std::vector<ChannelBar> bars = ScanBars(MeasurementFile(ScanElement()));
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_TRUE(SameBar(bars[0], Digital(65.0)));
    EXPECT_TRUE(SameBar(bars[1], Analogue(70.0, -2.0))); // scan levels are signed
    EXPECT_TRUE(SameBar(bars[2], Analogue(80.0, 70.0)));

    // A window reaching past the enabled list keeps the points before the end.
    _tagFileDataExt e = ScanElement();
    ElementBuilder b(1);
    b.e = e;
    b.ScanWindow(2, 40);
    EXPECT_EQ(ScanBars(MeasurementFile(b.e)).size(), 2u);

    ElementBuilder compact(0);
    compact.Entry(0, kDvbC, kEnabled);
    compact.ScanWindow(0, 1);
    compact.Scan(0, 512, 0);
    const auto kind0 = ScanBars(MeasurementFile(compact.e));
    ASSERT_EQ(kind0.size(), 1u);
    EXPECT_TRUE(SameBar(kind0[0], Digital(51.2)));
}

TEST(Conversions, LimitRecordsArePackedByEnabledOrdinalAndSignedOnlyInKindTwo) {
    for (int kind : {0, 2}) {
        ElementBuilder b(kind);
        b.Entry(0, kAnalogue, 0);
        b.Entry(1, kAnalogue, kEnabled);
        b.Entry(2, kDvbT2, kEnabled);
        b.Limit(0, 900, 800);
        b.Limit(1, 0xFFF6, 0);
        const auto bars = LimitBars(MeasurementFile(b.e));
        ASSERT_EQ(bars.size(), 2u);
        EXPECT_TRUE(SameBar(bars[0], Analogue(90.0, 80.0)));
        EXPECT_TRUE(SameBar(bars[1], Digital(kind == 2 ? -1.0 : 6552.6)));
    }
    ElementBuilder none(1);
    none.Entry(0, kAnalogue, 0);
    EXPECT_TRUE(LimitBars(MeasurementFile(none.e)).empty());
}

TEST(Conversions, KindOneLimitsAboveSignedRangeStayUnsignedAsInTheTable) {
    ElementBuilder b(1);
    for (int i = 0; i < 3; ++i)
        b.Entry(i, kAnalogue, kEnabled);
    b.Limit(0, 0x7FFF, 0x8000);
    b.Limit(1, 0x8001, 0xFFFF);
    b.Limit(2, 0, 0x8000);
    const auto bars = LimitBars(MeasurementFile(b.e));
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_TRUE(SameBar(bars[0], Analogue(3276.7, 3276.8)));
    EXPECT_TRUE(SameBar(bars[1], Analogue(3276.9, 6553.5)));
    EXPECT_TRUE(SameBar(bars[2], Analogue(0.0, 3276.8)));
}

TEST(Conversions, TiltBarsNeedTheStoredCountToMatchTheTiltList) {
    ElementBuilder b(2);
    b.Entry(0, kAnalogue, kTilt);
    b.Entry(1, kAnalogue, kEnabled);
    b.Entry(2, kDvbC, kTilt | kEnabled);
    b.TiltCount(2);
    b.TiltLevel(0, 650);
    b.TiltLevel(1, -5);
    TiltBarsResult tilt = TiltBars(MeasurementFile(b.e));
    ASSERT_TRUE(tilt.countMatches);
    ASSERT_EQ(tilt.bars.size(), 2u);
    EXPECT_TRUE(SameBar(tilt.bars[0], ClassC(65.0)));
    EXPECT_TRUE(SameBar(tilt.bars[1], Digital(-0.5)));

    b.TiltCount(3);
    tilt = TiltBars(MeasurementFile(b.e));
    EXPECT_FALSE(tilt.countMatches);
    EXPECT_TRUE(tilt.bars.empty());

    RecordingMessages messages;
    CTiltAnalyzer chart;
    chart.SetMessageSink(&messages);
    chart.Create(nullptr, {0, 0, 800, 500});
    chart.SetData(b.e);
    EXPECT_EQ(messages.errors, (std::vector<std::string>{"Tilt channel num is incorrect"}));
    // The refused chart still shows its grid and labels, without bars.
    const QImage frame = chart.DrawFrame();
    ASSERT_FALSE(frame.isNull());
    EXPECT_TRUE(BoundsOf(frame, 0x00FFFF, QRect(36, 41, 738, 418)).isEmpty());
    EXPECT_TRUE(BoundsOf(frame, 0xFF0000, QRect(36, 41, 738, 418)).isEmpty());
    EXPECT_EQ(Pixel(frame, 35, 200), 0xDCDCDCu);
}

TEST(Conversions, SpectrumTracesTakeNPointsAndTheMaxTraceOnlyWhenFlagged) {
    for (int kind : {0, 2}) {
        ElementBuilder b(kind);
        b.SpectrumCount(315, 1);
        b.Point(0, 0xFFF6);
        b.Point(314, 600);
        b.MaxPoint(0, 700);
        const SpectrumTraces t = SpectrumTracesOf(MeasurementFile(b.e));
        EXPECT_EQ(t.pointCount, 315);
        ASSERT_EQ(t.trace0.size(), 315u);
        ASSERT_EQ(t.trace1.size(), 315u);
        EXPECT_EQ(t.trace0[0], kind == 2 ? -1.0 : 6552.6);
        EXPECT_EQ(t.trace0[314], 60.0);
        EXPECT_EQ(t.trace1[0], 70.0);
    }
    ElementBuilder one(1);
    one.SpectrumCount(100, 0);
    EXPECT_TRUE(SpectrumTracesOf(MeasurementFile(one.e)).trace1.empty());
    one.SpectrumCount(900, 1); // more than the file has room for
    const SpectrumTraces big = SpectrumTracesOf(MeasurementFile(one.e));
    EXPECT_EQ(big.pointCount, 320);
    EXPECT_EQ(big.trace1.size(), 320u);
}

TEST(Controllers, SpectrumScaleNumbersFitTheLeftMarginWhole) {
    CSpecAnalyzer spec;
    spec.Create(nullptr, {0, 0, 800, 500});
    ElementBuilder b(1);
    b.SpectrumCount(315, 0);
    spec.SetData(b.e);
    spec.RefreshTexts();
    const QImage frame = spec.DrawFrame();
    const QFontMetrics fm(CDevGDI::DefaultFont());
    for (const auto& [k, text] : {std::pair{10, "109.09 "}, std::pair{3, "32.73 "}}) {
        const int width = fm.horizontalAdvance(text);
        ASSERT_LE(width, 34) << text;
        const int y = 40 + (11 - k) * 420 / 11 + fm.height() / 2 - 15;
        EXPECT_TRUE(TextAt(frame, text, 34 - width, y, CDevGDI::DefaultFont(), 0x00FFFF)) << k;
    }
}

TEST(Controllers, DragsMoveMarkerZeroAndAlwaysTellThePane) {
    RecordingReceiver pane;
    CScanAnalyzer scan;
    scan.SetMarkerReceiver(&pane);
    scan.Create(nullptr, {0, 0, 560, 500}); // plot 500 pixels wide from x = 35
    scan.SetData(ScanElement());
    scan.Resize(0, 0, 560, 500);
    scan.OnDrag(535, 100);      // right edge: the last of three records
    scan.OnDrag(10, 100);       // outside: the marker stays, the pane hears of it anyway
    scan.OnDrag(35 + 170, 600); // the middle of the first bar
    EXPECT_EQ(pane.positions, (std::vector<long>{2, 2, 0}));

    CSpecAnalyzer spec;
    spec.SetMarkerReceiver(&pane);
    spec.Create(nullptr, {0, 0, 560, 500});
    ElementBuilder b(1);
    b.SpectrumCount(315, 0);
    spec.SetData(b.e);
    spec.Resize(0, 0, 560, 500);
    pane.positions.clear();
    spec.OnDrag(535, 200);
    spec.OnDrag(300, 20); // above the plot
    spec.OnDrag(36, 200); // on the first point
    EXPECT_EQ(pane.positions, (std::vector<long>{314, 314, 0}));
}

TEST(RenderThread, BarChartsDrawOnceDataArriveAndOnlyWhenSomethingChanged) {
    CaptureSink view;
    CScanAnalyzer scan;
    ASSERT_TRUE(scan.Create(&view, {0, 0, 560, 500}));
    EXPECT_TRUE(scan.RenderThreadRunning());
    EXPECT_FALSE(scan.RenderTick()); // no data yet
    EXPECT_EQ(view.Count(), 0);
    scan.SetData(ScanElement());
    scan.RefreshTexts();
    ASSERT_TRUE(view.WaitForFrames(1));
    while (scan.RenderTick()) {
    }
    const int settled = view.Count();
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(scan.RenderTick());
    EXPECT_EQ(view.Count(), settled);
    EXPECT_EQ(Pixel(view.Last(), 35 + 500 * 3 / 5 + 50, 197), 0x00FF00u); // third bar

    scan.OnDrag(300, 100); // moves the marker: one new frame
    scan.RenderTick();
    EXPECT_EQ(view.Count(), settled + 1);
    scan.OnDrag(300, 100); // same place: nothing new
    EXPECT_FALSE(scan.RenderTick());
    EXPECT_EQ(view.Count(), settled + 1);
}

TEST(RenderThread, SpectrumChartsDrawEvenWithoutData) {
    CaptureSink view;
    CSpecAnalyzer spec;
    ASSERT_TRUE(spec.Create(&view, {0, 0, 400, 300}));
    ASSERT_TRUE(view.WaitForFrames(1));
    EXPECT_EQ(view.Last().size(), QSize(400, 300));
}

// The stop is a notification, not something the thread finds at its next period (see
// RenderThreadTest.cpp for a period of an hour): replacing a drawing controller just works.
TEST(RenderThread, EndsWithinItsPeriodWhenTheControllerIsReplaced) {
    for (int section : {700, 800}) {
        CaptureSink view;
        auto chart = MakeChart(SectionFromTreeValue(section));
        chart->Create(&view, {0, 0, 300, 200});
        chart->SetData(ScanElement());
        ASSERT_TRUE(view.WaitForFrames(1));
        chart.reset();
        const int frames = view.Count();
        EXPECT_GE(frames, 1);
    }
}

TEST(RenderThread, HandOverWhileDrawingNeverTearsOrCrashes) {
    CaptureSink view;
    CSpecAnalyzer spec;
    spec.Create(&view, {0, 0, 400, 300});
    ElementBuilder small(1), large(1);
    small.SpectrumCount(10, 1);
    large.SpectrumCount(315, 1);
    std::atomic<bool> done{false};
    std::atomic<int> drawn{0};
    std::thread drawer([&] {
        while (!done) {
            spec.DrawFrame();
            ++drawn;
        }
    });
    for (int i = 0; drawn < 200 || i < 300; ++i) {
        spec.SetData(i % 2 ? small.e : large.e);
        spec.Resize(0, 0, 200 + i % 300, 300 - i % 200);
        spec.OnDrag(150 + i % 200, 150);
        spec.RefreshTexts();
    }
    done = true;
    drawer.join();
    EXPECT_GE(view.Count(), 200);
}

TEST(Controllers, TheNullControllerHasNoThreadAndDrawsNothing) {
    RecordingReceiver pane;
    CEndAnalyzer none;
    none.SetMarkerReceiver(&pane);
    CaptureSink view;
    EXPECT_FALSE(none.Create(&view, {0, 0, 300, 200}));
    EXPECT_FALSE(none.RenderThreadRunning());
    EXPECT_EQ(none.SurfaceCount(), 1);
    EXPECT_EQ(none.RefreshTexts(), 1);
    none.SetData(ScanElement());
    none.OnDrag(100, 100);
    EXPECT_TRUE(none.DrawFrame().isNull());
    EXPECT_FALSE(none.RenderTick());
    EXPECT_TRUE(pane.positions.empty());
    EXPECT_EQ(view.Count(), 0);
}

} // namespace
} // namespace qm::test
