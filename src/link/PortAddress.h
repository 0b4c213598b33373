#pragma once

#include <string>
#include <string_view>

namespace qm {

// Where the meter link goes, as "Connect Information"/"Port" of setup.ini names it.
//
// The settings store a port number ("%d"), as the connection dialog writes it. Port number n
// is the device PortDeviceName(n): "\\.\COMn" on Windows; on Linux /dev/ttyUSB(n-1), so that
// COM1 is the first USB serial adapter plugged in, which is where a meter cable almost always
// sits. The value may also name a device directly: any text containing a '/' is used as a
// path as it stands (/dev/ttyUSB0, /dev/ttyACM0, /dev/ttyS0, or the pseudo-terminal of the
// meter simulator). "COMn" in any letter case means port n.
struct PortAddress {
    // False for port 300, the value that means "no port configured".
    bool configured = false;
    // The port number, 0 when a device path is given.
    int number = 0;
    // The device path when given directly, else empty.
    std::string device;
};

// Device name of port number n on this platform.
std::string PortDeviceName(int number);

// Decimal text as the settings store it: leading blanks, an optional sign and digits up to the
// first other character; text that is not a number gives 0.
long DecimalValue(std::string_view text);

// The silent connect's reading of "Port": 300 is not configured; numbers below 1 or above 256
// mean port 1; a text with a '/' is a device path.
PortAddress ParsePortSetting(std::string_view text);

} // namespace qm
