#include "dials/plane_sunlight.h"

#include "astro/angles.h"
#include "astro/tables.h"
#include "astro/time_format.h"
#include "dials/dial_geometry.h"
#include "state/dial_state.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

constexpr double kNoLight = 999.0;
constexpr double kSolstice = 23.44;

// Semi-arc of a day on a horizon of latitude `phi`: acos(-tan phi tan delta), the argument
// limited to +-1. At the pole the sun circles the whole day on one side of the equator and
// stays below the horizon on the other.
double SemiArc(double phi, double delta, double poleLimit) {
    if (std::abs(phi) >= poleLimit) {
        const double side = phi * delta;
        return side > 0.0 ? 180.0 : side < 0.0 ? 0.0 : 90.0;
    }
    double x = -TanDeg(phi) * TanDeg(delta);
    if (std::abs(x) > 1.0) x = Sign(x);
    return AcosDeg(x);
}

enum class WindowKind { AllDay, Ordinary, ThroughNorth, None };

struct DayWindow {
    WindowKind kind = WindowKind::None;
    double first = kNoLight, last = kNoLight;
    double horizon = 0.0;    // H of the day
    double planeArc = 0.0;   // H'
    double start = 0.0, end = 0.0;  // s, e
};

DayWindow DayOnPlane(double latitude, double phiPrime, double deltaLambda, double delta) {
    DayWindow w;
    const double H = SemiArc(latitude, delta, 89.99);
    const double Hp = SemiArc(phiPrime, delta, 89.9);
    w.horizon = H;
    w.planeArc = Hp;
    double s = deltaLambda - Hp, e = deltaLambda + Hp;
    if (s < -180.0) s += 360.0;
    if (e > 180.0) e -= 360.0;
    w.start = s;
    w.end = e;
    if (H <= 0.0) return w;  // the sun does not rise on this day
    if (std::abs(Hp - 180.0) < 0.01) {
        w.kind = WindowKind::AllDay;
        w.first = -H;
        w.last = H;
    } else if (Hp < 0.03) {
        // The plane turns away from the sun all day.
    } else if (s < e) {
        w.kind = WindowKind::Ordinary;
        if (-H < e && s < H) {
            w.first = std::max(s, -H);
            w.last = std::min(e, H);
        }
    } else {
        // The window reaches through north: lit from s to +180 and from -180 to e.
        w.kind = WindowKind::ThroughNorth;
        if (-H < e && e <= H) {
            w.first = -H;
            w.last = s >= H ? e : H;
        } else if (e > H) {
            // The unlit gap (e, s) lies after sunset: light from sunrise to sunset.
            w.first = -H;
            w.last = H;
        } else if (e <= -H && s < H) {
            w.last = H;
            w.first = s <= -H ? -H : s;
        }
    }
    return w;
}

QString HoursText(double hourAngle, double hourShift) {
    return FormatMinSec((hourAngle / 15.0 + 12.0 + hourShift / 15.0) / 4.0);
}

}  // namespace

PlaneSunlight ComputePlaneSunlight(double latitude, double inclination, double wallDeclination) {
    PlaneSunlight r;
    const double r0 = latitude >= 0.0 ? kSolstice : -kSolstice;
    double H1 = 180.0;
    if (std::abs(latitude) < 70.0) {
        double x = -TanDeg(r0) * TanDeg(latitude);
        H1 = AcosDeg(std::clamp(x, -1.0, 1.0));
    }
    const EquivalentDial eq = EquivalentHorizontalDial(latitude, inclination, wallDeclination);
    double phiPrime = eq.latitude, deltaLambda = eq.deltaLambda;
    if (std::abs(phiPrime) < 1e-10) phiPrime = (Sign(phiPrime) + 0.5) * 1e-10;
    if (std::abs(deltaLambda) < 1e-10) deltaLambda = 0.0;

    double E2 = -H1, S2 = H1;
    WindowKind lastKind = WindowKind::None;
    constexpr int kDays = 941;
    for (int k = 0; k < kDays; ++k) {
        const double delta = k == 0 ? kSolstice : k == kDays - 1 ? -kSolstice : 23.5 - 0.05 * k;
        const DayWindow w = DayOnPlane(latitude, phiPrime, deltaLambda, delta);
        lastKind = w.kind;
        if (w.first != kNoLight) {
            r.lit = true;
            if (w.first < r.first) {
                r.first = w.first;
                r.firstDeclination = delta;
            }
            r.last = std::max(r.last, w.last);
        }
        const double H = w.horizon, s = w.start, e = w.end;
        if (w.kind == WindowKind::AllDay) {
            E2 = H;
        } else if (deltaLambda > 0.0) {
            if (-H < e && e < H && e > E2) E2 = e;
            if (s < H && s <= S2) S2 = s;
        } else if (deltaLambda < 0.0) {
            const double d1 = 360.0 - w.planeArc + deltaLambda;
            if (-H < d1 && d1 < H && d1 <= S2) S2 = d1;
            if (e >= -H && e > E2) E2 = e;
        }
    }
    r.morningEnd = E2;
    r.afternoonStart = S2;
    r.split = r.lit && !(E2 >= S2 || E2 >= r.last || S2 <= r.first || lastKind == WindowKind::AllDay ||
                         lastKind == WindowKind::Ordinary);
    return r;
}

QString PlaneSunlightText(const PlaneSunlight& limits, double hourShift, Language) {
    const QString dash = QStringLiteral(" - ");
    if (!limits.lit) return QString(9, QLatin1Char(' ')) + QStringLiteral("  -:--") + dash + QStringLiteral("  -:--");
    const QString F = HoursText(limits.first, hourShift), L = HoursText(limits.last, hourShift);
    if (!limits.split) return QString(9, QLatin1Char(' ')) + F + dash + L;
    return F + dash + HoursText(limits.morningEnd, hourShift) + QStringLiteral("; ") +
           HoursText(limits.afternoonStart, hourShift) + dash + L;
}

namespace {
double StateHourShift(const DialState& s) {
    return s.eotLongitudeCorrection ? LongitudeCorrection(s.longitude, s.zoneMeridian) : 0.0;
}
QString TimeKindLabel(const DialState& s) { return label(s.eotLongitudeCorrection ? 121 : 120, s.language); }
}  // namespace

QString StatePlaneSunlightText(const DialState& s) {
    return PlaneSunlightText(ComputePlaneSunlight(s.latitude, s.planeInclination, s.wallDeclination),
                             StateHourShift(s), s.language);
}

QString PlaneSunlightLabel(const DialState& s) {
    return resourceText(913, s.language) + StatePlaneSunlightText(s) + QStringLiteral("  ") + TimeKindLabel(s);
}

QString PlaneSunlightFooter(const DialState& s) {
    if (!s.showPlaneSunlight) return TimeKindLabel(s);
    const Language lang = s.language;
    return resourceText(900, lang) + QStringLiteral(":  ") + StatePlaneSunlightText(s) + QStringLiteral("  ") +
           TimeKindLabel(s) + QStringLiteral(",  ") + resourceTextPlain(402, lang) + QStringLiteral(" = ") +
           RealToText(5, 1, s.wallDeclination) + QStringLiteral(" Grad") + QStringLiteral(",  ") +
           resourceTextPlain(912, lang) + QStringLiteral(" = ") + RealToText(5, 1, s.planeInclination) +
           QStringLiteral(" Grad");
}

}  // namespace zorva
