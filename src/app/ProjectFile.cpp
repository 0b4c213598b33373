#include "app/ProjectFile.h"
#include "res/StringTable.h"

#include <cerrno>
#include <cstring>

#include "app/FileCollection.h"
#include "base/BinaryFile.h"
#include "measurement/MeterKind.h"

namespace qm {

ProjectStatus SaveProject(const std::string& path, const std::vector<_tagFileDataExt>& elements) {
    std::uint8_t header[8];
    PutLE32(header, static_cast<std::uint32_t>(elements.size()));
    PutLE32(header + 4, kProjectVersion);
    // The elements are contiguous plain records: one span covers them all.
    const auto* body = reinterpret_cast<const std::uint8_t*>(elements.data());
    switch (ReplaceFileContents(path, {header, {body, elements.size() * kElementSize}})) {
    case ReplaceStatus::Ok:
        return ProjectStatus::Ok;
    case ReplaceStatus::CannotCreate:
        return ProjectStatus::CannotCreate;
    case ReplaceStatus::CannotWrite:
        break;
    }
    return ProjectStatus::CannotWrite;
}

std::size_t ProjectLoad::IncompleteCount() const {
    std::size_t count = 0;
    for (bool cut : incomplete)
        count += cut ? 1 : 0;
    return count;
}

bool ElementIsIncomplete(const _tagFileDataExt& element, std::size_t received) {
    const std::size_t fileSize = KindFileSize(element.kind);
    const std::size_t needed = fileSize ? 1 + fileSize : kElementSize;
    return received < needed;
}

ProjectLoad LoadProject(const std::string& path) {
    ProjectLoad result;
    FilePtr f = OpenForReading(path);
    if (!f) {
        result.status = ProjectStatus::CannotOpen;
        return result;
    }
    std::uint8_t header[8];
    if (std::fread(header, 1, sizeof header, f.get()) != sizeof header) {
        result.status = ProjectStatus::TooShort;
        return result;
    }
    const std::int32_t n = GetLE32(header);
    result.announced = n > 0 ? static_cast<std::size_t>(n) : 0;
    if (GetLE32(header + 4) != kProjectVersion) {
        result.status = ProjectStatus::BadVersion;
        return result;
    }
    // Read element by element: a header announcing more than the file holds costs nothing.
    for (std::int32_t i = 0; i < n; ++i) {
        _tagFileDataExt e;
        std::size_t got = std::fread(e.Bytes(), 1, kElementSize, f.get());
        if (got == 0)
            break;
        result.elements.push_back(e);
        result.incomplete.push_back(ElementIsIncomplete(e, got));
        if (got < kElementSize)
            break;
    }
    return result;
}

ProjectLoad OpenProject(const std::string& path, CFileCollection& collection) {
    ProjectLoad load = LoadProject(path);
    if (load.status == ProjectStatus::Ok)
        collection.Assign(load.elements, load.incomplete);
    return load;
}

std::string ProjectStatusText(ProjectStatus status, const std::string& path) {
    switch (status) {
    case ProjectStatus::Ok:
        return {};
    case ProjectStatus::CannotOpen:
        return TrFill(txt::kProjectCannotOpen, {path, ErrnoText(errno)});
    case ProjectStatus::CannotCreate:
        return TrFill(txt::kProjectCannotCreate, {path, ErrnoText(errno)});
    case ProjectStatus::CannotWrite:
        return TrFill(txt::kProjectCannotWrite, {path, ErrnoText(errno)});
    case ProjectStatus::TooShort:
        return TrFill(txt::kProjectTooShort, {path});
    case ProjectStatus::BadVersion:
        return TrFill(txt::kProjectBadVersion, {path});
    }
    return {};
}

} // namespace qm
