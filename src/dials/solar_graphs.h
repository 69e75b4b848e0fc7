#pragma once
// The equation-of-time graph and the sun-position diagram from astro/graphs.h: one
// construction each, drawn through a DialPainter on a QPainter (screen, printer, PNG, PDF)
// or into a plot file in the program's HPGL dialect, each target with its own layout.

#include "astro/graphs.h"
#include "plot/plot_save.h"
#include "state/dial_state.h"

#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace zorva {
class PlotStream;
}

namespace zorva {

class UserDialogs;

enum class GraphKind { EquationOfTime, SunPath };

// Options of the graph export panel.
struct GraphPlotOptions {
    double factor = 1.0;  // y magnification, 0.05..20
    bool mirror = false;  // EoT axis downward (EoT plot only)
};
inline constexpr double kMinGraphFactor = 0.05;
inline constexpr double kMaxGraphFactor = 20.0;

// Extras of the sun-position diagram that other calculations supply.
struct SunPathExtras {
    SkyMarker marker;                     // points drawn in colour 10
    std::vector<SkyPoint> horizonProfile; // drawn in colour 3 when not empty
    QString footer;                       // a line under the diagram (sunlit limits of a plane)
};

// The marker the state asks for: the sun behind the plane of `planeInclination` and
// `wallDeclination` when showPlaneSunlight is set, or below the terrain of the loaded
// horizon profile when showHorizonProfile is set; empty when neither applies.
SkyMarker StateSkyMarker(const DialState& s);
// Marker and horizon profile of the state; in print also the footer with the sunlit limits.
SunPathExtras StateSunPathExtras(const DialState& s, bool print);

// Screen and print: the graph fills `area` (device units of the painter).
void PaintEotGraph(QPainter& painter, const QRectF& area, const DialState& s);
void PaintSunPathDiagram(QPainter& painter, const QRectF& area, const DialState& s, const SunPathExtras& extras = {});

// The plot files: one line of HPGL, plotter units of 1/40 mm.
void WriteEotGraphPlot(PlotStream& stream, const DialState& s, const GraphPlotOptions& options);
void WriteSunPathPlot(PlotStream& stream, const DialState& s, const SunPathExtras& extras = {});
// The same as text.
QString EotGraphPlot(const DialState& s, const GraphPlotOptions& options);
QString SunPathPlot(const DialState& s, const SunPathExtras& extras = {});

// The title line of the sun-position diagram on screen and in print.
QString SunPathTitle(const DialState& s);

void PaintGraph(QPainter& painter, GraphKind kind, const QRectF& area, const DialState& s,
                const SunPathExtras& extras = {});
// Where a graph goes on a printed page, in units of 0.1 mm from the page's corner.
QRectF GraphPrintArea(GraphKind kind, bool landscape);

// The name the save dialog proposes: "EoT." or "Azi." and the extension.
QString GraphFileName(GraphKind kind, PlotFormat format);
// Writes the plot file, or converts it through a temporary plot file into DXF (40 plotter
// units per millimetre). Failures and the saved plot file are reported through `dialogs`.
bool SaveGraph(GraphKind kind, const DialState& s, const GraphPlotOptions& options, const SunPathExtras& extras,
               const QString& fileName, PlotFormat format, UserDialogs& dialogs);

}  // namespace zorva
