#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace qm {

// Meter kinds: they fix the measurement file size, the channel-plan entry layout and what the
// plan editor and the panes offer. Files and the wire carry the kind as a plain number.
enum class MeterKind {
    Compact = 0,     // "7100Q", "7100B"
    Terrestrial = 1, // "7100T", "7100D"
    T2 = 2,          // "7100T2"
};

// Everything that differs by kind, in one row per kind.
struct MeterKindTraits {
    MeterKind kind;
    std::size_t fileSize;  // measurement file
    std::size_t entrySize; // channel plan entry, in measurement files, plan files and frames
    int gridColumns;       // columns of the channel plan grid
    int signalTypes;       // signal type codes offered, TV (0) included: TV, DVB-C, DVB-T, DVB-T2
    bool signedLevels;     // spectrum and limit values are signed 16-bit
    bool ownModulations;   // its own DVB-C modulation table
};

inline constexpr MeterKindTraits kMeterKinds[] = {
    {MeterKind::Compact, 9238, 20, 11, 2, false, false},
    {MeterKind::Terrestrial, 10598, 28, 16, 3, false, false},
    {MeterKind::T2, 10598, 28, 16, 4, true, true},
};

inline constexpr int ToInt(MeterKind kind) {
    return static_cast<int>(kind);
}
inline constexpr const MeterKindTraits& TraitsOf(MeterKind kind) {
    return kMeterKinds[ToInt(kind)];
}
// The row of a kind number, nullptr for a number of no known kind.
inline constexpr const MeterKindTraits* FindKind(int kind) {
    return kind >= 0 && kind < static_cast<int>(std::size(kMeterKinds)) ? &kMeterKinds[kind]
                                                                        : nullptr;
}
// True for the kinds 0, 1 and 2.
inline constexpr bool IsKnownKind(int kind) {
    return FindKind(kind) != nullptr;
}
inline constexpr bool IsKind(int kind, MeterKind which) {
    return kind == ToInt(which);
}
// Measurement file size of a kind number, 0 for no known kind.
inline constexpr std::size_t KindFileSize(int kind) {
    return FindKind(kind) ? FindKind(kind)->fileSize : 0;
}
// Plan entry size of a kind number, 0 for no known kind.
inline constexpr std::size_t KindEntrySize(int kind) {
    return FindKind(kind) ? FindKind(kind)->entrySize : 0;
}
// True for a kind number whose spectrum and limit values are signed.
inline constexpr bool HasSignedLevels(int kind) {
    return FindKind(kind) && FindKind(kind)->signedLevels;
}
// The entry layout a record of any kind number is read and written in: a number of no known
// kind is laid out as the extended kinds.
inline constexpr std::size_t LayoutEntrySize(int kind) {
    return IsKind(kind, MeterKind::Compact) ? TraitsOf(MeterKind::Compact).entrySize
                                            : TraitsOf(MeterKind::Terrestrial).entrySize;
}

// Kind of a meter model text as the meter reports it (trimmed here as well): the whole text
// "7100T2" gives 2; otherwise the first five characters decide ("7100T", "7100D" give 1,
// "7100Q", "7100B" give 0). Any other text, "Wrong" included, gives -1.
int MeterKindOfModel(std::string_view model);

} // namespace qm
