#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/DesktopCommandLine.h"
#include "app/Settings.h"
#include "desktop/QtTranslation.h"
#include "desktop/channels/ChannelEditorEntry.h"
#include "desktop/frame/CMainFrame.h"
#include "desktop/frame/ScreenshotDriver.h"
#include "desktop/frame/WorkdeskStartup.h"
#include "desktop/limits/LimitProfiles.h"
#include "res/StringTable.h"

namespace {

// QM_EXIT_AFTER_PAINT (the start-up benchmark): says "painted" once the main window has been
// painted, then ends at once.
class ExitAfterPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::printf("painted\n");
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    // Our own options first, so that --version and --help work without a display.
    const qm::DesktopCommandLine line = qm::ParseDesktopCommandLine({argv + 1, argv + argc});
    if (!line.error.empty()) {
        std::cerr << "qm7100-workdesk: " << line.error << "\n" << qm::DesktopUsage();
        return 2;
    }
    if (line.showHelp) {
        std::cout << qm::DesktopUsage();
        return 0;
    }
    if (line.showVersion) {
        std::cout << qm::DesktopVersionLine();
        return 0;
    }
    // Qt sees only what is not ours (its -platform, -style, ...).
    std::vector<char*> qtArgs{argv[0]};
    std::vector<std::string> passOn = line.passOn;
    for (std::string& arg : passOn)
        qtArgs.push_back(arg.data());
    qtArgs.push_back(nullptr);
    int qtArgc = static_cast<int>(qtArgs.size()) - 1;
    QApplication app(qtArgc, qtArgs.data());
    QApplication::setOrganizationName(QStringLiteral("QM7100"));
    QApplication::setApplicationName(QStringLiteral("QM7100 Workdesk"));

    // The language comes first: every text of the main window depends on it.
    qm::SetLanguageBase(line.language.empty()   ? qm::SystemLanguageBase()
                        : line.language == "zh" ? qm::kLanguageChinese
                                                : qm::kLanguageEnglish);
    // Qt's own texts: beside the program (a Windows install), else Qt's directory.
    qm::InstallQtTranslation(app, qm::LanguageBase(),
                             QApplication::applicationDirPath() + QStringLiteral("/translations"));
    // The limit profile of the last run, unless taking pictures (they show the plain panes).
    if (!qEnvironmentVariableIsSet("QM_SCREENSHOT_DIR"))
        qm::RestoreLimitProfile();
    auto frame = std::make_unique<qm::CMainFrame>();
    ExitAfterPaint exitAfterPaint;
    if (qEnvironmentVariableIsSet("QM_EXIT_AFTER_PAINT"))
        frame->installEventFilter(&exitAfterPaint);
    qm::ScreenshotDriver* screenshots = qm::ScreenshotDriver::FromEnvironment(*frame);

    qm::StartWithFile(*frame,
                      line.settingsFile.empty() ? qm::DefaultSettingsPath() : line.settingsFile,
                      line.projectFile, line.planFile);
    if (screenshots)
        screenshots->Start();
    const int result = QApplication::exec();

    frame.reset();
    qm::EndProgram();
    return result;
}
