#pragma once

#include <vector>

#include "chart/ChartTypes.h"
#include "measurement/MeasurementFile.h"

namespace qm {

// The plot data the chart controllers draw, converted from one measurement file. Every
// reader stays inside the bounds of the file's layout.

// One bar per scanned channel. The conversion stops at the first scan point whose channel
// lies beyond the enabled list or has no scan record; the bars before it are kept.
std::vector<ChannelBar> ScanBars(const MeasurementFile& file);

// One bar per enabled channel that has a limit record (enabled ordinals below 160).
std::vector<ChannelBar> LimitBars(const MeasurementFile& file);

// One bar per tilt channel; `countMatches` is false when the stored tilt count differs from
// the tilt list, and the bars are then empty.
struct TiltBarsResult {
    std::vector<ChannelBar> bars;
    bool countMatches = true;
};
TiltBarsResult TiltBars(const MeasurementFile& file);

// The spectrum trace and, when the MAX flag is set, the MAX trace, in dBuV, each with the
// file's point count (at most the 320 points the file has room for).
struct SpectrumTraces {
    std::vector<double> trace0;
    std::vector<double> trace1;
    int pointCount = 0;
};
SpectrumTraces SpectrumTracesOf(const MeasurementFile& file);

} // namespace qm
