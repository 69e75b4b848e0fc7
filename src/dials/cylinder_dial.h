#pragma once
// The cylinder dials ('z'). The shepherd's dial (variant 0) is a vertical cylinder with a
// horizontal gnomon at its top, turned to the date: the shadow of the gnomon's tip falls
// straight down the cylinder and its length b tan(altitude) shows the time. The drawing
// is the unrolled cylinder: dates across, shadow length downward. One construction draws
// it on the screen, the printer page (true scale) and into the plot stream.

#include "dials/dial_construction.h"

namespace zorva {

// The shepherd's dial. Its plot is "IN;VS 1;PA;" ... ";LT;IN;" (refused, with the message
// shown, when the latitude refuses temporal hours). The other cylinder variants are the hat
// dial (hat_dial.h) and the polar-style cylinder (polar_cylinder_dial.h).
extern const DialConstruction kShepherdsDial;

}  // namespace zorva
