#include "desktop/setup/SetupEntry.h"

namespace qm {

void OpenTimeUnitDialog(QWidget*) {}
void OpenPictureCapture(QWidget*) {}

} // namespace qm
