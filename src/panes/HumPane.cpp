#include "panes/HumPane.h"

#include "panes/PaneText.h"

namespace qm {

namespace {

constexpr std::size_t kInitialColumns = 3;

std::string LpfText(int v) {
    return v < 0 ? kNoValue : Format("%.1f%%", v / 10.0);
}
std::string ComponentText(int v) {
    return v < 0 ? kNoValue : Format("%.2f%%", v / 100.0);
}

} // namespace

HumPane::HumPane(int languageBase, std::string levelUnit)
    : AnalysisPane(languageBase, std::move(levelUnit)) {
    PaneTable table;
    table.tag = "Table";
    table.columns = {{T(txt::kChannel), 1, 75}, {T(txt::kType), 1, 75}, {"LPF", 1, 80}};
    m_tables.push_back(std::move(table));
}

HumPane::Rows HumPane::BuildRows() const {
    Rows rows;
    // A negative reading is the meter's "no value".
    const auto cell = [](CellQuantity q, int raw, double scale) {
        return CellSource{q, raw < 0 ? std::nullopt : std::optional<double>(raw / scale), 0, 0};
    };
    for (int p = 0; p < kMaxRecords; ++p) {
        const auto record = File().Hum(p);
        const auto entry = File().PlanSlot(p);
        if (!record || !entry || !record->Measured())
            continue;
        const auto type = SignalTypeText(File().Kind(), entry->type, Kind0Digital::TypeOneOnly);
        rows.texts.push_back({Format("%d", entry->channelNumber), type ? *type : kNoValue,
                              LpfText(record->lpf), ComponentText(record->mains1),
                              ComponentText(record->mains2)});
        rows.sources.push_back({p,
                                *entry,
                                -1,
                                {{},
                                 {},
                                 cell(CellQuantity::Hum, record->lpf, 10.0),
                                 cell(CellQuantity::Hum1, record->mains1, 100.0),
                                 cell(CellQuantity::Hum2, record->mains2, 100.0)}});
    }
    return rows;
}

void HumPane::Fill() {
    PaneTable& table = *MutableTable("Table");
    table.columns.resize(kInitialColumns);
    const bool fifty = File().MainsFlag() != 0;
    table.columns.push_back({fifty ? "50MHz" : "60MHz", 1, 80});
    table.columns.push_back({fifty ? "100MHz" : "120MHz", 1, 80});
    if (!File().HasLayout())
        return;
    m_fileNameText = ShownFileName();
    Rows rows = BuildRows();
    table.rows = std::move(rows.texts);
    table.sources = std::move(rows.sources);
}

std::string HumPane::ExportText() const {
    std::string text = File().HasLayout() ? File().FileName() : std::string();
    text += "\r\n";
    text += File().MainsFlag() != 0 ? "CH,Type,LPF,50MHz,100MHz\n"
                                    : std::string("CH,Type,LPF,60MHz,120MHz") + "\n";
    for (const auto& row : BuildRows().texts)
        text += row[0] + "," + row[1] + "," + row[2] + "," + row[3] + "," + row[4] + "\r\n";
    return text;
}

} // namespace qm
