// The archive in a SQLite file, through the SQLite C library.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <thread>

#include "archive/Archive.h"
#include "archive/SqlConnection.h"

namespace qm {

namespace {

// How long a writer waits for another process's transaction before it gives up.
constexpr int kBusyTimeoutMs = 60000;
// Pause between tries of a change that the busy handler does not cover.
constexpr int kWalRetryMs = 5;

class SqliteConnection final : public SqlConnection {
public:
    explicit SqliteConnection(sqlite3* db) : m_db(db) {}
    ~SqliteConnection() override {
        for (auto& [sql, s] : m_statements)
            sqlite3_finalize(s.statement);
        sqlite3_close(m_db);
    }

    bool Run(const std::string& sql, const std::vector<SqlValue>& params,
             std::vector<SqlRow>* rows = nullptr) override {
        const Statement* prepared = Prepared(sql, params.size());
        if (!prepared)
            return false;
        sqlite3_stmt* statement = prepared->statement;
        for (std::size_t i = 0; i < params.size(); ++i) {
            const SqlValue& v = params[i];
            const int at = prepared->slots[i];
            if (at == 0)
                continue;
            switch (v.type) {
            case SqlValue::Type::Null:
                sqlite3_bind_null(statement, at);
                break;
            case SqlValue::Type::Int:
                sqlite3_bind_int64(statement, at, v.number);
                break;
            case SqlValue::Type::Text:
                sqlite3_bind_text(statement, at, v.text.data(), static_cast<int>(v.text.size()),
                                  SQLITE_TRANSIENT);
                break;
            case SqlValue::Type::Blob:
                sqlite3_bind_blob(statement, at, v.blob->data(), static_cast<int>(v.blob->size()),
                                  SQLITE_STATIC);
                break;
            }
        }
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            if (!rows)
                continue;
            SqlRow row;
            const int columns = sqlite3_column_count(statement);
            for (int c = 0; c < columns; ++c) {
                if (sqlite3_column_type(statement, c) == SQLITE_NULL) {
                    row.emplace_back();
                    continue;
                }
                const void* data = sqlite3_column_blob(statement, c);
                const int size = sqlite3_column_bytes(statement, c);
                row.emplace_back(std::string(static_cast<const char*>(data), size));
            }
            rows->push_back(std::move(row));
        }
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        return rc == SQLITE_DONE;
    }

    bool BeginWrite() override { return Run("BEGIN IMMEDIATE", {}); }

    // The switch to WAL needs the file to itself, and unlike a write it does not wait while
    // another program reads: one that opened the new file a moment after us and is reading its
    // (still empty) schema makes it fail at once as "database is locked". It is tried again for
    // as long as a writer would wait.
    bool SetWalMode() {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
        while (!Run("PRAGMA journal_mode = WAL", {})) {
            if (sqlite3_errcode(m_db) != SQLITE_BUSY || std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(kWalRetryMs));
        }
        return true;
    }
    std::string Error() const override { return sqlite3_errmsg(m_db); }
    bool Damaged() const {
        const int code = sqlite3_errcode(m_db);
        return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
    }

    SchemaWords Words() const override {
        return {"INTEGER PRIMARY KEY", "BLOB", "INTEGER", ") WITHOUT ROWID"};
    }

    bool HasTable(const std::string& name, bool& exists) override {
        std::vector<SqlRow> rows;
        if (!Run("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = $1",
                 {SqlValue::Text(name)}, &rows))
            return false;
        exists = !rows.empty() && rows[0][0] && *rows[0][0] != "0";
        return true;
    }

private:
    // A prepared statement and the binding slot of each $n, looked up once.
    struct Statement {
        sqlite3_stmt* statement = nullptr;
        std::vector<int> slots;
    };

    const Statement* Prepared(const std::string& sql, std::size_t params) {
        auto it = m_statements.find(sql);
        if (it == m_statements.end()) {
            Statement s;
            if (sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &s.statement,
                                   nullptr) != SQLITE_OK)
                return nullptr;
            it = m_statements.emplace(sql, std::move(s)).first;
        }
        Statement& s = it->second;
        for (std::size_t i = s.slots.size(); i < params; ++i)
            s.slots.push_back(
                sqlite3_bind_parameter_index(s.statement, ("$" + std::to_string(i + 1)).c_str()));
        return &s;
    }

    sqlite3* m_db;
    std::map<std::string, Statement> m_statements;
};

} // namespace

std::unique_ptr<SqlConnection> OpenSqliteConnection(const std::string& path,
                                                    ArchiveResult& result) {
    // A new archive is made readable by its owner only; SQLite gives its journal and WAL
    // files the same mode.
    bool fresh = false;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        fresh = true;
    } else if (errno != EEXIST) {
        result = {ArchiveStatus::CannotOpen, std::string(std::strerror(errno)) + " (" + path + ")"};
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        result = {ArchiveStatus::CannotOpen,
                  std::string(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) + " (" + path + ")"};
        sqlite3_close(db);
        if (fresh)
            ::unlink(path.c_str());
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    auto connection = std::make_unique<SqliteConnection>(db);
    // Readers go on while a writer adds; set once, when the file is new, so an existing file
    // is never written before its schema was checked.
    if (fresh && !connection->SetWalMode()) {
        result = {ArchiveStatus::CannotOpen, connection->Error() + " (" + path + ")"};
        return nullptr;
    }
    // A damaged file shows on the first read; it is reported and left alone.
    std::vector<SqlRow> rows;
    if (!connection->Run("SELECT COUNT(*) FROM sqlite_master", {}, &rows)) {
        result = {connection->Damaged() ? ArchiveStatus::NotAnArchive : ArchiveStatus::CannotOpen,
                  connection->Error() + " (" + path + ")"};
        return nullptr;
    }
    return connection;
}

} // namespace qm
