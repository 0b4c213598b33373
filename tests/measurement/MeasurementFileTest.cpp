#include <gtest/gtest.h>

#include <cstring>

#include "measurement/MeasurementFile.h"
#include "measurement/SampleGenerator.h"

namespace qm {
namespace {

// Writes a channel plan entry's analysed fields at the kind's positions.
void PutEntry(_tagFileDataExt& e, int i, std::uint32_t freq, std::uint8_t type, std::uint8_t ch,
              std::uint8_t flags) {
    std::uint8_t* p = e.file.data() + 32 + i * EntrySize(e.kind);
    std::memcpy(p, &freq, 4);
    if (e.kind == 0) {
        p[10] = type, p[11] = ch, p[12] = flags;
    } else {
        p[10] = ch, p[11] = flags, p[12] = type;
    }
}

void Put16(_tagFileDataExt& e, std::size_t fileOffset, std::uint16_t v) {
    e.file[fileOffset] = static_cast<std::uint8_t>(v);
    e.file[fileOffset + 1] = static_cast<std::uint8_t>(v >> 8);
}

_tagFileDataExt Element(int kind) {
    _tagFileDataExt e;
    e.kind = static_cast<std::uint8_t>(kind);
    return e;
}

TEST(Layout, SizesAndOffsetsOfBothFileSizes) {
    EXPECT_EQ(EntrySize(0), 20);
    EXPECT_EQ(EntrySize(1), 28);
    EXPECT_EQ(SectionBase(0), 3432);
    EXPECT_EQ(SectionBase(2), 4792);
    EXPECT_EQ(FileSize(0), 9238u);
    EXPECT_EQ(FileSize(1), 10598u);
    EXPECT_EQ(FileSize(3), 0u);
    EXPECT_EQ(sizeof(_tagFileDataExt), 10599u);

    for (auto [kind, tiltCount, tilt0, spec0] :
         {std::tuple{0, 3520, 5372, 6036}, std::tuple{2, 4880, 6732, 7396}}) {
        _tagFileDataExt e = Element(kind);
        e.file[tiltCount] = 5;
        Put16(e, tilt0, 350);
        Put16(e, tilt0 + 2, 362);
        Put16(e, spec0, 0xFFF6);
        MeasurementFile f(e);
        EXPECT_EQ(f.TiltCount(), 5) << kind;
        EXPECT_EQ(*f.TiltLevel(0), 350) << kind;
        EXPECT_EQ(*f.SpectrumPoint(0), 0xFFF6) << kind;
    }
}

TEST(Layout, SameMeasurementInBothSizesGivesSameValues) {
    _tagFileDataExt compact = MakeSampleMeasurement(0, 3, "A");
    _tagFileDataExt extended = Element(2);
    // Move the measurement area by 1360 bytes; header fields stay.
    std::memcpy(extended.file.data(), compact.file.data(), 32);
    std::memcpy(extended.file.data() + 4792, compact.file.data() + 3432, 5806);
    MeasurementFile a(compact), b(extended);
    EXPECT_EQ(a.TiltValue(), b.TiltValue());
    EXPECT_EQ(a.SpectrumCentre(), b.SpectrumCentre());
    EXPECT_EQ(a.SpectrumPointCount(), b.SpectrumPointCount());
    for (int i = 0; i < kMaxRecords; ++i) {
        EXPECT_EQ(a.Level(i)->level, b.Level(i)->level);
        EXPECT_EQ(a.Hum(i)->lpf, b.Hum(i)->lpf);
        EXPECT_EQ(a.Limit(i)->video, b.Limit(i)->video);
    }
}

TEST(Header, NameDateAndFlags) {
    _tagFileDataExt e = Element(1);
    std::memcpy(e.file.data(), "HEAD1", 5);
    Put16(e, 10, 2011);
    Put16(e, 12, 8);
    Put16(e, 14, 15);
    std::memcpy(e.file.data() + 16, "12:00:00", 8);
    e.file[29] = 0x84;
    MeasurementFile f(e);
    EXPECT_EQ(f.FileName(), "HEAD1");
    EXPECT_EQ(f.DateTimeText(), "2011-8-15 12:00:00");
    EXPECT_EQ(f.SectionFlags(), 0x84);

    // Name and time without a terminating NUL stop at their field's end.
    std::memset(e.file.data(), 'N', 10);
    std::memset(e.file.data() + 16, '7', 11);
    EXPECT_EQ(f.FileName(), "NNNNNNNNNN");
    EXPECT_EQ(f.DateTimeText(), "2011-8-15 77777777777");
}

TEST(DerivedLists, EnabledAndTiltListsFollowFlagsInPlanOrder) {
    for (int kind : {0, 1}) {
        _tagFileDataExt e = Element(kind);
        e.file[27] = 5;
        PutEntry(e, 0, 4825, 0, 2, 0x00);
        PutEntry(e, 1, 5525, 0, 3, 0x80);
        PutEntry(e, 2, 6225, 0, 4, 0xC0);
        PutEntry(e, 3, 17525, 0, 5, 0x40); // tilt without enable
        PutEntry(e, 4, 47400, 1, 21, 0xC0);
        PutEntry(e, 5, 48200, 1, 22, 0xC0); // beyond the channel count
        MeasurementFile f(e);
        EXPECT_EQ(f.EnabledList(), (std::vector<int>{1, 2, 4})) << kind;
        EXPECT_EQ(f.TiltList(), (std::vector<int>{2, 3, 4})) << kind;
        EXPECT_EQ(f.Entry(4)->frequency, 47400u);
        EXPECT_EQ(f.Entry(4)->channelNumber, 21);
        EXPECT_EQ(f.Entry(4)->type, 1);
        EXPECT_FALSE(f.Entry(5));
    }
}

TEST(Records, LimitRecordsArePackedByEnabledOrdinal) {
    _tagFileDataExt e = Element(0);
    e.file[27] = 2;
    PutEntry(e, 0, 4825, 0, 2, 0x00);
    PutEntry(e, 1, 5525, 0, 3, 0x80);
    Put16(e, 3432 + 5164, 702);
    MeasurementFile f(e);
    ASSERT_EQ(f.EnabledList(), std::vector<int>{1});
    EXPECT_EQ(f.Limit(0)->video, 702); // the second entry's result is record 0
}

TEST(Records, TiltValueUsesSecondLevelNotFirst) {
    _tagFileDataExt e = Element(0);
    e.file[3520] = 5;
    const std::int16_t levels[] = {350, 362, 371, 380, 392};
    for (int i = 0; i < 5; ++i)
        Put16(e, 5372 + 2 * i, static_cast<std::uint16_t>(levels[i]));
    EXPECT_EQ(MeasurementFile(e).TiltValue(), 30);
    e.file[3520] = 1; // level 0 minus the second slot
    EXPECT_EQ(MeasurementFile(e).TiltValue(), 350 - 362);
    e.file[3520] = 0;
    EXPECT_FALSE(MeasurementFile(e).TiltValue());
}

TEST(Ber, DecodingAndSpecialValues) {
    EXPECT_EQ(DecodeBer(0x1F05).Text(), "3.1E-5");
    EXPECT_DOUBLE_EQ(DecodeBer(0x1F05).Value(), 3.1e-5);
    EXPECT_EQ(DecodeBer(0xFFFF).Text(), "Unlock");
    EXPECT_EQ(DecodeBer(0x00FF).Text(), "<1.0E-3");
    EXPECT_EQ(DecodeBer(0).kind, Ber::Kind::BelowLimit);
    EXPECT_EQ(DecodeBer(0x0A03).Text(), "1.0E-3");
    EXPECT_EQ(DecodeBer(0xFF00).Text(), "25.5E-0");
}

TEST(Spectrum, SpanTableAndParameters) {
    EXPECT_EQ(SpanMHz(0, 0), 2.5);
    EXPECT_EQ(SpanMHz(2, 0), 12.5);
    EXPECT_EQ(SpanMHz(5, 0), 1047.0);
    EXPECT_EQ(SpanMHz(6, 0), 0.0);
    EXPECT_EQ(SpanMHz(2, 1), 40.0);
    EXPECT_EQ(SpanMHz(200, 7), 40.0);

    _tagFileDataExt e = Element(1);
    const std::size_t s = 4792;
    e.file[s + 120] = 0x01, e.file[s + 121] = 0x3B;                         // 315, big-endian
    e.file[s + 127] = 0x00, e.file[s + 128] = 0xB9, e.file[s + 129] = 0x28; // 47400
    e.file[s + 130] = 2;
    MeasurementFile f(e);
    EXPECT_EQ(f.SpectrumPointCount(), 315);
    EXPECT_EQ(f.SpectrumCentre(), 47400u);
    EXPECT_EQ(f.SpanCode(), 2);
}

// Counts in a hostile file must never move a read outside the element.
TEST(Bounds, HostileCountsStayInsideTheElement) {
    for (int kind : {0, 1, 2}) {
        _tagFileDataExt e = Element(kind);
        std::memset(e.file.data(), 0xFF, e.file.size());
        MeasurementFile f(e);
        EXPECT_EQ(f.ChannelCount(), 255);
        EXPECT_EQ(f.ValidEntryCount(), 170);
        EXPECT_EQ(f.EnabledList().size(), 170u);
        EXPECT_EQ(f.SpectrumPointCount(), 65535);
        EXPECT_EQ(f.TiltCount(), 255);
        EXPECT_FALSE(f.Entry(170));
        EXPECT_FALSE(f.Level(160));
        EXPECT_FALSE(f.Scan(-1));
        EXPECT_FALSE(f.Hum(255));
        EXPECT_FALSE(f.Limit(160));
        EXPECT_FALSE(f.TiltLevel(12));
        EXPECT_FALSE(f.TiltValue()) << "a tilt count above 12 has no value";
        EXPECT_FALSE(f.SpectrumPoint(320));
        EXPECT_FALSE(f.MaxPoint(65534));
        EXPECT_TRUE(f.MaxPoint(319));
        EXPECT_TRUE(f.Level(159));
        EXPECT_EQ(f.U8(FileSize(kind)), 0) << "one past the file reads nothing";
        EXPECT_EQ(f.U16(FileSize(kind) - 1), 0);
    }
}

TEST(Bounds, UnknownKindHasHeaderOnly) {
    _tagFileDataExt e = Element(7);
    std::memcpy(e.file.data(), "ODD", 3);
    e.file[27] = 10;
    e.file[29] = 0x80;
    MeasurementFile f(e);
    EXPECT_EQ(f.FileName(), "ODD");
    EXPECT_EQ(f.SectionFlags(), 0x80);
    EXPECT_EQ(f.ValidEntryCount(), 0);
    EXPECT_TRUE(f.EnabledList().empty());
    EXPECT_FALSE(f.Level(0));
    EXPECT_EQ(f.TiltCount(), 0);
}

TEST(Samples, GeneratedFilesArePlausible) {
    for (int kind : {0, 1, 2}) {
        _tagFileDataExt e = MakeSampleMeasurement(kind, 0, "S");
        MeasurementFile f(e);
        EXPECT_EQ(f.SectionFlags(), 0xFC);
        EXPECT_EQ(f.TiltList().size(), 12u);
        EXPECT_EQ(f.TiltCount(), 12);
        ASSERT_TRUE(f.TiltValue());
        EXPECT_GT(*f.TiltValue(), 0) << "levels rise with frequency";
        EXPECT_EQ(f.SpectrumPointCount(), 315);
        EXPECT_LE(f.ScanStart() + f.ScanCount(), static_cast<int>(f.EnabledList().size()));
        bool seen[4] = {};
        for (int i = 0; i < f.ValidEntryCount(); ++i)
            seen[f.Entry(i)->type & 3] = true;
        EXPECT_TRUE(seen[0] && seen[1]);
        EXPECT_EQ(seen[2], kind >= 1);
        EXPECT_EQ(seen[3], kind == 2);
        // Only the file's own bytes are used.
        for (std::size_t i = FileSize(kind); i < e.file.size(); ++i)
            ASSERT_EQ(e.file[i], 0) << i;
    }
    EXPECT_EQ(SamplePlanEntries(0).front().size(), 20u);
    EXPECT_EQ(SamplePlanEntries(2, 1).front().size(), 28u);
    EXPECT_GE(SamplePlanEntries(1, 9).size(), 5u);
}

} // namespace
} // namespace qm
