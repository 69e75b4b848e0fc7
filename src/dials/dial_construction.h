#pragma once
// One dial construction: what a dial family gives the program. Each family's header names
// its constructions; dial_constructions.cpp picks one by the state's letter and variant.

#include "dials/dial_context.h"
#include "dials/dial_request.h"
#include "dials/live_shadow.h"

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

}  // namespace zorva
