#pragma once
// The hour-line angle table of a planar dial: for every apparent-time hour line the angle
// at which it leaves the style foot point S, measured from the drawing's vertical, and its
// tangent; and the range of hour angles in which the sun reaches the face at all.
//
// Angle convention (the continuation of hour lines to S relies on it): a line leaves S in
// the direction (-sin a, -cos a) on a horizontal dial and (sin a, cos a) on a vertical or
// inclined one, in drawing coordinates with y downward; so a is 0 for the noon line and
// counts counter-clockwise from it as seen on the drawing (the morning lines of a
// horizontal dial, the afternoon lines of a wall facing the equator).

#include "dials/planar_dial.h"
#include "state/dial_state.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace zorva {

inline constexpr double kNoHourLineAngle = 500.0;

struct HourLineAngle {
    double time = 0.0;   // hours of the dial's time reference
    int hour = 0;        // whole hour and subdivision index: time = hour + sub / linesPerHour
    int sub = 0;
    bool lit = false;    // the sun reaches the face at this time on some day of the year
    double angle = kNoHourLineAngle;  // degrees
};

struct HourLineTable {
    int linesPerHour = 1;
    std::vector<HourLineAngle> lines;  // the dial's apparent-time lines, first to last hour
    // Angle of every line hour + sub / linesPerHour of the day (0..24 h, up to 6 per hour),
    // kNoHourLineAngle where there is none.
    std::array<std::array<double, 6>, 25> byHour{};
    bool litRangeKnown = false;
    double firstLitHourAngle = 0.0;  // degrees of the site's true hour angle
    double lastLitHourAngle = 0.0;
    QString sunlitPeriod;            // "hh:mm - hh:mm" in the time reference, empty when never lit
};

// Planar dials without umbrella only; `linesPerHour` 1..6.
HourLineTable ComputeHourLineTable(const DialState& state, int linesPerHour);

// The angles and the sunlit range as the construction reads them to continue hour lines.
HourLineAngleTable ConstructionAngles(const HourLineTable& angles);

// Cell texts: time "hh:mm", angle width 7 with 2 decimals, tangent width 9 with 4 decimals,
// "   >10000" / "  <-10000" beyond +-10000, "  -----  " where there is no line.
QString HourLineTimeText(double hours);
QString HourLineAngleText(const HourLineAngle& line);
QString HourLineTangentText(const HourLineAngle& line);

// The table as laid out in the drawing window: groups of four columns (time, angle,
// tangent, spacer), up to four groups side by side.
struct HourLineGrid {
    int rows = 0;
    int groups = 0;
    QStringList headings;             // per column, groups × 4
    std::vector<QStringList> cells;   // per row, groups × 4
};
HourLineGrid HourLineAngleGrid(const HourLineTable& angles);

// The printable table: a title, the sunlit period and the grid in fixed-pitch columns.
QStringList HourLineAngleReport(const HourLineTable& angles, const DialState& state);

}  // namespace zorva
