#pragma once
// The azimuth dial ('a'): a horizontal disc on which the shadow of a pointer tip marks the
// sun by its azimuth (direction from the centre) and by its altitude (kind 1) or the date
// (kind 0, distance from the centre). One construction draws it on the screen, on a
// printer page and, through the plot painter, into the plot stream.

#include "dials/dial_construction.h"
#include "dials/planar_dial.h"
#include "state/dial_state.h"

#include <QPointF>

namespace zorva {

enum class AltitudeSpacing { Equal = 0, Tonne = 1, Stereographic = 2 };

// Radius of the altitude circles on a disc whose horizon circle has radius R; D is the
// observer's distance (only the "Tonne" horizontoscope law uses it), in the unit of R.
class AltitudeScale {
public:
    AltitudeScale(AltitudeSpacing spacing, double R, double D);
    // r(h) for an altitude h in degrees: R at the horizon, 0 in the zenith.
    double radius(double altitude) const;
    double R() const { return R_; }
    // sqrt(R^2/4 + D^2) - R/2: the length the Tonne law needs beside D.
    double E() const { return E_; }

private:
    AltitudeSpacing spacing_;
    double R_, D_, E_;
};

// Where the shadow of the pointer tip marks a sun at `azimuth` (from south, west positive)
// at distance r from the centre: opposite to the sun, south at the top, y downward.
QPointF DiscPoint(QPointF centre, double r, double azimuth);

// The azimuth dial with date circles (kind 0: short head, plotted at p = 1) and with
// altitude circles (kind 1: standard head, sizes times p). One construction draws both by
// the state's kind; the shadow is the pointer tip's on the disc, from the disc's centre.
extern const DialConstruction kAzimuthDatesDial;
extern const DialConstruction kAzimuthAltitudesDial;

}  // namespace zorva
