#pragma once
// The quadrant dial ('q', kind 0): a quarter disc whose upper straight edge is aimed at the
// sun; a plumb line hanging from the apex crosses the date circle of the day at the hour
// line of the time. The plumb line's angle from the downward edge is the sun's altitude,
// so every point of the drawing is (radius of the date, angle of the altitude) around the
// apex. One construction draws it on the screen and, true to scale, on the printer page.

#include "dials/planar_dial.h"
#include "state/dial_state.h"

namespace zorva {

class DialPainter;
class UserDialogs;

// Draws the quadrant of the state. `drawn` is false when the latitude refuses temporal hours
// (the refusal stands on the canvas instead of the dial).
PlanarDialResult DrawQuadrantDial(const DialState& state, const PlanarDialRequest& request, DialPainter& painter,
                                  UserDialogs& dialogs);

}  // namespace zorva
