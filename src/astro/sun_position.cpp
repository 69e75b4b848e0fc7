#include "astro/sun_position.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <algorithm>
#include <cmath>

namespace zorva {

HorizontalPosition HorizontalFromHourAngle(double hourAngle, double declination, double latitude) {
    const double t = NormalizeAngle180(hourAngle);
    const double sinDecl = SinDeg(declination), cosDecl = CosDeg(declination);
    const double sinPhi = SinDeg(latitude), cosPhi = CosDeg(latitude);

    // Cosine of the zenith distance, kept off 0 and inside [-1, 1].
    double u = sinPhi * sinDecl + cosPhi * cosDecl * CosDeg(t);
    if (std::abs(u) < 1e-10) u = (Sign(u) + 0.2) * 1e-10;
    else if (std::abs(u) > 1) u = Sign(u) * 0.9999999999;
    double z = AtanDeg(std::sqrt(1 - u * u) / u);
    if (z < 0) z += 180;

    HorizontalPosition p;
    p.altitude = 90 - z;
    if (z < 1e-6) {
        p.azimuth = 0;
    } else {
        double v = (-sinDecl * cosPhi + cosDecl * CosDeg(t) * sinPhi) / SinDeg(z);
        if (std::abs(v) > 1) v = Sign(v);
        else if (std::abs(v) < 1e-10) v = (Sign(v) + 0.2) * 1e-10;
        if (v == -1) {
            p.azimuth = 180;
        } else {
            p.azimuth = AtanDeg(std::sqrt(1 - v * v) / v);
            if (p.azimuth < 0) p.azimuth += 180;
        }
    }
    if (t < 0) p.azimuth = -p.azimuth;
    if (t == 0) p.azimuth = latitude >= declination ? 0 : 180;
    return p;
}

namespace {

SunPositionResult PositionWith(const DeclinationEoT& de, double zoneTime, double latitude, double longitude,
                               double zoneMeridian, bool apparent) {
    double t = 15 * (zoneTime - 12) - (longitude - zoneMeridian);
    if (apparent) t += de.eot;
    const HorizontalPosition h = HorizontalFromHourAngle(t, de.declination, latitude);
    return {h.altitude, h.azimuth, de.declination, de.eot};
}

}  // namespace

SunPositionResult SunPosition(int year, double dayOfYear, double zoneTime, double latitude, double longitude,
                              double zoneMeridian, bool apparent) {
    const double d = dayOfYear + (zoneTime + zoneMeridian / 15 - 12) / 24;
    return PositionWith(SolarDeclinationEoT(year, d), zoneTime, latitude, longitude, zoneMeridian, apparent);
}

SunPositionResult SunPositionNoonEphemeris(int year, double dayOfYear, double zoneTime, double latitude,
                                           double longitude, double zoneMeridian, bool apparent) {
    const double d = dayOfYear + zoneMeridian / 360;
    return PositionWith(SolarDeclinationEoT(year, d), zoneTime, latitude, longitude, zoneMeridian, apparent);
}

HorizontalPosition SunPositionForDeclination(double zoneTime, double latitude, double longitude,
                                             double zoneMeridian, double declination) {
    return HorizontalFromHourAngle(15 * (zoneTime - 12) - (longitude - zoneMeridian), declination, latitude);
}

EquatorialPosition EquatorialFromHorizontal(double latitude, double altitude, double azimuth) {
    const double A = NormalizeAngle180(azimuth);
    const double sinPhi = SinDeg(latitude), cosPhi = CosDeg(latitude);
    const double sinH = SinDeg(altitude);
    // m is minus the sine of the declination.
    const double m = std::clamp(CosDeg(A) * CosDeg(altitude) * cosPhi - sinH * sinPhi, -1.0, 1.0);
    EquatorialPosition e;
    e.declination = std::abs(m - 1) < 1e-7 ? -90.0 : -AsinDeg(m);

    double o = std::sqrt(1 - m * m) * cosPhi;
    if (std::abs(o) < 1e-8) o = Sign(o) * 1e-7 + 5e-8;
    double c = (sinH + m * sinPhi) / o;
    if (std::abs(c) < 1e-8) c = (Sign(c) + 0.5) * 1e-7;
    e.hourAngle = AcosDeg(c);
    if (A < 0) e.hourAngle = -e.hourAngle;
    return e;
}

double IncidenceCosine(double altitude, double azimuth, double normalAltitude, double normalAzimuth) {
    return CosDeg(altitude) * CosDeg(normalAltitude) * CosDeg(azimuth - normalAzimuth) +
           SinDeg(altitude) * SinDeg(normalAltitude);
}

bool PlaneIsSunlit(double trueLocalTime, double declination, double latitude, double normalAltitude,
                   double normalAzimuth) {
    const HorizontalPosition p = HorizontalFromHourAngle(15 * (trueLocalTime - 12), declination, latitude);
    return IncidenceCosine(p.altitude, p.azimuth, normalAltitude, normalAzimuth) > 0;
}

namespace {

QString TwoDigits(long long n) { return n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n); }

}  // namespace

QString FormatAzimuthTime(double hours) {
    if (!std::isfinite(hours) || std::abs(hours) > 1e9) return {};
    long long whole = static_cast<long long>(std::trunc(hours));
    long long secs = std::llrint((hours - std::trunc(hours)) * 3600);
    // A fraction just below the full hour rounds to 3600 s; it belongs to the next hour.
    if (secs >= 3600) {
        secs -= 3600;
        ++whole;
    }
    return RealToText(3, 0, double(whole)) + QLatin1Char(':') + TwoDigits(secs / 60) + QLatin1Char(':') +
           TwoDigits(secs % 60) + QStringLiteral("  hh:mm:ss");
}

AzimuthTimeResult TimeForAzimuth(int year, int month, int day, double azimuth, double latitude, double longitude,
                                 double zoneMeridian, UserDialogs& dialogs, Language lang) {
    AzimuthTimeResult result;
    double az = azimuth == 0 ? 0.0001 : azimuth;
    const double phi = latitude;

    const double dayOfYear = ModifiedJulianDate(day, month, year, 0) - ModifiedJulianDate(0, 1, year, 0);
    const double decl = SolarDeclinationEoT(year, dayOfYear).declination;

    auto sunAt = [&](double zt) {
        return SunPosition(year, dayOfYear, zt, phi, longitude, zoneMeridian, true);
    };

    double s, e;
    if (az > 0) {
        s = 10.5;
        e = 24.99;
    } else {
        s = 0;
        e = 13.5;
    }
    if (phi < decl) std::swap(s, e);

    double a1 = sunAt(s).azimuth;
    double a2 = sunAt(e).azimuth;
    if (az > 0 && a2 < 0) a2 += 360;
    if (az < 0 && a1 > 0) a1 -= 360;
    if (a2 < a1) {
        std::swap(a1, a2);
        std::swap(s, e);
    }

    if (!(az >= a1 && az <= a2)) {
        dialogs.inform(caption(CaptionKind::Error, lang),
                       QStringLiteral("Fehler: Az1=") + RealToText(9, 2, a1) + QStringLiteral(" Azimut=") +
                           RealToText(8, 2, az) + QStringLiteral(" Az2=") + RealToText(8, 2, a2),
                       Icon::Error);
    }
    if (std::abs(phi) < std::abs(decl))
        dialogs.inform(caption(CaptionKind::Warning, lang), message(44, lang), Icon::Warning);

    double m = (s + e) / 2;
    double altitude = 0;
    // Each pass halves the bracket, so |s - e| falls below 1e-10 h within about 40 passes;
    // the cap only guards against arithmetic that never settles.
    for (int pass = 0; pass < 200; ++pass) {
        const double width = std::abs(a2 - a1);
        m = (s + e) / 2;
        const SunPositionResult p = sunAt(m);
        double q = p.azimuth;
        altitude = p.altitude;
        if (az * q < 0 && (q < a1 || q > a2)) q -= Sign(q) * 360;
        if (std::abs(az - q) < 0.005) break;
        if (a1 <= az && az <= q) {
            e = m;
            a2 = q;
        } else if (q <= az && az <= a2) {
            s = m;
            a1 = q;
        } else {
            dialogs.inform(caption(CaptionKind::Warning, lang),
                           message(31, lang) + QStringLiteral("\n\r") + message(32, lang), Icon::Warning);
            result.doubtful = true;
            break;
        }
        if (!(width >= 0.002 && std::abs(s - e) >= 1e-10)) break;
    }

    result.altitude = altitude;
    if (!(std::abs(s - e) >= 1e-10)) {
        dialogs.inform(caption(CaptionKind::Warning, lang), message(24, lang), Icon::Warning);
        return result;
    }
    result.found = true;
    result.zoneTime = m;
    result.timeText = FormatAzimuthTime(m);
    return result;
}

}  // namespace zorva
