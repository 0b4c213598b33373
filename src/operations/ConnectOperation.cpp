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
    const PortParse chosen = ParsePortText(request.port);
    if (!chosen.Ok()) {
        outcome.Show(txt::kOpenPortFailed, MessageKind::Error);
        outcome.detail = PortRefusalText(chosen.refusal);
        return outcome;
    }
    const PortAddress& address = chosen.address;
    const bool opened = address.device.empty() ? port.OpenPort(address.number, rate)
                                               : port.OpenDevice(address.device, rate);
    if (!opened) {
        outcome.Show(txt::kOpenPortFailed, MessageKind::Error);
        outcome.detail = port.OpenFailure();
        return outcome;
    }
    if (!Handshake(port)) {
        outcome.Show(txt::kCheckConnection, MessageKind::Error);
        port.Close();
        return outcome;
    }
    // A choice that is not stored would send every later operation to the old port.
    if (!settings.SetPort(address.SettingText()) || !settings.SetBaud(request.baud)) {
        outcome.detail = SettingsWriteError(settings.Path(), errno);
        return outcome;
    }
    if (QueryCurrentPlan(port) < 0) {
        outcome.Show(txt::kCurrentPlanFailed, MessageKind::Error);
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
