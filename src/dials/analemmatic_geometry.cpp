#include "dials/analemmatic_geometry.h"

#include "astro/angles.h"

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

// Below about one degree of latitude (or of distance from a pole) the figure is a line:
// readable on paper, useless on the ground.
constexpr double kDegenerate = 0.0174524;  // sin 1 degree

PlaneFrame FrameOf(const AnalemmaticInput& in) {
    return in.vertical ? FrameOfPlane(90.0, in.wallDeclination) : FrameOfPlane(0.0, 0.0);
}

Vec3 GnomonOf(const AnalemmaticInput& in, const PlaneFrame& plane) {
    // Leaning within the plane's up-down line, toward the side of the elevated pole.
    const double side = ElevatedPole(in.latitude).dot(plane.up) < 0 ? -1.0 : 1.0;
    return plane.normal * SinDeg(in.gnomonAngle) + plane.up * (side * CosDeg(in.gnomonAngle));
}

}  // namespace

double CircularScaleGnomonAngle(double latitude) { return 45.0 + std::abs(latitude) / 2.0; }

AnalemmaticProblem CheckAnalemmatic(const AnalemmaticInput& in) {
    if (!(in.semiMajor > 0.0) || !std::isfinite(in.semiMajor)) return AnalemmaticProblem::NoSize;
    if (!(in.gnomonAngle >= 5.0 && in.gnomonAngle <= 175.0)) return AnalemmaticProblem::GnomonTooFlat;
    if (!std::isfinite(in.latitude) || std::abs(in.latitude) > 90.0) return AnalemmaticProblem::FlatEllipse;
    const AnalemmaticDial dial(in);
    const QPointF a = dial.hourPoint(90.0) / in.semiMajor, b = dial.hourPoint(0.0) / in.semiMajor;
    if (std::abs(a.x() * b.y() - a.y() * b.x()) < kDegenerate) return AnalemmaticProblem::FlatEllipse;
    // tan 45 = 1: the scale's length per unit of tan(delta)
    const QPointF f = dial.gnomonFoot(45.0) / in.semiMajor;
    if (std::hypot(f.x(), f.y()) < kDegenerate) return AnalemmaticProblem::NoDateScale;
    return AnalemmaticProblem::None;
}

AnalemmaticDial::AnalemmaticDial(const AnalemmaticInput& in)
    : plane_(FrameOf(in)), gnomon_(GnomonOf(in, plane_)), northPole_(NorthPole(in.latitude)),
      phi_(in.latitude), m_(in.semiMajor) {}

QPointF AnalemmaticDial::along(const Vec3& v) const {
    Vec3 at;
    if (!MeetPlane(plane_, v, gnomon_, at)) return {0.0, 0.0};
    return plane_.onPlane(at);
}

QPointF AnalemmaticDial::hourPoint(double t) const {
    // Opposite the equinoctial sun's hour direction: where the axis point's shadow falls.
    return along(SunDirection(t, 0.0, phi_) * -m_);
}

QPointF AnalemmaticDial::gnomonFoot(double delta) const { return along(northPole_ * (m_ * TanDeg(delta))); }

QPointF AnalemmaticDial::meanTimePoint(double tau, double delta, double eot, double obliquity) const {
    const QPointF foot = gnomonFoot(delta);
    const QPointF onEllipse = hourPoint(tau + eot);
    return foot + (onEllipse - foot) * seasonStretch(delta, obliquity);
}

double AnalemmaticDial::seasonStretch(double delta, double obliquity) const {
    return 1.0 + 0.12 * (phi_ < 0 ? -delta : delta) / obliquity;
}

bool AnalemmaticDial::shadowOfTop(const Vec3& s, double delta, double length, QPointF& at) const {
    if (s.dot(plane_.normal) <= 0.0) return false;
    const Vec3 top = plane_.inSpace(gnomonFoot(delta)) + gnomon_ * length;
    Vec3 shadow;
    if (!MeetPlane(plane_, top, s, shadow)) return false;
    at = plane_.onPlane(shadow);
    return true;
}

std::optional<QPointF> AnalemmaticDial::shadowDirection(const Vec3& s) const {
    const double front = s.dot(plane_.normal);
    if (front <= 1e-9) return std::nullopt;
    // The top's shadow runs from the foot along the gnomon pushed back along the sun's ray.
    return plane_.onPlane(gnomon_ - s * (gnomon_.dot(plane_.normal) / front));
}

std::optional<double> AnalemmaticDial::shadowReading(const Vec3& s, double delta, double near) const {
    const auto d = shadowDirection(s);
    if (!d) return std::nullopt;
    // The ellipse is linear in (cos t, sin t): E(t) = cos t P + sin t Q. It meets the line
    // through the foot F along d where cross(E - F, d) = 0, i.e. A cos t + B sin t = C.
    auto cross = [](QPointF a, QPointF b) { return a.x() * b.y() - a.y() * b.x(); };
    const QPointF p = hourPoint(0.0), q = hourPoint(90.0), f = gnomonFoot(delta);
    const double a = cross(p, *d), b = cross(q, *d), c = cross(f, *d);
    const double r = std::hypot(a, b);
    if (r < 1e-12 * m_ || std::abs(c) > r) return std::nullopt;
    const double mid = std::atan2(b, a) / kDegToRad, spread = std::acos(std::clamp(c / r, -1.0, 1.0)) / kDegToRad;
    std::optional<double> best;
    double bestGap = 0.0;
    for (double t : {mid - spread, mid + spread}) {
        const QPointF e = hourPoint(t) - f;
        if (e.x() * d->x() + e.y() * d->y() <= 0.0) continue;  // toward the sun: no shadow there
        const double gap = std::abs(std::remainder(t - near, 360.0));
        if (!best || gap < bestGap) {
            best = near + std::remainder(t - near, 360.0);
            bestGap = gap;
        }
    }
    return best;
}

double AnalemmaticDial::minimumGnomonLength(double obliquity, bool toFigureEights) const {
    // The top's shadow moves along the hour point's line in proportion to the length, so
    // each sun gives the length that just reaches; the largest over the year is needed.
    double longest = 0.0;
    constexpr int kDays = 48;
    for (int k = 0; k <= kDays; ++k) {
        const double delta = -obliquity + 2.0 * obliquity * k / kDays;
        const Vec3 foot = plane_.inSpace(gnomonFoot(delta));
        for (int step = -720; step <= 720; ++step) {
            const double t = step * 0.25;
            const Vec3 s = SunDirection(t, delta, phi_);
            const double front = s.dot(plane_.normal);
            if (s.z <= 0.0 || front <= 1e-9) continue;
            const Vec3 reach = gnomon_ - s * (gnomon_.dot(plane_.normal) / front);  // per unit length
            const Vec3 need = (plane_.inSpace(hourPoint(t)) - foot) * (toFigureEights ? seasonStretch(delta, obliquity) : 1.0);
            const double r2 = reach.dot(reach);
            if (r2 < 1e-18) continue;
            longest = std::max(longest, need.dot(reach) / r2);
        }
    }
    return longest;
}

bool AnalemmaticDial::hourCanBeLit(double t, double obliquity) const {
    for (int k = 0; k <= 16; ++k) {
        const double delta = -obliquity + 2.0 * obliquity * k / 16;
        const Vec3 s = SunDirection(t, delta, phi_);
        if (s.z > 0.0 && s.dot(plane_.normal) > 0.0) return true;
    }
    return false;
}

double LevelDialMinimumGnomon(double m, double latitude, double z, double obliquity) {
    const double phi = std::abs(latitude);
    return m * (CosDeg(phi) + TanDeg(obliquity) * SinDeg(phi)) / SinDeg(z);
}

}  // namespace zorva
