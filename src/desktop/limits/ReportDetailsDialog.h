#pragma once

#include <QDialog>

#include "report/ReportDetails.h"

class QFormLayout;
class QLineEdit;
class QPlainTextEdit;

namespace qm {

// The details an acceptance report names (company, logo, site, customer, work order,
// technician, notes), asked before each report and remembered per user from the last one.
class ReportDetailsDialog : public QDialog {
public:
    explicit ReportDetailsDialog(QWidget* parent = nullptr);

    ReportDetails Details() const;

    // The details of the last report the user wrote; none before the first.
    static ReportDetails Remembered();

protected:
    // Keeps the dialog open while the logo cannot be read; remembers what was accepted.
    void accept() override;

private:
    QLineEdit* AddLine(int label, const char* name, const std::string& value);

    QFormLayout* m_form;
    QLineEdit* m_title;
    QLineEdit* m_company;
    QLineEdit* m_logo;
    QLineEdit* m_site;
    QLineEdit* m_customer;
    QLineEdit* m_order;
    QLineEdit* m_technician;
    QPlainTextEdit* m_notes;
};

} // namespace qm
