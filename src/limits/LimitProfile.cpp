#include "limits/LimitProfile.h"
#include "res/StringTable.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>

#include "app/Settings.h"

namespace qm {

extern const unsigned char kDefaultProfileText[];
extern const std::size_t kDefaultProfileTextSize;

namespace {

// Files larger than this are not profiles.
constexpr std::size_t kMaxProfileBytes = 256 * 1024;

std::string Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return std::string(s.substr(first, last - first + 1));
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::optional<double> Number(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(v))
        return std::nullopt;
    // strtod takes hexadecimal and "inf"; a profile holds plain decimals.
    if (text.find_first_of("xXiInN") != std::string::npos)
        return std::nullopt;
    return v;
}

enum class SectionKind { Profile, Tv, Cable, Terrestrial, Terrestrial2, File };

struct SectionSpec {
    const char* display; // the name as the shipped profile writes it
    SectionKind kind;
    int order = 0;        // DVB-C QAM order
    bool required = true; // a profile without it is refused
};

// Section names as written in the file (matched without regard to letter case).
const std::map<std::string, SectionSpec>& Sections() {
    static const std::map<std::string, SectionSpec> sections = {
        {"profile", {"Profile", SectionKind::Profile}},
        {"tv", {"TV", SectionKind::Tv}},
        {"dvb-c qpsk", {"DVB-C QPSK", SectionKind::Cable, kOrderQpsk, false}},
        {"dvb-c 16qam", {"DVB-C 16QAM", SectionKind::Cable, 16}},
        {"dvb-c 32qam", {"DVB-C 32QAM", SectionKind::Cable, 32}},
        {"dvb-c 64qam", {"DVB-C 64QAM", SectionKind::Cable, 64}},
        {"dvb-c 128qam", {"DVB-C 128QAM", SectionKind::Cable, 128}},
        {"dvb-c 256qam", {"DVB-C 256QAM", SectionKind::Cable, 256}},
        {"dvb-c cofdm", {"DVB-C COFDM", SectionKind::Cable, kOrderCofdm, false}},
        {"dvb-t", {"DVB-T", SectionKind::Terrestrial}},
        {"dvb-t2", {"DVB-T2", SectionKind::Terrestrial2}},
        {"file", {"File", SectionKind::File}},
    };
    return sections;
}

std::vector<std::string> KeysOf(SectionKind kind) {
    switch (kind) {
    case SectionKind::Profile:
        return {"Name", "NameZh"}; // NameZh: the name shown under the Chinese base
    case SectionKind::Tv:
        return {"LevelMin", "LevelMax", "VideoAudioMin", "VideoAudioMax"};
    case SectionKind::Cable:
    case SectionKind::Terrestrial:
    case SectionKind::Terrestrial2:
        return {"LevelMin", "LevelMax", "MerMin", "BerMax"};
    case SectionKind::File:
        return {"TiltMax", "AdjacentMax", "HumMax"};
    }
    return {};
}

struct Entry {
    std::string value;
    int line = 0;
};

struct ParsedSection {
    std::string name; // as written
    SectionSpec spec;
    int line = 0;
    std::map<std::string, Entry> entries; // by lower-case key
};

std::string LineText(int line) {
    return TrFill(txt::kProfileLine, {std::to_string(line)});
}

class Parser {
public:
    ProfileResult Run(std::string_view text) {
        if (!ReadSections(text))
            return Fail();
        LimitProfile p;
        for (const ParsedSection& s : m_sections)
            if (!Apply(s, p))
                return Fail();
        for (const auto& [name, spec] : Sections()) {
            if (spec.required && !m_seen.count(name))
                return Fail(TrFill(txt::kProfileNoSection, {spec.display}));
        }
        return {std::move(p), {}};
    }

private:
    bool ReadSections(std::string_view text) {
        int line = 0;
        std::size_t pos = 0;
        ParsedSection* current = nullptr;
        while (pos < text.size()) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string_view::npos)
                end = text.size();
            ++line;
            std::string raw(text.substr(pos, end - pos));
            pos = end + 1;
            if (raw.find('\0') != std::string::npos)
                return Error(line, Tr(txt::kProfileNulByte));
            // A comment starts at ';' anywhere, or at '#' at the start of a line.
            if (const auto semi = raw.find(';'); semi != std::string::npos)
                raw.erase(semi);
            std::string s = Trim(raw);
            if (s.empty() || s[0] == '#')
                continue;
            if (s.front() == '[') {
                if (s.back() != ']')
                    return Error(line, TrFill(txt::kProfileNoClosingBracket, {s}));
                const std::string name = Trim(std::string_view(s).substr(1, s.size() - 2));
                const auto found = Sections().find(Lower(name));
                if (found == Sections().end())
                    return Error(line, TrFill(txt::kProfileUnknownSection, {name}));
                if (!m_seen.insert(found->first).second)
                    return Error(line, TrFill(txt::kProfileSectionTwice, {name}));
                m_sections.push_back({name, found->second, line, {}});
                current = &m_sections.back();
                continue;
            }
            const auto eq = s.find('=');
            if (eq == std::string::npos)
                return Error(line, TrFill(txt::kProfileExpectedEntry, {s}));
            if (!current)
                return Error(line, Tr(txt::kProfileEntryBeforeSection));
            const std::string key = Trim(std::string_view(s).substr(0, eq));
            const std::string value = Trim(std::string_view(s).substr(eq + 1));
            const auto keys = KeysOf(current->spec.kind);
            const bool known = std::any_of(keys.begin(), keys.end(), [&](const std::string& k) {
                return Lower(k) == Lower(key);
            });
            if (!known)
                return Error(line, TrFill(txt::kProfileUnknownKey, {key, current->name}));
            if (!current->entries.emplace(Lower(key), Entry{value, line}).second)
                return Error(line,
                             "key '" + key + "' appears twice in section [" + current->name + "]");
        }
        return true;
    }

    // The entry's value as a number; false (with the error) when missing or malformed.
    bool Value(const ParsedSection& s, const std::string& key, double& out) {
        const auto found = s.entries.find(Lower(key));
        if (found == s.entries.end())
            return Error(s.line, TrFill(txt::kProfileMissingKey, {s.name, key}));
        const auto v = Number(found->second.value);
        if (!v)
            return Error(found->second.line,
                         TrFill(txt::kProfileNotANumber, {key, found->second.value}));
        out = *v;
        return true;
    }

    // Reads a min/max pair; the minimum may equal the maximum but not exceed it.
    bool Range(const ParsedSection& s, const std::string& minKey, const std::string& maxKey,
               double& lo, double& hi) {
        if (!Value(s, minKey, lo) || !Value(s, maxKey, hi))
            return false;
        if (lo > hi)
            return Error(s.entries.at(Lower(maxKey)).line,
                         TrFill(txt::kProfileMaxBelowMin, {maxKey, minKey, s.name}));
        return true;
    }

    bool NotNegative(const ParsedSection& s, const std::string& key, double& out) {
        if (!Value(s, key, out))
            return false;
        if (out < 0)
            return Error(s.entries.at(Lower(key)).line, TrFill(txt::kProfileNegative, {key}));
        return true;
    }

    bool Digital(const ParsedSection& s, ChannelLimits& l) {
        if (!Range(s, "LevelMin", "LevelMax", l.levelMin, l.levelMax) ||
            !Value(s, "MerMin", l.merMin) || !NotNegative(s, "BerMax", l.berMax))
            return false;
        if (l.berMax > 1)
            return Error(s.entries.at("bermax").line, Tr(txt::kProfileBerRatio));
        return true;
    }

    bool Apply(const ParsedSection& s, LimitProfile& p) {
        switch (s.spec.kind) {
        case SectionKind::Profile: {
            const auto found = s.entries.find("name");
            if (found == s.entries.end() || found->second.value.empty())
                return Error(found == s.entries.end() ? s.line : found->second.line,
                             TrFill(txt::kProfileNeedsName, {s.name}));
            p.name = found->second.value;
            if (const auto zh = s.entries.find("namezh"); zh != s.entries.end())
                p.chineseName = zh->second.value;
            return true;
        }
        case SectionKind::Tv:
            return Range(s, "LevelMin", "LevelMax", p.tv.levelMin, p.tv.levelMax) &&
                   Range(s, "VideoAudioMin", "VideoAudioMax", p.tv.videoAudioMin,
                         p.tv.videoAudioMax);
        case SectionKind::Cable:
            return Digital(s, p.cable[s.spec.order]);
        case SectionKind::Terrestrial:
            return Digital(s, p.terrestrial);
        case SectionKind::Terrestrial2:
            return Digital(s, p.terrestrial2);
        case SectionKind::File:
            return NotNegative(s, "TiltMax", p.tiltMax) &&
                   NotNegative(s, "AdjacentMax", p.adjacentMax) &&
                   NotNegative(s, "HumMax", p.humMax);
        }
        return false;
    }

    bool Error(int line, const std::string& what) {
        m_error = LineText(line) + ": " + what;
        return false;
    }
    ProfileResult Fail(std::string what = {}) {
        if (!what.empty())
            m_error = std::move(what);
        return {std::nullopt, m_error};
    }

    std::vector<ParsedSection> m_sections;
    std::set<std::string> m_seen;
    std::string m_error;
};

} // namespace

ProfileResult ParseLimitProfile(std::string_view text) {
    if (text.size() > kMaxProfileBytes)
        return {std::nullopt, "the profile is larger than 256 KiB"};
    return Parser().Run(text);
}

ProfileResult LoadLimitProfile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {std::nullopt, path + ": " + ErrnoText(errno)};
    std::string text;
    text.resize(kMaxProfileBytes + 1);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad())
        return {std::nullopt, TrFill(txt::kProfileCannotRead, {path})};
    text.resize(static_cast<std::size_t>(in.gcount()));
    ProfileResult r = ParseLimitProfile(text);
    if (!r.profile)
        r.error = path + ": " + r.error;
    return r;
}

std::string_view DefaultProfileText() {
    return {reinterpret_cast<const char*>(kDefaultProfileText), kDefaultProfileTextSize};
}

const std::string& LimitProfile::ShownName(int languageBase) const {
    return languageBase == kLanguageChinese && !chineseName.empty() ? chineseName : name;
}

const LimitProfile& DefaultProfile() {
    static const LimitProfile profile = [] {
        ProfileResult r = ParseLimitProfile(DefaultProfileText());
        // The shipped text is part of the program: a fault there is a build fault.
        if (!r.profile) {
            std::fprintf(stderr, "qm7100: the shipped limit profile is faulty: %s\n",
                         r.error.c_str());
            std::abort();
        }
        return *r.profile;
    }();
    return profile;
}

std::string UserProfileDirectory() {
    return UserConfigDirectory() + "/profiles";
}

std::vector<std::string> UserProfilePaths() {
    std::vector<std::string> paths;
    const std::string dir = UserProfileDirectory();
    DIR* d = opendir(dir.c_str());
    if (!d)
        return paths;
    while (const dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() > 4 && name[0] != '.' && Lower(name.substr(name.size() - 4)) == ".ini")
            paths.push_back(dir + "/" + name);
    }
    closedir(d);
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace qm
