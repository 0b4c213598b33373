#include "desktop/frame/WorkdeskStartup.h"

#include "app/Settings.h"
#include "desktop/CLevantoApp.h"
#include "desktop/channels/ChannelEditorEntry.h"
#include "desktop/frame/CChartHolder.h"
#include "desktop/frame/CFileTreeView.h"
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

void StartWithFile(CMainFrame& frame, const std::string& settingsPath,
                   const std::string& projectFile, const std::string& planFile) {
    if (projectFile.empty() && planFile.empty()) {
        StartMainWindow(frame, settingsPath);
        return;
    }
    SetSettingsPath(settingsPath);
    frame.show();
    frame.Holder().InstallNullController();
    if (!projectFile.empty()) {
        frame.OpenProjectFile(projectFile);
        // Its first file open in the tree, ready for the keys.
        CFileTreeView* tree = frame.Tree();
        if (QTreeWidgetItem* first = tree->topLevelItem(0)) {
            tree->expandItem(first);
            tree->setCurrentItem(first);
            tree->setFocus(Qt::OtherFocusReason);
        }
    }
    if (!planFile.empty())
        OpenChannelEditor(&frame, planFile);
}

void EndProgram() {
    cnComm& port = CLevantoApp::Instance().Port();
    // Returns at once when the port is not open.
    Release(port);
    port.Close();
}

} // namespace qm
