#pragma once
// The content of the two graphs of the tables window, computed once and drawn on the
// screen, the printer and into plot files: the equation of time over the reference year,
// and the sun-position diagram (altitude over azimuth of the zodiac day paths and hour lines).

#include <array>
#include <functional>
#include <vector>

namespace zorva {

// ---- equation of time

// The longitude correction k = (zone - lambda) * 4 minutes split into whole minutes, which
// shift the labels of the minute axis, and the rest in degrees, which shifts the curve.
struct EotCorrectionSplit {
    int wholeMinutes = 0;
    double fractionDegrees = 0.0;
};
enum class MinuteSplit {
    Rounded,    // screen and print
    Truncated,  // plot file
};
// Zero when the correction is off; lambda and zone west positive, their difference taken
// across the date line the short way.
EotCorrectionSplit SplitEotCorrection(double longitude, double zoneMeridian, bool enabled, MinuteSplit split);

struct EotGraphPoint {
    double day = 0.0;      // x: days since 1 January 12:00 UT
    double minutes = 0.0;  // y: (EoT + correction fraction) * 4
};

struct EotGraph {
    int year = 0;
    int daysInYear = 365;
    EotCorrectionSplit correction;
    // Day x of the start of months 2..13 (index 0 = February ... 11 = end of December).
    std::array<int, 12> monthStarts{};
    std::vector<EotGraphPoint> curve;  // every third day and the year's end; none outside the reference years
};
EotGraph BuildEotGraph(int year, double longitude, double zoneMeridian, bool longitudeCorrection, MinuteSplit split);

// The minute axis spans -17..+17; these carry a grid line and a label.
inline constexpr int kEotAxisMinutes = 17;
bool EotMinuteIsGridLine(int minute);

// ---- sun-position diagram

struct SkyPoint {
    double azimuth = 0.0;   // from south, west positive, [-180, 180]
    double altitude = 0.0;
    bool marked = false;    // drawn in palette colour 10: sun behind the plane or the terrain
};
using SkyPolyline = std::vector<SkyPoint>;

// True where the sun at (azimuth, altitude) does not reach the object of interest.
using SkyMarker = std::function<bool(double azimuth, double altitude)>;

struct DayPath {
    int zodiacIndex = 0;  // 1 Capricorn (winter solstice) .. 4 Aries .. 7 Cancer
    double declination = 0.0;
    std::vector<SkyPolyline> pieces;  // broken where the path crosses north
    bool noonVisible = false;         // the sign is written near the noon point
    SkyPoint noon;
};

struct HourLine {
    double hour = 0.0;       // 0, 0.5, ..., 24 of local apparent time
    bool fullHour = false;
    std::vector<SkyPolyline> pieces;  // the parts above the horizon
    bool endVisible = false;          // the hour number is written at the summer end
    SkyPoint end;
};

struct SunPathDiagram {
    std::vector<DayPath> dayPaths;   // zodiac index 1..7, only days on which the sun rises
    std::vector<HourLine> hourLines;
};

// `zodiac` is DialState::zodiacDeclinations (index 1..7); `hourAngleShift` is lambda - zone
// when the hour lines show zone apparent time, else 0. `marker`, when set, marks points.
SunPathDiagram BuildSunPathDiagram(double latitude, const std::array<double, 8>& zodiac, double hourAngleShift,
                                   const SkyMarker& marker = {});

// The marker of a plane: the sun is behind it when the cosine of incidence is negative.
// `inclination` is the plane's angle to the horizontal, `declination` its normal's azimuth.
SkyMarker PlaneShadowMarker(double inclination, double wallDeclination);

}  // namespace zorva
