// The meter commands: upload, plan read, plan write, capture, setup.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>

#include <span>

#include "app/FileCollection.h"
#include "app/ProjectFile.h"
#include "app/Settings.h"
#include "base/BinaryFile.h"
#include "base/Platform.h"
#include "channels/ChannelPlanFile.h"
#include "cli/Cli.h"
#include "link/MeterCommands.h"
#include "link/PortAddress.h"
#include "link/cnComm.h"
#include "measurement/FileDataExt.h"
#include "operations/PlanTransfer.h"
#include "operations/ScreenCapture.h"
#include "operations/TimeUnitOperation.h"
#include "operations/UploadOperation.h"
#include "res/StringTable.h"

namespace qm::cli {

namespace {

// Takes --port and --baud out of the arguments. Without --port the settings name the port, as
// in the desktop program; a --baud alone changes only the speed. On failure the usage error
// is printed and its exit status returned through rc.
bool TakeTarget(Context& ctx, ConnectTarget& target, int& rc) {
    bool ok = true;
    std::string port, baud;
    const bool hasPort = TakeOption(ctx.args, "--port", port, ok);
    const bool hasBaud = TakeOption(ctx.args, "--baud", baud, ok);
    long value = 0;
    if (!ok || (hasBaud && (!ParseInt(baud, value) || value <= 0))) {
        rc = UsageError(ctx, txt::kPortAndBaudNeedValueBaud);
        return false;
    }
    // The settings read numbers outside 1-256 as COM1, which a user typing --port COM0 would
    // never guess: a typed port is refused instead.
    if (const PortParse typed = ParsePortText(port); hasPort && !typed.Ok()) {
        rc = UsageError(ctx, txt::kPortRefused, {PortRefusalText(typed.refusal), port});
        return false;
    }
    if (!hasPort && !SettingsReadable(ctx)) {
        rc = kExitFailed;
        return false;
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

// "84.8 kB"
std::string Size(double bytes) {
    char text[32];
    if (bytes < 1000)
        std::snprintf(text, sizeof text, "%.0f B", bytes);
    else if (bytes < 1e6)
        std::snprintf(text, sizeof text, "%.1f kB", bytes / 1e3);
    else
        std::snprintf(text, sizeof text, "%.1f MB", bytes / 1e6);
    return text;
}

// The progress line on stderr while a transfer runs (only when stderr is a terminal), and the
// clock for the summary printed on success.
class ProgressLine {
public:
    // unit: the text id of what one step is (files, blocks), 0 for a percentage; bytesPerStep:
    // 0 when a step has no fixed size.
    ProgressLine(Context& ctx, int unit, double bytesPerStep)
        : m_ctx(ctx), m_unit(unit), m_bytesPerStep(bytesPerStep),
          m_start(std::chrono::steady_clock::now()),
          m_terminal(&ctx.err == &std::cerr && IsTerminal(stderr)) {}
    ~ProgressLine() { End(); }

    ProgressFn Fn() {
        if (!m_terminal)
            return {};
        return [this](int position, int range) { Draw(position, range); };
    }
    void End() {
        if (m_drawn)
            m_ctx.err << "\n";
        m_drawn = false;
    }
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }
    // The success line: "uploaded 8 files (84.8 kB) in 9.1 s".
    void Summary(const std::string& what, double bytes) {
        End();
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f", Seconds());
        m_ctx.err << TrFill(txt::kSummaryIn, {what, Size(bytes), seconds}) << '\n';
    }

private:
    void Draw(int position, int range) {
        constexpr int kWidth = 30;
        const int filled = range > 0 ? std::clamp(position * kWidth / range, 0, kWidth) : 0;
        const double elapsed = Seconds();
        m_ctx.err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                  << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] ";
        if (m_unit == 0)
            m_ctx.err << (range > 0 ? position * 100 / range : 0) << '%';
        else
            m_ctx.err << position << '/' << range << ' ' << Tr(m_unit);
        if (m_bytesPerStep > 0 && elapsed > 0.05)
            m_ctx.err << ", " << Size(position * m_bytesPerStep / elapsed) << "/s";
        if (position > 0 && range > position) {
            const long left = std::lround(elapsed * (range - position) / position);
            char text[32];
            std::snprintf(text, sizeof text, "%ld:%02ld", left / 60, left % 60);
            m_ctx.err << ", " << TrFill(txt::kTimeLeft, {text});
        }
        m_ctx.err << "   " << std::flush;
        m_drawn = true;
    }

    Context& m_ctx;
    int m_unit;
    double m_bytesPerStep;
    std::chrono::steady_clock::time_point m_start;
    bool m_terminal;
    bool m_drawn = false;
};

// A failed operation: every message box it would show, then its reason on a line of its own:
// the operation's detail, or why the port could not be opened or did not answer.
int ReportFailure(Context& ctx, const OperationOutcome& outcome, const cnComm& port) {
    if (outcome.cancelled) {
        ctx.err << "qm7100: " << Tr(txt::kCancelled) << "\n";
        return kExitCancelled;
    }
    for (const OperationMessage& m : outcome.messages)
        ctx.err << Tr(m.id) << "\n";
    std::string detail = outcome.detail;
    if (detail.empty() && outcome.MessageId() == txt::kConnectionFailed) {
        detail = !port.OpenFailure().empty() ? port.OpenFailure()
                 : port.PortName().empty()   ? Tr(txt::kNoPortConfiguredGivePortPORT)
                                           : port.PortName() + ": " + Tr(txt::kMeterDoesNotAnswer);
    }
    if (!detail.empty() || outcome.messages.empty())
        ctx.err << "qm7100: " << (detail.empty() ? Tr(txt::kMeterOperationFailed) : detail) << "\n";
    return kExitFailed;
}

// A transfer whose file would have nowhere to go fails before it starts (kExitOk otherwise).
int CheckOutput(Context& ctx, const std::string& path) {
    return CheckReplaceable(path) == ReplaceStatus::Ok ? kExitOk : WriteError(ctx, path);
}

// path with ".partial" before its extension: "site.f71" gives "site.partial.f71".
std::string PartialPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return hasExtension ? path.substr(0, dot) + ".partial" + path.substr(dot) : path + ".partial";
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
    int rc = kExitOk;
    if (!TakeTarget(ctx, target, rc))
        return rc;
    if (ctx.args.size() != 1)
        return UsageError(ctx, txt::kUploadNeedsOUTF71);
    const std::string& out = ctx.args[0];
    if (rc = CheckOutput(ctx, out); rc != kExitOk)
        return rc;
    MeterPort meter(ctx);
    cnComm& port = meter.port;
    CFileCollection collection;
    ProgressLine progress(ctx, txt::kFiles, static_cast<double>(kElementSize));
    const UploadResult result = RunUpload(port, target, collection, progress.Fn());
    progress.End();
    // A cancelled upload writes nothing, not even the files read before the stop.
    if (!result.connected || result.fileCount < 0 || result.outcome.cancelled)
        return ReportFailure(ctx, result.outcome, port);
    if (!result.outcome.ok)
        ReportFailure(ctx, result.outcome, port);
    // A failed upload never replaces a project the user already has: the files read before
    // the failure, which the desktop program keeps loaded, go beside it.
    std::error_code error;
    const bool keepOut = !result.outcome.ok &&
                         std::filesystem::exists(
                             std::filesystem::path(std::u8string(out.begin(), out.end())), error);
    if (keepOut && collection.Empty()) {
        ctx.err << "qm7100: " << TrFill(txt::kNoFileRead, {out}) << "\n";
        return kExitFailed;
    }
    const std::string written = keepOut ? PartialPath(out) : out;
    const ProjectStatus saved = SaveProject(written, collection.Elements());
    if (saved != ProjectStatus::Ok) {
        ctx.err << "qm7100: " << ProjectStatusText(saved, written) << "\n";
        return kExitFailed;
    }
    KeepUploadInArchive(ctx, collection.Elements(), written);
    if (keepOut)
        ctx.err << "qm7100: "
                << TrFill(txt::kPartialUpload, {out, std::to_string(collection.Count()),
                                                std::to_string(result.fileCount), written})
                << "\n";
    if (!result.outcome.ok)
        return kExitFailed;
    if (result.fileCount == 0)
        ctx.err << "qm7100: " << Tr(txt::kMeterHoldsNoMeasurementFilesWrote) << ' ' << out << "\n";
    const std::size_t files = collection.Elements().size();
    progress.Summary(TrFill(txt::kUploadedSummary, {std::to_string(files)}),
                     static_cast<double>(files * kElementSize));
    return kExitOk;
}

int RunPlanRead(Context& ctx) {
    ConnectTarget target;
    int rc = kExitOk;
    if (!TakeTarget(ctx, target, rc))
        return rc;
    if (ctx.args.size() != 2)
        return UsageError(ctx, txt::kPlanReadNeedsSLOTAndOUT);
    const int slot = SlotOf(ctx.args[0]);
    if (slot < 0)
        return UsageError(ctx, txt::kSlotRefused, {ctx.args[0]});
    const std::string& out = ctx.args[1];
    if (rc = CheckOutput(ctx, out); rc != kExitOk)
        return rc;
    MeterPort meter(ctx);
    cnComm& port = meter.port;
    CChannelPlanList plan;
    ProgressLine progress(ctx, 0, 0);
    const PlanUploadResult result = UploadPlan(port, target, slot, plan, progress.Fn());
    progress.End();
    if (!result.outcome.ok)
        return ReportFailure(ctx, result.outcome, port);
    const PlanFileStatus saved = SaveChannelPlan(out, plan);
    if (saved != PlanFileStatus::Ok) {
        ctx.err << "qm7100: " << PlanFileStatusText(saved, out) << "\n";
        return kExitFailed;
    }
    progress.Summary(TrFill(txt::kReadPlanSummary, {ctx.args[0], std::to_string(plan.Count())}),
                     static_cast<double>(plan.Count() * sizeof(CommonChannel)));
    return kExitOk;
}

int RunPlanWrite(Context& ctx) {
    ConnectTarget target;
    int rc = kExitOk;
    if (!TakeTarget(ctx, target, rc))
        return rc;
    if (ctx.args.size() != 2)
        return UsageError(ctx, txt::kPlanWriteNeedsSLOTAndIN);
    const int slot = SlotOf(ctx.args[0]);
    if (slot < 0)
        return UsageError(ctx, txt::kSlotRefused, {ctx.args[0]});
    CChannelPlanList plan;
    if (RefuseProjectAsPlan(ctx, ctx.args[1]))
        return kExitFailed;
    const PlanFileStatus loaded = OpenChannelPlan(ctx.args[1], plan);
    if (loaded != PlanFileStatus::Ok) {
        ctx.err << "qm7100: " << PlanFileStatusText(loaded, ctx.args[1]) << "\n";
        return kExitFailed;
    }
    MeterPort meter(ctx);
    cnComm& port = meter.port;
    ProgressLine progress(ctx, 0, 0);
    const OperationOutcome outcome = DownloadPlan(port, target, slot, plan, progress.Fn());
    progress.End();
    if (!outcome.ok)
        return ReportFailure(ctx, outcome, port);
    progress.Summary(TrFill(txt::kWrotePlanSummary, {ctx.args[0], std::to_string(plan.Count())}),
                     static_cast<double>(plan.Count() * sizeof(CommonChannel)));
    return kExitOk;
}

int RunCapture(Context& ctx) {
    ConnectTarget target;
    int rc = kExitOk;
    if (!TakeTarget(ctx, target, rc))
        return rc;
    if (ctx.args.size() != 1)
        return UsageError(ctx, txt::kCaptureNeedsOUTBmp);
    if (rc = CheckOutput(ctx, ctx.args[0]); rc != kExitOk)
        return rc;
    MeterPort meter(ctx);
    cnComm& port = meter.port;
    ProgressLine progress(ctx, txt::kBlocks, static_cast<double>(kScreenBlockPixels));
    const CaptureResult result = CaptureScreen(port, target, ctx.args[0], progress.Fn());
    progress.End();
    if (!result.outcome.ok)
        return ReportFailure(ctx, result.outcome, port);
    progress.Summary(Tr(txt::kCapturedScreen) + ' ' + ctx.args[0],
                     static_cast<double>(result.bitmap.size()));
    return kExitOk;
}

int RunSetup(Context& ctx) {
    ConnectTarget target;
    int rc = kExitOk;
    if (!TakeTarget(ctx, target, rc))
        return rc;
    const Settings settings;
    TimeUnitChoice choice = DefaultTimeUnitChoice(settings);
    bool ok = true;
    std::string value;
    if (TakeOption(ctx.args, "--level-unit", value, ok)) {
        if (value != "dBuV" && value != "dBmV" && value != "dBm")
            return UsageError(ctx, txt::kLevelUnitMustDBuVDBmVOr);
        choice.levelUnit = value;
    }
    if (TakeOption(ctx.args, "--temp-unit", value, ok)) {
        if (TemperatureCode(value) < 0)
            return UsageError(ctx, txt::kTempUnitMustCOrF);
        choice.temperature = value;
    }
    if (TakeOption(ctx.args, "--shutdown", value, ok)) {
        choice.shutdown = ShutdownCode(value);
        if (choice.shutdown < 0)
            return UsageError(ctx, txt::kShutdownMust351030);
    }
    if (TakeOption(ctx.args, "--date-format", value, ok)) {
        choice.dateFormat = DateFormatCode(value);
        if (choice.dateFormat < 0)
            return UsageError(ctx, txt::kDateFormatMustYMD);
    }
    if (TakeOption(ctx.args, "--time", value, ok) && !ParseDateTime(value, choice.when))
        return UsageError(ctx, txt::kTimeMustBeDateTime);
    if (!ok)
        return UsageError(ctx, txt::kOptionMissingValue);
    if (!ctx.args.empty())
        return UsageError(ctx, txt::kUnexpectedArgument3, {ctx.args[0]});
    MeterPort meter(ctx);
    cnComm& port = meter.port;
    const OperationOutcome outcome = DownloadTimeUnit(port, target, choice, settings);
    return outcome.ok ? kExitOk : ReportFailure(ctx, outcome, port);
}

} // namespace qm::cli
