// Command lines through qm7100's own entry, run in a scratch folder that holds a project, a
// channel plan, its CSV, a limit profile and settings that name a port that is not there.
// The input is the arguments, separated by NUL bytes; an argument of byte 1 and one more byte
// stands for a word of the tool's vocabulary (commands, options, their values, the files).
//
// Whatever the arguments, the tool ends with one of its exit statuses; it reports a usage
// error exactly when it ends with 2, and then it has printed nothing on stdout and written
// no file.
#include <sys/stat.h>

#include <cerrno>
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

#include "app/ProjectFile.h"
#include "app/Settings.h"
#include "channels/ChannelPlanFile.h"
#include "channels/PlanCsv.h"
#include "cli/Cli.h"
#include "limits/LimitProfile.h"
#include "measurement/SampleGenerator.h"
#include "res/StringTable.h"

namespace {

const char* const kWords[] = {"tree",
                              "show",
                              "export",
                              "chart",
                              "compare",
                              "check",
                              "report",
                              "plan",
                              "edit",
                              "import",
                              "read",
                              "write",
                              "upload",
                              "capture",
                              "setup",
                              "--lang",
                              "en",
                              "zh",
                              "--settings",
                              "--trace",
                              "--json",
                              "--marker",
                              "--size",
                              "--output",
                              "--kind",
                              "--profile",
                              "--port",
                              "--baud",
                              "--level-unit",
                              "--temp-unit",
                              "--shutdown",
                              "--date-format",
                              "--time",
                              "--help",
                              "--version",
                              "dBuV",
                              "dBmV",
                              "C",
                              "F",
                              "on",
                              "Y/M/D",
                              "D/M/Y",
                              "2026-02-29 10:00:00",
                              "level",
                              "tilt",
                              "scan",
                              "spectrum",
                              "hum",
                              "limit",
                              "0",
                              "1",
                              "2",
                              "A",
                              "E",
                              "Freq",
                              "474.25",
                              "320x240",
                              "-",
                              "site.f71",
                              "plan.f71CH",
                              "plan.csv",
                              "limits.ini",
                              "setup.ini",
                              "missing.f71",
                              "out.csv",
                              "out.png",
                              "out.bmp",
                              "out.pdf",
                              "out.html",
                              "out.f71",
                              "out.f71CH",
                              "./no-port"};
constexpr std::size_t kWordCount = sizeof kWords / sizeof kWords[0];

// Exit statuses the tool has; 130 (stopped by Ctrl-C) cannot happen here.
bool KnownStatus(int rc) {
    return rc == qm::cli::kExitOk || rc == qm::cli::kExitFailed || rc == qm::cli::kExitUsage ||
           rc == qm::cli::kExitLimitsFailed || rc == qm::cli::kExitNotApplied;
}

struct Stamp {
    off_t size;
    timespec modified;
};

// The scratch folder with its files as the tool is given them, and a way back to that state.
class Scratch {
public:
    Scratch() : m_dir("/dev/shm/qm-fuzz-cli-" + std::to_string(getpid())) {
        mkdir(m_dir.c_str(), 0700);
        Empty();
        const auto project = m_dir + "/site.f71";
        const auto plan = m_dir + "/plan.f71CH";
        if (qm::SaveProject(project, qm::MakeSampleSet(1, 2)) != qm::ProjectStatus::Ok)
            __builtin_trap();
        std::vector<qm::CommonChannel> records;
        for (const auto& entry : qm::SamplePlanEntries(2, 1))
            records.push_back(qm::RecordFromEntry(2, entry));
        if (qm::SaveChannelPlanFile(plan, 2, records) != qm::PlanFileStatus::Ok)
            __builtin_trap();
        qm::CChannelPlanList list;
        list.SetKind(2);
        list.Assign(records);
        Keep("site.f71", Read(project));
        Keep("plan.f71CH", Read(plan));
        Keep("plan.csv", qm::ExportPlanCsv(list));
        Keep("limits.ini", std::string(qm::DefaultProfileText()));
        // A device path that does not exist: a meter command fails at once.
        Keep("setup.ini", "[Connect Information]\nPort=./no-port\nBaud=115200\n");
        Restore();
    }
    ~Scratch() {
        Empty();
        rmdir(m_dir.c_str());
    }

    const std::string& Dir() const { return m_dir; }

    // True when the folder holds exactly the files it was given, unchanged.
    bool Untouched() const {
        std::size_t seen = 0;
        bool same = true;
        ForEachName([&](const std::string& name) {
            const auto kept = m_stamps.find(name);
            struct stat st {};
            same = same && kept != m_stamps.end() && stat(Path(name).c_str(), &st) == 0 &&
                   st.st_size == kept->second.size &&
                   st.st_mtim.tv_sec == kept->second.modified.tv_sec &&
                   st.st_mtim.tv_nsec == kept->second.modified.tv_nsec;
            ++seen;
        });
        return same && seen == m_files.size();
    }

    void Restore() {
        if (Untouched())
            return;
        Empty();
        for (const auto& [name, bytes] : m_files) {
            std::FILE* f = std::fopen(Path(name).c_str(), "wb");
            if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
                __builtin_trap();
            std::fclose(f);
            struct stat st {};
            stat(Path(name).c_str(), &st);
            m_stamps[name] = {st.st_size, st.st_mtim};
        }
    }

private:
    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    void Keep(const std::string& name, std::string bytes) { m_files[name] = std::move(bytes); }

    static std::string Read(const std::string& path) {
        std::string bytes;
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f)
            __builtin_trap();
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            bytes.append(buffer, n);
        std::fclose(f);
        return bytes;
    }

    template <class F> void ForEachName(F f) const {
        DIR* d = opendir(m_dir.c_str());
        if (!d)
            __builtin_trap();
        while (const dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                f(name);
        }
        closedir(d);
    }

    void Empty() const {
        std::vector<std::string> names;
        ForEachName([&](const std::string& name) { names.push_back(name); });
        for (const std::string& name : names)
            std::remove(Path(name).c_str());
    }

    std::string m_dir;
    std::map<std::string, std::string> m_files;
    std::map<std::string, Stamp> m_stamps;
};

std::vector<std::string> Arguments(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i <= size && args.size() < 32; ++i) {
        if (i < size && data[i] != 0) {
            current += static_cast<char>(data[i]);
            continue;
        }
        if (current.size() == 2 && current[0] == '\x01') {
            current = kWords[static_cast<unsigned char>(current[1]) % kWordCount];
        } else {
            // Only names inside the scratch folder: no argument of the input's own reaches
            // another folder.
            for (char& c : current)
                c = c == '/' ? '_' : c;
        }
        args.push_back(current);
        current.clear();
    }
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

Scratch* g_scratch = nullptr;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!g_scratch)
        g_scratch = new Scratch; // for the life of the process
    const std::vector<std::string> args = Arguments(data, size);
    // The screen capture tries to connect for 15 s before it gives up, as the meter may still
    // be busy saving; its arguments are read as those of the other meter commands.
    for (const std::string& arg : args)
        if (arg == "capture")
            return 0;

    const int back = open(".", O_RDONLY | O_DIRECTORY);
    if (back < 0 || chdir(g_scratch->Dir().c_str()) != 0)
        __builtin_trap();
    // What a process of its own would start with.
    qm::SetSettingsPath(g_scratch->Dir() + "/setup.ini");
    qm::SetLanguageBase(qm::kLanguageEnglish);
    std::ostringstream out, err;
    const int rc = qm::cli::RunCommandLine(args, out, err);
    // A usage error ends in the hint, in the language asked for.
    const std::string hint = qm::cli::Tool("Try 'qm7100 --help' for more information.") + "\n";
    const bool usage = err.str().ends_with(hint);
    if (!KnownStatus(rc) || usage != (rc == qm::cli::kExitUsage))
        __builtin_trap();
    if (rc == qm::cli::kExitUsage && (!out.str().empty() || !g_scratch->Untouched()))
        __builtin_trap(); // a refused command line did something all the same
    g_scratch->Restore();
    if (fchdir(back) != 0)
        __builtin_trap();
    close(back);
    return 0;
}
