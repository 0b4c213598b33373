#include "desktop/frame/WorkdeskStatusBar.h"

#include <QLabel>

#include "desktop/DesktopTexts.h"
#include "link/PortAddress.h"
#include "link/cnComm.h"

namespace qm {

namespace {

// A label that takes the room it gets and elides the rest, so a long file name cannot push
// the window wider than the screen.
class ElidingLabel : public QLabel {
public:
    explicit ElidingLabel(QWidget* parent) : QLabel(parent) {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        setTextFormat(Qt::PlainText);
    }
    void SetFullText(const QString& text) {
        m_full = text;
        setToolTip(text);
        setAccessibleName(text);
        Elide();
    }
    const QString& FullText() const { return m_full; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        Elide();
    }

private:
    void Elide() { setText(fontMetrics().elidedText(m_full, Qt::ElideMiddle, width())); }
    QString m_full;
};

} // namespace

QString ConnectionText(const cnComm& port) {
    if (!port.IsOpen() || port.MeterModel().empty())
        return Text(txt::kNotConnected);
    return QStringLiteral("%1 \u00B7 QM%2")
        .arg(QString::fromStdString(PortDisplayName(port.PortName())),
             QString::fromStdString(port.MeterModel()));
}

WorkdeskStatusBar::WorkdeskStatusBar(QWidget* parent)
    : QStatusBar(parent), m_outcome(new ElidingLabel(this)), m_connection(new QLabel(this)) {
    setObjectName(QStringLiteral("StatusBar"));
    m_outcome->setObjectName(QStringLiteral("statusOutcome"));
    m_connection->setObjectName(QStringLiteral("statusConnection"));
    m_connection->setTextFormat(Qt::PlainText);
    addWidget(m_outcome, 1);
    addPermanentWidget(m_connection);
}

void WorkdeskStatusBar::ShowConnection(const cnComm& port) {
    const QString text = qm::ConnectionText(port);
    m_connection->setText(text);
    m_connection->setAccessibleName(text);
}

void WorkdeskStatusBar::ShowOutcome(const QString& text) {
    static_cast<ElidingLabel*>(m_outcome)->SetFullText(text);
}

QString WorkdeskStatusBar::ConnectionText() const {
    return m_connection->text();
}

QString WorkdeskStatusBar::OutcomeText() const {
    return static_cast<ElidingLabel*>(m_outcome)->FullText();
}

} // namespace qm
