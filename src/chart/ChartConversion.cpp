#include "chart/ChartConversion.h"

#include <algorithm>
#include <cstdint>

#include "measurement/MeterKind.h"

namespace qm {

namespace {

constexpr int kAnalogueType = 0;

double Db(int tenths) {
    return tenths / 10.0;
}

double Level(std::uint16_t raw, bool isSigned) {
    return isSigned ? Db(static_cast<std::int16_t>(raw)) : Db(raw);
}

ChannelBar MakeChannelBar(const EntryInfo& entry, double first, double second) {
    const int type = entry.type;
    ChannelBar bar;
    bar.channel = entry.channelNumber;
    bar.primary = first;
    if (type == kAnalogueType) {
        bar.secondary = second;
        bar.a1 = bar.a2 = true;
    } else {
        bar.b = true;
    }
    return bar;
}

} // namespace

std::vector<ChannelBar> ScanBars(const MeasurementFile& file) {
    std::vector<ChannelBar> bars;
    if (!file.HasLayout())
        return bars;
    const std::vector<int> enabled = file.EnabledList();
    const int count = file.ScanCount(), start = file.ScanStart();
    for (int j = 0; j < count; ++j) {
        const int ordinal = start + j;
        if (ordinal >= static_cast<int>(enabled.size()))
            break;
        const int planIndex = enabled[static_cast<std::size_t>(ordinal)];
        const auto record = file.Scan(planIndex);
        const auto entry = file.Entry(planIndex);
        if (!record || !entry)
            break;
        bars.push_back(
            MakeChannelBar(*entry, Level(record->video, true), Level(record->audio, true)));
    }
    return bars;
}

std::vector<ChannelBar> LimitBars(const MeasurementFile& file) {
    std::vector<ChannelBar> bars;
    if (!file.HasLayout())
        return bars;
    const bool isSigned = HasSignedLevels(file.Kind());
    const std::vector<int> enabled = file.EnabledList();
    for (std::size_t j = 0; j < enabled.size(); ++j) {
        const auto record = file.Limit(static_cast<int>(j));
        const auto entry = file.Entry(enabled[j]);
        if (!record || !entry)
            break;
        bars.push_back(
            MakeChannelBar(*entry, Level(record->video, isSigned), Level(record->audio, isSigned)));
    }
    return bars;
}

TiltBarsResult TiltBars(const MeasurementFile& file) {
    TiltBarsResult result;
    if (!file.HasLayout())
        return result;
    const std::vector<int> tilt = file.TiltList();
    if (file.TiltCount() != static_cast<int>(tilt.size())) {
        result.countMatches = false;
        return result;
    }
    for (std::size_t j = 0; j < tilt.size(); ++j) {
        const auto level = file.TiltLevel(static_cast<int>(j));
        const auto entry = file.Entry(tilt[j]);
        if (!level || !entry)
            break;
        ChannelBar bar;
        bar.primary = Db(*level);
        bar.channel = entry->channelNumber;
        if (entry->type == kAnalogueType)
            bar.c = true;
        else
            bar.b = true;
        result.bars.push_back(bar);
    }
    return result;
}

SpectrumTraces SpectrumTracesOf(const MeasurementFile& file) {
    SpectrumTraces traces;
    if (!file.HasLayout())
        return traces;
    const bool isSigned = HasSignedLevels(file.Kind());
    const int n = std::min(file.SpectrumPointCount(), kMaxSpectrumPoints);
    traces.pointCount = n;
    traces.trace0.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        traces.trace0.push_back(Level(*file.SpectrumPoint(i), isSigned));
    if (file.MaxFlag() != 0) {
        traces.trace1.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            traces.trace1.push_back(Level(*file.MaxPoint(i), isSigned));
    }
    return traces;
}

} // namespace qm
