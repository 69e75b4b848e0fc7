#pragma once
// The constructions the program draws, found by dial-type letter and variant. The drawing
// window, the plot output and zorva-cli all ask here, so a new dial is one entry in
// dial_constructions.cpp; a letter without an entry draws only the frame.

#include "dials/dial_context.h"
#include "dials/dial_request.h"
#include "dials/live_shadow.h"
#include "plot/plot_save.h"
#include "state/dial_state.h"

namespace zorva {

class DialPainter;
class PlotStream;
class UserDialogs;

// Draws the dial on the screen or a printer page (one construction, two targets).
using CanvasConstruction = DialResult (*)(const DialContext&, const DialRequest&, DialPainter&, UserDialogs&);
// Writes the whole plot of the dial, head and end included, into the stream; false when
// the construction refused the dial (its message has been shown).
using PlotConstruction = bool (*)(const DialContext&, PlotStream&, UserDialogs&);

struct DialConstruction {
    CanvasConstruction draw = nullptr;
    // The plot-stream twin; null while the dial has none (the plot buttons stay off).
    PlotConstruction writePlot = nullptr;
    // A second plot saved with the first (the cone of the cone-shadow dial).
    PlotConstruction writeSecondPlot = nullptr;
    // Gnomon placement, zoom, grid, angle panel and coordinate listing of the planar dials.
    bool planar = false;
    // The plot is written at p = 1 even for DXF (its writer does not scale by p).
    bool fixedResolution = false;
    // The gnomon's shadow for a sun direction; null while the family has none.
    ShadowProjection shadow = nullptr;
    // A second view the drawing window's sheet button shows instead of the dial (a table to
    // print: the ring's correction table, the analemmatic dial's layout sheet), and the
    // number of the button's caption.
    CanvasConstruction sheet = nullptr;
    int sheetButton = 0;
};

// Captions (string resources) of the sheet button.
inline constexpr int kCorrectionTableButton = 122;
inline constexpr int kLayoutSheetButton = 940;

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
