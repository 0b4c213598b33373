// Upload speed against the simulator: 20 files of each meter kind at 115200 baud, the wall
// time against the line-rate bound (bytes on the wire x 10 / baud) and the uploader's CPU time.
//   bench_upload [FILES [BAUD [LATENCY_MS]]]
// LATENCY_MS has the simulator model a USB serial adapter's latency timer (16 ms by default on
// common adapters, 1 ms once the driver is asked for low latency).
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/FileCollection.h"
#include "link/MeterCommands.h"
#include "link/cnComm.h"
#include "measurement/MeterKind.h"
#include "operations/UploadOperation.h"

extern char** environ;

namespace {

// The simulator beside this program (both live in the build's bin folder).
std::string SimulatorPath() {
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string("./x");
    return dir.substr(0, dir.rfind('/')) + "/qm7100-sim";
}

struct Simulator {
    pid_t pid = -1;
    std::string path;
};

Simulator StartSimulator(const std::vector<std::string>& args) {
    Simulator sim;
    int out[2];
    if (::pipe(out) != 0)
        return sim;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> store{SimulatorPath()};
    store.insert(store.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : store)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&sim.pid, store[0].c_str(), &actions, nullptr, argv.data(), environ) != 0)
        sim.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    char c = 0;
    pollfd p{out[0], POLLIN, 0};
    while (sim.pid > 0 && ::poll(&p, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n')
        sim.path += c;
    ::close(out[0]);
    return sim;
}

void StopSimulator(Simulator& sim) {
    if (sim.pid <= 0)
        return;
    ::kill(sim.pid, SIGTERM);
    ::waitpid(sim.pid, nullptr, 0);
}

double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Bytes both ways of an upload of files files of the kind.
long WireBytes(int kind, int files) {
    const long blocks = static_cast<long>((qm::KindFileSize(kind) + 63) / 64);
    long bytes = 2 * (6 + 6);                            // two handshakes and their echoes
    bytes += 6 + static_cast<long>(qm::kReplyModel);     // model
    bytes += 6 + static_cast<long>(qm::kReplyFileCount); // file count
    bytes += files * (7 + 72 + (blocks - 1) * (6 + 72)); // file blocks
    bytes += 6 + static_cast<long>(qm::kReplyRelease);   // release
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 20;
    const long baud = argc > 2 ? std::atol(argv[2]) : 115200;
    const long latency = argc > 3 ? std::atol(argv[3]) : 0;
    const char* const models[] = {"7100Q", "7100T", "7100T2"};
    std::printf("upload of %d files per kind at %ld baud, adapter latency %ld ms\n", files, baud,
                latency);
    std::printf("%-7s %5s %10s %9s %9s %7s %8s %6s\n", "model", "files", "wire bytes", "bound s",
                "wall s", "of bound", "cpu s", "cpu %");
    double allBound = 0, allWall = 0, allCpu = 0;
    bool ok = true;
    for (const char* model : models) {
        Simulator sim =
            StartSimulator({"--model", model, "--count", std::to_string(files), "--baud",
                            std::to_string(baud), "--latency-ms", std::to_string(latency)});
        if (sim.path.empty()) {
            std::fprintf(stderr, "bench_upload: cannot start %s\n", SimulatorPath().c_str());
            return 1;
        }
        qm::cnComm port;
        qm::CFileCollection collection;
        const double cpu0 = CpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        const qm::UploadResult r = qm::RunUpload(
            port, qm::ConnectTarget::Direct(sim.path, std::to_string(baud)), collection);
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const double cpu = CpuSeconds() - cpu0;
        port.Close();
        StopSimulator(sim);
        if (!r.outcome.ok || collection.Count() != static_cast<std::size_t>(files)) {
            std::fprintf(stderr, "bench_upload: the upload from %s failed\n", model);
            ok = false;
            continue;
        }
        const long bytes = WireBytes(r.kind, files);
        const double bound = static_cast<double>(bytes) * 10.0 / static_cast<double>(baud);
        std::printf("%-7s %5d %10ld %9.3f %9.3f %6.1f%% %8.3f %5.2f%%\n", model, files, bytes,
                    bound, wall, 100.0 * bound / wall, cpu, 100.0 * cpu / wall);
        allBound += bound;
        allWall += wall;
        allCpu += cpu;
    }
    if (allWall > 0)
        std::printf("%-7s %5s %10s %9.3f %9.3f %6.1f%% %8.3f %5.2f%%\n", "all", "", "", allBound,
                    allWall, 100.0 * allBound / allWall, allCpu, 100.0 * allCpu / allWall);
    std::printf("targets: wall within 95%% of the bound or better, uploader CPU at most 5%% of the "
                "wall time\n");
    return ok ? 0 : 1;
}
