#pragma once
// The Hidokai ('k'), a horizontal altitude dial with two faces along the date axis: a floor
// of length D and, at its far end, a wall as high as the nodus, which stands at height s
// above the floor's near edge. A high sun throws the nodus shadow onto the floor at
// s / tan(altitude) from the near edge, a low sun onto the wall, D tan(altitude) below the
// nodus' level. The drawing unfolds both faces side by side with the dates running down
// the page; one construction draws it on the screen, the printer page and into the plot.

#include "dials/dial_construction.h"

namespace zorva {

// The Hidokai. Its plot is "IN;VS 1;PA;" ... ";LT;IN;" (refused, with the message shown, when
// the latitude refuses temporal hours); the nodus shadow at a moment runs along the date's
// row, on the floor or the wall.
extern const DialConstruction kHidokai;

}  // namespace zorva
