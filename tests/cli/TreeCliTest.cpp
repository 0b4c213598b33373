#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ProgramVersion.h"
#include "app/ProjectFile.h"
#include "channels/ChannelPlanFile.h"
#include "cli/Cli.h"
#include "measurement/SampleGenerator.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::BinPath;
using test::RunProcess;
using test::SourcePath;

// The command line runs inside the calling program: everything goes to the streams given,
// and the exit status comes back.
TEST(CommandLine, RunsInProcessAndPrintsToItsStreams) {
    const std::string hint = "Try 'qm7100 --help' for more information.\n";
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string outStart, errEnd;
    };
    const Case cases[] = {
        {{"--version"}, 0, std::string("qm7100 ") + ProgramVersion(), ""},
        {{"frobnicate"}, 2, "", hint},
        {{"--settings", "", "tree", "x.f71"}, 2, "", hint}, // an empty name is no file
        {{"tree", SourcePath("samples/none.f71")}, 1, "", ""},
        {{"--lang", "zh", "--help"}, 0, "用法", ""},
    };
    for (const Case& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(cli::RunCommandLine(c.args, out, err), c.exitCode) << c.args[0];
        EXPECT_TRUE(out.str().starts_with(c.outStart)) << c.args[0] << ": " << out.str();
        EXPECT_TRUE(err.str().ends_with(c.errEnd)) << c.args[0] << ": " << err.str();
    }
}

TEST(TreeCli, PrintsTheSampleTree) {
    auto r = RunProcess(BinPath("qm7100"), {"tree", SourcePath("samples/sample.f71")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 30), "0\tCABLE01\n\t500\tLevel Analysis\n");
    EXPECT_NE(r.out.find("2\tT2MUX01\n\t500\tLevel Analysis\n\t600\tTilt Analysis\n"),
              std::string::npos);

    auto zh =
        RunProcess(BinPath("qm7100"), {"--lang", "zh", "tree", SourcePath("samples/sample.f71")});
    ASSERT_EQ(zh.exitCode, 0);
    EXPECT_EQ(zh.out.find("Level Analysis"), std::string::npos);
}

TEST(TreeCli, ACutProjectIsReadAsFarAsItGoesWithItsIncompleteFileMarked) {
    test::TempDir dir;
    const std::string cut = dir.File("half.f71");
    ASSERT_EQ(
        SaveProject(cut, {MakeSampleMeasurement(2, 0, "WHOLE"), MakeSampleMeasurement(2, 1, "CUT"),
                          MakeSampleMeasurement(2, 2, "GONE")}),
        ProjectStatus::Ok);
    test::WriteFile(cut, test::ReadFile(cut).substr(0, 15902));
    auto tree = RunProcess(BinPath("qm7100"), {"tree", cut});
    EXPECT_EQ(tree.err, "qm7100: " + cut +
                            ": the file is cut short; incomplete measurement files "
                            "(shown as far as they were read): 1 'CUT'\nqm7100: " +
                            cut + ": measurement files announced but missing: 1\n");
    EXPECT_NE(tree.out.find("0\tWHOLE\n"), std::string::npos) << tree.out;
    EXPECT_NE(tree.out.find("1\tCUT (incomplete)\n"), std::string::npos) << tree.out;
    auto json = RunProcess(BinPath("qm7100"), {"tree", "--json", cut});
    EXPECT_NE(json.out.find("\"CUT (incomplete)\",\"incomplete\":true"), std::string::npos);
}

TEST(TreeCli, FailuresAndUsage) {
    test::TempDir dir;
    auto missing = RunProcess(BinPath("qm7100"), {"tree", dir.File("none.f71")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.empty());
    EXPECT_TRUE(missing.out.empty());
    EXPECT_EQ(RunProcess(BinPath("qm7100"), {"tree"}).exitCode, 2);
    EXPECT_EQ(RunProcess(BinPath("qm7100"), {"frobnicate"}).exitCode, 2);
    EXPECT_EQ(RunProcess(BinPath("qm7100"), {"--lang", "fr", "tree", "x"}).exitCode, 2);
    auto help = RunProcess(BinPath("qm7100"), {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("qm7100 tree PROJECT.f71"), std::string::npos);
}

TEST(TreeCli, ControlCharactersInNamesKeepOneLinePerItem) {
    test::TempDir dir;
    const std::string project = dir.File("odd.f71");
    ASSERT_EQ(SaveProject(project, {MakeSampleMeasurement(0, 0, "A\rB\nC\tD"),
                                    MakeSampleMeasurement(1, 1,
                                                          std::string("E\x01"
                                                                      "F\x7f",
                                                                      4))}),
              ProjectStatus::Ok);
    auto r = RunProcess(BinPath("qm7100"), {"tree", project});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("0\tA\\rB\\nC\\tD\n\t500\t", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("1\tE\\x01F\\x7f\n"), std::string::npos) << r.out;
    const auto lines = std::count(r.out.begin(), r.out.end(), '\n');
    EXPECT_EQ(lines, 2 + 6 + 6) << "two files, six sections each";
    for (std::size_t start = 0; start < r.out.size();) {
        const std::size_t end = r.out.find('\n', start);
        const std::string line = r.out.substr(start, end - start);
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), line[0] == '\t' ? 2 : 1) << line;
        start = end + 1;
    }

    // show keeps the name on its line too; the CSV export keeps the bytes as it always wrote
    // them (its line feeds as CR LF).
    auto show = RunProcess(BinPath("qm7100"), {"show", project, "0", "scan"});
    EXPECT_NE(show.out.find("File Name\tA\\rB\\nC\\tD\n"), std::string::npos) << show.out;
    auto csv = RunProcess(BinPath("qm7100"), {"export", project, "0", "scan", "-"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_EQ(csv.out.rfind("A\rB\r\nC\tD", 0), 0u);
}

TEST(TreeCli, FilesOfTheOtherKindAreRefused) {
    test::TempDir dir;
    const std::string plan = dir.File("p.f71CH");
    CommonChannel record{};
    ASSERT_EQ(SaveChannelPlanFile(plan, 1, {record, record}), PlanFileStatus::Ok);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"tree", plan}, {"show", plan, "0", "level"}}) {
        auto r = RunProcess(BinPath("qm7100"), args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("is a channel-plan file"), std::string::npos) << r.err;
    }
    auto r = RunProcess(BinPath("qm7100"), {"plan", "show", SourcePath("samples/sample.f71")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.empty()) << "no kind 1279870466";
    EXPECT_NE(r.err.find("is a project file"), std::string::npos) << r.err;

    const std::string sample = SourcePath("samples/sample.f71");
    EXPECT_EQ(
        RunProcess(BinPath("qm7100"), {"chart", sample, "0", "scan", dir.File("x.jpg")}).exitCode,
        2);
    auto png = RunProcess(BinPath("qm7100"), {"chart", sample, "0", "scan", "-"});
    ASSERT_EQ(png.exitCode, 0) << png.err;
    EXPECT_EQ(png.out.substr(1, 3), "PNG");
}

TEST(TreeCli, VersionAndChineseUsage) {
    for (const char* program : {"qm7100", "qm7100-sim", "qm7100-samples"}) {
        auto r = RunProcess(BinPath(program), {"--version"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, std::string(program) + " " + ProgramVersion() + "\n");
    }
    auto help = RunProcess(BinPath("qm7100"), {"--lang", "zh", "--help"});
    EXPECT_NE(help.out.find("用法"), std::string::npos);
    auto usage = RunProcess(BinPath("qm7100"), {"--lang", "zh", "frobnicate"});
    EXPECT_EQ(usage.err, "qm7100: 未知命令“frobnicate”\n运行“qm7100 --help”查看用法。\n");
}

TEST(SamplesTool, KindsAndCountsAreChecked) {
    test::TempDir dir;
    const std::string out = dir.File("s.f71");
    for (const std::vector<std::string>& args : {std::vector<std::string>{out, "3", "1"},
                                                 {out, "0", "0"},
                                                 {out, "1", "100000"},
                                                 {out, "x", "1"},
                                                 {out, "0"}}) {
        EXPECT_EQ(RunProcess(BinPath("qm7100-samples"), args).exitCode, 2) << args[1];
    }
    EXPECT_TRUE(test::ReadFile(out).empty());
    ASSERT_EQ(RunProcess(BinPath("qm7100-samples"), {out, "2", "3", "0", "1"}).exitCode, 0);
    EXPECT_EQ(LoadProject(out).elements.size(), 4u);
}

} // namespace
} // namespace qm
