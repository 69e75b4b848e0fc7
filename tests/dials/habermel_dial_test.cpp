// The Habermel dials held to the sun: the drawn plate, turned until the ray of the day points
// down and faced to the sun, must have the hour line of the time where the gnomon's shadow
// ends (within 0.1 mm on the true-scale page, north and south); and the dials a latitude or
// a hand-edited gnomon makes impossible are refused on the canvas.
#include "dials/habermel_dial.h"

#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "dials/dial_constructions.h"
#include "dials/quadrant_geometry.h"
#include "dials/quadrant_space.h"
#include "dials/printer_page.h"
#include "dials/recording_painter.h"
#include "plot/plot_stream.h"
#include "support/test_support.h"
#include "text/recording_dialogs.h"

#include <QBuffer>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace zorva::test {
namespace {

constexpr int kYear = 2013;

struct Site {
    double latitude, longitude, zone;  // longitude and zone positive west
};
constexpr Site kNorth{50.0, -8.68, -15.0};   // 50 N, 8.68 E, central European time
constexpr Site kSouth{-35.0, 58.38, 45.0};   // 35 S, 58.38 W, three hours behind UT

DialState Habermel(int kind, const Site& site, double gnomon) {
    DialState s = StartupState();
    s.dialType = 'q';
    s.quadrantKind = kind;
    s.quadrantGnomon = gnomon;
    s.referenceYear = kYear;
    s.latitude = site.latitude;
    s.longitude = site.longitude;
    s.zoneMeridian = site.zone;
    s.timeSystem = 0;
    s.constructWithEoT = false;
    s.otherHourFrom = 8;
    s.otherHourTo = 16;
    s.otherHourInterval = '0';
    s.language = Language::German;
    return s;
}

RecordingPainter Draw(const DialState& s, DialResult* result = nullptr) {
    RecordingPainter p;
    RecordingDialogs d;
    const DialResult r = kHabermelDial.draw(s, PrinterPage(), p, d);
    if (result) *result = r;
    return p;
}

// The foot of the gnomon: the small circle of 0.8 mm.
QPointF GnomonFoot(const RecordingPainter& p) {
    for (const Primitive& c : p.all(Primitive::Circle))
        if (std::abs(c.radius - 8) < 1e-9) return c.points[0];
    ADD_FAILURE() << "no gnomon foot";
    return {};
}

// The drawn ray of the first of `month`: the colour-5 line whose far end lies next to its
// "1/month".
QPointF FirstOfMonthRayEnd(const RecordingPainter& p, int month) {
    QPointF label;
    bool found = false;
    for (const Primitive& t : p.all(Primitive::Text))
        if (t.role == 5 && t.text == QStringLiteral("1/%1").arg(month)) {
            label = t.points[0];
            found = true;
        }
    EXPECT_TRUE(found) << month;
    double best = 1e18;
    QPointF end;
    for (const Primitive& l : p.lines(5)) {
        const double d = std::hypot(l.points[1].x() - label.x(), l.points[1].y() - label.y());
        if (d < best) {
            best = d;
            end = l.points[1];
        }
    }
    return end;
}

// Holds the drawn plate to the sun of the first of `month` at `hour` and measures how far the
// drawn hour line of that time (the only one drawn) lies from the shadow's end, in millimetres.
double MissMm(DialState s, int month, int hour) {
    s.otherHourFrom = hour;
    s.otherHourTo = hour;
    const RecordingPainter p = Draw(s);
    const QPointF G = GnomonFoot(p);
    const QPointF end = FirstOfMonthRayEnd(p, month);

    const int day = DayOfYear(kYear, month, 1);
    // Local time: the zone meridian as longitude makes the clock the site's own.
    const bool zone = s.timeSystem == 1;
    const SunPositionResult sun = SunPosition(kYear, day, hour, s.latitude, zone ? s.longitude : s.zoneMeridian,
                                              s.zoneMeridian, s.constructWithEoT);
    EXPECT_GT(sun.altitude, 0) << month << " " << hour;
    const QPointF shadow = PlateShadow(sun, s.quadrantGnomon);
    const QPointF down = (end - G) / std::hypot(end.x() - G.x(), end.y() - G.y());
    const QPointF across(-down.y(), down.x());
    // 10 units of the page make a millimetre.
    const QPointF expected = G + (down * shadow.y() + across * shadow.x()) * 10.0;

    return DistanceToLines(Pieces(p.lines(1)), expected) / 10.0;
}

TEST(HabermelDial, KindOneShadowEndsOnTheHourLineAtFiftyNorth) {
    // G on the vertical diameter; a spring and an autumn day, true and mean time.
    DialState s = Habermel(1, kNorth, 30);
    EXPECT_LE(MissMm(s, 5, 10), 0.1);
    EXPECT_LE(MissMm(s, 10, 14), 0.1);
    EXPECT_LE(MissMm(s, 1, 11), 0.1);
    s.timeSystem = 1;
    s.constructWithEoT = true;
    EXPECT_LE(MissMm(s, 8, 15), 0.1);
    EXPECT_LE(MissMm(s, 3, 9), 0.1);
}

TEST(HabermelDial, KindOneShadowEndsOnTheHourLineAtThirtyFiveSouth) {
    DialState s = Habermel(1, kSouth, 15);
    EXPECT_LE(MissMm(s, 2, 9), 0.1);
    EXPECT_LE(MissMm(s, 7, 13), 0.1);
    s.timeSystem = 1;
    s.constructWithEoT = true;
    EXPECT_LE(MissMm(s, 11, 16), 0.1);
    EXPECT_LE(MissMm(s, 4, 10), 0.1);
}

TEST(HabermelDial, KindTwoShadowEndsOnTheHourLineNorthAndSouth) {
    DialState north = Habermel(2, kNorth, 30);
    EXPECT_LE(MissMm(north, 6, 10), 0.1);
    EXPECT_LE(MissMm(north, 12, 13), 0.1);
    north.timeSystem = 1;
    north.constructWithEoT = true;
    EXPECT_LE(MissMm(north, 9, 16), 0.1);
    DialState south = Habermel(2, kSouth, 15);
    EXPECT_LE(MissMm(south, 1, 8), 0.1);
    EXPECT_LE(MissMm(south, 9, 12), 0.1);
    south.timeSystem = 1;
    EXPECT_LE(MissMm(south, 5, 15), 0.1);
}

TEST(HabermelDial, TemporalHoursShadowEndsOnTheirLine) {
    // Temporal hour 3 on the first of May: halfway between sunrise and noon of that day's arc.
    DialState s = Habermel(2, kNorth, 30);
    s.timeSystem = 2;
    s.quadrantTemporalFrom = 3;
    s.quadrantTemporalTo = 3;
    s.quadrantTemporalInterval = 0;
    const RecordingPainter p = Draw(s);
    const QPointF G = GnomonFoot(p);
    const QPointF end = FirstOfMonthRayEnd(p, 5);
    const int day = DayOfYear(kYear, 5, 1);
    const double decl = SunPositionNoonEphemeris(kYear, day, 12, s.latitude, s.zoneMeridian, s.zoneMeridian, false).declination;
    const double H0 = std::acos(-std::tan(s.latitude * M_PI / 180) * std::tan(decl * M_PI / 180)) * 180 / M_PI;
    const double t = -H0 / 2 * M_PI / 180;
    const double altitude = std::asin(std::sin(s.latitude * M_PI / 180) * std::sin(decl * M_PI / 180) +
                                      std::cos(s.latitude * M_PI / 180) * std::cos(decl * M_PI / 180) * std::cos(t)) *
                            180 / M_PI;
    const double expected = 30 * std::tan(altitude * M_PI / 180) * 10;
    const auto lines = Pieces(p.lines(9));
    ASSERT_FALSE(lines.empty());
    QPointF at;
    bool crossed = false;
    for (const auto& l : lines) crossed = crossed || CrossingWithRay(l, G, end, at);
    ASSERT_TRUE(crossed);
    EXPECT_NEAR(std::hypot(at.x() - G.x(), at.y() - G.y()), expected, 1.0);
}

TEST(HabermelDial, KindOneNoonFallsOnTheRimAndTheSolsticesOnTheVerticalDiameter) {
    // 50 N, h = 10: the disc of 22.978 mm; the summer solstice's noon shadow of 20.004 mm runs
    // down through the centre to the rim, the winter one's of 2.974 mm up to the rim.
    const DialState s = Habermel(1, kNorth, 10);
    const double eps = ZodiacDeclinations(kYear).obliquity;
    EXPECT_NEAR(HabermelDiameter(1, 10, 50, eps), 22.98, 0.01);
    const HabermelRay june = HabermelRayOfDay(s, DayOfYear(kYear, 6, 21));
    const HabermelRay december = HabermelRayOfDay(s, DayOfYear(kYear, 12, 21));
    EXPECT_NEAR(june.angle, 0.0, 1.5);
    EXPECT_NEAR(june.rimMm, 10 * std::tan((40 + eps) * M_PI / 180), 0.01);
    EXPECT_NEAR(std::abs(december.angle), 180.0, 1.5);
    EXPECT_NEAR(december.rimMm, 10 * std::tan((40 - eps) * M_PI / 180), 0.01);
    // Autumn on the right, spring on the left of the solstice ray.
    EXPECT_GT(HabermelRayOfDay(s, DayOfYear(kYear, 9, 23)).angle, 0);
    EXPECT_LT(HabermelRayOfDay(s, DayOfYear(kYear, 3, 20)).angle, 0);

    // Apparent noon: every point of the line lies on the rim.
    DialState noon = s;
    noon.otherHourFrom = noon.otherHourTo = 12;
    const RecordingPainter p = Draw(noon);
    QPointF centre;
    double radius = 0;
    for (const Primitive& c : p.all(Primitive::Circle))
        if (c.radius > radius) {
            radius = c.radius;
            centre = c.points[0];
        }
    EXPECT_NEAR(radius, 114.9, 0.1);
    int points = 0;
    for (const Primitive& l : p.lines(1)) {
        EXPECT_NEAR(std::hypot(l.points[1].x() - centre.x(), l.points[1].y() - centre.y()), radius, 0.5);
        ++points;
    }
    EXPECT_GT(points, 300);
}

TEST(HabermelDial, HourNumbersTwinsAndLegend) {
    DialState s = Habermel(2, kNorth, 30);
    s.otherHourFrom = 9;
    s.otherHourTo = 15;
    const RecordingPainter p = Draw(s);
    // Apparent time: morning and afternoon share one line and one number.
    std::vector<QString> numbers;
    for (const Primitive& t : p.all(Primitive::Text))
        if (t.role == 1) numbers.push_back(t.text);
    std::sort(numbers.begin(), numbers.end());
    const std::vector<QString> twins{"10/14", "11/13", "12", "9/15"};
    EXPECT_EQ(numbers, twins);
    EXPECT_TRUE(p.hasText(QStringLiteral("vertikale Höhensonnenuhr II (Habermel)")));
    EXPECT_TRUE(p.hasText(QStringLiteral("Stundenlinien zeigen  WOZ ohne Zeitgl. (WOZ)")));
    EXPECT_TRUE(p.hasText(QStringLiteral("G. Breite =  50.00 Grad, G. Laenge =  -8.68 Grad")));
    // Every month's first on its ray, and every text on the page.
    for (int m = 1; m <= 12; ++m) EXPECT_TRUE(p.hasText(QStringLiteral("1/%1").arg(m))) << m;
    for (const Primitive& t : p.all(Primitive::Text)) {
        EXPECT_GE(t.points[0].x(), 70);
        EXPECT_LE(t.points[0].x(), 70 + 2800);
        EXPECT_GE(t.points[0].y(), 50);
        EXPECT_LE(t.points[0].y(), 50 + 2000);
    }
    // Zone time with the equation of time: one number per line, the legend says so.
    s.timeSystem = 1;
    s.constructWithEoT = true;
    s.otherHourFrom = 12;
    s.otherHourTo = 14;
    s.language = Language::English;
    const RecordingPainter zone = Draw(s);
    EXPECT_TRUE(zone.hasText(QStringLiteral("Hour lines show Time of zone meridian with EoT")));
    EXPECT_TRUE(zone.hasText(QStringLiteral("13")));
    EXPECT_TRUE(zone.hasText(QStringLiteral("Vertical Altitude Dial II (Habermel)")));
}

TEST(HabermelDial, ImpossibleDialsAreRefusedOnTheCanvas) {
    auto refused = [](const DialState& s, const QString& text) {
        DialResult r;
        const RecordingPainter p = Draw(s, &r);
        EXPECT_FALSE(r.drawn) << text.toStdString();
        EXPECT_TRUE(p.lines(1).empty());
        bool shown = false;
        for (const Primitive& t : p.all(Primitive::Text)) shown = shown || t.text.contains(text);
        EXPECT_TRUE(shown) << text.toStdString();
    };
    // Near the equator the noon sun passes the zenith; near the pole kind 1 has no winter noon.
    refused(Habermel(1, {0.5, 0, 0}, 20), QStringLiteral("Zenit"));
    refused(Habermel(2, {-10, 0, 0}, 20), QStringLiteral("Zenit"));
    refused(Habermel(1, {89.5, 0, 0}, 20), QStringLiteral("Wintersonnenwende"));
    refused(Habermel(1, {-89.5, 0, 0}, 20), QStringLiteral("Wintersonnenwende"));
    // A hand-edited gnomon: too large a disc, too small a disc.
    refused(Habermel(2, kNorth, 100), QStringLiteral("Zeiger der Sonnenuhr zu groß!"));
    refused(Habermel(1, {60, 0, 0}, 5), QStringLiteral("zu klein"));
    // Temporal hours beyond 65 degrees.
    DialState polar = Habermel(2, {70, 0, 0}, 20);
    polar.timeSystem = 2;
    refused(polar, QStringLiteral("Temporalstunden"));

    // Kind 2 works near the pole with the summer's shadows, and both kinds at the gnomon's
    // limits where the disc fits.
    DialResult r;
    EXPECT_FALSE(Draw(Habermel(2, {89.5, 0, 0}, 20), &r).lines(1).empty());
    EXPECT_TRUE(r.drawn);
    for (int kind : {1, 2}) {
        Draw(Habermel(kind, kNorth, 9), &r);
        EXPECT_TRUE(r.drawn) << kind;
    }
    Draw(Habermel(1, kNorth, 80), &r);
    EXPECT_TRUE(r.drawn);

    // The plot is refused with the same reason in a box, no file content.
    RecordingDialogs d;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    EXPECT_FALSE(kHabermelDial.writePlot(Habermel(2, kNorth, 100), stream, d));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_TRUE(d.texts().join(QString()).contains(QStringLiteral("190 mm")));
}

TEST(HabermelDial, EveryStrokeStaysOnThePageForTheLargestDiscs) {
    // The largest discs the dialog accepts, at both ends of the gnomon's range.
    for (int kind : {1, 2}) {
        for (double latitude : {40.0, -60.0}) {
            const double eps = ZodiacDeclinations(kYear).obliquity;
            double gnomon = 9;
            while (gnomon < 100 && HabermelDiameter(kind, gnomon + 0.5, latitude, eps) <= 190) gnomon += 0.5;
            DialResult r;
            const RecordingPainter p = Draw(Habermel(kind, {latitude, 0, 0}, gnomon), &r);
            ASSERT_TRUE(r.drawn) << kind << " " << latitude;
            for (const Primitive& l : p.all(Primitive::Line))
                for (const QPointF& q : l.points) {
                    EXPECT_GE(q.x(), 70) << kind;
                    EXPECT_LE(q.x(), 2870) << kind;
                    EXPECT_GE(q.y(), 50) << kind;
                    EXPECT_LE(q.y(), 2050) << kind;
                }
        }
    }
}

TEST(HabermelDial, ConstructionsAreRegisteredWithTheirPlot) {
    const DialState s = Habermel(1, kNorth, 30);
    const DialConstruction* c = ConstructionFor(s);
    ASSERT_NE(c, nullptr);
    EXPECT_NE(c->writePlot, nullptr);
    EXPECT_FALSE(c->fixedResolution);
    EXPECT_TRUE(CanSavePlot(s));
}

}  // namespace
}  // namespace zorva::test
