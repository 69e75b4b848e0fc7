#pragma once
// Short lunar series: enough for rise and set times to the minute.

#include <array>

namespace zorva {

struct RaDec {
    double rightAscensionHours = 0.0;  // [0, 24)
    double declination = 0.0;          // degrees
};

// A direction on the celestial sphere as the rise/set scan needs it: the sines and cosines
// of right ascension and declination, without the round trips through the angles.
struct EquatorialUnit {
    double halfAngleTangent = 0.0;  // tan(RA / 2); HUGE_VAL at RA = 12 h
    double cosRightAscension = 1.0;
    double sinRightAscension = 0.0;
    double sinDeclination = 0.0;
    double cosDeclination = 1.0;
};
// From the equatorial unit vector (X, Y, Z) and rho = sqrt(1 - Z*Z): right ascension by
// the half-angle form 2 atan(Y / (X + rho)), which is the full circle without a quadrant test.
EquatorialUnit EquatorialUnitFromCartesian(double X, double Y, double Z, double rho);
RaDec RaDecFromUnit(const EquatorialUnit& u);

// An angle that grows linearly with time, carried as its sine and cosine: turning it by a
// known increment is one rotation instead of two library calls.
struct RotatingAngle {
    double s = 0.0, c = 1.0;  // sine and cosine
    // 2 pi (a + b T), the turn count reduced first.
    static RotatingAngle At(double a, double b, double T);
    // This angle plus the one whose sine and cosine `by` holds.
    RotatingAngle turnedBy(const RotatingAngle& by) const { return {s * by.c + c * by.s, c * by.c - s * by.s}; }
};

// How far an angle growing by `radiansPerHour` has turned after 0..24 hours, as sines and
// cosines taken once: an hour's value is one rotation of midnight's, whichever hours a scan
// skips, and carries no rounding from the hours before it.
struct DayOfTurns {
    std::array<RotatingAngle, 25> after;
    explicit DayOfTurns(double radiansPerHour);
    // For a series argument of `turnsPerCentury` (the series' own value of 2 pi).
    static DayOfTurns OfSeriesRate(double turnsPerCentury);
};

// The fundamental arguments of the lunar series (mean anomalies of moon and sun, mean
// elongation, argument of latitude, mean longitude) at T.
struct MoonArguments {
    RotatingAngle l, ls, D, F, L0;
    static MoonArguments At(double T);
    // The arguments `hours` (0..24) later.
    MoonArguments afterHours(int hours) const;
};
EquatorialUnit MoonFromArguments(const MoonArguments& a);

// Moon's right ascension and declination (fixed obliquity of J2000) for T in Julian
// centuries from 2000-01-01 12:00 (T = (MJD - 51544.5) / 36525).
RaDec MiniMoon(double T);
EquatorialUnit MiniMoonUnit(double T);

// sin x and cos x for |x| below 0.2 rad, to the last bit of a double.
inline double SinSmall(double x) {
    const double x2 = x * x;
    constexpr double c3 = 1.0 / 6, c5 = 1.0 / 20, c7 = 1.0 / 42, c9 = 1.0 / 72, c11 = 1.0 / 110, c13 = 1.0 / 156;
    return x * (1 - x2 * c3 * (1 - x2 * c5 * (1 - x2 * c7 * (1 - x2 * c9 * (1 - x2 * c11 * (1 - x2 * c13))))));
}

inline double CosSmall(double x) {
    const double x2 = x * x;
    constexpr double c2 = 1.0 / 2, c4 = 1.0 / 12, c6 = 1.0 / 30, c8 = 1.0 / 56, c10 = 1.0 / 90, c12 = 1.0 / 132,
                     c14 = 1.0 / 182;
    return 1 - x2 * c2 * (1 - x2 * c4 * (1 - x2 * c6 * (1 - x2 * c8 * (1 - x2 * c10 * (1 - x2 * c12 * (1 - x2 * c14))))));
}


}  // namespace zorva
