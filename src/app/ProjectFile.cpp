#include "app/ProjectFile.h"

#include <cstdint>
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

ProjectStatus SaveProject(const std::string& path, const std::vector<_tagFileDataExt>& elements) {
    const std::string temp = path + ".part" + std::to_string(::getpid());
    FilePtr f(std::fopen(temp.c_str(), "wb"));
    if (!f)
        return ProjectStatus::CannotCreate;
    std::uint8_t header[8];
    PutLE32(header, static_cast<std::uint32_t>(elements.size()));
    PutLE32(header + 4, kProjectVersion);
    bool ok = std::fwrite(header, 1, sizeof header, f.get()) == sizeof header;
    for (const _tagFileDataExt& e : elements) {
        if (!ok)
            break;
        ok = std::fwrite(e.Bytes(), 1, kElementSize, f.get()) == kElementSize;
    }
    ok = std::fflush(f.get()) == 0 && ok;
    ok = ::fsync(::fileno(f.get())) == 0 && ok;
    ok = std::fclose(f.release()) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return ProjectStatus::CannotWrite;
    }
    return ProjectStatus::Ok;
}

ProjectLoad LoadProject(const std::string& path) {
    ProjectLoad result;
    FilePtr f(std::fopen(path.c_str(), "rb"));
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
        if (got < kElementSize)
            break;
    }
    return result;
}

std::string ProjectStatusText(ProjectStatus status, const std::string& path) {
    switch (status) {
    case ProjectStatus::Ok:
        return {};
    case ProjectStatus::CannotOpen:
        return "Cannot open the project file " + path + ": " + std::strerror(errno);
    case ProjectStatus::CannotCreate:
        return "Cannot create the project file " + path;
    case ProjectStatus::CannotWrite:
        return "Cannot write the project file " + path + "; the previous file was kept";
    case ProjectStatus::TooShort:
        return "The project file " + path + " is too short to be a project file";
    case ProjectStatus::BadVersion:
        return "The project file " + path + " has an unknown format version";
    }
    return {};
}

} // namespace qm
