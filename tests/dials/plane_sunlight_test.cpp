#include "dials/plane_sunlight.h"
#include "state/dial_state.h"
#include "support/test_support.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace zorva {
namespace {

// Hand values at 47.25 N: the longest day of the declination list is 23.45 degrees, whose
// semi-arc acos(-tan 47.25 tan 23.45) = 117.986 degrees gives sunrise 4:08.06 and sunset
// 19:51.94 true local time.
constexpr double kLat = 47.25;

TEST(PlaneSunlight, SouthWallSeesTheSunFromSixToSixAtTheEquinox) {
    // A vertical south wall is the horizontal dial of 42.75 S: its day never exceeds 12 hours
    // and it meets the true horizon's day at the equinox.
    const PlaneSunlight p = ComputePlaneSunlight(kLat, 90.0, 0.0);
    ASSERT_TRUE(p.lit);
    EXPECT_NEAR(p.first, -90.0, 0.06);
    EXPECT_NEAR(p.last, 90.0, 0.06);
    EXPECT_NEAR(p.firstDeclination, 0.0, 0.051);
    EXPECT_FALSE(p.split);
    EXPECT_EQ(PlaneSunlightText(p, 0.0, Language::German), QStringLiteral("           6:00 -  18:00"));
    // True zone time at 9.59 E in the zone of 15 E: 5.41 degrees = 21.64 minutes later.
    EXPECT_EQ(PlaneSunlightText(p, -9.59 - -15.0, Language::German), QStringLiteral("           6:22 -  18:22"));
}

TEST(PlaneSunlight, HorizontalPlaneAndEastWall) {
    EXPECT_EQ(PlaneSunlightText(ComputePlaneSunlight(kLat, 0.0, 0.0), 0.0, Language::German),
              QStringLiteral("           4:08 -  19:52"));
    // A vertical east wall is lit from sunrise to true noon; its morning end (noon) equals
    // the last light, so it is one window.
    const PlaneSunlight east = ComputePlaneSunlight(kLat, 90.0, -90.0);
    EXPECT_NEAR(east.last, 0.0, 1e-6);
    EXPECT_FALSE(east.split);
    EXPECT_EQ(PlaneSunlightText(east, 0.0, Language::German), QStringLiteral("           4:08 -  12:00"));
    const PlaneSunlight west = ComputePlaneSunlight(kLat, 90.0, 90.0);
    EXPECT_EQ(PlaneSunlightText(west, 0.0, Language::German), QStringLiteral("          12:00 -  19:52"));
}

TEST(PlaneSunlight, NorthWallHasAMorningAndAnEveningWindow) {
    // The north wall is the horizontal dial of 42.75 N turned by 180 degrees: at the
    // solstice of 23.45 its semi-arc is 113.639 degrees, so the morning window ends at
    // 12 h - (180 - 113.639) / 15 = 7:34.56 and the evening window starts at 16:25.44.
    const PlaneSunlight p = ComputePlaneSunlight(kLat, 90.0, 180.0);
    ASSERT_TRUE(p.split);
    EXPECT_EQ(PlaneSunlightText(p, 0.0, Language::German), QStringLiteral("  4:08 -   7:35;  16:25 -  19:52"));
}

TEST(PlaneSunlight, SouthernHemisphereMirrorsTheNorth) {
    // At 47.25 S a north wall is the sunny one and a south wall has the split windows.
    EXPECT_EQ(PlaneSunlightText(ComputePlaneSunlight(-kLat, 90.0, 180.0), 0.0, Language::German),
              QStringLiteral("           6:00 -  18:00"));
    EXPECT_TRUE(ComputePlaneSunlight(-kLat, 90.0, 0.0).split);
}

TEST(PlaneSunlight, PolarPlanesDoNotInventLight) {
    // At the pole a horizontal plane is lit all day in summer and never in winter; the
    // year's limits are the whole day, not a window of the polar night.
    const PlaneSunlight p = ComputePlaneSunlight(90.0, 0.0, 0.0);
    ASSERT_TRUE(p.lit);
    EXPECT_DOUBLE_EQ(p.first, -180.0);
    EXPECT_DOUBLE_EQ(p.last, 180.0);
}

// The earliest and latest moments at which the sun stands above the horizon and in front
// of the plane, found by walking the declinations of the list in steps of 0.05 degree of
// hour angle, with plain vectors in east,
// north, up: an independent check of the window arithmetic on the equivalent dial.
struct Brute {
    bool lit = false;
    double first = 180, last = -180;
};
Brute BruteForce(double latitude, double inclination, double wallDeclination) {
    constexpr double r = 3.14159265358979323846 / 180.0;
    const double sp = std::sin(latitude * r), cp = std::cos(latitude * r);
    const double na = (90.0 - inclination) * r, nA = wallDeclination * r;
    const double nx = -std::sin(nA) * std::cos(na), ny = -std::cos(nA) * std::cos(na), nz = std::sin(na);
    static std::vector<double> sinT, cosT;
    if (sinT.empty()) {
        for (int i = -3600; i <= 3600; ++i) {
            sinT.push_back(std::sin(i * 0.05 * r));
            cosT.push_back(std::cos(i * 0.05 * r));
        }
    }
    Brute b;
    for (int k = 0; k <= 940; ++k) {
        const double delta = (k == 0 ? 23.44 : k == 940 ? -23.44 : 23.5 - 0.05 * k) * r;
        const double sd = std::sin(delta), cd = std::cos(delta);
        for (std::size_t i = 0; i < sinT.size(); ++i) {
            const double x = -cd * sinT[i], y = cp * sd - sp * cd * cosT[i], z = sp * sd + cp * cd * cosT[i];
            if (z <= 0.0 || x * nx + y * ny + z * nz <= 0.0) continue;
            const double t = (static_cast<double>(i) - 3600.0) * 0.05;
            b.lit = true;
            b.first = std::min(b.first, t);
            b.last = std::max(b.last, t);
        }
    }
    return b;
}

TEST(PlaneSunlight, AgreesWithTheSunStepByStep) {
    struct Plane {
        double latitude, inclination, declination;
    };
    const Plane planes[] = {{47.25, 90, 0},    {47.25, 90, -40},  {47.25, 90, 135}, {47.25, 60, 160},
                            {47.25, 25.46, -11.7}, {47.25, 120, 20}, {10, 90, 180},   {-33.9, 70, -150},
                            {65, 45, 100},     {52, 90, 179}};
    for (const Plane& p : planes) {
        SCOPED_TRACE(testing::Message() << "latitude " << p.latitude << ", inclination " << p.inclination
                                        << ", declination " << p.declination);
        const PlaneSunlight limits = ComputePlaneSunlight(p.latitude, p.inclination, p.declination);
        const Brute b = BruteForce(p.latitude, p.inclination, p.declination);
        ASSERT_EQ(limits.lit, b.lit);
        // 0.1 degree of hour angle = 24 seconds of time.
        EXPECT_NEAR(limits.first, b.first, 0.1);
        EXPECT_NEAR(limits.last, b.last, 0.1);
    }
}

// The sun walked minute by minute over the days of the declination list, with plain
// vectors in east, north, up: an independent check of the window arithmetic on the
// equivalent dial. Collects the minutes of the day at which any day of the year lights the
// plane.
struct Walk {
    bool lit = false;
    int first = -1, last = -1;  // minutes of true local time
    std::array<bool, 1441> minute{};
    // The widest run of unlit minutes between first and last: [gapFrom, gapTo] unlit.
    int gapFrom = 0, gapTo = -1;
    int gapLength() const { return gapTo - gapFrom + 1; }
};

Walk WalkTheSun(double latitude, double inclination, double wallDeclination) {
    constexpr double r = 3.14159265358979323846 / 180.0;
    const double sp = std::sin(latitude * r), cp = std::cos(latitude * r);
    const double na = (90.0 - inclination) * r, nA = wallDeclination * r;
    const double nx = -std::sin(nA) * std::cos(na), ny = -std::cos(nA) * std::cos(na), nz = std::sin(na);
    static std::vector<double> sinT, cosT;
    if (sinT.empty()) {
        for (int m = 0; m <= 1440; ++m) {
            sinT.push_back(std::sin((m * 0.25 - 180.0) * r));
            cosT.push_back(std::cos((m * 0.25 - 180.0) * r));
        }
    }
    Walk w;
    for (int k = 0; k <= 940; ++k) {
        const double delta = (k == 0 ? 23.44 : k == 940 ? -23.44 : 23.5 - 0.05 * k) * r;
        const double sd = std::sin(delta), cd = std::cos(delta);
        for (int m = 0; m <= 1440; ++m) {
            const double x = -cd * sinT[m], y = cp * sd - sp * cd * cosT[m], z = sp * sd + cp * cd * cosT[m];
            if (z > 1e-12 && x * nx + y * ny + z * nz > 1e-12) w.minute[m] = true;
        }
    }
    for (int m = 0; m <= 1440; ++m) {
        if (!w.minute[m]) continue;
        if (!w.lit) w.first = m;
        w.lit = true;
        w.last = m;
    }
    for (int m = w.first; w.lit && m <= w.last;) {
        if (w.minute[m]) {
            ++m;
            continue;
        }
        int end = m;
        while (!w.minute[end + 1]) ++end;
        if (end - m + 1 > w.gapLength()) w.gapFrom = m, w.gapTo = end;
        m = end + 1;
    }
    return w;
}

double MinuteHourAngle(int m) { return m * 0.25 - 180.0; }

TEST(PlaneSunlight, AgreesWithTheSunWalkedMinuteByMinute) {
    int splits = 0, unlit = 0, planes = 0;
    for (double latitude : {47.25, -47.25, 10.0, -33.9, 65.0, -75.0})
        for (double inclination : {0.0, 45.0, 60.0, 90.0, 135.0, 180.0})
            for (double declination : {-150.0, -90.0, -30.0, 0.0, 45.0, 150.0, 180.0}) {
                SCOPED_TRACE(testing::Message() << "latitude " << latitude << ", inclination " << inclination
                                                << ", declination " << declination);
                const PlaneSunlight p = ComputePlaneSunlight(latitude, inclination, declination);
                const Walk w = WalkTheSun(latitude, inclination, declination);
                ++planes;
                ASSERT_EQ(p.lit, w.lit);
                if (!w.lit) {
                    ++unlit;
                    continue;
                }
                // A walked minute lies at most one step after the first light and before the last.
                EXPECT_LE(p.first, MinuteHourAngle(w.first) + 1e-6);
                EXPECT_GE(p.first, MinuteHourAngle(w.first) - 0.25 - 1e-6);
                EXPECT_GE(p.last, MinuteHourAngle(w.last) - 1e-6);
                EXPECT_LE(p.last, MinuteHourAngle(w.last) + 0.25 + 1e-6);
                if (w.gapTo < w.gapFrom) {
                    EXPECT_FALSE(p.split) << "no minute of the day is dark all year";
                } else if (w.gapLength() >= 3) {
                    ++splits;
                    ASSERT_TRUE(p.split) << "dark every day from minute " << w.gapFrom << " to " << w.gapTo;
                    EXPECT_GE(p.morningEnd, MinuteHourAngle(w.gapFrom - 1) - 1e-6);
                    EXPECT_LE(p.morningEnd, MinuteHourAngle(w.gapFrom) + 1e-6);
                    EXPECT_GE(p.afternoonStart, MinuteHourAngle(w.gapTo) - 1e-6);
                    EXPECT_LE(p.afternoonStart, MinuteHourAngle(w.gapTo + 1) + 1e-6);
                }
            }
    // The set covers every kind of answer.
    EXPECT_GT(splits, 20);
    EXPECT_GT(unlit, 5);
    EXPECT_EQ(planes, 252);
}

TEST(PlaneSunlight, APlaneFacingStraightDownIsNeverLit) {
    for (double latitude : {47.25, -33.9, 0.0, 65.0, 89.0})
        for (double declination : {0.0, 45.0, -90.0, 180.0}) {
            const PlaneSunlight p = ComputePlaneSunlight(latitude, 180.0, declination);
            EXPECT_FALSE(p.lit) << latitude << " " << declination;
            EXPECT_EQ(PlaneSunlightText(p, 0.0, Language::German), QStringLiteral("           -:-- -   -:--"));
        }
}

TEST(PlaneSunlight, ADailyGapOfFiveHoursIsShownAsTwoWindows) {
    // At 47.25 N a plane inclined by 60 degrees whose normal points 150 degrees from south
    // sees the sun in the morning and the evening only; around noon it stays dark every day.
    for (double declination : {150.0, -150.0}) {
        const PlaneSunlight p = ComputePlaneSunlight(kLat, 60.0, declination);
        ASSERT_TRUE(p.split) << declination;
        const double darkHours = (p.afternoonStart - p.morningEnd) / 15.0;
        EXPECT_GT(darkHours, 4.5) << declination;
        EXPECT_LT(darkHours, 5.5) << declination;
        const QString text = PlaneSunlightText(p, 0.0, Language::German);
        EXPECT_EQ(text.count(QLatin1Char(';')), 1) << text.toStdString();
    }
    // The two planes mirror each other about true noon.
    const PlaneSunlight west = ComputePlaneSunlight(kLat, 60.0, 150.0), east = ComputePlaneSunlight(kLat, 60.0, -150.0);
    EXPECT_NEAR(west.morningEnd, -east.afternoonStart, 1e-6);
    EXPECT_NEAR(west.first, -east.last, 1e-6);
}

TEST(PlaneSunlight, LabelAndPrintedFooter) {
    DialState s;
    s.latitude = kLat;
    s.longitude = -9.59;
    s.zoneMeridian = -15.0;
    s.wallDeclination = 0.0;
    s.planeInclination = 90.0;
    s.language = Language::German;
    s.eotLongitudeCorrection = false;
    s.showPlaneSunlight = true;
    EXPECT_EQ(PlaneSunlightLabel(s), QStringLiteral("Theoret. Besonnungsgrenzen: Frühestes / spätestes Streiflicht: "
                                                    "           6:00 -  18:00  Wahre Ortszeit (WOZ)"));
    s.eotLongitudeCorrection = true;
    s.wallDeclination = -11.7;
    s.planeInclination = 25.4589;
    const QString footer = PlaneSunlightFooter(s);
    EXPECT_TRUE(footer.startsWith(QStringLiteral("Sonne auf Sonnenuhr:  "))) << footer.toStdString();
    EXPECT_TRUE(footer.endsWith(QStringLiteral("  Wahre Zonenzeit (ohne EoT),  Wandabweichung = -11.7 Grad,  "
                                               "Inklination [vert.= 90] =  25.5 Grad")))
        << footer.toStdString();
    s.showPlaneSunlight = false;
    s.language = Language::English;
    EXPECT_EQ(PlaneSunlightFooter(s), QStringLiteral("Apparent Zone Time (without EoT)"));
}

}  // namespace
}  // namespace zorva
