// The quadrant held to the sun: its edge of altitude 90 aimed at the sun of a date and time,
// a plumb line hanging from the apex with its bead set on the day's date circle. The bead
// must sit on the drawn hour line of that time, within 0.1 mm on the true-scale page, at
// 50 N and at 35 S, on the calendar scale and on the Gunter quadrant's stereographic scale.
#include "dials/quadrant_dial.h"

#include "astro/calendar.h"
#include "dials/quadrant_space.h"
#include "dials/recording_painter.h"
#include "support/test_support.h"
#include "text/recording_dialogs.h"

#include <algorithm>
#include <cmath>

namespace zorva::test {
namespace {

constexpr int kYear = 2013;
// The page of 2800 x 2000 units of 0.1 mm puts the apex at (2800 / 4, 10 mm).
const QPointF kApex(700, 100);

struct Site {
    double latitude, longitude, zone;
};
constexpr Site kNorth{50.0, -8.68, -15.0};
constexpr Site kSouth{-35.0, 58.38, 45.0};

DialState Quadrant(const Site& site, int scale) {
    DialState s = StartupState();
    s.dialType = 'q';
    s.quadrantKind = 0;
    s.quadrantSize = 150;
    s.quadrantDateScale = scale;
    s.wholeYearBand = true;
    s.referenceYear = kYear;
    s.latitude = site.latitude;
    s.longitude = site.longitude;
    s.zoneMeridian = site.zone;
    s.timeSystem = 0;
    s.constructWithEoT = false;
    s.otherHourInterval = '0';
    return s;
}

RecordingPainter Draw(const DialState& s) {
    DialRequest r;
    r.target = DrawTarget::Printer;
    r.clientWidth = 2800;
    r.clientHeight = 2000;
    RecordingPainter p;
    RecordingDialogs d;
    kQuadrantDial.draw(s, r, p, d);
    return p;
}

std::vector<double> ArcRadii(const RecordingPainter& p, int role) {
    std::vector<double> radii;
    for (const Primitive& a : p.all(Primitive::Arc))
        if (a.role == role && a.points[0] == kApex) radii.push_back(a.radius);
    return radii;
}

// Distance in millimetres between the bead, set on the circle of radius `bead`, and the
// drawn hour line (the only one drawn).
double MissMm(const RecordingPainter& p, const SunPositionResult& sun, double bead) {
    const QPointF expected = kApex + PlumbLine(sun) * bead;
    return DistanceToLines(Pieces(p.lines(1)), expected) / 10.0;
}

SunPositionResult SunOf(const DialState& s, int day, double hour) {
    const bool zone = s.timeSystem == 1;
    const SunPositionResult sun = SunPosition(kYear, day, hour, s.latitude, zone ? s.longitude : s.zoneMeridian,
                                              s.zoneMeridian, s.constructWithEoT);
    EXPECT_GT(sun.altitude, 0) << day << " " << hour;
    return sun;
}

// The calendar quadrant with its bead on the circle of the first of `month`.
double CalendarMissMm(DialState s, int month, int hour) {
    s.otherHourFrom = s.otherHourTo = hour;
    const RecordingPainter p = Draw(s);
    // The circles of the firsts in colour 5, January to December.
    const std::vector<double> firsts = ArcRadii(p, 5);
    EXPECT_EQ(firsts.size(), 12u);
    if (firsts.size() != 12) return 1e9;
    return MissMm(p, SunOf(s, DayOfYear(kYear, month, 1), hour), firsts[static_cast<size_t>(month - 1)]);
}

TEST(QuadrantPlumbLine, CalendarQuadrantNorthAndSouth) {
    DialState north = Quadrant(kNorth, 0);
    EXPECT_LE(CalendarMissMm(north, 4, 10), 0.1);
    EXPECT_LE(CalendarMissMm(north, 10, 15), 0.1);
    north.timeSystem = 1;
    north.constructWithEoT = true;
    EXPECT_LE(CalendarMissMm(north, 5, 14), 0.1);
    DialState south = Quadrant(kSouth, 0);
    EXPECT_LE(CalendarMissMm(south, 2, 9), 0.1);
    EXPECT_LE(CalendarMissMm(south, 9, 13), 0.1);
    south.constructWithEoT = true;
    EXPECT_LE(CalendarMissMm(south, 11, 16), 0.1);
}

// The Gunter quadrant with its bead on the date circle of the sun's declination, measured
// off the drawn scale: the tropics' circles are the outermost and innermost entries into
// the signs, and the equator's radius is their geometric mean.
double GunterMissMm(DialState s, int month, int day, double hour) {
    s.otherHourFrom = s.otherHourTo = static_cast<int>(hour);
    const RecordingPainter p = Draw(s);
    const std::vector<double> signs = ArcRadii(p, 5);
    EXPECT_EQ(signs.size(), 7u);
    if (signs.empty()) return 1e9;
    const double equator = std::sqrt(*std::min_element(signs.begin(), signs.end()) * *std::max_element(signs.begin(), signs.end()));
    const SunPositionResult sun = SunOf(s, DayOfYear(kYear, month, day), hour);
    // Projected from the pole of the site's hemisphere.
    const double d = s.latitude < 0 ? -sun.declination : sun.declination;
    const double bead = equator * std::tan((90 - d) / 2 * M_PI / 180);
    return MissMm(p, sun, bead);
}

TEST(QuadrantPlumbLine, GunterQuadrantNorthAndSouth) {
    const DialState north = Quadrant(kNorth, 2);
    EXPECT_LE(GunterMissMm(north, 5, 6, 9), 0.1);
    EXPECT_LE(GunterMissMm(north, 8, 20, 16), 0.1);
    EXPECT_LE(GunterMissMm(north, 12, 1, 12), 0.1);
    const DialState south = Quadrant(kSouth, 2);
    EXPECT_LE(GunterMissMm(south, 1, 15, 10), 0.1);
    EXPECT_LE(GunterMissMm(south, 7, 3, 14), 0.1);
}

TEST(QuadrantPlumbLine, GunterReferencePointsOnTheDrawing) {
    // At 51.5 N in units of the equator's radius (x along the edge of altitude 0, which runs
    // down the page): equinox 9 h at (0.89791, 0.44018), Cancer noon at (0.30876, 0.57922),
    // Capricorn noon at (1.47119, 0.39586).
    DialState s = Quadrant({51.5, 0, 0}, 2);
    auto drawn = [&](int hour) {
        s.otherHourFrom = s.otherHourTo = hour;
        return Draw(s);
    };
    const RecordingPainter nine = drawn(9), noon = drawn(12);
    const std::vector<double> signs = ArcRadii(noon, 5);
    ASSERT_EQ(signs.size(), 7u);
    const double cancer = *std::min_element(signs.begin(), signs.end());
    const double capricorn = *std::max_element(signs.begin(), signs.end());
    const double equator = std::sqrt(cancer * capricorn);
    // The reference year's obliquity is within 0.01 degrees of 23.44.
    EXPECT_NEAR(cancer / equator, 0.65638, 2e-4);
    EXPECT_NEAR(capricorn / equator, 1.52351, 4e-4);
    auto missMm = [&](const RecordingPainter& p, double along0, double along90) {
        return DistanceToLines(Pieces(p.lines(1)), kApex + QPointF(along90, along0) * equator) / 10.0;
    };
    EXPECT_LE(missMm(nine, 0.89791, 0.44018), 0.1);
    // Noon ends on the tropics (the obliquity of 2013 moves them by a few hundredths of a mm).
    EXPECT_LE(missMm(noon, 0.30876, 0.57922), 0.15);
    EXPECT_LE(missMm(noon, 1.47119, 0.39586), 0.15);
    // And the tropics end the noon line: its ends lie on their circles.
    const auto line = Pieces(noon.lines(1));
    ASSERT_EQ(line.size(), 1u);
    EXPECT_NEAR(std::hypot(line[0].front().x() - kApex.x(), line[0].front().y() - kApex.y()), cancer, 0.5);
    EXPECT_NEAR(std::hypot(line[0].back().x() - kApex.x(), line[0].back().y() - kApex.y()), capricorn, 0.5);
}

}  // namespace
}  // namespace zorva::test
