// The meter vanishing in the middle of a transfer (the simulator killed, its pseudo-terminal
// hanging up): each transfer ends with its message at once, keeps what was read before, and the
// program connects again to a meter that comes back.
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <cstring>
#include <gtest/gtest.h>

#include "FrameTestSupport.h"
#include "SetupTestSupport.h"
#include "desktop/frame/CDlgProgress.h"
#include "desktop/frame/CDlgSetCom.h"
#include "desktop/setup/CDlgPictureCap.h"
#include "desktop/setup/CapturePictureView.h"
#include "operations/ScreenCapture.h"
#include "support/SimProcess.h"

namespace qm {
namespace {

using test::SimProcess;

// The end of a transfer must follow a hang-up within this many milliseconds.
constexpr qint64 kHangUpBoundMs = 2000;

// Kills the simulator the first time `when` holds; the time since then.
class Killer {
public:
    explicit Killer(SimProcess& sim) : m_sim(sim) {}
    void KillIf(bool when) {
        if (!when || m_clock.isValid())
            return;
        m_sim.Kill();
        m_clock.start();
    }
    bool Killed() const { return m_clock.isValid(); }
    qint64 Since() const { return m_clock.elapsed(); }

private:
    SimProcess& m_sim;
    QElapsedTimer m_clock;
};

class FaultUpload : public ::testing::Test, public test::FrameFixture {
protected:
    void PointAt(const SimProcess& sim) {
        ASSERT_FALSE(sim.Path().empty());
        WriteSettings("[Connect Information]\r\nPort=" + sim.Path() + "\r\nBaud=115200\r\n");
    }
};

TEST_F(FaultUpload, MeterGoneMidUploadEndsAtOnceKeepsEarlierFilesAndConnectsAgain) {
    const std::vector<std::string> meter{"--model", "7100T2", "--count", "4"};
    auto sim = std::make_unique<SimProcess>(meter);
    PointAt(*sim);
    Killer killer(*sim);
    int lastPosition = 0;
    QObject::connect(frame.get(), &CMainFrame::DialogOpening, [&](QDialog* dialog) {
        if (auto* progress = qobject_cast<CDlgProgress*>(dialog))
            QObject::connect(progress, &CDlgProgress::ProgressChanged, [&](int position, int) {
                lastPosition = position;
                killer.KillIf(position == 1); // the first file is in
            });
    });
    frame->Upload();
    ASSERT_TRUE(test::WaitForOperations());
    ASSERT_TRUE(killer.Killed());
    const qint64 ended = killer.Since();
    std::printf("upload ended %lld ms after the hang-up\n", static_cast<long long>(ended));
    EXPECT_LT(ended, kHangUpBoundMs);
    EXPECT_EQ(prompt.Texts(), QStringList{"Failed to read CH data,please check the connection !"});
    const std::vector<_tagFileDataExt> kept = CLevantoApp::Instance().Files().Elements();
    ASSERT_GE(kept.size(), 1u);
    EXPECT_EQ(static_cast<int>(kept.size()), lastPosition);
    EXPECT_EQ(frame->Tree()->topLevelItemCount(), static_cast<int>(kept.size()));
    EXPECT_FALSE(frame->findChild<CDlgProgress*>()) << "the progress dialog is gone";

    // The meter back on a new pseudo-terminal: Connect, then a whole upload whose first files
    // are the ones kept.
    sim = std::make_unique<SimProcess>(meter);
    PointAt(*sim);
    prompt.messages.clear();
    test::WhenModal([](QWidget* modal) {
        QTest::mouseClick(static_cast<CDlgSetCom*>(modal)->ConnectButton(), Qt::LeftButton);
    });
    EXPECT_EQ(frame->ShowConnectDialog(), QDialog::Accepted);
    EXPECT_TRUE(prompt.messages.empty()) << prompt.Texts().join('|').toStdString();
    prompt.answers = {IPrompt::Answer::No}; // the kept files were never saved: discard them
    frame->Upload();
    ASSERT_TRUE(test::WaitForOperations());
    EXPECT_EQ(prompt.questions.size(), 1);
    EXPECT_TRUE(prompt.messages.empty()) << prompt.Texts().join('|').toStdString();
    const std::vector<_tagFileDataExt>& all = CLevantoApp::Instance().Files().Elements();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(frame->Tree()->topLevelItemCount(), 4);
    for (std::size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(std::memcmp(&kept[i], &all[i], sizeof(_tagFileDataExt)), 0) << i;
}

TEST(FaultCapture, MeterGoneMidCaptureEndsAtOnceKeepsTheLastFileAndCapturesAgain) {
    test::FakePrompt prompt;
    ScopedPrompt scope(prompt);
    test::SetupSettings ini;
    const std::string file = ini.dir.File("temp.bmp");
    test::WriteFile(file, "the last capture");
    CDlgPictureCap dialog;
    dialog.SetCaptureFile(QString::fromStdString(file));
    dialog.SetRetryPause(1);
    dialog.show();
    auto* progress = test::Child<QProgressBar>(dialog, "progress");

    auto sim = std::make_unique<SimProcess>(std::vector<std::string>{"--baud", "1000000"});
    ini.Connect(sim->Path(), "1000000");
    Killer killer(*sim);
    QObject::connect(progress, &QProgressBar::valueChanged,
                     [&](int value) { killer.KillIf(value >= 5); });
    test::Click(dialog, "upload");
    ASSERT_TRUE(killer.Killed());
    const qint64 ended = killer.Since();
    std::printf("capture ended %lld ms after the hang-up\n", static_cast<long long>(ended));
    EXPECT_LT(ended, kHangUpBoundMs);
    EXPECT_EQ(prompt.Texts(), QStringList{"Failed ! Please check the connection !"});
    EXPECT_EQ(test::ReadFile(file), "the last capture");
    EXPECT_FALSE(test::Child<QWidget>(dialog, "save")->isEnabled());
    EXPECT_TRUE(test::Child<QWidget>(dialog, "upload")->isEnabled());
    EXPECT_FALSE(progress->isVisible());

    sim = std::make_unique<SimProcess>(std::vector<std::string>{"--baud", "4000000"});
    ini.Connect(sim->Path(), "4000000");
    prompt.messages.clear();
    test::Click(dialog, "upload");
    EXPECT_TRUE(prompt.messages.empty()) << prompt.Texts().join('|').toStdString();
    EXPECT_EQ(test::ReadFile(file).size(), kCaptureFileSize);
    EXPECT_TRUE(test::Child<QWidget>(dialog, "save")->isEnabled());
    CLevantoApp::Instance().Port().Close();
}

} // namespace
} // namespace qm
