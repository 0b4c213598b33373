#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/ProjectFile.h"
#include "panes/AnalysisPane.h"
#include "panes/PaneTestElement.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::BinPath;
using test::PaneTestElement;
using test::ReadFile;
using test::RunProcess;
using test::SourcePath;

const char* const kSections[] = {"level", "tilt", "scan", "spectrum", "hum", "limit"};
const PaneSection kPaneSections[] = {PaneSection::Level,    PaneSection::Tilt, PaneSection::Scan,
                                     PaneSection::Spectrum, PaneSection::Hum,  PaneSection::Limit};

// A project of two elements: a kind 1 file with a scan, level and hum section, and a file of
// an unknown kind.
std::string MakeProject(const test::TempDir& dir) {
    PaneTestElement f(1, "SCAN01");
    f.Entry(0, 47125, 21, 0, 0x80);
    f.Entry(1, 60000, 39, 1, 0x00);
    f.Entry(2, 61000, 40, 1, 0x80);
    f.ScanWindow(0, 2);
    f.Scan(0, 683, 581);
    f.Scan(2, 550, 123);
    f.Level(0, 0x55, 725, 620);
    f.Hum(0, 0x55, 15, 25, 5);
    f.Mains(1);
    PaneTestElement odd(5, "ODD");
    const std::string path = dir.File("p.f71");
    EXPECT_EQ(SaveProject(path, {f.e, odd.e}), ProjectStatus::Ok);
    return path;
}

TEST(ShowCli, PrintsTheBlocksOfChartAndFilePanes) {
    test::TempDir dir;
    const std::string project = MakeProject(dir);
    auto scan = RunProcess(BinPath("qm7100"), {"show", project, "0", "scan"});
    ASSERT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_EQ(scan.out, "[Parameters]\nDescription\tValue\nFile Name\tSCAN01\n"
                        "File Date\t2024-5-17 10:20:30\n"
                        "[Mark]\nDescription\tValue\nCH\t21\nType\tTV\nVideo\t68.3\nAudio\t58.1\n"
                        "[List]\nNO\tCH\tType\tVideo/Power\tAudio\n"
                        "1\t21\tTV\t68.3\t58.1\n2\t40\tDVB-C\t55.0\t---\n");
    auto marker = RunProcess(BinPath("qm7100"), {"show", project, "0", "scan", "--marker", "1"});
    ASSERT_EQ(marker.exitCode, 0) << marker.err;
    EXPECT_NE(marker.out.find("[Mark]\nDescription\tValue\nCH\t40\nType\tDVB-C\nPower\t55.0\n"
                              "[List]\n"),
              std::string::npos);
    auto away = RunProcess(BinPath("qm7100"), {"show", project, "0", "scan", "--marker", "9"});
    EXPECT_NE(away.out.find("[Mark]\nDescription\tValue\n[List]\n"), std::string::npos);

    auto level = RunProcess(BinPath("qm7100"), {"show", project, "0", "level"});
    ASSERT_EQ(level.exitCode, 0) << level.err;
    EXPECT_EQ(level.out, "[File]\nSCAN01\n[Table]\nCH\tFrequency\tType\tVideo/Power\tAudio\tMER\t"
                         "PRE-BER/CBER\tPOST-BER/VBER/LBER\n"
                         "21\t471.25\tTV\t72.5\t62.0\t---\t---\t---\n");
    // A pane of an unknown kind: its blocks with titles and no rows.
    auto odd = RunProcess(BinPath("qm7100"), {"show", project, "1", "hum"});
    ASSERT_EQ(odd.exitCode, 0) << odd.err;
    EXPECT_EQ(odd.out, "[File]\n\n[Table]\nCH\tType\tLPF\t60MHz\t120MHz\n");
}

TEST(ShowCli, ExportWritesThePaneBytes) {
    test::TempDir dir;
    const std::string project = MakeProject(dir);
    auto hum = RunProcess(BinPath("qm7100"), {"export", project, "0", "hum", dir.File("h.csv")});
    ASSERT_EQ(hum.exitCode, 0) << hum.err;
    EXPECT_TRUE(hum.out.empty());
    EXPECT_EQ(ReadFile(dir.File("h.csv")),
              "SCAN01\r\r\nCH,Type,LPF,50MHz,100MHz\r\n21,TV,1.5%,0.25%,0.05%\r\r\n");
    // An existing file is replaced; a tilt export of an unknown kind is an empty file.
    auto tilt = RunProcess(BinPath("qm7100"), {"export", project, "1", "tilt", dir.File("h.csv")});
    ASSERT_EQ(tilt.exitCode, 0) << tilt.err;
    EXPECT_TRUE(std::filesystem::exists(dir.File("h.csv")));
    EXPECT_EQ(ReadFile(dir.File("h.csv")), "");
}

TEST(ShowCli, EverySectionOfTheSampleInBothLanguages) {
    const std::string sample = SourcePath("samples/sample.f71");
    const ProjectLoad load = LoadProject(sample);
    ASSERT_EQ(load.status, ProjectStatus::Ok);
    test::TempDir dir;
    for (std::size_t i = 0; i < load.elements.size(); ++i) {
        for (std::size_t k = 0; k < std::size(kSections); ++k) {
            const char* section = kSections[k];
            SCOPED_TRACE(std::to_string(i) + " " + section);
            const std::string index = std::to_string(i);
            auto en = RunProcess(BinPath("qm7100"), {"show", sample, index, section});
            auto zh =
                RunProcess(BinPath("qm7100"), {"--lang", "zh", "show", sample, index, section});
            ASSERT_EQ(en.exitCode, 0) << en.err;
            ASSERT_EQ(zh.exitCode, 0) << zh.err;
            const bool chart = std::string(section) != "level" && std::string(section) != "hum";
            EXPECT_EQ(en.out.rfind(
                          chart ? "[Parameters]\nDescription\tValue\nFile Name\t" : "[File]\n", 0),
                      0u);
            EXPECT_NE(zh.out, en.out);
            EXPECT_EQ(zh.out.find("Description"), std::string::npos);
            // Rows in the List or Table block: at least one per section of the sample.
            EXPECT_GT(std::count(en.out.begin(), en.out.end(), '\n'), chart ? 10 : 3);

            const std::string csv = dir.File(index + section + ".csv");
            auto ex = RunProcess(BinPath("qm7100"), {"export", sample, index, section, csv});
            ASSERT_EQ(ex.exitCode, 0) << ex.err;
            auto pane = MakeAnalysisPane(kPaneSections[k], kLanguageEnglish, "dBuV");
            pane->ShowFile(load.elements[i]);
            EXPECT_EQ(ReadFile(csv), pane->ExportCsv());
            EXPECT_FALSE(pane->ExportCsv().empty());
        }
    }
}

TEST(ShowCli, UsageErrorsAndFailures) {
    test::TempDir dir;
    const std::string project = MakeProject(dir);
    const std::string qm = BinPath("qm7100");
    EXPECT_EQ(RunProcess(qm, {"show", project, "0", "levels"}).exitCode, 2);
    EXPECT_EQ(RunProcess(qm, {"show", project, "2", "level"}).exitCode, 2);
    EXPECT_EQ(RunProcess(qm, {"show", project, "-1", "level"}).exitCode, 2);
    EXPECT_EQ(RunProcess(qm, {"show", project, "x", "level"}).exitCode, 2);
    EXPECT_EQ(RunProcess(qm, {"show", project, "0", "tilt", "--marker", "1.5"}).exitCode, 2);
    EXPECT_EQ(RunProcess(qm, {"show", project, "0", "tilt", "--marker"}).exitCode, 2);
    EXPECT_EQ(RunProcess(qm, {"show", project, "0"}).exitCode, 2);
    EXPECT_EQ(RunProcess(qm, {"export", project, "0", "tilt"}).exitCode, 2);
    EXPECT_EQ(RunProcess(qm, {"export", project, "0", "tilt", "a.csv", "b"}).exitCode, 2);

    auto missing = RunProcess(qm, {"show", dir.File("none.f71"), "0", "level"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.empty());
    EXPECT_TRUE(missing.out.empty());
    auto unwritable =
        RunProcess(qm, {"export", project, "0", "level", dir.File("no/such/dir/out.csv")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_FALSE(unwritable.err.empty());
}

} // namespace
} // namespace qm
