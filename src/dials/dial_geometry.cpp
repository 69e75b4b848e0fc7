#include "dials/dial_geometry.h"

#include "astro/angles.h"
#include "dials/dial_painter.h"
#include "state/dial_state.h"

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

// A near-zero divisor becomes (Sign(v) + 0.2) * guard: finite, with the sign it had.
double Guarded(double v, double guard) {
    if (std::abs(v) < guard) return (Sign(v) + 0.2) * guard;
    return v;
}

// Coordinates beyond 1e8 are divided by 10 until below: huge but finite.
double Tame(double v) {
    if (!std::isfinite(v)) return v < 0 ? -1e8 : 1e8;
    while (std::abs(v) > 1e8) v /= 10.0;
    return v;
}

}  // namespace

double Atan2Deg(double y, double x) {
    if (x == 0.0) return 90.0 * Sign(y);
    if (y == 0.0) return x > 0 ? 0.0 : 180.0;
    double r = std::atan(y / x) / kDegToRad;
    if (x < 0) r += 180.0 * Sign(y);
    return r;
}

EquivalentDial EquivalentHorizontalDial(double phi, double i, double d) {
    EquivalentDial e;
    const double s = SinDeg(phi) * CosDeg(i) - CosDeg(phi) * SinDeg(i) * CosDeg(d);
    e.latitude = std::abs(s) >= 1.0 ? 90.0 * Sign(s) : std::asin(s) / kDegToRad;
    e.deltaLambda = Atan2Deg(SinDeg(i) * SinDeg(d), CosDeg(phi) * CosDeg(i) + SinDeg(phi) * SinDeg(i) * CosDeg(d));
    e.rotation = Atan2Deg(CosDeg(phi) * SinDeg(d), SinDeg(phi) * SinDeg(i) + CosDeg(phi) * CosDeg(d) * CosDeg(i));
    return e;
}

DialPlane PlaneOfState(const DialState& s) {
    DialPlane plane;
    plane.letter = s.dialType;
    plane.umbrella = s.umbrellaDial;
    plane.umbrellaRatio = s.umbrellaCircleRatio;
    plane.inclination = s.planeInclination;
    plane.wallDeclination = s.wallDeclination;
    plane.siteLatitude = s.latitude;
    SetPlaneOrientation(plane);
    return plane;
}

void SetPlaneOrientation(DialPlane& p) {
    const double d = p.wallDeclination;
    p.hourShift = 0.0;
    p.effectiveLatitude = p.siteLatitude;
    if (p.letter == 'v') {
        p.kind = PlaneKind::Vertical;
        p.planeAzimuth = d;
        p.normalAltitude = 0.0;
        p.normalAzimuth = d;
    } else if (p.letter == 'i' && p.umbrella) {
        p.kind = PlaneKind::InclinedUmbrella;
        p.planeAzimuth = d;
        p.normalAltitude = 90.0 - p.inclination;
        p.normalAzimuth = d;
    } else if (p.letter == 'i') {
        // The plain inclined dial is drawn as the horizontal dial of its equivalent place.
        const EquivalentDial e = EquivalentHorizontalDial(p.siteLatitude, p.inclination, d);
        p.kind = PlaneKind::Horizontal;
        p.effectiveLatitude = e.latitude;
        p.hourShift = -e.deltaLambda / 15.0;
        p.planeAzimuth = e.rotation;
        p.normalAltitude = 90.0;
        p.normalAzimuth = e.rotation;
    } else {
        p.kind = PlaneKind::Horizontal;
        p.planeAzimuth = 0.0;
        p.normalAltitude = 90.0;
        p.normalAzimuth = 0.0;
    }
}

double HorizonRow(const DialPlane& p) {
    double row = 0.0;
    if (p.letter == 'v') {
        row = p.y0;
    } else if (p.letter == 'i') {
        const double s = SinDeg(p.inclination);
        if (std::abs(p.inclination) < 1e-10 || s == 0.0) return 0.0;
        row = p.umbrella ? p.y0 - p.g / s : p.y0 - p.g * CosDeg(p.inclination) / s;
    } else {
        return 0.0;
    }
    row -= p.oy;
    return std::isfinite(row) && row > 0 ? row : 0.0;
}

double SunlitByPlane(double a, double A, double nAlt, double nAz) {
    return CosDeg(nAz) * CosDeg(nAlt) * CosDeg(A) * CosDeg(a) + SinDeg(nAz) * CosDeg(nAlt) * SinDeg(A) * CosDeg(a) +
           SinDeg(nAlt) * SinDeg(a);
}

ShadowSample ShadowPoint(double altitude, double azimuth, const DialPlane& p) {
    ShadowSample s;
    const double alpha = (azimuth - p.planeAzimuth) * kDegToRad;
    const double sinAlpha = std::sin(alpha), cosAlpha = std::cos(alpha);
    const double sinAlt = std::sin(altitude * kDegToRad), cosAlt = std::cos(altitude * kDegToRad);
    const double g = p.g;
    const double R = p.umbrellaRatio;
    switch (p.kind) {
    case PlaneKind::Vertical: {
        const double m = g / Guarded(cosAlpha, 1e-15);
        double x = m * sinAlpha;
        double y = m * sinAlt / Guarded(cosAlt, 1e-15);
        double w = 0.0;
        if (p.umbrella) {
            // The disc's rim reaches R g beyond the shadow of its centre.
            w = (std::abs(x) < 1e-8 && std::abs(y) < 1e-8) ? R * 1e8 : R * g / std::hypot(x, y);
        }
        s.x = p.x0 + x * (1.0 + w);
        s.y = p.y0 + y * (1.0 + w);
        s.frontLit = (std::abs(alpha) < 1.57 || std::abs(alpha) > 4.71) && altitude > 0;
        break;
    }
    case PlaneKind::Horizontal:
    case PlaneKind::InclinedUmbrella: {
        const double a = altitude * kDegToRad;
        const double ag = Guarded(a, p.altitudeGuard);
        const double sa = ag == a ? sinAlt : std::sin(ag), ca = ag == a ? cosAlt : std::cos(ag);
        double L = g;
        if (p.umbrella) L = (R * sa / Guarded(ca, p.umbrellaCosGuard) + 1.0) * g;
        if (p.kind == PlaneKind::Horizontal) {
            const double r = L * ca / sa;
            s.x = p.x0 + r * sinAlpha;
            s.y = p.y0 - r * cosAlpha;
            s.frontLit = ag > 0;
            break;
        }
        // A vertical rod with a horizontal disc over a desk-like plane.
        const double si = SinDeg(p.inclination), ci = CosDeg(p.inclination);
        const double u = Guarded(si * cosAlpha + ci * sa / Guarded(ca, p.umbrellaCosGuard), 1e-15);
        s.x = p.x0 + L * ci * sinAlpha / u;
        s.y = p.y0 - L * cosAlpha / u;
        s.frontLit = ag > 0 && s.x > p.ox && s.x < p.ox + 2 * p.halfWidth && s.y - p.oy > 0 && s.y - p.oy < p.height;
        if (std::abs(alpha) > 1.57) s.frontLit = s.frontLit && sa * ci + si * cosAlpha * ca > 0;
        break;
    }
    }
    // SunlitByPlane, sharing the sines of the sun's direction; a construction keeps its
    // normal, so its sines are computed once.
    struct NormalSines {
        double altitude = std::nan(""), azimuth = std::nan("");
        double cosAlt = 0, sinAlt = 0, cosAz = 0, sinAz = 0;
    };
    thread_local NormalSines n;
    if (n.altitude != p.normalAltitude || n.azimuth != p.normalAzimuth) {
        n = {p.normalAltitude, p.normalAzimuth, CosDeg(p.normalAltitude), SinDeg(p.normalAltitude),
             CosDeg(p.normalAzimuth), SinDeg(p.normalAzimuth)};
    }
    const double az = azimuth * kDegToRad;
    s.sunlit = n.cosAz * n.cosAlt * std::cos(az) * cosAlt + n.sinAz * n.cosAlt * std::sin(az) * cosAlt +
                   n.sinAlt * sinAlt >
               0;
    const bool inside = std::abs(s.x - p.ox - p.halfWidth) < p.halfWidth && p.yHorizon < s.y - p.oy &&
                        s.y - p.oy < p.height;
    if (!p.umbrella) s.frontLit = s.frontLit && s.sunlit;
    s.visible = s.frontLit && inside;
    s.x = Tame(s.x);
    s.y = Tame(s.y);
    return s;
}

Offset StyleFootPoint(const DialPlane& p) {
    Offset o;
    const double g = p.g;
    if (p.letter != 'v' && p.letter != 'i') {
        const double phi = NonZeroLatitude(p.siteLatitude);
        o.dx = 0.0;
        o.dy = -g / TanDeg(phi);
        return o;
    }
    const double b = p.letter == 'v' ? 90.0 : p.inclination;
    const double d = p.wallDeclination;
    double phi = p.siteLatitude;
    if (std::abs(std::abs(phi) - 90.0) < 0.001) phi = 89.999 * SignNonZero(phi);
    double r = SinDeg(b) * CosDeg(d) - CosDeg(b) * TanDeg(phi);
    if (std::abs(r) < 1e-7) r = (Sign(r) + 0.5) * 1e-7;
    o.dx = -g * SinDeg(d) / r;
    o.dy = (CosDeg(d) * CosDeg(b) + SinDeg(b) * TanDeg(phi)) * g / r;
    return o;
}

Offset LimitOffset(Offset o, double limit) {
    if (!(std::abs(o.dx) > limit || std::abs(o.dy) > limit)) return o;
    if (std::abs(o.dx) < 2) return {o.dx, limit * Sign(o.dy)};
    if (std::abs(o.dy) < 2) return {limit * Sign(o.dx), o.dy};
    const double f = limit / std::max(std::abs(o.dx), std::abs(o.dy));
    return {o.dx * f, o.dy * f};
}

DrawingArea AreaOf(const DialPlane& p) {
    return {p.ox, p.ox + 2 * p.halfWidth, p.oy + p.yHorizon, p.oy + p.height};
}

QPointF ClipToArea(QPointF outside, QPointF inside, const DrawingArea& area) {
    if (!area.contains(inside.x(), inside.y())) return outside;
    double xp = outside.x(), yp = outside.y();
    const double xq = inside.x(), yq = inside.y();
    // Each pass moves P along the segment onto a bound; two passes always suffice, the
    // limit only guards against non-finite input.
    for (int pass = 0; pass < 8; ++pass) {
        if (xp < area.xmin || xp > area.xmax) {
            const double xOld = xp;
            xp = xp < area.xmin ? area.xmin : area.xmax;
            yp = yq + (yp - yq) * (xp - xq) / Guarded(xOld - xq, 1e-6);
        }
        if (yp < area.ymin || yp > area.ymax) {
            const double yOld = yp;
            yp = yp < area.ymin ? area.ymin : area.ymax;
            xp = xq + (xp - xq) * (yp - yq) / Guarded(yOld - yq, 1e-6);
            if (xp < area.xmin || xp > area.xmax) continue;
        }
        break;
    }
    return {xp, yp};
}

void DrawShadowSegment(const ShadowSample& prev, const ShadowSample& cur, const DrawingArea& area,
                       DialPainter& painter) {
    if (cur.visible && prev.visible) {
        painter.lineTo(cur.x, cur.y);
    } else if (cur.visible) {
        if (prev.sunlit) {
            const QPointF b = ClipToArea({prev.x, prev.y}, {cur.x, cur.y}, area);
            painter.moveTo(b.x(), b.y());
            painter.lineTo(cur.x, cur.y);
        } else {
            painter.moveTo(cur.x, cur.y);
        }
    } else if (prev.visible) {
        if (cur.sunlit) {
            const QPointF b = ClipToArea({cur.x, cur.y}, {prev.x, prev.y}, area);
            painter.lineTo(b.x(), b.y());
        } else {
            painter.moveTo(cur.x, cur.y);
        }
    }
}

void ShadowCurve::add(const ShadowSample& sample) {
    if (!started_) {
        painter_.moveTo(sample.x, sample.y);
        started_ = true;
    } else {
        DrawShadowSegment(previous_, sample, area_, painter_);
        note(previous_, sample);
    }
    anyVisible_ = anyVisible_ || sample.visible;
    previous_ = sample;
}

void ShadowCurve::note(const ShadowSample& prev, const ShadowSample& cur) {
    // The same pieces DrawShadowSegment draws.
    const QPointF p(prev.x, prev.y), c(cur.x, cur.y);
    if (cur.visible && prev.visible)
        strokes_.emplace_back(p, c);
    else if (cur.visible && prev.sunlit)
        strokes_.emplace_back(ClipToArea(p, c, area_), c);
    else if (prev.visible && cur.sunlit)
        strokes_.emplace_back(p, ClipToArea(c, p, area_));
}

ScaledGnomon ScaleGnomon(double gnomonLength, double zoom) {
    ScaledGnomon s;
    s.zoom = zoom;
    s.gnomonMm = std::round(gnomonLength * zoom * 100.0) / 100.0;
    if (!(s.gnomonMm >= 5.0)) {
        s.zoom = gnomonLength > 0 ? 5.0 / gnomonLength : 1.0;
        s.gnomonMm = 5.0;
    }
    return s;
}

double ScreenUnitsPerMm(double clientWidth, bool sheetA3) {
    return (clientWidth - 32.0) / (sheetA3 ? 420.0 : 280.0);
}

}  // namespace zorva
