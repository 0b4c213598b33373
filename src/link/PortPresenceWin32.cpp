#include "link/PortPresence.h"

#include <windows.h>

#include <cstdio>

#include "link/PortAddress.h"

namespace qm {

bool PortIsPresent(int number) {
    if (number < 1 || number > kHighestPort)
        return false;
    // "\\.\COMn" is no file: asking for its attributes fails for every port. The DOS device
    // name is what a serial driver registers, and looking it up opens nothing.
    char name[16];
    std::snprintf(name, sizeof name, "COM%d", number);
    char target[512];
    return QueryDosDeviceA(name, target, sizeof target) != 0 ||
           GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

} // namespace qm
