#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <functional>

#include "operations/UploadOperation.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace qm {

class OperationRunner;

// The upload's progress: a caption-less modal dialog with a progress bar, which file of how
// many is being read and the time left, and a Cancel that stops the transfer within one reply.
// It cannot be dismissed while the upload runs on its worker thread.
class CDlgProgress : public QDialog {
    Q_OBJECT
public:
    explicit CDlgProgress(QWidget* parent = nullptr);

    // Shows the dialog, starts the upload and returns at once. Once the worker has ended the
    // collection takes the files read when the result ReplacesLoaded (a cancelled upload
    // that read files too) and stays as it was otherwise; the messages are shown, the dialog
    // is closed and done gets the result.
    void Start(cnComm& port, CFileCollection& collection,
               std::function<void(const UploadResult&)> done);

    QProgressBar* Bar() const { return m_bar; }
    QLabel* Status() const { return m_status; }
    QPushButton* CancelButton() const { return m_cancel; }
    bool Running() const;

signals:
    void ProgressChanged(int position, int range);

private:
    void ShowProgress(int position, int range);

    QProgressBar* m_bar;
    QLabel* m_status;
    QPushButton* m_cancel;
    OperationRunner* m_runner;
    QElapsedTimer m_clock; // since the meter said how many files it holds
};

} // namespace qm
