// The live shadow of the analemmatic and the bifilar dial, held against the instruments in
// space: the gnomon standing on the day's date, the two threads over the crossing, and the
// sun of the astronomy core (not the dial's own ephemeris). At a drawn hour's time the shadow
// reads that hour on the drawing at true scale (0.2 mm = 2 units of the page).
#include "dials/live_shadow.h"

#include "astro/calendar.h"
#include "dials/analemmatic_dial.h"
#include "dials/bifilar_dial.h"
#include "dials/dial_constructions.h"
#include "dials/quadrant_space.h"
#include "recording_painter.h"
#include "shadow_test_support.h"
#include "text/recording_dialogs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace zorva {
namespace {

using test::Primitive;
using test::RecordingPainter;
using test::Segment;

constexpr double kTolerance = test::kShadowTolerance;
constexpr double kRad = M_PI / 180.0;

DialRequest Page(double originX = 1410, double originY = 1000) {
    DialRequest r;
    r.target = DrawTarget::Printer;
    r.clientWidth = 2820;
    r.clientHeight = 2000;
    r.originX = originX;
    r.originY = originY;
    return r;
}

// A plane in space: its drawing axes and the normal of its front (x east, y north, z up).
struct Frame {
    Vec3 right, up, normal;
};
Frame Level() { return {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}; }
// A wall facing azimuth `d` (from south, west positive), seen from the front.
Frame Wall(double d) {
    const double s = std::sin(d * kRad), c = std::cos(d * kRad);
    return {{c, -s, 0}, {0, 0, 1}, {-s, -c, 0}};
}

// Where the ray from `p` away from the sun meets the plane through the origin, on the plane.
QPointF ShadowOf(const Frame& f, const Vec3& p, const Vec3& sun) {
    const Vec3 q = p - sun * (p.dot(f.normal) / sun.dot(f.normal));
    return {q.dot(f.right), q.dot(f.up)};
}

double DistanceToLine(QPointF p, QPointF a, QPointF direction) {
    const double n = std::hypot(direction.x(), direction.y());
    return std::abs((p.x() - a.x()) * direction.y() - (p.y() - a.y()) * direction.x()) / n;
}

// The sun of a moment from the astronomy core: the zone's clock time at the site.
Vec3 SunOf(const DialState& s, const ShadowMoment& m) {
    const SunPositionResult sun = SunPosition(m.year, m.dayOfYear(), m.zoneHour, s.latitude, s.longitude,
                                              s.zoneMeridian, true);
    return test::TowardSun(sun);
}

std::vector<Segment> SegmentsOf(const std::vector<Primitive>& lines) {
    std::vector<Segment> out;
    for (const Primitive& l : lines) out.push_back({l.points[0], l.points[1]});
    return out;
}

CastShadow PageShadow(const DialState& s, const DialRequest& r, const ShadowMoment& m) {
    RecordingPainter measure;
    return ShadowOnDial(DialContext(s), r, m, &measure);
}

// The clock time of the zone at which a dial of reckoning `r` shows `hour`.
ShadowMoment MomentOf(const DialState& s, HourReckoning r, int month, int day, int hour) {
    const bool zone = IsZoneReckoning(r);
    if (!IsMeanReckoning(r)) return test::ApparentHourMoment(s, month, day, hour, zone);
    return {2027, month, day, hour + (zone ? 0.0 : (s.longitude - s.zoneMeridian) / 15)};
}

constexpr int kDates[][2] = {{1, 20}, {3, 5}, {4, 28}, {6, 21}, {8, 9}, {10, 2}, {11, 17}, {12, 21}};

// "name month/day hh" for a failure's message.
std::string Case(const char* name, const int (&date)[2], int hour) {
    return std::string(name) + " " + std::to_string(date[0]) + "/" + std::to_string(date[1]) + " " + std::to_string(hour) + "h";
}

struct AnalemmaticCase {
    const char* name;
    double latitude;
    bool wall;
    double wallDeclination;
    double gnomonAngle;  // 90 upright; otherwise leaning toward the elevated pole
    double semiMajorMm;
    HourReckoning reckoning;
};

// An added kind at a site of central Europe or southern Africa, on level ground or a wall.
DialState SiteOf(AddedKind kind, double latitude, bool wall, double wallDeclination) {
    DialState s = StartupState();
    s.addedKind = kind;
    s.dialType = wall ? 'v' : 'h';
    s.latitude = latitude;
    s.longitude = latitude > 0 ? -9.59 : -28.0;
    s.zoneMeridian = latitude > 0 ? -15 : -30;
    s.referenceYear = 2027;
    s.wallDeclination = wallDeclination;
    return s;
}

DialState AnalemmaticOf(const AnalemmaticCase& c) {
    DialState s = SiteOf(AddedKind::Analemmatic, c.latitude, c.wall, c.wallDeclination);
    s.analemmatic.vertical = c.wall;
    s.analemmatic.gnomonAngle = c.gnomonAngle;
    s.analemmatic.semiMajorMm = c.semiMajorMm;
    s.analemmatic.reckoning = c.reckoning;
    return s;
}

// The gnomon stands on the date scale at the day's declination (the foot moves with tan
// delta between the solstices' ends of the scale); in space its shadow runs from the foot
// away from the sun and passes through the drawn hour point of the time, or through the
// day's place on the hour's figure-eight for mean time.
TEST(LiveShadowAddedDials, AnalemmaticGnomonOnTheDateCastsItsShadowThroughTheDrawnHour) {
    const AnalemmaticCase cases[] = {
        {"level north, 1:1", 47.25, false, 0, 90, 100, HourReckoning::LocalApparent},
        {"walk-on south, zone time", -26.75, false, 0, 90, 2500, HourReckoning::ZoneMean},
        {"level north, circular scale", 51.5, false, 0, 45 + 51.5 / 2, 1500, HourReckoning::ZoneApparent},
        {"level south, leaning 40", -35.0, false, 0, 40, 2000, HourReckoning::LocalMean},
        {"south wall", 47.25, true, 0, 90, 1500, HourReckoning::LocalApparent},
        {"north wall in the south", -33.9, true, 180, 90, 1500, HourReckoning::ZoneApparent},
    };
    for (const AnalemmaticCase& c : cases) {
        const DialState s = AnalemmaticOf(c);
        const DialContext context(s);
        const DialRequest r = Page();
        RecordingPainter drawing;
        RecordingDialogs dialogs;
        ASSERT_TRUE(kAnalemmaticDial.draw(context, r, drawing, dialogs).drawn) << c.name;
        const bool mean = IsMeanReckoning(c.reckoning);
        // The date scale is the first stroke of its colour; the hour dots follow the figure's hours.
        const std::vector<Primitive> dateStrokes = drawing.lines(1);
        ASSERT_FALSE(dateStrokes.empty());
        const QPointF scaleWinter = dateStrokes[0].points[0], scaleSummer = dateStrokes[0].points[1];
        const AnalemmaticFigure figure = AnalemmaticFigureOf(context);
        std::vector<QPointF> dots;
        for (const Primitive& p : drawing.all(Primitive::Circle))
            if (p.role == 2 && p.fill == FillStyle::Solid) dots.push_back(p.points[0]);
        ASSERT_EQ(dots.size(), figure.hours.size()) << c.name;
        const std::vector<Segment> eights = SegmentsOf(drawing.lines(5));
        ASSERT_EQ(eights.empty(), !mean) << c.name;

        const Frame f = c.wall ? Wall(c.wallDeclination) : Level();
        const double lean = c.latitude > 0 || c.wall ? 1.0 : -1.0;  // toward the elevated pole
        const Vec3 gnomon = f.normal * std::sin(c.gnomonAngle * kRad) + f.up * (lean * std::cos(c.gnomonAngle * kRad));
        const double eps = std::abs(context.zodiacDeclinations()[7]);
        const double tanWinter = std::tan((c.latitude > 0 ? -eps : eps) * kRad);
        const double tanSummer = -tanWinter;
        int cast = 0;
        for (const auto& date : kDates) {
            for (int hour = 7; hour <= 17; ++hour) {
                const ShadowMoment m = MomentOf(s, c.reckoning, date[0], date[1], hour);
                const CastShadow shadow = PageShadow(s, r, m);
                if (shadow.status != ShadowStatus::Cast) continue;
                const std::string what = Case(c.name, date, hour);
                ++cast;
                ASSERT_EQ(shadow.mark, ShadowMark::GnomonOnDate);
                ASSERT_TRUE(shadow.nodus);
                ASSERT_EQ(shadow.gnomon.size(), 1u);
                const QPointF foot = shadow.gnomon[0].front(), tip = shadow.gnomon[0].back();
                // The foot on the scale, at its day's place.
                const QPointF scale = scaleSummer - scaleWinter;
                const double along = QPointF::dotProduct(foot - scaleWinter, scale) / QPointF::dotProduct(scale, scale);
                EXPECT_LE(test::Distance(foot, {{scaleWinter, scaleSummer}}), kTolerance) << what;
                const SunPositionResult sun = SunPosition(m.year, m.dayOfYear(), m.zoneHour, s.latitude, s.longitude,
                                                          s.zoneMeridian, true);
                const double expected = (std::tan(sun.declination * kRad) - tanWinter) / (tanSummer - tanWinter);
                EXPECT_LE(std::abs(along - expected) * std::hypot(scale.x(), scale.y()), kTolerance) << what;

                // The shadow in space: from the foot along the gnomon pushed back along the ray.
                const Vec3 toward = SunOf(s, m);
                const QPointF onPlane = ShadowOf(f, gnomon, toward);
                const QPointF direction(onPlane.x(), -onPlane.y());  // the page's y runs down
                EXPECT_LE(DistanceToLine(*shadow.nodus, foot, direction), kTolerance) << what;
                EXPECT_GT(QPointF::dotProduct(*shadow.nodus - foot, direction), 0.0) << what << ": away from the sun";
                // The gnomon of the legend's minimum length throws its shadow at least that far.
                EXPECT_GE(std::hypot(tip.x() - foot.x(), tip.y() - foot.y()) + kTolerance,
                          std::hypot(shadow.nodus->x() - foot.x(), shadow.nodus->y() - foot.y()))
                    << what;
                if (mean) {
                    EXPECT_LE(test::Distance(*shadow.nodus, eights), kTolerance) << what;
                    continue;
                }
                const auto drawn = std::find_if(figure.hours.begin(), figure.hours.end(),
                                                [&](const AnalemmaticFigure::HourMark& h) { return h.clock == hour; });
                ASSERT_NE(drawn, figure.hours.end()) << what;
                const QPointF dot = dots[static_cast<size_t>(drawn - figure.hours.begin())];
                EXPECT_LE(DistanceToLine(dot, foot, direction), kTolerance) << what;
                EXPECT_LE(std::hypot(shadow.nodus->x() - dot.x(), shadow.nodus->y() - dot.y()), kTolerance) << what;
            }
        }
        EXPECT_GT(cast, 30) << c.name;
    }
}

TEST(LiveShadowAddedDials, AnalemmaticShadowSaysWhenTheSunIsDownOrBehindTheWall) {
    DialState s = AnalemmaticOf({"", 47.25, true, 0, 90, 1500, HourReckoning::LocalApparent});
    const CastShadow behind = PageShadow(s, Page(), {2027, 6, 21, 6.0});
    EXPECT_EQ(behind.status, ShadowStatus::PlaneNotLit);
    EXPECT_EQ(PageShadow(s, Page(), {2027, 6, 21, 1.0}).status, ShadowStatus::SunDown);
    const ShadowMoment noon{2027, 6, 21, 13.5};
    const CastShadow cast = PageShadow(s, Page(), noon);
    ASSERT_EQ(cast.status, ShadowStatus::Cast);
    EXPECT_TRUE(ShadowStatusText(cast, noon, Language::German).contains(QStringLiteral("Gnomons")));
    EXPECT_TRUE(ShadowStatusText(cast, noon, Language::English).contains(QStringLiteral("gnomon standing on the date")));
    // A dial refused for its latitude has no shadow either.
    s.latitude = 0.0;
    s.analemmatic.vertical = false;
    EXPECT_EQ(PageShadow(s, Page(), noon).status, ShadowStatus::NotAvailable);
}

struct BifilarCase {
    const char* name;
    double latitude;
    bool wall;
    double wallDeclination;
    HourReckoning reckoning;
};

DialState BifilarOf(const BifilarCase& c) {
    DialState s = SiteOf(AddedKind::Bifilar, c.latitude, c.wall, c.wallDeclination);
    s.bifilar.vertical = c.wall;
    s.bifilar.reckoning = c.reckoning;
    return s;
}

// The up-down thread at distance a over the crossing, the cross thread at b: their shadows
// in space cross on the drawn hour line of the time, and at a solstice on its date line.
TEST(LiveShadowAddedDials, BifilarThreadShadowsCrossOnTheDrawnHourAndDateLines) {
    const BifilarCase cases[] = {
        {"level north", 47.25, false, 0, HourReckoning::LocalApparent},
        {"level north, zone time", 47.25, false, 0, HourReckoning::ZoneMean},
        {"level south", -35.0, false, 0, HourReckoning::ZoneApparent},
        {"south wall", 47.25, true, 0, HourReckoning::LocalApparent},
        {"wall declining 30 west", 52.0, true, 30, HourReckoning::ZoneMean},
        {"north wall in the south", -33.9, true, 180, HourReckoning::LocalMean},
    };
    for (const BifilarCase& c : cases) {
        const DialState s = BifilarOf(c);
        const DialContext context(s);
        const DialRequest r = Page(1410, BifilarCrossingRow(s, 0, 2820, 2000, 10));
        RecordingPainter drawing;
        RecordingDialogs dialogs;
        ASSERT_TRUE(kBifilarDial.draw(context, r, drawing, dialogs).drawn) << c.name;
        const std::vector<Segment> hourLines = SegmentsOf(drawing.lines(IsMeanReckoning(c.reckoning) ? 5 : 2));
        const std::vector<Segment> dateLines = SegmentsOf(drawing.lines(1));
        ASSERT_FALSE(hourLines.empty());
        ASSERT_FALSE(dateLines.empty());

        const Frame f = c.wall ? Wall(c.wallDeclination) : Level();
        const double a = s.bifilar.threadAMm, b = s.bifilar.threadBMm;
        // Two points of each thread, millimetres from the crossing's foot on the plane.
        const Vec3 a0 = f.normal * a, a1 = a0 + f.up * 100.0;
        const Vec3 b0 = f.normal * b, b1 = b0 + f.right * 100.0;
        auto page = [&](QPointF mm) { return QPointF(r.originX + 10 * mm.x(), r.originY - 10 * mm.y()); };
        int cast = 0, onDateLines = 0;
        for (const auto& date : kDates) {
            for (int hour = 6; hour <= 18; ++hour) {
                const ShadowMoment m = MomentOf(s, c.reckoning, date[0], date[1], hour);
                const CastShadow shadow = PageShadow(s, r, m);
                if (shadow.status != ShadowStatus::Cast) continue;
                const std::string what = Case(c.name, date, hour);
                ++cast;
                ASSERT_EQ(shadow.mark, ShadowMark::ThreadShadows);
                ASSERT_EQ(shadow.gnomon.size(), 2u);
                // The threads' shadows in space, and where they cross.
                const Vec3 toward = SunOf(s, m);
                const QPointF pa0 = page(ShadowOf(f, a0, toward)), pa1 = page(ShadowOf(f, a1, toward));
                const QPointF pb0 = page(ShadowOf(f, b0, toward)), pb1 = page(ShadowOf(f, b1, toward));
                const QPointF da = pa1 - pa0, db = pb1 - pb0;
                const double det = da.x() * db.y() - da.y() * db.x();
                ASSERT_GT(std::abs(det), 1e-9) << what;
                const QPointF w = pb0 - pa0;
                const QPointF crossing = pa0 + da * ((w.x() * db.y() - w.y() * db.x()) / det);
                EXPECT_LE(std::hypot(shadow.nodus->x() - crossing.x(), shadow.nodus->y() - crossing.y()), kTolerance)
                    << what;
                // Each drawn thread shadow runs along its thread's shadow in space.
                for (const auto& [stroke, from, along] : {std::tuple{shadow.gnomon[0], pa0, da}, std::tuple{shadow.gnomon[1], pb0, db}}) {
                    EXPECT_LE(DistanceToLine(stroke.front(), from, along), kTolerance) << what;
                    EXPECT_LE(DistanceToLine(stroke.back(), from, along), kTolerance) << what;
                }
                EXPECT_LE(test::Distance(crossing, hourLines), kTolerance) << what;
                if ((date[0] == 6 || date[0] == 12) && date[1] == 21) {
                    ++onDateLines;
                    EXPECT_LE(test::Distance(crossing, dateLines), kTolerance) << what << " on the solstice's line";
                }
                // Half an hour on the crossing has left the hour line (the loops of mean time
                // spread over the year and may pass near it on other days).
                if (IsMeanReckoning(c.reckoning)) continue;
                ShadowMoment later = m;
                later.zoneHour += 0.5;
                const CastShadow next = PageShadow(s, r, later);
                if (next.status == ShadowStatus::Cast) {
                    EXPECT_GT(test::Distance(*next.nodus, hourLines), 10 * kTolerance) << what << " +30 min";
                }
            }
        }
        EXPECT_GT(cast, 20) << c.name;
        EXPECT_GT(onDateLines, 3) << c.name;
    }
}

TEST(LiveShadowAddedDials, BifilarShadowSaysWhenTheSunIsDownOrBehindTheWall) {
    const DialState s = BifilarOf({"", 47.25, true, 0, HourReckoning::LocalApparent});
    const DialRequest r = Page(1410, BifilarCrossingRow(s, 0, 2820, 2000, 10));
    EXPECT_EQ(PageShadow(s, r, {2027, 6, 21, 6.0}).status, ShadowStatus::PlaneNotLit);
    EXPECT_EQ(PageShadow(s, r, {2027, 12, 21, 20.0}).status, ShadowStatus::SunDown);
    const ShadowMoment noon{2027, 3, 21, 12.5};
    const CastShadow cast = PageShadow(s, r, noon);
    ASSERT_EQ(cast.status, ShadowStatus::Cast);
    EXPECT_TRUE(ShadowStatusText(cast, noon, Language::German).contains(QStringLiteral("Fäden")));
    EXPECT_TRUE(ShadowStatusText(cast, noon, Language::English).contains(QStringLiteral("threads")));
    // Equal threads are refused: no shadow to show.
    DialState equal = s;
    equal.bifilar.threadBMm = equal.bifilar.threadAMm;
    EXPECT_EQ(PageShadow(equal, r, noon).status, ShadowStatus::NotAvailable);
}

}  // namespace
}  // namespace zorva
