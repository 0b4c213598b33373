// The meter commands of qm7100 against the simulator.
#include <algorithm>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/IniFile.h"
#include "app/ProjectFile.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

extern char** environ;

namespace qm {
namespace {

// Runs qm7100 with its stderr on a pseudo-terminal and returns what it wrote there.
std::string StderrOnATerminal(std::vector<std::string> args) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return "no terminal";
    const std::string slave = ::ptsname(master);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, slave.c_str(), O_RDWR | O_NOCTTY, 0);
    args.insert(args.begin(), test::BinPath("qm7100"));
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    std::string text;
    char buffer[512];
    for (;;) {
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0)
            break;
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            break; // EIO once the program has ended and closed the terminal
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::waitpid(pid, nullptr, 0);
    ::close(master);
    return text;
}

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
    // No progress line when stderr is not a terminal; the summary all the same.
    EXPECT_EQ(r.err.rfind("uploaded 2 files (21.2 kB) in ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    const ProcessResult tree = Run({"tree", out});
    EXPECT_EQ(tree.exitCode, 0);
    EXPECT_EQ(tree.out.substr(0, 10), "0\tFILE001\n");
    EXPECT_NE(tree.out.find("1\tFILE002\n"), std::string::npos);
}

TEST_F(MeterCli, ProgressBarOnATerminal) {
    SimProcess sim({"--model", "7100Q", "--count", "2", "--baud", "4000000"});
    const std::string text = StderrOnATerminal({"--settings", ini, "upload", dir.File("meter.f71"),
                                                "--port", sim.Path(), "--baud", "4000000"});
    EXPECT_NE(text.find("] 1/2"), std::string::npos) << text;
    EXPECT_NE(text.find("] 2/2 files"), std::string::npos) << text;
    EXPECT_NE(text.find("uploaded 2 files"), std::string::npos) << text;
}

TEST_F(MeterCli, UploadFailures) {
    const std::string out = dir.File("meter.f71");
    // Without --port the settings name the port: a --settings file that is not there is
    // reported; in one that configures no port, the connect fails and says why.
    ProcessResult r = Run({"upload", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qm7100: the settings file " + ini + " does not exist\n");
    IniFile(ini).Write("Connect Information", "Port", "300");
    r = Run({"upload", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Failed ! Please check the connection !\n"
                     "qm7100: no port is configured; give --port PORT\n");
    EXPECT_TRUE(test::ReadFile(out).empty()) << "nothing written";

    // The device tried and the system's reason on the second line.
    r = Run({"upload", out, "--port", dir.File("ttyUSB9")});
    EXPECT_EQ(r.err, "Failed ! Please check the connection !\nqm7100: " + dir.File("ttyUSB9") +
                         ": no such device (is the meter's cable plugged in?)\n");
    r = Run({"upload", out, "--port", ini});
    EXPECT_EQ(r.err,
              "Failed ! Please check the connection !\nqm7100: " + ini + ": not a terminal\n");
    for (const char* port : {"COM0", "COM999", "300", "x"})
        EXPECT_EQ(Run({"upload", out, "--port", port}).exitCode, 2) << port;

    // A missing folder fails before anything is sent to the meter.
    const std::string log = dir.File("frames.log");
    {
        SimProcess idle({"--log", log});
        r = Run({"upload", dir.File("no/such/dir/x.f71"), "--port", idle.Path()});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "qm7100: cannot write " + dir.File("no/such/dir/x.f71") +
                             ": No such file or directory\n");
        r = Run({"capture", dir.File("no/such/dir/x.bmp"), "--port", idle.Path()});
        EXPECT_EQ(r.exitCode, 1);
    }
    EXPECT_TRUE(test::LoggedFrames(log).empty());

    // An empty meter gives an empty project, said on stderr.
    {
        SimProcess empty({"--count", "0", "--baud", "4000000"});
        r = Run({"upload", out, "--port", empty.Path(), "--baud", "4000000"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.err.find("no measurement files"), std::string::npos) << r.err;
        EXPECT_EQ(LoadProject(out).status, ProjectStatus::Ok);
        EXPECT_TRUE(LoadProject(out).elements.empty());
    }

    // The second file's read fails: the first one is written all the same to a new project.
    const std::string fresh = dir.File("fresh.f71");
    SimProcess sim(
        {"--model", "7100Q", "--count", "3", "--baud", "4000000", "--fault", "bad-check=150:6B"});
    IniFile(ini).Write("Connect Information", "Port", sim.Path());
    IniFile(ini).Write("Connect Information", "Baud", "4000000");
    r = Run({"upload", fresh});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Failed to read CH data,please check the connection !\n"
                     "qm7100: the reply's check byte is wrong (command 6B, 72 of 72 bytes)\n");
    EXPECT_EQ(LoadProject(fresh).elements.size(), 1u);
}

TEST_F(MeterCli, AFailedUploadKeepsTheProjectAndWritesThePartOneBeside) {
    const std::string out = dir.File("site.f71"), partial = dir.File("site.partial.f71");
    test::WriteFile(out, "a project of the user's, not even a valid one");
    // Kind 0 files take 145 blocks: the line drops during the third file.
    SimProcess sim(
        {"--model", "7100Q", "--count", "8", "--baud", "4000000", "--fault", "hangup=291:6B"});
    ProcessResult r = Run({"upload", out, "--port", sim.Path(), "--baud", "4000000"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(test::ReadFile(out), "a project of the user's, not even a valid one");
    EXPECT_EQ(LoadProject(partial).elements.size(), 2u);
    EXPECT_EQ(r.err, "Failed to read CH data,please check the connection !\n"
                     "qm7100: the line hung up (command 6B, 0 of 72 bytes)\nqm7100: " +
                         out + " was left as it was; the 2 of 8 files read were written to " +
                         partial + "\n");

    // A folder that is not there fails before any transfer (the port is dead by now).
    r = Run({"upload", dir.File("none/site.f71"), "--port", sim.Path()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qm7100: cannot write " + dir.File("none/site.f71") +
                         ": No such file or directory\n");
}

// Ctrl-C during an upload: the operation stops, the command says so and exits as interrupted,
// and the file already there stays as it was.
TEST_F(MeterCli, CtrlCCancelsAnUploadAndWritesNothing) {
    const std::string log = dir.File("sim.log"), out = dir.File("meter.f71"),
                      err = dir.File("err.txt");
    test::WriteFile(out, "old");
    SimProcess sim({"--count", "20", "--baud", "9600", "--log", log});
    std::vector<std::string> args = {BinPath("qm7100"), "--settings", ini,      "upload", out,
                                     "--port",          sim.Path(),   "--baud", "9600"};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    ASSERT_EQ(::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    // Well into the first file.
    for (int i = 0; i < 10000 && test::LoggedFrames(log).size() < 10; ++i)
        ::usleep(1000);
    ::kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(test::ReadFile(err), "qm7100: cancelled\n");
    EXPECT_EQ(test::ReadFile(out), "old");
}

TEST_F(MeterCli, TracePrintsTheFramesTheSimulatorLogs) {
    const std::string log = dir.File("sim.log");
    SimProcess sim({"--model", "7100T2", "--count", "2", "--baud", "4000000", "--log", log});
    const ProcessResult r = Run(
        {"--trace", "upload", dir.File("meter.f71"), "--port", sim.Path(), "--baud", "4000000"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    sim.Stop();
    // The frames, then the upload's summary line.
    const std::string trace = test::ReadFile(log);
    EXPECT_GT(trace.size(), 1000u);
    EXPECT_EQ(r.err.substr(0, trace.size()), trace);
    EXPECT_EQ(r.err.substr(trace.size(), 17), "uploaded 2 files ");
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
    EXPECT_EQ(r.err, "Failed to setup temperature unit!\n"
                     "qm7100: the reply's check byte is wrong (command 18, 7 of 7 bytes)\n");
    EXPECT_EQ(IniFile(ini).Read("General", "LevelUnit", ""), "dBmV");
    EXPECT_EQ(IniFile(ini).Read("General", "TemperatureUnit", "C"), "C");
}

} // namespace
} // namespace qm
