#pragma once
// The cylinder dials ('z'). The shepherd's dial (variant 0) is a vertical cylinder with a
// horizontal gnomon at its top, turned to the date: the shadow of the gnomon's tip falls
// straight down the cylinder and its length b tan(altitude) shows the time. The drawing
// is the unrolled cylinder: dates across, shadow length downward. One construction draws
// it on the screen, the printer page (true scale) and into the plot stream.

#include "dials/dial_context.h"
#include "dials/live_shadow.h"
#include "dials/planar_dial.h"
#include "state/dial_state.h"

namespace zorva {

class DialPainter;
class PlotStream;
class UserDialogs;

// The shepherd's dial of the state on a screen image or printer page.
DialResult DrawShepherdsDial(const DialContext& context, const DialRequest& request, DialPainter& painter,
                             UserDialogs& dialogs);

// The gnomon's shadow on the shepherd's dial at `moment`.
CastShadow ShepherdsDialShadow(const DialContext& context, const DialRequest& request, const ShadowMoment& moment,
                               DialPainter& measure);

// The cylinder family by variant: 0 the shepherd's dial, 1 the hat dial, 2 the polar-style
// cylinder.
DialResult DrawCylinderDial(const DialContext& context, const DialRequest& request, DialPainter& painter,
                            UserDialogs& dialogs);

// The shepherd's dial as a plot ("IN;VS 1;PA;" ... ";LT;IN;"); false when the latitude
// refuses temporal hours (the message has been shown).
bool WriteShepherdsDialPlot(const DialContext& context, PlotStream& stream, UserDialogs& dialogs);

}  // namespace zorva
