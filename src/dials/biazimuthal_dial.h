#pragma once
// The bi-azimuthal ("compressed") dial ('c'): one plate that tells the zone time at two
// places. The plate carries the sun's subsolar point, for every date and hour, on the
// two-point azimuthal map of the earth: the gnomonic map about the midpoint of the two
// focus places, compressed along the line joining them by cos(d/2) (d their distance), on
// which the directions seen from both focus points are the true azimuths. Turned through
// 180 degrees, the map is what a shadow draws: a rod standing at a focus point casts its
// shadow towards the subsolar point's image when the plate is set with that focus point's
// north arrow to the north. So at place 1 the rod in focus 1, at place 2 the rod in focus
// 2: the shadow line crosses today's date line at the zone time.
//
// On a vertical plate the focus places are the two walls' equivalent places (the points of
// the earth whose zenith is the wall's normal); the rod stands perpendicular to the wall
// and the focus point's arrow points up.

#include "dials/dial_construction.h"
#include "state/dial_state.h"

#include <QPointF>
#include <QString>

#include <array>
#include <optional>

namespace zorva {

using UnitVector = std::array<double, 3>;

// A point of the earth (latitude, longitude west positive) as a unit vector.
UnitVector EarthPoint(double latitude, double longitudeWest);
// The subsolar point at declination `delta` when the apparent time of the zone meridian is
// `hour` (the zone meridian west positive): its Greenwich hour angle is 15 (hour - 12) + zone.
UnitVector SubsolarPoint(double delta, double hour, double zoneMeridianWest);

// The map of one plate: the two focus places and the projection, lengths in units of the
// gnomonic tangent (1 = 45 degrees from the midpoint).
class BiazimuthalMap {
public:
    BiazimuthalMap(const UnitVector& focus1, const UnitVector& focus2);
    // Plate coordinates (x right, y up as seen from the dial's face), before scaling;
    // nullopt more than `limitDeg` degrees from the midpoint.
    std::optional<QPointF> plate(const UnitVector& p, double limitDeg = 80.0) const;
    // Angular distance of the focus places, degrees.
    double distanceDeg() const { return distance_; }
    const UnitVector& focus(int k) const { return k == 1 ? f1_ : f2_; }
    // The arrow at a focus point: where the plate's reference direction (north on a
    // horizontal plate, up on a vertical one) lies, a unit vector in plate coordinates.
    // `towards` is the place the reference direction heads to on the earth (the pole, or the
    // site whose zenith is "up").
    QPointF arrow(int k, const UnitVector& towards) const;

private:
    UnitVector f1_, f2_, m_, ex_, ey_;
    double distance_ = 0, squeeze_ = 1;
};

// The focus places of the state's plate: the sites (horizontal) or the walls' equivalent
// places (vertical).
UnitVector BiazimuthalFocus(const DialState& state, int k);
// The place the arrow of focus k heads to: the elevated... north pole for a horizontal
// plate, the site itself (whose zenith is "up") for a vertical one.
UnitVector BiazimuthalReference(const DialState& state, int k);

// The drawing shows the plate turned so that the arrow of focus 1 points up: the turn
// (degrees, counter-clockwise) and the turn of a plate vector.
double BiazimuthalDrawingTurn(const BiazimuthalMap& map, const DialState& state);
QPointF BiazimuthalTurn(const QPointF& v, double turnDeg);

// Why the dial cannot be drawn; empty when it can. Message 65/66 when the focus places are
// too far apart for the gnomonic map (or antipodal).
QString BiazimuthalRefusal(const DialState& state);

// The bi-azimuthal dial. Its plot is standard head ... ";IW;IN;"; the shadow is the rod's
// at focus 1 for the sun of a moment, as the drawing places the plate.
extern const DialConstruction kBiazimuthalDial;

}  // namespace zorva
