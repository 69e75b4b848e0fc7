#include "astro/graphs.h"
#include "astro/eot_axis.h"
#include "astro/solar_ephemeris.h"
#include "support/test_support.h"

#include <cmath>

namespace zorva {
namespace {

const std::array<double, 8> kZodiac = {0.0, -23.44, -20.15, -11.47, 0.0, 11.47, 20.15, 23.44};

TEST(EotGraph, LongitudeCorrectionSplit) {
    // 9.55 E in zone -15: (zone - lambda) * 4 = -21.8 minutes.
    const EotCorrectionSplit screen = SplitEotCorrection(-9.55, -15, true, MinuteSplit::Rounded);
    EXPECT_EQ(screen.wholeMinutes, -22);
    EXPECT_NEAR(screen.fractionDegrees, 0.05, 1e-12);
    const EotCorrectionSplit plot = SplitEotCorrection(-9.55, -15, true, MinuteSplit::Truncated);
    EXPECT_EQ(plot.wholeMinutes, -21);
    EXPECT_NEAR(plot.fractionDegrees, -0.2, 1e-12);
    // Off, or on the zone meridian, or across the date line onto the same meridian: nothing.
    for (const EotCorrectionSplit& none : {SplitEotCorrection(-9.55, -15, false, MinuteSplit::Rounded),
                                           SplitEotCorrection(-15, -15, true, MinuteSplit::Truncated),
                                           SplitEotCorrection(180, -180, true, MinuteSplit::Rounded)}) {
        EXPECT_EQ(none.wholeMinutes, 0);
        EXPECT_EQ(none.fractionDegrees, 0.0);
    }
}

TEST(EotGraph, CurveSamplesEveryThirdDayAndEndsWithTheYear) {
    for (int year : {1999, 2000}) {
        const EotGraph g = BuildEotGraph(year, -9.55, -15, false, MinuteSplit::Rounded);
        const int days = year == 2000 ? 366 : 365;
        EXPECT_EQ(g.daysInYear, days);
        ASSERT_EQ(g.curve.size(), 123u);
        EXPECT_EQ(g.curve[1].day, 3.0);
        EXPECT_EQ(g.curve.back().day, days);
        EXPECT_NEAR(g.curve.back().minutes, SolarDeclinationEoT(year, days + 1).eot * 4, 1e-12);
        EXPECT_EQ(g.monthStarts[0], 31);
        EXPECT_EQ(g.monthStarts[1], year == 2000 ? 60 : 59);
        EXPECT_EQ(g.monthStarts[11], days);
        // The early-November maximum of about +16.4 minutes.
        double maxMinutes = -99;
        for (const EotGraphPoint& p : g.curve) maxMinutes = std::max(maxMinutes, p.minutes);
        EXPECT_NEAR(maxMinutes, 16.4, 0.1);
    }
}

TEST(EotGraph, NoCurveOutsideTheYearRange) {
    for (int year : {1299, 2501, 3000000, -5}) {
        const EotGraph g = BuildEotGraph(year, -9.55, -15, true, MinuteSplit::Rounded);
        EXPECT_TRUE(g.curve.empty()) << year;
        EXPECT_EQ(g.year, year);
    }
    EXPECT_FALSE(BuildEotGraph(2500, -9.55, -15, true, MinuteSplit::Rounded).curve.empty());
    EXPECT_FALSE(BuildEotGraph(1300, -9.55, -15, true, MinuteSplit::Rounded).curve.empty());
}

TEST(EotGraph, CorrectedCurveEqualsPlainOneOnTheZoneMeridian) {
    const EotGraph plain = BuildEotGraph(2013, -15, -15, false, MinuteSplit::Truncated);
    const EotGraph corrected = BuildEotGraph(2013, -15, -15, true, MinuteSplit::Truncated);
    ASSERT_EQ(plain.curve.size(), corrected.curve.size());
    for (std::size_t i = 0; i < plain.curve.size(); ++i) EXPECT_EQ(plain.curve[i].minutes, corrected.curve[i].minutes);

    // With the correction the curve moves by the fraction only; the labels carry the rest.
    const EotGraph shifted = BuildEotGraph(2013, -9.55, -15, true, MinuteSplit::Truncated);
    EXPECT_NEAR(shifted.curve[0].minutes - plain.curve[0].minutes, -0.8, 1e-9);
}

TEST(EotGraph, MinuteGrid) {
    EXPECT_TRUE(EotMinuteIsGridLine(0));
    EXPECT_TRUE(EotMinuteIsGridLine(-15));
    EXPECT_TRUE(EotMinuteIsGridLine(17));
    EXPECT_TRUE(EotMinuteIsGridLine(-17));
    EXPECT_FALSE(EotMinuteIsGridLine(16));
    EXPECT_FALSE(EotMinuteIsGridLine(-1));
}

// With the longitude correction the rows are shifted by whole minutes; the labels must still
// read 5, 10, 15 ... at equal spacing and the day axis must sit on the value 0.
TEST(EotGraph, ShiftedAxisKeepsZeroAndEvenLabels) {
    // 9.55 E on the 15 E zone meridian: (15 - 9.55) * 4 = 21.8 minutes, rounded to 22.
    const EotGraph g = BuildEotGraph(1999, -9.55, -15.0, true, MinuteSplit::Rounded);
    ASSERT_EQ(std::abs(g.correction.wholeMinutes), 22);
    for (int whole : {0, 22, -22, 3, -38}) {
        std::vector<int> values;
        for (int row = -kEotAxisMinutes; row <= kEotAxisMinutes; ++row)
            if (EotRowIsLabelled(row, whole)) values.push_back(row + whole);
        ASSERT_GE(values.size(), 6u) << whole;
        for (std::size_t i = 1; i < values.size(); ++i) {
            EXPECT_EQ(values[i] - values[i - 1], 5) << whole;
            EXPECT_EQ(values[i] % 5, 0) << whole;
        }
    }
    // The axis row shows the value 0 while it is on the graph, else the nearer edge.
    EXPECT_EQ(EotDayAxisRow(0), 0);
    EXPECT_EQ(EotDayAxisRow(12) + 12, 0);
    EXPECT_EQ(EotDayAxisRow(-9) - 9, 0);
    EXPECT_EQ(EotDayAxisRow(22), -kEotAxisMinutes);
    EXPECT_EQ(EotDayAxisRow(-38), kEotAxisMinutes);
}

// The greatest jump in azimuth between neighbouring points of any piece.
double LargestStep(const std::vector<SkyPolyline>& pieces) {
    double worst = 0;
    for (const SkyPolyline& piece : pieces)
        for (std::size_t i = 1; i < piece.size(); ++i)
            worst = std::max(worst, std::abs(piece[i].azimuth - piece[i - 1].azimuth));
    return worst;
}

TEST(SunPathDiagram, DayPathsAtMidLatitude) {
    const SunPathDiagram d = BuildSunPathDiagram(47.25, kZodiac, 0);
    ASSERT_EQ(d.dayPaths.size(), 7u);
    // The equinox path runs from due east on the horizon to due west, 42.75 degrees high at noon.
    const DayPath& equinox = d.dayPaths[3];
    EXPECT_EQ(equinox.zodiacIndex, 4);
    ASSERT_EQ(equinox.pieces.size(), 1u);
    EXPECT_NEAR(equinox.pieces[0].front().azimuth, -90, 0.01);
    EXPECT_NEAR(equinox.pieces[0].front().altitude, 0, 0.01);
    EXPECT_NEAR(equinox.pieces[0].back().azimuth, 90, 0.01);
    EXPECT_NEAR(equinox.noon.altitude, 42.75, 0.01);
    EXPECT_TRUE(equinox.noonVisible);
    // The summer path rises north of east.
    EXPECT_LT(d.dayPaths[6].pieces[0].front().azimuth, -90);
    for (const DayPath& p : d.dayPaths) {
        EXPECT_LT(LargestStep(p.pieces), 5.0);
        for (const SkyPolyline& piece : p.pieces)
            for (const SkyPoint& q : piece) EXPECT_GE(q.altitude, -1e-6);
    }
}

TEST(SunPathDiagram, PathsThatCrossNorthAreBrokenAtTheEdges) {
    // In the tropics the summer sun passes north of the zenith; in the south every sun does.
    for (double lat : {10.0, -35.0}) {
        const SunPathDiagram d = BuildSunPathDiagram(lat, kZodiac, 0);
        const DayPath& northern = lat > 0 ? d.dayPaths[6] : d.dayPaths[3];
        ASSERT_GE(northern.pieces.size(), 2u) << lat;
        // One piece ends on an edge of the diagram, the next begins on the opposite edge.
        const SkyPoint end = northern.pieces[0].back();
        const SkyPoint start = northern.pieces[1].front();
        EXPECT_EQ(std::abs(end.azimuth), 180.0);
        EXPECT_EQ(start.azimuth, -end.azimuth);
        EXPECT_EQ(start.altitude, end.altitude);
        EXPECT_LT(LargestStep(northern.pieces), 180.0);
    }
}

TEST(SunPathDiagram, PolarDayAndNight) {
    const SunPathDiagram d = BuildSunPathDiagram(70, kZodiac, 0);
    // The winter solstice sun does not rise at 70 N; the summer one circles all day.
    for (const DayPath& p : d.dayPaths) EXPECT_NE(p.zodiacIndex, 1);
    const DayPath& summer = d.dayPaths.back();
    EXPECT_EQ(summer.zodiacIndex, 7);
    EXPECT_NEAR(std::abs(summer.pieces.front().front().azimuth), 180, 1e-9);
    EXPECT_GT(summer.pieces.front().front().altitude, 3);

    for (double lat : {90.0, -90.0}) {
        const SunPathDiagram pole = BuildSunPathDiagram(lat, kZodiac, 0);
        for (const DayPath& p : pole.dayPaths)
            for (const SkyPolyline& piece : p.pieces)
                for (const SkyPoint& q : piece) EXPECT_NEAR(q.altitude, lat > 0 ? p.declination : -p.declination, 0.01);
        EXPECT_EQ(pole.hourLines.size(), 49u);
    }
}

TEST(SunPathDiagram, HourLines) {
    const SunPathDiagram d = BuildSunPathDiagram(47.25, kZodiac, 0);
    ASSERT_EQ(d.hourLines.size(), 49u);
    const HourLine& noon = d.hourLines[24];
    EXPECT_EQ(noon.hour, 12.0);
    EXPECT_TRUE(noon.fullHour);
    ASSERT_EQ(noon.pieces.size(), 1u);
    for (const SkyPoint& p : noon.pieces[0]) EXPECT_NEAR(p.azimuth, 0, 1e-6);
    EXPECT_NEAR(noon.pieces[0].front().altitude, 90 - 47.25 - 23.6, 0.01);
    EXPECT_NEAR(noon.end.altitude, 90 - 47.25 + 23.45, 0.01);
    EXPECT_TRUE(noon.endVisible);
    EXPECT_FALSE(d.hourLines[25].fullHour);
    // Midnight never rises at this latitude; 6 o'clock starts on the horizon.
    EXPECT_TRUE(d.hourLines[0].pieces.empty());
    EXPECT_NEAR(d.hourLines[12].pieces[0].front().altitude, 0, 1e-9);
    // Shifted by the longitude correction, 12 o'clock of zone apparent time lies east of south.
    const SunPathDiagram shifted = BuildSunPathDiagram(47.25, kZodiac, 5.45);
    EXPECT_LT(shifted.hourLines[24].pieces[0].front().azimuth, -1);
}

TEST(SunPathDiagram, PlaneMarkerMarksTheSunBehindTheWall) {
    // A south-facing vertical wall: the sun is behind it north of the east-west line.
    const SunPathDiagram d = BuildSunPathDiagram(47.25, kZodiac, 0, PlaneShadowMarker(90, 0));
    const DayPath& summer = d.dayPaths.back();
    int marked = 0, lit = 0;
    for (const SkyPolyline& piece : summer.pieces)
        for (const SkyPoint& p : piece) {
            (p.marked ? marked : lit)++;
            if (std::abs(p.azimuth) > 91) {
                EXPECT_TRUE(p.marked) << p.azimuth;
            } else if (std::abs(p.azimuth) < 89) {
                EXPECT_FALSE(p.marked) << p.azimuth;
            }
        }
    EXPECT_GT(marked, 0);
    EXPECT_GT(lit, 0);
    // The equinox sun never goes behind it.
    for (const SkyPolyline& piece : d.dayPaths[3].pieces)
        for (const SkyPoint& p : piece) EXPECT_FALSE(p.marked && std::abs(p.azimuth) < 89.9);
}

}  // namespace
}  // namespace zorva
