#include <ostream>

#include "app/FileTree.h"
#include "app/ProjectFile.h"
#include "cli/Cli.h"
#include "cli/CliProject.h"
#include "res/StringTable.h"

namespace qm::cli {

int RunTree(Context& ctx) {
    if (ctx.args.size() != 1)
        return UsageError(ctx, "tree needs PROJECT.f71");
    std::vector<_tagFileDataExt> elements;
    if (!LoadProjectOrReport(ctx, ctx.args[0], elements))
        return kExitFailed;
    for (const FileTreeItem& file : RebuildFileTree(elements, LanguageBase())) {
        ctx.out << file.value << '\t' << Escaped(file.text) << '\n';
        for (const FileTreeItem& child : file.children)
            ctx.out << '\t' << child.value << '\t' << Escaped(child.text) << '\n';
    }
    return kExitOk;
}

} // namespace qm::cli
