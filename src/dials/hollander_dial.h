#pragma once
// The cone-shadow mean-time dial ('m'): one construction drawn on the screen, on a printer
// page and into the plot stream, the second plot with the cone's cross-section and unfolded
// mantle, and the information text of the drawing window.

#include "dials/hollander_geometry.h"
#include "dials/dial_construction.h"
#include "dials/planar_dial.h"
#include "state/dial_state.h"

#include <QRectF>
#include <QSizeF>
#include <QStringList>

#include <optional>

namespace zorva {

// The dial plane seen as a horizontal plane: its latitude, the longitude difference of the
// equivalent place and the turn of its meridian on the drawing (all zero-turn for 'h').
struct HollanderPlane {
    double latitude = 0.0;     // phi'
    double deltaLambda = 0.0;  // degrees
    double rotation = 0.0;     // rho, degrees
};
// The plane chosen on the dial's page: hollanderShadowLine % 3 is 0 horizontal, 1 vertical,
// 2 inclined.
HollanderPlane HollanderPlaneOf(const DialState& state);

// A dial point of mean time `T` (hours of the equivalent plane's local mean time, before the
// equation of time) on a pair of days; drawing coordinates relative to the ellipse centre,
// x to the right and y downward, in the cone's length unit.
struct HollanderPoint {
    QPointF at;
    bool counted = false;   // lit, computable and outside 1.05 elliptical radii
    double radius = 0.0;    // elliptical radius
    bool onBase = false;    // the sun shines, but the shadow edges fall on the cone's base
};
HollanderPoint HollanderPointAt(const DialState& state, const HollanderPlane& plane, const ConeEllipse& cone,
                                const DayPair& pair, double T);

// The same with the angles of the site, the plane and the pair worked out once.
class HollanderTracer {
public:
    HollanderTracer(const DialState& state, const HollanderPlane& plane, const ConeEllipse& cone);
    // Call before points of another pair.
    void setPair(const DayPair& pair);
    HollanderPoint at(double T) const;

private:
    const ConeEllipse& cone_;
    int edgeOrder_ = 0;
    bool southern_ = false;
    double sinPhi_ = 0, cosPhi_ = 1;    // plane
    double sinSite_ = 0, cosSite_ = 1;  // site
    double cosDl_ = 1, sinDl_ = 0;      // longitude difference of the equivalent place
    bool rotate_ = false;
    double cosRho_ = 1, sinRho_ = 0;
    double E1_ = 0, E2_ = 0;
    double sinDelta_ = 0, cosDelta_ = 1, tanDelta_ = 0;
};

// The row of the ellipse centre in a drawing `height` high: the date lines of a northern dial
// spread upward from it, those of a southern dial downward.
inline double ConeDialOriginRow(double latitude, double height) {
    return latitude < 0 ? height / 3.0 : 2.0 * height / 3.0;
}

// The same for the dial of the state drawn at `unitsPerMm`: a southern dial is placed so that
// its hour lines fill the sheet below the legend.
double ConeDialOriginRow(const DialState& state, double height, double unitsPerMm);

// The error box for angles that form no cone on the plane; true when it was shown.
bool RefuseConeAngles(const DialState& state, UserDialogs& dialogs);

// The cone-shadow dial; its second plot is the cone (cross-section and unfolded mantle), its
// shadow the cone's at a moment with the dial point its edge marks on the day's date line.
extern const DialConstruction kHollanderDial;

// Cross-section and unfolded mantle of the cone, true to scale with `unitsPerMm` drawing
// units per millimetre, laid out in `area`.
void DrawConeConstruction(const DialState& state, DialPainter& painter, double unitsPerMm, const QRectF& area);
// Drawing units per millimetre that fit the cone construction into `area` (screen views);
// 0 when the angles form no cone.
double ConeFitScale(const DialState& state, const QSizeF& area);

// What the cone-shadow dial's construction finds about its cone, without drawing: the day
// pairs of its date lines, the date line nearest to the cone along the middle hour line
// and, for each sign date line, how near it comes to the cone's base.
struct ConeShadowReport {
    struct SignLine {
        int pair = -1;
        double distanceMm = -1;  // smallest distance of a traced point from the base; -1: none
        bool tooShort = false;   // the apex shadow falls on the base at some lit time
    };
    bool cone = false;  // false when the angles form no cone on the plane
    std::vector<DayPair> pairs;
    int nearestPair = -1;
    std::vector<SignLine> signLines;
};
ConeShadowReport ReportConeShadowDial(const DialState& state);

// The drawing window's information text: the sign dates with their declinations, the cone
// and the date line nearest to it.
QStringList HollanderInformation(const DialState& state);

}  // namespace zorva
