#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "channels/ChannelPlanList.h"
#include "channels/CommonChannel.h"

namespace qm {

// Channel-plan files (.f71CH), little-endian: record count N (signed 32-bit), format tag 200,
// meter kind (signed 32-bit), then N 29-byte channel records in plan order.
inline constexpr std::int32_t kPlanFileTag = 200;
inline constexpr std::size_t kPlanFileHeaderSize = 12;

enum class PlanFileStatus {
    Ok,
    CannotOpen,   // the file could not be opened for reading
    TooShort,     // not even the 12-byte header could be read
    BadTag,       // the format tag is not 200
    BadCount,     // N is negative or above the 170 channels a plan may hold
    UnknownKind,  // the meter kind is none of 0, 1 and 2: no grid, edit or meter takes it
    EmptyPlan,    // a save of a plan without channels: no file is written
    CannotCreate, // the file (or its temporary) could not be created
    CannotWrite,  // writing or replacing the file failed; the old file is kept
};

struct PlanFileLoad {
    PlanFileStatus status = PlanFileStatus::Ok;
    int kind = -1;
    std::vector<CommonChannel> records; // N records, as the header announces
    // Records the file holds whole; below records.size() when the file is cut short.
    std::size_t complete = 0;
};

// Reads a channel-plan file. A file shorter than its header announces gives all-zero bytes for
// the missing part, whole records included. N is refused before anything is allocated when it
// is negative or above 170, and so is a meter kind other than 0, 1 and 2.
PlanFileLoad LoadChannelPlanFile(const std::string& path);

// Writes a temporary file beside the target and renames it over the target only when complete.
// A plan without channels writes nothing (EmptyPlan).
PlanFileStatus SaveChannelPlanFile(const std::string& path, int kind,
                                   const std::vector<CommonChannel>& records);

// Open into a plan list: on success the list takes the file's records and kind; on any failure
// the list stays as it was.
PlanFileStatus OpenChannelPlan(const std::string& path, CChannelPlanList& list);
// Save of a plan list (its records and kind).
PlanFileStatus SaveChannelPlan(const std::string& path, const CChannelPlanList& list);

// English description of a failure, for the command-line tool and the desktop's reports; the
// system's reason comes from errno, so call it right after the failing call.
std::string PlanFileStatusText(PlanFileStatus status, const std::string& path);

} // namespace qm
