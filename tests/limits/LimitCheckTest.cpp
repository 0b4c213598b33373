#include <gtest/gtest.h>

#include "app/ProjectFile.h"
#include "limits/LimitCheck.h"
#include "limits/LimitTexts.h"
#include "panes/AnalysisPane.h"
#include "panes/PaneTestElement.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::PaneTestElement;

constexpr int kEnabled = 0x80, kTilt = 0xC0;

// Entry i of a kind 2 element with a DVB-C modulation code (kind 2 table: 2 is 64QAM).
void Modulation(PaneTestElement& t, int i, int code) {
    t.Put8(32 + static_cast<std::size_t>(i * EntrySize(t.e.kind)) + 13, code);
}

int BerCode(int tenthsMantissa, int exponent) {
    return (tenthsMantissa << 8) | exponent;
}

Verdict VerdictOf(const SectionCheck& s, int row, Quantity q) {
    const ChannelCheck* c = s.AtRow(row);
    EXPECT_NE(c, nullptr) << row;
    if (!c)
        return Verdict::NotChecked;
    for (const ValueCheck& v : c->values)
        if (v.quantity == q)
            return v.verdict;
    ADD_FAILURE() << "row " << row << " has no such value";
    return Verdict::NotChecked;
}

TEST(LimitCheck, EveryChannelLimitPassesAtItsBoundaryAndFailsBeyond) {
    const LimitProfile& p = DefaultProfile();
    PaneTestElement t(2);
    t.Put8(29, kFlagLevel);
    // Analogue: levels 60.0 / 77.0 pass, 59.9 / 77.1 fail; V/A 10.0 and 20.0 pass, 9.9 fails.
    const int tv[][2] = {{600, 500}, {770, 570}, {599, 499}, {771, 671}, {700, 601}, {700, 499}};
    // Row 1 has V/A 20.0 (passes), row 5 20.1 (fails).
    for (int i = 0; i < 6; ++i) {
        t.Entry(i, 10000 + i * 800, 10 + i, 0, kEnabled);
        t.Level(i, kMeasuredMark, tv[i][0], tv[i][1]);
    }
    // DVB-C 64QAM: MER 27.0 passes, 26.9 fails; BER 2.0E-4 passes, 2.1E-4 fails.
    t.Entry(6, 30000, 30, 1, kEnabled);
    Modulation(t, 6, 2);
    t.Level(6, kMeasuredMark, 500, 270, BerCode(20, 4));
    t.Entry(7, 30800, 31, 1, kEnabled);
    Modulation(t, 7, 2);
    t.Level(7, kMeasuredMark, 500, 269, BerCode(21, 4));
    // DVB-T2: BER is judged on the second column.
    t.Entry(8, 50000, 50, 3, kEnabled);
    t.Level(8, kMeasuredMark, 390, 240, BerCode(99, 1), BerCode(20, 4));

    const SectionCheck s = CheckSection(MeasurementFile(t.e), p, PaneSection::Level);
    ASSERT_EQ(s.channels.size(), 9u);
    EXPECT_EQ(VerdictOf(s, 0, Quantity::Level), Verdict::Pass);
    EXPECT_EQ(VerdictOf(s, 1, Quantity::Level), Verdict::Pass);
    EXPECT_EQ(VerdictOf(s, 2, Quantity::Level), Verdict::Fail);
    EXPECT_EQ(VerdictOf(s, 3, Quantity::Level), Verdict::Fail);
    EXPECT_EQ(VerdictOf(s, 0, Quantity::VideoAudio), Verdict::Pass); // 10.0
    EXPECT_EQ(VerdictOf(s, 1, Quantity::VideoAudio), Verdict::Pass); // 20.0
    EXPECT_EQ(VerdictOf(s, 5, Quantity::VideoAudio), Verdict::Fail); // 20.1
    EXPECT_EQ(VerdictOf(s, 4, Quantity::VideoAudio), Verdict::Fail); // 9.9
    EXPECT_EQ(VerdictOf(s, 6, Quantity::Mer), Verdict::Pass);
    EXPECT_EQ(VerdictOf(s, 7, Quantity::Mer), Verdict::Fail);
    EXPECT_EQ(VerdictOf(s, 6, Quantity::Ber), Verdict::Pass);
    EXPECT_EQ(VerdictOf(s, 7, Quantity::Ber), Verdict::Fail);
    EXPECT_EQ(VerdictOf(s, 8, Quantity::Ber), Verdict::Pass);
    EXPECT_EQ(s.channels[6].typeText, "DVB-C 64QAM");
    // Margins: to the nearer limit, negative outside.
    EXPECT_NEAR(*s.channels[0].values[0].margin, 0.0, 1e-9);
    EXPECT_NEAR(*s.channels[2].values[0].margin, -0.1, 1e-9);
    // Neighbouring analogue rows 60 and 77 dBuV apart fail the adjacent-channel limit by far.
    EXPECT_EQ(VerdictOf(s, 1, Quantity::Adjacent), Verdict::Fail);
    EXPECT_NEAR(*s.worstMargin, 3.0 - 17.2, 1e-9);
    EXPECT_EQ(s.verdict, Verdict::Fail);
    // Failing cells are found by the pane's columns: level 3, MER 5, BER 6.
    EXPECT_EQ(s.channels[7].ColumnVerdict(5), Verdict::Fail);
    EXPECT_EQ(s.channels[7].ColumnVerdict(6), Verdict::Fail);
    EXPECT_EQ(s.channels[6].ColumnVerdict(3), Verdict::Pass);
}

TEST(LimitCheck, FileLimitsPassAtTheirBoundary) {
    const LimitProfile& p = DefaultProfile();
    PaneTestElement t(1);
    t.Put8(29, kFlagTilt | kFlagHum | kFlagScan);
    for (int i = 0; i < 4; ++i)
        t.Entry(i, 10000 + i * 800, 20 + i, 0, i < 3 ? kTilt : kEnabled);
    // Tilt 12.0 dB passes: the last pilot's level minus the second's.
    t.TiltCount(3);
    t.TiltLevel(0, 600);
    t.TiltLevel(1, 650);
    t.TiltLevel(2, 770);
    // Hum 3.0 % passes, 3.1 % fails; a negative reading is not measured.
    t.Hum(0, kMeasuredMark, 30, 300, -1);
    t.Hum(1, kMeasuredMark, 31, 10, 10);
    // Scan: neighbours 3.0 dB apart pass, 3.1 dB fail.
    t.ScanWindow(0, 4);
    t.Scan(0, 700, 550);
    t.Scan(1, 730, 580);
    t.Scan(2, 699, 549);
    t.Scan(3, 699, 549);
    const FileCheck f = CheckFile(MeasurementFile(t.e), p);
    const SectionCheck* tilt = f.Section(PaneSection::Tilt);
    ASSERT_NE(tilt, nullptr);
    ASSERT_EQ(tilt->fileValues.size(), 1u);
    EXPECT_EQ(tilt->fileValues[0].verdict, Verdict::Pass);
    EXPECT_NEAR(*tilt->fileValues[0].value, 12.0, 1e-9);
    const SectionCheck* hum = f.Section(PaneSection::Hum);
    ASSERT_NE(hum, nullptr);
    EXPECT_EQ(VerdictOf(*hum, 0, Quantity::Hum), Verdict::Pass);
    EXPECT_EQ(VerdictOf(*hum, 0, Quantity::Hum1), Verdict::Pass);
    EXPECT_EQ(VerdictOf(*hum, 0, Quantity::Hum2), Verdict::NotMeasured);
    EXPECT_EQ(VerdictOf(*hum, 1, Quantity::Hum), Verdict::Fail);
    const SectionCheck* scan = f.Section(PaneSection::Scan);
    ASSERT_NE(scan, nullptr);
    EXPECT_EQ(VerdictOf(*scan, 1, Quantity::Adjacent), Verdict::Pass);
    EXPECT_EQ(VerdictOf(*scan, 2, Quantity::Adjacent), Verdict::Fail);
    EXPECT_EQ(f.Section(PaneSection::Level), nullptr); // the file has no level section
    EXPECT_EQ(f.verdict, Verdict::Fail);
    EXPECT_EQ(f.channelCount, 4);
}

TEST(LimitCheck, ValuesThatAreNotThereNeverPass) {
    const LimitProfile& p = DefaultProfile();
    PaneTestElement t(2);
    t.Put8(29, kFlagLevel | kFlagTilt | kFlagLimit);
    t.Entry(0, 30000, 30, 1, kEnabled);
    Modulation(t, 0, 2);
    t.Level(0, kMeasuredMark, 500, 300, 0xFFFF); // unlocked: fails
    t.Entry(1, 30800, 31, 1, kEnabled);
    Modulation(t, 1, 2);
    t.Level(1, kMeasuredMark, 500, 300, 0x00FF); // "<1.0E-3" says nothing about 2E-4
    t.Entry(2, 31600, 32, 1, kEnabled);
    Modulation(t, 2, 9); // a code outside the table: no limits
    t.Level(2, kMeasuredMark, 500, 300);
    t.Entry(3, 32400, 33, 7, kEnabled); // a type the kind does not have
    t.Level(3, kMeasuredMark, 500, 300);
    t.Level(4, 0, 500, 300); // a record without its mark is not a row at all
    const SectionCheck level = CheckSection(MeasurementFile(t.e), p, PaneSection::Level);
    ASSERT_EQ(level.channels.size(), 4u);
    EXPECT_EQ(VerdictOf(level, 0, Quantity::Ber), Verdict::Fail);
    EXPECT_EQ(VerdictOf(level, 1, Quantity::Ber), Verdict::NotMeasured);
    EXPECT_EQ(level.channels[2].verdict, Verdict::NotMeasured);
    EXPECT_EQ(VerdictOf(level, 2, Quantity::Level), Verdict::NotChecked);
    EXPECT_EQ(level.channels[3].verdict, Verdict::NotMeasured);
    EXPECT_EQ(level.passCount, 1); // only row 1: level and MER pass, BER unknown

    // No tilt levels: the tilt is "---", not a pass; an empty file is not a pass either.
    const FileCheck f = CheckFile(MeasurementFile(t.e), p);
    EXPECT_EQ(f.Section(PaneSection::Tilt)->fileValues[0].verdict, Verdict::NotMeasured);
    EXPECT_EQ(f.Section(PaneSection::Tilt)->verdict, Verdict::NotMeasured);
    PaneTestElement empty(0);
    empty.Put8(29, kFlagLevel | kFlagHum);
    EXPECT_EQ(CheckFile(MeasurementFile(empty.e), p).verdict, Verdict::NotMeasured);
    // A kind outside the three has no layout: nothing to judge.
    PaneTestElement odd(5);
    odd.Put8(29, 0xFC);
    EXPECT_EQ(CheckFile(MeasurementFile(odd.e), p).verdict, Verdict::NotMeasured);
}

TEST(LimitCheck, SampleFilesOfEveryKindLineUpWithTheirPanes) {
    const ProjectLoad load = LoadProject(test::SourcePath("samples/sample.f71"));
    ASSERT_EQ(load.status, ProjectStatus::Ok);
    ASSERT_EQ(load.elements.size(), 3u);
    for (const _tagFileDataExt& element : load.elements) {
        const MeasurementFile file(element);
        const FileCheck check = CheckFile(file, DefaultProfile());
        EXPECT_GT(check.channelCount, 0) << "kind " << file.Kind();
        EXPECT_FALSE(check.sections.empty());
        for (const SectionCheck& s : check.sections) {
            auto pane = MakeAnalysisPane(s.section, kLanguageEnglish, "dBuV");
            pane->ShowFile(element);
            const PaneTable* table = pane->Table(pane->HasChart() ? "List" : "Table");
            ASSERT_NE(table, nullptr);
            const int channelColumn = pane->HasChart() ? 1 : 0;
            for (const ChannelCheck& c : s.channels) {
                ASSERT_LT(c.row, static_cast<int>(table->rows.size()));
                EXPECT_EQ(table->rows[static_cast<std::size_t>(c.row)]
                                     [static_cast<std::size_t>(channelColumn)],
                          std::to_string(c.channelNumber))
                    << "kind " << file.Kind() << " row " << c.row;
                for (const ValueCheck& v : c.values) {
                    ASSERT_LT(v.column, static_cast<int>(table->columns.size()));
                    // A measured value shows a number in its cell, never "---".
                    if (v.value && v.quantity == Quantity::Level) {
                        EXPECT_NE(table->rows[static_cast<std::size_t>(c.row)]
                                             [static_cast<std::size_t>(v.column)],
                                  "---");
                    }
                }
            }
        }
        const std::string line = VerdictLine(check, kLanguageEnglish);
        EXPECT_EQ(line.rfind("Verdict: ", 0), 0u) << line;
        EXPECT_NE(line.find(" channels pass"), std::string::npos) << line;
    }
}

// The pane's table with its columns in another order: titles, texts and what the cells show
// move together, as they would if the pane laid its columns out that way.
PaneTable Reordered(const PaneTable& table, const std::vector<std::size_t>& order) {
    PaneTable moved = table;
    for (std::size_t to = 0; to < order.size(); ++to) {
        moved.columns[to] = table.columns[order[to]];
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            moved.rows[r][to] = table.rows[r][order[to]];
            moved.sources[r].cells[to] = table.sources[r].cells[order[to]];
        }
    }
    return moved;
}

TEST(LimitCheck, MarksFollowTheirCellsWhenAPaneOrdersItsColumnsOtherwise) {
    // Every level fails, so that every section has marks to follow.
    LimitProfile strict = DefaultProfile();
    strict.tv.levelMin = strict.tv.levelMax = 0;
    for (auto& [order, limits] : strict.cable)
        limits.levelMin = limits.levelMax = 0;
    strict.humMax = 0;
    const ProjectLoad load = LoadProject(test::SourcePath("samples/sample.f71"));
    ASSERT_EQ(load.elements.size(), 3u);
    for (const PaneSection section : {PaneSection::Level, PaneSection::Tilt, PaneSection::Scan,
                                      PaneSection::Hum, PaneSection::Limit}) {
        auto pane = MakeAnalysisPane(section, kLanguageEnglish, "dBuV");
        pane->ShowFile(load.elements[0]);
        const PaneTable& table = *pane->JudgedTable();
        std::vector<std::size_t> order(table.columns.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = order.size() - 1 - i; // right to left
        const SectionCheck before = CheckPane(*pane, strict);
        const SectionCheck after =
            CheckTable(Reordered(table, order), section, pane->ShownFile().Kind(), strict);
        ASSERT_EQ(after.channels.size(), before.channels.size()) << TreeValue(section);
        int marks = 0;
        for (std::size_t c = 0; c < before.channels.size(); ++c) {
            const auto& was = before.channels[c].values;
            const auto& now = after.channels[c].values;
            ASSERT_EQ(now.size(), was.size());
            for (std::size_t v = 0; v < was.size(); ++v) {
                EXPECT_EQ(now[v].verdict, was[v].verdict);
                // The mark sits on the same cell's text, wherever that column went.
                const int row = after.channels[c].row;
                EXPECT_EQ(Reordered(table, order).rows[row][now[v].column],
                          table.rows[row][was[v].column]);
                EXPECT_EQ(order[now[v].column], static_cast<std::size_t>(was[v].column));
                marks += now[v].verdict == Verdict::Fail;
            }
        }
        EXPECT_GT(marks, 0) << TreeValue(section);
    }
}

TEST(LimitCheck, FailingBarsAreTheChartsBarsNotTheListsRows) {
    // A kind 1 tilt list with a DVB-T2 pilot, which the kind has no text for: the list skips
    // it, the chart still draws its bar.
    PaneTestElement t(1);
    t.Put8(29, kFlagTilt);
    const int types[] = {0, 3, 0, 0};
    const int levels[] = {700, 700, 500, 700};
    for (int i = 0; i < 4; ++i) {
        t.Entry(i, 10000 + i * 800, 20 + i, types[i], kTilt);
        t.TiltLevel(i, levels[i]);
    }
    t.TiltCount(4);
    const SectionCheck tilt =
        CheckSection(MeasurementFile(t.e), DefaultProfile(), PaneSection::Tilt);
    ASSERT_EQ(tilt.channels.size(), 3u);
    EXPECT_EQ(tilt.channels[1].row, 1);
    EXPECT_EQ(FailingBars(tilt), std::vector<int>{2}); // the 50.0 dBuV pilot, bar 2
}

TEST(LimitCheck, VerdictTextsInBothLanguages) {
    FileCheck f;
    f.verdict = Verdict::Fail;
    f.passCount = 23;
    f.channelCount = 25;
    f.worstMargin = -1.25;
    EXPECT_EQ(VerdictLine(f, kLanguageEnglish),
              "Verdict: FAIL - 23 of 25 channels pass, worst margin -1.2 dB");
    EXPECT_EQ(VerdictLine(f, kLanguageChinese),
              "结论：不合格——25 个频道中 23 个合格，最小余量 -1.2 dB");
    f.verdict = Verdict::Pass;
    f.worstMargin.reset();
    EXPECT_EQ(VerdictLine(f, kLanguageEnglish), "Verdict: PASS - 23 of 25 channels pass");
}

} // namespace
} // namespace qm
