// The sun's shadow over a drawn dial: parsing the moment, and for every family with a
// projection the nodus shadow at a drawn hour line's time lies on that line at true scale.
#include "dials/live_shadow.h"

#include "astro/calendar.h"
#include "dials/dial_constructions.h"
#include "dials/dial_render.h"
#include "dials/planar_dial.h"
#include "recording_painter.h"
#include "shadow_test_support.h"
#include "text/recording_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace zorva {
namespace {

using test::ApparentHourMoment;
using test::Distance;
using test::Primitive;
using test::RecordingPainter;
using test::Segment;

TEST(ShadowMoment, ReadsDateAndZoneTimeAndRefusesWhatDoesNotExist) {
    const auto m = ParseShadowMoment(QStringLiteral("2027-06-21 10:30"));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->year, 2027);
    EXPECT_EQ(m->month, 6);
    EXPECT_EQ(m->day, 21);
    EXPECT_DOUBLE_EQ(m->zoneHour, 10.5);
    EXPECT_EQ(m->dayOfYear(), 172);
    EXPECT_EQ(ShadowMomentText(*m), QStringLiteral("2027-06-21 10:30"));
    EXPECT_TRUE(ParseShadowMoment(QStringLiteral("2024-02-29T23:59")));
    for (const char* bad : {"2027-02-29 10:00", "2027-13-01 10:00", "2027-06-21 24:00", "2027-06-21 10:60",
                            "2027-06-21", "10:30", "21.06.2027 10:30", "2027-06-21 10:30 x", ""})
        EXPECT_FALSE(ParseShadowMoment(QString::fromLatin1(bad))) << bad;
}

// A planar dial with one hour line of mean zone time (or apparent local time) on an A4 page.
DialState PlanarState(char letter, double latitude) {
    DialState s = StartupState();
    s.dialType = letter;
    s.latitude = latitude;
    s.longitude = -9.59;
    s.zoneMeridian = -15;
    s.referenceYear = 2027;
    s.zoomFactor = 1.0;
    s.gnomonLength = 40;
    s.umbrellaDial = false;
    s.apparentTimeLines = s.meanTimeLines = s.markAnalemma = false;
    s.babylonianHours = s.italianHours = s.temporalHours = s.altitudeLines = false;
    s.wholeHourDaylengthLines = false;
    s.drawPoleTriangle = false;
    s.linesToStyleFoot = false;
    s.mapOverlay = false;
    s.dateLineMode = '3';
    s.eotHourInterval = s.hourLineInterval = '0';
    return s;
}

DialRequest Page(const DialState& s) {
    DialRequest r;
    r.target = DrawTarget::Printer;
    r.clientWidth = 2820;
    r.clientHeight = 2000;
    const GnomonPlacement g = DefaultGnomonPlacement(s, 2820, 2000);
    r.originX = g.originX;
    r.originY = g.originY;
    return r;
}

// The strokes of `role` that the hour line adds to the drawing without it.
std::vector<Segment> HourLineStrokes(DialState s, int role, bool mean) {
    auto strokes = [&](const DialState& state) {
        RecordingPainter p;
        RecordingDialogs d;
        EXPECT_TRUE(DrawPlanarDial(state, Page(state), p, d).drawn);
        std::vector<Segment> out;
        for (const Primitive& l : p.lines(role)) out.push_back({l.points[0], l.points[1]});
        return out;
    };
    const std::vector<Segment> without = strokes(s);
    (mean ? s.meanTimeLines : s.apparentTimeLines) = true;
    return test::AddedSegments(without, strokes(s));
}

struct PlanarCase {
    char letter;
    double latitude;
    double wallDeclination;
    double inclination;
};

constexpr double kTolerance = test::kShadowTolerance;

TEST(LiveShadow, PlanarNodusShadowAtAMeanTimeLinesHourLiesOnThatLine) {
    const PlanarCase cases[] = {
        {'h', 47.25, 0, 0},  {'h', -33.9, 0, 0},   {'v', 47.25, 0, 90},  {'v', 47.25, -30, 90},
        {'v', -33.9, 160, 90}, {'i', 47.25, 15, 40}, {'i', -33.9, -25, 55},
    };
    const int dates[][2] = {{2, 15}, {4, 20}, {6, 21}, {9, 10}, {11, 5}, {12, 22}};
    for (const PlanarCase& c : cases) {
        DialState s = PlanarState(c.letter, c.latitude);
        s.wallDeclination = c.wallDeclination;
        s.planeInclination = c.inclination;
        s.localTimeDisplay = false;  // lines of the zone's mean time: the clock's own reading
        int cast = 0;
        for (int hour = 8; hour <= 16; ++hour) {
            s.eotHourFrom = s.eotHourTo = hour;
            const std::vector<Segment> line = HourLineStrokes(s, 3, true);
            for (const auto& date : dates) {
                ShadowMoment m{2027, date[0], date[1], static_cast<double>(hour)};
                const CastShadow shadow = ShadowOnDial(DialContext(s), Page(s), m);
                if (shadow.status != ShadowStatus::Cast) continue;
                ASSERT_TRUE(shadow.nodus);
                // Shadows beyond the page are not drawn; neither is that part of the line.
                if (!QRectF(0, 0, 2820, 2000).contains(*shadow.nodus)) continue;
                ++cast;
                EXPECT_LE(Distance(*shadow.nodus, line), kTolerance)
                    << c.letter << " " << c.latitude << " " << c.wallDeclination << " " << hour << "h "
                    << date[0] << "/" << date[1];
            }
        }
        EXPECT_GT(cast, 10) << c.letter << " " << c.latitude;
    }
}

TEST(LiveShadow, PlanarShadowAtTheClockTimeOfAnApparentHourLiesOnItsLine) {
    // Local apparent time H is read at the clock time H + (longitude - zone) / 15 - EoT / 15.
    for (double latitude : {47.25, -33.9}) {
        DialState s = PlanarState('h', latitude);
        s.localTimeDisplay = true;
        for (int hour = 9; hour <= 15; hour += 3) {
            s.hourFrom = s.hourTo = hour;
            const std::vector<Segment> line = HourLineStrokes(s, 2, false);
            ASSERT_FALSE(line.empty());
            for (int month : {3, 7, 10}) {
                ShadowMoment m{2027, month, 12, hour + (s.longitude - s.zoneMeridian) / 15};
                // Two steps: the EoT of the instant moves the instant a little.
                for (int k = 0; k < 2; ++k)
                    m.zoneHour = hour + (s.longitude - s.zoneMeridian) / 15 - SunAtMoment(s, m).eot / 15;
                const CastShadow shadow = ShadowOnDial(DialContext(s), Page(s), m);
                ASSERT_EQ(shadow.status, ShadowStatus::Cast);
                EXPECT_LE(Distance(*shadow.nodus, line), kTolerance) << latitude << " " << hour << " " << month;
                // A quarter of an hour later it has left the line.
                m.zoneHour += 0.25;
                EXPECT_GT(Distance(*ShadowOnDial(DialContext(s), Page(s), m).nodus, line), 10 * kTolerance);
            }
        }
    }
}

TEST(LiveShadow, TheRodAndStyleShadowsEndAtTheNodusAndStartAtTheirFeet) {
    DialState s = PlanarState('h', 47.25);
    const DialRequest r = Page(s);
    const CastShadow shadow = ShadowOnDial(DialContext(s), r, {2027, 3, 20, 13.0});
    ASSERT_EQ(shadow.status, ShadowStatus::Cast);
    ASSERT_EQ(shadow.gnomon.size(), 2u);
    EXPECT_EQ(shadow.gnomon[0].front(), QPointF(r.originX, r.originY));
    for (const auto& stroke : shadow.gnomon) EXPECT_EQ(stroke.back(), *shadow.nodus);
    // Shortly after local noon in the north the shadow points north (up) and a little east.
    EXPECT_LT(shadow.nodus->y(), r.originY);
    // The 40 mm rod (400 page units) casts a shadow g cot(altitude) long.
    const double length = std::hypot(shadow.nodus->x() - r.originX, shadow.nodus->y() - r.originY);
    EXPECT_NEAR(length, 400.0 / std::tan(shadow.sun.altitude * 3.14159265358979 / 180), 0.5);
}

TEST(LiveShadow, NightAndTheBackOfTheWallCastNoShadowAndSaySo) {
    DialState h = PlanarState('h', 47.25);
    const CastShadow night = ShadowOnDial(DialContext(h), Page(h), {2027, 1, 10, 2.0});
    EXPECT_EQ(night.status, ShadowStatus::SunDown);
    EXPECT_FALSE(night.nodus);
    EXPECT_TRUE(night.gnomon.empty());
    EXPECT_LT(night.sun.altitude, 0);
    const ShadowMoment at2{2027, 1, 10, 2.0};
    EXPECT_TRUE(ShadowStatusText(night, at2, Language::English).contains(QStringLiteral("the sun is down")));
    EXPECT_TRUE(ShadowStatusText(night, at2, Language::German).contains(QStringLiteral("untergegangen")));

    // A south wall in June: at 06:00 the sun stands in the north-east, behind the wall.
    DialState v = PlanarState('v', 47.25);
    const CastShadow behind = ShadowOnDial(DialContext(v), Page(v), {2027, 6, 21, 6.0});
    EXPECT_EQ(behind.status, ShadowStatus::PlaneNotLit);
    EXPECT_GT(behind.sun.altitude, 0);
    EXPECT_TRUE(ShadowStatusText(behind, {2027, 6, 21, 6.0}, Language::English).contains(QStringLiteral("not sunlit")));
    // Southern hemisphere: a north wall (declination 180) is the sunny one at noon.
    DialState north = PlanarState('v', -33.9);
    north.wallDeclination = 180;
    EXPECT_EQ(ShadowOnDial(DialContext(north), Page(north), {2027, 6, 21, 12.5}).status, ShadowStatus::Cast);
    north.wallDeclination = 0;
    EXPECT_EQ(ShadowOnDial(DialContext(north), Page(north), {2027, 6, 21, 12.5}).status, ShadowStatus::PlaneNotLit);
}

TEST(LiveShadow, DrawnOverTheDialOnlyWhenCastAndCutToTheArea) {
    DialState s = PlanarState('h', 47.25);
    DialRequest r = Page(s);
    RecordingPainter shown;
    DrawCastShadow(shown, ShadowOnDial(DialContext(s), r, {2027, 5, 1, 11.0}), 10);
    ASSERT_FALSE(shown.all(Primitive::Window).empty());
    EXPECT_EQ(shown.all(Primitive::Window)[0].points[1], QPointF(2820 - 2, 2000 - 2));
    EXPECT_EQ(shown.all(Primitive::Line).size(), 2u);
    EXPECT_EQ(shown.all(Primitive::Circle).size(), 2u);
    RecordingPainter none;
    DrawCastShadow(none, ShadowOnDial(DialContext(s), r, {2027, 5, 1, 23.0}), 10);
    EXPECT_TRUE(none.items.empty());

    // Through the dispatch: the page drawing carries the shadow when the request asks.
    const ShadowMoment m{2027, 5, 1, 11.0};
    r.shadow = &m;
    RecordingPainter page, plain;
    DrawRequestedShadow(DialContext(s), r, page);
    r.shadow = nullptr;
    DrawRequestedShadow(DialContext(s), r, plain);
    EXPECT_EQ(page.all(Primitive::Circle).size(), 2u);
    EXPECT_TRUE(plain.items.empty());
}

TEST(LiveShadow, PolarCylinderStyleShadowAtAnHourLinesTimeLiesOnThatLine) {
    struct Style {
        int kind;
        double direction;
    };
    for (double latitude : {47.25, -33.9}) {
        for (const Style st : {Style{0, 0}, Style{1, 30}, Style{2, -20}}) {
            int cast = 0;
            for (int zone : {0, 1}) {
                DialState s = StartupState();
                s.dialType = 'z';
                s.cylinderKind = 2;
                s.latitude = latitude;
                s.referenceYear = 2027;
                s.cylinderRadius = 60;
                s.cylinderGnomon = 30;
                s.cylinderHourStyle = st.kind;
                s.wallDeclination = st.direction;
                s.otherHourInterval = '0';
                s.timeSystem = zone;
                s.cylinderWithEoT = false;
                s.dateLineMode = '0';
                s.zoomFactor = 1.0;
                DialRequest r;
                r.target = DrawTarget::Printer;
                r.clientWidth = 2820;
                r.clientHeight = 2000;
                r.originX = 1410;
                r.originY = 1000;
                for (int hour = 9; hour <= 15; hour += 2) {
                    s.otherHourFrom = s.otherHourTo = hour;
                    RecordingPainter p;
                    RecordingDialogs d;
                    ASSERT_TRUE(ShadowOnDial(DialContext(s), r, {2027, 1, 1, 12}).status != ShadowStatus::NotAvailable);
                    const ShadowMoment probe = ApparentHourMoment(s, 5, 5, hour, zone == 1);
                    const CastShadow shadow = ShadowOnDial(DialContext(s), r, probe);
                    if (shadow.status != ShadowStatus::Cast) continue;
                    ++cast;
                    DialContext c(s);
                    const DialConstruction* construction = ConstructionFor(s);
                    ASSERT_TRUE(construction->draw(c, r, p, d).drawn);
                    std::vector<Segment> line;
                    for (const Primitive& l : p.lines(2)) line.push_back({l.points[0], l.points[1]});
                    ASSERT_FALSE(line.empty());
                    EXPECT_LE(Distance(*shadow.nodus, line), kTolerance)
                        << latitude << " style " << st.kind << " zone " << zone << " " << hour;
                    // The style's shadow runs along the same generator.
                    for (const QPointF& q : shadow.gnomon[0]) EXPECT_NEAR(q.x(), shadow.nodus->x(), 1e-6);
                }
            }
            EXPECT_GE(cast, 6) << latitude << " style " << st.kind;
        }
    }
}

TEST(LiveShadow, BiazimuthalRodShadowReadsTheZoneTimeOnTheHourLines) {
    for (bool vertical : {false, true}) {
        for (double latitude : {47.25, -33.9}) {
            DialState s = StartupState();
            s.dialType = 'c';
            s.latitude = latitude;
            s.longitude = -9.55;
            s.latitude2 = latitude > 0 ? 48.2 : -26.2;
            s.longitude2 = latitude > 0 ? -16.4 : -28.0;
            s.drawingScale = 40;
            s.biazimuthalVertical = vertical;
            // The wall faces the equator: south in the north, north in the south.
            s.wallDeclination = s.wallDeclination2 = latitude > 0 ? 10 : 170;
            s.referenceYear = 2027;
            s.zoomFactor = 1.0;
            s.markAnalemma = false;
            DialRequest r;
            r.target = DrawTarget::Printer;
            r.clientWidth = 2820;
            r.clientHeight = 2000;
            r.originX = 1410;
            r.originY = 1300;
            RecordingPainter p;
            RecordingDialogs d;
            ASSERT_TRUE(ConstructionFor(s)->draw(DialContext(s), r, p, d).drawn);
            std::vector<Segment> lines;
            for (const Primitive& l : p.lines(2)) lines.push_back({l.points[0], l.points[1]});
            int cast = 0;
            for (int hour = 8; hour <= 16; ++hour) {
                for (int month : {2, 6, 10}) {
                    const ShadowMoment m = ApparentHourMoment(s, month, 15, hour, true);
                    const CastShadow shadow = ShadowOnDial(DialContext(s), r, m);
                    if (shadow.status != ShadowStatus::Cast || !QRectF(0, 0, 2820, 2000).contains(*shadow.nodus)) continue;
                    ++cast;
                    EXPECT_LE(Distance(*shadow.nodus, lines), kTolerance)
                        << vertical << " " << latitude << " " << hour << " " << month;
                    // Half an hour on, the reading lies between two lines.
                    ShadowMoment later = m;
                    later.zoneHour += 0.5;
                    const CastShadow next = ShadowOnDial(DialContext(s), r, later);
                    if (next.status == ShadowStatus::Cast) {
                        EXPECT_GT(Distance(*next.nodus, lines), 5 * kTolerance);
                    }
                    // The shadow starts at the rod's foot, the focus point of place 1.
                    EXPECT_EQ(shadow.gnomon[0].front(), QPointF(r.originX, r.originY));
                }
            }
            EXPECT_GT(cast, 5) << vertical << " " << latitude;
        }
    }
}

TEST(LiveShadow, AStateWithoutAConstructionHasNoShadowAndSaysIt) {
    DialState s = StartupState();
    s.dialType = 'x';
    DialRequest r;
    r.clientWidth = 1200;
    r.clientHeight = 816;
    const CastShadow shadow = ShadowOnDial(DialContext(s), r, {2027, 5, 1, 11.0});
    EXPECT_EQ(shadow.status, ShadowStatus::NotAvailable);
    EXPECT_FALSE(ShadowStatusText(shadow, {2027, 5, 1, 11.0}, Language::English).isEmpty());
}

}  // namespace
}  // namespace zorva
