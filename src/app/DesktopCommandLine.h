#pragma once

#include <string>
#include <vector>

namespace qm {

// What qm7100-workdesk was asked to do on its command line:
//   qm7100-workdesk [--settings FILE] [--lang en|zh] [FILE.f71 | FILE.f71CH]
//   qm7100-workdesk --version | --help
// A project file opens into the file tree as Open does; a channel-plan file opens the channel
// editor with that plan. Either way the connection dialog stays away at start.
struct DesktopCommandLine {
    bool showVersion = false;
    bool showHelp = false;
    std::string projectFile;
    std::string planFile;
    std::string settingsFile; // empty: the default settings rule
    std::string language;     // "en", "zh" or empty (the built-in default)
    std::string error;        // non-empty: print it with the usage and exit 2
    // Anything not ours (Qt's own -platform, -style, ...) is left for QApplication.
    std::vector<std::string> passOn;
};

DesktopCommandLine ParseDesktopCommandLine(const std::vector<std::string>& args);

// "--help" text and the "--version" line.
const char* DesktopUsage();
std::string DesktopVersionLine();

} // namespace qm
