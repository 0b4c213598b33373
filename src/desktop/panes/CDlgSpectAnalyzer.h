#pragma once

#include "desktop/panes/CChartPaneDialog.h"

namespace qm {

// The spectrum pane: the sweep parameters, one row per spectrum point and the marker's point.
class CDlgSpectAnalyzer : public CChartPaneDialog {
    Q_OBJECT
public:
    explicit CDlgSpectAnalyzer(QWidget* parent = nullptr)
        : CChartPaneDialog(PaneSection::Spectrum, parent) {}
};

} // namespace qm
