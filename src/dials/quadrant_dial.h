#pragma once
// The quadrant dial ('q', kind 0): a quarter disc whose upper straight edge is aimed at the
// sun; a plumb line hanging from the apex crosses the date circle of the day at the hour
// line of the time. The plumb line's angle from the downward edge is the sun's altitude,
// so every point of the drawing is (radius of the date, angle of the altitude) around the
// apex. The date circles follow the calendar, the sun's declination (zodiac) or, on the
// Gunter quadrant, the stereographic projection from the pole. One construction draws it
// on the screen, true to scale on the printer page and into the plot stream.

#include "dials/dial_construction.h"
#include "dials/planar_dial.h"
#include "state/dial_state.h"

namespace zorva {

// The quadrant of kind 0 (calendar and zodiac quadrants, and the Gunter quadrant). A latitude
// that refuses temporal hours is refused: the refusal stands on the canvas instead of the
// dial, and no plot is written (the warning has been shown). The plot is "IN;VS 1;PA;" ...
// ";SP 0;IN;", mirrored for the left quadrant when the state asks for it. The shadow is the
// plumb line aimed at the sun and its crossing with the day's date circle.
extern const DialConstruction kQuadrantDial;
extern const DialConstruction kGunterQuadrant;

}  // namespace zorva
