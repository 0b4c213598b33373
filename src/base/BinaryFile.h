#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#endif

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

// The system calls that read and replace files, in one place so that tests can inject a full
// disk, an I/O error or a failing rename. Each behaves like its POSIX namesake: -1 with errno
// set on failure. Production code never changes them.
struct FileIo {
    std::function<ssize_t(int fd, void* buffer, std::size_t length)> read = ::read;
    std::function<ssize_t(int fd, const void* buffer, std::size_t length)> write = ::write;
#ifdef _WIN32
    std::function<int(int fd)> fsync = ::_commit;
#else
    std::function<int(int fd)> fsync = ::fsync;
#endif
    std::function<int(const char* from, const char* to)> rename = ::rename;
};

// The calls every file read and write below goes through.
FileIo& CurrentFileIo();

enum class ReadStatus { Ok, Missing, Failed };

// Reads a whole file into bytes. Missing: no such file. Failed: the file exists but could not
// be read to its end (errno tells why); bytes then holds what was read.
ReadStatus ReadFileContents(const std::string& path, std::string& bytes);

enum class ReplaceStatus { Ok, CannotCreate, CannotWrite };

// The one way the program writes a file: the parts, in order, go to a temporary file in the
// target's folder, which is flushed to disk and renamed over the target. A failure at any
// point removes the temporary file and keeps the previous file whole; errno then tells why.
// Saving through a symbolic link replaces the file it points to and keeps the link; a
// replaced file keeps its permission bits and, where allowed, its owner; a new file gets its
// mode from the umask. An existing device or pipe (/dev/stdout) is written in place.
ReplaceStatus ReplaceFileContents(const std::string& path,
                                  std::initializer_list<std::span<const std::uint8_t>> parts);

inline ReplaceStatus ReplaceFileText(const std::string& path, std::string_view text) {
    return ReplaceFileContents(path,
                               {{reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}});
}

// Whether path could be replaced now: its folder exists and takes a new file, and an existing
// target is writable. Lets a long transfer fail before it starts rather than after it.
ReplaceStatus CheckReplaceable(const std::string& path);

} // namespace qm
