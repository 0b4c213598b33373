#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "link/cnComm.h"

namespace qm {

// The platform's half of cnComm: the device calls behind the logic every platform shares
// (the write loop with its deadline, stops seen between waits, traces). SerialBackend.cpp
// holds the termios backend, SerialBackendWin32.cpp the Win32 one.
class SerialBackend {
public:
    virtual ~SerialBackend() = default;

    // Opens the device for reading and writing, kept from other programs while it is ours.
    virtual bool Open(const std::string& device) = 0;
    // Buffers, latency and the first purge; the line itself is SetLine's.
    virtual bool Configure() = 0;
    virtual bool SetLine(std::uint32_t baud) = 0;
    virtual bool IsOpen() const = 0;
    // Discards pending output and closes; nothing happens when the port is closed.
    virtual void Close() = 0;
    // Why the last Open or Configure failed, without the device's name ("no such device ...").
    virtual std::string FailureReason() const = 0;

    // True when the driver saw line errors since the last look.
    virtual bool TakeLineErrors() = 0;
    // Discards unread input and/or unsent output.
    virtual void Discard(bool input, bool output) = 0;
    // One try at handing bytes to the driver, waiting at most waitMs for room: the count taken
    // (0 when the driver took none yet and may later), -1 when the write cannot go on.
    virtual long WriteSome(const std::uint8_t* bytes, std::size_t length, int waitMs) = 0;
    // Bytes that have already arrived, up to max (at least 1); a read the system interrupts is
    // tried again for at most limitMs.
    virtual cnComm::ReadResult ReadArrived(std::uint8_t* buffer, std::size_t max, int limitMs) = 0;
    // Sleeps at most waitMs until input arrives; TimedOut when none did.
    virtual cnComm::WaitStatus WaitSlice(int waitMs) = 0;
    // The longest piece WaitSlice waits in: a stop is looked for between pieces.
    virtual int LongestSliceMs() const = 0;
    // Bytes in the input queue, -1 when the query fails; clears the line errors.
    virtual long QueueLength() = 0;
};

// The backend of this platform over its system calls.
std::unique_ptr<SerialBackend> MakeSerialBackend(SerialIo& io);

} // namespace qm
