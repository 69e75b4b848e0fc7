// Bifilar dial geometry: the closed forms of the level and south-wall dials, even spacing,
// straight hour lines on declining walls, agreement with the planar dials' nodus shadow,
// the threads' shadows traced in space for the program's own sun, and bad threads.

#include "dials/bifilar_geometry.h"

#include "astro/sun_position.h"
#include "dials/dial_geometry.h"
#include "dials/quadrant_space.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zorva {
namespace {

constexpr double kRad = M_PI / 180.0;
double S(double d) { return std::sin(d * kRad); }
double C(double d) { return std::cos(d * kRad); }
double T(double d) { return std::tan(d * kRad); }
// The program's degree factor has eleven digits: far points agree to a micrometre, not better.
constexpr double kMicrometre = 1e-3;

// Level dial, north-south thread at height a and east-west thread at height b:
//   Dn = sin(phi) tan(delta) + cos(phi) cos t
//   x_east = a sin t / Dn,  y_north = b (sin(phi) cos t - cos(phi) tan(delta)) / Dn
// South wall, vertical thread at distance a and horizontal one at b:
//   S = cos(delta) cos t sin(phi) - sin(delta) cos(phi)
//   x = a cos(delta) sin t / S,  y_up = -b sin(altitude) / S
TEST(BifilarGeometry, LevelAndSouthWallDialsFollowTheClosedForms) {
    const double a = 120.0, b = 75.0;
    for (double phi : {-34.0, 23.0, 47.25, 60.0}) {
        const BifilarDial level(FrameOfPlane(0.0, 0.0), phi, a, b);
        const BifilarDial wall(FrameOfPlane(90.0, 0.0), phi, a, b);
        for (double delta : {-23.44, -8.0, 0.0, 12.0, 23.44}) {
            for (double t = -105.0; t <= 105.0; t += 15.0) {
                const double dn = S(phi) * T(delta) + C(phi) * C(t);
                if (const auto p = level.at(t, delta); dn > 0.02) {
                    ASSERT_TRUE(p) << phi << " " << delta << " " << t;
                    EXPECT_NEAR(p->x(), a * S(t) / dn, kMicrometre);
                    EXPECT_NEAR(p->y(), b * (S(phi) * C(t) - C(phi) * T(delta)) / dn, kMicrometre);
                } else if (dn < 0) {
                    EXPECT_FALSE(level.lit(t, delta)) << "sun below the horizon";
                }
                const double sw = C(delta) * C(t) * S(phi) - S(delta) * C(phi);
                const double sinAlt = S(phi) * S(delta) + C(phi) * C(delta) * C(t);
                if (const auto p = wall.at(t, delta); sw > 0.02) {
                    ASSERT_TRUE(p) << phi << " " << delta << " " << t;
                    EXPECT_NEAR(p->x(), a * C(delta) * S(t) / sw, kMicrometre);
                    EXPECT_NEAR(p->y(), -b * sinAlt / sw, kMicrometre);
                } else {
                    EXPECT_FALSE(p && sw < 0) << "a shadow though the sun is behind the wall";
                }
            }
        }
    }
}

double AngleFrom(QPointF centre, QPointF p) { return std::atan2(p.x() - centre.x(), p.y() - centre.y()) / kRad; }

// b = a sin(phi) on level ground and b = a cos(phi) on a south wall: hour lines straight
// through (0, -b cot phi) (level) and 15 degrees apart. Another b keeps them straight but
// bunches them.
TEST(BifilarGeometry, EvenThreadSpacesHourLinesByFifteenDegrees) {
    const double a = 100.0, phi = 47.25;
    const PlaneFrame level = FrameOfPlane(0.0, 0.0), wall = FrameOfPlane(90.0, 0.0);
    ASSERT_TRUE(EvenSpacingThread(level, phi, a));
    EXPECT_NEAR(*EvenSpacingThread(level, phi, a), a * S(phi), 1e-9);
    EXPECT_NEAR(*EvenSpacingThread(wall, phi, a), a * C(phi), 1e-9);
    EXPECT_NEAR(*EvenSpacingThread(level, -phi, a), a * S(phi), 1e-9);
    EXPECT_FALSE(EvenSpacingThread(FrameOfPlane(90.0, 25.0), phi, a));

    for (const bool isLevel : {true, false}) {
        const PlaneFrame& frame = isLevel ? level : wall;
        const double even = *EvenSpacingThread(frame, phi, a);
        const BifilarDial dial(frame, phi, a, even);
        const QPointF centre = *dial.hourLineCentre();
        if (isLevel) {
            EXPECT_NEAR(centre.y(), -even / T(phi), kMicrometre);
        }
        const double noon = AngleFrom(centre, *dial.at(0.0, 10.0));
        for (int hour = -5; hour <= 5; ++hour) {
            const double t = 15.0 * hour;
            for (double delta : {-20.0, 0.0, 20.0}) {
                if (!dial.lit(t, delta)) continue;
                double turn = std::remainder(AngleFrom(centre, *dial.at(t, delta)) - noon, 360.0);
                EXPECT_NEAR(std::abs(turn), 15.0 * std::abs(hour), 1e-7) << hour << " " << delta;
            }
        }
        const BifilarDial bunched(frame, phi, a, even * 0.7);
        const QPointF c2 = *bunched.hourLineCentre();
        const double turn = std::abs(std::remainder(AngleFrom(c2, *bunched.at(45.0, 10.0)) - AngleFrom(c2, *bunched.at(0.0, 10.0)), 360.0));
        EXPECT_GT(std::abs(turn - 45.0), 5.0);
    }
}

// Hour lines of a declining wall stay straight through the stretched style foot.
TEST(BifilarGeometry, HourLinesOfADecliningWallAreStraight) {
    const BifilarDial dial(FrameOfPlane(90.0, -32.0), 50.0, 90.0, 140.0);
    const QPointF centre = *dial.hourLineCentre();
    int lines = 0;
    for (double t = -60.0; t <= 75.0; t += 15.0) {
        std::vector<QPointF> line;
        for (double delta = -23.0; delta <= 23.0; delta += 2.0)
            if (dial.lit(t, delta)) line.push_back(*dial.at(t, delta));
        if (line.size() < 3) continue;  // an hour the wall never sees
        ++lines;
        const double first = AngleFrom(centre, line.front());
        for (const QPointF& p : line) EXPECT_NEAR(std::remainder(AngleFrom(centre, p) - first, 360.0), 0.0, 1e-7) << t;
    }
    EXPECT_GE(lines, 6);
}

// With both threads at one distance their crossing is a nodus: the bifilar dial must then be
// the planar dial of the same wall, which fixes the wall frame's orientation against the
// planar dials' own projection.
TEST(BifilarGeometry, EqualThreadsCastThePlanarDialsNodusShadow) {
    for (double declination : {0.0, 35.0, -60.0}) {
        for (char letter : {'h', 'v'}) {
            DialPlane plane;
            plane.letter = letter;
            plane.wallDeclination = declination;
            plane.siteLatitude = 47.25;
            SetPlaneOrientation(plane);
            plane.g = 80.0;
            plane.halfWidth = plane.height = 1e6;
            plane.ox = -5e5;
            plane.oy = -5e5;
            const BifilarDial dial(FrameOfNormal(plane.normalAltitude, plane.normalAzimuth), 47.25, 80.0, 80.0);
            for (double t = -75.0; t <= 75.0; t += 15.0) {
                const HorizontalPosition sun = HorizontalFromHourAngle(t, 15.0, 47.25);
                const auto p = dial.shadow(DirectionOf(sun.altitude, sun.azimuth));
                if (!p) continue;
                const ShadowSample s = ShadowPoint(sun.altitude, sun.azimuth, plane);
                EXPECT_NEAR(p->x(), s.x, 1e-6) << letter << declination << " " << t;
                EXPECT_NEAR(p->y(), -s.y, 1e-6) << letter << declination << " " << t;  // planar y grows down
            }
        }
    }
}

// Threads stretched in space (a in front of the plane along its up line, b across), the sun
// of a date and time from the program's ephemeris: the crossing of the two thread shadows
// must be the drawn point of that time within 0.1 mm.
TEST(BifilarGeometry, ThreadShadowsTracedInSpaceCrossOnTheDrawnPoint) {
    struct Case {
        const char* name;
        double latitude, inclination, declination, a, b;
    };
    for (const Case c : {Case{"level", 47.25, 0.0, 0.0, 120.0, 88.0}, Case{"south wall", 47.25, 90.0, 0.0, 150.0, 60.0},
                         Case{"wall declining 35 west", 52.0, 90.0, 35.0, 100.0, 130.0},
                         Case{"wall declining 50 east", 40.0, 90.0, -50.0, 140.0, 90.0},
                         Case{"level, southern site", -33.9, 0.0, 0.0, 110.0, 70.0},
                         Case{"north wall, southern site", -33.9, 90.0, 180.0, 110.0, 70.0}}) {
        const PlaneFrame plane = FrameOfPlane(c.inclination, c.declination);
        const BifilarDial dial(plane, c.latitude, c.a, c.b);
        const Vec3 threadA = plane.normal * c.a, threadB = plane.normal * c.b;
        int checked = 0;
        for (int day = 10; day <= 365; day += 25) {
            for (double clock = 5.0; clock <= 19.0; clock += 0.75) {
                const SunPositionResult sun = SunPosition(2026, day, clock, c.latitude, -15.0, -15.0, false);
                const Vec3 s = test::TowardSun(sun);
                if (sun.altitude < 1.0 || s.dot(plane.normal) < 0.05) continue;
                // Two points of each thread's shadow on the plane.
                Vec3 a0, a1, b0, b1;
                ASSERT_TRUE(MeetPlane(plane, threadA, s, a0) && MeetPlane(plane, threadA + plane.up * 500.0, s, a1));
                ASSERT_TRUE(MeetPlane(plane, threadB, s, b0) && MeetPlane(plane, threadB + plane.right * 500.0, s, b1));
                const QPointF p = plane.onPlane(a0), r = plane.onPlane(a1) - p;
                const QPointF q = plane.onPlane(b0), u = plane.onPlane(b1) - q;
                const double den = r.x() * u.y() - r.y() * u.x();
                const double k = ((q.x() - p.x()) * u.y() - (q.y() - p.y()) * u.x()) / den;
                const QPointF crossing = p + r * k;
                const auto drawn = dial.at(15.0 * (clock - 12.0), sun.declination);
                ASSERT_TRUE(drawn) << c.name << " day " << day << " " << clock;
                EXPECT_LT(std::hypot(drawn->x() - crossing.x(), drawn->y() - crossing.y()), 0.1)
                    << c.name << " day " << day << " " << clock << "h";
                ++checked;
            }
        }
        EXPECT_GT(checked, 60) << c.name;
    }
}

TEST(BifilarGeometry, ThreadsOnThePlaneOrAtOneDistanceAreRefused) {
    EXPECT_EQ(CheckThreads(0.0, 50.0), BifilarProblem::ThreadOnPlane);
    EXPECT_EQ(CheckThreads(50.0, 0.0), BifilarProblem::ThreadOnPlane);
    EXPECT_EQ(CheckThreads(-10.0, 50.0), BifilarProblem::ThreadOnPlane);
    EXPECT_EQ(CheckThreads(std::nan(""), 50.0), BifilarProblem::ThreadOnPlane);
    EXPECT_EQ(CheckThreads(50.0, 50.0), BifilarProblem::ThreadsTouch);
    EXPECT_EQ(CheckThreads(50.0, 50.01), BifilarProblem::ThreadsTouch);
    EXPECT_EQ(CheckThreads(50.0, 49.0), BifilarProblem::None);
    EXPECT_EQ(CheckThreads(0.1, 200.0), BifilarProblem::None);
}

// The frame of a plane: a level plane reads east and north, a south wall east and up, a wall
// facing west has south to the right; every frame is right-handed and orthonormal.
TEST(BifilarGeometry, PlaneFramesPointWhereTheWallsFace) {
    const PlaneFrame level = FrameOfPlane(0.0, 0.0);
    EXPECT_NEAR(level.right.x, 1.0, 1e-12);
    EXPECT_NEAR(level.up.y, 1.0, 1e-12);
    EXPECT_NEAR(level.normal.z, 1.0, 1e-12);
    const PlaneFrame south = FrameOfPlane(90.0, 0.0);
    EXPECT_NEAR(south.normal.y, -1.0, 1e-9);
    EXPECT_NEAR(south.up.z, 1.0, 1e-9);
    const PlaneFrame west = FrameOfPlane(90.0, 90.0);
    EXPECT_NEAR(west.normal.x, -1.0, 1e-9);
    EXPECT_NEAR(west.right.y, -1.0, 1e-9);
    for (const PlaneFrame& f : {level, south, west, FrameOfPlane(35.0, -70.0)}) {
        EXPECT_NEAR(f.right.cross(f.up).dot(f.normal), 1.0, 1e-9);
        EXPECT_NEAR(f.right.dot(f.up), 0.0, 1e-12);
        EXPECT_NEAR(f.up.length(), 1.0, 1e-12);
        EXPECT_NEAR(f.right.z, 0.0, 1e-12);
    }
}

}  // namespace
}  // namespace zorva
