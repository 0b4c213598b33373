#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include <cerrno>

#include <unistd.h>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(Settings, DefaultsWhenFileSectionOrKeyIsMissing) {
    TempDir dir;
    Settings none(dir.File("setup.ini"));
    EXPECT_EQ(none.LevelUnit(), "dBuV");
    EXPECT_EQ(none.TemperatureUnit(), "C");
    EXPECT_EQ(none.Port(kPortNotConfigured), "300");
    EXPECT_EQ(none.Port("1"), "1");
    EXPECT_EQ(none.Baud(), "115200");

    WriteFile(dir.File("setup.ini"), "[General]\r\nTemperatureUnit=F\r\n");
    EXPECT_EQ(none.LevelUnit(), "dBuV") << "missing key in an existing section";
    EXPECT_EQ(none.TemperatureUnit(), "F");
    EXPECT_EQ(none.Baud(), "115200") << "missing section";
}

TEST(Settings, LevelUnitMapping) {
    TempDir dir;
    Settings s(dir.File("setup.ini"));
    const std::pair<const char*, const char*> cases[] = {
        {"dBuV", "dBuV"}, {"dBmV", "dBmV"}, {"dBm", "dBm"},
        {"xyz", "dBm"},   {"", "dBm"},      {"DBUV", "dBm"}, // the stored value is compared exactly
    };
    for (auto [stored, shown] : cases) {
        ASSERT_TRUE(s.SetLevelUnit(stored));
        EXPECT_EQ(s.LevelUnit(), shown) << stored;
    }
    EXPECT_EQ(LevelUnitCode("dBuV"), 0);
    EXPECT_EQ(LevelUnitCode("dBmV"), 1);
    EXPECT_EQ(LevelUnitCode("dBm"), 2);
}

TEST(Settings, CurrentLevelUnitFollowsTheLastChoiceNotTheFile) {
    TempDir dir;
    Settings s(dir.File("setup.ini"));
    s.SetLevelUnit("dBmV");
    SetCurrentLevelUnit("xyz");
    EXPECT_EQ(CurrentLevelUnit(), "dBm");
    EXPECT_EQ(s.LevelUnit(), "dBmV") << "the file keeps its value";
}

TEST(IniFile, NamesMatchCaseInsensitivelyAndValuesAreTrimmed) {
    TempDir dir;
    WriteFile(dir.File("a.ini"), "; comment\n[connect information]\n  PORT = 7 \nbaud=\"9600\"\n");
    IniFile ini(dir.File("a.ini"));
    EXPECT_EQ(ini.Read("Connect Information", "Port", "300"), "7");
    EXPECT_EQ(ini.Read("CONNECT INFORMATION", "Baud", ""), "9600");
    EXPECT_EQ(ini.Read("Connect", "Port", "x"), "x") << "section names match whole";

    // Quotes come off only as a pair; a pair alone is an empty value, not the default.
    WriteFile(dir.File("a.ini"), "[General]\nEmpty=\"\"\nOne=\"\nInner=a\"b\"\nHalf=\"x\n");
    EXPECT_EQ(ini.Read("General", "Empty", "default"), "");
    EXPECT_EQ(ini.Read("General", "One", ""), "\"");
    EXPECT_EQ(ini.Read("General", "Inner", ""), "a\"b\"");
    EXPECT_EQ(ini.Read("General", "Half", ""), "\"x");
}

TEST(IniFile, WriteKeepsEveryOtherLine) {
    TempDir dir;
    const std::string original = "; kept comment\r\n[General]\r\nLevelUnit=dBmV\r\n"
                                 "Other = keep me\r\n\r\n[Connect Information]\r\nPort=3\r\n"
                                 "[Extra]\r\nx=1\r\n";
    WriteFile(dir.File("setup.ini"), original);
    IniFile ini(dir.File("setup.ini"));

    ASSERT_TRUE(ini.Write("general", "levelunit", "dBm"));
    ASSERT_TRUE(ini.Write("Connect Information", "Baud", "57600"));
    EXPECT_EQ(ReadFile(dir.File("setup.ini")),
              "; kept comment\r\n[General]\r\nlevelunit=dBm\r\nOther = keep me\r\n\r\n"
              "[Connect Information]\r\nPort=3\r\nBaud=57600\r\n[Extra]\r\nx=1\r\n");
    EXPECT_EQ(ini.Read("General", "LevelUnit", ""), "dBm");
    EXPECT_EQ(ini.Read("Extra", "x", ""), "1");
}

TEST(IniFile, WriteCreatesFileAndSection) {
    TempDir dir;
    IniFile ini(dir.File("new.ini"));
    ASSERT_TRUE(ini.Write("Connect Information", "Port", "5"));
    ASSERT_TRUE(ini.Write("General", "LevelUnit", "dBuV"));
    EXPECT_EQ(ReadFile(dir.File("new.ini")),
              "[Connect Information]\r\nPort=5\r\n[General]\r\nLevelUnit=dBuV\r\n");
}

TEST(IniFile, FailedWriteReportsAndKeepsTheFile) {
    IniFile ini("/nonexistent-folder/setup.ini");
    EXPECT_FALSE(ini.Write("General", "LevelUnit", "dBm"));
}

TEST(Settings, AFileThatCannotBeReadWholeIsNeverRewritten) {
    TempDir dir;
    const std::string path = dir.File("setup.ini");
    const std::string before =
        "[General]\r\nLevelUnit=dBmV\r\n[Connect Information]\r\nBaud=57600\r\n";
    WriteFile(path, before);
    Settings settings(path);
    {
        // The first bytes arrive, then the disk reports an I/O error.
        test::FullDisk io;
        io.Io().read = [](int fd, void* buffer, std::size_t) {
            static int calls = 0;
            return ++calls % 2 == 1 ? ::read(fd, buffer, 12) : (errno = EIO, -1);
        };
        EXPECT_FALSE(settings.SetPort("/dev/ttyUSB0"));
        EXPECT_EQ(SettingsWriteError(path, errno),
                  "cannot write the settings file " + path + ": Input/output error");
    }
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(settings.LevelUnit(), "dBmV");
    EXPECT_EQ(settings.Baud(), "57600");
}

TEST(Settings, FileLivesBesideTheExecutableWhateverItsName) {
    // The test binary has its own name; its settings path is in its own folder.
    const std::string dir = ExecutableDirectory();
    EXPECT_EQ(DefaultSettingsPath(), dir + "/setup.ini");
    EXPECT_NE(dir.find("tests"), std::string::npos);
}

bool ReadOnly(const std::string&) {
    return false;
}
bool Writable(const std::string&) {
    return true;
}

TEST(Settings, InstalledProgramKeepsItsSettingsInTheUsersConfigFolder) {
    TempDir dir;
    const std::string program = dir.File("bin"), config = dir.File("config/qm7100-workdesk");
    std::filesystem::create_directory(program);

    EXPECT_EQ(SettingsFilePath(program, config, Writable), program + "/setup.ini")
        << "a portable copy keeps setup.ini beside itself";
    EXPECT_FALSE(std::filesystem::exists(config));

    EXPECT_EQ(SettingsFilePath(program, config, ReadOnly), config + "/setup.ini");
    EXPECT_TRUE(std::filesystem::is_directory(config)) << "made so the first save succeeds";
    Settings installed(SettingsFilePath(program, config, ReadOnly));
    ASSERT_TRUE(installed.SetPort("/dev/ttyUSB0"));
    EXPECT_EQ(Settings(config + "/setup.ini").Port("1"), "/dev/ttyUSB0");

    WriteFile(program + "/setup.ini", "[General]\r\nLevelUnit=dBmV\r\n");
    EXPECT_EQ(SettingsFilePath(program, config, ReadOnly), program + "/setup.ini")
        << "an existing setup.ini beside a read-only program is still used";
}

TEST(Settings, ConfigFolderFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string previous = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/somewhere/cfg", 1);
    EXPECT_EQ(UserConfigDirectory(), "/somewhere/cfg/qm7100-workdesk");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(UserConfigDirectory().find("relative"), std::string::npos)
        << "a relative XDG_CONFIG_HOME is ignored";
    if (saved)
        ::setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace qm
