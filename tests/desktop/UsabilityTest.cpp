// The main window from the keyboard and for assistive tools, its status bar and a file given
// at start.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QTableWidget>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "FrameTestSupport.h"
#include "OperationWait.h"
#include "app/ProjectFile.h"
#include "desktop/frame/CChartHolder.h"
#include "desktop/frame/CLevantoView.h"
#include "desktop/frame/CRibbonBar.h"
#include "desktop/frame/WorkdeskStartup.h"
#include "desktop/frame/WorkdeskStatusBar.h"
#include "desktop/limits/ReportDetailsDialog.h"

namespace qm {
namespace {

// Takes the shortcut events of the actions it watches, so that no dialog opens.
struct ShortcutCatcher : QObject {
    bool eventFilter(QObject* target, QEvent* event) override {
        const bool shortcut = event->type() == QEvent::Shortcut;
        if (shortcut && !static_cast<QShortcutEvent*>(event)->isAmbiguous())
            caught.push_back(static_cast<QAction*>(target));
        return shortcut;
    }
    std::vector<QAction*> caught;
};

// The main window with the real pane dialogs and the sample project loaded.
class Usability : public ::testing::Test, public test::FrameFixture {
protected:
    Usability() {
        frame.reset(); // for one with the real pane dialogs
        frame = std::make_unique<CMainFrame>(CMainFrame::Options{false, {}});
        frame->show();
        frame->activateWindow();
        (void)QTest::qWaitForWindowActive(frame.get());
        CLevantoApp::Instance().Files().Assign(
            LoadProject(test::SourcePath("samples/sample.f71")).elements);
        frame->RebuildFileTree();
        frame->Tree()->expandAll();
    }
    void Open(int value) {
        frame->Tree()->setCurrentItem(frame->Tree()->SectionItem(0, value));
        frame->Tree()->setFocus();
        QTest::keyClick(frame->Tree(), Qt::Key_Return);
    }
    QTableWidget* Table(const char* tag) const {
        return frame->PaneDialog()->findChild<QTableWidget*>(tag);
    }
    QString MarkTexts() const {
        return Table("Mark")->item(0, 1)->text() + Table("Mark")->item(1, 1)->text();
    }
};

TEST_F(Usability, EveryRibbonCommandRunsFromItsTwoKeysWhichItsTipNames) {
    const auto command = [&](RibbonTexts::Command c) { return frame->CommandAction(c); };
    const std::pair<QAction*, std::array<const char*, 2>> cases[] = {
        {command(RibbonTexts::Upload), {"Ctrl+U", "Alt+U"}},
        {command(RibbonTexts::Open), {"Ctrl+O", "Alt+O"}},
        {command(RibbonTexts::Save), {"Ctrl+S", "Alt+S"}},
        {command(RibbonTexts::Connect), {"Ctrl+K", "Alt+C"}},
        {command(RibbonTexts::ChannelEditor), {"Ctrl+E", "Alt+E"}},
        {command(RibbonTexts::PictureCapture), {"Ctrl+P", "Alt+P"}},
        {command(RibbonTexts::TimeUnit), {"Ctrl+T", "Alt+T"}},
        {command(RibbonTexts::About), {"F1", "Alt+A"}},
        {frame->findChild<QAction*>("reportAction"), {"Ctrl+R", "Alt+R"}},
        {frame->findChild<QAction*>("compareCommand"), {"Ctrl+M", "Alt+M"}},
    };
    Open(kTreeScan); // its buttons must take no key away from the ribbon
    ShortcutCatcher catcher;
    for (const auto& [action, keys] : cases)
        action->installEventFilter(&catcher);
    for (const auto& [action, keys] : cases)
        for (const char* key : keys) {
            catcher.caught.clear();
            QTest::keySequence(frame->PaneDialog(), QKeySequence(key));
            EXPECT_EQ(catcher.caught, std::vector<QAction*>{action}) << key;
            EXPECT_TRUE(action->toolTip().contains(key)) << action->toolTip().toStdString();
        }
    // Enter, like Space, presses a focused ribbon button (Save asks for a name).
    QToolButton* save = frame->Ribbon()->Buttons()[RibbonTexts::Save];
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        save->setFocus();
        QTest::keyClick(save, key);
    }
    EXPECT_EQ(prompt.filters.size(), 3);
}

TEST_F(Usability, TabLeavesAReadOnlyTableAndF6GoesRoundTreeChartAndPane) {
    Open(kTreeTilt);
    for (const char* tag : {"Parameters", "Mark", "List"}) {
        Table(tag)->setFocus();
        QTest::keyClick(Table(tag), Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), Table(tag)) << tag;
    }
    const auto area = [this] {
        QWidget* w = QApplication::focusWidget();
        return w == frame->Tree()                     ? 0
               : w == frame->View()                   ? 1
               : frame->PaneDialog()->isAncestorOf(w) ? 2
                                                      : -1;
    };
    frame->Tree()->setFocus();
    for (auto [back, expected] : {std::pair{false, 1}, {false, 2}, {false, 0}, {true, 2}}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(area(), expected);
    }
}

TEST_F(Usability, TheMarkerMovedByKeysIsTheMarkerMovedByADragAndIsAnnounced) {
    for (int value : {kTreeScan, kTreeTilt, kTreeLimit, kTreeSpectrum}) {
        Open(value);
        CLevantoView* view = frame->View();
        const CInstrument* chart = frame->Holder().Current();
        const int n = chart->MarkerPointCount();
        ASSERT_GT(n, 2) << value;
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(view);
        // The x inside the plot where a click picks point k.
        const auto xOf = [&](int k) {
            const CDevGDI::State s = chart->Surface()->GetState();
            int x = CInstrument::kLeftMargin + 1;
            while ((value == kTreeSpectrum ? CDevGDI::PointNearest(s, x, n)
                                           : CDevGDI::BarUnderPointer(s, x, n)) != k)
                ++x;
            return x;
        };
        const std::pair<std::vector<Qt::Key>, int> walks[] = {
            {{Qt::Key_End}, n - 1},
            {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Right}, 2},
            {{Qt::Key_End, Qt::Key_Left}, n - 2},
            {{Qt::Key_Home, Qt::Key_Left}, 0}, // nothing before the first
        };
        for (const auto& [keys, point] : walks) {
            view->setFocus();
            for (Qt::Key key : keys)
                QTest::keyClick(view, key);
            const QString byKeys = MarkTexts();
            EXPECT_EQ(access->text(QAccessible::Value),
                      QStringLiteral("Marker %1 of %2").arg(point + 1).arg(n));
            EXPECT_EQ(access->valueInterface()->currentValue().toInt(), point + 1);
            // Elsewhere first, then a click on the same point.
            QTest::keyClick(view, point == 0 ? Qt::Key_End : Qt::Key_Home);
            QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(xOf(point), view->height() / 2));
            EXPECT_EQ(chart->MarkerPosition(), point) << value;
            EXPECT_EQ(MarkTexts(), byKeys) << value << " point " << point;
        }
    }
}

TEST_F(Usability, TheStatusBarSaysWhatSavesExportsAndTheReportCameTo) {
    const auto click = [this](const char* name) {
        QTest::mouseClick(frame->PaneDialog()->findChild<QAbstractButton*>(name), Qt::LeftButton);
    };
    const std::tuple<const char*, std::function<void()>, QString> cases[] = {
        {"site.f71", [&] { QTest::keyClick(frame->Tree(), Qt::Key_S, Qt::ControlModifier); },
         "Saved site.f71"},
        {"level.csv", [&] { Open(kTreeLevel), click("exportButton"); }, "Exported level.csv"},
        {"scan.csv", [&] { Open(kTreeScan), click("fileButton"), click("printButton"); },
         "Exported scan.csv"},
        {"report.html",
         [&] {
             QTest::keyClick(frame->Tree(), Qt::Key_R, Qt::ControlModifier);
             for (QDialog* d : frame->findChildren<QDialog*>())
                 if (auto* details = dynamic_cast<ReportDetailsDialog*>(d))
                     static_cast<QDialog*>(details)->accept();
             EXPECT_TRUE(test::WaitForOperations());
         },
         "Report written"},
        {"no/such/dir/x.f71", [&] { frame->SaveProject(); }, ""}, // its message box says it
    };
    for (const auto& [file, act, said] : cases) {
        frame->Status()->ShowOutcome({});
        prompt.saveNames << QString::fromStdString(dir.File(file));
        act();
        EXPECT_EQ(frame->Status()->OutcomeText(), said) << file;
        EXPECT_EQ(std::filesystem::exists(dir.File(file)), !said.isEmpty()) << file;
    }
}

TEST_F(Usability, EveryTableTreeChartAndRibbonButtonHasANameAndADescription) {
    for (int value : {kTreeLevel, kTreeTilt, kTreeScan, kTreeSpectrum, kTreeHum, kTreeLimit}) {
        Open(value);
        std::vector<QWidget*> named{frame->Tree(), frame->View()};
        for (QTableWidget* table : frame->PaneDialog()->findChildren<QTableWidget*>())
            named.push_back(table);
        named.insert(named.end(), frame->Ribbon()->Buttons().begin(),
                     frame->Ribbon()->Buttons().end());
        for (QWidget* w : named)
            for (QAccessible::Text text : {QAccessible::Name, QAccessible::Description})
                EXPECT_FALSE(QAccessible::queryAccessibleInterface(w)->text(text).isEmpty())
                    << value << " " << w->objectName().toStdString();
    }
}

TEST_F(Usability, AFileGivenAtStartIsShownAndTheConnectionDialogStaysAway) {
    ASSERT_EQ(SaveProject(dir.File("site.f71"), CLevantoApp::Instance().Files().Elements()),
              ProjectStatus::Ok);
    CLevantoApp::Instance().Files().Clear();
    frame->RebuildFileTree();
    int connectDialogs = 0;
    QObject::connect(frame.get(), &CMainFrame::DialogOpening, [&](QDialog* dialog) {
        ++connectDialogs;
        QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    });
    StartWithFile(*frame, dir.File("setup.ini"), dir.File("site.f71"), "");
    EXPECT_EQ(connectDialogs, 0);
    ASSERT_EQ(frame->Tree()->topLevelItemCount(), 3);
    EXPECT_TRUE(frame->Tree()->topLevelItem(0)->isExpanded());
    EXPECT_EQ(frame->Tree()->currentItem(), frame->Tree()->topLevelItem(0));
    StartWithFile(*frame, dir.File("setup.ini"), "", ""); // without a file, as ever
    EXPECT_EQ(connectDialogs, 1);
}

} // namespace
} // namespace qm
