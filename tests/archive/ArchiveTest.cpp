// The archive's cases, run against SQLite and PostgreSQL alike.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "archive/ArchiveSync.h"
#include "archive/ArchiveTrend.h"
#include "measurement/SampleGenerator.h"
#include "support/ArchiveBackends.h"

namespace qm {
namespace {

using test::ArchiveBackend;

std::vector<ArchiveItem> Items(const std::vector<_tagFileDataExt>& elements) {
    std::vector<ArchiveItem> items;
    for (const _tagFileDataExt& e : elements)
        items.push_back(MakeArchiveItem(e, "Li Wei", "/projects/site.f71"));
    return items;
}

// Files of one site, variant v dated 2026-(v+1)-(1+7v) as the sample generator dates them.
std::vector<_tagFileDataExt> Site(const std::string& name, int kind, int from, int count) {
    std::vector<_tagFileDataExt> files;
    for (int v = from; v < from + count; ++v)
        files.push_back(MakeSampleMeasurement(kind, v, name));
    return files;
}

std::size_t Count(Archive& archive, const ArchiveFilter& filter = {}) {
    std::vector<ArchivedMeasurement> list;
    EXPECT_TRUE(archive.List(filter, list).Ok());
    return list.size();
}

class ArchiveCases : public ArchiveBackend {};

TEST_P(ArchiveCases, AddingTheSameBytesAgainKeepsOneMeasurement) {
    auto archive = Open(NewLocation());
    ASSERT_TRUE(archive);
    const auto a = Site("CABLE01", 0, 0, 4);
    auto overlap = Site("CABLE01", 0, 2, 4); // variants 2-5: two of them known
    struct Step {
        std::vector<_tagFileDataExt> batch;
        std::size_t added, already, total;
    } steps[] = {
        {a, 4, 0, 4},
        {overlap, 2, 2, 6},
        {{a[0], a[0]}, 0, 2, 6},
        {{MakeSampleMeasurement(1, 0, "CABLE01"), MakeSampleMeasurement(1, 0, "CABLE01")}, 1, 1, 7},
    };
    for (const Step& step : steps) {
        AddCounts counts;
        ASSERT_TRUE(archive->Add(Items(step.batch), counts).Ok());
        EXPECT_EQ(counts.added, step.added);
        EXPECT_EQ(counts.already, step.already);
        EXPECT_EQ(Count(*archive), step.total);
    }
}

TEST_P(ArchiveCases, ListSelectsBySiteAndWholeDays) {
    auto archive = Open(NewLocation());
    ASSERT_TRUE(archive);
    auto files = Site("CABLE01", 0, 0, 3); // 2026-01-01, 2026-02-08, 2026-03-15
    for (const auto& f : Site("TOWER", 2, 0, 2))
        files.push_back(f);
    auto undated = MakeSampleMeasurement(1, 9, "TOWER");
    undated.file[10] = 0; // the year reads 0
    undated.file[11] = 0;
    files.push_back(undated);
    AddCounts counts;
    ASSERT_TRUE(archive->Add(Items(files), counts).Ok());
    struct Case {
        ArchiveFilter filter;
        std::size_t count;
    } cases[] = {
        {{}, 6},
        {{"CABLE01", "", "", {}}, 3},
        {{"TOWER", "", "", {}}, 3},
        {{"", "2026-02-08", "", {}}, 3}, // from that day on, both ends included
        {{"", "", "2026-02-08", {}}, 4}, // the whole last day
        {{"CABLE01", "2026-02-09", "2026-03-14", {}}, 0},
        {{"", "2027-01-01", "", {}}, 0}, // undated files fall outside any range
        {{"", "", "", {MakeArchiveItem(files[1], "", "").entry.hash.substr(0, 8)}}, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Count(*archive, c.filter), c.count) << c.filter.site << ' ' << c.filter.since;
    std::vector<ArchivedMeasurement> list;
    ASSERT_TRUE(archive->List({}, list).Ok());
    EXPECT_EQ(list.back().entry.measuredAt, ""); // undated last
    EXPECT_EQ(list.front().entry.technician, "Li Wei");
    std::vector<SiteSummary> sites;
    ASSERT_TRUE(archive->Sites(sites).Ok());
    ASSERT_EQ(sites.size(), 2u);
    EXPECT_EQ(sites[0].site, "CABLE01");
    EXPECT_EQ(sites[0].count, 3);
    EXPECT_EQ(sites[0].lastMeasured, "2026-03-15 10:26:58");
    EXPECT_EQ(sites[1].count, 3);
}

TEST_P(ArchiveCases, TrendFollowsTheSitesMeasurementsInDateOrder) {
    auto archive = Open(NewLocation());
    ASSERT_TRUE(archive);
    auto files = Site("CABLE01", 0, 0, 3);
    std::swap(files[0], files[2]); // added out of date order
    auto scanOnly = MakeSampleMeasurement(0, 3, "CABLE01");
    scanOnly.file[29] = 0x20; // scan section only
    files.push_back(scanOnly);
    files.push_back(MakeSampleMeasurement(0, 4, "ELSEWHERE"));
    AddCounts counts;
    ASSERT_TRUE(archive->Add(Items(files), counts).Ok());
    const ArchiveItem first = MakeArchiveItem(files[2], "", "");
    const ArchivedChannel& c = first.channels.front();
    std::vector<TrendPoint> points;
    ASSERT_TRUE(ArchiveTrend(*archive, "CABLE01", c.frequency, TrendQuantity::Level, points).Ok());
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[0].measurement.entry.hash, first.entry.hash);
    EXPECT_EQ(points[0].text, *c.level);
    EXPECT_EQ(points[0].section, "level");
    EXPECT_EQ(points[3].section, "scan");
    for (std::size_t i = 1; i < points.size(); ++i)
        EXPECT_LT(points[i - 1].measurement.entry.measuredAt,
                  points[i].measurement.entry.measuredAt);
    // An analogue channel has no MER: its points are kept as "---".
    ASSERT_TRUE(ArchiveTrend(*archive, "CABLE01", c.frequency, TrendQuantity::Mer, points).Ok());
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[0].text, c.mer.value_or("---"));
    EXPECT_EQ(points[3].text, "---");
    EXPECT_FALSE(points[3].value);
}

TEST_P(ArchiveCases, ExportedElementsAreTheAddedOnesByteForByte) {
    auto archive = Open(NewLocation());
    ASSERT_TRUE(archive);
    std::vector<_tagFileDataExt> files = Site("A", 0, 0, 2);
    for (const auto& f : Site("B", 1, 2, 2))
        files.push_back(f);
    files.push_back(MakeSampleMeasurement(2, 4, "C"));
    AddCounts counts;
    ASSERT_TRUE(archive->Add(Items(files), counts).Ok());
    std::vector<std::string> hashes;
    for (const ArchiveItem& item : Items(files))
        hashes.push_back(item.entry.hash);
    std::vector<_tagFileDataExt> back;
    ASSERT_TRUE(LoadArchivedElements(*archive, hashes, back).Ok());
    ASSERT_EQ(back.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(0, std::memcmp(back[i].Bytes(), files[i].Bytes(), kElementSize)) << i;
}

TEST_P(ArchiveCases, PushCopiesWhatTheOtherLacksBothWaysAndOnlyOnce) {
    auto here = Open(NewLocation());
    auto sqlite = Open(dir.File("laptop.sqlite"));
    ASSERT_TRUE(here && sqlite);
    AddCounts counts;
    ASSERT_TRUE(here->Add(Items(Site("HERE", 1, 0, 3)), counts).Ok());
    ASSERT_TRUE(sqlite->Add(Items(Site("LAPTOP", 2, 0, 2)), counts).Ok());
    ASSERT_TRUE(sqlite->Add(Items(Site("HERE", 1, 0, 1)), counts).Ok()); // both hold this one
    struct Case {
        Archive* from;
        Archive* to;
        std::size_t copied, already;
    } cases[] = {
        {sqlite.get(), here.get(), 2, 1},
        {sqlite.get(), here.get(), 0, 3},
        {here.get(), sqlite.get(), 2, 3},
        {here.get(), sqlite.get(), 0, 5},
    };
    for (const Case& c : cases) {
        PushCounts pushed;
        ASSERT_TRUE(PushArchive(*c.from, *c.to, pushed).Ok());
        EXPECT_EQ(pushed.copied, c.copied);
        EXPECT_EQ(pushed.already, c.already);
    }
    // The copies keep their facts and their channel values.
    std::vector<ArchivedMeasurement> list;
    ASSERT_TRUE(here->List({"LAPTOP", "", "", {}}, list).Ok());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].entry.technician, "Li Wei");
    EXPECT_EQ(list[0].entry.source, "/projects/site.f71");
    std::vector<TrendPoint> points;
    const auto channel = MakeArchiveItem(Site("LAPTOP", 2, 0, 1)[0], "", "").channels[0];
    ASSERT_TRUE(
        ArchiveTrend(*here, "LAPTOP", channel.frequency, TrendQuantity::Level, points).Ok());
    EXPECT_EQ(points.size(), 2u);
}

TEST_P(ArchiveCases, AProcessDyingMidAddLeavesTheArchiveAsItWas) {
    const std::string location = NewLocation();
    {
        auto archive = Open(location);
        ASSERT_TRUE(archive);
        AddCounts counts;
        ASSERT_TRUE(archive->Add(Items(Site("KEPT", 0, 0, 2)), counts).Ok());
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::unique_ptr<Archive> archive;
        OpenArchive(location, archive);
        AddCounts counts;
        if (archive)
            archive->Add(Items(Site("LOST", 0, 0, 10)), counts, [](std::size_t done, std::size_t) {
                if (done == 6)
                    ::_exit(0);
                return true;
            });
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    auto archive = Open(location);
    ASSERT_TRUE(archive);
    EXPECT_EQ(Count(*archive), 2u);
    AddCounts counts;
    ASSERT_TRUE(archive->Add(Items(Site("LOST", 0, 0, 10)), counts).Ok());
    EXPECT_EQ(counts.added, 10u);
}

TEST_P(ArchiveCases, ANewerSchemaIsRefusedAndNotWritten) {
    const std::string location = NewLocation();
    {
        auto archive = Open(location);
        ASSERT_TRUE(archive);
        AddCounts counts;
        ASSERT_TRUE(archive->Add(Items(Site("OLD", 0, 0, 1)), counts).Ok());
    }
    ASSERT_TRUE(Sql(location)->Run("UPDATE qm_schema SET version = 99", {}));
    const std::string before = Postgres() ? "" : test::ReadFile(location);
    std::unique_ptr<Archive> archive;
    const ArchiveResult r = OpenArchive(location, archive);
    EXPECT_EQ(r.status, ArchiveStatus::NewerSchema);
    EXPECT_FALSE(archive);
    EXPECT_NE(r.reason.find("99"), std::string::npos) << r.reason;
    if (!Postgres()) {
        EXPECT_EQ(test::ReadFile(location), before);
    }
    std::vector<SqlRow> rows;
    ASSERT_TRUE(Sql(location)->Run("SELECT COUNT(*) FROM qm_measurements", {}, &rows));
    EXPECT_EQ(*rows[0][0], "1");
}

TEST_P(ArchiveCases, TwoArchivesMadeAtOnceGetOneSchema) {
    // The openers meet in a different order each round: one makes the file while the others
    // find it new and read it.
    constexpr int kRounds = 8, kOpeners = 3;
    for (int round = 0; round < kRounds; ++round) {
        const std::string location = NewLocation();
        std::unique_ptr<Archive> archives[kOpeners];
        ArchiveResult results[kOpeners];
        std::vector<std::thread> others;
        for (int i = 1; i < kOpeners; ++i)
            others.emplace_back([&, i] { results[i] = OpenArchive(location, archives[i]); });
        results[0] = OpenArchive(location, archives[0]);
        for (std::thread& t : others)
            t.join();
        for (int i = 0; i < kOpeners; ++i)
            ASSERT_TRUE(archives[i]) << "round " << round << ": " << results[i].reason;
        std::vector<SqlRow> rows;
        ASSERT_TRUE(Sql(location)->Run("SELECT COUNT(*) FROM qm_schema", {}, &rows));
        EXPECT_EQ(*rows[0][0], "1");
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveCases, ::testing::Values("sqlite", "postgres"),
                         test::BackendName);

// Killing the server's process for our connection mid-add: the transaction is gone whole.
class ArchiveServer : public ArchiveBackend {};

TEST_P(ArchiveServer, AServerKilledMidAddKeepsNothingOfTheBatch) {
    const std::string name = "victim" + std::to_string(::getpid());
    const std::string location = NewLocation("&application_name=" + name);
    auto archive = Open(location);
    ASSERT_TRUE(archive);
    AddCounts counts;
    ASSERT_TRUE(archive->Add(Items(Site("KEPT", 2, 0, 3)), counts).Ok());
    const auto admin = Sql(location.substr(0, location.find("&application_name")));
    const ArchiveResult r =
        archive->Add(Items(Site("LOST", 2, 0, 8)), counts, [&](std::size_t done, std::size_t) {
            if (done == 4)
                admin->Run("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                           "application_name = $1",
                           {SqlValue::Text(name)});
            return true;
        });
    EXPECT_EQ(r.status, ArchiveStatus::Failed);
    EXPECT_NE(r.reason.find("lost"), std::string::npos) << r.reason;
    auto again = Open(location);
    ASSERT_TRUE(again);
    EXPECT_EQ(Count(*again), 3u);
    EXPECT_EQ(Count(*again, {"LOST", "", "", {}}), 0u);
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveServer, ::testing::Values("postgres"), test::BackendName);

} // namespace
} // namespace qm
