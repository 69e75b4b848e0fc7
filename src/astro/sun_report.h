#pragma once
// The calculations of the sun-position window for one date and site, and the lines each
// calculation appends to the window's print list. zorva-cli prints the same lines.

#include "astro/rise_set.h"
#include "astro/sun_position.h"
#include "text/language.h"

#include <QString>
#include <QStringList>

namespace zorva {

struct SunCalcInput {
    int year = 2000;
    int month = 1;
    int day = 1;
    double latitude = 0.0;      // degrees, north positive
    double longitude = 0.0;     // degrees, WEST positive
    double zoneMeridian = 0.0;  // degrees, WEST positive
};

// The time kinds of the position mode.
enum class PositionTimeKind { Apparent, Mean, Zone };

struct NoonValues {
    double eot = 0.0;          // degrees
    double declination = 0.0;  // degrees
};
// EoT and declination at 12:00 zone time of the day.
NoonValues NoonEoTDeclination(const SunCalcInput& in);

// Sun position at `hours` of the given time kind: true local time, mean local time
// (both of the zone meridian) or zone time of the site.
SunPositionResult PositionAtTime(const SunCalcInput& in, double hours, PositionTimeKind kind);

// Two blanks and 76 underscores.
QString PrintListRule();
// Blank line, rule, blank line, date, latitude, longitude with zone meridian.
QStringList PrintListHeader(const SunCalcInput& in, Language lang);
// EoT (min:sec) and declination of the rise/set and EoT modes, valid for 12:00 zone time.
QStringList NoonPrintLines(const NoonValues& noon, Language lang);
// Sun, twilight (with the kind shown) and moon lines; " hh:min" follows the times of a
// body only when both its events happened.
QStringList RiseSetPrintLines(const DayRiseSet& day, int twilightKind, Language lang);
// Time, altitude, azimuth, declination, EoT; a note when the sun is below the horizon.
QStringList PositionPrintLines(const QString& timeText, PositionTimeKind kind, const SunPositionResult& p,
                               Language lang);
// The azimuth asked, the time found and the altitude then.
QStringList AzimuthTimePrintLines(double azimuth, const AzimuthTimeResult& r, Language lang);

// Texts of the position mode's result fields.
QString AltitudeFieldText(double altitude);         // RealToText(7, 2)
QString DeclinationFieldText(double declination);   // rounded to 0.01, RealToText(7, 2) + " Grad"
QString EoTFieldText(double eot);                   // FormatMinSec + "  min:sec"
QString PositionTimeKindName(PositionTimeKind kind, Language lang);

}  // namespace zorva
