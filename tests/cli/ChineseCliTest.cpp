// Under --lang zh every usage and error line of the tool is Chinese, but for the names a
// user types (commands, options, placeholders), units and file names.
#include <algorithm>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/Cli.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

// Latin words of a line that are neither typed names nor units.
std::vector<std::string> Foreign(const std::string& line) {
    static const std::set<std::string> allowed = {
        "qm7100", "tree",     "show",    "export",     "chart", "plan",   "edit",    "read",
        "write",  "upload",   "capture", "setup",      "check", "report", "compare", "archive",
        "add",    "sites",    "list",    "trend",      "push",  "import", "level",   "tilt",
        "scan",   "spectrum", "hum",     "limit",      "mer",   "ber",    "audio",   "on",
        "zh",     "en",       "sqlite",  "postgresql", "dBuV",  "dBmV",   "dBm",     "MHz",
        "MS",     "s",        "kB",      "B",          "x",     "ms",     "EN",      "COM",
        "CH",     "DVB-C",    "SR",      "C",          "F",     "Y",      "M",       "D",
        "A",      "E",        "PNG",     "CSV",        "URL",   "baud"};
    static const std::regex word(R"([A-Za-z][A-Za-z0-9\-./_|]*)");
    // What the user typed comes back quoted as typed.
    static const std::regex quoted("\u201C.*?\u201D");
    const std::string text = std::regex_replace(line, quoted, "");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), word);
         it != std::sregex_iterator(); ++it) {
        std::string w = it->str();
        while (!w.empty() && (w.back() == '.' || w.back() == '-'))
            w.pop_back();
        const bool typed = w.find_first_of("./_|0123456789") != std::string::npos ||
                           std::all_of(w.begin(), w.end(), [](char c) {
                               return (c >= 'A' && c <= 'Z') || c == '-' || c == 'x';
                           });
        const std::size_t at = static_cast<std::size_t>(it->position());
        const bool option = at > 1 && text.compare(at - 2, 2, "--") == 0;
        const bool extension = at > 0 && text[at - 1] == '.';
        if (!typed && !option && !extension && !allowed.count(w))
            found.push_back(w);
    }
    return found;
}

TEST(ChineseCli, UsageAndErrorLinesHoldNoEnglishWords) {
    test::TempDir dir;
    test::WriteFile(dir.File("bad.f71"), "not a project");
    const std::string bad = dir.File("bad.f71");
    const std::string project = test::SourcePath("samples/sample.f71");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"tree"},
        {"tree", bad},
        {"tree", dir.File("missing.f71")},
        {"show", project},
        {"show", project, "x", "level"},
        {"show", project, "9", "level"},
        {"show", project, "0", "nothing"},
        {"show", project, "0", "scan", "--marker", "y"},
        {"export", project},
        {"chart", project, "0", "scan", "out.txt"},
        {"chart", project, "0", "level", dir.File("o.png")},
        {"chart", project, "0", "scan", "o.png", "--size", "0x0"},
        {"plan"},
        {"plan", "show"},
        {"plan", "edit", "x.f71CH"},
        {"plan", "export"},
        {"plan", "import", "a.csv"},
        {"plan", "read", "Z", "o.f71CH"},
        {"plan", "write"},
        {"upload"},
        {"upload", dir.File("o.f71"), "--port", "COM0"},
        {"upload", dir.File("o.f71"), "--port", ""},
        {"capture"},
        {"setup", "--level-unit", "V"},
        {"setup", "--temp-unit", "K"},
        {"setup", "--shutdown", "7"},
        {"setup", "--date-format", "X"},
        {"setup", "--time", "yesterday"},
        {"check"},
        {"check", project, "0", "--profile", dir.File("none.ini")},
        {"report"},
        {"compare"},
        {"archive"},
        {"archive", "frob"},
        {"archive", "trend", "site", "many"},
        {"--lang"},
        {"compare", project, "0", project, "1"}, // the comparison itself, on stdout
    };
    for (std::vector<std::string> args : cases) {
        args.insert(args.begin(), {"--lang", "zh", "--settings", dir.File("setup.ini")});
        std::ostringstream out, err;
        cli::RunCommandLine(args, out, err);
        std::istringstream lines(err.str() + out.str());
        std::string joined;
        for (const std::string& a : args)
            joined += a + ' ';
        EXPECT_FALSE(err.str().empty() && out.str().empty()) << joined;
        for (std::string line; std::getline(lines, line);) {
            // A path the user gave comes back as given, whatever words its folders hold.
            for (const std::string& a : args)
                if (a.find_first_of("/\\") != std::string::npos)
                    for (std::size_t at; (at = line.find(a)) != std::string::npos;)
                        line.erase(at, a.size());
            const std::vector<std::string> foreign = Foreign(line);
            EXPECT_TRUE(foreign.empty()) << joined << "\n  " << line << "\n  holds " << foreign[0];
        }
    }
    SetLanguageBase(kLanguageEnglish);
}

} // namespace
} // namespace qm
