#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "base/Platform.h"

namespace qm {

// Little-endian 32-bit fields of the program's own file formats.
inline void PutLE32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::int32_t GetLE32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
}

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

inline FilePtr OpenForReading(const std::string& path) {
    return FilePtr(OpenFile(path, "rb"));
}

enum class ReplaceStatus { Ok, CannotCreate, CannotWrite };

// Writes the parts, in order, to a temporary file beside path and renames it over path only
// when everything was written and synced, so a failed save never destroys the previous file.
ReplaceStatus ReplaceFileContents(const std::string& path,
                                  std::initializer_list<std::span<const std::uint8_t>> parts);

} // namespace qm
