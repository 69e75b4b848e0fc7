#pragma once
// When the sun, the twilight circle and the moon cross their rise/set altitudes on a day
// (a scan in two-hour steps with quadratic interpolation), and the closed-form day arc
// of the sun used by the dial constructions.
//
// Site conventions as in sun_position.h: latitude north positive, longitude and zone
// meridian WEST positive, times in hours of zone time, angles in degrees.

#include "astro/moon.h"
#include "astro/sun_position.h"
#include "text/language.h"

#include <QString>

#include <array>

namespace zorva {

// Numbered as in the threshold table: 1 moon, 2 sun, 3 twilight.
enum class RiseSetBody { Moon = 1, Sun = 2, Twilight = 3 };

// 0 civil (-6 degrees), 1 nautical (-12), 2 astronomical (-18); other values count as nautical.
double TwilightAltitude(int twilightKind);
// Rise/set altitude of the body in degrees: moon +8', sun -50', twilight by kind.
double ThresholdAltitude(RiseSetBody body, int twilightKind);
double ThresholdSine(RiseSetBody body, int twilightKind);

// Low-precision sun for T in Julian centuries from 2000-01-01 12:00.
RaDec MiniSun(double T);
EquatorialUnit MiniSunUnit(double T);
// Local mean sidereal time in hours [0, 24) at `mjd` (UT) and `longitude` (west positive).
double LocalSiderealTime(double mjd, double longitude);

struct QuadraticZerosResult {
    double xe = 0.0, ye = 0.0;       // extremum of the parabola
    double zero1 = 0.0, zero2 = 0.0;
    int count = 0;                   // zeros within [-1, 1]; zero1 holds the one when count = 1
};
// The parabola through (-1, yMinus), (0, y0), (1, yPlus).
QuadraticZerosResult QuadraticZeros(double yMinus, double y0, double yPlus);

// The sine of an altitude, y(t), is smooth: the second difference of hourly samples,
// y(t-1) - 2 y(t) + y(t+1), equals y'' somewhere between, and |y''| is below the square of
// the hour angle's rate (15.04 degrees an hour: 0.0689 per hour squared) plus the
// declination's part (below 0.003, the moon's). Half of it, the bend of the parabola through
// three samples, is thus below 0.036; this bound leaves room.
inline constexpr double kSinAltitudeBend = 0.04;

// The direction of a body, a unit vector, bends by its speed squared plus what the change of
// its motion adds; between two samples 24 hours apart it stays within bend * k (24 - k) / 2
// of the chord joining them after k hours (bend: that second derivative's bound per hour
// squared), which lets a scan forecast the whole day from two series.
// The moon moves at most 0.27 rad a day (mean longitude plus the periodic terms' amplitudes
// times their rates) and its motion changes by at most 0.018 rad a day squared (amplitudes
// times rates squared, and the turn of latitude against longitude): below 0.091 rad a day
// squared, 1.58e-4 an hour squared.
inline constexpr double kMoonDirectionBend = 1.6e-4;
// The sun moves at most 0.0178 rad a day, its speed changing by 1e-5 rad a day squared with
// the eccentricity: below 3.3e-4 rad a day squared, 5.7e-7 an hour squared, rounded up.
inline constexpr double kSunDirectionBend = 6.5e-7;

// Sine of the body's altitude at `hour` after `mjd0` (MJD of 0:00 zone time).
double SinAltitude(RiseSetBody body, double mjd0, double hour, double longitude, double cosPhi, double sinPhi);

struct RiseSetTimes {
    bool rises = false;
    bool sets = false;
    double riseHours = 0.0;  // zone time, valid when `rises`
    double setHours = 0.0;   // zone time, valid when `sets`
    bool aboveAtMidnight = false;  // with neither event: above (true) or below all day
    bool wholeDay() const { return !rises && !sets; }
    bool eventMissing() const { return rises != sets; }
};

// MJD of 0:00 zone time of the day: the instant the search starts from.
double MidnightMJD(int year, int month, int day, double zoneMeridian);
// The scan of one day from `mjd0` (MidnightMJD) over 24 hours.
RiseSetTimes RiseSetSearch(RiseSetBody body, double mjd0, double latitude, double longitude, double sinThreshold);

struct RiseSetTexts {
    QString rise;  // "  4:25", " -----" or a whole-day label
    QString set;
    bool complete = false;  // both events happened: the dialog appends " hh:min"
};
// Texts of a search: FormatHourMin times, " -----" for a missing event, or one of the
// labels 68..71 for both when the body stays above or below all day.
RiseSetTexts RiseSetText(const RiseSetTimes& times, RiseSetBody body, Language lang);

struct DayRiseSet {
    RiseSetTimes sun, twilight, moon;
};
// Sun, twilight of the given kind and moon for a day of the site.
DayRiseSet RiseSetForDay(int year, int month, int day, double latitude, double longitude, double zoneMeridian,
                         int twilightKind);

// The rise/set columns of a table line: sun rise and set, twilight end and begin, moon
// rise and set, each pair followed by two blanks; a whole-day label (as wide as a pair
// with its blanks) stands once, alone.
QString RiseSetTableColumns(const DayRiseSet& day, Language lang);

// --- closed-form day arc of the sun at the geometric horizon

struct DayArcResult {
    double declination = 0.0;
    bool rises = false;
    bool sets = false;
    double semiDiurnalArc = 0.0;  // H0, degrees of hour angle; 0 unless both flags hold
};
// Declination at 12:00 of `meridian` on the day and the semi-diurnal arc at `latitude`.
// Rises only: polar day; neither: polar night.
DayArcResult DayArc(int year, double dayOfYear, double meridian, double latitude);
// The same rule for a given declination; strict inequalities in the north.
DayArcResult DayArcForDeclination(double declination, double latitude);

struct MeanRiseSet {
    double rise = 0.0;  // hours; polar day 0, polar night -1
    double set = 0.0;   // hours; polar day 24, polar night 0
};
// Sunrise and sunset from the day arc at `meridian`, in the time of `zoneMeridian`
// (a meridian west of the zone rises later); passing the zone meridian as `meridian`
// gives local mean times.
MeanRiseSet SunriseSunsetMean(int year, double dayOfYear, double meridian, double latitude, double zoneMeridian);

struct RiseSetDirections {
    double declination = 0.0;
    double rise = 0.0;  // local time of `meridian`, hours
    double set = 0.0;
    SunPositionResult atRise;
    SunPositionResult atSet;
};
// Rise and set times from the noon declination of `meridian`, and the sun's direction at
// both (used by the azimuth dials).
RiseSetDirections RiseSetAzimuths(int year, double dayOfYear, double meridian, double latitude);

struct HourAngleDirection {
    double hourAngle = 0.0;  // H0 in [0, 180]
    HorizontalPosition direction;
};
// The sunset hour angle for a declination and the sun's direction there (ends of day paths).
HourAngleDirection SunsetHourAngleDirection(double declination, double latitude);

// Mean rise and set on fixed days of the year for the dial constructions.
struct FixedDayRiseSet {
    int month = 0;
    int day = 0;
    double rise = 0.0;
    double set = 0.0;
    double riseAzimuth = 0.0;  // filled by the four-days-a-month table only
    double setAzimuth = 0.0;
};
// Days 1, 11 and 21 of June..December (21 entries).
std::array<FixedDayRiseSet, 21> MeanRiseSetSummerToWinter(int year, double meridian, double latitude,
                                                          double zoneMeridian);
// Days 1, 8, 15 and 22 of every month (48 entries), with the sun's azimuth at rise and set.
std::array<FixedDayRiseSet, 48> MeanRiseSetFourDaysAMonth(int year, double meridian, double latitude,
                                                          double zoneMeridian);

}  // namespace zorva
