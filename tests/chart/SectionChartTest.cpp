#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "chart/SectionChart.h"
#include "panes/PaneTestElement.h"

namespace qm::test {
namespace {

constexpr COLORREF kTraceA = 0x00FFFF; // the spectrum chart's own trace

// A scan of `count` analogue channels at 70 dBuV, 8 MHz apart from 48.25 MHz.
_tagFileDataExt Scanned(int count) {
    PaneTestElement t(1);
    t.Put8(29, kFlagScan);
    t.ScanWindow(0, count);
    for (int i = 0; i < count; ++i) {
        t.Entry(i, 4825 + 800 * static_cast<std::uint32_t>(i), 2 + i, 0, 0x80);
        t.Scan(i, 700, 600);
    }
    return t.e;
}

TEST(SectionChart, AChannelOneFileDidNotScanIsAGapInItsLineNotADropToZero) {
    constexpr int kWidth = 600, kHeight = 300;
    // A stops two channels before B: nothing of A's line may come down towards 0 dBuV there.
    const QImage chart =
        RenderComparisonChart(PaneSection::Scan, Scanned(4), Scanned(6), "A", "B", kWidth, kHeight);
    ASSERT_EQ(chart.size(), QSize(kWidth, kHeight));
    // Plot area 40..260 for 0..120 dBuV: below 25 dBuV starts at y 214.
    const QRect low(CInstrument::kLeftMargin + 5, 214, kWidth - 70, 260 - 3 - 214);
    EXPECT_TRUE(BoundsOf(chart, kTraceA, low).isEmpty());
    const QRect atSeventy(CInstrument::kLeftMargin + 5, 125, kWidth - 70, 20);
    EXPECT_FALSE(BoundsOf(chart, kTraceA, atSeventy).isEmpty());
    // Both files scanned the same channels: one line each, nothing in the low band either.
    EXPECT_TRUE(BoundsOf(RenderComparisonChart(PaneSection::Scan, Scanned(6), Scanned(6), "A", "B",
                                               kWidth, kHeight),
                         kTraceA, low)
                    .isEmpty());
}

TEST(SectionChart, PicturesOnlyForSectionsWithAChart) {
    const _tagFileDataExt scan = Scanned(3);
    for (PaneSection section : kSectionsInTreeOrder) {
        const QImage picture = RenderSectionChart(section, scan, 320, 200);
        EXPECT_EQ(picture.isNull(), !HasChart(section)) << TreeValue(section);
        if (!picture.isNull()) {
            EXPECT_EQ(picture.size(), QSize(320, 200));
        }
        EXPECT_EQ(MakeChart(section)->GetKindName() == "CS_NULL_MEAS", !HasChart(section));
    }
}

} // namespace
} // namespace qm::test
