#include "desktop/frame/CDlgProgress.h"

#include <QCloseEvent>
#include <QFrame>
#include <QProgressBar>
#include <QVBoxLayout>

#include "desktop/OperationWorker.h"
#include "desktop/Prompt.h"

namespace qm {

CDlgProgress::CDlgProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_bar(new QProgressBar(this)) {
    setModal(true);
    // Without a caption the dialog needs a border of its own to stand out from the window.
    auto* border = new QFrame(this);
    border->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(border);
    auto* layout = new QVBoxLayout(border);
    layout->setContentsMargins(14, 14, 14, 14);
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_bar->setMinimumWidth(300);
    layout->addWidget(m_bar);
}

UploadResult CDlgProgress::Run(cnComm& port, CFileCollection& collection) {
    show();
    m_running = true;
    // The worker fills its own copy; the collection is replaced only after it has ended, so
    // nothing on this thread ever sees it half-written, and only when the upload read files
    // to take its place.
    CFileCollection working = collection;
    UploadResult result = RunInWorker<UploadResult>(
        [&port, &working](const ProgressFn& progress) {
            return RunUpload(port, ConnectTarget::FromSettings(), working, progress);
        },
        [this](int position, int range) {
            m_bar->setRange(0, std::max(range, 1));
            m_bar->setValue(position);
            emit ProgressChanged(position, range);
        });
    m_running = false;
    if (result.ReplacesLoaded())
        collection = std::move(working);
    ShowOutcome(this, result.outcome);
    accept();
    return result;
}

void CDlgProgress::reject() {
    if (!m_running)
        QDialog::reject();
}

void CDlgProgress::closeEvent(QCloseEvent* event) {
    if (m_running)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

} // namespace qm
