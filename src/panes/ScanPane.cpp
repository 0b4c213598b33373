#include "panes/ScanPane.h"

#include <algorithm>

#include "panes/PaneText.h"

namespace qm {

namespace {
constexpr std::size_t kLevelColumn = 3, kAudioColumn = 4;
} // namespace

ScanPane::ScanPane(int languageBase, std::string levelUnit)
    : AnalysisPane(languageBase, std::move(levelUnit)) {
    AddChartTables(
        {T(txt::kNo), T(txt::kChannel), T(txt::kType), VideoPowerTitle(), T(txt::kAudio)});
}

int ScanPane::RowCount() const {
    if (!File().HasLayout())
        return 0;
    const int enabled = static_cast<int>(File().EnabledList().size());
    return std::clamp(enabled - File().ScanStart(), 0, File().ScanCount());
}

ScanPane::Row ScanPane::RowAt(const std::vector<int>& enabled, int r) const {
    Row row;
    const int p = enabled[static_cast<std::size_t>(File().ScanStart() + r)];
    const auto entry = File().Entry(p);
    const auto type =
        entry ? SignalTypeText(File().Kind(), entry->type, Kind0Digital::AnyNonZero) : std::nullopt;
    if (!type)
        return row;
    row.hasType = true;
    row.analogue = IsAnalogue(entry->type);
    row.channel = Format("%d", entry->channelNumber);
    row.type = *type;
    row.planIndex = p;
    row.entry = *entry;
    // Plan indexes of 160 and above have no scan record.
    row.first = row.second = kNoValue;
    if (const auto values = File().Scan(p)) {
        const auto video = static_cast<std::int16_t>(values->video);
        row.first = Tenths(video);
        row.firstValue = video / 10.0;
        if (row.analogue) {
            const auto audio = static_cast<std::int16_t>(values->audio);
            row.second = Tenths(audio);
            row.secondValue = audio / 10.0;
        }
    }
    return row;
}

void ScanPane::Fill() {
    if (!File().HasLayout())
        return;
    AddFileRows(*MutableTable("Parameters"));
    const std::vector<int> enabled = File().EnabledList();
    PaneTable& list = *MutableTable("List");
    for (int r = 0; r < RowCount(); ++r) {
        const Row row = RowAt(enabled, r);
        if (r == 0 && row.hasType)
            SetChannelMarkRows(row);
        RowSource source{-1, {}, r, std::vector<CellSource>(list.columns.size())};
        if (row.hasType) {
            list.rows.push_back(
                {Format("%d", r + 1), row.channel, row.type, row.first, row.second});
            source.planIndex = row.planIndex;
            source.entry = row.entry;
            source.cells[kLevelColumn] = {CellQuantity::Level, row.firstValue, 0, 0};
            if (row.analogue)
                source.cells[kAudioColumn] = {CellQuantity::Audio, row.secondValue, 0, 0};
        } else {
            list.rows.push_back({Format("%d", r + 1), "", "", "", ""});
        }
        list.sources.push_back(std::move(source));
    }
}

void ScanPane::FillMark(long position) {
    if (position < 0 || position >= RowCount())
        return;
    const Row row = RowAt(File().EnabledList(), static_cast<int>(position));
    if (row.hasType)
        SetChannelMarkRows(row);
}

std::string ScanPane::ExportText() const {
    if (!File().HasLayout())
        return {};
    std::string text = File().FileName() + "\r\n";
    text += "CH,Type,video/power,Audio\n";
    const std::vector<int> enabled = File().EnabledList();
    for (int r = 0; r < RowCount(); ++r) {
        const Row row = RowAt(enabled, r);
        if (row.hasType)
            text += row.channel + "," + row.type + "," + row.first + "," + row.second + "\n";
    }
    return text;
}

} // namespace qm
