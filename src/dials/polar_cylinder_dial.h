#pragma once
// The polar-style cylinder ('z', variant 2): a cylinder (a trough open to the sun) whose axis
// is parallel to the earth's axis, with a straight style parallel to that axis. The style's
// shadow is always a generator of the cylinder, so every hour line is straight; a nodus on
// the style marks the date. The drawing is the unrolled inside surface seen from the axis,
// the elevated pole's end at the top.
//
// The style lies on the axis, or offset from it by the gnomon length, or on the rim
// (`cylinderHourStyle` 0, 1, 2), in the direction of the gnomon deviation. In the cylinder's
// equatorial section, with u the anti-sun unit vector and S the style's place:
//   k = -S.u + sqrt((S.u)^2 - |S|^2 + R^2),  P = S + k u,  date lines v = -k tan(delta).
// On the axis k = R and the hour lines are spaced R pi/12 per hour; on the rim k = 2R cos t
// and the shadow turns twice as fast (generator angle 2t).

#include "dials/dial_construction.h"
#include "state/dial_state.h"

#include <QString>

#include <optional>

namespace zorva {

// The style's place in the equatorial section: distance from the axis (mm) and direction
// (hour angle, degrees, west positive, 0 = towards the noon sun).
struct PolarStyle {
    double offsetMm = 0.0;
    double directionDeg = 0.0;
};
PolarStyle PolarStyleOf(const DialState& state);

// The shadow of the nodus on the unrolled surface: uMm along the circumference from the
// generator opposite the noon sun (positive to the right as seen from the axis), vMm along
// the axis towards the elevated pole, and the equatorial distance k from style to wall.
struct CylinderShadow {
    double uMm = 0.0;
    double vMm = 0.0;
    double kMm = 0.0;
    double generatorDeg = 0.0;
};
// For the sun at hour angle `t` and declination `delta` at `latitude`; nullopt when the
// shadow does not reach the wall (the sun behind the style's side of the trough).
std::optional<CylinderShadow> PolarCylinderShadow(double radiusMm, const PolarStyle& style, double t,
                                                  double delta, double latitude);

// Why the dial cannot be drawn; empty when it can.
QString PolarCylinderRefusal(const DialState& state);

// The polar-style cylinder. Its plot is standard head ... ";IN;", the dial centred on the
// sheet; the shadow is the style's with the nodus point for the sun of a moment.
extern const DialConstruction kPolarCylinderDial;

}  // namespace zorva
