#include "cli/Cli.h"

namespace qm::cli {

int RunShow(Context& ctx) { return UsageError(ctx, "this command is not available yet"); }

int RunExport(Context& ctx) { return UsageError(ctx, "this command is not available yet"); }

} // namespace qm::cli
