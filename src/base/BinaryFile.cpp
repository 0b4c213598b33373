#include "base/BinaryFile.h"

#include <atomic>
#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <sys/stat.h>

namespace qm {

namespace {

constexpr int kMaxLinkHops = 40; // as the kernel allows before ELOOP

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at (path itself when it is no link). A chain that
// ends nowhere names the new file to create.
bool FollowLinks(std::string path, std::string& target) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = path;
            return true;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0)
            return false;
        link.resize(static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : Folder(path) + "/" + link;
    }
    errno = ELOOP;
    return false;
}

// A new hidden file beside target, named after it; the mode of a new file follows the umask.
int CreateTemp(const std::string& target, std::string& temp) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.rfind('/');
    // Cut long names so that the suffix still fits the file-name limit.
    const std::string name =
        target.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, NAME_MAX - 40);
    for (;;) {
        temp = Folder(target) + "/." + name + "." + std::to_string(::getpid()) + "-" +
               std::to_string(counter++) + ".tmp";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
}

// The temporary file for replacing path, beside the file its links end at (target).
int CreateTempFor(const std::string& path, std::string& target, std::string& temp) {
    return FollowLinks(path, target) ? CreateTemp(target, temp) : -1;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = CurrentFileIo().write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// 0 when the temporary file holds every part on disk with the old file's owner and mode;
// errno of the failing call otherwise.
int FillTemp(int fd, std::initializer_list<std::span<const std::uint8_t>> parts,
             const struct stat* old) {
    if (old) {
        // Only root may give a file away; the mode, which any owner may set, matters more.
        [[maybe_unused]] const bool given = ::fchown(fd, old->st_uid, old->st_gid) == 0;
        if (::fchmod(fd, old->st_mode & 07777) != 0)
            return errno;
    }
    for (std::span<const std::uint8_t> part : parts)
        if (!WriteAll(fd, part))
            return errno;
    return CurrentFileIo().fsync(fd) == 0 ? 0 : errno;
}

// Devices and pipes hold no previous contents to keep and cannot be renamed over.
ReplaceStatus WriteInPlace(const std::string& path,
                           std::initializer_list<std::span<const std::uint8_t>> parts) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return ReplaceStatus::CannotCreate;
    bool ok = true;
    for (std::span<const std::uint8_t> part : parts)
        ok = ok && WriteAll(fd, part);
    const int error = ok ? 0 : errno;
    ok = ::close(fd) == 0 && ok;
    if (error != 0)
        errno = error;
    return ok ? ReplaceStatus::Ok : ReplaceStatus::CannotWrite;
}

// A read-only file says the user wants it kept; renaming over it would ignore that.
bool Writable(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

} // namespace

FileIo& CurrentFileIo() {
    static FileIo io;
    return io;
}

ReadStatus ReadFileContents(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    char buffer[8192];
    int error = 0;
    for (;;) {
        const ssize_t n = CurrentFileIo().read(fd, buffer, sizeof buffer);
        if (n > 0)
            bytes.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0)
            break;
        else if (errno != EINTR) {
            error = errno;
            break;
        }
    }
    ::close(fd);
    errno = error;
    return error == 0 ? ReadStatus::Ok : ReadStatus::Failed;
}

ReplaceStatus ReplaceFileContents(const std::string& path,
                                  std::initializer_list<std::span<const std::uint8_t>> parts) {
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode))
        return WriteInPlace(path, parts);
    if (exists && S_ISREG(old.st_mode) && !Writable(path))
        return ReplaceStatus::CannotWrite;
    std::string target, temp;
    const int fd = CreateTempFor(path, target, temp);
    if (fd < 0)
        return ReplaceStatus::CannotCreate;
    int error = FillTemp(fd, parts, exists && S_ISREG(old.st_mode) ? &old : nullptr);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && CurrentFileIo().rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error == 0)
        return ReplaceStatus::Ok;
    ::unlink(temp.c_str());
    errno = error;
    return ReplaceStatus::CannotWrite;
}

ReplaceStatus CheckReplaceable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            errno = EISDIR;
            return ReplaceStatus::CannotWrite;
        }
        if (!Writable(path))
            return ReplaceStatus::CannotWrite;
        if (!S_ISREG(st.st_mode))
            return ReplaceStatus::Ok;
    }
    std::string target, temp;
    const int fd = CreateTempFor(path, target, temp);
    if (fd < 0)
        return ReplaceStatus::CannotCreate;
    ::close(fd);
    ::unlink(temp.c_str());
    return ReplaceStatus::Ok;
}

} // namespace qm
