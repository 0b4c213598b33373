#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>

#include "channels/ChannelPlanEditor.h"
#include "operations/OperationOutcome.h"

class QComboBox;
class QProgressBar;
class QPushButton;

namespace qm {

class CComboListCtrl;
class OperationRunner;

// The channel editor's window: reads a plan from one of the meter's five slots into the grid,
// lets the user edit it cell by cell, writes it back, and saves and opens channel-plan files.
// What the plan becomes is the editor object's (ChannelPlanEditor) over the process-wide
// channel plan list; the window shows its model and asks the user.
class CDlgEditChannel : public QDialog {
    Q_OBJECT
public:
    // Control ids of the dialog's buttons.
    enum ButtonId {
        kUpload = 1041,
        kDownload = 1043,
        kOpen = 1044,
        kSave = 1045,
        kCopy = 1046,
        kPaste,
        kInsert,
        kDelete,
        kOrder,
    };
    static constexpr const char* kPlanFilter = "*.f71CH|*.f71CH||";
    static constexpr const char* kPlanSuffix = "f71CH";

    explicit CDlgEditChannel(QWidget* parent = nullptr);
    ~CDlgEditChannel() override;

    CComboListCtrl* Grid() const { return m_grid; }
    QComboBox* SlotList() const { return m_slots; }
    QProgressBar* Progress() const { return m_progress; }
    QPushButton* Button(ButtonId id) const;
    const CChannelGridModel& Model() const { return m_editor.Model(); }
    int ShownKind() const { return m_editor.Kind(); }
    int DownloadSlot() const { return m_downloadSlot; }

    void Upload();
    void Download();
    void Open();
    // Opens a channel-plan file (from Open, or named on the command line).
    void OpenFile(const std::string& path);
    void Save();

    // Plan tools on the selected rows (the current row for Insert and Paste); each one is a
    // step Undo takes back.
    void CopyRows();
    void PasteRows();
    void InsertRow();
    void DeleteRows();
    void OrderRows();
    void Undo();
    void Redo();

    // Escape and Enter end the dialog, but not past unsaved edits without asking.
    void reject() override;
    void accept() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* AddButton(ButtonId id, const QString& caption);
    void ClearGrid();
    void BuildColumns();
    void FillGrid();
    void SyncRow(int row);
    void OnChoicesRequested(int column, QStringList* choices);
    void OnEditFinished(int row, int column, const QString& text);
    // Runs a plan transfer on the runner; done continues once it has ended.
    template <class Result>
    void RunTransfer(std::function<Result(const ProgressFn&)> job,
                     std::function<void(Result)> done);
    void SetProgress(int position, int range);
    std::vector<std::size_t> SelectedRows() const;
    // Runs a plan command as one undo step and shows the plan again (or the refusal).
    void RunCommand(const std::function<PlanEditResult()>& command);
    void ShowPlanAt(std::size_t row);
    void StepHistory(bool back);
    // Before unsaved edits would go: Save, Discard or Cancel. True to go on.
    bool MayDropEdits();

    ChannelPlanEditor m_editor;
    CComboListCtrl* m_grid = nullptr;
    QComboBox* m_slots = nullptr;
    QProgressBar* m_progress = nullptr;
    QList<QPushButton*> m_buttons;
    QTimer m_creep; // keeps the bar moving while a long plan read reports nothing
    int m_downloadSlot = 0;
    OperationRunner* m_runner = nullptr;
    bool m_closing = false; // the close question was asked already
};

} // namespace qm
