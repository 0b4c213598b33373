#pragma once

#include <string>
#include <vector>

#include "panes/AnalysisPane.h"

namespace qm {

// The limit pane: one row per enabled channel with its packed limit record, the channel under
// the marker, and the export. Marker positions are enabled ordinals.
class LimitPane : public AnalysisPane {
public:
    LimitPane(int languageBase, std::string levelUnit);
    PaneSection Section() const override { return PaneSection::Limit; }

private:
    using Row = ChannelLevels;
    Row RowAt(const std::vector<int>& enabled, int ordinal) const;

    void Fill() override;
    void FillMark(long position) override;
    std::string ExportText() const override;
};

} // namespace qm
