// The shepherd's dial: true-scale geometry on the printer page, the month scale, the hour
// ranges that fold at noon, temporal hours and the refusals, and the plot twin.
#include "dials/cylinder_dial.h"

#include "astro/calendar.h"
#include "dials/altitude_dial_common.h"
#include "dials/dial_constructions.h"
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

DialState Shepherd() {
    DialState s = StartupState();
    s.dialType = 'z';
    s.cylinderKind = 0;
    s.shepherdGnomon = 70;
    s.monthScaleLength = 200;
    s.timeSystem = 0;
    s.apparentTimeLines = true;
    s.cylinderWithEoT = false;
    s.otherHourFrom = 8;
    s.otherHourTo = 15;
    s.otherHourInterval = '0';
    s.expertMode = false;
    return s;
}

DialRequest Screen(double w, double h) {
    DialRequest r;
    r.target = DrawTarget::Screen;
    r.clientWidth = w;
    r.clientHeight = h;
    return r;
}

// Page geometry by hand: W = 2801 and H = 2001 units of 0.1 mm; the scale's top row lies a
// twelfth of the height below the area's top; a scale of S mm is centred.
constexpr double kTop = 2001.0 / 12 + 50;
double ScaleLeft(double scaleMm) { return std::round((2801 - 10 * scaleMm) / 2) + 70; }

std::vector<Primitive> Texts(const RecordingPainter& p, const QString& text) {
    std::vector<Primitive> out;
    for (const Primitive& t : p.all(Primitive::Text))
        if (t.text == text) out.push_back(t);
    return out;
}

// Vertical strokes from the scale's top row down: the date lines.
std::vector<double> DateLineColumns(const RecordingPainter& p) {
    std::vector<double> xs;
    for (const Primitive& l : p.lines(0))
        if (l.points[0].x() == l.points[1].x() && std::abs(l.points[0].y() - kTop) < 1e-9) xs.push_back(l.points[0].x());
    return xs;
}

TEST(ShepherdsDial, NoonShadowOnTheSolsticeLandsTrueToScaleOnThePage) {
    const DialState s = Shepherd();
    RecordingPainter p;
    RecordingDialogs d;
    const DialResult r = kShepherdsDial.draw(s, PrinterPage(), p, d);
    ASSERT_TRUE(r.drawn);
    EXPECT_DOUBLE_EQ(r.gnomonMm, 70.0);
    // 21 June 2013, 11:00 UT: declination +23.437 degrees (almanac). Noon altitude at 47.25 N
    // is 90 - 47.25 + 23.437 = 66.187 degrees; the 70 mm gnomon throws 70 tan(66.187) =
    // 158.61 mm of shadow down the cylinder.
    const double shadowUnits = 700 * std::tan((90 - 47.25 + 23.437) * kDeg);
    EXPECT_NEAR(shadowUnits, 1586.1, 0.1);
    // The noon line (colour 1, the morning colour: its twin is the afternoon) starts at the
    // scale's left edge, that depth below the top row.
    const auto noon = Pieces(p.lines(1));
    ASSERT_FALSE(noon.empty());
    const double left = ScaleLeft(200);
    EXPECT_DOUBLE_EQ(left, 471);  // (280.1 - 200) / 2 = 40.05 -> 40.1 mm, + 7 mm
    // Of the morning lines starting at the left edge, noon's shadow is the longest.
    double deepest = -1;
    for (const auto& piece : noon)
        if (piece.front().x() == left) deepest = std::max(deepest, piece.front().y() - kTop);
    EXPECT_NEAR(deepest, shadowUnits, 1.0);  // 0.1 mm
    // Its label stands left of the scale, level with the line.
    const auto label = Texts(p, QStringLiteral("12"));
    ASSERT_EQ(label.size(), 1u);
    EXPECT_LT(label[0].points[0].x(), left);
    EXPECT_NEAR(label[0].points[0].y() + 35 / 2.0, kTop + shadowUnits, 1.0);
}

TEST(ShepherdsDial, ScreenScalesTheSheetToTheWindow) {
    // A landscape window (1401 > 1.414 x 901) maps 305 mm onto 1.42 x its height.
    DialState s = Shepherd();
    RecordingPainter p;
    RecordingDialogs d;
    kShepherdsDial.draw(s, Screen(1400, 900), p, d);
    const double L = std::round(70 * 901 * 1.42 / 305);  // 294 pixels for 70 mm
    EXPECT_DOUBLE_EQ(L, 294);
    // The gnomon measure (purple) has a vertical leg of exactly L.
    const auto rects = p.lines(-1);
    bool leg = false;
    for (const Primitive& l : rects)
        if (l.rgb == 0x800080 && l.points[0].x() == l.points[1].x() && std::abs(l.points[1].y() - l.points[0].y()) == L)
            leg = true;
    EXPECT_TRUE(leg);
}

TEST(ShepherdsDial, MonthScalePositionsAndTheShortScale) {
    DialState s = Shepherd();
    const double left = ScaleLeft(200);
    // 183 days from 21 June (day 172) to 21 December (day 355) over 200 mm.
    const double dayWidth = 2000.0 / 183;
    {
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        const auto jul = Texts(p, QStringLiteral("Jul"));
        ASSERT_EQ(jul.size(), 1u);
        // 1 July is day 182: 10 days = 10.93 mm right of the scale's edge.
        EXPECT_NEAR(jul[0].points[0].x() - left, 10 * dayWidth + 8, 1e-9);
        EXPECT_NEAR(jul[0].points[0].y(), kTop - 2.1 * 35, 1e-9);
        const std::vector<double> columns = DateLineColumns(p);
        // 21 June, then the 1st, 11th and 21st of July to December.
        ASSERT_EQ(columns.size(), 19u);
        EXPECT_NEAR(columns.front(), left, 1e-9);
        EXPECT_NEAR(columns.back(), left + 2000, 1e-9);
        EXPECT_NEAR(columns[1], left + 10 * dayWidth, 1e-9);
        EXPECT_EQ(Texts(p, QStringLiteral("11")).size(), 6u);
        EXPECT_FALSE(p.hasText(QStringLiteral("horizontale Monatsachse verkleinert")));
    }
    {
        // 60 mm: first letters and the lines of the 1st only.
        s.monthScaleLength = 60;
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        EXPECT_EQ(DateLineColumns(p).size(), 6u);
        EXPECT_TRUE(p.hasText(QStringLiteral("J")));
        EXPECT_FALSE(p.hasText(QStringLiteral("Jul")));
        EXPECT_FALSE(p.hasText(QStringLiteral("11")));
    }
    {
        s.monthScaleLength = 61;
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        EXPECT_EQ(DateLineColumns(p).size(), 19u);
        EXPECT_TRUE(p.hasText(QStringLiteral("Jul")));
    }
    {
        // Above 250 mm the axis is drawn 250 mm long, with the note.
        s.monthScaleLength = 270;
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        const std::vector<double> columns = DateLineColumns(p);
        ASSERT_FALSE(columns.empty());
        EXPECT_NEAR(columns.back() - columns.front(), 2500, 1e-9);
        EXPECT_TRUE(p.hasText(QStringLiteral("horizontale Monatsachse verkleinert")));
    }
}

// The picture speaks the user's language; the plot file keeps the month names it always had.
TEST(ShepherdsDial, MonthNamesOfThePictureFollowTheLanguageThePlotKeepsItsBytes) {
    DialState s = Shepherd();
    s.language = Language::English;
    {
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        for (const char* english : {"Jul", "Oct", "Dec"}) EXPECT_TRUE(p.hasText(QString::fromLatin1(english))) << english;
        for (const char* german : {"Okt", "Dez"}) EXPECT_FALSE(p.hasText(QString::fromLatin1(german))) << german;
    }
    s.language = Language::German;
    {
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        EXPECT_TRUE(p.hasText(QStringLiteral("Okt")));
        EXPECT_FALSE(p.hasText(QStringLiteral("Oct")));
    }
    s.language = Language::English;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    RecordingDialogs d;
    ASSERT_TRUE(kShepherdsDial.writePlot(s, stream, d));
    EXPECT_TRUE(buffer.data().contains("Okt"));
    EXPECT_FALSE(buffer.data().contains("Oct"));
}

TEST(ShepherdsDial, WholeYearRunsFromJanuaryToDecember) {
    DialState s = Shepherd();
    s.monthScaleSideBySide = true;
    RecordingPainter p;
    RecordingDialogs d;
    kShepherdsDial.draw(s, PrinterPage(), p, d);
    for (const char* m : {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Dez"}) EXPECT_TRUE(p.hasText(QString::fromUtf8(m))) << m;
    const std::vector<double> columns = DateLineColumns(p);
    // 1 January is the left edge; 21 December lies 354 of 364 days along.
    ASSERT_EQ(columns.size(), 36u);
    EXPECT_NEAR(columns.front(), ScaleLeft(200), 1e-9);
    EXPECT_NEAR(columns.back() - columns.front(), 2000.0 * 354 / 364, 1e-9);
}

TEST(ShepherdsDial, MergedScaleMarksTheRisingHalfYearAtEqualDeclination) {
    DialState s = Shepherd();
    RecordingPainter p;
    RecordingDialogs d;
    kShepherdsDial.draw(s, PrinterPage(), p, d);
    // 1 February (declination -17.2) has the sun of 10/11 November; its name stands at the
    // bottom, left of its mark.
    const auto feb = Texts(p, QStringLiteral("Feb"));
    ASSERT_EQ(feb.size(), 1u);
    const double left = ScaleLeft(200), dayWidth = 2000.0 / 183;
    const double nov10 = left + (DayOfYear(2013, 11, 10) - 172) * dayWidth;
    EXPECT_LT(feb[0].points[0].x(), nov10 + 1.5 * dayWidth);
    EXPECT_GT(feb[0].points[0].x(), nov10 - 4 * 27);

    // With the equation of time the lines hold for June to December only: no marks.
    s.cylinderWithEoT = true;
    RecordingPainter q;
    kShepherdsDial.draw(s, PrinterPage(), q, d);
    EXPECT_FALSE(q.hasText(QStringLiteral("Feb")));
}

TEST(ShepherdsDial, HoursSpanningNoonFoldOntoTheLongerHalf) {
    DialState s = Shepherd();  // 8 to 15, true local time, no equation of time
    {
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        // 12 - 8 > 15 - 12: the morning half 8 .. 12 is drawn, each line naming its twin.
        for (const char* t : {"8", "9/15", "10/14", "11/13", "12"}) EXPECT_TRUE(p.hasText(QString::fromLatin1(t))) << t;
        EXPECT_FALSE(p.hasText(QStringLiteral("13")));
        EXPECT_TRUE(p.lines(2).empty());  // no afternoon colour
        EXPECT_FALSE(p.lines(1).empty());
        EXPECT_TRUE(p.hasText(QStringLiteral(" WOZ ohne Zeitgl., ")));
    }
    {
        // With the equation of time the halves differ: every hour is drawn.
        s.cylinderWithEoT = true;
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        for (const char* t : {"8", "12", "13", "15"}) EXPECT_TRUE(p.hasText(QString::fromLatin1(t))) << t;
        EXPECT_FALSE(p.lines(2).empty());
        EXPECT_TRUE(p.hasText(QStringLiteral(" WOZ mit Zeitgl., ")));
    }
    {
        // Zone time: also every hour; afternoon subdivisions in colour 5.
        s.cylinderWithEoT = false;
        s.timeSystem = 1;
        s.otherHourInterval = '1';
        s.language = Language::English;
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        EXPECT_TRUE(p.hasText(QStringLiteral("14")));
        EXPECT_FALSE(p.lines(5).empty());
        EXPECT_TRUE(p.hasText(QStringLiteral("Time of zone meridian without EoT, ")));
        EXPECT_TRUE(p.hasText(QStringLiteral(" Cylinder Sundial")));
        EXPECT_TRUE(p.hasText(QStringLiteral(" (Shepherds´ Dial)")));
    }
}

TEST(ShepherdsDial, HourLinesStayInsideTheScale) {
    DialState s = Shepherd();
    s.otherHourFrom = 4;
    s.otherHourTo = 21;
    s.timeSystem = 1;
    s.otherHourInterval = '3';
    RecordingPainter p;
    RecordingDialogs d;
    kShepherdsDial.draw(s, PrinterPage(), p, d);
    // The top row is the horizon (no shadow), the bottom the longest shadow drawn.
    double bottom = 0;
    for (const Primitive& r : p.all(Primitive::Rectangle))
        if (r.points[0].y() == kTop) bottom = r.points[1].y();
    ASSERT_GT(bottom, kTop);
    int count = 0;
    for (int role : {1, 2, 4, 5})
        for (const Primitive& l : p.lines(role))
            for (const QPointF& q : l.points) {
                EXPECT_GE(q.y(), kTop - 1e-9);
                EXPECT_LE(q.y(), bottom + 1e-9);
                EXPECT_GE(q.x(), ScaleLeft(200) - 1e-9);
                EXPECT_LE(q.x(), ScaleLeft(200) + 2000 + 1e-9);
                ++count;
            }
    EXPECT_GT(count, 1000);
}

TEST(ShepherdsDial, LowLatitudeCutsTheScaleAboveTheLegend) {
    DialState s = Shepherd();
    s.latitude = 10;  // the sun reaches the zenith: an endless shadow
    RecordingPainter p;
    RecordingDialogs d;
    kShepherdsDial.draw(s, PrinterPage(), p, d);
    const double top = 2001.0 / 20 + 50;
    bool scale = false;
    for (const Primitive& r : p.all(Primitive::Rectangle))
        if (r.points[0].y() == top) {
            EXPECT_EQ(r.points[1].y(), std::round(50 + 0.93 * 2001));
            scale = true;
        }
    EXPECT_TRUE(scale);
}

TEST(ShepherdsDial, TemporalHoursOneLinePerTwinAndTheirRange) {
    DialState s = Shepherd();
    s.apparentTimeLines = false;
    s.temporalHours = true;
    s.temporalFrom = 1;
    s.temporalTo = 11;
    {
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        for (const char* t : {"1/11", "2/10", "3/9", "4/8", "5/7", "6"}) EXPECT_TRUE(p.hasText(QString::fromLatin1(t))) << t;
        for (const Primitive& t : p.all(Primitive::Text)) EXPECT_FALSE(t.role == 9 && t.text == QStringLiteral("11"));
        EXPECT_TRUE(d.events.empty());
        EXPECT_TRUE(p.hasText(QStringLiteral(" Temporalstunden")));
    }
    {
        s.temporalTo = 14;
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        ASSERT_EQ(d.events.size(), 1u);
        EXPECT_EQ(d.events[0].caption, QStringLiteral("ZORVA.EXE - Fehler!"));
        EXPECT_EQ(d.events[0].text, QStringLiteral("Temporalstunden müssen zwischen 0 und 12 liegen!\r\nZur Korrektur "
                                                   "Taste <F7> drücken."));
        EXPECT_FALSE(p.lines(9).empty());  // still traced, up to 12
    }
}

TEST(ShepherdsDial, LabelsOfLinesStartingCloseTogetherDoNotCollide) {
    // On 1 January the temporal hours 4, 5 and 6 start within a few millimetres.
    DialState s = Shepherd();
    s.apparentTimeLines = false;
    s.temporalHours = true;
    s.monthScaleSideBySide = true;
    RecordingPainter p;
    RecordingDialogs d;
    kShepherdsDial.draw(s, PrinterPage(), p, d);
    std::vector<QRectF> boxes;
    for (const Primitive& t : p.all(Primitive::Text))
        if (t.role == 9) boxes.emplace_back(t.points[0], QSizeF(0.6 * 35 * t.text.size(), 35));
    ASSERT_EQ(boxes.size(), 6u);
    for (size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_LT(boxes[i].right(), ScaleLeft(200));
        for (size_t j = i + 1; j < boxes.size(); ++j) EXPECT_FALSE(boxes[i].intersects(boxes[j])) << i << ' ' << j;
    }
}

TEST(ShepherdsDial, TemporalHoursRiseAndSetWithTheSun) {
    // Temporal hour 0 is sunrise and 12 sunset (geometric horizon); 6 is true noon.
    const DialState s = Shepherd();
    for (int day : {172, 264, 355}) {
        EXPECT_NEAR(TemporalHourAltitude(s, day, 0), 0.0, 1e-6) << day;
        EXPECT_NEAR(TemporalHourAltitude(s, day, 12), 0.0, 1e-6) << day;
        EXPECT_NEAR(TemporalHourAltitude(s, day, 3), TemporalHourAltitude(s, day, 9), 1e-9) << day;
    }
    // 21 December: noon altitude 90 - 47.25 - 23.44 = 19.31 degrees.
    EXPECT_NEAR(TemporalHourAltitude(s, 355, 6), 19.31, 0.02);
}

TEST(ShepherdsDial, PolarLatitudeWithTemporalHoursIsNotConstructed) {
    DialState s = Shepherd();
    s.latitude = 66;
    s.temporalHours = true;
    RecordingPainter p;
    RecordingDialogs d;
    EXPECT_FALSE(kShepherdsDial.draw(s, PrinterPage(), p, d).drawn);
    EXPECT_TRUE(p.hasText(QStringLiteral("Temporalstunden sind in dieser geogr. Breite nicht möglich!")));
    EXPECT_TRUE(p.hasText(QStringLiteral("Die Sonnenuhr wird deshalb nicht konstruiert.")));
    EXPECT_TRUE(p.hasText(QStringLiteral("ZYLINDER - SONNENUHR ")));
    EXPECT_TRUE(p.lines(1).empty());
    EXPECT_TRUE(d.events.empty());

    // The plot cannot show the note: the box says it and nothing is written.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    EXPECT_FALSE(kShepherdsDial.writePlot(s, stream, d));
    EXPECT_TRUE(buffer.data().isEmpty());
    ASSERT_EQ(d.events.size(), 1u);
    EXPECT_EQ(d.events[0].caption, QStringLiteral("ZORVA.EXE - Warnung!"));

    // Without temporal hours the polar dial is drawn.
    s.temporalHours = false;
    RecordingPainter q;
    EXPECT_TRUE(kShepherdsDial.draw(s, PrinterPage(), q, d).drawn);
}

TEST(ShepherdsDial, BabylonianAndItalianHoursInExpertModeOnly) {
    DialState s = Shepherd();
    s.babylonianHours = s.italianHours = true;
    {
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        EXPECT_TRUE(p.lines(6).empty());
    }
    s.expertMode = true;
    {
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        EXPECT_FALSE(p.lines(6).empty());
        EXPECT_FALSE(p.lines(5).empty());
    }
    s.latitude = 65.5;
    {
        RecordingPainter p;
        RecordingDialogs d;
        kShepherdsDial.draw(s, PrinterPage(), p, d);
        EXPECT_TRUE(p.lines(6).empty());
        ASSERT_EQ(d.events.size(), 1u);
        EXPECT_EQ(d.events[0].caption, QStringLiteral("ZORVA.EXE - Problem!"));
        EXPECT_FALSE(p.lines(1).empty());  // the other lines are drawn
    }
}

TEST(ShepherdsDial, TheCylinderVariantsHaveTheirOwnConstructionAndPlot) {
    DialState s = Shepherd();
    s.cylinderKind = 2;
    const DialConstruction* c = ConstructionFor(s);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(CanSavePlot(s));
    RecordingPainter p;
    RecordingDialogs d;
    DialRequest r = PrinterPage();
    r.originX = 1470;
    r.originY = 1050;
    EXPECT_TRUE(c->draw(s, r, p, d).drawn);
    EXPECT_FALSE(p.lines(2).empty());  // the polar-style cylinder's hour lines
    s.cylinderKind = 0;
    EXPECT_TRUE(CanSavePlot(s));
}

}  // namespace
}  // namespace zorva::test
