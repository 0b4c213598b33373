#include <ostream>

#include "cli/Cli.h"
#include "cli/CliProject.h"
#include "limits/LimitCheck.h"
#include "limits/LimitTexts.h"
#include "res/StringTable.h"

namespace qm::cli {

bool LoadProfileOrReport(Context& ctx, const std::string& path, LimitProfile& profile) {
    if (path.empty()) {
        profile = DefaultProfile();
        return true;
    }
    const ProfileResult r = LoadLimitProfile(path);
    if (!r.profile) {
        ctx.err << "qm7100: " << Tr(txt::kLimitProfileWord) << ": " << r.error << '\n';
        return false;
    }
    profile = *r.profile;
    return true;
}

int RunCheck(Context& ctx) {
    bool ok = true;
    std::string profilePath;
    const bool hasProfile = TakeOption(ctx.args, "--profile", profilePath, ok);
    if (!ok)
        return UsageError(ctx, txt::kProfileNeedsFile);
    if (ctx.args.size() != 2)
        return UsageError(ctx, txt::kCheckNeedsPROJECTF71INDEXProfile);
    if (hasProfile && profilePath.empty())
        return UsageError(ctx, txt::kProfileNeedsFile);
    LimitProfile profile;
    if (!LoadProfileOrReport(ctx, profilePath, profile))
        return kExitFailed;
    _tagFileDataExt element;
    if (int rc = LoadElementOrReport(ctx, ctx.args[0], ctx.args[1], element); rc != kExitOk)
        return rc;

    const MeasurementFile file(element);
    const FileCheck check = CheckFile(file, profile);
    const int base = LanguageBase();
    ctx.out << "[File]\n" << Escaped(file.HasLayout() ? file.FileName() : "") << '\n';
    ctx.out << "[" << Tr(txt::kProfile, base) << "]\n" << Escaped(profile.ShownName(base)) << '\n';
    ctx.out << "[" << Tr(txt::kVerdict, base) << "]\n";
    for (const auto& row : VerdictTable(check, base)) {
        for (std::size_t i = 0; i < row.size(); ++i)
            ctx.out << (i ? "\t" : "") << Escaped(row[i]);
        ctx.out << '\n';
    }
    ctx.out << VerdictLine(check, base) << '\n';
    return check.verdict == Verdict::Fail ? kExitLimitsFailed : kExitOk;
}

} // namespace qm::cli
