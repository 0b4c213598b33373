#pragma once

#include <string>

#include "operations/OperationOutcome.h"

namespace qm {

class cnComm;
class CChannelPlanList;
class Settings;

struct ConnectRequest {
    // The chosen port as a port text (link/PortAddress.h): a number ("3", as the dialog's
    // COMn entry gives it), "COMn" or a device path; empty when nothing is chosen.
    std::string port;
    // The baud text, read as a decimal number.
    std::string baud = "115200";
};

// The connection dialog's Connect: opens the chosen port, proves the meter answers, stores
// the choice as "Connect Information" of the settings (a number as "%d", a path as typed),
// queries the current plan, empties the channel plan list and reads the model. Progress
// (range 100) goes to 6, then 30. Error boxes: 5699 the port cannot be opened, or the text
// names no port (the parser's refusal in the detail); 5671 no handshake (the port is closed
// again and nothing is stored); 5698 the current plan query fails (the port stays open and
// the settings stay stored). A settings file that cannot be written fails the connect with no
// box and the reason in the detail; the port stays open. On success the port stays open and
// the dialog may close.
OperationOutcome RunConnect(cnComm& port, const ConnectRequest& request, const Settings& settings,
                            CChannelPlanList& plans, const ProgressFn& progress = {});

} // namespace qm
