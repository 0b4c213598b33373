#pragma once

#include <QDialog>
#include <QImage>
#include <memory>

#include "operations/ScreenCapture.h"

class QProgressBar;
class QPushButton;

namespace qm {

class CapturePictureView;
class CancellableWait;
class OperationRunner;

// "Picture Capture": fetches the meter's screen, shows it, opens and saves 24-bit bitmaps.
class CDlgPictureCap : public QDialog {
    Q_OBJECT
public:
    explicit CDlgPictureCap(QWidget* parent = nullptr);
    ~CDlgPictureCap() override;

    // The picture the program holds, replaced by each capture or Open; it outlives the dialog.
    static QImage& CurrentPicture();

    // The file each capture rewrites (beside the executable, or in the user's cache).
    const QString& CaptureFile() const { return m_captureFile; }
    void SetCaptureFile(const QString& path) { m_captureFile = path; }
    // The pause between connect tries, 1500 ms.
    void SetRetryPause(int ms) { m_retryPauseMs = ms; }

protected:
    // While a capture runs, closing only gives it up.
    void reject() override;

private:
    void OnUpload();
    void OnOpen();
    void OnSave();
    void ShowPicture(const QImage& picture);
    void SetBusy(bool busy);
    void CancelCapture();
    void Captured(const CaptureResult& result);

    CapturePictureView* m_view = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_upload = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
    QString m_captureFile;
    int m_retryPauseMs = 1500;
    OperationRunner* m_runner = nullptr;
    std::shared_ptr<CancellableWait> m_wait; // set while a capture runs
};

} // namespace qm
