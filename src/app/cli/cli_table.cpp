// zorva-cli table ... and graph ...: the tables and graphs of the tables window, written
// exactly as the window's export writes them.
#include "app/cli/cli.h"

#include "astro/table_export.h"
#include "astro/tables.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace zorva::cli {
namespace {

bool ParseTwilight(const QString& text, int& kind) {
    static const char* const kNames[] = {"civil", "nautical", "astronomical"};
    for (int i = 0; i < 3; ++i)
        if (text == QLatin1String(kNames[i])) {
            kind = i;
            return true;
        }
    return false;
}

// Writes the text to stdout, or its file bytes to --out.
int Emit(Context& ctx, const QString& text, const QString& outPath) {
    if (outPath.isEmpty()) {
        ctx.out << text;
        ctx.out.flush();
        return kOk;
    }
    return SaveTableFile(outPath, text, ctx.dialogs, ctx.state.language) ? kOk : kFaultyInput;
}

}  // namespace

int CommandTable(Context& ctx, QStringList args) {
    const QString usage = QStringLiteral("month YYYY-MM, eot, eot-longitude, declination or transit");
    if (args.isEmpty()) return BadOption(ctx, QStringLiteral("table"), QString(), usage);
    const bool csv = TakeFlag(args, QStringLiteral("--csv"));
    const TableFileKind fileKind = csv ? TableFileKind::Csv : TableFileKind::Text;
    QString outPath, value;
    bool missing = false;
    if (TakeOption(args, QStringLiteral("--out"), outPath, missing) && missing)
        return BadOption(ctx, QStringLiteral("--out"), QString(), QStringLiteral("a file name"));

    const QString which = args.takeFirst();
    if (which == QLatin1String("month")) {
        if (TakeOption(args, QStringLiteral("--twilight"), value, missing)) {
            if (missing || !ParseTwilight(value, ctx.state.twilightKind))
                return BadOption(ctx, QStringLiteral("--twilight"), value,
                                 QStringLiteral("civil, nautical or astronomical"));
        }
        if (args.isEmpty()) return BadOption(ctx, QStringLiteral("table month"), QString(), QStringLiteral("YYYY-MM"));
        const QString date = args.takeFirst();
        static const QRegularExpression kMonth(QStringLiteral("^(\\d{4})-(\\d{1,2})$"));
        const QRegularExpressionMatch m = kMonth.match(date);
        const int year = m.hasMatch() ? m.captured(1).toInt() : 0;
        const int month = m.hasMatch() ? m.captured(2).toInt() : 0;
        if (!m.hasMatch() || year < 1300 || year > 2500 || month < 1 || month > 12)
            return BadOption(ctx, QStringLiteral("table month"), date, QStringLiteral("YYYY-MM, years 1300 to 2500"));
        if (const int r = CheckNoExtraArgs(ctx, args, QStringLiteral("table month")); r != kOk) return r;
        const QStringList lines = BuildMonthTable(ctx.state, year, month);
        return Emit(ctx, TableFileText(lines, TableFamily::Month, fileKind, ctx.state), outPath);
    }

    YearTableKind kind;
    if (which == QLatin1String("eot")) kind = YearTableKind::EquationOfTime;
    else if (which == QLatin1String("eot-longitude")) kind = YearTableKind::EotWithLongitude;
    else if (which == QLatin1String("declination")) kind = YearTableKind::Declination;
    else if (which == QLatin1String("transit")) kind = YearTableKind::Transit;
    else return BadOption(ctx, QStringLiteral("table"), which, usage);
    if (const int r = CheckNoExtraArgs(ctx, args, QStringLiteral("table ") + which); r != kOk) return r;
    // The export saves what the window shows.
    const QStringList lines = BuildYearTable(ctx.state, kind, TableTarget::Window);
    const TableFamily family = kind == YearTableKind::Transit ? TableFamily::TransitYear : TableFamily::Year;
    return Emit(ctx, TableFileText(lines, family, fileKind, ctx.state), outPath);
}

int CommandGraph(Context& ctx, QStringList) { return NotAvailable(ctx, QStringLiteral("graph")); }

}  // namespace zorva::cli
