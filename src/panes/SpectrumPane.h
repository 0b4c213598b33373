#pragma once

#include "panes/AnalysisPane.h"

namespace qm {

// The spectrum pane: the sweep parameters, one row per point, the point under the marker, and
// the export on its own 315-point axis. Marker positions are point indexes.
class SpectrumPane : public AnalysisPane {
public:
    SpectrumPane(int languageBase, std::string levelUnit);
    PaneSection Section() const override { return PaneSection::Spectrum; }

    // The sweep as the tables show it (the fixed-span flag counts).
    struct Sweep {
        int points = 0;    // N as stored
        double span = 0;   // MHz
        double centre = 0; // MHz
        double start = 0;  // MHz
        double step = 0;   // MHz; 0 when N is below 2
    };
    Sweep TableSweep() const;

    // Points the export writes, whatever N is.
    static constexpr int kExportPoints = 315;

private:
    void Fill() override;
    void FillMark(long position) override;
    std::string ExportText() const override;
    std::string PointLevel(int i) const;
    std::string MaxLevel(int i) const;
};

} // namespace qm
