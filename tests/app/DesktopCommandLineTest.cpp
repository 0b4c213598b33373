#include <gtest/gtest.h>

#include "app/DesktopCommandLine.h"
#include "app/ProgramVersion.h"

namespace qm {
namespace {

TEST(DesktopCommandLine, FileKindDecidesWhatOpens) {
    DesktopCommandLine project = ParseDesktopCommandLine({"/data/site A.f71"});
    EXPECT_EQ(project.projectFile, "/data/site A.f71");
    EXPECT_TRUE(project.planFile.empty());
    EXPECT_TRUE(project.error.empty());

    DesktopCommandLine plan = ParseDesktopCommandLine({"--settings", "s.ini", "plans/A.F71CH"});
    EXPECT_EQ(plan.planFile, "plans/A.F71CH") << "the extension in any letter case";
    EXPECT_TRUE(plan.projectFile.empty());
    EXPECT_EQ(plan.settingsFile, "s.ini");

    EXPECT_TRUE(ParseDesktopCommandLine({}).projectFile.empty());
    EXPECT_FALSE(ParseDesktopCommandLine({"notes.txt"}).error.empty());
    EXPECT_FALSE(ParseDesktopCommandLine({"a.f71", "b.f71CH"}).error.empty());
    EXPECT_FALSE(ParseDesktopCommandLine({".f71"}).error.empty()) << "no name before it";
    EXPECT_EQ(ParseDesktopCommandLine({"--", "--odd.f71"}).projectFile, "--odd.f71");
}

TEST(DesktopCommandLine, OptionsAndQtsOwnArgumentsPassThrough) {
    DesktopCommandLine line =
        ParseDesktopCommandLine({"-platform", "offscreen", "--lang", "zh", "x.f71"});
    EXPECT_EQ(line.passOn, (std::vector<std::string>{"-platform", "offscreen"}));
    EXPECT_EQ(line.language, "zh");
    EXPECT_EQ(line.projectFile, "x.f71");

    EXPECT_TRUE(ParseDesktopCommandLine({"--version"}).showVersion);
    EXPECT_TRUE(ParseDesktopCommandLine({"--help"}).showHelp);
    EXPECT_FALSE(ParseDesktopCommandLine({"--settings"}).error.empty());
    EXPECT_FALSE(ParseDesktopCommandLine({"--settings", "", "x.f71"}).error.empty());
    EXPECT_FALSE(ParseDesktopCommandLine({"--lang", "fr"}).error.empty());
    EXPECT_EQ(DesktopVersionLine(), std::string("qm7100-workdesk ") + ProgramVersion() + "\n");
}

} // namespace
} // namespace qm
