#include "desktop/frame/CBaseCtrlPane.h"

#include <QScrollArea>

#include "desktop/panes/CAnalysisDialog.h"

namespace qm {

CBaseCtrlPane::CBaseCtrlPane(const QString& title, std::unique_ptr<CAnalysisDialog> dialog,
                             QWidget* parent)
    : QDockWidget(title, parent), m_dialog(dialog.release()) {
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    // The dock owns the dialog from here and keeps it filling its whole client area; a pane
    // lower or narrower than its groups need (a small screen) scrolls instead of cutting them.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("PaneScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(m_dialog);
    setWidget(scroller);
    m_dialog->show();
}

CBaseCtrlPane::~CBaseCtrlPane() = default;

} // namespace qm
