#pragma once

#include <string>
#include <string_view>

namespace qm {

class cnComm;
class Settings;

// Reopens the port from "Connect Information" of the settings and repeats the handshake.
// "Port" 300 (the default) fails without touching the port; see link/PortAddress.h for the rest.
// After a failed handshake the port stays open.
bool SilentConnect(cnComm& port, const Settings& settings);
// The same with the process-wide setup.ini.
bool SilentConnect(cnComm& port);
// The same with the two values given directly (the command-line tool's --port and --baud).
bool SilentConnect(cnComm& port, std::string_view portText, std::string_view baudText);

// Where an operation's silent connect goes: "Connect Information" of the process-wide
// settings file (the desktop program), or a port and baud given directly (the command-line
// tool's --port and --baud). A port text is a number, "COMn" or a device path.
struct ConnectTarget {
    bool useSettings = true;
    std::string port;
    std::string baud;

    static ConnectTarget FromSettings() { return {}; }
    static ConnectTarget Direct(std::string portText, std::string baudText) {
        return {false, std::move(portText), std::move(baudText)};
    }
};

// The silent connect to the target.
bool ConnectTo(cnComm& port, const ConnectTarget& target);

} // namespace qm
