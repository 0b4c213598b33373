#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/Settings.h"
#include "desktop/frame/CMainFrame.h"
#include "desktop/frame/ScreenshotDriver.h"
#include "desktop/frame/WorkdeskStartup.h"
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
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QM7100"));
    QApplication::setApplicationName(QStringLiteral("QM7100 Workdesk"));

    // The language comes first: every text of the main window depends on it.
    qm::SetLanguageBase(qm::SystemLanguageBase());
    auto frame = std::make_unique<qm::CMainFrame>();
    ExitAfterPaint exitAfterPaint;
    if (qEnvironmentVariableIsSet("QM_EXIT_AFTER_PAINT"))
        frame->installEventFilter(&exitAfterPaint);
    qm::ScreenshotDriver* screenshots = qm::ScreenshotDriver::FromEnvironment(*frame);

    qm::StartMainWindow(*frame, qm::DefaultSettingsPath());
    if (screenshots)
        screenshots->Start();
    const int result = QApplication::exec();

    frame.reset();
    qm::EndProgram();
    return result;
}
