// The main window from the keyboard and for assistive tools: every command's keys, Enter and
// Space on the ribbon, Tab and F6 between the areas, the marker moved by keys, the status bar
// after each action, a file given at start and a small screen.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcutEvent>
#include <QTableWidget>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "FrameTestSupport.h"
#include "app/ProjectFile.h"
#include "channels/ChannelPlanFile.h"
#include "channels/ChannelTestPlans.h"
#include "desktop/channels/CComboListCtrl.h"
#include "desktop/channels/CDlgEditChannel.h"
#include "desktop/frame/CBaseCtrlPane.h"
#include "desktop/frame/CChartHolder.h"
#include "desktop/frame/CLevantoView.h"
#include "desktop/frame/CRibbonBar.h"
#include "desktop/frame/WorkdeskStartup.h"
#include "desktop/frame/WorkdeskStatusBar.h"
#include "desktop/limits/LimitProfiles.h"
#include "desktop/panes/CChartPaneDialog.h"
#include "desktop/panes/CPaneDialogBase.h"
#include "measurement/SampleGenerator.h"

namespace qm {
namespace {

using test::FrameFixture;
using test::WhenModal;

// Records the shortcut events an action gets, and eats them so that no dialog opens.
class ShortcutCatcher : public QObject {
public:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (event->type() != QEvent::Shortcut)
            return false;
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (!shortcut->isAmbiguous())
            caught.push_back({static_cast<QAction*>(target), shortcut->key()});
        return true;
    }
    std::vector<std::pair<QAction*, QKeySequence>> caught;
};

// The main window with the real pane dialogs and the sample project loaded.
class Usability : public ::testing::Test, public FrameFixture {
protected:
    Usability() {
        frame.reset();
        CMainFrame::Options options;
        options.chineseRibbon = false;
        frame = std::make_unique<CMainFrame>(options);
        frame->show();
        frame->activateWindow();
        (void)QTest::qWaitForWindowActive(frame.get());
        const ProjectLoad load = LoadProject(test::SourcePath("samples/sample.f71"));
        CLevantoApp::Instance().Files().Assign(load.elements);
        frame->RebuildFileTree();
        frame->Tree()->expandAll();
    }
    void Open(int value) {
        frame->Tree()->setCurrentItem(frame->Tree()->SectionItem(0, value));
        frame->Tree()->setFocus();
        QTest::keyClick(frame->Tree(), Qt::Key_Return);
        ASSERT_NE(frame->PaneDialog(), nullptr);
    }
    QAction* Named(const char* name) const { return frame->findChild<QAction*>(name); }
    QToolButton* ButtonOf(QAction* action) const {
        for (QToolButton* button : frame->Ribbon()->Buttons())
            if (button->defaultAction() == action)
                return button;
        return nullptr;
    }
    QString Outcome() const { return frame->Status()->OutcomeText(); }
    QTableWidget* Table(const char* tag) const {
        return frame->PaneDialog()->findChild<QTableWidget*>(tag);
    }
    static QStringList Texts(const QTableWidget& table) {
        QStringList texts;
        for (int r = 0; r < table.rowCount(); ++r)
            for (int c = 0; c < table.columnCount(); ++c)
                texts << table.item(r, c)->text();
        return texts;
    }
};

TEST_F(Usability, EveryRibbonCommandRunsFromItsKeysAndItsTipNamesThem) {
    struct Case {
        QAction* action;
        QKeySequence keys[2];
    };
    using K = QKeySequence;
    const auto command = [&](RibbonTexts::Command c) { return frame->CommandAction(c); };
    const Case cases[] = {
        {command(RibbonTexts::Upload), {K("Ctrl+U"), K("Alt+U")}},
        {command(RibbonTexts::Open), {K("Ctrl+O"), K("Alt+O")}},
        {command(RibbonTexts::Save), {K("Ctrl+S"), K("Alt+S")}},
        {command(RibbonTexts::Connect), {K("Ctrl+K"), K("Alt+C")}},
        {command(RibbonTexts::ChannelEditor), {K("Ctrl+E"), K("Alt+E")}},
        {command(RibbonTexts::PictureCapture), {K("Ctrl+P"), K("Alt+P")}},
        {command(RibbonTexts::TimeUnit), {K("Ctrl+T"), K("Alt+T")}},
        {command(RibbonTexts::About), {K(QKeySequence::HelpContents), K("Alt+A")}},
        {Named("reportAction"), {K("Ctrl+R"), K("Alt+R")}},
        {Named("compareCommand"), {K("Ctrl+M"), K("Alt+M")}},
    };
    // With a pane open, so that its buttons could take a key away from the ribbon.
    Open(kTreeScan);
    ShortcutCatcher catcher;
    for (const Case& c : cases) {
        ASSERT_NE(c.action, nullptr);
        c.action->installEventFilter(&catcher);
    }
    for (const Case& c : cases)
        for (const QKeySequence& key : c.keys) {
            catcher.caught.clear();
            QTest::keySequence(frame->PaneDialog(), key);
            ASSERT_EQ(catcher.caught.size(), 1u) << key.toString().toStdString();
            EXPECT_EQ(catcher.caught[0].first, c.action) << key.toString().toStdString();
            EXPECT_TRUE(c.action->toolTip().contains(key.toString(QKeySequence::NativeText)))
                << c.action->toolTip().toStdString();
        }
}

TEST_F(Usability, EnterAndSpacePressAFocusedRibbonButton) {
    QToolButton* save = ButtonOf(frame->CommandAction(RibbonTexts::Save));
    ASSERT_NE(save, nullptr);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        prompt.filters.clear();
        save->setFocus();
        QTest::keyClick(save, key);
        EXPECT_EQ(prompt.filters, QStringList{"*.f71|*.f71||"}) << key;
    }
}

TEST_F(Usability, TabLeavesAReadOnlyTableAndF6GoesRoundTreeChartAndPane) {
    Open(kTreeTilt);
    for (const char* tag : {"Parameters", "Mark", "List"}) {
        QTableWidget* table = Table(tag);
        ASSERT_NE(table, nullptr) << tag;
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), table) << tag;
    }
    frame->Tree()->setFocus();
    QWidget* pane = frame->PaneDialog();
    const auto inPane = [pane] { return pane->isAncestorOf(QApplication::focusWidget()); };
    QTest::keyClick(frame->Tree(), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), frame->View());
    QTest::keyClick(frame->View(), Qt::Key_F6);
    EXPECT_TRUE(inPane());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), frame->Tree());
    QTest::keyClick(frame->Tree(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_TRUE(inPane());
}

TEST_F(Usability, TheMarkerMovedByKeysIsTheMarkerMovedByADrag) {
    for (int value : {kTreeScan, kTreeTilt, kTreeLimit, kTreeSpectrum}) {
        Open(value);
        CLevantoView* view = frame->View();
        const CInstrument* chart = frame->Holder().Current();
        const int count = chart->MarkerPointCount();
        ASSERT_GT(count, 2) << value;
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(view);
        ASSERT_NE(access, nullptr);
        ASSERT_NE(access->valueInterface(), nullptr);
        // The x inside the plot where a click picks the point.
        const auto xOf = [&](int k) {
            const CDevGDI::State s = chart->Surface()->GetState();
            for (int x = CInstrument::kLeftMargin + 1; x < view->width(); ++x)
                if ((value == kTreeSpectrum ? CDevGDI::PointNearest(s, x, count)
                                            : CDevGDI::BarUnderPointer(s, x, count)) == k)
                    return x;
            return -1;
        };
        struct Walk {
            std::vector<Qt::Key> keys;
            int point;
        };
        const Walk walks[] = {
            {{Qt::Key_End}, count - 1},
            {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Right}, 2},
            {{Qt::Key_End, Qt::Key_Left}, count - 2},
            {{Qt::Key_Home, Qt::Key_Left}, 0}, // nothing before the first
        };
        for (const Walk& walk : walks) {
            view->setFocus();
            for (Qt::Key key : walk.keys)
                QTest::keyClick(view, key);
            EXPECT_EQ(chart->MarkerPosition(), walk.point) << value;
            const QStringList byKeys = Texts(*Table("Mark"));
            const QString spoken = access->text(QAccessible::Value);
            EXPECT_EQ(spoken, QStringLiteral("Marker %1 of %2").arg(walk.point + 1).arg(count));
            EXPECT_EQ(access->valueInterface()->currentValue().toInt(), walk.point + 1);
            // Somewhere else first, then a click on the same point.
            QTest::keyClick(view, walk.point == 0 ? Qt::Key_End : Qt::Key_Home);
            QTest::mouseClick(view, Qt::LeftButton, {},
                              QPoint(xOf(walk.point), view->height() / 2));
            EXPECT_EQ(chart->MarkerPosition(), walk.point) << value;
            EXPECT_EQ(Texts(*Table("Mark")), byKeys) << value << " point " << walk.point;
            EXPECT_EQ(access->text(QAccessible::Value), spoken);
        }
    }
}

TEST_F(Usability, TheStatusBarSaysWhatSavesExportsAndTheReportCameTo) {
    EXPECT_EQ(frame->Status()->ConnectionText(), "not connected");
    struct Case {
        const char* file;
        std::function<void()> act;
        QString said;
    };
    const Case cases[] = {
        {"site.f71", [&] { QTest::keyClick(frame->Tree(), Qt::Key_S, Qt::ControlModifier); },
         "Saved site.f71"},
        {"level.csv",
         [&] {
             Open(kTreeLevel);
             QTest::mouseClick(frame->PaneDialog()->findChild<QPushButton*>("exportButton"),
                               Qt::LeftButton);
         },
         "Exported level.csv"},
        {"scan.csv",
         [&] {
             Open(kTreeScan);
             QTest::mouseClick(frame->PaneDialog()->findChild<QRadioButton*>("fileButton"),
                               Qt::LeftButton);
             QTest::mouseClick(frame->PaneDialog()->findChild<QPushButton*>("printButton"),
                               Qt::LeftButton);
         },
         "Exported scan.csv"},
        {"report.html", [&] { QTest::keyClick(frame->Tree(), Qt::Key_R, Qt::ControlModifier); },
         "Report written"},
    };
    for (const Case& c : cases) {
        frame->Status()->ShowOutcome({});
        prompt.saveNames << QString::fromStdString(dir.File(c.file));
        c.act();
        EXPECT_EQ(Outcome(), c.said) << c.file;
        EXPECT_TRUE(std::filesystem::exists(dir.File(c.file))) << c.file;
    }
    // A save that fails says nothing there (its message box does).
    frame->Status()->ShowOutcome({});
    prompt.saveNames << QString::fromStdString(dir.File("no/such/dir/x.f71"));
    frame->SaveProject();
    EXPECT_EQ(Outcome(), "");
    EXPECT_EQ(prompt.messages.size(), 1u);
}

TEST_F(Usability, EveryTableTreeChartAndRibbonButtonHasANameAndADescription) {
    for (int value : {kTreeLevel, kTreeTilt, kTreeScan, kTreeSpectrum, kTreeHum, kTreeLimit}) {
        Open(value);
        std::vector<QWidget*> named{frame->Tree(), frame->View()};
        for (QAbstractItemView* table : frame->PaneDialog()->findChildren<QTableWidget*>())
            named.push_back(table);
        for (QToolButton* button : frame->Ribbon()->Buttons())
            named.push_back(button);
        for (QWidget* w : named) {
            QAccessibleInterface* access = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(access, nullptr);
            EXPECT_FALSE(access->text(QAccessible::Name).isEmpty())
                << value << " " << w->objectName().toStdString();
            EXPECT_FALSE(access->text(QAccessible::Description).isEmpty())
                << value << " " << w->objectName().toStdString();
        }
    }
}

TEST_F(Usability, AFileGivenAtStartIsShownAndTheConnectionDialogStaysAway) {
    ASSERT_EQ(SaveProject(dir.File("site.f71"), CLevantoApp::Instance().Files().Elements()),
              ProjectStatus::Ok);
    ASSERT_EQ(SaveChannelPlan(dir.File("plan.f71CH"), test::MakeTvPlan(2, 4)), PlanFileStatus::Ok);
    CLevantoApp::Instance().Files().Clear();
    frame->RebuildFileTree();
    QStringList connectDialogs;
    QObject::connect(frame.get(), &CMainFrame::DialogOpening, [&](QDialog* dialog) {
        connectDialogs << dialog->metaObject()->className();
        QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    });
    struct Case {
        std::string project, plan;
        bool connectDialog;
        int planRows; // of the channel editor that opens; -1 for none
    };
    const Case cases[] = {
        {dir.File("site.f71"), "", false, -1},
        {"", dir.File("plan.f71CH"), false, 4},
        {"", "", true, -1},
    };
    for (const Case& c : cases) {
        connectDialogs.clear();
        int planRows = -1;
        if (!c.plan.empty())
            WhenModal([&](QWidget* modal) {
                if (auto* editor = qobject_cast<CDlgEditChannel*>(modal))
                    planRows = editor->Grid()->rowCount();
                if (modal)
                    modal->close();
            });
        StartWithFile(*frame, dir.File("setup.ini"), c.project, c.plan);
        EXPECT_EQ(connectDialogs.size(), c.connectDialog ? 1 : 0) << c.project << c.plan;
        EXPECT_EQ(planRows, c.planRows) << c.plan;
    }
    ASSERT_EQ(frame->Tree()->topLevelItemCount(), 3);
    EXPECT_TRUE(frame->Tree()->topLevelItem(0)->isExpanded());
    EXPECT_EQ(frame->Tree()->currentItem(), frame->Tree()->topLevelItem(0));
}

TEST_F(Usability, EveryPaneFitsOrScrollsAt1024x600AndAVerdictLineNeverWidensTheWindow) {
    frame->resize(1024, 600);
    LimitProfiles::Instance().SetActive(DefaultProfile(), kShippedSource);
    for (int value : {kTreeLevel, kTreeTilt, kTreeScan, kTreeSpectrum, kTreeHum, kTreeLimit}) {
        Open(value);
        if (auto* summary = frame->PaneDialog()->findChild<QLabel*>("limitSummary"))
            summary->setText(QString(60, QChar('W')).repeated(8).replace(QChar('W'), "W "));
        QApplication::processEvents();
        EXPECT_LE(frame->minimumSizeHint().width(), 1024) << value;
        EXPECT_LE(frame->minimumSizeHint().height(), 600) << value;
        EXPECT_EQ(frame->width(), 1024) << value;
        auto* scroller = frame->Pane()->findChild<QScrollArea*>("PaneScroller");
        ASSERT_NE(scroller, nullptr);
        // Every table lies inside the pane's content; what the pane cannot show scrolls.
        for (QTableWidget* table : frame->PaneDialog()->findChildren<QTableWidget*>()) {
            const QRect at(table->mapTo(scroller->widget(), QPoint(0, 0)), table->size());
            EXPECT_TRUE(scroller->widget()->rect().contains(at)) << value;
            EXPECT_GT(table->height(), table->horizontalHeader()->height()) << value;
        }
    }
    LimitProfiles::Instance().SetActive(std::nullopt);
}

} // namespace
} // namespace qm
