// Where the capture file goes, and giving up the connect tries.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "app/CaptureFile.h"
#include "link/cnComm.h"
#include "operations/ScreenCapture.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

TEST(CaptureFile, BesideTheProgramWhenWritableOtherwiseInTheCache) {
    test::TempDir dir;
    const std::string program = dir.File("bin");
    const std::string cache = dir.File("cache/qm7100-workdesk");
    std::filesystem::create_directory(program);
    EXPECT_EQ(CaptureFilePath(program, cache), program + "/temp.bmp");
    EXPECT_FALSE(std::filesystem::exists(cache));
    EXPECT_EQ(CaptureFilePath(dir.File("missing"), cache), cache + "/temp.bmp");
    EXPECT_TRUE(std::filesystem::is_directory(cache)) << "the cache folder is made";

    ::chmod(program.c_str(), 0555);
    const bool mayWriteAnyway = ::access(program.c_str(), W_OK) == 0; // root
    if (!mayWriteAnyway) {
        EXPECT_EQ(CaptureFilePath(program, cache), cache + "/temp.bmp");
    }
    ::chmod(program.c_str(), 0755);
}

TEST(CaptureRetry, StopGivesUpTheRemainingTriesSilently) {
    test::TempDir dir;
    cnComm port;
    int pauses = 0;
    CaptureRetry retry;
    retry.pause = [&](int) { ++pauses; };
    retry.stop = [&] { return pauses == 2; };
    const CaptureResult r = CaptureScreen(port, ConnectTarget::Direct(dir.File("none"), "115200"),
                                          dir.File("screen.bmp"), {}, retry);
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_TRUE(r.outcome.messages.empty());
    EXPECT_EQ(r.connectTries, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("screen.bmp")));
}

} // namespace
} // namespace qm
