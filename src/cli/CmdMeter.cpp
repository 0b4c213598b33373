#include "cli/Cli.h"

namespace qm::cli {

int RunUpload(Context& ctx) { return UsageError(ctx, "this command is not available yet"); }

int RunPlanRead(Context& ctx) { return UsageError(ctx, "this command is not available yet"); }

int RunPlanWrite(Context& ctx) { return UsageError(ctx, "this command is not available yet"); }

int RunCapture(Context& ctx) { return UsageError(ctx, "this command is not available yet"); }

int RunSetup(Context& ctx) { return UsageError(ctx, "this command is not available yet"); }

} // namespace qm::cli
