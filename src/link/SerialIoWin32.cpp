#include "link/SerialIo.h"

#include <algorithm>
#include <cerrno>

#include <windows.h>

#include "base/Platform.h"

namespace qm {

namespace {

HANDLE Handle(PortHandle port) {
    return reinterpret_cast<HANDLE>(port);
}

// Longest wait one call may ask for; longer ones are made of several.
constexpr int kLongestWaitMs = 1 << 30;

bool SetWait(HANDLE h, int readWaitMs, int writeWaitMs) {
    COMMTIMEOUTS t{};
    if (readWaitMs <= 0) {
        // Return at once with what has arrived.
        t.ReadIntervalTimeout = MAXDWORD;
    } else {
        t.ReadTotalTimeoutConstant = static_cast<DWORD>(std::min(readWaitMs, kLongestWaitMs));
    }
    t.WriteTotalTimeoutConstant = static_cast<DWORD>(std::clamp(writeWaitMs, 1, kLongestWaitMs));
    return SetCommTimeouts(h, &t) != 0;
}

} // namespace

SerialIo& SerialIo::System() {
    static SerialIo system;
    return system;
}

PortHandle SerialIo::Open(const char* path) {
    const HANDLE h = CreateFileW(Utf16(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            errno = EBUSY;
            break;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            errno = ENOENT;
            break;
        default:
            errno = EIO;
        }
        return kNoPort;
    }
    return reinterpret_cast<PortHandle>(h);
}

int SerialIo::Close(PortHandle port) {
    return CloseHandle(Handle(port)) ? 0 : -1;
}

long SerialIo::Read(PortHandle port, void* buffer, std::size_t length, int timeoutMs) {
    DWORD got = 0;
    if (!SetWait(Handle(port), timeoutMs, 1) ||
        !ReadFile(Handle(port), buffer, static_cast<DWORD>(std::min<std::size_t>(length, 1 << 20)),
                  &got, nullptr)) {
        errno = EIO;
        return -1;
    }
    return static_cast<long>(got);
}

long SerialIo::Write(PortHandle port, const void* buffer, std::size_t length, int timeoutMs) {
    DWORD sent = 0;
    if (!SetWait(Handle(port), 0, timeoutMs) ||
        !WriteFile(Handle(port), buffer, static_cast<DWORD>(std::min<std::size_t>(length, 1 << 20)),
                   &sent, nullptr)) {
        // A time-out reports the bytes taken so far as a failure with a count.
        if (sent > 0)
            return static_cast<long>(sent);
        errno = EIO;
        return -1;
    }
    return static_cast<long>(sent);
}

bool SerialIo::SetLine(PortHandle port, std::uint32_t baud) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(Handle(port), &dcb))
        return false;
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    // Raw bytes both ways: software flow control would swallow 0x11 and 0x13 from the frames.
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    return SetCommState(Handle(port), &dcb) != 0;
}

bool SerialIo::Purge(PortHandle port, bool input, bool output) {
    const DWORD flags =
        (input ? PURGE_RXCLEAR | PURGE_RXABORT : 0) | (output ? PURGE_TXCLEAR | PURGE_TXABORT : 0);
    return flags == 0 || PurgeComm(Handle(port), flags) != 0;
}

bool SerialIo::Status(PortHandle port, unsigned* errors, unsigned* inputQueue) {
    DWORD flags = 0;
    COMSTAT status{};
    if (!ClearCommError(Handle(port), &flags, &status))
        return false;
    *errors = static_cast<unsigned>(flags);
    *inputQueue = static_cast<unsigned>(status.cbInQue);
    return true;
}

} // namespace qm
