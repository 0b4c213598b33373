#include <gtest/gtest.h>

#include <cerrno>

#include <sys/stat.h>

#include "base/BinaryFile.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::FolderNames;
using test::ReadFile;
using test::TempDir;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

TEST(ReplaceFile, AFailureAtAnyStepKeepsThePreviousFileAndNoTemporary) {
    TempDir dir;
    const std::string path = dir.File("data.csv");
    test::WriteFile(path, "previous");
    const int errors[] = {ENOSPC, EIO, EXDEV};
    for (int step = 0; step < 3; ++step) {
        test::FullDisk io; // fails the writes; the other steps are tried with writes working
        if (step > 0)
            io.Io().write = ::write;
        if (step == 1)
            io.Io().fsync = [](int) { return errno = EIO, -1; };
        if (step == 2)
            io.Io().rename = [](const char*, const char*) { return errno = EXDEV, -1; };
        EXPECT_EQ(ReplaceFileText(path, "new contents"), ReplaceStatus::CannotWrite) << step;
        EXPECT_EQ(errno, errors[step]);
        EXPECT_EQ(ReadFile(path), "previous") << step;
        EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"data.csv"}) << step;
    }
}

TEST(ReplaceFile, KeepsLinksAndPermissions) {
    TempDir dir;
    ::mkdir(dir.File("real").c_str(), 0700);
    const std::string target = dir.File("real/site.f71"), link = dir.File("site.f71");
    test::WriteFile(target, "old");
    ::chmod(target.c_str(), 0600);
    ASSERT_EQ(::symlink("real/site.f71", link.c_str()), 0); // relative to the link's folder
    ASSERT_EQ(ReplaceFileText(link, "through the link"), ReplaceStatus::Ok);
    EXPECT_TRUE(S_ISLNK(ModeOf(link)));
    EXPECT_EQ(ReadFile(target), "through the link");
    EXPECT_EQ(ModeOf(target) & 07777, 0600u);

    const mode_t mask = ::umask(027);
    ASSERT_EQ(ReplaceFileText(dir.File("new.csv"), "x"), ReplaceStatus::Ok);
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir.File("new.csv")) & 07777, 0640u);
    // A device is written in place, never replaced by a regular file.
    EXPECT_EQ(ReplaceFileText("/dev/null", "gone"), ReplaceStatus::Ok);
    EXPECT_TRUE(S_ISCHR(ModeOf("/dev/null")));
}

} // namespace
} // namespace qm
