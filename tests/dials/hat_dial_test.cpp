// The hat dial: the sun's azimuth and altitude on the unrolled wall at true scale, the
// azimuth scale in both hemispheres, the reduced scale, the mean-time figures of eight,
// the refusal and the plot twin.
#include "dials/hat_dial.h"

#include "dials/cylinder_dial.h"
#include "dials/dial_constructions.h"
#include "dials/printer_page.h"
#include "dials/recording_painter.h"
#include "plot/plot_stream.h"
#include "support/test_support.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>

namespace zorva::test {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

DialState Hat() {
    DialState s = StartupState();
    s.dialType = 'z';
    s.cylinderKind = 1;
    s.latitude = 47.25;
    s.shepherdGnomon = 70;
    s.monthScaleLength = 270;
    s.timeSystem = 0;
    s.apparentTimeLines = true;
    s.cylinderWithEoT = false;
    s.otherHourFrom = 8;
    s.otherHourTo = 16;
    s.otherHourInterval = '0';
    s.temporalHours = false;
    s.altitudeLines = false;
    s.expertMode = false;
    s.dateLinesPerMonth = 1;
    s.zodiacDeclinations = {0.0, -23.44, -20.15, -11.47, 0.0, 11.47, 20.15, 23.44};
    return s;
}

// Page geometry by hand (W = 2801, H = 2001 units of 0.1 mm): 360 degrees of azimuth wrap
// once round the 270 mm circumference, one degree is 0.75 mm; the scale's middle column is
// round(1400.5 - 4 x 7.5 + 70) = 1441, moved right so that 183 degrees fit left of it:
// 70 + 2 + ceil(183 x 7.5) = 1445.
constexpr double kDa = 2700.0 / 360;
constexpr double kMiddle = 1445;
constexpr double kTop = 2001.0 / 12 + 50;

std::vector<Primitive> Texts(const RecordingPainter& p, const QString& text) {
    std::vector<Primitive> out;
    for (const Primitive& t : p.all(Primitive::Text))
        if (t.text == text) out.push_back(t);
    return out;
}

bool HasEndpointNear(const std::vector<Primitive>& lines, QPointF at, double tolerance) {
    for (const Primitive& l : lines)
        for (const QPointF& q : l.points)
            if (std::abs(q.x() - at.x()) <= tolerance && std::abs(q.y() - at.y()) <= tolerance) return true;
    return false;
}

TEST(HatDial, EquinoxPathAtKnownSunPositionLandsTrueToScale) {
    const DialState s = Hat();
    RecordingPainter p;
    RecordingDialogs d;
    const DialResult r = kHatDial.draw(s, PrinterPage(), p, d);
    ASSERT_TRUE(r.drawn);
    EXPECT_TRUE(d.events.empty());
    // Equinox (declination 0), three hours after noon (hour angle 45) at 47.25 N:
    // sin h = cos 47.25 cos 45 -> h = 28.684 deg; tan A = sin 45 / (sin 47.25 cos 45) -> A = 53.709
    // deg west. West lies left of south: 53.709 x 7.5 = 402.8 units left of the middle;
    // the 70 mm gnomon's shadow is 70 tan 28.684 = 38.30 mm below the top row.
    const QPointF expected(kMiddle - 403, kTop + 383.0);
    EXPECT_NEAR(700 * std::tan(28.684 * kDeg), 383.0, 0.1);
    EXPECT_TRUE(HasEndpointNear(p.lines(3), expected, 0.2));
    // The same hour before noon lies as far right.
    EXPECT_TRUE(HasEndpointNear(p.lines(3), QPointF(kMiddle + 403, kTop + 383.0), 0.2));
    // The scale spans 183 degrees each way: round(1445 -+ 1372.5).
    bool scale = false;
    for (const Primitive& rect : p.all(Primitive::Rectangle))
        if (rect.points[0] == QPointF(73, kTop) && rect.points[1].x() == 2818) scale = true;
    EXPECT_TRUE(scale);
}

TEST(HatDial, AzimuthScaleNorthAndSouthOfTheEquator) {
    DialState s = Hat();
    {
        RecordingPainter p;
        RecordingDialogs d;
        kHatDial.draw(s, PrinterPage(), p, d);
        // Thirty-seven lines, ten degrees apart; every second one labelled with the sun's
        // twenty degrees: south in the middle, west (80) on the left, east (-80) on the right.
        const double tenDegrees = std::round(10 * kDa);
        int grid = 0;
        for (const Primitive& l : p.lines(0))
            if (l.points[0].x() == l.points[1].x() && l.points[0].y() == kTop) ++grid;
        EXPECT_EQ(grid, 37);
        EXPECT_EQ(tenDegrees, 75);
        // The lines of -180 and 180 degrees (north, where the paper's ends meet) lie the
        // cylinder's circumference apart: the wrapped scale closes without a gap.
        double westEnd = 1e9, eastEnd = -1e9;
        for (const Primitive& l : p.lines(0))
            if (l.points[0].x() == l.points[1].x() && l.points[0].y() == kTop) {
                westEnd = std::min(westEnd, l.points[0].x());
                eastEnd = std::max(eastEnd, l.points[0].x());
            }
        EXPECT_NEAR(eastEnd - westEnd, 10.0 * s.monthScaleLength, 1.0);
        const auto south = Texts(p, QStringLiteral("0"));
        ASSERT_EQ(south.size(), 1u);
        EXPECT_NEAR(south[0].points[0].x() + 0.5 * 0.6 * 30, kMiddle, 1e-9);  // centred
        EXPECT_NEAR(south[0].points[0].y(), kTop - 1.1 * 30, 1e-9);
        const auto west = Texts(p, QStringLiteral("80"));
        const auto east = Texts(p, QStringLiteral("-80"));
        ASSERT_EQ(west.size(), 1u);
        ASSERT_EQ(east.size(), 1u);
        EXPECT_NEAR(west[0].points[0].x() + 0.6 * 30, kMiddle - std::round(80 * kDa), 1e-9);
        EXPECT_NEAR(east[0].points[0].x() + 1.5 * 0.6 * 30, kMiddle + std::round(80 * kDa), 1e-9);
        // The ends are north.
        EXPECT_EQ(Texts(p, QStringLiteral("180")).size(), 1u);
        EXPECT_EQ(Texts(p, QStringLiteral("-180")).size(), 1u);
    }
    {
        // South of the equator the scale counts from the north: the noon sun (azimuth 180)
        // stays in the middle.
        s.latitude = -33.9;
        RecordingPainter p;
        RecordingDialogs d;
        kHatDial.draw(s, PrinterPage(), p, d);
        const auto north = Texts(p, QStringLiteral("180"));
        ASSERT_EQ(north.size(), 1u);
        EXPECT_NEAR(north[0].points[0].x() + 1.5 * 0.6 * 30, kMiddle, 1e-9);
        EXPECT_EQ(Texts(p, QStringLiteral("120")).size(), 1u);   // 60 degrees right
        EXPECT_EQ(Texts(p, QStringLiteral("-120")).size(), 1u);  // 60 degrees left
        EXPECT_EQ(Texts(p, QStringLiteral("0")).size(), 2u);     // south at both ends
        EXPECT_GT(Texts(p, QStringLiteral("120"))[0].points[0].x(), kMiddle);
        // Equinox, hour angle 45 at 33.9 S: h = asin(cos 33.9 cos 45) = 35.938 deg, azimuth
        // 119.150 deg (west of north by 60.850): 456.4 units right of the middle. The scale's
        // top is at H/20 (the long noon shadows need the page).
        const double top = 2001.0 / 20 + 50;
        EXPECT_TRUE(HasEndpointNear(p.lines(3), QPointF(kMiddle + 456, top + 700 * std::tan(35.93785 * kDeg)), 0.3));
    }
    EXPECT_DOUBLE_EQ(HatAzimuthPosition(-30, 47.25), 30);
    EXPECT_DOUBLE_EQ(HatAzimuthPosition(150, -10), 30);
    EXPECT_DOUBLE_EQ(HatAzimuthPosition(-150, -10), -30);
    EXPECT_EQ(HatAzimuthLabel(-30, -10), -150);
}

TEST(HatDial, ClockHoursLieOnTheirSideOfNoon) {
    const DialState s = Hat();
    RecordingPainter p;
    RecordingDialogs d;
    kHatDial.draw(s, PrinterPage(), p, d);
    // True local noon: azimuth 0 on every day, the middle column. On 21 June 2013 (declination
    // +23.437) the sun stands 90 - 47.25 + 23.437 = 66.187 deg high: 158.61 mm of shadow.
    const auto full = p.lines(2);
    EXPECT_TRUE(HasEndpointNear(full, QPointF(kMiddle, kTop + 700 * std::tan(66.187 * kDeg)), 1.0));
    int onNoonColumn = 0;
    for (const Primitive& l : full)
        if (l.points[0].x() == kMiddle && l.points[1].x() == kMiddle) ++onNoonColumn;
    EXPECT_GT(onNoonColumn, 50);  // 62 samples, 21 June .. 21 December
    // Afternoon hours west (left), morning hours east (right), labelled outside their line.
    const auto three = Texts(p, QStringLiteral("15"));
    const auto nine = Texts(p, QStringLiteral("9"));
    ASSERT_EQ(three.size(), 1u);
    ASSERT_EQ(nine.size(), 1u);
    EXPECT_LT(three[0].points[0].x(), kMiddle - 40 * kDa);
    EXPECT_GT(nine[0].points[0].x(), kMiddle + 40 * kDa);
    EXPECT_EQ(three[0].role, 2);
}

TEST(HatDial, DateLinesSevenOrThreeAndNoStrokeRoundTheBack) {
    DialState s = Hat();
    s.apparentTimeLines = false;
    auto paths = [](const RecordingPainter& p) {
        // Each date path is drawn in one piece: count the strokes that do not continue one.
        int pieces = 0;
        QPointF last(-1e9, -1e9);
        for (const Primitive& l : p.lines(3)) {
            if (l.points[0] != last) ++pieces;
            last = l.points[1];
        }
        return pieces;
    };
    {
        RecordingPainter p;
        RecordingDialogs d;
        kHatDial.draw(s, PrinterPage(), p, d);
        EXPECT_EQ(paths(p), 7);
    }
    s.dateLinesPerMonth = 4;  // solstices and equinox
    {
        RecordingPainter p;
        RecordingDialogs d;
        kHatDial.draw(s, PrinterPage(), p, d);
        EXPECT_EQ(paths(p), 3);
    }
    // At 10 N the summer sun passes north of the zenith at noon: its azimuth jumps from
    // -180 to +180 there, and the path must leave at one end of the scale and come in at
    // the other instead of crossing the whole dial.
    s.latitude = 10;
    s.dateLinesPerMonth = 1;
    RecordingPainter p;
    RecordingDialogs d;
    kHatDial.draw(s, PrinterPage(), p, d);
    for (const Primitive& l : p.lines(3)) EXPECT_LT(std::abs(l.points[1].x() - l.points[0].x()), 60 * kDa);
}

TEST(HatDial, ScaleAboveThreeHundredMillimetresIsReducedWithNoteAndOneMessage) {
    DialState s = Hat();
    s.monthScaleLength = 300;
    {
        RecordingPainter p;
        RecordingDialogs d;
        kHatDial.draw(s, PrinterPage(), p, d);
        EXPECT_TRUE(d.events.empty());
        EXPECT_FALSE(p.hasText(QStringLiteral("horizontale Monatsachse verkleinert")));
    }
    s.monthScaleLength = 350;
    RecordingPainter p;
    RecordingDialogs d;
    kHatDial.draw(s, PrinterPage(), p, d);
    ASSERT_EQ(d.events.size(), 1u);
    EXPECT_EQ(d.events[0].caption, QStringLiteral("ZORVA.EXE - Problem!"));
    EXPECT_EQ(d.events[0].text, QStringLiteral("Zylinderradius ist zu groß und wurde verkleinert!"));
    const auto note = Texts(p, QStringLiteral("horizontale Monatsachse verkleinert"));
    ASSERT_EQ(note.size(), 1u);
    EXPECT_EQ(note[0].rgb, 0xFF0000u);
    EXPECT_NEAR(note[0].points[0].x(), 70 + 2801 - 35, 1e-9);  // at the right edge
    // Drawn as 300 mm: ten degrees of azimuth are 300 / 36 = 8.33 mm.
    std::vector<double> grid;
    for (const Primitive& l : p.lines(0))
        if (l.points[0].x() == l.points[1].x() && l.points[1].y() - l.points[0].y() > 1000) grid.push_back(l.points[0].x());
    std::sort(grid.begin(), grid.end());
    ASSERT_GE(grid.size(), 37u);
    // A 300 mm scale does not fit the 280 mm page: its left end stays on the page (2 units
    // inside the area), so the middle lies at 72 + ceil(183 x 8.3333).
    const double middle = 72 + std::ceil(183 * 3000.0 / 360);
    EXPECT_NE(std::find(grid.begin(), grid.end(), middle + 83), grid.end());
    EXPECT_NE(std::find(grid.begin(), grid.end(), middle - 83), grid.end());
}

TEST(HatDial, MeanTimeLinesAreFiguresOfEightWithAThickerSecondHalf) {
    DialState s = Hat();
    s.cylinderWithEoT = true;
    s.lineWidth = '2';
    s.otherHourFrom = s.otherHourTo = 12;
    RecordingPainter p;
    RecordingDialogs d;
    kHatDial.draw(s, PrinterPage(), p, d);
    const auto noon = p.lines(1);
    ASSERT_FALSE(noon.empty());
    EXPECT_TRUE(p.lines(2).empty());  // no true-time lines beside them
    int thin = 0, thick = 0;
    double west = 0, east = 0;
    for (const Primitive& l : noon) {
        (l.penWidth == 2 ? thin : thick)++;
        EXPECT_TRUE(l.penWidth == 2 || l.penWidth == 3);
        west = std::max(west, kMiddle - l.points[1].x());
        east = std::max(east, l.points[1].x() - kMiddle);
    }
    // Half a year of three-day steps each.
    EXPECT_GT(thin, 50);
    EXPECT_GT(thick, 50);
    // Mean noon: the sun is up to 14 min (early February, hour angle -3.5 deg) east and up to
    // 16 min (early November, +4.1 deg) west of the meridian. At 47.25 N in November
    // (declination -15) the azimuth is 4.1 x cos(-15) / cos(27.6) = 4.5 deg: over 30 units.
    EXPECT_GT(west, 25);
    EXPECT_GT(east, 20);
    EXPECT_LT(std::max(west, east), 6 * kDa);
    EXPECT_TRUE(p.hasText(QStringLiteral(" WOZ mit Zeitgl., ")));
}

TEST(HatDial, PolarLatitudeWithTemporalHoursIsRefusedOnPageAndPlot) {
    DialState s = Hat();
    s.latitude = 66;
    s.temporalHours = true;
    RecordingPainter p;
    RecordingDialogs d;
    EXPECT_FALSE(kHatDial.draw(s, PrinterPage(), p, d).drawn);
    EXPECT_TRUE(p.hasText(QStringLiteral("Temporalstunden sind in dieser geogr. Breite nicht möglich!")));
    EXPECT_TRUE(p.lines(3).empty());
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    EXPECT_FALSE(kHatDial.writePlot(s, stream, d));
    EXPECT_TRUE(buffer.data().isEmpty());

    // Temporal hours at 47.25 N: temporal noon (6) is the meridian.
    s.latitude = 47.25;
    s.temporalFrom = 6;
    s.temporalTo = 6;
    s.apparentTimeLines = false;
    RecordingPainter q;
    EXPECT_TRUE(kHatDial.draw(s, PrinterPage(), q, d).drawn);
    const auto temporal = q.lines(9);
    ASSERT_FALSE(temporal.empty());
    for (const Primitive& l : temporal) EXPECT_EQ(l.points[0].x(), kMiddle);
}

TEST(HatDial, DispatchAndPlotTwin) {
    const DialState s = Hat();
    const DialConstruction* c = ConstructionFor(s);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(CanSavePlot(s));
    RecordingPainter p;
    RecordingDialogs d;
    c->draw(s, PrinterPage(), p, d);
    EXPECT_TRUE(p.hasText(QStringLiteral(" (Hutsonnenuhr)")));

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    ASSERT_TRUE(kHatDial.writePlot(s, stream, d));
    const QString plot = QString::fromLatin1(buffer.data());
    EXPECT_TRUE(plot.startsWith(QStringLiteral("IN;VS 1;PA;")));
    EXPECT_TRUE(plot.endsWith(QStringLiteral(";LT;IN;")));
    EXPECT_TRUE(plot.contains(QStringLiteral("SP 3")));  // hour lines
    EXPECT_TRUE(plot.contains(QStringLiteral("SP 4")));  // date lines
    EXPECT_TRUE(plot.contains(QStringLiteral(" (Hutsonnenuhr)")));
}

}  // namespace
}  // namespace zorva::test
