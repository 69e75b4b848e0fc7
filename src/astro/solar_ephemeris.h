#pragma once
// The program's one source of solar declination and equation of time, and the
// declinations at which the sun enters the signs of the zodiac.

#include <array>

namespace zorva {

struct DeclinationEoT {
    double declination = 0.0;  // degrees, north positive
    double eot = 0.0;          // degrees of hour angle (x 4 = minutes), apparent - mean time, in [-180, 180]
};

// `d` counts days from 1 January of `year`: 1.0 = 1 January 12:00 UT, the fraction is the
// time from noon UT, so d = dayOfYear + (UT - 12) / 24. Values outside the year reach
// into the neighbouring years.
DeclinationEoT SolarDeclinationEoT(int year, double d);

struct ZodiacTable {
    double obliquity = 0.0;              // degrees, near the March equinox of the year
    std::array<double, 37> byLongitude{};  // declination at ecliptic longitude 90 + 5 i degrees
    // Declination at the entry into the signs, index 1..7 (0 unused): 1 = winter solstice
    // (longitude 270), 4 = equinox (exactly 0), 7 = summer solstice (longitude 90).
    // Same layout as DialState::zodiacDeclinations.
    std::array<double, 8> zodiac{};
};
ZodiacTable ZodiacDeclinations(int year);

}  // namespace zorva
