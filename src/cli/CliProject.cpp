#include "cli/CliProject.h"

#include <ostream>

#include "app/FileTree.h"
#include "app/ProjectFile.h"

namespace qm::cli {

bool LoadProjectOrReport(Context& ctx, const std::string& path,
                         std::vector<_tagFileDataExt>& elements) {
    if (RefusePlanAsProject(ctx, path))
        return false;
    ProjectLoad load = LoadProject(path);
    if (load.status != ProjectStatus::Ok) {
        ctx.err << ProjectStatusText(load.status, path) << "\n";
        return false;
    }
    elements = std::move(load.elements);
    return true;
}

int LoadElementOrReport(Context& ctx, const std::string& path, const std::string& indexText,
                        _tagFileDataExt& element) {
    long index = 0;
    if (!ParseInt(indexText, index))
        return UsageError(ctx, "INDEX must be a number: '" + indexText + "'");
    std::vector<_tagFileDataExt> elements;
    if (!LoadProjectOrReport(ctx, path, elements))
        return kExitFailed;
    if (index < 0 || static_cast<std::size_t>(index) >= elements.size())
        return UsageError(ctx, "INDEX " + indexText + " is outside the file (" +
                                   std::to_string(elements.size()) + " elements)");
    element = elements[static_cast<std::size_t>(index)];
    return kExitOk;
}

int SectionValue(const std::string& name) {
    if (name == "level")
        return kTreeLevel;
    if (name == "tilt")
        return kTreeTilt;
    if (name == "scan")
        return kTreeScan;
    if (name == "spectrum")
        return kTreeSpectrum;
    if (name == "hum")
        return kTreeHum;
    if (name == "limit")
        return kTreeLimit;
    return 0;
}

std::string SectionName(int value) {
    for (const char* name : {"level", "tilt", "scan", "spectrum", "hum", "limit"}) {
        if (SectionValue(name) == value)
            return name;
    }
    return {};
}

} // namespace qm::cli
