#pragma once
// A planar dial ('h', 'v', 'i' and their umbrella variants) as a plot stream: the standard
// head, then the one planar construction drawn through the plot painter on the sheet of
// 16157 × 11038 plotter units, with the plot's own grid, pen windows and marks, and the
// companion coordinate listing.

#include "dials/coordinate_listing.h"
#include "dials/hour_line_angles.h"
#include "dials/planar_dial.h"
#include "plot/plot_save.h"
#include "state/dial_state.h"

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

namespace zorva {

class PlotStream;
class UserDialogs;

// Positions the user gave in the drawing window, carried onto the sheet in proportion.
struct WindowPlacement {
    QSizeF imageSize;  // the drawing image the positions refer to, pixels
    QPointF origin;    // gnomon foot, pixels
    QPointF text;      // top-left of the legend, pixels
    bool originFixed = false;  // the user placed the gnomon with the mouse
};

struct PlanarPlotOptions {
    bool grid = false;
    double gridMm = 10.0;              // spacing of the coordinate grid
    std::optional<WindowPlacement> placement;
    CoordinateListing* listing = nullptr;  // filled when the coordinates are wanted
    QString plotFileName;              // named in the listing
    const HourLineAngleTable* angles = nullptr;
    std::optional<ShadowMoment> shadow;  // the sun's shadow drawn over the dial
};

// The nodus foot point on the sheet (plotter units at p = 1, y upward) when the user has not
// placed it: by dial kind, effective latitude and the gnomon length g in plotter units.
QPointF DefaultPlotOrigin(const DialState& state, double gPlotUnits);

// The head of the coordinate listing: the polar-style text, the time reference, the disc of
// an umbrella dial and the name of the plot file.
QStringList ListingHead(const DialState& state, double gnomonMm, const QString& plotFileName);

// Writes head and dial into `stream`. False when the construction refused the dial (its
// message has been shown); a failing write throws PlotWriteError.
bool WritePlanarDialPlot(const DialState& state, PlotStream& stream, const PlanarPlotOptions& options,
                         UserDialogs& dialogs);

// Saving the planar dial of the state as an HPGL or DXF file, with its coordinate listing.
enum class CoordinateOutput { None = 0, Printer = 1, TextFile = 2 };

struct PlanarSaveRequest {
    QString fileName;                  // the file the user chose
    PlotFormat format = PlotFormat::Hpgl;
    int lineWeight = 1;                // plotLineWeight, 1..3
    CoordinateOutput coordinates = CoordinateOutput::None;
    QString listingFileName;           // for TextFile; empty: beside the plot ("txt")
    std::optional<double> gridMm;      // the coordinate grid, when wanted
    std::optional<WindowPlacement> placement;
    // The drawing window's hour-line angles (for continuing hour lines to the style foot);
    // when absent, those of a freshly opened window.
    const HourLineAngles* angles = nullptr;
    std::optional<ShadowMoment> shadow;  // the sun's shadow drawn over the dial
};

struct PlanarSaveResult {
    bool ok = false;                   // the plot (and the listing file) were written
    QString listingFile;               // written listing, empty when none
    QStringList listing;               // the listing's lines (to print them)
    QStringList conversionMessages;
};

// The plot goes straight into an HPGL file or through a unique temporary plot file at
// 25-fold resolution into DXF; the listing is written only when the plot was. Every
// failure is reported through `dialogs`.
PlanarSaveResult SavePlanarDial(const DialState& state, const PlanarSaveRequest& request, UserDialogs& dialogs);

// The question whether to add the coordinate grid and, on Yes, its spacing in millimetres
// (a text that is no positive number gives 10). nullopt: no grid.
std::optional<double> AskPlotGrid(UserDialogs& dialogs, Language language);

}  // namespace zorva
