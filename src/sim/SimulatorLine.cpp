#include "sim/SimulatorLine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace qm::sim {

namespace {

constexpr std::size_t kHeaderBytes = 4; // 55 AA 01 N
// A frame that stays incomplete this long is dropped: the client gave up on it.
constexpr auto kPartialFrameLimit = std::chrono::milliseconds(500);
// Replies go out in slices of about this much line time, so a reader sees them grow.
constexpr auto kSlice = std::chrono::milliseconds(2);
// Bytes of a USB serial adapter's packet to the computer (64 with two status bytes).
constexpr std::size_t kAdapterPacket = 62;

// Sleeps until when; with spinTail the last stretch is spent polling the clock, because a
// wake-up from sleep comes tens of microseconds late and the last byte of a reply must not.
void SleepUntil(std::chrono::steady_clock::time_point when, bool spinTail,
                const volatile bool& stop) {
    constexpr auto kSpin = std::chrono::microseconds(100);
    const auto wake = spinTail ? when - kSpin : when;
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(wake.time_since_epoch()).count();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns / 1000000000);
    ts.tv_nsec = static_cast<long>(ns % 1000000000);
    while (!stop && ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
    while (spinTail && !stop && std::chrono::steady_clock::now() < when) {
    }
}

} // namespace

SimulatorLine::SimulatorLine(MeterSimulator& meter, FaultPlan& faults)
    : m_meter(meter), m_faults(faults) {}

SimulatorLine::~SimulatorLine() {
    if (m_master >= 0)
        ::close(m_master);
}

bool SimulatorLine::Open() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0)
        return false;
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return false;
    char name[256];
    if (::ptsname_r(m_master, name, sizeof name) != 0)
        return false;
    m_slavePath = name;
    // On Linux the master's terminal settings are the slave's: raw from the start, so nothing
    // is echoed or translated before a client sets the line up itself.
    termios tio{};
    if (::tcgetattr(m_master, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_master, TCSANOW, &tio);
    }
    return true;
}

SimulatorLine::Clock::duration SimulatorLine::LineTime(std::size_t bytes) const {
    // Ten bit times per byte: start bit, eight data bits, stop bit.
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(static_cast<long long>(bytes) * 10LL * 1000000000LL / m_baud));
}

void SimulatorLine::Run(const volatile bool& stop) {
    m_stop = &stop;
    std::uint8_t buffer[4096];
    while (!stop && !m_hungUp) {
        pollfd p{m_master, POLLIN, 0};
        const int ready = ::poll(&p, 1, 100);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (ready == 0) {
            if (!m_pending.empty() && Clock::now() - m_frameStart > kPartialFrameLimit)
                m_pending.clear();
            continue;
        }
        if (p.revents & POLLIN) {
            const ssize_t got = ::read(m_master, buffer, sizeof buffer);
            if (got > 0) {
                Receive(buffer, static_cast<std::size_t>(got));
                continue;
            }
            if (got < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
        }
        // No client has the slave open (hang-up or EIO): wait for the next one.
        m_pending.clear();
        ::usleep(10000);
    }
}

void SimulatorLine::Receive(const std::uint8_t* data, std::size_t length) {
    const auto now = Clock::now();
    if (!m_pending.empty() && now - m_frameStart > kPartialFrameLimit)
        m_pending.clear();
    if (m_pending.empty())
        m_frameStart = now;
    m_pending.insert(m_pending.end(), data, data + length);
    TakeFrames();
}

void SimulatorLine::TakeFrames() {
    while (!m_pending.empty() && !m_hungUp) {
        // Resynchronise on the frame start 55 AA 01.
        static const std::uint8_t kStart[] = {0x55, 0xAA, 0x01};
        std::size_t drop = 0;
        while (drop < m_pending.size()) {
            const std::size_t have = std::min<std::size_t>(3, m_pending.size() - drop);
            if (std::equal(kStart, kStart + have,
                           m_pending.begin() + static_cast<std::ptrdiff_t>(drop)))
                break;
            ++drop;
        }
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(drop));
        if (m_pending.size() < kHeaderBytes)
            return;
        const std::size_t n = m_pending[3];
        if (n < 6) {
            m_pending.erase(m_pending.begin());
            continue;
        }
        if (m_pending.size() < n)
            return;
        std::vector<std::uint8_t> frame(m_pending.begin(),
                                        m_pending.begin() + static_cast<std::ptrdiff_t>(n));
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(n));
        Answer(frame);
        m_frameStart = Clock::now();
    }
}

void SimulatorLine::Answer(const std::vector<std::uint8_t>& request) {
    // The request occupied the line for its own length before the meter could see all of it.
    const auto requestEnd = std::max(Clock::now(), m_frameStart + LineTime(request.size()));
    const FaultPlan::Kind fault = m_faults.Next(request[4]);
    if (!MeterSimulator::CheckAccepted(request)) {
        Log(request, " bad-check");
        return;
    }
    Log(request, "");
    if (fault == FaultPlan::Kind::Hangup) {
        ::close(m_master);
        m_master = -1;
        m_hungUp = true;
        return;
    }
    if (fault == FaultPlan::Kind::NoReply)
        return;
    std::vector<std::uint8_t> reply = m_meter.Handle(request);
    if (reply.empty())
        return;
    switch (fault) {
    case FaultPlan::Kind::BadCheck:
        // One more than the plain sum is never the plain sum nor its two's complement.
        reply.back() = static_cast<std::uint8_t>(
            1u - MeterSimulator::TwosComplementCheck(reply.data(), reply.size() - 1));
        break;
    case FaultPlan::Kind::StrayByte:
        reply.insert(reply.begin(), 0x00);
        break;
    case FaultPlan::Kind::Short:
        reply.pop_back();
        break;
    default:
        break;
    }
    Send(reply, requestEnd + m_turnaround);
}

void SimulatorLine::Send(const std::vector<std::uint8_t>& reply, Clock::time_point start) {
    if (m_latency.count() > 0) {
        SendThroughAdapter(reply, start);
        return;
    }
    const std::size_t slice = std::max<std::size_t>(
        1, static_cast<std::size_t>(
               m_baud / 10 * std::chrono::duration_cast<std::chrono::microseconds>(kSlice).count() /
               1000000));
    std::size_t sent = 0;
    while (sent < reply.size() && !*m_stop) {
        const std::size_t part = std::min(slice, reply.size() - sent);
        // A byte is there once its stop bit has gone by.
        SleepUntil(start + LineTime(sent + part), sent + part == reply.size(), *m_stop);
        if (!WriteAll(reply.data() + sent, part))
            return;
        sent += part;
    }
}

void SimulatorLine::SendThroughAdapter(const std::vector<std::uint8_t>& reply,
                                       Clock::time_point start) {
    Clock::time_point lastPacket = start;
    std::size_t sent = 0;
    while (sent < reply.size() && !*m_stop) {
        const std::size_t part = std::min(kAdapterPacket, reply.size() - sent);
        Clock::time_point when = start + LineTime(sent + part);
        if (part < kAdapterPacket)
            when = std::max(when, lastPacket + m_latency);
        SleepUntil(when, true, *m_stop);
        if (!WriteAll(reply.data() + sent, part))
            return;
        lastPacket = when;
        sent += part;
    }
}

bool SimulatorLine::WriteAll(const std::uint8_t* data, std::size_t length) {
    const auto deadline = Clock::now() + std::chrono::seconds(1);
    while (length > 0) {
        const ssize_t put = ::write(m_master, data, length);
        if (put > 0) {
            data += put;
            length -= static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno == EAGAIN && Clock::now() < deadline) {
            pollfd p{m_master, POLLOUT, 0};
            ::poll(&p, 1, 10);
            continue;
        }
        return false; // nobody is listening (EIO) or the client stopped reading
    }
    return true;
}

void SimulatorLine::Log(const std::vector<std::uint8_t>& frame, const char* note) {
    if (!m_log)
        return;
    for (std::size_t i = 0; i < frame.size(); ++i)
        std::fprintf(m_log, i ? " %02X" : "%02X", frame[i]);
    std::fprintf(m_log, "%s\n", note);
    std::fflush(m_log);
}

} // namespace qm::sim
