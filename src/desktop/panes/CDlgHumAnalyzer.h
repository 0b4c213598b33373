#pragma once

#include "desktop/panes/CFilePaneDialog.h"

namespace qm {

// The hum pane: the hum of every channel on which the meter measured it.
class CDlgHumAnalyzer : public CFilePaneDialog {
    Q_OBJECT
public:
    explicit CDlgHumAnalyzer(QWidget* parent = nullptr)
        : CFilePaneDialog(PaneSection::Hum, parent) {}
};

} // namespace qm
