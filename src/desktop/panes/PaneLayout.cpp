#include "desktop/panes/PaneLayout.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QWidget>

namespace qm {

void KeepPaneGaps(QBoxLayout& layout) {
    layout.setContentsMargins(kPaneMargin, kPaneMargin, kPaneMargin, kPaneMargin);
    layout.setSpacing(kPaneGap);
}

int DescriptionGroupWidth(const QWidget& dialog, bool wide) {
    const QFontMetrics metrics = dialog.fontMetrics();
    const int column = metrics.horizontalAdvance(wide ? QStringLiteral("2026-12-31 23:59:59")
                                                      : QStringLiteral("Video/Power 0"));
    // Two columns plus the table's frame and the group's insets.
    return 2 * (column + 10) + 28;
}

} // namespace qm
