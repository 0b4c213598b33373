#include "operations/LinkOutcome.h"

#include "link/cnComm.h"
#include "res/StringTable.h"

namespace qm {

void NoteLinkOutcome(OperationOutcome& outcome, const cnComm& port) {
    if (outcome.ok)
        return;
    if (port.StopRequested()) {
        outcome.cancelled = true;
        outcome.messages.clear();
        outcome.detail = LinkErrorText({LinkFailure::Cancelled});
        return;
    }
    const std::string reason = LinkErrorText(port.LastError());
    if (reason.empty())
        return;
    outcome.detail =
        outcome.detail.empty() ? reason : TrFill(txt::kReasonJoint, {outcome.detail, reason});
}

} // namespace qm
