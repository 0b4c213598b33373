#include "desktop/frame/ScreenshotDriver.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/FileTree.h"
#include "app/ProjectFile.h"
#include "desktop/CLevantoApp.h"
#include "desktop/OperationRunner.h"
#include "desktop/channels/CDlgEditChannel.h"
#include "desktop/frame/CDlgHelpAbout.h"
#include "desktop/frame/CDlgProgress.h"
#include "desktop/frame/CDlgSetCom.h"
#include "desktop/frame/CFileTreeView.h"
#include "desktop/frame/CLevantoView.h"
#include "desktop/frame/CMainFrame.h"
#include "desktop/frame/Looks.h"
#include "desktop/frame/WorkdeskStatusBar.h"

namespace qm {

namespace {

struct PaneShot {
    int value;
    const char* name;
    bool chart;
};

constexpr PaneShot kPaneShots[] = {
    {kTreeLevel, "pane-level.png", false},      {kTreeTilt, "pane-tilt.png", true},
    {kTreeSpectrum, "pane-spectrum.png", true}, {kTreeScan, "pane-scan.png", true},
    {kTreeLimit, "pane-limit.png", true},       {kTreeHum, "pane-hum.png", false},
};

} // namespace

ScreenshotDriver* ScreenshotDriver::FromEnvironment(CMainFrame& frame) {
    const QString directory = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (directory.isEmpty())
        return nullptr;
    const QString set = qEnvironmentVariable("QM_SCREENSHOT_SET");
    auto* driver = new ScreenshotDriver(frame, directory, set == QStringLiteral("zh"));
    driver->m_scaled = set == QStringLiteral("scaled");
    return driver;
}

ScreenshotDriver::ScreenshotDriver(CMainFrame& frame, QString directory, bool chineseOnly)
    : QObject(&frame), m_frame(frame), m_directory(std::move(directory)),
      m_chineseOnly(chineseOnly) {
    QDir().mkpath(m_directory);
    connect(&m_frame, &CMainFrame::DialogOpening, this, &ScreenshotDriver::OnDialog);
}

void ScreenshotDriver::Start() {
    QTimer::singleShot(0, this, &ScreenshotDriver::Run);
}

void ScreenshotDriver::Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void ScreenshotDriver::WaitForOperations() {
    while (OperationRunner::Running() > 0)
        Wait(20);
}

void ScreenshotDriver::Save(const QImage& image, const QString& name) {
    const QString path = QDir(m_directory).filePath(name);
    if (image.isNull() || !image.save(path))
        std::fprintf(stderr, "screenshot %s failed\n", qPrintable(path));
    else
        std::printf("wrote %s\n", qPrintable(path));
    std::fflush(stdout);
}

void ScreenshotDriver::SaveWidget(QWidget* widget, const QString& name) {
    Save(widget->grab().toImage(), name);
}

void ScreenshotDriver::SaveScreenArea(const QString& name) {
    // The screen, so that the dialog over the main window is in the picture.
    const QRect area = m_frame.frameGeometry();
    QScreen* screen = m_frame.screen();
    Save(screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage(), name);
}

void ScreenshotDriver::AnswerNextBox(const QString& name, int button, const QString& then) {
    auto* poll = new QTimer(this);
    poll->setInterval(50);
    connect(poll, &QTimer::timeout, this, [this, poll, name, button, then] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        QTimer::singleShot(300, box, [this, box, name, button, then] {
            SaveScreenArea(name);
            if (!then.isEmpty())
                AnswerNextBox(then, 0);
            // Discard of the question (its destructive button), OK of the warning.
            const QList<QAbstractButton*> buttons = box->buttons();
            const QMessageBox::ButtonRole role =
                button == 1 ? QMessageBox::DestructiveRole : QMessageBox::AcceptRole;
            for (QAbstractButton* b : buttons) {
                if (box->buttonRole(b) == role) {
                    b->click();
                    return;
                }
            }
            if (!buttons.isEmpty())
                buttons.front()->click();
        });
    });
    poll->start();
}

void ScreenshotDriver::OpenDamagedProject(const QString& suffix) {
    QTemporaryDir folder;
    const std::string whole = QDir(folder.path()).filePath("site.f71").toStdString();
    const std::string cut = QDir(folder.path()).filePath("half.f71").toStdString();
    if (SaveProject(whole, CLevantoApp::Instance().Files().Elements()) != ProjectStatus::Ok)
        return;
    // The first file whole, the second cut in its middle.
    QFile in(QString::fromStdString(whole));
    QFile out(QString::fromStdString(cut));
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return;
    out.write(in.read(8 + kElementSize + kElementSize / 2));
    out.close();
    AnswerNextBox(QStringLiteral("unsaved-question%1.png").arg(suffix), 1,
                  QStringLiteral("damaged-project%1.png").arg(suffix));
    m_frame.OpenProjectFile(cut);
    m_frame.Tree()->expandAll();
    Wait(300);
}

void ScreenshotDriver::OnDialog(QDialog* dialog) {
    if (auto* connectDialog = qobject_cast<CDlgSetCom*>(dialog)) {
        QTimer::singleShot(400, connectDialog, [this, connectDialog] {
            SaveWidget(connectDialog, Named("connect.png"));
            connectDialog->ConnectButton()->click();
        });
    } else if (auto* progress = qobject_cast<CDlgProgress*>(dialog)) {
        connect(progress, &CDlgProgress::ProgressChanged, this, [this](int position, int range) {
            if (m_progressTaken || range < 2 || position < 1)
                return;
            m_progressTaken = true;
            // Once the dialog has painted its line of which file and the time left.
            QTimer::singleShot(300, this, [this] {
                SaveScreenArea(m_chineseOnly ? QStringLiteral("upload-progress-zh.png")
                                             : QStringLiteral("upload-progress.png"));
            });
        });
    } else if (auto* about = qobject_cast<CDlgHelpAbout*>(dialog)) {
        QTimer::singleShot(400, about, [this, about] {
            SaveWidget(about, Named("about.png"));
            about->accept();
        });
    }
}

QString ScreenshotDriver::Named(const char* name) const {
    QString named = QString::fromLatin1(name);
    if (m_chineseOnly)
        named.insert(named.lastIndexOf('.'), QStringLiteral("-zh"));
    return named;
}

void ScreenshotDriver::SaveNextModal(const char* name, const char* clickFirst) {
    QTimer::singleShot(400, this, [this, name, clickFirst] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal) {
            std::fprintf(stderr, "no window for %s\n", name);
            return;
        }
        if (clickFirst) {
            if (auto* button = modal->findChild<QAbstractButton*>(QString::fromLatin1(clickFirst)))
                button->click();
            Wait(1500);
        }
        SaveWidget(modal, Named(name));
        modal->reject();
    });
}

void ScreenshotDriver::OpenSection(int value, int ms) {
    if (QTreeWidgetItem* item = m_frame.Tree()->SectionItem(0, value)) {
        m_frame.Tree()->setCurrentItem(item);
        m_frame.OpenTreeItem(item);
        Wait(ms);
    }
}

void ScreenshotDriver::SaveSmallScreen(const QString& suffix) {
    // A netbook's screen: the window as large as it, a chart pane and a table pane open.
    const QSize before = m_frame.size();
    m_frame.resize(1024, 600);
    Wait(300);
    OpenSection(kTreeScan, 700);
    SaveWidget(&m_frame, QStringLiteral("small-screen-scan%1.png").arg(suffix));
    OpenSection(kTreeLevel, 300);
    SaveWidget(&m_frame, QStringLiteral("small-screen-level%1.png").arg(suffix));
    m_frame.resize(before);
    Wait(300);
}

void ScreenshotDriver::SaveClearCharts(const QString& suffix) {
    m_frame.SetChartStyle(ChartStyle::Clear);
    for (const PaneShot& shot : kPaneShots) {
        if (!shot.chart)
            continue;
        OpenSection(shot.value, 700);
        SaveWidget(&m_frame, QStringLiteral("clear-%1%2")
                                 .arg(QString::fromLatin1(shot.name).chopped(4),
                                      suffix + QStringLiteral(".png")));
    }
    m_frame.SetChartStyle(ChartStyle::Classic);
}

void ScreenshotDriver::Run() {
    const int userLook = StoredLook();
    m_frame.Upload();
    WaitForOperations();
    m_frame.Tree()->expandAll();
    Wait(300);
    if (!m_scaled)
        SaveWidget(m_frame.Status(), QStringLiteral("status-connected%1.png")
                                         .arg(m_chineseOnly ? QStringLiteral("-zh") : QString()));
    if (m_scaled) {
        OpenSection(kTreeSpectrum, 700);
        SaveWidget(&m_frame, QStringLiteral("scale-200.png"));
        // Nothing to ask about on the way out.
        CLevantoApp::Instance().Files().Clear();
        m_frame.close();
        return;
    }
    if (m_chineseOnly) {
        SaveSmallScreen(QStringLiteral("-zh"));
        SaveClearCharts(QStringLiteral("-zh"));
        for (const PaneShot& shot : kPaneShots) {
            OpenSection(shot.value, shot.chart ? 700 : 300);
            SaveWidget(&m_frame, Named(shot.name));
        }
        SaveNextModal("channel-editor.png");
        m_frame.OpenChannelEditorCommand();
        // The English pictures of these two come from their own tests.
        SaveNextModal("time-unit.png");
        m_frame.OpenTimeUnitCommand();
        SaveNextModal("capture.png");
        m_frame.OpenPictureCaptureCommand();
        if (QTreeWidgetItem* item = m_frame.Tree()->SectionItem(0, kTreeSpectrum)) {
            m_frame.Tree()->setCurrentItem(item);
            m_frame.OpenTreeItem(item);
            Wait(600);
        }
        SaveWidget(&m_frame, QStringLiteral("main-zh.png"));
        OpenDamagedProject(QStringLiteral("-zh"));
        m_frame.close();
        return;
    }
    SaveWidget(&m_frame, QStringLiteral("main.png"));

    for (const PaneShot& shot : kPaneShots) {
        QTreeWidgetItem* item = m_frame.Tree()->SectionItem(0, shot.value);
        if (!item) {
            std::fprintf(stderr, "no section %d in the first file\n", shot.value);
            continue;
        }
        m_frame.Tree()->setCurrentItem(item);
        m_frame.OpenTreeItem(item);
        Wait(shot.chart ? 700 : 300);
        SaveWidget(&m_frame, Named(shot.name));
    }

    if (QTreeWidgetItem* item = m_frame.Tree()->SectionItem(0, kTreeSpectrum)) {
        m_frame.Tree()->setCurrentItem(item);
        m_frame.OpenTreeItem(item);
    }
    for (int look = kLookOffice2007Blue; look <= kLookWindows7; ++look) {
        m_frame.SetLook(look);
        Wait(500);
        SaveWidget(&m_frame, QStringLiteral("look-%1.png").arg(look));
    }
    m_frame.SetLook(userLook);
    SaveSmallScreen(QString());
    SaveClearCharts(QString());

    // The channel editor, modal over the main window, with the plan of the meter's first slot.
    QTimer::singleShot(400, this, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* editor = qobject_cast<CDlgEditChannel*>(modal);
        if (!editor) {
            std::fprintf(stderr, "the channel editor did not open\n");
            if (modal)
                modal->close();
            return;
        }
        editor->Upload();
        WaitForOperations();
        Wait(300);
        SaveWidget(editor, QStringLiteral("channel-editor.png"));
        editor->reject();
    });
    m_frame.OpenChannelEditorCommand();

    OpenDamagedProject(QString());
    SaveWidget(&m_frame, QStringLiteral("damaged-tree.png"));

    m_frame.ShowAbout(true);
    m_frame.close();
}

} // namespace qm
