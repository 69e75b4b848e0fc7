#include "astro/angles.h"

#include <algorithm>
#include <cmath>

namespace zorva {

int Sign(double x) { return x > 0 ? 1 : (x < 0 ? -1 : 0); }

int SignNonZero(double x) { return x >= 0 ? 1 : -1; }

double SinDeg(double degrees) { return std::sin(degrees * kDegToRad); }

double CosDeg(double degrees) { return std::cos(degrees * kDegToRad); }

double TanDeg(double degrees) {
    double c = std::cos(degrees * kDegToRad);
    if (std::abs(c) < 1e-12) c = SignNonZero(c) * 1e-12;
    return std::sin(degrees * kDegToRad) / c;
}

double AtanDeg(double x) { return std::atan(x) / kDegToRad; }

double AsinDeg(double x) { return std::asin(std::clamp(x, -1.0, 1.0)) / kDegToRad; }

double AcosDeg(double x) { return std::acos(std::clamp(x, -1.0, 1.0)) / kDegToRad; }

double FracPositive(double x) {
    double f = x - std::trunc(x);
    if (f < 0) f += 1.0;
    // -1e-17 + 1 rounds to 1; keep the promise of [0, 1).
    return f >= 1.0 ? 0.0 : f;
}

double NormalizeAngle180(double degrees) {
    if (!std::isfinite(degrees)) return degrees;
    // Repeated subtraction is exact for the angles that occur; a far-off value is first
    // brought near so that the loop stays short.
    if (std::abs(degrees) > 3600.0) degrees = std::fmod(degrees, 360.0);
    while (std::abs(degrees) > 180.0) degrees -= Sign(degrees) * 360.0;
    return degrees;
}

double NormalizeAngle360(double degrees) {
    if (!std::isfinite(degrees)) return degrees;
    if (std::abs(degrees) > 3600.0) degrees = std::fmod(degrees, 360.0);
    while (degrees > 360.0) degrees -= 360.0;
    while (degrees < 0.0) degrees += 360.0;
    return degrees;
}

}  // namespace zorva
