#pragma once
// The hat dial (cylinder variant 1): a cylinder standing on a horizontal brim, with a
// horizontal gnomon at its top. The whole dial is turned until the nodus shadow falls
// straight down the wall; then the place round the cylinder shows the sun's azimuth and
// the shadow length b tan(altitude) its altitude. The drawing is the unrolled wall:
// azimuth across, shadow length downward; hour lines are the sun's (azimuth, altitude) at
// one time over the days, date lines the daily paths at the zodiac declinations.

#include "dials/dial_construction.h"

namespace zorva {

// Column offset, in degrees of the azimuth scale, of a sun azimuth (from south, west
// positive). North of the equator the scale runs from west (left) to east with the south
// in the middle; south of it the scale counts from the north, so that the noon shadow
// stays in the middle there too.
double HatAzimuthPosition(double azimuth, double latitude);
// The azimuth the scale labels at `position` degrees from the middle (inverse of the above).
int HatAzimuthLabel(int position, double latitude);

// The hat dial. Its plot is "IN;VS 1;PA;" ... ";LT;IN;" (refused, with the message shown,
// when the latitude refuses temporal hours); the brim's shadow at a moment runs down the
// column of the sun's azimuth.
extern const DialConstruction kHatDial;

}  // namespace zorva
