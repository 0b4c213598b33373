// The screen capture, end to end against the simulator, and its bitmap files.
#include <gtest/gtest.h>

#include <cstdint>

#include "base/BitmapFile.h"
#include "link/cnComm.h"
#include "operations/ScreenCapture.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::SimProcess;

std::uint32_t Le32(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

class Capture : public ::testing::Test {
protected:
    CaptureResult Run(const ConnectTarget& target) {
        CaptureRetry retry;
        retry.pause = [&](int ms) { pauses.push_back(ms); };
        return CaptureScreen(
            port, target, out, [&](int position, int) { last = position; }, retry);
    }

    test::TempDir dir;
    std::string out = dir.File("screen.bmp");
    cnComm port;
    std::vector<int> pauses;
    int last = -1;
};

TEST_F(Capture, WritesTheWholeBitmapAtTheFirstTry) {
    const std::string log = dir.File("frames.log");
    SimProcess sim({"--baud", "4000000", "--log", log});
    const CaptureResult r = Run(ConnectTarget::Direct(sim.Path(), "4000000"));
    EXPECT_TRUE(r.outcome.ok);
    EXPECT_TRUE(r.outcome.messages.empty());
    EXPECT_EQ(r.connectTries, 1);
    EXPECT_TRUE(pauses.empty());
    EXPECT_EQ(last, 60);
    const std::string file = test::ReadFile(out);
    ASSERT_EQ(file.size(), 230454u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(Le32(file, 2), 230454u);
    EXPECT_EQ(Le32(file, 10), 54u);
    EXPECT_EQ(Le32(file, 14), 40u);
    EXPECT_EQ(Le32(file, 18), 320u);
    EXPECT_EQ(Le32(file, 22), 240u);
    EXPECT_EQ(Le32(file, 6), 0u);
    EXPECT_EQ(file[26], 1); // planes
    EXPECT_EQ(file[28], 24);
    EXPECT_EQ(Le32(file, 30), 0u); // no compression
    EXPECT_EQ(Le32(file, 34), 230400u);
    EXPECT_EQ(file.substr(38, 16), std::string(16, '\0'));
    // Rows bottom first, blue green red: the screen's background at the start, the title bar
    // of its top rows at the end.
    EXPECT_EQ(file.substr(54, 3), "\x28\x10\x08");
    EXPECT_EQ(file.substr(file.size() - 960, 3), "\x96\x46\x1e");
    EXPECT_EQ(std::string(r.bitmap.begin(), r.bitmap.end()), file);
    const auto frames = test::LoggedFrames(log);
    EXPECT_EQ(frames.size(), 62u); // handshake, 60 blocks, release
    EXPECT_EQ(frames.back(), "55 AA 01 06 09 F1");
}

TEST_F(Capture, ElevenTriesThenNoConnection) {
    test::WriteFile(out, "old");
    const CaptureResult r = Run(ConnectTarget::Direct(dir.File("none"), "115200"));
    EXPECT_EQ(r.outcome.messages, (std::vector<OperationMessage>{{5650, MessageKind::Error}}));
    EXPECT_EQ(r.connectTries, 11);
    EXPECT_EQ(pauses, std::vector<int>(10, 1500));
    EXPECT_EQ(test::ReadFile(out), "old");
}

TEST_F(Capture, FailedTransferWritesNothing) {
    const std::string log = dir.File("frames.log");
    SimProcess sim({"--baud", "4000000", "--log", log, "--fault", "bad-check=5:72"});
    test::WriteFile(out, "old");
    const CaptureResult r = Run(ConnectTarget::Direct(sim.Path(), "4000000"));
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(r.outcome.MessageId(), 5650);
    EXPECT_TRUE(r.bitmap.empty());
    EXPECT_EQ(test::ReadFile(out), "old");
    EXPECT_EQ(test::LoggedFrames(log).back(), "55 AA 01 06 09 F1") << "the meter is still released";
}

TEST_F(Capture, UnwritableFile) {
    SimProcess sim({"--baud", "4000000"});
    out = dir.File("no-such-folder/screen.bmp");
    const CaptureResult r = Run(ConnectTarget::Direct(sim.Path(), "4000000"));
    EXPECT_EQ(r.outcome.messages, (std::vector<OperationMessage>{{5657, MessageKind::Error}}));
}

TEST(BitmapFile, RowsArePaddedToFourBytes) {
    EXPECT_EQ(BitmapRowSize(100), 300u);
    EXPECT_EQ(BitmapRowSize(101), 304u);
    const auto file = BitmapFileBytes(100, 50, std::vector<std::uint8_t>(300 * 50, 7));
    EXPECT_EQ(file.size(), 15054u);
    EXPECT_EQ(file[2] | file[3] << 8, 15054);
    // A short screen is completed with black rows so the file stays a whole picture.
    const auto capture = CaptureBitmap(std::vector<std::uint8_t>(3840, 0xFF));
    ASSERT_EQ(capture.size(), 230454u);
    EXPECT_EQ(capture[54 + 3839], 0xFF);
    EXPECT_EQ(capture[54 + 3840], 0);
}

} // namespace
} // namespace qm
