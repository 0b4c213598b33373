#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "link/SerialBackend.h"
#include "link/cnComm.h"

namespace qm {
namespace {

// A clock that moves only when the backend below says time has passed.
class ManualClock : public SerialIo {
public:
    std::int64_t NowMs() override { return now; }
    std::int64_t now = 0;
};

// A backend that takes a few bytes and then none, and never sees input.
class ScriptedBackend final : public SerialBackend {
public:
    ScriptedBackend(ManualClock& clock, cnComm*& port) : m_clock(clock), m_port(port) {}

    bool Open(const std::string&) override { return open = !refuse.open; }
    bool Configure() override { return !refuse.configure; }
    bool SetLine(std::uint32_t) override { return !refuse.line; }
    bool IsOpen() const override { return open; }
    void Close() override { open = false; }
    std::string FailureReason() const override { return "no such device"; }
    bool TakeLineErrors() override { return std::exchange(lineErrors, false); }
    void Discard(bool input, bool output) override { discards.push_back({input, output}); }
    long WriteSome(const std::uint8_t*, std::size_t length, int waitMs) override {
        waits.push_back(waitMs);
        if (takes > 0) {
            const long n = std::min<long>(takes, static_cast<long>(length));
            takes -= n;
            return n;
        }
        if (waitMs == 0)
            return -1;
        m_clock.now += waitMs;
        StopAfter();
        return 0;
    }
    cnComm::ReadResult ReadArrived(std::uint8_t*, std::size_t, int) override { return {}; }
    cnComm::WaitStatus WaitSlice(int waitMs) override {
        waits.push_back(waitMs);
        m_clock.now += waitMs;
        StopAfter();
        return cnComm::WaitStatus::TimedOut;
    }
    int LongestSliceMs() const override { return slice; }
    long QueueLength() override { return 0; }

    bool open = false;
    struct {
        bool open = false, configure = false, line = false;
    } refuse;
    bool lineErrors = false;
    std::vector<std::pair<bool, bool>> discards;
    long takes = 0;
    int slice = 50;
    int stopAfter = -1; // calls before a stop is requested (0: before the first); -1 never
    std::vector<int> waits;

private:
    void StopAfter() {
        if (stopAfter >= 0 && static_cast<int>(waits.size()) >= stopAfter)
            m_port->RequestStop();
    }
    ManualClock& m_clock;
    cnComm*& m_port;
};

struct Rig {
    ManualClock clock;
    cnComm* self = nullptr;
    ScriptedBackend* backend = nullptr;
    std::unique_ptr<cnComm> port;
    explicit Rig(bool opened = true) {
        auto b = std::make_unique<ScriptedBackend>(clock, self);
        backend = b.get();
        port = std::make_unique<cnComm>(clock, std::move(b));
        self = port.get();
        if (opened) {
            EXPECT_TRUE(port->OpenDevice("port", 115200));
        }
    }
};

TEST(PortLogic, WaitsGoInTheBackendsPiecesAndEndAtAStopOrTheDeadline) {
    const struct {
        int timeoutMs, slice, stopAfter;
        cnComm::WaitStatus status;
        std::vector<int> waits;
    } cases[] = {
        {120, 50, -1, cnComm::WaitStatus::TimedOut, {50, 50, 20}},
        {120, 1000, -1, cnComm::WaitStatus::TimedOut, {120}}, // one piece, as a poll waits
        {1000, 50, 2, cnComm::WaitStatus::Interrupted, {50, 50}},
        {0, 50, -1, cnComm::WaitStatus::TimedOut, {0}},
        {1000, 50, 0, cnComm::WaitStatus::Interrupted, {0}}, // asked before: a look, no wait
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.backend->slice = c.slice;
        rig.backend->stopAfter = c.stopAfter;
        if (c.stopAfter == 0)
            rig.port->RequestStop();
        EXPECT_EQ(rig.port->WaitReadable(c.timeoutMs), c.status) << c.timeoutMs;
        EXPECT_EQ(rig.backend->waits, c.waits) << c.timeoutMs;
    }
}

TEST(PortLogic, WriteGivesUpAtItsDeadlineOrAStopAndTracesWhatWent) {
    const struct {
        long takes;
        int stopAfter;
        std::size_t sent;
    } cases[] = {
        {10, -1, 10}, // all of it
        {3, -1, 3},   // the driver takes no more until the 400 ms are gone
        {3, 2, 3},    // a stop while the driver is full
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.backend->takes = c.takes;
        rig.backend->stopAfter = c.stopAfter;
        std::vector<std::uint8_t> traced;
        rig.port->SetTrace([&traced](cnComm::Direction, std::span<const std::uint8_t> bytes) {
            traced.assign(bytes.begin(), bytes.end());
        });
        const std::vector<std::uint8_t> frame(10, 0x55);
        EXPECT_EQ(rig.port->Write(frame.data(), frame.size()), c.sent);
        EXPECT_EQ(traced.size(), c.sent);
        EXPECT_LE(rig.clock.now, rig.port->Timings().writeLimitMs);
        if (c.stopAfter < 0 && c.sent < frame.size()) {
            EXPECT_EQ(rig.backend->waits.back(), 0); // asked with no time left, it gave up
        }
    }
}

TEST(PortLogic, AFailedOpenNamesTheDeviceAndLeavesNothingHalfOpen) {
    const struct {
        bool open, configure, line;
        const char* failure;
    } cases[] = {
        {true, false, false, "/dev/ttyUSB0: no such device"},
        {false, true, false, "/dev/ttyUSB0: no such device"},
        {false, false, true, "/dev/ttyUSB0: the line cannot be set to 115200 baud"},
        {false, false, false, ""},
    };
    for (const auto& c : cases) {
        Rig rig(false);
        rig.backend->refuse = {c.open, c.configure, c.line};
        EXPECT_EQ(rig.port->OpenDevice("/dev/ttyUSB0", 115200), !*c.failure);
        EXPECT_EQ(rig.port->OpenFailure(), c.failure);
        EXPECT_EQ(rig.port->IsOpen(), !*c.failure);
        EXPECT_EQ(rig.port->Baud(), *c.failure ? 0u : 115200u);
    }
}

TEST(PortLogic, LineErrorsDiscardWhatIsQueuedBeforeAWriteAndTheInputOfARead) {
    Rig rig;
    rig.backend->takes = 10;
    const std::vector<std::uint8_t> frame(4, 0x55);
    rig.port->Write(frame.data(), frame.size());
    rig.backend->lineErrors = true;
    rig.port->Write(frame.data(), frame.size());
    rig.backend->lineErrors = true;
    std::uint8_t buffer[4];
    EXPECT_EQ(rig.port->ReadSome(sizeof buffer, buffer).status, cnComm::ReadStatus::LineError);
    // Stale input always goes before a request; output too after line errors.
    EXPECT_EQ(rig.backend->discards,
              (std::vector<std::pair<bool, bool>>{{true, false}, {true, true}, {true, false}}));
    rig.port->Close();
    EXPECT_EQ(rig.port->ReadSome(sizeof buffer, buffer).status, cnComm::ReadStatus::Failed);
    EXPECT_EQ(rig.port->WaitReadable(10), cnComm::WaitStatus::Failed);
    EXPECT_EQ(rig.port->QueueLength(), -1);
    EXPECT_EQ(rig.port->Write(frame.data(), frame.size()), 0u);
}

} // namespace
} // namespace qm
