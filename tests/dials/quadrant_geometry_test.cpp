// The formulas of the quadrant family against values worked by hand from the textbook
// relations: the stereographic projection from the pole (radius tan((90 - d) / 2)), the
// altitude sin a = sin phi sin d + cos phi cos d cos t, and the Habermel plates laid out
// from the solstices' noon shadows h tan(90 - phi +- e).
#include "dials/quadrant_geometry.h"

#include "support/test_support.h"

#include <cmath>
#include <limits>

namespace zorva::test {
namespace {

constexpr double kEps = 23.44;

TEST(GunterGeometry, DateCirclesAndHourPointsInUnitsOfTheEquator) {
    // tan(33.28) = 0.65638 (Cancer), tan(45) = 1 (equator), tan(56.72) = 1.52351 (Capricorn):
    // the limb lies outside the Capricorn circle.
    EXPECT_NEAR(GunterDateRadius(kEps), 0.65638, 5e-6);
    EXPECT_NEAR(GunterDateRadius(0), 1.0, 1e-9);
    EXPECT_NEAR(GunterDateRadius(-kEps), 1.52351, 5e-6);
    // The tropics are inverse to each other in the equator: tan(45 - e/2) tan(45 + e/2) = 1.
    EXPECT_NEAR(GunterDateRadius(kEps) * GunterDateRadius(-kEps), 1.0, 1e-9);

    // At 51.5 N. Equinox, 9 h (t = -45): sin a = cos 51.5 cos 45 = 0.44018, on the unit circle.
    const double phi = 51.5;
    const QPointF nine = GunterPoint(0, AltitudeAt(phi, 0, -45));
    EXPECT_NEAR(nine.x(), 0.89791, 5e-6);
    EXPECT_NEAR(nine.y(), 0.44018, 5e-6);
    // Cancer noon: a = 90 - 51.5 + 23.44 = 61.94 at radius 0.65638.
    const QPointF cancer = GunterPoint(kEps, AltitudeAt(phi, kEps, 0));
    EXPECT_NEAR(cancer.x(), 0.30876, 5e-6);
    EXPECT_NEAR(cancer.y(), 0.57922, 5e-6);
    // Capricorn noon: a = 15.06 at radius 1.52351.
    const QPointF capricorn = GunterPoint(-kEps, AltitudeAt(phi, -kEps, 0));
    EXPECT_NEAR(capricorn.x(), 1.47119, 5e-6);
    EXPECT_NEAR(capricorn.y(), 0.39586, 5e-6);
}

TEST(GunterGeometry, EclipticFromTheEquinoxToTheSolstices) {
    // sin d = sin e sin l; tan a = cos e tan l, folded into the quadrant.
    EXPECT_NEAR(EclipticDeclination(0, kEps), 0.0, 1e-12);
    EXPECT_NEAR(EclipticDeclination(90, kEps), kEps, 1e-9);
    EXPECT_NEAR(EclipticDeclination(30, kEps), 11.4723, 1e-3);  // entry into Taurus
    EXPECT_NEAR(EclipticDeclination(270, kEps), -kEps, 1e-9);
    EXPECT_NEAR(EclipticFoldedRightAscension(0, kEps), 0.0, 1e-9);
    EXPECT_NEAR(EclipticFoldedRightAscension(90, kEps), 90.0, 1e-6);
    // 30 degrees of longitude: atan(cos 23.44 tan 30) = 27.9104.
    EXPECT_NEAR(EclipticFoldedRightAscension(30, kEps), 27.9104, 1e-3);
    // The southern half lies over the northern one: Scorpio (210) at Taurus' (30) angle,
    // the autumn half (150) at the spring half's (30).
    EXPECT_NEAR(EclipticFoldedRightAscension(210, kEps), EclipticFoldedRightAscension(30, kEps), 1e-6);
    EXPECT_NEAR(EclipticFoldedRightAscension(150, kEps), EclipticFoldedRightAscension(30, kEps), 1e-6);
}

TEST(GunterGeometry, TemporalHoursDivideTheHalfDayArc) {
    // At the equinox the half day arc is 90 degrees everywhere: temporal hour 3 is t = -45.
    EXPECT_NEAR(TemporalHourAngle(50, 0, 3), -45.0, 1e-9);
    EXPECT_NEAR(TemporalHourAngle(50, 10, 6), 0.0, 1e-12);
    // 50 N, d = 23.44: cos H0 = -tan 50 tan 23.44 = -0.51671, H0 = 121.11; hour 12 is sunset.
    EXPECT_NEAR(TemporalHourAngle(50, kEps, 12), 121.11, 0.01);
    EXPECT_NEAR(AltitudeAt(50, kEps, TemporalHourAngle(50, kEps, 12)), 0.0, 0.01);
}

TEST(HabermelGeometry, DiametersAndDateAnglesOfBothKinds) {
    // 50 N, h = 10: tan 63.44 = 2.000441 and tan 16.56 = 0.297353.
    EXPECT_NEAR(HabermelDiameter(1, 10, 50, kEps), 22.978, 5e-4);
    EXPECT_NEAR(HabermelDiameter(2, 10, 50, kEps), 52.009, 5e-4);
    const HabermelDisc disc = HabermelKind1Disc(10, 50, kEps);
    EXPECT_NEAR(2 * disc.radiusMm, 22.978, 5e-4);
    EXPECT_NEAR(disc.offsetMm, (20.00441 - 2.97353) / 2, 5e-5);

    // The date angle solves c cos t + sqrt(rho^2 - c^2 sin^2 t) = h tan(90 - phi + d).
    const double decl[] = {23.44, 11.47, 0, -11.47, -23.44};
    const double angle[] = {0, 62.661, 85.615, 108.861, 180};
    for (int i = 0; i < 5; ++i) {
        const double t = HabermelKind1DateAngle(disc, 10, 50, decl[i]);
        EXPECT_NEAR(t, angle[i], 2e-3) << decl[i];
        EXPECT_NEAR(HabermelKind1RimDistance(disc, t), 10 * std::tan((40 + decl[i]) * M_PI / 180), 1e-6) << decl[i];
    }
}

TEST(HabermelGeometry, SouthernSitesGetTheMirroredDial) {
    // At 35 S the longest shadow falls in December: the plate is the one for 35 N with the
    // seasons exchanged, never a negative diameter from tan(90 + 35 + e).
    EXPECT_NEAR(HabermelDiameter(2, 10, -35, kEps), HabermelDiameter(2, 10, 35, kEps), 1e-9);
    EXPECT_GT(HabermelDiameter(2, 10, -35, kEps), 0);
    EXPECT_NEAR(HabermelDiameter(1, 10, -35, kEps), HabermelDiameter(1, 10, 35, kEps), 1e-9);
    const HabermelDisc south = HabermelKind1Disc(10, -35, kEps);
    EXPECT_NEAR(HabermelKind1DateAngle(south, 10, -35, -kEps), 0.0, 1e-3);  // 21 December
    EXPECT_NEAR(HabermelKind1DateAngle(south, 10, -35, kEps), 180.0, 1e-3);  // 21 June
    EXPECT_NEAR(SeasonalNoonAltitude(-35, -kEps), 90 - 35 + kEps, 1e-12);
}

TEST(HabermelGeometry, LatitudesWithoutALongestOrShortestShadowHaveNoDisc) {
    // Between the tropics the noon sun reaches the zenith: no disc is large enough.
    EXPECT_TRUE(std::isinf(HabermelDiameter(1, 20, 10, kEps)));
    EXPECT_TRUE(std::isinf(HabermelDiameter(2, 20, 0.001, kEps)));
    EXPECT_TRUE(std::isinf(HabermelDiameter(2, 20, -kEps, kEps)));
    // Beyond the polar circle the winter sun stays down at noon: kind 1 has no short side,
    // kind 2 still works with the summer's shadows.
    EXPECT_TRUE(std::isnan(HabermelDiameter(1, 20, 70, kEps)));
    EXPECT_TRUE(std::isnan(HabermelDiameter(1, 20, -89.99, kEps)));
    EXPECT_NEAR(HabermelDiameter(2, 20, 89.99, kEps), 2 * 20 * std::tan((kEps + 0.01) * M_PI / 180) + 12, 1e-3);
    // Neither counts as within the dialogs' range.
    for (double d : {HabermelDiameter(1, 20, 10, kEps), HabermelDiameter(1, 20, 70, kEps)})
        EXPECT_FALSE(d >= kHabermelMinDiameter && d <= kHabermelMaxDiameter);
}

TEST(HabermelGeometry, RaysRunDownFromTheDirectionOfAngleZero) {
    EXPECT_NEAR(RayDirection(0).x(), 0.0, 1e-12);
    EXPECT_NEAR(RayDirection(0).y(), 1.0, 1e-12);   // drawing y grows downward
    EXPECT_NEAR(RayDirection(90).x(), 1.0, 1e-12);
    EXPECT_NEAR(RayDirection(180).y(), -1.0, 1e-12);
    // Kind 2 goes round the year once: 21 June down, half a year later up.
    EXPECT_NEAR(HabermelKind2DateAngle(172, 172, 365), 0.0, 1e-12);
    EXPECT_NEAR(HabermelKind2DateAngle(172 + 365 / 4.0, 172, 365), 90.0, 0.5);
    EXPECT_NEAR(HabermelKind2DateAngle(1, 172, 365), -171 * 360.0 / 365, 1e-9);
}

}  // namespace
}  // namespace zorva::test
