#include <cerrno>
#include <climits>
#include <memory>
#include <ostream>

#include "app/Settings.h"
#include "base/JsonWriter.h"
#include "cli/Cli.h"
#include "cli/CliProject.h"
#include "cli/CliTables.h"
#include "panes/AnalysisPane.h"
#include "res/StringTable.h"

namespace qm::cli {

namespace {

// The pane's tables with their untranslated tags; the file-name box as "file" (null for
// chart panes, which have none).
void PrintJson(std::ostream& out, const AnalysisPane& pane, const std::string& section) {
    JsonWriter json;
    json.BeginObject().Key("section").String(section).Key("file");
    if (pane.HasChart())
        json.Null();
    else
        json.String(pane.FileNameText());
    WriteTablesJson(json, pane.Tables());
    out << json.EndObject().Text();
}

// Parses SECTION and loads the element; a pane for it is returned through pane.
int OpenPane(Context& ctx, const std::string& project, const std::string& index,
             const std::string& sectionName, std::unique_ptr<AnalysisPane>& pane) {
    const auto section = SectionFromTreeValue(SectionValue(sectionName));
    if (!section)
        return UsageError(ctx, txt::kUnknownSectionList, {sectionName});
    _tagFileDataExt element;
    bool incomplete = false;
    if (int rc = LoadElementOrReport(ctx, project, index, element, &incomplete); rc != kExitOk)
        return rc;
    pane = MakeAnalysisPane(*section, LanguageBase(), Settings().LevelUnit());
    pane->ShowFile(element, incomplete);
    return kExitOk;
}

} // namespace

int RunShow(Context& ctx) {
    const bool asJson = TakeFlag(ctx.args, "--json");
    bool ok = true;
    std::string markerText;
    const bool hasMarker = TakeOption(ctx.args, "--marker", markerText, ok);
    if (!ok)
        return UsageError(ctx, txt::kMarkerNeedsPosition);
    if (ctx.args.size() != 3)
        return UsageError(ctx, txt::kShowNeedsPROJECTF71INDEXSECTION);
    long marker = 0;
    if (hasMarker && (!ParseInt(markerText, marker) || marker < INT_MIN || marker > INT_MAX))
        return UsageError(ctx, txt::kPOSMustNumber2, {markerText});

    std::unique_ptr<AnalysisPane> pane;
    if (int rc = OpenPane(ctx, ctx.args[0], ctx.args[1], ctx.args[2], pane); rc != kExitOk)
        return rc;
    if (hasMarker)
        pane->MarkerMoved(marker);
    if (asJson) {
        PrintJson(ctx.out, *pane, ctx.args[2]);
        return kExitOk;
    }

    if (!pane->HasChart())
        ctx.out << "[File]\n" << Escaped(pane->FileNameText()) << '\n';
    for (const PaneTable& table : pane->Tables())
        PrintTable(ctx.out, table);
    return kExitOk;
}

int RunExport(Context& ctx) {
    if (ctx.args.size() != 4)
        return UsageError(ctx, txt::kExportNeedsPROJECTF71INDEXSECTION);
    std::unique_ptr<AnalysisPane> pane;
    if (int rc = OpenPane(ctx, ctx.args[0], ctx.args[1], ctx.args[2], pane); rc != kExitOk)
        return rc;
    const std::string& path = ctx.args[3];
    if (path == "-") {
        const std::string bytes = pane->ExportCsv();
        ctx.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return ctx.out.flush() ? kExitOk : kExitFailed;
    }
    if (!pane->SaveCsv(path))
        return WriteError(ctx, path);
    return kExitOk;
}

} // namespace qm::cli
