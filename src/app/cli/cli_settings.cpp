#include "app/cli/cli.h"

namespace zorva::cli {

int CommandSettings(Context& ctx, QStringList) { return NotAvailable(ctx, QStringLiteral("settings")); }

bool LoadSettingsFile(Context& ctx, const QString&) {
    ctx.err << "zorva-cli: reading settings files is not available in this build\n";
    return false;
}

void LoadDefaultSettings(Context&) {}

}  // namespace zorva::cli
