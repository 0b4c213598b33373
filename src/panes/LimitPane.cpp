#include "panes/LimitPane.h"

#include "panes/PaneText.h"

namespace qm {

namespace {
constexpr std::size_t kVideoColumn = 3, kAudioColumn = 4, kPowerColumn = 5;
} // namespace

LimitPane::LimitPane(int languageBase, std::string levelUnit)
    : AnalysisPane(languageBase, std::move(levelUnit)) {
    AddChartTables({T(txt::kNo), T(txt::kChannel), T(txt::kType), T(txt::kVideo), T(txt::kAudio),
                    T(txt::kPower)});
}

LimitPane::Row LimitPane::RowAt(const std::vector<int>& enabled, int ordinal) const {
    Row row;
    const auto entry = File().Entry(enabled[static_cast<std::size_t>(ordinal)]);
    const auto type = entry ? SignalTypeText(File().Kind(), entry->type, Kind0Digital::TypeOneOnly)
                            : std::nullopt;
    if (!type)
        return row;
    row.hasType = true;
    row.analogue = IsAnalogue(entry->type);
    row.channel = Format("%d", entry->channelNumber);
    row.type = *type;
    row.planIndex = enabled[static_cast<std::size_t>(ordinal)];
    row.entry = *entry;
    // Enabled ordinals of 160 and above have no limit record.
    row.first = row.second = kNoValue;
    if (const auto values = File().Limit(ordinal)) {
        const double video = KindLevel(values->video, File().Kind());
        const double audio = KindLevel(values->audio, File().Kind());
        row.first = Tenths(video);
        row.second = Tenths(audio);
        row.firstValue = video / 10.0;
        row.secondValue = audio / 10.0;
    }
    return row;
}

void LimitPane::Fill() {
    if (!File().HasLayout())
        return;
    AddFileRows(*MutableTable("Parameters"));
    const std::vector<int> enabled = File().EnabledList();
    PaneTable& list = *MutableTable("List");
    bool markFilled = false;
    for (int k = 0; k < static_cast<int>(enabled.size()); ++k) {
        const Row row = RowAt(enabled, k);
        const std::string no = Format("%d", k + 1);
        RowSource& source =
            list.sources.emplace_back(RowSource{-1, {}, k, std::vector<CellSource>(6)});
        if (!row.hasType) {
            list.rows.push_back({no, "", "", "", "", ""});
            continue;
        }
        if (!markFilled) {
            SetChannelMarkRows(row);
            markFilled = true;
        }
        source.planIndex = row.planIndex;
        source.entry = row.entry;
        if (row.analogue) {
            list.rows.push_back({no, row.channel, row.type, row.first, row.second, kNoValue});
            source.cells[kVideoColumn] = {CellQuantity::Level, row.firstValue, 0, 0};
            source.cells[kAudioColumn] = {CellQuantity::Audio, row.secondValue, 0, 0};
        } else {
            list.rows.push_back({no, row.channel, row.type, kNoValue, kNoValue, row.first});
            source.cells[kPowerColumn] = {CellQuantity::Level, row.firstValue, 0, 0};
        }
    }
}

void LimitPane::FillMark(long position) {
    if (!File().HasLayout())
        return;
    const std::vector<int> enabled = File().EnabledList();
    if (position < 0 || position >= static_cast<long>(enabled.size()))
        return;
    const Row row = RowAt(enabled, static_cast<int>(position));
    if (row.hasType)
        SetChannelMarkRows(row);
}

std::string LimitPane::ExportText() const {
    if (!File().HasLayout())
        return {};
    std::string text = File().FileName() + "\r\n";
    text += "CH,Type,Video,Audio,power\n";
    const std::vector<int> enabled = File().EnabledList();
    for (int k = 0; k < static_cast<int>(enabled.size()); ++k) {
        const Row row = RowAt(enabled, k);
        if (!row.hasType)
            continue;
        if (row.analogue)
            text += row.channel + "," + row.type + "," + row.first + "," + row.second + ",---\n";
        else
            text += row.channel + "," + row.type + ",---,---," + row.first + "\n";
    }
    return text;
}

} // namespace qm
