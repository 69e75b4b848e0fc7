#include "dials/hollander_geometry.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

// A near-zero divisor keeps its sign and stays finite.
double Guarded(double v, double guard = 1e-12) {
    if (std::abs(v) < guard) return v < 0 ? -guard : guard;
    return v;
}

}  // namespace

double ConeEllipse::ellipticRadius(double x, double y) const {
    return std::sqrt((x / a) * (x / a) + (y / b) * (y / b));
}

bool ConeAnglesRefused(double alpha, double psi) {
    return std::abs(alpha) < 0.1 || std::abs(psi) < 0.1 || alpha >= psi;
}

std::optional<ConeEllipse> ConeEllipseFor(double L, double alpha, double psi) {
    if (ConeAnglesRefused(alpha, psi)) return std::nullopt;
    // The far generator (inclination psi - alpha) must reach the plane, the near one
    // (psi + alpha) too: otherwise the section is a parabola or hyperbola.
    if (psi + alpha >= 180.0 - 1e-9 || !(L > 0)) return std::nullopt;
    const double cotA = 1.0 / TanDeg(alpha), cotP = 1.0 / TanDeg(psi);
    const double d = cotA * cotA - cotP * cotP;
    if (!(d > 0)) return std::nullopt;
    const double s1 = SinDeg(psi - alpha), s2 = SinDeg(psi + alpha);
    ConeEllipse e;
    e.L = L;
    e.psi = psi;
    e.alpha = alpha;
    e.a = L / std::sqrt(d);
    e.b = L * SinDeg(alpha) * (1 / s1 + 1 / s2) / 2;
    e.c = L * SinDeg(alpha) * (1 / s1 - 1 / s2) / 2;
    e.apexFoot = e.c + L * CosDeg(psi);
    e.apexHeight = L * SinDeg(psi);
    return e;
}

ApexShadow ApexShadowFrom(const ConeEllipse& e, const SunAngles& sun) {
    ApexShadow s;
    s.Y = sun.cosPhi * sun.cosT + sun.tanDelta * sun.sinPhi;
    const double Y = Guarded(s.Y);
    s.at = QPointF(e.apexHeight * sun.sinT / Y,
                   e.apexFoot + e.apexHeight * (sun.sinPhi * sun.cosT - sun.cosPhi * sun.tanDelta) / Y);
    return s;
}

namespace {

SunAngles AnglesOf(double phi, double t, double delta) {
    SunAngles a;
    a.sinPhi = SinDeg(phi);
    a.cosPhi = CosDeg(phi);
    a.tanDelta = TanDeg(delta);
    a.sinT = SinDeg(t);
    a.cosT = CosDeg(t);
    return a;
}

}  // namespace

ApexShadow ApexShadowAt(const ConeEllipse& e, double phi, double t, double delta) {
    return ApexShadowFrom(e, AnglesOf(phi, t, delta));
}

std::optional<ShadowEdge> ShadowEdgeFrom(const ConeEllipse& e, QPointF p, bool upper) {
    const double x = p.x(), y = p.y(), a2 = e.a * e.a, b2 = e.b * e.b;
    const double disc = a2 * y * y + b2 * x * x - a2 * b2;
    if (disc < 0) return std::nullopt;  // the point lies inside the ellipse
    const double root = std::sqrt(disc) * (upper ? 1.0 : -1.0);
    ShadowEdge edge;
    edge.k = (x * y + root) / Guarded(x * x - a2);
    edge.q = y - edge.k * x;
    return edge;
}

QPointF EdgeCrossing(const ShadowEdge& first, const ShadowEdge& second) {
    const double dk = Guarded(first.k - second.k);
    return {(second.q - first.q) / dk, (second.q * first.k - first.q * second.k) / dk};
}

MeanTimePoint CrossingPointFrom(const ConeEllipse& e, const SunAngles& first, const SunAngles& second) {
    MeanTimePoint m;
    const ApexShadow s1 = ApexShadowFrom(e, first);
    const ApexShadow s2 = ApexShadowFrom(e, second);
    // An apex shadow on the cone's base casts no edge.
    if (e.ellipticRadius(s1.at.x(), s1.at.y()) <= 1.0 || e.ellipticRadius(s2.at.x(), s2.at.y()) <= 1.0) return m;
    const auto k1 = ShadowEdgeFrom(e, s1.at, true);
    const auto k2 = ShadowEdgeFrom(e, s2.at, false);
    if (!k1 || !k2) return m;
    // Both edges through the same apex shadow (equal equations of time) cross in it.
    m.at = s1.at == s2.at ? s1.at : EdgeCrossing(*k1, *k2);
    m.valid = std::isfinite(m.at.x()) && std::isfinite(m.at.y());
    m.radius = e.ellipticRadius(m.at.x(), m.at.y());
    return m;
}

MeanTimePoint CrossingPoint(const ConeEllipse& e, double phi, double delta, double t1, double t2) {
    return CrossingPointFrom(e, AnglesOf(phi, t1, delta), AnglesOf(phi, t2, delta));
}

std::vector<DayPair> PairDays(const std::vector<DayValues>& days) {
    std::vector<DayPair> pairs;
    const int n = static_cast<int>(days.size());
    int june = -1;
    for (int i = 0; i + 1 < n; ++i)
        if (days[i].declination > days[i + 1].declination) {
            june = i;
            break;
        }
    if (june < 0) return pairs;
    int december = -1;
    for (int i = june + 1; i + 1 < n; ++i)
        if (days[i].declination < days[i + 1].declination) {
            december = i;
            break;
        }
    if (december < 0) return pairs;
    // The partner runs backwards from the June solstice through 1 January into December,
    // never past the December solstice.
    const int maxBack = june + (n - december);
    auto back = [&](int m) { return ((june - m) % n + n) % n; };
    int m = 0;
    for (int A = june; A <= december; ++A) {
        const double target = days[A].declination;
        int B = A;
        if (A != december) {
            while (m < maxBack &&
                   std::abs(days[back(m + 1)].declination - target) < std::abs(days[back(m)].declination - target))
                ++m;
            B = back(m);
        }
        DayPair p;
        p.dayA = A + 1;
        p.dayB = B + 1;
        p.declinationA = days[A].declination;
        p.declinationB = days[B].declination;
        p.eotA = days[A].eot;
        p.eotB = days[B].eot;
        pairs.push_back(p);
    }
    return pairs;
}

std::vector<DayPair> PairDaysOfYear(int year) {
    const int n = DayOfYear(year, 12, 31);
    std::vector<DayValues> days(static_cast<size_t>(n));
    for (int d = 1; d <= n; ++d) {
        const DeclinationEoT v = SolarDeclinationEoT(year, d);
        days[static_cast<size_t>(d - 1)] = {v.declination, v.eot};
    }
    return PairDays(days);
}

double SignDeclination(int i, double obliquity) {
    return AsinDeg(SinDeg(obliquity) * SinDeg(90.0 + 30.0 * i));
}

int NearestPair(const std::vector<DayPair>& pairs, double declination) {
    int best = -1;
    double bestDistance = 1e300;
    for (size_t i = 0; i < pairs.size(); ++i) {
        const double d = std::abs(pairs[i].meanDeclination() - declination);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

int PairOfDay(const std::vector<DayPair>& pairs, int day) {
    int best = -1, bestDistance = 1 << 30;
    for (size_t i = 0; i < pairs.size(); ++i) {
        const int d = std::abs(pairs[i].dayA - day);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

double GeneratorLength(const ConeEllipse& e, double thetaDeg) {
    // Generator direction: cos(alpha) along the axis plus sin(alpha) round it; its descent
    // per unit length decides where it meets the plane.
    const double descent = CosDeg(e.alpha) * SinDeg(e.psi) - SinDeg(e.alpha) * CosDeg(e.psi) * CosDeg(thetaDeg);
    return e.apexHeight / Guarded(descent);
}

Mantle UnfoldMantle(const ConeEllipse& e, int steps) {
    Mantle m;
    steps = std::max(steps, 4);
    const double s = SinDeg(e.alpha);
    // A circle of radius 1 round the axis, one unit from the apex along the generators, is
    // an arc of radius 1 in the development: theta round the axis becomes theta sin(alpha).
    m.sectorDeg = 360.0 * s;
    m.shortest = 1e300;
    m.longest = 0.0;
    for (int i = 0; i <= steps; ++i) {
        const double theta = -180.0 + 360.0 * i / steps;
        const double len = GeneratorLength(e, theta);
        m.rim.emplace_back(len, theta * s);
        m.shortest = std::min(m.shortest, len);
        m.longest = std::max(m.longest, len);
    }
    return m;
}

}  // namespace zorva
