#include <gtest/gtest.h>

#include "PaneTestElement.h"
#include "panes/ScanPane.h"
#include "res/StringTable.h"

namespace qm {
namespace {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;
using test::PaneTestElement;

TEST(ScanPane, RowsMarkAndExportOfAnalogueAndDigitalChannels) {
    PaneTestElement f(1, "SCAN01");
    f.Entry(0, 47125, 21, 0, 0x80);
    f.Entry(1, 60000, 39, 1, 0x00); // disabled: skipped
    f.Entry(2, 61000, 40, 1, 0x80);
    f.ScanWindow(0, 2);
    f.Scan(0, 683, 581);
    f.Scan(2, 550, 123);
    ScanPane pane(kLanguageEnglish, "dBuV");
    EXPECT_EQ(pane.Table("List")->ColumnTitles(),
              (Row{"NO", "CH", "Type", "Video/Power", "Audio"}));
    pane.ShowFile(f.e);
    EXPECT_EQ(pane.Table("Parameters")->rows,
              (Rows{{"File Name", "SCAN01"}, {"File Date", "2024-5-17 10:20:30"}}));
    EXPECT_EQ(pane.Table("List")->rows,
              (Rows{{"1", "21", "TV", "68.3", "58.1"}, {"2", "40", "DVB-C", "55.0", "---"}}));
    const Rows fillMark = pane.Table("Mark")->rows;
    EXPECT_EQ(fillMark, (Rows{{"CH", "21"}, {"Type", "TV"}, {"Video", "68.3"}, {"Audio", "58.1"}}));
    pane.MarkerMoved(1);
    EXPECT_EQ(pane.Table("Mark")->rows, (Rows{{"CH", "40"}, {"Type", "DVB-C"}, {"Power", "55.0"}}));
    pane.MarkerMoved(0);
    EXPECT_EQ(pane.Table("Mark")->rows, fillMark);
    pane.MarkerMoved(2);
    EXPECT_TRUE(pane.Table("Mark")->rows.empty());
    EXPECT_EQ(pane.ExportCsv(), "SCAN01\r\r\n"
                                "CH,Type,video/power,Audio\r\n"
                                "21,TV,68.3,58.1\r\n"
                                "40,DVB-C,55.0,---\r\n");
}

TEST(ScanPane, WindowFollowsTheEnabledList) {
    PaneTestElement f(2);
    // Ten enabled channels with a disabled one after each.
    for (int i = 0; i < 20; ++i) {
        f.Entry(i, 10000u + 800u * static_cast<unsigned>(i), 100 + i, 0, i % 2 ? 0 : 0x80);
        f.Scan(i, 500 + i, 400);
    }
    f.ScanWindow(3, 5);
    ScanPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    const Rows& list = pane.Table("List")->rows;
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0], (Row{"1", "106", "TV", "50.6", "40.0"})); // ordinal 3 = plan index 6
    EXPECT_EQ(list[4], (Row{"5", "114", "TV", "51.4", "40.0"})); // ordinal 7 = plan index 14

    // A window past the end of the enabled list stops at its end.
    f.ScanWindow(8, 200);
    ScanPane past(kLanguageEnglish, "dBuV");
    past.ShowFile(f.e);
    EXPECT_EQ(past.Table("List")->rows.size(), 2u);
    EXPECT_EQ(past.RowCount(), 2);
    past.MarkerMoved(5);
    EXPECT_TRUE(past.Table("Mark")->rows.empty());
    f.ScanWindow(250, 255);
    ScanPane beyond(kLanguageEnglish, "dBuV");
    beyond.ShowFile(f.e);
    EXPECT_TRUE(beyond.Table("List")->rows.empty());
    EXPECT_EQ(beyond.ExportCsv(), "LEV001\r\r\nCH,Type,video/power,Audio\r\n");
}

TEST(ScanPane, TypeTextsByKind) {
    PaneTestElement k0(0, "K0");
    k0.Entry(0, 30600, 21, 1, 0x80);
    k0.Entry(1, 31400, 22, 5, 0x80); // any non-zero type is DIGI in kind 0
    k0.ScanWindow(0, 2);
    k0.Scan(0, 505, 0);
    k0.Scan(1, 515, 0);
    ScanPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(k0.e);
    EXPECT_EQ(pane.Table("List")->rows[0][2], "DIGI");
    EXPECT_EQ(pane.Table("List")->rows[1][2], "DIGI");
    EXPECT_EQ(pane.Table("Mark")->rows[1][1], "DIGI");
    EXPECT_EQ(pane.ExportCsv(), "K0\r\r\nCH,Type,video/power,Audio\r\n"
                                "21,DIGI,50.5,---\r\n22,DIGI,51.5,---\r\n");

    // DVB-T2 in a kind 1 file: a bare row with its number, no Mark rows, no export line.
    PaneTestElement k1(1, "K1");
    k1.Entry(0, 61000, 45, 3, 0x80);
    k1.Entry(1, 62000, 46, 2, 0x80);
    k1.ScanWindow(0, 2);
    k1.Scan(1, 480, 0);
    ScanPane bare(kLanguageEnglish, "dBuV");
    bare.ShowFile(k1.e);
    EXPECT_EQ(bare.Table("List")->rows,
              (Rows{{"1", "", "", "", ""}, {"2", "46", "DVB-T", "48.0", "---"}}));
    EXPECT_TRUE(bare.Table("Mark")->rows.empty());
    EXPECT_EQ(bare.ExportCsv(), "K1\r\r\nCH,Type,video/power,Audio\r\n46,DVB-T,48.0,---\r\n");
}

TEST(ScanPane, PlanIndexesWithoutScanRecord) {
    PaneTestElement f(1);
    for (int i = 0; i < 165; ++i)
        f.Entry(i, 10000, i + 1, 0, i < 158 ? 0 : 0x80);
    f.ScanWindow(0, 7);
    f.Scan(158, 600, 500);
    ScanPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    const Rows& list = pane.Table("List")->rows;
    ASSERT_EQ(list.size(), 7u);
    EXPECT_EQ(list[0], (Row{"1", "159", "TV", "60.0", "50.0"}));
    EXPECT_EQ(list[2], (Row{"3", "161", "TV", "---", "---"}));
    EXPECT_NE(pane.ExportCsv().find("\n161,TV,---,---\r\n"), std::string::npos);
}

} // namespace
} // namespace qm
