#include "archive/ArchiveRecord.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>

#include "archive/Sha256.h"
#include "measurement/MeasurementFile.h"
#include "panes/AnalysisPane.h"
#include "panes/PaneText.h"
#include "res/StringTable.h"
#include "res/TextCodec.h"

namespace qm {

namespace {

std::optional<std::string> Shown(const std::string& text) {
    if (text.empty() || text == kNoValue)
        return std::nullopt;
    return text;
}

// "474.25" as the panes print a frequency, back to hundredths of a MHz.
std::optional<std::uint32_t> FrequencyOf(const std::string& text) {
    char* end = nullptr;
    const double mhz = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || !(mhz >= 0) || mhz > 4.0e7)
        return std::nullopt;
    return static_cast<std::uint32_t>(std::lround(mhz * 100));
}

int NumberOf(const std::string& text) {
    return std::atoi(text.c_str());
}

// The shown rows of one pane over the element; nullptr when its section flag is not set.
const PaneTable* Rows(const MeasurementFile& file, const _tagFileDataExt& element,
                      std::unique_ptr<AnalysisPane>& pane, PaneSection section, std::uint8_t flag,
                      const char* tag) {
    if (!(file.SectionFlags() & flag))
        return nullptr;
    pane = MakeAnalysisPane(section, kLanguageEnglish, "dBuV");
    pane->ShowFile(element);
    return pane->Table(tag);
}

std::vector<ArchivedChannel> ChannelsOf(const _tagFileDataExt& element) {
    const MeasurementFile file(element);
    std::map<std::uint32_t, ArchivedChannel> byFrequency;
    if (!file.HasLayout())
        return {};
    const auto at = [&byFrequency](std::uint32_t frequency, const std::string& channel,
                                   const std::string& type) -> ArchivedChannel& {
        auto [it, fresh] = byFrequency.try_emplace(frequency);
        if (fresh) {
            it->second.frequency = frequency;
            it->second.channel = NumberOf(channel);
            it->second.type = type;
        }
        return it->second;
    };
    std::unique_ptr<AnalysisPane> pane;
    // Two channels on one frequency keep the first one's values, as comparing does.
    if (const PaneTable* level = Rows(file, element, pane, PaneSection::Level, kFlagLevel, "Table"))
        for (const auto& row : level->rows)
            if (const auto f = row.size() == 8 ? FrequencyOf(row[1]) : std::nullopt) {
                ArchivedChannel& c = at(*f, row[0], row[2]);
                if (!c.level && !c.audio && !c.mer) {
                    c.level = Shown(row[3]), c.audio = Shown(row[4]), c.mer = Shown(row[5]);
                    c.preBer = Shown(row[6]), c.postBer = Shown(row[7]);
                }
            }
    if (const PaneTable* scan = Rows(file, element, pane, PaneSection::Scan, kFlagScan, "List")) {
        const std::vector<int> enabled = file.EnabledList();
        for (std::size_t r = 0; r < scan->rows.size(); ++r) {
            const auto& row = scan->rows[r];
            const std::size_t ordinal = static_cast<std::size_t>(file.ScanStart()) + r;
            if (row.size() != 5 || row[1].empty() || ordinal >= enabled.size())
                continue;
            const auto entry = file.PlanSlot(enabled[ordinal]);
            if (!entry)
                continue;
            ArchivedChannel& c = at(entry->frequency, row[1], row[2]);
            if (!c.scanLevel)
                c.scanLevel = Shown(row[3]), c.scanAudio = Shown(row[4]);
        }
    }
    if (const PaneTable* tilt = Rows(file, element, pane, PaneSection::Tilt, kFlagTilt, "List"))
        for (const auto& row : tilt->rows)
            if (const auto f =
                    row.size() == 5 && !row[1].empty() ? FrequencyOf(row[3]) : std::nullopt) {
                ArchivedChannel& c = at(*f, row[1], row[2]);
                if (!c.tiltLevel)
                    c.tiltLevel = Shown(row[4]);
            }
    std::vector<ArchivedChannel> channels;
    channels.reserve(byFrequency.size());
    for (auto& [frequency, channel] : byFrequency)
        channels.push_back(std::move(channel));
    return channels;
}

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsDate(int year, int month, int day) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    return day <= kDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
}

} // namespace

ArchiveItem MakeArchiveItem(const _tagFileDataExt& element, const std::string& technician,
                            const std::string& source, const std::string& addedAt) {
    ArchiveItem item;
    const MeasurementFile file(element);
    const std::size_t size = file.HasLayout() ? FileSize(element.kind) : element.file.size();
    item.bytes.assign(element.file.begin(), element.file.begin() + static_cast<long>(size));
    item.entry.hash = Sha256Hex(element.Bytes(), size + 1);
    item.entry.site = AnsiToUtf8(file.FileName());
    item.entry.kind = element.kind;
    item.entry.fileDate = AnsiToUtf8(file.DateTimeText());
    std::string time(reinterpret_cast<const char*>(element.file.data() + 16), 11);
    time.resize(time.find('\0') == std::string::npos ? time.size() : time.find('\0'));
    item.entry.measuredAt = MeasuredAtText(file.U16(10), file.U16(12), file.U16(14), time);
    item.entry.addedAt = addedAt.empty() ? UtcNowText() : addedAt;
    // A server takes UTF-8 only: a name from the settings or a path in another encoding is
    // read in the user's code page, as the meter's own texts are.
    item.entry.technician = AnsiToUtf8(technician);
    item.entry.source = AnsiToUtf8(source);
    item.channels = ChannelsOf(element);
    return item;
}

std::optional<_tagFileDataExt> ElementFromArchive(int kind,
                                                  const std::vector<std::uint8_t>& bytes) {
    if (kind < 0 || kind > 255)
        return std::nullopt;
    const std::size_t size = IsKnownKind(kind) ? FileSize(kind) : kElementSize - 1;
    if (bytes.size() != size)
        return std::nullopt;
    _tagFileDataExt element;
    element.kind = static_cast<std::uint8_t>(kind);
    std::copy(bytes.begin(), bytes.end(), element.file.begin());
    return element;
}

std::string MeasuredAtText(int first, int second, int third, const std::string& timeText) {
    int year = 0, month = 0, day = 0;
    if (first > 31)
        year = first, month = second, day = third;
    else if (third > 31 && second > 12)
        year = third, month = first, day = second;
    else if (third > 31)
        year = third, month = second, day = first;
    if (!IsDate(year, month, day))
        return {};
    int h = 0, m = 0, s = 0;
    char rest = 0;
    const int read = std::sscanf(timeText.c_str(), "%d:%d:%d%c", &h, &m, &s, &rest);
    if (read < 2 || read > 3 || h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        h = m = s = 0; // the day is still worth sorting by
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, h, m, s);
    return text;
}

std::string UtcNowText() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
    return text;
}

bool ParseIsoDate(const std::string& text, int& year, int& month, int& day) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (const std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (text[i] < '0' || text[i] > '9')
            return false;
    year = std::atoi(text.substr(0, 4).c_str());
    month = std::atoi(text.substr(5, 2).c_str());
    day = std::atoi(text.substr(8, 2).c_str());
    return IsDate(year, month, day);
}

} // namespace qm
