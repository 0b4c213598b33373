#include <gtest/gtest.h>

#include "ChannelTestPlans.h"
#include "channels/ChannelColumnSet.h"
#include "channels/ChannelRowTexts.h"
#include "channels/ChannelValueTables.h"

namespace qm {
namespace {

using test::ChannelSpec;
using test::MakeChannel;
using Texts = std::vector<std::string>;

TEST(ChannelDisplay, CompactTvRowHidesTheDigitalBytes) {
    ChannelSpec s;
    s.eia = 5;
    s.name = " E5";
    s.freq = 17525;
    s.bw = 550;
    s.modulation = 5;
    s.standard = 1;
    const CommonChannel r = MakeChannel(0, s);
    EXPECT_EQ(ChannelRowTexts(0, r, 6),
              (Texts{"7", "5", " E5", "TV", "175.25", "5.50", "Y", "N", "---", "---", "---"}));
    EXPECT_EQ(EntryFromRecord(0, RecordFromEntry(0, EntryFromRecord(0, r))), EntryFromRecord(0, r));
}

TEST(ChannelDisplay, DigitalRowsOfEachType) {
    ChannelSpec c;
    c.type = kTypeDvbC;
    c.freq = 47400;
    c.bw = 800;
    c.rate = 6952;
    c.modulation = 4;
    c.standard = 0;
    c.flags = 0xC0;
    // Modulation code 4 is 128QAM in the shared table, 256QAM in kind 2's own.
    EXPECT_EQ(ChannelRowTexts(1, MakeChannel(1, c), 0),
              (Texts{"1", "1", "  1", "DVB-C", "474.00", "8.00", "Y", "Y", "128QAM", "6.952",
                     "J83.A", "---", "---", "---", "---", "---"}));
    EXPECT_EQ(ChannelCellText(2, MakeChannel(2, c), 0, kColModulation), "256QAM");
    EXPECT_EQ(ChannelCellText(0, MakeChannel(0, c), 0, kColModulation), "128QAM");

    CommonChannel t = MakeChannel(2, {.type = kTypeDvbT, .bw = 800});
    t.SetConstellation(2);
    t.SetGuard(2);
    t.SetFft(1);
    t.SetCodeRate(1);
    t.SetHierarchy(3); // shown although the drop-down does not offer it
    EXPECT_EQ(ChannelRowTexts(2, t, 0),
              (Texts{"1", "1", "  1", "DVB-T", "471.25", "8.00", "Y", "N", "---", "---", "---",
                     "64QAM", "1/8", "8K", "2/3", "3"}));
    t.SetType(2, kTypeDvbT2);
    const Texts t2 = ChannelRowTexts(2, t, 0);
    EXPECT_EQ(t2[3], "DVB-T2");
    EXPECT_EQ(t2[14], "3/5"); // the DVB-T2 code-rate table
    EXPECT_EQ(t2[15], "---");
}

TEST(ChannelDisplay, OutOfTableCodesShowEmptyCells) {
    CommonChannel r = MakeChannel(1, {.type = kTypeDvbC, .modulation = 9, .standard = 3});
    EXPECT_EQ(ChannelCellText(1, r, 0, kColModulation), "");
    EXPECT_EQ(ChannelCellText(1, r, 0, kColStandard), "");
    EXPECT_EQ(
        ChannelCellText(2, MakeChannel(2, {.type = kTypeDvbC, .modulation = 5}), 0, kColModulation),
        "");
    r.SetType(1, 7);
    EXPECT_EQ(ChannelCellText(1, r, 0, kColType), "");
    EXPECT_EQ(ChannelCellText(1, r, 0, kColModulation), "---");
    // Kind 0 knows no DVB-T.
    EXPECT_EQ(ChannelCellText(0, MakeChannel(0, {.type = kTypeDvbT}), 0, kColType), "");
    CommonChannel t = MakeChannel(1, {.type = kTypeDvbT});
    t.SetGuard(7);
    t.SetFft(6);
    t.SetCodeRate(5);
    t.SetHierarchy(5);
    for (int c : {kColGuard, kColFft, kColCodeRate, kColHierarchy})
        EXPECT_EQ(ChannelCellText(1, t, 0, c), "") << c;
}

TEST(ChannelDisplay, FlagsAndTheUnsignedFrequencyMaximum) {
    CommonChannel r = MakeChannel(0, {.flags = 0x40}); // tilt without enable
    EXPECT_EQ(ChannelCellText(0, r, 0, kColEnable), "N");
    EXPECT_EQ(ChannelCellText(0, r, 0, kColTilt), "N");
    r.SetFlags(0, 0x81);
    EXPECT_EQ(ChannelCellText(0, r, 0, kColEnable), "N");
    r.SetFrequency(0xFFFFFFFFu);
    EXPECT_EQ(ChannelCellText(0, r, 0, kColFreq), "42949672.95");
    r.SetAudioBw(0xFFFF);
    EXPECT_EQ(ChannelCellText(0, r, 0, kColAudioBw), "655.35");
    EXPECT_EQ(FormatThousandths(5057), "5.057");
    EXPECT_EQ(FormatThousandths(65535), "65.535");
    EXPECT_EQ(FormatHundredths(5), "0.05");
}

TEST(ChannelDisplay, UnknownKindsHaveNoColumns) {
    EXPECT_EQ(ChannelColumnCount(3), 0);
    EXPECT_TRUE(ChannelRowTexts(-1, CommonChannel{}, 0).empty());
    EXPECT_TRUE(ChannelColumnSet(5, 800).empty());
}

TEST(ChannelChoices, ByKindAndRowType) {
    EXPECT_EQ(ColumnChoices(0, kColType, kTypeTv), (Texts{"TV", "DVB-C"}));
    EXPECT_EQ(ColumnChoices(1, kColType, kTypeTv), (Texts{"TV", "DVB-C", "DVB-T"}));
    EXPECT_EQ(ColumnChoices(2, kColType, kTypeTv), (Texts{"TV", "DVB-C", "DVB-T", "DVB-T2"}));
    EXPECT_EQ(ColumnChoices(0, kColTilt, kTypeTv), (Texts{"Y", "N"}));
    EXPECT_EQ(ColumnChoices(1, kColModulation, kTypeDvbC),
              (Texts{"QPSK", "16QAM", "32QAM", "64QAM", "128QAM", "256QAM", "COFDM"}));
    EXPECT_EQ(ColumnChoices(2, kColModulation, kTypeDvbC),
              (Texts{"16QAM", "32QAM", "64QAM", "128QAM", "256QAM"}));
    EXPECT_EQ(ColumnChoices(2, kColModulation, kTypeTv), (Texts{"---"}));
    EXPECT_EQ(ColumnChoices(0, kColStandard, kTypeDvbC), (Texts{"J83.A", "J83.B", "J83.C"}));
    EXPECT_EQ(ColumnChoices(1, kColConstellation, kTypeDvbT), (Texts{"QPSK", "16QAM", "64QAM"}));
    EXPECT_EQ(ColumnChoices(2, kColConstellation, kTypeDvbT2),
              (Texts{"QPSK", "16QAM", "64QAM", "256QAM"}));
    EXPECT_EQ(ColumnChoices(1, kColGuard, kTypeDvbT).size(), 4u);
    EXPECT_EQ(ColumnChoices(1, kColGuard, kTypeDvbT2).size(), 7u);
    EXPECT_EQ(ColumnChoices(2, kColFft, kTypeDvbT), (Texts{"2K", "8K"}));
    EXPECT_EQ(ColumnChoices(2, kColCodeRate, kTypeDvbT2),
              (Texts{"1/2", "3/5", "2/3", "3/4", "4/5", "5/6"}));
    EXPECT_EQ(ColumnChoices(1, kColHierarchy, kTypeDvbT), (Texts{"1", "2", "4", "NONE"}));
    EXPECT_EQ(ColumnChoices(1, kColHierarchy, kTypeDvbT2), (Texts{"---"}));
    EXPECT_EQ(ColumnChoices(2, kColCodeRate, kTypeDvbC), (Texts{"---"}));
    EXPECT_TRUE(ColumnChoices(0, kColConstellation, kTypeDvbT).empty()); // no such column
    EXPECT_TRUE(ColumnChoices(1, kColFreq, kTypeTv).empty());
    EXPECT_TRUE(ColumnChoices(1, kColId, kTypeTv).empty());
}

TEST(ChannelColumnSet, HeadingsWidthsAndEditors) {
    const auto k0 = ChannelColumnSet(0, 1000);
    ASSERT_EQ(k0.size(), 11u);
    int total = 0;
    for (const auto& c : k0)
        total += c.width;
    EXPECT_EQ(total, 1000 - 1000 % 11);
    EXPECT_EQ(k0[8].heading, "ModeType");
    EXPECT_EQ(k0[9].heading, "SR");
    EXPECT_EQ(k0[10].heading, "Standard");

    const auto k1 = ChannelColumnSet(1, 1000);
    const auto k2 = ChannelColumnSet(2, 1000);
    ASSERT_EQ(k1.size(), 16u);
    ASSERT_EQ(k2.size(), 16u);
    EXPECT_EQ(k1[10].heading, "DVB-C Standard");
    EXPECT_EQ(k1[11].heading, "DVB-T Mode");
    EXPECT_EQ(k2[11].heading, "DVB-T/T2 Mode");
    EXPECT_EQ(k2[15].heading, "DVB-T/T2 hierarchy");
    EXPECT_EQ(k1[9].width, 75);
    EXPECT_EQ(k1[3].width, 60);
    EXPECT_EQ(k1[0].editor, CellEditor::ReadOnly);
    EXPECT_EQ(k1[2].editor, CellEditor::Text);
    EXPECT_EQ(k1[3].editor, CellEditor::DropDown);
    EXPECT_EQ(k1[9].validChars, "0123456789.");
    EXPECT_NE(k1[2].validChars.find('_'), std::string::npos);
    EXPECT_EQ(k1[2].validChars.find('.'), std::string::npos);
    EXPECT_TRUE(k1[6].validChars.empty());
}

} // namespace
} // namespace qm
