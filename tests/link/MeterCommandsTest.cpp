#include <gtest/gtest.h>

#include <atomic>

#include "link/FrameProtocol.h"
#include "link/MeterCommands.h"
#include "link/cnComm.h"
#include "support/PtyPeer.h"

namespace qm {
namespace {

using test::Bytes;
using test::PtyPeer;
using test::ReplyFrame;

// Byte i of block b of a file transfer, recognisable wherever it lands.
std::uint8_t FileByte(int block, int i) {
    return static_cast<std::uint8_t>(block * 7 + i);
}

Bytes FileBlock(int blocks, int block) {
    Bytes data{static_cast<std::uint8_t>(blocks), 0};
    for (int i = 0; i < 64; ++i)
        data.push_back(FileByte(block, i));
    return ReplyFrame(kCmdReadFile, data, 72);
}

Bytes Entry(std::size_t size, int channel) {
    Bytes e(size);
    for (std::size_t i = 0; i < size; ++i)
        e[i] = static_cast<std::uint8_t>(channel * 16 + i);
    return e;
}

Bytes ScreenBlock(int count, int number) {
    Bytes data{0, static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(number)};
    data.resize(3 + 3840, static_cast<std::uint8_t>(number));
    return ReplyFrame(kCmdReadScreen, data, 3849);
}

class MeterOverPty : public ::testing::Test {
protected:
    // Starts the scripted meter and opens the port on it, with a short reply limit so that a
    // request left unanswered fails quickly.
    void Start(PtyPeer::Script script) {
        peer = std::make_unique<PtyPeer>(std::move(script));
        port.Timings().replyLimitMs = 300;
        port.Timings().planFramePauseMs = 0;
        ASSERT_TRUE(port.OpenDevice(peer->SlavePath(), 115200));
    }

    std::unique_ptr<PtyPeer> peer;
    cnComm port;
};

TEST_F(MeterOverPty, ModelFileCountAndQueries) {
    Start([](const Bytes& request, int index) -> Bytes {
        switch (request[4]) {
        case kCmdReadModel:
            if (index == 0)
                return ReplyFrame(kCmdReadModel, {0x1B, 0xBC, 'T', '2'}, 11);
            return {};
        case kCmdFileCount:
            return ReplyFrame(kCmdFileCount, {0x01, 0x02}, 8);
        case kCmdSelectPlan:
            return ReplyFrame(kCmdSelectPlan, {static_cast<std::uint8_t>(request[5] == 2)}, 7);
        case kCmdQueryPlan:
            return ReplyFrame(kCmdQueryPlan, {3}, 7);
        default:
            return {};
        }
    });
    EXPECT_EQ(ReadModel(port), "7100T2");
    EXPECT_EQ(ReadModel(port), "Wrong");
    EXPECT_EQ(ReadFileCount(port), 258);
    EXPECT_EQ(SelectPlan(port, 2), 1);
    EXPECT_EQ(SelectPlan(port, 0), 0);
    EXPECT_EQ(SelectPlan(port, 5), -1);
    EXPECT_EQ(QueryCurrentPlan(port), 3);
    EXPECT_FALSE(Release(port)); // no reply
    EXPECT_EQ(peer->Requests().size(), 7u);
}

TEST_F(MeterOverPty, KindZeroFileKeepsItsSizeAndDropsSurplusBlocks) {
    Start([](const Bytes& request, int index) {
        if (index == 0)
            EXPECT_EQ(request, BuildFrame(CommandBlock(kCmdReadFile, {4})));
        else
            EXPECT_EQ(request, BuildFrame(CommandBlock(kCmdReadFile)));
        return FileBlock(150, index);
    });
    const auto file = ReadMeasurementFile(port, 4, 0);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->size(), 9238u);
    EXPECT_EQ((*file)[0], FileByte(0, 0));
    EXPECT_EQ((*file)[64 * 100 + 5], FileByte(100, 5));
    EXPECT_EQ((*file)[9237], FileByte(144, 9237 - 64 * 144));
    // Every announced block was fetched.
    EXPECT_EQ(peer->Requests().size(), 150u);
}

TEST_F(MeterOverPty, ExtendedFileNeedsAllItsBlocks) {
    std::atomic<int> announced{166};
    Start([&](const Bytes& request, int) {
        static int block = 0;
        if (request[3] == 7)
            block = 0;
        return FileBlock(announced, block++);
    });
    const auto file = ReadMeasurementFile(port, 0, 2);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), 10598u);
    EXPECT_EQ((*file)[10597], FileByte(165, 10597 - 64 * 165));
    // Fewer blocks than the file needs: nothing is made up.
    announced = 165;
    EXPECT_FALSE(ReadMeasurementFile(port, 0, 1));
    announced = 0;
    EXPECT_FALSE(ReadMeasurementFile(port, 0, 1));
    // Files the request cannot address, kinds the link does not know: nothing is sent.
    const std::size_t sent = peer->Requests().size();
    EXPECT_FALSE(ReadMeasurementFile(port, 256, 0));
    EXPECT_FALSE(ReadMeasurementFile(port, 0, 3));
    EXPECT_EQ(peer->Requests().size(), sent);
}

TEST_F(MeterOverPty, FileReadFailsWhenABlockIsNotAnswered) {
    Start([](const Bytes&, int index) { return index == 20 ? Bytes{} : FileBlock(145, index); });
    EXPECT_FALSE(ReadMeasurementFile(port, 0, 0));
    EXPECT_EQ(peer->Requests().size(), 21u);
}

TEST_F(MeterOverPty, FiveChannelsGoInTwoFramesAndThreeAreRefused) {
    Start([](const Bytes&, int) { return ReplyFrame(kCmdPlanWrite, {}, 6); });
    std::vector<PlanEntry> plan;
    for (int c = 0; c < 5; ++c)
        plan.push_back(Entry(20, c));
    ASSERT_TRUE(WriteChannelPlan(port, 0, plan, 3));
    const auto requests = peer->Requests();
    ASSERT_EQ(requests.size(), 2u);
    const Bytes& first = requests[0];
    ASSERT_EQ(first.size(), 90u);
    EXPECT_EQ(Bytes(first.begin() + 3, first.begin() + 9), (Bytes{90, kCmdPlanWrite, 2, 1, 5, 3}));
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(Bytes(first.begin() + 9 + c * 20, first.begin() + 29 + c * 20), plan[c]);
    const Bytes& second = requests[1];
    ASSERT_EQ(second.size(), 88u);
    EXPECT_EQ(Bytes(second.begin() + 3, second.begin() + 7), (Bytes{88, kCmdPlanWrite, 2, 2}));
    EXPECT_EQ(Bytes(second.begin() + 7, second.begin() + 27), plan[4]);
    // The unused places keep what the frame before had there.
    for (int c = 1; c < 4; ++c)
        EXPECT_EQ(Bytes(second.begin() + 7 + c * 20, second.begin() + 27 + c * 20), plan[c]);

    plan.resize(3);
    EXPECT_FALSE(WriteChannelPlan(port, 0, plan, 3));
    plan.push_back(Entry(28, 3)); // one entry of the other layout
    EXPECT_FALSE(WriteChannelPlan(port, 0, plan, 3));
    EXPECT_EQ(peer->Requests().size(), 2u);
}

TEST_F(MeterOverPty, ExtendedPlanWritePaddingAndAFailedFrame) {
    std::atomic<int> answer{3};
    Start([&](const Bytes&, int index) {
        return index < answer ? ReplyFrame(kCmdPlanWrite, {}, 6) : Bytes{};
    });
    std::vector<PlanEntry> plan;
    for (int c = 0; c < 9; ++c)
        plan.push_back(Entry(28, c));
    ASSERT_TRUE(WriteChannelPlan(port, 1, plan, 0));
    auto requests = peer->Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].size(), 122u);
    const Bytes& last = requests[2];
    ASSERT_EQ(last.size(), 120u);
    EXPECT_EQ(last[5], 3);
    EXPECT_EQ(last[6], 3);
    EXPECT_EQ(Bytes(last.begin() + 7, last.begin() + 35), plan[8]);
    for (int c = 1; c < 4; ++c)
        EXPECT_EQ(Bytes(last.begin() + 7 + c * 28, last.begin() + 35 + c * 28), plan[4 + c]);
    // The meter stops answering after the first frame: the write fails there.
    answer = 4;
    EXPECT_FALSE(WriteChannelPlan(port, 1, plan, 0));
    EXPECT_EQ(peer->Requests().size(), 5u);
}

TEST_F(MeterOverPty, PlanReadTakesWhatTheLastFrameHoldsAndKeepsEntriesOnFailure) {
    std::atomic<int> channels{6};
    std::atomic<int> frames{2};
    std::atomic<bool> failThird{false};
    Start([&](const Bytes& request, int) -> Bytes {
        static int frame = 0;
        const bool firstFrame = request[3] == 7;
        frame = firstFrame ? 1 : frame + 1;
        if (failThird && frame == 3)
            return {};
        Bytes data;
        if (firstFrame)
            data = {static_cast<std::uint8_t>(frames), 0, static_cast<std::uint8_t>(channels), 0};
        else
            data = {0, 0};
        for (int c = 0; c < 4; ++c) {
            const Bytes e = Entry(28, (frame - 1) * 4 + c);
            data.insert(data.end(), e.begin(), e.end());
        }
        return ReplyFrame(kCmdPlanRead, data, firstFrame ? 122 : 120);
    });
    std::vector<PlanEntry> entries;
    ASSERT_TRUE(ReadChannelPlan(port, 2, 4, entries));
    ASSERT_EQ(entries.size(), 6u);
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(entries[c], Entry(28, c));
    EXPECT_EQ(peer->Requests()[0], BuildFrame(CommandBlock(kCmdPlanRead, {4})));

    channels = 12;
    frames = 3;
    failThird = true;
    entries.clear();
    EXPECT_FALSE(ReadChannelPlan(port, 1, 0, entries));
    EXPECT_EQ(entries.size(), 8u);

    // A count that does not fit the frames never takes more than four entries a frame.
    channels = 200;
    frames = 2;
    failThird = false;
    entries.clear();
    ASSERT_TRUE(ReadChannelPlan(port, 1, 0, entries));
    EXPECT_EQ(entries.size(), 8u);
    // One frame with two channels: two entries, not four.
    channels = 2;
    frames = 1;
    entries.clear();
    ASSERT_TRUE(ReadChannelPlan(port, 1, 0, entries));
    EXPECT_EQ(entries.size(), 2u);
}

TEST_F(MeterOverPty, ScreenBlocksLandByTheirNumbers) {
    std::atomic<int> count{60};
    std::atomic<int> bad{-1}; // index of a block sent with a wrong number
    std::atomic<int> badNumber{0};
    Start([&](const Bytes& request, int) {
        static int position = 0;
        position = request[3] == 7 ? 0 : position + 1;
        const int number = position == bad ? badNumber.load() : count - position; // last first
        return ScreenBlock(count, number);
    });
    std::vector<std::pair<int, int>> progress;
    const auto image = ReadScreen(port, [&](int p, int k) { progress.emplace_back(p, k); });
    ASSERT_TRUE(image);
    ASSERT_EQ(image->size(), 230400u);
    for (int n = 1; n <= 60; ++n)
        EXPECT_EQ((*image)[(n - 1) * 3840 + 17], n) << n;
    ASSERT_EQ(progress.size(), 60u);
    EXPECT_EQ(progress.front(), std::make_pair(0, 60));
    EXPECT_EQ(progress.back(), std::make_pair(60, 60));

    count = 3;
    const auto small = ReadScreen(port);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->size(), 3 * 3840);

    // Numbers 0 and above the count, a repeated block, counts of 0 and above 60: refused.
    for (int number : {0, 61, 4, 2}) {
        bad = 2;
        badNumber = number;
        EXPECT_FALSE(ReadScreen(port)) << number;
    }
    bad = -1;
    count = 61;
    EXPECT_FALSE(ReadScreen(port));
    count = 0;
    EXPECT_FALSE(ReadScreen(port));
}

TEST_F(MeterOverPty, SettingsCommands) {
    Start([](const Bytes& request, int) {
        const std::size_t length = request[4] == kCmdSetDateTime   ? 13
                                   : request[4] == kCmdSetShutdown ? 8
                                   : request[4] == kCmdRelease     ? 6
                                                                   : 7;
        return ReplyFrame(request[4], {}, length);
    });
    EXPECT_TRUE(SetDateTime(port, {2011, 8, 15, 12, 0, 0}, 2));
    EXPECT_TRUE(SetLevelUnit(port, 1));
    EXPECT_TRUE(SetTemperatureUnit(port, 1));
    EXPECT_TRUE(SetShutdownTime(port, 4));
    EXPECT_TRUE(ActivatePlan(port, 4));
    EXPECT_TRUE(Release(port));
    // Codes the meter does not know are not sent.
    EXPECT_FALSE(SetLevelUnit(port, 3));
    EXPECT_FALSE(SetTemperatureUnit(port, -1));
    EXPECT_FALSE(SetShutdownTime(port, 5));
    EXPECT_FALSE(SetDateTime(port, {2011, 8, 15, 12, 0, 0}, 3));
    EXPECT_FALSE(ActivatePlan(port, 5));
    const auto requests = peer->Requests();
    ASSERT_EQ(requests.size(), 6u);
    EXPECT_EQ(Bytes(requests[0].begin() + 3, requests[0].begin() + 12),
              (Bytes{13, kCmdSetDateTime, 12, 0, 0, 11, 8, 15, 2}));
    EXPECT_EQ(requests[1], BuildFrame(CommandBlock(kCmdSetLevelUnit, {1})));
    EXPECT_EQ(requests[3], BuildFrame(CommandBlock(kCmdSetShutdown, {4})));
    EXPECT_EQ(requests[5], (Bytes{0x55, 0xAA, 0x01, 0x06, 0x09, 0xF1}));
    port.Close();
    EXPECT_FALSE(Release(port));
}

} // namespace
} // namespace qm
