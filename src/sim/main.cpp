// qm7100-sim: a QM7100 meter on a pseudo-terminal, for tests, the benchmark and the demo.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ProgramVersion.h"
#include "app/ProjectFile.h"
#include "channels/ChannelPlanFile.h"
#include "measurement/SampleGenerator.h"
#include "sim/FaultPlan.h"
#include "sim/MeterSimulator.h"
#include "sim/SimulatorLine.h"

namespace {

const char* const kUsage = R"(usage: qm7100-sim [options]
  --model TEXT          7100Q, 7100B, 7100T, 7100D or 7100T2 (default 7100T)
  --files PROJECT.f71   serve the files of a project file (default: generated ones)
  --count N             number of generated files (default 8)
  --plan SLOT=PLAN.f71CH  put a channel-plan file's plan in slot A-E (repeatable)
  --link PATH           make PATH a symbolic link to the pseudo-terminal
  --baud RATE           line speed the replies are paced at (default 115200)
  --turnaround-us US    pause between a request and its reply (default 50)
  --latency-ms MS       model a USB serial adapter: the last part of a reply shorter than
                        62 bytes waits MS for the adapter's latency timer (default 0: none)
  --screen-scrambled    send the screen blocks out of order
  --fault KIND=K[:CODE] on request K (from 1; or the K-th one with hex command CODE):
                        bad-check, no-reply, stray-byte, short or hangup (repeatable)
  --log FILE            write every frame received to FILE, one line each
  --version             print the version and exit
  --help                this text
Prints the pseudo-terminal's path on the first line and serves until SIGTERM or SIGINT.
)";

volatile bool g_stop = false;

void OnSignal(int) {
    g_stop = true;
}

int Fail(const std::string& message) {
    std::cerr << "qm7100-sim: " << message << "\n";
    return 2;
}

// The plan of a channel-plan file, as entries of this meter's layout.
bool LoadPlan(const std::string& path, int kind, std::vector<std::vector<std::uint8_t>>& entries,
              std::string& why) {
    const qm::PlanFileLoad load = qm::LoadChannelPlanFile(path);
    if (load.status != qm::PlanFileStatus::Ok) {
        why = qm::PlanFileStatusText(load.status, path);
        return false;
    }
    if (load.kind != kind) {
        why = path + " holds a plan of meter kind " + std::to_string(load.kind) +
              ", this meter is of kind " + std::to_string(kind);
        return false;
    }
    for (const qm::CommonChannel& record : load.records)
        entries.push_back(qm::EntryFromRecord(kind, record));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    using qm::sim::MeterSimulator;
    std::string model = "7100T", files, link, logPath;
    long count = 8, baud = 115200, turnaround = 50, latency = 0;
    bool scrambled = false;
    std::vector<std::string> plans;
    qm::sim::FaultPlan faults;

    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        auto number = [&](long& out) {
            std::string text;
            if (!value(text))
                return false;
            char* end = nullptr;
            out = std::strtol(text.c_str(), &end, 10);
            return !text.empty() && !*end && out >= 0;
        };
        std::string text;
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (a == "--version") {
            std::cout << "qm7100-sim " << qm::ProgramVersion() << "\n";
            return 0;
        } else if (a == "--model") {
            if (!value(model))
                return Fail("--model needs a value");
        } else if (a == "--files") {
            if (!value(files))
                return Fail("--files needs a value");
        } else if (a == "--count") {
            if (!number(count))
                return Fail("--count needs a number");
        } else if (a == "--plan") {
            if (!value(text))
                return Fail("--plan needs SLOT=FILE");
            plans.push_back(text);
        } else if (a == "--link") {
            if (!value(link))
                return Fail("--link needs a path");
        } else if (a == "--baud") {
            if (!number(baud) || baud == 0)
                return Fail("--baud needs a positive number");
        } else if (a == "--latency-ms") {
            if (!number(latency) || latency > 1000)
                return Fail("--latency-ms needs a number of milliseconds up to 1000");
        } else if (a == "--turnaround-us") {
            if (!number(turnaround))
                return Fail("--turnaround-us needs a number");
        } else if (a == "--screen-scrambled") {
            scrambled = true;
        } else if (a == "--fault") {
            if (!value(text) || !faults.Add(text))
                return Fail("--fault needs KIND=K[:CODE], KIND one of bad-check, no-reply, "
                            "stray-byte, short, hangup");
        } else if (a == "--log") {
            if (!value(logPath))
                return Fail("--log needs a file");
        } else {
            return Fail("unknown option '" + a + "'\n" + kUsage);
        }
    }
    if (!MeterSimulator::IsKnownModel(model))
        return Fail("unknown model '" + model + "' (7100Q, 7100B, 7100T, 7100D, 7100T2)");

    MeterSimulator meter(model);
    meter.SetScreenScrambled(scrambled);
    const int kind = meter.Kind();

    std::vector<qm::_tagFileDataExt> elements;
    if (!files.empty()) {
        qm::ProjectLoad load = qm::LoadProject(files);
        if (load.status != qm::ProjectStatus::Ok)
            return Fail(qm::ProjectStatusText(load.status, files));
        elements = std::move(load.elements);
    } else {
        elements = qm::MakeSampleSet(kind, static_cast<int>(count));
    }
    std::vector<std::vector<std::uint8_t>> served;
    for (const qm::_tagFileDataExt& e : elements)
        served.emplace_back(e.file.begin(), e.file.begin() + static_cast<std::ptrdiff_t>(
                                                                 MeterSimulator::FileSize(kind)));
    meter.SetFiles(std::move(served));

    // Slots A-C hold sample plans, D and E are empty unless a file is put there.
    for (int slot = 0; slot < 3; ++slot)
        meter.SetPlan(slot, qm::SamplePlanEntries(kind, slot));
    for (const std::string& spec : plans) {
        if (spec.size() < 3 || spec[1] != '=' || spec[0] < 'A' || spec[0] > 'E')
            return Fail("--plan needs SLOT=FILE with SLOT one of A-E");
        std::vector<std::vector<std::uint8_t>> entries;
        std::string why;
        if (!LoadPlan(spec.substr(2), kind, entries, why))
            return Fail(why);
        meter.SetPlan(spec[0] - 'A', std::move(entries));
    }

    std::FILE* log = nullptr;
    if (!logPath.empty()) {
        log = std::fopen(logPath.c_str(), "w");
        if (!log)
            return Fail("cannot write " + logPath);
    }

    qm::sim::SimulatorLine line(meter, faults);
    line.SetBaud(baud);
    line.SetTurnaround(std::chrono::microseconds(turnaround));
    line.SetAdapterLatency(std::chrono::milliseconds(latency));
    line.SetLog(log);
    if (!line.Open())
        return Fail(std::string("cannot create a pseudo-terminal: ") + std::strerror(errno));

    if (!link.empty()) {
        struct stat st {};
        if (::lstat(link.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode))
                return Fail(link + " exists and is not a symbolic link");
            ::unlink(link.c_str());
        }
        if (::symlink(line.SlavePath().c_str(), link.c_str()) != 0)
            return Fail("cannot link " + link + ": " + std::strerror(errno));
    }

    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    // Paced replies want wake-ups on time, not up to 50 us late.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

    std::cout << line.SlavePath() << std::endl;
    line.Run(g_stop);

    if (!link.empty())
        ::unlink(link.c_str());
    if (log)
        std::fclose(log);
    return 0;
}
