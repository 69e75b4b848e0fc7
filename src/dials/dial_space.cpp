#include "dials/dial_space.h"

#include "astro/angles.h"

namespace zorva {

Vec3 DirectionOf(double altitude, double azimuth) {
    const double ca = CosDeg(altitude);
    return {-ca * SinDeg(azimuth), -ca * CosDeg(azimuth), SinDeg(altitude)};
}

Vec3 SunDirection(double t, double delta, double phi) {
    const double cd = CosDeg(delta), sd = SinDeg(delta), ct = CosDeg(t);
    return {-cd * SinDeg(t), CosDeg(phi) * sd - SinDeg(phi) * cd * ct, SinDeg(phi) * sd + CosDeg(phi) * cd * ct};
}

Vec3 NorthPole(double phi) { return {0.0, CosDeg(phi), SinDeg(phi)}; }

Vec3 ElevatedPole(double phi) { return phi < 0 ? NorthPole(phi) * -1.0 : NorthPole(phi); }

PlaneFrame FrameOfNormal(double normalAltitude, double normalAzimuth) {
    PlaneFrame f;
    f.normal = DirectionOf(normalAltitude, normalAzimuth);
    // Horizontal and to the right for someone facing the plane (looking along -normal).
    f.right = {CosDeg(normalAzimuth), -SinDeg(normalAzimuth), 0.0};
    f.up = f.normal.cross(f.right);
    return f;
}

PlaneFrame FrameOfPlane(double inclination, double declination) {
    return FrameOfNormal(90.0 - inclination, declination);
}

bool MeetPlane(const PlaneFrame& plane, const Vec3& point, const Vec3& direction, Vec3& at) {
    const double den = direction.dot(plane.normal);
    if (std::abs(den) < 1e-12) return false;
    at = point - direction * (point.dot(plane.normal) / den);
    return true;
}

}  // namespace zorva
