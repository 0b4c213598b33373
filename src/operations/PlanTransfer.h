#pragma once

#include "channels/ChannelPlanList.h"
#include "operations/OperationOutcome.h"
#include "operations/SilentConnect.h"

namespace qm {

class cnComm;

// The channel editor's meter transfers. Progress uses the range 0-100.

struct PlanUploadResult {
    OperationOutcome outcome;
    // Kind of the connected meter once it is known (the editor then builds its columns), -1
    // while unknown: the grid stays without columns.
    int kind = -1;
};

// Upload: reads the plan in slot (0-4) into the list and sets the list's kind. Error boxes:
// 5650 the meter cannot be connected, 5651 the plan select fails or the slot holds no plan
// (in both cases the list keeps its previous records), 5652 the plan read fails or brings more
// than the 170 channels a plan holds (the list is emptied). A meter model of no known kind leaves
// the list empty without a message.
PlanUploadResult UploadPlan(cnComm& port, const ConnectTarget& target, int slot,
                            CChannelPlanList& plans, const ProgressFn& progress = {});

// Download: writes the list's records, in the list's kind, as the plan of slot (0-4), then
// makes that slot the meter's current plan. Messages in order: 5650 (error) no connection;
// 5653 (error) an empty plan or one of no known kind (the grid shows no rows); the plain box
// 5654 or 5655 for the write; then 5656 (error) when the activation fails. A plan of fewer than
// four channels, or one laid out for a meter kind other than the connected meter's (its model is
// read first), is not sent and gives 5655. ok only when both the write and the activation
// succeeded.
OperationOutcome DownloadPlan(cnComm& port, const ConnectTarget& target, int slot,
                              const CChannelPlanList& plans, const ProgressFn& progress = {});

} // namespace qm
