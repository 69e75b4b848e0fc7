// Analemmatic dial geometry: the published walk-on dial, the closed forms of the level,
// wall and leaning-gnomon dials against the construction in space, the gnomon's shadow
// traced in space for the program's own sun, the minimum gnomon length and bad input.

#include "dials/analemmatic_geometry.h"

#include "astro/sun_position.h"
#include "dials/quadrant_space.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace zorva {
namespace {

constexpr double kRad = M_PI / 180.0;
double S(double d) { return std::sin(d * kRad); }
double C(double d) { return std::cos(d * kRad); }
double T(double d) { return std::tan(d * kRad); }

AnalemmaticInput Level(double phi, double m, double z = 90.0) {
    AnalemmaticInput in;
    in.latitude = phi;
    in.semiMajor = m;
    in.gnomonAngle = z;
    return in;
}

AnalemmaticInput Wall(double phi, double m, double declination) {
    AnalemmaticInput in = Level(phi, m);
    in.vertical = true;
    in.wallDeclination = declination;
    return in;
}

// A walk-on dial of M = 2.5 m at 26.75 degrees south, hour angle H = 15 (T - 12) - 2.843,
// as published with its x axis toward the west and its y axis toward the south (the dial
// turned so that noon is at the top for a reader facing the equator).
TEST(AnalemmaticGeometry, PublishedWalkOnDialToTheMillimetre) {
    const AnalemmaticDial dial(Level(-26.75, 2.5));
    struct Row {
        double clock, west, south;
    };
    for (const Row r : {Row{5.0, 2.380, -0.345}, Row{8.0, 2.224, 0.514}, Row{12.0, 0.124, 1.124}}) {
        const QPointF p = dial.hourPoint(15.0 * (r.clock - 12.0) - 2.843);
        EXPECT_NEAR(-p.x(), r.west, 0.0005) << r.clock << "h";
        EXPECT_NEAR(-p.y(), r.south, 0.0005) << r.clock << "h";
    }
    // Date scale: 1 January (declination -23.067) and 15 June (+23.277).
    EXPECT_NEAR(-dial.gnomonFoot(-23.067).y(), 0.951, 0.0005);
    EXPECT_NEAR(-dial.gnomonFoot(23.277).y(), -0.960, 0.0005);
    EXPECT_NEAR(dial.gnomonFoot(23.277).x(), 0.0, 1e-12);
}

// Closed forms (conventions: phi latitude, delta declination, t hour angle, M semi-major):
//  level:      x = M sin t, y_north = M sin(phi) cos t, foot at y = M cos(phi) tan(delta)
//  south wall: x = M sin t, y_up = -M cos(phi) cos t, foot at y_up = M sin(phi) tan(delta)
//  gnomon leaning at z: y = b cos t with b = M cos(phi - z) / sin z, and the foot at
//  d = M sin(phi - z) tan(delta) / sin z counted toward the equator (south in the north).
TEST(AnalemmaticGeometry, ConstructionInSpaceGivesTheClosedForms) {
    const double m = 3.0;
    for (double phi : {-60.0, -26.75, 12.0, 47.25, 70.0}) {
        const AnalemmaticDial level(Level(phi, m));
        for (double t = -150.0; t <= 150.0; t += 15.0) {
            EXPECT_NEAR(level.hourPoint(t).x(), m * S(t), 1e-9) << phi << " " << t;
            EXPECT_NEAR(level.hourPoint(t).y(), m * S(phi) * C(t), 1e-9) << phi << " " << t;
        }
        for (double delta : {-23.44, -10.0, 0.0, 16.0, 23.44})
            EXPECT_NEAR(level.gnomonFoot(delta).y(), m * C(phi) * T(delta), 1e-9) << phi << " " << delta;

        if (phi > 0) {
            const AnalemmaticDial wall(Wall(phi, m, 0.0));
            for (double t = -90.0; t <= 90.0; t += 15.0) {
                EXPECT_NEAR(wall.hourPoint(t).x(), m * S(t), 1e-9) << phi << " " << t;
                EXPECT_NEAR(wall.hourPoint(t).y(), -m * C(phi) * C(t), 1e-9) << phi << " " << t;
            }
            for (double delta : {-23.44, 0.0, 23.44})
                EXPECT_NEAR(wall.gnomonFoot(delta).y(), m * S(phi) * T(delta), 1e-9) << phi << " " << delta;
        }

        for (double z : {30.0, CircularScaleGnomonAngle(phi), 80.0, 120.0}) {
            const AnalemmaticDial leaning(Level(phi, m, z));
            // The formulas lean the gnomon north; a southern dial leans it south (mirror).
            const double zNorth = phi < 0 ? 180.0 - z : z;
            const double b = m * C(phi - zNorth) / S(zNorth);
            for (double t = -120.0; t <= 120.0; t += 30.0) {
                EXPECT_NEAR(leaning.hourPoint(t).x(), m * S(t), 1e-9) << phi << " " << z << " " << t;
                EXPECT_NEAR(leaning.hourPoint(t).y(), b * C(t), 1e-9) << phi << " " << z << " " << t;
            }
            for (double delta : {-23.44, 11.0, 23.44}) {
                const double d = m * S(phi - zNorth) * T(delta) / S(zNorth);
                EXPECT_NEAR(leaning.gnomonFoot(delta).y(), -d, 1e-9) << phi << " " << z << " " << delta;
            }
        }
    }
}

TEST(AnalemmaticGeometry, GnomonAtFortyFivePlusHalfTheLatitudeGivesACircle) {
    for (double phi : {-50.0, -20.0, 35.0, 52.0}) {
        const AnalemmaticDial dial(Level(phi, 2.0, CircularScaleGnomonAngle(phi)));
        for (double t = -165.0; t <= 165.0; t += 15.0) {
            const QPointF p = dial.hourPoint(t);
            EXPECT_NEAR(std::hypot(p.x(), p.y()), 2.0, 1e-9) << phi << " " << t;
        }
        // Noon toward the equator, as with the upright gnomon.
        EXPECT_EQ(dial.hourPoint(0.0).y() > 0, phi > 0) << phi;
    }
    // An upright gnomon gives the ellipse, not a circle.
    const AnalemmaticDial upright(Level(52.0, 2.0));
    EXPECT_NEAR(upright.semiMinor(), 2.0 * S(52.0), 1e-9);
}

struct Placement {
    std::string name;
    AnalemmaticInput input;
};

double DistanceToLine(QPointF p, QPointF a, QPointF b) {
    const QPointF d = b - a, w = p - a;
    return std::abs(d.x() * w.y() - d.y() * w.x()) / std::hypot(d.x(), d.y());
}

// The gnomon stands in space at its foot for the day's declination with the minimum
// length; the sun of a date and time comes from the program's own ephemeris. The shadow
// of the gnomon (foot to shadow of its top) must run through the hour point of that time
// within 0.1 mm and reach it.
void ExpectShadowThroughHourPoints(const Placement& pl, bool meanTime) {
    const double lat = pl.input.latitude;
    const AnalemmaticDial dial(pl.input);
    const double length = dial.minimumGnomonLength() * 1.0001;
    int checked = 0;
    for (int day = 5; day <= 365; day += 20) {
        for (double clock = 4.0; clock <= 20.0; clock += 0.5) {
            // Local time: longitude on the zone meridian. `apparent` set makes the clock mean time.
            const SunPositionResult sun = SunPosition(2026, day, clock, lat, -15.0, -15.0, meanTime);
            const Vec3 s = test::TowardSun(sun);
            if (sun.altitude <= 0.5 || s.dot(dial.plane().normal) <= 0.01) continue;
            const double tau = 15.0 * (clock - 12.0);
            const QPointF mark = meanTime ? dial.meanTimePoint(tau, sun.declination, sun.eot) : dial.hourPoint(tau);
            const QPointF foot = dial.gnomonFoot(sun.declination);
            QPointF top;
            ASSERT_TRUE(dial.shadowOfTop(s, sun.declination, length, top));
            EXPECT_LT(DistanceToLine(mark, foot, top), 0.1) << pl.name << " day " << day << " " << clock << "h";
            // Along the shadow, not toward the sun, and not beyond the top's shadow.
            const QPointF along = top - foot, toMark = mark - foot;
            const double k = (along.x() * toMark.x() + along.y() * toMark.y()) / (along.x() * along.x() + along.y() * along.y());
            EXPECT_GT(k, 0.0) << pl.name << " day " << day << " " << clock << "h";
            if (!meanTime) EXPECT_LE(k, 1.0) << pl.name << " day " << day << " " << clock << "h";
            ++checked;
        }
    }
    EXPECT_GT(checked, 150) << pl.name;
}

const std::vector<Placement>& Placements() {
    static const std::vector<Placement> all = {
        {"level north, upright", Level(48.0, 2500.0)},
        {"level south, upright", Level(-26.75, 2500.0)},
        {"level north, circular", Level(51.5, 2500.0, CircularScaleGnomonAngle(51.5))},
        {"level south, leaning 40", Level(-35.0, 2500.0, 40.0)},
        {"south wall", Wall(47.0, 1500.0, 0.0)},
        {"wall declining 35 west", Wall(47.0, 1500.0, 35.0)},
        {"north wall at a southern site", Wall(-33.9, 1500.0, 180.0)},
    };
    return all;
}

TEST(AnalemmaticGeometry, GnomonShadowTracedInSpacePassesTheTrueTimeHourPoint) {
    for (const Placement& pl : Placements()) ExpectShadowThroughHourPoints(pl, false);
}

TEST(AnalemmaticGeometry, GnomonShadowTracedInSpacePassesTheMeanTimeFigureEight) {
    for (const Placement& pl : Placements()) ExpectShadowThroughHourPoints(pl, true);
    // The figure-eight is not the true hour point: a mean-time dial read at the ellipse would
    // be off by the equation of time (16 minutes early in November).
    const AnalemmaticDial dial(Level(48.0, 2500.0));
    const QPointF mean = dial.meanTimePoint(-30.0, -15.0, 4.0);
    const QPointF apparent = dial.hourPoint(-30.0);
    EXPECT_GT(std::hypot(mean.x() - apparent.x(), mean.y() - apparent.y()), 100.0);
}

// The top of the shortest gnomon throws its shadow exactly onto noon's point at the summer
// solstice; the level dial's closed form M (cos|phi| + tan(eps) sin|phi|) / sin z holds in
// both hemispheres (with the latitude's sign the southern length would come out too short).
TEST(AnalemmaticGeometry, MinimumGnomonLengthReachesTheHourPointAtMidsummerNoon) {
    for (double phi : {-26.75, 12.0, 51.5}) {
        for (double z : {90.0, CircularScaleGnomonAngle(phi), 60.0}) {
            const AnalemmaticDial dial(Level(phi, 2.5, z));
            const double closed = LevelDialMinimumGnomon(2.5, phi, z);
            EXPECT_NEAR(dial.minimumGnomonLength(), closed, 1e-6) << phi << " " << z;

            const double summer = phi > 0 ? 23.44 : -23.44;
            const Vec3 noon = SunDirection(0.0, summer, phi);
            const QPointF foot = dial.gnomonFoot(summer), mark = dial.hourPoint(0.0);
            QPointF shortTop, fullTop;
            ASSERT_TRUE(dial.shadowOfTop(noon, summer, closed * 0.99, shortTop));
            ASSERT_TRUE(dial.shadowOfTop(noon, summer, closed, fullTop));
            const double need = std::abs(mark.y() - foot.y());
            EXPECT_NEAR(std::abs(fullTop.y() - foot.y()), need, 1e-9) << phi << " " << z;
            EXPECT_LT(std::abs(shortTop.y() - foot.y()), need - 1e-3) << phi << " " << z;
        }
    }
    EXPECT_NEAR(LevelDialMinimumGnomon(1.0, -26.75, 90.0), C(26.75) + T(23.44) * S(26.75), 1e-12);
}

TEST(AnalemmaticGeometry, DegenerateFiguresAreRefused) {
    EXPECT_EQ(CheckAnalemmatic(Level(0.0, 2.5)), AnalemmaticProblem::FlatEllipse);
    EXPECT_EQ(CheckAnalemmatic(Level(-0.5, 2.5)), AnalemmaticProblem::FlatEllipse);
    EXPECT_EQ(CheckAnalemmatic(Level(90.0, 2.5)), AnalemmaticProblem::NoDateScale);
    EXPECT_EQ(CheckAnalemmatic(Level(-90.0, 2.5)), AnalemmaticProblem::NoDateScale);
    EXPECT_EQ(CheckAnalemmatic(Level(2.0, 2.5)), AnalemmaticProblem::None);
    EXPECT_EQ(CheckAnalemmatic(Level(88.5, 2.5)), AnalemmaticProblem::None);
    // On a south wall the roles swap: the ellipse flattens at the pole, the scale at the equator.
    EXPECT_EQ(CheckAnalemmatic(Wall(90.0, 2.5, 0.0)), AnalemmaticProblem::FlatEllipse);
    EXPECT_EQ(CheckAnalemmatic(Wall(0.0, 2.5, 0.0)), AnalemmaticProblem::NoDateScale);
    // A wall facing east or west holds the earth's axis: no ellipse.
    EXPECT_EQ(CheckAnalemmatic(Wall(47.0, 2.5, 90.0)), AnalemmaticProblem::FlatEllipse);
    // A gnomon leaning at 90 - |phi| below the pole's direction (z = phi + 90) flattens it too.
    EXPECT_EQ(CheckAnalemmatic(Level(10.0, 2.5, 100.0)), AnalemmaticProblem::FlatEllipse);
    EXPECT_EQ(CheckAnalemmatic(Level(47.0, 2.5, 3.0)), AnalemmaticProblem::GnomonTooFlat);
    EXPECT_EQ(CheckAnalemmatic(Level(47.0, 2.5, 178.0)), AnalemmaticProblem::GnomonTooFlat);
    EXPECT_EQ(CheckAnalemmatic(Level(47.0, 0.0)), AnalemmaticProblem::NoSize);
    EXPECT_EQ(CheckAnalemmatic(Level(47.0, std::nan(""))), AnalemmaticProblem::NoSize);
    EXPECT_EQ(CheckAnalemmatic(Level(std::nan(""), 2.5)), AnalemmaticProblem::FlatEllipse);
}

TEST(AnalemmaticGeometry, OnlyHoursTheSunCanShineAreLit) {
    const AnalemmaticDial level(Level(48.0, 2.0));
    EXPECT_TRUE(level.hourCanBeLit(-112.0));   // 4:32 in June
    EXPECT_FALSE(level.hourCanBeLit(-125.0));  // 3:40: the sun is down all year
    const AnalemmaticDial wall(Wall(48.0, 2.0, 0.0));
    EXPECT_TRUE(wall.hourCanBeLit(-89.0));
    EXPECT_FALSE(wall.hourCanBeLit(-95.0));  // before 6 the sun is behind a south wall
}

}  // namespace
}  // namespace zorva
