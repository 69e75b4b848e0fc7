#include "astro/moon.h"

#include "astro/angles.h"

#include <cmath>

namespace zorva {
namespace {

// Constants of the lunar series as published with it.
constexpr double kTwoPi = 6.283185307;
constexpr double kArcsecPerRadian = 206264.8062;
// |Y| / |X| below which the right ascension is taken within 0.6 degrees of 12 h.
constexpr double kNearTwelveHours = 0.01;

}  // namespace

RotatingAngle RotatingAngle::At(double a, double b, double T) {
    // The turn count is reduced first (b T reaches hundreds of turns), with the series' own
    // value of 2 pi, as the direct evaluation has it.
    const double angle = kTwoPi * FracPositive(a + b * T);
    return {std::sin(angle), std::cos(angle)};
}

DayOfTurns::DayOfTurns(double radiansPerHour) {
    for (int k = 0; k <= 24; ++k) after[k] = {std::sin(k * radiansPerHour), std::cos(k * radiansPerHour)};
}

DayOfTurns DayOfTurns::OfSeriesRate(double turnsPerCentury) {
    return DayOfTurns(kTwoPi * turnsPerCentury / (24 * 36525.0));
}

namespace {

// Rates of the fundamental arguments in turns per Julian century.
constexpr double kRateL = 1325.55241, kRateLs = 99.997361, kRateD = 1236.853086, kRateF = 1342.227825,
                 kRateL0 = 1336.855225;

}  // namespace

MoonArguments MoonArguments::At(double T) {
    return {RotatingAngle::At(0.374897, kRateL, T), RotatingAngle::At(0.993133, kRateLs, T),
            RotatingAngle::At(0.827361, kRateD, T), RotatingAngle::At(0.259086, kRateF, T),
            RotatingAngle::At(0.606433, kRateL0, T)};
}

MoonArguments MoonArguments::afterHours(int hours) const {
    // Hour h's turns of all five arguments side by side.
    static const std::array<MoonArguments, 25> turns = [] {
        const DayOfTurns l = DayOfTurns::OfSeriesRate(kRateL), ls = DayOfTurns::OfSeriesRate(kRateLs),
                         D = DayOfTurns::OfSeriesRate(kRateD), F = DayOfTurns::OfSeriesRate(kRateF),
                         L0 = DayOfTurns::OfSeriesRate(kRateL0);
        std::array<MoonArguments, 25> t;
        for (int h = 0; h <= 24; ++h) t[h] = {l.after[h], ls.after[h], D.after[h], F.after[h], L0.after[h]};
        return t;
    }();
    const MoonArguments& by = turns[hours];
    return {l.turnedBy(by.l), ls.turnedBy(by.ls), D.turnedBy(by.D), F.turnedBy(by.F), L0.turnedBy(by.L0)};
}

EquatorialUnit EquatorialUnitFromCartesian(double X, double Y, double Z, double rho) {
    EquatorialUnit u;
    u.sinDeclination = Z;
    u.cosDeclination = rho;
    if (X < 0 && std::abs(Y) < kNearTwelveHours * -X) {
        // Near 12 h the sum X + rho cancels, and rho, taken from Z, differs from the length of
        // (X, Y) by up to 1e-6 (the published obliquity's sine and cosine are rounded): the
        // half-angle form would swing the right ascension by up to 12 h within a second of the
        // moon's motion there. The direction of (X, Y) itself is the right ascension.
        const double r = std::sqrt(X * X + Y * Y);
        u.halfAngleTangent = Y == 0 ? HUGE_VAL : (r - X) / Y;
        u.cosRightAscension = X / r;
        u.sinRightAscension = Y / r;
        return u;
    }
    const double denominator = X + rho;
    if (denominator == 0) {
        u.halfAngleTangent = HUGE_VAL;
        u.cosRightAscension = -1.0;
        u.sinRightAscension = 0.0;
        return u;
    }
    const double t = Y / denominator;  // tan of half the right ascension
    u.halfAngleTangent = t;
    const double t2 = t * t;
    const double w = 1 / (1 + t2);
    u.cosRightAscension = (1 - t2) * w;
    u.sinRightAscension = 2 * t * w;
    return u;
}

RaDec RaDecFromUnit(const EquatorialUnit& u) {
    RaDec r;
    r.declination = 57.29577951471995 * std::atan(u.sinDeclination / u.cosDeclination);
    if (u.halfAngleTangent == HUGE_VAL) {
        r.rightAscensionHours = 12.0;
        return r;
    }
    r.rightAscensionHours = 7.639437268629327 * std::atan(u.halfAngleTangent);
    if (r.rightAscensionHours < 0) r.rightAscensionHours += 24;
    if (r.rightAscensionHours >= 24) r.rightAscensionHours -= 24;
    return r;
}

EquatorialUnit MoonFromArguments(const MoonArguments& a) {
    // The periodic terms are sums and differences of the fundamental arguments: their sines
    // follow from the angle-addition formulas.
    const double sl = a.l.s, cl = a.l.c, sls = a.ls.s, cls = a.ls.c;
    const double sD = a.D.s, cD = a.D.c, sF = a.F.s, cF = a.F.c;
    const double s2D = 2 * sD * cD, c2D = cD * cD - sD * sD;
    const double s2l = 2 * sl * cl, c2l = cl * cl - sl * sl;
    const double s2F = 2 * sF * cF, c2F = cF * cF - sF * sF;
    const double slPls = sl * cls + cl * sls, clPls = cl * cls - sl * sls;  // l + ls
    const double sH = sF * c2D - cF * s2D, cH = cF * c2D + sF * s2D;       // H = F - 2D

    const double dL = 22640 * sl - 4586 * (sl * c2D - cl * s2D) + 2370 * s2D + 769 * s2l - 668 * sls -
                      412 * s2F - 212 * (s2l * c2D - c2l * s2D) - 206 * (slPls * c2D - clPls * s2D) +
                      192 * (sl * c2D + cl * s2D) - 165 * (sls * c2D - cls * s2D) - 125 * sD - 110 * slPls +
                      148 * (sl * cls - cl * sls) - 55 * (s2F * c2D - c2F * s2D);
    const double N = -526 * sH + 44 * (sl * cH + cl * sH) - 31 * (sH * cl - cH * sl) - 23 * (sls * cH + cls * sH) +
                     11 * (sH * cls - cH * sls) - 25 * (sF * c2l - cF * s2l) + 21 * (sF * cl - cF * sl);

    // S = F + e and Lm = L0 + d with small e and d (below 0.16 rad).
    const double e = (dL + 412 * s2F + 541 * sls) / kArcsecPerRadian;
    const double sinS = sF * CosSmall(e) + cF * SinSmall(e);
    const double d = kTwoPi * dL / 1296000;
    const double sd = SinSmall(d), cd = CosSmall(d);
    const double sinLm = a.L0.s * cd + a.L0.c * sd;
    const double cosLm = a.L0.c * cd - a.L0.s * sd;
    const double Bm = (18520 * sinS + N) / kArcsecPerRadian;

    const double cb = CosSmall(Bm);
    const double X = cb * cosLm;
    const double V = cb * sinLm;
    const double W = SinSmall(Bm);
    const double Y = 0.91748 * V - 0.39778 * W;
    const double Z = 0.39778 * V + 0.91748 * W;
    const double rho = std::sqrt(1 - Z * Z);
    return EquatorialUnitFromCartesian(X, Y, Z, rho);
}

EquatorialUnit MiniMoonUnit(double T) {
    return MoonFromArguments(MoonArguments::At(T));
}

RaDec MiniMoon(double T) {
    return RaDecFromUnit(MiniMoonUnit(T));
}

}  // namespace zorva
