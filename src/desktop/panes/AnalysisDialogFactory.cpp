#include "desktop/panes/CDlgHumAnalyzer.h"
#include "desktop/panes/CDlgLevelAanalysis.h"
#include "desktop/panes/CDlgLimitAnalyzer.h"
#include "desktop/panes/CDlgScanExtAnalyzer.h"
#include "desktop/panes/CDlgSpectAnalyzer.h"
#include "desktop/panes/CDlgTiltExtAnalyzer.h"

namespace qm {

std::unique_ptr<CAnalysisDialog> CreateAnalysisDialog(PaneSection section, QWidget* parent) {
    switch (section) {
    case PaneSection::Tilt:
        return std::make_unique<CDlgTiltExtAnalyzer>(parent);
    case PaneSection::Spectrum:
        return std::make_unique<CDlgSpectAnalyzer>(parent);
    case PaneSection::Level:
        return std::make_unique<CDlgLevelAanalysis>(parent);
    case PaneSection::Scan:
        return std::make_unique<CDlgScanExtAnalyzer>(parent);
    case PaneSection::Limit:
        return std::make_unique<CDlgLimitAnalyzer>(parent);
    case PaneSection::Hum:
        return std::make_unique<CDlgHumAnalyzer>(parent);
    }
    return nullptr;
}

} // namespace qm
