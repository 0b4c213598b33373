#pragma once

#include <string>
#include <vector>

#include "panes/AnalysisPane.h"

namespace qm {

// The level pane: one row per measured level record, with MER and bit error ratios of the
// digital channels. No chart, no Mark table.
class LevelPane : public AnalysisPane {
public:
    LevelPane(int languageBase, std::string levelUnit);
    PaneSection Section() const override { return PaneSection::Level; }

    // Text of a BER code in a column whose below-limit text is belowLimit.
    static std::string BerText(std::uint16_t code, const char* belowLimit);

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
