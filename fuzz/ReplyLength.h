#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/MeterCommands.h"

// The reply length the program's exchange waits for after a request: the one table both the
// scripted meter and the simulator checks use. 0 for a command the program never sends.
inline std::size_t ExpectedReplyLength(const std::vector<std::uint8_t>& request, int kind) {
    using namespace qm;
    if (request.size() < 5)
        return 0;
    switch (request[4]) {
    case kCmdHandshake:
        return request.size();
    case kCmdRelease:
        return kReplyRelease;
    case kCmdSetLevelUnit:
    case kCmdSetTemperatureUnit:
        return kReplyUnit;
    case kCmdSetShutdown:
        return kReplyShutdown;
    case kCmdSetDateTime:
        return kReplyDateTime;
    case kCmdQueryPlan:
        return kReplyQueryPlan;
    case kCmdActivatePlan:
        return kReplyActivatePlan;
    case kCmdReadModel:
        return kReplyModel;
    case kCmdFileCount:
        return kReplyFileCount;
    case kCmdReadFile:
        return kReplyFileBlock;
    case kCmdSelectPlan:
        return kReplySelectPlan;
    case kCmdPlanWrite:
        return kReplyPlanWrite;
    case kCmdReadScreen:
        return kReplyScreenBlock;
    case kCmdPlanRead:
        // The first frame's request carries the slot, the next ones only the frame number.
        return request.size() == 7 ? PlanFirstFrameSize(kind) : PlanNextFrameSize(kind);
    default:
        return 0;
    }
}
