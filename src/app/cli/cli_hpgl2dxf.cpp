#include "app/cli/cli.h"

#include "plot/hpgl_to_dxf.h"

namespace zorva::cli {

// hpgl2dxf IN.plt OUT.dxf [--divisor 40|1000] [--weight 1|2|3]
int CommandHpgl2Dxf(Context& ctx, QStringList args) {
    QString value;
    bool missing = false;
    double divisor = 40;
    if (TakeOption(args, QStringLiteral("--divisor"), value, missing)) {
        if (missing || (value != QLatin1String("40") && value != QLatin1String("1000")))
            return BadOption(ctx, QStringLiteral("--divisor"), value, QStringLiteral("40 or 1000"));
        divisor = value.toDouble();
    }
    int weight = 1;
    if (TakeOption(args, QStringLiteral("--weight"), value, missing)) {
        if (missing || (value != QLatin1String("1") && value != QLatin1String("2") && value != QLatin1String("3")))
            return BadOption(ctx, QStringLiteral("--weight"), value, QStringLiteral("1, 2 or 3"));
        weight = value.toInt();
    }
    if (args.size() < 2) {
        ctx.err << "zorva-cli hpgl2dxf: expected IN.plt OUT.dxf\n";
        ctx.err.flush();
        return kBadCommandLine;
    }
    const QString plotPath = args.takeFirst();
    const QString dxfPath = args.takeFirst();
    if (const int status = CheckNoExtraArgs(ctx, args, QStringLiteral("hpgl2dxf")); status != kOk) return status;
    if (const int status = CheckOutputPath(ctx, dxfPath, {plotPath}); status != kOk) return status;

    const DxfConversion result = ConvertPlotToDxf(plotPath, dxfPath, weight, divisor, ctx.dialogs, ctx.state.language);
    for (const QString& line : result.messages) ctx.err << line << "\n";
    if (result.droppedMessages > 0)
        ctx.err << "... " << result.droppedMessages << " more\n";
    ctx.err.flush();
    return result.converted ? kOk : kFaultyInput;
}

}  // namespace zorva::cli
