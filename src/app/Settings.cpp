#include "app/Settings.h"

#include <mutex>

#include "base/Platform.h"

namespace qm {

namespace {
std::mutex g_pathMutex;
std::string g_settingsPath;
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

std::string ExecutableDirectory() {
    return ExecutableFolder();
}

std::string DefaultSettingsPath() {
    return ExecutableDirectory() + "/setup.ini";
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
