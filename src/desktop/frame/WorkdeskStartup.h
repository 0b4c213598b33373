#pragma once

#include <string>

namespace qm {

class CMainFrame;

// Start-up once the main window exists: the settings path, the window shown, the null chart
// and the connection dialog (modal; the program goes on whether the user connects or not).
void StartMainWindow(CMainFrame& frame, const std::string& settingsPath);

// Start-up for a file named on the command line (a double-click in the file manager): the
// window shows the project file at once, or the channel editor with the plan file, and the
// connection dialog stays away; Connect is one click on the ribbon. Without a file, as
// StartMainWindow.
void StartWithFile(CMainFrame& frame, const std::string& settingsPath,
                   const std::string& projectFile, const std::string& planFile);

// End of the program, after the main window has gone: the release command, then the port is
// closed, last of all.
void EndProgram();

} // namespace qm
