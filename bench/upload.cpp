// Upload speed against the simulator: 20 files of each meter kind at 115200 baud, the wall
// time against the line-rate bound (bytes on the wire x 10 / baud) and the uploader's CPU time.
//   bench_upload [FILES [BAUD [LATENCY_MS]]]
// LATENCY_MS has the simulator model a USB serial adapter's latency timer (16 ms by default on
// common adapters, 1 ms once the driver is asked for low latency).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "SimulatorChild.h"
#include "app/FileCollection.h"
#include "link/MeterCommands.h"
#include "link/cnComm.h"
#include "measurement/MeterKind.h"
#include "operations/UploadOperation.h"

namespace {

using namespace qm::bench;

double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
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
