#include "app/cli/cli.h"

#include "state/input_file.h"
#include "text/number_format.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

namespace zorva::cli {
namespace {

const char* const kUsage =
    "Usage: zorva-cli [site options] COMMAND [arguments]\n"
    "\n"
    "Site options (override the settings file):\n"
    "  --settings FILE      read a settings or dial-data file first\n"
    "  --lat 47.25N         latitude (N/S, or signed: north positive)\n"
    "  --lon 9.55E          longitude (E/W, or signed: west positive)\n"
    "  --zone 15E           meridian of the time zone (E/W, or signed: west positive)\n"
    "  --year 1999          reference year (1300..2500)\n"
    "  --lang de|en         language of every text (default German)\n"
    "  --numerals arabic|roman|none   numbers of a planar dial's lines (default: zorva.conf)\n"
    "  --numeral-height MM  height of those numbers\n"
    "  --numerals-in-plot   write them into HPGL and DXF files too\n"
    "  --yes                answer questions with Yes (default: the safe choice)\n"
    "\n"
    "Commands:\n"
    "  sun DATE [--twilight civil|nautical|astronomical] [--terrain P.ele]\n"
    "                                                      rise and set, EoT, declination\n"
    "  position DATE TIME [--time apparent|mean|zone]      altitude, azimuth, EoT, declination\n"
    "  azimuth-time DATE AZIMUTH                           time the sun reaches an azimuth\n"
    "  table month YYYY-MM [--twilight ...] [--terrain P.ele] [--csv]\n"
    "                                                      month rise/set table; the sun\n"
    "                                                      over the terrain of P.ele\n"
    "  table eot|eot-longitude|declination|transit [--csv] year tables of --year\n"
    "  draw --out FILE.(png|pdf|svg|plt|dxf) [--size WxH] [--listing FILE.txt] [--dial CODE]\n"
    "       [--horizon PROFILE.ele] [--shadow 'YYYY-MM-DD hh:mm']\n"
    "       analemmatic and bifilar dials: --dial analemmatic|analemmatic-wall|walk-on|bifilar|bifilar-wall\n"
    "       [--semi-axis MM] [--gnomon-angle DEG] [--threads A,B] [--time apparent|zone-apparent|mean|zone]\n"
    "       [--layout] (the layout sheet; --out FILE.txt or .csv writes it as a table)\n"
    "  graph eot|sunpath --out FILE.(png|pdf|plt|dxf)\n"
    "  hpgl2dxf IN.plt OUT.dxf [--divisor 40|1000] [--weight 1|2|3]\n"
    "  settings check FILE                                 report every fault of a file\n"
    "  settings write FILE                                 write the state to a file\n"
    "  horizon --grid A.asc|N47E009.hgt|D.tif [--grid B ...] --out P.ele|P.csv [--min-distance M]\n"
    "          [--max-distance KM] [--platform M]        profile around the site\n"
    "  horizon --pvgis H.csv|H.json --out P.ele|P.csv      profile from a PVGIS horizon file\n"
    "  plane-sunlight [--inclination DEG] [--declination DEG] [--longitude-correction]\n"
    "                                                      sunlit limits of a plane\n"
    "\n"
    "DATE is YYYY-MM-DD, TIME is hh:mm[:ss]. Exit status: 0 done, 1 faulty input,\n"
    "2 bad command line.\n";

// A number with an optional hemisphere letter; `positive`/`negative` are the letters
// that keep or flip the sign in the program's own convention.
bool ParseHemisphere(const QString& raw, QChar positive, QChar negative, double& value) {
    QString text = raw.trimmed();
    if (text.isEmpty()) return false;
    double sign = 1.0;
    const QChar last = text.back().toUpper();
    if (last == positive || last == negative) {
        sign = last == positive ? 1.0 : -1.0;
        text.chop(1);
        if (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))) return false;
    }
    double v = 0;
    if (!ParseReal(text, v)) return false;
    value = sign * v;
    return true;
}

}  // namespace

bool ParseLatitude(const QString& text, double& value) {
    double v = 0;
    if (!ParseHemisphere(text, QLatin1Char('N'), QLatin1Char('S'), v) || v < -90 || v > 90) return false;
    value = v;
    return true;
}

bool ParseLongitude(const QString& text, double& value) {
    double v = 0;
    if (!ParseHemisphere(text, QLatin1Char('W'), QLatin1Char('E'), v) || v < -180 || v > 180) return false;
    value = v;
    return true;
}

bool TakeOption(QStringList& args, const QString& name, QString& value, bool& missingValue) {
    missingValue = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            if (i + 1 >= args.size()) {
                missingValue = true;
                args.removeAt(i);
                return true;
            }
            value = args[i + 1];
            args.remove(i, 2);
            return true;
        }
        if (args[i].startsWith(name + QLatin1Char('='))) {
            value = args[i].mid(name.size() + 1);
            args.removeAt(i);
            return true;
        }
    }
    return false;
}

bool TakeFlag(QStringList& args, const QString& name) { return args.removeAll(name) > 0; }

int BadOption(Context& ctx, const QString& option, const QString& value, const QString& why) {
    ctx.err << "zorva-cli: invalid value for " << option << ": '" << value << "'";
    if (!why.isEmpty()) ctx.err << " (" << why << ")";
    ctx.err << "\n";
    ctx.err.flush();
    return kBadCommandLine;
}

int MissingArgument(Context& ctx, const QString& command, const QString& what, const QString& choices) {
    ctx.err << "zorva-cli " << command << ": " << what << "? (" << choices << ")\n";
    ctx.err.flush();
    return kBadCommandLine;
}

int ArgumentIsMissing(Context& ctx, const QString& command, const QString& what) {
    ctx.err << "zorva-cli " << command << ": " << what << " is missing\n";
    ctx.err.flush();
    return kBadCommandLine;
}

int CheckNoExtraArgs(Context& ctx, const QStringList& args, const QString& command) {
    if (args.isEmpty()) return kOk;
    ctx.err << "zorva-cli " << command << ": unexpected argument '" << args.front() << "'\n";
    ctx.err.flush();
    return kBadCommandLine;
}

int ParseImageSize(Context& ctx, const QString& option, const QString& text, QSize& size) {
    static const QRegularExpression kSize(QStringLiteral("^(\\d{1,9})[xX](\\d{1,9})$"));
    const QRegularExpressionMatch m = kSize.match(text);
    if (!m.hasMatch()) return BadOption(ctx, option, text, QStringLiteral("WIDTHxHEIGHT in pixels, e.g. 1600x1000"));
    const qint64 w = m.captured(1).toLongLong(), h = m.captured(2).toLongLong();
    if (w < kMinImageSide || h < kMinImageSide || w > kMaxImageSide || h > kMaxImageSide)
        return BadOption(ctx, option, text,
                         QStringLiteral("from %1 to %2 pixels a side").arg(kMinImageSide).arg(kMaxImageSide));
    if (w * h * 4 > kMaxImageBytes)
        return BadOption(ctx, option, text,
                         QStringLiteral("at most %1 MB of pixels, e.g. 8000x8000").arg(kMaxImageBytes >> 20));
    size = QSize(static_cast<int>(w), static_cast<int>(h));
    return kOk;
}

int CheckOutputPath(Context& ctx, const QString& output, const QStringList& inputs) {
    QStringList all = inputs;
    if (!ctx.settingsPath.isEmpty()) all << ctx.settingsPath;
    for (const QString& input : all) {
        if (SameFile(input, output)) {
            ctx.err << "zorva-cli: the output " << output << " is the input " << input
                    << "; it would be destroyed (choose another file name)\n";
            ctx.err.flush();
            return kBadCommandLine;
        }
    }
    const QFileInfo info(output);
    if (info.exists() && !info.isFile()) {
        ctx.err << "zorva-cli: the output " << output << " is not a regular file (a folder, pipe or device)\n";
        ctx.err.flush();
        return kBadCommandLine;
    }
    return kOk;
}

int NotAvailable(Context& ctx, const QString& command) {
    ctx.err << "zorva-cli: the command '" << command << "' is not available in this build\n";
    ctx.err.flush();
    return kBadCommandLine;
}

int Run(const QStringList& argsIn, QTextStream& out, QTextStream& err) {
    Context ctx(out, err);
    QStringList args = argsIn;
    ctx.dialogs.onEvent = [&ctx](const DialogEvent& e) {
        QString text = e.text;
        text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1String("\n\r"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        ctx.err << e.caption << ": " << text;
        if (e.kind == DialogEvent::Ask)
            ctx.err << " -> " << (e.answer == Answer::Yes ? "Yes" : e.answer == Answer::No ? "No"
                                  : e.answer == Answer::Ok ? "OK" : "Cancel");
        ctx.err << "\n";
        ctx.err.flush();
    };

    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out << kUsage;
        return kOk;
    }
    if (args.contains(QStringLiteral("--version"))) {
        out << "zorva-cli " << ZORVA_VERSION_TEXT << "\n";
        return kOk;
    }
    ctx.yes = TakeFlag(args, QStringLiteral("--yes"));
    if (ctx.yes) {
        // Every later question in this run is answered affirmatively.
        ctx.dialogs.answerAll = true;
    }

    QString value;
    bool missing = false;
    // The language first, so that the settings reader already speaks it.
    if (TakeOption(args, QStringLiteral("--lang"), value, missing)) {
        if (missing || (value != QLatin1String("de") && value != QLatin1String("en")))
            return BadOption(ctx, QStringLiteral("--lang"), value, QStringLiteral("de or en"));
        ctx.state.language = value == QLatin1String("en") ? Language::English : Language::German;
    }
    const Language chosenLanguage = ctx.state.language;
    const bool languageGiven = argsIn.contains(QStringLiteral("--lang")) ||
                               std::any_of(argsIn.begin(), argsIn.end(),
                                           [](const QString& a) { return a.startsWith(QLatin1String("--lang=")); });
    if (TakeOption(args, QStringLiteral("--settings"), value, missing)) {
        if (missing) return BadOption(ctx, QStringLiteral("--settings"), value, QStringLiteral("a file name"));
        ctx.explicitSettings = true;
        ctx.settingsPath = value;
        if (!LoadSettingsFile(ctx, value)) return kFaultyInput;
    } else {
        LoadDefaultSettings(ctx);
    }
    if (languageGiven) ctx.state.language = chosenLanguage;

    double v = 0;
    if (TakeOption(args, QStringLiteral("--lat"), value, missing)) {
        if (missing || !ParseLatitude(value, v))
            return BadOption(ctx, QStringLiteral("--lat"), value, QStringLiteral("e.g. 47.25N, 33.9S or -33.9"));
        // No construction may divide by sin(0).
        ctx.state.latitude = std::abs(v) < 1e-6 ? 1e-6 : v;
    }
    if (TakeOption(args, QStringLiteral("--lon"), value, missing)) {
        if (missing || !ParseLongitude(value, v))
            return BadOption(ctx, QStringLiteral("--lon"), value, QStringLiteral("e.g. 9.55E, 74W or -9.55"));
        ctx.state.longitude = v;
    }
    if (TakeOption(args, QStringLiteral("--zone"), value, missing)) {
        if (missing || !ParseLongitude(value, v))
            return BadOption(ctx, QStringLiteral("--zone"), value, QStringLiteral("e.g. 15E, 75W or -15"));
        ctx.state.zoneMeridian = v;
    }
    ctx.state.zoneFarFromLongitude = ZoneFarFromLongitude(ctx.state.longitude, ctx.state.zoneMeridian);
    if (TakeOption(args, QStringLiteral("--numerals"), value, missing)) {
        const QString style = value.toLower();
        if (missing || (style != QLatin1String("arabic") && style != QLatin1String("roman") && style != QLatin1String("none")))
            return BadOption(ctx, QStringLiteral("--numerals"), value, QStringLiteral("arabic, roman or none"));
        ctx.state.numeralStyle = style == QLatin1String("roman")  ? NumeralStyle::Roman
                                 : style == QLatin1String("none") ? NumeralStyle::None
                                                                  : NumeralStyle::Arabic;
    }
    if (TakeOption(args, QStringLiteral("--numeral-height"), value, missing)) {
        if (missing || !ParseReal(value, v) || !(v >= 1 && v <= 30))
            return BadOption(ctx, QStringLiteral("--numeral-height"), value, QStringLiteral("millimetres from 1 to 30"));
        ctx.state.numeralHeightMm = v;
    }
    if (TakeFlag(args, QStringLiteral("--numerals-in-plot"))) ctx.state.numeralsInPlotFiles = true;
    if (TakeOption(args, QStringLiteral("--year"), value, missing)) {
        long long y = 0;
        if (missing || !ParseInt(value, y) || y < 1300 || y > 2500)
            return BadOption(ctx, QStringLiteral("--year"), value, QStringLiteral("a year from 1300 to 2500"));
        ctx.state.referenceYear = static_cast<int>(y);
    }

    if (args.isEmpty()) {
        err << "zorva-cli: no command given (see zorva-cli --help)\n";
        return kBadCommandLine;
    }
    for (const QString& a : args) {
        if (a.startsWith(QLatin1String("--")) && a == args.front()) {
            err << "zorva-cli: unknown option '" << a << "' (see zorva-cli --help)\n";
            return kBadCommandLine;
        }
    }
    const QString command = args.takeFirst();
    int status = kBadCommandLine;
    if (command == QLatin1String("sun")) status = CommandSun(ctx, args);
    else if (command == QLatin1String("position")) status = CommandPosition(ctx, args);
    else if (command == QLatin1String("azimuth-time")) status = CommandAzimuthTime(ctx, args);
    else if (command == QLatin1String("table")) status = CommandTable(ctx, args);
    else if (command == QLatin1String("draw")) status = CommandDraw(ctx, args);
    else if (command == QLatin1String("graph")) status = CommandGraph(ctx, args);
    else if (command == QLatin1String("hpgl2dxf")) status = CommandHpgl2Dxf(ctx, args);
    else if (command == QLatin1String("settings")) status = CommandSettings(ctx, args);
    else if (command == QLatin1String("horizon")) status = CommandHorizon(ctx, args);
    else if (command == QLatin1String("plane-sunlight")) status = CommandPlaneSunlight(ctx, args);
    else {
        err << "zorva-cli: unknown command '" << command << "' (see zorva-cli --help)\n";
        return kBadCommandLine;
    }
    out.flush();
    err.flush();
    return status;
}

}  // namespace zorva::cli
