// The Win32 comm API backend of cnComm; SerialBackend.cpp is its termios twin.
#include "link/SerialBackend.h"

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

// error: a Windows error code (GetLastError).
std::string ReasonOf(int error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "no such device (is the meter's cable plugged in?)";
    // An exclusively opened port that another program holds answers "access denied".
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return "the port is in use by another program";
    default:
        return "error " + std::to_string(error);
    }
}

class Win32Backend final : public SerialBackend {
public:
    explicit Win32Backend(SerialIo& io) : m_io(io) {}
    ~Win32Backend() override { Close(); }

    bool Open(const std::string& device) override {
        Close();
        // Opened exclusively: while it is ours, no other program can take our replies.
        const PortHandle port = m_io.Open(device.c_str());
        if (port == kNoPort) {
            m_error = static_cast<int>(GetLastError());
            return false;
        }
        m_port = port;
        m_hasEarly = false;
        return true;
    }

    bool Configure() override {
        TakeLineErrors();
        if (m_io.Purge(m_port, true, true))
            return true;
        m_error = static_cast<int>(GetLastError());
        return false;
    }

    bool SetLine(std::uint32_t baud) override {
        if (baud == 0 || !m_io.SetLine(m_port, baud))
            return false;
        m_baud = baud;
        return true;
    }

    bool IsOpen() const override { return m_port != kNoPort; }

    void Close() override {
        if (!IsOpen())
            return;
        m_io.Purge(m_port, false, true);
        m_io.Close(m_port);
        m_port = kNoPort;
        m_hasEarly = false;
    }

    std::string FailureReason() const override { return ReasonOf(m_error); }

    bool TakeLineErrors() override {
        unsigned errors = 0, queue = 0;
        return m_io.Status(m_port, &errors, &queue) && (errors & kLineErrors) != 0;
    }

    void Discard(bool input, bool output) override {
        m_io.Purge(m_port, input, output);
        if (input)
            m_hasEarly = false;
    }

    long WriteSome(const std::uint8_t* bytes, std::size_t length, int waitMs) override {
        if (waitMs == 0)
            return -1;
        // Pieces that take about kStopCheckMs on the line, so that a stop is seen between them.
        const std::size_t piece = std::max<std::size_t>(64, m_baud / 10 * kStopCheckMs / 1000);
        return m_io.Write(m_port, bytes, std::min(piece, length), waitMs);
    }

    cnComm::ReadResult ReadArrived(std::uint8_t* buffer, std::size_t max, int) override {
        cnComm::ReadResult result;
        if (m_hasEarly) {
            buffer[0] = m_early;
            m_hasEarly = false;
            result.count = 1;
            result.status = cnComm::ReadStatus::Data;
            if (max == 1)
                return result;
        }
        const long n = m_io.Read(m_port, buffer + result.count, max - result.count, 0);
        if (n > 0) {
            result.count += static_cast<std::size_t>(n);
            result.status = cnComm::ReadStatus::Data;
        } else if (n < 0 && result.count == 0) {
            // A failing read on a port that opened: the adapter has been pulled out.
            result.status = cnComm::ReadStatus::HungUp;
        }
        return result;
    }

    cnComm::WaitStatus WaitSlice(int waitMs) override {
        if (m_hasEarly)
            return cnComm::WaitStatus::Readable;
        unsigned errors = 0, queue = 0;
        if (!m_io.Status(m_port, &errors, &queue))
            return cnComm::WaitStatus::HungUp;
        if (queue > 0 || (errors & kLineErrors) != 0)
            return cnComm::WaitStatus::Readable;
        if (waitMs == 0)
            return cnComm::WaitStatus::TimedOut;
        // Windows tells that a byte has come only by reading it: the driver sleeps until the
        // first byte or the end of the slice, and the byte is kept for the next read.
        const long n = m_io.Read(m_port, &m_early, 1, waitMs);
        if (n < 0)
            return cnComm::WaitStatus::HungUp;
        if (n == 0)
            return cnComm::WaitStatus::TimedOut;
        m_hasEarly = true;
        return cnComm::WaitStatus::Readable;
    }

    int LongestSliceMs() const override { return kStopCheckMs; }

    long QueueLength() override {
        unsigned errors = 0, queue = 0;
        if (!m_io.Status(m_port, &errors, &queue))
            return -1;
        return static_cast<long>(queue) + (m_hasEarly ? 1 : 0);
    }

private:
    SerialIo& m_io;
    PortHandle m_port = kNoPort;
    std::uint32_t m_baud = 0;
    int m_error = 0;
    // The byte a wait read, which the next read hands out first.
    std::uint8_t m_early = 0;
    bool m_hasEarly = false;
};

} // namespace

std::unique_ptr<SerialBackend> MakeSerialBackend(SerialIo& io) {
    return std::make_unique<Win32Backend>(io);
}

} // namespace qm
