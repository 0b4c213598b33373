#include "cli/Cli.h"

#ifdef QM_HAVE_CHART

#include <ostream>

#include "cli/CliProject.h"
#include "limits/LimitProfile.h"
#include "report/AcceptanceReport.h"
#include "res/StringTable.h"

namespace qm::cli {

namespace {

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

int RunReport(Context& ctx) {
    bool ok = true;
    std::string profilePath;
    const bool hasProfile = TakeOption(ctx.args, "--profile", profilePath, ok);
    if (!ok || (hasProfile && profilePath.empty()))
        return UsageError(ctx, txt::kProfileNeedsFile);
    ReportInput input;
    std::string detailsPath;
    const bool hasDetails = TakeOption(ctx.args, "--details", detailsPath, ok);
    if (!ok || (hasDetails && detailsPath.empty()))
        return UsageError(ctx, txt::kDetailsNeedsFile);
    if (std::string error; hasDetails && !ReadReportDetails(detailsPath, input.details, error)) {
        ctx.err << "qm7100: " << error << '\n';
        return kExitFailed;
    }
    // An option given beside the file wins over the file's key.
    ReportDetails& d = input.details;
    for (const auto& [name, field] : {std::pair<const char*, std::string*>{"--title", &d.title},
                                      {"--company", &d.company},
                                      {"--logo", &d.logo},
                                      {"--site", &d.site},
                                      {"--customer", &d.customer},
                                      {"--order", &d.order},
                                      {"--technician", &d.technician},
                                      {"--notes", &d.notes}}) {
        TakeOption(ctx.args, name, *field, ok);
        if (!ok)
            return UsageError(ctx, txt::kOptionNeedsValue, {name});
    }
    if (ctx.args.size() < 2)
        return UsageError(ctx, txt::kReportNeedsPROJECTF71INDEXOUT);
    const std::string project = ctx.args.front();
    const std::string out = ctx.args.back();
    if (!LoadProfileOrReport(ctx, profilePath, input.profile))
        return kExitFailed;
    input.profileSource = profilePath;
    if (ctx.args.size() == 2) {
        if (!LoadProjectOrReport(ctx, project, input.files, &input.incomplete))
            return kExitFailed;
    } else {
        for (std::size_t i = 1; i + 1 < ctx.args.size(); ++i) {
            _tagFileDataExt element;
            bool incomplete = false;
            if (int rc = LoadElementOrReport(ctx, project, ctx.args[i], element, &incomplete);
                rc != kExitOk)
                return rc;
            input.files.push_back(element);
            input.incomplete.push_back(incomplete);
        }
    }
    if (input.files.empty()) {
        ctx.err << "qm7100: " << project << ": " << Tr(txt::kProjectHoldsNoMeasurementFile) << '\n';
        return kExitFailed;
    }
    input.projectName = BaseName(project);
    input.languageBase = LanguageBase();
    EnsureGuiApplication();
    std::string error;
    if (!WriteReport(input, out, error)) {
        ctx.err << "qm7100: " << error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace qm::cli

#else

namespace qm::cli {

int RunReport(Context& ctx) {
    return UsageError(ctx, txt::kThisBuildHasNoReportWriter);
}

} // namespace qm::cli

#endif
