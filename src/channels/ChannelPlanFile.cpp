#include "channels/ChannelPlanFile.h"
#include "res/StringTable.h"

#include <cerrno>
#include <cstring>

#include "base/BinaryFile.h"
#include "measurement/MeterKind.h"

namespace qm {

PlanFileLoad LoadChannelPlanFile(const std::string& path) {
    PlanFileLoad result;
    FilePtr f = OpenForReading(path);
    if (!f) {
        result.status = PlanFileStatus::CannotOpen;
        return result;
    }
    std::uint8_t header[kPlanFileHeaderSize];
    if (std::fread(header, 1, sizeof header, f.get()) != sizeof header) {
        result.status = PlanFileStatus::TooShort;
        return result;
    }
    const std::int32_t n = GetLE32(header);
    if (GetLE32(header + 4) != kPlanFileTag) {
        result.status = PlanFileStatus::BadTag;
        return result;
    }
    if (n < 0 || static_cast<std::size_t>(n) > kMaxPlanChannels) {
        result.status = PlanFileStatus::BadCount;
        return result;
    }
    result.kind = GetLE32(header + 8);
    if (!IsKnownKind(result.kind)) {
        result.status = PlanFileStatus::UnknownKind;
        return result;
    }
    // N is at most 170 here, so the zero records for a cut file cost next to nothing.
    result.records.resize(static_cast<std::size_t>(n));
    for (CommonChannel& record : result.records) {
        const std::size_t got = std::fread(&record, 1, sizeof record, f.get());
        if (got == sizeof record)
            ++result.complete;
        if (got < sizeof record)
            break;
    }
    return result;
}

PlanFileStatus SaveChannelPlanFile(const std::string& path, int kind,
                                   const std::vector<CommonChannel>& records) {
    if (records.empty())
        return PlanFileStatus::EmptyPlan;
    std::uint8_t header[kPlanFileHeaderSize];
    PutLE32(header, static_cast<std::uint32_t>(records.size()));
    PutLE32(header + 4, static_cast<std::uint32_t>(kPlanFileTag));
    PutLE32(header + 8, static_cast<std::uint32_t>(kind));
    const auto* body = reinterpret_cast<const std::uint8_t*>(records.data());
    switch (ReplaceFileContents(path, {header, {body, records.size() * sizeof(CommonChannel)}})) {
    case ReplaceStatus::Ok:
        return PlanFileStatus::Ok;
    case ReplaceStatus::CannotCreate:
        return PlanFileStatus::CannotCreate;
    case ReplaceStatus::CannotWrite:
        break;
    }
    return PlanFileStatus::CannotWrite;
}

PlanFileStatus OpenChannelPlan(const std::string& path, CChannelPlanList& list) {
    PlanFileLoad load = LoadChannelPlanFile(path);
    if (load.status != PlanFileStatus::Ok)
        return load.status;
    list.Assign(std::move(load.records));
    list.SetKind(load.kind);
    return PlanFileStatus::Ok;
}

PlanFileStatus SaveChannelPlan(const std::string& path, const CChannelPlanList& list) {
    return SaveChannelPlanFile(path, list.Kind(), list.Records());
}

std::string PlanFileStatusText(PlanFileStatus status, const std::string& path) {
    switch (status) {
    case PlanFileStatus::Ok:
        return {};
    case PlanFileStatus::CannotOpen:
        return TrFill(txt::kPlanFileCannotOpen, {path, ErrnoText(errno)});
    case PlanFileStatus::TooShort:
        return TrFill(txt::kPlanFileTooShort, {path});
    case PlanFileStatus::BadTag:
        return TrFill(txt::kPlanFileBadTag, {path});
    case PlanFileStatus::BadCount:
        return TrFill(txt::kPlanFileBadCount, {path});
    case PlanFileStatus::UnknownKind:
        return TrFill(txt::kPlanFileUnknownKind, {path});
    case PlanFileStatus::EmptyPlan:
        return Tr(txt::kPlanFileEmpty);
    case PlanFileStatus::CannotCreate:
        return TrFill(txt::kPlanFileCannotCreate, {path, ErrnoText(errno)});
    case PlanFileStatus::CannotWrite:
        return TrFill(txt::kPlanFileCannotWrite, {path, ErrnoText(errno)});
    }
    return {};
}

} // namespace qm
