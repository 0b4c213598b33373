#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>

#include "archive/Archive.h"
#include "archive/SqlConnection.h"
#include "support/TestSupport.h"

namespace qm::test {

// The same cases against a SQLite file and against the PostgreSQL server that
// scripts/test.sh starts (QM_TEST_POSTGRES, a postgresql:// address); each archive gets a
// schema of its own there, dropped at the end.
class ArchiveBackend : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (Postgres()) {
            const char* server = std::getenv("QM_TEST_POSTGRES");
            if (!server || !*server)
                GTEST_SKIP() << "QM_TEST_POSTGRES is not set: no PostgreSQL server to test "
                                "against (scripts/test.sh starts one)";
            m_server = server;
        }
    }
    void TearDown() override {
        for (const std::string& schema : m_schemas)
            Sql(m_server)->Run("DROP SCHEMA " + schema + " CASCADE", {});
    }

    bool Postgres() const { return GetParam() == "postgres"; }

    // A new, empty archive location of this backend; extra is added to a server address
    // ("&application_name=x").
    std::string NewLocation(const std::string& extra = {}) {
        static std::atomic<int> counter{0};
        const std::string name = "a" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
        if (!Postgres())
            return dir.File(name + ".sqlite");
        const auto admin = Sql(m_server);
        EXPECT_TRUE(admin && admin->Run("CREATE SCHEMA " + name, {}));
        m_schemas.push_back(name);
        const char joint = m_server.find('?') == std::string::npos ? '?' : '&';
        return m_server + joint + "options=-csearch_path%3D" + name + extra;
    }

    // A raw connection to a location, for what the archive itself never does.
    static std::unique_ptr<SqlConnection> Sql(const std::string& location) {
        ArchiveResult r;
        if (location.rfind("postgresql://", 0) == 0)
            return OpenPostgresConnection(location, r);
        return OpenSqliteConnection(location, r);
    }

    static std::unique_ptr<Archive> Open(const std::string& location) {
        std::unique_ptr<Archive> archive;
        const ArchiveResult r = OpenArchive(location, archive);
        EXPECT_TRUE(r.Ok()) << r.reason;
        return archive;
    }

    TempDir dir;

private:
    std::string m_server;
    std::vector<std::string> m_schemas;
};

inline std::string BackendName(const ::testing::TestParamInfo<std::string>& info) {
    return info.param;
}

} // namespace qm::test
