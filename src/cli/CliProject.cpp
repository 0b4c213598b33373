#include "cli/CliProject.h"

#include <ostream>

#include "app/FileTree.h"
#include "app/ProjectFile.h"
#include "measurement/MeasurementFile.h"
#include "res/StringTable.h"
#include "res/TextCodec.h"

namespace qm::cli {

namespace {

void WarnIfDamaged(Context& ctx, const std::string& path, const ProjectLoad& load) {
    if (load.IncompleteCount() > 0) {
        ctx.err << "qm7100: " << path << ": " << Tr(txt::kFileCutShortIncompleteMeasurementFiles);
        for (std::size_t i = 0; i < load.elements.size(); ++i) {
            if (load.incomplete[i])
                ctx.err << ' ' << i << " '"
                        << AnsiToUtf8(MeasurementFile(load.elements[i]).FileName(), LanguageBase())
                        << "'";
        }
        ctx.err << '\n';
    }
    if (load.MissingCount() > 0)
        ctx.err << "qm7100: " << path << ": " << Tr(txt::kMeasurementFilesAnnouncedButMissing)
                << ' ' << load.MissingCount() << '\n';
}

} // namespace

bool LoadProjectOrReport(Context& ctx, const std::string& path,
                         std::vector<_tagFileDataExt>& elements, std::vector<bool>* incomplete) {
    if (RefusePlanAsProject(ctx, path))
        return false;
    ProjectLoad load = LoadProject(path);
    if (load.status != ProjectStatus::Ok) {
        ctx.err << ProjectStatusText(load.status, path) << "\n";
        return false;
    }
    WarnIfDamaged(ctx, path, load);
    elements = std::move(load.elements);
    if (incomplete)
        *incomplete = std::move(load.incomplete);
    return true;
}

int LoadElementOrReport(Context& ctx, const std::string& path, const std::string& indexText,
                        _tagFileDataExt& element, bool* incomplete) {
    long index = 0;
    if (!ParseInt(indexText, index))
        return UsageError(ctx, txt::kINDEXMustNumber2, {indexText});
    std::vector<_tagFileDataExt> elements;
    std::vector<bool> cut;
    if (!LoadProjectOrReport(ctx, path, elements, &cut))
        return kExitFailed;
    if (index < 0 || static_cast<std::size_t>(index) >= elements.size())
        return UsageError(ctx, txt::kIndexOutsideFile,
                          {indexText, std::to_string(elements.size())});
    element = elements[static_cast<std::size_t>(index)];
    if (incomplete)
        *incomplete = cut[static_cast<std::size_t>(index)];
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
