#include <cctype>
#include <cerrno>
#include <cstring>
#include <ostream>

#include "base/BinaryFile.h"
#include "base/JsonWriter.h"
#include "channels/CellEditRules.h"
#include "channels/ChannelColumnSet.h"
#include "channels/ChannelGridModel.h"
#include "channels/ChannelPlanFile.h"
#include "channels/ChannelRowTexts.h"
#include "channels/PlanCsv.h"
#include "cli/Cli.h"
#include "res/StringTable.h"

namespace qm::cli {

namespace {

// Grid width the column set is built for; only kind 0 derives its widths from it.
constexpr int kGridWidth = 1000;

bool OpenPlanOrReport(Context& ctx, const std::string& path, CChannelPlanList& plan) {
    if (RefuseProjectAsPlan(ctx, path))
        return false;
    PlanFileLoad load = LoadChannelPlanFile(path);
    if (load.status != PlanFileStatus::Ok) {
        ctx.err << PlanFileStatusText(load.status, path) << "\n";
        return false;
    }
    if (load.complete < load.records.size())
        ctx.err << "qm7100: "
                << TrFill(txt::kPlanAnnouncesMore, {path, std::to_string(load.records.size()),
                                                    std::to_string(load.complete)})
                << '\n';
    plan.Assign(std::move(load.records));
    plan.SetKind(load.kind);
    return true;
}

void PrintRow(std::ostream& out, const std::vector<std::string>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c)
        out << (c ? "\t" : "") << Escaped(cells[c]);
    out << '\n';
}

struct CellEdit {
    std::size_t row = 0;
    int column = 0;
    std::string text;
    std::string rowText, columnText; // as given, for the reports
};

bool SameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// COLUMN as a number 1-15 or a heading as `plan show` prints it; 0 when it is neither.
int ColumnOf(const std::string& text, int kind) {
    long number = 0;
    if (ParseInt(text, number))
        return number >= 1 && number <= 15 ? static_cast<int>(number) : 0;
    const std::vector<ChannelColumnInfo> columns = ChannelColumnSet(kind, kGridWidth);
    for (std::size_t c = 1; c < columns.size(); ++c) {
        if (SameNoCase(columns[c].heading, text))
            return static_cast<int>(c);
    }
    return 0;
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts)
        all += (all.empty() ? "" : ", ") + t;
    return all;
}

} // namespace

int RunPlanShow(Context& ctx) {
    const bool asJson = TakeFlag(ctx.args, "--json");
    if (ctx.args.size() != 1)
        return UsageError(ctx, txt::kPlanShowNeedsPLANF71CH);
    CChannelPlanList plan;
    if (!OpenPlanOrReport(ctx, ctx.args[0], plan))
        return kExitFailed;
    CChannelGridModel grid;
    grid.Fill(plan);
    std::vector<std::string> headings;
    for (const ChannelColumnInfo& column : ChannelColumnSet(plan.Kind(), kGridWidth))
        headings.push_back(column.heading);
    if (asJson) {
        JsonWriter json;
        json.BeginObject().Key("kind").Number(static_cast<long>(plan.Kind()));
        json.Key("columns").BeginArray();
        for (const std::string& heading : headings)
            json.String(heading);
        json.EndArray().Key("rows").BeginArray();
        for (std::size_t row = 0; row < grid.RowCount(); ++row)
            json.Cells(grid.RowCells(row));
        ctx.out << json.EndArray().EndObject().Text();
        return kExitOk;
    }
    ctx.out << "kind\t" << plan.Kind() << '\n';
    PrintRow(ctx.out, headings);
    for (std::size_t row = 0; row < grid.RowCount(); ++row)
        PrintRow(ctx.out, grid.RowCells(row));
    return kExitOk;
}

int RunPlanEdit(Context& ctx) {
    bool ok = true;
    std::string output;
    const bool hasOutput = TakeOption(ctx.args, "--output", output, ok);
    if (!ok)
        return UsageError(ctx, txt::kOutputNeedsFileName);
    if (ctx.args.size() < 4 || (ctx.args.size() - 1) % 3 != 0)
        return UsageError(ctx, txt::kPlanEditNeedsPLANF71CHAnd);
    const std::string path = ctx.args[0];

    std::vector<CellEdit> edits;
    for (std::size_t i = 1; i < ctx.args.size(); i += 3) {
        long row = 0;
        if (!ParseInt(ctx.args[i], row) || row < 0)
            return UsageError(ctx, txt::kROWMustRowNumberFrom02, {ctx.args[i]});
        edits.push_back(
            {static_cast<std::size_t>(row), 0, ctx.args[i + 2], ctx.args[i], ctx.args[i + 1]});
    }

    CChannelPlanList plan;
    if (!OpenPlanOrReport(ctx, path, plan))
        return kExitFailed;
    CChannelGridModel grid;
    grid.Fill(plan);
    for (CellEdit& e : edits) {
        e.column = ColumnOf(e.columnText, plan.Kind());
        if (e.column == 0)
            return UsageError(ctx, txt::kColumnRefused, {e.columnText});
        if (!grid.Contains(e.row, e.column))
            return UsageError(ctx, txt::kCellOutsideGrid, {e.rowText, e.columnText});
    }

    // The rules get each text as the grid would hand it over; what they refuse or leave
    // unchanged is reported, and the edits that did apply are saved all the same.
    CCellEditRules rules(plan, grid);
    bool allApplied = true;
    for (const CellEdit& e : edits) {
        grid.SetCurrentRow(e.row);
        const std::vector<std::string> choices = CurrentRowChoices(plan, grid, e.column);
        const std::string before = grid.Cell(e.row, e.column);
        const CellEditOutcome outcome = rules.EditFinished(e.row, e.column, e.text);
        if (outcome.message) {
            ctx.err << Tr(outcome.message->kind == MessageKind::Error ? txt::kCliError
                                                                      : txt::kCliNotice)
                    << Tr(outcome.message->id) << '\n';
            allApplied = false;
        } else if (!outcome.applied) {
            ctx.err << TrFill(txt::kIgnoredCannotEdit, {e.rowText, e.columnText, Escaped(e.text)})
                    << '\n';
            allApplied = false;
        } else if (!choices.empty() && e.text != before && grid.Cell(e.row, e.column) == before) {
            ctx.err << TrFill(txt::kIgnoredNotChoice,
                              {e.rowText, e.columnText, Escaped(e.text), Joined(choices)})
                    << '\n';
            allApplied = false;
        }
    }

    const std::string target = hasOutput ? output : path;
    const PlanFileStatus saved = SaveChannelPlan(target, plan);
    if (saved != PlanFileStatus::Ok) {
        ctx.err << PlanFileStatusText(saved, target) << "\n";
        return kExitFailed;
    }
    return allApplied ? kExitOk : kExitNotApplied;
}

int RunPlanExport(Context& ctx) {
    if (ctx.args.size() != 2)
        return UsageError(ctx, txt::kPlanExportNeedsPLANF71CHOUT);
    CChannelPlanList plan;
    if (!OpenPlanOrReport(ctx, ctx.args[0], plan))
        return kExitFailed;
    const std::string csv = ExportPlanCsv(plan);
    if (ctx.args[1] == "-") {
        ctx.out.write(csv.data(), static_cast<std::streamsize>(csv.size()));
        return ctx.out.flush() ? kExitOk : kExitFailed;
    }
    if (ReplaceFileText(ctx.args[1], csv) != ReplaceStatus::Ok)
        return WriteError(ctx, ctx.args[1]);
    return kExitOk;
}

int RunPlanImport(Context& ctx) {
    bool ok = true;
    std::string kindText;
    const bool hasKind = TakeOption(ctx.args, "--kind", kindText, ok);
    long kind = -1;
    if (!ok || !hasKind || !ParseInt(kindText, kind) || kind < 0 || kind > 2)
        return UsageError(ctx, txt::kPlanImportNeedsKind01);
    if (ctx.args.size() != 2)
        return UsageError(ctx, txt::kPlanImportNeedsINCsvOUT);
    std::string csv;
    if (ReadFileContents(ctx.args[0], csv) != ReadStatus::Ok) {
        const int error = errno;
        ctx.err << "qm7100: " << TrFill(txt::kCannotReadPath, {ctx.args[0], ErrnoText(error)})
                << "\n";
        return kExitFailed;
    }
    const PlanCsvImport import = ImportPlanCsv(csv, static_cast<int>(kind));
    if (!import.plan) {
        const PlanCsvProblem& p = *import.problem;
        std::string where = ctx.args[0];
        if (p.row > 0)
            where = TrFill(txt::kCsvAtRow, {where, std::to_string(p.row)});
        if (!p.column.empty())
            where = TrFill(txt::kCsvAtColumn, {where, p.column, Escaped(p.text)});
        ctx.err << "qm7100: "
                << TrFill(txt::kReasonJoint, {where, p.message ? Tr(p.message->id) : p.reason})
                << "\n"
                << "qm7100: " << Tr(txt::kNothingWritten) << "\n";
        return kExitFailed;
    }
    const PlanFileStatus saved = SaveChannelPlan(ctx.args[1], *import.plan);
    if (saved != PlanFileStatus::Ok) {
        ctx.err << PlanFileStatusText(saved, ctx.args[1]) << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace qm::cli
