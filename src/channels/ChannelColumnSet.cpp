#include "channels/ChannelColumnSet.h"

#include "measurement/MeterKind.h"

namespace qm {

const char* const kNumberChars = "0123456789.";
const char* const kNameChars = "0123456789 -_abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

namespace {

struct ColumnSpec {
    const char* compactHeading;
    const char* terrestrialHeading; // kind 1
    const char* t2Heading;          // kind 2
    int width;                      // kinds 1 and 2
    CellEditor editor;
    const char* validChars;
};

constexpr CellEditor kRo = CellEditor::ReadOnly;
constexpr CellEditor kText = CellEditor::Text;
constexpr CellEditor kDrop = CellEditor::DropDown;

const ColumnSpec kColumns[] = {
    {"ID", "ID", "ID", 55, kRo, ""},
    {"EIA CH", "EIA CH", "EIA CH", 55, kText, kNumberChars},
    {"STD CH", "STD CH", "STD CH", 55, kText, kNameChars},
    {"Type", "Type", "Type", 60, kDrop, ""},
    {"Freq", "Freq", "Freq", 65, kText, kNumberChars},
    {"Audio1/BW", "Audio1/BW", "Audio1/BW", 65, kText, kNumberChars},
    {"Enable", "Enable", "Enable", 55, kDrop, ""},
    {"Tilt", "Tilt", "Tilt", 55, kDrop, ""},
    {"ModeType", "DVB-C Mode", "DVB-C Mode", 65, kDrop, ""},
    {"SR", "DVB-C SR", "DVB-C SR", 75, kText, kNumberChars},
    {"Standard", "DVB-C Standard", "DVB-C Standard", 85, kDrop, ""},
    {nullptr, "DVB-T Mode", "DVB-T/T2 Mode", 85, kDrop, ""},
    {nullptr, "DVB-T GUARD", "DVB-T/T2 GUARD", 85, kDrop, ""},
    {nullptr, "DVB-T FFTMode", "DVB-T/T2 FFTMode", 85, kDrop, ""},
    {nullptr, "DVB-T coderate", "DVB-T/T2 coderate", 85, kDrop, ""},
    {nullptr, "DVB-T hierarchy", "DVB-T/T2 hierarchy", 85, kDrop, ""},
};

} // namespace

std::vector<ChannelColumnInfo> ChannelColumnSet(int kind, int clientWidth) {
    std::vector<ChannelColumnInfo> columns;
    if (!IsKnownKind(kind))
        return columns;
    const bool compact = IsKind(kind, MeterKind::Compact);
    for (const ColumnSpec& spec : kColumns) {
        const char* heading = compact                                ? spec.compactHeading
                              : IsKind(kind, MeterKind::Terrestrial) ? spec.terrestrialHeading
                                                                     : spec.t2Heading;
        if (!heading)
            break;
        columns.push_back({heading, spec.width, spec.editor, spec.validChars});
    }
    if (compact) {
        const int width = clientWidth > 0 ? clientWidth / static_cast<int>(columns.size()) : 0;
        for (ChannelColumnInfo& c : columns)
            c.width = width;
    }
    return columns;
}

} // namespace qm
