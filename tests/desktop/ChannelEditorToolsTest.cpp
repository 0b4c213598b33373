// The channel editor's plan tools and undo, driven by clicks and keys.
#include <QApplication>
#include <QPushButton>
#include <QTest>
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
#include "measurement/SampleGenerator.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

class ChannelEditorTools : public ::testing::Test {
protected:
    void SetUp() override {
        previousSettings = SettingsPath();
        SetSettingsPath(dir.File("setup.ini"));
        dialog = std::make_unique<CDlgEditChannel>();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        dialog->OpenFile(PlanFile(1, 6, "b.f71CH"));
        ASSERT_EQ(Grid()->rowCount(), 6);
    }
    void TearDown() override {
        dialog.reset();
        SetSettingsPath(previousSettings);
    }
    // The first `count` sample entries of the kind, highest frequency first.
    std::string PlanFile(int kind, std::size_t count, const std::string& name) {
        std::vector<CommonChannel> records;
        for (const auto& entry : SamplePlanEntries(kind, 0))
            if (records.size() < count)
                records.push_back(RecordFromEntry(kind, entry));
        std::reverse(records.begin(), records.end());
        const std::string path = dir.File(name);
        EXPECT_EQ(SaveChannelPlanFile(path, kind, records), PlanFileStatus::Ok);
        return path;
    }
    CComboListCtrl* Grid() const { return dialog->Grid(); }
    void Press(CDlgEditChannel::ButtonId id) {
        QTest::mouseClick(dialog->Button(id), Qt::LeftButton);
        EXPECT_TRUE(test::WaitForOperations());
    }
    void ClickRow(int row, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, mods,
                          Grid()->visualRect(Grid()->model()->index(row, 0)).center());
    }
    void Key(int key) { QTest::keyClick(Grid(), static_cast<Qt::Key>(key), Qt::ControlModifier); }
    // A row's texts without the ID column, which numbers the rows.
    QStringList Row(int row) const {
        QStringList texts;
        for (int c = 1; c < Grid()->columnCount(); ++c)
            texts << Grid()->item(row, c)->text();
        return texts;
    }
    std::vector<std::uint32_t> Frequencies() const {
        std::vector<std::uint32_t> f;
        for (const CommonChannel& r : CLevantoApp::Instance().Plans().Records())
            f.push_back(r.Frequency());
        return f;
    }

    test::TempDir dir;
    std::string previousSettings;
    test::FakePrompt prompt;
    ScopedPrompt scope{prompt};
    std::unique_ptr<CDlgEditChannel> dialog;
};

TEST_F(ChannelEditorTools, InsertDeleteOrderWithUndoAndRedo) {
    const QStringList second = Row(2);
    ClickRow(2);
    Press(CDlgEditChannel::kInsert);
    ASSERT_EQ(Grid()->rowCount(), 7);
    EXPECT_EQ(Row(3), second);
    EXPECT_EQ(Grid()->currentRow(), 3);

    ClickRow(0);
    ClickRow(1, Qt::ControlModifier);
    Press(CDlgEditChannel::kDelete);
    ASSERT_EQ(Grid()->rowCount(), 5);
    EXPECT_EQ(Row(0), second);

    std::vector<std::uint32_t> before = Frequencies();
    Press(CDlgEditChannel::kOrder);
    std::vector<std::uint32_t> sorted = before;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(Frequencies(), sorted);
    EXPECT_NE(before, sorted);

    Key(Qt::Key_Z);
    EXPECT_EQ(Frequencies(), before);
    Key(Qt::Key_Z);
    EXPECT_EQ(Grid()->rowCount(), 7);
    Key(Qt::Key_Y);
    Key(Qt::Key_Y);
    EXPECT_EQ(Frequencies(), sorted);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ChannelEditorTools, CellEditUndoneAndARefusedEditAddsNoStep) {
    const QString eia = Grid()->item(0, 1)->text();
    Grid()->EndLabelEdit(0, 1, "250");
    EXPECT_EQ(Grid()->item(0, 1)->text(), "250");
    Grid()->EndLabelEdit(1, 1, "250"); // in use: refused
    ASSERT_EQ(prompt.messages.size(), 1u);
    Key(Qt::Key_Z);
    EXPECT_EQ(Grid()->item(0, 1)->text(), eia);
    Key(Qt::Key_Y);
    EXPECT_EQ(Grid()->item(0, 1)->text(), "250");
}

TEST_F(ChannelEditorTools, PasteIntoAnotherPlanOfTheSameKindOnly) {
    ClickRow(4);
    const QStringList copied = Row(4);
    Press(CDlgEditChannel::kCopy);
    dialog->OpenFile(PlanFile(1, 4, "c.f71CH"));
    ClickRow(0);
    Press(CDlgEditChannel::kPaste);
    ASSERT_EQ(Grid()->rowCount(), 5);
    EXPECT_EQ(Row(1), copied);
    EXPECT_TRUE(prompt.messages.empty());

    dialog->OpenFile(PlanFile(2, 4, "t.f71CH"));
    ClickRow(0);
    Press(CDlgEditChannel::kPaste);
    EXPECT_EQ(Grid()->rowCount(), 4);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text.toStdString(),
              PlanEditRefusalText(PlanEditRefusal::OtherKind));
    Key(Qt::Key_Z); // the opened plan starts a new history
    EXPECT_EQ(Grid()->rowCount(), 4);
}

} // namespace
} // namespace qm
