#pragma once

namespace qm {

// Whether port number n (1 to kHighestPort) names a device present on this machine: on Linux
// its device file (PortDeviceName) exists; on Windows the system knows a COMn, built in or
// plugged in. Asked without opening the port, so a meter on it is left alone.
bool PortIsPresent(int number);

} // namespace qm
