#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qm::cli {

enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// What every command gets: the arguments after the command name with the global options
// (--lang, --settings) already taken out and applied.
struct Context {
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
};

// Prints "qm7100: MESSAGE" and a hint to stderr; returns kExitUsage.
int UsageError(Context& ctx, const std::string& message);

// Prints "qm7100: cannot write PATH: REASON" with errno's reason; returns kExitFailed.
int WriteError(Context& ctx, const std::string& path);

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
