#include "app/DesktopCommandLine.h"

#include "app/ProgramVersion.h"

namespace qm {

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    if (text.size() <= tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const char a = text[text.size() - tail.size() + i];
        const char lower = a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a;
        if (lower != tail[i])
            return false;
    }
    return true;
}

// Qt's own options that take a value, so the value is not taken for a file name.
bool TakesValue(const std::string& option) {
    static const char* const kValued[] = {"-platform",
                                          "-platformpluginpath",
                                          "-platformtheme",
                                          "-plugin",
                                          "-qwindowgeometry",
                                          "-qwindowicon",
                                          "-qwindowtitle",
                                          "-style",
                                          "-stylesheet",
                                          "-session",
                                          "-display",
                                          "-geometry",
                                          "-name",
                                          "-title",
                                          "-font",
                                          "-fn",
                                          "-bg",
                                          "-fg",
                                          "-btn",
                                          "-visual"};
    for (const char* name : kValued) {
        if (option == name || option == std::string("-") + name)
            return true;
    }
    return false;
}

} // namespace

DesktopCommandLine ParseDesktopCommandLine(const std::vector<std::string>& args) {
    DesktopCommandLine line;
    bool filesOnly = false;
    for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        const std::string& a = args[i];
        if (!filesOnly && (a == "--version" || a == "-v")) {
            line.showVersion = true;
        } else if (!filesOnly && (a == "--help" || a == "-h")) {
            line.showHelp = true;
        } else if (!filesOnly && (a == "--settings" || a == "--lang")) {
            // An empty settings name would quietly mean the default file.
            if (i + 1 >= args.size() || (a == "--settings" && args[i + 1].empty())) {
                line.error = a + " needs a value";
                break;
            }
            (a == "--settings" ? line.settingsFile : line.language) = args[++i];
            if (a == "--lang" && line.language != "en" && line.language != "zh")
                line.error = "unknown language '" + line.language + "'";
        } else if (!filesOnly && a == "--") {
            filesOnly = true;
        } else if (!filesOnly && !a.empty() && a[0] == '-') {
            line.passOn.push_back(a);
            if (TakesValue(a) && i + 1 < args.size())
                line.passOn.push_back(args[++i]);
        } else if (EndsWithNoCase(a, ".f71ch")) {
            if (!line.planFile.empty() || !line.projectFile.empty())
                line.error = "only one file can be opened at start";
            line.planFile = a;
        } else if (EndsWithNoCase(a, ".f71")) {
            if (!line.planFile.empty() || !line.projectFile.empty())
                line.error = "only one file can be opened at start";
            line.projectFile = a;
        } else {
            line.error = "'" + a + "' is neither a project file (.f71) nor a channel-plan file " +
                         "(.f71CH)";
        }
    }
    return line;
}

const char* DesktopUsage() {
    return R"(usage: qm7100-workdesk [--lang en|zh] [--settings FILE] [FILE.f71 | FILE.f71CH]

The desktop program of the QM7100 signal level meter. A project file (.f71) opens into the
file tree; a channel-plan file (.f71CH) opens the channel editor with that plan. The
connection dialog is shown at start either way.

Options:
  --lang zh        Chinese texts (default: English)
  --settings FILE  use FILE instead of the default setup.ini
  --version        print the version and exit
  --help           this text
)";
}

std::string DesktopVersionLine() {
    return std::string("qm7100-workdesk ") + ProgramVersion() + "\n";
}

} // namespace qm
