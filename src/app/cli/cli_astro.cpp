// zorva-cli sun / position / azimuth-time: the sun-position window's calculations,
// printed as the window's print list holds them.
#include "app/cli/cli.h"

#include "astro/calendar.h"
#include "astro/rise_set.h"
#include "astro/sun_position.h"
#include "astro/sun_report.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <QRegularExpression>

#include <cmath>

namespace zorva::cli {
namespace {

// DATE is YYYY-MM-DD within the years the sun-position window accepts. The days skipped
// in October 1582 are computed as 15 October after message 26, as the calendar does.
bool TakeDate(Context& ctx, const QString& text, SunCalcInput& in, int& status) {
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
bool ReadDateAndSite(Context& ctx, QStringList& args, const QString& command, SunCalcInput& in, int& status) {
    if (args.isEmpty() || args.front().startsWith(QLatin1String("--"))) {
        ctx.err << "zorva-cli " << command << ": DATE (YYYY-MM-DD) is missing\n";
        ctx.err.flush();
        status = kBadCommandLine;
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
bool ParseTime(const QString& text, double& hours, QString& normalised) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) return false;
    const int h = m.captured(1).toInt(), min = m.captured(2).toInt();
    const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (min > 59 || s > 59 || h > 24 || (h == 24 && (min > 0 || s > 0))) return false;
    hours = h + min / 60.0 + s / 3600.0;
    normalised = QStringLiteral("%1:%2:%3").arg(h, 2, 10, QLatin1Char('0')).arg(min, 2, 10, QLatin1Char('0'))
                     .arg(s, 2, 10, QLatin1Char('0'));
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
    SunCalcInput in;
    int status = kOk;
    if (!ReadDateAndSite(ctx, args, QStringLiteral("sun"), in, status)) return status;
    if (const int extra = CheckNoExtraArgs(ctx, args, QStringLiteral("sun"))) return extra;
    if (!ZoneQuestionAllows(ctx)) return kFaultyInput;

    const Language lang = ctx.state.language;
    const DayRiseSet day = RiseSetForDay(in.year, in.month, in.day, in.latitude, in.longitude, in.zoneMeridian,
                                         twilightKind);
    QStringList lines = PrintListHeader(in, lang);
    lines << NoonPrintLines(NoonEoTDeclination(in), lang) << RiseSetPrintLines(day, twilightKind, lang)
          << PrintListRule();
    Print(ctx, lines);
    return kOk;
}

int CommandPosition(Context& ctx, QStringList args) {
    PositionTimeKind kind = PositionTimeKind::Zone;
    QString value;
    bool missing = false;
    if (TakeOption(args, QStringLiteral("--time"), value, missing)) {
        if (value == QLatin1String("apparent")) kind = PositionTimeKind::Apparent;
        else if (value == QLatin1String("mean")) kind = PositionTimeKind::Mean;
        else if (value == QLatin1String("zone") && !missing) kind = PositionTimeKind::Zone;
        else return BadOption(ctx, QStringLiteral("--time"), value, QStringLiteral("apparent, mean or zone"));
    }
    SunCalcInput in;
    int status = kOk;
    if (!ReadDateAndSite(ctx, args, QStringLiteral("position"), in, status)) return status;
    if (args.isEmpty()) {
        ctx.err << "zorva-cli position: TIME (hh:mm[:ss]) is missing\n";
        ctx.err.flush();
        return kBadCommandLine;
    }
    const QString timeArg = args.takeFirst();
    double hours = 0;
    QString timeText;
    if (!ParseTime(timeArg, hours, timeText))
        return BadOption(ctx, QStringLiteral("TIME"), timeArg, QStringLiteral("hh:mm or hh:mm:ss, 0:00 to 24:00"));
    if (const int extra = CheckNoExtraArgs(ctx, args, QStringLiteral("position"))) return extra;
    if (!ZoneQuestionAllows(ctx)) return kFaultyInput;

    const Language lang = ctx.state.language;
    QStringList lines = PrintListHeader(in, lang);
    lines << PositionPrintLines(timeText, kind, PositionAtTime(in, hours, kind), lang) << PrintListRule();
    Print(ctx, lines);
    return kOk;
}

int CommandAzimuthTime(Context& ctx, QStringList args) {
    SunCalcInput in;
    int status = kOk;
    if (!ReadDateAndSite(ctx, args, QStringLiteral("azimuth-time"), in, status)) return status;
    if (args.isEmpty()) {
        ctx.err << "zorva-cli azimuth-time: AZIMUTH (degrees from south, west positive) is missing\n";
        ctx.err.flush();
        return kBadCommandLine;
    }
    const QString azArg = args.takeFirst();
    double azimuth = 0;
    if (!ParseReal(azArg, azimuth) || azimuth < -180 || azimuth > 180)
        return BadOption(ctx, QStringLiteral("AZIMUTH"), azArg, QStringLiteral("-180 to 180, south 0, west positive"));
    if (const int extra = CheckNoExtraArgs(ctx, args, QStringLiteral("azimuth-time"))) return extra;
    if (!ZoneQuestionAllows(ctx)) return kFaultyInput;

    const Language lang = ctx.state.language;
    const AzimuthTimeResult r = TimeForAzimuth(in.year, in.month, in.day, azimuth, in.latitude, in.longitude,
                                               in.zoneMeridian, ctx.dialogs, lang);
    if (!r.found) return kFaultyInput;  // message 24 is on stderr
    QStringList lines = PrintListHeader(in, lang);
    lines << AzimuthTimePrintLines(azimuth, r, lang) << PrintListRule();
    Print(ctx, lines);
    return kOk;
}

}  // namespace zorva::cli
