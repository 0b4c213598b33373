#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "link/LinkError.h"
#include "link/LinkTimings.h"
#include "link/SerialIo.h"

namespace qm {

class SerialBackend;

// The serial port to the meter: raw 8N1 over POSIX termios or the Win32 comm API (the
// platform's SerialBackend), one request and one reply at a time. The same code drives a USB
// serial adapter and a pseudo-terminal (the simulator's).
//
// Use:
//   cnComm port;                       // or cnComm port(testIo) with an injected SerialIo
//   port.OpenPort(1, 115200);          // COM1, see PortAddress.h; or OpenDevice("/dev/pts/3", ...)
//   port.Write(bytes, n);              // clears stale input first
//   port.ReadAvailable(max, buffer);   // whatever has arrived, without waiting
// The frame protocol (FrameProtocol.h) builds the exchange on these, waiting with WaitReadable.
// Only one thread at a time may use an instance.
class cnComm {
public:
    explicit cnComm(SerialIo& io = SerialIo::System());
    // Over another backend than the platform's (a test's).
    cnComm(SerialIo& io, std::unique_ptr<SerialBackend> backend);
    ~cnComm();
    cnComm(const cnComm&) = delete;
    cnComm& operator=(const cnComm&) = delete;

    // Port number 1-1024 (anything else fails without touching a device), opened by its
    // platform name and set to raw 8N1 at baud. Closes a port that is still open first.
    bool OpenPort(int port, std::uint32_t baud);
    // The same for a device named by its path.
    bool OpenDevice(const std::string& device, std::uint32_t baud);

    // Baud rate, 8 data bits, no parity, one stop bit, raw bytes; hardware flow control is
    // left as the driver reports it. Fails for a rate the system cannot set.
    bool SetLine(std::uint32_t baud);

    // Discards unread input (and, after line errors, pending output), then hands the bytes to
    // the driver, waiting at most LinkTimings::writeLimitMs for room. Returns the bytes
    // written; fewer than length when the driver would not take them in time.
    std::size_t Write(const void* buffer, std::size_t length);

    // Reads up to max bytes that have already arrived; 0 when none have. Line errors since
    // the last look discard the input and give 0.
    std::size_t ReadAvailable(std::size_t max, void* buffer);

    // Bytes waiting in the input queue, -1 when the query fails. Clears the line errors.
    long QueueLength();

    bool IsOpen() const;
    // Discards pending output and closes; nothing happens when the port is closed.
    void Close();

    // Lower-level read for the exchange: tells apart why nothing was read.
    enum class ReadStatus { Data, Empty, LineError, HungUp, Failed };
    struct ReadResult {
        std::size_t count = 0;
        ReadStatus status = ReadStatus::Empty;
    };
    ReadResult ReadSome(std::size_t max, void* buffer);

    // Sleeps until input arrives, the line hangs up or timeoutMs pass; no CPU is used while
    // waiting.
    enum class WaitStatus { Readable, TimedOut, Interrupted, HungUp, Failed };
    WaitStatus WaitReadable(int timeoutMs);

    // The rate last set, 0 before any.
    std::uint32_t Baud() const { return m_baud; }
    // Device name of the open port (or of the last one tried).
    const std::string& PortName() const { return m_portName; }
    // Why the last open failed, naming the device ("/dev/ttyUSB0: permission denied ..."),
    // for the second line of a connection failure; empty after a successful open.
    const std::string& OpenFailure() const { return m_openFailure; }
    // The model the meter last reported on this port ("7100T2"); empty while the port is
    // closed or before a meter answered.
    const std::string& MeterModel() const { return m_meterModel; }
    void SetMeterModel(std::string model) { m_meterModel = std::move(model); }
    LinkTimings& Timings() { return m_timings; }
    const LinkTimings& Timings() const { return m_timings; }
    SerialIo& Io() { return m_io; }

    // Why the last failed exchange failed (FrameProtocol.h sets it); cleared when a port is
    // opened, kept through later exchanges that succeed.
    const LinkError& LastError() const { return m_lastError; }
    void SetLastError(const LinkError& error) { m_lastError = error; }

    // Asks the exchange under way, and every one after it, to end as cancelled: writes stop
    // and waits end when they next look (at once when a signal interrupts them, otherwise
    // within LinkTimings::stopCheckMs). Safe from a signal handler and from another thread.
    // Stays requested until ClearStop().
    void RequestStop() { m_stop.store(true, std::memory_order_relaxed); }
    bool StopRequested() const { return m_stop.load(std::memory_order_relaxed); }
    void ClearStop() { m_stop.store(false, std::memory_order_relaxed); }

    // Every frame as it goes: the bytes the driver took, and each reply as far as it came.
    enum class Direction { Sent, Received };
    using FrameTrace = std::function<void(Direction, std::span<const std::uint8_t>)>;
    void SetTrace(FrameTrace trace) { m_trace = std::move(trace); }
    void Trace(Direction direction, std::span<const std::uint8_t> bytes) const {
        if (m_trace && !bytes.empty())
            m_trace(direction, bytes);
    }

private:
    SerialIo& m_io;
    std::unique_ptr<SerialBackend> m_backend;
    std::string m_portName;
    std::string m_openFailure;
    std::string m_meterModel;
    LinkTimings m_timings;
    std::uint32_t m_baud = 0;
    LinkError m_lastError;
    std::atomic<bool> m_stop{false};
    static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler sets the stop flag");
    FrameTrace m_trace;
};

} // namespace qm
