#pragma once

#include <string>
#include <vector>

#include "panes/AnalysisPane.h"

namespace qm {

// The hum pane: one row per measured hum record, the component columns titled by the file's
// mains frequency. No chart, no Mark table.
class HumPane : public AnalysisPane {
public:
    HumPane(int languageBase, std::string levelUnit);
    PaneSection Section() const override { return PaneSection::Hum; }

private:
    struct Rows {
        std::vector<std::vector<std::string>> texts;
        std::vector<RowSource> sources;
    };
    Rows BuildRows() const;
    void Fill() override;
    std::string ExportText() const override;
};

} // namespace qm
