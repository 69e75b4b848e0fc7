#include "app/cli/cli.h"

namespace zorva::cli {

int CommandHorizon(Context& ctx, QStringList) { return NotAvailable(ctx, QStringLiteral("horizon")); }

}  // namespace zorva::cli
