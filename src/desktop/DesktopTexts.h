#pragma once

#include <QColor>
#include <QString>

#include "res/StringTable.h"

class QWidget;

namespace qm {

// Text of a text id (txt::kKEY) in the program's language.
QString Text(int englishId);

// The upload dialog's line under its bar: which file of how many is being read (position
// files are in, of range) and, with secondsLeft of 0 or more, the time left ("0:05 left").
// Empty before the meter has said how many files it holds.
QString UploadProgressText(int position, int range, int secondsLeft);

// The background of the program's own dialogs and panes.
inline QColor DialogBackground() {
    return QColor(238, 243, 250);
}
// Gives a dialog or pane that background.
void PaintDialogBackground(QWidget* widget);

} // namespace qm
