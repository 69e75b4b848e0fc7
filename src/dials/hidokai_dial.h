#pragma once
// The Hidokai ('k'), a horizontal altitude dial with two faces along the date axis: a floor
// of length D and, at its far end, a wall as high as the nodus, which stands at height s
// above the floor's near edge. A high sun throws the nodus shadow onto the floor at
// s / tan(altitude) from the near edge, a low sun onto the wall, D tan(altitude) below the
// nodus' level. The drawing unfolds both faces side by side with the dates running down
// the page; one construction draws it on the screen, the printer page and into the plot.

#include "dials/dial_context.h"
#include "dials/live_shadow.h"
#include "dials/planar_dial.h"
#include "state/dial_state.h"

namespace zorva {

class PlotStream;
class DialPainter;
class UserDialogs;

DialResult DrawHidokai(const DialContext& context, const DialRequest& request, DialPainter& painter,
                       UserDialogs& dialogs);

// The Hidokai as a plot ("IN;VS 1;PA;" ... ";LT;IN;"); false when the latitude refuses
// temporal hours (the message has been shown).
// The nodus shadow on the Hidokai at `moment`: along the date's row, on the floor or the wall.
CastShadow HidokaiShadow(const DialContext& context, const DialRequest& request, const ShadowMoment& moment,
                         DialPainter& measure);
bool WriteHidokaiPlot(const DialContext& context, PlotStream& stream, UserDialogs& dialogs);

}  // namespace zorva
