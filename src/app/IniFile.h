#pragma once

#include <string>
#include <string_view>

namespace qm {

// Key-by-key access to an INI file with the semantics of the private-profile functions:
// a missing file, section or key yields the caller's default; section and key names match
// case-insensitively; writing a key creates the file and the section when missing and keeps
// every other line as it was. A file that cannot be read reads as empty.
class IniFile {
public:
    explicit IniFile(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }

    std::string Read(std::string_view section, std::string_view key,
                     std::string_view defaultValue) const;

    // False when the file could not be written, errno telling why; the old file is then left
    // as it was. A file that exists but cannot be read whole is never written.
    bool Write(std::string_view section, std::string_view key, std::string_view value) const;

private:
    std::string m_path;
};

} // namespace qm
