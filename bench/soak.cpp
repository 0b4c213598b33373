// Soak test of the upload: many uploads in a row from the simulator, one in every three with a
// line fault at a random file block (bad check byte, lost reply, stray byte, short reply and
// hang-up in turn). Every upload must end as the program promises (all files, or message 5672
// with the files before the faulty one kept intact), within its bound (line-rate time plus the
// reply time-outs its fault costs), and the process's open descriptors and resident memory
// must be the same after the last upload as after the first ten.
//   bench_soak [UPLOADS [FILES [BAUD [SEED]]]]   (defaults 300, 2, 460800, 1)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <random>
#include <string>
#include <vector>

#include "SimulatorChild.h"
#include "app/FileCollection.h"
#include "app/ProjectFile.h"
#include "link/LinkTimings.h"
#include "link/cnComm.h"
#include "measurement/SampleGenerator.h"
#include "operations/UploadOperation.h"

namespace {

using namespace qm;
using namespace qm::bench;

struct Fault {
    const char* option; // the simulator's fault name
    int timeouts;       // reply time-outs the program waits out because of it
};

// A lost reply and a reply short of its last byte are only noticed when the reply time-out
// ends; the others are seen as soon as the bytes (or the hang-up) arrive.
const Fault kFaults[] = {
    {"bad-check", 0}, {"no-reply", 1}, {"stray-byte", 0}, {"short", 1}, {"hangup", 0}};

long OpenDescriptors() {
    long n = 0;
    if (DIR* d = ::opendir("/proc/self/fd")) {
        while (const dirent* e = ::readdir(d))
            n += e->d_name[0] != '.';
        ::closedir(d);
    }
    return n - 1; // the one the listing itself holds
}

long ResidentKiB() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

bool SameFile(const _tagFileDataExt& a, const _tagFileDataExt& b) {
    return std::memcmp(a.Bytes(), b.Bytes(), kElementSize) == 0;
}

} // namespace

int main(int argc, char** argv) {
    const int uploads = argc > 1 ? std::atoi(argv[1]) : 300;
    const int files = argc > 2 ? std::atoi(argv[2]) : 2;
    const long baud = argc > 3 ? std::atol(argv[3]) : 460800;
    std::mt19937 random(argc > 4 ? static_cast<unsigned>(std::atol(argv[4])) : 1u);
    if (uploads < 10 || files < 1 || baud <= 0) {
        std::fprintf(stderr, "usage: bench_soak [UPLOADS>=10 [FILES>=1 [BAUD [SEED]]]]\n");
        return 2;
    }

    // Kind 0 files, served from a project file so that what arrives can be compared.
    const int kind = 0;
    const int blocks = static_cast<int>((qm::KindFileSize(kind) + 63) / 64);
    const std::vector<_tagFileDataExt> served = MakeSampleSet(kind, files);
    const std::string project = "/tmp/qm-soak-" + std::to_string(::getpid()) + ".f71";
    if (SaveProject(project, served) != ProjectStatus::Ok) {
        std::fprintf(stderr, "bench_soak: cannot write %s\n", project.c_str());
        return 1;
    }
    const double lineSeconds =
        static_cast<double>(WireBytes(kind, files)) * 10.0 / static_cast<double>(baud);
    const double replyLimit = LinkTimings{}.replyLimitMs / 1000.0;
    // Starting the exchange, the scheduler on a shared machine: a fixed allowance on top.
    const double slack = 0.5;

    std::printf("%d uploads of %d kind-0 files at %ld baud; line time %.3f s, reply time-out "
                "%.1f s\n",
                uploads, files, baud, lineSeconds, replyLimit);
    cnComm port; // one port and one collection for all, as the program keeps them
    CFileCollection collection;
    long fdsAfterTen = 0, rssAfterTen = 0;
    int failures = 0, faulted = 0;
    double worstRatio = 0, worstWall = 0, worstBound = 0;
    int worstUpload = 0;
    std::vector<int> perKind(std::size(kFaults), 0);
    const auto start = std::chrono::steady_clock::now();

    for (int u = 1; u <= uploads; ++u) {
        std::vector<std::string> args{"--model", "7100Q",  "--files",
                                      project,   "--baud", std::to_string(baud)};
        const Fault* fault = nullptr;
        int block = 0;
        if (u % 3 == 0) {
            const std::size_t which = static_cast<std::size_t>(faulted++) % std::size(kFaults);
            fault = &kFaults[which];
            ++perKind[which];
            block = std::uniform_int_distribution<int>(1, files * blocks)(random);
            args.push_back("--fault");
            args.push_back(std::string(fault->option) + "=" + std::to_string(block) + ":6B");
        }
        Simulator sim = StartSimulator(args);
        if (sim.path.empty()) {
            std::fprintf(stderr, "bench_soak: cannot start %s\n", SimulatorPath().c_str());
            return 1;
        }
        const auto t0 = std::chrono::steady_clock::now();
        const UploadResult r =
            RunUpload(port, ConnectTarget::Direct(sim.path, std::to_string(baud)), collection);
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        port.Close();
        StopSimulator(sim);

        // All files; or, with a fault in file i, message 5672 and files 0 to i-1.
        const std::size_t kept = fault ? static_cast<std::size_t>((block - 1) / blocks)
                                       : static_cast<std::size_t>(files);
        const std::vector<OperationMessage> messages =
            fault ? std::vector<OperationMessage>{{5672, MessageKind::Plain}}
                  : std::vector<OperationMessage>{};
        bool good =
            r.outcome.ok == !fault && r.outcome.messages == messages && collection.Count() == kept;
        for (std::size_t i = 0; good && i < kept; ++i)
            good = SameFile(*collection.At(i), served[i]);
        const double bound = lineSeconds + (fault ? fault->timeouts : 0) * replyLimit + slack;
        if (!good || wall > bound) {
            ++failures;
            std::printf("upload %d (%s at block %d): ok %d, %zu files, %.3f s of %.3f s%s\n", u,
                        fault ? fault->option : "no fault", block, r.outcome.ok, collection.Count(),
                        wall, bound, good ? "" : ", unexpected outcome");
        }
        if (wall / bound > worstRatio) {
            worstRatio = wall / bound;
            worstWall = wall;
            worstBound = bound;
            worstUpload = u;
        }
        if (u == 10) {
            fdsAfterTen = OpenDescriptors();
            rssAfterTen = ResidentKiB();
        }
        if (u % 30 == 0)
            std::printf(
                "  %3d uploads, %4.0f s, %ld descriptors, %ld KiB resident\n", u,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                OpenDescriptors(), ResidentKiB());
        std::fflush(stdout);
    }
    std::remove(project.c_str());

    const long fdsLast = OpenDescriptors(), rssLast = ResidentKiB();
    std::printf("faults: %d (", faulted);
    for (std::size_t k = 0; k < std::size(kFaults); ++k)
        std::printf("%s%s %d", k ? ", " : "", kFaults[k].option, perKind[k]);
    std::printf("); uploads off their outcome or bound: %d\n", failures);
    std::printf("descriptors after 10: %ld, after %d: %ld\n", fdsAfterTen, uploads, fdsLast);
    std::printf("resident KiB after 10: %ld, after %d: %ld\n", rssAfterTen, uploads, rssLast);
    std::printf("slowest against its bound: upload %d, %.3f s of %.3f s (%.0f%%)\n", worstUpload,
                worstWall, worstBound, 100.0 * worstRatio);
    // Memory may move by what the allocator keeps in hand; a leak per upload shows far more.
    const bool flat = fdsLast == fdsAfterTen && rssLast - rssAfterTen <= 256;
    return failures == 0 && flat ? 0 : 1;
}
