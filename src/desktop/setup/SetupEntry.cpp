#include "desktop/setup/SetupEntry.h"

#include "desktop/setup/CDlgNormalSet.h"
#include "desktop/setup/CDlgPictureCap.h"

namespace qm {

void OpenTimeUnitDialog(QWidget* parent) {
    CDlgNormalSet dialog(parent);
    dialog.exec();
}

void OpenPictureCapture(QWidget* parent) {
    CDlgPictureCap dialog(parent);
    dialog.exec();
}

} // namespace qm
