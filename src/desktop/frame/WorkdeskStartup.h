#pragma once

#include <string>

namespace qm {

class CMainFrame;

// Start-up once the main window exists: the settings path, the window shown, the null chart
// and the connection dialog (modal; the program goes on whether the user connects or not).
void StartMainWindow(CMainFrame& frame, const std::string& settingsPath);

// End of the program, after the main window has gone: the release command, then the port is
// closed, last of all.
void EndProgram();

} // namespace qm
