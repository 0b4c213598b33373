#pragma once

#include "desktop/panes/CChartPaneDialog.h"

namespace qm {

// The limit pane: every enabled channel's stored levels and the channel under the marker.
class CDlgLimitAnalyzer : public CChartPaneDialog {
    Q_OBJECT
public:
    explicit CDlgLimitAnalyzer(QWidget* parent = nullptr)
        : CChartPaneDialog(PaneSection::Limit, parent) {}
};

} // namespace qm
