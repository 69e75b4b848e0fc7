// The planar dial construction, checked through the primitives it draws.
#include "dials/planar_dial.h"
#include "astro/horizon_profile.h"

#include "dials/date_lines.h"
#include "dials/dial_render.h"
#include "dials/hour_line_angles.h"
#include "recording_painter.h"
#include "text/named_texts.h"
#include "text/recording_dialogs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace zorva {
namespace {

using test::Pieces;
using test::Primitive;
using test::RecordingPainter;

constexpr int kWidth = 1152, kHeight = 784;  // 4 pixels per millimetre on an A4 layout

DialState BareState(char letter, double latitude) {
    DialState s = StartupState();
    s.dialType = letter;
    s.latitude = latitude;
    s.longitude = -9.59;
    s.zoneMeridian = -15;
    s.referenceYear = 2013;
    s.zoomFactor = 1.0;
    s.apparentTimeLines = false;
    s.meanTimeLines = false;
    s.markAnalemma = false;
    s.babylonianHours = s.italianHours = s.temporalHours = s.altitudeLines = false;
    s.wholeHourDaylengthLines = false;
    s.drawPoleTriangle = false;
    s.dateLineMode = '3';
    return s;
}

DialRequest ScreenRequest(const DialState& s) { return DefaultScreenRequest(s, QSize(kWidth, kHeight)); }

struct Drawn {
    RecordingPainter painter;
    RecordingDialogs dialogs;
    DialResult result;
};

std::unique_ptr<Drawn> Draw(const DialState& s, DialRequest r) {
    auto d = std::make_unique<Drawn>();
    d->result = DrawPlanarDial(s, r, d->painter, d->dialogs);
    return d;
}
std::unique_ptr<Drawn> Draw(const DialState& s) { return Draw(s, ScreenRequest(s)); }

// Largest distance of the points from the straight line through the first and last.
double Bow(const std::vector<QPointF>& pts) {
    const QPointF a = pts.front(), b = pts.back();
    const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
    double worst = 0;
    for (const QPointF& p : pts)
        worst = std::max(worst, std::abs((b.x() - a.x()) * (a.y() - p.y()) - (a.x() - p.x()) * (b.y() - a.y())) / len);
    return worst;
}

TEST(DateLineTable, ChoicesGiveTheirDaysAndLabels) {
    DialState s = BareState('h', 47.25);
    s.dateLineMode = '0';
    auto zodiac = BuildDateLineTable(s, nullptr);
    ASSERT_EQ(zodiac.size(), 7u);
    EXPECT_EQ(zodiac.front().label, QStringLiteral("21.06."));
    EXPECT_NEAR(zodiac.front().declination, 23.44, 0.01);
    EXPECT_EQ(zodiac[3].declination, 0.0);
    EXPECT_NEAR(zodiac.back().declination, -23.44, 0.01);

    s.dateLineMode = '1';
    auto twice = BuildDateLineTable(s, nullptr);
    ASSERT_EQ(twice.size(), 13u);
    EXPECT_EQ(twice[0].label, QStringLiteral("22.06."));
    EXPECT_EQ(twice[1].label, QStringLiteral(" 7.07."));
    EXPECT_EQ(twice[12].label, QStringLiteral("22.12."));

    s.dateLineMode = '2';
    s.dateLineList.clear();
    auto empty = BuildDateLineTable(s, nullptr);
    ASSERT_EQ(empty.size(), 3u);
    EXPECT_EQ(empty[0].label, QStringLiteral("21.06."));
    EXPECT_EQ(empty[1].label, QStringLiteral("23.09."));
    EXPECT_EQ(empty[2].label, QStringLiteral("21.12."));
    EXPECT_TRUE(empty[1].fixedDeclination);
    EXPECT_EQ(empty[1].declination, 0.0);

    s.dateLineMode = '3';
    EXPECT_TRUE(BuildDateLineTable(s, nullptr).empty());
}

TEST(DateLineTable, AnUnreadableOwnDateIsReportedAndRepeatsThePreviousOne) {
    DialState s = BareState('h', 47.25);
    s.dateLineMode = '2';
    s.dateLineList = {QStringLiteral("15/05 Geburtstag"), QStringLiteral("3x/07"), QStringLiteral("01/08")};
    RecordingDialogs dialogs;
    auto lines = BuildDateLineTable(s, &dialogs);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].dayOfYear, lines[0].dayOfYear);
    EXPECT_EQ(lines[2].label, QStringLiteral(" 1.08."));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("3x/07 : Datum fehlerhaft!"));
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Fehler!"));
    int d = 0, m = 0;
    EXPECT_FALSE(ParseDateLineEntry(QStringLiteral("31/02"), 2013, d, m));
    EXPECT_TRUE(ParseDateLineEntry(QStringLiteral("29/02"), 2012, d, m));
    // Single digits, as a hand-written settings file may hold them, are the same dates.
    ASSERT_TRUE(ParseDateLineEntry(QStringLiteral("1/3 Frühlingsanfang"), 2012, d, m));
    EXPECT_EQ(d, 1);
    EXPECT_EQ(m, 3);
    ASSERT_TRUE(ParseDateLineEntry(QStringLiteral("7/11"), 2012, d, m));
    EXPECT_EQ(d, 7);
    EXPECT_EQ(m, 11);
    EXPECT_FALSE(ParseDateLineEntry(QStringLiteral("31/04"), 2012, d, m));
}

TEST(PlanarDial, TheEquinoxLineOfAHorizontalDialIsStraight) {
    DialState s = BareState('h', 47.25);
    s.dateLineMode = '2';
    s.dateLineList = {QStringLiteral("23/09")};
    auto d = Draw(s);
    auto pieces = Pieces(d->painter.lines(0));
    ASSERT_EQ(pieces.size(), 1u);
    ASSERT_GT(pieces[0].size(), 20u);
    EXPECT_LT(Bow(pieces[0]), 1e-6);
    // A day beside it, traced with its own declination, is a curve.
    s.dateLineList = {QStringLiteral("24/09")};
    auto bent = Pieces(Draw(s)->painter.lines(0));
    ASSERT_EQ(bent.size(), 1u);
    EXPECT_GT(Bow(bent[0]), 0.5);
}

TEST(PlanarDial, EmptyOwnListDrawsSolsticesAndEquinox) {
    DialState s = BareState('h', 47.25);
    s.dateLineMode = '2';
    auto d = Draw(s);
    EXPECT_EQ(Pieces(d->painter.lines(0)).size(), 3u);
    EXPECT_TRUE(d->dialogs.events.empty());
}

TEST(PlanarDial, TenMinuteIntervalGivesSixLinesPerHour) {
    EXPECT_EQ(LinesPerHour('0'), 1);
    EXPECT_EQ(LinesPerHour('3'), 4);
    EXPECT_EQ(LinesPerHour('4'), 6);
    EXPECT_EQ(LinesPerHour('6'), 6);
    DialState s = BareState('h', 47.25);
    s.apparentTimeLines = true;
    s.hourFrom = 10;
    s.hourTo = 11;
    s.hourLineInterval = '4';
    auto d = Draw(s);
    EXPECT_EQ(Pieces(d->painter.lines(2)).size(), 2u);  // 10 and 11 o'clock
    EXPECT_EQ(Pieces(d->painter.lines(7)).size(), 5u);  // 10:10 .. 10:50, nothing past 11
}

TEST(PlanarDial, NoonLineOfAHorizontalDialRunsThroughTheGnomonFoot) {
    DialState s = BareState('h', 47.25);
    s.apparentTimeLines = true;
    s.hourFrom = s.hourTo = 12;
    s.hourLineInterval = '0';
    auto d = Draw(s);
    auto pieces = Pieces(d->painter.lines(2));
    ASSERT_EQ(pieces.size(), 1u);
    const double x0 = DefaultGnomonPlacement(s, kWidth, kHeight).originX;
    for (const QPointF& p : pieces[0]) EXPECT_NEAR(p.x(), x0, 1e-6);
}

TEST(PlanarDial, HighLatitudeRefusesBabylonianAndItalianButDrawsTemporalHours) {
    DialState s = BareState('h', 65.5);
    s.babylonianHours = s.italianHours = s.temporalHours = true;
    auto d = Draw(s);
    ASSERT_EQ(d->dialogs.events.size(), 1u);
    EXPECT_EQ(d->dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Problem!"));
    EXPECT_EQ(d->dialogs.events[0].text,
              QStringLiteral("Italische und Babylonische Stunden\r\nsind nicht möglich (zu hohe geogr. Breite)!"));
    EXPECT_FALSE(d->painter.lines(9).empty());  // temporal hours
    EXPECT_TRUE(d->painter.lines(5).empty());
    EXPECT_TRUE(d->painter.lines(6).empty());

    s.latitude = 66.5;
    s.language = Language::English;
    auto e = Draw(s);
    ASSERT_EQ(e->dialogs.events.size(), 2u);
    EXPECT_EQ(e->dialogs.events[0].text, QStringLiteral(" Temporal hours\r\nnot possible. Latitude to high!"));
    EXPECT_TRUE(e->painter.lines(9).empty());
    EXPECT_TRUE(e->result.drawn);
}

TEST(PlanarDial, BabylonianAndItalianHoursAreLabelledOnEvenHoursWithoutNumerals) {
    DialState s = BareState('v', 47.25);
    s.babylonianHours = s.italianHours = true;
    s.numeralStyle = NumeralStyle::None;
    auto d = Draw(s);
    EXPECT_TRUE(d->dialogs.events.empty());
    EXPECT_FALSE(d->painter.lines(6).empty());
    EXPECT_FALSE(d->painter.lines(5).empty());
    int labels = 0;
    for (const auto& p : d->painter.all(Primitive::Text))
        if (p.role == 5 || p.role == 6) {
            ++labels;
            EXPECT_EQ(p.text.toInt() % 2, 0) << p.text.toStdString();
        }
    EXPECT_GE(labels, 4);
}

// A north wall sees the sun only early and late in summer: its date lines fall apart into
// pieces, and every piece starts and ends on the border of the drawing area.
TEST(PlanarDial, NorthFacingWallDrawsOnlyLitPiecesEndingOnTheBorder) {
    DialState s = BareState('v', 47.25);
    s.wallDeclination = 180;
    s.dateLineMode = '0';
    DialRequest r = ScreenRequest(s);
    r.originY = 300;
    auto d = Draw(s, r);
    const double w = kWidth - 32, h = kHeight - 32;
    auto onBorder = [&](QPointF p) {
        return std::abs(p.x()) < 1e-6 || std::abs(p.x() - w) < 1e-6 || std::abs(p.y() - 300) < 1e-6 ||
               std::abs(p.y() - h) < 1e-6;
    };
    auto pieces = Pieces(d->painter.lines(0));
    ASSERT_GE(pieces.size(), 4u);
    for (const auto& piece : pieces) {
        EXPECT_TRUE(onBorder(piece.front())) << piece.front().x() << "," << piece.front().y();
        EXPECT_TRUE(onBorder(piece.back())) << piece.back().x() << "," << piece.back().y();
        for (const QPointF& p : piece) EXPECT_GE(p.y(), 300 - 1e-6);  // never above the horizon row
    }
}

TEST(PlanarDial, InclinedUmbrellaChecks) {
    DialState s = BareState('i', 47.25);
    s.umbrellaDial = true;
    s.umbrellaCircleRatio = 0.35;
    s.planeInclination = 75;  // tan 75 = 3.7 >= 1 / 0.35
    s.dateLineMode = '0';
    auto refused = Draw(s);
    EXPECT_FALSE(refused.get()->result.drawn);
    ASSERT_EQ(refused->dialogs.events.size(), 1u);
    EXPECT_EQ(refused->dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Warnung!"));
    EXPECT_EQ(refused->dialogs.events[0].text,
              QStringLiteral("Diese Neigung der Pultuhr ist beim gegebenen Kreisradius nicht möglich !"));
    EXPECT_TRUE(refused->painter.lines(0).empty());

    s.umbrellaCircleRatio = 0;
    auto zero = Draw(s);
    EXPECT_TRUE(zero->result.drawn);
    ASSERT_EQ(zero->dialogs.events.size(), 1u);
    EXPECT_EQ(zero->dialogs.events[0].text, QStringLiteral("Kreisradius = 0 ist nicht zulässig !"));
    EXPECT_FALSE(zero->painter.lines(0).empty());

    s.umbrellaCircleRatio = 0.35;
    s.planeInclination = 30;
    auto fine = Draw(s);
    EXPECT_TRUE(fine->dialogs.events.empty());
    EXPECT_FALSE(fine->painter.lines(0).empty());
    EXPECT_TRUE(fine->painter.hasText(QStringLiteral("SCHIRMUHR,pultfoermig")));
}

TEST(PlanarDial, GnomonMeasureIsTheGnomonToScaleOnThePrinter) {
    DialState s = BareState('v', 47.25);
    DialRequest r;
    r.target = DrawTarget::Printer;
    r.clientWidth = 2820;
    r.clientHeight = 2000;
    r.offsetX = 75;
    r.offsetY = 50;
    r.originX = 1500;
    r.originY = 100;
    auto d = Draw(s, r);
    // The measure is the first polyline in the text colour that starts with a short tick.
    bool found = false;
    for (const auto& piece : Pieces(d->painter.lines(3))) {
        if (piece.size() != 5) continue;
        EXPECT_DOUBLE_EQ(piece[2].y() - piece[1].y(), 350.0);  // 35 mm in 0.1 mm units
        EXPECT_DOUBLE_EQ(piece[3].x() - piece[2].x(), 350.0);
        found = true;
    }
    EXPECT_TRUE(found);
    EXPECT_TRUE(d->painter.hasText(QStringLiteral("Gnomon Höhe: (= 35.00)")));
    EXPECT_EQ(d->result.gnomonMm, 35.0);
}

TEST(PlanarDial, AnalemmaMarksTheFirstOfEachMonthInRed) {
    DialState s = BareState('h', 47.25);
    s.markAnalemma = true;
    s.analemmaHour = 12;
    s.dayMarkings = 1;  // 1st and 15th
    auto d = Draw(s);
    int red = 0, open = 0;
    for (const auto& c : d->painter.all(Primitive::Circle)) {
        if (c.fill == FillStyle::Solid && c.fillRgb == colour::kRed) ++red;
        if (c.fill == FillStyle::None) ++open;
        EXPECT_EQ(c.radius, 2);
    }
    EXPECT_EQ(red, 12);
    EXPECT_EQ(open, 12);
    // The figure-of-eight closes on itself.
    auto pieces = Pieces(d->painter.lines(3));
    ASSERT_FALSE(pieces.empty());
    const auto& loop = pieces.back();
    EXPECT_LT(std::hypot(loop.front().x() - loop.back().x(), loop.front().y() - loop.back().y()), 1.0);
}

TEST(PlanarDial, PoleTriangleIsAFilledPolygonWithItsLetters) {
    DialState s = BareState('h', 47.25);
    s.drawPoleTriangle = true;
    auto d = Draw(s);
    auto polygons = d->painter.all(Primitive::Polygon);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].fill, FillStyle::DiagonalHatch);
    EXPECT_EQ(polygons[0].fillRgb, colour::kGrey);
    ASSERT_EQ(polygons[0].points.size(), 3u);
    const QPointF F = polygons[0].points[0], S = polygons[0].points[1], P = polygons[0].points[2];
    // Right angle at the gnomon foot, the folded nodus one gnomon length away (35 mm * 4 px).
    EXPECT_NEAR((S.x() - F.x()) * (P.x() - F.x()) + (S.y() - F.y()) * (P.y() - F.y()), 0.0, 1e-6);
    EXPECT_NEAR(std::hypot(P.x() - F.x(), P.y() - F.y()), 140.0, 1e-9);
    // The style's angle with the plane is the latitude.
    const double angle = std::atan2(std::hypot(P.x() - F.x(), P.y() - F.y()), std::hypot(S.x() - F.x(), S.y() - F.y()));
    EXPECT_NEAR(angle * 180 / 3.14159265358979, 47.25, 1e-6);
    EXPECT_TRUE(d->painter.hasText(QStringLiteral("S")));
    EXPECT_TRUE(d->painter.hasText(QStringLiteral("P")));
}

TEST(PlanarDial, HourLinesReachTheStyleFootAfterAPlainDraw) {
    DialState s = BareState('h', 47.25);
    s.apparentTimeLines = true;
    s.hourLineInterval = '0';
    s.linesToStyleFoot = true;
    DialRequest r = ScreenRequest(s);
    r.originY = 300;  // style foot at 300 + 140 / tan(47.25), inside the drawing
    const double footY = 300 + 140 / std::tan(47.25 * 3.14159265358979 / 180);
    // Lines that reach the style foot, from their farthest sample or (when the sun lights the
    // line only outside the drawing) along the table's angle from the foot outward.
    auto endsAtFoot = [&](const RecordingPainter& painter) {
        int n = 0;
        for (const auto& l : painter.lines(2))
            for (const QPointF& p : l.points)
                if (std::hypot(p.x() - r.originX, p.y() - footY) < 1e-6) ++n;
        return n;
    };
    const int hours = s.hourTo - s.hourFrom + 1;
    const QString sunOnDial = TextOf(TextId::SunOnDialPlane, s.language);
    auto showsSunlitTimes = [&](const RecordingPainter& painter) {
        for (const Primitive& p : painter.items)
            if (p.kind == Primitive::Text && p.text.startsWith(sunOnDial)) return true;
        return false;
    };
    // Whatever the window had computed before (nothing, a table without the lit range, the
    // angle panel's table), the drawing is the same.
    const auto plain = Draw(s, r);
    EXPECT_EQ(endsAtFoot(plain->painter), hours);
    EXPECT_TRUE(showsSunlitTimes(plain->painter));
    HourLineAngles noPanel = ComputeHourLineAngles(s, false);
    r.angles = &noPanel.table;
    EXPECT_EQ(endsAtFoot(Draw(s, r)->painter), hours);
    HourLineAngles panel = ComputeHourLineAngles(s, true);
    ASSERT_TRUE(panel.table.litRangeKnown);
    r.angles = &panel.table;
    const auto afterPanel = Draw(s, r);
    EXPECT_EQ(endsAtFoot(afterPanel->painter), hours);
    EXPECT_EQ(afterPanel->painter.items.size(), plain->painter.items.size());
    // On paper too.
    DialRequest page;
    page.target = DrawTarget::Printer;
    page.clientWidth = 2800;
    page.clientHeight = 2000;
    page.originX = 1400;
    page.originY = 700;
    const auto printed = Draw(s, page);
    EXPECT_TRUE(showsSunlitTimes(printed->painter));
}

TEST(HourLineAngleTable, HorizontalDialAnglesAndLitRange) {
    DialState s = BareState('h', 47.25);
    s.hourFrom = 9;
    s.hourTo = 15;
    s.hourLineInterval = '0';
    const HourLineAngles a = ComputeHourLineAngles(s, true);
    ASSERT_EQ(a.rows.size(), 7u);
    for (const auto& row : a.rows) {
        // Measured as the continuation to the style foot draws them: afternoon lines of a
        // horizontal dial negative.
        const double expected =
            -std::atan(std::sin(47.25 * 3.14159265358979 / 180) * std::tan(15 * (row.time - 12) * 3.14159265358979 / 180)) *
            180 / 3.14159265358979;
        EXPECT_NEAR(row.angle, expected, 0.01) << row.time;
    }
    // A horizontal plane is lit from the earliest to the latest sunrise of the year.
    EXPECT_NEAR(a.table.firstLitHourAngle, -117.5, 1.0);
    EXPECT_NEAR(a.table.lastLitHourAngle, 117.5, 1.0);
    // A loaded horizon profile: 10 degrees of hills in the east delay the first light to the
    // moment the summer sun has climbed them; the open west keeps the last light.
    {
        auto hills = std::make_shared<HorizonProfile>();
        for (int k = 0; k < kHorizonRecordCount; ++k) {
            if (HorizonSectorAzimuth(k) >= 0) continue;
            hills->records[k].elevation = 10.0;
            hills->records[k].distanceMetres = 3000;
            hills->records[k].empty = false;
        }
        DialState behind = s;
        behind.horizonProfile = hills;
        const HourLineAngles h = ComputeHourLineAngles(behind, true);
        const double phi = 47.25 * 3.14159265358979 / 180, delta = 23.44 * 3.14159265358979 / 180;
        const double climbed = -std::acos((std::sin(10 * 3.14159265358979 / 180) - std::sin(phi) * std::sin(delta)) /
                                          (std::cos(phi) * std::cos(delta))) * 180 / 3.14159265358979;
        EXPECT_NEAR(h.table.firstLitHourAngle, climbed, 0.5);
        EXPECT_DOUBLE_EQ(h.table.lastLitHourAngle, a.table.lastLitHourAngle);
        EXPECT_NE(h.sunlitPeriod, a.sunlitPeriod);
    }
    // The period reads in the dial's time: 9.55 E with hour lines for the 15 E meridian is
    // 21.8 minutes later than local apparent time, the lit hour angles stay.
    s.longitude = -9.55;
    s.zoneMeridian = -15.0;
    s.localTimeDisplay = false;
    const QString local = ComputeHourLineAngles(s, true).sunlitPeriod;
    s.localTimeDisplay = true;
    const HourLineAngles zone = ComputeHourLineAngles(s, true);
    EXPECT_DOUBLE_EQ(zone.table.firstLitHourAngle, a.table.firstLitHourAngle);
    auto minutes = [](const QString& hhmm) { return hhmm.section(QLatin1Char(':'), 0, 0).trimmed().toInt() * 60 + hhmm.section(QLatin1Char(':'), 1, 1).left(2).toInt(); };
    const QString localFrom = local.section(QStringLiteral(" - "), 0, 0), zoneFrom = zone.sunlitPeriod.section(QStringLiteral(" - "), 0, 0);
    EXPECT_NEAR(minutes(zoneFrom) - minutes(localFrom), 22, 1) << local.toStdString() << " / " << zone.sunlitPeriod.toStdString();
    const QStringList lines = HourLineAngleTableLines(s, a);
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[1], QStringLiteral("  [hh;mm]    [dd.dd]   tan(alpha)"));
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("  12:00       0.00"))) << lines[5].toStdString();
    // A north wall sees no sun at noon: that line has no angle.
    s.dialType = 'v';
    s.wallDeclination = 180;
    const HourLineAngles north = ComputeHourLineAngles(s, false);
    EXPECT_EQ(north.rows[3].angle, HourLineAngleTable::kNone);
    EXPECT_TRUE(HourLineAngleTableLines(s, north)[5].contains(QStringLiteral("-----")));
}

TEST(PlanarDial, GridLinesEveryCentimetreThroughTheGnomonFoot) {
    DialState s = BareState('h', 47.25);
    DialRequest r = ScreenRequest(s);
    r.grid = true;
    auto d = Draw(s, r);
    std::vector<double> xs;
    for (const auto& l : d->painter.lines(8))
        if (l.points[0].x() == l.points[1].x()) xs.push_back(l.points[0].x());
    ASSERT_GT(xs.size(), 20u);
    for (size_t i = 1; i < xs.size(); ++i) EXPECT_DOUBLE_EQ(xs[i] - xs[i - 1], 40.0);
    EXPECT_NE(std::find(xs.begin(), xs.end(), r.originX), xs.end());
}

TEST(PlanarLegend, TitlesAndOrientationLinesInBothLanguages) {
    DialState s = BareState('v', 47.25);
    PlanarLegend v = PlanarLegendTexts(s);
    EXPECT_EQ(v.title, QStringLiteral("vertikale SONNENUHR"));
    EXPECT_EQ(v.orientation, QStringLiteral("Suedabweichung=-11.70 Grad"));
    EXPECT_EQ(v.position, QStringLiteral("G. Breite =  47.25 Grad, G. Laenge =  -9.59 Grad"));
    s.umbrellaDial = true;
    EXPECT_EQ(PlanarLegendTexts(s).orientation, QStringLiteral("Suedabweichung=-11.70 Grad; Radius r = 0.350 x h"));
    s.dialType = 'i';
    EXPECT_EQ(PlanarLegendTexts(s).orientation,
              QStringLiteral("Neigung= 25.46 Grad; Suedabweichung=-11.70 Grad; r =  0.35 x h"));
    s.umbrellaDial = false;
    EXPECT_EQ(PlanarLegendTexts(s).title, QStringLiteral("inklinierende SONNENUHR"));
    EXPECT_EQ(PlanarLegendTexts(s).orientation, QStringLiteral("Suedabweichung=-11.70 Grad;  Neigung= 25.46 Grad"));
    s.planeInclination = 0;
    EXPECT_EQ(PlanarLegendTexts(s).title, QStringLiteral("horizontale SONNENUHR"));
    s.dialType = 'h';
    EXPECT_TRUE(PlanarLegendTexts(s).orientation.isEmpty());
    s.umbrellaDial = true;
    s.language = Language::English;
    PlanarLegend h = PlanarLegendTexts(s);
    EXPECT_EQ(h.title, QStringLiteral("horizontal Umbrella Sundial"));
    EXPECT_EQ(h.orientation, QStringLiteral("Disk radius r =  0.35 x height"));
    EXPECT_EQ(h.position, QStringLiteral("Latitude =  47.25 deg , Longitude =  -9.59 deg "));
}

// Extreme sites, planes, gnomons and zooms: the construction ends, and every stroke it
// draws is finite and stays on the drawing.
TEST(PlanarDial, BadInputNeverDrawsOutsideTheArea) {
    const std::pair<double, double> sizes[] = {{3.0, 1.0}, {500.0, 1.0}, {35.0, 1e4}};
    int cases = 0;
    for (char letter : {'h', 'v', 'i'}) {
        for (bool umbrella : {false, true}) {
            for (double lat : {1e-6, -1e-6, 90.0, -90.0, 65.5}) {
                for (double decl : {-180.0, 90.0}) {
                    for (double incl : {1e-9, 175.0}) {
                        DialState s = StartupState();
                        s.dialType = letter;
                        s.umbrellaDial = umbrella;
                        s.latitude = lat;
                        s.wallDeclination = decl;
                        s.planeInclination = incl;
                        s.gnomonLength = sizes[cases % 3].first;
                        s.zoomFactor = sizes[cases % 3].second;
                        s.meanTimeLines = s.babylonianHours = s.italianHours = s.temporalHours = true;
                        s.altitudeLines = s.wholeHourDaylengthLines = s.linesToStyleFoot = true;
                        s.drawPoleTriangle = (cases / 3) % 2 == 0;
                        s.dateLineMode = '1';
                        RecordingPainter painter;
                        RecordingDialogs dialogs;
                        DrawPlanarDial(s, ScreenRequest(s), painter, dialogs);
                        for (const auto& p : painter.items) {
                            if (p.kind != Primitive::Line && p.kind != Primitive::Polygon) continue;
                            for (const QPointF& q : p.points) {
                                ASSERT_TRUE(std::isfinite(q.x()) && std::isfinite(q.y()));
                                ASSERT_GE(q.x(), -1) << letter << umbrella << " " << lat << " " << decl << " " << incl;
                                ASSERT_LE(q.x(), kWidth) << letter << umbrella << " " << lat << " " << decl << " " << incl;
                                ASSERT_GE(q.y(), -1) << letter << umbrella << " " << lat << " " << decl << " " << incl;
                                ASSERT_LE(q.y(), kHeight) << letter << umbrella << " " << lat << " " << decl << " " << incl;
                            }
                        }
                        ++cases;
                    }
                }
            }
        }
    }
    EXPECT_EQ(cases, 120);
}

}  // namespace
}  // namespace zorva
