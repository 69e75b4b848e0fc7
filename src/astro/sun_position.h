#pragma once
// Horizontal coordinates of the sun for a site, a date and a time, their inverse, the
// sunlight on a plane and the time at which the sun reaches an azimuth.
//
// Conventions of every function here (all angles in degrees):
//  - latitude positive north; longitude and zone meridian positive WEST (central
//    European time: zone meridian -15);
//  - times are real hours of zone time, never daylight-saving time; UT = ZT + zone / 15;
//  - hour angle 0 at the meridian, negative before noon;
//  - azimuth from SOUTH, positive towards WEST (east -90, west +90, north +-180);
//  - altitude above the geometric horizon, without refraction.

#include "text/language.h"

#include <QString>

namespace zorva {

class UserDialogs;

struct HorizontalPosition {
    double altitude = 0.0;
    double azimuth = 0.0;
};

struct SunPositionResult {
    double altitude = 0.0;
    double azimuth = 0.0;
    double declination = 0.0;
    double eot = 0.0;  // degrees, apparent - mean time
};

struct EquatorialPosition {
    double hourAngle = 0.0;
    double declination = 0.0;
};

// Altitude and azimuth of a body at `hourAngle` with `declination` seen from `latitude`.
// The hour angle is first brought into [-180, 180]. At the exact meridian (t = 0) the
// azimuth is 0 when latitude >= declination, else 180; in the zenith it is 0.
HorizontalPosition HorizontalFromHourAngle(double hourAngle, double declination, double latitude);

// The sun at `zoneTime` (hours) of day `dayOfYear` (1 = 1 January) of `year`, with
// declination and EoT of that instant. Hour angle = 15 (ZT - 12) - (longitude - zone),
// plus the EoT when `apparent` is set (ZT is a clock time and the true sun is wanted);
// with `apparent` clear ZT is taken as the true sun's time. Passing longitude = zone
// makes ZT a local time: true local time with `apparent` clear, mean local time with it set.
SunPositionResult SunPosition(int year, double dayOfYear, double zoneTime, double latitude,
                              double longitude, double zoneMeridian, bool apparent);

// As SunPosition, but declination and EoT are those of 12:00 zone time of the day.
SunPositionResult SunPositionNoonEphemeris(int year, double dayOfYear, double zoneTime, double latitude,
                                           double longitude, double zoneMeridian, bool apparent);

// The sun on a given declination at mean-time hour angle 15 (ZT - 12) - (longitude - zone).
HorizontalPosition SunPositionForDeclination(double zoneTime, double latitude, double longitude,
                                             double zoneMeridian, double declination);

// The inverse of HorizontalFromHourAngle: the hour angle (in [-180, 180], negative
// for eastern azimuths) and declination of a direction.
EquatorialPosition EquatorialFromHorizontal(double latitude, double altitude, double azimuth);

// Cosine of the angle between the sun and the normal of a plane.
double IncidenceCosine(double altitude, double azimuth, double normalAltitude, double normalAzimuth);

// True when the sun at true local time `trueLocalTime` (hours; hour angle 15 (T - 12)) on
// `declination` shines on the front of the plane with the given normal.
bool PlaneIsSunlit(double trueLocalTime, double declination, double latitude, double normalAltitude,
                   double normalAzimuth);

struct AzimuthTimeResult {
    bool found = false;      // false: no time, message 24 was shown
    double zoneTime = 0.0;   // hours, the last midpoint of the search
    QString timeText;        // " 14:03:27  hh:mm:ss", empty when not found
    double altitude = 0.0;   // altitude of the last evaluated position
    bool doubtful = false;   // the bisection lost the azimuth (messages 31/32 were shown)
};

// The result text of TimeForAzimuth: hours right-aligned in three characters, minutes and
// seconds from the rounded seconds of the hour (a full hour carried), then "  hh:mm:ss".
QString FormatAzimuthTime(double hours);

// The zone time at which the sun reaches `azimuth` on the given date and site, searched
// by bisection in the morning (azimuth <= 0) or afternoon bracket. Doubtful or impossible
// cases are reported through `dialogs` ("Fehler: Az1=..." report, messages 44, 31/32, 24);
// the search always ends.
AzimuthTimeResult TimeForAzimuth(int year, int month, int day, double azimuth, double latitude,
                                 double longitude, double zoneMeridian, UserDialogs& dialogs,
                                 Language lang);

}  // namespace zorva
