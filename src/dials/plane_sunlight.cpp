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
#include <vector>

namespace zorva {
namespace {

constexpr double kSolstice = 23.44;

// Semi-arc of a day on a horizon of latitude `phi`: acos(-tan phi tan delta), the argument
// limited to +-1. At the pole the sun circles the whole day on one side of the equator and
// stays below the horizon on the other. The formula holds to within a hair of the pole; a
// cut-off further away would misjudge planes facing close to the celestial pole.
double SemiArc(double phi, double delta) {
    if (std::abs(phi) >= 90.0 - 1e-7) {
        const double side = phi * delta;
        return side > 0.0 ? 180.0 : side < 0.0 ? 0.0 : 90.0;
    }
    double x = -TanDeg(phi) * TanDeg(delta);
    if (std::abs(x) > 1.0) x = Sign(x);
    return AcosDeg(x);
}

// Pieces of a day shorter than this (2.4 seconds of time) are the plane grazing the sun at a
// single moment: a plane facing straight down touches the day only at sunrise and sunset,
// and near the poles, where the sun skims the horizon, the rounding of its orientation
// would otherwise open slivers of "light" there.
constexpr double kGrazing = 0.01;
// Gaps in the year's light shorter than one minute of time cannot be shown.
constexpr double kShortestGap = 0.25;

struct Interval {
    double from, to;       // hour angles, degrees
    double declination;    // of the day it belongs to
};

// The hour angles of one day at which the sun stands above the horizon (|t| < H) and in
// front of the plane (within H' of deltaLambda, on the circle of hour angles): the
// intersection of two arcs, none, one or two pieces.
void DayOnPlane(double latitude, double phiPrime, double deltaLambda, double delta, std::vector<Interval>& out) {
    const double H = SemiArc(latitude, delta);
    if (H <= 0.0) return;  // the sun does not rise on this day
    const double Hp = SemiArc(phiPrime, delta);
    if (Hp <= 0.0) return;  // the plane turns away from the sun all day
    // The plane's arc and its copies one turn either side, clipped to the day.
    for (double shift : {-360.0, 0.0, 360.0}) {
        const double from = std::max(deltaLambda - Hp + shift, -H);
        const double to = std::min(deltaLambda + Hp + shift, H);
        if (to - from > kGrazing) out.push_back({from, to, delta});
    }
}
QString HoursText(double hourAngle, double hourShift) {
    return FormatMinSec((hourAngle / 15.0 + 12.0 + hourShift / 15.0) / 4.0);
}

}  // namespace

PlaneSunlight ComputePlaneSunlight(double latitude, double inclination, double wallDeclination) {
    PlaneSunlight r;
    const EquivalentDial eq = EquivalentHorizontalDial(latitude, inclination, wallDeclination);
    double phiPrime = eq.latitude, deltaLambda = eq.deltaLambda;
    if (std::abs(phiPrime) < 1e-10) phiPrime = (Sign(phiPrime) + 0.5) * 1e-10;
    if (std::abs(deltaLambda) < 1e-10) deltaLambda = 0.0;

    // Every lit piece of every day of the list, then their union over the year.
    std::vector<Interval> pieces;
    constexpr int kDays = 941;
    for (int k = 0; k < kDays; ++k) {
        const double delta = k == 0 ? kSolstice : k == kDays - 1 ? -kSolstice : 23.5 - 0.05 * k;
        DayOnPlane(latitude, phiPrime, deltaLambda, delta, pieces);
    }
    if (pieces.empty()) return r;
    r.lit = true;
    // The earliest light, with the first day (in the order of the list) that has it.
    for (const Interval& i : pieces) {
        if (i.from < r.first) {
            r.first = i.from;
            r.firstDeclination = i.declination;
        }
        r.last = std::max(r.last, i.to);
    }
    // The longest stretch of the day in which no day of the year is lit, if any: then the
    // plane has a morning and an afternoon window.
    std::stable_sort(pieces.begin(), pieces.end(), [](const Interval& a, const Interval& b) { return a.from < b.from; });
    double reach = pieces.front().to, widest = 0.0;
    for (const Interval& i : pieces) {
        if (i.from - reach > kShortestGap && i.from - reach > widest) {
            widest = i.from - reach;
            r.morningEnd = reach;
            r.afternoonStart = i.from;
        }
        reach = std::max(reach, i.to);
    }
    r.split = widest > 0.0;
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
