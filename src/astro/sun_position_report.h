#pragma once
// The single calculations of the sun-position window: the texts its result labels show
// and the block each calculation appends to the window's print list. Shared by the window
// and zorva-cli, so that both print the same lines.
//
// Site conventions as in sun_position.h: latitude north positive, longitude and zone
// meridian WEST positive, times in hours of zone time, angles in degrees.

#include "astro/sun_position.h"
#include "text/language.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zorva {

class UserDialogs;
struct HorizonProfile;

struct ReportSite {
    double latitude = 0.0;
    double longitude = 0.0;
    double zoneMeridian = 0.0;
    int year = 2000;
    int month = 1;
    int day = 1;
};

// "  " and 76 underscores: opens and closes every block of the print list.
QString PrintRule();
// True for the rule line (a block boundary).
bool IsPrintRule(const QString& line);
// Blank line, rule, blank line, then the date, latitude and longitude/zone-meridian lines.
QStringList PrintBlockHead(const ReportSite& site, Language lang);

// Day of year of the site's date counted as the window does: MJD(date) - MJD(0 January).
int ReportDayOfYear(const ReportSite& site);

// --- equation of time and declination at 12:00 zone time

struct EoTDeclinationReport {
    double eot = 0.0;          // degrees
    double declination = 0.0;  // degrees
    QString eotText;           // " -1:45  min:sec"
    QString declinationText;   // " 23.44 Grad"
    QStringList printLines;    // the whole block
};
EoTDeclinationReport EoTDeclinationAtNoon(const ReportSite& site, Language lang);

// --- rise and set of sun, twilight and moon

struct RiseSetReport {
    EoTDeclinationReport noon;  // EoT and declination at 12:00 zone time
    // " hh:min" is appended to both texts of a body when it both rises and sets.
    QString sunRise, sunSet;
    QString twilightBegin, twilightEnd;  // morning begin, evening end
    QString moonRise, moonSet;
    QStringList printLines;
};
// `twilightKind`: 0 civil, 1 nautical, 2 astronomical. With `terrain` the sun rises and
// sets over that horizon profile.
RiseSetReport RiseSetOfDay(const ReportSite& site, int twilightKind, Language lang,
                           const HorizonProfile* terrain = nullptr);

// --- position of the sun at a time

enum class ClockKind { TrueLocal = 0, MeanLocal = 1, Zone = 2 };

// "h", "h:m" or "h:m:s" with hours 0..23 and minutes and seconds 0..59; blanks around are
// ignored. Anything else has no value.
std::optional<double> ParseClockTime(const QString& text);
// The name of the time kind as the window's radio group shows it.
QString ClockKindName(ClockKind kind, Language lang);

struct PositionReport {
    SunPositionResult position;
    QString altitudeText;     // RealToText(7, 2)
    QString azimuthText;      // RealToText(7, 2)
    QString eotText;          // FormatMinSec + "  min:sec"
    QString declinationText;  // rounded to 0.01, RealToText(7, 2) + unit
    QStringList printLines;
};
PositionReport SunPositionAt(const ReportSite& site, double hours, ClockKind kind, Language lang);

// --- time at which the sun reaches an azimuth

struct AzimuthTimeReport {
    AzimuthTimeResult search;
    QString timeText;      // " 14:03:27  hh:mm:ss", empty when no time was found
    QString altitudeText;  // rounded to 0.1, RealToText(5, 1) + unit; empty when no time was found
    QStringList printLines;
};
// Reports doubtful or impossible searches through `dialogs` (see TimeForAzimuth).
AzimuthTimeReport SunAtAzimuth(const ReportSite& site, double azimuth, UserDialogs& dialogs, Language lang);

}  // namespace zorva
