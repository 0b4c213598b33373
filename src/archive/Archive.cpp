#include "archive/Archive.h"

#include <algorithm>
#include <cstdlib>

#include "archive/SqlConnection.h"

namespace qm {

namespace {

// The columns of an ArchivedMeasurement, in this order.
constexpr const char* kMeasurementColumns =
    "m.id, m.hash, m.site, m.kind, m.file_date, m.measured_at, m.added_at, m.technician, m.source";
constexpr std::size_t kMeasurementColumnCount = 9;
// Dated first in date order, then by the time added; the hash keeps ties the same everywhere.
constexpr const char* kOrder = " ORDER BY m.measured_at IS NULL, m.measured_at, m.added_at, m.hash";
// Rows of one multi-row insert: few round trips to a server, well below any parameter limit.
constexpr std::size_t kChannelRowsPerInsert = 64;
constexpr std::size_t kChannelColumns = 12;

std::string Text(const std::optional<std::string>& v) {
    return v ? *v : std::string();
}

std::int64_t Number(const std::optional<std::string>& v) {
    return v ? std::strtoll(v->c_str(), nullptr, 10) : 0;
}

ArchivedMeasurement MeasurementOf(const SqlRow& row) {
    ArchivedMeasurement m;
    m.id = Number(row[0]);
    m.entry.hash = Text(row[1]);
    m.entry.site = Text(row[2]);
    m.entry.kind = static_cast<int>(Number(row[3]));
    m.entry.fileDate = Text(row[4]);
    m.entry.measuredAt = Text(row[5]);
    m.entry.addedAt = Text(row[6]);
    m.entry.technician = Text(row[7]);
    m.entry.source = Text(row[8]);
    return m;
}

std::string Placeholder(std::size_t n) {
    return "$" + std::to_string(n);
}

// The inclusive end of a "YYYY-MM-DD" day as a bound for measured_at texts.
std::string EndOfDay(const std::string& date) {
    return date + " 23:59:59";
}

// The tables of a new archive, in the dialect's words.
std::vector<std::string> SchemaStatements(const SqlConnection::SchemaWords& w) {
    return {
        "CREATE TABLE qm_schema (version INTEGER NOT NULL)",
        std::string("CREATE TABLE qm_measurements (id ") + w.key +
            ", hash TEXT NOT NULL UNIQUE, site TEXT NOT NULL, kind INTEGER NOT NULL, file_date "
            "TEXT NOT NULL, measured_at TEXT, added_at TEXT NOT NULL, technician TEXT NOT NULL, "
            "source TEXT NOT NULL, bytes " +
            w.bytes + " NOT NULL)",
        "CREATE INDEX qm_measurements_site ON qm_measurements (site, measured_at)",
        std::string("CREATE TABLE qm_channels (measurement ") + w.reference +
            " NOT NULL REFERENCES qm_measurements (id), frequency INTEGER NOT NULL, channel "
            "INTEGER NOT NULL, type TEXT NOT NULL, level TEXT, audio TEXT, mer TEXT, pre_ber "
            "TEXT, post_ber TEXT, scan_level TEXT, scan_audio TEXT, tilt_level TEXT, PRIMARY KEY "
            "(measurement, frequency)" +
            w.channelTableEnd,
        "INSERT INTO qm_schema (version) VALUES (" + std::to_string(kArchiveSchemaVersion) + ")",
    };
}

bool IsHashPrefix(const std::string& text) {
    return text.size() >= 8 && text.size() <= 64 &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

} // namespace

Archive::Archive(std::unique_ptr<SqlConnection> connection, std::string location)
    : m_db(std::move(connection)), m_location(std::move(location)) {}

Archive::~Archive() = default;

ArchiveResult Archive::Fail(ArchiveStatus status) const {
    return {status, m_db->Error() + " (" + m_location + ")"};
}

ArchiveResult Archive::Prepare() {
    bool exists = false;
    if (!m_db->HasTable("qm_schema", exists))
        return Fail(ArchiveStatus::NotAnArchive);
    if (!exists) {
        // Two programs making a new archive at once: the second finds the first one's schema.
        if (!m_db->BeginWrite())
            return Fail(ArchiveStatus::CannotOpen);
        bool made = m_db->HasTable("qm_schema", exists);
        for (const std::string& statement : SchemaStatements(m_db->Words()))
            made = made && (exists || m_db->Run(statement, {}));
        if (!made || !m_db->Commit()) {
            const ArchiveResult failed = Fail();
            m_db->Rollback();
            return failed;
        }
    }
    std::vector<SqlRow> rows;
    if (!m_db->Run("SELECT MAX(version) FROM qm_schema", {}, &rows))
        return Fail(ArchiveStatus::NotAnArchive);
    const std::int64_t version = rows.empty() ? 0 : Number(rows[0][0]);
    if (version > kArchiveSchemaVersion)
        return {ArchiveStatus::NewerSchema,
                "schema " + std::to_string(version) + " (" + m_location + ")"};
    if (version < 1)
        return {ArchiveStatus::NotAnArchive, m_location};
    return {};
}

ArchiveResult Archive::Add(const std::vector<ArchiveItem>& items, AddCounts& counts,
                           const AddProgress& progress) {
    counts = {};
    if (!m_db->BeginWrite())
        return Fail();
    AddCounts done;
    std::vector<SqlRow> rows;
    std::vector<SqlValue> params;
    const auto failed = [this](ArchiveStatus status) {
        const ArchiveResult result =
            status == ArchiveStatus::Cancelled ? ArchiveResult{status, m_location} : Fail(status);
        m_db->Rollback();
        return result;
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ArchiveItem& item = items[i];
        const ArchiveEntry& e = item.entry;
        rows.clear();
        if (!m_db->Run("INSERT INTO qm_measurements (hash, site, kind, file_date, measured_at, "
                       "added_at, technician, source, bytes) VALUES ($1, $2, $3, $4, $5, $6, $7, "
                       "$8, $9) ON CONFLICT (hash) DO NOTHING RETURNING id",
                       {SqlValue::Text(e.hash), SqlValue::Text(e.site), SqlValue::Int(e.kind),
                        SqlValue::Text(e.fileDate),
                        e.measuredAt.empty() ? SqlValue{} : SqlValue::Text(e.measuredAt),
                        SqlValue::Text(e.addedAt), SqlValue::Text(e.technician),
                        SqlValue::Text(e.source), SqlValue::Blob(item.bytes)},
                       &rows))
            return failed(ArchiveStatus::Failed);
        if (rows.empty()) {
            ++done.already;
        } else {
            ++done.added;
            const std::int64_t id = Number(rows[0][0]);
            for (std::size_t first = 0; first < item.channels.size();
                 first += kChannelRowsPerInsert) {
                const std::size_t count =
                    std::min(kChannelRowsPerInsert, item.channels.size() - first);
                std::string sql = "INSERT INTO qm_channels (measurement, frequency, channel, "
                                  "type, level, audio, mer, pre_ber, post_ber, scan_level, "
                                  "scan_audio, tilt_level) VALUES ";
                params.clear();
                for (std::size_t r = 0; r < count; ++r) {
                    const ArchivedChannel& c = item.channels[first + r];
                    sql += r ? ", (" : "(";
                    for (std::size_t col = 1; col <= kChannelColumns; ++col)
                        sql += Placeholder(r * kChannelColumns + col) +
                               (col < kChannelColumns ? ", " : ")");
                    params.insert(
                        params.end(),
                        {SqlValue::Int(id), SqlValue::Int(c.frequency), SqlValue::Int(c.channel),
                         SqlValue::Text(c.type), SqlValue::OptionalText(c.level),
                         SqlValue::OptionalText(c.audio), SqlValue::OptionalText(c.mer),
                         SqlValue::OptionalText(c.preBer), SqlValue::OptionalText(c.postBer),
                         SqlValue::OptionalText(c.scanLevel), SqlValue::OptionalText(c.scanAudio),
                         SqlValue::OptionalText(c.tiltLevel)});
                }
                if (!m_db->Run(sql, params))
                    return failed(ArchiveStatus::Failed);
            }
        }
        if (progress && !progress(i + 1, items.size()))
            return failed(ArchiveStatus::Cancelled);
    }
    if (!m_db->Commit())
        return failed(ArchiveStatus::Failed);
    counts = done;
    return {};
}

ArchiveResult Archive::Sites(std::vector<SiteSummary>& sites) {
    sites.clear();
    std::vector<SqlRow> rows;
    if (!m_db->Run("SELECT site, COUNT(*), MAX(measured_at) FROM qm_measurements GROUP BY site "
                   "ORDER BY site",
                   {}, &rows))
        return Fail();
    for (const SqlRow& row : rows)
        sites.push_back({Text(row[0]), static_cast<long>(Number(row[1])), Text(row[2])});
    return {};
}

ArchiveResult Archive::List(const ArchiveFilter& filter, std::vector<ArchivedMeasurement>& out) {
    out.clear();
    std::string sql = std::string("SELECT ") + kMeasurementColumns + " FROM qm_measurements m";
    std::vector<SqlValue> params;
    std::vector<std::string> terms;
    const auto term = [&](const std::string& condition, std::string value) {
        params.push_back(SqlValue::Text(std::move(value)));
        std::string text = condition;
        text.replace(text.find('?'), 1, Placeholder(params.size()));
        terms.push_back(text);
    };
    if (!filter.site.empty())
        term("m.site = ?", filter.site);
    if (!filter.since.empty())
        term("m.measured_at >= ?", filter.since);
    if (!filter.until.empty())
        term("m.measured_at <= ?", EndOfDay(filter.until));
    if (!filter.hashes.empty()) {
        std::string any;
        for (const std::string& hash : filter.hashes) {
            if (!IsHashPrefix(hash))
                return {ArchiveStatus::Failed, "not a measurement's hash: '" + hash + "'"};
            params.push_back(SqlValue::Text(hash + "%"));
            any +=
                (any.empty() ? "(m.hash LIKE " : " OR m.hash LIKE ") + Placeholder(params.size());
        }
        terms.push_back(any + ")");
    }
    for (std::size_t i = 0; i < terms.size(); ++i)
        sql += (i ? " AND " : " WHERE ") + terms[i];
    std::vector<SqlRow> rows;
    if (!m_db->Run(sql + kOrder, params, &rows))
        return Fail();
    out.reserve(rows.size());
    for (const SqlRow& row : rows)
        out.push_back(MeasurementOf(row));
    return {};
}

ArchiveResult Archive::Hashes(std::vector<std::string>& hashes) {
    hashes.clear();
    std::vector<SqlRow> rows;
    if (!m_db->Run("SELECT hash FROM qm_measurements", {}, &rows))
        return Fail();
    for (const SqlRow& row : rows)
        hashes.push_back(Text(row[0]));
    return {};
}

ArchiveResult Archive::Items(const std::vector<std::string>& hashes,
                             std::vector<ArchiveItem>& out) {
    out.clear();
    std::vector<SqlRow> rows;
    for (const std::string& hash : hashes) {
        rows.clear();
        if (!m_db->Run(std::string("SELECT ") + kMeasurementColumns +
                           ", m.bytes FROM qm_measurements m WHERE m.hash = $1",
                       {SqlValue::Text(hash)}, &rows))
            return Fail();
        if (rows.empty())
            return {ArchiveStatus::Failed, "no measurement " + hash + " (" + m_location + ")"};
        ArchiveItem item;
        item.entry = MeasurementOf(rows[0]).entry;
        const std::string& bytes = *rows[0][kMeasurementColumnCount];
        item.bytes.assign(bytes.begin(), bytes.end());
        out.push_back(std::move(item));
    }
    return {};
}

ArchiveResult Archive::History(const std::string& site, std::uint32_t frequency,
                               std::vector<ChannelHistory>& out) {
    out.clear();
    std::vector<SqlRow> rows;
    if (!m_db->Run(std::string("SELECT ") + kMeasurementColumns +
                       ", c.channel, c.type, c.level, c.audio, c.mer, c.pre_ber, c.post_ber, "
                       "c.scan_level, c.scan_audio, c.tilt_level FROM qm_measurements m JOIN "
                       "qm_channels c ON c.measurement = m.id WHERE m.site = $1 AND "
                       "c.frequency = $2" +
                       kOrder,
                   {SqlValue::Text(site), SqlValue::Int(frequency)}, &rows))
        return Fail();
    out.reserve(rows.size());
    for (const SqlRow& row : rows) {
        ChannelHistory h;
        h.measurement = MeasurementOf(row);
        ArchivedChannel& c = h.channel;
        const std::size_t b = kMeasurementColumnCount;
        c.frequency = frequency;
        c.channel = static_cast<int>(Number(row[b]));
        c.type = Text(row[b + 1]);
        c.level = row[b + 2], c.audio = row[b + 3], c.mer = row[b + 4];
        c.preBer = row[b + 5], c.postBer = row[b + 6];
        c.scanLevel = row[b + 7], c.scanAudio = row[b + 8], c.tiltLevel = row[b + 9];
        out.push_back(std::move(h));
    }
    return {};
}

} // namespace qm
