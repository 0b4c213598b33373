// Pictures of the channel editor for the documentation (scripts/screenshots-channels.sh runs
// this under xvfb; it is disabled in ordinary test runs).
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "OperationWait.h"
#include "app/Settings.h"
#include "channels/ChannelPlanFile.h"
#include "channels/ChannelRowTexts.h"
#include "desktop/channels/CComboListCtrl.h"
#include "desktop/channels/CDlgEditChannel.h"
#include "desktop/channels/CInPlaceEditors.h"
#include "measurement/SampleGenerator.h"
#include "res/StringTable.h"
#include "support/SimProcess.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

class ChannelEditorScreenshots : public ::testing::Test {
protected:
    void SetUp() override {
        outDir = qEnvironmentVariable("QM_SCREENSHOT_DIR", ".");
        previousSettings = SettingsPath();
        SetSettingsPath(dir.File("setup.ini"));
        // A kind 1 plan of 40 channels in slot A of the simulator.
        std::vector<CommonChannel> records;
        for (const auto& entry : SamplePlanEntries(1, 0))
            if (records.size() < 40)
                records.push_back(RecordFromEntry(1, entry));
        ASSERT_EQ(records.size(), 40u);
        ASSERT_EQ(SaveChannelPlanFile(dir.File("forty.f71CH"), 1, records), PlanFileStatus::Ok);
        sim = std::make_unique<test::SimProcess>(
            std::vector<std::string>{"--model", "7100T", "--plan", "A=" + dir.File("forty.f71CH")});
        ASSERT_FALSE(sim->Path().empty());
        Settings settings;
        settings.SetPort(sim->Path());
        settings.SetBaud("115200");
    }
    void TearDown() override {
        SetLanguageBase(kLanguageEnglish);
        SetSettingsPath(previousSettings);
    }
    std::unique_ptr<CDlgEditChannel> OpenAndUpload() {
        auto dialog = std::make_unique<CDlgEditChannel>();
        // No window manager maximizes under xvfb: a large window instead.
        dialog->setWindowState(Qt::WindowNoState);
        dialog->setGeometry(0, 0, 1320, 760);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        QTest::qWait(300);
        QTest::mouseClick(dialog->Button(CDlgEditChannel::kUpload), Qt::LeftButton);
        EXPECT_TRUE(test::WaitForOperations());
        EXPECT_TRUE(prompt.messages.empty());
        EXPECT_EQ(dialog->Grid()->rowCount(), 40);
        QTest::qWait(200);
        return dialog;
    }
    void ClickCell(CComboListCtrl* grid, int row, int column) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, column)).center());
        QTest::qWait(200);
    }
    // The whole screen where the window lies: drop-down lists are windows of their own.
    void SaveScreen(QWidget* window, const QString& name) {
        const QImage picture =
            window->screen()->grabWindow(0).toImage().copy(window->frameGeometry());
        ASSERT_TRUE(picture.save(QDir(outDir).filePath(name)));
    }

    // The drop-down's list is a window of its own, which a window manager-less X server closes
    // at once: it is drawn below the cell the way it drops.
    void SaveWithList(QWidget* window, CInPlaceCombo* combo, const QString& name) {
        QImage picture = window->screen()->grabWindow(0).toImage().copy(window->frameGeometry());
        const int rows = std::min(combo->count(), combo->maxVisibleItems());
        const int rowHeight = combo->height();
        const QPoint at = combo->mapTo(window, QPoint(0, combo->height()));
        const QRect box(at, QSize(combo->width() + 24, rows * rowHeight + 2));
        QPainter painter(&picture);
        painter.fillRect(box, Qt::white);
        painter.setPen(QColor(120, 120, 120));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setFont(combo->font());
        for (int i = 0; i < rows; ++i) {
            const QRect line(box.left() + 1, box.top() + 1 + i * rowHeight, box.width() - 2,
                             rowHeight);
            const bool current = i == combo->currentIndex();
            if (current)
                painter.fillRect(line, QColor(0, 120, 215));
            painter.setPen(current ? Qt::white : Qt::black);
            painter.drawText(line.adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                             combo->itemText(i));
        }
        painter.end();
        ASSERT_TRUE(picture.save(QDir(outDir).filePath(name)));
    }

    test::TempDir dir;
    QString outDir;
    std::string previousSettings;
    test::FakePrompt prompt;
    ScopedPrompt scope{prompt};
    std::unique_ptr<test::SimProcess> sim;
};

TEST_F(ChannelEditorScreenshots, DISABLED_Take) {
    {
        auto dialog = OpenAndUpload();
        CComboListCtrl* grid = dialog->Grid();
        SaveScreen(dialog.get(), "channel-editor.png");

        ClickCell(grid, 3, kColType);
        QPointer<CInPlaceCombo> combo = qobject_cast<CInPlaceCombo*>(grid->ActiveEditor());
        ASSERT_FALSE(combo.isNull());
        SaveWithList(dialog.get(), combo, "channel-editor-combo.png");
        if (combo)
            grid->EndEdit();
        QTest::qWait(200);

        ClickCell(grid, 5, kColFreq);
        ASSERT_NE(qobject_cast<CInPlaceEdit*>(grid->ActiveEditor()), nullptr);
        QTest::qWait(200);
        SaveScreen(dialog.get(), "channel-editor-edit.png");
        grid->EndEdit();

        // The plan tools: row 4 inserted again after itself.
        grid->scrollToTop();
        ClickCell(grid, 4, 0);
        EXPECT_EQ(grid->currentRow(), 4);
        QTest::mouseClick(dialog->Button(CDlgEditChannel::kInsert), Qt::LeftButton);
        EXPECT_EQ(grid->rowCount(), 41);
        QTest::qWait(200);
        SaveScreen(dialog.get(), "channel-editor-tools.png");
        dialog->reject();
    }
    SetLanguageBase(kLanguageChinese);
    auto dialog = OpenAndUpload();
    SaveScreen(dialog.get(), "channel-editor-zh.png");
    dialog->reject();
}

} // namespace
} // namespace qm
