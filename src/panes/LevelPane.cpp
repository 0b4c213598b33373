#include "panes/LevelPane.h"

#include "measurement/MeterKind.h"
#include "panes/PaneText.h"

namespace qm {

namespace {

// Channel classes of the level table and their column texts.
enum class LevelClass { Tv, Cable, Terrestrial, Terrestrial2, Unknown };

LevelClass ClassOf(int kind, int type) {
    const MeterKindTraits* traits = FindKind(kind);
    if (!traits || type < 0 || type >= traits->signalTypes)
        return LevelClass::Unknown;
    constexpr LevelClass kByType[] = {LevelClass::Tv, LevelClass::Cable, LevelClass::Terrestrial,
                                      LevelClass::Terrestrial2};
    return kByType[type];
}

// MER shown as a bound above the class's measuring range; the comparison is strict.
std::string MerText(int second, int above) {
    const double mer = second / 10.0;
    return mer > above ? Format(">%d", above) : Format("%.1f", mer);
}

} // namespace

LevelPane::LevelPane(int languageBase, std::string levelUnit)
    : AnalysisPane(languageBase, std::move(levelUnit)) {
    PaneTable table;
    table.tag = "Table";
    for (int id : {kIdsChannel, kIdsFrequency, kIdsType, kIdsVideoPower, kIdsAudio})
        table.columns.push_back({T(id), 8, 0});
    table.columns.push_back({"MER", 8, 0});
    table.columns.push_back({"PRE-BER/CBER", 1, 75});
    table.columns.push_back({"POST-BER/VBER/LBER", 1, 75});
    m_tables.push_back(std::move(table));
}

namespace {
constexpr int kIdsUnlock = 5729; // "Unlock"
} // namespace

std::string LevelPane::BerText(std::uint16_t code, const char* belowLimit) {
    const Ber ber = DecodeBer(code);
    return ber.kind == Ber::Kind::BelowLimit ? std::string(belowLimit) : ber.Text();
}

std::vector<std::vector<std::string>> LevelPane::Rows() const {
    std::vector<std::vector<std::string>> rows;
    const int kind = File().Kind();
    // "Unlock" is the one BER text with words; the rest are numbers in any language.
    const auto ber = [this](std::uint16_t code, const char* belowLimit) {
        const std::string text = BerText(code, belowLimit);
        return text == "Unlock" ? T(kIdsUnlock) : text;
    };
    for (int p = 0; p < kMaxRecords; ++p) {
        const auto record = File().Level(p);
        const auto entry = File().PlanSlot(p);
        if (!record || !entry || !record->Measured())
            continue;
        std::vector<std::string> row = {Format("%d", entry->channelNumber),
                                        Format("%.2f", entry->frequency / 100.0)};
        const std::string level = Tenths(record->level);
        const std::string second = Tenths(record->second);
        switch (ClassOf(kind, entry->type)) {
        case LevelClass::Tv:
            row.insert(row.end(), {"TV", level, second, kNoValue, kNoValue, kNoValue});
            break;
        case LevelClass::Cable:
            row.insert(row.end(),
                       {IsKind(kind, MeterKind::Compact) ? "DIGI" : "DVB-C", level, kNoValue,
                        second, ber(record->ber1, "<1.0E-9"), ber(record->ber2, "<1.0E-9")});
            break;
        case LevelClass::Terrestrial:
            row.insert(row.end(), {"DVB-T", level, kNoValue, MerText(record->second, 30),
                                   ber(record->ber1, "<1.0E-5"), ber(record->ber2, "<1.0E-7")});
            break;
        case LevelClass::Terrestrial2:
            row.insert(row.end(), {"DVB-T2", level, kNoValue, MerText(record->second, 32),
                                   ber(record->ber1, "<1.0E-6"), ber(record->ber2, "<1.0E-8")});
            break;
        case LevelClass::Unknown:
            // The level is the same field for every type; nothing else has a meaning.
            row.insert(row.end(), {kNoValue, level, kNoValue, kNoValue, kNoValue, kNoValue});
            break;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void LevelPane::Fill() {
    if (!File().HasLayout())
        return;
    m_fileNameText = ShownFileName();
    MutableTable("Table")->rows = Rows();
}

std::string LevelPane::ExportText() const {
    std::string text = File().HasLayout() ? File().FileName() : std::string();
    text += "\r\n";
    text += "CH,Freq(MHz),Type,Vedio/Power,Audio,MER,PRE-BER/CBER,POST-BER/VBER/LBER\n";
    for (const auto& row : Rows()) {
        for (std::size_t i = 0; i < row.size(); ++i)
            text += (i ? "," : "") + row[i];
        text += "\n";
    }
    return text;
}

} // namespace qm
