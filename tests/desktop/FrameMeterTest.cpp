// The main window against the meter simulator: the upload into the tree and the connection
// dialog.
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

#include "FrameTestSupport.h"
#include "OperationWait.h"
#include "desktop/channels/CDlgEditChannel.h"
#include "desktop/frame/CBaseCtrlPane.h"
#include "desktop/frame/CChartHolder.h"
#include "desktop/frame/CDlgProgress.h"
#include "desktop/frame/CDlgSetCom.h"
#include "desktop/frame/WorkdeskStatusBar.h"
#include "measurement/SampleGenerator.h"
#include "support/SimProcess.h"

namespace qm {
namespace {

using test::FrameFixture;
using test::ReadFile;
using test::SimProcess;
using test::WhenModal;

class FrameMeter : public ::testing::Test, public FrameFixture {
protected:
    void PointAt(const SimProcess& sim, const char* baud = "4000000") {
        ASSERT_FALSE(sim.Path().empty());
        WriteSettings("[Connect Information]\r\nPort=" + sim.Path() + "\r\nBaud=" + baud + "\r\n");
    }
    // Connect with the dialog as it opens, then answer as the test says.
    void ConnectWith(std::function<void(CDlgSetCom*)> act) {
        WhenModal([act](QWidget* modal) { act(static_cast<CDlgSetCom*>(modal)); });
        frame->ShowConnectDialog();
    }
};

TEST_F(FrameMeter, UploadFillsTheTreeOnlyAfterTheWorkerEndedAndCannotBeDismissed) {
    SimProcess sim({"--model", "7100T2", "--count", "3", "--baud", "4000000"});
    PointAt(sim);
    CLevantoApp::Instance().Files().Assign(std::vector<_tagFileDataExt>(5));
    frame->RebuildFileTree();
    int treeDuringUpload = -1;
    bool stayed = true;
    QObject::connect(frame.get(), &CMainFrame::DialogOpening, [&](QDialog* dialog) {
        auto* progress = qobject_cast<CDlgProgress*>(dialog);
        ASSERT_NE(progress, nullptr);
        EXPECT_TRUE(progress->windowFlags() & Qt::FramelessWindowHint);
        QObject::connect(progress, &CDlgProgress::ProgressChanged, [&, progress](int p, int) {
            if (p != 1)
                return;
            treeDuringUpload = frame->Tree()->topLevelItemCount();
            QTest::keyClick(progress, Qt::Key_Escape);
            QCloseEvent close;
            QApplication::sendEvent(progress, &close);
            stayed = progress->isVisible() && progress->Running();
        });
    });
    frame->Upload();
    ASSERT_TRUE(test::WaitForOperations());
    EXPECT_EQ(treeDuringUpload, 5); // the old tree until the worker has ended
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(prompt.messages.empty());
    ASSERT_EQ(frame->Tree()->topLevelItemCount(), 3);
    EXPECT_EQ(frame->Tree()->topLevelItem(2)->childCount(), 6);
    EXPECT_EQ(CLevantoApp::Instance().Files().Count(), 3u);
}

TEST_F(FrameMeter, AFailedReadHalfWayKeepsTheFilesReadBeforeAndSaysSo) {
    // Kind 2 files take 166 blocks: the 200th block request is in the second file.
    SimProcess sim(
        {"--model", "7100T2", "--count", "3", "--baud", "4000000", "--fault", "bad-check=200:6B"});
    PointAt(sim);
    frame->Upload();
    ASSERT_TRUE(test::WaitForOperations());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].caption, "QM7100");
    EXPECT_EQ(prompt.messages[0].text, "Failed to read CH data,please check the connection !");
    EXPECT_EQ(frame->Tree()->topLevelItemCount(), 1);
}

TEST_F(FrameMeter, NoMeterLeavesTheLoadedFiles) {
    WriteSettings("[Connect Information]\r\nPort=" + dir.File("no-tty") + "\r\n");
    CLevantoApp::Instance().Files().Assign(std::vector<_tagFileDataExt>(2));
    frame->RebuildFileTree();
    frame->Upload();
    ASSERT_TRUE(test::WaitForOperations());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Failed ! Please check the connection !");
    EXPECT_EQ(frame->Tree()->topLevelItemCount(), 2);
}

TEST_F(FrameMeter, TheStatusBarShowsTheMeterAnsweringAndThePlanWrittenToItsSlot) {
    SimProcess sim({"--model", "7100T2", "--baud", "115200"});
    PointAt(sim, "115200");
    ConnectWith([](CDlgSetCom* d) { QTest::mouseClick(d->ConnectButton(), Qt::LeftButton); });
    const QString connected = QString::fromStdString(sim.Path()) + QString::fromUtf8(" · QM7100T2");
    EXPECT_EQ(frame->Status()->ConnectionText(), connected);
    WhenModal([](QWidget* modal) {
        auto* editor = static_cast<CDlgEditChannel*>(modal);
        QTest::mouseClick(editor->Button(CDlgEditChannel::kUpload), Qt::LeftButton);
        EXPECT_TRUE(test::WaitForOperations());
        editor->SlotList()->setCurrentIndex(1);
        QTest::mouseClick(editor->Button(CDlgEditChannel::kDownload), Qt::LeftButton);
        EXPECT_TRUE(test::WaitForOperations());
        editor->reject();
    });
    frame->OpenChannelEditorCommand();
    EXPECT_EQ(frame->Status()->OutcomeText(), "Plan written to slot B");
    // A connect that finds no meter leaves the port closed, and the bar says so.
    WriteSettings("[Connect Information]\r\nPort=" + dir.File("no-tty") + "\r\n");
    ConnectWith([](CDlgSetCom* d) {
        QTest::mouseClick(d->ConnectButton(), Qt::LeftButton);
        EXPECT_TRUE(test::WaitForOperations());
        QTest::mouseClick(d->CancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(frame->Status()->ConnectionText(), "not connected");
}

TEST_F(FrameMeter, ConnectionDialogOpensOnTheStoredPort) {
    CDlgSetCom* dialog = frame->ConnectDialog();
    dialog->Load(); // no settings file
    ASSERT_EQ(dialog->PortList()->count(), 10);
    EXPECT_EQ(dialog->PortList()->currentIndex(), 0);
    EXPECT_TRUE(dialog->PortList()->currentText().startsWith("COM1 ("));
    EXPECT_EQ(dialog->BaudList()->currentText(), "115200");
    EXPECT_FALSE(dialog->BaudList()->isVisibleTo(dialog));
    EXPECT_TRUE(dialog->ConnectButton()->isDefault());

    WriteSettings("[Connect Information]\r\nPort=3\r\nBaud=9600\r\n");
    dialog->Load();
    EXPECT_EQ(dialog->PortList()->currentIndex(), 2);
    EXPECT_EQ(dialog->BaudList()->currentText(), "9600");

    WriteSettings("[Connect Information]\r\nPort=12\r\n");
    ConnectWith([](CDlgSetCom* d) {
        EXPECT_EQ(d->PortList()->currentIndex(), -1);
        QTest::mouseClick(d->ConnectButton(), Qt::LeftButton);
        EXPECT_TRUE(test::WaitForOperations());
        EXPECT_TRUE(d->isVisible()); // stays for another try
        QTest::mouseClick(d->CancelButton(), Qt::LeftButton);
    });
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Failed to open com!");
    EXPECT_EQ(prompt.messages[0].caption, "QM7100 Workdesk");
    EXPECT_EQ(frame->Holder().CurrentKind(), "CS_NULL_MEAS");
}

TEST_F(FrameMeter, EnterConnectsToADevicePathAndStoresItUnchanged) {
    SimProcess sim({"--baud", "115200"});
    PointAt(sim, "115200");
    ConnectWith([&](CDlgSetCom* d) {
        ASSERT_EQ(d->PortList()->count(), 11);
        EXPECT_EQ(d->PortList()->currentIndex(), 10);
        EXPECT_EQ(d->PortList()->currentText().toStdString(), sim.Path());
        QTest::keyClick(d, Qt::Key_Return);
    });
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_FALSE(frame->ConnectDialog()->isVisible());
    EXPECT_TRUE(CLevantoApp::Instance().Port().IsOpen());
    const std::string ini = ReadFile(dir.File("setup.ini"));
    EXPECT_NE(ini.find("Port=" + sim.Path()), std::string::npos) << ini;
}

TEST_F(FrameMeter, AHandshakeFailureStoresNothing) {
    SimProcess sim({"--fault", "no-reply=1"});
    const std::string before =
        "[Connect Information]\r\nPort=" + sim.Path() + "\r\nBaud=115200\r\n";
    WriteSettings(before);
    ConnectWith([](CDlgSetCom* d) {
        QTest::mouseClick(d->ConnectButton(), Qt::LeftButton);
        EXPECT_TRUE(test::WaitForOperations());
        EXPECT_FALSE(d->Progress()->isVisible());
        QTest::mouseClick(d->CancelButton(), Qt::LeftButton);
    });
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Please check the connection !");
    EXPECT_EQ(ReadFile(dir.File("setup.ini")), before);
}

TEST_F(FrameMeter, AnUploadWithoutAFileKeepsTreeAndPaneAndUnsavedFilesAreAskedAbout) {
    CLevantoApp::Instance().Files().Assign(MakeSampleSet(1, 2));
    frame->RebuildFileTree();
    frame->Tree()->expandAll();
    DoubleClick(frame->Tree()->SectionItem(1, kTreeLevel));
    CBaseCtrlPane* pane = frame->Pane();
    // The first block fails: nothing takes the place of the files, tree and pane loaded.
    const auto upload = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--count", "3", "--baud", "4000000"});
        SimProcess sim(args);
        PointAt(sim);
        frame->CommandAction(RibbonTexts::Upload)->trigger();
        ASSERT_TRUE(test::WaitForOperations());
    };
    upload({"--fault", "bad-check=1:6B"});
    EXPECT_EQ(prompt.Texts(), QStringList{"Failed to read CH data,please check the connection !"});
    EXPECT_EQ(frame->Tree()->topLevelItemCount(), 2);
    EXPECT_EQ(frame->Pane(), pane);
    upload({});
    EXPECT_EQ(frame->Tree()->topLevelItemCount(), 3);
    // Not saved: Open and Exit ask, and Cancel keeps everything.
    frame->CommandAction(RibbonTexts::Open)->trigger();
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(prompt.filters.isEmpty()) << "no file dialog after Cancel";
    EXPECT_EQ(prompt.questions.size(), 2);
}

TEST_F(FrameMeter, ATypedPortIsCheckedAndStoredAsTypedAndAdaptersAreOfferedByName) {
    SimProcess sim({"--baud", "115200"});
    WriteSettings("[Connect Information]\r\nPort=4\r\nBaud=115200\r\n");
    for (const std::string& text : {std::string("COM0"), sim.Path()})
        ConnectWith([&](CDlgSetCom* d) {
            if (QLineEdit* entry = d->PortList()->lineEdit()) {
                entry->selectAll();
                QTest::keyClicks(entry, QString::fromStdString(text));
            }
            QTest::mouseClick(d->ConnectButton(), Qt::LeftButton);
            EXPECT_TRUE(test::WaitForOperations());
            if (d->isVisible())
                QTest::mouseClick(d->CancelButton(), Qt::LeftButton);
        });
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].detail,
              QString::fromUtf8("Port numbers go from COM1 to COM256. \u201CCOM0\u201D"));
    EXPECT_NE(ReadFile(dir.File("setup.ini")).find("Port=" + sim.Path() + "\r\n"),
              std::string::npos);

    // An adapter plugged in after the dialog opened shows when the list opens.
    CDlgSetCom* dialog = frame->ConnectDialog();
    const std::string folder = dir.File("by-id");
    std::filesystem::create_directories(folder);
    dialog->SetAdapterFolder(folder);
    dialog->Load();
    const std::string adapter = folder + "/usb-FTDI_FT232R_USB_UART_A10K3ZQ1-if00-port0";
    std::filesystem::create_symlink(sim.Path(), adapter);
    dialog->PortList()->showPopup();
    dialog->PortList()->hidePopup();
    ASSERT_EQ(dialog->PortList()->count(), 12); // COM1-10, the stored path, the adapter
    EXPECT_EQ(dialog->PortList()->itemText(11).toStdString(), adapter);
}

TEST(FrameConnectDetail, PermissionFailureNamesTheDialoutGroup) {
    EXPECT_TRUE(PortAccessDetail("/dev/ttyUSB0", true, EACCES).contains("dialout"));
    EXPECT_TRUE(PortAccessDetail("/dev/ttyUSB0", false, EACCES).isEmpty());
    EXPECT_TRUE(PortAccessDetail("/dev/ttyUSB0", true, 0).isEmpty());
}

} // namespace
} // namespace qm
