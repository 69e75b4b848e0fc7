#pragma once
// Geometry of the quadrant family as plain functions of angles and millimetres, so that the
// constructions and their tests share one set of formulas.
//
// Gunter quadrant: a stereographic projection from the pole of the observer's hemisphere.
// The apex is the pole, the date circle of declination d has radius tan((90 - d) / 2) in
// units of the equator's radius, and a plumb line from the apex makes the sun's altitude with
// the edge of altitude 0.
//
// Habermel dials: a vertical disc facing the sun with a horizontal gnomon of length h at G,
// perpendicular to the disc. The tip's shadow falls straight below G at h tan(altitude); the
// disc is turned in its plane until the ray of the day points down, so every point of the
// dial is (date angle, shadow length) around G.

#include <QPointF>

namespace zorva {

// --- Gunter quadrant

// Radius of the date circle of `declination` in units of the equator's radius.
double GunterDateRadius(double declination);
// The point of (declination, altitude) in units of the equator's radius: x along the edge of
// altitude 0, y along the edge of altitude 90.
QPointF GunterPoint(double declination, double altitude);
// The sun's declination at ecliptic longitude `longitude`.
double EclipticDeclination(double longitude, double obliquity);
// Right ascension of ecliptic longitude `longitude`, folded into 0..90 degrees: the
// quadrant shows the northern and the southern half of the ecliptic over each other.
double EclipticFoldedRightAscension(double longitude, double obliquity);

// --- altitude of the sun

// Altitude of the sun at `hourAngle` on `declination` seen from `latitude`.
double AltitudeAt(double latitude, double declination, double hourAngle);
// Hour angle of temporal hour `temporalHour` (0 sunrise, 6 noon, 12 sunset) on `declination`;
// the half day arc is 90 degrees where the sun neither rises nor sets (never drawn there).
double TemporalHourAngle(double latitude, double declination, double temporalHour);

// --- Habermel dials

// The noon altitude of a declination at the latitude, for the hemisphere of the site: the
// sun of the local summer (declination of the site's sign) stands highest.
double SeasonalNoonAltitude(double latitude, double declination);

// Diameter of the Habermel disc in millimetres (kind 1: the disc; kind 2: the circle of the
// longest shadow plus 6 mm of margin all round). Infinite where the noon sun can reach the
// zenith (no longest shadow), NaN for kind 1 where the winter sun stays below the horizon at
// noon (no shortest noon shadow); the same dial serves northern and southern sites.
double HabermelDiameter(int kind, double gnomonMm, double latitude, double obliquity);

// The smallest and largest diameter the dialogs accept.
inline constexpr double kHabermelMinDiameter = 20.0;
inline constexpr double kHabermelMaxDiameter = 190.0;

// Kind 1: G lies `offsetMm` above the disc's centre on the vertical diameter; the disc has
// radius `radiusMm`. Noon of the summer solstice falls on the far rim through the centre,
// noon of the winter solstice on the near rim above G.
struct HabermelDisc {
    double offsetMm = 0.0;  // c = h (tan aS - tan aW) / 2
    double radiusMm = 0.0;  // rho = h (tan aS + tan aW) / 2
};
HabermelDisc HabermelKind1Disc(double gnomonMm, double latitude, double obliquity);
// The angle at G between the direction to the centre and the ray of `declination` on which
// the noon shadow reaches the rim: c cos t + sqrt(rho^2 - c^2 sin^2 t) = h tan(noon altitude).
// 0 for the summer solstice, 180 for the winter solstice.
double HabermelKind1DateAngle(const HabermelDisc& disc, double gnomonMm, double latitude, double declination);
// Distance from G to the rim along the ray at `angle` (as above).
double HabermelKind1RimDistance(const HabermelDisc& disc, double angle);

// Kind 2: the year once round G at an even pace, 21 June on the downward ray and the days
// after it turning toward +x (the angle of RayDirection).
double HabermelKind2DateAngle(int dayOfYear, int june21, int daysInYear);

// Direction of a ray at `angle` from the downward ray toward +x, in drawing coordinates
// (y down).
QPointF RayDirection(double angle);

}  // namespace zorva
