#include <gtest/gtest.h>

#include <cmath>

#include "panes/MeasurementCompare.h"
#include "panes/PaneTestElement.h"

namespace qm {
namespace {

using test::PaneTestElement;

constexpr int kLevelAndHum = kFlagLevel | kFlagHum;

std::vector<std::string> RowAt(const MeasurementCompare& c, const std::string& frequency) {
    for (const auto& row : c.Channels().rows) {
        if (row[kCmpFrequency] == frequency)
            return row;
    }
    ADD_FAILURE() << "no row for " << frequency;
    return std::vector<std::string>(kCmpColumnCount);
}

TEST(MeasurementCompare, AnIncompleteFileIsMarkedByName) {
    const PaneTestElement a(1, "SITE"), b(1, "SITE");
    EXPECT_EQ(MeasurementCompare(a.e, b.e, false, true).Files().rows[0],
              (std::vector<std::string>{"File Name", "SITE", "SITE (incomplete)", ""}));
}

TEST(MeasurementCompare, MatchesChannelsByFrequencyWithMissingOnesOnEitherSide) {
    // A: 48.25 (plan slot 0), 306.00, 474.00. B holds them in another order and channel
    // numbering, lacks 306.00 and adds 810.00.
    PaneTestElement a(1, "OLD"), b(1, "NEW");
    a.Put8(29, kLevelAndHum);
    b.Put8(29, kLevelAndHum);
    a.Entry(0, 4825, 2, 0, 0x80);
    a.Entry(1, 30600, 23, 1, 0x80);
    a.Entry(2, 47400, 21, 2, 0x80);
    a.Level(0, 0x55, 651, 556);
    a.Level(1, 0x55, 593, 330, 0x1405, 0);      // 2.0E-5, below the limit
    a.Level(2, 0x55, 600, 280, 0x0A07, 0xFFFF); // 1.0E-7, unlock
    a.Hum(0, 0x55, 12, 20, 4);
    b.Entry(0, 47400, 40, 2, 0x80);
    b.Entry(1, 81000, 66, 2, 0x80);
    b.Entry(2, 4825, 2, 0, 0x80);
    b.Level(0, 0x55, 615, 301, 0x0A08, 0x0A08); // 1.0E-8 both
    b.Level(1, 0x55, 500, 250);
    b.Level(2, 0x55, 640, 560);
    b.Hum(2, 0x55, 15, 20, 4);

    const MeasurementCompare c(a.e, b.e);
    ASSERT_EQ(c.Channels().rows.size(), 4u);
    EXPECT_EQ(c.Channels().rows.front()[kCmpFrequency], "48.25"); // rising frequency
    EXPECT_EQ(c.Channels().rows.back()[kCmpFrequency], "810.00");

    const auto tv = RowAt(c, "48.25");
    EXPECT_EQ(tv[kCmpPresence], "A and B");
    EXPECT_EQ(tv[kCmpLevelDelta], "-1.1");
    EXPECT_EQ(tv[kCmpAudioDelta], "+0.4");
    EXPECT_EQ(tv[kCmpMerDelta], "---"); // an analogue channel has no MER
    EXPECT_EQ(tv[kCmpHumDelta], "+0.3");

    const auto onlyA = RowAt(c, "306.00");
    EXPECT_EQ(onlyA[kCmpPresence], "A only");
    EXPECT_EQ(onlyA[kCmpChannelB], "---");
    EXPECT_EQ(onlyA[kCmpLevelA], "59.3");
    EXPECT_EQ(onlyA[kCmpLevelB], "---");
    EXPECT_EQ(onlyA[kCmpLevelDelta], "---");

    const auto moved = RowAt(c, "474.00"); // channel 21 in A, 40 in B: matched all the same
    EXPECT_EQ(moved[kCmpChannelA], "21");
    EXPECT_EQ(moved[kCmpChannelB], "40");
    EXPECT_EQ(moved[kCmpMerDelta], "+2.1");
    EXPECT_EQ(moved[kCmpPreBerDelta], "+1");   // 1.0E-7 to 1.0E-8
    EXPECT_EQ(moved[kCmpPostBerDelta], "---"); // unlocked in A
    EXPECT_EQ(moved[kCmpHumDelta], "---");     // no hum in either

    EXPECT_EQ(RowAt(c, "810.00")[kCmpPresence], "B only");
    EXPECT_EQ(c.Files().rows[0], (std::vector<std::string>{"File Name", "OLD", "NEW", ""}));
    EXPECT_EQ(c.Files().rows[2][3], "---"); // no tilt section: no tilt delta
    EXPECT_TRUE(c.ScanLevels().empty());    // nor a scan section
}

TEST(MeasurementCompare, ScanLevelsCoverTheFrequenciesOfBothScans) {
    PaneTestElement a(1), b(1);
    for (PaneTestElement* f : {&a, &b}) {
        f->Put8(29, kFlagScan);
        f->ScanWindow(0, 2);
    }
    a.Entry(0, 4825, 2, 0, 0x80);
    a.Entry(1, 30600, 23, 1, 0x80);
    a.Scan(0, 651, 556);
    a.Scan(1, 593, 0);
    b.Entry(0, 30600, 23, 1, 0x80);
    b.Entry(1, 47400, 40, 2, 0x80);
    b.Scan(0, 600, 0);
    b.Scan(1, 550, 0);
    const MeasurementCompare c(a.e, b.e);
    const auto& levels = c.ScanLevels();
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[0].a, 65.1);
    EXPECT_FALSE(levels[0].b);
    EXPECT_EQ(levels[1].frequency, 30600u);
    EXPECT_EQ(levels[1].b, 60.0);
    EXPECT_FALSE(levels[2].a);
    // The chart's series: a frequency one file did not scan is a gap, not a level of 0.
    const MeasurementCompare::Series series = c.ScanSeries();
    ASSERT_EQ(series.a.size(), 3u);
    ASSERT_EQ(series.b.size(), 3u);
    EXPECT_TRUE(std::isnan(series.b[0]) && std::isnan(series.a[2]));
    EXPECT_EQ(series.a[1], 59.3);
    EXPECT_EQ(series.b[2], 55.0);
}

TEST(MeasurementCompare, SectionsNotRecordedAndUnknownKindsGiveNoChannels) {
    PaneTestElement a(2), odd(7);
    a.Entry(0, 4825, 2, 0, 0x80);
    a.Level(0, 0x55, 651, 556); // a record, but the level flag is not set
    EXPECT_TRUE(MeasurementCompare(a.e, odd.e).Channels().rows.empty());
    a.Put8(29, kFlagLevel | kFlagTilt);
    a.TiltCount(3); // tilt: the last level minus the second
    a.TiltLevel(1, 640);
    a.TiltLevel(2, 680);
    const MeasurementCompare c(a.e, a.e);
    ASSERT_EQ(c.Channels().rows.size(), 1u);
    EXPECT_EQ(c.Channels().rows[0][kCmpLevelDelta], "+0.0");
    EXPECT_EQ(c.Files().rows[2], (std::vector<std::string>{"Tilt", "4.0", "4.0", "+0.0"}));
}

} // namespace
} // namespace qm
