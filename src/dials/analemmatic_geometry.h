#pragma once
// Geometry of the analemmatic dial: hour points on an ellipse and a gnomon that is moved
// along a date scale. The construction is done in space, so that one method serves the level
// dial, the wall dial and gnomons leaning toward the pole:
//  - the hour circle of radius M lies in the equatorial plane through the origin; its point
//    for hour angle t is the shadow, in that plane, of the point M tan(delta) along the axis;
//  - projecting the circle along the gnomon's direction onto the dial plane gives the hour
//    points, projecting the axis point gives the gnomon's foot for the day. A sun ray runs
//    through both space points, so the plane of the gnomon and the sun always holds the
//    hour point: the shadow of the gnomon passes through it.
// Coordinates on the plane: x to the right (east on a level dial or a south wall), y up
// (north on a level dial), in the unit of M. Angles in degrees.

#include "dials/dial_space.h"

#include <QPointF>

#include <optional>

namespace zorva {

struct AnalemmaticInput {
    double latitude = 0.0;
    double semiMajor = 1.0;          // M, half the east-west width of the ellipse
    bool vertical = false;           // on a wall instead of level ground
    double wallDeclination = 0.0;    // azimuth the wall faces (from south, positive west)
    double gnomonAngle = 90.0;       // z: the gnomon's angle to the plane, leaning toward the
                                     // elevated pole when below 90 (45 + |phi|/2 on level
                                     // ground makes the hour scale a circle)
};

enum class AnalemmaticProblem {
    None,
    NoSize,            // M not positive
    FlatEllipse,       // the hour points collapse onto a line (latitude 0 for a level dial)
    NoDateScale,       // the gnomon would not move with the date (latitude +-90)
    GnomonTooFlat,     // gnomon angle outside 5..175 degrees
};
AnalemmaticProblem CheckAnalemmatic(const AnalemmaticInput& input);

// The angle that makes a level dial's hour scale a circle.
double CircularScaleGnomonAngle(double latitude);

class AnalemmaticDial {
public:
    explicit AnalemmaticDial(const AnalemmaticInput& input);

    const PlaneFrame& plane() const { return plane_; }
    Vec3 gnomonDirection() const { return gnomon_; }
    double semiMajor() const { return m_; }
    double latitude() const { return phi_; }

    // Hour point of hour angle t (true solar time: t = 15 (T - 12)).
    QPointF hourPoint(double hourAngle) const;
    // Foot of the gnomon on the date scale for the sun's declination.
    QPointF gnomonFoot(double declination) const;
    // Semi-axes of the hour ellipse on the plane (the second carries the sign of its
    // direction along y: negative when noon lies below the centre).
    double semiMinor() const { return hourPoint(0.0).y(); }

    // Mean time as figure-eights: the point of mean-time hour angle tau on a day of
    // declination delta and equation of time eot (apparent minus mean, degrees). It lies on
    // the shadow line through the true hour point, pushed outward in summer and inward in
    // winter so that a year's points form a loop that the reader picks by season.
    QPointF meanTimePoint(double tau, double declination, double eot, double obliquity = 23.44) const;

    // Where the shadow of the gnomon's top falls, the gnomon being `length` long from its
    // foot for the sun of `declination`; false when the sun is behind the plane.
    bool shadowOfTop(const Vec3& towardSun, double declination, double length, QPointF& at) const;
    // Direction of the gnomon's shadow on the plane (not normalised); none when the sun is
    // behind the plane.
    std::optional<QPointF> shadowDirection(const Vec3& towardSun) const;
    // Hour angle of the ellipse point the gnomon's shadow crosses, the gnomon standing on the
    // date of `declination`: the dial's reading. Where the shadow's ray meets the ellipse
    // twice (a foot outside it, near the equator) the crossing nearer `nearHourAngle` is the
    // one the day's sun can give. None when the sun is behind the plane or the ray misses.
    std::optional<double> shadowReading(const Vec3& towardSun, double declination, double nearHourAngle) const;

    // The shortest gnomon whose shadow reaches the hour point at every hour the sun shines
    // on the plane, the year round (declination within +-obliquity); with `toFigureEights`
    // the points of the mean-time figure-eights, which summer pushes outward.
    double minimumGnomonLength(double obliquity = 23.44, bool toFigureEights = false) const;

    // True when the sun can stand above the horizon and in front of the plane at hour
    // angle t on some day of the year.
    bool hourCanBeLit(double hourAngle, double obliquity = 23.44) const;

private:
    // How far a mean-time point lies beyond (summer) or short of (winter) the true hour
    // point, as a factor of its distance from the gnomon's foot.
    double seasonStretch(double declination, double obliquity) const;
    QPointF along(const Vec3& space) const;  // projected along the gnomon onto the plane
    PlaneFrame plane_;
    Vec3 gnomon_;
    Vec3 northPole_;
    double phi_ = 0.0;
    double m_ = 1.0;
};

// The minimum gnomon length of a level dial in closed form: M (cos|phi| + tan(eps) sin|phi|)
// / sin z, the shadow of noon at the summer solstice.
double LevelDialMinimumGnomon(double semiMajor, double latitude, double gnomonAngle, double obliquity = 23.44);

}  // namespace zorva
