#include "app/cli/cli.h"

namespace zorva::cli {

int CommandTable(Context& ctx, QStringList) { return NotAvailable(ctx, QStringLiteral("table")); }
int CommandGraph(Context& ctx, QStringList) { return NotAvailable(ctx, QStringLiteral("graph")); }

}  // namespace zorva::cli
