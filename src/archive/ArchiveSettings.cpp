#include "archive/ArchiveSettings.h"

#include "app/Settings.h"
#include "archive/Archive.h"

namespace qm {

std::string ConfiguredArchive(const Settings& settings) {
    return settings.Ini().Read(kSectionGeneral, kKeyArchive, "");
}

std::string ChosenArchive(const std::string& named, const Settings& settings) {
    if (!named.empty())
        return named;
    const std::string configured = ConfiguredArchive(settings);
    return configured.empty() ? DefaultArchiveLocation() : configured;
}

std::string Technician(const Settings& settings) {
    return settings.Ini().Read(kSectionGeneral, kKeyTechnician, "");
}

} // namespace qm
