#include <gtest/gtest.h>

#include <sstream>

#include "channels/ChannelPlanFile.h"
#include "measurement/SampleGenerator.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::BinPath;
using test::RunProcess;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return cells;
        start = tab + 1;
    }
}

// The sample generator's plan of a kind, saved as a channel-plan file.
std::string WriteSamplePlan(const test::TempDir& dir, int kind) {
    std::vector<CommonChannel> records;
    for (const auto& entry : SamplePlanEntries(kind, 0))
        records.push_back(RecordFromEntry(kind, entry));
    const std::string path = dir.File("kind" + std::to_string(kind) + ".f71CH");
    EXPECT_EQ(SaveChannelPlanFile(path, kind, records), PlanFileStatus::Ok);
    return path;
}

// Row of the first channel of a signal type in `plan show` output (grid row, 0-based).
std::size_t FirstRowOfType(const std::vector<std::string>& lines, const std::string& type) {
    for (std::size_t i = 2; i < lines.size(); ++i) {
        if (Cells(lines[i])[3] == type)
            return i - 2;
    }
    ADD_FAILURE() << "no " << type << " row";
    return 0;
}

TEST(PlanCli, ShowsTheSamplePlansOfAllKinds) {
    test::TempDir dir;
    for (int kind : {0, 1, 2}) {
        const std::string path = WriteSamplePlan(dir, kind);
        auto r = RunProcess(BinPath("qm7100"), {"plan", "show", path});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const auto lines = Lines(r.out);
        ASSERT_GE(lines.size(), 7u);
        EXPECT_EQ(lines[0], "kind\t" + std::to_string(kind));
        const std::size_t columns = kind == 0 ? 11 : 16;
        const auto headings = Cells(lines[1]);
        ASSERT_EQ(headings.size(), columns);
        EXPECT_EQ(headings[4], "Freq");
        EXPECT_EQ(lines.size() - 2, SamplePlanEntries(kind, 0).size());
        for (std::size_t i = 2; i < lines.size(); ++i) {
            const auto cells = Cells(lines[i]);
            ASSERT_EQ(cells.size(), columns) << lines[i];
            EXPECT_EQ(cells[0], std::to_string(i - 1));
        }
        if (kind == 2)
            FirstRowOfType(lines, "DVB-T2");
        if (kind > 0)
            FirstRowOfType(lines, "DVB-T");
        FirstRowOfType(lines, "DVB-C");
    }
}

TEST(PlanCli, EditsFollowEachOtherAndReportMessages) {
    test::TempDir dir;
    const std::string path = WriteSamplePlan(dir, 0);
    const auto before = Lines(RunProcess(BinPath("qm7100"), {"plan", "show", path}).out);
    const std::string row = std::to_string(FirstRowOfType(before, "DVB-C"));
    const std::string out = dir.File("out.f71CH");

    // 256QAM then J83.B: column 10 reads the modulation from cell 8.
    auto r =
        RunProcess(BinPath("qm7100"), {"plan", "edit", path, row, "8", "256QAM", row, "10", "J83.B",
                                       row, "9", "7.0005", "0", "1", "300", "--output", out});
    EXPECT_EQ(r.exitCode, 4) << "some edits were refused";
    EXPECT_EQ(r.err, "error: 'RATE' should be from 2.000 MS/s to 7.000 MS/s !\n"
                     "error: 'EIA CH' should be from 0 to 255 !\n");
    EXPECT_EQ(r.out, "");
    const auto after = Lines(RunProcess(BinPath("qm7100"), {"plan", "show", out}).out);
    const auto cells = Cells(after[std::stoul(row) + 2]);
    EXPECT_EQ(cells[8], "256QAM");
    EXPECT_EQ(cells[9], "5.361");
    EXPECT_EQ(cells[10], "J83.B");
    EXPECT_EQ(test::ReadFile(path).size(), test::ReadFile(out).size());
    EXPECT_EQ(Lines(RunProcess(BinPath("qm7100"), {"plan", "show", path}).out), before);

    // Without --output the plan is written back; Chinese messages with --lang zh.
    auto zh = RunProcess(BinPath("qm7100"),
                         {"--lang", "zh", "plan", "edit", path, "0", "2", "abcd", "1", "6", "Y"});
    ASSERT_EQ(zh.exitCode, 4) << zh.err;
    EXPECT_EQ(zh.err.rfind("错误：", 0), 0u);
    EXPECT_EQ(zh.err.find("characters"), std::string::npos);
    r = RunProcess(BinPath("qm7100"), {"plan", "edit", path, "0", "2", "Q1"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Cells(Lines(RunProcess(BinPath("qm7100"), {"plan", "show", path}).out)[2])[2], " Q1");
}

TEST(PlanCli, EditsThatChangeNothingAreReportedAsIgnored) {
    test::TempDir dir;
    const std::string path = WriteSamplePlan(dir, 1);
    const auto before = Lines(RunProcess(BinPath("qm7100"), {"plan", "show", path}).out);
    const std::string row = std::to_string(FirstRowOfType(before, "DVB-C"));
    const std::string enable = Cells(before[std::stoul(row) + 2])[6];

    // "X" is no choice of Enable, "1024QAM" none of the DVB-C modes: the cells keep their
    // texts, the edits after them still apply and the plan is saved.
    auto r = RunProcess(BinPath("qm7100"), {"plan", "edit", path, row, "Enable", "X", row,
                                            "DVB-C Mode", "1024QAM", row, "Freq", "474.25MHz"});
    EXPECT_EQ(r.exitCode, 4);
    const auto lines = Lines(r.err);
    ASSERT_EQ(lines.size(), 2u) << r.err;
    EXPECT_EQ(lines[0], "ignored: " + row + " Enable 'X' is not one of Y, N");
    EXPECT_EQ(lines[1].rfind("ignored: " + row + " DVB-C Mode '1024QAM' is not one of ", 0), 0u);
    EXPECT_NE(lines[1].find("64QAM"), std::string::npos);
    auto after = Lines(RunProcess(BinPath("qm7100"), {"plan", "show", path}).out);
    EXPECT_EQ(Cells(after[std::stoul(row) + 2])[6], enable);
    EXPECT_EQ(Cells(after[std::stoul(row) + 2])[4], "474.25");

    // A refused edit gives the rule's own message; all applied gives 0 and nothing on stderr.
    r = RunProcess(BinPath("qm7100"), {"plan", "edit", path, row, "DVB-C SR", "9"});
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_EQ(r.err, "error: 'RATE' should be from 2.000 MS/s to 7.000 MS/s !\n");
    r = RunProcess(BinPath("qm7100"), {"plan", "edit", path, row, "Enable",
                                       enable == "Y" ? "N" : "Y", row, "9", "6.9"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(RunProcess(BinPath("qm7100"), {"plan", "edit", path, row, "Nope", "1"}).exitCode, 2);
}

TEST(PlanCli, UsageErrorsAndRefusedFiles) {
    test::TempDir dir;
    const std::string path = WriteSamplePlan(dir, 0);
    const std::string original = test::ReadFile(path);
    const auto usage = [&](std::vector<std::string> args) {
        return RunProcess(BinPath("qm7100"), args).exitCode;
    };
    EXPECT_EQ(usage({"plan", "show"}), 2);
    EXPECT_EQ(usage({"plan", "edit", path}), 2);
    EXPECT_EQ(usage({"plan", "edit", path, "0", "1"}), 2);
    EXPECT_EQ(usage({"plan", "edit", path, "x", "1", "5"}), 2);
    EXPECT_EQ(usage({"plan", "edit", path, "0", "0", "5"}), 2);
    EXPECT_EQ(usage({"plan", "edit", path, "0", "16", "5"}), 2);
    EXPECT_EQ(usage({"plan", "edit", path, "0", "11", "QPSK"}), 2); // kind 0: 11 columns
    EXPECT_EQ(usage({"plan", "edit", path, "999", "1", "5"}), 2);
    EXPECT_EQ(usage({"plan", "edit", path, "0", "1", "5", "--output"}), 2);
    EXPECT_EQ(test::ReadFile(path), original);

    test::WriteFile(dir.File("bad.f71CH"), std::string("\x01\0\0\0\xC7\0\0\0\0\0\0\0", 12));
    auto bad = RunProcess(BinPath("qm7100"), {"plan", "show", dir.File("bad.f71CH")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_FALSE(bad.err.empty());
    EXPECT_TRUE(bad.out.empty());
    EXPECT_EQ(usage({"plan", "edit", dir.File("none.f71CH"), "0", "1", "5"}), 1);
}

} // namespace
} // namespace qm
