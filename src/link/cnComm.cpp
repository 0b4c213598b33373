#include "link/cnComm.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <poll.h>

namespace qm {

namespace {

struct BaudSpeed {
    std::uint32_t baud;
    speed_t speed;
};

// Rates termios can name; others are refused rather than silently replaced.
constexpr BaudSpeed kSpeeds[] = {
    {50, B50},           {75, B75},         {110, B110},       {134, B134},     {150, B150},
    {200, B200},         {300, B300},       {600, B600},       {1200, B1200},   {1800, B1800},
    {2400, B2400},       {4800, B4800},     {9600, B9600},     {19200, B19200}, {38400, B38400},
    {57600, B57600},     {115200, B115200}, {230400, B230400},
#ifdef B460800
    {460800, B460800},
#endif
#ifdef B500000
    {500000, B500000},
#endif
#ifdef B576000
    {576000, B576000},
#endif
#ifdef B921600
    {921600, B921600},
#endif
#ifdef B1000000
    {1000000, B1000000},
#endif
#ifdef B1500000
    {1500000, B1500000},
#endif
#ifdef B2000000
    {2000000, B2000000},
#endif
#ifdef B3000000
    {3000000, B3000000},
#endif
#ifdef B4000000
    {4000000, B4000000},
#endif
};

bool SpeedOfBaud(std::uint32_t baud, speed_t* speed) {
    for (const BaudSpeed& s : kSpeeds) {
        if (s.baud == baud) {
            *speed = s.speed;
            return true;
        }
    }
    return false;
}

} // namespace

int cnComm::LastSystemError() {
    return errno;
}

void cnComm::OpenFailed(int error) {
    std::string why;
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        why = "no such device (is the meter's cable plugged in?)";
        break;
    case EACCES:
    case EPERM:
        why = "permission denied (add your user to the dialout group: sudo usermod -aG dialout "
              "$USER, then log in again)";
        break;
    case EWOULDBLOCK:
        why = "the port is in use by another program";
        break;
    case ENOTTY:
    case EINVAL:
        why = "not a terminal";
        break;
    default:
        why = std::strerror(error);
    }
    m_openFailure = m_portName + ": " + why;
}

bool cnComm::Open(const std::string& device) {
    Close();
    m_portName = device;
    m_openFailure.clear();
    m_lastError = {};
    int fd;
    do {
        fd = m_io.Open(device.c_str());
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        OpenFailed(LastSystemError());
        return false;
    }
    // Another program on the same port would take our replies. A device that cannot be
    // locked at all is used unlocked.
    if (m_io.Lock(fd) < 0 && (errno == EWOULDBLOCK || errno == EAGAIN)) {
        m_io.Close(fd);
        OpenFailed(EWOULDBLOCK);
        return false;
    }
    m_fd = fd;
    return true;
}

bool cnComm::Configure() {
    // One short reply per request: an adapter that holds it for its latency timer would triple
    // the upload time. A device that refuses has no such timer to shorten.
    m_io.SetLowLatency(m_fd);
    m_hasCounters = m_io.ErrorCounters(m_fd, &m_errors) == 0;
    return m_io.Flush(m_fd, TCIOFLUSH) == 0;
}

bool cnComm::SetLine(std::uint32_t baud) {
    if (!IsOpen())
        return false;
    speed_t speed;
    if (!SpeedOfBaud(baud, &speed))
        return false;
    termios t{};
    if (m_io.GetAttr(m_fd, &t) < 0)
        return false;
    // Raw bytes: no echo, no line editing, no translation, no software flow control (it would
    // swallow 0x11 and 0x13 from the frames).
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                        IXON | IXOFF | IXANY | INPCK);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    // With the descriptor non-blocking, MIN 1 makes an empty read say EAGAIN and keeps a read
    // of 0 for a line that has hung up.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, speed) < 0 || cfsetospeed(&t, speed) < 0)
        return false;
    if (m_io.SetAttr(m_fd, &t) < 0)
        return false;
    m_baud = baud;
    return true;
}

bool cnComm::TakeLineErrors() {
    if (!m_hasCounters)
        return false;
    LineErrorCounters now;
    if (m_io.ErrorCounters(m_fd, &now) < 0)
        return false;
    const bool changed = now != m_errors;
    m_errors = now;
    return changed;
}

std::size_t cnComm::Write(const void* buffer, std::size_t length) {
    if (!IsOpen())
        return 0;
    if (TakeLineErrors())
        m_io.Flush(m_fd, TCOFLUSH);
    // A reply read after this request must not start with bytes of an earlier one.
    m_io.Flush(m_fd, TCIFLUSH);
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    const std::int64_t deadline = m_io.NowMs() + m_timings.writeLimitMs;
    std::size_t sent = 0;
    while (sent < length && !StopRequested()) {
        const ssize_t n = m_io.Write(m_fd, bytes + sent, length - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            break;
        const int wait = m_io.MsUntil(deadline);
        if (wait == 0)
            break;
        short revents = 0;
        const int r = m_io.Poll(m_fd, POLLOUT, m_timings.WaitSlice(wait), &revents);
        if (r < 0 && errno != EINTR)
            break;
        if (revents & (POLLERR | POLLHUP | POLLNVAL))
            break;
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
        m_io.Flush(m_fd, TCIFLUSH);
        result.status = ReadStatus::LineError;
        return result;
    }
    if (max == 0)
        return result;
    const std::int64_t deadline = m_io.NowMs() + m_timings.readLimitMs;
    for (;;) {
        const ssize_t n = m_io.Read(m_fd, buffer, max);
        if (n > 0) {
            result.count = static_cast<std::size_t>(n);
            result.status = ReadStatus::Data;
            return result;
        }
        if (n == 0) {
            // Non-blocking with MIN 1, a terminal reads 0 only once the line has hung up.
            result.status = ReadStatus::HungUp;
            return result;
        }
        if (errno == EINTR && m_io.MsUntil(deadline) > 0)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return result;
        result.status = errno == EIO ? ReadStatus::HungUp : ReadStatus::Failed;
        return result;
    }
}

long cnComm::QueueLength() {
    if (!IsOpen())
        return -1;
    TakeLineErrors();
    int count = 0;
    if (m_io.InputQueue(m_fd, &count) < 0)
        return -1;
    return count;
}

cnComm::WaitStatus cnComm::WaitReadable(int timeoutMs) {
    if (!IsOpen())
        return WaitStatus::Failed;
    short revents = 0;
    const int r = m_io.Poll(m_fd, POLLIN, std::max(timeoutMs, 0), &revents);
    if (r < 0)
        return errno == EINTR ? WaitStatus::Interrupted : WaitStatus::Failed;
    if (r == 0)
        return WaitStatus::TimedOut;
    // Bytes that came before a hang-up have been read before this wait began.
    if (revents & POLLHUP)
        return WaitStatus::HungUp;
    if (revents & POLLIN)
        return WaitStatus::Readable;
    return WaitStatus::Failed;
}

void cnComm::Close() {
    if (!IsOpen())
        return;
    m_io.Flush(m_fd, TCOFLUSH);
    m_io.Close(m_fd);
    m_fd = -1;
    m_hasCounters = false;
    m_errors = {};
}

} // namespace qm
