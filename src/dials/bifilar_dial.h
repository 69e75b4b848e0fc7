#pragma once
// The bifilar dial as a construction: hour lines (straight for apparent time, loops over
// the year for mean time) and date lines where the crossing of the two threads' shadows
// falls, the threads' lines under them, the orientation arrow and the legend.

#include "dials/bifilar_geometry.h"
#include "dials/dial_construction.h"

#include <QString>

namespace zorva {

// The dial of the state: level, or on the wall of the state's declination.
BifilarDial BifilarDialOf(const DialState& s);
BifilarDial BifilarDialOf(const DialContext& c);
// The row (drawing units, y down) of the threads' crossing on a sheet of `width` x `height`
// units from `top`: the middle of the date lines stands in the room below the legend.
double BifilarCrossingRow(const DialState& s, double top, double width, double height, double unitsPerMm);
// Why the dial cannot be drawn (the message text); empty when it can.
QString BifilarRefusal(const DialContext& c);

// The dial and its plot; the shadow is both threads' and their crossing at the moment.
extern const DialConstruction kBifilarDial;

}  // namespace zorva
