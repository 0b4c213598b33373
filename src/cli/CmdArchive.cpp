// qm7100 archive ...: the measurement archive from the command line, and the upload's copy.
#include <filesystem>
#include <memory>
#include <ostream>

#include "app/ProjectFile.h"
#include "app/Settings.h"
#include "base/JsonWriter.h"
#include "cli/Cli.h"
#include "cli/CliProject.h"
#include "res/StringTable.h"

#ifdef QM_HAVE_ARCHIVE
#include "archive/Archive.h"
#include "archive/ArchiveSettings.h"
#include "archive/ArchiveSync.h"
#include "archive/ArchiveTrend.h"
#include "limits/LimitProfile.h"
#endif

namespace qm::cli {

#ifdef QM_HAVE_ARCHIVE

namespace {

// Hashes are shown by their first digits, enough to tell measurements apart and to name them.
constexpr std::size_t kShownHashDigits = 12;

// "qm7100: [BEFORE: ]STATUS: REASON" on stderr.
int ArchiveError(Context& ctx, const ArchiveResult& r, const std::string& before = {}) {
    std::string line = ArchiveStatusText(r.status, LanguageBase());
    if (!before.empty())
        line = TrFill(txt::kReasonJoint, {before, line});
    if (!r.reason.empty())
        line = TrFill(txt::kReasonJoint, {line, r.reason});
    ctx.err << "qm7100: " << line;
    ctx.err << '\n';
    return kExitFailed;
}

std::string Absolute(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(std::filesystem::path(path), error);
    return error ? path : absolute.string();
}

// Opens the archive of --archive, the settings or the default; reports a failure.
bool OpenOrReport(Context& ctx, std::unique_ptr<Archive>& archive, int& rc) {
    if (!SettingsReadable(ctx)) {
        rc = kExitFailed;
        return false;
    }
    const ArchiveResult r = OpenArchive(ChosenArchive(ctx.archive, Settings()), archive);
    if (!r.Ok())
        rc = ArchiveError(ctx, r);
    return r.Ok();
}

// --site, --since and --until; false after a usage error in rc.
bool TakeFilter(Context& ctx, ArchiveFilter& filter, int& rc) {
    bool ok = true;
    TakeOption(ctx.args, "--site", filter.site, ok);
    TakeOption(ctx.args, "--since", filter.since, ok);
    TakeOption(ctx.args, "--until", filter.until, ok);
    int y = 0, m = 0, d = 0;
    if (!ok) {
        rc = UsageError(ctx, txt::kOptionMissingValue);
        return false;
    }
    for (const std::string* date : {&filter.since, &filter.until})
        if (!date->empty() && !ParseIsoDate(*date, y, m, d)) {
            rc = UsageError(ctx, txt::kDateMustYYYYMMDD2, {*date});
            return false;
        }
    return true;
}

std::string Shown(const std::string& text) {
    return text.empty() ? "---" : text;
}

void ListEntry(JsonWriter& json, const ArchivedMeasurement& m) {
    const ArchiveEntry& e = m.entry;
    json.BeginObject().Key("hash").String(e.hash).Key("site").String(e.site);
    json.Key("kind").Number(static_cast<long>(e.kind)).Key("fileDate").String(e.fileDate);
    json.Key("measured");
    if (e.measuredAt.empty())
        json.Null();
    else
        json.String(e.measuredAt);
    json.Key("added").String(e.addedAt).Key("technician").String(e.technician);
    json.Key("source").String(e.source).EndObject();
}

int RunArchiveAdd(Context& ctx) {
    if (ctx.args.empty())
        return UsageError(ctx, txt::kArchiveAddNeedsPROJECTF71);
    const Settings settings;
    std::vector<ArchiveItem> items;
    for (const std::string& path : ctx.args) {
        if (RefusePlanAsProject(ctx, path))
            return kExitFailed;
        std::vector<_tagFileDataExt> elements;
        if (!LoadProjectOrReport(ctx, path, elements))
            return kExitFailed;
        for (const _tagFileDataExt& e : elements)
            items.push_back(MakeArchiveItem(e, Technician(settings), Absolute(path)));
    }
    std::unique_ptr<Archive> archive;
    int rc = kExitOk;
    if (!OpenOrReport(ctx, archive, rc))
        return rc;
    AddCounts counts;
    if (const ArchiveResult r = archive->Add(items, counts); !r.Ok())
        return ArchiveError(ctx, r);
    ctx.out << TrFill(txt::kAddedCounts,
                      {std::to_string(counts.added), std::to_string(counts.already)})
            << '\n';
    return kExitOk;
}

int RunArchiveSites(Context& ctx) {
    const bool json = TakeFlag(ctx.args, "--json");
    if (!ctx.args.empty())
        return UsageError(ctx, txt::kUnexpectedArgument2, {ctx.args[0]});
    std::unique_ptr<Archive> archive;
    int rc = kExitOk;
    if (!OpenOrReport(ctx, archive, rc))
        return rc;
    std::vector<SiteSummary> sites;
    if (const ArchiveResult r = archive->Sites(sites); !r.Ok())
        return ArchiveError(ctx, r);
    if (json) {
        JsonWriter w;
        w.BeginObject().Key("sites").BeginArray();
        for (const SiteSummary& s : sites) {
            w.BeginObject().Key("site").String(s.site).Key("count").Number(s.count).Key("last");
            if (s.lastMeasured.empty())
                w.Null();
            else
                w.String(s.lastMeasured);
            w.EndObject();
        }
        ctx.out << w.EndArray().EndObject().Text();
        return kExitOk;
    }
    for (const SiteSummary& s : sites)
        ctx.out << Escaped(s.site) << '\t' << s.count << '\t' << Shown(s.lastMeasured) << '\n';
    return kExitOk;
}

// The measurements of --site, --since, --until and the hashes in ctx.args before the last
// `keep` arguments; kExitOk or what to exit with.
int Select(Context& ctx, std::size_t keep, std::unique_ptr<Archive>& archive,
           std::vector<ArchivedMeasurement>& list) {
    ArchiveFilter filter;
    int rc = kExitOk;
    if (!TakeFilter(ctx, filter, rc))
        return rc;
    if (ctx.args.size() < keep)
        return UsageError(ctx, txt::kArchiveExportNeedsOUTF71);
    filter.hashes.assign(ctx.args.begin(), ctx.args.end() - static_cast<long>(keep));
    if (!OpenOrReport(ctx, archive, rc))
        return rc;
    if (const ArchiveResult r = archive->List(filter, list); !r.Ok())
        return ArchiveError(ctx, r);
    return kExitOk;
}

int RunArchiveList(Context& ctx) {
    const bool json = TakeFlag(ctx.args, "--json");
    std::unique_ptr<Archive> archive;
    std::vector<ArchivedMeasurement> list;
    if (const int rc = Select(ctx, 0, archive, list); rc != kExitOk)
        return rc;
    if (json) {
        JsonWriter w;
        w.BeginObject().Key("measurements").BeginArray();
        for (const ArchivedMeasurement& m : list)
            ListEntry(w, m);
        ctx.out << w.EndArray().EndObject().Text();
        return kExitOk;
    }
    for (const ArchivedMeasurement& m : list) {
        const ArchiveEntry& e = m.entry;
        ctx.out << e.hash.substr(0, kShownHashDigits) << '\t' << Escaped(e.site) << '\t'
                << Escaped(e.fileDate) << '\t' << e.kind << '\t' << e.addedAt << '\t'
                << Escaped(Shown(e.technician)) << '\t' << Escaped(e.source) << '\n';
    }
    return kExitOk;
}

std::string Bound(const std::optional<double>& v, TrendQuantity q) {
    char text[32];
    std::snprintf(text, sizeof text, q == TrendQuantity::Ber ? "%.1E" : "%.1f", *v);
    return text;
}

int RunArchiveTrend(Context& ctx) {
    const bool json = TakeFlag(ctx.args, "--json");
    bool ok = true;
    std::string quantityName = "level", profilePath;
    TakeOption(ctx.args, "--quantity", quantityName, ok);
    const bool hasProfile = TakeOption(ctx.args, "--profile", profilePath, ok);
    if (!ok)
        return UsageError(ctx, txt::kOptionMissingValue);
    if (ctx.args.size() != 2)
        return UsageError(ctx, txt::kArchiveTrendNeedsSITEFREQ);
    TrendQuantity quantity;
    if (!ParseTrendQuantity(quantityName, quantity))
        return UsageError(ctx, txt::kQuantityMustLevelMerBerOr2, {quantityName});
    std::uint32_t frequency = 0;
    if (!ParseFrequencyMHz(ctx.args[1], frequency))
        return UsageError(ctx, txt::kFREQMustFrequencyInMHz2, {ctx.args[1]});
    LimitProfile profile;
    if (hasProfile &&
        !LoadProfileOrReport(ctx, profilePath == "shipped" ? "" : profilePath, profile))
        return kExitFailed;
    std::unique_ptr<Archive> archive;
    int rc = kExitOk;
    if (!OpenOrReport(ctx, archive, rc))
        return rc;
    const std::string& site = ctx.args[0];
    std::vector<TrendPoint> points;
    if (const ArchiveResult r = ArchiveTrend(*archive, site, frequency, quantity, points); !r.Ok())
        return ArchiveError(ctx, r);
    TrendBounds bounds;
    if (hasProfile && !points.empty()) {
        std::vector<_tagFileDataExt> latest;
        if (const ArchiveResult r =
                LoadArchivedElements(*archive, {points.back().measurement.entry.hash}, latest);
            !r.Ok())
            return ArchiveError(ctx, r);
        bounds = TrendLimits(latest[0], frequency, quantity, profile);
    }
    char mhz[32];
    std::snprintf(mhz, sizeof mhz, "%.2f", frequency / 100.0);
    if (json) {
        JsonWriter w;
        w.BeginObject().Key("site").String(site).Key("frequency").Cell(mhz);
        w.Key("quantity").String(TrendQuantityName(quantity)).Key("limits");
        if (!hasProfile) {
            w.Null();
        } else {
            w.BeginObject();
            for (const auto& [key, v] : {std::pair{"low", bounds.low}, {"high", bounds.high}}) {
                w.Key(key);
                if (v)
                    w.Cell(Bound(v, quantity));
                else
                    w.Null();
            }
            w.EndObject();
        }
        w.Key("points").BeginArray();
        for (const TrendPoint& p : points) {
            const ArchiveEntry& e = p.measurement.entry;
            w.BeginObject().Key("measured");
            if (e.measuredAt.empty())
                w.Null();
            else
                w.String(e.measuredAt);
            w.Key("fileDate").String(e.fileDate).Key("hash").String(e.hash);
            w.Key("channel").Number(static_cast<long>(p.channel)).Key("type").String(p.type);
            w.Key("section").String(p.section).Key("value").Cell(p.text).EndObject();
        }
        ctx.out << w.EndArray().EndObject().Text();
        return kExitOk;
    }
    ctx.out << Escaped(site) << '\t' << mhz << " MHz\t" << TrendQuantityName(quantity);
    if (hasProfile)
        ctx.out << '\t' << Tr(txt::kCliLimits) << ' '
                << (bounds.low ? Bound(bounds.low, quantity) : "---") << ' ' << Tr(txt::kTo) << ' '
                << (bounds.high ? Bound(bounds.high, quantity) : "---");
    ctx.out << '\n';
    for (const TrendPoint& p : points) {
        const ArchiveEntry& e = p.measurement.entry;
        ctx.out << Shown(e.measuredAt) << '\t' << Escaped(e.fileDate) << '\t' << p.text << '\t'
                << Shown(p.section) << '\t' << e.hash.substr(0, kShownHashDigits) << '\n';
    }
    return kExitOk;
}

int RunArchiveExport(Context& ctx) {
    std::unique_ptr<Archive> archive;
    std::vector<ArchivedMeasurement> list;
    if (const int rc = Select(ctx, 1, archive, list); rc != kExitOk)
        return rc;
    const std::string out = ctx.args.back();
    std::vector<std::string> hashes;
    for (const ArchivedMeasurement& m : list)
        hashes.push_back(m.entry.hash);
    std::vector<_tagFileDataExt> elements;
    if (const ArchiveResult r = LoadArchivedElements(*archive, hashes, elements); !r.Ok())
        return ArchiveError(ctx, r);
    if (const ProjectStatus saved = SaveProject(out, elements); saved != ProjectStatus::Ok) {
        ctx.err << "qm7100: " << ProjectStatusText(saved, out) << "\n";
        return kExitFailed;
    }
    ctx.out << Tr(txt::kExported) << ' ' << elements.size() << ' ' << Tr(txt::kFiles) << '\n';
    return kExitOk;
}

int RunArchivePush(Context& ctx) {
    if (ctx.args.size() != 1)
        return UsageError(ctx, txt::kArchivePushNeedsURL);
    std::unique_ptr<Archive> from, to;
    int rc = kExitOk;
    if (!OpenOrReport(ctx, from, rc))
        return rc;
    if (const ArchiveResult r = OpenArchive(ctx.args[0], to); !r.Ok())
        return ArchiveError(ctx, r);
    PushCounts counts;
    const ArchiveResult r = PushArchive(*from, *to, counts);
    ctx.out << TrFill(txt::kCopiedCounts,
                      {std::to_string(counts.copied), std::to_string(counts.already)})
            << '\n';
    return r.Ok() ? kExitOk : ArchiveError(ctx, r);
}

} // namespace

int RunArchive(Context& ctx) {
    if (ctx.args.empty())
        return UsageError(ctx, txt::kArchiveNeedsOneAddSitesList);
    const std::string command = ctx.args.front();
    ctx.args.erase(ctx.args.begin());
    static const std::pair<const char*, int (*)(Context&)> kCommands[] = {
        {"add", RunArchiveAdd},     {"sites", RunArchiveSites},   {"list", RunArchiveList},
        {"trend", RunArchiveTrend}, {"export", RunArchiveExport}, {"push", RunArchivePush},
    };
    for (const auto& [name, run] : kCommands)
        if (command == name)
            return run(ctx);
    return UsageError(ctx, txt::kUnknownArchiveCommand, {command});
}

void KeepUploadInArchive(Context& ctx, const std::vector<_tagFileDataExt>& elements,
                         const std::string& project) {
    const Settings settings;
    if (ctx.archive.empty() && ConfiguredArchive(settings).empty())
        return;
    std::vector<ArchiveItem> items;
    for (const _tagFileDataExt& e : elements)
        items.push_back(MakeArchiveItem(e, Technician(settings), "upload:" + Absolute(project)));
    std::unique_ptr<Archive> archive;
    AddCounts counts;
    ArchiveResult r = OpenArchive(ChosenArchive(ctx.archive, settings), archive);
    if (r.Ok())
        r = archive->Add(items, counts);
    if (!r.Ok()) {
        // The upload itself is done and saved; only its copy is missing.
        ArchiveError(ctx, r, Tr(txt::kUploadWasSavedButNotKept));
        return;
    }
    ctx.err << "qm7100: "
            << TrFill(txt::kKeptCounts,
                      {std::to_string(counts.added), std::to_string(counts.already)})
            << '\n';
}

#else

int RunArchive(Context& ctx) {
    ctx.err << "qm7100: " << Tr(txt::kThisBuildHasNoArchive) << '\n';
    return kExitFailed;
}

void KeepUploadInArchive(Context& ctx, const std::vector<_tagFileDataExt>&, const std::string&) {
    if (!ctx.archive.empty())
        ctx.err << "qm7100: " << Tr(txt::kThisBuildHasNoArchive) << '\n';
}

#endif

} // namespace qm::cli
