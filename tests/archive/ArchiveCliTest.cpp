// qm7100 archive ... and the upload's copy, against both backends.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <set>
#include <thread>

#include "app/ProjectFile.h"
#include "measurement/SampleGenerator.h"
#include "support/ArchiveBackends.h"
#include "support/JsonReader.h"
#include "support/SimProcess.h"

namespace qm {
namespace {

using test::ProcessResult;

class ArchiveCli : public test::ArchiveBackend {
protected:
    void SetUp() override {
        ArchiveBackend::SetUp();
        if (IsSkipped())
            return;
        location = NewLocation();
        test::WriteFile(dir.File("setup.ini"), "");
    }
    ProcessResult Run(std::vector<std::string> args, const std::string& archive = {}) {
        args.insert(args.begin(), {"--settings", dir.File("setup.ini"), "--archive",
                                   archive.empty() ? location : archive});
        return test::RunProcess(test::BinPath("qm7100"), args);
    }
    std::string Project(const std::string& name, std::vector<_tagFileDataExt> elements) {
        const std::string path = dir.File(name);
        EXPECT_EQ(SaveProject(path, elements), ProjectStatus::Ok);
        return path;
    }
    std::string location;
};

TEST_P(ArchiveCli, ExportOfWhatWasAddedIsTheProjectByteForByte) {
    std::vector<_tagFileDataExt> files;
    for (int v = 0; v < 6; ++v) // dated in this order
        files.push_back(MakeSampleMeasurement(v % 3, v, "SITE"));
    const std::string project = Project("in.f71", files);
    ProcessResult r = Run({"archive", "add", project});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "added 6, already in the archive 0\n");
    r = Run({"archive", "add", project});
    EXPECT_EQ(r.out, "added 0, already in the archive 6\n");
    ASSERT_EQ(Run({"archive", "export", dir.File("out.f71")}).exitCode, 0);
    EXPECT_EQ(test::ReadFile(dir.File("out.f71")), test::ReadFile(project));
    // A selection by hash and by day.
    const auto list = test::ParseJson(Run({"archive", "list", "--json"}).out);
    ASSERT_TRUE(list);
    const std::string hash = (*list)["measurements"][2]["hash"].text;
    ASSERT_EQ(
        Run({"archive", "export", "--since", "2026-02-01", hash.substr(0, 10), dir.File("one.f71")})
            .exitCode,
        0);
    const ProjectLoad one = LoadProject(dir.File("one.f71"));
    ASSERT_EQ(one.elements.size(), 1u);
    EXPECT_EQ(0, std::memcmp(one.elements[0].Bytes(), files[2].Bytes(), kElementSize));
}

TEST_P(ArchiveCli, TrendPrintsEveryMeasurementWithTheProfilesBounds) {
    std::vector<_tagFileDataExt> files = {MakeSampleMeasurement(0, 0, "CABLE01"),
                                          MakeSampleMeasurement(0, 1, "CABLE01")};
    ASSERT_EQ(Run({"archive", "add", Project("p.f71", files)}).exitCode, 0);
    const ProcessResult text =
        Run({"archive", "trend", "CABLE01", "474", "--quantity", "mer", "--profile", "shipped"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')),
              "CABLE01\t474.00 MHz\tmer\tlimits 31.0 to ---");
    const ProcessResult json = Run({"archive", "trend", "CABLE01", "474.00", "--quantity", "mer",
                                    "--profile", "shipped", "--json"});
    const auto doc = test::ParseJson(json.out);
    ASSERT_TRUE(doc) << json.out;
    EXPECT_EQ((*doc)["limits"]["low"].text, "31.0");
    EXPECT_EQ((*doc)["limits"]["high"].type, test::JsonValue::Type::Null);
    ASSERT_EQ((*doc)["points"].items.size(), 2u);
    EXPECT_EQ((*doc)["points"][0]["measured"].text, "2026-01-01 08:00:00");
    EXPECT_EQ((*doc)["points"][0]["type"].text, "DIGI");
}

TEST_P(ArchiveCli, TwoProcessesAddingOverlappingSetsKeepEveryFileOnce) {
    std::vector<_tagFileDataExt> a, b;
    for (int v = 0; v < 60; ++v) {
        const auto e = MakeSampleMeasurement(v % 3, v, "S" + std::to_string(v % 4));
        if (v < 40)
            a.push_back(e);
        if (v >= 20)
            b.push_back(e);
    }
    const std::string pa = Project("a.f71", a), pb = Project("b.f71", b);
    ASSERT_EQ(Run({"archive", "sites"}).exitCode, 0); // the schema is made before the race
    ProcessResult ra, rb;
    std::thread other([&] { rb = Run({"archive", "add", pb}); });
    ra = Run({"archive", "add", pa});
    other.join();
    ASSERT_EQ(ra.exitCode, 0) << ra.err;
    ASSERT_EQ(rb.exitCode, 0) << rb.err;
    const auto list = test::ParseJson(Run({"archive", "list", "--json"}).out);
    ASSERT_TRUE(list);
    std::set<std::string> hashes;
    for (const auto& m : (*list)["measurements"].items)
        hashes.insert(m["hash"].text);
    EXPECT_EQ((*list)["measurements"].items.size(), 60u);
    EXPECT_EQ(hashes.size(), 60u);
}

TEST_P(ArchiveCli, AFailingArchiveNeverFailsAnUpload) {
    test::SimProcess sim({"--model", "7100T2", "--count", "2", "--baud", "4000000"});
    const std::string out = dir.File("meter.f71");
    struct Case {
        std::string archive, lang, message;
        int exit;
    } cases[] = {
        {location, "en", "qm7100: kept in the archive 2, already in the archive 0\n", 0},
        {location, "zh", "qm7100: 已存入档案 0，档案中已有 2\n", 0},
        {dir.File("missing/a.sqlite"), "en",
         "qm7100: the upload was saved but not kept in the archive: cannot open the archive: ", 0},
        {dir.File("missing/a.sqlite"), "zh", "qm7100: 上传已保存，但未能存入档案：无法打开档案：",
         0},
    };
    for (const Case& c : cases) {
        const ProcessResult r =
            Run({"--lang", c.lang, "upload", out, "--port", sim.Path(), "--baud", "4000000"},
                c.archive);
        EXPECT_EQ(r.exitCode, c.exit) << r.err;
        EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << r.err;
        EXPECT_EQ(LoadProject(out).elements.size(), 2u);
    }
}

TEST_P(ArchiveCli, APasswordInTheAddressIsRefusedAndNeverPrinted) {
    for (const std::string address : {"postgresql://qm:s3cr3t@/db?host=/nowhere",
                                      "postgresql:///db?host=/nowhere&password=s3cr3t"}) {
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"archive", "sites", "--json"}, {"archive", "push", address}}) {
            const ProcessResult r = Run(args, args[1] == "push" ? location : address);
            EXPECT_EQ(r.exitCode, 1) << address;
            EXPECT_NE(r.err.find("holds a password"), std::string::npos) << r.err;
            EXPECT_EQ((r.out + r.err).find("s3cr3t"), std::string::npos) << r.err;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveCli, ::testing::Values("sqlite", "postgres"),
                         test::BackendName);

// What only a file on this PC can go through.
class SqliteArchiveFile : public ::testing::Test {
protected:
    test::TempDir dir;
};

TEST_F(SqliteArchiveFile, IsMadeForItsOwnerOnlyAndADamagedOneIsLeftAlone) {
    const std::string path = dir.File("a.sqlite");
    std::unique_ptr<Archive> archive;
    ASSERT_TRUE(OpenArchive("sqlite:" + path, archive).Ok());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    archive.reset();

    const std::string damaged = dir.File("damaged.sqlite");
    const std::string bytes = "SQLite format 3" + std::string(4081, 'x');
    test::WriteFile(damaged, bytes);
    struct Case {
        std::string location;
        ArchiveStatus status;
    } cases[] = {{damaged, ArchiveStatus::NotAnArchive},
                 {"sqlite:", ArchiveStatus::BadLocation},
                 {"ftp://server/a", ArchiveStatus::BadLocation},
                 {dir.File("no/such/folder.sqlite"), ArchiveStatus::CannotOpen}};
    for (const Case& c : cases) {
        EXPECT_EQ(OpenArchive(c.location, archive).status, c.status) << c.location;
        EXPECT_FALSE(archive);
    }
    EXPECT_EQ(test::ReadFile(damaged), bytes);
}

TEST_F(SqliteArchiveFile, AFullDiskMidAddAddsNothingAndSaysSo) {
    const std::string path = dir.File("a.sqlite");
    std::vector<ArchiveItem> items;
    for (int v = 0; v < 12; ++v)
        items.push_back(MakeArchiveItem(MakeSampleMeasurement(1, v, "FULL"), "", ""));
    std::unique_ptr<Archive> archive;
    AddCounts counts;
    ASSERT_TRUE(OpenArchive(path, archive).Ok());
    ASSERT_TRUE(archive->Add({items[0]}, counts).Ok());
    archive.reset();
    // Room for a few more files only: the database is full halfway through the batch.
    ArchiveResult r;
    auto connection = OpenSqliteConnection(path, r);
    std::vector<SqlRow> pages;
    ASSERT_TRUE(connection->Run("PRAGMA page_count", {}, &pages));
    ASSERT_TRUE(connection->Run(
        "PRAGMA max_page_count = " + std::to_string(std::stoi(*pages[0][0]) + 12), {}, nullptr));
    Archive full(std::move(connection), path);
    ASSERT_TRUE(full.Prepare().Ok());
    r = full.Add(items, counts);
    EXPECT_EQ(r.status, ArchiveStatus::Failed);
    EXPECT_NE(r.reason.find("full"), std::string::npos) << r.reason;
    std::vector<std::string> hashes;
    ASSERT_TRUE(full.Hashes(hashes).Ok());
    EXPECT_EQ(hashes.size(), 1u);
}

} // namespace
} // namespace qm

namespace qm {
namespace {

// The server's password for a role that must give one comes from libpq's password file.
class ArchivePassword : public test::ArchiveBackend {};

TEST_P(ArchivePassword, ComesFromThePasswordFileAndIsNeverPrinted) {
    const std::string location = NewLocation();
    const std::string schema = location.substr(location.rfind("%3D") + 3);
    const std::string secret = "pw" + std::to_string(::getpid());
    const auto admin = Sql(location);
    ASSERT_TRUE(admin->Run("DO $$ BEGIN CREATE ROLE qm_password_user LOGIN; EXCEPTION WHEN "
                           "duplicate_object THEN NULL; END $$",
                           {}));
    ASSERT_TRUE(admin->Run("ALTER ROLE qm_password_user PASSWORD '" + secret + "'", {}));
    ASSERT_TRUE(admin->Run("GRANT ALL ON SCHEMA " + schema + " TO qm_password_user", {}));
    std::string user = location;
    user.replace(user.find("//qm@"), 5, "//qm_password_user@");
    const std::string passFile = dir.File("pgpass");
    test::WriteFile(passFile, "*:*:*:qm_password_user:" + secret + "\n");
    ::chmod(passFile.c_str(), 0600);
    test::WriteFile(dir.File("setup.ini"), "");
    struct Case {
        std::string passFile;
        int exit;
    } cases[] = {{passFile, 0}, {dir.File("none"), 1}};
    for (const Case& c : cases) {
        const ProcessResult r = test::RunProcess(
            test::BinPath("qm7100"),
            {"--settings", dir.File("setup.ini"), "--archive", user, "archive", "sites", "--json"},
            {"PGPASSFILE=" + c.passFile});
        EXPECT_EQ(r.exitCode, c.exit) << r.err;
        EXPECT_EQ((r.out + r.err).find(secret), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchivePassword, ::testing::Values("postgres"),
                         test::BackendName);

} // namespace
} // namespace qm
