// The quadrant dial: true-scale layout on the printer page, the date circles of both bands,
// hour lines read against hand-computed sun altitudes, the hour ranges and the refusal.
#include "dials/quadrant_dial.h"

#include "dials/dial_constructions.h"
#include "dials/printer_page.h"
#include "dials/recording_painter.h"
#include "support/test_support.h"
#include "text/recording_dialogs.h"

#include <QRectF>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace zorva::test {
namespace {

// Printer page 2800 x 2000 units of 0.1 mm; a 150 mm quadrant: R = 1500, C = 10 units per
// mm, apex at (2800 / 4, 10 C) = (700, 100), B = 50, L = 10.
constexpr double kXA = 700, kYA = 100, kR = 1500;

DialState Quadrant() {
    DialState s = StartupState();
    s.dialType = 'q';
    s.quadrantKind = 0;
    s.quadrantSize = 150;
    s.quadrantDateScale = 0;
    s.referenceYear = 2013;
    s.latitude = 47.25;
    s.longitude = -9.55;
    s.zoneMeridian = -15;
    s.timeSystem = 0;
    s.constructWithEoT = false;
    s.wholeYearBand = false;
    s.outerLineArrangement = false;
    s.otherHourFrom = 12;
    s.otherHourTo = 12;
    s.otherHourInterval = '0';
    s.language = Language::German;
    return s;
}

RecordingPainter Draw(const DialState& s, DialResult* result = nullptr) {
    RecordingPainter p;
    RecordingDialogs d;
    const DialResult r = kQuadrantDial.draw(s, PrinterPage(), p, d);
    if (result) *result = r;
    return p;
}

double AngleAt(const QPointF& q) { return qRadiansToDegrees(std::atan2(q.x() - kXA, q.y() - kYA)); }
double RadiusOf(const QPointF& q) { return std::hypot(q.x() - kXA, q.y() - kYA); }

// The angle at which a traced line crosses the circle of radius N (NaN when it does not).
double AngleOnCircle(const std::vector<QPointF>& line, double N) {
    for (size_t i = 1; i < line.size(); ++i) {
        const double r0 = RadiusOf(line[i - 1]), r1 = RadiusOf(line[i]);
        if ((r0 - N) * (r1 - N) <= 0 && r0 != r1) {
            const double f = (N - r0) / (r1 - r0);
            return AngleAt(line[i - 1]) + f * (AngleAt(line[i]) - AngleAt(line[i - 1]));
        }
    }
    return NAN;
}

std::vector<double> ArcRadii(const RecordingPainter& p, int role) {
    std::vector<double> radii;
    for (const Primitive& a : p.all(Primitive::Arc))
        if (a.role == role && a.points[0] == QPointF(kXA, kYA)) radii.push_back(a.radius);
    return radii;
}

std::vector<Primitive> TextsOf(const RecordingPainter& p, int role) {
    std::vector<Primitive> out;
    for (const Primitive& t : p.all(Primitive::Text))
        if (t.role == role) out.push_back(t);
    return out;
}

bool Has(const std::vector<double>& v, double x) { return std::find(v.begin(), v.end(), x) != v.end(); }

TEST(QuadrantDial, NoonLineReadsTheSunsAltitudeOnTheHalfYearBand) {
    // Local apparent noon at 47.25 N: altitude 90 - 47.25 + declination. 21 June 2013:
    // declination +23.44 -> 66.19 degrees, on the inner circle R / 2 (arrangement "December
    // outside"); 21 December: -23.44 -> 19.31 degrees, on the rim R.
    const RecordingPainter p = Draw(Quadrant());
    const auto pieces = Pieces(p.lines(1));
    ASSERT_EQ(pieces.size(), 1u);
    const auto& noon = pieces[0];
    EXPECT_NEAR(RadiusOf(noon.front()), kR / 2, 1.0);
    EXPECT_NEAR(AngleAt(noon.front()), 66.19, 0.12);
    EXPECT_NEAR(RadiusOf(noon.back()), kR, 1.0);
    EXPECT_NEAR(AngleAt(noon.back()), 19.31, 0.08);
    // The September equinox (declination 0 on 22/23 September 2013) lies 93.5 days after
    // 21 June (day 172), at R / 2 (1 + 93.5 / 183) = 1133 units: altitude 90 - 47.25 = 42.75.
    EXPECT_NEAR(AngleOnCircle(noon, 1133), 42.75, 0.25);
    // The number stands 1.5 mm right of and below the line's end on the rim.
    const auto labels = TextsOf(p, 1);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].text, QStringLiteral("12"));
    EXPECT_NEAR(labels[0].points[0].x(), noon.back().x() + 15, 1e-9);
    EXPECT_NEAR(labels[0].points[0].y(), noon.back().y() + 15, 1e-9);
}

TEST(QuadrantDial, WholeYearBandRunsFromJanuaryInsideToDecemberOnTheRim) {
    DialState s = Quadrant();
    s.wholeYearBand = true;
    const RecordingPainter p = Draw(s);
    // The 1st of each month in colour 5, the 16th in colour 0. 1 January: R / 2 = 750.
    // 16 December 2013 is day 350: (349 / 364 + 1) x 750 = 1469.09 -> 1469.
    const auto firsts = ArcRadii(p, 5);
    EXPECT_EQ(firsts.size(), 12u);
    EXPECT_TRUE(Has(firsts, 750));
    EXPECT_TRUE(Has(ArcRadii(p, 0), 1469));
    // The outline is the circle of 31 December.
    EXPECT_TRUE(Has(ArcRadii(p, 0), kR));
    // "1/1" left of the downward edge: x = 700 - L - 0.8 B = 650, y = 100 + 750 - 12 (0.25 B
    // = 12.5 rounds to even).
    bool january = false;
    for (const Primitive& t : TextsOf(p, 5))
        if (t.text == QStringLiteral("1/1")) january = t.points[0] == QPointF(650, 838);
    EXPECT_TRUE(january);
    // Noon on the March equinox (20 March 2013, 11:02 UT): day 79, (78 / 364 + 1) x 750 =
    // 910.7 units; altitude 42.75. The noon line's labelled end is 31 December on the rim.
    const auto pieces = Pieces(p.lines(1));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(AngleOnCircle(pieces[0], 910.7), 42.75, 0.2);
    EXPECT_NEAR(RadiusOf(pieces[0].back()), kR, 1.0);
    EXPECT_NEAR(RadiusOf(pieces[0].front()), kR / 2, 1.0);
}

TEST(QuadrantDial, HalfYearBandWithJuneOutsideLabelsBothHalvesOfTheYear) {
    DialState s = Quadrant();
    s.outerLineArrangement = true;
    const RecordingPainter p = Draw(s);
    const auto others = ArcRadii(p, 7);
    EXPECT_TRUE(Has(others, kR));      // 21 June
    EXPECT_TRUE(Has(others, kR / 2));  // 21 December
    // 1 July 2013 is day 182, ten days after 21 June: 750 (2 - 10 / 183) = 1459.0.
    EXPECT_TRUE(Has(ArcRadii(p, 5), 1459));
    // "1/7" beside the downward edge, "1/6" for the rising half above the upper edge, 6.5 /
    // 183 R = 53 units inward of the circle.
    bool july = false, june = false;
    for (const Primitive& t : p.all(Primitive::Text)) {
        if (t.text == QStringLiteral("1/7") && t.role == 5) july = t.points[0].x() == 650;
        if (t.text == QStringLiteral("1/6") && t.role == 0) june = t.points[0].x() == kXA + 1459 - 53;
    }
    EXPECT_TRUE(july);
    EXPECT_TRUE(june);
    // The noon line now starts on the rim at 21 June and ends on R / 2 at 21 December.
    const auto pieces = Pieces(p.lines(1));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(AngleAt(pieces[0].front()), 66.19, 0.08);
    EXPECT_NEAR(RadiusOf(pieces[0].back()), kR / 2, 1.0);
    EXPECT_NEAR(AngleAt(pieces[0].back()), 19.31, 0.12);

    // With the equation of time the band holds for one half only: no second labels.
    s.constructWithEoT = true;
    const RecordingPainter eot = Draw(s);
    for (const Primitive& t : eot.all(Primitive::Text)) EXPECT_NE(t.text, QStringLiteral("1/6"));
}

std::vector<QString> HourNumbers(const RecordingPainter& p) {
    std::vector<QString> out;
    for (const Primitive& t : TextsOf(p, 1)) out.push_back(t.text);
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
    return out;
}

TEST(QuadrantDial, ZodiacScaleSpansTheSolsticesByDeclination) {
    DialState s = Quadrant();
    s.quadrantDateScale = 1;
    s.outerLineArrangement = true;  // "21 June outside"
    const RecordingPainter p = Draw(s);
    // 19 circles every 10 degrees of the sun's longitude; the seven entries into the signs
    // (longitude 90, 120 .. 270) in colour 5. Summer solstice on the rim, winter on R / 2,
    // the equinox (declination 0) halfway: 1125.
    const auto signs = ArcRadii(p, 5);
    EXPECT_EQ(signs.size(), 7u);
    EXPECT_EQ(ArcRadii(p, 7).size(), 12u);
    EXPECT_TRUE(std::any_of(signs.begin(), signs.end(), [](double r) { return std::abs(r - kR) < 1e-6; }));
    EXPECT_TRUE(std::any_of(signs.begin(), signs.end(), [](double r) { return std::abs(r - kR / 2) < 1e-6; }));
    EXPECT_TRUE(std::any_of(signs.begin(), signs.end(), [](double r) { return std::abs(r - 1125) < 1e-6; }));
    // Noon: 90 - 47.25 + 23.44 = 66.19 degrees on the rim, 42.75 on the equinox circle.
    const auto pieces = Pieces(p.lines(1));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(AngleAt(pieces[0].front()), 66.19, 0.08);
    EXPECT_NEAR(AngleOnCircle(pieces[0], 1125), 42.75, 0.08);
    EXPECT_NEAR(RadiusOf(pieces[0].back()), kR / 2, 1.0);
    // Cancer beside the downward edge, Gemini (the rising half) above the upper edge.
    EXPECT_TRUE(p.hasText(QString(QChar(0x264B))));
    EXPECT_TRUE(p.hasText(QString(QChar(0x264A))));
}

// "21 June inside", as the calendar band has it: the summer solstice on R / 2, the winter
// solstice on the rim, and each hour's number at the line's end on the rim.
TEST(QuadrantDial, ZodiacScaleWithJuneInsideAsTheCalendarBand) {
    DialState s = Quadrant();
    s.quadrantDateScale = 1;
    s.outerLineArrangement = false;
    const RecordingPainter p = Draw(s);
    const auto pieces = Pieces(p.lines(1));
    ASSERT_EQ(pieces.size(), 1u);
    // Noon: 66.19 degrees (summer) on R / 2, 19.31 (winter) on the rim, 42.75 halfway.
    const QPointF summer = pieces[0].front(), winter = pieces[0].back();
    EXPECT_NEAR(RadiusOf(summer), kR / 2, 1.0);
    EXPECT_NEAR(AngleAt(summer), 66.19, 0.08);
    EXPECT_NEAR(RadiusOf(winter), kR, 1.0);
    EXPECT_NEAR(AngleAt(winter), 90 - 47.25 - 23.44, 0.08);
    EXPECT_NEAR(AngleOnCircle(pieces[0], 1125), 42.75, 0.08);
    const auto labels = TextsOf(p, 1);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_NEAR(labels[0].points[0].x(), winter.x() + 15, 1.0);
    EXPECT_NEAR(labels[0].points[0].y(), winter.y() + 15, 1.0);
    // The calendar band of the same choice has 21 June on R / 2 too.
    s.quadrantDateScale = 0;
    const RecordingPainter calendar = Draw(s);
    const auto calendarNoon = Pieces(calendar.lines(1));
    ASSERT_FALSE(calendarNoon.empty());
    EXPECT_NEAR(RadiusOf(calendarNoon[0].front()), kR / 2, 1.0);
    EXPECT_NEAR(AngleAt(calendarNoon[0].front()), 66.19, 0.3);
}

TEST(QuadrantDial, ZoneTimeKeepsTheLongerSideOfNoon) {
    DialState s = Quadrant();
    s.timeSystem = 1;
    s.outerLineArrangement = true;  // numbers at 21 June, when every hour of the range has sun
    s.otherHourFrom = 8;
    s.otherHourTo = 17;
    const std::vector<QString> afternoon{"12", "13", "14", "15", "16", "17"};
    const RecordingPainter p = Draw(s);
    EXPECT_EQ(HourNumbers(p), afternoon);
    // 12 and 13 end 2 mm apart on the rim (hour angles -5.45 and +9.55 degrees at 9.55 E):
    // their numbers must not cover each other.
    const auto labels = TextsOf(p, 1);
    for (size_t i = 0; i < labels.size(); ++i) {
        for (size_t j = i + 1; j < labels.size(); ++j) {
            const QRectF a(labels[i].points[0], QSizeF(0.6 * labels[i].fontHeight * labels[i].text.size(), labels[i].fontHeight));
            const QRectF b(labels[j].points[0], QSizeF(0.6 * labels[j].fontHeight * labels[j].text.size(), labels[j].fontHeight));
            EXPECT_FALSE(a.intersects(b)) << labels[i].text.toStdString() << " " << labels[j].text.toStdString();
        }
    }
    s.otherHourFrom = 7;
    s.otherHourTo = 15;
    const std::vector<QString> morning{"7", "8", "9", "10", "11", "12"};
    EXPECT_EQ(HourNumbers(Draw(s)), morning);
    // Subdivisions of 10 minutes (choice 4) in colour 2: five between full hours.
    s.otherHourFrom = 9;
    s.otherHourTo = 11;
    s.otherHourInterval = '4';
    EXPECT_EQ(Pieces(Draw(s).lines(2)).size(), 10u);
}

TEST(QuadrantDial, EveryHourLineIsNumberedEvenWhenItsEndLiesBelowTheHorizon) {
    // Zone time 18 h at 9.55 E is 17:38 apparent time: the sun has set on 31 December, so
    // the line ends where it leaves the quadrant in autumn; it is numbered there.
    DialState s = Quadrant();
    s.wholeYearBand = true;
    s.timeSystem = 1;
    s.otherHourFrom = 12;
    s.otherHourTo = 18;
    const RecordingPainter p = Draw(s);
    const std::vector<QString> all{"12", "13", "14", "15", "16", "17", "18"};
    EXPECT_EQ(HourNumbers(p), all);
    for (const Primitive& t : TextsOf(p, 1)) {
        EXPECT_GE(t.points[0].x(), kXA) << t.text.toStdString();
        EXPECT_LE(RadiusOf(t.points[0]), kR + 60) << t.text.toStdString();
    }
}

TEST(QuadrantDial, MorningAndAfternoonOfApparentTimeShareOneLineAndOneNumber) {
    DialState s = Quadrant();
    s.outerLineArrangement = true;
    s.otherHourFrom = 10;
    s.otherHourTo = 15;
    const std::vector<QString> numbers{"12", "15", "10/14", "11/13"};
    auto got = HourNumbers(Draw(s));
    std::sort(got.begin(), got.end());
    std::vector<QString> want = numbers;
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
}

TEST(QuadrantDial, TemporalHoursFollowTheHalfDayArc) {
    DialState s = Quadrant();
    s.timeSystem = 2;
    s.quadrantTemporalFrom = 3;
    s.quadrantTemporalTo = 6;
    s.quadrantTemporalInterval = 0;
    const RecordingPainter p = Draw(s);
    EXPECT_TRUE(p.hasText(QStringLiteral("Temporalstunden von 0 - 6 (= Mittag) ")));
    EXPECT_TRUE(p.hasText(QStringLiteral("Stundenlinien zeigen  Temporalstunden")));
    const auto lines = Pieces(p.lines(9));
    ASSERT_EQ(lines.size(), 4u);
    // Temporal hour 6 is noon; temporal hour 3 at the equinox is halfway between sunrise
    // (hour angle -90) and noon: sin h = cos 47.25 cos 45 = 0.4800, h = 28.69 degrees.
    EXPECT_NEAR(AngleAt(lines[3].front()), 66.19, 0.12);
    EXPECT_NEAR(AngleOnCircle(lines[0], 1133), 28.69, 0.3);
}

TEST(QuadrantDial, PolarLatitudeRefusesTemporalHoursOnTheCanvas) {
    DialState s = Quadrant();
    s.latitude = 70;
    s.timeSystem = 2;
    DialResult r;
    const RecordingPainter p = Draw(s, &r);
    EXPECT_FALSE(r.drawn);
    EXPECT_TRUE(p.all(Primitive::Arc).empty());
    EXPECT_TRUE(p.all(Primitive::Line).empty());
    EXPECT_TRUE(p.hasText(QStringLiteral("Temporalstunden sind in dieser geogr. Breite nicht möglich!")));
    EXPECT_TRUE(p.hasText(QStringLiteral("Die Sonnenuhr wird deshalb nicht konstruiert.")));
    EXPECT_TRUE(p.hasText(QStringLiteral("QUADRANT - SONNENUHR")));
    // Clock hours are drawn at that latitude.
    s.timeSystem = 0;
    EXPECT_FALSE(Draw(s).all(Primitive::Arc).empty());
}

TEST(QuadrantDial, DegreeScaleTicksAndNumbers) {
    const RecordingPainter p = Draw(Quadrant());
    // The scale lies 2 mm inside the innermost date circle: a = 750 - 20 = 730. Ticks run
    // inward from a - 1 by 6 mm (tens), 4 mm (fives) or 2.5 mm.
    auto tickEnd = [&](int degree) {
        for (const Primitive& l : p.lines(0)) {
            const double r0 = RadiusOf(l.points[0]);
            if (std::abs(r0 - 729) < 0.5 && std::abs(AngleAt(l.points[0]) - degree) < 1e-6) return RadiusOf(l.points[1]);
        }
        return -1.0;
    };
    EXPECT_NEAR(tickEnd(10), 669, 1e-6);
    EXPECT_NEAR(tickEnd(45), 689, 1e-6);
    EXPECT_NEAR(tickEnd(1), 704, 1e-6);
    EXPECT_NEAR(tickEnd(89), 704, 1e-6);
    for (int n = 10; n <= 80; n += 10) EXPECT_TRUE(p.hasText(QString::number(n))) << n;
    EXPECT_FALSE(p.hasText(QStringLiteral("90")));
    EXPECT_TRUE(Has(ArcRadii(p, 0), 730));
    EXPECT_TRUE(Has(ArcRadii(p, 0), 710));
    EXPECT_TRUE(Has(ArcRadii(p, 0), 690));
}

TEST(QuadrantDial, LegendNamesTheSiteAndTheTimeShown) {
    DialState s = Quadrant();
    EXPECT_TRUE(Draw(s).hasText(QStringLiteral("Stundenlinien zeigen  WOZ ohne Zeitgl. (WOZ)")));
    EXPECT_TRUE(Draw(s).hasText(QStringLiteral("G. Breite =  47.25 Grad, G. Laenge =  -9.55 Grad")));
    s.timeSystem = 1;
    s.constructWithEoT = true;
    s.language = Language::English;
    const RecordingPainter p = Draw(s);
    EXPECT_TRUE(p.hasText(QStringLiteral("Hour lines show Time of zone meridian with EoT")));
    EXPECT_TRUE(p.hasText(QStringLiteral("QUADRANT SUNDIAL")));
    s.quadrantDateScale = 2;
    const RecordingPainter gunter = Draw(s);
    EXPECT_TRUE(gunter.hasText(QStringLiteral("Gunter - Quadrant")));
    // The Gunter quadrant reads the site's apparent time, whatever the clock chosen.
    EXPECT_TRUE(gunter.hasText(QStringLiteral("Hour lines show  Local Apparent Time without EoT")));
    EXPECT_FALSE(gunter.lines(1).empty());
}

TEST(QuadrantDial, ScreenScalesTheRadiusWithTheHeight) {
    RecordingPainter p;
    RecordingDialogs d;
    DialRequest r;
    r.target = DrawTarget::Screen;
    r.clientWidth = 1001;
    r.clientHeight = 700;
    kQuadrantDial.draw(Quadrant(), r, p, d);
    // R = 150 x 700 / 210 = 500 pixels, C = 10 / 3 pixels per mm: apex (1001 / 4, 33).
    bool outline = false;
    for (const Primitive& a : p.all(Primitive::Arc))
        if (a.radius == 500 && a.points[0] == QPointF(250, 33)) outline = true;
    EXPECT_TRUE(outline);
}

TEST(QuadrantDial, EveryScaleHasItsPlotAtItsResolution) {
    DialState s = Quadrant();
    const DialConstruction* c = ConstructionFor(s);
    ASSERT_NE(c, nullptr);
    EXPECT_NE(c->writePlot, nullptr);
    EXPECT_TRUE(c->fixedResolution);  // calendar: 40 units per millimetre, even for DXF
    EXPECT_TRUE(CanSavePlot(s));
    s.quadrantDateScale = 1;
    EXPECT_TRUE(ConstructionFor(s)->fixedResolution);
    s.quadrantDateScale = 2;
    EXPECT_FALSE(ConstructionFor(s)->fixedResolution);  // Gunter: 25-fold for DXF
    EXPECT_TRUE(CanSavePlot(s));
}

}  // namespace
}  // namespace zorva::test
