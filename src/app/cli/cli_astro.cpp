// zorva-cli sun / position / azimuth-time: the sun-position window's calculations,
// printed as the window's print list holds them.
#include "app/cli/cli.h"

#include "astro/calendar.h"
#include "astro/sun_position_report.h"
#include "astro/terrain_rise_set.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <QRegularExpression>

#include <cmath>

namespace zorva::cli {
namespace {

// DATE is YYYY-MM-DD within the years the sun-position window accepts. The days skipped
// in October 1582 are computed as 15 October after message 26, as the calendar does.
bool TakeDate(Context& ctx, const QString& text, ReportSite& in, int& status) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) {
        status = BadOption(ctx, QStringLiteral("DATE"), text, QStringLiteral("YYYY-MM-DD"));
        return false;
    }
    const int year = m.captured(1).toInt(), month = m.captured(2).toInt(), day = m.captured(3).toInt();
    if (year < 1300 || year > 2500) {
        status = BadOption(ctx, QStringLiteral("DATE"), text, QStringLiteral("a year from 1300 to 2500"));
        return false;
    }
    if (year == 1582 && month == 10 && day >= 5 && day <= 14) {
        JulianDayNumber(day, month, year, &ctx.dialogs, ctx.state.language);
        in.year = year;
        in.month = 10;
        in.day = 15;
        return true;
    }
    if (!DateExists(year, month, day)) {
        status = BadOption(ctx, QStringLiteral("DATE"), text, QStringLiteral("no such day"));
        return false;
    }
    in.year = year;
    in.month = month;
    in.day = day;
    return true;
}

// The window asks before computing for a longitude far from the zone meridian; the safe
// answer (No) cancels, --yes goes on.
bool ZoneQuestionAllows(Context& ctx) {
    if (!ctx.state.zoneFarFromLongitude) return true;
    const Language lang = ctx.state.language;
    const Answer a = ctx.dialogs.ask(caption(CaptionKind::Question, lang), label(46, lang) + label(47, lang),
                                     Buttons::YesNo, Icon::Question);
    return a == Answer::Yes;
}

// DATE and the fixed site of the state; false with `status` set on a bad argument.
bool ReadDateAndSite(Context& ctx, QStringList& args, const QString& command, ReportSite& in, int& status) {
    if (args.isEmpty() || args.front().startsWith(QLatin1String("--"))) {
        status = ArgumentIsMissing(ctx, command, QStringLiteral("DATE (YYYY-MM-DD)"));
        return false;
    }
    if (!TakeDate(ctx, args.takeFirst(), in, status)) return false;
    in.latitude = ctx.state.latitude;
    in.longitude = ctx.state.longitude;
    in.zoneMeridian = ctx.state.zoneMeridian;
    return true;
}

void Print(Context& ctx, const QStringList& lines) {
    for (const QString& line : lines) ctx.out << line << "\n";
    ctx.out.flush();
}

// hh:mm or hh:mm:ss within 0:00:00 .. 24:00:00.
bool ParseTime(const QString& text, double& hours) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) return false;
    const int h = m.captured(1).toInt(), min = m.captured(2).toInt();
    const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (min > 59 || s > 59 || h > 24 || (h == 24 && (min > 0 || s > 0))) return false;
    hours = h + min / 60.0 + s / 3600.0;
    return true;
}

}  // namespace

int CommandSun(Context& ctx, QStringList args) {
    int twilightKind = ctx.state.twilightKind;
    QString value;
    bool missing = false;
    if (TakeOption(args, QStringLiteral("--twilight"), value, missing)) {
        const QStringList kinds{QStringLiteral("civil"), QStringLiteral("nautical"), QStringLiteral("astronomical")};
        twilightKind = static_cast<int>(kinds.indexOf(value));
        if (missing || twilightKind < 0)
            return BadOption(ctx, QStringLiteral("--twilight"), value, QStringLiteral("civil, nautical or astronomical"));
    }
    if (const int terrain = TakeTerrainOption(ctx, args); terrain != kOk) return terrain;
    ReportSite in;
    int status = kOk;
    if (!ReadDateAndSite(ctx, args, QStringLiteral("sun"), in, status)) return status;
    if (const int extra = CheckNoExtraArgs(ctx, args, QStringLiteral("sun"))) return extra;
    if (!ZoneQuestionAllows(ctx)) return kFaultyInput;

    Print(ctx, RiseSetOfDay(in, twilightKind, ctx.state.language, RiseSetTerrain(ctx.state)).printLines);
    return kOk;
}

int CommandPosition(Context& ctx, QStringList args) {
    ClockKind kind = ClockKind::Zone;
    QString value;
    bool missing = false;
    if (TakeOption(args, QStringLiteral("--time"), value, missing)) {
        if (value == QLatin1String("apparent")) kind = ClockKind::TrueLocal;
        else if (value == QLatin1String("mean")) kind = ClockKind::MeanLocal;
        else if (value == QLatin1String("zone") && !missing) kind = ClockKind::Zone;
        else return BadOption(ctx, QStringLiteral("--time"), value, QStringLiteral("apparent, mean or zone"));
    }
    ReportSite in;
    int status = kOk;
    if (!ReadDateAndSite(ctx, args, QStringLiteral("position"), in, status)) return status;
    if (args.isEmpty()) return ArgumentIsMissing(ctx, QStringLiteral("position"), QStringLiteral("TIME (hh:mm[:ss])"));
    const QString timeArg = args.takeFirst();
    double hours = 0;
    if (!ParseTime(timeArg, hours))
        return BadOption(ctx, QStringLiteral("TIME"), timeArg, QStringLiteral("hh:mm or hh:mm:ss, 0:00 to 24:00"));
    if (const int extra = CheckNoExtraArgs(ctx, args, QStringLiteral("position"))) return extra;
    if (!ZoneQuestionAllows(ctx)) return kFaultyInput;

    Print(ctx, SunPositionAt(in, hours, kind, ctx.state.language).printLines);
    return kOk;
}

int CommandAzimuthTime(Context& ctx, QStringList args) {
    ReportSite in;
    int status = kOk;
    if (!ReadDateAndSite(ctx, args, QStringLiteral("azimuth-time"), in, status)) return status;
    if (args.isEmpty()) {
        return ArgumentIsMissing(ctx, QStringLiteral("azimuth-time"),
                                 QStringLiteral("AZIMUTH (degrees from south, west positive)"));
    }
    const QString azArg = args.takeFirst();
    double azimuth = 0;
    if (!ParseReal(azArg, azimuth) || azimuth < -180 || azimuth > 180)
        return BadOption(ctx, QStringLiteral("AZIMUTH"), azArg, QStringLiteral("-180 to 180, south 0, west positive"));
    if (const int extra = CheckNoExtraArgs(ctx, args, QStringLiteral("azimuth-time"))) return extra;
    if (!ZoneQuestionAllows(ctx)) return kFaultyInput;

    const AzimuthTimeReport r = SunAtAzimuth(in, azimuth, ctx.dialogs, ctx.state.language);
    if (!r.search.found) return kFaultyInput;  // message 24 is on stderr
    Print(ctx, r.printLines);
    return kOk;
}

}  // namespace zorva::cli
