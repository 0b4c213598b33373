#pragma once

// The Windows side of SerialIo.h; include that header, not this one.
#include <cstddef>
#include <cstdint>

namespace qm {

// An open port: a HANDLE, kept as an integer so that this header needs no <windows.h>.
using PortHandle = std::intptr_t;
inline constexpr PortHandle kNoPort = -1; // INVALID_HANDLE_VALUE

// Line errors as ClearCommError reports them (CE_FRAME ... CE_RXOVER).
enum LineErrorFlags : unsigned {
    kLineFrame = 0x8,
    kLineOverrun = 0x2,
    kLineParity = 0x4,
    kLineBreak = 0x10,
    kLineBufferOverrun = 0x1,
};

// The Win32 calls the serial port makes, in one place so that tests can inject short writes,
// time-outs and line errors without a device. Derive and override only what a test needs;
// the defaults call the system.
class SerialIo {
public:
    virtual ~SerialIo() = default;

    // The shared instance that talks to the real system.
    static SerialIo& System();

    // Opens a port by its device name in UTF-8 ("\\.\COM3") for reading and writing, shared
    // with nobody, so that no other program can take our replies while it is ours. kNoPort
    // when that fails; errno then says why (EBUSY: another program has the port).
    virtual PortHandle Open(const char* path);
    virtual int Close(PortHandle port);
    // Reads up to length bytes: whatever has arrived when timeoutMs is 0, otherwise waits at
    // most timeoutMs until length bytes have come. The count read, -1 when the read fails.
    virtual long Read(PortHandle port, void* buffer, std::size_t length, int timeoutMs);
    // Hands the bytes to the driver within timeoutMs; the count taken, -1 on failure.
    virtual long Write(PortHandle port, const void* buffer, std::size_t length, int timeoutMs);
    // Baud rate, 8 data bits, no parity, one stop bit, binary, no flow control. False when the
    // driver refuses the rate.
    virtual bool SetLine(PortHandle port, std::uint32_t baud);
    // Discards unread input and/or unsent output (PurgeComm).
    virtual bool Purge(PortHandle port, bool input, bool output);
    // ClearCommError: the line errors since the last call (LineErrorFlags) and the bytes
    // waiting in the input queue.
    virtual bool Status(PortHandle port, unsigned* errors, unsigned* inputQueue);
    // Milliseconds of a monotonic clock.
    virtual std::int64_t NowMs();
    // Milliseconds left until deadline (a NowMs() value), 0 once it has passed.
    int MsUntil(std::int64_t deadline);
    virtual void SleepMs(int ms);
};

} // namespace qm
