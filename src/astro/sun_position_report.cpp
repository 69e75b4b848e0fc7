#include "astro/sun_position_report.h"

#include "astro/terrain_rise_set.h"

#include "astro/calendar.h"
#include "astro/rise_set.h"
#include "astro/solar_ephemeris.h"
#include "astro/time_format.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <QRegularExpression>

#include <cmath>

namespace zorva {
namespace {

// Label numbers of the print-list lines.
constexpr int kLabelLatitude = 87;
constexpr int kLabelLongitude = 88;
constexpr int kLabelDate = 89;
constexpr int kLabelSunrise = 93;
constexpr int kLabelTwilightBegin = 94;
constexpr int kLabelSunset = 95;
constexpr int kLabelTwilightEnd = 96;
constexpr int kLabelMoonrise = 98;
constexpr int kLabelMoonset = 99;
constexpr int kLabelTwilightShown = 76;
constexpr int kLabelTwilightKindFirst = 34;
constexpr int kLabelZoneMeridian = 90;
constexpr int kLabelClock = 91;
constexpr int kLabelAltitude = 92;
constexpr int kLabelAzimuth = 97;
constexpr int kLabelDeclination = 100;
constexpr int kLabelEoT = 101;
constexpr int kLabelEastNegative = 102;
constexpr int kLabelNoonValues = 103;
constexpr int kLabelReachedAt = 104;
constexpr int kLabelDegrees = 105;
constexpr int kLabelBelowHorizon = 106;

// Names of the time kinds, string resources 839..841.
constexpr int kResourceClockKindFirst = 839;

constexpr int kRuleUnderscores = 76;
const QString kIndent = QStringLiteral("    ");
const QString kMinSec = QStringLiteral("  min:sec");

QString Degrees(Language lang) { return label(kLabelDegrees, lang); }

QString TwoDigits(int n) { return QString::number(n).rightJustified(2, QLatin1Char('0')); }

QString ClockText(double hours) {
    const int secs = static_cast<int>(std::lround(hours * 3600.0));
    return TwoDigits(secs / 3600) + QLatin1Char(':') + TwoDigits(secs / 60 % 60) + QLatin1Char(':') +
           TwoDigits(secs % 60);
}

double RoundTo(double x, double step) { return std::round(x / step) * step; }

QString AzimuthLine(double azimuth, Language lang) {
    return kIndent + label(kLabelAzimuth, lang) + RealToText(7, 2, azimuth) + Degrees(lang) + QStringLiteral("  ") +
           label(kLabelEastNegative, lang);
}

void AppendBelowHorizon(QStringList& lines, double altitude, Language lang) {
    if (!(altitude > 0)) lines << kIndent + label(kLabelBelowHorizon, lang);
}

QStringList NoonLines(const EoTDeclinationReport& noon, Language lang) {
    return {kIndent + label(kLabelEoT, lang) + noon.eotText + label(kLabelNoonValues, lang),
            kIndent + label(kLabelDeclination, lang) + noon.declinationText};
}

}  // namespace

QString PrintRule() { return QStringLiteral("  ") + QString(kRuleUnderscores, QLatin1Char('_')); }

bool IsPrintRule(const QString& line) { return line.startsWith(QStringLiteral("  __")); }

QStringList PrintBlockHead(const ReportSite& site, Language lang) {
    const QString deg = Degrees(lang);
    return {QString(),
            PrintRule(),
            QString(),
            label(kLabelDate, lang) + RealToText(4, 0, site.year) + QLatin1Char('-') + RealToText(2, 0, site.month) +
                QLatin1Char('-') + RealToText(2, 0, site.day),
            label(kLabelLatitude, lang) + RealToText(6, 2, site.latitude) + deg,
            label(kLabelLongitude, lang) + RealToText(7, 2, site.longitude) + label(kLabelZoneMeridian, lang) +
                RealToText(6, 1, site.zoneMeridian) + deg};
}

int ReportDayOfYear(const ReportSite& site) {
    return static_cast<int>(std::trunc(ModifiedJulianDate(site.day, site.month, site.year) -
                                       ModifiedJulianDate(0, 1, site.year)));
}

EoTDeclinationReport EoTDeclinationAtNoon(const ReportSite& site, Language lang) {
    EoTDeclinationReport r;
    // 12:00 zone time is 12:00 - zone/15 UT: d = day + zone / 360.
    const DeclinationEoT de = SolarDeclinationEoT(site.year, ReportDayOfYear(site) + site.zoneMeridian / 360.0);
    r.eot = de.eot;
    r.declination = de.declination;
    r.eotText = FormatMinSec(de.eot) + kMinSec;
    r.declinationText = RealToText(6, 2, de.declination) + Degrees(lang);

    r.printLines = PrintBlockHead(site, lang);
    r.printLines << NoonLines(r, lang) << PrintRule();
    return r;
}

RiseSetReport RiseSetOfDay(const ReportSite& site, int twilightKind, Language lang, const HorizonProfile* terrain) {
    RiseSetReport r;
    r.noon = EoTDeclinationAtNoon(site, lang);
    if (twilightKind < 0 || twilightKind > 2) twilightKind = 1;

    const DayRiseSet day = RiseSetForDayOverTerrain(terrain, site.year, site.month, site.day, site.latitude,
                                                    site.longitude, site.zoneMeridian, twilightKind);
    // The unit only follows real times: a missing event or a whole-day label stands alone.
    auto texts = [&](const RiseSetTimes& times, RiseSetBody body) {
        RiseSetTexts t = RiseSetText(times, body, lang);
        if (t.complete) {
            t.rise += QStringLiteral(" hh:min");
            t.set += QStringLiteral(" hh:min");
        }
        return t;
    };
    const RiseSetTexts sun = texts(day.sun, RiseSetBody::Sun);
    const RiseSetTexts twilight = texts(day.twilight, RiseSetBody::Twilight);
    const RiseSetTexts moon = texts(day.moon, RiseSetBody::Moon);
    r.sunRise = sun.rise;
    r.sunSet = sun.set;
    r.twilightBegin = twilight.rise;
    r.twilightEnd = twilight.set;
    r.moonRise = moon.rise;
    r.moonSet = moon.set;

    r.printLines = PrintBlockHead(site, lang);
    r.printLines << NoonLines(r.noon, lang)
                 << label(kLabelSunrise, lang) + r.sunRise + label(kLabelSunset, lang) + r.sunSet
                 << label(kLabelTwilightBegin, lang) + r.twilightBegin + label(kLabelTwilightEnd, lang) +
                        r.twilightEnd
                 << QString(24, QLatin1Char(' ')) + QLatin1Char('[') + label(kLabelTwilightShown, lang) +
                        label(kLabelTwilightKindFirst + twilightKind, lang) + QLatin1Char(']')
                 << kIndent + label(kLabelMoonrise, lang) + r.moonRise + QStringLiteral("     ") +
                        label(kLabelMoonset, lang) + r.moonSet
                 << PrintRule();
    return r;
}

std::optional<double> ParseClockTime(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})(?::(\\d{1,2}))?(?::(\\d{1,2}))?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const int h = m.captured(1).toInt();
    const int min = m.capturedLength(2) > 0 ? m.captured(2).toInt() : 0;
    const int s = m.capturedLength(3) > 0 ? m.captured(3).toInt() : 0;
    if (h > 23 || min > 59 || s > 59) return std::nullopt;
    return h + min / 60.0 + s / 3600.0;
}

QString ClockKindName(ClockKind kind, Language lang) {
    return resourceText(kResourceClockKindFirst + static_cast<int>(kind), lang);
}

PositionReport SunPositionAt(const ReportSite& site, double hours, ClockKind kind, Language lang) {
    PositionReport r;
    const int dayOfYear = ReportDayOfYear(site);
    // A local time is a zone time at a site on its own zone meridian; the mean sun's time
    // needs the EoT added to reach the true sun's hour angle, the true local time does not.
    switch (kind) {
    case ClockKind::TrueLocal:
        r.position = SunPosition(site.year, dayOfYear, hours, site.latitude, site.zoneMeridian, site.zoneMeridian, false);
        break;
    case ClockKind::MeanLocal:
        r.position = SunPosition(site.year, dayOfYear, hours, site.latitude, site.zoneMeridian, site.zoneMeridian, true);
        break;
    case ClockKind::Zone:
        r.position = SunPosition(site.year, dayOfYear, hours, site.latitude, site.longitude, site.zoneMeridian, true);
        break;
    }
    const QString deg = Degrees(lang);
    r.altitudeText = RealToText(7, 2, r.position.altitude);
    r.azimuthText = RealToText(7, 2, r.position.azimuth);
    r.eotText = FormatMinSec(r.position.eot) + kMinSec;
    r.declinationText = RealToText(7, 2, RoundTo(r.position.declination, 0.01)) + deg;

    r.printLines = PrintBlockHead(site, lang);
    r.printLines << kIndent + label(kLabelClock, lang) + ClockText(hours) + QStringLiteral("  ") +
                        ClockKindName(kind, lang)
                 << kIndent + label(kLabelAltitude, lang) + r.altitudeText + deg
                 << AzimuthLine(r.position.azimuth, lang)
                 << kIndent + label(kLabelDeclination, lang) + r.declinationText
                 << kIndent + label(kLabelEoT, lang) + r.eotText;
    AppendBelowHorizon(r.printLines, r.position.altitude, lang);
    r.printLines << PrintRule();
    return r;
}

AzimuthTimeReport SunAtAzimuth(const ReportSite& site, double azimuth, UserDialogs& dialogs, Language lang) {
    AzimuthTimeReport r;
    r.search = TimeForAzimuth(site.year, site.month, site.day, azimuth, site.latitude, site.longitude,
                              site.zoneMeridian, dialogs, lang);
    r.printLines = PrintBlockHead(site, lang);
    r.printLines << AzimuthLine(azimuth, lang);
    if (r.search.found) {
        r.timeText = r.search.timeText;
        r.altitudeText = RealToText(5, 1, RoundTo(r.search.altitude, 0.1)) + Degrees(lang);
        // The label text is right-aligned for the window; on paper it follows the label.
        r.printLines << kIndent + label(kLabelReachedAt, lang) + r.timeText.trimmed()
                     << kIndent + label(kLabelAltitude, lang) + r.altitudeText;
        AppendBelowHorizon(r.printLines, r.search.altitude, lang);
    } else {
        r.printLines << kIndent + label(kLabelReachedAt, lang) + QStringLiteral("-----");
    }
    r.printLines << PrintRule();
    return r;
}

}  // namespace zorva
