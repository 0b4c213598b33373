#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qm::cli {

// A meter operation stopped by Ctrl-C ends as a shell reports SIGINT.
enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2, kExitCancelled = 130 };

// What every command gets: the arguments after the command name with the global options
// (--lang, --settings, --trace) already taken out and applied.
struct Context {
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
    // Print every frame sent to the meter on err, as the simulator's --log does.
    bool trace = false;
};

// Prints "qm7100: MESSAGE" and a hint to stderr; returns kExitUsage.
int UsageError(Context& ctx, const std::string& message);

// Strict number parsing: the whole text must be a number.
bool ParseInt(const std::string& text, long& value);

// Takes "--name VALUE" out of args; false when absent. A missing VALUE is a usage error,
// reported through ok = false.
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value,
                bool& ok);

// Commands, one file each.
int RunTree(Context& ctx);
int RunShow(Context& ctx);
int RunExport(Context& ctx);
int RunChart(Context& ctx);
int RunPlanShow(Context& ctx);
int RunPlanEdit(Context& ctx);
int RunUpload(Context& ctx);
int RunPlanRead(Context& ctx);
int RunPlanWrite(Context& ctx);
int RunCapture(Context& ctx);
int RunSetup(Context& ctx);

} // namespace qm::cli
