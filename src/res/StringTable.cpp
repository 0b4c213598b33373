#include "res/StringTable.h"

#include <atomic>
#include <cstdlib>
#include <unordered_map>

#include "base/Platform.h"

namespace qm {

extern const unsigned char kStringTableText[];
extern const std::size_t kStringTableTextSize;

namespace {

std::string Unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char c = s[++i];
            out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::unordered_map<int, std::string> Parse() {
    std::unordered_map<int, std::string> table;
    std::string_view text(reinterpret_cast<const char*>(kStringTableText), kStringTableTextSize);
    while (!text.empty()) {
        std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        int id = std::atoi(std::string(line.substr(0, tab)).c_str());
        table[id] = Unescape(line.substr(tab + 1));
    }
    return table;
}

const std::unordered_map<int, std::string>& Table() {
    static const std::unordered_map<int, std::string> table = Parse();
    return table;
}

std::atomic<int> g_languageBase{kLanguageEnglish};

} // namespace

int LanguageBaseForLocale(std::string_view locale) {
    // zh_CN is Chinese (PRC); zh_TW, zh_HK, zh_SG and every other language use English.
    std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    return name == "zh_CN" ? kLanguageChinese : kLanguageEnglish;
}

int SystemLanguageBase() {
    return LanguageBaseForLocale(UserLocale());
}

int LanguageBase() {
    return g_languageBase.load();
}

void SetLanguageBase(int base) {
    g_languageBase = base == kLanguageChinese ? kLanguageChinese : kLanguageEnglish;
}

const std::string& TextById(int id) {
    static const std::string empty;
    auto it = Table().find(id);
    return it == Table().end() ? empty : it->second;
}

bool HasText(int id) {
    return Table().count(id) != 0;
}

std::string Tr(int englishId, int languageBase) {
    if (englishId < 5500 || englishId > 5729)
        return TextById(englishId);
    return TextById(englishId - kLanguageEnglish + languageBase);
}

std::string Tr(int englishId) {
    return Tr(englishId, LanguageBase());
}

std::string ProgramTitle() {
    return Tr(5647);
}

} // namespace qm
