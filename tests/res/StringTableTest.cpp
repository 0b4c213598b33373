#include "res/StringTable.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace qm {
namespace {

constexpr int kFirstEnglish = 5500;
constexpr int kLastEnglish = 5729;
constexpr int kTwinOffset = kLanguageEnglish - kLanguageChinese;

// The printf conversions of a text, in order ("%%" included, so a lone "%" is noticed too).
std::vector<std::string> FormatSpecifiers(const std::string& text) {
    static const std::regex conversion(
        R"(%(%|[-+ #0]*(\*|\d+)?(\.(\*|\d+))?(hh|h|ll|l|z)?[a-zA-Z]))");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), conversion);
         it != std::sregex_iterator(); ++it)
        found.push_back(it->str());
    return found;
}

// The sentence mark a text ends with, folding full-width Chinese marks onto ASCII ones.
char FinalMark(const std::string& text) {
    static const std::vector<std::pair<std::string, char>> marks = {
        {"!", '!'}, {"！", '!'}, {"?", '?'}, {"？", '?'}, {".", '.'}, {"。", '.'}};
    for (const auto& [mark, folded] : marks) {
        if (text.size() >= mark.size() &&
            text.compare(text.size() - mark.size(), mark.size(), mark) == 0)
            return folded;
    }
    return '\0';
}

TEST(StringTableTest, EveryEnglishTextHasAChineseTwinAndViceVersa) {
    int english = 0;
    for (int id = kFirstEnglish; id <= kLastEnglish; ++id) {
        if (HasText(id)) {
            ++english;
            EXPECT_TRUE(HasText(id - kTwinOffset)) << "English " << id << " has no Chinese twin";
        }
        if (HasText(id - kTwinOffset)) {
            EXPECT_TRUE(HasText(id)) << "Chinese " << id - kTwinOffset << " has no English twin";
        }
    }
    // The analysis titles, the panes, the dialogs and the messages together fill well over 70.
    EXPECT_GE(english, 70);
}

TEST(StringTableTest, PairsAgreeInTextFormatAndEndMark) {
    for (int id = kFirstEnglish; id <= kLastEnglish; ++id) {
        if (!HasText(id))
            continue;
        const std::string& en = TextById(id);
        const std::string& zh = TextById(id - kTwinOffset);
        EXPECT_FALSE(en.empty()) << id;
        EXPECT_FALSE(zh.empty()) << id - kTwinOffset;
        EXPECT_EQ(FormatSpecifiers(en), FormatSpecifiers(zh)) << id << ": " << en << " / " << zh;
        EXPECT_EQ(FinalMark(en), FinalMark(zh)) << id << ": " << en << " / " << zh;
    }
}

TEST(StringTableTest, FormatSpecifierScanSeesConversionsAndLonePercents) {
    EXPECT_EQ(FormatSpecifiers("%d-%d-%d "), (std::vector<std::string>{"%d", "%d", "%d"}));
    EXPECT_EQ(FormatSpecifiers("%.2fMHz %s 100%%"), (std::vector<std::string>{"%.2f", "%s", "%%"}));
    EXPECT_NE(FormatSpecifiers("%.1f dB"), FormatSpecifiers("%d dB"));
}

TEST(StringTableTest, TrLooksUpBothLanguagesByEnglishId) {
    EXPECT_EQ(Tr(5650, kLanguageEnglish), "Failed ! Please check the connection !");
    EXPECT_EQ(Tr(5650, kLanguageChinese), "失败！请检查连接！");
    EXPECT_EQ(Tr(5672, kLanguageEnglish), "Failed to read CH data,please check the connection !");
    EXPECT_EQ(Tr(5672, kLanguageChinese), "读取频道数据失败，请检查连接！");
    EXPECT_EQ(Tr(5647, kLanguageEnglish), "QM7100 Workdesk");
    EXPECT_EQ(Tr(5647, kLanguageChinese), TextById(5147));
    EXPECT_NE(TextById(5147).find("QM7100"), std::string::npos);
    EXPECT_EQ(Tr(5507, kLanguageChinese), "倾斜分析");
    EXPECT_EQ(Tr(5689, kLanguageEnglish), "Data transfered successfully!");
}

TEST(StringTableTest, OleFailureTextIsChineseInBothLanguages) {
    const std::string ole = "OLE 初始化失败。请确保 OLE 库是正确的版本。";
    EXPECT_EQ(TextById(kIdsOleInitFailed), ole);
    EXPECT_EQ(Tr(kIdsOleInitFailed, kLanguageEnglish), ole);
    EXPECT_EQ(Tr(kIdsOleInitFailed, kLanguageChinese), ole);
}

TEST(StringTableTest, UnknownIdsGiveEmptyText) {
    EXPECT_FALSE(HasText(5729 + 1));
    EXPECT_EQ(Tr(5730, kLanguageEnglish), "");
    EXPECT_EQ(TextById(-1), "");
    EXPECT_EQ(TextById(0), "");
}

TEST(StringTableTest, ProcessWideLanguageFollowsTheChosenBase) {
    const int saved = LanguageBase();
    SetLanguageBase(kLanguageChinese);
    EXPECT_EQ(Tr(5512), "电平分析");
    SetLanguageBase(kLanguageEnglish);
    EXPECT_EQ(Tr(5512), "Level Analysis");
    // Anything that is not the Chinese base falls back to English rather than to a random block.
    SetLanguageBase(123);
    EXPECT_EQ(LanguageBase(), kLanguageEnglish);
    SetLanguageBase(saved);
}

TEST(StringTableTest, OnlyThePrcLocaleSelectsChinese) {
    EXPECT_EQ(LanguageBaseForLocale("zh_CN.UTF-8"), kLanguageChinese);
    EXPECT_EQ(LanguageBaseForLocale("zh_CN"), kLanguageChinese);
    EXPECT_EQ(LanguageBaseForLocale("zh_CN.GB18030"), kLanguageChinese);
    EXPECT_EQ(LanguageBaseForLocale("zh_TW.UTF-8"), kLanguageEnglish);
    EXPECT_EQ(LanguageBaseForLocale("zh_HK"), kLanguageEnglish);
    EXPECT_EQ(LanguageBaseForLocale("zh_SG.UTF-8"), kLanguageEnglish);
    EXPECT_EQ(LanguageBaseForLocale("en_US.UTF-8"), kLanguageEnglish);
    EXPECT_EQ(LanguageBaseForLocale("C"), kLanguageEnglish);
    EXPECT_EQ(LanguageBaseForLocale(""), kLanguageEnglish);
}

#if !defined(_WIN32) // the locale variables are POSIX's; Windows asks the system (PlatformTest)
// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(StringTableTest, SystemLanguageTakesTheFirstSetLocaleVariable) {
    ScopedEnv all("LC_ALL", nullptr);
    ScopedEnv messages("LC_MESSAGES", "");
    ScopedEnv lang("LANG", "zh_CN.UTF-8");
    EXPECT_EQ(SystemLanguageBase(), kLanguageChinese);
    {
        ScopedEnv allSet("LC_ALL", "en_GB.UTF-8");
        EXPECT_EQ(SystemLanguageBase(), kLanguageEnglish);
    }
    ScopedEnv noLang("LANG", nullptr);
    EXPECT_EQ(SystemLanguageBase(), kLanguageEnglish);
}
#endif

// The source file is edited by hand: check the layout the table's reader silently relies on.
TEST(StringTableTest, SourceFileKeepsOneUniqueIdPerLineAndPairsTogether) {
    std::istringstream in(test::ReadFile(test::SourcePath("src/res/strings.txt")));
    ASSERT_TRUE(in.good());
    static const std::regex entry(R"(^(\d+)\t(.+)$)");
    std::set<int> seen;
    int pendingEnglish = 0; // English id still waiting for its twin, 0 for none
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty() || line[0] == '#')
            continue;
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, entry)) << "line " << lineNo << ": " << line;
        const int id = std::stoi(m[1].str());
        EXPECT_TRUE(seen.insert(id).second) << "line " << lineNo << ": id " << id << " twice";
        const bool english = id >= kFirstEnglish && id <= kLastEnglish;
        const bool chinese = id >= kFirstEnglish - kTwinOffset && id <= kLastEnglish - kTwinOffset;
        EXPECT_TRUE(english || chinese || id == kIdsOleInitFailed)
            << "line " << lineNo << ": id " << id << " outside the table's blocks";
        if (pendingEnglish != 0) {
            EXPECT_EQ(id, pendingEnglish - kTwinOffset)
                << "line " << lineNo << ": Chinese twin of " << pendingEnglish << " expected";
            pendingEnglish = 0;
        } else {
            EXPECT_FALSE(chinese) << "line " << lineNo << ": Chinese " << id
                                  << " is not directly below its English text";
            if (english)
                pendingEnglish = id;
        }
    }
    EXPECT_EQ(pendingEnglish, 0) << "last English text has no twin below it";
}

} // namespace
} // namespace qm
