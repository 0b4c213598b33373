// qm7100: the command-line tool of QM7100 Workdesk.
#include <algorithm>
#include <iostream>
#include <map>
#include <string>

#include "app/Settings.h"
#include "cli/Cli.h"
#include "res/StringTable.h"

namespace {

const char* const kUsage = R"(usage: qm7100 [--lang en|zh] [--settings FILE] COMMAND ...

Analysis of project files (.f71); INDEX is the 0-based element index, SECTION one of
level, tilt, scan, spectrum, hum, limit:
  qm7100 tree PROJECT.f71
  qm7100 show PROJECT.f71 INDEX SECTION [--marker POS]
  qm7100 export PROJECT.f71 INDEX SECTION OUT.csv
  qm7100 chart PROJECT.f71 INDEX SECTION OUT.png [--size WxH] [--marker POS]

Channel-plan files (.f71CH):
  qm7100 plan show PLAN.f71CH
  qm7100 plan edit PLAN.f71CH ROW COLUMN TEXT [ROW COLUMN TEXT ...] [--output OUT.f71CH]

Meter operations (--port PORT: a device path or COMn; --baud RATE):
  qm7100 upload OUT.f71 [--port PORT]
  qm7100 plan read SLOT OUT.f71CH [--port PORT]
  qm7100 plan write SLOT IN.f71CH [--port PORT]
  qm7100 capture OUT.bmp [--port PORT]
  qm7100 setup [--level-unit dBuV|dBmV|dBm] [--temp-unit C|F] [--shutdown 3|5|10|30|on]
               [--date-format Y/M/D|D/M/Y|M/D/Y] [--time "YYYY-MM-DD HH:MM:SS"] [--port PORT]

Options:
  --lang zh        Chinese texts (default: English)
  --settings FILE  use FILE instead of the setup.ini beside the executable
  --trace          print every frame sent to the meter on stderr, as qm7100-sim --log does
  --help           this text
)";

} // namespace

namespace qm::cli {

int UsageError(Context& ctx, const std::string& message) {
    ctx.err << "qm7100: " << message << "\n"
            << "Try 'qm7100 --help' for more information.\n";
    return kExitUsage;
}

bool ParseInt(const std::string& text, long& value) {
    if (text.empty())
        return false;
    std::size_t used = 0;
    try {
        value = std::stol(text, &used, 10);
    } catch (...) {
        return false;
    }
    return used == text.size();
}

bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value,
                bool& ok) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != name)
            continue;
        if (i + 1 >= args.size()) {
            ok = false;
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            return false;
        }
        value = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return true;
    }
    return false;
}

} // namespace qm::cli

int main(int argc, char** argv) {
    using namespace qm::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    Context ctx{{}, std::cout, std::cerr};

    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return kExitOk;
        }
    }
    bool ok = true;
    std::string lang = "en", settings;
    TakeOption(args, "--lang", lang, ok);
    if (TakeOption(args, "--settings", settings, ok))
        qm::SetSettingsPath(settings);
    if (const auto trace = std::find(args.begin(), args.end(), "--trace"); trace != args.end()) {
        ctx.trace = true;
        args.erase(trace);
    }
    if (!ok)
        return UsageError(ctx, "an option is missing its value");
    if (lang != "en" && lang != "zh")
        return UsageError(ctx, "unknown language '" + lang + "'");
    qm::SetLanguageBase(lang == "zh" ? qm::kLanguageChinese : qm::kLanguageEnglish);

    if (args.empty())
        return UsageError(ctx, "no command given");
    std::string command = args.front();
    args.erase(args.begin());
    if (command == "plan") {
        if (args.empty())
            return UsageError(ctx, "plan needs one of show, edit, read, write");
        command += " " + args.front();
        args.erase(args.begin());
    }

    static const std::map<std::string, int (*)(Context&)> commands = {
        {"tree", RunTree},       {"show", RunShow},          {"export", RunExport},
        {"chart", RunChart},     {"plan show", RunPlanShow}, {"plan edit", RunPlanEdit},
        {"upload", RunUpload},   {"plan read", RunPlanRead}, {"plan write", RunPlanWrite},
        {"capture", RunCapture}, {"setup", RunSetup},
    };
    auto it = commands.find(command);
    if (it == commands.end())
        return UsageError(ctx, "unknown command '" + command + "'");
    ctx.args = std::move(args);
    return it->second(ctx);
}
