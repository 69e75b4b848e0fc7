#pragma once
// The quadrant family's instruments placed in space (x east, y north, z up, millimetres), so
// that a test can hold a drawn dial to the sun of a date and time: the plate facing the sun
// with its gnomon, the quadrant aimed at the sun with its plumb line.

#include "astro/sun_position.h"
#include "dials/dial_space.h"

#include <QPointF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorva::test {

using Vec3 = zorva::Vec3;

// Toward the sun: azimuth from south, positive toward west (west is -x).
inline Vec3 TowardSun(const SunPositionResult& sun) {
    const double a = sun.altitude * M_PI / 180, z = sun.azimuth * M_PI / 180;
    return {-std::cos(a) * std::sin(z), -std::cos(a) * std::cos(z), std::sin(a)};
}

// A vertical plate turned to face the sun, a horizontal gnomon of `gnomonMm` standing out of
// it at G: where the tip's shadow falls, as (across, down) from G in the plate's plane.
inline QPointF PlateShadow(const SunPositionResult& sun, double gnomonMm) {
    const Vec3 s = TowardSun(sun);
    const Vec3 normal = Vec3{s.x, s.y, 0}.unit();
    const Vec3 tip = normal * gnomonMm;
    // The ray from the tip away from the sun meets the plate (through G, normal `normal`).
    const double k = tip.dot(normal) / s.dot(normal);
    const Vec3 shadow = tip - s * k;
    const Vec3 across{-normal.y, normal.x, 0};
    return {shadow.dot(across), -shadow.z};
}

// A quadrant held in the vertical plane of the sun with its edge of altitude 90 pointing from
// the apex away from the sun: the plumb line from the apex as (along the edge of altitude 90,
// along the edge of altitude 0), a unit vector in the quadrant's plane.
inline QPointF PlumbLine(const SunPositionResult& sun) {
    const Vec3 s = TowardSun(sun);
    const Vec3 e1 = s * -1.0;
    const Vec3 down{0, 0, -1};
    const Vec3 e2 = (down - e1 * down.dot(e1)).unit();
    return {down.dot(e1), down.dot(e2)};
}

// The shortest distance from `q` to the polylines.
inline double DistanceToLines(const std::vector<std::vector<QPointF>>& lines, QPointF q) {
    double best = 1e18;
    for (const auto& line : lines) {
        for (size_t i = 1; i < line.size(); ++i) {
            const QPointF a = line[i - 1], e = line[i] - a;
            const double len2 = e.x() * e.x() + e.y() * e.y();
            double u = len2 > 0 ? ((q.x() - a.x()) * e.x() + (q.y() - a.y()) * e.y()) / len2 : 0.0;
            u = std::clamp(u, 0.0, 1.0);
            const QPointF f = a + e * u;
            best = std::min(best, std::hypot(q.x() - f.x(), q.y() - f.y()));
        }
    }
    return best;
}

// Where the polyline `line` crosses the ray from `from` through `to` (beyond `from`); false
// when it does not.
inline bool CrossingWithRay(const std::vector<QPointF>& line, QPointF from, QPointF to, QPointF& at) {
    const QPointF d = to - from;
    for (size_t i = 1; i < line.size(); ++i) {
        const QPointF a = line[i - 1], b = line[i];
        const QPointF e = b - a;
        const double den = d.x() * e.y() - d.y() * e.x();
        if (std::abs(den) < 1e-12) continue;
        const QPointF w = a - from;
        const double t = (w.x() * e.y() - w.y() * e.x()) / den;  // along the ray
        const double u = (w.x() * d.y() - w.y() * d.x()) / den;  // along the segment
        if (t >= 0 && u >= -1e-9 && u <= 1 + 1e-9) {
            at = from + d * t;
            return true;
        }
    }
    return false;
}

}  // namespace zorva::test
