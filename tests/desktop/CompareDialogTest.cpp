#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "app/ProjectFile.h"
#include "chart/SpectrumOverlay.h"
#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/panes/CAnalysisDialog.h"
#include "desktop/panes/CCompareDialog.h"
#include "panes/MeasurementCompare.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

bool HasColour(const QImage& image, COLORREF colour) {
    const QRgb wanted = qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF))
                return true;
    return false;
}

class CompareDialog : public ::testing::Test {
protected:
    void SetUp() override {
        m_elements = LoadProject(test::SourcePath("samples/sample.f71")).elements;
        ASSERT_EQ(m_elements.size(), 3u);
        CLevantoApp::Instance().Files().Assign(m_elements);
    }
    void TearDown() override { CLevantoApp::Instance().Files().Clear(); }
    std::vector<_tagFileDataExt> m_elements;
};

TEST_F(CompareDialog, ShowsTheCoreTablesAndBothFilesOverlaidInTheChart) {
    CCompareDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.SelectFile(1, 2);
    auto* channels = dialog.findChild<QTableWidget*>("Channels");
    ASSERT_TRUE(channels);
    const MeasurementCompare expected(m_elements[0], m_elements[2]);
    ASSERT_EQ(channels->rowCount(), static_cast<int>(expected.Channels().rows.size()));
    EXPECT_EQ(channels->item(0, kCmpLevelDelta)->text().toStdString(),
              expected.Channels().rows[0][kCmpLevelDelta]);
    EXPECT_TRUE(HasColour(dialog.ChartImage(), kOverlayColour)); // scans
    dialog.ShowSpectra(true);
    EXPECT_TRUE(HasColour(dialog.ChartImage(), kOverlayColour));

    // B from a project of its own: a failed open keeps the choice and says why.
    test::FakePrompt prompt;
    ScopedPrompt scoped(prompt);
    prompt.openNames.push_back(QString::fromStdString(test::SourcePath("missing.f71")));
    QTest::mouseClick(dialog.findChild<QPushButton*>("openB"), Qt::LeftButton);
    EXPECT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(channels->rowCount(), static_cast<int>(expected.Channels().rows.size()));
}

TEST_F(CompareDialog, SpectrumPaneKeepsAndClearsTheReference) {
    auto pane = CreateAnalysisDialog(PaneSection::Spectrum);
    pane->ShowFile(1);
    QTest::mouseClick(pane->findChild<QPushButton*>("setReferenceButton"), Qt::LeftButton);
    const auto kept = SpectrumReference().Load();
    ASSERT_TRUE(kept && !kept->Empty());
    EXPECT_TRUE(kept->label.contains("TERR01"));
    QTest::mouseClick(pane->findChild<QPushButton*>("clearReferenceButton"), Qt::LeftButton);
    EXPECT_TRUE(SpectrumReference().Load()->Empty());
}

TEST_F(CompareDialog, ItsTextsFollowTheChineseBase) {
    SetLanguageBase(kLanguageChinese);
    CCompareDialog dialog;
    auto pane = CreateAnalysisDialog(PaneSection::Spectrum);
    SetLanguageBase(kLanguageEnglish);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("测量对比"));
    EXPECT_EQ(dialog.findChild<QPushButton*>("openB")->text(), QString::fromUtf8("打开工程…"));
    EXPECT_EQ(pane->findChild<QPushButton*>("setReferenceButton")->text(),
              QString::fromUtf8("设为参考"));
}

TEST_F(CompareDialog, DISABLED_Screenshots) {
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR", QDir::tempPath());
    QDir().mkpath(dir);
    CCompareDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.SelectFile(1, 2);
    QApplication::processEvents();
    ASSERT_TRUE(dialog.grab().save(dir + "/compare.png"));
    dialog.ShowSpectra(true);
    QApplication::processEvents();
    ASSERT_TRUE(dialog.grab().save(dir + "/compare-spectrum.png"));
}

} // namespace
} // namespace qm
