#include "cli/Cli.h"

namespace qm::cli {

int RunPlanShow(Context& ctx) { return UsageError(ctx, "this command is not available yet"); }

int RunPlanEdit(Context& ctx) { return UsageError(ctx, "this command is not available yet"); }

} // namespace qm::cli
