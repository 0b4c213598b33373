// The meter vanishing in the middle of a channel-plan read or write in the channel editor.
#include <QComboBox>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "SetupTestSupport.h"
#include "channels/ChannelPlanFile.h"
#include "desktop/CLevantoApp.h"
#include "desktop/channels/CComboListCtrl.h"
#include "desktop/channels/CDlgEditChannel.h"
#include "measurement/SampleGenerator.h"

namespace qm {
namespace {

using test::SimProcess;

class FaultChannel : public ::testing::Test {
protected:
    void TearDown() override {
        dialog.reset();
        CLevantoApp::Instance().Port().Close();
    }
    void Start() {
        sim = std::make_unique<SimProcess>(
            std::vector<std::string>{"--model", "7100T", "--turnaround-us", "20000", "--log", log});
        ASSERT_FALSE(sim->Path().empty());
        ini.Connect(sim->Path());
    }
    // Presses the button and kills the simulator once `frames` frames of `code` were sent;
    // how long the transfer went on after the kill.
    qint64 PressAndKill(CDlgEditChannel::ButtonId id, int code, int frames) {
        QElapsedTimer since;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            int sent = 0;
            for (const std::string& f : test::LoggedFrames(log))
                sent += test::LoggedCode(f) == code;
            if (sent >= frames && !since.isValid()) {
                sim->Kill();
                since.start();
            }
        });
        watch.start(2);
        QTest::mouseClick(dialog->Button(id), Qt::LeftButton);
        EXPECT_TRUE(test::WaitForOperations());
        watch.stop();
        EXPECT_TRUE(since.isValid()) << "killed during the transfer";
        return since.isValid() ? since.elapsed() : -1;
    }

    test::FakePrompt prompt;
    ScopedPrompt scope{prompt};
    test::SetupSettings ini;
    std::string log = ini.dir.File("frames.log");
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<CDlgEditChannel> dialog = std::make_unique<CDlgEditChannel>();
};

TEST_F(FaultChannel, MeterGoneMidPlanReadAndWriteEndsAtOnceAndTheEditorGoesOn) {
    dialog->show();
    Start();
    dialog->SlotList()->setCurrentIndex(1);
    const qint64 read = PressAndKill(CDlgEditChannel::kUpload, 0x66, 2);
    std::printf("plan read ended %lld ms after the hang-up\n", static_cast<long long>(read));
    EXPECT_LT(read, 2000);
    EXPECT_EQ(prompt.Texts(), QStringList{"Failed to read current CH!"});
    EXPECT_EQ(dialog->Grid()->rowCount(), 0);
    EXPECT_TRUE(dialog->Button(CDlgEditChannel::kUpload)->isEnabled());
    EXPECT_FALSE(dialog->Progress()->isVisible());

    // The meter back: the whole plan comes, then a write of it is cut off; the grid keeps it.
    Start();
    prompt.messages.clear();
    QTest::mouseClick(dialog->Button(CDlgEditChannel::kUpload), Qt::LeftButton);
    ASSERT_TRUE(test::WaitForOperations());
    EXPECT_TRUE(prompt.messages.empty()) << prompt.Texts().join('|').toStdString();
    const int rows = static_cast<int>(SamplePlanEntries(1, 1).size());
    ASSERT_EQ(dialog->Grid()->rowCount(), rows);
    const qint64 write = PressAndKill(CDlgEditChannel::kDownload, 0x67, 2);
    std::printf("plan write ended %lld ms after the hang-up\n", static_cast<long long>(write));
    EXPECT_LT(write, 2000);
    // The plan activate that follows every write fails too.
    EXPECT_EQ(prompt.Texts(), (QStringList{"DownLoad CH plan is unsuccessfully!",
                                           "Failed to setup user CH plan!"}));
    EXPECT_EQ(dialog->Grid()->rowCount(), rows);
    EXPECT_EQ(CLevantoApp::Instance().Plans().Count(), static_cast<std::size_t>(rows));
    EXPECT_TRUE(dialog->Button(CDlgEditChannel::kDownload)->isEnabled());
}

} // namespace
} // namespace qm
