// Geometry of the planar dials: projection, equivalences, style foot, clipping, joining.
#include "dials/dial_geometry.h"

#include "astro/angles.h"
#include "astro/sun_position.h"
#include "recording_painter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zorva {
namespace {

using test::Pieces;
using test::RecordingPainter;

constexpr double kPi = 3.14159265358979323846;

DialPlane MakePlane(char letter, double phi, double d = 0, double i = 90, bool umbrella = false) {
    DialPlane p;
    p.letter = letter;
    p.umbrella = umbrella;
    p.umbrellaRatio = 0.35;
    p.siteLatitude = phi;
    p.wallDeclination = d;
    p.inclination = i;
    p.g = 100;
    p.x0 = 5000;
    p.y0 = 5000;
    p.halfWidth = 5000;
    p.height = 10000;
    SetPlaneOrientation(p);
    p.yHorizon = HorizonRow(p);
    return p;
}

// Shadow of a nodus at height g over a plane of inclination i whose normal points to
// azimuth d, by plain vector algebra: x to the right and y downward as seen from the front.
QPointF DirectProjection(double a, double A, double d, double i, double g) {
    const double r = kPi / 180;
    const double al = (A - d) * r, ar = a * r, ir = i * r;
    const double ns = std::sin(ir) * std::cos(ar) * std::cos(al) + std::cos(ir) * std::sin(ar);
    const double x = g * std::cos(ar) * std::sin(al) / ns;
    const double yUp = g * (std::cos(ir) * std::cos(ar) * std::cos(al) - std::sin(ir) * std::sin(ar)) / ns;
    return {x, -yUp};
}

// Angle between the noon line and the line from the style foot point through a shadow
// point, positive toward the drawing's right; `downward` when the noon line runs down
// from the style foot.
double LineAngleFrom(QPointF foot, QPointF p, bool downward) {
    const double along = downward ? p.y() - foot.y() : foot.y() - p.y();
    return std::atan2(p.x() - foot.x(), along) * 180 / kPi;
}

TEST(EquivalentDial, InclinationZeroAndNinetyGiveHorizontalAndVerticalDials) {
    const EquivalentDial flat = EquivalentHorizontalDial(47.25, 0.0, 0.0);
    EXPECT_NEAR(flat.latitude, 47.25, 1e-9);
    EXPECT_EQ(flat.deltaLambda, 0.0);
    EXPECT_EQ(flat.rotation, 0.0);
    const EquivalentDial wall = EquivalentHorizontalDial(47.25, 90.0, 0.0);
    EXPECT_NEAR(wall.latitude, 47.25 - 90.0, 1e-6);
    EXPECT_NEAR(wall.deltaLambda, 0.0, 1e-9);
    EXPECT_NEAR(wall.rotation, 0.0, 1e-9);
    EXPECT_EQ(Atan2Deg(1, 0), 90.0);
    EXPECT_EQ(Atan2Deg(0, -1), 180.0);
    EXPECT_NEAR(Atan2Deg(-1, -1), -135.0, 1e-9);
}

// The plain inclined dial is drawn as the horizontal dial of another place; its shadow
// points must be those of the true tilted plane, and at 90 degrees those of the wall.
TEST(EquivalentDial, InclinedDialMatchesTheTrueProjection) {
    const double phi = 47.25;
    for (const auto& [i, d] : std::vector<std::pair<double, double>>{{25.4589, -11.7}, {60, 20}, {90, 30},
                                                                      {0.001, 0}, {120, -40}}) {
        const DialPlane incl = MakePlane('i', phi, d, i);
        const DialPlane wall = MakePlane('v', phi, d);
        for (const auto& [t, decl] : std::vector<std::pair<double, double>>{{-30, 10}, {15, -5}, {45, 20}, {0, 23}}) {
            const HorizontalPosition real = HorizontalFromHourAngle(t, decl, phi);
            const HorizontalPosition eq = HorizontalFromHourAngle(t + 15 * incl.hourShift, decl, incl.effectiveLatitude);
            const ShadowSample s = ShadowPoint(eq.altitude, eq.azimuth, incl);
            const QPointF expected = DirectProjection(real.altitude, real.azimuth, d, i, 100);
            SCOPED_TRACE(testing::Message() << "i=" << i << " d=" << d << " t=" << t << " decl=" << decl);
            EXPECT_NEAR(s.x - 5000, expected.x(), 1e-3);
            EXPECT_NEAR(s.y - 5000, expected.y(), 1e-3);
            if (i == 90) {
                const ShadowSample w = ShadowPoint(real.altitude, real.azimuth, wall);
                EXPECT_NEAR(s.x, w.x, 1e-3);
                EXPECT_NEAR(s.y, w.y, 1e-3);
            }
        }
    }
}

// Textbook hour-line angles: horizontal dial tan HLA = sin(phi) tan(t), vertical dial
// facing the equator tan HLA = cos(phi) tan(t); every hour line runs through the style
// foot point. Afternoon lines lie east: right on a north-up horizontal dial and on a south
// wall, left on a north wall seen from the front.
TEST(HourLineAngles, HorizontalAndVerticalDialsMatchTheTextbook) {
    for (double phi : {47.25, 30.0, -33.9}) {
        for (char letter : {'h', 'v'}) {
            const bool north = phi > 0;
            const DialPlane p = MakePlane(letter, phi, north ? 0.0 : 180.0);
            const Offset f = StyleFootPoint(p);
            const QPointF foot(p.x0 + f.dx, p.y0 - f.dy);
            const double summer = north ? 1 : -1;
            const double decl1 = letter == 'h' ? 5 * summer : -15 * summer;
            const double decl2 = letter == 'h' ? 20 * summer : 5 * summer;
            const bool downward = letter == 'v' || !north;
            const double side = (letter == 'v' && !north) ? -1.0 : 1.0;
            for (double t = -60; t <= 60; t += 15) {
                const double expected =
                    std::atan((letter == 'h' ? std::sin(std::abs(phi) * kPi / 180) : std::cos(phi * kPi / 180)) *
                              std::tan(t * kPi / 180)) * 180 / kPi;
                SCOPED_TRACE(testing::Message() << letter << " phi=" << phi << " t=" << t);
                for (double decl : {decl1, decl2}) {
                    const HorizontalPosition sun = HorizontalFromHourAngle(t, decl, phi);
                    const ShadowSample s = ShadowPoint(sun.altitude, sun.azimuth, p);
                    ASSERT_TRUE(s.visible);
                    EXPECT_NEAR(side * LineAngleFrom(foot, {s.x, s.y}, downward), expected, 0.01);
                }
            }
        }
    }
}

TEST(ShadowPoint, SunOnTheHorizonIsFiniteAndNotLit) {
    for (char letter : {'h', 'i'}) {
        const DialPlane p = MakePlane(letter, 47.25, 0, 30);
        const ShadowSample s = ShadowPoint(0.0, -60.0, p);
        EXPECT_TRUE(std::isfinite(s.x) && std::isfinite(s.y));
        EXPECT_LE(std::abs(s.x), 1e8);
        EXPECT_LE(std::abs(s.y), 1e8);
        EXPECT_FALSE(s.frontLit);
        EXPECT_FALSE(s.visible);
    }
}

TEST(ShadowPoint, SunParallelToTheWallIsHugeButFinite) {
    const DialPlane p = MakePlane('v', 47.25, -20);
    const ShadowSample s = ShadowPoint(30.0, 70.0, p);  // alpha exactly 90 degrees
    EXPECT_TRUE(std::isfinite(s.x));
    EXPECT_LE(std::abs(s.x), 1e8);
    EXPECT_GT(std::abs(s.x), 1e6);
    EXPECT_FALSE(s.frontLit);
    EXPECT_FALSE(s.visible);
}

TEST(ShadowPoint, SunBehindANorthWallIsNotLitButFrontSunIs) {
    const DialPlane p = MakePlane('v', 47.25, 180);
    const ShadowSample behind = ShadowPoint(50, 0, p);  // noon sun in the south
    EXPECT_FALSE(behind.sunlit);
    EXPECT_FALSE(behind.visible);
    const ShadowSample front = ShadowPoint(10, -150, p);  // early summer morning, north-east
    EXPECT_TRUE(front.sunlit);
    EXPECT_TRUE(front.visible);
    EXPECT_GT(front.y, p.y0);  // below the foot: a wall's shadows never rise above it
}

// Umbrella dials: the rim of the disc reaches R g beyond the shadow of its centre.
TEST(ShadowPoint, UmbrellaRimExtendsTheShadowByTheDiscRadius) {
    const DialPlane h = MakePlane('h', 47.25, 0, 90, true);
    const ShadowSample hs = ShadowPoint(40, 30, h);
    EXPECT_NEAR(std::hypot(hs.x - h.x0, hs.y - h.y0), 100 / std::tan(40 * kPi / 180) + 35, 1e-6);
    const DialPlane v = MakePlane('v', 47.25, 0, 90, true);
    const ShadowSample vs = ShadowPoint(40, 30, v);
    const QPointF plain = DirectProjection(40, 30, 0, 90, 100);
    EXPECT_NEAR(std::hypot(vs.x - v.x0, vs.y - v.y0), std::hypot(plain.x(), plain.y()) + 35, 1e-6);
    // A desk that is almost flat is the horizontal umbrella.
    const DialPlane i = MakePlane('i', 47.25, 0, 1e-9, true);
    const ShadowSample is = ShadowPoint(40, 30, i);
    EXPECT_NEAR(is.x, hs.x, 1e-6);
    EXPECT_NEAR(is.y, hs.y, 1e-6);
}

TEST(StyleFootPoint, EquatorSiteGivesAFiniteFarPointOnTheEquatorSide) {
    const DialPlane p = MakePlane('h', 0.0);
    const Offset o = StyleFootPoint(p);
    EXPECT_TRUE(std::isfinite(o.dy));
    EXPECT_LT(o.dy, -1e6);  // below the foot: toward the equator on a north-up drawing
    const Offset limited = LimitOffset(o);
    EXPECT_EQ(limited.dx, 0.0);
    EXPECT_EQ(limited.dy, -8000.0);
}

TEST(StyleFootPoint, WallsAndHorizontalDialsAtTheirTextbookPlaces) {
    const double phi = 47.25, t = std::tan(phi * kPi / 180);
    const Offset h = StyleFootPoint(MakePlane('h', phi));
    EXPECT_NEAR(h.dy, -100 / t, 1e-9);
    const Offset south = StyleFootPoint(MakePlane('v', phi, 0));
    EXPECT_NEAR(south.dx, 0, 1e-9);
    EXPECT_NEAR(south.dy, 100 * t, 1e-6);
    // A wall declining 30 degrees east has its style foot to the right (west) of the gnomon.
    const Offset east = StyleFootPoint(MakePlane('v', phi, -30));
    EXPECT_NEAR(east.dx, 100 * std::tan(30 * kPi / 180), 1e-6);
    EXPECT_NEAR(east.dy, 100 * t / std::cos(30 * kPi / 180), 1e-6);
    // At the pole the latitude is kept just off 90 degrees.
    const Offset pole = StyleFootPoint(MakePlane('v', 90.0, 10));
    EXPECT_TRUE(std::isfinite(pole.dx) && std::isfinite(pole.dy));
    // A wall parallel to the earth's axis has its style foot at infinity: guarded.
    const Offset polar = StyleFootPoint(MakePlane('i', 47.25, 0, 47.25));
    EXPECT_TRUE(std::isfinite(polar.dy));
    const Offset limitedPolar = LimitOffset(polar);
    EXPECT_EQ(std::abs(limitedPolar.dy), 8000.0);
}

TEST(StyleFootPoint, LimitKeepsTheDirection) {
    const Offset o = LimitOffset({30000, -15000});
    EXPECT_DOUBLE_EQ(o.dx, 8000);
    EXPECT_DOUBLE_EQ(o.dy, -4000);
    const Offset small = LimitOffset({100, 200});
    EXPECT_EQ(small.dx, 100);
    EXPECT_EQ(small.dy, 200);
    EXPECT_EQ(LimitOffset({1.5, -9000}).dy, -8000);
    EXPECT_EQ(LimitOffset({1.5, -9000}).dx, 1.5);
}

TEST(Horizon, RowOfWallsAndInclinedPlanes) {
    DialPlane v = MakePlane('v', 47.25);
    EXPECT_EQ(HorizonRow(v), 5000);
    DialPlane i = MakePlane('i', 47.25, 0, 45);
    EXPECT_NEAR(HorizonRow(i), 5000 - 100, 1e-9);
    DialPlane iu = MakePlane('i', 47.25, 0, 30, true);
    EXPECT_NEAR(HorizonRow(iu), 5000 - 200, 1e-9);
    EXPECT_EQ(HorizonRow(MakePlane('h', 47.25)), 0);
    EXPECT_EQ(HorizonRow(MakePlane('i', 47.25, 0, 0)), 0);  // a flat plane has no horizon row
    DialPlane high = MakePlane('v', 47.25);
    high.oy = 6000;
    EXPECT_EQ(HorizonRow(high), 0);
}

TEST(ClipToArea, ReturnsTheBorderPointOnTheSegment) {
    const DrawingArea area{0, 100, 10, 200};
    const QPointF b = ClipToArea({150, 50}, {50, 100}, area);
    EXPECT_DOUBLE_EQ(b.x(), 100);
    EXPECT_DOUBLE_EQ(b.y(), 75);
    // Leaving through a corner region: first clamped in x, then in y.
    const QPointF c = ClipToArea({140, -190}, {50, 110}, area);
    EXPECT_NEAR(c.y(), 10, 1e-9);
    EXPECT_NEAR(c.x(), 80, 1e-9);
    EXPECT_TRUE(area.contains(c.x(), c.y()));
    // With the inner point outside too, the outer point is returned.
    const QPointF d = ClipToArea({-50, -50}, {-10, 50}, area);
    EXPECT_EQ(d, QPointF(-50, -50));
}

ShadowSample Sample(double x, double y, bool visible, bool sunlit = true) {
    ShadowSample s;
    s.x = x;
    s.y = y;
    s.visible = visible;
    s.sunlit = sunlit;
    s.frontLit = visible;
    return s;
}

TEST(ShadowCurve, ACurveLeavingAndReenteringIsDrawnInPiecesEndingOnTheBorder) {
    const DrawingArea area{0, 100, 0, 100};
    RecordingPainter painter;
    ShadowCurve curve(painter, area);
    curve.add(Sample(20, 50, true));
    curve.add(Sample(60, 50, true));
    curve.add(Sample(140, 50, false));  // outside, sun still on the plane
    curve.add(Sample(160, 70, false));
    curve.add(Sample(80, 70, true));
    curve.add(Sample(40, 70, true));
    const auto pieces = Pieces(painter.all(test::Primitive::Line));
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].front(), QPointF(20, 50));
    EXPECT_EQ(pieces[0].back(), QPointF(100, 50));
    EXPECT_EQ(pieces[1].front().x(), 100);
    EXPECT_EQ(pieces[1].back(), QPointF(40, 70));
}

TEST(ShadowCurve, WhereTheSunLeavesThePlaneTheCurveBreaksWithoutABorderLine) {
    const DrawingArea area{0, 100, 0, 100};
    RecordingPainter painter;
    ShadowCurve curve(painter, area);
    curve.add(Sample(20, 50, true));
    curve.add(Sample(30, 50, true));
    curve.add(Sample(500, 900, false, false));  // behind the plane
    curve.add(Sample(70, 50, true));
    curve.add(Sample(80, 50, true));
    const auto pieces = Pieces(painter.all(test::Primitive::Line));
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].back(), QPointF(30, 50));
    EXPECT_EQ(pieces[1].front(), QPointF(70, 50));
}

TEST(Scale, ZoomedGnomonIsRoundedAndNeverBelowFiveMillimetres) {
    EXPECT_EQ(ScaleGnomon(35, 1.0).gnomonMm, 35.0);
    EXPECT_DOUBLE_EQ(ScaleGnomon(35, kZoomStep).gnomonMm, 41.62);
    const ScaledGnomon small = ScaleGnomon(3, 1.0);
    EXPECT_EQ(small.gnomonMm, 5.0);
    EXPECT_DOUBLE_EQ(small.zoom, 5.0 / 3.0);
    EXPECT_EQ(ScaleGnomon(35, 0.01).gnomonMm, 5.0);
    EXPECT_DOUBLE_EQ(ScreenUnitsPerMm(1152, false), 4.0);
    EXPECT_DOUBLE_EQ(ScreenUnitsPerMm(1292, true), 3.0);
}

}  // namespace
}  // namespace zorva
