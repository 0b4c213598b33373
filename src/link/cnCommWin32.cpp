// cnComm over the Win32 comm API; cnComm.cpp is the termios twin.
#include "link/cnComm.h"

#include <algorithm>
#include <string>

#include <windows.h>

namespace qm {

namespace {

// Longest single wait in the driver: a Ctrl-C arrives on another thread and cannot cut a wait
// short, so the waits look for a stop this often.
constexpr int kStopCheckMs = 50;

constexpr unsigned kLineErrors =
    kLineFrame | kLineOverrun | kLineParity | kLineBreak | kLineBufferOverrun;

} // namespace

bool cnComm::Open(const std::string& device) {
    Close();
    m_portName = device;
    m_lastError = {};
    // Opened exclusively: while it is ours, no other program can take our replies.
    const PortHandle port = m_io.Open(device.c_str());
    if (port == kNoPort) {
        OpenFailed(LastSystemError());
        return false;
    }
    m_fd = port;
    m_hasEarly = false;
    return true;
}

int cnComm::LastSystemError() {
    return static_cast<int>(GetLastError());
}

// error: a Windows error code (GetLastError).
void cnComm::OpenFailed(int error) {
    std::string why;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        why = "no such device (is the meter's cable plugged in?)";
        break;
    // An exclusively opened port that another program holds answers "access denied".
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        why = "the port is in use by another program";
        break;
    default:
        why = "error " + std::to_string(error);
    }
    m_openFailure = m_portName + ": " + why;
}

bool cnComm::Configure() {
    TakeLineErrors();
    return m_io.Purge(m_fd, true, true);
}

bool cnComm::SetLine(std::uint32_t baud) {
    if (!IsOpen() || baud == 0 || !m_io.SetLine(m_fd, baud))
        return false;
    m_baud = baud;
    return true;
}

bool cnComm::TakeLineErrors() {
    unsigned errors = 0, queue = 0;
    return m_io.Status(m_fd, &errors, &queue) && (errors & kLineErrors) != 0;
}

std::size_t cnComm::Write(const void* buffer, std::size_t length) {
    if (!IsOpen())
        return 0;
    // A reply read after this request must not start with bytes of an earlier one.
    m_io.Purge(m_fd, true, TakeLineErrors());
    m_hasEarly = false;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    const std::int64_t deadline = m_io.NowMs() + m_timings.writeLimitMs;
    // Pieces that take about kStopCheckMs on the line, so that a stop is seen between them.
    const std::size_t piece = std::max<std::size_t>(64, m_baud / 10 * kStopCheckMs / 1000);
    std::size_t sent = 0;
    while (sent < length && !StopRequested()) {
        const int wait = m_io.MsUntil(deadline);
        if (wait == 0)
            break;
        const long n = m_io.Write(m_fd, bytes + sent, std::min(piece, length - sent), wait);
        if (n < 0)
            break;
        sent += static_cast<std::size_t>(n);
    }
    Trace(Direction::Sent, std::span<const std::uint8_t>(bytes, sent));
    return sent;
}

cnComm::ReadResult cnComm::ReadSome(std::size_t max, void* buffer) {
    ReadResult result;
    if (!IsOpen()) {
        result.status = ReadStatus::Failed;
        return result;
    }
    if (TakeLineErrors()) {
        m_io.Purge(m_fd, true, false);
        m_hasEarly = false;
        result.status = ReadStatus::LineError;
        return result;
    }
    if (max == 0)
        return result;
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    if (m_hasEarly) {
        bytes[0] = m_early;
        m_hasEarly = false;
        result.count = 1;
        result.status = ReadStatus::Data;
        if (max == 1)
            return result;
    }
    const long n = m_io.Read(m_fd, bytes + result.count, max - result.count, 0);
    if (n > 0) {
        result.count += static_cast<std::size_t>(n);
        result.status = ReadStatus::Data;
    } else if (n < 0 && result.count == 0) {
        // A failing read on a port that opened: the adapter has been pulled out.
        result.status = ReadStatus::HungUp;
    }
    return result;
}

long cnComm::QueueLength() {
    if (!IsOpen())
        return -1;
    unsigned errors = 0, queue = 0;
    if (!m_io.Status(m_fd, &errors, &queue))
        return -1;
    return static_cast<long>(queue) + (m_hasEarly ? 1 : 0);
}

cnComm::WaitStatus cnComm::WaitReadable(int timeoutMs) {
    if (!IsOpen())
        return WaitStatus::Failed;
    if (m_hasEarly)
        return WaitStatus::Readable;
    unsigned errors = 0, queue = 0;
    if (!m_io.Status(m_fd, &errors, &queue))
        return WaitStatus::HungUp;
    if (queue > 0 || (errors & kLineErrors) != 0)
        return WaitStatus::Readable;
    // Windows tells that a byte has come only by reading it: the driver sleeps until the
    // first byte or the end of the slice, and the byte is kept for the next read.
    const std::int64_t deadline = m_io.NowMs() + std::max(timeoutMs, 0);
    for (int left = m_io.MsUntil(deadline); left > 0; left = m_io.MsUntil(deadline)) {
        if (StopRequested())
            return WaitStatus::Interrupted;
        const long n = m_io.Read(m_fd, &m_early, 1, std::min(left, kStopCheckMs));
        if (n < 0)
            return WaitStatus::HungUp;
        if (n > 0) {
            m_hasEarly = true;
            return WaitStatus::Readable;
        }
    }
    return StopRequested() ? WaitStatus::Interrupted : WaitStatus::TimedOut;
}

void cnComm::Close() {
    if (!IsOpen())
        return;
    m_io.Purge(m_fd, false, true);
    m_io.Close(m_fd);
    m_fd = kNoPort;
    m_hasEarly = false;
}

} // namespace qm
