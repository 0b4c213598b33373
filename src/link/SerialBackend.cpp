// The termios backend of cnComm; SerialBackendWin32.cpp is its Win32 twin.
#include "link/SerialBackend.h"
#include "res/StringTable.h"

#include <algorithm>
#include <cerrno>
#include <climits>
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

std::string ReasonOf(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return "no such device (is the meter's cable plugged in?)";
    case EACCES:
    case EPERM:
        return "permission denied (add your user to the dialout group: sudo usermod -aG dialout "
               "$USER, then log in again)";
    case EWOULDBLOCK:
        return "the port is in use by another program";
    case ENOTTY:
    case EINVAL:
        return "not a terminal";
    default:
        return ErrnoText(error);
    }
}

// A file descriptor of a terminal, non-blocking, read with MIN 1.
class PosixBackend final : public SerialBackend {
public:
    explicit PosixBackend(SerialIo& io) : m_io(io) {}
    ~PosixBackend() override { Close(); }

    bool Open(const std::string& device) override {
        Close();
        int fd;
        do {
            fd = m_io.Open(device.c_str());
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            m_error = errno;
            return false;
        }
        // Another program on the same port would take our replies. A device that cannot be
        // locked at all is used unlocked.
        if (m_io.Lock(fd) < 0 && (errno == EWOULDBLOCK || errno == EAGAIN)) {
            m_io.Close(fd);
            m_error = EWOULDBLOCK;
            return false;
        }
        m_fd = fd;
        return true;
    }

    bool Configure() override {
        // One short reply per request: an adapter that holds it for its latency timer would
        // triple the upload time. A device that refuses has no such timer to shorten.
        m_io.SetLowLatency(m_fd);
        m_hasCounters = m_io.ErrorCounters(m_fd, &m_errors) == 0;
        if (m_io.Flush(m_fd, TCIOFLUSH) == 0)
            return true;
        m_error = errno;
        return false;
    }

    bool SetLine(std::uint32_t baud) override {
        speed_t speed;
        if (!SpeedOfBaud(baud, &speed))
            return false;
        termios t{};
        if (m_io.GetAttr(m_fd, &t) < 0)
            return false;
        // Raw bytes: no echo, no line editing, no translation, no software flow control (it
        // would swallow 0x11 and 0x13 from the frames).
        t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                            ICRNL | IXON | IXOFF | IXANY | INPCK);
        t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
        t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
        t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
        t.c_cflag |= CS8 | CREAD | CLOCAL;
        // With the descriptor non-blocking, MIN 1 makes an empty read say EAGAIN and keeps a
        // read of 0 for a line that has hung up.
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
        if (cfsetispeed(&t, speed) < 0 || cfsetospeed(&t, speed) < 0)
            return false;
        return m_io.SetAttr(m_fd, &t) == 0;
    }

    bool IsOpen() const override { return m_fd != kNoPort; }

    void Close() override {
        if (!IsOpen())
            return;
        m_io.Flush(m_fd, TCOFLUSH);
        m_io.Close(m_fd);
        m_fd = kNoPort;
        m_hasCounters = false;
        m_errors = {};
    }

    std::string FailureReason() const override { return ReasonOf(m_error); }

    bool TakeLineErrors() override {
        if (!m_hasCounters)
            return false;
        LineErrorCounters now;
        if (m_io.ErrorCounters(m_fd, &now) < 0)
            return false;
        const bool changed = now != m_errors;
        m_errors = now;
        return changed;
    }

    void Discard(bool input, bool output) override {
        if (output)
            m_io.Flush(m_fd, TCOFLUSH);
        if (input)
            m_io.Flush(m_fd, TCIFLUSH);
    }

    long WriteSome(const std::uint8_t* bytes, std::size_t length, int waitMs) override {
        const ssize_t n = m_io.Write(m_fd, bytes, length);
        if (n > 0)
            return static_cast<long>(n);
        if (n < 0 && errno == EINTR)
            return 0;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return -1;
        // The driver is full: wait for room, then try again.
        if (waitMs == 0)
            return -1;
        short revents = 0;
        const int r = m_io.Poll(m_fd, POLLOUT, waitMs, &revents);
        if (r < 0 && errno != EINTR)
            return -1;
        if (revents & (POLLERR | POLLHUP | POLLNVAL))
            return -1;
        return 0;
    }

    cnComm::ReadResult ReadArrived(std::uint8_t* buffer, std::size_t max, int limitMs) override {
        cnComm::ReadResult result;
        const std::int64_t deadline = m_io.NowMs() + limitMs;
        for (;;) {
            const ssize_t n = m_io.Read(m_fd, buffer, max);
            if (n > 0) {
                result.count = static_cast<std::size_t>(n);
                result.status = cnComm::ReadStatus::Data;
                return result;
            }
            if (n == 0) {
                // Non-blocking with MIN 1, a terminal reads 0 only once the line has hung up.
                result.status = cnComm::ReadStatus::HungUp;
                return result;
            }
            if (errno == EINTR && m_io.MsUntil(deadline) > 0)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return result;
            result.status = errno == EIO ? cnComm::ReadStatus::HungUp : cnComm::ReadStatus::Failed;
            return result;
        }
    }

    cnComm::WaitStatus WaitSlice(int waitMs) override {
        short revents = 0;
        const int r = m_io.Poll(m_fd, POLLIN, waitMs, &revents);
        if (r < 0)
            return errno == EINTR ? cnComm::WaitStatus::Interrupted : cnComm::WaitStatus::Failed;
        if (r == 0)
            return cnComm::WaitStatus::TimedOut;
        // Bytes that came before a hang-up have been read before this wait began.
        if (revents & POLLHUP)
            return cnComm::WaitStatus::HungUp;
        if (revents & POLLIN)
            return cnComm::WaitStatus::Readable;
        return cnComm::WaitStatus::Failed;
    }

    // A signal cuts a poll short, so a wait need not be cut into pieces.
    int LongestSliceMs() const override { return INT_MAX; }

    long QueueLength() override {
        TakeLineErrors();
        int count = 0;
        if (m_io.InputQueue(m_fd, &count) < 0)
            return -1;
        return count;
    }

private:
    SerialIo& m_io;
    PortHandle m_fd = kNoPort;
    LineErrorCounters m_errors;
    bool m_hasCounters = false;
    int m_error = 0;
};

} // namespace

std::unique_ptr<SerialBackend> MakeSerialBackend(SerialIo& io) {
    return std::make_unique<PosixBackend>(io);
}

} // namespace qm
