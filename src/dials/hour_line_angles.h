#pragma once
// The angles of the apparent-time hour lines of a planar dial, measured at the style foot
// point from the noon direction, and the hour angles between which the sun can reach the
// plane at all. The drawing window shows them as its hour-line table; the construction
// uses them to continue hour lines to the style foot point.

#include "dials/planar_dial.h"
#include "state/dial_state.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zorva {

struct HourLineAngleRow {
    double time = 0.0;   // hours of the time reference
    double angle = HourLineAngleTable::kNone;  // degrees, kNone when the line does not exist
};

struct HourLineAngles {
    HourLineAngleTable table;          // angles by hour and subdivision; lit range when `withLitRange`
    std::vector<HourLineAngleRow> rows;  // the lines in drawing order
    QString sunlitPeriod;              // "  5:12 -  18:48", empty when the sun never reaches the plane
};

// `withLitRange`: also the first and last lit hour angle over the year (the angle panel's part).
HourLineAngles ComputeHourLineAngles(const DialState& state, bool withLitRange);

// The table as text lines: heading "[hh;mm]", "[dd.dd]", " tan(alpha)", then one line per hour line.
QStringList HourLineAngleTableLines(const DialState& state, const HourLineAngles& angles);

}  // namespace zorva
