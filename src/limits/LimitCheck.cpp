#include "limits/LimitCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "panes/PaneText.h"

namespace qm {

namespace {

// Pane table columns that show the checked values.
constexpr int kLevelColLevel = 3, kLevelColAudio = 4, kLevelColMer = 5, kLevelColBer1 = 6,
              kLevelColBer2 = 7;
constexpr int kScanColFirst = 3, kScanColAudio = 4;
constexpr int kLimitColVideo = 3, kLimitColAudio = 4, kLimitColPower = 5;
constexpr int kTiltColLevel = 4;
constexpr int kHumColLpf = 2, kHumColMains1 = 3, kHumColMains2 = 4;

enum class Class { Tv, Cable, Terrestrial, Terrestrial2, Unknown };

struct ChannelClass {
    Class cls = Class::Unknown;
    const ChannelLimits* limits = nullptr; // nullptr: the profile has no limits for it
    std::string text;
};

// QAM order of a DVB-C modulation code in the kind's table; -1 outside it.
int CableOrder(int kind, int code) {
    static const int kCompact[] = {kOrderQpsk, 16, 32, 64, 128, 256, kOrderCofdm};
    static const int kKind2[] = {16, 32, 64, 128, 256};
    if (kind == 2)
        return code >= 0 && code < 5 ? kKind2[code] : -1;
    return code >= 0 && code < 7 ? kCompact[code] : -1;
}

std::string OrderText(int order) {
    if (order == kOrderQpsk)
        return "QPSK";
    if (order == kOrderCofdm)
        return "COFDM";
    return std::to_string(order) + "QAM";
}

ChannelClass Classify(int kind, const EntryInfo& e, const LimitProfile& p) {
    ChannelClass c;
    if (e.type == 0) {
        c = {Class::Tv, &p.tv, "TV"};
    } else if (e.type == 1) {
        const int order = CableOrder(kind, e.modulation);
        c.cls = Class::Cable;
        c.text = order < 0 ? "DVB-C" : "DVB-C " + OrderText(order);
        if (const auto found = p.cable.find(order); order >= 0 && found != p.cable.end())
            c.limits = &found->second;
    } else if (e.type == 2 && kind >= 1) {
        c = {Class::Terrestrial, &p.terrestrial, "DVB-T"};
    } else if (e.type == 3 && kind == 2) {
        c = {Class::Terrestrial2, &p.terrestrial2, "DVB-T2"};
    } else {
        c.text = kNoValue;
    }
    return c;
}

std::string Num(double v) {
    return Format("%.1f", v);
}

bool IsDb(Quantity q) {
    return q == Quantity::Level || q == Quantity::VideoAudio || q == Quantity::Mer ||
           q == Quantity::Adjacent || q == Quantity::Tilt;
}

// Values are tenths and the limits decimals: a value on the limit must not fail by a rounding
// error, so margins within a millionth of a dB count as on the limit.
void Judge(ValueCheck& v, double margin) {
    constexpr double kOnTheLimit = 1e-6;
    v.margin = std::fabs(margin) < kOnTheLimit ? 0.0 : margin;
    v.verdict = *v.margin >= 0 ? Verdict::Pass : Verdict::Fail;
}

ValueCheck NotChecked(Quantity q, int column) {
    ValueCheck v;
    v.quantity = q;
    v.column = column;
    v.verdict = Verdict::NotChecked;
    return v;
}

ValueCheck InRange(Quantity q, int column, double value, double lo, double hi) {
    ValueCheck v;
    v.quantity = q;
    v.column = column;
    v.value = value;
    Judge(v, std::min(value - lo, hi - value));
    v.limitText = Num(lo) + " .. " + Num(hi);
    return v;
}

ValueCheck AtLeast(Quantity q, int column, double value, double lo) {
    ValueCheck v;
    v.quantity = q;
    v.column = column;
    v.value = value;
    Judge(v, value - lo);
    v.limitText = ">= " + Num(lo);
    return v;
}

ValueCheck AtMost(Quantity q, int column, double value, double hi) {
    ValueCheck v = AtLeast(q, column, value, hi);
    Judge(v, hi - value);
    v.limitText = "<= " + (q == Quantity::Hum || q == Quantity::Hum1 || q == Quantity::Hum2
                               ? Format("%.2f%%", hi)
                               : Num(hi));
    return v;
}

// A BER code against the maximum; belowLimit is the bound the meter's "below" code stands for.
ValueCheck BerCheck(int column, std::uint16_t code, double belowLimit, double max) {
    ValueCheck v;
    v.quantity = Quantity::Ber;
    v.column = column;
    v.limitText = "<= " + Format("%.1E", max);
    const Ber ber = DecodeBer(code);
    double value = 0;
    switch (ber.kind) {
    case Ber::Kind::Unlock:
        // No lock, no picture: whatever the ratio, the channel fails.
        v.verdict = Verdict::Fail;
        return v;
    case Ber::Kind::BelowLimit:
        value = belowLimit;
        break;
    case Ber::Kind::Below1E3:
        // "<1.0E-3" passes only a limit at or above 1E-3; below that it proves nothing.
        if (1e-3 > max) {
            v.verdict = Verdict::NotMeasured;
            return v;
        }
        value = 1e-3;
        break;
    case Ber::Kind::Value:
        value = ber.Value();
        break;
    }
    v.value = value;
    // Relative slack: 2.0 * 10^-4 computed need not be the very double that "2E-4" reads as.
    v.verdict = value <= max * (1 + 1e-9) ? Verdict::Pass : Verdict::Fail;
    if (value > 0 && max > 0)
        v.margin = std::log10(max) - std::log10(value);
    return v;
}

// The level (and, for analogue channels, vision-to-sound difference) checks of one channel.
void LevelChecks(ChannelCheck& c, const ChannelClass& cls, std::optional<double> level,
                 int levelColumn, std::optional<double> audio, int audioColumn) {
    if (!cls.limits) {
        c.values.push_back(NotChecked(Quantity::Level, levelColumn));
        return;
    }
    const ChannelLimits& l = *cls.limits;
    if (level)
        c.values.push_back(InRange(Quantity::Level, levelColumn, *level, l.levelMin, l.levelMax));
    else
        c.values.push_back({Quantity::Level, levelColumn, Verdict::NotMeasured, {}, {}, {}});
    if (cls.cls != Class::Tv)
        return;
    if (level && audio)
        c.values.push_back(InRange(Quantity::VideoAudio, audioColumn, *level - *audio,
                                   l.videoAudioMin, l.videoAudioMax));
    else
        c.values.push_back({Quantity::VideoAudio, audioColumn, Verdict::NotMeasured, {}, {}, {}});
}

// Adjacent-channel differences: each row against the previous row of the same class
// (analogue with analogue, digital with digital), whose target levels differ by design.
void AdjacentChecks(SectionCheck& s, const std::vector<std::optional<double>>& levels,
                    const std::vector<bool>& analogue, int column, double max) {
    std::optional<std::size_t> prev[2];
    for (std::size_t i = 0; i < s.channels.size(); ++i) {
        if (!levels[i])
            continue;
        auto& last = prev[analogue[i] ? 1 : 0];
        if (last) {
            const double diff = std::fabs(*levels[i] - *levels[*last]);
            ValueCheck v = AtMost(Quantity::Adjacent, column, diff, max);
            s.channels[i].values.push_back(v);
        }
        last = i;
    }
}

void Summarise(SectionCheck& s) {
    s.verdict = Verdict::NotMeasured;
    const auto consider = [&s](const ValueCheck& v) {
        s.verdict = Combine(s.verdict, v.verdict);
        if (v.margin && IsDb(v.quantity) && (!s.worstMargin || *v.margin < *s.worstMargin))
            s.worstMargin = v.margin;
    };
    for (ChannelCheck& c : s.channels) {
        c.verdict = Verdict::NotMeasured;
        for (const ValueCheck& v : c.values) {
            c.verdict = Combine(c.verdict, v.verdict);
            consider(v);
        }
        if (c.planIndex >= 0) {
            ++s.channelCount;
            if (c.verdict == Verdict::Pass)
                ++s.passCount;
        }
    }
    for (const ValueCheck& v : s.fileValues)
        consider(v);
}

ChannelCheck NewChannel(int row, int planIndex, const EntryInfo& e, const ChannelClass& cls) {
    ChannelCheck c;
    c.row = row;
    c.planIndex = planIndex;
    c.channelNumber = e.channelNumber;
    c.frequencyMHz = e.frequency / 100.0;
    c.typeText = cls.text;
    return c;
}

SectionCheck CheckLevel(const MeasurementFile& f, const LimitProfile& p) {
    SectionCheck s;
    s.section = PaneSection::Level;
    std::vector<std::optional<double>> levels;
    std::vector<bool> analogue;
    for (int pi = 0; pi < kMaxRecords; ++pi) {
        const auto record = f.Level(pi);
        const auto entry = f.PlanSlot(pi);
        if (!record || !entry || !record->Measured())
            continue;
        ChannelClass cls = Classify(f.Kind(), *entry, p);
        // The compact meter measures only types 0 and 1; the level pane shows the rest blank.
        if (f.Kind() == 0 && entry->type > 1)
            cls = ChannelClass{Class::Unknown, nullptr, kNoValue};
        ChannelCheck c = NewChannel(static_cast<int>(s.channels.size()), pi, *entry, cls);
        const double level = record->level / 10.0;
        const double second = record->second / 10.0;
        LevelChecks(c, cls, level, kLevelColLevel, second, kLevelColAudio);
        if (cls.limits && cls.cls != Class::Tv) {
            const ChannelLimits& l = *cls.limits;
            c.values.push_back(AtLeast(Quantity::Mer, kLevelColMer, second, l.merMin));
            if (cls.cls == Class::Cable)
                c.values.push_back(BerCheck(kLevelColBer1, record->ber1, 1e-9, l.berMax));
            else
                c.values.push_back(BerCheck(kLevelColBer2, record->ber2,
                                            cls.cls == Class::Terrestrial ? 1e-7 : 1e-8, l.berMax));
        }
        levels.push_back(cls.limits ? std::optional<double>(level) : std::nullopt);
        analogue.push_back(cls.cls == Class::Tv);
        s.channels.push_back(std::move(c));
    }
    AdjacentChecks(s, levels, analogue, kLevelColLevel, p.adjacentMax);
    return s;
}

SectionCheck CheckScan(const MeasurementFile& f, const LimitProfile& p) {
    SectionCheck s;
    s.section = PaneSection::Scan;
    const std::vector<int> enabled = f.EnabledList();
    const int rows = std::clamp(static_cast<int>(enabled.size()) - f.ScanStart(), 0, f.ScanCount());
    std::vector<std::optional<double>> levels;
    std::vector<bool> analogue;
    for (int r = 0; r < rows; ++r) {
        const int pi = enabled[static_cast<std::size_t>(f.ScanStart() + r)];
        const auto entry = f.Entry(pi);
        if (!entry || !SignalTypeText(f.Kind(), entry->type, Kind0Digital::AnyNonZero))
            continue;
        const ChannelClass cls = Classify(f.Kind(), *entry, p);
        ChannelCheck c = NewChannel(r, pi, *entry, cls);
        const auto values = f.Scan(pi);
        std::optional<double> level, audio;
        if (values) {
            level = static_cast<std::int16_t>(values->video) / 10.0;
            audio = static_cast<std::int16_t>(values->audio) / 10.0;
        }
        LevelChecks(c, cls, level, kScanColFirst, audio, kScanColAudio);
        levels.push_back(cls.limits ? level : std::nullopt);
        analogue.push_back(cls.cls == Class::Tv);
        s.channels.push_back(std::move(c));
    }
    AdjacentChecks(s, levels, analogue, kScanColFirst, p.adjacentMax);
    return s;
}

SectionCheck CheckLimit(const MeasurementFile& f, const LimitProfile& p) {
    SectionCheck s;
    s.section = PaneSection::Limit;
    const std::vector<int> enabled = f.EnabledList();
    std::vector<std::optional<double>> levels;
    std::vector<bool> analogue;
    for (int k = 0; k < static_cast<int>(enabled.size()); ++k) {
        const int pi = enabled[static_cast<std::size_t>(k)];
        const auto entry = f.Entry(pi);
        if (!entry || !SignalTypeText(f.Kind(), entry->type, Kind0Digital::TypeOneOnly))
            continue;
        const ChannelClass cls = Classify(f.Kind(), *entry, p);
        ChannelCheck c = NewChannel(k, pi, *entry, cls);
        const auto values = f.Limit(k);
        std::optional<double> level, audio;
        if (values) {
            level = KindLevel(values->video, f.Kind()) / 10.0;
            audio = KindLevel(values->audio, f.Kind()) / 10.0;
        }
        const bool tv = cls.cls == Class::Tv;
        LevelChecks(c, cls, level, tv ? kLimitColVideo : kLimitColPower, audio, kLimitColAudio);
        levels.push_back(cls.limits ? level : std::nullopt);
        analogue.push_back(tv);
        s.channels.push_back(std::move(c));
    }
    AdjacentChecks(s, levels, analogue, kLimitColVideo, p.adjacentMax);
    // The limit pane shows a digital channel's difference in its power column.
    for (std::size_t i = 0; i < s.channels.size(); ++i)
        for (ValueCheck& v : s.channels[i].values)
            if (v.quantity == Quantity::Adjacent && !analogue[i])
                v.column = kLimitColPower;
    return s;
}

SectionCheck CheckTilt(const MeasurementFile& f, const LimitProfile& p) {
    SectionCheck s;
    s.section = PaneSection::Tilt;
    const std::vector<int> tiltList = f.TiltList();
    const int count = std::min(f.TiltCount(), kMaxTiltLevels);
    int row = 0;
    for (int i = 0; i < count; ++i) {
        const auto level = f.TiltLevel(i);
        if (!level)
            continue;
        if (i >= static_cast<int>(tiltList.size())) {
            ++row; // a level beyond the tilt channels: listed, but no channel to judge
            continue;
        }
        const int pi = tiltList[static_cast<std::size_t>(i)];
        const auto entry = f.Entry(pi);
        if (!entry || !SignalTypeText(f.Kind(), entry->type, Kind0Digital::AnyNonZero))
            continue;
        const ChannelClass cls = Classify(f.Kind(), *entry, p);
        ChannelCheck c = NewChannel(row++, pi, *entry, cls);
        LevelChecks(c, cls, *level / 10.0, kTiltColLevel, std::nullopt, -1);
        // The tilt list shows no sound carrier: no vision-to-sound check here.
        c.values.erase(
            std::remove_if(c.values.begin(), c.values.end(),
                           [](const ValueCheck& v) { return v.quantity == Quantity::VideoAudio; }),
            c.values.end());
        s.channels.push_back(std::move(c));
    }
    if (const auto tilt = f.TiltValue())
        s.fileValues.push_back(AtMost(Quantity::Tilt, -1, std::fabs(*tilt / 10.0), p.tiltMax));
    else
        s.fileValues.push_back({Quantity::Tilt, -1, Verdict::NotMeasured, {}, {}, {}});
    return s;
}

SectionCheck CheckHum(const MeasurementFile& f, const LimitProfile& p) {
    SectionCheck s;
    s.section = PaneSection::Hum;
    for (int pi = 0; pi < kMaxRecords; ++pi) {
        const auto record = f.Hum(pi);
        const auto entry = f.PlanSlot(pi);
        if (!record || !entry || !record->Measured())
            continue;
        ChannelCheck c = NewChannel(static_cast<int>(s.channels.size()), pi, *entry,
                                    Classify(f.Kind(), *entry, p));
        const auto hum = [&c, &p](Quantity q, int column, int raw, double scale) {
            // A negative reading is the meter's "no value".
            if (raw < 0)
                c.values.push_back({q, column, Verdict::NotMeasured, {}, {}, {}});
            else
                c.values.push_back(AtMost(q, column, raw / scale, p.humMax));
        };
        hum(Quantity::Hum, kHumColLpf, record->lpf, 10.0);
        hum(Quantity::Hum1, kHumColMains1, record->mains1, 100.0);
        hum(Quantity::Hum2, kHumColMains2, record->mains2, 100.0);
        s.channels.push_back(std::move(c));
    }
    return s;
}

} // namespace

Verdict Combine(Verdict a, Verdict b) {
    if (a == Verdict::Fail || b == Verdict::Fail)
        return Verdict::Fail;
    if (a == Verdict::Pass || b == Verdict::Pass)
        return Verdict::Pass;
    return Verdict::NotMeasured;
}

std::vector<int> FailingRows(const SectionCheck& section) {
    std::vector<int> rows;
    for (const ChannelCheck& c : section.channels)
        if (c.verdict == Verdict::Fail)
            rows.push_back(c.row);
    return rows;
}

Verdict ChannelCheck::ColumnVerdict(int column) const {
    Verdict v = Verdict::NotChecked;
    for (const ValueCheck& c : values) {
        if (c.column != column)
            continue;
        v = v == Verdict::NotChecked ? c.verdict : Combine(v, c.verdict);
    }
    return v;
}

const ChannelCheck* SectionCheck::AtRow(int row) const {
    for (const ChannelCheck& c : channels)
        if (c.row == row)
            return &c;
    return nullptr;
}

const SectionCheck* FileCheck::Section(PaneSection section) const {
    for (const SectionCheck& s : sections)
        if (s.section == section)
            return &s;
    return nullptr;
}

SectionCheck CheckSection(const MeasurementFile& file, const LimitProfile& profile,
                          PaneSection section) {
    SectionCheck s;
    s.section = section;
    if (!file.HasLayout())
        return s;
    switch (section) {
    case PaneSection::Level:
        s = CheckLevel(file, profile);
        break;
    case PaneSection::Tilt:
        s = CheckTilt(file, profile);
        break;
    case PaneSection::Scan:
        s = CheckScan(file, profile);
        break;
    case PaneSection::Hum:
        s = CheckHum(file, profile);
        break;
    case PaneSection::Limit:
        s = CheckLimit(file, profile);
        break;
    case PaneSection::Spectrum:
        break;
    }
    Summarise(s);
    return s;
}

FileCheck CheckFile(const MeasurementFile& file, const LimitProfile& profile) {
    FileCheck fc;
    const std::pair<std::uint8_t, PaneSection> order[] = {{kFlagLevel, PaneSection::Level},
                                                          {kFlagTilt, PaneSection::Tilt},
                                                          {kFlagScan, PaneSection::Scan},
                                                          {kFlagHum, PaneSection::Hum},
                                                          {kFlagLimit, PaneSection::Limit}};
    std::map<int, Verdict> channels;
    for (const auto& [flag, section] : order) {
        if (!(file.SectionFlags() & flag))
            continue;
        fc.sections.push_back(CheckSection(file, profile, section));
        const SectionCheck& s = fc.sections.back();
        fc.verdict = Combine(fc.verdict, s.verdict);
        if (s.worstMargin && (!fc.worstMargin || *s.worstMargin < *fc.worstMargin))
            fc.worstMargin = s.worstMargin;
        for (const ChannelCheck& c : s.channels) {
            if (c.planIndex < 0)
                continue;
            auto [it, added] = channels.emplace(c.planIndex, c.verdict);
            if (!added)
                it->second = Combine(it->second, c.verdict);
        }
    }
    fc.channelCount = static_cast<int>(channels.size());
    fc.passCount = static_cast<int>(std::count_if(
        channels.begin(), channels.end(), [](const auto& c) { return c.second == Verdict::Pass; }));
    return fc;
}

} // namespace qm

namespace qm {

const ChannelLimits* LimitsForEntry(int kind, const EntryInfo& entry, const LimitProfile& profile) {
    if (kind == 0 && entry.type > 1)
        return nullptr;
    return Classify(kind, entry, profile).limits;
}

} // namespace qm
