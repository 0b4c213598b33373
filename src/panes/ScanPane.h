#pragma once

#include <optional>
#include <string>
#include <vector>

#include "panes/AnalysisPane.h"

namespace qm {

// The scan pane: one row per scanned channel (a run of the enabled list), the channel under
// the marker, and the export. Marker positions are scan rows.
class ScanPane : public AnalysisPane {
public:
    ScanPane(int languageBase, std::string levelUnit);
    PaneSection Section() const override { return PaneSection::Scan; }

    // Scan rows that name a channel: the window stops at the end of the enabled list.
    int RowCount() const;

private:
    using Row = ChannelLevels;
    Row RowAt(const std::vector<int>& enabled, int r) const;

    void Fill() override;
    void FillMark(long position) override;
    std::string ExportText() const override;
};

} // namespace qm
