#include <gtest/gtest.h>

#include <string>

#include "limits/LimitProfile.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

// The shipped profile with one line replaced (the first line that starts with `from`).
std::string DefaultWith(const std::string& from, const std::string& to) {
    std::string text(DefaultProfileText());
    const std::size_t at = text.find("\n" + from);
    EXPECT_NE(at, std::string::npos) << from;
    const std::size_t end = text.find('\n', at + 1);
    return text.substr(0, at + 1) + to + text.substr(end);
}

// Line number of the first line that is exactly `whole`.
int LineOf(const std::string& text, const std::string& whole) {
    int line = 1;
    const std::size_t at = text.find("\n" + whole + "\n");
    for (std::size_t i = 0; i <= at; ++i)
        line += text[i] == '\n';
    return line;
}

TEST(LimitProfile, ShippedDefaultHoldsTheStandardsRangesAndTheExamples) {
    const ProfileResult r = ParseLimitProfile(DefaultProfileText());
    ASSERT_TRUE(r.profile) << r.error;
    const LimitProfile& p = *r.profile;
    EXPECT_EQ(p.tv.levelMin, 60);
    EXPECT_EQ(p.tv.levelMax, 77);
    EXPECT_EQ(p.tv.videoAudioMin, 10);
    EXPECT_EQ(p.tv.videoAudioMax, 20);
    EXPECT_EQ(p.cable.at(16).levelMin, 41);
    EXPECT_EQ(p.cable.at(64).levelMax, 67);
    EXPECT_EQ(p.cable.at(256).levelMin, 54);
    EXPECT_EQ(p.cable.at(256).merMin, 31);
    EXPECT_EQ(p.cable.count(kOrderQpsk), 0u);
    EXPECT_EQ(p.terrestrial.levelMin, 45);
    EXPECT_EQ(p.terrestrial2.levelMin, 39);
    EXPECT_EQ(p.terrestrial2.merMin, 24);
    EXPECT_DOUBLE_EQ(p.terrestrial.berMax, 2e-4);
    EXPECT_EQ(p.tiltMax, 12);
    EXPECT_EQ(p.adjacentMax, 3);
    EXPECT_EQ(p.humMax, 3);
    // The file says which values are the standard's.
    EXPECT_NE(DefaultProfileText().find("; standard"), std::string::npos);
    EXPECT_NE(DefaultProfileText().find("; example"), std::string::npos);
}

TEST(LimitProfile, EveryFaultNamesItsLineAndNothingFallsBack) {
    struct Case {
        std::string from, to, expected;
        int lineAfter = 0; // the fault sits this many lines below the replaced one
    };
    const Case cases[] = {
        {"MerMin = 27", "MerMin = twenty", "MerMin is not a number: 'twenty'"},
        {"MerMin = 27", "MerMin = 0x1B", "not a number"},
        {"MerMin = 27", "MerMin = ", "not a number: ''"},
        {"MerMin = 27", "MerMn = 27", "unknown key 'MerMn' in section [DVB-C 64QAM]"},
        {"MerMin = 27", "MerMin = 27 27", "not a number"},
        {"LevelMax = 77", "LevelMax = 50", "LevelMax is below LevelMin in section [TV]"},
        {"HumMax = 3", "HumMax = -1", "HumMax must not be negative"},
        {"BerMax = 2E-4        ; example (after Viterbi)", "BerMax = 2", "BerMax must be a ratio"},
        {"[DVB-T]", "[DVB-X]", "unknown section [DVB-X]"},
        {"[DVB-T]", "[DVB-T", "closing ']'"},
        {"TiltMax = 12", "TiltMax 12", "expected KEY = VALUE"},
        {"TiltMax = 12", "tiltmax = 12\nTiltMax = 11", "appears twice", 1},
    };
    for (const Case& c : cases) {
        const std::string changed = DefaultWith(c.from, c.to);
        const ProfileResult r = ParseLimitProfile(changed);
        EXPECT_FALSE(r.profile) << c.to;
        const int line = LineOf(changed, c.to.substr(0, c.to.find('\n'))) + c.lineAfter;
        EXPECT_EQ(r.error.rfind("line " + std::to_string(line) + ": ", 0), 0u)
            << c.to << " -> " << r.error;
        EXPECT_NE(r.error.find(c.expected), std::string::npos) << c.to << " -> " << r.error;
    }
}

// A range may shrink to one value; only a maximum below its minimum is refused.
TEST(LimitProfile, AMinimumMayEqualItsMaximum) {
    struct Case {
        std::string from, to;
        bool loads;
    };
    const Case cases[] = {
        {"LevelMax = 77", "LevelMax = 60", true},
        {"VideoAudioMax = 20", "VideoAudioMax = 10", true},
        {"LevelMax = 61", "LevelMax = 41.0", true},
        {"LevelMax = 77", "LevelMax = 59.99", false},
        {"VideoAudioMax = 20", "VideoAudioMax = 9.99", false},
    };
    for (const Case& c : cases) {
        const ProfileResult r = ParseLimitProfile(DefaultWith(c.from, c.to));
        EXPECT_EQ(r.profile.has_value(), c.loads) << c.to << " -> " << r.error;
    }
}

TEST(LimitProfile, MissingEntriesAndSectionsAreErrors) {
    // A missing key: the error points at its section's header line.
    const std::string text = DefaultWith("MerMin = 31", "; MerMin removed");
    ProfileResult r = ParseLimitProfile(text);
    ASSERT_FALSE(r.profile);
    EXPECT_EQ(r.error, "line " + std::to_string(LineOf(text, "[DVB-C 256QAM]")) +
                           ": section [DVB-C 256QAM] has no MerMin");

    r = ParseLimitProfile(DefaultWith("[DVB-T2]", "[DVB-C QPSK]"));
    ASSERT_FALSE(r.profile);
    EXPECT_EQ(r.error, "the profile has no section [DVB-T2]");

    r = ParseLimitProfile("");
    EXPECT_FALSE(r.profile);
    r = ParseLimitProfile("Name = x\n");
    EXPECT_EQ(r.error, "line 1: an entry before the first section");
    r = ParseLimitProfile(std::string("[Profile]\nName = a\0b\n", 22));
    EXPECT_EQ(r.error, "line 2: holds a NUL byte");
}

TEST(LimitProfile, FilesLoadOrSayWhyNot) {
    test::TempDir dir;
    const ProfileResult missing = LoadLimitProfile(dir.File("none.ini"));
    EXPECT_FALSE(missing.profile);
    EXPECT_NE(missing.error.find(dir.File("none.ini")), std::string::npos);

    test::WriteFile(dir.File("mine.ini"),
                    DefaultWith("Name = EN 60728-1 outlet levels", "Name = Block 7\r"));
    const ProfileResult mine = LoadLimitProfile(dir.File("mine.ini"));
    ASSERT_TRUE(mine.profile) << mine.error;
    EXPECT_EQ(mine.profile->name, "Block 7");

    test::WriteFile(dir.File("bad.ini"), DefaultWith("HumMax = 3", "HumMax = lots"));
    const ProfileResult bad = LoadLimitProfile(dir.File("bad.ini"));
    EXPECT_FALSE(bad.profile);
    EXPECT_EQ(bad.error.rfind(dir.File("bad.ini") + ": line ", 0), 0u) << bad.error;
}

} // namespace
} // namespace qm
