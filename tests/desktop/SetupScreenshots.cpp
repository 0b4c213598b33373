// Pictures of the set-up windows for a person to judge; run by scripts/screenshots-setup.sh on a
// real display, skipped otherwise.
#include <QDir>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "SetupTestSupport.h"
#include "desktop/setup/CDlgNormalSet.h"
#include "desktop/setup/CDlgPictureCap.h"
#include "res/StringTable.h"

namespace qm {
namespace {

void Save(QWidget& window, const QString& name) {
    window.show();
    QTest::qWait(300); // let the window manager map and paint it
    const QString path = QDir(qEnvironmentVariable("QM_SCREENSHOT_DIR")).filePath(name);
    EXPECT_TRUE(window.grab().save(path)) << path.toStdString();
}

TEST(SetupScreenshots, DISABLED_TimeUnitAndCapture) {
    if (qEnvironmentVariableIsEmpty("QM_SCREENSHOT_DIR"))
        GTEST_SKIP() << "QM_SCREENSHOT_DIR not set";
    test::FakePrompt prompt;
    ScopedPrompt scope(prompt);
    test::SetupSettings ini;
    {
        CDlgNormalSet dialog;
        Save(dialog, "time-unit.png");
    }
    SetLanguageBase(kLanguageChinese);
    {
        CDlgNormalSet dialog;
        Save(dialog, "time-unit-zh.png");
    }
    SetLanguageBase(kLanguageEnglish);

    test::SimProcess sim({"--baud", "4000000"});
    ini.Connect(sim.Path(), "4000000");
    CDlgPictureCap capture;
    capture.SetCaptureFile(QString::fromStdString(ini.dir.File("temp.bmp")));
    capture.show();
    test::Click(capture, "upload");
    EXPECT_TRUE(prompt.messages.empty());
    Save(capture, "capture.png");
}

} // namespace
} // namespace qm
