#pragma once

#include <string>
#include <string_view>

#include "app/IniFile.h"

namespace qm {

// Section and key names of setup.ini.
inline constexpr const char* kSectionGeneral = "General";
inline constexpr const char* kKeyLevelUnit = "LevelUnit";
inline constexpr const char* kKeyTemperatureUnit = "TemperatureUnit";
inline constexpr const char* kSectionConnect = "Connect Information";
inline constexpr const char* kKeyPort = "Port";
inline constexpr const char* kKeyBaud = "Baud";

// The port value that means "no port configured".
inline constexpr const char* kPortNotConfigured = "300";

// The level unit the user works in: "dBuV" and "dBmV" as stored, any other text "dBm".
std::string MapLevelUnit(std::string_view stored);
// Wire code of a level unit: 0 dBuV, 1 dBmV, 2 dBm.
int LevelUnitCode(std::string_view unit);

// The program's current level unit, process-wide: analysis panes and the channel editor set it
// from the settings when built, the Time/Unit dialog when the user picks a unit. Until then it
// is the settings' unit. Any text is mapped as MapLevelUnit does.
std::string CurrentLevelUnit();
void SetCurrentLevelUnit(std::string_view unit);

// Directory of the running executable (without a trailing slash).
std::string ExecutableDirectory();

// Name of the settings file, and where it goes for a user when the program cannot keep it
// beside itself: $XDG_CONFIG_HOME/qm7100-workdesk, or $HOME/.config/qm7100-workdesk when
// XDG_CONFIG_HOME is unset or relative.
inline constexpr const char* kSettingsFileName = "setup.ini";
std::string UserConfigDirectory();
// The user's cache folder for this program: $XDG_CACHE_HOME/qm7100-workdesk, or
// $HOME/.cache/qm7100-workdesk when XDG_CACHE_HOME is unset or relative.
std::string UserCacheDirectory();

// The settings rule: setup.ini beside the executable when programDir already holds one or the
// program may write there (a portable copy), else setup.ini in configDir (an installed program
// in /usr/bin). The writability check is passed in so the rule can be tried as any user.
std::string SettingsFilePath(const std::string& programDir, const std::string& configDir,
                             bool (*isWritableDirectory)(const std::string& dir));
bool IsWritableDirectory(const std::string& dir);

// The settings file of the running program, as SettingsFilePath decides it. The command-line
// tool and the desktop program both start from it.
std::string DefaultSettingsPath();

// The process-wide settings file; the command-line tool and tests may point it elsewhere.
const std::string& SettingsPath();
void SetSettingsPath(std::string path);

// The report of a failed settings write: the file and the system's reason (an errno value).
std::string SettingsWriteError(const std::string& path, int error);

// Typed access to setup.ini. The setters return false when the file could not be written
// (errno tells why); a file that cannot be read whole is then left as it was.
class Settings {
public:
    Settings() : m_ini(SettingsPath()) {}
    explicit Settings(std::string path) : m_ini(std::move(path)) {}

    const std::string& Path() const { return m_ini.Path(); }
    const IniFile& Ini() const { return m_ini; }

    // "General"/"LevelUnit" mapped to the current level unit (default "dBuV").
    std::string LevelUnit() const;
    bool SetLevelUnit(std::string_view unit) const;
    // "General"/"TemperatureUnit", default "C".
    std::string TemperatureUnit() const;
    bool SetTemperatureUnit(std::string_view unit) const;
    // "Connect Information"/"Port" with the caller's default ("300" for the silent connect,
    // "1" for the connection dialog).
    std::string Port(std::string_view defaultValue) const;
    bool SetPort(std::string_view port) const;
    // "Connect Information"/"Baud", default "115200".
    std::string Baud() const;
    bool SetBaud(std::string_view baud) const;

private:
    IniFile m_ini;
};

} // namespace qm
