// The hour-line angle table against the textbook formulas of the horizontal and the
// vertical south dial, its cell texts, the sunlit range, and the invariant it rests on:
// every apparent-time hour line runs through the style foot point S.
#include "astro/sun_position.h"
#include "dials/dial_geometry.h"
#include "dials/hour_line_table.h"
#include "support/test_support.h"

#include <cmath>

namespace zorva::test {
namespace {

constexpr double kRad = M_PI / 180.0;

DialState Dial(char type, double latitude, double declination = 0.0) {
    DialState s = StartupState();
    s.dialType = type;
    s.umbrellaDial = false;
    s.latitude = latitude;
    s.wallDeclination = declination;
    s.hourFrom = 6;
    s.hourTo = 18;
    s.localTimeDisplay = true;
    return s;
}

const HourLineAngle* Line(const HourLineTable& a, double time) {
    for (const auto& l : a.lines)
        if (std::abs(l.time - time) < 1e-9) return &l;
    return nullptr;
}

TEST(HourLineTable, HorizontalDialFollowsTanAEqualsSinPhiTanT) {
    const HourLineTable a = ComputeHourLineTable(Dial('h', 47.25), 2);
    ASSERT_EQ(a.lines.size(), 25u);  // 6:00 .. 18:00 every half hour
    for (const HourLineAngle& l : a.lines) {
        const double t = 15.0 * (l.time - 12.0);
        if (std::abs(t) >= 90) continue;
        // Morning lines lean to the west (left on the drawing), so they count positive.
        const double expected = -std::atan(std::sin(47.25 * kRad) * std::tan(t * kRad)) / kRad;
        ASSERT_TRUE(l.lit) << l.time;
        EXPECT_NEAR(l.angle, expected, 0.01) << l.time;
    }
    EXPECT_EQ(HourLineAngleText(*Line(a, 12.0)), QStringLiteral("   0.00"));
    EXPECT_EQ(HourLineTangentText(*Line(a, 12.0)), QStringLiteral("   0.0000"));
    // Six o'clock runs at right angles to the noon line: its tangent is beyond any table.
    for (double t : {6.0, 18.0}) {
        const QString tangent = HourLineTangentText(*Line(a, t));
        EXPECT_TRUE(tangent == QStringLiteral("   >10000") || tangent == QStringLiteral("  <-10000")) << t;
    }
}

TEST(HourLineTable, CellTexts) {
    HourLineAngle line;
    line.lit = true;
    line.angle = 89.999;
    EXPECT_EQ(HourLineTangentText(line), QStringLiteral("   >10000"));
    line.angle = -89.999;
    EXPECT_EQ(HourLineTangentText(line), QStringLiteral("  <-10000"));
    line.angle = -45.0;
    EXPECT_EQ(HourLineAngleText(line), QStringLiteral(" -45.00"));
    EXPECT_EQ(HourLineTangentText(line), QStringLiteral("  -1.0000"));
    line.lit = false;
    EXPECT_EQ(HourLineAngleText(line), QStringLiteral("  -----  "));
    EXPECT_EQ(HourLineTimeText(8.5), QStringLiteral("08:30"));
    EXPECT_EQ(HourLineTimeText(24.0), QStringLiteral("24:00"));
    EXPECT_EQ(HourLineTimeText(-0.5), QStringLiteral("23:30"));
}

TEST(HourLineTable, VerticalSouthWallFollowsTanAEqualsCosPhiTanT) {
    const HourLineTable a = ComputeHourLineTable(Dial('v', 47.25), 1);
    for (const HourLineAngle& l : a.lines) {
        const double t = 15.0 * (l.time - 12.0);
        if (std::abs(t) >= 90) {
            // The sun is never in front of a south wall at six in the morning or evening.
            EXPECT_FALSE(l.lit) << l.time;
            EXPECT_EQ(HourLineAngleText(l), QStringLiteral("  -----  "));
            EXPECT_EQ(HourLineTangentText(l), QStringLiteral("  -----  "));
            continue;
        }
        // Afternoon lines lean to the east, the right side of a south wall seen from in front.
        const double expected = std::atan(std::cos(47.25 * kRad) * std::tan(t * kRad)) / kRad;
        EXPECT_NEAR(l.angle, expected, 0.01) << l.time;
    }
    // Lit from six to six at the equinox, never beyond.
    ASSERT_TRUE(a.litRangeKnown);
    EXPECT_GE(a.firstLitHourAngle, -90.0);
    EXPECT_LE(a.firstLitHourAngle, -89.0);
    EXPECT_LE(a.lastLitHourAngle, 90.0);
    EXPECT_GE(a.lastLitHourAngle, 89.0);
    EXPECT_EQ(a.byHour[6][0], kNoHourLineAngle);
    EXPECT_NEAR(a.byHour[15][0], Line(a, 15.0)->angle, 1e-12);
}

TEST(HourLineTable, SunlitPeriodInTheTimeReference) {
    DialState s = Dial('v', 47.25);
    EXPECT_EQ(ComputeHourLineTable(s, 1).sunlitPeriod, QStringLiteral("06:01 - 17:59"));
    // In the zone meridian's true time the same hour angles read 21.6 minutes later: the
    // site lies 5.41 degrees west of the meridian of its zone.
    s.localTimeDisplay = false;
    s.longitude = -9.59;
    s.zoneMeridian = -15.0;
    EXPECT_EQ(ComputeHourLineTable(s, 1).sunlitPeriod, QStringLiteral("06:23 - 18:21"));
}

TEST(HourLineTable, EveryHourLineRunsThroughTheStyleFoot) {
    // Apparent-time lines are straight and meet in S: on every planar kind, for every hour,
    // the shadows of different days lie on the ray the table gives.
    struct Case { char type; double latitude, inclination, declination; };
    for (const Case c : {Case{'h', 47.25, 0, 0}, Case{'v', 47.25, 90, -11.7}, Case{'v', -33.9, 90, 25},
                         Case{'i', 47.25, 25.4589, -11.7}, Case{'i', 40, 60, 35}}) {
        DialState s = Dial(c.type, c.latitude, c.declination);
        s.planeInclination = c.inclination;
        const HourLineTable a = ComputeHourLineTable(s, 1);
        DialPlane plane;
        plane.letter = c.type;
        plane.inclination = c.inclination;
        plane.wallDeclination = c.declination;
        plane.siteLatitude = c.latitude;
        SetPlaneOrientation(plane);
        plane.g = 1000;
        const Offset foot = StyleFootPoint(plane);
        const double sign = c.type == 'h' ? 1.0 : -1.0;
        int checked = 0;
        for (const HourLineAngle& l : a.lines) {
            if (!l.lit) continue;
            const double dirX = -std::sin(l.angle * kRad) * sign, dirY = -std::cos(l.angle * kRad) * sign;
            for (double delta : {-20.0, -5.0, 10.0, 23.0}) {
                const HorizontalPosition hp = HorizontalFromHourAngle(15.0 * (l.time - 12.0) + 15.0 * plane.hourShift,
                                                                      delta, plane.effectiveLatitude);
                const ShadowSample p = ShadowPoint(hp.altitude, hp.azimuth, plane);
                if (!p.frontLit) continue;
                const double vx = p.x - foot.dx, vy = p.y + foot.dy;
                const double along = vx * dirX + vy * dirY;
                const double across = vx * dirY - vy * dirX;
                EXPECT_GT(along, 0) << c.type << ' ' << l.time << ' ' << delta;
                EXPECT_NEAR(across / std::hypot(vx, vy), 0.0, 1e-6) << c.type << ' ' << l.time << ' ' << delta;
                ++checked;
            }
        }
        EXPECT_GE(checked, 8) << c.type;
    }
}

TEST(HourLineTable, UmbrellaDialsHaveNoTable) {
    DialState s = Dial('h', 47.25);
    s.umbrellaDial = true;
    const HourLineTable a = ComputeHourLineTable(s, 1);
    EXPECT_TRUE(a.lines.empty());
    EXPECT_FALSE(a.litRangeKnown);
    EXPECT_EQ(a.byHour[12][0], kNoHourLineAngle);
}

TEST(HourLineTable, GridAndReportLayout) {
    DialState s = Dial('h', 47.25);
    s.hourFrom = 8;
    s.hourTo = 19;
    // Twelve full hours fit one group; ten-minute lines spread over four.
    const HourLineGrid hours = HourLineAngleGrid(ComputeHourLineTable(s, 1));
    EXPECT_EQ(hours.groups, 1);
    EXPECT_EQ(hours.rows, 12);
    EXPECT_EQ(hours.headings, (QStringList{QStringLiteral("[hh;mm]"), QStringLiteral("[dd.dd]"),
                                            QStringLiteral(" tan(alpha)"), QString()}));
    EXPECT_EQ(hours.cells[0][0], QStringLiteral("08:00"));
    const HourLineGrid tens = HourLineAngleGrid(ComputeHourLineTable(s, 6));
    EXPECT_EQ(tens.groups, 4);
    EXPECT_EQ(tens.rows, 17);  // 67 lines from 8:00 to 19:00
    EXPECT_EQ(tens.headings.size(), 16);
    EXPECT_EQ(tens.cells[1][0], QStringLiteral("08:10"));
    EXPECT_EQ(tens.cells[0][4], QStringLiteral("10:50"));

    const QStringList report = HourLineAngleReport(ComputeHourLineTable(s, 1), s);
    EXPECT_EQ(report[0], QStringLiteral("Winkel der Stundenlinien einer horizontalen Sonnenuhr"));
    EXPECT_EQ(report[1], QStringLiteral("Stundenlinien zeigen  WOZ"));
    EXPECT_TRUE(report[2].startsWith(QStringLiteral("Sonne auf dem Zifferblatt: ")));
    EXPECT_EQ(report[4], QStringLiteral("[hh;mm]  [dd.dd] tan(alpha)"));
    EXPECT_EQ(report[9], QStringLiteral("  12:00     0.00     0.0000"));
}

}  // namespace
}  // namespace zorva::test
