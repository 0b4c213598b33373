#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qm {

// A statement parameter: NULL, an integer, a text or a byte run.
struct SqlValue {
    enum class Type { Null, Int, Text, Blob } type = Type::Null;
    std::int64_t number = 0;
    std::string text; // also the bytes of a blob
    const std::vector<std::uint8_t>* blob = nullptr;

    static SqlValue Int(std::int64_t v) { return {Type::Int, v, {}, nullptr}; }
    static SqlValue Text(std::string v) { return {Type::Text, 0, std::move(v), nullptr}; }
    static SqlValue OptionalText(const std::optional<std::string>& v) {
        return v ? Text(*v) : SqlValue{};
    }
    // The bytes are not copied: they must outlive the statement.
    static SqlValue Blob(const std::vector<std::uint8_t>& v) { return {Type::Blob, 0, {}, &v}; }
};

// One result row: each column as text (a blob column as its raw bytes), NULL as nullopt.
using SqlRow = std::vector<std::optional<std::string>>;

// What the archive asks of a database: statements with $1, $2 ... parameters, in the
// dialect's transactions. The two backends are the SQLite and libpq C libraries.
class SqlConnection {
public:
    virtual ~SqlConnection() = default;

    // Runs one statement; the rows of its result go to rows when given. False on failure,
    // with Error() telling why.
    virtual bool Run(const std::string& sql, const std::vector<SqlValue>& params,
                     std::vector<SqlRow>* rows = nullptr) = 0;
    // Opens the transaction of a batch of writes, taking the write lock at once so that two
    // writers never deadlock halfway.
    virtual bool BeginWrite() = 0;
    virtual std::string Error() const = 0;

    // The dialect's words for the schema: the key column, the bytes column, the reference to
    // a key, and what ends the channel table.
    struct SchemaWords {
        const char* key;
        const char* bytes;
        const char* reference;
        const char* channelTableEnd;
    };
    virtual SchemaWords Words() const = 0;
    // Whether the table exists (without touching anything).
    virtual bool HasTable(const std::string& name, bool& exists) = 0;

    bool Commit() { return Run("COMMIT", {}); }
    void Rollback() { Run("ROLLBACK", {}); }
};

} // namespace qm
