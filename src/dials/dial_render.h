#pragma once
// Drawing the dial of the state on a canvas: the dispatch by dial-type letter shared by
// the drawing window and zorva-cli, the gnomon placement a fresh window starts with, the
// printable area of an A4 landscape page and true-scale pages in 0.1 mm units.

#include "dials/dial_context.h"
#include "dials/dial_request.h"
#include "dials/live_shadow.h"
#include "state/dial_state.h"
#include "state/safe_save.h"

#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;
class QImage;

namespace zorva {

class DialPainter;
class UserDialogs;

// A view that replaces the dial's construction (a table to print beside the dial).
using DialView = DialResult (*)(const DialContext&, const DialRequest&, DialPainter&, UserDialogs&);

// True for the letters whose construction this program draws (the rest draw the frame).
bool IsPlanarLetter(char dialType);
// True when the state's dial is a planar one (a planar letter and no added kind).
bool IsPlanarDial(const DialState& state);

struct GnomonPlacement {
    double originX = 0, originY = 0;  // gnomon foot, pixels of the drawing image
    double centreX = 0, centreY = 0;  // top-left of the text block
};
// Where a freshly activated drawing window puts the gnomon and the text block.
GnomonPlacement DefaultGnomonPlacement(const DialState& state, int width, int height);

// The request of a freshly opened drawing window of `size` pixels: default gnomon and text
// placement, wide screen.
DialRequest DefaultScreenRequest(const DialState& state, QSize size, bool grid = false,
                                 const ShadowMoment* shadow = nullptr);

// Clears the screen image to white with its black frame and draws the dial of the letter.
// Returns the zoom the construction used.
DialResult DrawDialOnScreen(const DialState& state, const DialRequest& request, DialPainter& painter,
                            UserDialogs& dialogs, DialView view = nullptr);

// The printable rectangle fitted to an A4 landscape sheet, in 0.1 mm.
struct PrintArea {
    int width = 2800;
    int height = 2000;
    int xOffset = 70;
    int yOffset = 50;
};
// From the unprintable margins of the device (0.1 mm each).
PrintArea FitPrintableArea(double left, double right, double top, double bottom);

// Window positions (pixels of an image of `drawSize`) as the printer sees them.
struct PrintPlacement {
    GnomonPlacement screen;  // as placed in the window
    QSize drawSize;          // the window image the positions refer to
    bool grid = false;
    const ShadowMoment* shadow = nullptr;  // the sun's shadow drawn over the dial
};
// The request of a drawing window that shows the dial as placed there, on an image of
// placement.drawSize pixels.
DialRequest ScreenRequestFor(const PrintPlacement& placement);

// Draws the dial on a page whose painter is mapped so that one logical unit is 0.1 mm,
// y downward, with (0, 0) at the corner of the printable area. True to scale.
// `draw` replaces the dial's construction (a view such as the ring's correction table).
DialResult DrawDialOnPage(QPainter& painter, const PrintArea& area, const DialState& state,
                          const PrintPlacement& placement, UserDialogs& dialogs,
                          DialResult (*draw)(const DialContext&, const DialRequest&, DialPainter&,
                                             UserDialogs&) = nullptr);
// The same on any painter (an SVG document, a recording); the canvas's extent is PageExtent.
DialResult DrawDialOnPage(DialPainter& painter, const PrintArea& area, const DialState& state,
                          const PrintPlacement& placement, UserDialogs& dialogs,
                          DialResult (*draw)(const DialContext&, const DialRequest&, DialPainter&,
                                             UserDialogs&) = nullptr);
// The part of the page a printout can reach, 0.1 mm from the corner of the printable area.
QRectF PageExtent(const PrintArea& area);
// A4 in 0.1 mm.
inline constexpr int kA4LongTenths = 2970;
inline constexpr int kA4ShortTenths = 2100;
// Maps a painter on a device of `dpi` dots per inch to 0.1 mm units.
void MapTenthMillimetres(QPainter& painter, double dpiX, double dpiY);

// The screen rendering of the dial as an image of `size` pixels.
// With `shadow`, every rendering shows the sun's shadow at that moment over the dial.
QImage RenderDialImage(const DialState& state, QSize size, UserDialogs& dialogs, bool grid = false,
                       const ShadowMoment* shadow = nullptr, DialView view = nullptr);
// The printout as an SVG file at true scale (A4 landscape, millimetres, one group per pen);
// the gnomon and text block placed as in a window of `screenSize`; `view` in place of the dial
// when given. False (and `error` set, the earlier file kept) when the file cannot be written.
bool RenderDialSvg(const DialState& state, QSize screenSize, const QString& path, UserDialogs& dialogs,
                   SaveError* error = nullptr, const ShadowMoment* shadow = nullptr, DialView view = nullptr);
// The same with the gnomon and text block where a drawing window has them (its printout).
bool RenderDialSvg(const DialState& state, const PrintPlacement& placement, const QString& path, UserDialogs& dialogs,
                   SaveError* error = nullptr, DialView view = nullptr);
// The printout on an A4 landscape PDF page, true to scale; false as for SVG.
bool RenderDialPdf(const DialState& state, QSize screenSize, const QString& path, UserDialogs& dialogs,
                   SaveError* error = nullptr, const ShadowMoment* shadow = nullptr, DialView view = nullptr);
// The screen image as a PNG file; false as for SVG.
bool RenderDialPng(const DialState& state, QSize size, const QString& path, UserDialogs& dialogs,
                   SaveError* error = nullptr, const ShadowMoment* shadow = nullptr, DialView view = nullptr);

}  // namespace zorva
