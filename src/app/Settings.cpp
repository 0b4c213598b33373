#include "app/Settings.h"

#include "res/StringTable.h"

#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "base/Platform.h"

namespace qm {

namespace {
std::mutex g_pathMutex;
std::string g_settingsPath;
std::mutex g_unitMutex;
std::string g_currentLevelUnit; // empty until set
} // namespace

std::string MapLevelUnit(std::string_view stored) {
    if (stored == "dBuV")
        return "dBuV";
    if (stored == "dBmV")
        return "dBmV";
    return "dBm";
}

int LevelUnitCode(std::string_view unit) {
    if (unit == "dBuV")
        return 0;
    if (unit == "dBmV")
        return 1;
    return 2;
}

std::string CurrentLevelUnit() {
    {
        std::lock_guard<std::mutex> lock(g_unitMutex);
        if (!g_currentLevelUnit.empty())
            return g_currentLevelUnit;
    }
    return Settings().LevelUnit();
}

void SetCurrentLevelUnit(std::string_view unit) {
    std::lock_guard<std::mutex> lock(g_unitMutex);
    g_currentLevelUnit = MapLevelUnit(unit);
}

std::string ExecutableDirectory() {
    return ExecutableFolder();
}

std::string UserConfigDirectory() {
    return UserConfigBase() + "/qm7100-workdesk";
}

std::string UserCacheDirectory() {
    return UserCacheBase() + "/qm7100-workdesk";
}

bool IsWritableDirectory(const std::string& dir) {
    std::error_code error;
    return !dir.empty() && std::filesystem::is_directory(dir, error) && IsWritableFolder(dir);
}

std::string SettingsFilePath(const std::string& programDir, const std::string& configDir,
                             bool (*isWritableDirectory)(const std::string& dir)) {
    const std::string beside = programDir + "/" + kSettingsFileName;
    std::error_code error;
    if (std::filesystem::exists(beside, error) || isWritableDirectory(programDir))
        return beside;
    // A folder that cannot be made shows up when the settings are written.
    std::filesystem::create_directories(configDir, error);
    return configDir + "/" + kSettingsFileName;
}

std::string DefaultSettingsPath() {
    return SettingsFilePath(ExecutableDirectory(), UserConfigDirectory(), IsWritableDirectory);
}

const std::string& SettingsPath() {
    std::lock_guard<std::mutex> lock(g_pathMutex);
    if (g_settingsPath.empty())
        g_settingsPath = DefaultSettingsPath();
    return g_settingsPath;
}

void SetSettingsPath(std::string path) {
    std::lock_guard<std::mutex> lock(g_pathMutex);
    g_settingsPath = std::move(path);
}

std::string SettingsWriteError(const std::string& path, int error) {
    return TrFill(txt::kCannotWriteSettings, {path, ErrnoText(error)});
}

std::string Settings::LevelUnit() const {
    return MapLevelUnit(m_ini.Read(kSectionGeneral, kKeyLevelUnit, "dBuV"));
}

bool Settings::SetLevelUnit(std::string_view unit) const {
    return m_ini.Write(kSectionGeneral, kKeyLevelUnit, unit);
}

std::string Settings::TemperatureUnit() const {
    return m_ini.Read(kSectionGeneral, kKeyTemperatureUnit, "C");
}

bool Settings::SetTemperatureUnit(std::string_view unit) const {
    return m_ini.Write(kSectionGeneral, kKeyTemperatureUnit, unit);
}

std::string Settings::Port(std::string_view defaultValue) const {
    return m_ini.Read(kSectionConnect, kKeyPort, defaultValue);
}

bool Settings::SetPort(std::string_view port) const {
    return m_ini.Write(kSectionConnect, kKeyPort, port);
}

std::string Settings::Baud() const {
    return m_ini.Read(kSectionConnect, kKeyBaud, "115200");
}

bool Settings::SetBaud(std::string_view baud) const {
    return m_ini.Write(kSectionConnect, kKeyBaud, baud);
}

} // namespace qm
