#include "desktop/panes/CFilePaneDialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/DesktopTexts.h"
#include "desktop/panes/PaneLayout.h"
#include "desktop/panes/PaneTableView.h"
#include "panes/PaneText.h"

namespace qm {

CFilePaneDialog::CFilePaneDialog(PaneSection section, QWidget* parent)
    : CPaneDialogBase(section, parent) {
    auto* root = new QVBoxLayout(this);
    KeepPaneGaps(*root);

    auto* top = new QHBoxLayout;
    top->setSpacing(kPaneGap);
    m_fileName = new QLineEdit(this);
    m_fileName->setObjectName("fileNameBox");
    m_fileName->setReadOnly(true);
    m_fileName->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('W')) * 16);
    auto* exportButton = new QPushButton(Text(txt::kExport), this);
    exportButton->setObjectName("exportButton");
    top->addWidget(m_fileName);
    top->addWidget(exportButton);
    top->addWidget(MakeSpreadsheetButton(this));
    top->addWidget(LimitSummary(), 1);
    top->addStretch(0);
    root->addLayout(top);
    root->addWidget(MakeTableView("Table", this), 1);
    connect(exportButton, &QPushButton::clicked, this, &CFilePaneDialog::ExportCsvFile);
}

void CFilePaneDialog::FileShown() {
    m_fileName->setText(QString::fromStdString(Pane().FileNameText()));
}

} // namespace qm
