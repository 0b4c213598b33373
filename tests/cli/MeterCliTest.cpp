// The meter commands of qm7100 against the simulator.
#include <gtest/gtest.h>

#include "app/IniFile.h"
#include "app/ProjectFile.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::BinPath;
using test::ProcessResult;
using test::SimProcess;

class MeterCli : public ::testing::Test {
protected:
    ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", ini});
        return test::RunProcess(BinPath("qm7100"), args);
    }

    test::TempDir dir;
    std::string ini = dir.File("setup.ini");
};

TEST_F(MeterCli, UploadThenTree) {
    SimProcess sim({"--model", "7100Q", "--count", "2", "--baud", "4000000"});
    const std::string out = dir.File("meter.f71");
    const ProcessResult r = Run({"upload", out, "--port", sim.Path(), "--baud", "4000000"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(r.err.empty()) << "no progress bar when stderr is not a terminal";
    const ProcessResult tree = Run({"tree", out});
    EXPECT_EQ(tree.exitCode, 0);
    EXPECT_EQ(tree.out.substr(0, 10), "0\tFILE001\n");
    EXPECT_NE(tree.out.find("1\tFILE002\n"), std::string::npos);
}

TEST_F(MeterCli, UploadFailures) {
    const std::string out = dir.File("meter.f71");
    // Without --port the settings name the port; none is configured.
    ProcessResult r = Run({"upload", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Failed ! Please check the connection !\n");
    EXPECT_TRUE(test::ReadFile(out).empty()) << "nothing written";

    // The second file's read fails: the first one is written all the same.
    SimProcess sim(
        {"--model", "7100Q", "--count", "3", "--baud", "4000000", "--fault", "bad-check=150:6B"});
    IniFile(ini).Write("Connect Information", "Port", sim.Path());
    IniFile(ini).Write("Connect Information", "Baud", "4000000");
    r = Run({"upload", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Failed to read CH data,please check the connection !\n");
    EXPECT_EQ(LoadProject(out).elements.size(), 1u);
}

TEST_F(MeterCli, PlanReadAndWrite) {
    SimProcess sim({"--model", "7100T2"});
    const std::string a = dir.File("a.f71CH"), d = dir.File("d.f71CH");
    ProcessResult r = Run({"plan", "read", "D", d, "--port", sim.Path()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "CH plan is null !\n");
    r = Run({"plan", "read", "A", a, "--port", sim.Path()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Run({"plan", "write", "d", a, "--port", sim.Path()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Run({"plan", "read", "D", d, "--port", sim.Path()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::ReadFile(d), test::ReadFile(a));

    EXPECT_EQ(Run({"plan", "read", "F", d, "--port", sim.Path()}).exitCode, 2);
    r = Run({"plan", "write", "A", dir.File("none.f71CH"), "--port", sim.Path()});
    EXPECT_EQ(r.exitCode, 1);
}

TEST_F(MeterCli, Capture) {
    SimProcess sim({"--baud", "4000000"});
    const std::string out = dir.File("screen.bmp");
    const ProcessResult r = Run({"capture", out, "--port", sim.Path(), "--baud", "4000000"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::ReadFile(out).size(), 230454u);
}

TEST_F(MeterCli, Setup) {
    const std::string log = dir.File("frames.log");
    SimProcess sim({"--log", log});
    ProcessResult r =
        Run({"setup", "--level-unit", "dBm", "--temp-unit", "F", "--shutdown", "10",
             "--date-format", "D/M/Y", "--time", "2011-08-15 12:00:00", "--port", sim.Path()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto frames = test::LoggedFrames(log);
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[1].substr(0, 17), "55 AA 01 07 16 02");
    EXPECT_EQ(frames[3].substr(0, 17), "55 AA 01 07 1E 02");
    EXPECT_EQ(frames[4].substr(0, 38), "55 AA 01 0D 1C 0C 00 00 0B 08 0F 01 A8");
    EXPECT_EQ(IniFile(ini).Read("General", "LevelUnit", ""), "dBm");
    EXPECT_EQ(IniFile(ini).Read("General", "TemperatureUnit", ""), "F");

    EXPECT_EQ(Run({"setup", "--time", "2011-02-29 12:00:00", "--port", sim.Path()}).exitCode, 2);
    EXPECT_EQ(Run({"setup", "--shutdown", "15", "--port", sim.Path()}).exitCode, 2);
}

TEST_F(MeterCli, SetupWithARejectedTemperatureUnit) {
    SimProcess sim({"--fault", "bad-check=1:18"});
    IniFile(ini).Write("General", "LevelUnit", "dBuV");
    const ProcessResult r =
        Run({"setup", "--level-unit", "dBmV", "--temp-unit", "F", "--port", sim.Path()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Failed to setup temperature unit!\n");
    EXPECT_EQ(IniFile(ini).Read("General", "LevelUnit", ""), "dBmV");
    EXPECT_EQ(IniFile(ini).Read("General", "TemperatureUnit", "C"), "C");
}

} // namespace
} // namespace qm
