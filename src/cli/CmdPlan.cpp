#include <ostream>

#include "channels/CellEditRules.h"
#include "channels/ChannelColumnSet.h"
#include "channels/ChannelGridModel.h"
#include "channels/ChannelPlanFile.h"
#include "cli/Cli.h"
#include "res/StringTable.h"

namespace qm::cli {

namespace {

// Grid width the column set is built for; only kind 0 derives its widths from it.
constexpr int kGridWidth = 1000;

bool OpenPlanOrReport(Context& ctx, const std::string& path, CChannelPlanList& plan) {
    PlanFileLoad load = LoadChannelPlanFile(path);
    if (load.status != PlanFileStatus::Ok) {
        ctx.err << PlanFileStatusText(load.status, path) << "\n";
        return false;
    }
    if (load.complete < load.records.size())
        ctx.err << "qm7100: " << path << " announces " << load.records.size()
                << " channels but holds " << load.complete << " whole; the rest read as zero\n";
    plan.Assign(std::move(load.records));
    plan.SetKind(load.kind);
    return true;
}

void PrintRow(std::ostream& out, const std::vector<std::string>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c)
        out << (c ? "\t" : "") << cells[c];
    out << '\n';
}

struct CellEdit {
    std::size_t row = 0;
    int column = 0;
    std::string text;
};

} // namespace

int RunPlanShow(Context& ctx) {
    if (ctx.args.size() != 1)
        return UsageError(ctx, "plan show needs PLAN.f71CH");
    CChannelPlanList plan;
    if (!OpenPlanOrReport(ctx, ctx.args[0], plan))
        return kExitFailed;
    CChannelGridModel grid;
    grid.Fill(plan);
    ctx.out << "kind\t" << plan.Kind() << '\n';
    std::vector<std::string> headings;
    for (const ChannelColumnInfo& column : ChannelColumnSet(plan.Kind(), kGridWidth))
        headings.push_back(column.heading);
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
        return UsageError(ctx, "--output needs a file name");
    if (ctx.args.size() < 4 || (ctx.args.size() - 1) % 3 != 0)
        return UsageError(ctx, "plan edit needs PLAN.f71CH and ROW COLUMN TEXT triples");
    const std::string path = ctx.args[0];

    std::vector<CellEdit> edits;
    for (std::size_t i = 1; i < ctx.args.size(); i += 3) {
        long row = 0, column = 0;
        if (!ParseInt(ctx.args[i], row) || row < 0)
            return UsageError(ctx, "ROW must be a row number from 0: '" + ctx.args[i] + "'");
        if (!ParseInt(ctx.args[i + 1], column) || column < 1 || column > 15)
            return UsageError(ctx, "COLUMN must be from 1 to 15: '" + ctx.args[i + 1] + "'");
        edits.push_back({static_cast<std::size_t>(row), static_cast<int>(column), ctx.args[i + 2]});
    }

    CChannelPlanList plan;
    if (!OpenPlanOrReport(ctx, path, plan))
        return kExitFailed;
    CChannelGridModel grid;
    grid.Fill(plan);
    for (const CellEdit& e : edits) {
        if (!grid.Contains(e.row, e.column))
            return UsageError(ctx, "cell " + std::to_string(e.row) + " " +
                                       std::to_string(e.column) + " is outside the plan's grid");
    }

    CCellEditRules rules(plan, grid);
    for (const CellEdit& e : edits) {
        const CellEditOutcome outcome = rules.EditFinished(e.row, e.column, e.text);
        if (outcome.message) {
            ctx.out << (outcome.message->kind == MessageKind::Error ? "error: " : "notice: ")
                    << Tr(outcome.message->id) << '\n';
        }
    }

    const std::string target = hasOutput ? output : path;
    const PlanFileStatus saved = SaveChannelPlan(target, plan);
    if (saved != PlanFileStatus::Ok) {
        ctx.err << PlanFileStatusText(saved, target) << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace qm::cli
