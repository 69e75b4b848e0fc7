#pragma once
// Coast lines and borders under a planar dial: the map is projected onto the dial plane so
// that the shadow of the nodus tip falls on the place of the earth where the sun stands in
// the zenith. Drawn first on the canvas (screen, printer) and as its own plot in the file.

#include "dials/dial_geometry.h"
#include "plot/map_data.h"
#include "state/dial_state.h"

#include <QPointF>
#include <QString>

namespace zorva {

class DialPainter;
class PlotStream;
class UserDialogs;

// The coarse twin of a map file ("coastZor_110m.dat"), drawn when it shows as much.
inline constexpr const char* kCoarseMapSuffix = "_110m";
// The earth's radius on the dial (the calibrated gnomon length, millimetres) from which the
// fine map is drawn: about 1:80 million near the centre, where the 1:110 million lines would
// show their corners.
inline constexpr double kFineMapFromScaleMm = 80.0;

// True when the coarse map is fine enough for a map whose earth radius is `mapScaleMm`.
bool CoarseMapSuffices(double mapScaleMm);

// The gnomonic projection of the map for one dial plane.
class MapProjection {
public:
    // `plane` with its orientation and gnomon length g in drawing units; `siteLongitudeEast`
    // east positive. `scale` is the uncalibrated scale of the target.
    MapProjection(const DialPlane& plane, double siteLatitude, double siteLongitudeEast, double scale);
    // Offset of a map point from the nodus foot point, x to the left and y downward on a
    // canvas (the caller maps it: column = x0 - x, row = y0 + y).
    QPointF project(const MapPoint& point) const;
    // False for a place on the far half of the earth, which the projection can only clamp.
    bool inFront(const MapPoint& point) const;
    double scale() const { return scale_; }
    double centreLatitude() const { return centreLatitude_; }

private:
    QPointF raw(const MapPoint& point) const;
    double centreLatitude_ = 0.0;  // phi'
    double centreLongitude_ = 0.0; // c = delta lambda - site longitude (east positive)
    double rotation_ = 0.0;        // rho
    double scale_ = 1.0;
};

// True for the letters a map can lie under.
bool MapOverlayWanted(const DialState& state);

// Canvas: the red cross at the nodus foot point, then borders (colour 11) and coast
// (colour 10) as chosen, clipped to 0.6 of the drawing size around its middle. A missing file
// is reported ("<name> nicht gefunden!") and skipped.
void DrawMapOverlay(const DialState& state, const DialPlane& plane, double scale, DialPainter& painter,
                    UserDialogs& dialogs);

// Plot: for the coast (pen 11) and then the borders (pen 12) as chosen, a plot of its own
// with head, cross and map lines, written before the dial's plot. `origin` is the nodus foot
// point in plotter units at p = 1, y upward; `plane.g` in plotter units at p = 1.
void WriteMapOverlayPlot(const DialState& state, const DialPlane& plane, QPointF origin, PlotStream& stream,
                         UserDialogs& dialogs);

}  // namespace zorva
