#include "panes/TiltPane.h"

#include <algorithm>

#include "panes/PaneText.h"

namespace qm {

namespace {
constexpr std::size_t kLevelColumn = 4;
} // namespace

TiltPane::TiltPane(int languageBase, std::string levelUnit)
    : AnalysisPane(languageBase, std::move(levelUnit)) {
    AddChartTables(
        {T(txt::kNo), T(txt::kChannel), T(txt::kType), T(txt::kFrequency), VideoPowerTitle()});
}

// Rows stop where the stored tilt levels stop, whatever the count says.
int TiltPane::RowCount() const {
    return std::min(File().TiltCount(), kMaxTiltLevels);
}

std::optional<TiltPane::Row> TiltPane::RowAt(const std::vector<int>& tiltList, int ordinal) const {
    const auto level = File().TiltLevel(ordinal);
    if (!level)
        return std::nullopt;
    Row row;
    row.ordinal = ordinal;
    row.level = Tenths(*level);
    row.levelValue = *level / 10.0;
    if (ordinal >= static_cast<int>(tiltList.size()))
        return row; // a level the meter stored beyond its tilt channels
    const auto entry = File().Entry(tiltList[static_cast<std::size_t>(ordinal)]);
    if (!entry)
        return std::nullopt;
    const auto type = SignalTypeText(File().Kind(), entry->type, Kind0Digital::AnyNonZero);
    if (!type)
        return std::nullopt;
    row.hasChannel = true;
    row.planIndex = tiltList[static_cast<std::size_t>(ordinal)];
    row.entry = *entry;
    row.channel = Format("%d", entry->channelNumber);
    row.type = *type;
    row.frequency = Format("%.2f", entry->frequency / 100.0);
    return row;
}

void TiltPane::AddMarkRows(const Row& row) {
    if (!row.hasChannel)
        return;
    MutableTable("Mark")->rows = {{T(txt::kChannel), row.channel},
                                  {T(txt::kType), row.type},
                                  {T(txt::kFrequency), row.frequency},
                                  {VideoPowerTitle(), row.level}};
}

void TiltPane::Fill() {
    if (!File().HasLayout())
        return;
    AddFileRows(*MutableTable("Parameters"));
    const std::vector<int> tiltList = File().TiltList();
    PaneTable& list = *MutableTable("List");
    for (int i = 0; i < RowCount(); ++i) {
        const auto row = RowAt(tiltList, i);
        if (!row)
            continue;
        list.rows.push_back(
            {Format("%d", i + 1), row->channel, row->type, row->frequency, row->level});
        RowSource& source =
            list.sources.emplace_back(RowSource{-1, {}, i, std::vector<CellSource>(5)});
        if (row->hasChannel) {
            source.planIndex = row->planIndex;
            source.entry = row->entry;
            source.cells[kLevelColumn] = {CellQuantity::Level, row->levelValue, 0, 0};
        }
        if (i == 0)
            AddMarkRows(*row);
    }
}

void TiltPane::FillMark(long position) {
    if (!File().HasLayout())
        return;
    const std::vector<int> tiltList = File().TiltList();
    if (position < 0 || position >= static_cast<long>(tiltList.size()))
        return;
    if (const auto row = RowAt(tiltList, static_cast<int>(position)))
        AddMarkRows(*row);
}

std::string TiltPane::ExportText() const {
    if (!File().HasLayout())
        return {};
    std::string text = File().FileName() + "\r\n";
    const auto tilt = File().TiltValue();
    text += "Tilt," + (tilt ? Tenths(*tilt) : std::string(kNoValue)) + "\r\n";
    text += "CH, Type,Freq(MHz),Video/Power\n";
    const std::vector<int> tiltList = File().TiltList();
    for (int i = 0; i < RowCount(); ++i) {
        const auto row = RowAt(tiltList, i);
        if (!row || !row->hasChannel)
            continue;
        text += row->channel + "," + row->type + "," + row->frequency + "," + row->level + "\n";
    }
    return text;
}

} // namespace qm
