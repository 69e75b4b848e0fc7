// The Hidokai: floor and wall faces true to scale on the printer page, the hand-off of the
// shadow from floor to wall, the date lines, the hour ranges and the refusals.
#include "dials/hidokai_dial.h"

#include "dials/dial_constructions.h"
#include "dials/label_placer.h"
#include "dials/printer_page.h"
#include "dials/recording_painter.h"
#include "plot/plot_stream.h"
#include "support/test_support.h"

#include <QBuffer>
#include <QRectF>

#include <cmath>

namespace zorva::test {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

DialState Hidokai() {
    DialState s = StartupState();
    s.dialType = 'k';
    s.hidokaiGnomon = 25;            // nodus and wall 25 mm high
    s.hidokaiHorizontalScale = 180;  // floor 180 mm long
    s.hidokaiMonthScale = 120;       // 120 mm for 365 days
    s.hidokaiVerticalDial = true;
    s.timeSystem = 0;
    s.cylinderWithEoT = false;
    s.apparentTimeLines = true;
    s.temporalHours = false;
    s.otherHourFrom = 12;
    s.otherHourTo = 16;
    s.otherHourInterval = '0';
    return s;
}

// Page geometry by hand (0.1 mm): W = 2801, faces 180 + 25 mm wide in the middle of the
// width, 7 mm offset; the floor-wall edge 180 mm further; 183 days of 120/365 mm each,
// centred between a top margin of a twelfth of H = 2001 and the legend at 0.85 H, below the
// 5 mm offset.
constexpr double kX = (2801.0 - 2050.0) / 2 + 70;
const double kE = std::round(kX + 1800);
constexpr double kDay = 1200.0 / 365;
constexpr double kTop = 50 + (2001.0 / 12 + 0.85 * 2001.0 - 183 * kDay) / 2;
constexpr double kBottom = kTop + 183 * kDay;

TEST(Hidokai, NoonOnTheSolsticeFallsOnTheFloorTrueToScale) {
    RecordingPainter p;
    RecordingDialogs d;
    const DialResult r = kHidokai.draw(Hidokai(), PrinterPage(), p, d);
    ASSERT_TRUE(r.drawn);
    EXPECT_DOUBLE_EQ(r.gnomonMm, 25.0);
    // Faces: floor from the near edge to the edge, the wall 25 mm beyond it.
    bool floor = false, wall = false;
    for (const Primitive& rect : p.all(Primitive::Rectangle)) {
        if (rect.points[0] == QPointF(kX, kTop) && rect.points[1] == QPointF(kE, kBottom)) floor = true;
        if (rect.points[0] == QPointF(kE, kTop) && rect.points[1] == QPointF(kE + 250, kBottom)) wall = true;
    }
    EXPECT_TRUE(floor);
    EXPECT_TRUE(wall);
    // 21 June 2013 noon at 47.25 N: altitude 90 - 47.25 + 23.437 = 66.187 degrees; the
    // 25 mm nodus throws its shadow 25 / tan(66.187) = 11.03 mm onto the floor.
    const double n = 250 / std::tan(66.187 * kDeg);
    EXPECT_NEAR(n, 110.3, 0.05);
    const auto noon = Pieces(p.lines(1));
    ASSERT_FALSE(noon.empty());
    EXPECT_NEAR(noon.front().front().x(), kX + n, 1.0);
    EXPECT_NEAR(noon.front().front().y(), kTop, 1e-9);
}

TEST(Hidokai, LowSunMovesFromTheFloorOntoTheWall) {
    RecordingPainter p;
    RecordingDialogs d;
    kHidokai.draw(Hidokai(), PrinterPage(), p, d);
    // 21 December, 16:00 true local time: declination -23.435, hour angle 60 degrees:
    // sin h = sin 47.25 sin(-23.435) + cos 47.25 cos 23.435 cos 60 -> h = 1.10 degrees, below
    // the transition altitude atan(25 / 180) = 7.91: on the wall, 180 mm x tan h below the
    // nodus' level, which is the wall's top 25 mm beyond the edge.
    const double sinH = std::sin(47.25 * kDeg) * std::sin(-23.435 * kDeg) +
                        std::cos(47.25 * kDeg) * std::cos(23.435 * kDeg) * 0.5;
    const double h = std::asin(sinH) / kDeg;
    EXPECT_NEAR(h, 1.10, 0.01);
    const double expected = kE + 250 - 1800 * std::tan(h * kDeg);
    bool found = false;
    for (const auto& piece : Pieces(p.lines(2)))
        if (std::abs(piece.back().y() - kBottom) < 1e-6 && piece.back().x() > kE) {
            EXPECT_NEAR(piece.back().x(), expected, 2.0);  // 0.2 mm
            found = true;
        }
    EXPECT_TRUE(found);
    // The 16 o'clock line crosses the edge without a gap: one piece from floor to wall.
    bool crossing = false;
    for (const auto& piece : Pieces(p.lines(2))) {
        bool onFloor = false, onWall = false;
        for (const QPointF& q : piece) {
            onFloor |= q.x() < kE - 1;
            onWall |= q.x() > kE + 1;
            EXPECT_LE(q.x(), kE + 250 + 1e-9);
            EXPECT_GE(q.x(), kX - 1e-9);
        }
        crossing |= onFloor && onWall;
    }
    EXPECT_TRUE(crossing);
}

TEST(Hidokai, WithoutTheWallHourLinesEndAtTheEdge) {
    DialState s = Hidokai();
    s.hidokaiVerticalDial = false;
    RecordingPainter p;
    RecordingDialogs d;
    kHidokai.draw(s, PrinterPage(), p, d);
    double right = 0;
    for (int role : {1, 2})
        for (const Primitive& l : p.lines(role))
            for (const QPointF& q : l.points) right = std::max(right, q.x());
    // The floor alone is 180 mm wide and in the middle of the width.
    const double x = (2801.0 - 1800.0) / 2 + 70, edge = std::round(x + 1800);
    EXPECT_NEAR(right, edge, 1e-6);  // the 16 o'clock line reaches the edge and stops
    for (const Primitive& rect : p.all(Primitive::Rectangle)) EXPECT_NE(rect.points[0], QPointF(edge, kTop));
}

TEST(Hidokai, DateLinesOfTheMonthScale) {
    auto dateLines = [](int monthScale) {
        DialState s = Hidokai();
        s.hidokaiMonthScale = monthScale;
        RecordingPainter p;
        RecordingDialogs d;
        kHidokai.draw(s, PrinterPage(), p, d);
        int n = 0;
        for (const Primitive& l : p.lines(0))
            if (l.points[0].y() == l.points[1].y() && l.points[0].x() == kX && l.points[1].x() == kX + 2050) ++n;
        return std::make_pair(n, p.hasText(QStringLiteral("Jul")));
    };
    // 1 July .. 1 December: six lines of the 1st; with more than 80 mm also the 11th and 21st
    // (21 June first, 21 December last have none: they are the faces' edges).
    EXPECT_EQ(dateLines(80).first, 6);
    EXPECT_EQ(dateLines(81).first, 6 + 11 + 1);
    EXPECT_TRUE(dateLines(61).second);
    EXPECT_FALSE(dateLines(60).second);
}

TEST(Hidokai, LabelsOfLinesStartingCloseTogetherDoNotCollide) {
    DialState s = Hidokai();
    s.otherHourFrom = 8;
    s.otherHourTo = 17;  // folds to 12 .. 17: 12, 13/11, 14/10, 15/9, 16/8, 17
    RecordingPainter p;
    RecordingDialogs d;
    kHidokai.draw(s, PrinterPage(), p, d);
    std::vector<Primitive> labels;
    for (const Primitive& t : p.all(Primitive::Text))
        if ((t.role == 1 || t.role == 2) && t.points[0].y() < kTop) labels.push_back(t);
    ASSERT_EQ(labels.size(), 6u);
    EXPECT_TRUE(p.hasText(QStringLiteral("13/11")));
    for (size_t i = 0; i < labels.size(); ++i)
        for (size_t j = i + 1; j < labels.size(); ++j) {
            const QRectF a(labels[i].points[0], QSizeF(0.6 * 27 * labels[i].text.size(), 27));
            const QRectF b(labels[j].points[0], QSizeF(0.6 * 27 * labels[j].text.size(), 27));
            EXPECT_FALSE(a.intersects(b)) << labels[i].text.toStdString() << " / " << labels[j].text.toStdString();
        }
}

TEST(Hidokai, TemporalHoursAndTheirRange) {
    DialState s = Hidokai();
    s.temporalHours = true;
    s.quadrantTemporalFrom = 1;
    s.quadrantTemporalTo = 11;
    {
        RecordingPainter p;
        RecordingDialogs d;
        kHidokai.draw(s, PrinterPage(), p, d);
        EXPECT_TRUE(d.events.empty());
        EXPECT_TRUE(p.hasText(QStringLiteral("2/10")));
        EXPECT_TRUE(p.hasText(QStringLiteral("[ Temporalstunden ]")));
        EXPECT_TRUE(p.lines(1).empty());  // no clock hours beside them
        EXPECT_FALSE(p.lines(9).empty());
    }
    {
        s.quadrantTemporalTo = 13;
        RecordingPainter p;
        RecordingDialogs d;
        kHidokai.draw(s, PrinterPage(), p, d);
        ASSERT_EQ(d.events.size(), 1u);
        EXPECT_EQ(d.events[0].caption, QStringLiteral("ZORVA.EXE - Fehler!"));
        EXPECT_TRUE(d.events[0].text.startsWith(QStringLiteral("Temporalstunden müssen zwischen 0 und 12 liegen!")));
        // The range falls back to 0 .. 6: no hour beyond noon is labelled.
        EXPECT_TRUE(p.hasText(QStringLiteral("6")));
        EXPECT_FALSE(p.hasText(QStringLiteral("7")));
    }
}

TEST(Hidokai, PolarLatitudeWithTemporalHoursIsNotConstructed) {
    DialState s = Hidokai();
    s.latitude = -66;
    s.temporalHours = true;
    RecordingPainter p;
    RecordingDialogs d;
    EXPECT_FALSE(kHidokai.draw(s, PrinterPage(), p, d).drawn);
    EXPECT_TRUE(p.hasText(QStringLiteral("Temporalstunden sind in dieser geogr. Breite nicht möglich!")));
    EXPECT_TRUE(p.all(Primitive::Rectangle).empty());

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    EXPECT_FALSE(kHidokai.writePlot(s, stream, d));
    EXPECT_TRUE(buffer.data().isEmpty());
    EXPECT_EQ(d.events.size(), 1u);
}

TEST(Hidokai, LegendTexts) {
    DialState s = Hidokai();
    s.timeSystem = 1;
    s.cylinderWithEoT = true;
    s.language = Language::English;
    RecordingPainter p;
    RecordingDialogs d;
    kHidokai.draw(s, PrinterPage(), p, d);
    EXPECT_TRUE(p.hasText(QStringLiteral("Altitude Sundial (horiz.)")));
    EXPECT_TRUE(p.hasText(QStringLiteral("Latitude = 47.25, Longitude = -9.59")));
    EXPECT_TRUE(p.hasText(QStringLiteral("Time of zone meridian with EoT")));
    EXPECT_TRUE(p.hasText(QStringLiteral("Gnomon height= 25.00 mm")));
    s.language = Language::German;
    s.timeSystem = 0;
    s.cylinderWithEoT = false;
    RecordingPainter q;
    kHidokai.draw(s, PrinterPage(), q, d);
    EXPECT_TRUE(q.hasText(QStringLiteral(" WOZ  ohne Zeitgl.")));
    EXPECT_TRUE(q.hasText(QStringLiteral("Zeigerlaenge =  25.00 mm")));
    EXPECT_EQ(ConstructionFor(s), &kHidokai);
}

// At 35 S the afternoon lines start low down among the date lines of the month scale: their
// numbers stand between those lines, not on them, on the screen and on paper.
TEST(Hidokai, NumbersKeepOffTheDateLines) {
    DialState s = StartupState();
    s.dialType = 'k';
    s.latitude = -35;
    s.longitude = -149;
    s.zoneMeridian = -150;
    s.referenceYear = 2024;
    s.timeSystem = 1;
    s.otherHourInterval = '1';
    s.zoomFactor = 1.0;
    DialRequest screen;
    screen.clientWidth = 1152;
    screen.clientHeight = 784;
    for (const DialRequest& r : {screen, PrinterPage()}) {
        RecordingPainter p;
        RecordingDialogs d;
        ASSERT_TRUE(kHidokai.draw(s, r, p, d).drawn);
        // The date lines: level strokes of the frame's role inside the faces.
        std::vector<QLineF> dateLines;
        for (const Primitive& l : p.lines(0))
            if (l.points[0].y() == l.points[1].y()) dateLines.emplace_back(l.points[0], l.points[1]);
        ASSERT_GT(dateLines.size(), 6u);
        int numbers = 0;
        for (const Primitive& t : p.all(Primitive::Text)) {
            if (t.role != 1 && t.role != 2 && t.role != 4 && t.role != 5) continue;
            ++numbers;
            // Shrunk a little: a number may touch a line with the edge of its box.
            const QRectF box = QRectF(t.points[0], QSizeF(0.6 * t.fontHeight * t.text.size(), t.fontHeight))
                                   .adjusted(0.1 * t.fontHeight, 0.1 * t.fontHeight, -0.1 * t.fontHeight, -0.1 * t.fontHeight);
            for (const QLineF& line : dateLines)
                EXPECT_FALSE(SegmentMeetsRect(line, box))
                    << (r.printer() ? "paper" : "screen") << ": " << t.text.toStdString() << " on the date line at y " << line.y1();
        }
        EXPECT_GT(numbers, 8);
    }
}

}  // namespace
}  // namespace zorva::test
