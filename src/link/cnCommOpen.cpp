// The parts of cnComm that every platform shares; cnComm.cpp (termios) and cnCommWin32.cpp
// hold the rest.
#include "link/PortAddress.h"
#include "link/cnComm.h"

namespace qm {

namespace {

// Port numbers OpenPort accepts.
constexpr int kFirstPort = 1;
constexpr int kLastPort = 1024;

} // namespace

cnComm::cnComm(SerialIo& io) : m_io(io) {}

cnComm::~cnComm() {
    Close();
}

bool cnComm::OpenPort(int port, std::uint32_t baud) {
    if (port < kFirstPort || port > kLastPort) {
        m_openFailure = "COM" + std::to_string(port) + ": no such port";
        return false;
    }
    return OpenDevice(PortDeviceName(port), baud);
}

bool cnComm::OpenDevice(const std::string& device, std::uint32_t baud) {
    if (!Open(device))
        return false;
    if (!Configure()) {
        OpenFailed(LastSystemError());
        Close();
        return false;
    }
    if (!SetLine(baud)) {
        m_openFailure = device + ": the line cannot be set to " + std::to_string(baud) + " baud";
        Close();
        return false;
    }
    return true;
}

std::size_t cnComm::ReadAvailable(std::size_t max, void* buffer) {
    return ReadSome(max, buffer).count;
}

} // namespace qm
