#include "desktop/setup/CDlgPictureCap.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "app/CaptureFile.h"
#include "base/BinaryFile.h"
#include "base/BitmapFile.h"
#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/OperationRunner.h"
#include "desktop/Prompt.h"
#include "desktop/setup/CapturePictureView.h"
#include "desktop/setup/SetupButton.h"
#include "operations/ScreenCapture.h"

namespace qm {

// The pause between connect tries, cut short when the user cancels.
class CancellableWait {
public:
    void Pause(int ms) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_cancelled; });
    }
    bool Cancelled() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_cancelled;
    }
    void Cancel() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_cancelled = true;
        }
        m_wake.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_cancelled = false;
};

namespace {

const QString kBitmapFilter = QStringLiteral("*.bmp|*.bmp||");
const QString kBitmapSuffix = QStringLiteral("BMP");

// The picture as a 24-bit bitmap file at its own size: rows bottom first, padded to 4 bytes.
std::vector<std::uint8_t> BitmapFileOf(const QImage& picture) {
    const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
    const int w = bgr.width();
    const int h = bgr.height();
    const std::size_t rowSize = BitmapRowSize(w);
    std::vector<std::uint8_t> rows(rowSize * static_cast<std::size_t>(h), 0);
    for (int y = 0; y < h; ++y)
        std::copy_n(bgr.constScanLine(h - 1 - y), static_cast<std::size_t>(w) * 3,
                    rows.begin() + static_cast<std::ptrdiff_t>(rowSize * y));
    return BitmapFileBytes(w, h, rows);
}

} // namespace

CDlgPictureCap::CDlgPictureCap(QWidget* parent)
    : QDialog(parent), m_captureFile(QString::fromStdString(DefaultCaptureFilePath())) {
    setWindowTitle(QStringLiteral("Picture Capture"));
    PaintDialogBackground(this);

    m_view = new CapturePictureView(this);
    m_view->setObjectName(QStringLiteral("picture"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_upload = SetupButton(this, "upload", txt::kUpload);
    m_open = SetupButton(this, "open", txt::kOpen);
    m_save = SetupButton(this, "save", txt::kSave);
    m_save->setEnabled(false);
    // Gives up the capture, its connect tries and its transfer alike; shown while it runs.
    m_cancel = SetupButton(this, "cancel", txt::kCancel);
    m_cancel->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_progress, 1);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    buttons->addWidget(m_upload);
    buttons->addWidget(m_open);
    buttons->addWidget(m_save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    connect(m_upload, &QPushButton::clicked, this, &CDlgPictureCap::OnUpload);
    connect(m_open, &QPushButton::clicked, this, &CDlgPictureCap::OnOpen);
    connect(m_save, &QPushButton::clicked, this, &CDlgPictureCap::OnSave);
    m_runner = new OperationRunner(this);
    m_runner->SetControls({m_upload, m_open});
    m_runner->SetProgress([this](int position, int range) {
        m_progress->setRange(0, range);
        m_progress->setValue(position);
    });
    // Closing while a capture runs gives it up, and the dialog stays until it has ended.
    m_runner->SetRefusedClose([this] { CancelCapture(); });
    connect(m_cancel, &QPushButton::clicked, this, &CDlgPictureCap::CancelCapture);
}

CDlgPictureCap::~CDlgPictureCap() = default;

QImage& CDlgPictureCap::CurrentPicture() {
    static QImage picture;
    return picture;
}

void CDlgPictureCap::ShowPicture(const QImage& picture) {
    CurrentPicture() = picture;
    m_view->SetPicture(picture);
}

void CDlgPictureCap::SetBusy(bool busy) {
    m_cancel->setEnabled(busy);
    m_cancel->setVisible(busy);
    m_progress->setVisible(busy);
}

void CDlgPictureCap::CancelCapture() {
    if (!m_wait)
        return;
    m_wait->Cancel();   // the pause between connect tries
    m_runner->Cancel(); // the connect or the screen transfer under way
    m_cancel->setEnabled(false);
}

void CDlgPictureCap::OnUpload() {
    if (m_runner->Busy())
        return;
    m_save->setEnabled(false);
    ShowPicture(QImage());
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    SetBusy(true);

    auto wait = std::make_shared<CancellableWait>();
    m_wait = wait;
    CaptureRetry retry;
    retry.pauseMs = m_retryPauseMs;
    retry.pause = [wait](int ms) { wait->Pause(ms); };
    retry.stop = [wait] { return wait->Cancelled(); };
    const std::string path = m_captureFile.toStdString();
    cnComm& port = CLevantoApp::Instance().Port();
    m_runner->Start<CaptureResult>(
        [&port, path, retry](const ProgressFn& progress) {
            return CaptureScreen(port, ConnectTarget::FromSettings(), path, progress, retry);
        },
        [this](CaptureResult result) { Captured(result); }, &port);
}

void CDlgPictureCap::Captured(const CaptureResult& result) {
    m_wait.reset();
    SetBusy(false);
    if (!result.outcome.ok) {
        ShowOutcome(this, result.outcome);
        return;
    }
    ShowPicture(
        QImage::fromData(result.bitmap.data(), static_cast<int>(result.bitmap.size()), "BMP"));
    m_save->setEnabled(true);
}

void CDlgPictureCap::OnOpen() {
    m_save->setEnabled(false);
    if (const auto name = Prompt().OpenFileName(this, kBitmapFilter, kBitmapSuffix)) {
        QImage picture;
        if (picture.load(*name, "BMP"))
            ShowPicture(picture);
        else
            Prompt().Beep(); // not a bitmap: the picture shown stays
    }
    m_save->setEnabled(true);
}

void CDlgPictureCap::OnSave() {
    const QImage& picture = CurrentPicture();
    if (picture.isNull()) {
        Prompt().Beep(); // nothing captured or opened yet
        return;
    }
    const auto name = Prompt().SaveFileName(this, kBitmapFilter, kBitmapSuffix);
    if (!name)
        return;
    // The picture stays shown and can be saved again.
    const std::vector<std::uint8_t> file = BitmapFileOf(picture);
    if (ReplaceFileContents(name->toStdString(), {file}) != ReplaceStatus::Ok)
        ShowUserMessage(this, {txt::kFileNotCreated, MessageKind::Error});
}

void CDlgPictureCap::reject() {
    if (m_runner->Busy())
        CancelCapture();
    else
        QDialog::reject();
}

} // namespace qm
