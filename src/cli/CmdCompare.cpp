#include <ostream>

#include "cli/Cli.h"
#include "cli/CliProject.h"
#include "cli/CliTables.h"
#include "panes/MeasurementCompare.h"

namespace qm::cli {

int RunCompare(Context& ctx) {
    const bool asJson = TakeFlag(ctx.args, "--json");
    if (ctx.args.size() != 4)
        return UsageError(ctx, txt::kCompareNeedsF71INDEXBF71);
    _tagFileDataExt a, b;
    bool aCut = false, bCut = false;
    if (int rc = LoadElementOrReport(ctx, ctx.args[0], ctx.args[1], a, &aCut); rc != kExitOk)
        return rc;
    if (int rc = LoadElementOrReport(ctx, ctx.args[2], ctx.args[3], b, &bCut); rc != kExitOk)
        return rc;
    const MeasurementCompare compare(a, b, aCut, bCut);
    if (asJson) {
        JsonWriter json;
        json.BeginObject();
        WriteTablesJson(json, compare.Tables());
        ctx.out << json.EndObject().Text();
        return kExitOk;
    }
    for (const PaneTable& table : compare.Tables())
        PrintTable(ctx.out, table);
    return kExitOk;
}

} // namespace qm::cli
