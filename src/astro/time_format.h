#pragma once
// Time-of-day and equation-of-time texts of tables, labels and print lists.

#include <QString>

namespace zorva {

// An equation of time in degrees as minutes:seconds of time (4 minutes per degree),
// seconds rounded half away from zero and carried into the minutes, "-" only when the
// rounded value is negative, left-padded to 6 characters: 0.25 -> "  1:00", -0.1 -> " -0:24".
QString FormatMinSec(double eotDegrees);
// Hours as h:mm:ss ("-" for negative), seconds rounded and carried, never "60".
QString FormatHourMinSec(double hours);
// Hours rounded to the whole minute, as "hh:mm" with the hours right-aligned in three
// characters: 6.9999 -> "  7:00".
QString FormatHourMin(double hours);

}  // namespace zorva
