#include "operations/ConnectOperation.h"

#include <cerrno>

#include "app/Settings.h"
#include "base/BaudRate.h"
#include "channels/ChannelPlanList.h"
#include "link/FrameProtocol.h"
#include "link/MeterCommands.h"
#include "link/PortAddress.h"
#include "link/cnComm.h"
#include "operations/LinkOutcome.h"

namespace qm {

namespace {

constexpr int kProgressRange = 100;

} // namespace

namespace {

OperationOutcome RunConnectSteps(cnComm& port, const ConnectRequest& request,
                                 const Settings& settings, CChannelPlanList& plans,
                                 const ProgressFn& progress) {
    OperationOutcome outcome;
    ReportProgress(progress, 6, kProgressRange);
    if (port.IsOpen())
        port.Close();

    const long baud = DecimalValue(request.baud);
    const std::uint32_t rate = BaudRateOf(baud);
    // A path names the device directly; anything else is a port number ("COMn" included),
    // checked against 1-1024 by the port itself.
    const bool isPath = request.port.find('/') != std::string::npos;
    std::string stored = request.port;
    bool opened = false;
    if (isPath) {
        opened = port.OpenDevice(request.port, rate);
    } else {
        std::string_view text = request.port;
        if (text.size() > 3 && (text.substr(0, 3) == "COM" || text.substr(0, 3) == "com"))
            text.remove_prefix(3);
        const long number = DecimalValue(text);
        stored = std::to_string(number);
        opened = number >= 1 && number <= 1024 && port.OpenPort(static_cast<int>(number), rate);
    }
    if (!opened) {
        outcome.Show(msg::kOpenPortFailed, MessageKind::Error);
        outcome.detail = port.OpenFailure();
        return outcome;
    }
    if (!Handshake(port)) {
        outcome.Show(msg::kCheckConnection, MessageKind::Error);
        port.Close();
        return outcome;
    }
    // A choice that is not stored would send every later operation to the old port.
    if (!settings.SetPort(stored) || !settings.SetBaud(request.baud)) {
        outcome.detail = SettingsWriteError(settings.Path(), errno);
        return outcome;
    }
    if (QueryCurrentPlan(port) < 0) {
        outcome.Show(msg::kCurrentPlanFailed, MessageKind::Error);
        return outcome;
    }
    ReportProgress(progress, 30, kProgressRange);
    plans.Clear();
    ReadModel(port); // the meter expects it; the text is not used here
    outcome.ok = true;
    return outcome;
}

} // namespace

OperationOutcome RunConnect(cnComm& port, const ConnectRequest& request, const Settings& settings,
                            CChannelPlanList& plans, const ProgressFn& progress) {
    OperationOutcome result = RunConnectSteps(port, request, settings, plans, progress);
    NoteLinkOutcome(result, port);
    return result;
}

} // namespace qm
