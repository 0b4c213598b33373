// What the archive keeps of a measurement file, without a database.
#include <gtest/gtest.h>

#include "archive/ArchiveRecord.h"
#include "archive/ArchiveTrend.h"
#include "archive/Sha256.h"
#include "limits/LimitProfile.h"
#include "measurement/SampleGenerator.h"
#include "panes/AnalysisPane.h"
#include "res/StringTable.h"

namespace qm {
namespace {

TEST(Sha256, KnownDigests) {
    struct Case {
        std::string text, digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // 56 bytes: the length no longer fits the first block.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Sha256Hex(reinterpret_cast<const std::uint8_t*>(c.text.data()), c.text.size()),
                  c.digest)
            << c.text;
}

TEST(ArchiveRecord, MeasuredDateReadsTheHeadersNumbersInAnyOrderTheMeterWrites) {
    struct Case {
        int a, b, c;
        std::string time, expected;
    } cases[] = {
        {2026, 3, 15, "10:26:58", "2026-03-15 10:26:58"}, // Y/M/D
        {15, 3, 2026, "10:26", "2026-03-15 10:26:00"},    // D/M/Y
        {3, 15, 2026, "10:26:58", "2026-03-15 10:26:58"}, // M/D/Y: the day is above 12
        {4, 3, 2026, "garbage", "2026-03-04 00:00:00"},   // both fit: D/M/Y; a bad time is midnight
        {2025, 2, 29, "08:00:00", ""},                    // no such day
        {2024, 2, 29, "24:00:00", "2024-02-29 00:00:00"},
        {0, 0, 0, "", ""},
        {12, 12, 12, "08:00:00", ""}, // no year
    };
    for (const Case& c : cases)
        EXPECT_EQ(MeasuredAtText(c.a, c.b, c.c, c.time), c.expected) << c.a << ' ' << c.b;
}

TEST(ArchiveRecord, ChannelValuesAreThePanesTextsWithDashesAsNone) {
    for (int kind = 0; kind <= 2; ++kind) {
        const _tagFileDataExt e = MakeSampleMeasurement(kind, 1, "SITE");
        const ArchiveItem item = MakeArchiveItem(e, "T", "S", "2026-01-01 00:00:00");
        EXPECT_EQ(item.bytes.size(), FileSize(kind));
        EXPECT_EQ(item.entry.site, "SITE");
        EXPECT_EQ(item.entry.measuredAt, "2026-02-08 09:13:29");
        const auto pane = MakeAnalysisPane(PaneSection::Level, kLanguageEnglish, "dBuV");
        pane->ShowFile(e);
        const auto& rows = pane->Table("Table")->rows;
        std::size_t levels = 0, scans = 0;
        for (const ArchivedChannel& c : item.channels) {
            scans += c.scanLevel.has_value();
            if (!c.level)
                continue;
            const auto& row = rows[levels++];
            char mhz[16];
            std::snprintf(mhz, sizeof mhz, "%.2f", c.frequency / 100.0);
            EXPECT_EQ(row[1], mhz);
            EXPECT_EQ(row[3], *c.level);
            EXPECT_EQ(row[5], c.mer.value_or("---"));
            EXPECT_EQ(row[7], c.postBer.value_or("---"));
        }
        EXPECT_EQ(levels, rows.size()) << kind;
        EXPECT_GT(scans, 0u);
    }
}

TEST(ArchiveRecord, TheSameBytesFromAnotherKindOfMeterAreAnotherMeasurement) {
    _tagFileDataExt a = MakeSampleMeasurement(1, 0, "X");
    _tagFileDataExt b = a;
    b.kind = 2;
    EXPECT_NE(MakeArchiveItem(a, "", "").entry.hash, MakeArchiveItem(b, "", "").entry.hash);
    // Bytes past a kind 0 file are no part of it.
    _tagFileDataExt c = MakeSampleMeasurement(0, 0, "X");
    _tagFileDataExt d = c;
    d.file[FileSize(0) + 5] = 1;
    EXPECT_EQ(MakeArchiveItem(c, "", "").entry.hash, MakeArchiveItem(d, "", "").entry.hash);
}

TEST(ArchiveRecord, StoredBytesOnlyMakeAnElementOfTheirKindsSize) {
    const std::vector<std::uint8_t> small(FileSize(0), 7), large(FileSize(1), 7);
    struct Case {
        int kind;
        const std::vector<std::uint8_t>* bytes;
        bool ok;
    } cases[] = {{0, &small, true},  {0, &large, false}, {2, &large, true},
                 {1, &small, false}, {9, &large, true},  {300, &large, false}};
    for (const Case& c : cases)
        EXPECT_EQ(ElementFromArchive(c.kind, *c.bytes).has_value(), c.ok) << c.kind;
}

TEST(ArchiveTrend, ShownTextsAsNumbers) {
    struct Case {
        std::string text;
        std::optional<double> value;
    } cases[] = {{"72.5", 72.5},        {"-3.0", -3.0},     {">30", 30.0},
                 {"<1.0E-9", 1e-9},     {"3.1E-5", 3.1e-5}, {"Unlock", std::nullopt},
                 {"---", std::nullopt}, {"", std::nullopt}, {"12.5MHz", std::nullopt},
                 {"nan", std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(TrendValue(c.text), c.value) << c.text;
}

TEST(ArchiveTrend, BoundsAreTheProfilesForTheChannelsClass) {
    const _tagFileDataExt e = MakeSampleMeasurement(1, 0, "S");
    const ArchiveItem item = MakeArchiveItem(e, "", "");
    const LimitProfile& profile = DefaultProfile();
    const ArchivedChannel* tv = nullptr;
    const ArchivedChannel* digital = nullptr;
    for (const ArchivedChannel& c : item.channels) {
        if (c.type == "TV" && !tv)
            tv = &c;
        if (c.type != "TV" && !digital)
            digital = &c;
    }
    ASSERT_TRUE(tv && digital);
    const TrendBounds level = TrendLimits(e, tv->frequency, TrendQuantity::Level, profile);
    EXPECT_EQ(level.low, profile.tv.levelMin);
    EXPECT_EQ(level.high, profile.tv.levelMax);
    EXPECT_FALSE(TrendLimits(e, tv->frequency, TrendQuantity::Mer, profile).low);
    const TrendBounds mer = TrendLimits(e, digital->frequency, TrendQuantity::Mer, profile);
    EXPECT_TRUE(mer.low && !mer.high);
    EXPECT_FALSE(TrendLimits(e, 1, TrendQuantity::Level, profile).low); // no such channel
}

} // namespace
} // namespace qm
