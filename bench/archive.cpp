// The measurement archive: adds per second, a site's list and a one-channel trend among
// COUNT measurements (sites of 1,000 each, dates varied), and the archive's size per
// measurement. Against a new SQLite file by default, or an empty PostgreSQL database.
//
//   bench_archive [--count N] [--archive postgresql://...]
//
// An archive that already holds N measurements (a second run against a server) is measured
// as it is, without adding.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "archive/ArchiveTrend.h"
#include "archive/SqlConnection.h"
#include "measurement/SampleGenerator.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPerSite = 1000;
constexpr std::size_t kBatch = 1000;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Measurement i: site i / 1000, its dates spread over ten years.
qm::_tagFileDataExt Measurement(int i) {
    char site[16];
    std::snprintf(site, sizeof site, "SITE%04d", i / kPerSite);
    const int v = i % kPerSite;
    qm::_tagFileDataExt e = qm::MakeSampleMeasurement(v % 3, v, site);
    const int year = 2016 + v / 100;
    e.file[10] = static_cast<std::uint8_t>(year & 0xFF);
    e.file[11] = static_cast<std::uint8_t>(year >> 8);
    return e;
}

template <typename F> double MedianMs(F f, int runs = 21) {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        f();
        times.push_back(Seconds(start) * 1000);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int count = 100000;
    std::string location;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--count"))
            count = std::max(kPerSite, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--archive"))
            location = argv[i + 1];
    }
    char folder[] = "/tmp/bench-archive-XXXXXX";
    const bool sqlite = location.empty();
    if (sqlite) {
        if (!::mkdtemp(folder))
            return 1;
        location = std::string(folder) + "/archive.sqlite";
    }
    std::unique_ptr<qm::Archive> archive;
    if (const qm::ArchiveResult r = qm::OpenArchive(location, archive); !r.Ok()) {
        std::fprintf(stderr, "bench_archive: %s: %s\n",
                     qm::ArchiveStatusText(r.status, 500).c_str(), r.reason.c_str());
        return 1;
    }
    std::printf("archive: %s, %d measurements in batches of %zu\n",
                sqlite ? "SQLite" : "PostgreSQL", count, kBatch);
    double makeCpu = 0, addWall = 0, addCpu = 0;
    std::vector<qm::ArchiveItem> items;
    std::vector<std::string> held;
    archive->Hashes(held);
    const int from = held.size() >= static_cast<std::size_t>(count) ? count : 0;
    for (int first = from; first < count; first += static_cast<int>(kBatch)) {
        items.clear();
        double cpu = CpuSeconds();
        for (int i = first; i < std::min(count, first + static_cast<int>(kBatch)); ++i)
            items.push_back(qm::MakeArchiveItem(Measurement(i), "Bench", "bench"));
        makeCpu += CpuSeconds() - cpu;
        cpu = CpuSeconds();
        const auto start = Clock::now();
        qm::AddCounts counts;
        if (const qm::ArchiveResult r = archive->Add(items, counts); !r.Ok()) {
            std::fprintf(stderr, "bench_archive: %s\n", r.reason.c_str());
            return 1;
        }
        addWall += Seconds(start);
        addCpu += CpuSeconds() - cpu;
    }
    if (from == 0)
        std::printf("adding: %.0f files/s (database %.0f files/s wall, %.0f s CPU here; reading "
                    "the files %.0f files/s)\n",
                    count / (makeCpu + addWall), count / addWall, addCpu, count / makeCpu);

    const std::string site = "SITE0042";
    const qm::ArchiveItem probe = qm::MakeArchiveItem(Measurement(42 * kPerSite), "", "");
    const std::uint32_t frequency = probe.channels.front().frequency;
    std::size_t listed = 0, points = 0;
    const double listMs = MedianMs([&] {
        std::vector<qm::ArchivedMeasurement> list;
        archive->List({site, "", "", {}}, list);
        listed = list.size();
    });
    const double trendMs = MedianMs([&] {
        std::vector<qm::TrendPoint> trend;
        qm::ArchiveTrend(*archive, site, frequency, qm::TrendQuantity::Level, trend);
        points = trend.size();
    });
    std::printf("a site's list: %.1f ms (%zu measurements); its trend at %.2f MHz: %.1f ms "
                "(%zu points)\n",
                listMs, listed, frequency / 100.0, trendMs, points);

    long long bytes = 0;
    if (sqlite) {
        archive.reset(); // the last close folds the write-ahead log into the file
        struct stat st {};
        if (::stat(location.c_str(), &st) == 0)
            bytes = st.st_size;
        std::remove(location.c_str());
        ::rmdir(folder);
    } else {
        qm::ArchiveResult r;
        const auto sql = qm::OpenPostgresConnection(location, r);
        std::vector<qm::SqlRow> rows;
        if (sql && sql->Run("SELECT pg_total_relation_size('qm_measurements') + "
                            "pg_total_relation_size('qm_channels')",
                            {}, &rows))
            bytes = std::atoll(rows[0][0]->c_str());
    }
    const double size = static_cast<double>(bytes);
    std::printf("size: %.1f MB, %.1f kB per measurement (the file itself: %.1f kB)\n", size / 1e6,
                size / 1e3 / count, static_cast<double>(probe.bytes.size()) / 1e3);
    return 0;
}
