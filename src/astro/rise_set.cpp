#include "astro/rise_set.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/time_format.h"
#include "text/texts.h"

#include <cmath>

namespace zorva {
namespace {

// The rise/set search carries its own constants (full-precision degree factor and the
// published ones of the short series), independent of the program's stored factor.
constexpr double kRad = 0.017453292519943295;
constexpr double kTwoPi = 6.283185307;

}  // namespace

double TwilightAltitude(int twilightKind) {
    switch (twilightKind) {
        case 0: return -6.0;
        case 2: return -18.0;
        default: return -12.0;
    }
}

double ThresholdAltitude(RiseSetBody body, int twilightKind) {
    switch (body) {
        case RiseSetBody::Moon: return 0.13333333333333333;   // +8'
        case RiseSetBody::Sun: return -0.8333333333333334;    // -50'
        case RiseSetBody::Twilight: break;
    }
    return TwilightAltitude(twilightKind);
}

double ThresholdSine(RiseSetBody body, int twilightKind) {
    return std::sin(ThresholdAltitude(body, twilightKind) * kRad);
}

RaDec MiniSun(double T) {
    const double M = kTwoPi * FracPositive(0.993133 + 99.997351 * T);
    const double DL = 6893 * std::sin(M) + 72 * std::sin(2 * M);
    const double L = kTwoPi * FracPositive(0.7859453 + M / kTwoPi + (6191.2 * T + DL) / 1296000);
    const double SL = std::sin(L);
    const double X = std::cos(L);
    const double Y = 0.91748 * SL;
    const double Z = 0.39778 * SL;
    const double rho = std::sqrt(1 - Z * Z);
    RaDec r;
    r.declination = 57.29577951471995 * std::atan(Z / rho);
    const double denominator = X + rho;
    r.rightAscensionHours = denominator == 0 ? 12.0 : 7.639437268629327 * std::atan(Y / denominator);
    if (r.rightAscensionHours < 0) r.rightAscensionHours += 24;
    if (r.rightAscensionHours >= 24) r.rightAscensionHours -= 24;
    return r;
}

double LocalSiderealTime(double mjd, double longitude) {
    const double mjd0 = std::trunc(mjd);
    const double ut = (mjd - mjd0) * 24;
    const double t0 = (mjd0 - 51544.5) / 36525;
    const double gmst = 6.697374558 + 1.0027379093 * ut +
                        (8640184.812866 + (0.093104 - 6.2e-6 * t0) * t0) * t0 / 3600;
    return 24 * FracPositive((gmst - longitude / 15) / 24);
}

QuadraticZerosResult QuadraticZeros(double yMinus, double y0, double yPlus) {
    QuadraticZerosResult r;
    const double a = 0.5 * (yPlus + yMinus) - y0;
    const double b = 0.5 * (yPlus - yMinus);
    const double c = y0;
    if (a == 0) return r;
    r.xe = -b / (2 * a);
    r.ye = (a * r.xe + b) * r.xe + c;
    const double dis = b * b - 4 * a * c;
    if (!(dis >= 0)) return r;
    const double dx = 0.5 * std::sqrt(dis) / std::abs(a);
    r.zero1 = r.xe - dx;
    r.zero2 = r.xe + dx;
    if (std::abs(r.zero1) <= 1) ++r.count;
    if (std::abs(r.zero2) <= 1) ++r.count;
    if (r.zero1 < -1) r.zero1 = r.zero2;
    return r;
}

double SinAltitude(RiseSetBody body, double mjd0, double hour, double longitude, double cosPhi, double sinPhi) {
    const double mjd = mjd0 + hour / 24;
    const double T = (mjd - 51544.5) / 36525;
    const RaDec p = body == RiseSetBody::Moon ? MiniMoon(T) : MiniSun(T);
    const double tau = 15 * (LocalSiderealTime(mjd, longitude) - p.rightAscensionHours);
    return sinPhi * std::sin(p.declination * kRad) + cosPhi * std::cos(p.declination * kRad) * std::cos(tau * kRad);
}

double MidnightMJD(int year, int month, int day, double zoneMeridian) {
    return ModifiedJulianDate(day, month, year, 0) + zoneMeridian / 360;
}

RiseSetTimes RiseSetSearch(RiseSetBody body, double mjd0, double latitude, double longitude, double sinThreshold) {
    const double sinPhi = std::sin(latitude * kRad);
    const double cosPhi = std::cos(latitude * kRad);
    auto y = [&](double hour) { return SinAltitude(body, mjd0, hour, longitude, cosPhi, sinPhi) - sinThreshold; };

    RiseSetTimes r;
    double yMinus = y(0);
    r.aboveAtMidnight = yMinus > 0;
    // Twelve two-hour steps at most: HOUR = 1, 3, ..., 23.
    for (int hour = 1; hour < 25 && !(r.rises && r.sets); hour += 2) {
        const double y0 = y(hour);
        const double yPlus = y(hour + 1);
        const QuadraticZerosResult q = QuadraticZeros(yMinus, y0, yPlus);
        if (q.count == 1) {
            if (yMinus < 0) {
                r.riseHours = hour + q.zero1;
                r.rises = true;
            } else {
                r.setHours = hour + q.zero1;
                r.sets = true;
            }
        } else if (q.count == 2) {
            if (q.ye < 0) {
                r.riseHours = hour + q.zero2;
                r.setHours = hour + q.zero1;
            } else {
                r.riseHours = hour + q.zero1;
                r.setHours = hour + q.zero2;
            }
            r.rises = r.sets = true;
        }
        yMinus = yPlus;
    }
    return r;
}

RiseSetTexts RiseSetText(const RiseSetTimes& times, RiseSetBody body, Language lang) {
    RiseSetTexts t;
    if (times.wholeDay()) {
        const bool twilight = body == RiseSetBody::Twilight;
        const int n = times.aboveAtMidnight ? (twilight ? 69 : 68) : (twilight ? 71 : 70);
        t.rise = t.set = label(n, lang);
        return t;
    }
    const QString none = QStringLiteral(" -----");
    t.rise = times.rises ? FormatHourMin(times.riseHours) : none;
    t.set = times.sets ? FormatHourMin(times.setHours) : none;
    t.complete = times.rises && times.sets;
    return t;
}

DayRiseSet RiseSetForDay(int year, int month, int day, double latitude, double longitude, double zoneMeridian,
                         int twilightKind) {
    const double mjd0 = MidnightMJD(year, month, day, zoneMeridian);
    DayRiseSet r;
    r.sun = RiseSetSearch(RiseSetBody::Sun, mjd0, latitude, longitude, ThresholdSine(RiseSetBody::Sun, twilightKind));
    r.twilight = RiseSetSearch(RiseSetBody::Twilight, mjd0, latitude, longitude,
                               ThresholdSine(RiseSetBody::Twilight, twilightKind));
    r.moon = RiseSetSearch(RiseSetBody::Moon, mjd0, latitude, longitude, ThresholdSine(RiseSetBody::Moon, twilightKind));
    return r;
}

QString RiseSetTableColumns(const DayRiseSet& day, Language lang) {
    QString line;
    auto append = [&](const RiseSetTimes& times, RiseSetBody body, bool setFirst) {
        const RiseSetTexts t = RiseSetText(times, body, lang);
        if (times.wholeDay()) {
            line += t.rise;
            return;
        }
        // Rise and set stand side by side and the pair is followed by two blanks, so that a
        // pair is as wide as a whole-day label and the columns stay under their headers.
        const QString blanks = QStringLiteral("  ");
        line += setFirst ? t.set + t.rise + blanks : t.rise + t.set + blanks;
    };
    append(day.sun, RiseSetBody::Sun, false);
    append(day.twilight, RiseSetBody::Twilight, true);  // evening end first, then morning begin
    append(day.moon, RiseSetBody::Moon, false);
    return line;
}

// --- closed-form day arc

namespace {

double SemiDiurnalArc(double declination, double latitude) {
    const double x = -TanDeg(latitude) * TanDeg(declination);
    if (90 - std::abs(latitude) < 1e-6 || std::abs(x) < 1e-15) return 90;
    if (std::abs(x) >= 1) return 90 - Sign(x) * 90;
    double h0 = AtanDeg(std::sqrt(1 - x * x) / x);
    if (h0 < 0) h0 += 180;
    return h0;
}

DayArcResult ArcWithFlags(double declination, double latitude, bool strictNorth) {
    DayArcResult r;
    r.declination = declination;
    if (latitude > 0) {
        const double setsMargin = 90 - declination - latitude;
        const double risesMargin = declination + 90 - latitude;
        r.sets = strictNorth ? setsMargin > 0 : setsMargin >= 0;
        r.rises = strictNorth ? risesMargin > 0 : risesMargin >= 0;
    } else {
        r.sets = latitude + 90 + declination >= 0;
        r.rises = latitude + 90 - declination >= 0;
    }
    r.semiDiurnalArc = r.rises && r.sets ? SemiDiurnalArc(declination, latitude) : 0.0;
    return r;
}

// H0 of the azimuth-dial rule: acos(x) with its own guards, 0..180.
double SunsetHourAngle(double declination, double latitude) {
    const double x = -TanDeg(latitude) * TanDeg(declination);
    if (std::abs(x) < 1e-12) return 90;
    if (std::abs(x) > 0.9999999) return 90 - Sign(x) * 90;
    return AcosDeg(x);
}

}  // namespace

DayArcResult DayArc(int year, double dayOfYear, double meridian, double latitude) {
    const double decl = SunPosition(year, dayOfYear, 12.0, latitude, meridian, meridian, false).declination;
    return ArcWithFlags(decl, latitude, false);
}

DayArcResult DayArcForDeclination(double declination, double latitude) {
    return ArcWithFlags(declination, latitude, true);
}

MeanRiseSet SunriseSunsetMean(int year, double dayOfYear, double meridian, double latitude, double zoneMeridian) {
    const DayArcResult arc = DayArc(year, dayOfYear, meridian, latitude);
    if (arc.rises && !arc.sets) return {0.0, 24.0};
    if (!arc.rises) return {-1.0, 0.0};
    // Longitudes count west: a meridian west of the zone sees the sun later by 4 min per degree.
    const double shift = (meridian - zoneMeridian) / 15;
    return {12 + shift - arc.semiDiurnalArc / 15, 12 + shift + arc.semiDiurnalArc / 15};
}

RiseSetDirections RiseSetAzimuths(int year, double dayOfYear, double meridian, double latitude) {
    RiseSetDirections r;
    r.declination = SunPositionNoonEphemeris(year, dayOfYear, 12.0, latitude, meridian, meridian, false).declination;
    const double h0 = SunsetHourAngle(r.declination, latitude);
    r.rise = 12 - h0 / 15;
    r.set = 12 + h0 / 15;
    r.atRise = SunPositionNoonEphemeris(year, dayOfYear, r.rise, latitude, meridian, meridian, false);
    r.atSet = SunPositionNoonEphemeris(year, dayOfYear, r.set, latitude, meridian, meridian, false);
    return r;
}

HourAngleDirection SunsetHourAngleDirection(double declination, double latitude) {
    HourAngleDirection r;
    r.hourAngle = SunsetHourAngle(declination, latitude);
    r.direction = HorizontalFromHourAngle(r.hourAngle, declination, latitude);
    return r;
}

std::array<FixedDayRiseSet, 21> MeanRiseSetSummerToWinter(int year, double meridian, double latitude,
                                                          double zoneMeridian) {
    std::array<FixedDayRiseSet, 21> table;
    int i = 0;
    for (int month = 6; month <= 12; ++month)
        for (int day : {1, 11, 21}) {
            const MeanRiseSet m = SunriseSunsetMean(year, DayOfYear(year, month, day), meridian, latitude, zoneMeridian);
            table[i++] = {month, day, m.rise, m.set, 0.0, 0.0};
        }
    return table;
}

std::array<FixedDayRiseSet, 48> MeanRiseSetFourDaysAMonth(int year, double meridian, double latitude,
                                                          double zoneMeridian) {
    std::array<FixedDayRiseSet, 48> table;
    int i = 0;
    for (int month = 1; month <= 12; ++month)
        for (int day : {1, 8, 15, 22}) {
            const int doy = DayOfYear(year, month, day);
            const MeanRiseSet m = SunriseSunsetMean(year, doy, meridian, latitude, zoneMeridian);
            FixedDayRiseSet& e = table[i++];
            e = {month, day, m.rise, m.set, 0.0, 0.0};
            e.riseAzimuth = SunPosition(year, doy, m.rise, latitude, meridian, zoneMeridian, false).azimuth;
            e.setAzimuth = SunPosition(year, doy, m.set, latitude, meridian, zoneMeridian, false).azimuth;
        }
    return table;
}

}  // namespace zorva
