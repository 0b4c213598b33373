#include "desktop/frame/CDlgProgress.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "desktop/DesktopTexts.h"
#include "desktop/OperationRunner.h"
#include "desktop/Prompt.h"

namespace qm {

CDlgProgress::CDlgProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_bar(new QProgressBar(this)),
      m_status(new QLabel(this)), m_cancel(new QPushButton(Text(txt::kCancel), this)),
      m_runner(new OperationRunner(this)) {
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
    m_status->setObjectName(QStringLiteral("uploadStatus"));
    // The line keeps its height before the meter has said how many files it holds.
    m_status->setMinimumHeight(m_status->fontMetrics().height());
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setAutoDefault(false); // Enter does not give up an upload by chance
    auto* row = new QHBoxLayout;
    row->addWidget(m_status, 1);
    row->addWidget(m_cancel);
    layout->addLayout(row);

    m_runner->SetProgress([this](int position, int range) { ShowProgress(position, range); });
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancel->setEnabled(false); // once is enough: the upload ends within one reply
        m_runner->Cancel();
    });
}

bool CDlgProgress::Running() const {
    return m_runner->Busy();
}

void CDlgProgress::ShowProgress(int position, int range) {
    if (position == 0)
        m_clock.start();
    m_bar->setRange(0, std::max(range, 1));
    m_bar->setValue(position);
    const int left = m_clock.isValid() ? UploadSecondsLeft(position, range, m_clock.elapsed()) : -1;
    m_status->setText(UploadProgressText(position, range, left));
    emit ProgressChanged(position, range);
}

void CDlgProgress::Start(cnComm& port, CFileCollection& collection,
                         std::function<void(const UploadResult&)> done) {
    show();
    // The worker fills its own copy; the collection is replaced only after it has ended, so
    // nothing on this thread ever sees it half-written, and only when the upload read files
    // to take its place.
    auto working = std::make_shared<CFileCollection>(collection);
    m_runner->Start<UploadResult>(
        [&port, working](const ProgressFn& progress) {
            return RunUpload(port, ConnectTarget::FromSettings(), *working, progress);
        },
        [this, &collection, working, done = std::move(done)](UploadResult result) {
            if (result.ReplacesLoaded())
                collection = std::move(*working);
            ShowOutcome(this, result.outcome);
            accept();
            if (done)
                done(result);
        },
        &port);
}

} // namespace qm
