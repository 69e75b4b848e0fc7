#pragma once
// Geometry shared by every planar dial (horizontal, vertical, inclined and their umbrella
// variants): the plane, the shadow of the nodus, the style foot point, clipping at the
// drawing border and the joining of traced samples into pen strokes.
//
// Drawing units: y grows downward (screen and printer canvas). Angles are degrees.

#include "plot/plot_stream.h"

#include <QLineF>
#include <QPointF>

#include <vector>

namespace zorva {

class DialPainter;

// An inclined, declining plane seen as the horizontal plane of another place.
struct EquivalentDial {
    double latitude = 0.0;     // phi' of the equivalent place
    double deltaLambda = 0.0;  // longitude difference to the site, degrees
    double rotation = 0.0;     // rho: azimuth of the drawing's upward direction
};
EquivalentDial EquivalentHorizontalDial(double latitude, double inclination, double wallDeclination);

// Two-argument arctangent in degrees, in (-180, 180]; exact for the axis cases.
double Atan2Deg(double y, double x);

enum class PlaneKind {
    Horizontal,        // 'h' and the plain inclined dial (as its equivalent horizontal dial)
    Vertical,          // 'v', also as umbrella
    InclinedUmbrella,  // 'i' with umbrella
};

// Everything the projection needs about one construction.
struct DialPlane {
    PlaneKind kind = PlaneKind::Horizontal;
    char letter = 'h';               // 'h', 'v' or 'i'
    bool umbrella = false;
    double umbrellaRatio = 0.0;      // R: disc radius as a multiple of the rod height
    double inclination = 90.0;       // i of the true plane
    double wallDeclination = 0.0;    // d of the true plane
    double siteLatitude = 0.0;       // phi of the site (style foot point)
    double planeAzimuth = 0.0;       // subtracted from every sun azimuth
    double normalAltitude = 90.0, normalAzimuth = 0.0;
    double effectiveLatitude = 0.0;  // phi, or phi' of the equivalent dial
    double hourShift = 0.0;          // hours added to every time (equivalent dial)
    double x0 = 0.0, y0 = 0.0;       // nodus foot point, drawing units
    double ox = 0.0, oy = 0.0;       // top-left corner of the drawing area
    double halfWidth = 0.0;          // W2
    double height = 0.0;             // Hd
    double yHorizon = 0.0;           // row of the horizon below oy; 0 when there is none
    double g = 0.0;                  // gnomon length, drawing units
    // Guards of the projection; the plot stream uses tighter ones.
    double altitudeGuard = 1e-8;
    double umbrellaCosGuard = 1e-8;
};

struct DialState;
// The true plane of the state's planar dial (letter, umbrella, ratio, inclination,
// declination, site latitude) with its orientation set; position and scale left to the caller.
DialPlane PlaneOfState(const DialState& state);

// Fills planeAzimuth, the normal, effectiveLatitude and hourShift of a plane from the true
// plane (letter, umbrella, inclination, declination, site latitude), and the horizon row
// once x0, y0, oy and g are set.
void SetPlaneOrientation(DialPlane& plane);
double HorizonRow(const DialPlane& plane);

struct ShadowSample {
    double x = 0.0, y = 0.0;
    bool frontLit = false;  // sun above the plane's horizon and in front of it
    bool sunlit = false;    // sun less than 90 degrees from the plane's normal
    bool visible = false;   // lit (see above) and inside the drawing area
};

// Shadow of the nodus for the sun at (altitude, azimuth) on `plane`.
ShadowSample ShadowPoint(double altitude, double azimuth, const DialPlane& plane);

// Cosine of the angle between the sun and a plane's normal.
double SunlitByPlane(double altitude, double azimuth, double normalAltitude, double normalAzimuth);

struct Offset {
    double dx = 0.0;
    double dy = 0.0;  // positive upward on the drawing
};
// Where the polar style meets the plane, as an offset from the nodus foot point.
Offset StyleFootPoint(const DialPlane& plane);
// Shortens an offset longer than `limit` in x or y to that length along its direction.
Offset LimitOffset(Offset offset, double limit = 8000.0);

struct DrawingArea {
    double xmin = 0.0, xmax = 0.0, ymin = 0.0, ymax = 0.0;
    bool contains(double x, double y) const { return x >= xmin && x <= xmax && y >= ymin && y <= ymax; }
};
DrawingArea AreaOf(const DialPlane& plane);

// Border point of the segment from the outside point `outside` to the inside point
// `inside`; `outside` itself when `inside` is not inside either.
QPointF ClipToArea(QPointF outside, QPointF inside, const DrawingArea& area);

// Joins successive samples of one curve: lines between visible samples, cut exactly at the
// border where the curve leaves or enters the area, breaks where the sun leaves the plane.
void DrawShadowSegment(const ShadowSample& previous, const ShadowSample& current, const DrawingArea& area,
                       DialPainter& painter);

// Convenience for tracing one curve sample by sample.
class ShadowCurve {
public:
    ShadowCurve(DialPainter& painter, const DrawingArea& area) : painter_(painter), area_(area) {}
    void add(const ShadowSample& sample);
    // The next sample starts a new piece (a sample that could not be computed).
    void interrupt() { started_ = false; }
    bool anyVisible() const { return anyVisible_; }
    // The strokes drawn so far, each cut at the area as drawn: where numbers may go and
    // which lines they should keep off.
    const std::vector<QLineF>& strokes() const { return strokes_; }

private:
    void note(const ShadowSample& previous, const ShadowSample& current);

    DialPainter& painter_;
    DrawingArea area_;
    std::vector<QLineF> strokes_;
    ShadowSample previous_;
    bool started_ = false;
    bool anyVisible_ = false;
};

// --- drawing units and scale

struct ScaledGnomon {
    double gnomonMm = 0.0;  // Gz: zoomed gnomon length, millimetres rounded to 0.01 mm
    double zoom = 1.0;      // the zoom actually used (raised so that Gz >= 5 mm)
};
ScaledGnomon ScaleGnomon(double gnomonLength, double zoom);

// A font size in points as screen pixels (96 per inch).
inline double PointsToPixels(double points) { return points * 96.0 / 72.0; }
// Screen: the drawing takes the client width less a 32-pixel margin, as an A4 (280 mm) or
// A3 (420 mm) wide sheet.
double ScreenUnitsPerMm(double clientWidth, bool sheetA3);
inline constexpr double kPrinterUnitsPerMm = 10.0;
// kPlotUnitsPerMm (40) comes with the plot stream.

}  // namespace zorva
