#include "channels/ChannelRowTexts.h"

#include "channels/ChannelValueTables.h"
#include "res/TextCodec.h"

namespace qm {

namespace {

bool IsTerrestrial(std::uint8_t type) {
    return type == kTypeDvbT || type == kTypeDvbT2;
}

std::vector<std::string> Texts(std::initializer_list<const char*> texts) {
    return std::vector<std::string>(texts.begin(), texts.end());
}

} // namespace

int ChannelColumnCount(int kind) {
    const MeterKindTraits* traits = FindKind(kind);
    return traits ? traits->gridColumns : 0;
}

bool ShowsEnabled(std::uint8_t flags) {
    return flags == kChannelEnabled || flags == (kChannelEnabled | kChannelTilt);
}

bool ShowsTilt(std::uint8_t flags) {
    return flags == (kChannelEnabled | kChannelTilt);
}

std::string ChannelCellText(int kind, const CommonChannel& record, std::size_t row, int column) {
    if (column < 0 || column >= ChannelColumnCount(kind))
        return {};
    const std::uint8_t type = record.Type(kind);
    const bool dvbC = type == kTypeDvbC;
    switch (column) {
    case kColId:
        return std::to_string(row + 1);
    case kColEia:
        return std::to_string(record.Eia(kind));
    case kColName:
        return AnsiToUtf8(record.Name(kind));
    case kColType:
        return TableText(TypeTable(kind), type);
    case kColFreq:
        return FormatHundredths(record.Frequency());
    case kColAudioBw:
        return FormatHundredths(record.AudioBw());
    case kColEnable:
        return ShowsEnabled(record.Flags(kind)) ? "Y" : "N";
    case kColTilt:
        return ShowsTilt(record.Flags(kind)) ? "Y" : "N";
    case kColModulation:
        return dvbC ? TableText(ModulationTable(kind), record.Modulation()) : kNotApplicable;
    case kColSymbolRate:
        return dvbC ? FormatThousandths(record.SymbolRate()) : kNotApplicable;
    case kColStandard:
        return dvbC ? TableText(StandardTable(), record.Standard(kind)) : kNotApplicable;
    case kColConstellation:
        return IsTerrestrial(type) ? TableText(ConstellationTable(), record.Constellation())
                                   : kNotApplicable;
    case kColGuard:
        return IsTerrestrial(type) ? TableText(GuardTable(), record.Guard()) : kNotApplicable;
    case kColFft:
        return IsTerrestrial(type) ? TableText(FftTable(), record.Fft()) : kNotApplicable;
    case kColCodeRate:
        return IsTerrestrial(type) ? TableText(CodeRateTable(type), record.CodeRate())
                                   : kNotApplicable;
    case kColHierarchy:
        return type == kTypeDvbT ? TableText(HierarchyTable(), record.Hierarchy()) : kNotApplicable;
    default:
        return {};
    }
}

std::vector<std::string> ChannelRowTexts(int kind, const CommonChannel& record, std::size_t row) {
    std::vector<std::string> cells;
    const int columns = ChannelColumnCount(kind);
    cells.reserve(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c)
        cells.push_back(ChannelCellText(kind, record, row, c));
    return cells;
}

std::vector<std::string> ColumnChoices(int kind, int column, std::uint8_t type) {
    if (column < 0 || column >= ChannelColumnCount(kind))
        return {};
    const bool dvbC = type == kTypeDvbC;
    const bool dvbT = type == kTypeDvbT;
    const bool dvbT2 = type == kTypeDvbT2;
    switch (column) {
    case kColType: {
        // Columns exist only for known kinds.
        const auto offered = static_cast<std::size_t>(FindKind(kind)->signalTypes);
        const ValueTable types = TypeTable(kind);
        return std::vector<std::string>(types.begin(), types.begin() + offered);
    }
    case kColEnable:
    case kColTilt:
        return Texts({"Y", "N"});
    case kColModulation:
        if (!dvbC)
            return Texts({kNotApplicable});
        return std::vector<std::string>(ModulationTable(kind).begin(), ModulationTable(kind).end());
    case kColStandard:
        return dvbC ? Texts({"J83.A", "J83.B", "J83.C"}) : Texts({kNotApplicable});
    case kColConstellation:
        return dvbT    ? Texts({"QPSK", "16QAM", "64QAM"})
               : dvbT2 ? Texts({"QPSK", "16QAM", "64QAM", "256QAM"})
                       : Texts({kNotApplicable});
    case kColGuard:
        return dvbT    ? Texts({"1/32", "1/16", "1/8", "1/4"})
               : dvbT2 ? Texts({"1/32", "1/16", "1/8", "1/4", "1/128", "19/128", "19/256"})
                       : Texts({kNotApplicable});
    case kColFft:
        return dvbT    ? Texts({"2K", "8K"})
               : dvbT2 ? Texts({"2K", "8K", "4K", "1K", "16K", "32K"})
                       : Texts({kNotApplicable});
    case kColCodeRate:
        return dvbT    ? Texts({"1/2", "2/3", "3/4", "5/6", "7/8"})
               : dvbT2 ? Texts({"1/2", "3/5", "2/3", "3/4", "4/5", "5/6"})
                       : Texts({kNotApplicable});
    case kColHierarchy:
        return dvbT ? Texts({"1", "2", "4", "NONE"}) : Texts({kNotApplicable});
    default:
        return {};
    }
}

} // namespace qm
