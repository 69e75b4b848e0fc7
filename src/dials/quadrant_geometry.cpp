#include "dials/quadrant_geometry.h"

#include "astro/angles.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorva {

double GunterDateRadius(double declination) { return TanDeg((90.0 - declination) / 2.0); }

QPointF GunterPoint(double declination, double altitude) {
    const double rho = GunterDateRadius(declination);
    return {rho * CosDeg(altitude), rho * SinDeg(altitude)};
}

double EclipticDeclination(double longitude, double obliquity) {
    return AsinDeg(SinDeg(obliquity) * SinDeg(longitude));
}

double EclipticFoldedRightAscension(double longitude, double obliquity) {
    // atan2 keeps the quadrant of the longitude; the southern half (180..360) folds onto the
    // northern one by 180 degrees.
    double alpha = std::atan2(CosDeg(obliquity) * SinDeg(longitude), CosDeg(longitude)) / kDegToRad;
    alpha = NormalizeAngle360(alpha);
    if (alpha >= 180.0) alpha -= 180.0;
    return alpha > 90.0 ? 180.0 - alpha : alpha;
}

double AltitudeAt(double latitude, double declination, double hourAngle) {
    return AsinDeg(SinDeg(latitude) * SinDeg(declination) + CosDeg(latitude) * CosDeg(declination) * CosDeg(hourAngle));
}

double TemporalHourAngle(double latitude, double declination, double temporalHour) {
    const double x = -TanDeg(latitude) * TanDeg(declination);
    const double halfArc = std::abs(x) > 1.0 ? 90.0 : AcosDeg(x);
    return (temporalHour - 6.0) * halfArc / 6.0;
}

double SeasonalNoonAltitude(double latitude, double declination) {
    return 90.0 - std::abs(latitude) + (latitude < 0 ? -declination : declination);
}

namespace {

// The summer and winter noon altitudes of the site's hemisphere.
void SolsticeNoons(double latitude, double obliquity, double& summer, double& winter) {
    summer = 90.0 - std::abs(latitude) + obliquity;
    winter = 90.0 - std::abs(latitude) - obliquity;
}

}  // namespace

double HabermelDiameter(int kind, double gnomonMm, double latitude, double obliquity) {
    double summer = 0, winter = 0;
    SolsticeNoons(latitude, obliquity, summer, winter);
    // A noon sun in the zenith casts no finite shadow: no disc can hold the dial.
    if (summer >= 90.0) return std::numeric_limits<double>::infinity();
    if (kind == 2) return TanDeg(summer) * 2.0 * gnomonMm + 12.0;
    if (winter <= 0.0) return std::numeric_limits<double>::quiet_NaN();
    return (TanDeg(winter) + TanDeg(summer)) * gnomonMm;
}

HabermelDisc HabermelKind1Disc(double gnomonMm, double latitude, double obliquity) {
    double summer = 0, winter = 0;
    SolsticeNoons(latitude, obliquity, summer, winter);
    const double s = gnomonMm * TanDeg(summer), w = gnomonMm * TanDeg(winter);
    return {(s - w) / 2.0, (s + w) / 2.0};
}

double HabermelKind1DateAngle(const HabermelDisc& disc, double gnomonMm, double latitude, double declination) {
    // The triangle G, centre, rim point: sides c, rho and the noon shadow d; the law of
    // cosines gives the angle at G.
    const double d = gnomonMm * TanDeg(SeasonalNoonAltitude(latitude, declination));
    const double c = disc.offsetMm, rho = disc.radiusMm;
    if (c <= 0.0 || d <= 0.0) return 90.0;
    const double cosine = (d * d + c * c - rho * rho) / (2.0 * d * c);
    return AcosDeg(std::clamp(cosine, -1.0, 1.0));
}

double HabermelKind1RimDistance(const HabermelDisc& disc, double angle) {
    const double c = disc.offsetMm, rho = disc.radiusMm;
    const double s = SinDeg(angle);
    return c * CosDeg(angle) + std::sqrt(std::max(0.0, rho * rho - c * c * s * s));
}

double HabermelKind2DateAngle(int dayOfYear, int june21, int daysInYear) {
    return 360.0 * (dayOfYear - june21) / std::max(1, daysInYear);
}

QPointF RayDirection(double angle) { return {SinDeg(angle), CosDeg(angle)}; }

}  // namespace zorva
