#include "astro/solar_ephemeris.h"

#include "astro/angles.h"
#include "astro/calendar.h"

#include <cmath>

namespace zorva {
namespace {

// Sums and reductions run in extended precision, so that the large angles of distant
// centuries keep their digits; the stored degree factor is kept. The sines and cosines of
// the reduced angles are taken in double: extended-precision trigonometry is a software
// routine here, ten times slower, and changes no printed digit.
using Real = long double;
constexpr Real kRad = kDegToRad;

Real SinL(Real deg) { return std::sin(double(deg * kRad)); }
Real CosL(Real deg) { return std::cos(double(deg * kRad)); }
Real AtanL(Real x) { return std::atan(double(x)); }
Real AsinL(Real x) { return std::asin(double(x)); }

Real Reduce360(Real x) {
    if (!std::isfinite(x)) return x;
    if (std::abs(x) > 3600) x = std::fmod(x, Real(360));
    while (x > 360) x -= 360;
    while (x < 0) x += 360;
    return x;
}

Real CenturiesFrom2000(int year, double d) {
    return (Real(JulianDayNumber(1, 1, year)) + Real(d) - 1 - 2451545) / 36525;
}

}  // namespace

DeclinationEoT SolarDeclinationEoT(int year, double d) {
    const Real T = CenturiesFrom2000(year, d);
    // The integer part of the rate is reduced before the small remainder is added, so no
    // large angle loses digits.
    const Real M = Reduce360(Reduce360(35999 * T) + Real(357.5291) +
                             T * (Real(0.0503) - T * (Real(0.0001559) + T * Real(4.8e-7))));
    const Real omega = Real(125.04452) - Real(1934.136261) * T;
    const Real eps = Real(23.43929111) - Real(0.013004167) * T + Real(0.00256) * CosL(omega);
    const Real L0 = Reduce360(Reduce360(36000 * T) + Real(280.4664567) + T * (Real(0.76982772) + Real(0.0003032) * T));
    const Real C = (Real(1.9146) - T * (Real(0.004817) + Real(0.000014) * T)) * SinL(M) +
                   (Real(0.019993) - Real(0.000101) * T) * SinL(2 * M) + Real(0.00029) * SinL(3 * M);
    const Real lambda = L0 + C - Real(0.00569) - Real(0.00478) * SinL(omega);

    const Real s = SinL(lambda) * SinL(eps);
    DeclinationEoT r;
    r.declination = double(AtanL(s / std::sqrt(1 - s * s)) / kRad);

    Real alpha = AtanL(CosL(eps) * SinL(lambda) / CosL(lambda)) / kRad;
    if (alpha < 0) alpha += 180;
    if (s < 0) alpha += 180;
    const Real dpsi = Real(-0.00477778) * SinL(omega) - Real(0.00036667) * SinL(2 * L0);
    Real eot = (L0 - Real(0.0057183) - alpha) + dpsi * CosL(eps);
    if (std::isfinite(eot)) {
        while (eot > 180) eot -= 360;
        while (eot < -180) eot += 360;
    }
    r.eot = double(eot);
    return r;
}

ZodiacTable ZodiacDeclinations(int year) {
    // Day 80 of the year, near the March equinox, at 12:00 UT; no nutation term.
    const Real T = CenturiesFrom2000(year, 80.0);
    const Real eps = Real(23.43929111) - Real(0.013004167) * T;
    ZodiacTable t;
    t.obliquity = double(eps);
    for (int i = 0; i <= 36; ++i)
        t.byLongitude[i] = double(AsinL(SinL(eps) * SinL(90 + 5 * i)) / kRad);
    t.byLongitude[18] = 0.0;
    for (int i = 0; i <= 6; ++i) t.zodiac[7 - i] = t.byLongitude[6 * i];
    return t;
}

}  // namespace zorva
