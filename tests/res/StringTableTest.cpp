#include "res/StringTable.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
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
        {"!", '!'}, {"！", '!'}, {"?", '?'}, {"？", '?'}, {".", '.'}, {"。", '.'}, {"…", '.'}};
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
    EXPECT_EQ(TextById(txt::kOleInitFailed), ole);
    EXPECT_EQ(Tr(txt::kOleInitFailed, kLanguageEnglish), ole);
    EXPECT_EQ(Tr(txt::kOleInitFailed, kLanguageChinese), ole);
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

// The source file is edited by hand: check the layout the reader and the id generator rely on.
TEST(StringTableTest, SourceFileKeepsFourFieldsAndUniqueKeysAndIds) {
    std::istringstream in(test::ReadFile(test::SourcePath("src/res/texts.txt")));
    ASSERT_TRUE(in.good());
    // Split by hand: a regular expression over the long lines runs out of stack on Windows.
    const auto isEntry = [](const std::vector<std::string>& f) {
        const auto all = [](const std::string& t, auto pred) {
            return !t.empty() && std::all_of(t.begin(), t.end(), pred);
        };
        const auto alnum = [](unsigned char c) { return std::isalnum(c) != 0; };
        const auto digit = [](unsigned char c) { return std::isdigit(c) != 0; };
        return f.size() == 4 && all(f[0], alnum) &&
               std::isalpha(static_cast<unsigned char>(f[0][0])) &&
               (f[1] == "-" || all(f[1], digit)) && !f[2].empty() && !f[3].empty();
    };
    std::set<std::string> keys;
    std::set<int> ids;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> f;
        for (std::size_t from = 0;;) {
            const std::size_t tab = line.find('\t', from);
            f.push_back(line.substr(from, tab - from));
            if (tab == std::string::npos)
                break;
            from = tab + 1;
        }
        ASSERT_TRUE(isEntry(f)) << "line " << lineNo << ": " << line;
        EXPECT_TRUE(keys.insert(f[0]).second) << "line " << lineNo << ": key twice";
        if (f[1] == "-")
            continue;
        const int id = std::stoi(f[1]);
        EXPECT_TRUE(ids.insert(id).second) << "line " << lineNo << ": id " << id << " twice";
        EXPECT_TRUE((id >= kFirstEnglish && id <= kLastEnglish) || id == txt::kOleInitFailed)
            << "line " << lineNo << ": id " << id << " outside the table's English block";
    }
    // The generated header numbers the same lines as the reader: every key, its id.
    EXPECT_EQ(keys.size(), std::size(txt::kAll));
    for (const txt::KeyId& k : txt::kAll)
        EXPECT_EQ(TextKey(k.id), k.key) << k.id;
}

// Every text of the program's own, not only the string table's, is a pair that agrees.
TEST(StringTableTest, OwnTextsAreTranslatedWithTheirPlaceholders) {
    static const std::regex numbered(R"(%[1-9](?!\$))"); // Qt's %1, not printf's %1$d
    auto numberedSet = [](const std::string& text) {
        std::multiset<std::string> found;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), numbered);
             it != std::sregex_iterator(); ++it)
            found.insert(it->str());
        return found;
    };
    for (const txt::KeyId& k : txt::kAll) {
        const std::string en = Tr(k.id, kLanguageEnglish);
        const std::string zh = Tr(k.id, kLanguageChinese);
        ASSERT_FALSE(en.empty()) << k.key;
        ASSERT_FALSE(zh.empty()) << k.key;
        EXPECT_EQ(numberedSet(en), numberedSet(zh)) << k.key << ": " << en << " / " << zh;
        if (k.id >= 20000) {
            // The verdict counts may reorder their numbers ("%2$d ... %1$d").
            if (zh.find('$') == std::string::npos) {
                EXPECT_EQ(FormatSpecifiers(en), FormatSpecifiers(zh)) << k.key << ": " << zh;
            }
            EXPECT_EQ(FinalMark(en), FinalMark(zh)) << k.key << ": " << en << " / " << zh;
        }
    }
}

TEST(StringTableTest, FillPutsValuesInOrderAndTakesThemAsGiven) {
    struct Case {
        const char* pattern;
        std::initializer_list<std::string_view> values;
        const char* filled;
    };
    const Case cases[] = {
        {"cannot write %s: %s", {"a%sb.csv", "No space"}, "cannot write a%sb.csv: No space"},
        {"剩余 %s", {"0:05"}, "剩余 0:05"},
        {"%s of %s", {"1"}, "1 of "}, // a missing value leaves the place empty
        {"100%% %d", {"x"}, "100%% %d"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Fill(c.pattern, c.values), c.filled) << c.pattern;
}

} // namespace
} // namespace qm
