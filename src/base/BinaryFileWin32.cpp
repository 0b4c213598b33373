// The Windows twin of BinaryFile.cpp: the temporary file is flushed with SyncFile and moved over
// the target with MoveOver (MoveFileExW, write-through). Windows has no symbolic links or
// permission bits of the POSIX kind to keep.
#include "base/BinaryFile.h"

#include <atomic>
#include <cerrno>

namespace qm {

namespace {

std::string TempFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".part" + std::to_string(ProcessId()) + "-" + std::to_string(counter++);
}

} // namespace

FileIo& CurrentFileIo() {
    static FileIo io;
    return io;
}

ReadStatus ReadFileContents(const std::string& path, std::string& bytes) {
    bytes.clear();
    FilePtr f(OpenFile(path, "rb"));
    if (!f)
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    char buffer[8192];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0)
        bytes.append(buffer, n);
    if (std::ferror(f.get())) {
        errno = EIO;
        return ReadStatus::Failed;
    }
    return ReadStatus::Ok;
}

ReplaceStatus ReplaceFileContents(const std::string& path,
                                  std::initializer_list<std::span<const std::uint8_t>> parts) {
    const std::string temp = TempFor(path);
    FilePtr f(OpenFile(temp, "wb"));
    if (!f)
        return ReplaceStatus::CannotCreate;
    // Through the file descriptor and CurrentFileIo, so that tests can fail a write.
    const int fd = _fileno(f.get());
    bool ok = true;
    for (std::span<const std::uint8_t> part : parts)
        ok = ok && (part.empty() || CurrentFileIo().write(fd, part.data(), part.size()) ==
                                        static_cast<ssize_t>(part.size()));
    ok = ok && CurrentFileIo().fsync(fd) == 0;
    ok = std::fclose(f.release()) == 0 && ok;
    if (!ok || !MoveOver(temp, path)) {
        const int error = errno;
        RemoveFile(temp);
        errno = error;
        return ReplaceStatus::CannotWrite;
    }
    return ReplaceStatus::Ok;
}

ReplaceStatus CheckReplaceable(const std::string& path) {
    if (FilePtr existing{OpenFile(path, "rb")}) {
        existing.reset();
        if (!FilePtr(OpenFile(path, "r+b")))
            return ReplaceStatus::CannotWrite;
    }
    const std::string temp = TempFor(path);
    if (!FilePtr(OpenFile(temp, "wb")))
        return ReplaceStatus::CannotCreate;
    RemoveFile(temp);
    return ReplaceStatus::Ok;
}

} // namespace qm
