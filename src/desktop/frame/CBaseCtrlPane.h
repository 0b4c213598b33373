#pragma once

#include <QDockWidget>
#include <memory>

namespace qm {

class CAnalysisDialog;

// The analysis pane: a dock window that owns and fills itself with one pane dialog.
class CBaseCtrlPane : public QDockWidget {
    Q_OBJECT
public:
    CBaseCtrlPane(const QString& title, std::unique_ptr<CAnalysisDialog> dialog, QWidget* parent);
    ~CBaseCtrlPane() override;

    CAnalysisDialog* Dialog() const { return m_dialog; }

private:
    CAnalysisDialog* m_dialog;
};

} // namespace qm
