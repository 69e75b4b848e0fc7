#pragma once
// The constructions the program draws, found by dial-type letter and variant. The drawing
// window, the plot output and zorva-cli all ask here; each family names its constructions in
// its own header, so a new dial is one line in ConstructionFor. A letter without an entry
// draws only the frame.

#include "dials/dial_construction.h"
#include "plot/plot_save.h"
#include "state/dial_state.h"

namespace zorva {

class DialPainter;
class PlotStream;
class UserDialogs;

// The construction for the state's letter and variant; nullptr when only the frame is drawn.
const DialConstruction* ConstructionFor(const DialState& state);

// The shadow on the dial of the state as `request` draws it, at `moment`; `measure` (the
// screen's fonts when null) sizes texts as the painter of the drawing does.
CastShadow ShadowOnDial(const DialContext& context, const DialRequest& request, const ShadowMoment& moment,
                        DialPainter* measure = nullptr);
// Drawing units per millimetre of a request's target (screen, page or plot).
double UnitsPerMmOf(const DialRequest& request);
// Draws the shadow of `request.shadow`, when set, over the dial just drawn.
void DrawRequestedShadow(const DialContext& context, const DialRequest& request, DialPainter& painter);

// True when the dial of the state can be saved as a plot or DXF file.
bool CanSavePlot(const DialState& state);

// Saves a non-planar dial through its plot construction (planar dials go through
// SavePlanarDial with their coordinate listing). Failures are reported through `dialogs`.
PlotSaveResult SaveDialPlot(const DialState& state, const PlotSaveRequest& request, UserDialogs& dialogs,
                            const ShadowMoment* shadow = nullptr);

}  // namespace zorva
