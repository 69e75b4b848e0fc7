// Sunrise and sunset over the terrain: a flat profile gives the plain times, a ridge delays
// the rise by the time the sun needs to climb it, terrain on one side moves only that side's
// event, and a peak that hides the sun at noon leaves the outer two.
#include "astro/angles.h"
#include "astro/terrain_rise_set.h"
#include "support/test_support.h"

#include <cmath>
#include <functional>

namespace zorva {
namespace {

constexpr double kSecond = 1.0 / 3600.0;

HorizonProfile ProfileOf(const std::function<double(double azimuth)>& elevation) {
    HorizonProfile p;
    for (int k = 0; k < kHorizonRecordCount; ++k) {
        const double e = elevation(HorizonSectorAzimuth(k));
        if (std::isnan(e)) continue;
        p.records[k].elevation = e;
        p.records[k].distanceMetres = 2000;
        p.records[k].empty = false;
    }
    return p;
}

struct Day {
    int year, month, day;
    double lat, lon, zone;
};

TEST(TerrainRiseSet, AFlatProfileGivesThePlainSunriseAndSunset) {
    const HorizonProfile none = ProfileOf([](double) { return NAN; });
    const HorizonProfile zero = ProfileOf([](double) { return 0.0; });
    for (const Day d : {Day{1999, 6, 21, 47.25, -9.55, -15}, Day{1999, 12, 21, 47.25, -9.55, -15},
                        Day{2024, 3, 20, -33.9, -18.4, -30}, Day{2024, 9, 1, 64.1, 21.9, 0}}) {
        const double mjd0 = MidnightMJD(d.year, d.month, d.day, d.zone);
        const RiseSetTimes plain =
            RiseSetSearch(RiseSetBody::Sun, mjd0, d.lat, d.lon, ThresholdSine(RiseSetBody::Sun, 1));
        ASSERT_TRUE(plain.rises && plain.sets);
        for (const HorizonProfile* p : {&none, &zero}) {
            const RiseSetTimes t = TerrainSunRiseSet(*p, mjd0, d.lat, d.lon);
            ASSERT_TRUE(t.rises && t.sets) << d.month;
            EXPECT_NEAR(t.riseHours, plain.riseHours, 0.5 * kSecond) << d.year << "-" << d.month;
            EXPECT_NEAR(t.setHours, plain.setHours, 0.5 * kSecond) << d.year << "-" << d.month;
        }
    }
    // Midnight sun and polar night stay whole days.
    const double june = MidnightMJD(1999, 6, 21, -15), december = MidnightMJD(1999, 12, 21, -15);
    const RiseSetTimes day = TerrainSunRiseSet(none, june, 70.0, -20.0);
    EXPECT_TRUE(day.wholeDay() && day.aboveAtMidnight);
    const RiseSetTimes night = TerrainSunRiseSet(none, december, 70.0, -20.0);
    EXPECT_TRUE(night.wholeDay() && !night.aboveAtMidnight);
}

TEST(TerrainRiseSet, BehindARidgeTheSunRisesWhenItHasClimbedIt) {
    const Day d{1999, 3, 21, 47.25, -9.55, -15};
    const double mjd0 = MidnightMJD(d.year, d.month, d.day, d.zone);
    const double h0 = ThresholdAltitude(RiseSetBody::Sun, 1);
    const RiseSetTimes plain = TerrainSunRiseSet(ProfileOf([](double) { return 0.0; }), mjd0, d.lat, d.lon);

    // A ridge of 6 degrees all round: the moments the plain search gives for the sun 6 degrees
    // higher.
    const RiseSetTimes ring = TerrainSunRiseSet(ProfileOf([](double) { return 6.0; }), mjd0, d.lat, d.lon);
    const RiseSetTimes climbed =
        RiseSetSearch(RiseSetBody::Sun, mjd0, d.lat, d.lon, std::sin((6.0 + h0) * kExactDegToRad));
    ASSERT_TRUE(ring.rises && ring.sets && climbed.rises && climbed.sets);
    EXPECT_NEAR(ring.riseHours, climbed.riseHours, 0.5 * kSecond);
    EXPECT_NEAR(ring.setHours, climbed.setHours, 0.5 * kSecond);
    // About 40 minutes at the equinox in these latitudes: 6 / (15 cos 47.25) hours.
    EXPECT_NEAR(ring.riseHours - plain.riseHours, 6.0 / (15 * std::cos(47.25 * kExactDegToRad)), 0.1);

    // A ridge in the east only: the morning moves, the evening stays.
    const RiseSetTimes east =
        TerrainSunRiseSet(ProfileOf([](double a) { return a < -45 && a > -135 ? 6.0 : 0.0; }), mjd0, d.lat, d.lon);
    EXPECT_NEAR(east.riseHours, ring.riseHours, 0.5 * kSecond);
    EXPECT_NEAR(east.setHours, plain.setHours, 0.5 * kSecond);

    // A tall peak in the south hides the noon sun: the day still begins and ends outside it.
    const RiseSetTimes peak =
        TerrainSunRiseSet(ProfileOf([](double a) { return std::abs(a) < 10 ? 70.0 : 0.0; }), mjd0, d.lat, d.lon);
    EXPECT_NEAR(peak.riseHours, plain.riseHours, 0.5 * kSecond);
    EXPECT_NEAR(peak.setHours, plain.setHours, 0.5 * kSecond);

    // Terrain higher than the sun ever climbs: no rise, no set, dark all day.
    const RiseSetTimes wall = TerrainSunRiseSet(ProfileOf([](double) { return 60.0; }), mjd0, d.lat, d.lon);
    EXPECT_TRUE(wall.wholeDay() && !wall.aboveAtMidnight);
}

}  // namespace
}  // namespace zorva
