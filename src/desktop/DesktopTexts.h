#pragma once

#include <QColor>
#include <QString>

#include "res/StringTable.h"

class QWidget;

namespace qm {

// Text of a text id (txt::kKEY) in the program's language.
QString Text(int englishId);

// The background of the program's own dialogs and panes.
inline QColor DialogBackground() {
    return QColor(238, 243, 250);
}
// Gives a dialog or pane that background.
void PaintDialogBackground(QWidget* widget);

} // namespace qm
