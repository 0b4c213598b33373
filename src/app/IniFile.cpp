#include "app/IniFile.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "base/BinaryFile.h"

#include "base/TextTrim.h"

namespace qm {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// "[name]" gives name; anything else is not a section header.
bool SectionName(std::string_view line, std::string_view& name) {
    line = Trim(line, kLineBlanks);
    if (line.size() < 2 || line.front() != '[')
        return false;
    std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return false;
    name = Trim(line.substr(1, close - 1), kLineBlanks);
    return true;
}

// "key=value" gives key and value; comments and lines without '=' give false.
bool KeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
    std::string_view t = Trim(line, kLineBlanks);
    if (t.empty() || t.front() == ';')
        return false;
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = Trim(t.substr(0, eq), kLineBlanks);
    value = Trim(t.substr(eq + 1), kLineBlanks);
    return true;
}

// The file's lines without their line ends; false when it exists but cannot be read whole.
bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
    std::string bytes;
    const ReadStatus status = ReadFileContents(path, bytes);
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    return status != ReadStatus::Failed;
}

} // namespace

std::string IniFile::Read(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const {
    std::vector<std::string> lines;
    if (!ReadLines(m_path, lines))
        return std::string(defaultValue);
    bool inSection = false;
    for (const std::string& line : lines) {
        std::string_view name;
        if (SectionName(line, name)) {
            inSection = EqualNoCase(name, section);
            continue;
        }
        std::string_view k, v;
        if (inSection && KeyValue(line, k, v) && EqualNoCase(k, key)) {
            // A value wrapped in one pair of double quotes is read without them.
            if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
                v = v.substr(1, v.size() - 2);
            return std::string(v);
        }
    }
    return std::string(defaultValue);
}

bool IniFile::Write(std::string_view section, std::string_view key, std::string_view value) const {
    // Writing back what part of a file was read would lose every key of the rest.
    std::vector<std::string> lines;
    if (!ReadLines(m_path, lines))
        return false;
    const std::string entry = std::string(key) + "=" + std::string(value);

    bool inSection = false, sectionFound = false, done = false;
    std::size_t insertAt = lines.size();
    for (std::size_t i = 0; i < lines.size() && !done; ++i) {
        std::string_view name;
        if (SectionName(lines[i], name)) {
            if (inSection)
                break; // key not in the section: insert after its last key line
            inSection = EqualNoCase(name, section);
            if (inSection) {
                sectionFound = true;
                insertAt = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        std::string_view k, v;
        if (KeyValue(lines[i], k, v)) {
            if (EqualNoCase(k, key)) {
                lines[i] = entry;
                done = true;
            } else {
                insertAt = i + 1;
            }
        } else if (!Trim(lines[i], kLineBlanks).empty()) {
            insertAt = i + 1;
        }
    }
    if (!done) {
        if (sectionFound) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
        } else {
            lines.push_back("[" + std::string(section) + "]");
            lines.push_back(entry);
        }
    }

    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return ReplaceFileText(m_path, text) == ReplaceStatus::Ok;
}

} // namespace qm
