#include "desktop/frame/WorkdeskStartup.h"

#include "app/Settings.h"
#include "desktop/CLevantoApp.h"
#include "desktop/frame/CChartHolder.h"
#include "desktop/frame/CMainFrame.h"
#include "link/MeterCommands.h"
#include "link/cnComm.h"

namespace qm {

void StartMainWindow(CMainFrame& frame, const std::string& settingsPath) {
    SetSettingsPath(settingsPath);
    frame.show();
    frame.Holder().InstallNullController();
    frame.ShowConnectDialog(false);
}

void EndProgram() {
    cnComm& port = CLevantoApp::Instance().Port();
    // Returns at once when the port is not open.
    Release(port);
    port.Close();
}

} // namespace qm
