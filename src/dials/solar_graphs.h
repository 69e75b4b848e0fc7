#pragma once
// Drawing the equation-of-time graph and the sun-position diagram: on a QPainter (screen,
// printer, PNG, PDF) and as plot files in the program's HPGL dialect. Both targets draw
// the same content from astro/graphs.h.

#include "astro/graphs.h"
#include "state/dial_state.h"

#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace zorva {

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
// `wallDeclination` when showPlaneSunlight is set; empty otherwise.
SkyMarker StateSkyMarker(const DialState& s);

// Screen and print: the graph fills `area` (device units of the painter).
void PaintEotGraph(QPainter& painter, const QRectF& area, const DialState& s);
void PaintSunPathDiagram(QPainter& painter, const QRectF& area, const DialState& s, const SunPathExtras& extras = {});

// The plot files: one line of HPGL, plotter units of 1/40 mm.
QString EotGraphPlot(const DialState& s, const GraphPlotOptions& options);
QString SunPathPlot(const DialState& s, const SunPathExtras& extras = {});

// The title line of the sun-position diagram on screen and in print.
QString SunPathTitle(const DialState& s);

}  // namespace zorva
