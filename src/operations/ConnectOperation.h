#pragma once

#include <string>

#include "operations/OperationOutcome.h"

namespace qm {

class cnComm;
class CChannelPlanList;
class Settings;

struct ConnectRequest {
    // The chosen port: a number ("3", as the dialog's COMn entry gives it; "0" when nothing is
    // chosen), "COMn", or a device path.
    std::string port;
    // The baud text, read as a decimal number.
    std::string baud = "115200";
};

// The connection dialog's Connect: opens the chosen port, proves the meter answers, stores
// the choice as "Connect Information" of the settings, queries the current plan, empties the
// channel plan list and reads the model. Progress (range 100) goes to 6, then 30. Error boxes:
// 5699 the port cannot be opened; 5671 no handshake (the port is closed again and nothing is
// stored); 5698 the current plan query fails (the port stays open and the settings stay
// stored). A settings file that cannot be written fails the connect with no box and the
// reason in the detail; the port stays open. On success the port stays open and the dialog
// may close.
OperationOutcome RunConnect(cnComm& port, const ConnectRequest& request, const Settings& settings,
                            CChannelPlanList& plans, const ProgressFn& progress = {});

} // namespace qm
