// The archive in a PostgreSQL database, through libpq.
#include <libpq-fe.h>

#include <cstring>

#include "archive/Archive.h"
#include "archive/SqlConnection.h"

namespace qm {

namespace {

// libpq's type number of bytea, whose text form is hexadecimal.
constexpr Oid kByteaOid = 17;
// Any number serves, as long as every copy of this program takes the same one.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(71007100)";

std::string Trimmed(const char* text) {
    std::string s = text ? text : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

class PostgresConnection final : public SqlConnection {
public:
    explicit PostgresConnection(PGconn* conn) : m_conn(conn) {}
    ~PostgresConnection() override { PQfinish(m_conn); }

    bool Run(const std::string& sql, const std::vector<SqlValue>& params,
             std::vector<SqlRow>* rows = nullptr) override {
        std::vector<const char*> values(params.size());
        std::vector<int> lengths(params.size()), formats(params.size());
        std::vector<std::string> numbers(params.size());
        for (std::size_t i = 0; i < params.size(); ++i) {
            const SqlValue& v = params[i];
            switch (v.type) {
            case SqlValue::Type::Null:
                values[i] = nullptr;
                break;
            case SqlValue::Type::Int:
                numbers[i] = std::to_string(v.number);
                values[i] = numbers[i].c_str();
                break;
            case SqlValue::Type::Text:
                values[i] = v.text.c_str();
                break;
            case SqlValue::Type::Blob:
                values[i] = reinterpret_cast<const char*>(v.blob->data());
                lengths[i] = static_cast<int>(v.blob->size());
                formats[i] = 1;
                break;
            }
        }
        PGresult* res = PQexecParams(m_conn, sql.c_str(), static_cast<int>(params.size()), nullptr,
                                     values.data(), lengths.data(), formats.data(), 0);
        const ExecStatusType status = PQresultStatus(res);
        const bool ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
        if (!ok)
            m_error = Trimmed(PQresultErrorMessage(res));
        if (ok && rows) {
            const int columns = PQnfields(res);
            for (int r = 0; r < PQntuples(res); ++r) {
                SqlRow row;
                for (int c = 0; c < columns; ++c) {
                    if (PQgetisnull(res, r, c)) {
                        row.emplace_back();
                    } else if (PQftype(res, c) == kByteaOid) {
                        std::size_t size = 0;
                        unsigned char* bytes = PQunescapeBytea(
                            reinterpret_cast<const unsigned char*>(PQgetvalue(res, r, c)), &size);
                        row.emplace_back(std::string(reinterpret_cast<char*>(bytes), size));
                        PQfreemem(bytes);
                    } else {
                        row.emplace_back(
                            std::string(PQgetvalue(res, r, c),
                                        static_cast<std::size_t>(PQgetlength(res, r, c))));
                    }
                }
                rows->push_back(std::move(row));
            }
        }
        PQclear(res);
        return ok;
    }

    bool BeginWrite() override { return Run("BEGIN", {}) && Run(kSchemaLock, {}); }

    std::string Error() const override {
        if (PQstatus(m_conn) == CONNECTION_BAD)
            return "the connection to the server was lost: " + m_error;
        return m_error;
    }

    SchemaWords Words() const override { return {"BIGSERIAL PRIMARY KEY", "BYTEA", "BIGINT", ")"}; }

    bool HasTable(const std::string& name, bool& exists) override {
        std::vector<SqlRow> rows;
        // A scan of the catalog, not a cached lookup: after waiting for another program's
        // schema it must see that program's tables.
        if (!Run("SELECT EXISTS (SELECT 1 FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace "
                 "n ON n.oid = c.relnamespace WHERE c.relname = $1 AND n.nspname = "
                 "current_schema())",
                 {SqlValue::Text(name)}, &rows))
            return false;
        exists = !rows.empty() && rows[0][0] && *rows[0][0] == "t";
        return true;
    }

private:
    PGconn* m_conn;
    std::string m_error;
};

// True when the conninfo names a password; libpq's own parser decides what it says.
bool HoldsPassword(const std::string& uri, bool& parsed) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(uri.c_str(), &error);
    PQfreemem(error);
    parsed = options != nullptr;
    bool found = false;
    for (PQconninfoOption* o = options; o && o->keyword; ++o)
        found = found || (std::strcmp(o->keyword, "password") == 0 && o->val && *o->val);
    PQconninfoFree(options);
    return found;
}

} // namespace

std::unique_ptr<SqlConnection> OpenPostgresConnection(const std::string& uri,
                                                      ArchiveResult& result) {
    bool parsed = false;
    if (HoldsPassword(uri, parsed)) {
        result = {ArchiveStatus::PasswordInLocation, {}};
        return nullptr;
    }
    if (!parsed) {
        result = {ArchiveStatus::BadLocation, uri};
        return nullptr;
    }
    // A server that does not answer fails after a while instead of hanging the program; the
    // address may set its own connect_timeout.
    const char* keys[] = {"connect_timeout", "fallback_application_name", "dbname", nullptr};
    const char* values[] = {"10", "qm7100", uri.c_str(), nullptr};
    PGconn* conn = PQconnectdbParams(keys, values, 1);
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        result = {ArchiveStatus::CannotOpen,
                  Trimmed(conn ? PQerrorMessage(conn) : "out of memory") + " (" + uri + ")"};
        PQfinish(conn);
        return nullptr;
    }
    auto connection = std::make_unique<PostgresConnection>(conn);
    // Quiet notices ("relation exists") would go to stderr otherwise.
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
    return connection;
}

} // namespace qm
