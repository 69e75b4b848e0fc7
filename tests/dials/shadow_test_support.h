#pragma once
// What the shadow tests share: strokes as segments, distances to them at true scale, the
// strokes one drawing adds to another, and the clock time of an apparent hour.

#include "dials/live_shadow.h"

#include <QPointF>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace zorva::test {

using Segment = std::pair<QPointF, QPointF>;

// 0.2 mm at true scale: 2 units of the page.
inline constexpr double kShadowTolerance = 2.0;

inline double Distance(QPointF p, const std::vector<Segment>& segments) {
    double best = 1e300;
    for (const auto& [a, b] : segments) {
        const QPointF ab = b - a, ap = p - a;
        const double len2 = QPointF::dotProduct(ab, ab);
        const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(ap, ab) / len2, 0.0, 1.0) : 0.0;
        const QPointF q = a + t * ab;
        best = std::min(best, std::hypot(p.x() - q.x(), p.y() - q.y()));
    }
    return best;
}

// The segments of `with` that `without` does not have: what a line turned on drew.
inline std::vector<Segment> AddedSegments(const std::vector<Segment>& without, std::vector<Segment> with) {
    std::erase_if(with, [&](const Segment& a) {
        return std::any_of(without.begin(), without.end(),
                           [&](const Segment& b) { return a.first == b.first && a.second == b.second; });
    });
    return with;
}

// The clock time of the zone at which apparent time `hour` (of the site, or with `zone` of the
// zone meridian) is read in 2027: the EoT of that instant taken in two steps.
inline ShadowMoment ApparentHourMoment(const DialState& s, int month, int day, double hour, bool zone) {
    const double shift = zone ? 0.0 : (s.longitude - s.zoneMeridian) / 15;
    ShadowMoment m{2027, month, day, hour + shift};
    for (int k = 0; k < 2; ++k) m.zoneHour = hour + shift - SunAtMoment(s, m).eot / 15;
    return m;
}

}  // namespace zorva::test
