// The sun's shadow (or light spot, or plumb line) over the dials read by the sun's altitude or
// azimuth: at the time of a drawn hour line, and on a date line's date, the point the user
// reads lies on that line at true scale.
#include "dials/live_shadow.h"

#include "dials/dial_constructions.h"
#include "recording_painter.h"
#include "shadow_test_support.h"
#include "text/recording_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace zorva {
namespace {

using test::ApparentHourMoment;
using test::Distance;
using test::Primitive;
using test::RecordingPainter;
using test::Segment;

constexpr double kTolerance = test::kShadowTolerance;

DialRequest Page() {
    DialRequest r;
    r.target = DrawTarget::Printer;
    r.clientWidth = 2820;
    r.clientHeight = 2000;
    r.originX = 1410;
    r.originY = 1000;
    return r;
}

std::vector<Segment> Strokes(const DialState& s) {
    RecordingPainter p;
    RecordingDialogs d;
    const DialConstruction* c = ConstructionFor(s);
    EXPECT_NE(c, nullptr);
    if (!c) return {};
    EXPECT_TRUE(c->draw(DialContext(s), Page(), p, d).drawn);
    std::vector<Segment> out;
    for (const Primitive& l : p.all(Primitive::Line)) out.push_back({l.points[0], l.points[1]});
    return out;
}

// The strokes `add` puts on the dial: the line it turns on, alone.
std::vector<Segment> AddedStrokes(DialState s, const std::function<void(DialState&)>& add) {
    const std::vector<Segment> without = Strokes(s);
    add(s);
    return test::AddedSegments(without, Strokes(s));
}

// The same, where a line stops at its last sample short of the dial's edge or the horizon:
// past a free end the reading is measured against the line's continuation, one step long.
double DistanceToLine(QPointF p, const std::vector<Segment>& segments) {
    auto shared = [&](QPointF end, size_t self) {
        for (size_t k = 0; k < segments.size(); ++k)
            if (k != self && (segments[k].first == end || segments[k].second == end)) return true;
        return false;
    };
    double best = Distance(p, segments);
    for (size_t k = 0; k < segments.size(); ++k) {
        const auto& [a, b] = segments[k];
        const QPointF ab = b - a;
        const double len2 = QPointF::dotProduct(ab, ab);
        if (len2 <= 0) continue;
        const double t = QPointF::dotProduct(p - a, ab) / len2;
        const bool beyond = (t < 0 && t >= -1 && !shared(a, k)) || (t > 1 && t <= 2 && !shared(b, k));
        if (!beyond) continue;
        const QPointF q = a + t * ab;
        best = std::min(best, std::hypot(p.x() - q.x(), p.y() - q.y()));
    }
    return best;
}

// The shadow as the page drawing lays it out (its texts measured by the same painter).
CastShadow PageShadow(const DialState& s, const ShadowMoment& m) {
    RecordingPainter measure;
    return ShadowOnDial(DialContext(s), Page(), m, &measure);
}

// The zone's clock showing `hour`: what lines of the zone's mean time read.
ShadowMoment ClockMoment(int month, int day, int hour) { return {2027, month, day, double(hour)}; }

// One hour line of the altitude dials' clock hours turned on, alone.
void ClockHourLine(DialState& s, int hour) {
    s.apparentTimeLines = true;
    s.otherHourFrom = s.otherHourTo = hour;
}
// The same for dials that always draw their clock hours.
void OtherHourLine(DialState& s, int hour) { s.otherHourFrom = s.otherHourTo = hour; }

DialState Site(char letter, double latitude) {
    DialState s = StartupState();
    s.dialType = letter;
    s.latitude = latitude;
    s.longitude = latitude > 0 ? -9.59 : -18.42;
    s.zoneMeridian = latitude > 0 ? -15 : -30;
    s.referenceYear = 2027;
    s.zoomFactor = 1.0;
    s.expertMode = false;
    s.temporalHours = s.babylonianHours = s.italianHours = false;
    s.altitudeLines = false;
    return s;
}

// Dates of the whole year, off the lines' sample days as well as on them.
constexpr int kDates[][2] = {{1, 20}, {2, 15}, {4, 2}, {5, 17}, {6, 21}, {7, 30}, {9, 10}, {10, 23}, {11, 5}, {12, 14}};

// Checks hours `from`..`to` of a dial whose hour line `hour` is turned on by `line`; the moment
// of each hour from `when`. Returns how many shadows fell on the dial.
int ExpectShadowsOnHourLines(const DialState& s, int from, int to, const std::function<void(DialState&, int)>& line,
                             const std::function<ShadowMoment(int month, int day, int hour)>& when,
                             const char* what) {
    int cast = 0;
    for (int hour = from; hour <= to; ++hour) {
        const std::vector<Segment> strokes = AddedStrokes(s, [&](DialState& t) { line(t, hour); });
        DialState drawn = s;
        line(drawn, hour);
        for (const auto& date : kDates) {
            const ShadowMoment m = when(date[0], date[1], hour);
            const CastShadow shadow = PageShadow(drawn, m);
            // The cone's edges may fall where no dial point is drawn: nothing to read there.
            if (shadow.status != ShadowStatus::Cast || !shadow.nodus) continue;
            ++cast;
            EXPECT_FALSE(strokes.empty()) << what << " " << hour;
            EXPECT_LE(DistanceToLine(*shadow.nodus, strokes), kTolerance)
                << what << " lat " << s.latitude << " " << hour << "h " << date[0] << "/" << date[1];
        }
    }
    return cast;
}

TEST(LiveShadowFamilies, ShepherdsDialShadowEndsOnTheHourLineOfTheClockInBothHemispheres) {
    for (double latitude : {47.25, -33.9}) {
        DialState s = Site('z', latitude);
        s.cylinderKind = 0;
        s.shepherdGnomon = 30;
        s.monthScaleLength = 200;
        // Mean time of the zone on a whole-year scale: the clock's own reading every day.
        s.timeSystem = 1;
        s.cylinderWithEoT = true;
        s.monthScaleSideBySide = true;
        s.otherHourInterval = '0';
        s.apparentTimeLines = false;
        const int cast = ExpectShadowsOnHourLines(
            s, 8, 16, ClockHourLine, ClockMoment,
            "shepherd mean");
        EXPECT_GT(cast, 40) << latitude;

        // Apparent time of the site on the half-year scale: the falling half reads on its own
        // columns, the rising half on those of equal declination.
        s.timeSystem = 0;
        s.cylinderWithEoT = false;
        s.monthScaleSideBySide = false;
        const int apparent = ExpectShadowsOnHourLines(
            s, 13, 16, ClockHourLine, [&](int month, int day, int hour) { return ApparentHourMoment(s, month, day, hour, false); },
            "shepherd apparent");
        EXPECT_GT(apparent, 20) << latitude;
    }
}

TEST(LiveShadowFamilies, ShepherdsDialShadowHangsFromTheGnomonAndGrowsWithTheLowerSun) {
    DialState s = Site('z', 47.25);
    s.cylinderKind = 0;
    const CastShadow noon = PageShadow(s, {2027, 8, 1, 13.5});
    const CastShadow evening = PageShadow(s, {2027, 8, 1, 18.0});
    ASSERT_EQ(noon.status, ShadowStatus::Cast);
    ASSERT_EQ(evening.status, ShadowStatus::Cast);
    // Both hang straight down the date's column from the gnomon's row.
    EXPECT_DOUBLE_EQ(noon.gnomon[0].front().x(), noon.nodus->x());
    EXPECT_DOUBLE_EQ(noon.nodus->x(), evening.nodus->x());
    EXPECT_DOUBLE_EQ(noon.gnomon[0].front().y(), evening.gnomon[0].front().y());
    // The higher sun casts the longer shadow down the cylinder (L tan altitude).
    EXPECT_GT(noon.nodus->y(), evening.nodus->y());
    const double length = noon.nodus->y() - noon.gnomon[0].front().y();
    EXPECT_NEAR(length, 10 * s.shepherdGnomon * std::tan(noon.sun.altitude * M_PI / 180), 1e-6);
}

TEST(LiveShadowFamilies, HatDialShadowMeetsHourAndDateLines) {
    for (double latitude : {47.25, -33.9}) {
        DialState s = Site('z', latitude);
        s.cylinderKind = 1;
        s.shepherdGnomon = 30;
        s.monthScaleLength = 250;
        s.timeSystem = 1;
        s.cylinderWithEoT = true;  // figures of eight of the zone's mean time
        s.otherHourInterval = '0';
        s.apparentTimeLines = false;
        const int cast = ExpectShadowsOnHourLines(
            s, 8, 16, ClockHourLine, ClockMoment,
            "hat");
        EXPECT_GT(cast, 40) << latitude;

        // On the June solstice the shadow's end runs along the solstice's date line all day.
        const std::vector<Segment> dateLines = Strokes(s);
        int onLine = 0;
        for (double hour : {8.5, 10.0, 12.25, 14.0, 15.5}) {
            const CastShadow shadow = PageShadow(s, {2027, 6, 21, hour});
            if (shadow.status != ShadowStatus::Cast) continue;
            ++onLine;
            EXPECT_LE(Distance(*shadow.nodus, dateLines), kTolerance) << latitude << " " << hour;
        }
        EXPECT_GE(onLine, 3) << latitude;
    }
}

TEST(LiveShadowFamilies, HidokaiNodusShadowReadsTheHourOnFloorAndWall) {
    for (double latitude : {47.25, -33.9}) {
        DialState s = Site('k', latitude);
        s.hidokaiGnomon = 40;
        s.hidokaiMonthScale = 180;
        s.hidokaiHorizontalScale = 120;
        s.hidokaiVerticalDial = true;
        s.timeSystem = 1;
        s.cylinderWithEoT = true;
        s.monthScaleSideBySide = true;
        s.otherHourInterval = '0';
        s.apparentTimeLines = false;
        const int cast = ExpectShadowsOnHourLines(
            s, 7, 17, ClockHourLine, ClockMoment,
            "hidokai");
        EXPECT_GT(cast, 40) << latitude;
    }
    // A low sun throws the nodus shadow beyond the floor, up the wall.
    DialState s = Site('k', 47.25);
    s.hidokaiVerticalDial = true;
    const CastShadow low = PageShadow(s, {2027, 12, 10, 8.6});
    const CastShadow high = PageShadow(s, {2027, 12, 10, 12.2});
    ASSERT_EQ(low.status, ShadowStatus::Cast);
    ASSERT_EQ(high.status, ShadowStatus::Cast);
    EXPECT_GT(low.nodus->x(), high.nodus->x());
    EXPECT_DOUBLE_EQ(low.nodus->y(), high.nodus->y()) << "one date, one row";
}

TEST(LiveShadowFamilies, AzimuthDialPointerShadowLiesOnTheHourLinesOfBothKinds) {
    for (int kind : {0, 1}) {
        for (double latitude : {47.25, -33.9}) {
            DialState s = Site('a', latitude);
            s.azimuthKind = kind;
            s.timeSystem = 1;
            s.apparentTimeLines = false;
            s.meanTimeLines = false;
            s.eotHourInterval = '0';
            s.wholeHourDaylengthLines = false;
            auto line = [](DialState& t, int hour) {
                t.meanTimeLines = true;
                t.eotHourFrom = t.eotHourTo = hour;
            };
            const int cast = ExpectShadowsOnHourLines(
                s, 8, 16, line,
                ClockMoment, "azimuth");
            EXPECT_GT(cast, 40) << kind << " " << latitude;
        }
    }
}

TEST(LiveShadowFamilies, RingDialLightSpotFallsOnTheHourLineAndTheDateLine) {
    for (int deflection : {0, 1}) {
        for (double latitude : {47.25, -33.9}) {
            DialState s = Site('r', latitude);
            s.wholeYearBand = false;
            s.rayDeflection = deflection;
            s.localTimeReading = false;  // apparent time of the zone meridian: both halves of the day
            s.otherHourInterval = '0';
            DialState none = s;
            // Hours outside the day draw nothing: the base the hour line is told from.
            none.otherHourFrom = none.otherHourTo = 0;
            const int cast = ExpectShadowsOnHourLines(
                none, 7, 17, OtherHourLine, [&](int month, int day, int hour) { return ApparentHourMoment(s, month, day, hour, true); },
                "ring");
            EXPECT_GT(cast, 30) << deflection << " " << latitude;
            // On the June solstice the spot runs along the solstice's date line.
            const std::vector<Segment> all = Strokes(s);
            int spots = 0;
            for (double hour : {10.0, 12.5, 14.0}) {
                const CastShadow spot = PageShadow(s, {2027, 6, 21, hour});
                // A low winter sun turned far across the band misses the hole: no reading there.
                if (spot.status != ShadowStatus::Cast) continue;
                ++spots;
                EXPECT_LE(Distance(*spot.nodus, all), kTolerance) << latitude << " " << hour;
                EXPECT_TRUE(spot.gnomon.empty()) << "a light spot, no shadow";
            }
            EXPECT_GE(spots, 2) << deflection << " " << latitude;
            const ShadowMoment noon{2027, 6, 21, 12.5};
            const CastShadow spot = PageShadow(s, noon);
            EXPECT_TRUE(ShadowStatusText(spot, noon, Language::English).contains(QStringLiteral("light spot")));
            EXPECT_TRUE(ShadowStatusText(spot, noon, Language::German).contains(QStringLiteral("Lichtfleck")));
        }
    }
}

TEST(LiveShadowFamilies, QuadrantPlumbLineCrossesTheDayOnItsHourLine) {
    struct Scale {
        int dateScale;
        bool wholeYear;
        int timeSystem;
        bool eot;
    };
    // The whole-year band in the zone's mean time; the half-year band (read backward in the
    // rising half, by equal declination), the zodiac and Gunter scales in apparent time.
    for (const Scale sc : {Scale{0, true, 1, true}, Scale{0, false, 0, false}, Scale{1, false, 1, false},
                           Scale{2, false, 0, false}}) {
        for (double latitude : {47.25, -33.9}) {
            DialState s = Site('q', latitude);
            s.quadrantKind = 0;
            s.quadrantDateScale = sc.dateScale;
            s.wholeYearBand = sc.wholeYear;
            s.timeSystem = sc.timeSystem;
            s.constructWithEoT = sc.eot;
            s.otherHourInterval = '0';
            DialState none = s;
            none.otherHourFrom = none.otherHourTo = 0;
            auto when = [&](int month, int day, int hour) {
                if (sc.eot) return ShadowMoment{2027, month, day, double(hour)};
                return ApparentHourMoment(s, month, day, hour, sc.timeSystem == 1);
            };
            // Local time folds the morning onto the afternoon: afternoon hours only.
            const int from = sc.timeSystem == 0 ? 12 : 8;
            const int cast = ExpectShadowsOnHourLines(none, from, 16, OtherHourLine, when, "quadrant");
            EXPECT_GT(cast, 20) << sc.dateScale << " " << latitude;
        }
    }
    // The plumb line hangs from the apex to the limb at the sun's altitude.
    DialState s = Site('q', 47.25);
    const CastShadow shadow = PageShadow(s, {2027, 5, 5, 10.0});
    ASSERT_EQ(shadow.status, ShadowStatus::Cast);
    const QPointF apex = shadow.gnomon[0].front(), limb = shadow.gnomon[0].back();
    const double along = std::atan2(limb.x() - apex.x(), limb.y() - apex.y()) * 180 / M_PI;
    EXPECT_NEAR(along, shadow.sun.altitude, 1e-9);
    EXPECT_NEAR(Distance(*shadow.nodus, {{apex, limb}}), 0.0, 1e-9);
    const ShadowMoment at{2027, 5, 5, 10.0};
    EXPECT_TRUE(ShadowStatusText(shadow, at, Language::English).contains(QStringLiteral("plumb line")));
    EXPECT_TRUE(ShadowStatusText(shadow, at, Language::German).contains(QStringLiteral("Lot des")));
}

TEST(LiveShadowFamilies, HabermelGnomonShadowEndsOnTheHourLine) {
    for (int kind : {1, 2}) {
        for (double latitude : {47.25, -33.9}) {
            DialState s = Site('q', latitude);
            s.quadrantKind = kind;
            s.quadrantGnomon = 15;
            s.timeSystem = 1;
            s.constructWithEoT = true;
            s.otherHourInterval = '0';
            DialState none = s;
            none.otherHourFrom = none.otherHourTo = 0;
            const int cast = ExpectShadowsOnHourLines(
                none, 12, 17, OtherHourLine,
                ClockMoment, "habermel");
            EXPECT_GT(cast, 20) << kind << " " << latitude;
        }
    }
}

// Distance from `p` to the straight line through a stroke.
double DistanceToStraight(QPointF p, const std::vector<QPointF>& stroke) {
    const QPointF a = stroke.front(), ab = stroke.back() - stroke.front();
    const double len = std::hypot(ab.x(), ab.y());
    return std::abs(ab.x() * (p.y() - a.y()) - ab.y() * (p.x() - a.x())) / len;
}

TEST(LiveShadowFamilies, ConeShadowEdgeMarksTheMeanTimeWhereTheHourLineCrossesTheDaysDateLine) {
    for (double latitude : {47.25, -33.9}) {
        DialState s = Site('m', latitude);
        s.timeSystem = 1;  // mean time of the zone: the clock
        s.hourLineInterval = '0';
        auto line = [](DialState& t, int hour) { t.hourFrom = t.hourTo = hour; };
        DialState none = s;
        none.hourFrom = none.hourTo = 0;
        const int cast = ExpectShadowsOnHourLines(
            none, 9, 15, line, ClockMoment,
            "cone");
        EXPECT_GT(cast, 30) << latitude;
        // The dial point lies on the edge of the cone's real shadow of that moment.
        int onEdge = 0;
        for (const auto& date : kDates) {
            for (double hour : {10.0, 12.5, 14.0}) {
                const CastShadow shadow = PageShadow(s, {2027, date[0], date[1], hour});
                if (shadow.status != ShadowStatus::Cast || !shadow.nodus) continue;
                ++onEdge;
                ASSERT_EQ(shadow.gnomon.size(), 2u);
                EXPECT_EQ(shadow.gnomon[0].back(), shadow.gnomon[1].back()) << "both edges meet in the apex' shadow";
                EXPECT_LE(std::min(DistanceToStraight(*shadow.nodus, shadow.gnomon[0]),
                                   DistanceToStraight(*shadow.nodus, shadow.gnomon[1])),
                          kTolerance)
                    << latitude << " " << date[0] << "/" << date[1] << " " << hour;
            }
        }
        EXPECT_GT(onEdge, 15) << latitude;
    }
}

TEST(LiveShadowFamilies, AtNightEveryFamilySaysTheSunIsDownAndDrawsNothing) {
    std::vector<DialState> states;
    for (int kind : {0, 1}) {
        DialState z = Site('z', 47.25);
        z.cylinderKind = kind;
        states.push_back(z);
    }
    states.push_back(Site('k', 47.25));
    states.push_back(Site('a', 47.25));
    states.push_back(Site('r', 47.25));
    states.push_back(Site('m', 47.25));
    for (int kind : {0, 1, 2}) {
        DialState q = Site('q', -33.9);
        q.quadrantKind = kind;
        q.quadrantGnomon = 15;
        states.push_back(q);
    }
    for (const DialState& s : states) {
        const ShadowMoment night{2027, 1, 10, 1.0};
        const CastShadow shadow = PageShadow(s, night);
        EXPECT_EQ(shadow.status, ShadowStatus::SunDown) << s.dialType << " " << s.cylinderKind << s.quadrantKind;
        RecordingPainter drawn;
        DrawCastShadow(drawn, shadow, 10);
        EXPECT_TRUE(drawn.items.empty());
        EXPECT_TRUE(ShadowStatusText(shadow, night, Language::German).contains(QStringLiteral("untergegangen")));
        EXPECT_TRUE(ShadowStatusText(shadow, night, Language::English).contains(QStringLiteral("the sun is down")));
        // By day the same dial has its shadow.
        EXPECT_EQ(PageShadow(s, {2027, 1, 10, 12.5}).status, ShadowStatus::Cast) << s.dialType;
    }
}

}  // namespace
}  // namespace zorva
