#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace qm {

// The six measurement sections of a file. The values are the item values of the file tree's
// section children, by which the desktop and the command-line tool name a section.
enum class PaneSection {
    Level = 500,
    Tilt = 600,
    Scan = 700,
    Spectrum = 800,
    Hum = 900,
    Limit = 1000
};

// Every section, in the file tree's order.
inline constexpr std::array<PaneSection, 6> kSectionsInTreeOrder = {
    PaneSection::Level,    PaneSection::Tilt, PaneSection::Scan,
    PaneSection::Spectrum, PaneSection::Hum,  PaneSection::Limit};

inline constexpr int TreeValue(PaneSection section) {
    return static_cast<int>(section);
}

// Section of a file-tree item value; nullopt for any other value.
inline std::optional<PaneSection> SectionFromTreeValue(int itemValue) {
    for (PaneSection section : kSectionsInTreeOrder)
        if (TreeValue(section) == itemValue)
            return section;
    return std::nullopt;
}

} // namespace qm
