#include "astro/sun_report.h"

#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "astro/time_format.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <cmath>

namespace zorva {
namespace {

// Print-list captions of the position and azimuth modes that have no number in the label
// table; the English twins keep the German widths so that the columns stay aligned.
enum class ReportText {
    Time, Altitude, Azimuth, Declination, EoT, NegativeEast, ValidAtNoon, ReachedAt, BelowHorizon,
    ApparentTime, MeanTime, ZoneTime
};

QString Text(ReportText t, Language lang) {
    struct Pair { const char* german; const char* english; };
    static const Pair kTexts[] = {
        {"Uhrzeit:       ", "Time:          "},
        {"Sonnenhöhe:   ", "Sun altitude: "},
        {"Azimut:      ", "Azimuth:     "},
        {"Sonnendeklination: ", "Sun declination:   "},
        {"Zeitgleichung:     ", "Equation of time:  "},
        {"[negativ bei Abweichung gegen Osten]", "[negative for deviation to the east]"},
        {"   Werte fuer 12 Uhr Zonenzeit", "   Values for 12 o´clock zone time"},
        {"Sonnenstand erreicht um: ", "Sun position reached at: "},
        {"Die Sonne steht unter dem Horizont!", "The sun is below the horizon!"},
        {"Wahre Ortszeit", "Local Apparent Time"},
        {"Mittlere Ortszeit", "Local Mean Time"},
        {"Zonenzeit", "Zone Time"},
    };
    const Pair& p = kTexts[static_cast<int>(t)];
    return QString::fromUtf8(lang == Language::English ? p.english : p.german);
}

const QString kIndent = QStringLiteral("    ");

QString Degrees(Language lang) { return label(105, lang); }

double RoundTo(double x, double step) { return std::round(x / step) * step; }

}  // namespace

NoonValues NoonEoTDeclination(const SunCalcInput& in) {
    const double d = DayOfYear(in.year, in.month, in.day) + in.zoneMeridian / 360;
    const DeclinationEoT v = SolarDeclinationEoT(in.year, d);
    return {v.eot, v.declination};
}

SunPositionResult PositionAtTime(const SunCalcInput& in, double hours, PositionTimeKind kind) {
    const double dayOfYear =
        std::trunc(ModifiedJulianDate(in.day, in.month, in.year) - ModifiedJulianDate(0, 1, in.year));
    switch (kind) {
        case PositionTimeKind::Apparent:
            return SunPosition(in.year, dayOfYear, hours, in.latitude, in.zoneMeridian, in.zoneMeridian, false);
        case PositionTimeKind::Mean:
            return SunPosition(in.year, dayOfYear, hours, in.latitude, in.zoneMeridian, in.zoneMeridian, true);
        case PositionTimeKind::Zone:
            break;
    }
    return SunPosition(in.year, dayOfYear, hours, in.latitude, in.longitude, in.zoneMeridian, true);
}

QString PrintListRule() { return QStringLiteral("  __") + QString(74, QLatin1Char('_')); }

QStringList PrintListHeader(const SunCalcInput& in, Language lang) {
    return {QString(),
            PrintListRule(),
            QString(),
            label(89, lang) + RealToText(4, 0, in.year) + QLatin1Char('-') + RealToText(2, 0, in.month) +
                QLatin1Char('-') + RealToText(2, 0, in.day),
            label(87, lang) + RealToText(6, 2, in.latitude) + Degrees(lang),
            label(88, lang) + RealToText(7, 2, in.longitude) + label(90, lang) + RealToText(6, 1, in.zoneMeridian) +
                Degrees(lang)};
}

QStringList NoonPrintLines(const NoonValues& noon, Language lang) {
    return {kIndent + Text(ReportText::EoT, lang) + EoTFieldText(noon.eot) + Text(ReportText::ValidAtNoon, lang),
            kIndent + Text(ReportText::Declination, lang) + RealToText(6, 2, noon.declination) + Degrees(lang)};
}

QStringList RiseSetPrintLines(const DayRiseSet& day, int twilightKind, Language lang) {
    const QString unit = QStringLiteral(" hh:min");
    const RiseSetTexts sun = RiseSetText(day.sun, RiseSetBody::Sun, lang);
    const RiseSetTexts twilight = RiseSetText(day.twilight, RiseSetBody::Twilight, lang);
    const RiseSetTexts moon = RiseSetText(day.moon, RiseSetBody::Moon, lang);
    const QString sunUnit = sun.complete ? unit : QString();
    const QString twilightUnit = twilight.complete ? unit : QString();
    const QString moonUnit = moon.complete ? unit : QString();
    const int kind = twilightKind >= 0 && twilightKind <= 2 ? twilightKind : 1;
    return {label(93, lang) + sun.rise + sunUnit + label(95, lang) + sun.set + sunUnit,
            label(94, lang) + twilight.rise + twilightUnit + label(96, lang) + twilight.set + twilightUnit,
            QString(24, QLatin1Char(' ')) + QLatin1Char('[') + label(76, lang) + label(34 + kind, lang) +
                QLatin1Char(']'),
            kIndent + label(98, lang) + moon.rise + moonUnit + QStringLiteral("     ") + label(99, lang) + moon.set +
                moonUnit};
}

QStringList PositionPrintLines(const QString& timeText, PositionTimeKind kind, const SunPositionResult& p,
                               Language lang) {
    QStringList lines{
        kIndent + Text(ReportText::Time, lang) + timeText + QStringLiteral("  ") + PositionTimeKindName(kind, lang),
        kIndent + Text(ReportText::Altitude, lang) + AltitudeFieldText(p.altitude) + Degrees(lang),
        kIndent + Text(ReportText::Azimuth, lang) + AltitudeFieldText(p.azimuth) + Degrees(lang) +
            QStringLiteral("  ") + Text(ReportText::NegativeEast, lang),
        kIndent + Text(ReportText::Declination, lang) + RealToText(7, 2, RoundTo(p.declination, 0.01)) + Degrees(lang),
        kIndent + Text(ReportText::EoT, lang) + EoTFieldText(p.eot)};
    if (p.altitude <= 0) lines << kIndent + Text(ReportText::BelowHorizon, lang);
    return lines;
}

QStringList AzimuthTimePrintLines(double azimuth, const AzimuthTimeResult& r, Language lang) {
    QStringList lines{
        kIndent + Text(ReportText::Azimuth, lang) + AltitudeFieldText(azimuth) + Degrees(lang) +
            QStringLiteral("  ") + Text(ReportText::NegativeEast, lang),
        kIndent + Text(ReportText::ReachedAt, lang) + r.timeText.trimmed(),
        kIndent + Text(ReportText::Altitude, lang) + RealToText(5, 1, RoundTo(r.altitude, 0.1)) + Degrees(lang)};
    if (r.altitude <= 0) lines << kIndent + Text(ReportText::BelowHorizon, lang);
    return lines;
}

QString AltitudeFieldText(double altitude) { return RealToText(7, 2, altitude); }

QString DeclinationFieldText(double declination) {
    return RealToText(7, 2, RoundTo(declination, 0.01)) + QStringLiteral(" Grad");
}

QString EoTFieldText(double eot) { return FormatMinSec(eot) + QStringLiteral("  min:sec"); }

QString PositionTimeKindName(PositionTimeKind kind, Language lang) {
    switch (kind) {
        case PositionTimeKind::Apparent: return Text(ReportText::ApparentTime, lang);
        case PositionTimeKind::Mean: return Text(ReportText::MeanTime, lang);
        case PositionTimeKind::Zone: break;
    }
    return Text(ReportText::ZoneTime, lang);
}

}  // namespace zorva
