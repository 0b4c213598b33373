// What cnComm does on every platform: opening in steps, the write loop with its deadline,
// waits cut into pieces between which a stop is seen, and the trace. The device calls are the
// platform backend's (SerialBackend.h).
#include "link/cnComm.h"

#include "res/StringTable.h"

#include <algorithm>

#include "link/PortAddress.h"
#include "link/SerialBackend.h"

namespace qm {

namespace {

// Port numbers OpenPort accepts.
constexpr int kFirstPort = 1;
constexpr int kLastPort = 1024;

} // namespace

cnComm::cnComm(SerialIo& io) : m_io(io), m_backend(MakeSerialBackend(io)) {}

cnComm::cnComm(SerialIo& io, std::unique_ptr<SerialBackend> backend)
    : m_io(io), m_backend(std::move(backend)) {}

cnComm::~cnComm() {
    Close();
}

bool cnComm::IsOpen() const {
    return m_backend->IsOpen();
}

bool cnComm::OpenPort(int port, std::uint32_t baud) {
    if (port < kFirstPort || port > kLastPort) {
        m_openFailure = TrFill(txt::kNoSuchComPort, {std::to_string(port)});
        return false;
    }
    return OpenDevice(PortDeviceName(port), baud);
}

bool cnComm::OpenDevice(const std::string& device, std::uint32_t baud) {
    Close();
    m_portName = device;
    m_openFailure.clear();
    m_lastError = {};
    if (!m_backend->Open(device)) {
        m_openFailure = device + ": " + m_backend->FailureReason();
        return false;
    }
    if (!m_backend->Configure()) {
        m_openFailure = device + ": " + m_backend->FailureReason();
        Close();
        return false;
    }
    if (!SetLine(baud)) {
        m_openFailure = TrFill(txt::kLineCannotBeSet, {device, std::to_string(baud)});
        Close();
        return false;
    }
    return true;
}

bool cnComm::SetLine(std::uint32_t baud) {
    if (!IsOpen() || !m_backend->SetLine(baud))
        return false;
    m_baud = baud;
    return true;
}

std::size_t cnComm::Write(const void* buffer, std::size_t length) {
    if (!IsOpen())
        return 0;
    // A reply read after this request must not start with bytes of an earlier one; after line
    // errors, whatever is still queued for the meter goes too.
    m_backend->Discard(true, m_backend->TakeLineErrors());
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    const std::int64_t deadline = m_io.NowMs() + m_timings.writeLimitMs;
    std::size_t sent = 0;
    while (sent < length && !StopRequested()) {
        const long n = m_backend->WriteSome(bytes + sent, length - sent,
                                            m_timings.WaitSlice(m_io.MsUntil(deadline)));
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
    if (m_backend->TakeLineErrors()) {
        m_backend->Discard(true, false);
        result.status = ReadStatus::LineError;
        return result;
    }
    if (max == 0)
        return result;
    return m_backend->ReadArrived(static_cast<std::uint8_t*>(buffer), max, m_timings.readLimitMs);
}

std::size_t cnComm::ReadAvailable(std::size_t max, void* buffer) {
    return ReadSome(max, buffer).count;
}

long cnComm::QueueLength() {
    return IsOpen() ? m_backend->QueueLength() : -1;
}

cnComm::WaitStatus cnComm::WaitReadable(int timeoutMs) {
    if (!IsOpen())
        return WaitStatus::Failed;
    int left = std::max(timeoutMs, 0);
    const std::int64_t deadline = m_io.NowMs() + left;
    for (;;) {
        // Once a stop is asked for, only a look at what has come, without waiting.
        const int piece = StopRequested() ? 0 : std::min(left, m_backend->LongestSliceMs());
        const WaitStatus status = m_backend->WaitSlice(piece);
        if (status != WaitStatus::TimedOut)
            return status;
        if (StopRequested())
            return WaitStatus::Interrupted;
        if (piece >= left)
            return WaitStatus::TimedOut;
        left = m_io.MsUntil(deadline);
        if (left == 0)
            return WaitStatus::TimedOut;
    }
}

void cnComm::Close() {
    m_backend->Close();
    m_meterModel.clear();
}

} // namespace qm
