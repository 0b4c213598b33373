#include "panes/AnalysisPane.h"

#include "app/FileTree.h"
#include "base/BinaryFile.h"
#include "panes/HumPane.h"
#include "panes/LevelPane.h"
#include "panes/LimitPane.h"
#include "panes/PaneText.h"
#include "panes/ScanPane.h"
#include "panes/SpectrumPane.h"
#include "panes/TiltPane.h"
#include "res/StringTable.h"
#include "res/TextCodec.h"

namespace qm {

AnalysisPane::AnalysisPane(int languageBase, std::string levelUnit)
    : m_base(languageBase), m_levelUnit(std::move(levelUnit)) {}

bool AnalysisPane::HasChart() const {
    const PaneSection s = Section();
    return s != PaneSection::Level && s != PaneSection::Hum;
}

void AnalysisPane::ShowFile(const _tagFileDataExt& element, bool incomplete) {
    m_element = element;
    m_hasFile = true;
    m_incomplete = incomplete;
    for (PaneTable& table : m_tables)
        table.rows.clear();
    m_fileNameText.clear();
    Fill();
}

bool AnalysisPane::ShowFileAt(const std::vector<_tagFileDataExt>& files, long index,
                              const std::vector<bool>& incomplete) {
    if (index < 0 || static_cast<std::size_t>(index) >= files.size())
        return false;
    const auto i = static_cast<std::size_t>(index);
    ShowFile(files[i], i < incomplete.size() && incomplete[i]);
    return true;
}

void AnalysisPane::MarkerMoved(long position) {
    PaneTable* mark = MutableTable("Mark");
    if (!m_hasFile || !mark)
        return;
    mark->rows.clear();
    FillMark(position);
}

void AnalysisPane::FillMark(long) {}

const PaneTable* AnalysisPane::Table(std::string_view tag) const {
    for (const PaneTable& table : m_tables)
        if (table.tag == tag)
            return &table;
    return nullptr;
}

PaneTable* AnalysisPane::MutableTable(std::string_view tag) {
    for (PaneTable& table : m_tables)
        if (table.tag == tag)
            return &table;
    return nullptr;
}

std::string AnalysisPane::ExportCsv() const {
    return m_hasFile ? ToTextMode(ExportText()) : std::string();
}

bool AnalysisPane::SaveCsv(const std::string& path) const {
    return ReplaceFileText(path, ExportCsv()) == ReplaceStatus::Ok;
}

std::string AnalysisPane::T(int englishId) const {
    return Tr(englishId, m_base);
}

void AnalysisPane::AddChartTables(const std::vector<std::string>& listTitles) {
    for (auto [tag, titleId] : {std::pair{"Parameters", txt::kParameters}, {"Mark", txt::kMark}}) {
        PaneTable table;
        table.tag = tag;
        table.title = T(titleId);
        table.columns = {{T(txt::kDescription), 2, 0}, {T(txt::kValue), 2, 0}};
        m_tables.push_back(std::move(table));
    }
    PaneTable list;
    list.tag = "List";
    list.title = T(txt::kList);
    for (const std::string& title : listTitles)
        list.columns.push_back({title, static_cast<int>(listTitles.size()), 0});
    m_tables.push_back(std::move(list));
}

std::string AnalysisPane::VideoPowerTitle() const {
    return T(txt::kVideo) + "/" + T(txt::kPower);
}

void AnalysisPane::AddFileRows(PaneTable& table) const {
    table.rows.push_back({T(txt::kFileName), ShownFileName()});
    table.rows.push_back({T(txt::kFileDate), ShownDateTime()});
}

std::string AnalysisPane::ShownFileName() const {
    return ShownName(AnsiToUtf8(m_file.FileName(), m_base), m_incomplete, m_base);
}

std::string AnalysisPane::ShownDateTime() const {
    return AnsiToUtf8(m_file.DateTimeText(), m_base);
}

std::unique_ptr<AnalysisPane> MakeAnalysisPane(PaneSection section, int languageBase,
                                               std::string levelUnit) {
    switch (section) {
    case PaneSection::Level:
        return std::make_unique<LevelPane>(languageBase, std::move(levelUnit));
    case PaneSection::Tilt:
        return std::make_unique<TiltPane>(languageBase, std::move(levelUnit));
    case PaneSection::Scan:
        return std::make_unique<ScanPane>(languageBase, std::move(levelUnit));
    case PaneSection::Spectrum:
        return std::make_unique<SpectrumPane>(languageBase, std::move(levelUnit));
    case PaneSection::Hum:
        return std::make_unique<HumPane>(languageBase, std::move(levelUnit));
    case PaneSection::Limit:
        return std::make_unique<LimitPane>(languageBase, std::move(levelUnit));
    }
    return nullptr;
}

const PaneTable* AnalysisPane::JudgedTable() const {
    if (Section() == PaneSection::Spectrum)
        return nullptr;
    const PaneTable* list = Table("List");
    return list ? list : Table("Table");
}

void AnalysisPane::SetChannelMarkRows(const ChannelLevels& row) {
    auto& rows = MutableTable("Mark")->rows;
    rows = {{T(txt::kChannel), row.channel}, {T(txt::kType), row.type}};
    if (row.analogue) {
        rows.push_back({T(txt::kVideo), row.first});
        rows.push_back({T(txt::kAudio), row.second});
    } else {
        rows.push_back({T(txt::kPower), row.first});
    }
}

} // namespace qm
