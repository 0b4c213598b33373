#include "channels/ChannelPlanFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <unistd.h>

namespace qm {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

void PutLE32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::int32_t GetLE32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
}

} // namespace

PlanFileLoad LoadChannelPlanFile(const std::string& path) {
    PlanFileLoad result;
    FilePtr f(std::fopen(path.c_str(), "rb"));
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
    result.announced = n;
    result.kind = GetLE32(header + 8);
    for (std::int32_t i = 0; i < n; ++i) {
        CommonChannel record;
        const std::size_t got = std::fread(&record, 1, sizeof record, f.get());
        if (got == 0)
            break;
        result.records.push_back(record);
        if (got < sizeof record)
            break;
    }
    return result;
}

PlanFileStatus SaveChannelPlanFile(const std::string& path, int kind,
                                   const std::vector<CommonChannel>& records) {
    if (records.empty())
        return PlanFileStatus::EmptyPlan;
    const std::string temp = path + ".part" + std::to_string(::getpid());
    FilePtr f(std::fopen(temp.c_str(), "wb"));
    if (!f)
        return PlanFileStatus::CannotCreate;
    std::uint8_t header[kPlanFileHeaderSize];
    PutLE32(header, static_cast<std::uint32_t>(records.size()));
    PutLE32(header + 4, static_cast<std::uint32_t>(kPlanFileTag));
    PutLE32(header + 8, static_cast<std::uint32_t>(kind));
    bool ok = std::fwrite(header, 1, sizeof header, f.get()) == sizeof header;
    if (ok)
        ok = std::fwrite(records.data(), sizeof(CommonChannel), records.size(), f.get()) ==
             records.size();
    ok = std::fflush(f.get()) == 0 && ok;
    ok = ::fsync(::fileno(f.get())) == 0 && ok;
    ok = std::fclose(f.release()) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return PlanFileStatus::CannotWrite;
    }
    return PlanFileStatus::Ok;
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
        return "Cannot open the channel-plan file " + path + ": " + std::strerror(errno);
    case PlanFileStatus::TooShort:
        return "The file " + path + " is too short to be a channel-plan file";
    case PlanFileStatus::BadTag:
        return "The file " + path + " is not a channel-plan file (unknown format tag)";
    case PlanFileStatus::BadCount:
        return "The channel-plan file " + path +
               " announces an impossible number of channels (170 at most)";
    case PlanFileStatus::EmptyPlan:
        return "The channel plan is empty; nothing was saved";
    case PlanFileStatus::CannotCreate:
        return "Cannot create the channel-plan file " + path;
    case PlanFileStatus::CannotWrite:
        return "Cannot write the channel-plan file " + path + "; the previous file was kept";
    }
    return {};
}

} // namespace qm
