// The planar dial as a plot stream: head and order of its parts, pens, windows, the
// resolution factor, pen widths, the grid, the origins per dial kind and the coordinate
// listing against the plotted points.
#include "dials/planar_plot.h"
#include "plot/plot_stream.h"
#include "support/test_support.h"

#include <QBuffer>
#include <QRegularExpression>

#include <cmath>

namespace zorva::test {
namespace {

struct Written {
    QString plot;
    QStringList listing;
    bool drawn = false;
    RecordingDialogs dialogs;
};

Written Write(const DialState& s, int p = 1, PlanarPlotOptions options = {}, bool withListing = false) {
    Written w;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, p);
    CoordinateListing listing(s.language, {}, 40);
    if (withListing) options.listing = &listing;
    w.drawn = WritePlanarDialPlot(s, stream, options, w.dialogs);
    w.plot = QString::fromLatin1(buffer.data());
    w.listing = listing.lines();
    return w;
}

QStringList Commands(const QString& plot) { return plot.split(QLatin1Char(';'), Qt::SkipEmptyParts); }

// The first command from `from` on that is `text` (pens, windows) or, for labels, starts with it.
qsizetype IndexOf(const QStringList& commands, const QString& text, qsizetype from = 0) {
    const bool prefix = text.startsWith(QStringLiteral("LB"));
    for (qsizetype i = std::max<qsizetype>(from, 0); i < commands.size(); ++i)
        if (prefix ? commands[i].startsWith(text) : commands[i] == text) return i;
    return -1;
}

TEST(PlanarPlot, DefaultVerticalDialStartsWithTheSheetAndItsLegend) {
    const Written w = Write(StartupState());
    ASSERT_TRUE(w.drawn);
    EXPECT_TRUE(w.plot.startsWith(QStringLiteral("IN;VS 1;PA;IW 0 0 16157 11038;PU 0 0;EA 16157 11038;;SP 4;PU 0 0;")))
        << w.plot.left(120).toStdString();
    // The legend of the wall in pen 4, its title in the larger size, then the other lines.
    EXPECT_TRUE(w.plot.contains(QStringLiteral(";SI  0.30, 0.45;LBvertikale SONNENUHR\x03")));
    EXPECT_TRUE(w.plot.contains(QStringLiteral(";LBSuedabweichung=-11.70 Grad\x03")));
    EXPECT_TRUE(w.plot.contains(QStringLiteral(";LBG. Breite =  47.25 Grad, G. Laenge =  -9.59 Grad\x03")));
    EXPECT_TRUE(w.plot.contains(QStringLiteral(";LBGnomon Hoehe: (= 35.00)\x03")));
    EXPECT_FALSE(w.plot.contains(QLatin1Char('\n')));
}

TEST(PlanarPlot, PartsFollowInTheirOrderWithTheirPens) {
    DialState s = StartupState();
    s.meanTimeLines = true;
    s.italianHours = true;
    s.babylonianHours = true;
    s.temporalHours = true;
    s.altitudeLines = true;
    s.wholeHourDaylengthLines = true;
    const QStringList c = Commands(Write(s).plot);
    const qsizetype legend = IndexOf(c, QStringLiteral("LBvertikale"));
    const qsizetype horizon = IndexOf(c, QStringLiteral("SP 5"));
    const qsizetype dayLength = IndexOf(c, QStringLiteral("SP 11"));
    const qsizetype dates = IndexOf(c, QStringLiteral("SP 1"), dayLength);
    const qsizetype window = IndexOf(c, QStringLiteral("IW 0 0 16151 11010"));
    const qsizetype temporal = IndexOf(c, QStringLiteral("SP 10"));
    const qsizetype babylonian = IndexOf(c, QStringLiteral("SP 7"));
    const qsizetype italian = IndexOf(c, QStringLiteral("SP 6"));
    const qsizetype altitude = IndexOf(c, QStringLiteral("SP 5"), italian);
    const qsizetype apparent = IndexOf(c, QStringLiteral("SP 3"), altitude);
    const qsizetype mean = IndexOf(c, QStringLiteral("SP 2"), apparent);
    const qsizetype square = IndexOf(c, QStringLiteral("IW 0 0 16157 11038"), mean);
    const std::vector<qsizetype> order = {legend, horizon, dayLength, dates, window, temporal, babylonian,
                                          italian, altitude, apparent, mean, square};
    for (size_t i = 0; i < order.size(); ++i) {
        ASSERT_GE(order[i], 0) << i;
        if (i > 0) {
            EXPECT_LT(order[i - 1], order[i]) << i;
        }
    }
    // The horizon of the wall runs along the row of the nodus foot point (11038 - 38).
    EXPECT_EQ(c[horizon + 1], QStringLiteral("PU 5 11000"));
    // The nodus foot square and the dashed line toward the style foot close the plot.
    const qsizetype corner = IndexOf(c, QStringLiteral("PU 8140 10940"), square);
    ASSERT_GT(corner, square);
    EXPECT_EQ(c[corner + 1], QStringLiteral("PD 8260 10940 8260 11060 8140 11060 8140 10940"));
    EXPECT_EQ(c[corner + 2], QStringLiteral("LT 2,2"));
    EXPECT_EQ(c[corner + 3], QStringLiteral("PU 8200 11000"));
    // Only pens 1 to 12 are used.
    for (const QString& cmd : c)
        if (cmd.startsWith(QStringLiteral("SP "))) {
            const int pen = cmd.mid(3).toInt();
            EXPECT_TRUE(pen >= 1 && pen <= 12) << cmd.toStdString();
        }
}

// Every number of every coordinate command, in order.
std::vector<double> Numbers(const QString& plot) {
    std::vector<double> out;
    static const QRegularExpression number(QStringLiteral("-?\\d+(\\.\\d+)?"));
    for (const QString& cmd : Commands(plot)) {
        const QString name = cmd.left(2);
        if (name != QLatin1String("PU") && name != QLatin1String("PD") && name != QLatin1String("IW") &&
            name != QLatin1String("EA") && name != QLatin1String("CI"))
            continue;
        // A circle's radius scales, its chord angle does not.
        auto it = number.globalMatch(name == QLatin1String("CI") ? cmd.mid(2).section(QLatin1Char(','), 0, 0) : cmd.mid(2));
        while (it.hasNext()) out.push_back(it.next().captured().toDouble());
    }
    return out;
}

TEST(PlanarPlot, ResolutionFactorScalesEveryCoordinateButNotTheListing) {
    DialState s = StartupState();
    s.meanTimeLines = true;
    s.dateLineMode = '1';
    const Written low = Write(s, 1, {}, true), high = Write(s, 25, {}, true);
    const std::vector<double> a = Numbers(low.plot), b = Numbers(high.plot);
    ASSERT_EQ(a.size(), b.size());
    ASSERT_GT(a.size(), 1000u);
    int exact = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        // Rounded separately: within half a unit of the high-resolution plot, times 25.
        EXPECT_LE(std::abs(b[i] - 25 * a[i]), 12.5 + 1e-9) << i;
        if (b[i] == 25 * a[i]) ++exact;
    }
    EXPECT_LT(exact, static_cast<int>(a.size()));  // the finer plot is really finer
    EXPECT_TRUE(high.plot.startsWith(QStringLiteral("IN;VS 1;PA;IW 0 0 403925 275950;PU 0 0;EA 403925 275950;")));
    EXPECT_EQ(Commands(low.plot).filter(QStringLiteral("SP ")), Commands(high.plot).filter(QStringLiteral("SP ")));
    EXPECT_EQ(low.listing, high.listing);
    EXPECT_GT(low.listing.size(), 50);
}

TEST(PlanarPlot, WallWithItsFootAtTheTopKeepsTheWholeSheetForHourLines) {
    PlanarPlotOptions options;
    WindowPlacement at;
    at.imageSize = QSizeF(1000, 700);
    at.origin = QPointF(500, 0.5);  // row 8 of the sheet: y0 = 11030 >= 11028
    at.text = QPointF(300, 600);
    at.originFixed = true;
    options.placement = at;
    const QStringList top = Commands(Write(StartupState(), 1, options).plot);
    const qsizetype dates = IndexOf(top, QStringLiteral("SP 1"));
    const qsizetype hours = IndexOf(top, QStringLiteral("SP 3"), dates);
    ASSERT_GT(hours, dates);
    EXPECT_EQ(top.mid(dates, hours - dates).filter(QStringLiteral("IW ")), QStringList{QStringLiteral("IW 0 0 16157 11038")});

    // Lower down only the wall below the nodus row (and 10 units) takes hour lines.
    at.origin = QPointF(500, 70);  // row 1104: y0 = 9934
    options.placement = at;
    const QStringList lower = Commands(Write(StartupState(), 1, options).plot);
    EXPECT_GE(IndexOf(lower, QStringLiteral("IW 0 0 16151 9944")), 0);
    EXPECT_GE(IndexOf(lower, QStringLiteral("PU 5 9934")), 0);  // the horizon follows the foot
}

TEST(PlanarPlot, PenWidthsOnlyForThickerLines) {
    DialState s = StartupState();
    s.lineWidth = '1';
    EXPECT_FALSE(Write(s).plot.contains(QStringLiteral("PW")));
    s.lineWidth = '3';
    const QStringList c = Commands(Write(s).plot);
    // Finest pen for the legend, the line width for the dial's lines, finest again for the marks.
    const qsizetype first = IndexOf(c, QStringLiteral("PW 0")), thick = IndexOf(c, QStringLiteral("PW 2"));
    const qsizetype last = IndexOf(c, QStringLiteral("PW 0"), thick);
    ASSERT_GE(first, 0);
    ASSERT_GT(thick, first);
    ASSERT_GT(last, thick);
    EXPECT_LT(first, IndexOf(c, QStringLiteral("LBvertikale")));
    EXPECT_LT(IndexOf(c, QStringLiteral("SP 5")), thick);
    EXPECT_LT(thick, IndexOf(c, QStringLiteral("SP 1")));
    EXPECT_LT(last, IndexOf(c, QStringLiteral("PD 8260 10940 8260 11060 8140 11060 8140 10940")));
}

TEST(PlanarPlot, CoordinateGridThroughTheNodusFootPoint) {
    DialState s = StartupState();
    s.dialType = 'h';
    PlanarPlotOptions options;
    options.grid = true;
    options.gridMm = 20;
    const QString plot = Write(s, 1, options).plot;
    // Horizontal dial at 47.25 N: the foot at (8200, 4000).
    const QString head = QStringLiteral(";IW 0 0 16150 11030;SP 9;PU 8200 4000;CI 80,3;");
    const qsizetype at = plot.indexOf(head);
    ASSERT_GE(at, 0) << plot.left(300).toStdString();
    // The grid's lines follow up to the next command of its own.
    const QString grid = plot.mid(at + head.size(), plot.indexOf(QStringLiteral(";;"), at) - at - head.size() + 1);
    static const QRegularExpression line(QStringLiteral("PU (\\d+) (\\d+);PD (\\d+) (\\d+);"));
    EXPECT_EQ(grid.count(QStringLiteral("PU ")), grid.count(line));
    auto it = line.globalMatch(grid);
    int vertical = 0, horizontal = 0;
    while (it.hasNext()) {
        const auto m = it.next();
        const int x1 = m.captured(1).toInt(), y1 = m.captured(2).toInt();
        const int x2 = m.captured(3).toInt(), y2 = m.captured(4).toInt();
        if (x1 == x2) {
            EXPECT_EQ((x1 - 8200) % 800, 0) << x1;
            EXPECT_GE(x1, 2);
            EXPECT_LE(x1, 16148);
            EXPECT_EQ(y1, 2);
            EXPECT_EQ(y2, 11028);
            ++vertical;
        } else if (y1 == y2 && x1 == 2) {
            EXPECT_EQ((y1 - 4000) % 800, 0) << y1;
            ++horizontal;
        } else {
            ADD_FAILURE() << m.captured().toStdString();
        }
    }
    EXPECT_EQ(vertical, 20);    // 200 .. 15400: 8200 - 10 × 800 .. 8200 + 9 × 800 inside 2 .. 16148
    EXPECT_EQ(horizontal, 13);  // 800 .. 10400 inside 2 .. 11028
}

TEST(PlanarPlot, AskingForTheGrid) {
    RecordingDialogs no;
    EXPECT_FALSE(AskPlotGrid(no, Language::German).has_value());
    ASSERT_EQ(no.events.size(), 1u);
    EXPECT_EQ(no.events[0].text, QStringLiteral("Soll zusätzlich das Koordinatennetz gezeichnet werden?"));
    EXPECT_EQ(no.events[0].caption, QStringLiteral("ZORVA.EXE - Was nun?"));

    RecordingDialogs yes;
    yes.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    yes.textAnswers = {QStringLiteral("25"), QStringLiteral("zehn"), std::nullopt};
    EXPECT_EQ(AskPlotGrid(yes, Language::English), 25.0);
    EXPECT_EQ(yes.events[1].caption, QStringLiteral("Display Grid of Coordinates"));
    EXPECT_EQ(yes.events[1].text, QStringLiteral("Width of grid (default=10 [mm] :"));
    EXPECT_EQ(AskPlotGrid(yes, Language::German), 10.0);  // no number
    EXPECT_EQ(AskPlotGrid(yes, Language::German), 10.0);  // box cancelled
}

TEST(PlanarPlot, OriginsByDialKindAndLatitude) {
    DialState s = StartupState();
    s.wallDeclination = 0;
    EXPECT_EQ(DefaultPlotOrigin(s, 1400), QPointF(8200, 11000));
    s.wallDeclination = 60;
    EXPECT_EQ(DefaultPlotOrigin(s, 1400), QPointF(10600, 11000));
    s.wallDeclination = -60;
    EXPECT_EQ(DefaultPlotOrigin(s, 1400), QPointF(5800, 11000));
    s.dialType = 'h';
    const struct {
        double latitude, g, y0;
    } rows[] = {{20, 1400, 5500}, {30, 1400, 5500}, {40, 1400, 4000}, {49, 1400, 4000}, {49.5, 1400, 2500},
                {55, 1400, 2500}, {55, 3200, 1500}, {-40, 1400, 7000}, {-55, 3200, 9500}};
    for (const auto& r : rows) {
        s.latitude = r.latitude;
        EXPECT_EQ(DefaultPlotOrigin(s, r.g), QPointF(8200, r.y0)) << r.latitude;
    }
    // The plain inclined dial goes by the latitude of its equivalent horizontal dial.
    s.dialType = 'i';
    s.latitude = 47.25;
    s.planeInclination = 60;
    s.wallDeclination = 0;  // phi' = 47.25 - 60
    EXPECT_EQ(DefaultPlotOrigin(s, 1400), QPointF(8200, 11000 - 5500));
}

TEST(PlanarPlot, ListingPointsAreThePlottedPoints) {
    DialState s = StartupState();
    s.dateLineMode = '2';
    s.dateLineList = {QStringLiteral("21/06"), QStringLiteral("23/09 Herbst")};
    const Written w = Write(s, 1, {}, true);
    ASSERT_TRUE(w.listing.contains(QStringLiteral("Name der gespeicherten Zeichnung: ")));
    const qsizetype dates = w.listing.indexOf(QStringLiteral("Datumslinien (x/y in mm vom Gnomonfusspunkt P aus)"));
    ASSERT_GE(dates, 0);
    EXPECT_EQ(w.listing[dates + 1], QStringLiteral("21.06."));
    // "(12 Uhr):  x/  y" in millimetres from the foot (8200, 11000), y up: on the plot at
    // 8200 + 40 x, 11000 + 40 y.
    static const QRegularExpression noon(QStringLiteral("\\(12 Uhr\\): *(-?[\\d.]+)/ *(-?[\\d.]+)"));
    const auto m = noon.match(w.listing.mid(dates).join(QLatin1Char(' ')));
    ASSERT_TRUE(m.hasMatch());
    const double x = 8200 + 40 * m.captured(1).toDouble(), y = 11000 + 40 * m.captured(2).toDouble();
    EXPECT_TRUE(w.plot.contains(QLatin1Char(' ') + QString::number(std::lround(x)) + QLatin1Char(' ') +
                                QString::number(std::lround(y))))
        << x << ' ' << y;
    // Every family the dial draws has its heading.
    EXPECT_TRUE(w.listing.contains(QStringLiteral("Stundenlinien der wahren Zeit WOZ")));
    EXPECT_TRUE(w.listing.contains(QStringLiteral("Analemma")));
}

TEST(PlanarPlot, StyleFootMarkOfAnInclinedDial) {
    DialState s = StartupState();
    s.dialType = 'i';
    const QString plot = Write(s).plot;
    // S lies on the sheet: cross, circle of 50 units and the letter beside it.
    static const QRegularExpression mark(QStringLiteral(
        ";PU (?<x>\\d+) (?<y>\\d+);CI 50,3;;PU (?<lx>\\d+) (?<ly>\\d+)(;SI [^;]*)?;LBS\x03"));
    const auto m = mark.match(plot);
    ASSERT_TRUE(m.hasMatch());
    EXPECT_EQ(m.captured(QStringLiteral("lx")).toInt(), m.captured(QStringLiteral("x")).toInt() + 60);
    EXPECT_EQ(m.captured(QStringLiteral("ly")).toInt(), m.captured(QStringLiteral("y")).toInt() + 20);
    EXPECT_TRUE(plot.contains(QStringLiteral(";LT 2,2;")));
}

TEST(PlanarPlot, RefusedInclinedUmbrellaWritesNoDial) {
    DialState s = StartupState();
    s.dialType = 'i';
    s.umbrellaDial = true;
    s.planeInclination = 80;  // tan 80 >= 1 / 0.35
    const Written w = Write(s);
    EXPECT_FALSE(w.drawn);
    EXPECT_TRUE(w.dialogs.contains(QStringLiteral("Diese Neigung der Pultuhr")));
}

}  // namespace
}  // namespace zorva::test

namespace zorva::test {
namespace {

TEST(PlanarPlot, HourLinesReachTheStyleFootWhateverWasOpenedBefore) {
    DialState s = StartupState();
    s.dialType = 'h';
    s.linesToStyleFoot = true;
    s.markAnalemma = false;
    const auto strokesOfPen3 = [](const QString& plot) {
        int n = 0;
        bool pen3 = false;
        for (const QString& c : Commands(plot)) {
            if (c.startsWith(QStringLiteral("SP "))) pen3 = c == QStringLiteral("SP 3");
            else if (pen3 && c.startsWith(QStringLiteral("PD "))) ++n;
        }
        return n;
    };
    // A freshly opened window knows no lit range; the construction finds it itself.
    const HourLineAngles fresh = ComputeHourLineAngles(s, false);
    PlanarPlotOptions options;
    options.angles = &fresh.table;
    const QString plain = Write(s, 1, options).plot;
    const HourLineAngles panel = ComputeHourLineAngles(s, true);
    options.angles = &panel.table;
    EXPECT_EQ(Write(s, 1, options).plot, plain);
    s.linesToStyleFoot = false;
    // One more stroke for each full hour from 8 to 19.
    EXPECT_EQ(strokesOfPen3(plain) - strokesOfPen3(Write(s, 1, options).plot), 12);
}

}  // namespace
}  // namespace zorva::test
