#include "astro/solar_ephemeris.h"
#include "support/test_support.h"

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

struct YearExtremes {
    double minDecl = 1e9, maxDecl = -1e9, minEot = 1e9, maxEot = -1e9;
    int dayMinEot = 0, dayMaxEot = 0;
};

YearExtremes ScanYear(int year, int days) {
    YearExtremes x;
    for (int d = 1; d <= days; ++d) {
        const DeclinationEoT v = SolarDeclinationEoT(year, d);
        x.minDecl = std::min(x.minDecl, v.declination);
        x.maxDecl = std::max(x.maxDecl, v.declination);
        if (v.eot < x.minEot) { x.minEot = v.eot; x.dayMinEot = d; }
        if (v.eot > x.maxEot) { x.maxEot = v.eot; x.dayMaxEot = d; }
    }
    return x;
}

TEST(SolarDeclinationEoT, FirstOfJanuary2000) {
    const DeclinationEoT v = SolarDeclinationEoT(2000, 1.0);
    EXPECT_NEAR(v.declination, -23.03, 0.005);
    EXPECT_NEAR(v.eot, -0.825, 0.0005);  // -3 min 18 s
}

TEST(SolarDeclinationEoT, ExtremesOf2000) {
    const YearExtremes x = ScanYear(2000, 366);
    EXPECT_NEAR(x.minDecl, -23.438, 0.0005);
    EXPECT_NEAR(x.maxDecl, 23.437, 0.0005);
    EXPECT_NEAR(x.maxEot, 4.105, 0.0005);
    EXPECT_EQ(x.dayMaxEot, 307);  // 3 November
    EXPECT_NEAR(x.minEot, -3.561, 0.0005);
    EXPECT_EQ(x.dayMinEot, 43);   // 12 February
}

TEST(SolarDeclinationEoT, ObliquityFollowsTheCenturies) {
    const YearExtremes y1500 = ScanYear(1500, 365);
    EXPECT_NEAR(y1500.maxDecl, 23.505, 0.0005);
    EXPECT_NEAR(y1500.minDecl, -23.505, 0.0005);
    const YearExtremes y2500 = ScanYear(2500, 365);
    EXPECT_NEAR(y2500.maxDecl, 23.371, 0.0005);
    EXPECT_NEAR(y2500.minDecl, -23.371, 0.0005);
}

TEST(SolarDeclinationEoT, DaysReachIntoNeighbouringYears) {
    // d = 0.5 of 2000 is 31 December 1999 at 0:00 UT; d = 366.5 of 2000 is 1 January 2001, 0:00.
    const DeclinationEoT a = SolarDeclinationEoT(2000, 0.5), b = SolarDeclinationEoT(1999, 365.5);
    EXPECT_NEAR(a.declination, b.declination, 1e-9);
    EXPECT_NEAR(a.eot, b.eot, 1e-9);
    const DeclinationEoT c = SolarDeclinationEoT(2000, 366.5), e = SolarDeclinationEoT(2001, 0.5);
    EXPECT_NEAR(c.declination, e.declination, 1e-9);
    EXPECT_NEAR(c.eot, e.eot, 1e-9);
    // Within the accepted years the EoT never leaves its few degrees.
    for (int year : {1300, 1582, 1583, 2500})
        for (double d : {-400.0, 0.0, 183.25, 800.0}) {
            const DeclinationEoT v = SolarDeclinationEoT(year, d);
            EXPECT_LT(std::abs(v.eot), 4.6) << year << " " << d;
            EXPECT_LT(std::abs(v.declination), 23.6);
        }
}

TEST(ZodiacDeclinations, SolsticesAndEquinox) {
    const ZodiacTable t = ZodiacDeclinations(2000);
    EXPECT_NEAR(t.obliquity, 23.4393, 0.0001);
    EXPECT_NEAR(t.zodiac[7], 23.44, 0.005);
    EXPECT_NEAR(t.zodiac[1], -23.44, 0.005);
    EXPECT_EQ(t.zodiac[4], 0.0);
    EXPECT_EQ(t.byLongitude[18], 0.0);
    EXPECT_NEAR(t.zodiac[5], 11.47, 0.005);
    EXPECT_NEAR(t.zodiac[6], 20.15, 0.005);
    // Symmetric about the equinox, and each sign boundary is one of the 5-degree entries.
    for (int i = 1; i <= 3; ++i) EXPECT_NEAR(t.zodiac[i], -t.zodiac[8 - i], 1e-8);  // the stored factor is not exact
    for (int i = 0; i <= 6; ++i) EXPECT_EQ(t.zodiac[7 - i], t.byLongitude[6 * i]);
}

}  // namespace
}  // namespace zorva
