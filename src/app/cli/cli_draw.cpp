#include "app/cli/cli.h"

namespace zorva::cli {

int CommandDraw(Context& ctx, QStringList) { return NotAvailable(ctx, QStringLiteral("draw")); }

}  // namespace zorva::cli
