#pragma once
// Sign and degree-based trigonometry shared by every calculation and construction.
// All angles are degrees.

namespace zorva {

// The one conversion factor of the program (pi/180 to eleven digits). Tables and dials
// were always computed with it; keeping it keeps every printed digit as before.
inline constexpr double kDegToRad = 0.01745329252;
inline constexpr double kPi = 3.14159265358979323846;
// pi/180 to full precision, for the calculations that were never computed with the stored
// factor (rise and set, terrain distances, the DXF arcs' own factor aside).
inline constexpr double kExactDegToRad = kPi / 180.0;

// +1, -1 or 0.
int Sign(double x);
// +1 for x >= 0, -1 otherwise.
int SignNonZero(double x);

double SinDeg(double degrees);
double CosDeg(double degrees);
// sin/cos where a cosine below 1e-12 in magnitude is replaced by +-1e-12:
// 90 degrees gives a huge finite value, never a division by zero.
double TanDeg(double degrees);
// Results of the inverse functions in degrees (the same stored factor).
double AtanDeg(double x);
double AsinDeg(double x);  // x is limited to [-1, 1]
double AcosDeg(double x);  // x is limited to [-1, 1]

// x - Int(x), plus 1 when negative: always in [0, 1).
double FracPositive(double x);

// Into [-180, +180] by subtracting Sign(angle) * 360 while |angle| > 180:
// +180 and -180 stay as they are. Non-finite values are returned unchanged.
double NormalizeAngle180(double degrees);
// Into [0, 360] by subtracting or adding 360.
double NormalizeAngle360(double degrees);

}  // namespace zorva
