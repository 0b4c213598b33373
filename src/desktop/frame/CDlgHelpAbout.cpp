#include "desktop/frame/CDlgHelpAbout.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/DesktopTexts.h"

namespace qm {

QString ProgramVersionText() {
    return QStringLiteral(QM_VERSION_TEXT);
}

CDlgHelpAbout::CDlgHelpAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle(Text(txt::kAbout));
    PaintDialogBackground(this);

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(Text(txt::kProgramTitle), this);
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    name->setFont(bold);
    auto* edition = new QLabel(Text(txt::kLanguageName), this);
    m_version = new QLabel(ProgramVersionText(), this);
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(edition);
    texts->addWidget(m_version);
    texts->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* ok = new QPushButton(Text(txt::kOk), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}

QString CDlgHelpAbout::VersionText() const {
    return m_version->text();
}

} // namespace qm
