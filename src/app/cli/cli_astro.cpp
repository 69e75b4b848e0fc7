#include "app/cli/cli.h"

namespace zorva::cli {

int CommandSun(Context& ctx, QStringList) { return NotAvailable(ctx, QStringLiteral("sun")); }
int CommandPosition(Context& ctx, QStringList) { return NotAvailable(ctx, QStringLiteral("position")); }
int CommandAzimuthTime(Context& ctx, QStringList) { return NotAvailable(ctx, QStringLiteral("azimuth-time")); }

}  // namespace zorva::cli
