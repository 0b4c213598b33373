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
    table.columns = {{T(kIdsChannel), 1, 75}, {T(kIdsType), 1, 75}, {"LPF", 1, 80}};
    m_tables.push_back(std::move(table));
}

std::vector<std::vector<std::string>> HumPane::Rows() const {
    std::vector<std::vector<std::string>> rows;
    for (int p = 0; p < kMaxRecords; ++p) {
        const auto record = File().Hum(p);
        const auto entry = File().PlanSlot(p);
        if (!record || !entry || !record->Measured())
            continue;
        const auto type = SignalTypeText(File().Kind(), entry->type, Kind0Digital::TypeOneOnly);
        rows.push_back({Format("%d", entry->channelNumber), type ? *type : kNoValue,
                        LpfText(record->lpf), ComponentText(record->mains1),
                        ComponentText(record->mains2)});
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
    table.rows = Rows();
}

std::string HumPane::ExportText() const {
    std::string text = File().HasLayout() ? File().FileName() : std::string();
    text += "\r\n";
    text += File().MainsFlag() != 0 ? "CH,Type,LPF,50MHz,100MHz\n"
                                    : std::string("CH,Type,LPF,60MHz,120MHz") + "\n";
    for (const auto& row : Rows())
        text += row[0] + "," + row[1] + "," + row[2] + "," + row[3] + "," + row[4] + "\r\n";
    return text;
}

} // namespace qm
