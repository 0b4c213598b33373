#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/ArchiveRecord.h"

namespace qm {

class SqlConnection;

// The schema this program writes; an archive of a newer one is refused and never written.
inline constexpr int kArchiveSchemaVersion = 1;

enum class ArchiveStatus {
    Ok,
    BadLocation,        // not a path, sqlite:PATH or postgresql:// address
    PasswordInLocation, // the address carries a password, which we never keep or print
    CannotOpen,         // the file could not be made or the server not reached
    NotAnArchive,       // a damaged SQLite file, or one that is no archive: left as it was
    NewerSchema,        // written by a newer program: left as it was
    Failed,             // a statement failed (full disk, lost connection): nothing changed
    Cancelled,          // the caller stopped an add: nothing changed
    Unavailable,        // this build has no archive
};

// The text of a status (without the reason) in the language of languageBase.
std::string ArchiveStatusText(ArchiveStatus status, int languageBase);

struct ArchiveResult {
    ArchiveStatus status = ArchiveStatus::Ok;
    std::string reason; // the library's words and the location; never a password
    bool Ok() const { return status == ArchiveStatus::Ok; }
};

// A stored measurement as listed.
struct ArchivedMeasurement {
    std::int64_t id = 0; // this archive's own number; the hash is the same everywhere
    ArchiveEntry entry;
};

struct SiteSummary {
    std::string site;
    long count = 0;
    std::string lastMeasured; // the latest measuredAt, empty when none is dated
};

// A selection of measurements; empty members select everything. Dates are "YYYY-MM-DD" and
// take whole days, both ends included; undated measurements fall outside any date range.
struct ArchiveFilter {
    std::string site;
    std::string since, until;
    std::vector<std::string> hashes; // whole hashes or at least 8 leading digits
};

// A measurement's values at one frequency, for a trend.
struct ChannelHistory {
    ArchivedMeasurement measurement;
    ArchivedChannel channel;
};

struct AddCounts {
    std::size_t added = 0;   // new measurements
    std::size_t already = 0; // the same bytes were there already
};

// Called after each measurement of an add; returning false stops it, and nothing is added.
using AddProgress = std::function<bool(std::size_t done, std::size_t total)>;

// The measurement archive: one SQLite file or one PostgreSQL database, through the same code.
class Archive {
public:
    explicit Archive(std::unique_ptr<SqlConnection> connection, std::string location);
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // Where it is, as the user named it (it never holds a password).
    const std::string& Location() const { return m_location; }

    // Adds the items in one transaction: all of them or, on any failure, none. An item whose
    // hash the archive holds is counted as already there.
    ArchiveResult Add(const std::vector<ArchiveItem>& items, AddCounts& counts,
                      const AddProgress& progress = {});

    ArchiveResult Sites(std::vector<SiteSummary>& sites);
    // By measured date (undated last), then by the time added.
    ArchiveResult List(const ArchiveFilter& filter, std::vector<ArchivedMeasurement>& out);
    // Every hash held.
    ArchiveResult Hashes(std::vector<std::string>& hashes);
    // The stored items of the hashes (whole hashes), bytes included, channels left empty.
    ArchiveResult Items(const std::vector<std::string>& hashes, std::vector<ArchiveItem>& out);
    // The site's measurements that hold the frequency, in List's order.
    ArchiveResult History(const std::string& site, std::uint32_t frequency,
                          std::vector<ChannelHistory>& out);

    // Opens (and on first use creates) the schema: an archive of a newer schema is refused.
    ArchiveResult Prepare();

private:
    ArchiveResult Fail(ArchiveStatus status = ArchiveStatus::Failed) const;
    std::unique_ptr<SqlConnection> m_db;
    std::string m_location;
};

// Opens the archive a location names: a file path or sqlite:PATH (a SQLite file, created
// readable by its owner only on first use), or postgresql://... (libpq's URI form; the password
// comes from libpq's password or service file or the environment, never from the address).
ArchiveResult OpenArchive(const std::string& location, std::unique_ptr<Archive>& archive);

// Where the archive lives without a setting: the per-user data folder's archive.sqlite
// ($XDG_DATA_HOME/qm7100-workdesk, by default ~/.local/share/qm7100-workdesk).
std::string DefaultArchiveLocation();

// The SQLite and PostgreSQL backends; nullptr and a result when opening fails.
std::unique_ptr<SqlConnection> OpenSqliteConnection(const std::string& path, ArchiveResult& result);
std::unique_ptr<SqlConnection> OpenPostgresConnection(const std::string& uri,
                                                      ArchiveResult& result);

} // namespace qm
