#pragma once
// The planar dials ('h', 'v', 'i' and their umbrella variants): one construction that
// traces every element once and draws it through a DialPainter, on the screen, on a
// printer page or (through the plot painter) into the plot stream.

#include "dials/dial_geometry.h"
#include "state/dial_state.h"

#include <QString>

#include <array>

namespace zorva {

class DialPainter;
class PlanarPlotExtras;
class UserDialogs;

enum class DrawTarget { Screen, Printer, Plot };

// Filled by the drawing window's hour-line angle panel; read only to continue the
// apparent-time hour lines to the style foot point.
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

struct PlanarDialRequest {
    DrawTarget target = DrawTarget::Screen;
    double clientWidth = 0.0;   // canvas client size in drawing units
    double clientHeight = 0.0;
    double offsetX = 0.0;       // top-left of the drawing area (printable offsets on paper)
    double offsetY = 0.0;
    double originX = 0.0;       // nodus foot point, drawing units (offsets included)
    double originY = 0.0;
    double textX = 0.0;         // printer: the legend's text cursor
    double textY = 0.0;
    bool grid = false;
    bool sheetA3 = false;       // screen scaled like the saved (A3) file instead of the printout
    bool wideScreen = true;     // screen at least 1000 pixels wide
    const HourLineAngleTable* angles = nullptr;
    QString sunlitPeriod;       // the angle panel's sunlit times; empty when it was not used
    PlanarPlotExtras* plot = nullptr;  // the plot's own elements and its coordinate listing
};

struct PlanarDialResult {
    bool drawn = false;         // false when a check refused the dial
    double zoomFactor = 1.0;    // the zoom used (raised when the gnomon fell below 5 mm)
    double gnomonMm = 0.0;      // Gz
};

// Lines per hour of an interval choice " 60 min" .. " 10 min": the index plus one, but six
// for ten minutes (stored as '4' by the list index and as '6' in settings files).
int LinesPerHour(char intervalDigit);

// Scales the gnomon for the target and draws the whole dial of `state`.
PlanarDialResult DrawPlanarDial(const DialState& state, const PlanarDialRequest& request, DialPainter& painter,
                                UserDialogs& dialogs);

// The white strips, silver inner rectangle and silver outer edge that frame a map-capable
// dial: an area of width a and height h at (ox, oy) with border width b.
void DrawBorderFrame(DialPainter& painter, double ox, double oy, double a, double h, double b);

// The bilingual legend texts (title, position line, orientation line) of a planar dial.
struct PlanarLegend {
    QString title;
    QString position;
    QString orientation;  // empty for a plain horizontal dial
};
PlanarLegend PlanarLegendTexts(const DialState& state);

}  // namespace zorva
