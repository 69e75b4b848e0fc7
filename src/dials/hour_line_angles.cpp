#include "dials/hour_line_angles.h"

#include "astro/angles.h"
#include "astro/horizon_profile.h"
#include "astro/sun_position.h"
#include "astro/time_format.h"
#include "dials/dial_geometry.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <cmath>

namespace zorva {

HourLineAngles ComputeHourLineAngles(const DialState& s, bool withLitRange) {
    HourLineAngles out;
    DialPlane plane = PlaneOfState(s);
    plane.g = 100.0;  // angles do not depend on the scale
    plane.halfWidth = 1e9;
    plane.ox = -1e9;
    plane.oy = -1e9;
    plane.height = 2e9;
    const Offset foot = LimitOffset(StyleFootPoint(plane), 1e7);
    const double sx = foot.dx, sy = -foot.dy;
    const double sign = s.dialType == 'h' ? 1.0 : -1.0;
    const double lambdaRef = s.localTimeDisplay ? s.zoneMeridian : s.longitude;
    const int k = LinesPerHour(s.hourLineInterval);
    for (int h = std::clamp(s.hourFrom, 0, 24); h <= std::clamp(s.hourTo, 0, 24); ++h) {
        for (int j = 0; j < k; ++j) {
            const double T = h + static_cast<double>(j) / k;
            if (T > s.hourTo + 1e-9) break;
            HourLineAngleRow row;
            row.time = T;
            const double t = 15.0 * (T - 12.0) - (lambdaRef - s.zoneMeridian) + 15.0 * plane.hourShift;
            // Any day on which the sun lights the plane at that time shows the line's direction.
            for (double decl : {0.0, 12.0, -12.0, 23.0, -23.0}) {
                const HorizontalPosition sun = HorizontalFromHourAngle(t, decl, plane.effectiveLatitude);
                const ShadowSample p = ShadowPoint(sun.altitude, sun.azimuth, plane);
                if (!p.visible) continue;
                const double dx = p.x - sx, dy = p.y - sy;
                if (std::hypot(dx, dy) < 1e-9) continue;
                row.angle = std::atan2(sign * -dx, sign * -dy) / kDegToRad;
                if (std::abs(row.angle) < 1e-9) row.angle = 0.0;  // no "-0.00" for the noon line
                break;
            }
            out.rows.push_back(row);
            out.table.angle[static_cast<size_t>(h)][static_cast<size_t>(j)] = row.angle;
        }
    }
    if (!withLitRange) return out;
    // The hour angles (true local time) between which the sun can reach the real plane.
    double nAlt = 90.0, nAz = 0.0;
    if (s.dialType == 'v') {
        nAlt = 0.0;
        nAz = s.wallDeclination;
    } else if (s.dialType == 'i') {
        nAlt = 90.0 - s.planeInclination;
        nAz = s.wallDeclination;
    }
    // A loaded horizon profile hides the sun behind the terrain too.
    const HorizonProfile* terrain = s.horizonProfile.get();
    double first = 999, last = -999;
    for (int d = -8; d <= 8; ++d) {
        const double decl = 23.44 * d / 8.0;
        for (int i = 0; i <= 720; ++i) {
            const double t = -180.0 + 0.5 * i;
            const HorizontalPosition sun = HorizontalFromHourAngle(t, decl, s.latitude);
            if (sun.altitude <= 0 || IncidenceCosine(sun.altitude, sun.azimuth, nAlt, nAz) <= 0) continue;
            if (terrain && SunBehindTerrain(*terrain, sun.azimuth, sun.altitude)) continue;
            first = std::min(first, t);
            last = std::max(last, t);
        }
    }
    if (first <= last) {
        out.table.litRangeKnown = true;
        out.table.firstLitHourAngle = first;
        out.table.lastLitHourAngle = last;
        // The times are read in the dial's own time: apparent time at the zone meridian when
        // the hour lines are drawn for it, else local apparent time.
        const double shift = s.localTimeDisplay ? (s.longitude - s.zoneMeridian) / 15.0 : 0.0;
        out.sunlitPeriod = FormatHourMin(12.0 + first / 15.0 + shift) + QStringLiteral(" - ") +
                           FormatHourMin(12.0 + last / 15.0 + shift);
    }
    return out;
}

QStringList HourLineAngleTableLines(const DialState& s, const HourLineAngles& angles) {
    QStringList lines;
    lines << title(29, s.language) + title(30, s.language);
    lines << QStringLiteral("  [hh;mm]    [dd.dd]   tan(alpha)");
    for (const HourLineAngleRow& r : angles.rows) {
        const int minutes = static_cast<int>(std::lround(r.time * 60));
        QString line = QStringLiteral("  %1:%2  ").arg(minutes / 60, 2, 10, QLatin1Char(' ')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
        if (r.angle == HourLineAngleTable::kNone) {
            line += QStringLiteral("  -----    -----  ");
        } else {
            const double t = std::tan(r.angle * kDegToRad);
            line += RealToText(9, 2, r.angle) + QStringLiteral("  ");
            line += t > 10000 ? QStringLiteral("   >10000") : t < -10000 ? QStringLiteral("  <-10000") : RealToText(9, 4, t);
        }
        lines << line;
    }
    return lines;
}

}  // namespace zorva
