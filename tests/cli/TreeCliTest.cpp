#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace qm {
namespace {

using test::BinPath;
using test::RunProcess;
using test::SourcePath;

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

} // namespace
} // namespace qm
