#include "desktop/StatusReport.h"

#include <QMainWindow>

#include "desktop/frame/WorkdeskStatusBar.h"

namespace qm {

void ReportDone(QWidget* from, const QString& text) {
    // A dialog's parent is the window it was opened over.
    for (QWidget* w = from; w; w = w->parentWidget())
        if (auto* window = qobject_cast<QMainWindow*>(w))
            if (auto* bar =
                    window->findChild<WorkdeskStatusBar*>(QString(), Qt::FindDirectChildrenOnly)) {
                bar->ShowOutcome(text);
                return;
            }
}

} // namespace qm
