#include "desktop/DesktopTexts.h"

#include <QPalette>
#include <QWidget>

#include "res/StringTable.h"

namespace qm {

QString Text(int englishId) {
    return QString::fromStdString(Tr(englishId));
}

void PaintDialogBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, DialogBackground());
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace qm
