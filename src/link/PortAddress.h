#pragma once

#include <string>
#include <string_view>

namespace qm {

// Where the meter link goes. This is the one reader of port texts: the settings'
// "Connect Information"/"Port", the connection dialog's entry, the connect operation and the
// command-line tool's --port all go through it.
//
// A port text is one of:
//  - a device path: any text with a '/' (on Windows also a '\'), used as it stands
//    (/dev/ttyUSB0, /dev/serial/by-id/usb-..., the meter simulator's pseudo-terminal);
//  - "COMn" in any letter case, or the number n alone: port number n, 1 to kHighestPort.
// Port number n is the device PortDeviceName(n): "\\.\COMn" on Windows; on Linux
// /dev/ttyUSB(n-1), so that COM1 is the first USB serial adapter plugged in, which is where a
// meter cable almost always sits.
struct PortAddress {
    // False for port 300, the value that means "no port configured".
    bool configured = false;
    // The port number, 0 when a device path is given.
    int number = 0;
    // The device path when given directly, else empty.
    std::string device;

    // The text the settings store for it: the number ("%d") or the path.
    std::string SettingText() const;
    // The device it opens.
    std::string DeviceName() const;
};

// The highest port number a port text may name.
inline constexpr int kHighestPort = 256;

// Why a typed port text names no port.
enum class PortRefusal {
    None,
    Empty,      // nothing given
    NotAPort,   // neither a path nor COMn nor a number
    OutOfRange, // a number outside 1 to kHighestPort
    BadChar,    // a control character (a line break would end the settings line)
};

struct PortParse {
    PortAddress address; // configured when the text names a port
    PortRefusal refusal = PortRefusal::None;
    bool Ok() const { return refusal == PortRefusal::None; }
};

// A port text as a person typed it (dialog, --port, the connect operation): leading and
// trailing blanks are ignored, anything else that names no port is refused.
PortParse ParsePortText(std::string_view text);

// English text of a refusal, a sentence that does not repeat the text given (the front ends
// translate it and show the text beside it); empty for None.
std::string PortRefusalText(PortRefusal refusal);

// Device name of port number n on this platform.
std::string PortDeviceName(int number);

// How a person knows the device: "COMn" for port number n's device, the path otherwise.
std::string PortDisplayName(const std::string& device);

// Decimal text as the settings store it: leading blanks, an optional sign and digits up to the
// first other character; text that is not a number gives 0.
long DecimalValue(std::string_view text);

// The silent connect's reading of a stored "Port", which stored files rely on: 300 is not
// configured; a device path or a port number as above; any other text, or a number outside
// 1 to kHighestPort, means port 1.
PortAddress ParsePortSetting(std::string_view text);

} // namespace qm
