#pragma once

#include <string>
#include <vector>

namespace qm {

// How the grid edits a column.
enum class CellEditor { ReadOnly, Text, DropDown };

struct ChannelColumnInfo {
    std::string heading;
    int width = 0; // pixels
    CellEditor editor = CellEditor::ReadOnly;
    std::string validChars; // text columns: the characters a user may type; empty: any
};

// Characters of the numeric text columns and of the channel name.
extern const char* const kNumberChars;
extern const char* const kNameChars;

// The columns of a kind's grid, left-aligned, in order. Kind 0 has eleven equal columns of
// clientWidth / 11 pixels; kinds 1 and 2 sixteen columns of fixed widths; any other kind none.
std::vector<ChannelColumnInfo> ChannelColumnSet(int kind, int clientWidth);

} // namespace qm
