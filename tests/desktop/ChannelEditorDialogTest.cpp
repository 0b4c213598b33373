// The channel editor window against the simulator: transfers, files, cell edits and closing.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "OperationWait.h"
#include "app/Settings.h"
#include "channels/ChannelPlanFile.h"
#include "channels/ChannelRowTexts.h"
#include "desktop/CLevantoApp.h"
#include "desktop/channels/CComboListCtrl.h"
#include "desktop/channels/CDlgEditChannel.h"
#include "desktop/channels/CInPlaceEditors.h"
#include "measurement/SampleGenerator.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::SimProcess;

class ChannelEditor : public ::testing::Test {
protected:
    void SetUp() override {
        previousSettings = SettingsPath();
        SetSettingsPath(dir.File("setup.ini"));
    }
    void TearDown() override {
        dialog.reset();
        SetSettingsPath(previousSettings);
    }
    // Starts the simulator, points the settings at it and opens the editor.
    void Start(std::vector<std::string> args) {
        args.insert(args.end(), {"--log", log});
        sim = std::make_unique<SimProcess>(args);
        ASSERT_FALSE(sim->Path().empty());
        Settings settings;
        settings.SetPort(sim->Path());
        settings.SetBaud("115200");
        OpenDialog();
    }
    void OpenDialog() {
        dialog = std::make_unique<CDlgEditChannel>();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    void Press(CDlgEditChannel::ButtonId id) {
        QTest::mouseClick(dialog->Button(id), Qt::LeftButton);
        EXPECT_TRUE(test::WaitForOperations());
    }
    CComboListCtrl* Grid() const { return dialog->Grid(); }
    void ClickCell(int row, int column) {
        Grid()->scrollTo(Grid()->model()->index(row, column));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                          Grid()->visualRect(Grid()->model()->index(row, column)).center());
    }
    QString Cell(int row, int column) const { return Grid()->item(row, column)->text(); }
    // A plan file of the first `count` sample entries of the kind.
    std::string PlanFile(int kind, std::size_t count, const std::string& name) {
        std::vector<CommonChannel> records;
        for (const auto& entry : SamplePlanEntries(kind, 0))
            if (records.size() < count)
                records.push_back(RecordFromEntry(kind, entry));
        const std::string path = dir.File(name);
        EXPECT_EQ(SaveChannelPlanFile(path, kind, records), PlanFileStatus::Ok);
        return path;
    }
    bool GridMatchesModel() const {
        const CChannelGridModel& model = dialog->Model();
        if (static_cast<std::size_t>(Grid()->rowCount()) != model.RowCount() ||
            Grid()->columnCount() != model.ColumnCount())
            return false;
        for (int r = 0; r < Grid()->rowCount(); ++r)
            for (int c = 0; c < Grid()->columnCount(); ++c)
                if (Cell(r, c).toStdString() != model.Cell(static_cast<std::size_t>(r), c))
                    return false;
        return true;
    }

    test::TempDir dir;
    std::string log = dir.File("frames.log");
    std::string previousSettings;
    test::FakePrompt prompt;
    ScopedPrompt scope{prompt};
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<CDlgEditChannel> dialog;
};

TEST_F(ChannelEditor, OpensMaximizedWithoutAPlan) {
    CLevantoApp::Instance().Plans().Append(CommonChannel{});
    OpenDialog();
    EXPECT_TRUE(dialog->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(CLevantoApp::Instance().Plans().Empty()) << "cleared when the editor opens";
    EXPECT_EQ(dialog->SlotList()->currentText(), "A");
    EXPECT_EQ(dialog->SlotList()->count(), 5);
    EXPECT_FALSE(dialog->Progress()->isVisible());
    EXPECT_EQ(Grid()->columnCount(), 0);
    EXPECT_TRUE(dialog->Button(CDlgEditChannel::kCopy)->isVisible());
    EXPECT_FALSE(dialog->Button(CDlgEditChannel::kUpload)->icon().isNull());
    // Closing an empty plan asks nothing; minimizing is ignored.
    dialog->setWindowState(dialog->windowState() | Qt::WindowMinimized);
    QTRY_VERIFY(!(dialog->windowState() & Qt::WindowMinimized));
    dialog->close();
    EXPECT_TRUE(prompt.questions.isEmpty());
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ChannelEditor, UploadShowsThePlanAndCellEditsFollowTheRules) {
    Start({"--model", "7100T"});
    dialog->SlotList()->setCurrentIndex(1);
    Press(CDlgEditChannel::kUpload);
    EXPECT_TRUE(prompt.messages.empty()) << prompt.Texts().join("|").toStdString();
    const auto entries = SamplePlanEntries(1, 1); // the simulator's slot B
    ASSERT_EQ(Grid()->rowCount(), static_cast<int>(entries.size()));
    ASSERT_EQ(Grid()->columnCount(), 16);
    EXPECT_EQ(Grid()->horizontalHeaderItem(11)->text(), "DVB-T Mode");
    EXPECT_GE(Grid()->columnWidth(15), 85);
    EXPECT_EQ(Grid()->columnWidth(0), 55);
    EXPECT_EQ(Grid()->selectionModel()->selectedRows().size(), Grid()->rowCount());
    EXPECT_EQ(Grid()->currentRow(), Grid()->rowCount() - 1);
    EXPECT_FALSE(dialog->Progress()->isVisible());
    EXPECT_TRUE(dialog->isEnabled() && dialog->Button(CDlgEditChannel::kUpload)->isEnabled());
    EXPECT_TRUE(GridMatchesModel());
    const std::vector<int> codes = test::LoggedCodes(log);
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes[0], 0x2B);
    EXPECT_EQ(codes[1], 0x81);
    EXPECT_EQ(codes.back(), 0x09);

    // Freq of row 0: one click focuses the row and opens the text box; truncation, not rounding.
    ClickCell(0, kColFreq);
    auto* edit = qobject_cast<CInPlaceEdit*>(Grid()->ActiveEditor());
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "474.009");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(CLevantoApp::Instance().Plans().At(0).Frequency(), 47400u);
    EXPECT_EQ(Cell(0, kColFreq), "474.00");
    // A refused EIA number is reported and the record's number comes back.
    const QString eia = Cell(0, kColEia);
    ClickCell(0, kColEia);
    QTest::keyClicks(Grid()->ActiveEditor(), "256");
    QTest::keyClick(Grid()->ActiveEditor(), Qt::Key_Return);
    ASSERT_EQ(prompt.Texts(), QStringList{"'EIA CH' should be from 0 to 255 !"});
    EXPECT_EQ(Cell(0, kColEia), eia);
    // The Type drop-down offers the kind's types for the current row.
    ClickCell(1, kColType);
    auto* combo = qobject_cast<CInPlaceCombo*>(Grid()->ActiveEditor());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), "DVB-T");
    combo->setCurrentIndex(2);
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(Cell(1, kColType), "DVB-T");
    EXPECT_EQ(Cell(1, kColHierarchy), "NONE");
    EXPECT_TRUE(GridMatchesModel());

    // Download to slot C, read it back: the edited plan.
    const std::vector<CommonChannel> edited = CLevantoApp::Instance().Plans().Records();
    dialog->SlotList()->setCurrentIndex(2);
    Press(CDlgEditChannel::kDownload);
    EXPECT_EQ(prompt.Texts().back(), "DownLoad CH plan is successfully!");
    EXPECT_EQ(dialog->DownloadSlot(), 2);
    Press(CDlgEditChannel::kUpload);
    ASSERT_EQ(CLevantoApp::Instance().Plans().Count(), edited.size());
    for (std::size_t i = 0; i < edited.size(); ++i)
        EXPECT_EQ(
            std::memcmp(&edited[i], &CLevantoApp::Instance().Plans().At(i), sizeof(CommonChannel)),
            0)
            << i;
}

TEST_F(ChannelEditor, DownloadOfAnEmptyGridAndOfThreeChannels) {
    Start({"--model", "7100T"});
    Press(CDlgEditChannel::kDownload);
    EXPECT_EQ(prompt.Texts(), QStringList{"Please upload CH plan first!"});
    EXPECT_EQ(test::LoggedCodes(log), (std::vector<int>{0x2B})) << "nothing sent but the connect";
    EXPECT_FALSE(dialog->Progress()->isVisible());

    prompt.openNames << QString::fromStdString(PlanFile(1, 3, "three.f71CH"));
    Press(CDlgEditChannel::kOpen);
    ASSERT_EQ(Grid()->rowCount(), 3);
    prompt.messages.clear();
    dialog->SlotList()->setCurrentIndex(3);
    Press(CDlgEditChannel::kDownload);
    EXPECT_EQ(prompt.Texts(), QStringList{"DownLoad CH plan is unsuccessfully!"});
    const std::vector<int> codes = test::LoggedCodes(log);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x67), 0);
    EXPECT_EQ(codes.end()[-2], 0x28) << "the slot is still made current";
    EXPECT_EQ(codes.back(), 0x09);
}

TEST_F(ChannelEditor, AFailedReadHalfWayLeavesColumnsWithoutRows) {
    Start({"--model", "7100Q", "--fault", "bad-check=2:66", "--turnaround-us", "30000"});
    // While the transfer runs the window paints, its controls wait and it cannot be closed.
    bool busy = false;
    QTimer::singleShot(40, [&] {
        busy = dialog->Progress()->isVisible() && !Grid()->isEnabled() &&
               !dialog->Button(CDlgEditChannel::kDownload)->isEnabled();
        dialog->close();
    });
    Press(CDlgEditChannel::kUpload);
    EXPECT_TRUE(busy);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(prompt.Texts(), QStringList{"Failed to read current CH!"});
    EXPECT_EQ(prompt.messages[0].caption, "QM7100 Workdesk");
    EXPECT_EQ(Grid()->columnCount(), 11);
    EXPECT_EQ(Grid()->rowCount(), 0);
    EXPECT_TRUE(CLevantoApp::Instance().Plans().Empty());
    EXPECT_FALSE(dialog->Progress()->isVisible());
    // Kind 0: eleven equal columns filling the grid but the remainder of the division.
    int total = 0;
    for (int c = 0; c < 11; ++c)
        total += Grid()->columnWidth(c);
    const int client = Grid()->viewport()->width();
    EXPECT_EQ(total, client - client % 11);
    EXPECT_EQ(Grid()->columnWidth(0), client / 11);
    // The next read succeeds.
    Press(CDlgEditChannel::kUpload);
    EXPECT_EQ(Grid()->rowCount(), static_cast<int>(SamplePlanEntries(0, 0).size()));
}

TEST_F(ChannelEditor, NoMeterLeavesTheGridWithoutColumns) {
    Settings settings;
    settings.SetPort(dir.File("no-such-port"));
    OpenDialog();
    Press(CDlgEditChannel::kUpload);
    EXPECT_EQ(prompt.Texts(), QStringList{"Failed ! Please check the connection !"});
    EXPECT_EQ(Grid()->columnCount(), 0);
}

TEST_F(ChannelEditor, FilesRoundTripAndBadFilesChangeNothing) {
    OpenDialog();
    // Save of an empty plan writes nothing and says nothing.
    prompt.saveNames << QString::fromStdString(dir.File("empty.f71CH"));
    Press(CDlgEditChannel::kSave);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.File("empty.f71CH"))));
    EXPECT_TRUE(prompt.messages.empty());

    const std::string five = PlanFile(1, 5, "five.f71CH");
    prompt.openNames << QString::fromStdString(five);
    Press(CDlgEditChannel::kOpen);
    EXPECT_EQ(prompt.filters.back(), "*.f71CH|*.f71CH||");
    ASSERT_EQ(Grid()->rowCount(), 5);
    EXPECT_EQ(Grid()->columnCount(), 16);
    EXPECT_EQ(dialog->ShownKind(), 1);
    prompt.saveNames << QString::fromStdString(dir.File("again.f71CH"));
    Press(CDlgEditChannel::kSave);
    EXPECT_EQ(test::ReadFile(dir.File("again.f71CH")), test::ReadFile(five));

    // A wrong format tag and a missing file: reported, the plan shown stays.
    std::string bytes = test::ReadFile(five);
    bytes[4] = 100;
    test::WriteFile(dir.File("tag.f71CH"), bytes);
    prompt.openNames << QString::fromStdString(dir.File("tag.f71CH"))
                     << QString::fromStdString(dir.File("missing.f71CH"));
    Press(CDlgEditChannel::kOpen);
    Press(CDlgEditChannel::kOpen);
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(Grid()->rowCount(), 5);
    EXPECT_EQ(CLevantoApp::Instance().Plans().Count(), 5u);
    // Saving where no file can be made is reported too.
    prompt.saveNames << QString::fromStdString(dir.File("no/such/dir.f71CH"));
    Press(CDlgEditChannel::kSave);
    EXPECT_EQ(prompt.messages.size(), 3u);
}

TEST_F(ChannelEditor, ClosingAsksToSaveAndTheGridKeysEndWithoutAsking) {
    OpenDialog();
    prompt.openNames << QString::fromStdString(PlanFile(2, 6, "six.f71CH"));
    Press(CDlgEditChannel::kOpen);
    ASSERT_EQ(Grid()->rowCount(), 6);
    // Cancel still closes; nothing is saved.
    prompt.answers.push_back(IPrompt::Answer::No);
    dialog->close();
    EXPECT_EQ(prompt.questions, QStringList{"Save Channels to file?"});
    EXPECT_FALSE(dialog->isVisible());
    // OK saves first.
    dialog->show();
    prompt.answers.push_back(IPrompt::Answer::Yes);
    prompt.saveNames << QString::fromStdString(dir.File("closing.f71CH"));
    dialog->close();
    EXPECT_EQ(test::ReadFile(dir.File("closing.f71CH")), test::ReadFile(dir.File("six.f71CH")));
    // Enter on the grid ends the dialog through the dialog keys: no question.
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(prompt.questions.size(), 2);
}

TEST_F(ChannelEditor, EscapeAndAReadAskBeforeUnsavedEditsGo) {
    Start({"--model", "7100T"});
    prompt.openNames << QString::fromStdString(PlanFile(1, 6, "six.f71CH"));
    Press(CDlgEditChannel::kOpen);
    ClickCell(0, kColFreq);
    QTest::keyClicks(Grid()->ActiveEditor(), "474");
    QTest::keyClick(Grid()->ActiveEditor(), Qt::Key_Return);
    // Cancel keeps the window and the edit, and the meter is not asked; Discard lets go.
    prompt.answers = {IPrompt::Answer::Cancel, IPrompt::Answer::Cancel, IPrompt::Answer::No};
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    Press(CDlgEditChannel::kUpload);
    EXPECT_EQ(Cell(0, kColFreq), "474.00");
    EXPECT_TRUE(test::LoggedCodes(log).empty());
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(prompt.questions, QStringList(3, "Save Channels to file?"));
}

TEST_F(ChannelEditor, APlanFileCutShortIsSaidAndItsDownloadAsksFirst) {
    Start({"--model", "7100T2"});
    const std::string whole = test::ReadFile(PlanFile(2, 56, "whole.f71CH"));
    test::WriteFile(dir.File("cut.f71CH"), whole.substr(0, 800));
    prompt.openNames << QString::fromStdString(dir.File("cut.f71CH"));
    Press(CDlgEditChannel::kOpen);
    prompt.answers = {IPrompt::Answer::No};
    Press(CDlgEditChannel::kDownload);
    EXPECT_EQ(prompt.Texts(), QStringList{"The channel-plan file is cut short: 29 of its 56 "
                                          "channels were filled with zeros."});
    EXPECT_TRUE(prompt.questions.value(0).startsWith("29 channels of this plan were filled with"));
    EXPECT_TRUE(test::LoggedCodes(log).empty()) << "nothing sent";
}

} // namespace
} // namespace qm
