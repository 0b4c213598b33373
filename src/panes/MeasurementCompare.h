#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "measurement/FileDataExt.h"
#include "panes/PaneTable.h"

namespace qm {

// Two measurements of the same network side by side (the same building months apart, say):
// the channels of both matched by frequency, and per channel the change from A to B of the
// level, audio level, MER, BER class and hum. Values are those the level and hum sections
// hold; a channel measured in one file only is listed as such.
//
// Tables (texts in English):
//  "Files": Description / A / B / Delta rows for the file name, date and tilt.
//  "Channels": one row per frequency, in rising order.
// A delta is B minus A; "---" when either side has no value. The BER class is the decade of
// the error rate (1.0E-7 is class 7, "<1.0E-9" class 9), so a positive delta is fewer errors.
class MeasurementCompare {
public:
    // A file read incomplete (a project file cut short) has its name marked so.
    MeasurementCompare(const _tagFileDataExt& a, const _tagFileDataExt& b, bool aIncomplete = false,
                       bool bIncomplete = false);

    const std::vector<PaneTable>& Tables() const { return m_tables; }
    const PaneTable& Files() const { return m_tables[0]; }
    const PaneTable& Channels() const { return m_tables[1]; }

    // The scan sections' video/power levels (dB) of both files over the union of their
    // scanned frequencies, in rising order; for the overlaid chart.
    struct ScanPoint {
        std::uint32_t frequency = 0; // hundredths of a MHz
        std::optional<double> a, b;
    };
    const std::vector<ScanPoint>& ScanLevels() const { return m_scan; }
    // The same levels as the two series of the overlaid chart, point for point; where a file
    // did not scan a frequency its series has a gap (not a number), never a made-up level.
    struct Series {
        std::vector<double> a, b;
    };
    Series ScanSeries() const;

private:
    std::vector<PaneTable> m_tables;
    std::vector<ScanPoint> m_scan;
};

// Column indexes of the "Channels" table.
enum CompareColumn {
    kCmpFrequency,
    kCmpChannelA,
    kCmpChannelB,
    kCmpType,
    kCmpPresence, // "A and B", "A only", "B only"
    kCmpLevelA,
    kCmpLevelB,
    kCmpLevelDelta,
    kCmpAudioDelta,
    kCmpMerDelta,
    kCmpPreBerDelta,
    kCmpPostBerDelta,
    kCmpHumDelta,
    kCmpColumnCount
};

} // namespace qm
