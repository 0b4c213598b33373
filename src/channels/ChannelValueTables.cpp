#include "channels/ChannelValueTables.h"

#include <cstdio>

#include "channels/CommonChannel.h"

namespace qm {

namespace {

constexpr const char* kTypes[] = {"TV", "DVB-C", "DVB-T", "DVB-T2"};
constexpr const char* kModulations[] = {"QPSK",   "16QAM",  "32QAM", "64QAM",
                                        "128QAM", "256QAM", "COFDM"};
constexpr const char* kModulationsT2[] = {"16QAM", "32QAM", "64QAM", "128QAM", "256QAM"};
constexpr const char* kStandards[] = {"J83.A", "J83.B", "J83.C"};
constexpr const char* kConstellations[] = {"QPSK", "16QAM", "64QAM", "256QAM"};
constexpr const char* kGuards[] = {"1/32", "1/16", "1/8", "1/4", "1/128", "19/128", "19/256"};
constexpr const char* kFfts[] = {"2K", "8K", "4K", "1K", "16K", "32K"};
constexpr const char* kCodeRatesT[] = {"1/2", "2/3", "3/4", "5/6", "7/8"};
constexpr const char* kCodeRatesT2[] = {"1/2", "3/5", "2/3", "3/4", "4/5", "5/6"};
constexpr const char* kHierarchies[] = {"NONE", "1", "2", "3", "4"};

} // namespace

ValueTable TypeTable(int kind) {
    constexpr auto kCompactTypes =
        static_cast<std::size_t>(TraitsOf(MeterKind::Compact).signalTypes);
    return IsKind(kind, MeterKind::Compact) ? ValueTable(kTypes, kCompactTypes)
                                            : ValueTable(kTypes);
}
ValueTable ModulationTable(int kind) {
    const MeterKindTraits* traits = FindKind(kind);
    return traits && traits->ownModulations ? ValueTable(kModulationsT2) : ValueTable(kModulations);
}
ValueTable StandardTable() {
    return kStandards;
}
ValueTable ConstellationTable() {
    return kConstellations;
}
ValueTable GuardTable() {
    return kGuards;
}
ValueTable FftTable() {
    return kFfts;
}
ValueTable CodeRateTable(std::uint8_t type) {
    return type == kTypeDvbT2 ? ValueTable(kCodeRatesT2) : ValueTable(kCodeRatesT);
}
ValueTable HierarchyTable() {
    return kHierarchies;
}

std::string TableText(ValueTable table, unsigned code) {
    return code < table.size() ? std::string(table[code]) : std::string();
}

int TableCode(ValueTable table, std::string_view text) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (text == table[i])
            return static_cast<int>(i);
    }
    return -1;
}

bool IsDigitalType(int kind, std::uint8_t type) {
    // The type codes run TV, DVB-C, DVB-T, DVB-T2: a kind offers the first few.
    const MeterKindTraits* traits = FindKind(kind);
    return traits && type >= kTypeDvbC && type < traits->signalTypes;
}

std::optional<std::uint16_t> DefaultSymbolRate(std::uint8_t standard, bool qam256) {
    switch (standard) {
    case 0:
        return static_cast<std::uint16_t>(qam256 ? 6952 : 6875);
    case 1:
        return static_cast<std::uint16_t>(qam256 ? 5361 : 5057);
    case 2:
        return static_cast<std::uint16_t>(5217);
    default:
        return std::nullopt;
    }
}

std::string FormatHundredths(std::uint32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%02u", static_cast<unsigned>(value / 100),
                  static_cast<unsigned>(value % 100));
    return text;
}

std::string FormatThousandths(std::uint32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%03u", static_cast<unsigned>(value / 1000),
                  static_cast<unsigned>(value % 1000));
    return text;
}

} // namespace qm
