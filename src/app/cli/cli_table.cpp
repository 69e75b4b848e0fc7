// zorva-cli table ... and graph ...: the tables and graphs of the tables window, written
// exactly as the window's export writes them.
#include "app/cli/cli.h"

#include "astro/table_export.h"
#include "astro/tables.h"
#include "dials/solar_graphs.h"
#include "state/safe_save.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
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
    if (args.isEmpty()) return MissingArgument(ctx, QStringLiteral("table"), QStringLiteral("which table"), usage);
    const bool csv = TakeFlag(args, QStringLiteral("--csv"));
    const TableFileKind fileKind = csv ? TableFileKind::Csv : TableFileKind::Text;
    QString outPath, value;
    bool missing = false;
    if (TakeOption(args, QStringLiteral("--out"), outPath, missing) && (missing || outPath.isEmpty()))
        return BadOption(ctx, QStringLiteral("--out"), QString(), QStringLiteral("a file name"));
    if (!outPath.isEmpty())
        if (const int r = CheckOutputPath(ctx, outPath); r != kOk) return r;
    if (args.isEmpty()) return MissingArgument(ctx, QStringLiteral("table"), QStringLiteral("which table"), usage);

    const QString which = args.takeFirst();
    if (which == QLatin1String("month")) {
        if (TakeOption(args, QStringLiteral("--twilight"), value, missing)) {
            if (missing || !ParseTwilight(value, ctx.state.twilightKind))
                return BadOption(ctx, QStringLiteral("--twilight"), value,
                                 QStringLiteral("civil, nautical or astronomical"));
        }
        if (const int terrain = TakeTerrainOption(ctx, args); terrain != kOk) return terrain;
        if (args.isEmpty()) return BadOption(ctx, QStringLiteral("table month"), QString(), QStringLiteral("YYYY-MM"));
        const QString date = args.takeFirst();
        static const QRegularExpression kMonth(QStringLiteral("^(\\d{4})-(\\d{1,2})$"));
        const QRegularExpressionMatch m = kMonth.match(date);
        const int year = m.hasMatch() ? m.captured(1).toInt() : 0;
        const int month = m.hasMatch() ? m.captured(2).toInt() : 0;
        if (!m.hasMatch() || !ReferenceYearInRange(year) || month < 1 || month > 12)
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

namespace {

// The picture of a graph in a PNG or a one-page PDF (A4 landscape, 0.1 mm units as in print).
int WriteGraphPicture(Context& ctx, GraphKind kind, const QString& path, bool pdf, QSize size) {
    // A PDF is the printed page, with the footer the window prints.
    const SunPathExtras extras = StateSunPathExtras(ctx.state, pdf);
    SafeSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok && pdf) {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(254);  // one device unit = 0.1 mm
        writer.setTitle(kind == GraphKind::EquationOfTime ? resourceText(70, ctx.state.language)
                                                         : resourceText(69, ctx.state.language));
        QPainter painter;
        ok = painter.begin(&writer);
        if (ok) {
            PaintGraph(painter, kind, GraphPrintArea(kind, true), ctx.state, extras);
            ok = painter.end();
        }
    } else if (ok) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PaintGraph(painter, kind, QRectF(QPointF(0, 0), QSizeF(size)), ctx.state, extras);
        }
        ok = image.save(&file, "PNG");
    }
    if (!ok || !file.commit()) {
        file.cancel();
        ctx.dialogs.inform(caption(CaptionKind::Error, ctx.state.language),
                           message(53, ctx.state.language) + QStringLiteral("\r\n") + path +
                               (file.error().failed() ? QStringLiteral("\r\n") + file.errorText(ctx.state.language)
                                                      : QString()),
                           Icon::Error);
        return kFaultyInput;
    }
    return kOk;
}

}  // namespace

int CommandGraph(Context& ctx, QStringList args) {
    const QString usage = QStringLiteral("eot or sunpath");
    if (args.isEmpty()) return MissingArgument(ctx, QStringLiteral("graph"), QStringLiteral("which graph"), usage);
    QString outPath, value;
    bool missing = false;
    if (!TakeOption(args, QStringLiteral("--out"), outPath, missing) || missing || outPath.isEmpty())
        return BadOption(ctx, QStringLiteral("--out"), outPath, QStringLiteral("FILE.png, .pdf, .plt or .dxf"));
    GraphPlotOptions options;
    if (TakeOption(args, QStringLiteral("--factor"), value, missing)) {
        double f = 0;
        if (missing || !ParseReal(value, f) || f < kMinGraphFactor || f > kMaxGraphFactor)
            return BadOption(ctx, QStringLiteral("--factor"), value, QStringLiteral("a number from 0.05 to 20"));
        options.factor = f;
    }
    options.mirror = TakeFlag(args, QStringLiteral("--mirror"));
    if (TakeFlag(args, QStringLiteral("--longitude-correction"))) ctx.state.eotLongitudeCorrection = true;
    QSize size(1600, 1000);
    if (TakeOption(args, QStringLiteral("--size"), value, missing)) {
        if (const int r = ParseImageSize(ctx, QStringLiteral("--size"), missing ? QString() : value, size); r != kOk)
            return r;
    }
    if (const int r = CheckOutputPath(ctx, outPath); r != kOk) return r;
    if (args.isEmpty()) return MissingArgument(ctx, QStringLiteral("graph"), QStringLiteral("which graph"), usage);

    const QString which = args.takeFirst();
    GraphKind kind;
    if (which == QLatin1String("eot")) kind = GraphKind::EquationOfTime;
    else if (which == QLatin1String("sunpath")) kind = GraphKind::SunPath;
    else return BadOption(ctx, QStringLiteral("graph"), which, usage);
    if (options.mirror && kind != GraphKind::EquationOfTime)
        return BadOption(ctx, QStringLiteral("--mirror"), QString(), QStringLiteral("only the EoT graph can be mirrored"));
    if (const int r = CheckNoExtraArgs(ctx, args, QStringLiteral("graph ") + which); r != kOk) return r;

    const QString suffix = QFileInfo(outPath).suffix().toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("pdf"))
        return WriteGraphPicture(ctx, kind, outPath, suffix == QLatin1String("pdf"), size);
    if (suffix != QLatin1String("plt") && suffix != QLatin1String("dxf"))
        return BadOption(ctx, QStringLiteral("--out"), outPath, QStringLiteral("FILE.png, .pdf, .plt or .dxf"));
    const PlotFormat format = suffix == QLatin1String("dxf") ? PlotFormat::Dxf : PlotFormat::Hpgl;
    const SunPathExtras extras = StateSunPathExtras(ctx.state, false);
    return SaveGraph(kind, ctx.state, options, extras, outPath, format, ctx.dialogs) ? kOk : kFaultyInput;
}

}  // namespace zorva::cli
