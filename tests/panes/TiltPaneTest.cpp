#include <gtest/gtest.h>

#include "PaneTestElement.h"
#include "panes/TiltPane.h"
#include "res/StringTable.h"

namespace qm {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using test::PaneTestElement;

// Five tilt pilots of a kind 1 plan, with a disabled non-tilt entry in between.
PaneTestElement FiveTiltChannels(int kind = 1) {
    PaneTestElement f(kind, "TILT01");
    f.Entry(0, 7725, 5, 0, 0xC0);
    f.Entry(1, 18000, 8, 0, 0x80);
    f.Entry(2, 30600, 21, 1, 0xC0);
    f.Entry(3, 47400, 30, 0, 0xC0);
    f.Entry(4, 61000, 45, 1, 0xC0);
    f.Entry(5, 80000, 60, 0, 0xC0);
    f.TiltCount(5);
    const int levels[] = {100, 362, 371, 380, 392};
    for (int i = 0; i < 5; ++i)
        f.TiltLevel(i, levels[i]);
    return f;
}

TEST(TiltPane, FillsParametersListAndMarkFromTheTiltList) {
    TiltPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(FiveTiltChannels().e);
    EXPECT_EQ(pane.Table("Parameters")->rows,
              (Rows{{"File Name", "TILT01"}, {"File Date", "2024-5-17 10:20:30"}}));
    EXPECT_EQ(pane.Table("List")->ColumnTitles(),
              (std::vector<std::string>{"NO", "CH", "Type", "Frequency", "Video/Power"}));
    EXPECT_EQ(pane.Table("List")->rows, (Rows{{"1", "5", "TV", "77.25", "10.0"},
                                              {"2", "21", "DVB-C", "306.00", "36.2"},
                                              {"3", "30", "TV", "474.00", "37.1"},
                                              {"4", "45", "DVB-C", "610.00", "38.0"},
                                              {"5", "60", "TV", "800.00", "39.2"}}));
    const Rows fillMark = pane.Table("Mark")->rows;
    EXPECT_EQ(fillMark,
              (Rows{{"CH", "5"}, {"Type", "TV"}, {"Frequency", "77.25"}, {"Video/Power", "10.0"}}));
    pane.MarkerMoved(3);
    EXPECT_EQ(pane.Table("Mark")->rows[0], (std::vector<std::string>{"CH", "45"}));
    pane.MarkerMoved(0);
    EXPECT_EQ(pane.Table("Mark")->rows, fillMark);
    pane.MarkerMoved(5); // outside the tilt list
    EXPECT_TRUE(pane.Table("Mark")->rows.empty());
    pane.MarkerMoved(-1);
    EXPECT_TRUE(pane.Table("Mark")->rows.empty());
}

TEST(TiltPane, ExportWritesTiltFromLevelOneAndTheBlankInTheHeader) {
    PaneTestElement f = FiveTiltChannels();
    const int levels[] = {350, 362, 371, 380, 392};
    for (int i = 0; i < 5; ++i)
        f.TiltLevel(i, levels[i]);
    f.TiltLevel(0, 100);
    TiltPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    EXPECT_EQ(pane.TiltValue(), 30); // 392 - 362, not 392 - 100
    EXPECT_EQ(pane.ExportCsv(), "TILT01\r\r\n"
                                "Tilt,3.0\r\r\n"
                                "CH, Type,Freq(MHz),Video/Power\r\n"
                                "5,TV,77.25,10.0\r\n"
                                "21,DVB-C,306.00,36.2\r\n"
                                "30,TV,474.00,37.1\r\n"
                                "45,DVB-C,610.00,38.0\r\n"
                                "60,TV,800.00,39.2\r\n");
}

TEST(TiltPane, TypesWithoutTextLoseTheirRowsButKeepTheNumbering) {
    PaneTestElement f = FiveTiltChannels(1);
    f.Entry(0, 7725, 5, 3, 0xC0); // DVB-T2 in a kind 1 file
    TiltPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    const Rows& list = pane.Table("List")->rows;
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0][0], "2");
    EXPECT_TRUE(pane.Table("Mark")->rows.empty());
    pane.MarkerMoved(0);
    EXPECT_TRUE(pane.Table("Mark")->rows.empty());
    EXPECT_EQ(pane.ExportCsv().find("\n5,"), std::string::npos);

    PaneTestElement k0(0, "K0");
    k0.Entry(0, 7725, 5, 2, 0xC0); // any non-zero type is DIGI in kind 0
    k0.TiltCount(1);
    TiltPane compact(kLanguageEnglish, "dBuV");
    compact.ShowFile(k0.e);
    EXPECT_EQ(compact.Table("List")->rows.at(0)[2], "DIGI");
}

TEST(TiltPane, CountsThatDisagreeWithTheTiltList) {
    PaneTestElement f = FiveTiltChannels();
    f.TiltCount(1);
    TiltPane one(kLanguageEnglish, "dBuV");
    one.ShowFile(f.e);
    EXPECT_EQ(one.TiltValue(), 100 - 362); // level 0 minus the second slot
    EXPECT_EQ(one.Table("List")->rows.size(), 1u);

    // More levels than tilt channels: the extra level shows without a channel, exports nothing.
    f.TiltCount(6);
    f.TiltLevel(5, 400);
    TiltPane more(kLanguageEnglish, "dBuV");
    more.ShowFile(f.e);
    EXPECT_EQ(more.Table("List")->rows.back(), (std::vector<std::string>{"6", "", "", "", "40.0"}));
    EXPECT_NE(more.ExportCsv().find("Tilt,3.8\r\r\n"), std::string::npos);
    EXPECT_EQ(more.ExportCsv().find(",40.0"), std::string::npos);

    // Counts beyond the twelve stored levels never read past them.
    f.TiltCount(200);
    TiltPane hostile(kLanguageEnglish, "dBuV");
    hostile.ShowFile(f.e);
    EXPECT_EQ(hostile.Table("List")->rows.size(), 12u);
    EXPECT_FALSE(hostile.TiltValue());
    EXPECT_NE(hostile.ExportCsv().find("Tilt,---\r\r\n"), std::string::npos);
    f.TiltCount(0);
    TiltPane none(kLanguageEnglish, "dBuV");
    none.ShowFile(f.e);
    EXPECT_TRUE(none.Table("List")->rows.empty());
    EXPECT_TRUE(none.Table("Mark")->rows.empty());
}

TEST(TiltPane, UnknownKindShowsNothingAndExportsAnEmptyFile) {
    PaneTestElement f = FiveTiltChannels();
    f.e.kind = 3;
    TiltPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    for (const PaneTable& t : pane.Tables())
        EXPECT_TRUE(t.rows.empty());
    EXPECT_EQ(pane.ExportCsv(), "");
}

TEST(TiltPane, ChineseTitlesAndNothingBeforeAFileArrives) {
    TiltPane pane(kLanguageChinese, "dBuV");
    EXPECT_EQ(pane.Table("List")->ColumnTitles().at(0), Tr(5725, kLanguageChinese));
    EXPECT_EQ(pane.Table("List")->ColumnTitles().at(4),
              Tr(5554, kLanguageChinese) + "/" + Tr(5568, kLanguageChinese));
    EXPECT_NE(pane.Table("List")->ColumnTitles().at(0), "NO");
    EXPECT_EQ(pane.ExportCsv(), "");
    pane.MarkerMoved(0);
    EXPECT_TRUE(pane.Table("Mark")->rows.empty());
}

} // namespace
} // namespace qm
