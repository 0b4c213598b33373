#pragma once

#include <string_view>

namespace qm {

// Meter kinds: they fix the measurement file size and the channel-plan entry layout.
inline constexpr int kKindCompact = 0;     // "7100Q", "7100B": 20-byte entries
inline constexpr int kKindTerrestrial = 1; // "7100T", "7100D": 28-byte entries
inline constexpr int kKindT2 = 2;          // "7100T2": 28-byte entries, its own DVB-C table

// Kind of a meter model text as the meter reports it (trimmed here as well): the whole text
// "7100T2" gives 2; otherwise the first five characters decide ("7100T", "7100D" give 1,
// "7100Q", "7100B" give 0). Any other text, "Wrong" included, gives -1.
int MeterKindOfModel(std::string_view model);

// True for the kinds 0, 1 and 2.
inline bool IsKnownKind(int kind) {
    return kind >= 0 && kind <= 2;
}

} // namespace qm
