// Command lines through qm7100's own entry, run in a scratch folder that holds a project, a
// channel plan, its CSV, a limit profile and settings that name a port that is not there.
// The input is the arguments, separated by NUL bytes; an argument of byte 1 and one more byte
// stands for a word of the tool's vocabulary (commands, options, their values, the files).
//
// Whatever the arguments, the tool ends with one of its exit statuses; it reports a usage
// error exactly when it ends with 2, and then it has printed nothing on stdout and written
// no file.
#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "FuzzArguments.h"
#include "FuzzFile.h"
#include "app/ProjectFile.h"
#include "app/Settings.h"
#include "channels/ChannelPlanFile.h"
#include "channels/PlanCsv.h"
#include "cli/Cli.h"
#include "limits/LimitProfile.h"
#include "measurement/SampleGenerator.h"
#include "res/StringTable.h"

namespace {

const std::vector<std::string> kWords = qm::fuzz::Words(
    "tree|show|export|chart|compare|check|report|plan|edit|import|read|write|upload|"
    "capture|setup|--lang|en|zh|--settings|--trace|--json|--marker|--size|--output|"
    "--kind|--profile|--port|--baud|--level-unit|--temp-unit|--shutdown|"
    "--date-format|--time|--help|--version|dBuV|dBmV|C|F|on|Y/M/D|D/M/Y|"
    "2026-02-29 10:00:00|level|tilt|scan|spectrum|hum|limit|0|1|2|A|E|Freq|474.25|"
    "320x240|-|site.f71|plan.f71CH|plan.csv|limits.ini|setup.ini|missing.f71|out.csv|"
    "out.png|out.bmp|out.pdf|out.html|out.f71|out.f71CH|./no-port");

// Exit statuses the tool has; 130 (stopped by Ctrl-C) cannot happen here.
bool KnownStatus(int rc) {
    return rc == qm::cli::kExitOk || rc == qm::cli::kExitFailed || rc == qm::cli::kExitUsage ||
           rc == qm::cli::kExitLimitsFailed || rc == qm::cli::kExitNotApplied;
}

// The scratch folder with its files as the tool is given them, and a way back to that state.
class Scratch {
public:
    Scratch() : m_dir("/dev/shm/qm-fuzz-cli-" + std::to_string(getpid())) {
        mkdir(m_dir.c_str(), 0700);
        std::vector<qm::CommonChannel> records;
        for (const auto& entry : qm::SamplePlanEntries(2, 1))
            records.push_back(qm::RecordFromEntry(2, entry));
        if (qm::SaveProject(Path("site.f71"), qm::MakeSampleSet(1, 2)) != qm::ProjectStatus::Ok ||
            qm::SaveChannelPlanFile(Path("plan.f71CH"), 2, records) != qm::PlanFileStatus::Ok)
            __builtin_trap();
        qm::CChannelPlanList plan;
        plan.SetKind(2);
        plan.Assign(records);
        m_files = {{"site.f71", qm::fuzz::ReadWholeFile(Path("site.f71"))},
                   {"plan.f71CH", qm::fuzz::ReadWholeFile(Path("plan.f71CH"))},
                   {"plan.csv", qm::ExportPlanCsv(plan)},
                   {"limits.ini", std::string(qm::DefaultProfileText())},
                   // A device path that does not exist: a meter command fails at once.
                   {"setup.ini", "[Connect Information]\nPort=./no-port\nBaud=115200\n"}};
        Restore();
    }
    ~Scratch() {
        for (const std::string& name : Names())
            std::remove(Path(name).c_str());
        rmdir(m_dir.c_str());
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& Dir() const { return m_dir; }

    // True when the folder holds exactly the files it was given, unchanged.
    bool Untouched() const {
        const std::vector<std::string> names = Names();
        return names.size() == m_files.size() &&
               std::all_of(names.begin(), names.end(), [this](const std::string& name) {
                   const auto kept = m_files.find(name);
                   return kept != m_files.end() &&
                          qm::fuzz::ReadWholeFile(Path(name)) == kept->second;
               });
    }

    void Restore() const {
        if (Untouched())
            return;
        for (const std::string& name : Names())
            std::remove(Path(name).c_str());
        for (const auto& [name, bytes] : m_files) {
            std::FILE* f = std::fopen(Path(name).c_str(), "wb");
            if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
                __builtin_trap();
            std::fclose(f);
        }
    }

private:
    std::string Path(const std::string& name) const { return m_dir + "/" + name; }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        DIR* d = opendir(m_dir.c_str());
        if (!d)
            __builtin_trap();
        while (const dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(d);
        return names;
    }

    std::string m_dir;
    std::map<std::string, std::string> m_files;
};

std::vector<std::string> Arguments(const std::uint8_t* data, std::size_t size) {
    // Only names inside the scratch folder: no argument of the input's own reaches another
    // folder.
    std::vector<std::string> args = qm::fuzz::SplitArguments(data, size, kWords, 32, '/');
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        std::string& value = args[i + 1];
        // A port number names a real serial device on a technician's PC; a device path in the
        // scratch folder fails the same way without touching one.
        if (args[i] == "--port" && value.find_first_of("0123456789") != std::string::npos)
            value = "./no-port";
        // Pictures of a few megapixels are slow to draw and prove nothing more.
        if (args[i] == "--size") {
            const std::size_t x = value.find_first_of("xX");
            if (x != std::string::npos && (std::labs(std::atol(value.c_str())) > 1024 ||
                                           std::labs(std::atol(value.c_str() + x + 1)) > 1024))
                value = "320x240";
        }
    }
    return args;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Scratch scratch; // for the life of the process
    const std::vector<std::string> args = Arguments(data, size);
    // The screen capture tries to connect for 15 s before it gives up, as the meter may still
    // be busy saving; its arguments are read as those of the other meter commands.
    for (const std::string& arg : args)
        if (arg == "capture")
            return 0;

    const int back = open(".", O_RDONLY | O_DIRECTORY);
    if (back < 0 || chdir(scratch.Dir().c_str()) != 0)
        __builtin_trap();
    // What a process of its own would start with.
    qm::SetSettingsPath(scratch.Dir() + "/setup.ini");
    qm::SetLanguageBase(qm::kLanguageEnglish);
    std::ostringstream out, err;
    const int rc = qm::cli::RunCommandLine(args, out, err);
    // A usage error ends in the hint, in the language asked for.
    const std::string hint = qm::Tr(qm::txt::kTryQm7100HelpForMoreInformation) + "\n";
    const bool usage = err.str().ends_with(hint);
    if (!KnownStatus(rc) || usage != (rc == qm::cli::kExitUsage))
        __builtin_trap();
    if (rc == qm::cli::kExitUsage && (!out.str().empty() || !scratch.Untouched()))
        __builtin_trap(); // a refused command line did something all the same
    scratch.Restore();
    if (fchdir(back) != 0)
        __builtin_trap();
    close(back);
    return 0;
}
