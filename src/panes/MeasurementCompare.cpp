#include "panes/MeasurementCompare.h"

#include "res/StringTable.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

#include "app/FileTree.h"
#include "measurement/MeasurementFile.h"
#include "panes/PaneText.h"
#include "res/StringTable.h"

namespace qm {

namespace {

// What one file holds for one channel.
struct Reading {
    int channel = 0;
    std::string type;
    std::optional<int> level, audio, mer; // tenths of a dB
    std::optional<int> preBer, postBer;   // BER class
    std::optional<int> hum;               // LPF hum, tenths of a percent
};

// The decade of a BER code; belowLimit is the class of the "below the limit" code of the
// channel's type and BER. Unlock has none.
std::optional<int> BerClass(std::uint16_t code, int belowLimit) {
    const Ber ber = DecodeBer(code);
    switch (ber.kind) {
    case Ber::Kind::BelowLimit:
        return belowLimit;
    case Ber::Kind::Below1E3:
        return 3;
    case Ber::Kind::Unlock:
        return std::nullopt;
    case Ber::Kind::Value:
        break;
    }
    if (ber.Value() <= 0)
        return std::nullopt;
    return static_cast<int>(std::floor(-std::log10(ber.Value()) + 1e-9));
}

void ReadLevel(const MeasurementFile& file, const LevelRecord& record, int type, Reading& r) {
    const int kind = file.Kind();
    r.level = record.level;
    if (IsAnalogue(type)) {
        r.audio = record.second;
        return;
    }
    // Limits of the "below" codes per digital class: cable, DVB-T, DVB-T2.
    int pre = 0, post = 0;
    if (type == 1)
        pre = 9, post = 9;
    else if (type == 2 && (kind == 1 || kind == 2))
        pre = 5, post = 7;
    else if (type == 3 && kind == 2)
        pre = 6, post = 8;
    else
        return; // no other field has a meaning
    r.mer = record.second;
    r.preBer = BerClass(record.ber1, pre);
    r.postBer = BerClass(record.ber2, post);
}

std::map<std::uint32_t, Reading> Readings(const MeasurementFile& file) {
    std::map<std::uint32_t, Reading> readings;
    if (!file.HasLayout())
        return readings;
    for (int p = 0; p < kMaxRecords; ++p) {
        const auto entry = file.PlanSlot(p);
        const auto level = file.Level(p);
        const auto hum = file.Hum(p);
        const bool hasLevel = (file.SectionFlags() & kFlagLevel) && level && level->Measured();
        const bool hasHum = (file.SectionFlags() & kFlagHum) && hum && hum->Measured();
        if (!entry || (!hasLevel && !hasHum) || readings.contains(entry->frequency))
            continue;
        Reading& r = readings[entry->frequency];
        r.channel = entry->channelNumber;
        const auto type = SignalTypeText(file.Kind(), entry->type, Kind0Digital::TypeOneOnly);
        r.type = type ? *type : kNoValue;
        if (hasLevel)
            ReadLevel(file, *level, entry->type, r);
        if (hasHum && hum->lpf >= 0)
            r.hum = hum->lpf;
    }
    return readings;
}

// Video/power level per scanned frequency, as the scan pane lists the scan window.
std::map<std::uint32_t, double> ScanLevelsOf(const MeasurementFile& file) {
    std::map<std::uint32_t, double> levels;
    if (!file.HasLayout() || !(file.SectionFlags() & kFlagScan))
        return levels;
    const std::vector<int> enabled = file.EnabledList();
    const int rows =
        std::clamp(static_cast<int>(enabled.size()) - file.ScanStart(), 0, file.ScanCount());
    for (int r = 0; r < rows; ++r) {
        const int p = enabled[static_cast<std::size_t>(file.ScanStart() + r)];
        const auto entry = file.Entry(p);
        const auto values = file.Scan(p);
        if (entry && values)
            levels.emplace(entry->frequency, static_cast<std::int16_t>(values->video) / 10.0);
    }
    return levels;
}

std::string TenthsOr(const std::optional<int>& v) {
    return v ? Tenths(*v) : kNoValue;
}

std::string Delta(const std::optional<int>* a, const std::optional<int>* b, bool tenths) {
    if (!a || !b || !*a || !*b)
        return kNoValue;
    const int d = **b - **a;
    return tenths ? Format("%+.1f", d / 10.0) : Format("%+d", d);
}

} // namespace

MeasurementCompare::MeasurementCompare(const _tagFileDataExt& a, const _tagFileDataExt& b,
                                       bool aIncomplete, bool bIncomplete) {
    const MeasurementFile fa(a), fb(b);
    PaneTable files{Tr(txt::kCmpFiles),
                    "",
                    {{Tr(txt::kCmpDescription), 4}, {"A", 4}, {"B", 4}, {Tr(txt::kCmpDelta), 4}},
                    {},
                    {}};
    const auto name = [](const MeasurementFile& f, bool incomplete) {
        return ShownName(f.HasLayout() ? f.FileName() : std::string(), incomplete,
                         kLanguageEnglish);
    };
    files.rows.push_back({Tr(txt::kFileName), name(fa, aIncomplete), name(fb, bIncomplete), ""});
    files.rows.push_back({Tr(txt::kFileDate), fa.DateTimeText(), fb.DateTimeText(), ""});
    const auto tilt = [](const MeasurementFile& f) -> std::optional<int> {
        if (!f.HasLayout() || !(f.SectionFlags() & kFlagTilt))
            return std::nullopt;
        return f.TiltValue();
    };
    const auto tiltA = tilt(fa), tiltB = tilt(fb);
    files.rows.push_back(
        {Tr(txt::kTilt), TenthsOr(tiltA), TenthsOr(tiltB), Delta(&tiltA, &tiltB, true)});

    PaneTable channels{Tr(txt::kChannels), "", {}, {}, {}};
    for (int title :
         {txt::kFrequency, txt::kCmpChA, txt::kCmpChB, txt::kType, txt::kCmpIn, txt::kCmpLevelA,
          txt::kCmpLevelB, txt::kCmpLevelDelta, txt::kCmpAudioDelta, txt::kCmpMerDelta,
          txt::kCmpPreBerDelta, txt::kCmpPostBerDelta, txt::kCmpHumDelta})
        channels.columns.push_back({Tr(title), kCmpColumnCount});
    const auto readingsA = Readings(fa), readingsB = Readings(fb);
    std::map<std::uint32_t, std::pair<const Reading*, const Reading*>> matched;
    for (const auto& [frequency, r] : readingsA)
        matched[frequency].first = &r;
    for (const auto& [frequency, r] : readingsB)
        matched[frequency].second = &r;
    for (const auto& [frequency, pair] : matched) {
        const auto [ra, rb] = pair;
        const Reading& any = ra ? *ra : *rb;
        const auto field = [](const Reading* r, std::optional<int> Reading::*member) {
            return r ? &(r->*member) : nullptr;
        };
        channels.rows.push_back({
            Format("%.2f", frequency / 100.0),
            ra ? Format("%d", ra->channel) : kNoValue,
            rb ? Format("%d", rb->channel) : kNoValue,
            ra && rb && ra->type != rb->type ? ra->type + "/" + rb->type : any.type,
            Tr(ra && rb ? txt::kCmpBoth
               : ra     ? txt::kCmpAOnly
                        : txt::kCmpBOnly),
            ra ? TenthsOr(ra->level) : kNoValue,
            rb ? TenthsOr(rb->level) : kNoValue,
            Delta(field(ra, &Reading::level), field(rb, &Reading::level), true),
            Delta(field(ra, &Reading::audio), field(rb, &Reading::audio), true),
            Delta(field(ra, &Reading::mer), field(rb, &Reading::mer), true),
            Delta(field(ra, &Reading::preBer), field(rb, &Reading::preBer), false),
            Delta(field(ra, &Reading::postBer), field(rb, &Reading::postBer), false),
            Delta(field(ra, &Reading::hum), field(rb, &Reading::hum), true),
        });
    }
    m_tables = {std::move(files), std::move(channels)};

    std::map<std::uint32_t, ScanPoint> scan;
    for (const auto& [frequency, level] : ScanLevelsOf(fa))
        scan[frequency].a = level;
    for (const auto& [frequency, level] : ScanLevelsOf(fb))
        scan[frequency].b = level;
    for (auto& [frequency, point] : scan) {
        point.frequency = frequency;
        m_scan.push_back(point);
    }
}

MeasurementCompare::Series MeasurementCompare::ScanSeries() const {
    constexpr double kGap = std::numeric_limits<double>::quiet_NaN();
    Series series;
    for (const ScanPoint& point : m_scan) {
        series.a.push_back(point.a.value_or(kGap));
        series.b.push_back(point.b.value_or(kGap));
    }
    return series;
}

} // namespace qm
