#pragma once
// Geometry of the cone-shadow mean-time dial: a straight cone standing on the dial plane
// casts a shadow bounded by the two tangents from the apex's shadow to the cone's base
// ellipse. Two days with the same declination but different equations of time give two
// such edges; where they cross is the dial point of a mean time.
//
// Coordinates of this module: x toward the east of the (equivalent horizontal) plane, y
// toward its north, both in the unit of the axis length L, origin at the ellipse centre.

#include <QPointF>

#include <optional>
#include <vector>

namespace zorva {

// The base ellipse of a cone with axis length L (apex to plane along the axis), axis
// inclination psi and half opening angle alpha (degrees).
struct ConeEllipse {
    double a = 0.0;           // semi-axis across the meridian
    double b = 0.0;           // semi-axis along the meridian
    double c = 0.0;           // axis foot, north of the centre
    double apexFoot = 0.0;    // c + L cos psi: below the apex
    double apexHeight = 0.0;  // L sin psi
    double L = 0.0;
    double psi = 0.0, alpha = 0.0;
    double ellipticRadius(double x, double y) const;
};

// True when the angles are too small or psi is not larger than alpha (the input error box).
bool ConeAnglesRefused(double alpha, double psi);
// The ellipse; none when the angles are refused or the cone meets the plane in no ellipse
// (the far generator runs parallel to or away from the plane).
std::optional<ConeEllipse> ConeEllipseFor(double L, double alpha, double psi);

// Shadow of the apex for the sun at hour angle t on declination delta, latitude phi of the
// (equivalent) horizontal plane. `Y` of the result is sin(altitude) / cos(delta); the
// shadow exists only where it is positive.
struct ApexShadow {
    QPointF at;
    double Y = 0.0;
};
ApexShadow ApexShadowAt(const ConeEllipse& cone, double phi, double t, double delta);

// The same from sines and cosines worked out beforehand: the dial traces tens of thousands
// of points over a few hundred days.
struct SunAngles {
    double sinPhi = 0, cosPhi = 1;  // latitude of the (equivalent) horizontal plane
    double tanDelta = 0;
    double sinT = 0, cosT = 1;      // hour angle
};
ApexShadow ApexShadowFrom(const ConeEllipse& cone, const SunAngles& sun);

// The shadow edge through `apex` touching the ellipse: y = k x + q. `upper` picks the root
// with the positive square root.
struct ShadowEdge {
    double k = 0.0;
    double q = 0.0;
};
std::optional<ShadowEdge> ShadowEdgeFrom(const ConeEllipse& cone, QPointF apex, bool upper);

// Crossing of two edges.
QPointF EdgeCrossing(const ShadowEdge& first, const ShadowEdge& second);

// The dial point for equation-of-time hour angles t1 (first edge) and t2 (second edge).
struct MeanTimePoint {
    QPointF at;
    bool valid = false;        // both apex shadows exist outside the ellipse
    double radius = 0.0;       // elliptical radius of the point
};
MeanTimePoint CrossingPoint(const ConeEllipse& cone, double phi, double delta, double t1, double t2);
MeanTimePoint CrossingPointFrom(const ConeEllipse& cone, const SunAngles& first, const SunAngles& second);

// --- days of equal declination

struct DayPair {
    int dayA = 0;           // June to December solstice
    int dayB = 0;           // the other half, counted back through 1 January (late December
                            // of the same year stands for the one before)
    double declinationA = 0.0, declinationB = 0.0;
    double eotA = 0.0, eotB = 0.0;  // degrees
    double meanDeclination() const { return (declinationA + declinationB) / 2; }
};

struct DayValues {
    double declination = 0.0;
    double eot = 0.0;
};
// Pairs from a table of the year's days (index 0 = day 1, noon values). Empty when the
// table holds no solstices.
std::vector<DayPair> PairDays(const std::vector<DayValues>& days);
// The same for the reference year from the solar ephemeris.
std::vector<DayPair> PairDaysOfYear(int year);

// Declination at which the sun enters sign i (0 = June solstice, 6 = December solstice).
double SignDeclination(int i, double obliquity = 23.44);
// Index of the pair whose mean declination is nearest; -1 for none.
int NearestPair(const std::vector<DayPair>& pairs, double declination);
// Index of the pair whose day A is `day`, else the one with the nearest A.
int PairOfDay(const std::vector<DayPair>& pairs, int day);

// --- the unfolded mantle

struct Mantle {
    double sectorDeg = 0.0;          // opening of the unfolded sector
    std::vector<QPointF> rim;        // (generator length, angle in the development, degrees)
    double shortest = 0.0, longest = 0.0;  // generator lengths
};
// Generator length at angle theta round the axis (0 = the longest, toward the south vertex).
double GeneratorLength(const ConeEllipse& cone, double thetaDeg);
Mantle UnfoldMantle(const ConeEllipse& cone, int steps = 360);

}  // namespace zorva
