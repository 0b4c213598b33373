#pragma once

#include "desktop/panes/CPaneDialogBase.h"

class QLineEdit;

namespace qm {

// The level and hum panes: the file-name box and the "Export" button on the top row, the
// table below, stretching to the right and bottom margins.
class CFilePaneDialog : public CPaneDialogBase {
    Q_OBJECT
public:
    CFilePaneDialog(PaneSection section, QWidget* parent);

protected:
    void FileShown() override;

private:
    QLineEdit* m_fileName = nullptr;
};

} // namespace qm
