#pragma once
// The Habermel altitude dials ('q', kinds 1 and 2): a round plate hung vertically, facing
// the sun, with a horizontal gnomon of length h at G. The shadow of the gnomon's tip falls
// straight below G, h tan(altitude) long; the plate is turned in its plane until the ray of
// the day points down, and the shadow's end lies on the hour line of the time.
//
// Kind 1: G on the vertical diameter of a disc of (tan aS + tan aW) h, the noon shadow of
// every day reaching the rim: the summer solstice on the ray through the centre, the winter
// solstice on the short ray opposite, the days between on the rays where the rim stands at
// their noon shadow. Kind 2: a disc round G as wide as the longest shadow plus a 6 mm
// margin, the year once round at an even pace.

#include "dials/dial_construction.h"
#include "dials/planar_dial.h"
#include "state/dial_state.h"

#include <QPointF>
#include <QString>

namespace zorva {

// Why a Habermel dial of the state cannot be drawn; empty when it can. Two lines, split at
// the line break.
QString HabermelRefusal(const DialState& state);

// The ray of a day on the plate: its angle from the downward ray toward +x (the angle of
// RayDirection) and the distance from G to the rim along it, in millimetres.
struct HabermelRay {
    double angle = 0.0;
    double rimMm = 0.0;
};
// The rays of the state's kind for `dayOfYear` of the reference year.
HabermelRay HabermelRayOfDay(const DialState& state, int dayOfYear);

// The Habermel dials (quadrant kinds 1 and 2). The plot ("IN;VS 1;PA;IW ..." ... ";IW;IN;")
// is laid out on a 16400 x 10400 area and refused with the warning shown when the dial is;
// the shadow is the gnomon's on the plate turned to the day's ray.
extern const DialConstruction kHabermelDial;

}  // namespace zorva
