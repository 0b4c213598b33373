#include <gtest/gtest.h>

#include "PaneTestElement.h"
#include "panes/SpectrumPane.h"
#include "res/StringTable.h"

namespace qm {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using test::PaneTestElement;

PaneTestElement Sweep474(int kind, int points = 315, int maxFlag = 0, int fixedSpan = 0) {
    PaneTestElement f(kind, "SPEC01");
    f.Spectrum(points, 47400, 2, maxFlag, fixedSpan);
    for (int i = 0; i < 320; ++i) {
        f.Point(i, 400 + i);
        f.MaxPoint(i, 500 + i);
    }
    return f;
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t eol = bytes.find("\r\n", pos);
        lines.push_back(bytes.substr(pos, eol - pos));
        pos = eol + 2;
    }
    return lines;
}

TEST(SpectrumPane, ParametersListAndMarkOfA315PointSweep) {
    SpectrumPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(Sweep474(1).e);
    EXPECT_EQ(pane.Table("Parameters")->rows, (Rows{{"File Name", "SPEC01"},
                                                    {"File Date", "2024-5-17 10:20:30"},
                                                    {"Span", "12.50MHz"},
                                                    {"Step FREQ", "39.81KHz"},
                                                    {"Center FREQ", "474.00MHz"},
                                                    {"MAX", "No"}}));
    const Rows& list = pane.Table("List")->rows;
    ASSERT_EQ(list.size(), 315u);
    EXPECT_EQ(list[0], (std::vector<std::string>{"467.75", "40.0", "---"}));
    EXPECT_EQ(list[314], (std::vector<std::string>{"480.25", "71.4", "---"}));
    EXPECT_EQ(pane.Table("Mark")->rows, (Rows{{"Frequency", "467.75MHz"}, {"Level", "40.0"}}));
    // The marker's frequency has no unit text and a MAX row.
    pane.MarkerMoved(0);
    EXPECT_EQ(pane.Table("Mark")->rows,
              (Rows{{"Frequency", "467.75"}, {"Level", "40.0"}, {"MAX", "---"}}));
    pane.MarkerMoved(314);
    EXPECT_EQ(pane.Table("Mark")->rows[0][1], "480.25");
    pane.MarkerMoved(320);
    EXPECT_TRUE(pane.Table("Mark")->rows.empty());
}

TEST(SpectrumPane, MaxTraceAndMaxFlagTexts) {
    SpectrumPane yes(kLanguageEnglish, "dBuV");
    yes.ShowFile(Sweep474(1, 315, 1).e);
    EXPECT_EQ(yes.Table("Parameters")->rows[5][1], "Yes");
    EXPECT_EQ(yes.Table("List")->rows[2][2], "50.2");
    yes.MarkerMoved(2);
    EXPECT_EQ(yes.Table("Mark")->rows[2], (std::vector<std::string>{"MAX", "50.2"}));
    SpectrumPane other(kLanguageEnglish, "dBuV");
    other.ShowFile(Sweep474(1, 315, 7).e);
    EXPECT_EQ(other.Table("Parameters")->rows[5][1], "");
    EXPECT_EQ(other.Table("List")->rows[2][2], "50.2");
}

TEST(SpectrumPane, FixedSpanInTheTablesButNotInTheExport) {
    SpectrumPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(Sweep474(1, 315, 0, 1).e);
    EXPECT_EQ(pane.Table("Parameters")->rows[2][1], "40.00MHz");
    EXPECT_EQ(pane.Table("Parameters")->rows[3][1], "127.39KHz");
    EXPECT_EQ(pane.Table("List")->rows[0][0], "454.00");
    EXPECT_EQ(pane.Table("List")->rows[314][0], "494.00");
    const std::vector<std::string> lines = Lines(pane.ExportCsv());
    ASSERT_EQ(lines.size(), 3u + 315u);
    EXPECT_EQ(lines[3], "467.75,40.0");
    EXPECT_EQ(lines[317], "480.25,71.4");
}

TEST(SpectrumPane, ExportBytesUseTheirOwn315PointAxis) {
    SpectrumPane pane(kLanguageEnglish, "dBuV");
    pane.ShowFile(Sweep474(0, 320).e);
    EXPECT_EQ(pane.Table("List")->rows.size(), 320u);
    const std::string csv = pane.ExportCsv();
    EXPECT_TRUE(csv.starts_with(
        "SPEC01\r\r\nCentral Freq:,474.00 MHz\r\r\nFreq(MHz),Level\r\n467.75,40.0\r\n"));
    const std::vector<std::string> lines = Lines(csv);
    ASSERT_EQ(lines.size(), 318u); // points 0 to 314 only
    EXPECT_EQ(lines[1], "Central Freq:,474.00 MHz\r");
    EXPECT_EQ(lines.back(), "480.25,71.4");
    // A short sweep still exports 315 stored points.
    SpectrumPane shortSweep(kLanguageEnglish, "dBuV");
    shortSweep.ShowFile(Sweep474(1, 10).e);
    EXPECT_EQ(Lines(shortSweep.ExportCsv()).size(), 318u);
}

TEST(SpectrumPane, SignednessFollowsTheMeterKind) {
    for (int kind : {0, 1, 2}) {
        PaneTestElement f = Sweep474(kind, 315, 1);
        f.Point(0, 0xFFF6);
        f.MaxPoint(0, 0xFFF6);
        SpectrumPane pane(kLanguageEnglish, "dBuV");
        pane.ShowFile(f.e);
        const std::string expected = kind == 2 ? "-1.0" : "6552.6";
        EXPECT_EQ(pane.Table("List")->rows[0][1], expected) << kind;
        EXPECT_EQ(pane.Table("List")->rows[0][2], expected) << kind;
        EXPECT_EQ(pane.Table("Mark")->rows[1][1], expected) << kind;
        EXPECT_EQ(Lines(pane.ExportCsv())[3], "467.75," + expected) << kind;
    }
}

TEST(SpectrumPane, DegenerateSweeps) {
    // One point has no step: the step reads "---" and the point sits at the start.
    SpectrumPane one(kLanguageEnglish, "dBuV");
    one.ShowFile(Sweep474(1, 1).e);
    EXPECT_EQ(one.Table("Parameters")->rows[3][1], "---");
    EXPECT_EQ(one.Table("List")->rows, (Rows{{"467.75", "40.0", "---"}}));
    SpectrumPane none(kLanguageEnglish, "dBuV");
    none.ShowFile(Sweep474(1, 0).e);
    EXPECT_TRUE(none.Table("List")->rows.empty());
    // A span code outside the table gives span 0: every point at the centre.
    PaneTestElement f = Sweep474(1);
    f.Spectrum(315, 47400, 9, 0, 0);
    SpectrumPane zero(kLanguageEnglish, "dBuV");
    zero.ShowFile(f.e);
    EXPECT_EQ(zero.Table("Parameters")->rows[2][1], "0.00MHz");
    EXPECT_EQ(zero.Table("List")->rows[200][0], "474.00");
    // A hostile point count stops at the 320 stored points.
    SpectrumPane huge(kLanguageEnglish, "dBuV");
    huge.ShowFile(Sweep474(2, 0xFFFF).e);
    EXPECT_EQ(huge.Table("List")->rows.size(), 320u);
}

} // namespace
} // namespace qm
