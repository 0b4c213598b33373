#include "desktop/limits/ReportDetailsDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/DesktopTexts.h"
#include "desktop/Prompt.h"
#include "desktop/UserStore.h"
#include "desktop/limits/LimitProfiles.h"

namespace qm {

namespace {

// Where each detail is kept in the user's store.
struct Key {
    const char* name;
    std::string ReportDetails::*field;
};
constexpr Key kKeys[] = {{"Report/Title", &ReportDetails::title},
                         {"Report/Company", &ReportDetails::company},
                         {"Report/Logo", &ReportDetails::logo},
                         {"Report/Site", &ReportDetails::site},
                         {"Report/Customer", &ReportDetails::customer},
                         {"Report/Order", &ReportDetails::order},
                         {"Report/Technician", &ReportDetails::technician},
                         {"Report/Notes", &ReportDetails::notes}};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

ReportDetails ReportDetailsDialog::Remembered() {
    ReportDetails details;
    const QSettings store = UserStore();
    for (const Key& k : kKeys)
        details.*k.field = store.value(k.name).toString().toStdString();
    return details;
}

ReportDetailsDialog::ReportDetailsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("reportDetails");
    setWindowTitle(Text(txt::kReportDetails));
    PaintDialogBackground(this);
    const ReportDetails last = Remembered();
    auto* form = new QFormLayout;
    m_form = form;
    m_title = AddLine(txt::kTitle, "title", last.title);
    m_title->setPlaceholderText(Text(txt::kAcceptanceReport));
    m_company = AddLine(txt::kCompany, "company", last.company);

    auto* logoRow = new QHBoxLayout;
    m_logo = new QLineEdit(Q(last.logo));
    m_logo->setObjectName("logo");
    auto* browse = new QPushButton(Text(txt::kBrowse));
    browse->setObjectName("browseLogo");
    logoRow->addWidget(m_logo, 1);
    logoRow->addWidget(browse);
    form->addRow(Text(txt::kLogo), logoRow);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString filter = "*.png *.jpg *.jpeg *.svg";
        if (const auto chosen = Prompt().OpenFileName(this, filter + "|" + filter + "||", "png"))
            m_logo->setText(*chosen);
    });

    m_site = AddLine(txt::kReportSite, "site", last.site);
    m_customer = AddLine(txt::kCustomer, "customer", last.customer);
    m_order = AddLine(txt::kWorkOrder, "order", last.order);
    m_technician = AddLine(txt::kTechnician, "technician", last.technician);
    m_notes = new QPlainTextEdit(Q(last.notes));
    m_notes->setObjectName("notes");
    m_notes->setTabChangesFocus(true);
    m_notes->setFixedHeight(m_notes->fontMetrics().lineSpacing() * 4 + 12);
    form->addRow(Text(txt::kNotes), m_notes);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(Text(txt::kOk), QDialogButtonBox::AcceptRole)->setObjectName("ok");
    buttons->addButton(Text(txt::kCancel), QDialogButtonBox::RejectRole)->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 80);
}

QLineEdit* ReportDetailsDialog::AddLine(int label, const char* name, const std::string& value) {
    auto* line = new QLineEdit(Q(value));
    line->setObjectName(name);
    m_form->addRow(Text(label), line);
    return line;
}

ReportDetails ReportDetailsDialog::Details() const {
    const auto text = [](const QLineEdit* line) { return line->text().trimmed().toStdString(); };
    ReportDetails d;
    d.title = text(m_title);
    d.company = text(m_company);
    d.logo = QFile::encodeName(m_logo->text().trimmed()).toStdString();
    d.site = text(m_site);
    d.customer = text(m_customer);
    d.order = text(m_order);
    d.technician = text(m_technician);
    d.notes = m_notes->toPlainText().trimmed().toStdString();
    return d;
}

void ReportDetailsDialog::accept() {
    const ReportDetails d = Details();
    if (!d.logo.empty()) {
        std::string reason;
        if (LoadReportLogo(d.logo, 64, 64, reason).isNull()) {
            Prompt().ShowMessage(this,
                                 {MessageCaption(MessageKind::Error), Text(txt::kLogoCannotBeRead),
                                  m_logo->text() + ": " + Q(reason), MessageKind::Error});
            m_logo->setFocus();
            return;
        }
    }
    QSettings store = UserStore();
    for (const Key& k : kKeys)
        store.setValue(k.name, Q(d.*k.field));
    QDialog::accept();
}

} // namespace qm
