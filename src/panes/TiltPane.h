#pragma once

#include <optional>
#include <vector>

#include "panes/AnalysisPane.h"

namespace qm {

// The tilt pane: one row per tilt channel, the tilt channel under the marker, and the export
// with the tilt value. Marker positions are tilt ordinals.
class TiltPane : public AnalysisPane {
public:
    TiltPane(int languageBase, std::string levelUnit);
    PaneSection Section() const override { return PaneSection::Tilt; }

    // The tilt the export writes, in tenths of a dB.
    std::optional<int> TiltValue() const { return File().TiltValue(); }

private:
    struct Row {
        int ordinal = 0;
        bool hasChannel = false; // false for ordinals beyond the tilt list
        std::string channel, type, frequency, level;
        double levelValue = 0; // dBuV
        int planIndex = -1;
        EntryInfo entry;
    };
    // The row of a tilt ordinal; nullopt when it has none (no type text, no level slot).
    std::optional<Row> RowAt(const std::vector<int>& tiltList, int ordinal) const;
    int RowCount() const;

    void Fill() override;
    void FillMark(long position) override;
    std::string ExportText() const override;
    void AddMarkRows(const Row& row);
};

} // namespace qm
