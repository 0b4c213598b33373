#include "desktop/panes/CPaneDialogBase.h"

#include <cerrno>
#include <cstring>

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include "app/FileTree.h"
#include "app/Settings.h"
#include "base/BinaryFile.h"
#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/Prompt.h"
#include "desktop/StatusReport.h"
#include "desktop/limits/PaneLimitMarks.h"
#include "desktop/panes/PaneTableView.h"
#include "panes/SpreadsheetExport.h"
#include "res/StringTable.h"

namespace qm {

namespace {

QString CannotWriteText() {
    return Text(txt::kFileCouldNotBeWritten);
}

} // namespace

CPaneDialogBase::CPaneDialogBase(PaneSection section, QWidget* parent)
    : CAnalysisDialog(parent), m_section(section),
      // Making a pane reads the level unit from the settings again, as every pane does.
      m_pane(MakeAnalysisPane(section, LanguageBase(), Settings().LevelUnit())),
      m_limitMarks(new PaneLimitMarks(*m_pane, this)) {
    PaintDialogBackground(this);
    connect(m_limitMarks, &PaneLimitMarks::FailingBarsChanged, this,
            &CAnalysisDialog::FailingBarsChanged);
}

CPaneDialogBase::~CPaneDialogBase() = default;

void CPaneDialogBase::ShowFile(long index) {
    const CFileCollection& files = CLevantoApp::Instance().Files();
    if (!m_pane->ShowFileAt(files.Elements(), index, files.Incomplete()))
        return;
    for (const auto& [tag, view] : m_views)
        RefreshTable(tag);
    m_limitMarks->FileShown();
    FileShown();
}

std::vector<int> CPaneDialogBase::FailingBars() const {
    return qm::FailingBars(m_limitMarks->Check());
}

void CPaneDialogBase::MarkerMoved(long position) {
    m_pane->MarkerMoved(position);
    RefreshTable("Mark");
}

void CPaneDialogBase::ExportCsvFile() {
    const auto path = Prompt().SaveFileName(this, "*.csv|*.csv||", "csv");
    if (!path)
        return;
    if (!m_pane->SaveCsv(QFile::encodeName(*path).toStdString()))
        ReportWriteFailure(*path);
    else
        ReportWritten(*path, txt::kStatusExported);
}

void CPaneDialogBase::ExportSpreadsheetFile() {
    const PaneTable* table = SpreadsheetTable(*m_pane);
    if (!m_pane->HasFile() || !table)
        return;
    const auto path = Prompt().SaveFileName(this, "*.csv|*.csv||", "csv");
    if (!path)
        return;
    // A locale whose decimal mark is the comma separates fields with semicolons.
    const QLocale locale;
    const char decimalMark = locale.decimalPoint() == QStringLiteral(",") ? ',' : '.';
    const char separator = decimalMark == ',' ? ';' : ',';
    if (ReplaceFileText(QFile::encodeName(*path).toStdString(),
                        SpreadsheetText(*table, separator, decimalMark)) != ReplaceStatus::Ok)
        ReportWriteFailure(*path);
    else
        ReportWritten(*path, txt::kStatusExported);
}

QWidget* CPaneDialogBase::MakeSpreadsheetButton(QWidget* parent) {
    auto* button = new QPushButton(Text(txt::kExportForSpreadsheet), parent);
    button->setObjectName("spreadsheetButton");
    connect(button, &QPushButton::clicked, this, &CPaneDialogBase::ExportSpreadsheetFile);
    return button;
}

PaneTableView* CPaneDialogBase::MakeTableView(const std::string& tag, QWidget* parent) {
    auto* view = new PaneTableView(parent);
    view->setObjectName(QString::fromStdString(tag));
    if (const PaneTable* table = m_pane->Table(tag)) {
        // A table without a group around it (level, hum) goes by the pane's name.
        const QString title = table->title.empty() ? Text(SectionTextId(TreeValue(m_section)))
                                                   : QString::fromStdString(table->title);
        view->setAccessibleName(title);
        view->setAccessibleDescription(Text(txt::kStatusOfFileShown).arg(title));
    }
    m_views[tag] = view;
    RefreshTable(tag);
    if (tag == "List" || tag == "Table")
        m_limitMarks->SetTable(view);
    return view;
}

void CPaneDialogBase::ReportWritten(const QString& path, int text) {
    ReportDone(this, Text(text).arg(QFileInfo(path).fileName()));
}

void CPaneDialogBase::ReportWriteFailure(const QString& path) {
    // The save left errno telling why; the previous file, if any, is still there.
    const QString reason = QString::fromStdString(ErrnoText(errno));
    Prompt().ShowMessage(this, {MessageCaption(MessageKind::Error), CannotWriteText(),
                                QStringLiteral("%1: %2").arg(path, reason), MessageKind::Error});
}

QWidget* CPaneDialogBase::LimitSummary() const {
    return m_limitMarks->SummaryLabel();
}

void CPaneDialogBase::RefreshTable(const std::string& tag) {
    const auto view = m_views.find(tag);
    const PaneTable* table = m_pane->Table(tag);
    if (view != m_views.end() && table)
        view->second->Show(*table);
}

} // namespace qm
