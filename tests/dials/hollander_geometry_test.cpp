// Geometry of the cone-shadow dial, checked against numbers worked out by hand from the
// cone itself (generators, tangents from a point to a circle, the sun's position), not
// against the formulas the code uses.
#include "dials/hollander_dial.h"

#include "astro/sun_position.h"
#include "dials/dial_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace zorva {
namespace {

constexpr double kRad = M_PI / 180.0;

TEST(HollanderCone, EllipseOfAnUprightAndOfALeaningCone) {
    // Upright cone, 45-degree half angle, axis 100: a circle of radius 100 round the axis.
    const auto upright = ConeEllipseFor(100, 45, 90);
    ASSERT_TRUE(upright);
    EXPECT_NEAR(upright->a, 100, 1e-9);
    EXPECT_NEAR(upright->b, 100, 1e-9);
    EXPECT_NEAR(upright->c, 0, 1e-9);
    EXPECT_NEAR(upright->apexFoot, 0, 1e-7);  // trigonometry uses the stored degree factor
    EXPECT_NEAR(upright->apexHeight, 100, 1e-9);

    // psi 60, alpha 20, L 100: apex 86.6025 high, 50 north of the axis foot. The generators
    // inclined 40 and 80 degrees meet the plane 86.6025 cot 40 = 103.209 and
    // 86.6025 cot 80 = 15.270 south of the apex foot; the ellipse's vertices.
    const auto cone = ConeEllipseFor(100, 20, 60);
    ASSERT_TRUE(cone);
    EXPECT_NEAR(cone->b, (103.209 - 15.270) / 2, 1e-3);
    EXPECT_NEAR(cone->apexFoot, (103.209 + 15.270) / 2, 1e-3);
    EXPECT_NEAR(cone->c, 59.240 - 50.0, 1e-3);
    EXPECT_NEAR(cone->a, 37.228, 1e-3);
    // Every point of the ellipse lies on the cone: 20 degrees off the axis seen from the apex.
    for (int k = 0; k < 360; k += 15) {
        const double x = cone->a * std::cos(k * kRad), y = cone->b * std::sin(k * kRad);
        const double vx = x, vy = y - cone->apexFoot, vz = -cone->apexHeight;
        const double along = (vy * -std::cos(60 * kRad) + vz * -std::sin(60 * kRad)) / std::sqrt(vx * vx + vy * vy + vz * vz);
        EXPECT_NEAR(std::acos(along) / kRad, 20.0, 1e-6) << k;
    }
}

TEST(HollanderCone, AnglesThatFormNoEllipseAreRefused) {
    EXPECT_TRUE(ConeAnglesRefused(12, 10));   // psi not above alpha
    EXPECT_TRUE(ConeAnglesRefused(12, 12));
    EXPECT_TRUE(ConeAnglesRefused(0.05, 47));
    EXPECT_TRUE(ConeAnglesRefused(12, 0.05));
    EXPECT_FALSE(ConeAnglesRefused(12, 47.25));
    EXPECT_FALSE(ConeEllipseFor(35, 12, 10));
    // Leaning back so far that the near side never meets the plane: 170 + 15 > 180.
    EXPECT_FALSE(ConeEllipseFor(35, 15, 170));
    EXPECT_TRUE(ConeEllipseFor(35, 5, 170));
}

TEST(HollanderCone, TangentsFromTheApexShadowOfAnUprightCone) {
    // Radius-100 circle; sun due south at latitude 50 with declination -13.4349: altitude
    // 26.5651, cot = 2, so the apex (height 100) casts its shadow 200 north of the axis.
    const ConeEllipse e = *ConeEllipseFor(100, 45, 90);
    const ApexShadow s = ApexShadowAt(e, 50, 0, 26.56505 - 40);
    EXPECT_NEAR(s.at.x(), 0, 1e-9);
    EXPECT_NEAR(s.at.y(), 200, 1e-3);
    // Tangents from (0, 200) to the circle leave at 60 degrees: slopes -+sqrt(3).
    const auto upper = ShadowEdgeFrom(e, {0, 200}, true), lower = ShadowEdgeFrom(e, {0, 200}, false);
    ASSERT_TRUE(upper && lower);
    EXPECT_NEAR(upper->k, -std::sqrt(3.0), 1e-9);
    EXPECT_NEAR(lower->k, std::sqrt(3.0), 1e-9);
    EXPECT_NEAR(upper->q, 200, 1e-9);
    // From (200, 0): slope -1/sqrt(3) through it; it meets the first at (100(sqrt3-1), same).
    const auto east = ShadowEdgeFrom(e, {200, 0}, false);
    ASSERT_TRUE(east);
    EXPECT_NEAR(east->k, -1 / std::sqrt(3.0), 1e-9);
    const QPointF x = EdgeCrossing(*upper, *east);
    EXPECT_NEAR(x.x(), 73.2051, 1e-4);
    EXPECT_NEAR(x.y(), 73.2051, 1e-4);
    // No tangent from a point on the base.
    EXPECT_FALSE(ShadowEdgeFrom(e, {10, 20}, true));
}

TEST(HollanderCone, CrossingOfTheEdgesOfTwoDatesWithTheSameDeclination) {
    const ConeEllipse e = *ConeEllipseFor(100, 45, 90);
    // Same equation of time on both dates (a solstice pairs a day with itself): the edges
    // cross in the apex shadow, 4 degrees of hour angle (16 minutes) after the apparent
    // noon point. Latitude 50, declination 0: x = 100 sin 4 / (cos 50 cos 4) = 10.8787 to
    // the east, y = 100 tan 50 = 119.175 to the north.
    const MeanTimePoint same = CrossingPoint(e, 50, 0, 4, 4);
    ASSERT_TRUE(same.valid);
    EXPECT_NEAR(same.at.x(), 10.8787, 1e-4);
    EXPECT_NEAR(same.at.y(), 119.175, 1e-3);

    // EoT -4 and +4 degrees: the apex shadows (-+10.8787, 119.175) lie mirrored about the
    // meridian, so the edges meet on the noon line. Tangent from (-10.8787, 119.175):
    // D = 1e4 (119.175^2 + 10.8787^2 - 1e4) = 1e4 * 4321.05, k = (-1296.5 + 6573.5) /
    // (118.35 - 1e4) = -0.53402, q = 119.175 - 0.53402 * 10.8787 = 113.365.
    const MeanTimePoint mixed = CrossingPoint(e, 50, 0, -4, 4);
    ASSERT_TRUE(mixed.valid);
    EXPECT_NEAR(mixed.at.x(), 0, 1e-9);
    EXPECT_NEAR(mixed.at.y(), 113.365, 2e-3);
    // Apex shadows on the base give no point: a flat cone (alpha 80) at a high sun.
    const ConeEllipse flat = *ConeEllipseFor(100, 80, 90);
    EXPECT_FALSE(CrossingPoint(flat, 50, 20, 0, 1).valid);
}

TEST(HollanderPairs, DaysOfEqualDeclinationAcrossTheTurnOfTheYear) {
    // A sine year: maximum at day 171.25, minimum at day 353.75; the EoT column holds the
    // day number, so every entry shows which days it took its values from.
    std::vector<DayValues> days(365);
    for (int d = 1; d <= 365; ++d)
        days[d - 1] = {23.44 * std::sin(2 * M_PI * (d - 80) / 365.0), static_cast<double>(d)};
    const std::vector<DayPair> pairs = PairDays(days);
    ASSERT_EQ(pairs.size(), 354u - 171u + 1u);
    EXPECT_EQ(pairs.front().dayA, 171);
    EXPECT_EQ(pairs.front().dayB, 171);
    EXPECT_EQ(pairs.back().dayA, 354);
    EXPECT_EQ(pairs.back().dayB, 354);  // the December solstice pairs with itself
    for (const DayPair& p : pairs) {
        EXPECT_EQ(p.eotA, p.dayA);
        EXPECT_EQ(p.eotB, p.dayB);
        // The partner is within half a day's change of the declination.
        const double perDay = 23.44 * 2 * M_PI / 365.0;
        EXPECT_LE(std::abs(p.declinationA - p.declinationB), perDay / 2 + 1e-9) << p.dayA;
    }
    // 21 July (day 202) mirrors about day 171.25 to day 140.5; 6 December (day 340) to
    // day 367.5, i.e. 2 or 3 January.
    auto pairOf = [&](int dayA) { return pairs[static_cast<size_t>(dayA - 171)]; };
    EXPECT_TRUE(pairOf(202).dayB == 140 || pairOf(202).dayB == 141) << pairOf(202).dayB;
    EXPECT_TRUE(pairOf(340).dayB == 2 || pairOf(340).dayB == 3) << pairOf(340).dayB;
    // The days before the solstice, late in the year, come after 1 January in the count.
    EXPECT_TRUE(pairOf(352).dayB >= 355) << pairOf(352).dayB;

    EXPECT_TRUE(PairDays(std::vector<DayValues>(10)).empty());  // no solstice at all
}

TEST(HollanderPairs, SignDeclinations) {
    EXPECT_NEAR(SignDeclination(0), 23.44, 1e-9);
    EXPECT_NEAR(SignDeclination(3), 0, 1e-9);
    EXPECT_NEAR(SignDeclination(6), -23.44, 1e-9);
    // asin(sin 23.44 * sin 120) = asin(0.344488)
    EXPECT_NEAR(SignDeclination(1), 20.151, 1e-3);
    EXPECT_NEAR(SignDeclination(11), 20.151, 1e-3);

    // 2013: the June solstice is 21 June (day 172), the December solstice 21 December (day 355).
    const std::vector<DayPair> year = PairDaysOfYear(2013);
    ASSERT_FALSE(year.empty());
    EXPECT_EQ(year.front().dayA, 172);
    EXPECT_EQ(year.back().dayA, 355);
    EXPECT_EQ(year[static_cast<size_t>(NearestPair(year, 0.0))].dayA, 265);  // 22 September
}

TEST(HollanderMantle, UnfoldedAngleAndRimOfTheMantle) {
    // A right cone of half angle 30 unfolds into a half disc of radius 100 / cos 30.
    const ConeEllipse right = *ConeEllipseFor(100, 30, 90);
    const Mantle m = UnfoldMantle(right);
    EXPECT_NEAR(m.sectorDeg, 360 * std::sin(30 * kRad), 1e-9);
    EXPECT_NEAR(m.sectorDeg, 180, 1e-9);
    for (const QPointF& r : m.rim) EXPECT_NEAR(r.x(), 115.470, 1e-3);
    EXPECT_NEAR(m.rim.front().y(), -90, 1e-9);
    EXPECT_NEAR(m.rim.back().y(), 90, 1e-9);

    // Leaning cone psi 60, alpha 20: generators 86.6025 / sin 40 and 86.6025 / sin 80.
    const ConeEllipse lean = *ConeEllipseFor(100, 20, 60);
    const Mantle ml = UnfoldMantle(lean, 3600);
    EXPECT_NEAR(ml.longest, 134.730, 1e-3);
    EXPECT_NEAR(ml.shortest, 87.939, 1e-3);
    // Unrolling keeps lengths: the rim is as long as the base ellipse.
    double rim = 0;
    for (size_t i = 1; i < ml.rim.size(); ++i) {
        const QPointF a(ml.rim[i - 1].x() * std::sin(ml.rim[i - 1].y() * kRad), ml.rim[i - 1].x() * std::cos(ml.rim[i - 1].y() * kRad));
        const QPointF b(ml.rim[i].x() * std::sin(ml.rim[i].y() * kRad), ml.rim[i].x() * std::cos(ml.rim[i].y() * kRad));
        rim += std::hypot(b.x() - a.x(), b.y() - a.y());
    }
    double ellipse = 0;
    for (int k = 1; k <= 36000; ++k) {
        const double t0 = (k - 1) * 0.01 * kRad, t1 = k * 0.01 * kRad;
        ellipse += std::hypot(lean.a * (std::cos(t1) - std::cos(t0)), lean.b * (std::sin(t1) - std::sin(t0)));
    }
    EXPECT_NEAR(rim, ellipse, 1e-3 * ellipse);
}

// --- the point of the dial on a plane

DayPair Pair(double declination, double eotA, double eotB) {
    DayPair p;
    p.dayA = 200;
    p.dayB = 140;
    p.declinationA = p.declinationB = declination;
    p.eotA = eotA;
    p.eotB = eotB;
    return p;
}

TEST(HollanderPoint, UprightConeOnWallsCastsTheNodusShadowOfThePlanarDials) {
    // With one equation of time the dial point is the apex shadow; an upright cone's apex
    // is a nodus at height L over the centre. Walls are reduced to an equivalent horizontal
    // dial and turned back; the planar core projects onto the wall directly. Both must
    // agree, also where the equivalent place lies more than 15 degrees of longitude away.
    for (auto [letter, inclination, declination] : {std::tuple{'v', 90.0, 45.0}, std::tuple{'v', 90.0, -70.0},
                                                   std::tuple{'i', 30.0, -20.0}, std::tuple{'v', 90.0, 0.0}}) {
        DialState s = StartupState();
        s.dialType = 'm';
        s.latitude = 47.25;
        s.hollanderShadowLine = letter == 'v' ? 1 : 2;
        s.wallDeclination = declination;
        s.planeInclination = inclination;
        const HollanderPlane hp = HollanderPlaneOf(s);
        const double L = 100;
        const ConeEllipse cone = *ConeEllipseFor(L, 30, 90);
        DialPlane plane;
        plane.letter = letter;
        plane.inclination = inclination;
        plane.wallDeclination = declination;
        plane.siteLatitude = s.latitude;
        SetPlaneOrientation(plane);
        plane.g = L;
        plane.halfWidth = plane.height = 1e9;
        plane.ox = plane.oy = -1e9;
        int compared = 0;
        for (double delta : {-20.0, 0.0, 20.0}) {
            for (double v = 7; v <= 17; v += 0.5) {
                const HollanderPoint p = HollanderPointAt(s, hp, cone, Pair(delta, 0, 0), v - hp.deltaLambda / 15);
                // The planar core takes the plain inclined plane as its equivalent horizontal dial.
                const HorizontalPosition sun =
                    letter == 'i' ? HorizontalFromHourAngle(15 * (v + plane.hourShift - 12), delta, plane.effectiveLatitude)
                                  : HorizontalFromHourAngle(15 * (v - 12), delta, s.latitude);
                const ShadowSample ref = ShadowPoint(sun.altitude, sun.azimuth, plane);
                if (!ref.frontLit || !p.counted || std::hypot(ref.x, ref.y) > 50 * L) continue;
                EXPECT_NEAR(p.at.x(), ref.x, 1e-6 * std::max(1.0, std::abs(ref.x))) << letter << declination << ' ' << v;
                EXPECT_NEAR(p.at.y(), ref.y, 1e-6 * std::max(1.0, std::abs(ref.y))) << letter << declination << ' ' << v;
                ++compared;
            }
        }
        EXPECT_GT(compared, 20) << letter << declination;
    }
}

TEST(HollanderPoint, EquationsOfTimeTakeTheirEdgesByHalfYearAndHemisphere) {
    const ConeEllipse cone = *ConeEllipseFor(100, 20, 50);
    DialState north = StartupState();
    north.latitude = 50;
    DialState south = north;
    south.latitude = -50;
    south.coneAxisInclination = 130;
    const DayPair pair = Pair(10, 3, -2);
    const double T = 10.5;
    auto expectAt = [](const HollanderPoint& p, const MeanTimePoint& m) {
        ASSERT_TRUE(m.valid);
        EXPECT_NEAR(p.at.x(), m.at.x(), 1e-9);
        EXPECT_NEAR(p.at.y(), -m.at.y(), 1e-9);
    };
    // Both halves of the year (0): the first edge from the smaller EoT.
    expectAt(HollanderPointAt(north, HollanderPlaneOf(north), cone, pair, T), CrossingPoint(cone, 50, 10, -22.5 - 2, -22.5 + 3));
    // Summer half (1): the first edge from day A; winter half (2): from day B.
    north.hollanderShadowLine = 3;
    expectAt(HollanderPointAt(north, HollanderPlaneOf(north), cone, pair, T), CrossingPoint(cone, 50, 10, -22.5 + 3, -22.5 - 2));
    north.hollanderShadowLine = 6;
    expectAt(HollanderPointAt(north, HollanderPlaneOf(north), cone, pair, T), CrossingPoint(cone, 50, 10, -22.5 - 2, -22.5 + 3));
    // South of the equator the roles turn once more.
    const ConeEllipse southCone = *ConeEllipseFor(100, 20, 130);
    expectAt(HollanderPointAt(south, HollanderPlaneOf(south), southCone, pair, T),
             CrossingPoint(southCone, -50, 10, -22.5 + 3, -22.5 - 2));
}

TEST(HollanderPoint, ShadowsOnTheBaseOrAtNightGiveNoPoint) {
    DialState s = StartupState();
    s.latitude = 50;
    const HollanderPlane plane = HollanderPlaneOf(s);
    // Alpha 80: base radius 567; a noon sun at 60 degrees throws the apex shadow 57.7 far.
    const ConeEllipse flat = *ConeEllipseFor(100, 80, 90);
    const HollanderPoint onBase = HollanderPointAt(s, plane, flat, Pair(20, 0, 0), 12);
    EXPECT_FALSE(onBase.counted);
    EXPECT_TRUE(onBase.onBase);
    // Midnight: no shadow, and nothing to report about the cone either.
    const ConeEllipse cone = *ConeEllipseFor(100, 12, 47.25);
    const HollanderPoint night = HollanderPointAt(s, plane, cone, Pair(20, 0, 0), 0);
    EXPECT_FALSE(night.counted);
    EXPECT_FALSE(night.onBase);
    // A south wall at 6:30 on a winter morning (latitude 50, declination -20): the sun
    // shines on the wall's plane (hour angle -82.5: sin(-40) sin(-20) + cos 40 cos 20
    // cos 82.5 = 0.314 > 0) but stands below the horizon (sin 50 sin(-20) + cos 50 cos 20
    // cos 82.5 = -0.183): no shadow, no point.
    s.hollanderShadowLine = 1;
    s.wallDeclination = 0;
    const HollanderPlane wall = HollanderPlaneOf(s);
    EXPECT_NEAR(wall.latitude, -40, 1e-9);
    const double t = 15 * (6.5 - 12) - wall.deltaLambda;
    const MeanTimePoint planeOnly = CrossingPoint(cone, wall.latitude, -20, t, t);
    ASSERT_TRUE(planeOnly.valid);
    ASSERT_GT(planeOnly.radius, 1.05);
    EXPECT_FALSE(HollanderPointAt(s, wall, cone, Pair(-20, 0, 0), 6.5 - wall.deltaLambda / 15).counted);
}

}  // namespace
}  // namespace zorva
