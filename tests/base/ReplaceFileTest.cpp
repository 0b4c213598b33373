#include <gtest/gtest.h>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include "base/BinaryFile.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::FolderNames;
using test::ReadFile;
using test::ScopedFileIo;
using test::TempDir;
using test::WriteFile;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

TEST(ReplaceFile, AFailureAtAnyStepKeepsThePreviousFileAndNoTemporary) {
    TempDir dir;
    const std::string path = dir.File("data.csv");
    WriteFile(path, "previous");
    struct Step {
        const char* name;
        void (*inject)(FileIo&);
        int error;
    };
    const Step steps[] = {
        {"write",
         [](FileIo& io) {
             io.write = [](int, const void*, std::size_t) -> ssize_t {
                 errno = ENOSPC;
                 return -1;
             };
         },
         ENOSPC},
        // Half of the bytes go out, then the disk is full.
        {"short write",
         [](FileIo& io) {
             io.write = [](int fd, const void* b, std::size_t n) {
                 static bool first = true;
                 first = !first;
                 errno = ENOSPC;
                 return first ? ssize_t{-1} : ::write(fd, b, n / 2);
             };
         },
         ENOSPC},
        {"fsync", [](FileIo& io) { io.fsync = [](int) { return errno = EIO, -1; }; }, EIO},
        {"rename",
         [](FileIo& io) { io.rename = [](const char*, const char*) { return errno = EXDEV, -1; }; },
         EXDEV},
    };
    for (const Step& step : steps) {
        ScopedFileIo io;
        step.inject(io.Io());
        EXPECT_EQ(ReplaceFileText(path, "new contents, longer than before"),
                  ReplaceStatus::CannotWrite)
            << step.name;
        EXPECT_EQ(errno, step.error) << step.name;
        EXPECT_EQ(ReadFile(path), "previous") << step.name;
        EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"data.csv"}) << step.name;
    }
    ASSERT_EQ(ReplaceFileText(path, "new"), ReplaceStatus::Ok);
    EXPECT_EQ(ReadFile(path), "new");
}

TEST(ReplaceFile, KeepsLinksAndPermissions) {
    TempDir dir;
    ::mkdir(dir.File("real").c_str(), 0700);
    const std::string target = dir.File("real/site.f71"), link = dir.File("site.f71");
    WriteFile(target, "old");
    ::chmod(target.c_str(), 0600);
    ASSERT_EQ(::symlink("real/site.f71", link.c_str()), 0); // relative to the link's folder
    ASSERT_EQ(ReplaceFileText(link, "through the link"), ReplaceStatus::Ok);
    EXPECT_TRUE(S_ISLNK(ModeOf(link)));
    EXPECT_EQ(ReadFile(target), "through the link");
    EXPECT_EQ(ModeOf(target) & 07777, 0600u);

    // A new file's mode comes from the umask; a dangling link creates its target.
    const mode_t mask = ::umask(027);
    ASSERT_EQ(ReplaceFileText(dir.File("new.csv"), "x"), ReplaceStatus::Ok);
    ::symlink("real/later.f71", dir.File("later.f71").c_str());
    ASSERT_EQ(ReplaceFileText(dir.File("later.f71"), "y"), ReplaceStatus::Ok);
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir.File("new.csv")) & 07777, 0640u);
    EXPECT_EQ(ReadFile(dir.File("real/later.f71")), "y");
    EXPECT_EQ(FolderNames(dir.File("real")), (std::vector<std::string>{"later.f71", "site.f71"}));

    // A device is written in place, never replaced by a regular file.
    EXPECT_EQ(ReplaceFileText("/dev/null", "gone"), ReplaceStatus::Ok);
    EXPECT_TRUE(S_ISCHR(ModeOf("/dev/null")));
}

TEST(ReplaceFile, CheckTellsWhetherATargetCanBeWritten) {
    TempDir dir;
    EXPECT_EQ(CheckReplaceable(dir.File("new.f71")), ReplaceStatus::Ok);
    EXPECT_EQ(CheckReplaceable(dir.File("no/such/folder.f71")), ReplaceStatus::CannotCreate);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(CheckReplaceable(dir.Path()), ReplaceStatus::CannotWrite);
    EXPECT_EQ(errno, EISDIR);
    EXPECT_TRUE(FolderNames(dir.Path()).empty()) << "the check leaves nothing behind";
}

TEST(ReadFile, TellsAMissingFileFromAnUnreadableOne) {
    TempDir dir;
    std::string bytes;
    EXPECT_EQ(ReadFileContents(dir.File("none"), bytes), ReadStatus::Missing);
    WriteFile(dir.File("a"), "abc");
    EXPECT_EQ(ReadFileContents(dir.File("a"), bytes), ReadStatus::Ok);
    EXPECT_EQ(bytes, "abc");
    EXPECT_EQ(ReadFileContents(dir.Path(), bytes), ReadStatus::Failed) << "a folder";
    EXPECT_EQ(errno, EISDIR);
}

} // namespace
} // namespace qm
