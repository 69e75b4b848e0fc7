#pragma once
// The ring dial ('r'): a ring hangs from its suspension point in the sun's vertical plane;
// light through a small hole at central angle theta from the suspension point falls on the
// inside of the opposite half. By the inscribed-angle theorem the spot lies at central angle
// theta + 2a (a the sun's altitude), so the unrolled half ring carries an altitude scale
// that becomes a time scale through the date. Dates lie across the band; to bring the spot
// onto today's date line the ring is turned a little out of the sun's plane, which tilts the
// ray (the lateral deflection). With the sliding hole the hole moves along a slot with the
// date, theta(delta) = theta - 2 delta, so that noon stays on one straight line.

#include "dials/dial_construction.h"
#include "state/dial_state.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zorva {

// The altitude of the ray projected into the ring's plane when the spot is to fall `wMm`
// across the band from the hole's line: iterated lambda = 0; h' = asin(sin a / cos lambda);
// c = 2R sin(theta + h'); lambda = atan(w / c). Returns the altitude itself for w = 0;
// nullopt when the ray cannot enter the hole.
std::optional<double> RingProjectedAltitude(double altitudeDeg, double thetaDeg, double wMm, double radiusMm);
// Arc length (mm) of the spot from the suspension point: R (theta + 2 h').
double RingSpotArc(double radiusMm, double thetaDeg, double projectedAltitudeDeg);

// The hole's central angle for a date of declination `delta` (the sliding hole moves with
// the date; a fixed hole stays at `ringAngle`).
double RingHoleAngle(const DialState& state, double declinationDeg);
// How far across the band (mm, from the hole's line, summer negative) the date line of a
// declination lies; 0 for the single band.
double RingDateOffset(const DialContext& context, double declinationDeg);
// Arc length (mm) of the spot at a sun altitude and declination, with or without the
// lateral deflection; nullopt where no light reaches the half ring.
std::optional<double> RingSpotPosition(const DialContext& context, double altitudeDeg, double declinationDeg,
                                       bool deflection);

// Why a ring dial cannot be drawn; empty when it can.
QString RingRefusal(const DialState& state);

// The altitude-correction table: per month (the 15th) and full hour, the minutes to add
// to the time read on the drawn scale to get the true time. The scale is the single band,
// or the date-line scale that ignores the lateral deflection (rayDeflection 0 and 2); with
// the deflection considered on separate date lines every entry is 0.
struct RingCorrectionTable {
    std::vector<int> hours;                                  // full hours, columns
    std::vector<std::vector<std::optional<double>>> minutes; // [month 0..11][column]
    QString scale;                                           // which scale the table corrects
};
RingCorrectionTable ComputeRingCorrectionTable(const DialContext& context);

// The ring dial. Its plot is "IN;SS;PA;" ... ";SP 0;IN;" at p = 1 (refused, with the message
// shown, when the ring is); its "shadow" is the light spot at a moment (the ring hanging in
// the sun's vertical plane); its sheet is the correction table.
extern const DialConstruction kRingDial;

// True when the half ring (pi D / 2) is longer than a printable width in 0.1 mm.
bool RingLongerThanPrintArea(const DialState& state, double printableWidthTenthMm);

}  // namespace zorva
