#include "link/PortPresence.h"

#include <sys/stat.h>

#include "link/PortAddress.h"

namespace qm {

bool PortIsPresent(int number) {
    if (number < 1 || number > kHighestPort)
        return false;
    struct stat info {};
    return ::stat(PortDeviceName(number).c_str(), &info) == 0;
}

} // namespace qm
