// Limit verdicts in the desktop program: the ribbon's profile chooser, the marks in the panes,
// the Report command.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "FrameTestSupport.h"
#include "app/ProjectFile.h"
#include "desktop/CLevantoApp.h"
#include "desktop/UserStore.h"
#include "desktop/frame/CChartHolder.h"
#include "desktop/frame/CLevantoView.h"
#include "desktop/limits/ChartLimitOutlines.h"
#include "desktop/limits/LimitProfiles.h"
#include "desktop/limits/LimitRibbonPanel.h"
#include "desktop/limits/ReportDetailsDialog.h"
#include "desktop/panes/CAnalysisDialog.h"
#include "desktop/panes/PaneTableView.h"
#include "limits/LimitCheck.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

const QString kCross = QString::fromUtf8("\u2717 ");

class LimitsDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        CLevantoApp::Instance().Files().Assign(
            LoadProject(test::SourcePath("samples/sample.f71")).elements);
    }
    void TearDown() override {
        LimitProfiles::Instance().SetActive(std::nullopt);
        RememberLimitProfile();
        CLevantoApp::Instance().Files().Clear();
    }
    std::unique_ptr<CAnalysisDialog> Open(PaneSection section, long index) {
        auto dialog = CreateAnalysisDialog(section);
        dialog->resize(1100, 300);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->ShowFile(index);
        return dialog;
    }
    static QString Shown(const QTableWidget& table, int row, int column) {
        return PaneTableView::ShownText(table.model()->index(row, column));
    }
    static int MarkedCells(const QTableWidget& table) {
        int n = 0;
        for (int r = 0; r < table.rowCount(); ++r)
            for (int c = 0; c < table.columnCount(); ++c)
                n += Shown(table, r, c).startsWith(kCross);
        return n;
    }

    test::FakePrompt m_prompt;
    ScopedPrompt m_scope{m_prompt};
    test::TempDir m_dir;
};

TEST_F(LimitsDesktop, FailingCellsAreMarkedAndSwitchingProfileJudgesAgainAtOnce) {
    auto level = Open(PaneSection::Level, 0);
    auto* table = level->findChild<QTableWidget*>("Table");
    auto* summary = level->findChild<QLabel*>("limitSummary");
    ASSERT_TRUE(table && summary);
    const QString before = table->item(0, 4)->text();
    EXPECT_EQ(MarkedCells(*table), 0); // no profile: the pane as it always was
    EXPECT_FALSE(summary->isVisible());

    LimitProfiles::Instance().SetActive(DefaultProfile());
    // Row 0 of the cable file: V/A difference 9.5 dB, below 10.
    // The verdict stays beside the cell; its text is still the pane's.
    EXPECT_EQ(Shown(*table, 0, 4), kCross + before);
    EXPECT_EQ(table->item(0, 4)->text(), before);
    EXPECT_EQ(table->item(0, 4)->data(kVerdictRole).toInt(), static_cast<int>(Verdict::Fail));
    EXPECT_EQ(table->item(0, 4)->background().color(), QColor(249, 214, 219));
    EXPECT_FALSE(Shown(*table, 0, 3).startsWith(kCross));
    EXPECT_TRUE(summary->isVisible());
    EXPECT_EQ(summary->text(), kCross + "23 of 48 channels pass, worst margin -2.2 dB");
    const int marked = MarkedCells(*table);
    EXPECT_GT(marked, 0);

    // A looser profile: fewer marks, at once; none again: every text back as it was.
    LimitProfile loose = DefaultProfile();
    loose.tv.videoAudioMin = 9;
    LimitProfiles::Instance().SetActive(loose);
    EXPECT_EQ(Shown(*table, 0, 4), before) << summary->text().toStdString();
    EXPECT_LT(MarkedCells(*table), marked);
    LimitProfiles::Instance().SetActive(std::nullopt);
    EXPECT_EQ(MarkedCells(*table), 0);
    EXPECT_FALSE(summary->isVisible());

    // The chart panes mark their list and show the summary above it.
    LimitProfiles::Instance().SetActive(DefaultProfile());
    for (PaneSection section : {PaneSection::Scan, PaneSection::Limit, PaneSection::Tilt}) {
        auto pane = Open(section, 0);
        auto* list = pane->findChild<QTableWidget*>("List");
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(pane->findChild<QLabel*>("limitSummary")->isVisible());
        if (section != PaneSection::Tilt) {
            EXPECT_GT(MarkedCells(*list), 0);
        }
    }
}

TEST_F(LimitsDesktop, TheChartOutlinesWhatThePaneJudgedAndFollowsProfileChanges) {
    CLevantoView view;
    view.resize(800, 400);
    CChartHolder holder(&view);
    ChartLimitOutlines outlines(holder, nullptr);
    LimitProfiles::Instance().SetActive(DefaultProfile());
    for (PaneSection section : {PaneSection::Scan, PaneSection::Limit}) {
        holder.InstallController(TreeValue(section));
        auto pane = CreateAnalysisDialog(section);
        outlines.Follow(pane.get());
        pane->ShowFile(0);
        const auto outlined = [&holder] {
            return holder.Current()->Surface()->GetState().outlinedBars;
        };
        // The bars of the rows the pane marked, and no second judgement of the file.
        auto* list = pane->findChild<QTableWidget*>("List");
        std::vector<int> marked;
        for (int r = 0; r < list->rowCount(); ++r)
            for (int c = 0; c < list->columnCount(); ++c)
                if (list->item(r, c)->data(kVerdictRole).isValid()) {
                    marked.push_back(r);
                    break;
                }
        EXPECT_FALSE(marked.empty());
        EXPECT_EQ(outlined(), marked) << TreeValue(section);
        LimitProfiles::Instance().SetActive(std::nullopt);
        EXPECT_TRUE(outlined().empty());
        LimitProfiles::Instance().SetActive(DefaultProfile());
        EXPECT_EQ(outlined(), marked);
        // A chart put back for the pane (after the About box) shows its verdicts at once.
        holder.InstallController(TreeValue(section));
        outlines.Follow(pane.get());
        EXPECT_EQ(outlined(), marked);
    }
}

TEST_F(LimitsDesktop, ChooserLoadsProfilesAndRefusesAFaultyOne) {
    test::FrameFixture fixture;
    auto* chooser = fixture.frame->findChild<QComboBox*>("limitProfileChooser");
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->itemText(0), "None");
    EXPECT_EQ(chooser->itemText(1), QString::fromStdString(DefaultProfile().name));
    EXPECT_EQ(LimitProfiles::Instance().Active(), nullptr);

    ChooseProfile(*chooser, 1, fixture.frame.get());
    ASSERT_NE(LimitProfiles::Instance().Active(), nullptr);

    // "Other file..." with a faulty file: the error names the line; the shipped profile stays.
    test::WriteFile(m_dir.File("bad.ini"), "[Profile]\nName = x\n[TV]\nLevelMin = ?\n");
    fixture.prompt.openNames << QString::fromStdString(m_dir.File("bad.ini"));
    chooser->setCurrentIndex(chooser->count() - 1);
    ChooseProfile(*chooser, chooser->count() - 1, fixture.frame.get());
    ASSERT_EQ(fixture.prompt.messages.size(), 1u);
    EXPECT_TRUE(fixture.prompt.messages[0].detail.contains("line 4: LevelMin is not a number"));
    EXPECT_EQ(chooser->currentIndex(), 1);
    EXPECT_EQ(LimitProfiles::Instance().Active()->name, DefaultProfile().name);

    ChooseProfile(*chooser, 0, fixture.frame.get());
    EXPECT_EQ(LimitProfiles::Instance().Active(), nullptr);
}

TEST_F(LimitsDesktop, TheChosenProfileIsInForceAgainAtTheNextStart) {
    // One per-user store across the starts (each frame fixture would give its own).
    const auto useStore = [this] {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(m_dir.File("store")));
    };
    std::string text(DefaultProfileText());
    text.replace(text.find("Name = "), 0, "Name = Block 7\n; ");
    test::WriteFile(m_dir.File("block7.ini"), text);
    const QString block7 = QString::fromStdString(m_dir.File("block7.ini"));
    const auto choose = [&](test::FrameFixture& fixture, bool other) {
        useStore();
        auto* chooser = fixture.frame->findChild<QComboBox*>("limitProfileChooser");
        fixture.prompt.openNames << block7;
        ChooseProfile(*chooser, other ? chooser->count() - 1 : 1, fixture.frame.get());
    };
    const auto restart = [] {
        LimitProfiles::Instance().SetActive(std::nullopt);
        RestoreLimitProfile();
        return LimitProfiles::Instance().Active();
    };
    const auto chooserOf = [](test::FrameFixture& fixture) {
        return fixture.frame->findChild<QComboBox*>("limitProfileChooser");
    };
    {
        test::FrameFixture fixture;
        choose(fixture, true);
    }
    // The file's profile is active again and the chooser shows it before "Other file...".
    ASSERT_NE(restart(), nullptr);
    EXPECT_EQ(LimitProfiles::Instance().Active()->name, "Block 7");
    {
        test::FrameFixture fixture;
        EXPECT_EQ(chooserOf(fixture)->currentText(), "block7");
        EXPECT_EQ(chooserOf(fixture)->currentIndex(), chooserOf(fixture)->count() - 2);
        choose(fixture, false); // the shipped one
    }
    ASSERT_NE(restart(), nullptr);
    EXPECT_EQ(LimitProfiles::Instance().Active()->name, DefaultProfile().name);
    {
        test::FrameFixture fixture;
        EXPECT_EQ(chooserOf(fixture)->currentIndex(), 1);
        choose(fixture, true);
    }
    // A remembered file that has gone: no profile, and it is forgotten.
    std::remove(m_dir.File("block7.ini").c_str());
    EXPECT_EQ(restart(), nullptr);
    EXPECT_EQ(UserStore().value("LimitProfile").toString(), "");
    test::FrameFixture fixture;
    EXPECT_EQ(chooserOf(fixture)->currentIndex(), 0);
}

// The visible one of the window's dialogs of that name (closed ones wait for deletion).
template <class Dialog = QDialog> Dialog* VisibleDialog(QWidget* window, const char* name) {
    for (Dialog* d : window->findChildren<Dialog*>(name))
        if (d->isVisible())
            return d;
    return nullptr;
}

// Counts the ticks of a timer while the report's progress is on screen, and clicks its
// Cancel at the first tick when asked to.
struct WhileWriting {
    QTimer timer;
    int ticks = 0;
    WhileWriting(QWidget* window, bool cancel) {
        QObject::connect(&timer, &QTimer::timeout, [this, window, cancel] {
            QDialog* progress = VisibleDialog(window, "reportProgress");
            if (!progress)
                return;
            if (++ticks == 1 && cancel)
                QTest::mouseClick(progress->findChild<QPushButton*>("cancel"), Qt::LeftButton);
        });
        timer.start(0);
    }
};

TEST_F(LimitsDesktop, ReportAsksForItsDetailsRemembersThemAndWritesOnAWorker) {
    test::FrameFixture fixture;
    QWidget* window = fixture.frame.get();
    CLevantoApp::Instance().Files().Assign(
        LoadProject(test::SourcePath("samples/sample.f71")).elements);
    auto* report = fixture.frame->findChild<QAction*>("reportAction");
    ASSERT_NE(report, nullptr);
    const QString html = QString::fromStdString(m_dir.File("site.html"));

    // Details typed, then the file dialog cancelled: nothing written, the details kept.
    report->trigger();
    auto* details = VisibleDialog<ReportDetailsDialog>(window, "reportDetails");
    ASSERT_NE(details, nullptr);
    QTest::keyClicks(details->findChild<QLineEdit*>("company"), "Kabelnetz Nord");
    QTest::keyClicks(details->findChild<QLineEdit*>("site"), "Hafen 12");
    QTest::keyClicks(details->findChild<QPlainTextEdit*>("notes"), "outlet 3 closed");
    // A logo that is no picture keeps the dialog open, named in the message.
    QTest::keyClicks(details->findChild<QLineEdit*>("logo"),
                     QString::fromStdString(m_dir.File("x.png")));
    QTest::mouseClick(details->findChild<QPushButton*>("ok"), Qt::LeftButton);
    ASSERT_EQ(fixture.prompt.Texts(), QStringList{"The logo cannot be read"});
    EXPECT_TRUE(details->isVisible());
    details->findChild<QLineEdit*>("logo")->clear();
    fixture.prompt.saveNames << "";
    QTest::mouseClick(details->findChild<QPushButton*>("ok"), Qt::LeftButton);
    EXPECT_FALSE(details->isVisible());
    EXPECT_TRUE(test::FolderNames(m_dir.Path()).empty());

    // The next report starts from them and is written while the window stays live.
    report->trigger();
    details = VisibleDialog<ReportDetailsDialog>(window, "reportDetails");
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->findChild<QLineEdit*>("company")->text(), "Kabelnetz Nord");
    EXPECT_EQ(details->findChild<QPlainTextEdit*>("notes")->toPlainText(), "outlet 3 closed");
    QTest::keyClicks(details->findChild<QLineEdit*>("customer"), "Wohnbau eG");
    fixture.prompt.saveNames << html;
    {
        WhileWriting writing(window, false);
        QTest::mouseClick(details->findChild<QPushButton*>("ok"), Qt::LeftButton);
        EXPECT_EQ(OperationRunner::Running(), 1) << "the click returned while it is written";
        ASSERT_TRUE(test::WaitForOperations());
        EXPECT_GE(writing.ticks, 2);
    }
    EXPECT_EQ(VisibleDialog(window, "reportProgress"), nullptr);
    const std::string written = test::ReadFile(m_dir.File("site.html"));
    for (const char* text : {"Kabelnetz Nord", "Hafen 12", "Wohnbau eG", "outlet 3 closed"})
        EXPECT_NE(written.find(text), std::string::npos) << text;
    EXPECT_EQ(fixture.prompt.messages.size(), 1u);
    EXPECT_EQ(fixture.prompt.filters.back(), "*.pdf|*.pdf|*.html|*.html||");

    // Cancelled while it is written: the old file stays, and no failure is told.
    std::vector<_tagFileDataExt> many;
    for (int i = 0; i < 4; ++i)
        for (const auto& e : LoadProject(test::SourcePath("samples/sample.f71")).elements)
            many.push_back(e);
    CLevantoApp::Instance().Files().Assign(many);
    std::size_t files = 1;
    for (const char* name : {"site.html", "site.pdf"}) {
        test::WriteFile(m_dir.File(name), "old");
        report->trigger();
        details = VisibleDialog<ReportDetailsDialog>(window, "reportDetails");
        ASSERT_NE(details, nullptr);
        fixture.prompt.saveNames << QString::fromStdString(m_dir.File(name));
        WhileWriting writing(window, true);
        QTest::mouseClick(details->findChild<QPushButton*>("ok"), Qt::LeftButton);
        ASSERT_TRUE(test::WaitForOperations());
        EXPECT_GE(writing.ticks, 1) << name;
        EXPECT_EQ(test::ReadFile(m_dir.File(name)), "old") << name;
        EXPECT_EQ(test::FolderNames(m_dir.Path()).size(), files++) << name; // no temporary left
    }
    EXPECT_EQ(fixture.prompt.messages.size(), 1u);
}

// Pictures for a person to judge (scripts/screenshots-limits.sh).
TEST_F(LimitsDesktop, DISABLED_Screenshots) {
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR", QDir::tempPath());
    QDir().mkpath(dir);
    LimitProfiles::Instance().SetActive(DefaultProfile());
    auto level = Open(PaneSection::Level, 0);
    level->resize(1100, 330);
    QTest::qWait(50);
    ASSERT_TRUE(level->grab().save(dir + "/pane-level-limits.png"));
    auto scan = Open(PaneSection::Scan, 0);
    scan->resize(1300, 300);
    QTest::qWait(50);
    ASSERT_TRUE(scan->grab().save(dir + "/pane-scan-limits.png"));
    SetLanguageBase(kLanguageChinese);
    auto zh = Open(PaneSection::Level, 1);
    zh->resize(1100, 330);
    QTest::qWait(50);
    ASSERT_TRUE(zh->grab().save(dir + "/pane-level-limits-zh.png"));
    // The report's details, filled as a technician would, in both languages.
    for (const auto& [base, name] : {std::pair{kLanguageEnglish, "report-details.png"},
                                     std::pair{kLanguageChinese, "report-details-zh.png"}}) {
        SetLanguageBase(base);
        ReportDetailsDialog details;
        details.findChild<QLineEdit*>("company")->setText("Kabelnetz Nord GmbH");
        details.findChild<QLineEdit*>("logo")->setText("/home/amey/logos/kabelnetz-nord.svg");
        details.findChild<QLineEdit*>("site")->setText("Hafenstrasse 12, Block C, 20457 Hamburg");
        details.findChild<QLineEdit*>("customer")->setText("Wohnbau eG");
        details.findChild<QLineEdit*>("order")->setText("WO-2026-0412");
        details.findChild<QLineEdit*>("technician")->setText("Anna Meyer");
        details.findChild<QPlainTextEdit*>("notes")->setPlainText(
            "Amplifier in the basement replaced before measuring;\noutlets 3 and 7 not reachable.");
        details.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&details));
        ASSERT_TRUE(details.grab().save(dir + "/" + name));
    }
    SetLanguageBase(kLanguageEnglish);
}

} // namespace
} // namespace qm
