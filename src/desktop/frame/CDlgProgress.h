#pragma once

#include <QDialog>

#include "operations/UploadOperation.h"

class QProgressBar;

namespace qm {

// The upload's progress: a caption-less modal dialog with one progress bar, on screen while
// the upload runs on a worker thread. It cannot be dismissed before the worker has ended.
class CDlgProgress : public QDialog {
    Q_OBJECT
public:
    explicit CDlgProgress(QWidget* parent = nullptr);

    // Runs the upload and shows its messages; returns once the worker has ended and the
    // dialog is closed. The collection takes the files read when the result ReplacesLoaded,
    // and stays as it was otherwise.
    UploadResult Run(cnComm& port, CFileCollection& collection);

    QProgressBar* Bar() const { return m_bar; }
    bool Running() const { return m_running; }

signals:
    void ProgressChanged(int position, int range);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    QProgressBar* m_bar;
    bool m_running = false;
};

} // namespace qm
