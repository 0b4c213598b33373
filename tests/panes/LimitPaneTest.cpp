#include <gtest/gtest.h>

#include "PaneTestElement.h"
#include "panes/LimitPane.h"
#include "res/StringTable.h"

namespace qm {
namespace {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;
using test::PaneTestElement;

TEST(LimitPane, MixedPlanRowsMarkAndExport) {
    PaneTestElement f(0, "LIM01");
    f.Entry(0, 17525, 6, 0, 0x80);
    f.Entry(1, 40000, 33, 1, 0x80);
    f.Limit(0, 702, 600);
    f.Limit(1, 505, 999);
    LimitPane pane(kLanguageEnglish, "dBuV");
    EXPECT_EQ(pane.Table("List")->ColumnTitles(),
              (Row{"NO", "CH", "Type", "Video", "Audio", "Power"}));
    EXPECT_EQ(pane.Table("List")->columns[0].widthDivisor, 6);
    pane.ShowFile(f.e);
    EXPECT_EQ(pane.Table("List")->rows, (Rows{{"1", "6", "TV", "70.2", "60.0", "---"},
                                              {"2", "33", "DIGI", "---", "---", "50.5"}}));
    const Rows fillMark = pane.Table("Mark")->rows;
    EXPECT_EQ(fillMark, (Rows{{"CH", "6"}, {"Type", "TV"}, {"Video", "70.2"}, {"Audio", "60.0"}}));
    pane.MarkerMoved(1);
    EXPECT_EQ(pane.Table("Mark")->rows, (Rows{{"CH", "33"}, {"Type", "DIGI"}, {"Power", "50.5"}}));
    pane.MarkerMoved(0);
    EXPECT_EQ(pane.Table("Mark")->rows, fillMark);
    EXPECT_EQ(pane.ExportCsv(), "LIM01\r\r\n"
                                "CH,Type,Video,Audio,power\r\n"
                                "6,TV,70.2,60.0,---\r\n"
                                "33,DIGI,---,---,50.5\r\n");
}

TEST(LimitPane, RecordsArePackedByEnabledOrdinal) {
    PaneTestElement f(1);
    f.Entry(0, 17525, 5, 0, 0x00);
    f.Entry(1, 18325, 6, 0, 0x40); // tilt only, not enabled
    f.Entry(2, 19125, 7, 0, 0x80);
    f.Limit(0, 650, 550);
    f.Limit(2, 111, 111);
    LimitPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    EXPECT_EQ(pane.Table("List")->rows, (Rows{{"1", "7", "TV", "65.0", "55.0", "---"}}));
    pane.MarkerMoved(0);
    EXPECT_EQ(pane.Table("Mark")->rows[0], (Row{"CH", "7"}));
}

TEST(LimitPane, ChannelWithoutTypeTextUsesUpItsOrdinal) {
    PaneTestElement f(1, "K1");
    f.Entry(0, 47400, 30, 2, 0x80);
    f.Entry(1, 48200, 31, 3, 0x80); // DVB-T2 in a kind 1 file
    f.Entry(2, 49000, 32, 2, 0x80);
    f.Limit(0, 450, 0);
    f.Limit(1, 460, 0);
    f.Limit(2, 470, 0);
    LimitPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    EXPECT_EQ(pane.Table("List")->rows, (Rows{{"1", "30", "DVB-T", "---", "---", "45.0"},
                                              {"2", "", "", "", "", ""},
                                              {"3", "32", "DVB-T", "---", "---", "47.0"}}));
    pane.MarkerMoved(1);
    EXPECT_TRUE(pane.Table("Mark")->rows.empty());
    EXPECT_EQ(
        pane.ExportCsv(),
        "K1\r\r\nCH,Type,Video,Audio,power\r\n30,DVB-T,---,---,45.0\r\n32,DVB-T,---,---,47.0\r\n");

    // The first channel without text: the fill shows the first channel that has one.
    f.Entry(0, 47400, 30, 9, 0x80);
    LimitPane later(kLanguageEnglish, "dBuV");
    later.ShowFile(f.e);
    EXPECT_EQ(later.Table("Mark")->rows[0], (Row{"CH", "32"}));
    // Kind 0 knows only types 0 and 1.
    PaneTestElement k0(0);
    k0.Entry(0, 47400, 30, 2, 0x80);
    LimitPane compact(kLanguageEnglish, "dBuV");
    compact.ShowFile(k0.e);
    EXPECT_EQ(compact.Table("List")->rows, (Rows{{"1", "", "", "", "", ""}}));
}

TEST(LimitPane, SignednessFollowsTheMeterKind) {
    for (int kind : {0, 1, 2}) {
        PaneTestElement f(kind, "S");
        f.Entry(0, 17525, 6, 0, 0x80);
        f.Limit(0, 0xFFF6, 0xFFF6);
        LimitPane pane(kLanguageEnglish, "dBuV");
        pane.ShowFile(f.e);
        const std::string v = kind == 2 ? "-1.0" : "6552.6";
        EXPECT_EQ(pane.Table("List")->rows[0], (Row{"1", "6", "TV", v, v, "---"})) << kind;
        EXPECT_EQ(pane.ExportCsv(),
                  "S\r\r\nCH,Type,Video,Audio,power\r\n6,TV," + v + "," + v + ",---\r\n")
            << kind;
    }
}

TEST(LimitPane, OrdinalsWithoutLimitRecord) {
    PaneTestElement f(2);
    for (int i = 0; i < 170; ++i)
        f.Entry(i, 10000, i + 1, 1, 0x80);
    f.Limit(159, 321, 0);
    LimitPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    const Rows& list = pane.Table("List")->rows;
    ASSERT_EQ(list.size(), 170u);
    EXPECT_EQ(list[159], (Row{"160", "160", "DVB-C", "---", "---", "32.1"}));
    EXPECT_EQ(list[169], (Row{"170", "170", "DVB-C", "---", "---", "---"}));
    pane.MarkerMoved(169);
    EXPECT_EQ(pane.Table("Mark")->rows[2], (Row{"Power", "---"}));
    pane.MarkerMoved(170);
    EXPECT_TRUE(pane.Table("Mark")->rows.empty());
}

} // namespace
} // namespace qm
