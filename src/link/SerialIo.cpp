#include "link/SerialIo.h"

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/serial.h>
#endif

namespace qm {

SerialIo& SerialIo::System() {
    static SerialIo system;
    return system;
}

int SerialIo::Open(const char* path) {
    return ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

int SerialIo::Close(int fd) {
    return ::close(fd);
}

ssize_t SerialIo::Read(int fd, void* buffer, std::size_t length) {
    return ::read(fd, buffer, length);
}

ssize_t SerialIo::Write(int fd, const void* buffer, std::size_t length) {
    return ::write(fd, buffer, length);
}

int SerialIo::Poll(int fd, short events, int timeoutMs, short* revents) {
    pollfd p{fd, events, 0};
    int r = ::poll(&p, 1, timeoutMs);
    *revents = r > 0 ? p.revents : 0;
    return r;
}

int SerialIo::GetAttr(int fd, termios* attributes) {
    return ::tcgetattr(fd, attributes);
}

int SerialIo::SetAttr(int fd, const termios* attributes) {
    return ::tcsetattr(fd, TCSANOW, attributes);
}

int SerialIo::Flush(int fd, int queue) {
    return ::tcflush(fd, queue);
}

int SerialIo::InputQueue(int fd, int* count) {
    return ::ioctl(fd, FIONREAD, count);
}

int SerialIo::Lock(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB);
}

int SerialIo::ErrorCounters(int fd, LineErrorCounters* counters) {
#if defined(__linux__) && defined(TIOCGICOUNT)
    serial_icounter_struct c{};
    if (::ioctl(fd, TIOCGICOUNT, &c) < 0)
        return -1;
    counters->frame = c.frame;
    counters->overrun = c.overrun;
    counters->parity = c.parity;
    counters->brk = c.brk;
    counters->bufferOverrun = c.buf_overrun;
    return 0;
#else
    (void)fd;
    (void)counters;
    errno = ENOTTY;
    return -1;
#endif
}

int SerialIo::SetLowLatency(int fd) {
#if defined(__linux__) && defined(TIOCGSERIAL) && defined(ASYNC_LOW_LATENCY)
    serial_struct s{};
    if (::ioctl(fd, TIOCGSERIAL, &s) < 0)
        return -1;
    if (s.flags & ASYNC_LOW_LATENCY)
        return 0;
    s.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(fd, TIOCSSERIAL, &s);
#else
    (void)fd;
    errno = ENOTTY;
    return -1;
#endif
}

} // namespace qm
