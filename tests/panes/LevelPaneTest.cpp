#include <gtest/gtest.h>

#include "PaneTestElement.h"
#include "panes/LevelPane.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;
using test::PaneTestElement;

Rows Show(const PaneTestElement& f) {
    LevelPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    return pane.Table("Table")->rows;
}

TEST(LevelPane, ColumnsRowsAndExportOfATvChannel) {
    PaneTestElement f(2, "LEV001");
    f.Entry(0, 22425, 12, 0, 0x80);
    f.Level(0, 0x55, 725, 620);
    LevelPane pane(kLanguageEnglish, "dBuV");
    EXPECT_EQ(pane.Table("Table")->ColumnTitles(),
              (Row{"CH", "Frequency", "Type", "Video/Power", "Audio", "MER", "PRE-BER/CBER",
                   "POST-BER/VBER/LBER"}));
    EXPECT_EQ(pane.Table("Table")->columns[6].widthPixels, 75);
    pane.ShowFile(f.e);
    EXPECT_EQ(pane.FileNameText(), "LEV001");
    EXPECT_EQ(pane.Table("Table")->rows,
              (Rows{{"12", "224.25", "TV", "72.5", "62.0", "---", "---", "---"}}));
    EXPECT_EQ(pane.ExportCsv(),
              "LEV001\r\r\n"
              "CH,Freq(MHz),Type,Vedio/Power,Audio,MER,PRE-BER/CBER,POST-BER/VBER/LBER\r\n"
              "12,224.25,TV,72.5,62.0,---,---,---\r\n");
    EXPECT_FALSE(pane.HasChart());
    pane.MarkerMoved(0); // never sent to this pane; changes nothing
    EXPECT_EQ(pane.Table("Table")->rows.size(), 1u);
}

TEST(LevelPane, AnIncompleteFileIsMarkedWhereShownButNotInTheExport) {
    const PaneTestElement f(1, "CUT");
    auto level = MakeAnalysisPane(PaneSection::Level, kLanguageEnglish, "dBuV");
    auto tilt = MakeAnalysisPane(PaneSection::Tilt, kLanguageEnglish, "dBuV");
    level->ShowFile(f.e);
    const std::string csv = level->ExportCsv();
    level->ShowFile(f.e, true);
    tilt->ShowFile(f.e, true);
    EXPECT_EQ(level->ExportCsv(), csv);
    EXPECT_EQ(level->FileNameText(), "CUT (incomplete)");
    EXPECT_EQ(tilt->Table("Parameters")->rows.at(0), (Row{"File Name", "CUT (incomplete)"}));
}

TEST(LevelPane, TheCsvFileIsWrittenWholeOrNotAtAll) {
    PaneTestElement f(2, "LEV001");
    f.Entry(0, 22425, 12, 0, 0x80);
    f.Level(0, 0x55, 725, 620);
    LevelPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    test::TempDir dir;
    const std::string path = dir.File("level.csv");
    test::WriteFile(path, "previous export");
    test::FullDisk full;
    EXPECT_FALSE(pane.SaveCsv(path));
    EXPECT_EQ(test::ReadFile(path), "previous export");
    EXPECT_EQ(test::FolderNames(dir.Path()), std::vector<std::string>{"level.csv"});
}

TEST(LevelPane, BerTextsPerTypeAndColumn) {
    PaneTestElement f(2);
    f.Entry(0, 30600, 21, 1, 0x80); // DVB-C
    f.Entry(1, 47400, 30, 2, 0x80); // DVB-T
    f.Entry(2, 61000, 45, 3, 0x80); // DVB-T2
    for (int p = 0; p < 3; ++p)
        f.Level(p, 0x55, 550, 350, 0, 0);
    f.Level(3, 0x55, 550, 350, 0, 0);
    f.Entry(3, 62000, 46, 1, 0x80);
    f.Level(3, 0x55, 550, 350, 0x1F05, 0xFFFF);
    f.Entry(4, 63000, 47, 2, 0x80);
    f.Level(4, 0x55, 550, 350, 0x00FF, 0x0005);
    f.Entry(5, 64000, 48, 3, 0x80);
    f.Level(5, 0x55, 550, 350, 0x6407, 0);
    const Rows rows = Show(f);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], (Row{"21", "306.00", "DVB-C", "55.0", "---", "35.0", "<1.0E-9", "<1.0E-9"}));
    EXPECT_EQ(rows[1], (Row{"30", "474.00", "DVB-T", "55.0", "---", ">30", "<1.0E-5", "<1.0E-7"}));
    EXPECT_EQ(rows[2], (Row{"45", "610.00", "DVB-T2", "55.0", "---", ">32", "<1.0E-6", "<1.0E-8"}));
    EXPECT_EQ(rows[3][6], "3.1E-5");
    EXPECT_EQ(rows[3][7], "Unlock");
    EXPECT_EQ(rows[4][6], "<1.0E-3");
    EXPECT_EQ(rows[4][7], "0.0E-5");
    EXPECT_EQ(rows[5][6], "10.0E-7");
    EXPECT_EQ(rows[5][7], "<1.0E-8");

    PaneTestElement k0(0);
    k0.Entry(0, 30600, 21, 1, 0x80);
    k0.Level(0, 0x55, 550, 350, 0, 0xFFFF);
    EXPECT_EQ(Show(k0),
              (Rows{{"21", "306.00", "DIGI", "55.0", "---", "35.0", "<1.0E-9", "Unlock"}}));
}

TEST(LevelPane, DvbTRowsOfAKindOneFile) {
    PaneTestElement f(1);
    f.Entry(0, 47400, 30, 2, 0x80);
    f.Level(0, 0x55, 550, 300, 0x00FF, 0x0005);
    f.Entry(1, 48200, 31, 2, 0x80);
    f.Level(1, 0x55, 612, 301, 0, 0);
    EXPECT_EQ(Show(f),
              (Rows{{"30", "474.00", "DVB-T", "55.0", "---", "30.0", "<1.0E-3", "0.0E-5"},
                    {"31", "482.00", "DVB-T", "61.2", "---", ">30", "<1.0E-5", "<1.0E-7"}}));
}

TEST(LevelPane, MerComparisonsAreStrict) {
    PaneTestElement f(2);
    f.Entry(0, 47400, 30, 2, 0x80);
    f.Level(0, 0x55, 550, 300);
    f.Entry(1, 48200, 31, 2, 0x80);
    f.Level(1, 0x55, 550, 301);
    f.Entry(2, 61000, 45, 3, 0x80);
    f.Level(2, 0x55, 550, 320);
    f.Entry(3, 61800, 46, 3, 0x80);
    f.Level(3, 0x55, 550, 321);
    f.Entry(4, 30600, 21, 1, 0x80); // DVB-C has no bound
    f.Level(4, 0x55, 550, 450);
    const Rows rows = Show(f);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0][5], "30.0");
    EXPECT_EQ(rows[1][5], ">30");
    EXPECT_EQ(rows[2][5], "32.0");
    EXPECT_EQ(rows[3][5], ">32");
    EXPECT_EQ(rows[4][5], "45.0");
}

TEST(LevelPane, OnlyMarkedRecordsInPlanOrder) {
    PaneTestElement f(1);
    for (int p = 0; p < 40; ++p) {
        f.Entry(p, 10000u + 800u * static_cast<unsigned>(p), p + 1, 0, 0x80);
        f.Level(p, p % 3 == 0 ? 0x55 : (p % 2 ? 0x54 : 0x56), 600 + p, 500);
    }
    const Rows rows = Show(f);
    ASSERT_EQ(rows.size(), 14u);
    EXPECT_EQ(rows[0][0], "1");
    EXPECT_EQ(rows[13][0], "40");
    EXPECT_EQ(rows[13][3], "63.9");
}

TEST(LevelPane, KindsZeroAndTwoGiveTheSameRows) {
    PaneTestElement k0(0), k2(2);
    for (PaneTestElement* f : {&k0, &k2}) {
        f->Entry(0, 22425, 12, 0, 0x80);
        f->Level(0, 0x55, -15, 620);
        f->Entry(1, 30600, 21, 1, 0x80);
        f->Level(1, 0x55, 550, 350, 0x1F05, 0);
    }
    Rows r0 = Show(k0), r2 = Show(k2);
    ASSERT_EQ(r0.size(), 2u);
    EXPECT_EQ(r0[0][3], "-1.5");
    r0[1][2] = "DVB-C"; // the one text that differs
    EXPECT_EQ(r0, r2);
}

TEST(LevelPane, UnknownTypesAndKinds) {
    PaneTestElement f(1);
    f.Entry(0, 61000, 45, 3, 0x80); // DVB-T2 in a kind 1 file
    f.Level(0, 0x55, 550, 350, 0x1F05, 0x1F05);
    EXPECT_EQ(Show(f), (Rows{{"45", "610.00", "---", "55.0", "---", "---", "---", "---"}}));

    f.e.kind = 7;
    LevelPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    EXPECT_TRUE(pane.Table("Table")->rows.empty());
    EXPECT_EQ(pane.FileNameText(), "");
    EXPECT_EQ(pane.ExportCsv(),
              "\r\r\nCH,Freq(MHz),Type,Vedio/Power,Audio,MER,PRE-BER/CBER,POST-BER/VBER/LBER\r\n");
}

TEST(LevelPane, RecordsBeyondTheChannelCountReadTheirPlanSlot) {
    PaneTestElement f(2);
    f.Entry(165, 80000, 99, 0, 0x80);
    f.Level(159, 0x55, 100, 100);
    f.SetChannelCount(3);
    const Rows rows = Show(f); // slot 159 is all zero: channel 0 at 0.00 MHz, TV
    EXPECT_EQ(rows, (Rows{{"0", "0.00", "TV", "10.0", "10.0", "---", "---", "---"}}));
}

} // namespace
} // namespace qm
