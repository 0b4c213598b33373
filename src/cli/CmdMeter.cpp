// The meter commands: upload, plan read, plan write, capture, setup.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <memory>

#include <span>

#include "app/FileCollection.h"
#include "app/ProjectFile.h"
#include "app/Settings.h"
#include "base/Platform.h"
#include "channels/ChannelPlanFile.h"
#include "cli/Cli.h"
#include "link/cnComm.h"
#include "operations/PlanTransfer.h"
#include "operations/ScreenCapture.h"
#include "operations/TimeUnitOperation.h"
#include "operations/UploadOperation.h"
#include "res/StringTable.h"

namespace qm::cli {

namespace {

// Takes --port and --baud out of the arguments. Without --port the settings name the port, as
// in the desktop program; a --baud alone changes only the speed.
bool TakeTarget(Context& ctx, ConnectTarget& target) {
    bool ok = true;
    std::string port, baud;
    const bool hasPort = TakeOption(ctx.args, "--port", port, ok);
    const bool hasBaud = TakeOption(ctx.args, "--baud", baud, ok);
    if (!ok)
        return false;
    if (hasBaud) {
        long value = 0;
        if (!ParseInt(baud, value) || value <= 0) {
            ok = false;
            return false;
        }
    }
    if (!hasPort && !hasBaud) {
        target = ConnectTarget::FromSettings();
        return true;
    }
    const Settings settings;
    target = ConnectTarget::Direct(hasPort ? port : settings.Port(kPortNotConfigured),
                                   hasBaud ? baud : settings.Baud());
    return true;
}

// A progress bar on stderr when it is a terminal; nothing otherwise.
ProgressFn ProgressBar(Context& ctx, std::shared_ptr<bool>& drawn) {
    drawn = std::make_shared<bool>(false);
    if (&ctx.err != &std::cerr || !IsTerminal(stderr))
        return {};
    return [&err = ctx.err, drawn](int position, int range) {
        constexpr int kWidth = 40;
        const int filled = range > 0 ? std::min(kWidth, position * kWidth / range) : 0;
        err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] " << position
            << "/" << range << std::flush;
        *drawn = true;
    };
}

void EndProgress(Context& ctx, const std::shared_ptr<bool>& drawn) {
    if (drawn && *drawn)
        ctx.err << "\n";
}

// A failed operation: every message box it would show, then its reason on a line of its own.
int ReportFailure(Context& ctx, const OperationOutcome& outcome) {
    if (outcome.cancelled) {
        ctx.err << "qm7100: cancelled\n";
        return kExitCancelled;
    }
    for (const OperationMessage& m : outcome.messages)
        ctx.err << Tr(m.id) << "\n";
    if (outcome.messages.empty() || !outcome.detail.empty())
        ctx.err << "qm7100: "
                << (outcome.detail.empty() ? "the meter operation failed" : outcome.detail) << "\n";
    return kExitFailed;
}

// The port a meter command runs on, with Ctrl-C asking it to stop (the operation then ends
// within one reply and writes nothing) and, with --trace, every frame sent printed.
std::atomic<cnComm*> g_interruptible{nullptr};

void StopOnInterrupt() {
    if (cnComm* port = g_interruptible.load())
        port->RequestStop();
}

class MeterPort {
public:
    explicit MeterPort(Context& ctx) {
        if (ctx.trace)
            port.SetTrace(
                [&err = ctx.err](cnComm::Direction direction, std::span<const std::uint8_t> bytes) {
                    if (direction == cnComm::Direction::Sent)
                        err << FrameLine(bytes) << std::flush;
                });
        g_interruptible.store(&port);
    }
    ~MeterPort() { g_interruptible.store(nullptr); }
    MeterPort(const MeterPort&) = delete;
    MeterPort& operator=(const MeterPort&) = delete;

    cnComm port;

private:
    // A second Ctrl-C ends the program at once.
    InterruptHandler m_interrupt{StopOnInterrupt};

    // The simulator's log line of a frame: hex bytes separated by spaces.
    static std::string FrameLine(std::span<const std::uint8_t> bytes) {
        std::string line;
        char hex[4];
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", bytes[i]);
            line += hex;
        }
        return line + "\n";
    }
};

// Plan slot letter A-E to 0-4, -1 for anything else.
int SlotOf(const std::string& text) {
    if (text.size() != 1)
        return -1;
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return c >= 'A' && c <= 'E' ? c - 'A' : -1;
}

// "YYYY-MM-DD HH:MM:SS" to the meter's clock; false for text that is not a real date and time
// the meter can hold (years 2000-2255).
bool ParseDateTime(const std::string& text, MeterDateTime& when) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &end) != 6)
        return false;
    if (y < 2000 || y > 2255 || mo < 1 || mo > 12 || d < 1 || h < 0 || h > 23 || mi < 0 ||
        mi > 59 || s < 0 || s > 59)
        return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > kDays[mo - 1] + (mo == 2 && leap ? 1 : 0))
        return false;
    when = {y, mo, d, h, mi, s};
    return true;
}

} // namespace

int RunUpload(Context& ctx) {
    ConnectTarget target;
    if (!TakeTarget(ctx, target))
        return UsageError(ctx, "--port and --baud need a value (--baud a positive number)");
    if (ctx.args.size() != 1)
        return UsageError(ctx, "upload needs OUT.f71");
    MeterPort meter(ctx);
    cnComm& port = meter.port;
    CFileCollection collection;
    std::shared_ptr<bool> drawn;
    const UploadResult result = RunUpload(port, target, collection, ProgressBar(ctx, drawn));
    EndProgress(ctx, drawn);
    // A cancelled upload writes nothing, not even the files read before the stop.
    if (!result.connected || result.fileCount < 0 || result.outcome.cancelled)
        return ReportFailure(ctx, result.outcome);
    // Files read before a failed read are kept, as the desktop program keeps them loaded.
    const ProjectStatus saved = SaveProject(ctx.args[0], collection.Elements());
    if (!result.outcome.ok)
        ReportFailure(ctx, result.outcome);
    if (saved != ProjectStatus::Ok) {
        ctx.err << ProjectStatusText(saved, ctx.args[0]) << "\n";
        return kExitFailed;
    }
    return result.outcome.ok ? kExitOk : kExitFailed;
}

int RunPlanRead(Context& ctx) {
    ConnectTarget target;
    if (!TakeTarget(ctx, target))
        return UsageError(ctx, "--port and --baud need a value (--baud a positive number)");
    if (ctx.args.size() != 2)
        return UsageError(ctx, "plan read needs SLOT and OUT.f71CH");
    const int slot = SlotOf(ctx.args[0]);
    if (slot < 0)
        return UsageError(ctx, "SLOT must be one of A, B, C, D, E: '" + ctx.args[0] + "'");
    MeterPort meter(ctx);
    cnComm& port = meter.port;
    CChannelPlanList plan;
    std::shared_ptr<bool> drawn;
    const PlanUploadResult result = UploadPlan(port, target, slot, plan, ProgressBar(ctx, drawn));
    EndProgress(ctx, drawn);
    if (!result.outcome.ok)
        return ReportFailure(ctx, result.outcome);
    const PlanFileStatus saved = SaveChannelPlan(ctx.args[1], plan);
    if (saved != PlanFileStatus::Ok) {
        ctx.err << PlanFileStatusText(saved, ctx.args[1]) << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

int RunPlanWrite(Context& ctx) {
    ConnectTarget target;
    if (!TakeTarget(ctx, target))
        return UsageError(ctx, "--port and --baud need a value (--baud a positive number)");
    if (ctx.args.size() != 2)
        return UsageError(ctx, "plan write needs SLOT and IN.f71CH");
    const int slot = SlotOf(ctx.args[0]);
    if (slot < 0)
        return UsageError(ctx, "SLOT must be one of A, B, C, D, E: '" + ctx.args[0] + "'");
    CChannelPlanList plan;
    const PlanFileStatus loaded = OpenChannelPlan(ctx.args[1], plan);
    if (loaded != PlanFileStatus::Ok) {
        ctx.err << PlanFileStatusText(loaded, ctx.args[1]) << "\n";
        return kExitFailed;
    }
    MeterPort meter(ctx);
    cnComm& port = meter.port;
    std::shared_ptr<bool> drawn;
    const OperationOutcome outcome =
        DownloadPlan(port, target, slot, plan, ProgressBar(ctx, drawn));
    EndProgress(ctx, drawn);
    return outcome.ok ? kExitOk : ReportFailure(ctx, outcome);
}

int RunCapture(Context& ctx) {
    ConnectTarget target;
    if (!TakeTarget(ctx, target))
        return UsageError(ctx, "--port and --baud need a value (--baud a positive number)");
    if (ctx.args.size() != 1)
        return UsageError(ctx, "capture needs OUT.bmp");
    MeterPort meter(ctx);
    cnComm& port = meter.port;
    std::shared_ptr<bool> drawn;
    const CaptureResult result = CaptureScreen(port, target, ctx.args[0], ProgressBar(ctx, drawn));
    EndProgress(ctx, drawn);
    return result.outcome.ok ? kExitOk : ReportFailure(ctx, result.outcome);
}

int RunSetup(Context& ctx) {
    ConnectTarget target;
    if (!TakeTarget(ctx, target))
        return UsageError(ctx, "--port and --baud need a value (--baud a positive number)");
    const Settings settings;
    TimeUnitChoice choice = DefaultTimeUnitChoice(settings);
    bool ok = true;
    std::string value;
    if (TakeOption(ctx.args, "--level-unit", value, ok)) {
        if (value != "dBuV" && value != "dBmV" && value != "dBm")
            return UsageError(ctx, "--level-unit must be dBuV, dBmV or dBm");
        choice.levelUnit = value;
    }
    if (TakeOption(ctx.args, "--temp-unit", value, ok)) {
        if (TemperatureCode(value) < 0)
            return UsageError(ctx, "--temp-unit must be C or F");
        choice.temperature = value;
    }
    if (TakeOption(ctx.args, "--shutdown", value, ok)) {
        choice.shutdown = ShutdownCode(value);
        if (choice.shutdown < 0)
            return UsageError(ctx, "--shutdown must be 3, 5, 10, 30 or on");
    }
    if (TakeOption(ctx.args, "--date-format", value, ok)) {
        choice.dateFormat = DateFormatCode(value);
        if (choice.dateFormat < 0)
            return UsageError(ctx, "--date-format must be Y/M/D, D/M/Y or M/D/Y");
    }
    if (TakeOption(ctx.args, "--time", value, ok) && !ParseDateTime(value, choice.when))
        return UsageError(
            ctx, "--time must be a date and time \"YYYY-MM-DD HH:MM:SS\" from 2000 to 2255");
    if (!ok)
        return UsageError(ctx, "an option is missing its value");
    if (!ctx.args.empty())
        return UsageError(ctx, "unexpected argument '" + ctx.args[0] + "'");
    MeterPort meter(ctx);
    cnComm& port = meter.port;
    const OperationOutcome outcome = DownloadTimeUnit(port, target, choice, settings);
    return outcome.ok ? kExitOk : ReportFailure(ctx, outcome);
}

} // namespace qm::cli
