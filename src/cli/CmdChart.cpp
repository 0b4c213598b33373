#include "cli/Cli.h"

namespace qm::cli {

int RunChart(Context& ctx) { return UsageError(ctx, "this command is not available yet"); }

} // namespace qm::cli
