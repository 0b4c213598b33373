#include "operations/SilentConnect.h"

#include <cstdint>

#include "app/Settings.h"
#include "base/BaudRate.h"
#include "link/FrameProtocol.h"
#include "link/PortAddress.h"
#include "link/cnComm.h"

namespace qm {

bool SilentConnect(cnComm& port, std::string_view portText, std::string_view baudText) {
    const PortAddress address = ParsePortSetting(portText);
    if (!address.configured)
        return false;
    const long baud = DecimalValue(baudText);
    if (port.IsOpen())
        port.Close();
    const std::uint32_t rate = BaudRateOf(baud);
    const bool opened = address.device.empty() ? port.OpenPort(address.number, rate)
                                               : port.OpenDevice(address.device, rate);
    return opened && Handshake(port);
}

bool SilentConnect(cnComm& port, const Settings& settings) {
    return SilentConnect(port, settings.Port(kPortNotConfigured), settings.Baud());
}

bool SilentConnect(cnComm& port) {
    return SilentConnect(port, Settings());
}

bool ConnectTo(cnComm& port, const ConnectTarget& target) {
    return target.useSettings ? SilentConnect(port) : SilentConnect(port, target.port, target.baud);
}

} // namespace qm
