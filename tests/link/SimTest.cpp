// The meter simulator seen through the program's own link, over its pseudo-terminal.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "channels/ChannelPlanFile.h"
#include "link/FrameProtocol.h"
#include "link/MeterCommands.h"
#include "link/cnComm.h"
#include "measurement/MeterKind.h"
#include "operations/SilentConnect.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::LoggedFrames;
using test::SimProcess;

bool Connect(cnComm& port, const SimProcess& sim, const char* baud = "115200") {
    return SilentConnect(port, sim.Path(), baud);
}

TEST(Sim, AnswersAsEachModelAndSurvivesReopening) {
    const std::pair<const char*, int> models[] = {{"7100Q", 0}, {"7100D", 1}, {"7100T2", 2}};
    for (const auto& [model, kind] : models) {
        SimProcess sim({"--model", model, "--count", "3", "--baud", "4000000"});
        ASSERT_FALSE(sim.Path().empty());
        cnComm port;
        for (int round = 0; round < 2; ++round) { // the second connect closes and reopens
            ASSERT_TRUE(Connect(port, sim, "4000000")) << model;
            EXPECT_EQ(ReadModel(port), model);
            EXPECT_EQ(ReadFileCount(port), 3);
            const auto file = ReadMeasurementFile(port, 2, kind);
            ASSERT_TRUE(file.has_value());
            EXPECT_EQ(file->size(), kind == 0 ? 9238u : 10598u);
            EXPECT_TRUE(Release(port));
        }
    }
}

TEST(Sim, LinksLogsAndStopsCleanly) {
    test::TempDir dir;
    const std::string link = dir.File("ttyQM"), log = dir.File("frames.log");
    SimProcess sim({"--link", link, "--log", log, "--count", "0"});
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), sim.Path());

    cnComm port;
    ASSERT_TRUE(SilentConnect(port, link, "115200"));
    EXPECT_EQ(ReadFileCount(port), 0);
    const std::vector<std::uint8_t> late = CommandBlock(kCmdSetLevelUnit, {7}); // out of range
    std::vector<std::uint8_t> reply(7);
    port.Timings().replyLimitMs = 200;
    EXPECT_FALSE(Exchange(port, late, reply)) << "a meter stays silent on a value it does not know";
    port.Close();

    EXPECT_EQ(sim.Stop(), 0);
    struct stat st {};
    EXPECT_NE(::lstat(link.c_str(), &st), 0) << "the link goes with the simulator";
    const auto frames = LoggedFrames(log);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], "55 AA 01 06 2B CF");
    EXPECT_EQ(frames[1], "55 AA 01 06 6A 90");
}

TEST(Sim, RefusesBadOptions) {
    EXPECT_EQ(test::RunProcess(test::BinPath("qm7100-sim"), {"--model", "7200X"}).exitCode, 2);
    EXPECT_EQ(test::RunProcess(test::BinPath("qm7100-sim"), {"--fault", "explode=1"}).exitCode, 2);
    EXPECT_EQ(test::RunProcess(test::BinPath("qm7100-sim"), {"--plan", "F=x.f71CH"}).exitCode, 2);
    // A plan for another meter kind cannot be put in a slot.
    test::TempDir dir;
    const std::string plan = dir.File("t2.f71CH");
    ASSERT_EQ(SaveChannelPlanFile(plan, 2, std::vector<CommonChannel>(5)), PlanFileStatus::Ok);
    const auto r =
        test::RunProcess(test::BinPath("qm7100-sim"), {"--model", "7100T", "--plan", "A=" + plan});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("kind 2"), std::string::npos) << r.err;
}

TEST(Sim, InjectedFaultsFailTheExchangeTheyHit) {
    // Request 2 is the file count after the handshake.
    struct Case {
        const char* fault;
        bool needsLimit; // fails only when the reply time is up
        LinkFailure reason;
        std::size_t got; // of the 8 bytes of the reply
    };
    const Case cases[] = {{"bad-check=2", false, LinkFailure::BadCheck, 8},
                          {"stray-byte=2", false, LinkFailure::ReplyTooLong, 9},
                          {"short=2", true, LinkFailure::TimedOut, 7},
                          {"no-reply=2", true, LinkFailure::TimedOut, 0}};
    for (const Case& c : cases) {
        SimProcess sim({"--fault", c.fault, "--count", "5"});
        cnComm port;
        port.Timings().replyLimitMs = 300;
        ASSERT_TRUE(Connect(port, sim)) << c.fault;
        EXPECT_EQ(ReadFileCount(port), -1) << c.fault;
        EXPECT_EQ(port.LastError().reason, c.reason) << c.fault;
        EXPECT_EQ(port.LastError().code, 0x6A) << c.fault;
        EXPECT_EQ(port.LastError().got, c.got) << c.fault;
        EXPECT_EQ(port.LastError().wanted, 8u) << c.fault;
        EXPECT_EQ(ReadFileCount(port), 5) << c.fault << ": the next request is answered again";
    }
    // A fault for the K-th request of one command.
    SimProcess sim({"--fault", "bad-check=2:6A", "--count", "5"});
    cnComm port;
    ASSERT_TRUE(Connect(port, sim));
    EXPECT_EQ(ReadFileCount(port), 5);
    EXPECT_EQ(ReadFileCount(port), -1);
}

// Replies held by a modelled adapter's latency timer still arrive whole and in order (what the
// timer costs is measured by bench_upload).
TEST(Sim, AdapterLatencyKeepsRepliesWhole) {
    SimProcess sim({"--model", "7100Q", "--count", "2", "--latency-ms", "16"});
    cnComm port;
    ASSERT_TRUE(Connect(port, sim));
    EXPECT_EQ(ReadModel(port), "7100Q");
    EXPECT_EQ(ReadFileCount(port), 2);
    const auto file = ReadMeasurementFile(port, 1, 0);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), KindFileSize(0));
    EXPECT_EQ(test::RunProcess(test::BinPath("qm7100-sim"), {"--latency-ms", "x"}).exitCode, 2);
}

TEST(Sim, HangupEndsTheLine) {
    SimProcess sim({"--fault", "hangup=2"});
    cnComm port;
    port.Timings().replyLimitMs = 2000;
    ASSERT_TRUE(Connect(port, sim));
    EXPECT_EQ(ReadModel(port), "Wrong");
    EXPECT_EQ(port.LastError().reason, LinkFailure::HungUp);
    EXPECT_EQ(sim.Stop(), 0);
}

TEST(Sim, ScreenBlocksInAnyOrderGiveTheSamePicture) {
    SimProcess ordered({"--baud", "4000000"}),
        scrambled({"--baud", "4000000", "--screen-scrambled"});
    cnComm a, b;
    // The port sleeps through the rest of a reply at its own rate: give it the simulator's.
    ASSERT_TRUE(Connect(a, ordered, "4000000"));
    ASSERT_TRUE(Connect(b, scrambled, "4000000"));
    int last = -1, range = -1;
    const auto first = ReadScreen(a, [&](int position, int count) {
        last = position;
        range = count;
    });
    const auto second = ReadScreen(b);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->size(), 230400u);
    EXPECT_EQ(last, 60);
    EXPECT_EQ(range, 60);
    // The bottom rows (the status lines) carry the clock only in the title bar at the top, so
    // the two pictures may differ there when the minute turns; compare the rest.
    const std::size_t titleRows = 16 * 960;
    EXPECT_TRUE(std::equal(first->begin(), first->end() - titleRows, second->begin()));

    // The screen shows what the meter was told since: another level unit, another picture;
    // and back to the first unit, the first picture again.
    ASSERT_TRUE(SetLevelUnit(a, 2));
    const auto dbm = ReadScreen(a);
    ASSERT_TRUE(SetLevelUnit(a, 0));
    const auto again = ReadScreen(a);
    ASSERT_TRUE(dbm && again);
    EXPECT_FALSE(std::equal(dbm->begin(), dbm->end() - titleRows, first->begin()));
    EXPECT_TRUE(std::equal(again->begin(), again->end() - titleRows, first->begin()));
}

} // namespace
} // namespace qm
