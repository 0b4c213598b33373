#include <gtest/gtest.h>

#include "PaneTestElement.h"
#include "panes/HumPane.h"
#include "res/StringTable.h"

namespace qm {
namespace {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;
using test::PaneTestElement;

TEST(HumPane, RowsAndExportWithDoubleCarriageReturns) {
    PaneTestElement f(1, "HUM01");
    f.Mains(1);
    f.Entry(0, 14725, 8, 0, 0x80);
    f.Hum(0, 0x55, 15, 25, 5);
    f.Entry(1, 30600, 21, 1, 0x80);
    f.Hum(1, 0x54, 15, 25, 5); // not measured
    f.Entry(2, 47400, 30, 2, 0x80);
    f.Hum(2, 0x55, -1, 7, -3);
    HumPane pane(kLanguageEnglish, "dBuV");
    EXPECT_EQ(pane.Table("Table")->ColumnTitles(), (Row{"CH", "Type", "LPF"}));
    pane.ShowFile(f.e);
    EXPECT_EQ(pane.FileNameText(), "HUM01");
    EXPECT_EQ(pane.Table("Table")->ColumnTitles(), (Row{"CH", "Type", "LPF", "50MHz", "100MHz"}));
    EXPECT_EQ(pane.Table("Table")->rows, (Rows{{"8", "TV", "1.5%", "0.25%", "0.05%"},
                                               {"30", "DVB-T", "---", "0.07%", "---"}}));
    EXPECT_EQ(pane.ExportCsv(), "HUM01\r\r\n"
                                "CH,Type,LPF,50MHz,100MHz\r\n"
                                "8,TV,1.5%,0.25%,0.05%\r\r\n"
                                "30,DVB-T,---,0.07%,---\r\r\n");
}

TEST(HumPane, ComponentTitlesFollowTheMainsFlagInEveryKind) {
    for (int kind : {0, 2}) {
        PaneTestElement f(kind, "H");
        f.Entry(0, 14725, 8, 0, 0x80);
        f.Hum(0, 0x55, 7, 7, 7);
        f.Mains(0);
        HumPane sixty(kLanguageEnglish, "dBuV");
        sixty.ShowFile(f.e);
        EXPECT_EQ(sixty.Table("Table")->ColumnTitles(),
                  (Row{"CH", "Type", "LPF", "60MHz", "120MHz"}));
        EXPECT_EQ(sixty.Table("Table")->rows, (Rows{{"8", "TV", "0.7%", "0.07%", "0.07%"}}));
        EXPECT_EQ(sixty.ExportCsv(),
                  "H\r\r\nCH,Type,LPF,60MHz,120MHz\r\n8,TV,0.7%,0.07%,0.07%\r\r\n");
        f.Mains(0x80);
        HumPane fifty(kLanguageChinese, "dBuV");
        fifty.ShowFile(f.e);
        EXPECT_EQ(fifty.Table("Table")->ColumnTitles(),
                  (Row{Tr(5540, kLanguageChinese), Tr(5552, kLanguageChinese), "LPF", "50MHz",
                       "100MHz"}));
    }
}

TEST(HumPane, ZeroIsAValueAndOnlyNegativesAreMissing) {
    PaneTestElement f(1, "H");
    f.Mains(1);
    f.Entry(0, 14725, 8, 0, 0x80);
    f.Hum(0, 0x55, 0, 0, -1);
    HumPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    EXPECT_EQ(pane.Table("Table")->rows, (Rows{{"8", "TV", "0.0%", "0.00%", "---"}}));
}

TEST(HumPane, UnknownTypesAndKinds) {
    PaneTestElement f(0, "H");
    f.Entry(0, 14725, 8, 2, 0x80); // kind 0 knows only types 0 and 1
    f.Hum(0, 0x55, 10, 10, 10);
    HumPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(f.e);
    EXPECT_EQ(pane.Table("Table")->rows, (Rows{{"8", "---", "1.0%", "0.10%", "0.10%"}}));

    f.Mains(1);
    f.e.kind = 3;
    HumPane none(kLanguageEnglish, "dBuV");
    none.ShowFile(f.e);
    EXPECT_TRUE(none.Table("Table")->rows.empty());
    EXPECT_EQ(none.Table("Table")->columns.size(), 5u);
    EXPECT_EQ(none.ExportCsv(), "\r\r\nCH,Type,LPF,60MHz,120MHz\r\n");
}

} // namespace
} // namespace qm
