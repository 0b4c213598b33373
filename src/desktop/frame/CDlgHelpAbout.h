#pragma once

#include <QDialog>

class QLabel;

namespace qm {

// The About box: program name, language edition and version.
class CDlgHelpAbout : public QDialog {
    Q_OBJECT
public:
    explicit CDlgHelpAbout(QWidget* parent = nullptr);

    QString VersionText() const;

private:
    QLabel* m_version;
};

// The program's version as the build gives it ("1.0.0").
QString ProgramVersionText();

} // namespace qm
