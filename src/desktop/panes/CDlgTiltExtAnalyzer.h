#pragma once

#include "desktop/panes/CChartPaneDialog.h"

namespace qm {

// The tilt pane: the tilt channels' levels and the channel under the chart's marker.
class CDlgTiltExtAnalyzer : public CChartPaneDialog {
    Q_OBJECT
public:
    explicit CDlgTiltExtAnalyzer(QWidget* parent = nullptr)
        : CChartPaneDialog(PaneSection::Tilt, parent) {}
};

} // namespace qm
