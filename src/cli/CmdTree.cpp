#include <ostream>

#include "app/FileTree.h"
#include "app/ProjectFile.h"
#include "base/JsonWriter.h"
#include "cli/Cli.h"
#include "cli/CliProject.h"
#include "res/StringTable.h"

namespace qm::cli {

namespace {

void PrintJson(std::ostream& out, const std::vector<FileTreeItem>& files) {
    JsonWriter json;
    json.BeginObject().Key("files").BeginArray();
    for (const FileTreeItem& file : files) {
        json.BeginObject().Key("index").Number(static_cast<long>(file.value));
        json.Key("name").String(file.text);
        if (file.incomplete)
            json.Key("incomplete").Bool(true);
        json.Key("sections").BeginArray();
        for (const FileTreeItem& child : file.children) {
            json.BeginObject().Key("section").String(SectionName(child.value));
            json.Key("value").Number(static_cast<long>(child.value));
            json.Key("text").String(child.text).EndObject();
        }
        json.EndArray().EndObject();
    }
    out << json.EndArray().EndObject().Text();
}

} // namespace

int RunTree(Context& ctx) {
    const bool asJson = TakeFlag(ctx.args, "--json");
    if (ctx.args.size() != 1)
        return UsageError(ctx, txt::kTreeNeedsPROJECTF71);
    std::vector<_tagFileDataExt> elements;
    std::vector<bool> incomplete;
    if (!LoadProjectOrReport(ctx, ctx.args[0], elements, &incomplete))
        return kExitFailed;
    const std::vector<FileTreeItem> tree = RebuildFileTree(elements, LanguageBase(), incomplete);
    if (asJson) {
        PrintJson(ctx.out, tree);
        return kExitOk;
    }
    for (const FileTreeItem& file : tree) {
        ctx.out << file.value << '\t' << Escaped(file.text) << '\n';
        for (const FileTreeItem& child : file.children)
            ctx.out << '\t' << child.value << '\t' << Escaped(child.text) << '\n';
    }
    return kExitOk;
}

} // namespace qm::cli
