#pragma once

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include <poll.h>

#include "link/SerialIo.h"

namespace qm::test {

// An in-memory port with a manual clock: waits advance the clock instead of sleeping, and
// each write or read call can be scripted to take part of the bytes, be interrupted or find
// the driver full.
class FakeSerialIo : public SerialIo {
public:
    // One scripted result of a write call: a count of bytes taken, or -1 with errno.
    struct Step {
        long result;
        int error = 0;
    };

    std::vector<std::string> opened;
    bool failLock = false;
    bool failSetAttr = false;
    std::deque<Step> writeSteps; // empty: every write takes everything
    std::vector<std::uint8_t> written;
    std::deque<Step> readSteps;      // consulted before the input queue
    std::vector<std::uint8_t> input; // bytes the meter has sent
    // Bytes appended to input when the port starts waiting, one chunk per wait.
    std::deque<std::vector<std::uint8_t>> arrivals;
    bool hungUp = false;
    // Waits cut short by a signal before anything happens.
    int interruptedPolls = 0;
    // Each arrival comes with a framing error.
    bool garbledArrivals = false;
    // The driver takes no more output: waits for room time out.
    bool driverFull = false;
    bool countersKept = true;
    LineErrorCounters counters;
    std::vector<int> flushes;
    termios attributes{};
    std::int64_t now = 1000;
    int polls = 0;
    int lowLatencyRequests = 0;
    bool refuseLowLatency = false;

    int Open(const char* path) override {
        opened.emplace_back(path);
        return 7;
    }
    int Close(int) override { return 0; }
    int Lock(int) override {
        if (failLock) {
            errno = EWOULDBLOCK;
            return -1;
        }
        return 0;
    }
    ssize_t Write(int, const void* buffer, std::size_t length) override {
        std::size_t take = length;
        if (!writeSteps.empty()) {
            const Step s = writeSteps.front();
            writeSteps.pop_front();
            if (s.result < 0) {
                errno = s.error;
                return -1;
            }
            take = std::min<std::size_t>(length, static_cast<std::size_t>(s.result));
        }
        const auto* b = static_cast<const std::uint8_t*>(buffer);
        written.insert(written.end(), b, b + take);
        return static_cast<ssize_t>(take);
    }
    ssize_t Read(int, void* buffer, std::size_t length) override {
        if (!readSteps.empty()) {
            const Step s = readSteps.front();
            readSteps.pop_front();
            if (s.result < 0) {
                errno = s.error;
                return -1;
            }
        }
        if (input.empty()) {
            if (hungUp)
                return 0;
            errno = EAGAIN;
            return -1;
        }
        const std::size_t n = std::min(length, input.size());
        std::memcpy(buffer, input.data(), n);
        input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(n));
        return static_cast<ssize_t>(n);
    }
    int Poll(int, short events, int timeoutMs, short* revents) override {
        ++polls;
        *revents = 0;
        if (interruptedPolls > 0) {
            --interruptedPolls;
            errno = EINTR;
            return -1;
        }
        if (events & POLLOUT) {
            if (!driverFull) {
                *revents = POLLOUT;
                return 1;
            }
            now += timeoutMs;
            return 0;
        }
        if (!arrivals.empty()) {
            input.insert(input.end(), arrivals.front().begin(), arrivals.front().end());
            arrivals.pop_front();
            if (garbledArrivals)
                ++counters.frame;
        }
        if (hungUp) {
            *revents = POLLHUP;
            return 1;
        }
        if (!input.empty()) {
            *revents = POLLIN;
            return 1;
        }
        now += timeoutMs;
        return 0;
    }
    int GetAttr(int, termios* t) override {
        *t = attributes;
        return 0;
    }
    int SetAttr(int, const termios* t) override {
        if (failSetAttr) {
            errno = EINVAL;
            return -1;
        }
        attributes = *t;
        return 0;
    }
    int Flush(int, int queue) override {
        flushes.push_back(queue);
        if (queue == TCIFLUSH || queue == TCIOFLUSH)
            input.clear();
        return 0;
    }
    int InputQueue(int, int* count) override {
        *count = static_cast<int>(input.size());
        return 0;
    }
    int ErrorCounters(int, LineErrorCounters* c) override {
        if (!countersKept) {
            errno = ENOTTY;
            return -1;
        }
        *c = counters;
        return 0;
    }
    int SetLowLatency(int) override {
        ++lowLatencyRequests;
        if (refuseLowLatency) {
            errno = ENOTTY;
            return -1;
        }
        return 0;
    }
    std::int64_t NowMs() override { return now; }
    void SleepMs(int ms) override { now += ms; }
};

} // namespace qm::test
