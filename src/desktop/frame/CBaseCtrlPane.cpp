#include "desktop/frame/CBaseCtrlPane.h"

#include "desktop/panes/CAnalysisDialog.h"

namespace qm {

CBaseCtrlPane::CBaseCtrlPane(const QString& title, std::unique_ptr<CAnalysisDialog> dialog,
                             QWidget* parent)
    : QDockWidget(title, parent), m_dialog(dialog.release()) {
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    // The dock owns the dialog from here and keeps it filling its whole client area.
    setWidget(m_dialog);
    m_dialog->show();
}

CBaseCtrlPane::~CBaseCtrlPane() = default;

} // namespace qm
