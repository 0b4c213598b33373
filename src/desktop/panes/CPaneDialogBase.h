#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>

#include "desktop/panes/CAnalysisDialog.h"

namespace qm {

class PaneLimitMarks;
class PaneTableView;

// What the six pane dialogs share: the core's pane with the tables it computes, the file it
// shows and its CSV export. Subclasses lay the tables out.
class CPaneDialogBase : public CAnalysisDialog {
    Q_OBJECT
public:
    CPaneDialogBase(PaneSection section, QWidget* parent);
    ~CPaneDialogBase() override;

    PaneSection Section() const override { return m_section; }
    void ShowFile(long index) override;
    void MarkerMoved(long position) override;
    std::vector<int> FailingBars() const override;

    const AnalysisPane& Pane() const { return *m_pane; }

    // The CSV export: asks for a name and writes the core's bytes; Cancel writes nothing.
    void ExportCsvFile();
    // "Export for spreadsheet": the data table with the locale's separator and decimal mark.
    void ExportSpreadsheetFile();
    // The button for it, for the subclasses' layouts.
    QWidget* MakeSpreadsheetButton(QWidget* parent);

protected:
    // A table view for the core's table with this tag, kept in step with it from now on.
    PaneTableView* MakeTableView(const std::string& tag, QWidget* parent);
    // Called after a file arrived and the tables were refilled.
    virtual void FileShown() {}
    // Tells the user that a chosen file could not be written, and why (errno of the save).
    void ReportWriteFailure(const QString& path);
    // Tells the status bar that the file was written ("Exported %1" with its name).
    void ReportWritten(const QString& path, int text);
    // The line with the limit verdicts of the main table; hidden while no profile is active.
    QWidget* LimitSummary() const;

private:
    void RefreshTable(const std::string& tag);

    PaneSection m_section;
    std::unique_ptr<AnalysisPane> m_pane;
    std::map<std::string, PaneTableView*> m_views;
    PaneLimitMarks* m_limitMarks;
};

} // namespace qm
