// The upload, end to end against the simulator.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "app/ProjectFile.h"
#include "link/cnComm.h"
#include "measurement/SampleGenerator.h"
#include "operations/UploadOperation.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::SimProcess;

class Upload : public ::testing::Test {
protected:
    // A project of count sample files of the kind, for the simulator to serve.
    std::string Project(int kind, int count) {
        const std::string path = dir.File("meter.f71");
        served = MakeSampleSet(kind, count);
        EXPECT_EQ(SaveProject(path, served), ProjectStatus::Ok);
        return path;
    }
    UploadResult Run(const SimProcess& sim) {
        return RunUpload(port, ConnectTarget::Direct(sim.Path(), "4000000"), collection,
                         [&](int position, int range) { steps.emplace_back(position, range); });
    }

    test::TempDir dir;
    std::vector<_tagFileDataExt> served;
    cnComm port;
    CFileCollection collection;
    std::vector<std::pair<int, int>> steps;
};

TEST_F(Upload, CompactMeterFilesKeep9238BytesAndTheRestZero) {
    SimProcess sim({"--model", "7100B", "--files", Project(0, 2), "--baud", "4000000"});
    collection.Append(MakeSampleMeasurement(1, 0, "OLD"));
    const UploadResult r = Run(sim);
    EXPECT_TRUE(r.outcome.ok);
    EXPECT_TRUE(r.outcome.messages.empty());
    EXPECT_EQ(r.model, "7100B");
    EXPECT_EQ(r.fileCount, 2);
    ASSERT_EQ(collection.Count(), 2u) << "the earlier collection is replaced";
    for (std::size_t i = 0; i < 2; ++i) {
        const _tagFileDataExt e = *collection.At(i);
        EXPECT_EQ(e.kind, 0);
        EXPECT_TRUE(std::equal(e.file.begin(), e.file.begin() + 9238, served[i].file.begin()));
        EXPECT_TRUE(std::all_of(e.file.begin() + 9238, e.file.end(),
                                [](std::uint8_t b) { return b == 0; }));
    }
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 2}}));
}

TEST_F(Upload, ExtendedMeterFilesAreWhole) {
    SimProcess sim({"--model", "7100T2", "--files", Project(2, 1), "--baud", "4000000"});
    const UploadResult r = Run(sim);
    EXPECT_TRUE(r.outcome.ok);
    EXPECT_EQ(r.kind, 2);
    ASSERT_EQ(collection.Count(), 1u);
    EXPECT_EQ(std::memcmp(collection.At(0)->Bytes(), served[0].Bytes(), kElementSize), 0);
}

TEST_F(Upload, NoConnectionKeepsThePreviousCollection) {
    collection.Append(MakeSampleMeasurement(1, 0, "OLD"));
    const UploadResult r =
        RunUpload(port, ConnectTarget::Direct(dir.File("no-such-tty"), "115200"), collection);
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_FALSE(r.connected);
    EXPECT_EQ(r.outcome.messages, (std::vector<OperationMessage>{{5650, MessageKind::Plain}}));
    EXPECT_EQ(collection.Count(), 1u);
    // "Port" 300 means no port at all.
    EXPECT_EQ(
        RunUpload(port, ConnectTarget::Direct("300", "115200"), collection).outcome.MessageId(),
        5650);
}

TEST_F(Upload, AFailedReadKeepsTheFilesBeforeIt) {
    // Kind 0 files take 145 blocks: the 300th block request is in the third file.
    SimProcess sim({"--model", "7100Q", "--files", Project(0, 3), "--baud", "4000000", "--fault",
                    "bad-check=300:6B"});
    const UploadResult r = Run(sim);
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(r.outcome.messages, (std::vector<OperationMessage>{{5672, MessageKind::Plain}}));
    EXPECT_EQ(r.outcome.detail, "the reply's check byte is wrong (command 6B, 72 of 72 bytes)");
    EXPECT_FALSE(r.outcome.cancelled);
    ASSERT_EQ(collection.Count(), 2u);
    const _tagFileDataExt second = *collection.At(1);
    EXPECT_TRUE(
        std::equal(second.file.begin(), second.file.begin() + 9238, served[1].file.begin()));
}

TEST_F(Upload, AStopMidFileEndsWithThatRequestAndKeepsTheFilesBeforeIt) {
    const std::string log = dir.File("sim.log");
    SimProcess sim(
        {"--model", "7100Q", "--files", Project(0, 3), "--baud", "4000000", "--log", log});
    // The stop comes as the 300th block request (in the third file) goes out: its reply is
    // not waited for and nothing is sent after it.
    int blockRequests = 0;
    port.SetTrace([&](cnComm::Direction direction, std::span<const std::uint8_t> bytes) {
        if (direction == cnComm::Direction::Sent && bytes.size() > 4 && bytes[4] == 0x6B &&
            ++blockRequests == 300)
            port.RequestStop();
    });
    const UploadResult r = Run(sim);
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_TRUE(r.outcome.cancelled);
    EXPECT_TRUE(r.outcome.messages.empty()) << "a cancel is no failure to show";
    EXPECT_EQ(r.outcome.detail, "cancelled");
    ASSERT_EQ(collection.Count(), 2u);
    const _tagFileDataExt second = *collection.At(1);
    EXPECT_TRUE(
        std::equal(second.file.begin(), second.file.begin() + 9238, served[1].file.begin()));
    // The last request can still be on its way to the simulator when the upload returns: give
    // it time to arrive before the simulator is stopped, then count what it received.
    const auto blockRequestsLogged = [&] {
        const std::vector<int> codes = test::LoggedCodes(log);
        return std::count(codes.begin(), codes.end(), 0x6B);
    };
    for (int i = 0; i < 500 && blockRequestsLogged() < 300; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    sim.Stop();
    const std::vector<std::string> frames = test::LoggedFrames(log);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(test::LoggedCode(frames.back()), 0x6B);
    EXPECT_EQ(std::count_if(frames.begin(), frames.end(),
                            [](const std::string& f) { return test::LoggedCode(f) == 0x6B; }),
              300);
}

TEST_F(Upload, EmptyMeterAndUnreadableCount) {
    {
        SimProcess sim({"--count", "0"});
        collection.Append(MakeSampleMeasurement(1, 0, "OLD"));
        const UploadResult r = Run(sim);
        EXPECT_TRUE(r.outcome.ok);
        EXPECT_TRUE(r.outcome.messages.empty());
        EXPECT_TRUE(collection.Empty()) << "a successful connect discards the files loaded before";
    }
    {
        SimProcess sim({"--count", "2", "--fault", "bad-check=1:6A"});
        collection.Append(MakeSampleMeasurement(1, 0, "OLD"));
        const UploadResult r = Run(sim);
        EXPECT_FALSE(r.outcome.ok);
        EXPECT_TRUE(r.outcome.messages.empty()) << "no message, as the desktop program shows none";
        EXPECT_FALSE(r.outcome.detail.empty());
        EXPECT_EQ(r.fileCount, -1);
        EXPECT_TRUE(collection.Empty());
        EXPECT_FALSE(r.ReplacesLoaded()) << "nothing read to take the place of the files loaded";
    }
    {
        SimProcess sim({"--count", "2", "--fault", "bad-check=1:6B"});
        const UploadResult r = Run(sim);
        EXPECT_FALSE(r.ReplacesLoaded()) << "the first file failed";
    }
}

} // namespace
} // namespace qm
