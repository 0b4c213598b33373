// Pictures of the six pane dialogs for a person to judge (scripts/screenshots-panes.sh).
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ProjectFile.h"
#include "desktop/CLevantoApp.h"
#include "desktop/panes/CAnalysisDialog.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

void Save(PaneSection section, long index, const QString& path) {
    auto dialog = CreateAnalysisDialog(section);
    dialog->resize(1100, 260);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    dialog->ShowFile(index);
    if (dialog->Section() != PaneSection::Level && dialog->Section() != PaneSection::Hum)
        dialog->MarkerMoved(3);
    QApplication::processEvents();
    ASSERT_TRUE(dialog->grab().save(path)) << path.toStdString();
}

TEST(PaneScreenshots, DISABLED_SixDialogs) {
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR", QDir::tempPath());
    QDir().mkpath(dir);
    CLevantoApp::Instance().Files().Assign(
        LoadProject(test::SourcePath("samples/sample.f71")).elements);
    const std::pair<PaneSection, const char*> sections[] = {
        {PaneSection::Level, "level"}, {PaneSection::Tilt, "tilt"},
        {PaneSection::Scan, "scan"},   {PaneSection::Spectrum, "spectrum"},
        {PaneSection::Hum, "hum"},     {PaneSection::Limit, "limit"}};
    for (auto [section, name] : sections)
        Save(section, 2, dir + "/dialog-" + name + ".png");
    SetLanguageBase(kLanguageChinese);
    Save(PaneSection::Spectrum, 0, dir + "/dialog-spectrum-zh.png");
    Save(PaneSection::Level, 0, dir + "/dialog-level-zh.png");
    SetLanguageBase(kLanguageEnglish);
    CLevantoApp::Instance().Files().Clear();
}

} // namespace
} // namespace qm
