#pragma once
// The quadrant dial ('q', kind 0): a quarter disc whose upper straight edge is aimed at the
// sun; a plumb line hanging from the apex crosses the date circle of the day at the hour
// line of the time. The plumb line's angle from the downward edge is the sun's altitude,
// so every point of the drawing is (radius of the date, angle of the altitude) around the
// apex. The date circles follow the calendar, the sun's declination (zodiac) or, on the
// Gunter quadrant, the stereographic projection from the pole. One construction draws it
// on the screen, true to scale on the printer page and into the plot stream.

#include "dials/dial_context.h"
#include "dials/live_shadow.h"
#include "dials/planar_dial.h"
#include "state/dial_state.h"

namespace zorva {

class DialPainter;
class PlotStream;
class UserDialogs;

// Draws the quadrant of the state. `drawn` is false when the latitude refuses temporal hours
// (the refusal stands on the canvas instead of the dial).
PlanarDialResult DrawQuadrantDial(const DialState& state, const PlanarDialRequest& request, DialPainter& painter,
                                  UserDialogs& dialogs);

// The plumb line of the quadrant aimed at the sun at `moment`, and its crossing with the
// day's date circle.
CastShadow QuadrantDialShadow(const DialContext& context, const PlanarDialRequest& request, const ShadowMoment& moment,
                              DialPainter& measure);

// The quadrant of kind 0 as a plot: "IN;VS 1;PA;" ... ";SP 0;IN;", mirrored for the left
// quadrant when the state asks for it. False when the latitude refuses temporal hours (the
// warning has been shown).
bool WriteQuadrantDialPlot(const DialContext& context, PlotStream& stream, UserDialogs& dialogs);

}  // namespace zorva
