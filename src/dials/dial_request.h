#pragma once
// What every construction is asked for and what it answers, whatever the dial family:
// the target, the drawing area, where the window placed the gnomon foot and the legend.

#include <QString>

#include <array>

namespace zorva {

class PlanarPlotExtras;
struct ShadowMoment;

enum class DrawTarget { Screen, Printer, Plot };

// The angles of the apparent-time hour lines at the style foot point and the hour angles the
// sun can reach the plane between; the planar construction continues the lines with them.
struct HourLineAngleTable {
    static constexpr double kNone = 500.0;
    // Angle of the hour line hour + j / (lines per hour), degrees; kNone where there is none.
    std::array<std::array<double, 6>, 25> angle{};
    bool litRangeKnown = false;
    double firstLitHourAngle = 0.0;  // degrees
    double lastLitHourAngle = 0.0;
    HourLineAngleTable() {
        for (auto& row : angle) row.fill(kNone);
    }
};

struct DialRequest {
    DrawTarget target = DrawTarget::Screen;
    double clientWidth = 0.0;   // canvas client size in drawing units
    double clientHeight = 0.0;
    double offsetX = 0.0;       // top-left of the drawing area (printable offsets on paper)
    double offsetY = 0.0;
    double originX = 0.0;       // gnomon foot, drawing units (offsets included)
    double originY = 0.0;
    double textX = 0.0;         // printer: the legend's text cursor
    double textY = 0.0;
    bool grid = false;
    bool sheetA3 = false;       // screen scaled like the saved (A3) file instead of the printout
    bool wideScreen = true;     // screen at least 1000 pixels wide
    // The sun's shadow at this moment is drawn over the dial (families with a projection).
    const ShadowMoment* shadow = nullptr;

    // Read by the planar dials only. A table with its lit range saves the construction
    // computing it; without one the construction computes its own.
    const HourLineAngleTable* angles = nullptr;
    PlanarPlotExtras* plot = nullptr;  // the plot's own elements and its coordinate listing

    bool screen() const { return target == DrawTarget::Screen; }
    bool printer() const { return target == DrawTarget::Printer; }
    bool plotTarget() const { return target == DrawTarget::Plot; }
};

struct DialResult {
    bool drawn = false;         // false when a check refused the dial
    double zoomFactor = 1.0;    // the zoom used (raised when the gnomon fell below 5 mm)
    double gnomonMm = 0.0;      // the gnomon length drawn, millimetres
};

}  // namespace zorva
