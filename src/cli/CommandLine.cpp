// The command line of qm7100: global options, the command's name and its dispatch.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <ostream>
#include <string>

#include "app/ProgramVersion.h"
#include "app/Settings.h"
#include "cli/Cli.h"
#include "res/StringTable.h"

namespace qm::cli {

int UsageError(Context& ctx, int message, std::initializer_list<std::string_view> arguments) {
    ctx.err << "qm7100: " << TrFill(message, arguments) << "\n"
            << Tr(txt::kTryQm7100HelpForMoreInformation) << "\n";
    return kExitUsage;
}

int WriteError(Context& ctx, const std::string& path) {
    const int error = errno; // before the stream, which may change it
    ctx.err << "qm7100: " << TrFill(txt::kCannotWritePath, {path, ErrnoText(error)}) << "\n";
    return kExitFailed;
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

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
    const auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end())
        return false;
    args.erase(it);
    return true;
}

} // namespace qm::cli

namespace qm::cli {

int RunCommandLine(std::vector<std::string> args, std::ostream& out, std::ostream& err) {
    Context ctx{{}, out, err, {}, false, {}};

    bool chinese = false;
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        chinese = chinese || (args[i] == "--lang" && args[i + 1] == "zh");
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            out << Tr(txt::kUsage, chinese ? kLanguageChinese : kLanguageEnglish);
            return kExitOk;
        }
        if (a == "--version") {
            out << "qm7100 " << ProgramVersion() << "\n";
            return kExitOk;
        }
    }
    bool ok = true;
    std::string lang = "en", settings;
    TakeOption(args, "--lang", lang, ok);
    const bool hasSettings = TakeOption(args, "--settings", settings, ok);
    // An empty settings name would quietly mean the default file.
    ok = ok && !(hasSettings && settings.empty());
    if (hasSettings && ok) {
        SetSettingsPath(settings);
        ctx.settingsFile = settings;
    }
    TakeOption(args, "--archive", ctx.archive, ok);
    if (const auto trace = std::find(args.begin(), args.end(), "--trace"); trace != args.end()) {
        ctx.trace = true;
        args.erase(trace);
    }
    if (!ok)
        return UsageError(ctx, txt::kOptionMissingValue);
    if (lang != "en" && lang != "zh")
        return UsageError(ctx, txt::kUnknownLanguage2, {lang});
    SetLanguageBase(lang == "zh" ? kLanguageChinese : kLanguageEnglish);

    if (args.empty())
        return UsageError(ctx, txt::kNoCommandGiven);
    std::string command = args.front();
    args.erase(args.begin());
    if (command == "plan") {
        if (args.empty())
            return UsageError(ctx, txt::kPlanNeedsOneShowEditExport);
        command += " " + args.front();
        args.erase(args.begin());
    }

    static const std::map<std::string, int (*)(Context&)> commands = {
        {"tree", RunTree},
        {"show", RunShow},
        {"export", RunExport},
        {"chart", RunChart},
        {"plan show", RunPlanShow},
        {"plan edit", RunPlanEdit},
        {"upload", RunUpload},
        {"plan read", RunPlanRead},
        {"plan write", RunPlanWrite},
        {"capture", RunCapture},
        {"setup", RunSetup},
        {"plan export", RunPlanExport},
        {"compare", RunCompare},
        {"plan import", RunPlanImport},
        {"check", RunCheck},
        {"report", RunReport},
        {"archive", RunArchive},
    };
    auto it = commands.find(command);
    if (it == commands.end())
        return UsageError(ctx, txt::kUnknownCommand2, {command});
    ctx.args = std::move(args);
    return it->second(ctx);
}

} // namespace qm::cli
