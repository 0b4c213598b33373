#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "channels/CommonChannel.h"
#include "measurement/MeterKind.h"

namespace qm {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A compact entry: 471.25 MHz, 6.50, unused 0x1234, 6875 kS/s, DVB-C, EIA 21, enabled tilt,
// 256QAM, "E21", J83.B, and a non-zero reserved byte 19.
Bytes CompactEntry() {
    return {0x15, 0xB8, 0x00, 0x00, 0x8A, 0x02, 0x34, 0x12, 0xDB, 0x1A,
            0x01, 0x15, 0xC0, 0x05, 'E',  '2',  '1',  0x00, 0x01, 0x77};
}

// An extended entry: EIA, flags, type at 10, 11, 12 and bytes 24-27 the program does not read.
Bytes ExtendedEntry() {
    return {0x10, 0xB9, 0x00, 0x00, 0x20, 0x03, 0xAA, 0xBB, 0x00, 0x00, 0x2A, 0x80, 0x02, 0x04,
            0x02, 0x02, 0x03, 0x01, 0x04, 0x02, 'T',  '4',  '2',  0x00, 0xDE, 0xAD, 0xBE, 0xEF};
}

TEST(CommonChannel, RecordIs29BytesWithTheEntryFromOffset1) {
    EXPECT_EQ(sizeof(CommonChannel), 29u);
    const Bytes e = ExtendedEntry();
    const CommonChannel r = RecordFromEntry(1, e);
    Bytes raw(29);
    std::memcpy(raw.data(), &r, 29);
    EXPECT_EQ(raw[0], 0);
    EXPECT_EQ(Bytes(raw.begin() + 1, raw.end()), e);
}

TEST(CommonChannel, CompactEntryFieldsAndRoundTrip) {
    const Bytes e = CompactEntry();
    const CommonChannel r = RecordFromEntry(0, e);
    EXPECT_EQ(r.Frequency(), 47125u);
    EXPECT_EQ(r.AudioBw(), 650);
    EXPECT_EQ(r.SymbolRate(), 6875);
    EXPECT_EQ(r.Type(0), kTypeDvbC);
    EXPECT_EQ(r.Eia(0), 21);
    EXPECT_EQ(r.Flags(0), 0xC0);
    EXPECT_EQ(r.Modulation(), 5);
    EXPECT_EQ(r.Standard(0), 1);
    EXPECT_EQ(r.Name(0), "E21");
    // Byte 19 is not taken over, and offsets 21-28 stay zero.
    for (std::size_t i = 19; i < 28; ++i)
        EXPECT_EQ(r.entry[i], 0) << i;

    Bytes back = EntryFromRecord(0, r);
    ASSERT_EQ(back.size(), 20u);
    Bytes expected = e;
    expected[19] = 0;
    EXPECT_EQ(back, expected);
}

TEST(CommonChannel, ExtendedEntryFieldsAndUnchangedRoundTrip) {
    const Bytes e = ExtendedEntry();
    const CommonChannel r = RecordFromEntry(2, e);
    EXPECT_EQ(r.Frequency(), 47376u);
    EXPECT_EQ(r.AudioBw(), 800);
    EXPECT_EQ(r.Eia(2), 42);
    EXPECT_EQ(r.Flags(2), 0x80);
    EXPECT_EQ(r.Type(2), kTypeDvbT);
    EXPECT_EQ(r.Standard(2), 2);
    EXPECT_EQ(r.Constellation(), 2);
    EXPECT_EQ(r.Guard(), 3);
    EXPECT_EQ(r.Fft(), 1);
    EXPECT_EQ(r.CodeRate(), 4);
    EXPECT_EQ(r.Hierarchy(), 2);
    EXPECT_EQ(r.Name(2), "T42");
    EXPECT_EQ(EntryFromRecord(1, r), e);
    EXPECT_EQ(EntryFromRecord(2, r), e);
}

TEST(CommonChannel, TheLayoutsOrderTypeEiaAndFlagsDifferently) {
    CommonChannel r;
    r.SetType(0, 1);
    r.SetEia(0, 2);
    r.SetFlags(0, 3);
    EXPECT_EQ(r.entry[10], 1);
    EXPECT_EQ(r.entry[11], 2);
    EXPECT_EQ(r.entry[12], 3);
    CommonChannel x;
    x.SetType(1, 1);
    x.SetEia(1, 2);
    x.SetFlags(1, 3);
    x.SetStandard(1, 4);
    EXPECT_EQ(x.entry[10], 2);
    EXPECT_EQ(x.entry[11], 3);
    EXPECT_EQ(x.entry[12], 1);
    EXPECT_EQ(x.entry[14], 4);
}

TEST(CommonChannel, NamesWithoutNulNeverReachPastTheField) {
    Bytes e = CompactEntry();
    std::memcpy(&e[14], "ABCD", 4); // no NUL: bytes 18 and 19 must not be taken as name
    const CommonChannel r = RecordFromEntry(0, e);
    EXPECT_EQ(r.Name(0), "ABC");
    EXPECT_EQ(r.entry[17], 0);
    EXPECT_EQ(r.Standard(0), 1);
    const Bytes back = EntryFromRecord(0, r);
    EXPECT_EQ(back[14], 'A');
    EXPECT_EQ(back[17], 0);
    EXPECT_EQ(back[18], 1);

    Bytes x = ExtendedEntry();
    std::memcpy(&x[20], "WXYZ", 4);
    const CommonChannel rx = RecordFromEntry(1, x);
    EXPECT_EQ(rx.Name(1), "WXY");
    EXPECT_EQ(EntryFromRecord(1, rx), x); // carried unchanged to the meter and files
}

TEST(CommonChannel, ShortEntriesReadAsZeroPadded) {
    const Bytes e = {0x10, 0x27};
    const CommonChannel r = RecordFromEntry(1, e);
    EXPECT_EQ(r.Frequency(), 10000u);
    EXPECT_EQ(r.Name(1), "");
    std::uint8_t out[8] = {};
    WriteEntry(0, r, out); // a buffer smaller than the entry gets only what fits
    EXPECT_EQ(out[0], 0x10);
    EXPECT_EQ(ChannelEntrySize(0), 20u);
    EXPECT_EQ(ChannelEntrySize(2), 28u);
}

TEST(MeterKind, ModelTextsGiveTheirKinds) {
    EXPECT_EQ(MeterKindOfModel("7100Q"), 0);
    EXPECT_EQ(MeterKindOfModel("7100B"), 0);
    EXPECT_EQ(MeterKindOfModel("7100T"), 1);
    EXPECT_EQ(MeterKindOfModel("7100D"), 1);
    EXPECT_EQ(MeterKindOfModel("7100T2"), 2);
    EXPECT_EQ(MeterKindOfModel("  7100T2 \t"), 2);
    EXPECT_EQ(MeterKindOfModel("7100TX"), 1); // first five characters decide
    EXPECT_EQ(MeterKindOfModel("7100"), -1);
    EXPECT_EQ(MeterKindOfModel("Wrong"), -1);
    EXPECT_EQ(MeterKindOfModel(""), -1);
}

} // namespace
} // namespace qm
