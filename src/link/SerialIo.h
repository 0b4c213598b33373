#pragma once

#include <cstddef>
#include <cstdint>

namespace qm {

// Line error counters as a serial driver keeps them; a rise of any of them since the last
// look means the line had errors.
struct LineErrorCounters {
    int frame = 0;
    int overrun = 0;
    int parity = 0;
    int brk = 0;
    int bufferOverrun = 0;

    bool operator==(const LineErrorCounters&) const = default;
};

} // namespace qm

#if defined(_WIN32)
#include "link/SerialIoWin32.h"
#else

#include <sys/types.h>
#include <termios.h>

namespace qm {

// An open port: a file descriptor.
using PortHandle = int;
inline constexpr PortHandle kNoPort = -1;

// The operating-system calls the serial port makes, in one place so that tests can inject
// partial writes, interrupted calls, hang-ups and time-outs without waiting for them.
// Every call behaves like its POSIX namesake: -1 with errno set on failure. Derive and
// override only what a test needs; the defaults call the system.
class SerialIo {
public:
    virtual ~SerialIo() = default;

    // The shared instance that talks to the real system.
    static SerialIo& System();

    // Opens a terminal device for reading and writing, non-blocking, not as the controlling
    // terminal; returns the descriptor.
    virtual int Open(const char* path);
    virtual int Close(int fd);
    virtual ssize_t Read(int fd, void* buffer, std::size_t length);
    virtual ssize_t Write(int fd, const void* buffer, std::size_t length);
    // poll() on one descriptor; *revents receives the returned events.
    virtual int Poll(int fd, short events, int timeoutMs, short* revents);
    virtual int GetAttr(int fd, termios* attributes);
    virtual int SetAttr(int fd, const termios* attributes);
    // tcflush(): TCIFLUSH, TCOFLUSH or TCIOFLUSH.
    virtual int Flush(int fd, int queue);
    // Bytes waiting in the driver's input queue.
    virtual int InputQueue(int fd, int* count);
    // Keeps other programs off the port while it is ours (an advisory lock, released with
    // the descriptor even when the program dies).
    virtual int Lock(int fd);
    // -1 when the device keeps no counters (pseudo-terminals, most USB adapters' older
    // drivers); such a device never reports line errors.
    virtual int ErrorCounters(int fd, LineErrorCounters* counters);
    // Asks the driver to pass received bytes on at once (ASYNC_LOW_LATENCY through
    // TIOCGSERIAL/TIOCSSERIAL): USB serial adapters then shorten their latency timer, commonly
    // 16 ms, to 1 ms. -1 when the device refuses (pseudo-terminals, plain UARTs).
    virtual int SetLowLatency(int fd);
    // Milliseconds of a monotonic clock.
    virtual std::int64_t NowMs();
    // Milliseconds left until deadline (a NowMs() value), 0 once it has passed.
    int MsUntil(std::int64_t deadline);
    virtual void SleepMs(int ms);
};

} // namespace qm

#endif
