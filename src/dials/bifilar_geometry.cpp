#include "dials/bifilar_geometry.h"

#include <cmath>

namespace zorva {

BifilarProblem CheckThreads(double a, double b) {
    if (!(a > 0.0) || !(b > 0.0) || !std::isfinite(a) || !std::isfinite(b)) return BifilarProblem::ThreadOnPlane;
    // Threads closer than a thousandth of their distance would touch where they cross.
    if (std::abs(a - b) <= 1e-3 * std::max(a, b)) return BifilarProblem::ThreadsTouch;
    return BifilarProblem::None;
}

BifilarDial::BifilarDial(const PlaneFrame& plane, double latitude, double a, double b)
    : plane_(plane), phi_(latitude), a_(a), b_(b) {}

std::optional<QPointF> BifilarDial::shadow(const Vec3& s) const {
    const double front = s.dot(plane_.normal);
    if (front < 1e-9) return std::nullopt;
    // The up-down thread at a n + k up throws its shadow at x = -a (s.right) / (s.n);
    // the cross thread at b n + k right at y = -b (s.up) / (s.n).
    return QPointF(-a_ * s.dot(plane_.right) / front, -b_ * s.dot(plane_.up) / front);
}

std::optional<QPointF> BifilarDial::at(double t, double delta) const { return shadow(SunDirection(t, delta, phi_)); }

std::optional<QPointF> BifilarDial::hourLineCentre() const {
    // Either end of the axis gives the same point; no front face to check.
    const Vec3 pole = NorthPole(phi_);
    const double den = pole.dot(plane_.normal);
    if (std::abs(den) < 1e-9) return std::nullopt;
    return QPointF(-a_ * pole.dot(plane_.right) / den, -b_ * pole.dot(plane_.up) / den);
}

bool BifilarDial::lit(double t, double delta) const {
    const Vec3 s = SunDirection(t, delta, phi_);
    return s.z > 0.0 && s.dot(plane_.normal) > 1e-9;
}

std::optional<double> EvenSpacingThread(const PlaneFrame& plane, double latitude, double a) {
    const Vec3 pole = NorthPole(latitude);
    if (std::abs(pole.dot(plane.right)) > 1e-9) return std::nullopt;  // declining
    const double cosAxis = std::abs(pole.dot(plane.normal));
    if (cosAxis < 1e-9) return std::nullopt;  // the axis lies in the plane: no centre
    return a * cosAxis;
}

}  // namespace zorva
