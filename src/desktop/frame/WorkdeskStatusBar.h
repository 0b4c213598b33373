#pragma once

#include <QStatusBar>

class QLabel;

namespace qm {

class cnComm;

// The main window's status bar: what the last action came to on the left, the meter link on
// the right. Neither text ever widens the window; a long one is cut with an ellipsis.
class WorkdeskStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit WorkdeskStatusBar(QWidget* parent = nullptr);

    // "COM1 · QM7100T2" once a meter answered on the open port, "not connected" otherwise.
    void ShowConnection(const cnComm& port);
    void ShowOutcome(const QString& text);

    QString ConnectionText() const;
    QString OutcomeText() const;

private:
    QLabel* m_outcome;
    QLabel* m_connection;
};

// The connection as the status bar words it.
QString ConnectionText(const cnComm& port);

} // namespace qm
