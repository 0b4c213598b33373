#pragma once

#include <string>

namespace qm {

class Settings;

// setup.ini, section "General": "Archive" names the archive (a file path, sqlite:PATH or a
// postgresql:// address, never with a password); "Technician" the name kept with every
// measurement added.
inline constexpr const char* kKeyArchive = "Archive";
inline constexpr const char* kKeyTechnician = "Technician";

// The archive the settings name; empty when they name none.
std::string ConfiguredArchive(const Settings& settings);
// The archive to use: the one named, else the settings', else the per-user default.
std::string ChosenArchive(const std::string& named, const Settings& settings);
std::string Technician(const Settings& settings);

} // namespace qm
