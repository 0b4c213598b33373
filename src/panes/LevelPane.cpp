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
    for (int id : {txt::kChannel, txt::kFrequency, txt::kType, txt::kVideoPower, txt::kAudio})
        table.columns.push_back({T(id), 8, 0});
    table.columns.push_back({"MER", 8, 0});
    table.columns.push_back({"PRE-BER/CBER", 1, 75});
    table.columns.push_back({"POST-BER/VBER/LBER", 1, 75});
    m_tables.push_back(std::move(table));
}

namespace {
// The columns that show measured values.
constexpr std::size_t kLevelColumn = 3, kAudioColumn = 4, kMerColumn = 5, kPreBerColumn = 6,
                      kPostBerColumn = 7, kColumnCount = 8;
} // namespace

std::string LevelPane::BerText(std::uint16_t code, const char* belowLimit) {
    const Ber ber = DecodeBer(code);
    return ber.kind == Ber::Kind::BelowLimit ? std::string(belowLimit) : ber.Text();
}

LevelPane::Rows LevelPane::BuildRows() const {
    Rows rows;
    const int kind = File().Kind();
    // "Unlock" is the one BER text with words; the rest are numbers in any language.
    const auto ber = [this](std::uint16_t code, const char* belowLimit) {
        const std::string text = BerText(code, belowLimit);
        return text == "Unlock" ? T(txt::kUnlock) : text;
    };
    const auto value = [](CellQuantity q, double v) { return CellSource{q, v, 0, 0}; };
    const auto berCell = [](CellQuantity q, std::uint16_t code, double below) {
        return CellSource{q, std::nullopt, code, below};
    };
    for (int p = 0; p < kMaxRecords; ++p) {
        const auto record = File().Level(p);
        const auto entry = File().PlanSlot(p);
        if (!record || !entry || !record->Measured())
            continue;
        std::vector<std::string> row = {Format("%d", entry->channelNumber),
                                        Format("%.2f", entry->frequency / 100.0)};
        RowSource source{p, *entry, -1, std::vector<CellSource>(kColumnCount)};
        const std::string level = Tenths(record->level);
        const std::string second = Tenths(record->second);
        source.cells[kLevelColumn] = value(CellQuantity::Level, record->level / 10.0);
        const auto digital = [&](double preBelow, double postBelow) {
            source.cells[kMerColumn] = value(CellQuantity::Mer, record->second / 10.0);
            source.cells[kPreBerColumn] = berCell(CellQuantity::PreBer, record->ber1, preBelow);
            source.cells[kPostBerColumn] = berCell(CellQuantity::PostBer, record->ber2, postBelow);
        };
        switch (ClassOf(kind, entry->type)) {
        case LevelClass::Tv:
            row.insert(row.end(), {"TV", level, second, kNoValue, kNoValue, kNoValue});
            source.cells[kAudioColumn] = value(CellQuantity::Audio, record->second / 10.0);
            break;
        case LevelClass::Cable:
            row.insert(row.end(),
                       {IsKind(kind, MeterKind::Compact) ? "DIGI" : "DVB-C", level, kNoValue,
                        second, ber(record->ber1, "<1.0E-9"), ber(record->ber2, "<1.0E-9")});
            digital(1e-9, 1e-9);
            break;
        case LevelClass::Terrestrial:
            row.insert(row.end(), {"DVB-T", level, kNoValue, MerText(record->second, 30),
                                   ber(record->ber1, "<1.0E-5"), ber(record->ber2, "<1.0E-7")});
            digital(1e-5, 1e-7);
            break;
        case LevelClass::Terrestrial2:
            row.insert(row.end(), {"DVB-T2", level, kNoValue, MerText(record->second, 32),
                                   ber(record->ber1, "<1.0E-6"), ber(record->ber2, "<1.0E-8")});
            digital(1e-6, 1e-8);
            break;
        case LevelClass::Unknown:
            // The level is the same field for every type; nothing else has a meaning.
            row.insert(row.end(), {kNoValue, level, kNoValue, kNoValue, kNoValue, kNoValue});
            break;
        }
        rows.texts.push_back(std::move(row));
        rows.sources.push_back(std::move(source));
    }
    return rows;
}

void LevelPane::Fill() {
    if (!File().HasLayout())
        return;
    m_fileNameText = ShownFileName();
    Rows rows = BuildRows();
    PaneTable& table = *MutableTable("Table");
    table.rows = std::move(rows.texts);
    table.sources = std::move(rows.sources);
}

std::string LevelPane::ExportText() const {
    std::string text = File().HasLayout() ? File().FileName() : std::string();
    text += "\r\n";
    text += "CH,Freq(MHz),Type,Vedio/Power,Audio,MER,PRE-BER/CBER,POST-BER/VBER/LBER\n";
    for (const auto& row : BuildRows().texts) {
        for (std::size_t i = 0; i < row.size(); ++i)
            text += (i ? "," : "") + row[i];
        text += "\n";
    }
    return text;
}

} // namespace qm
