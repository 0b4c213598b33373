// The main window: start-up order, double-clicks in the file tree, the chart view's drags,
// project files and the stored look.
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

#include "FrameTestSupport.h"
#include "app/ProjectFile.h"
#include "chart/ChartConversion.h"
#include "desktop/frame/CBaseCtrlPane.h"
#include "desktop/frame/CChartHolder.h"
#include "desktop/frame/CDlgHelpAbout.h"
#include "desktop/frame/CDlgSetCom.h"
#include "desktop/frame/CLevantoView.h"
#include "desktop/frame/Looks.h"
#include "desktop/frame/WorkdeskStartup.h"
#include "measurement/SampleGenerator.h"

namespace qm {
namespace {

using test::FrameFixture;
using test::ReadFile;
using test::WhenModal;

class FrameWindow : public ::testing::Test, public FrameFixture {
protected:
    void Load(int count) {
        CLevantoApp::Instance().Files().Assign(MakeSampleSet(2, count));
        frame->RebuildFileTree();
    }
    QTreeWidgetItem* Section(int file, int value) const {
        return frame->Tree()->SectionItem(file, value);
    }
};

TEST_F(FrameWindow, StartUpShowsTheConnectionDialogOverTheWindowAndGoesOnAfterCancel) {
    frame->hide();
    const std::string settings = dir.File("start/setup.ini");
    bool checked = false;
    WhenModal([&](QWidget* modal) {
        checked = true;
        EXPECT_EQ(modal, frame->ConnectDialog());
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(SettingsPath(), settings);
        EXPECT_EQ(frame->Holder().CurrentKind(), "CS_NULL_MEAS");
        QTest::mouseClick(frame->ConnectDialog()->CancelButton(), Qt::LeftButton);
    });
    StartMainWindow(*frame, settings);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(frame->ConnectDialog()->isVisible());
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(ReadFile(settings).empty()); // cancel stores nothing

    frame->close();
    EXPECT_EQ(frame->Holder().CurrentKind(), "CS_NULL_MEAS");
    EndProgram();
    EXPECT_FALSE(CLevantoApp::Instance().Port().IsOpen());
}

TEST_F(FrameWindow, DoubleClickOnAFileOpensNothingAndKeepsThePane) {
    Load(2);
    frame->Tree()->expandAll();
    DoubleClick(frame->Tree()->topLevelItem(1));
    EXPECT_EQ(frame->Pane(), nullptr);
    DoubleClick(Section(0, kTreeHum));
    CBaseCtrlPane* pane = frame->Pane();
    ASSERT_NE(pane, nullptr);
    DoubleClick(frame->Tree()->topLevelItem(0));
    EXPECT_EQ(frame->Pane(), pane);
    EXPECT_EQ(Current()->shown, std::vector<long>{0});
}

// A single click only selects: neither a first pane nor a replacement opens.
TEST_F(FrameWindow, ASingleClickOnASectionSelectsItAndOpensNothing) {
    Load(1);
    frame->Tree()->expandAll();
    CFileTreeView* tree = frame->Tree();
    const auto click = [&](QTreeWidgetItem* item) {
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item).center());
        EXPECT_EQ(tree->currentItem(), item);
    };
    click(Section(0, kTreeTilt));
    EXPECT_EQ(frame->Pane(), nullptr);
    EXPECT_TRUE(dialogs.empty());

    DoubleClick(Section(0, kTreeTilt));
    ASSERT_NE(Current(), nullptr);
    click(Section(0, kTreeLevel));
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(Current()->Section(), PaneSection::Tilt);
}

TEST_F(FrameWindow, ALevelPaneReplacesATiltPaneAndItsChart) {
    Load(4);
    frame->Tree()->expandAll();
    DoubleClick(Section(1, kTreeTilt));
    QPointer<CBaseCtrlPane> tiltPane = frame->Pane();
    ASSERT_TRUE(tiltPane);
    EXPECT_EQ(frame->Holder().CurrentKind(), "CS_TILT_ANALYZER");
    EXPECT_EQ(Current()->Section(), PaneSection::Tilt);
    EXPECT_EQ(Current()->shown, std::vector<long>{1});
    EXPECT_EQ(frame->dockWidgetArea(tiltPane), Qt::BottomDockWidgetArea);
    EXPECT_EQ(tiltPane->allowedAreas(), Qt::AllDockWidgetAreas);

    DoubleClick(Section(3, kTreeLevel));
    EXPECT_TRUE(tiltPane.isNull());
    EXPECT_EQ(frame->Holder().CurrentKind(), "CS_NULL_MEAS");
    ASSERT_NE(Current(), nullptr);
    EXPECT_EQ(Current()->Section(), PaneSection::Level);
    EXPECT_EQ(Current()->shown, std::vector<long>{3});
    EXPECT_EQ(frame->Pane()->windowTitle(), "Level Analysis");
}

TEST_F(FrameWindow, EachOpeningMakesAFreshPaneAndTwoControllers) {
    Load(1);
    frame->Tree()->expandAll();
    const int before = frame->Holder().Installs();
    DoubleClick(Section(0, kTreeScan));
    // The pane's own controller, then the one that gets the data.
    EXPECT_EQ(frame->Holder().Installs(), before + 2);
    QPointer<CBaseCtrlPane> first = frame->Pane();
    DoubleClick(Section(0, kTreeScan));
    EXPECT_TRUE(first.isNull());
    ASSERT_NE(frame->Pane(), nullptr);
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(frame->Holder().CurrentKind(), "CS_SCAN_ANALYZER");
}

TEST_F(FrameWindow, EnterOpensASectionButNotAFile) {
    Load(1);
    frame->Tree()->expandAll();
    frame->Tree()->setFocus();
    frame->Tree()->setCurrentItem(frame->Tree()->topLevelItem(0));
    QTest::keyClick(frame->Tree(), Qt::Key_Return);
    EXPECT_EQ(frame->Pane(), nullptr);
    frame->Tree()->setCurrentItem(Section(0, kTreeSpectrum));
    QTest::keyClick(frame->Tree(), Qt::Key_Enter);
    ASSERT_NE(Current(), nullptr);
    EXPECT_EQ(Current()->Section(), PaneSection::Spectrum);
    EXPECT_EQ(frame->Holder().CurrentKind(), "CS_SPEC_ANALYZER");
}

TEST_F(FrameWindow, LeftDragsInTheChartReachThePaneAndTheViewShowsTheFrame) {
    Load(1);
    frame->Tree()->expandAll();
    DoubleClick(Section(0, kTreeScan));
    CLevantoView* view = frame->View();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->FramesPainted() > 0; }, 3000));

    auto move = [&](Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x) {
        const QPointF at(x, view->height() / 2);
        QMouseEvent event(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, buttons,
                          modifiers);
        QApplication::sendEvent(view, &event);
    };
    move(Qt::LeftButton, Qt::NoModifier, view->width() / 2);
    move(Qt::LeftButton | Qt::RightButton, Qt::NoModifier, view->width() / 3);
    move(Qt::LeftButton, Qt::ControlModifier, view->width() / 3);
    move(Qt::NoButton, Qt::NoModifier, view->width() / 3);
    ASSERT_EQ(Current()->markers.size(), 1u);
    EXPECT_GT(Current()->markers[0], 0);

    const QImage picture = view->VisibleChartPicture();
    ASSERT_FALSE(picture.isNull());
    EXPECT_LE(picture.width(), view->width());
    EXPECT_EQ(CLevantoApp::Instance().ChartPicture(), view);
}

TEST_F(FrameWindow, ProjectSaveAndOpenRoundTripAndFailuresAreReported) {
    Load(3);
    const std::vector<_tagFileDataExt> saved = CLevantoApp::Instance().Files().Elements();
    prompt.saveNames << QString::fromStdString(dir.File("project.f71"));
    frame->SaveProject();
    EXPECT_EQ(prompt.filters.back(), "*.f71|*.f71||");

    CLevantoApp::Instance().Files().Clear();
    frame->RebuildFileTree();
    prompt.openNames << QString::fromStdString(dir.File("project.f71"));
    frame->OpenProject();
    const auto& opened = CLevantoApp::Instance().Files().Elements();
    ASSERT_EQ(opened.size(), saved.size());
    for (std::size_t i = 0; i < saved.size(); ++i)
        EXPECT_EQ(0, std::memcmp(opened[i].Bytes(), saved[i].Bytes(), kElementSize)) << i;
    ASSERT_EQ(frame->Tree()->topLevelItemCount(), 3);
    EXPECT_EQ(frame->Tree()->topLevelItem(0)->childCount(), 6);

    // Cancelled and unreadable opens keep the files; a failed save says so.
    prompt.openNames << "" << QString::fromStdString(dir.File("missing.f71"));
    frame->OpenProject();
    frame->OpenProject();
    EXPECT_EQ(CLevantoApp::Instance().Files().Count(), 3u);
    prompt.saveNames << QString::fromStdString(dir.File("no/such/dir/x.f71"));
    frame->SaveProject();
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].caption, "QM7100 Workdesk");
    EXPECT_EQ(prompt.messages[0].text.toStdString(),
              ProjectStatusText(ProjectStatus::CannotOpen, dir.File("missing.f71")));
    EXPECT_EQ(frame->Tree()->topLevelItemCount(), 3);
}

TEST_F(FrameWindow, ADamagedProjectOpensMarkedAndABadOneKeepsTreeAndPane) {
    Load(2);
    frame->Tree()->expandAll();
    DoubleClick(Section(1, kTreeHum));
    CBaseCtrlPane* pane = frame->Pane();
    ASSERT_EQ(SaveProject(dir.File("site.f71"), CLevantoApp::Instance().Files().Elements()),
              ProjectStatus::Ok);
    std::string bytes = ReadFile(dir.File("site.f71"));
    test::WriteFile(dir.File("half.f71"), bytes.substr(0, 15902));
    bytes[4] = static_cast<char>(199);
    test::WriteFile(dir.File("v199.f71"), bytes);
    for (const char* name : {"v199.f71", "half.f71"}) {
        prompt.openNames << QString::fromStdString(dir.File(name));
        frame->CommandAction(RibbonTexts::Open)->trigger();
        EXPECT_EQ(frame->Pane() == pane, name[0] == 'v') << name;
    }
    // Another version took nothing away; the cut file replaced the files, and its pane went.
    ASSERT_EQ(frame->Tree()->topLevelItemCount(), 2);
    EXPECT_EQ(frame->Tree()->topLevelItem(1)->text(0), "FILE002 (incomplete)");
    EXPECT_EQ(prompt.Texts().value(1),
              "The project file is cut short. It is shown as far as it goes; these measurement "
              "files are incomplete:\n1  FILE002");
    EXPECT_TRUE(CLevantoApp::Instance().Files().IsIncomplete(1));
}

TEST_F(FrameWindow, AClickOrADragPicksTheBarUnderThePointer) {
    Load(1);
    frame->Tree()->expandAll();
    DoubleClick(Section(0, kTreeScan));
    CLevantoView* view = frame->View();
    const int n =
        static_cast<int>(ScanBars(MeasurementFile(*CLevantoApp::Instance().Files().At(0))).size());
    // The middle of bar k as frames draw it: N + 2 slots between the margins.
    const int width = view->width() - CInstrument::kLeftMargin - CInstrument::kRightMargin;
    const auto at = [&](int k) {
        return QPoint(CInstrument::kLeftMargin + (2 * k + 3) * width / (2 * (n + 2)),
                      view->height() / 2);
    };
    for (int k : {0, 1, n - 1}) {
        QTest::mouseClick(view, Qt::LeftButton, {}, at(k));
        ASSERT_FALSE(Current()->markers.empty());
        EXPECT_EQ(Current()->markers.back(), k);
    }
    QTest::mousePress(view, Qt::LeftButton, {}, at(n - 1)); // a drag released on the first bar
    QMouseEvent drag(QEvent::MouseMove, at(0), view->mapToGlobal(at(0)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &drag);
    QTest::mouseRelease(view, Qt::LeftButton, {}, at(0));
    EXPECT_EQ(Current()->markers.back(), 0);
}

TEST_F(FrameWindow, TheChosenLookIsCheckedAndKeptPerUser) {
    EXPECT_EQ(StoredLook(), kDefaultLook);
    EXPECT_TRUE(frame->LookAction(216)->isChecked());
    frame->LookAction(218)->trigger();
    EXPECT_EQ(StoredLook(), 218);
    EXPECT_TRUE(frame->LookAction(218)->isChecked());
    EXPECT_FALSE(frame->LookAction(216)->isChecked());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    CMainFrame second(CMainFrame::Options{false, {}});
    EXPECT_TRUE(second.LookAction(218)->isChecked());
    // Never in setup.ini.
    EXPECT_TRUE(ReadFile(dir.File("setup.ini")).empty());
    frame->SetLook(kDefaultLook);
}

TEST_F(FrameWindow, RibbonLabelsFollowTheSystemLanguage) {
    EXPECT_TRUE(RibbonIsChinese(QLocale(QLocale::Chinese, QLocale::China)));
    EXPECT_FALSE(RibbonIsChinese(QLocale(QLocale::Chinese, QLocale::Taiwan)));
    CMainFrame chinese(CMainFrame::Options{true, {}});
    EXPECT_EQ(chinese.CommandAction(RibbonTexts::Upload)->text(), "上传文件");
    EXPECT_EQ(frame->CommandAction(RibbonTexts::Upload)->text(), "Upload");
    EXPECT_EQ(frame->windowTitle(), "QM7100 Workdesk -");
    EXPECT_FALSE(frame->CommandAction(RibbonTexts::Open)->toolTip().isEmpty());
}

TEST_F(FrameWindow, AboutFromTheRibbonStopsTheChartButNotFromTheApplicationMenu) {
    Load(1);
    frame->Tree()->expandAll();
    DoubleClick(Section(0, kTreeLimit));
    QString version;
    QString title;
    auto answer = [&](QWidget* modal) {
        auto* about = qobject_cast<CDlgHelpAbout*>(modal);
        ASSERT_NE(about, nullptr);
        version = about->VersionText();
        title = about->windowTitle();
        QTest::keyClick(about, Qt::Key_Return);
    };
    WhenModal(answer);
    frame->ShowAbout(false);
    EXPECT_EQ(frame->Holder().CurrentKind(), "CS_LIMIT_ANALYZER");
    EXPECT_EQ(version, QStringLiteral(QM_VERSION_TEXT));
    EXPECT_EQ(title, "About");
    // From the ribbon About and Connect stop the chart while up; it comes back, marker and all.
    QTest::mouseClick(frame->View(), Qt::LeftButton, {}, frame->View()->rect().center());
    const auto marker = [&] {
        return frame->Holder().Current()->Surface()->GetState().markerPositions[0];
    };
    const int before = marker();
    ASSERT_GT(before, 0);
    for (RibbonTexts::Command command : {RibbonTexts::About, RibbonTexts::Connect}) {
        WhenModal([&](QWidget* modal) {
            EXPECT_EQ(frame->Holder().CurrentKind(), "CS_NULL_MEAS");
            modal->close();
        });
        frame->CommandAction(command)->trigger();
        EXPECT_EQ(frame->Holder().CurrentKind(), "CS_LIMIT_ANALYZER");
        EXPECT_EQ(marker(), before);
    }
    EXPECT_NE(frame->Pane(), nullptr); // an open pane stays open
}

TEST_F(FrameWindow, TheChartPictureIsWhatTheViewShowsOnTheScreen) {
    Load(1);
    frame->Tree()->expandAll();
    DoubleClick(Section(0, kTreeSpectrum));
    CLevantoView* view = frame->View();
    const QRect screen = view->screen()->geometry();
    frame->setGeometry(screen.adjusted(0, 0, 0, -10));
    QApplication::processEvents();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->FramesPainted() > 0; }, 3000));
    const QImage whole = view->VisibleChartPicture();
    const int onScreen =
        std::min(view->width(), screen.right() + 1 - view->mapToGlobal(QPoint(0, 0)).x());
    ASSERT_EQ(whole.size(), QSize(onScreen, view->height()) * whole.devicePixelRatio());

    // Half the view pushed off the left edge of the screen: only the part on it is saved.
    frame->move(screen.left() - view->mapTo(frame.get(), QPoint(0, 0)).x() - view->width() / 2,
                frame->y());
    QApplication::processEvents();
    const QImage clipped = view->VisibleChartPicture();
    const int left = view->mapToGlobal(QPoint(0, 0)).x();
    ASSERT_LT(left, screen.left());
    const int shown = std::min(left + view->width(), screen.right() + 1) - screen.left();
    EXPECT_EQ(clipped.width(), shown * clipped.devicePixelRatio());
    // Wherever the window went, the chart covers the view from its own origin.
    EXPECT_EQ(frame->Holder().Current()->Surface()->GetState().rect,
              (PlotRect{0, 0, view->width(), view->height()}));

    // Switching to a pane without a chart leaves no old chart to save.
    DoubleClick(Section(0, kTreeHum));
    EXPECT_FALSE(view->HasFrame());
}

} // namespace
} // namespace qm
