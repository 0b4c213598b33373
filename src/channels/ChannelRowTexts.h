#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "channels/CommonChannel.h"

namespace qm {

// Grid columns of the channel plan.
enum ChannelColumn {
    kColId = 0,
    kColEia = 1,
    kColName = 2,
    kColType = 3,
    kColFreq = 4,
    kColAudioBw = 5,
    kColEnable = 6,
    kColTilt = 7,
    kColModulation = 8,
    kColSymbolRate = 9,
    kColStandard = 10,
    kColConstellation = 11,
    kColGuard = 12,
    kColFft = 13,
    kColCodeRate = 14,
    kColHierarchy = 15,
};

// Text shown in cells that do not apply to the row's signal type.
inline constexpr const char* kNotApplicable = "---";

// Number of grid columns of a kind: 11 (kind 0), 16 (kinds 1 and 2), 0 for any other kind.
int ChannelColumnCount(int kind);

// Text of one cell of a record shown in grid row `row` (0-based; column 0 shows row + 1).
std::string ChannelCellText(int kind, const CommonChannel& record, std::size_t row, int column);
// Every cell of that row, ChannelColumnCount(kind) texts.
std::vector<std::string> ChannelRowTexts(int kind, const CommonChannel& record, std::size_t row);

// Texts a column's drop-down offers for a row of signal type `type`; empty for columns that
// are not edited with a drop-down.
std::vector<std::string> ColumnChoices(int kind, int column, std::uint8_t type);

// "Y" exactly when the flags byte is 0x80 or 0xC0 (Enable), 0xC0 (Tilt).
bool ShowsEnabled(std::uint8_t flags);
bool ShowsTilt(std::uint8_t flags);

} // namespace qm
