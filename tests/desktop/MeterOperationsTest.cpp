// The windows that talk to the meter, against the simulator: each operation leaves the event
// loop running, and Cancel stops an upload or a capture while it transfers.
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "FrameTestSupport.h"
#include "SetupTestSupport.h"
#include "desktop/channels/CDlgEditChannel.h"
#include "desktop/frame/CDlgProgress.h"
#include "desktop/frame/CDlgSetCom.h"
#include "desktop/setup/CDlgNormalSet.h"
#include "desktop/setup/CDlgPictureCap.h"
#include "operations/ScreenCapture.h"
#include "support/SimProcess.h"

namespace qm {
namespace {

using test::SimProcess;

class MeterOperations : public ::testing::Test, public test::FrameFixture {
protected:
    void PointAt(const SimProcess& sim) {
        ASSERT_FALSE(sim.Path().empty());
        WriteSettings("[Connect Information]\r\nPort=" + sim.Path() + "\r\nBaud=4000000\r\n");
    }
};

// A timer keeps ticking through every operation: the click that starts one returns while it
// runs, and the window's loop goes on until the result is in.
TEST_F(MeterOperations, TheEventLoopRunsThroughEveryOperation) {
    CDlgEditChannel editor;
    CDlgPictureCap capture;
    capture.SetCaptureFile(QString::fromStdString(dir.File("temp.bmp")));
    CDlgNormalSet setup;
    CDlgSetCom& connect = *frame->ConnectDialog();
    const auto press = [](QWidget& window, QWidget* button) {
        window.show();
        QTest::mouseClick(button, Qt::LeftButton);
    };
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"upload", [&] { frame->Upload(); }},
        {"connect",
         [&] {
             connect.Load(); // the simulator's port
             press(connect, connect.ConnectButton());
         }},
        {"channel plan", [&] { press(editor, editor.Button(CDlgEditChannel::kUpload)); }},
        {"capture", [&] { press(capture, test::Child<QWidget>(capture, "upload")); }},
        {"time and unit", [&] { press(setup, test::Child<QWidget>(setup, "download")); }},
    };
    for (const auto& [name, start] : cases) {
        SCOPED_TRACE(name);
        // Every reply 5 ms late: each operation takes many turns of the loop.
        SimProcess sim(
            {"--model", "7100T2", "--count", "1", "--baud", "4000000", "--turnaround-us", "5000"});
        PointAt(sim);
        prompt.messages.clear();
        prompt.answers = {IPrompt::Answer::No}; // an earlier upload is not kept
        // Ticks are counted while the operation runs; the first one after it ends the wait.
        int ticks = 0;
        QEventLoop untilEnded;
        QTimer ticker;
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (OperationRunner::Running() > 0)
                ++ticks;
            else
                untilEnded.quit();
        });
        ticker.start();
        start();
        EXPECT_EQ(OperationRunner::Running(), 1) << "the click returned while it runs";
        untilEnded.exec();
        ticker.stop();
        EXPECT_GE(ticks, 5);
        for (const QString& text : prompt.Texts())
            EXPECT_EQ(text.indexOf(QStringLiteral("Fail")), -1) << text.toStdString();
        CLevantoApp::Instance().Port().Close();
    }
    EXPECT_EQ(CLevantoApp::Instance().Files().Count(), 1u);
}

// Cancel during the upload ends it within a reply; the files read before it are loaded as the
// upload's (unsaved), without a message. The dialog says which file and how long is left.
TEST_F(MeterOperations, CancelMidUploadKeepsTheFilesReadBeforeIt) {
    SimProcess sim(
        {"--model", "7100T2", "--count", "4", "--baud", "4000000", "--turnaround-us", "1000"});
    PointAt(sim);
    CLevantoApp::Instance().Files().Assign(std::vector<_tagFileDataExt>(5));
    frame->RebuildFileTree();
    QString status;
    bool cancelled = false;
    QObject::connect(frame.get(), &CMainFrame::DialogOpening, [&](QDialog* dialog) {
        auto* progress = qobject_cast<CDlgProgress*>(dialog);
        ASSERT_NE(progress, nullptr);
        QObject::connect(progress, &CDlgProgress::ProgressChanged, [&, progress](int p, int) {
            if (p != 1 || cancelled)
                return;
            cancelled = true;
            status = progress->Status()->text();
            QTest::mouseClick(progress->CancelButton(), Qt::LeftButton);
        });
    });
    prompt.answers = {IPrompt::Answer::No}; // the files loaded before were never saved
    frame->Upload();
    ASSERT_TRUE(test::WaitForOperations());
    EXPECT_TRUE(status.startsWith("File 2 of 4 \u2014 ")) << status.toStdString();
    EXPECT_TRUE(prompt.messages.empty()) << prompt.Texts().join('|').toStdString();
    EXPECT_EQ(CLevantoApp::Instance().Files().Count(), 1u);
    EXPECT_EQ(frame->Tree()->topLevelItemCount(), 1);
    EXPECT_FALSE(CLevantoApp::Instance().Port().StopRequested()) << "the meter can be released";
    prompt.answers.clear();
    EXPECT_FALSE(frame->close()) << "the kept file is unsaved: closing asks (and is cancelled)";

    // The next upload reads every file.
    prompt.answers = {IPrompt::Answer::No};
    frame->Upload();
    ASSERT_TRUE(test::WaitForOperations());
    EXPECT_EQ(CLevantoApp::Instance().Files().Count(), 4u);
}

// The capture's Cancel works while the screen comes in: nothing is written or shown.
TEST_F(MeterOperations, CancelDuringTheCaptureKeepsTheLastFile) {
    SimProcess sim({"--baud", "4000000", "--turnaround-us", "3000"});
    PointAt(sim);
    const std::string file = dir.File("temp.bmp");
    test::WriteFile(file, "the last capture");
    CDlgPictureCap capture;
    capture.SetCaptureFile(QString::fromStdString(file));
    capture.show();
    auto* progress = test::Child<QProgressBar>(capture, "progress");
    int highest = 0;
    QObject::connect(progress, &QProgressBar::valueChanged, [&](int value) {
        highest = std::max(highest, value);
        if (value == 2)
            QTest::mouseClick(test::Child<QWidget>(capture, "cancel"), Qt::LeftButton);
    });
    QTest::mouseClick(test::Child<QWidget>(capture, "upload"), Qt::LeftButton);
    ASSERT_TRUE(test::WaitForOperations());
    EXPECT_GE(highest, 2);
    EXPECT_LT(highest, 60) << "stopped before the last block";
    EXPECT_TRUE(prompt.messages.empty()) << prompt.Texts().join('|').toStdString();
    EXPECT_EQ(test::ReadFile(file), "the last capture");
    EXPECT_FALSE(test::Child<QWidget>(capture, "save")->isEnabled());
    EXPECT_TRUE(test::Child<QWidget>(capture, "upload")->isEnabled());
}

} // namespace
} // namespace qm
