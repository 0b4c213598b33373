#include <climits>
#include <fstream>
#include <memory>
#include <ostream>

#include "app/Settings.h"
#include "base/Platform.h"
#include "cli/Cli.h"
#include "cli/CliProject.h"
#include "panes/AnalysisPane.h"
#include "res/StringTable.h"

namespace qm::cli {

namespace {

// Keeps one cell on one line and in one column of the TAB-separated output.
std::string Cell(const std::string& text) {
    std::string cell = text;
    for (char& c : cell)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return cell;
}

void PrintLine(std::ostream& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i)
        out << (i ? "\t" : "") << Cell(cells[i]);
    out << '\n';
}

void PrintTable(std::ostream& out, const PaneTable& table) {
    out << '[' << table.tag << "]\n";
    PrintLine(out, table.ColumnTitles());
    for (const auto& row : table.rows)
        PrintLine(out, row);
}

// Parses SECTION and loads the element; a pane for it is returned through pane.
int OpenPane(Context& ctx, const std::string& project, const std::string& index,
             const std::string& sectionName, std::unique_ptr<AnalysisPane>& pane) {
    const auto section = SectionFromTreeValue(SectionValue(sectionName));
    if (!section)
        return UsageError(ctx, "unknown SECTION '" + sectionName +
                                   "' (level, tilt, scan, spectrum, hum, limit)");
    _tagFileDataExt element;
    if (int rc = LoadElementOrReport(ctx, project, index, element); rc != kExitOk)
        return rc;
    pane = MakeAnalysisPane(*section, LanguageBase(), Settings().LevelUnit());
    pane->ShowFile(element);
    return kExitOk;
}

} // namespace

int RunShow(Context& ctx) {
    bool ok = true;
    std::string markerText;
    const bool hasMarker = TakeOption(ctx.args, "--marker", markerText, ok);
    if (!ok)
        return UsageError(ctx, "--marker needs a position");
    if (ctx.args.size() != 3)
        return UsageError(ctx, "show needs PROJECT.f71 INDEX SECTION [--marker POS]");
    long marker = 0;
    if (hasMarker && (!ParseInt(markerText, marker) || marker < INT_MIN || marker > INT_MAX))
        return UsageError(ctx, "POS must be a number: '" + markerText + "'");

    std::unique_ptr<AnalysisPane> pane;
    if (int rc = OpenPane(ctx, ctx.args[0], ctx.args[1], ctx.args[2], pane); rc != kExitOk)
        return rc;
    if (hasMarker)
        pane->MarkerMoved(marker);

    if (!pane->HasChart())
        ctx.out << "[File]\n" << Cell(pane->FileNameText()) << '\n';
    for (const PaneTable& table : pane->Tables())
        PrintTable(ctx.out, table);
    return kExitOk;
}

int RunExport(Context& ctx) {
    if (ctx.args.size() != 4)
        return UsageError(ctx, "export needs PROJECT.f71 INDEX SECTION OUT.csv");
    std::unique_ptr<AnalysisPane> pane;
    if (int rc = OpenPane(ctx, ctx.args[0], ctx.args[1], ctx.args[2], pane); rc != kExitOk)
        return rc;
    const std::string bytes = pane->ExportCsv();
    const std::string& path = ctx.args[3];
    std::ofstream file(FsPath(path), std::ios::binary | std::ios::trunc);
    if (file)
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        ctx.err << "cannot write " << path << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace qm::cli
