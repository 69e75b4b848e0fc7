#pragma once
// Geometry of the bifilar dial: two straight threads stretched parallel to the dial plane,
// one along the plane's up-down line at distance a, one across at distance b. The time is
// read where the shadows of the two threads cross. The shadow of the first thread fixes the
// crossing's x, that of the second its y, so the dial is the nodus dial of the same plane
// stretched by a across and by b along — its hour lines stay straight and meet in the
// stretched style foot.
// Coordinates on the plane: x to the right (east on a level dial or a south wall), y up
// (north on a level dial), in the unit of a and b.

#include "dials/dial_space.h"

#include <QPointF>

#include <optional>

namespace zorva {

enum class BifilarProblem {
    None,
    ThreadOnPlane,   // a distance of zero (or less): the thread lies on the plane
    ThreadsTouch,    // equal distances: the threads would cross each other
};
BifilarProblem CheckThreads(double a, double b);

class BifilarDial {
public:
    // `plane` as the planar dials have it (FrameOfPlane / FrameOfNormal); a and b are the
    // distances of the up-down thread and of the cross thread from the plane.
    BifilarDial(const PlaneFrame& plane, double latitude, double a, double b);

    const PlaneFrame& plane() const { return plane_; }
    double threadA() const { return a_; }
    double threadB() const { return b_; }

    // Shadow of the threads' crossing for the sun in direction `towardSun`; none when the
    // sun is behind the plane or grazes it.
    std::optional<QPointF> shadow(const Vec3& towardSun) const;
    std::optional<QPointF> at(double hourAngle, double declination) const;

    // The point every hour line passes through (the sun on the celestial pole would cast
    // the crossing's shadow there); none when the axis runs parallel to the plane.
    std::optional<QPointF> hourLineCentre() const;

    // The sun can shine on the plane's front from above the horizon at (t, delta).
    bool lit(double hourAngle, double declination) const;

private:
    PlaneFrame plane_;
    double phi_;
    double a_, b_;
};

// The distance of the cross thread that spaces the hour lines of a plane facing the
// meridian evenly by 15 degrees (a sin|phi| on level ground, a cos phi on a south wall);
// none for a declining plane, where no such distance exists.
std::optional<double> EvenSpacingThread(const PlaneFrame& plane, double latitude, double a);

}  // namespace zorva
