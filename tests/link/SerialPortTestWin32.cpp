// The Win32 serial backend against a scripted driver; built and run on Windows only.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "link/cnComm.h"

namespace qm {
namespace {

// A driver that answers from a script and keeps a fake clock: a read that waits advances it.
class ScriptedIo : public SerialIo {
public:
    std::deque<std::string> arrivals; // each read that waits takes the next one ("" = nothing)
    std::string queued;               // bytes already in the input queue
    std::vector<std::size_t> writes;  // sizes of the pieces handed to the driver
    std::vector<int> waits;           // time-outs of the reads that waited
    unsigned errors = 0;
    bool openFails = false, lineRefused = false, inputPurged = false;
    std::int64_t now = 0;
    cnComm* stopAfterFirstWrite = nullptr;

    PortHandle Open(const char*) override { return openFails ? kNoPort : 42; }
    int Close(PortHandle) override { return 0; }
    long Read(PortHandle, void* buffer, std::size_t length, int timeoutMs) override {
        if (queued.empty() && timeoutMs > 0) {
            waits.push_back(timeoutMs);
            now += timeoutMs;
            if (!arrivals.empty()) {
                queued = arrivals.front();
                arrivals.pop_front();
            }
        }
        const std::size_t n = std::min(length, queued.size());
        queued.copy(static_cast<char*>(buffer), n);
        queued.erase(0, n);
        return static_cast<long>(n);
    }
    long Write(PortHandle, const void*, std::size_t length, int) override {
        writes.push_back(length);
        if (stopAfterFirstWrite)
            stopAfterFirstWrite->RequestStop();
        return static_cast<long>(length);
    }
    bool SetLine(PortHandle, std::uint32_t) override { return !lineRefused; }
    bool Purge(PortHandle, bool input, bool) override {
        if (input) {
            queued.clear();
            inputPurged = true;
        }
        return true;
    }
    bool Status(PortHandle, unsigned* e, unsigned* queue) override {
        *e = errors;
        errors = 0;
        *queue = static_cast<unsigned>(queued.size());
        return true;
    }
    std::int64_t NowMs() override { return now; }
    void SleepMs(int ms) override { now += ms; }
};

TEST(SerialPortWin32, AByteTheWaitReadIsHandedOutFirst) {
    ScriptedIo io;
    cnComm port(io);
    ASSERT_TRUE(port.OpenDevice("\\\\.\\COM1", 115200));
    io.arrivals = {"", "R"};
    EXPECT_EQ(port.WaitReadable(1000), cnComm::WaitStatus::Readable);
    io.queued = "EST";
    EXPECT_EQ(port.QueueLength(), 4);
    char buffer[8] = {};
    const cnComm::ReadResult r = port.ReadSome(sizeof buffer, buffer);
    EXPECT_EQ(r.status, cnComm::ReadStatus::Data);
    EXPECT_EQ(std::string(buffer, r.count), "REST");
    EXPECT_EQ(port.QueueLength(), 0);
    // Nothing waiting: an empty read, not a hang-up.
    EXPECT_EQ(port.ReadSome(sizeof buffer, buffer).status, cnComm::ReadStatus::Empty);
}

TEST(SerialPortWin32, WaitsInSlicesThatSeeAStop) {
    ScriptedIo io;
    cnComm port(io);
    ASSERT_TRUE(port.OpenDevice("\\\\.\\COM1", 115200));
    EXPECT_EQ(port.WaitReadable(120), cnComm::WaitStatus::TimedOut);
    EXPECT_EQ(io.waits, (std::vector<int>{50, 50, 20}));
    port.RequestStop();
    EXPECT_EQ(port.WaitReadable(1000), cnComm::WaitStatus::Interrupted);
    EXPECT_EQ(io.waits.size(), 3u);
}

TEST(SerialPortWin32, WritesInPiecesAndStopsBetweenThem) {
    ScriptedIo io;
    cnComm port(io);
    ASSERT_TRUE(port.OpenDevice("\\\\.\\COM1", 9600));
    const std::vector<std::uint8_t> frame(200, 0x11);
    EXPECT_EQ(port.Write(frame.data(), frame.size()), 200u);
    EXPECT_EQ(io.writes, (std::vector<std::size_t>{64, 64, 64, 8}));
    io.writes.clear();
    io.stopAfterFirstWrite = &port;
    EXPECT_EQ(port.Write(frame.data(), frame.size()), 64u);
}

TEST(SerialPortWin32, LineErrorsDiscardTheInput) {
    ScriptedIo io;
    cnComm port(io);
    ASSERT_TRUE(port.OpenDevice("\\\\.\\COM1", 115200));
    io.queued = "garbled";
    io.errors = kLineFrame;
    char buffer[8];
    EXPECT_EQ(port.ReadSome(sizeof buffer, buffer).status, cnComm::ReadStatus::LineError);
    EXPECT_TRUE(io.inputPurged);
    EXPECT_EQ(port.QueueLength(), 0);
}

TEST(SerialPortWin32, APortThatCannotBeOpenedOrSetStaysClosed) {
    ScriptedIo io;
    cnComm port(io);
    io.openFails = true; // another program has it: the open is exclusive
    EXPECT_FALSE(port.OpenPort(3, 115200));
    EXPECT_EQ(port.PortName(), "\\\\.\\COM3");
    EXPECT_FALSE(port.IsOpen());
    io.openFails = false;
    io.lineRefused = true;
    EXPECT_FALSE(port.OpenPort(3, 115200));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.OpenPort(0, 115200));
}

} // namespace
} // namespace qm
