#pragma once
// Short lunar series: enough for rise and set times to the minute.

namespace zorva {

struct RaDec {
    double rightAscensionHours = 0.0;  // [0, 24)
    double declination = 0.0;          // degrees
};

// Moon's right ascension and declination (fixed obliquity of J2000) for T in Julian
// centuries from 2000-01-01 12:00 (T = (MJD - 51544.5) / 36525).
RaDec MiniMoon(double T);

}  // namespace zorva
