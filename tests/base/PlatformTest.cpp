#include <gtest/gtest.h>

#include <filesystem>

#include "base/BinaryFile.h"
#include "base/Platform.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Names are UTF-8 everywhere; on Windows they must reach the system as UTF-16, and a file
// must be replaced even though Windows does not rename over an existing one.
TEST(Platform, ReplacesFilesWithUtf8Names) {
    test::TempDir dir;
    const std::string path = dir.File("测量 µV.f71");
    ASSERT_EQ(ReplaceFileContents(path, {Bytes("old")}), ReplaceStatus::Ok);
    ASSERT_EQ(ReplaceFileContents(path, {Bytes("new "), Bytes("data")}), ReplaceStatus::Ok);
    EXPECT_EQ(test::ReadFile(path), "new data");
    FilePtr f = OpenForReading(path);
    ASSERT_TRUE(f);
    char buffer[16] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, f.get()), 8u);
    // Nothing is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(FsPath(dir.Path())))
        ++files;
    EXPECT_EQ(files, 1);
    EXPECT_EQ(ReplaceFileContents(dir.File("no folder/x.f71"), {Bytes("x")}),
              ReplaceStatus::CannotCreate);
}

TEST(Platform, WindowsLanguageIdsMapToLocales) {
    EXPECT_EQ(LocaleOfLanguageId(0x0804), "zh_CN");
    EXPECT_EQ(LocaleOfLanguageId(0x0404), "zh_TW");
    EXPECT_EQ(LocaleOfLanguageId(0x1004), "zh_SG");
    EXPECT_EQ(LocaleOfLanguageId(0x0409), "en");
    EXPECT_EQ(LocaleOfLanguageId(0x0407), "en");
}

TEST(Platform, CodePagesRoundTripAndMarkWhatTheyLack) {
    EXPECT_EQ(CodePageToUtf8("\xB5\xE7", kCodePageGbk), "\xE7\x94\xB5"); // 电
    EXPECT_EQ(Utf8ToCodePage("\xE7\x94\xB5", kCodePageGbk), "\xB5\xE7");
    EXPECT_EQ(CodePageToUtf8("\xB5", kCodePageWestern), "\xC2\xB5");
    EXPECT_EQ(Utf8ToCodePage("\xE7\x94\xB5", kCodePageWestern), "?");
    EXPECT_EQ(Utf8ToCodePage("a\xE7\x94\xB5"
                             "b",
                             kCodePageWestern),
              "a?b");
}

TEST(Platform, ExecutableFolderAndUserFoldersExist) {
    EXPECT_TRUE(std::filesystem::is_directory(FsPath(ExecutableFolder())));
    EXPECT_FALSE(UserConfigBase().empty());
    EXPECT_FALSE(UserCacheBase().empty());
    const std::tm t = LocalTime(0);
    EXPECT_GE(t.tm_year, 69); // 1970 in any time zone, give or take a day
}

} // namespace
} // namespace qm
