#include "limits/LimitCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "panes/PaneText.h"
#include "res/StringTable.h"

namespace qm {

namespace {

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
        ++s.channelCount;
        if (c.verdict == Verdict::Pass)
            ++s.passCount;
    }
    for (const ValueCheck& v : s.fileValues)
        consider(v);
}

ChannelCheck NewChannel(int row, const RowSource& source, const ChannelClass& cls) {
    ChannelCheck c;
    c.row = row;
    c.planIndex = source.planIndex;
    c.chartPoint = source.chartPoint;
    c.channelNumber = source.entry.channelNumber;
    c.frequencyMHz = source.entry.frequency / 100.0;
    c.typeText = cls.text;
    return c;
}

// The cell of the row that shows the quantity, or nullptr.
const CellSource* FindCell(const RowSource& row, CellQuantity q, int& column) {
    for (std::size_t i = 0; i < row.cells.size(); ++i)
        if (row.cells[i].quantity == q) {
            column = static_cast<int>(i);
            return &row.cells[i];
        }
    return nullptr;
}

// The checks of one row's cells, each carrying the column of the cell it judges.
ChannelCheck CheckRow(int row, const RowSource& source, int kind, const LimitProfile& p) {
    const ChannelClass cls = Classify(kind, source.entry, p);
    ChannelCheck c = NewChannel(row, source, cls);
    int levelColumn = -1, audioColumn = -1, merColumn = -1, berColumn = -1;
    if (const CellSource* level = FindCell(source, CellQuantity::Level, levelColumn)) {
        const CellSource* audio = FindCell(source, CellQuantity::Audio, audioColumn);
        LevelChecks(c, cls, level->value, levelColumn, audio ? audio->value : std::nullopt,
                    audio ? audioColumn : -1);
        // Only where the row shows a sound carrier is the vision-to-sound difference judged.
        if (!audio)
            std::erase_if(c.values,
                          [](const ValueCheck& v) { return v.quantity == Quantity::VideoAudio; });
        if (cls.limits && cls.cls != Class::Tv) {
            const ChannelLimits& l = *cls.limits;
            if (const CellSource* mer = FindCell(source, CellQuantity::Mer, merColumn);
                mer && mer->value)
                c.values.push_back(AtLeast(Quantity::Mer, merColumn, *mer->value, l.merMin));
            // DVB-C is judged on its PRE-BER, DVB-T and T2 on the BER after the inner code.
            const CellQuantity berQuantity =
                cls.cls == Class::Cable ? CellQuantity::PreBer : CellQuantity::PostBer;
            if (const CellSource* ber = FindCell(source, berQuantity, berColumn))
                c.values.push_back(BerCheck(berColumn, ber->berCode, ber->berBelow, l.berMax));
        }
    }
    for (const auto& [cq, q] : {std::pair{CellQuantity::Hum, Quantity::Hum},
                                std::pair{CellQuantity::Hum1, Quantity::Hum1},
                                std::pair{CellQuantity::Hum2, Quantity::Hum2}}) {
        int column = -1;
        const CellSource* hum = FindCell(source, cq, column);
        if (!hum)
            continue;
        if (hum->value)
            c.values.push_back(AtMost(q, column, *hum->value, p.humMax));
        else
            c.values.push_back({q, column, Verdict::NotMeasured, {}, {}, {}});
    }
    return c;
}

// The adjacent-channel differences of a list of levels, on the cells that show the levels.
void AdjacentChecks(SectionCheck& s, const PaneTable& table, int kind, const LimitProfile& p) {
    std::vector<std::optional<double>> levels;
    std::vector<bool> analogue;
    std::vector<int> columns;
    for (const ChannelCheck& c : s.channels) {
        const RowSource& source = table.sources[static_cast<std::size_t>(c.row)];
        int column = -1;
        const CellSource* level = FindCell(source, CellQuantity::Level, column);
        const ChannelClass cls = Classify(kind, source.entry, p);
        levels.push_back(level && cls.limits ? level->value : std::nullopt);
        analogue.push_back(cls.cls == Class::Tv);
        columns.push_back(column);
    }
    std::optional<std::size_t> prev[2];
    for (std::size_t i = 0; i < s.channels.size(); ++i) {
        if (!levels[i])
            continue;
        auto& last = prev[analogue[i] ? 1 : 0];
        if (last) {
            const double diff = std::fabs(*levels[i] - *levels[*last]);
            s.channels[i].values.push_back(
                AtMost(Quantity::Adjacent, columns[i], diff, p.adjacentMax));
        }
        last = i;
    }
}

} // namespace

Verdict Combine(Verdict a, Verdict b) {
    if (a == Verdict::Fail || b == Verdict::Fail)
        return Verdict::Fail;
    if (a == Verdict::Pass || b == Verdict::Pass)
        return Verdict::Pass;
    return Verdict::NotMeasured;
}

std::vector<int> FailingBars(const SectionCheck& section) {
    std::vector<int> bars;
    for (const ChannelCheck& c : section.channels)
        if (c.verdict == Verdict::Fail && c.chartPoint >= 0)
            bars.push_back(c.chartPoint);
    return bars;
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

SectionCheck CheckTable(const PaneTable& table, PaneSection section, int kind,
                        const LimitProfile& profile) {
    SectionCheck s;
    s.section = section;
    for (std::size_t r = 0; r < table.sources.size(); ++r)
        if (table.sources[r].planIndex >= 0)
            s.channels.push_back(CheckRow(static_cast<int>(r), table.sources[r], kind, profile));
    // Neighbours are compared in the level, scan and limit lists; tilt channels lie far apart
    // on purpose, and hum has no level.
    if (section == PaneSection::Level || section == PaneSection::Scan ||
        section == PaneSection::Limit)
        AdjacentChecks(s, table, kind, profile);
    return s;
}

SectionCheck CheckPane(const AnalysisPane& pane, const LimitProfile& profile) {
    SectionCheck s;
    s.section = pane.Section();
    const MeasurementFile& file = pane.ShownFile();
    if (!pane.HasFile() || !file.HasLayout() || s.section == PaneSection::Spectrum)
        return s;
    if (const PaneTable* table = pane.JudgedTable())
        s = CheckTable(*table, s.section, file.Kind(), profile);
    if (s.section == PaneSection::Tilt) {
        if (const auto tilt = file.TiltValue())
            s.fileValues.push_back(
                AtMost(Quantity::Tilt, -1, std::fabs(*tilt / 10.0), profile.tiltMax));
        else
            s.fileValues.push_back({Quantity::Tilt, -1, Verdict::NotMeasured, {}, {}, {}});
    }
    Summarise(s);
    return s;
}

SectionCheck CheckSection(const MeasurementFile& file, const LimitProfile& profile,
                          PaneSection section) {
    const std::unique_ptr<AnalysisPane> pane = MakeAnalysisPane(section, kLanguageEnglish, "dBuV");
    pane->ShowFile(file.Element());
    return CheckPane(*pane, profile);
}

std::vector<PaneSection> JudgedSections(const MeasurementFile& file) {
    const std::pair<std::uint8_t, PaneSection> order[] = {{kFlagLevel, PaneSection::Level},
                                                          {kFlagTilt, PaneSection::Tilt},
                                                          {kFlagScan, PaneSection::Scan},
                                                          {kFlagHum, PaneSection::Hum},
                                                          {kFlagLimit, PaneSection::Limit}};
    std::vector<PaneSection> sections;
    for (const auto& [flag, section] : order)
        if (file.SectionFlags() & flag)
            sections.push_back(section);
    return sections;
}

FileCheck CombineSections(std::vector<SectionCheck> sections) {
    FileCheck fc;
    fc.sections = std::move(sections);
    std::map<int, Verdict> channels;
    for (const SectionCheck& s : fc.sections) {
        fc.verdict = Combine(fc.verdict, s.verdict);
        if (s.worstMargin && (!fc.worstMargin || *s.worstMargin < *fc.worstMargin))
            fc.worstMargin = s.worstMargin;
        for (const ChannelCheck& c : s.channels) {
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

FileCheck CheckFile(const MeasurementFile& file, const LimitProfile& profile) {
    std::vector<SectionCheck> sections;
    for (PaneSection section : JudgedSections(file))
        sections.push_back(CheckSection(file, profile, section));
    return CombineSections(std::move(sections));
}

} // namespace qm

namespace qm {

const ChannelLimits* LimitsForEntry(int kind, const EntryInfo& entry, const LimitProfile& profile) {
    if (kind == 0 && entry.type > 1)
        return nullptr;
    return Classify(kind, entry, profile).limits;
}

} // namespace qm
