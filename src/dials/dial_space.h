#pragma once
// Vectors of the local sky for dials whose construction is easiest in space (threads, an
// inclined gnomon, a projected hour circle): x toward the east, y toward the north, z up.
// A dial plane is described by the normal the planar dials use (altitude and azimuth of the
// normal, azimuth from south, positive toward west) and carries its own drawing axes.

#include <QPointF>

#include <cmath>

namespace zorva {

struct Vec3 {
    double x = 0, y = 0, z = 0;
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(double k) const { return {x * k, y * k, z * k}; }
    double dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vec3 cross(const Vec3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    double length() const { return std::sqrt(dot(*this)); }
    Vec3 unit() const { return *this * (1.0 / length()); }
};

// Unit vector toward a direction of altitude and azimuth (from south, positive toward west).
Vec3 DirectionOf(double altitudeDeg, double azimuthDeg);

// Unit vector toward the sun at hour angle t (negative before noon) on declination delta,
// seen from latitude phi.
Vec3 SunDirection(double hourAngleDeg, double declinationDeg, double latitudeDeg);

// Unit vector along the earth's axis toward the elevated pole's side of the sky (north at
// northern sites, south at southern ones).
Vec3 ElevatedPole(double latitudeDeg);
// Along the axis toward the celestial north pole, whatever the hemisphere.
Vec3 NorthPole(double latitudeDeg);

// A dial plane through the origin: `right` and `up` are its drawing axes as seen from the
// front (right is horizontal; up rises in the plane, or points north on a level plane),
// `normal` leaves the front face.
struct PlaneFrame {
    Vec3 right, up, normal;
    QPointF onPlane(const Vec3& v) const { return {v.dot(right), v.dot(up)}; }
    Vec3 inSpace(QPointF p) const { return right * p.x() + up * p.y(); }
};

// The frame of the plane whose normal has the given altitude and azimuth — the normal
// that SetPlaneOrientation gives the planar dials (a level plane: altitude 90; a wall
// declining d: altitude 0, azimuth d).
PlaneFrame FrameOfNormal(double normalAltitudeDeg, double normalAzimuthDeg);
// The frame of a plane of inclination i (0 level, 90 vertical) facing azimuth d.
PlaneFrame FrameOfPlane(double inclinationDeg, double declinationDeg);

// Where the line through `point` with direction `direction` meets the plane; false when
// it runs parallel to it.
bool MeetPlane(const PlaneFrame& plane, const Vec3& point, const Vec3& direction, Vec3& at);

}  // namespace zorva
