#include "astro/moon.h"

#include "astro/angles.h"

#include <cmath>

namespace zorva {
namespace {

// Constants of the lunar series as published with it.
constexpr double kTwoPi = 6.283185307;
constexpr double kArcsecPerRadian = 206264.8062;

}  // namespace

RaDec MiniMoon(double T) {
    const double L0 = FracPositive(0.606433 + 1336.855225 * T);
    const double l = kTwoPi * FracPositive(0.374897 + 1325.55241 * T);
    const double ls = kTwoPi * FracPositive(0.993133 + 99.997361 * T);
    const double D = kTwoPi * FracPositive(0.827361 + 1236.853086 * T);
    const double F = kTwoPi * FracPositive(0.259086 + 1342.227825 * T);

    const double dL = 22640 * std::sin(l) - 4586 * std::sin(l - 2 * D) + 2370 * std::sin(2 * D) +
                      769 * std::sin(2 * l) - 668 * std::sin(ls) - 412 * std::sin(2 * F) -
                      212 * std::sin(2 * l - 2 * D) - 206 * std::sin(l + ls - 2 * D) + 192 * std::sin(l + 2 * D) -
                      165 * std::sin(ls - 2 * D) - 125 * std::sin(D) - 110 * std::sin(l + ls) +
                      148 * std::sin(l - ls) - 55 * std::sin(2 * F - 2 * D);
    const double S = F + (dL + 412 * std::sin(2 * F) + 541 * std::sin(ls)) / kArcsecPerRadian;
    const double H = F - 2 * D;
    const double N = -526 * std::sin(H) + 44 * std::sin(l + H) - 31 * std::sin(-l + H) - 23 * std::sin(ls + H) +
                     11 * std::sin(-ls + H) - 25 * std::sin(-2 * l + F) + 21 * std::sin(-l + F);

    const double Lm = kTwoPi * FracPositive(L0 + dL / 1296000);
    const double Bm = (18520 * std::sin(S) + N) / kArcsecPerRadian;

    const double cb = std::cos(Bm);
    const double X = cb * std::cos(Lm);
    const double V = cb * std::sin(Lm);
    const double W = std::sin(Bm);
    const double Y = 0.91748 * V - 0.39778 * W;
    const double Z = 0.39778 * V + 0.91748 * W;
    const double rho = std::sqrt(1 - Z * Z);

    RaDec r;
    r.declination = 57.29577951471995 * std::atan(Z / rho);
    // Half-angle form: the full circle without a quadrant test; X + rho = 0 is RA 12 h.
    const double denominator = X + rho;
    r.rightAscensionHours = denominator == 0 ? 12.0 : 7.639437268629327 * std::atan(Y / denominator);
    if (r.rightAscensionHours < 0) r.rightAscensionHours += 24;
    if (r.rightAscensionHours >= 24) r.rightAscensionHours -= 24;
    return r;
}

}  // namespace zorva
