#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "res/StringTable.h"
#include <vector>

namespace qm {
struct LimitProfile;
struct _tagFileDataExt;
} // namespace qm

namespace qm::cli {

// 3: a checked value is outside its limit; 4: a plan edit was refused or ignored (the edits
// that applied are saved); 130: a meter operation stopped by Ctrl-C, as a shell reports SIGINT.
enum ExitCode {
    kExitOk = 0,
    kExitFailed = 1,
    kExitUsage = 2,
    kExitLimitsFailed = 3,
    kExitNotApplied = 4,
    kExitCancelled = 130
};

// What every command gets: the arguments after the command name with the global options
// (--lang, --settings, --trace) already taken out and applied.
struct Context {
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
    // The --settings FILE given, empty when the default settings rule applies.
    std::string settingsFile;
    // Print every frame sent to the meter on err, as the simulator's --log does.
    bool trace = false;
    // The --archive URL given, empty when the settings (or the default) name the archive.
    std::string archive;
};

// Runs the command line after the program name: the global options, then the command. What
// the command prints goes to out and err; returns the exit status.
int RunCommandLine(std::vector<std::string> args, std::ostream& out, std::ostream& err);

// Prints "qm7100: MESSAGE" and a hint to stderr; returns kExitUsage. MESSAGE is a text id,
// with "%s" filled in by the argument the user gave, quoted as the language quotes.
int UsageError(Context& ctx, int message, std::initializer_list<std::string_view> arguments = {});

// Prints "qm7100: cannot write PATH: REASON" with errno's reason; returns kExitFailed.
int WriteError(Context& ctx, const std::string& path);

// Strict number parsing: the whole text must be a number.
bool ParseInt(const std::string& text, long& value);

// Takes "--name VALUE" out of args; false when absent. A missing VALUE is a usage error,
// reported through ok = false.
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value,
                bool& ok);

// Takes a flag such as "--json" out of args; true when it was there.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);

// A text from a file or the meter on one line and in one TAB-separated column: CR, LF and
// TAB as \r, \n, \t, other control bytes as \xHH. Everything else passes unchanged.
std::string Escaped(const std::string& text);

// Refuses (message on stderr, false) a file of the other kind: a channel-plan file given as
// a project, or a project file given as a channel plan. Both start with a count and the tag
// 200, so the layout of the rest tells them apart. A file that cannot be read passes, for
// the loader to report.
bool RefusePlanAsProject(Context& ctx, const std::string& path);
bool RefuseProjectAsPlan(Context& ctx, const std::string& path);

// False (and the reason on stderr) when --settings named a file that does not exist; called
// by the commands that read the settings.
bool SettingsReadable(Context& ctx);

// Commands, one file each.
int RunTree(Context& ctx);
int RunShow(Context& ctx);
int RunExport(Context& ctx);
int RunCompare(Context& ctx);
int RunChart(Context& ctx);
int RunPlanShow(Context& ctx);
int RunPlanEdit(Context& ctx);
int RunPlanExport(Context& ctx);
int RunPlanImport(Context& ctx);
int RunUpload(Context& ctx);
int RunPlanRead(Context& ctx);
int RunPlanWrite(Context& ctx);
int RunCapture(Context& ctx);
int RunSetup(Context& ctx);
int RunCheck(Context& ctx);

// qm7100 archive add|sites|list|trend|export|push.
int RunArchive(Context& ctx);
// After an upload saved to project: adds the files to the archive when --archive or the
// settings name one. A failure is reported and fails nothing.
void KeepUploadInArchive(Context& ctx, const std::vector<_tagFileDataExt>& elements,
                         const std::string& project);

// Fonts and the PDF writer need the GUI layer; the tool has no window, so it never needs a
// display (builds with the chart engine only).
void EnsureGuiApplication();
int RunReport(Context& ctx);

// The profile at path, or the shipped default for an empty path; false (the reason on
// stderr) when the file is missing or faulty.
bool LoadProfileOrReport(Context& ctx, const std::string& path, LimitProfile& profile);

} // namespace qm::cli
