#include <gtest/gtest.h>

#include "ChannelTestPlans.h"
#include "channels/CellEditRules.h"
#include "channels/ChannelRowTexts.h"
#include "res/StringTable.h"

namespace qm {
namespace {

using test::ChannelSpec;
using test::MakeChannel;

// A plan, its grid and the rules, as the channel editor holds them.
class CellEdit : public ::testing::Test {
protected:
    void Use(CChannelPlanList plan) {
        m_plan = std::move(plan);
        m_grid.Fill(m_plan);
    }
    void UseOne(int kind, const ChannelSpec& spec, int others = 3) {
        CChannelPlanList plan = test::MakeTvPlan(kind, others);
        plan.Append(MakeChannel(kind, spec));
        Use(std::move(plan));
        m_row = static_cast<std::size_t>(others);
    }
    CellEditOutcome Edit(int column, const std::string& text) { return Edit(m_row, column, text); }
    CellEditOutcome Edit(std::size_t row, int column, const std::string& text) {
        CCellEditRules rules(m_plan, m_grid);
        return rules.EditFinished(row, column, text);
    }
    const CommonChannel& Rec() const { return m_plan.At(m_row); }
    const std::string& Cell(int column) const { return m_grid.Cell(m_row, column); }
    int Kind() const { return m_plan.Kind(); }

    static bool Says(const CellEditOutcome& o, int id, MessageKind kind) {
        return o.message && o.message->id == id && o.message->kind == kind;
    }

    CChannelPlanList m_plan;
    CChannelGridModel m_grid;
    std::size_t m_row = 0;
};

TEST_F(CellEdit, EiaRangeDuplicatesAndTruncation) {
    Use(test::MakeTvPlan(1, 4));
    m_row = 2;
    auto o = Edit(kColEia, "256");
    EXPECT_TRUE(Says(o, txt::kEiaRange, MessageKind::Error));
    EXPECT_EQ(Cell(kColEia), "3");
    EXPECT_FALSE(o.keepsTypedText);
    EXPECT_TRUE(o.changedRecords.empty());
    EXPECT_FALSE(o.refill);

    o = Edit(kColEia, "255");
    EXPECT_FALSE(o.message);
    EXPECT_TRUE(o.keepsTypedText);
    EXPECT_EQ(Rec().Eia(1), 255);
    EXPECT_EQ(o.changedRecords, std::vector<std::size_t>{2});

    o = Edit(kColEia, "12.9");
    EXPECT_EQ(Rec().Eia(1), 12);
    EXPECT_EQ(Cell(kColEia), "12.9");

    for (const char* text : {"", "-1"}) {
        o = Edit(kColEia, text);
        EXPECT_TRUE(Says(o, txt::kEiaRange, MessageKind::Error)) << text;
        EXPECT_EQ(Cell(kColEia), "12") << text;
    }

    o = Edit(kColEia, "4"); // row 3 has it
    EXPECT_TRUE(Says(o, txt::kEiaInUse, MessageKind::Error));
    EXPECT_EQ(Rec().Eia(1), 12);
    EXPECT_EQ(Cell(kColEia), "12");

    o = Edit(kColEia, "12"); // its own number
    EXPECT_FALSE(o.message);
    EXPECT_TRUE(o.changedRecords.empty());

    o = Edit(kColEia, "."); // only an empty text is refused; no number reads as 0
    EXPECT_FALSE(o.message);
    EXPECT_EQ(Rec().Eia(1), 0);
}

TEST_F(CellEdit, NamesArePaddedUniqueAndShort) {
    Use(test::MakeTvPlan(0, 4));
    m_row = 1;
    EXPECT_FALSE(Edit(kColName, "ab").message);
    EXPECT_EQ(Rec().Name(0), " ab");
    EXPECT_EQ(Cell(kColName), "ab");

    auto o = Edit(kColName, "abcd");
    EXPECT_TRUE(Says(o, txt::kNameLength, MessageKind::Error));
    EXPECT_EQ(Cell(kColName), " ab");
    EXPECT_EQ(Rec().Name(0), " ab");
    EXPECT_TRUE(Says(Edit(kColName, "   "), txt::kNameLength, MessageKind::Error));

    EXPECT_FALSE(Edit(kColName, " x ").message);
    EXPECT_EQ(Rec().Name(0), "  x");

    o = Edit(kColName, "3"); // "  3" belongs to row 2
    EXPECT_TRUE(Says(o, txt::kNameExists, MessageKind::Plain));
    EXPECT_TRUE(o.refill);
    EXPECT_EQ(Rec().Name(0), "  x");
    EXPECT_EQ(Cell(kColName), "  x");

    o = Edit(kColName, "x"); // its own name
    EXPECT_FALSE(o.message);
    EXPECT_FALSE(o.refill);
    o = Edit(kColName, "X"); // names are case-sensitive
    EXPECT_FALSE(o.message);
    EXPECT_EQ(Rec().Name(0), "  X");
}

TEST_F(CellEdit, NameLengthCountsStoredBytes) {
    SetLanguageBase(kLanguageChinese);
    Use(test::MakeTvPlan(1, 4));
    m_row = 0;
    // Two GBK characters take four bytes and would overrun the field.
    EXPECT_TRUE(Says(Edit(kColName, "中文"), txt::kNameLength, MessageKind::Error));
    EXPECT_EQ(Rec().Name(1), "  1");
    EXPECT_FALSE(Edit(kColName, "中").message);
    EXPECT_EQ(Rec().Name(1), " \xD6\xD0");
    EXPECT_EQ(ChannelCellText(1, Rec(), 0, kColName), " 中");
    EXPECT_EQ(Rec().entry[23], 0);
    SetLanguageBase(kLanguageEnglish);
}

TEST_F(CellEdit, NamesOfExactlyThreeBytesFit) {
    Use(test::MakeTvPlan(0, 4));
    m_row = 2;
    auto o = Edit(kColName, "ABC");
    EXPECT_FALSE(o.message);
    EXPECT_TRUE(o.keepsTypedText);
    EXPECT_EQ(Rec().Name(0), "ABC");
    EXPECT_EQ(o.changedRecords, std::vector<std::size_t>{2});
    SetLanguageBase(kLanguageChinese);
    EXPECT_FALSE(Edit(kColName, " 中7 ").message); // two bytes and one
    EXPECT_EQ(Rec().Name(0), "\xD6\xD0"
                             "7");
    SetLanguageBase(kLanguageEnglish);
}

TEST_F(CellEdit, TypeChangesConvertTvAndDigitalFrequencies) {
    UseOne(0, {.type = kTypeTv, .freq = 47400, .bw = 800, .rate = 6952});
    auto o = Edit(kColType, "DVB-C");
    EXPECT_EQ(Rec().Frequency(), 47125u);
    EXPECT_EQ(Rec().AudioBw(), 650);
    EXPECT_EQ(Rec().Type(0), kTypeDvbC);
    EXPECT_EQ(Cell(kColFreq), "471.25");
    EXPECT_EQ(Cell(kColAudioBw), "6.50");
    EXPECT_EQ(Cell(kColModulation), "QPSK");
    EXPECT_EQ(Cell(kColSymbolRate), "6.952"); // kinds 0 and 1 keep the rate
    EXPECT_EQ(Cell(kColStandard), "J83.A");
    EXPECT_TRUE(o.keepsTypedText);
    std::vector<int> shown;
    for (const CellTextChange& c : o.cells) {
        EXPECT_EQ(c.row, m_row);
        shown.push_back(c.column);
    }
    EXPECT_EQ(shown, (std::vector<int>{kColFreq, kColAudioBw, kColModulation, kColSymbolRate,
                                       kColStandard}));

    Edit(kColType, "TV");
    EXPECT_EQ(Rec().Frequency(), 47400u);
    EXPECT_EQ(Rec().AudioBw(), 800);
    EXPECT_EQ(Cell(kColFreq), "474.00");
    for (int c = kColModulation; c <= kColStandard; ++c)
        EXPECT_EQ(Cell(c), "---") << c;

    // 6.50 on a TV row is not a TV sound offset that maps to a bandwidth.
    UseOne(1, {.type = kTypeTv, .freq = 47125, .bw = 650});
    o = Edit(kColType, "DVB-C");
    EXPECT_EQ(Rec().Frequency(), 47125u);
    EXPECT_EQ(Rec().AudioBw(), 650);
    EXPECT_EQ(Cell(kColFreq), "471.25");

    UseOne(2, {.type = kTypeTv, .freq = 17525, .bw = 600});
    Edit(kColType, "DVB-C");
    EXPECT_EQ(Rec().Frequency(), 17350u);
    EXPECT_EQ(Rec().AudioBw(), 450);
    EXPECT_EQ(Rec().SymbolRate(), 6875); // kind 2 takes the default
    EXPECT_EQ(Cell(kColModulation), "16QAM");
    Edit(kColType, "TV");
    EXPECT_EQ(Rec().Frequency(), 17525u);
    EXPECT_EQ(Rec().AudioBw(), 600);
}

TEST_F(CellEdit, TypeChangeNeverWrapsTheFrequency) {
    UseOne(1, {.type = kTypeTv, .freq = 100, .bw = 800});
    Edit(kColType, "DVB-T");
    EXPECT_EQ(Rec().Frequency(), 0u);
    EXPECT_EQ(Cell(kColFreq), "0.00");
    UseOne(1, {.type = kTypeDvbC, .freq = 0xFFFFFF00u, .bw = 650});
    Edit(kColType, "TV");
    EXPECT_EQ(Rec().Frequency(), 0xFFFFFFFFu);
}

TEST_F(CellEdit, TerrestrialTypesResetTheirParameters) {
    UseOne(1, {.type = kTypeDvbC, .freq = 47400, .bw = 800, .modulation = 5, .standard = 1});
    Edit(kColType, "DVB-T");
    EXPECT_EQ(Rec().Frequency(), 47400u); // digital to digital: no conversion
    const std::vector<std::string> expected = {"---",  "---", "---", "QPSK",
                                               "1/32", "2K",  "1/2", "NONE"};
    for (int c = kColModulation; c <= kColHierarchy; ++c)
        EXPECT_EQ(Cell(c), expected[static_cast<std::size_t>(c - kColModulation)]) << c;

    CommonChannel t2 = MakeChannel(2, {.type = kTypeDvbT, .bw = 800});
    t2.SetHierarchy(2);
    t2.SetConstellation(3);
    t2.SetCodeRate(4);
    CChannelPlanList plan = test::MakeTvPlan(2, 1);
    plan.Append(t2);
    Use(std::move(plan));
    m_row = 1;
    Edit(kColType, "DVB-T2");
    EXPECT_EQ(Rec().Type(2), kTypeDvbT2);
    EXPECT_EQ(Rec().Constellation(), 0);
    EXPECT_EQ(Rec().CodeRate(), 0);
    EXPECT_EQ(Rec().Hierarchy(), 2); // left as it was
    EXPECT_EQ(Cell(kColHierarchy), "---");
    EXPECT_EQ(Cell(kColCodeRate), "1/2");
}

TEST_F(CellEdit, ReconfirmingDvbCResetsModulationAndStandard) {
    UseOne(0, {.type = kTypeDvbC, .bw = 800, .rate = 5361, .modulation = 5, .standard = 1});
    Edit(kColType, "DVB-C");
    EXPECT_EQ(Rec().Modulation(), 0);
    EXPECT_EQ(Rec().Standard(0), 0);
    EXPECT_EQ(Rec().SymbolRate(), 5361);
}

TEST_F(CellEdit, TypesTheKindDoesNotOfferRefill) {
    UseOne(0, {.type = kTypeTv});
    const CommonChannel before = Rec();
    auto o = Edit(kColType, "DVB-T");
    EXPECT_TRUE(o.refill);
    EXPECT_EQ(Cell(kColType), "TV");
    EXPECT_EQ(Rec().Type(0), before.Type(0));
    UseOne(1, {.type = kTypeTv});
    EXPECT_TRUE(Edit(kColType, "DVB-T2").refill);
    EXPECT_EQ(Rec().Type(1), kTypeTv);
}

TEST_F(CellEdit, FrequencyClampsAndTruncates) {
    UseOne(0, {.type = kTypeTv});
    Edit(kColFreq, "4.99");
    EXPECT_EQ(Rec().Frequency(), 500u);
    EXPECT_EQ(Cell(kColFreq), "5.00");
    Edit(kColFreq, "1052.01");
    EXPECT_EQ(Rec().Frequency(), 105200u);
    auto o = Edit(kColFreq, "474.009");
    EXPECT_EQ(Rec().Frequency(), 47400u);
    EXPECT_EQ(Cell(kColFreq), "474.00");
    EXPECT_FALSE(o.keepsTypedText);
    Edit(kColFreq, "8.03"); // exact: a binary product would give 802
    EXPECT_EQ(Rec().Frequency(), 803u);
    Edit(kColFreq, "99999999999999999999");
    EXPECT_EQ(Rec().Frequency(), 105200u);

    UseOne(1, {.type = kTypeDvbC, .bw = 800});
    Edit(kColFreq, "1");
    EXPECT_EQ(Rec().Frequency(), 900u);
    Edit(kColFreq, "1050");
    EXPECT_EQ(Rec().Frequency(), 104800u);
    Edit(kColFreq, "1047.99");
    EXPECT_EQ(Rec().Frequency(), 104799u);

    // A row of a type the kind does not know keeps its frequency; the cell shows it again.
    UseOne(1, {.type = kTypeDvbT2, .freq = 60000});
    o = Edit(kColFreq, "700");
    EXPECT_EQ(Rec().Frequency(), 60000u);
    EXPECT_EQ(Cell(kColFreq), "600.00");
}

TEST_F(CellEdit, AudioBandwidthByKindAndType) {
    UseOne(0, {.type = kTypeTv});
    auto o = Edit(kColAudioBw, "12");
    EXPECT_EQ(Rec().AudioBw(), 999);
    EXPECT_TRUE(o.refill);
    EXPECT_EQ(Cell(kColAudioBw), "9.99");
    o = Edit(kColAudioBw, "6.5");
    EXPECT_EQ(Rec().AudioBw(), 650);
    EXPECT_TRUE(o.keepsTypedText);
    EXPECT_EQ(Cell(kColAudioBw), "6.5");
    o = Edit(kColAudioBw, "-5"); // stored as 0, never wrapped to 650.36
    EXPECT_EQ(Rec().AudioBw(), 0);
    EXPECT_TRUE(o.refill);

    UseOne(0, {.type = kTypeDvbC});
    EXPECT_TRUE(Edit(kColAudioBw, "9").refill);
    EXPECT_EQ(Rec().AudioBw(), 800);
    EXPECT_FALSE(Edit(kColAudioBw, "7").refill);
    EXPECT_EQ(Rec().AudioBw(), 700);

    UseOne(1, {.type = kTypeDvbT});
    o = Edit(kColAudioBw, "5.5");
    EXPECT_EQ(Rec().AudioBw(), 600);
    EXPECT_TRUE(o.refill);

    UseOne(1, {.type = kTypeDvbT2, .bw = 800});
    o = Edit(kColAudioBw, "7");
    EXPECT_EQ(Rec().AudioBw(), 800);
    EXPECT_EQ(Cell(kColAudioBw), "8.00");

    UseOne(2, {.type = kTypeDvbT2});
    o = Edit(kColAudioBw, "5.5");
    EXPECT_EQ(Rec().AudioBw(), 550);
    EXPECT_EQ(Cell(kColAudioBw), "5.50");
    EXPECT_FALSE(o.refill);
    Edit(kColAudioBw, "4");
    EXPECT_EQ(Rec().AudioBw(), 500);

    UseOne(2, {.type = kTypeTv});
    o = Edit(kColAudioBw, "10");
    EXPECT_EQ(Rec().AudioBw(), 999);
    EXPECT_FALSE(o.refill);
    UseOne(2, {.type = kTypeDvbT});
    Edit(kColAudioBw, "5.5");
    EXPECT_EQ(Rec().AudioBw(), 600);
    EXPECT_EQ(Cell(kColAudioBw), "6.00");
}

TEST_F(CellEdit, EnableAndTilt) {
    UseOne(0, {.flags = 0xC0});
    auto o = Edit(kColEnable, "N");
    EXPECT_EQ(Rec().Flags(0), 0);
    EXPECT_EQ(Cell(kColTilt), "N");
    EXPECT_TRUE(o.keepsTypedText);

    o = Edit(kColTilt, "Y");
    EXPECT_TRUE(Says(o, txt::kTiltNeedsEnable, MessageKind::Error));
    EXPECT_EQ(Cell(kColTilt), "N");
    EXPECT_FALSE(Edit(kColTilt, "N").message); // kinds 0 and 1 accept "N" on a disabled row

    Edit(kColEnable, "Y");
    EXPECT_EQ(Rec().Flags(0), 0x80);
    Edit(kColTilt, "Y");
    EXPECT_EQ(Rec().Flags(0), 0xC0);
    Edit(kColEnable, "Y");
    EXPECT_EQ(Rec().Flags(0), 0xC0);
    Edit(kColTilt, "N");
    EXPECT_EQ(Rec().Flags(0), 0x80);

    UseOne(2, {.flags = 0});
    EXPECT_TRUE(Says(Edit(kColTilt, "N"), txt::kTiltNeedsEnable, MessageKind::Error));

    // Tilt without enable becomes an enabled tilt channel, and the Tilt cell says so.
    UseOne(1, {.flags = 0x40});
    Edit(kColEnable, "Y");
    EXPECT_EQ(Rec().Flags(1), 0xC0);
    EXPECT_EQ(Cell(kColTilt), "Y");
}

TEST_F(CellEdit, TwelveTiltChannelsAtMost) {
    for (int kind : {0, 1, 2}) {
        CChannelPlanList plan = test::MakeTvPlan(kind, 14);
        for (std::size_t i = 0; i < 12; ++i)
            plan.At(i).SetFlags(kind, 0xC0);
        Use(std::move(plan));
        m_row = 12;
        auto o = Edit(kColTilt, "Y");
        EXPECT_TRUE(Says(o, txt::kTiltMax, MessageKind::Plain)) << kind;
        EXPECT_TRUE(o.refill);
        EXPECT_EQ(Cell(kColTilt), "N");
        EXPECT_EQ(Rec().Flags(kind), 0x80);
        m_row = 0;
        EXPECT_FALSE(Edit(kColTilt, "N").message);
        m_row = 12;
        EXPECT_FALSE(Edit(kColTilt, "Y").message);
        EXPECT_EQ(Rec().Flags(kind), 0xC0);
    }
}

TEST_F(CellEdit, ModulationAndStandardSetDefaultRates) {
    UseOne(0, {.type = kTypeDvbC, .rate = 6952, .modulation = 5, .standard = 0});
    auto o = Edit(kColStandard, "J83.B");
    EXPECT_EQ(Rec().Standard(0), 1);
    EXPECT_EQ(Rec().SymbolRate(), 5361);
    EXPECT_EQ(Cell(kColSymbolRate), "5.361");
    o = Edit(kColModulation, "128QAM");
    EXPECT_EQ(Rec().Modulation(), 4);
    EXPECT_EQ(Rec().SymbolRate(), 5057);
    EXPECT_EQ(Cell(kColSymbolRate), "5.057");
    Edit(kColStandard, "J83.C");
    EXPECT_EQ(Rec().SymbolRate(), 5217);
    Edit(kColModulation, "256QAM");
    EXPECT_EQ(Rec().SymbolRate(), 5217);
    Edit(kColStandard, "J83.A");
    EXPECT_EQ(Rec().SymbolRate(), 6952);

    UseOne(2, {.type = kTypeDvbC, .standard = 0});
    Edit(kColModulation, "256QAM");
    EXPECT_EQ(Rec().Modulation(), 4);
    EXPECT_EQ(Rec().SymbolRate(), 6952);

    // Other rows keep their bytes; the cell shows what it showed.
    UseOne(1, {.type = kTypeTv, .rate = 1234, .modulation = 3});
    o = Edit(kColModulation, "---"); // the only choice such a row offers
    EXPECT_TRUE(o.keepsTypedText);
    EXPECT_TRUE(o.cells.empty());
    EXPECT_TRUE(o.changedRecords.empty());
    o = Edit(kColModulation, "256QAM");
    EXPECT_EQ(Rec().Modulation(), 3);
    EXPECT_EQ(Cell(kColModulation), "---");
    EXPECT_FALSE(o.keepsTypedText);
    // So does the standard: a rate shown in cell 9 of a TV row would turn back into "---" at
    // the next refill, apart from what the plan holds.
    for (int kind : {0, 1}) {
        UseOne(kind, {.type = kTypeTv, .rate = 1234, .standard = 2});
        o = Edit(kColStandard, "J83.B");
        EXPECT_EQ(Rec().Standard(kind), 2);
        EXPECT_EQ(Rec().SymbolRate(), 1234);
        EXPECT_EQ(Cell(kColStandard), "---");
        EXPECT_EQ(Cell(kColSymbolRate), "---");
        EXPECT_TRUE(o.changedRecords.empty());
    }
}

TEST_F(CellEdit, SymbolRateBounds) {
    UseOne(1, {.type = kTypeDvbC, .rate = 6875});
    auto o = Edit(kColSymbolRate, "7.0005");
    EXPECT_TRUE(Says(o, txt::kRateRange, MessageKind::Error));
    EXPECT_TRUE(o.refill);
    EXPECT_EQ(Rec().SymbolRate(), 6875);
    EXPECT_EQ(Cell(kColSymbolRate), "6.875");
    o = Edit(kColSymbolRate, "2");
    EXPECT_FALSE(o.message);
    EXPECT_EQ(Rec().SymbolRate(), 2000);
    EXPECT_EQ(Cell(kColSymbolRate), "2");
    Edit(kColSymbolRate, "7.000");
    EXPECT_EQ(Rec().SymbolRate(), 7000);
    Edit(kColSymbolRate, "2.002");
    EXPECT_EQ(Rec().SymbolRate(), 2002);
    EXPECT_TRUE(Says(Edit(kColSymbolRate, "1.9999"), txt::kRateRange, MessageKind::Error));
    EXPECT_TRUE(Says(Edit(kColSymbolRate, ""), txt::kRateRange, MessageKind::Error));

    UseOne(1, {.type = kTypeTv});
    o = Edit(kColSymbolRate, "5");
    EXPECT_FALSE(o.message);
    EXPECT_EQ(Cell(kColSymbolRate), "---");
}

TEST_F(CellEdit, TerrestrialColumnsAndCodeRateTables) {
    UseOne(1, {.type = kTypeDvbT});
    Edit(kColConstellation, "16QAM");
    Edit(kColGuard, "1/4");
    Edit(kColFft, "8K");
    Edit(kColCodeRate, "7/8");
    Edit(kColHierarchy, "3");
    EXPECT_EQ(Rec().Constellation(), 1);
    EXPECT_EQ(Rec().Guard(), 3);
    EXPECT_EQ(Rec().Fft(), 1);
    EXPECT_EQ(Rec().CodeRate(), 4);
    EXPECT_EQ(Rec().Hierarchy(), 3);
    auto o = Edit(kColHierarchy, "NONE");
    EXPECT_EQ(Rec().Hierarchy(), 0);
    EXPECT_TRUE(o.keepsTypedText);
    o = Edit(kColGuard, "nonsense");
    EXPECT_EQ(Rec().Guard(), 3);
    EXPECT_EQ(Cell(kColGuard), "1/4");

    UseOne(2, {.type = kTypeDvbT2});
    Edit(kColCodeRate, "3/5");
    EXPECT_EQ(Rec().CodeRate(), 1);
    Edit(kColCodeRate, "2/3");
    EXPECT_EQ(Rec().CodeRate(), 2);
    UseOne(2, {.type = kTypeDvbT});
    Edit(kColCodeRate, "2/3");
    EXPECT_EQ(Rec().CodeRate(), 1);
    UseOne(2, {.type = kTypeDvbC});
    EXPECT_TRUE(Edit(kColCodeRate, "1/2").refill);

    // A DVB-T2 row in a kind 1 plan reads its code rate in the DVB-T2 table.
    UseOne(1, {.type = kTypeDvbT2});
    Edit(kColCodeRate, "2/3");
    EXPECT_EQ(Rec().CodeRate(), 2);
    EXPECT_EQ(Cell(kColCodeRate), "2/3");
    // Kinds 1 and 2 store a listed text on any row; only kind 2's code rate refills.
    Edit(kColHierarchy, "2");
    EXPECT_EQ(Rec().Hierarchy(), 2);
    UseOne(1, {.type = kTypeDvbC});
    o = Edit(kColCodeRate, "7/8");
    EXPECT_EQ(Rec().CodeRate(), 4);
    EXPECT_TRUE(o.keepsTypedText);
    Edit(kColFft, "8K");
    EXPECT_EQ(Rec().Fft(), 1);
}

TEST_F(CellEdit, EditsOutsideTheGridDoNothing) {
    Use(test::MakeTvPlan(0, 4));
    EXPECT_FALSE(Edit(4, kColEia, "9").applied);
    EXPECT_FALSE(Edit(0, kColConstellation, "QPSK").applied); // kind 0 has 11 columns
    EXPECT_FALSE(Edit(0, kColId, "9").applied);
    EXPECT_EQ(m_grid.Cell(0, kColId), "1");
    auto o = Edit(3, kColFreq, "100");
    EXPECT_TRUE(o.applied);
    EXPECT_EQ(m_grid.CurrentRow(), 3u);
    EXPECT_EQ(m_grid.CurrentColumn(), kColFreq);
}

TEST_F(CellEdit, ChoicesFollowTheCurrentRow) {
    CChannelPlanList plan = test::MakeTvPlan(2, 2);
    plan.Append(MakeChannel(2, {.type = kTypeDvbT2}));
    Use(std::move(plan));
    EXPECT_EQ(m_grid.CurrentRow(), 2u); // every filled row was focused in turn
    EXPECT_EQ(CurrentRowChoices(m_plan, m_grid, kColFft).size(), 6u);
    m_grid.SetCurrentRow(0);
    EXPECT_EQ(CurrentRowChoices(m_plan, m_grid, kColFft), std::vector<std::string>{"---"});
    m_grid.SetCurrentRow(7);
    EXPECT_TRUE(CurrentRowChoices(m_plan, m_grid, kColFft).empty());
}

TEST_F(CellEdit, MessagesHaveTheirTexts) {
    EXPECT_EQ(Tr(txt::kEiaRange, kLanguageEnglish), "'EIA CH' should be from 0 to 255 !");
    EXPECT_EQ(Tr(txt::kEiaInUse, kLanguageEnglish), "This EIA Channel already in use !");
    EXPECT_EQ(Tr(txt::kNameLength, kLanguageEnglish),
              "More than 1 and no more than 3 characters !");
    EXPECT_EQ(Tr(txt::kNameExists, kLanguageEnglish), "chars already existed.");
    EXPECT_EQ(Tr(txt::kTiltMax, kLanguageEnglish), "Reach the max number");
    EXPECT_EQ(Tr(txt::kTiltNeedsEnable, kLanguageEnglish),
              "You must set channel to 'Y' for Tilt to be 'Y'!");
    EXPECT_EQ(Tr(txt::kRateRange, kLanguageEnglish),
              "'RATE' should be from 2.000 MS/s to 7.000 MS/s !");
    for (int id : {txt::kEiaRange, txt::kTiltMax, txt::kRateRange})
        EXPECT_FALSE(Tr(id, kLanguageChinese).empty());
}

} // namespace
} // namespace qm
