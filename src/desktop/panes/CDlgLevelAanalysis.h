#pragma once

#include "desktop/panes/CFilePaneDialog.h"

namespace qm {

// The level pane: levels, MER and bit error ratios of every measured channel.
class CDlgLevelAanalysis : public CFilePaneDialog {
    Q_OBJECT
public:
    explicit CDlgLevelAanalysis(QWidget* parent = nullptr)
        : CFilePaneDialog(PaneSection::Level, parent) {}
};

} // namespace qm
