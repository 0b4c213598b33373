#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace qm {

// Text of an English string id (55xx) in the program's language.
QString Text(int englishId);

// Text of one of the desktop's own additions (comparing, reference spectrum, spreadsheet
// export), which the string table does not hold, in the program's language: Chinese when the
// language base is Chinese and the text has a translation, else the English given.
QString ExtraText(const char* english);

// The background of the program's own dialogs and panes.
inline QColor DialogBackground() {
    return QColor(238, 243, 250);
}
// Gives a dialog or pane that background.
void PaintDialogBackground(QWidget* widget);

} // namespace qm
