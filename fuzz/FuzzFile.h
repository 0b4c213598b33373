#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace qm::fuzz {

// A file in memory-backed storage holding the bytes, for the readers that take a path.
inline std::string WriteScratchFile(const char* stem, const std::uint8_t* data, std::size_t size) {
    const std::string path = "/dev/shm/" + std::string(stem) + "-" + std::to_string(getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        __builtin_trap();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        __builtin_trap();
    std::fclose(f);
    return path;
}

// The whole file, or nothing when it cannot be read.
inline std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

} // namespace qm::fuzz
