#include "res/StringTable.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <utility>

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

struct Entry {
    std::string key;
    std::string english;
    std::string chinese;
};

// First id of the program's own texts, numbered in the order of the file as TextIds.cmake does.
constexpr int kFirstOwnId = 20000;
constexpr int kTwinOffset = kLanguageEnglish - kLanguageChinese;

struct Table {
    std::unordered_map<int, Entry> entries; // by English (or own) id
};

Table Parse() {
    Table table;
    int nextOwn = kFirstOwnId;
    std::string_view text(reinterpret_cast<const char*>(kStringTableText), kStringTableTextSize);
    while (!text.empty()) {
        std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        std::string_view fields[4];
        for (int i = 0; i < 3; ++i) {
            std::size_t tab = line.find('\t');
            fields[i] = line.substr(0, tab);
            line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
        }
        fields[3] = line;
        const int id = fields[1] == "-" ? nextOwn++ : std::atoi(std::string(fields[1]).c_str());
        table.entries[id] = {std::string(fields[0]), Unescape(fields[2]), Unescape(fields[3])};
    }
    return table;
}

const Table& Texts() {
    static const Table table = Parse();
    return table;
}

const Entry* Find(int id) {
    auto it = Texts().entries.find(id);
    return it == Texts().entries.end() ? nullptr : &it->second;
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
    if (id == txt::kOleInitFailed) {
        const Entry* e = Find(id);
        return e ? e->chinese : empty;
    }
    // The string table's Chinese block mirrors its English block 500 lower.
    if (id >= 5000 && id < 5500) {
        const Entry* e = Find(id + kTwinOffset);
        return e ? e->chinese : empty;
    }
    const Entry* e = Find(id);
    return e ? e->english : empty;
}

bool HasText(int id) {
    return !TextById(id).empty();
}

std::string TextKey(int id) {
    const Entry* e = Find(id);
    return e ? e->key : std::string();
}

std::string Tr(int id, int languageBase) {
    if (id >= 5000 && id < 5500)
        return TextById(id);
    const Entry* e = Find(id);
    if (!e)
        return {};
    return languageBase == kLanguageChinese ? e->chinese : e->english;
}

std::string Tr(int id) {
    return Tr(id, LanguageBase());
}

std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string out;
    auto next = values.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            if (next != values.end())
                out += *next++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string TrFill(int id, std::initializer_list<std::string_view> values) {
    return Fill(Tr(id), values);
}

std::string ErrnoText(int error) {
    static const std::pair<int, int> kReasons[] = {
        {ENOENT, txt::kErrnoNoEntry},     {EACCES, txt::kErrnoAccess},
        {EPERM, txt::kErrnoAccess},       {ENOSPC, txt::kErrnoNoSpace},
        {EISDIR, txt::kErrnoIsDirectory}, {ENOTDIR, txt::kErrnoNotDirectory},
        {EROFS, txt::kErrnoReadOnly},     {EEXIST, txt::kErrnoExists},
        {EBUSY, txt::kErrnoBusy},         {ENXIO, txt::kErrnoNoDevice},
        {ENODEV, txt::kErrnoNoDevice},    {EIO, txt::kErrnoIo},
    };
    for (const auto& [code, id] : kReasons)
        if (code == error)
            return Tr(id);
    return std::strerror(error);
}

std::string ProgramTitle() {
    return Tr(txt::kProgramTitle);
}

} // namespace qm
