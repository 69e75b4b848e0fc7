#include "app/cli/cli.h"

namespace zorva::cli {

int CommandHpgl2Dxf(Context& ctx, QStringList) { return NotAvailable(ctx, QStringLiteral("hpgl2dxf")); }

}  // namespace zorva::cli
