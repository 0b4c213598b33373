#pragma once

#include "desktop/panes/CChartPaneDialog.h"

namespace qm {

// The scan pane: the scanned channels' levels and the channel under the chart's marker.
class CDlgScanExtAnalyzer : public CChartPaneDialog {
    Q_OBJECT
public:
    explicit CDlgScanExtAnalyzer(QWidget* parent = nullptr)
        : CChartPaneDialog(PaneSection::Scan, parent) {}
};

} // namespace qm
