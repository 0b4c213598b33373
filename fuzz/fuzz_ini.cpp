// Arbitrary file contents through IniFile::Read and the settings read from it. The first byte
// splits the input's head into a section and a key name; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzFile.h"
#include "app/IniFile.h"
#include "app/Settings.h"
#include "link/PortAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string section = "General", key = "LevelUnit";
    if (size > 0) {
        const std::size_t names = std::min<std::size_t>(data[0] % 16, size - 1);
        const std::string head(reinterpret_cast<const char*>(data + 1), names);
        if (names > 0) {
            section = head.substr(0, names / 2);
            key = head.substr(names / 2);
        }
        data += 1 + names;
        size -= 1 + names;
    }
    const std::string path = qm::fuzz::WriteScratchFile("qm-fuzz-ini", data, size);
    const qm::IniFile ini(path);
    ini.Read(section, key, "default");
    // The settings as the program reads them, down to the port it would open.
    const qm::Settings settings(path);
    settings.LevelUnit();
    settings.TemperatureUnit();
    const qm::PortAddress port = qm::ParsePortSetting(settings.Port("300"));
    if (port.configured && port.device.empty() && (port.number < 1 || port.number > 256))
        __builtin_trap();
    qm::DecimalValue(settings.Baud());
    // A value written is read back, whatever else the file holds.
    if (!ini.Write("General", "LevelUnit", "dBmV") ||
        ini.Read("General", "LevelUnit", "default") != "dBmV")
        __builtin_trap();
    std::remove(path.c_str());
    return 0;
}
