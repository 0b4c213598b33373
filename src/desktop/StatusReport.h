#pragma once

#include <QString>

class QWidget;

namespace qm {

// Tells the user in the main window's status bar what an action came to ("Saved site.f71");
// `from` is any widget of the main window or of a dialog over it. Nothing happens without one.
void ReportDone(QWidget* from, const QString& text);

} // namespace qm
