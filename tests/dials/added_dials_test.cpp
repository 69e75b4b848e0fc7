// The analemmatic and bifilar constructions: what they draw agrees with their geometry on a
// true-scale page, the layout sheet gives the published walk-on dial in metres with "." on a
// German desktop, refusals say why, and the kinds are found without a letter of their own.

#include "dials/analemmatic_dial.h"
#include "dials/bifilar_dial.h"
#include "dials/dial_constructions.h"
#include "dials/dial_render.h"
#include "dials/quadrant_space.h"
#include "dials/recording_painter.h"
#include "plot/plot_stream.h"
#include "state/dial_state.h"
#include "text/recording_dialogs.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace zorva {
namespace {

DialState AnalemmaticState(double latitude) {
    DialState s = StartupState();
    s.latitude = latitude;
    s.addedKind = AddedKind::Analemmatic;
    s.analemmatic = WalkOnPreset();
    s.dialType = 'h';
    return s;
}

DialState BifilarState(double latitude, bool wall, double declination) {
    DialState s = StartupState();
    s.latitude = latitude;
    s.addedKind = AddedKind::Bifilar;
    s.bifilar.vertical = wall;
    s.wallDeclination = declination;
    s.dialType = wall ? 'v' : 'h';
    return s;
}

DialRequest Page(double originX, double originY) {
    DialRequest r;
    r.target = DrawTarget::Printer;
    r.clientWidth = 2800;
    r.clientHeight = 2000;
    r.originX = originX;
    r.originY = originY;
    r.textX = 100;
    r.textY = 1900;
    return r;
}

// The published walk-on dial (M = 2.5 m, 26.75 degrees south, hour angle 15 (T - 12) - 2.843:
// apparent time of a zone meridian 2.843 degrees east of the site) as the layout sheet lists
// it: x east and y north, so the published x (west) and y (south) change sign.
TEST(AddedDials, LayoutSheetListsThePublishedWalkOnDialInMetres) {
    DialState s = AnalemmaticState(-26.75);
    s.zoneMeridian = -30.0;
    s.longitude = -30.0 + 2.843;
    s.analemmatic.reckoning = HourReckoning::ZoneApparent;
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString text = AnalemmaticLayoutText(DialContext(s));
    QLocale::setDefault(before);
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n8 Uhr;-2.224;-0.514\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n12 Uhr;-0.124;-1.124\r\n"))) << text.toStdString();
    // 5 h of the published table: the sun never stands there at 26.75 S, so no point is staked.
    EXPECT_FALSE(text.contains(QStringLiteral("\r\n5 Uhr;"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1Char(',')));
    // Every date mark lies on the noon line, the 1st of January about 0.95 m south of the centre.
    const QRegularExpression jan(QStringLiteral("Gnomon am 1\\. Jan;0\\.000;(-0\\.9\\d\\d)\\r\\n"));
    const auto m = jan.match(text);
    ASSERT_TRUE(m.hasMatch()) << text.toStdString();
    EXPECT_NEAR(m.captured(1).toDouble(), -0.951, 0.01);
    EXPECT_EQ(text.count(QStringLiteral("Gnomon am ")), 36);
}

TEST(AddedDials, MeanTimeLayoutGivesAFigureEightPointPerMonthAndHour) {
    DialState s = AnalemmaticState(48.0);
    s.language = Language::English;
    s.analemmatic.reckoning = HourReckoning::LocalMean;
    const QString text = AnalemmaticLayoutText(DialContext(s));
    const QStringList noon = text.split(QStringLiteral("\r\n")).filter(QRegularExpression(QStringLiteral("^12 h ")));
    ASSERT_EQ(noon.size(), 12) << text.toStdString();
    // The loop spans the equation of time: its points are not on one line across the noon line.
    double west = 1e9, east = -1e9;
    for (const QString& row : noon) {
        const double x = row.section(QLatin1Char(';'), 1, 1).toDouble();
        west = std::min(west, x);
        east = std::max(east, x);
    }
    EXPECT_GT(east - west, 0.15);  // 2.5 m x (16 + 14 minutes) of hour angle
    EXPECT_LT(west, 0.0);
    EXPECT_GT(east, 0.0);
}

double DistanceToPieces(const std::vector<std::vector<QPointF>>& pieces, QPointF q) {
    return test::DistanceToLines(pieces, q);
}

// On a true-scale page the bifilar construction's hour line of a time passes through the
// crossing of the thread shadows at that time (0.1 mm = one unit of the page).
TEST(AddedDials, BifilarHourLinesOnThePageRunThroughTheThreadShadows) {
    struct Case {
        double latitude;
        bool wall;
        double declination;
    };
    for (const Case c : {Case{47.25, false, 0.0}, Case{47.25, true, 0.0}, Case{52.0, true, 30.0}, Case{-33.9, false, 0.0}}) {
        DialState s = BifilarState(c.latitude, c.wall, c.declination);
        s.bifilar.threadAMm = 60.0;
        s.bifilar.threadBMm = 45.0;
        const double ox = 1400, oy = c.wall ? 300 : (c.latitude < 0 ? 500 : 1500);
        test::RecordingPainter painter;
        RecordingDialogs dialogs;
        const DialResult result = kBifilarDial.draw(DialContext(s), Page(ox, oy), painter, dialogs);
        ASSERT_TRUE(result.drawn);
        const auto pieces = test::Pieces(painter.lines(2));
        ASSERT_FALSE(pieces.empty());
        const BifilarDial dial = BifilarDialOf(DialContext(s));
        int checked = 0;
        for (int hour = 6; hour <= 18; ++hour) {
            for (double delta : {-20.0, 0.0, 15.0}) {
                const double t = 15.0 * (hour - 12);
                const auto q = dial.lit(t, delta) ? dial.at(t, delta) : std::nullopt;
                if (!q) continue;
                const QPointF onPage(ox + 10 * q->x(), oy - 10 * q->y());
                if (onPage.x() < 10 || onPage.x() > 2790 || onPage.y() < 10 || onPage.y() > 1990) continue;
                EXPECT_LT(DistanceToPieces(pieces, onPage), 1.0) << c.latitude << " " << hour << "h " << delta;
                ++checked;
            }
        }
        EXPECT_GT(checked, 5) << c.latitude;
    }
}

// The hour dots on the page are the layout's points at one scale: each pair of dots is as far
// apart as the geometry says, times the page's scale.
TEST(AddedDials, AnalemmaticHourDotsOnThePageAreTheGeometryToScale) {
    DialState s = AnalemmaticState(51.5);
    s.analemmatic.reckoning = HourReckoning::LocalApparent;
    s.analemmatic.semiMajorMm = 60.0;
    test::RecordingPainter painter;
    RecordingDialogs dialogs;
    ASSERT_TRUE(kAnalemmaticDial.draw(DialContext(s), Page(0, 0), painter, dialogs).drawn);
    // Full hours as the larger dots, half hours as the smaller ones.
    double largest = 0;
    for (const auto& p : painter.all(test::Primitive::Circle))
        if (p.role == 2 && p.fill == FillStyle::Solid) largest = std::max(largest, p.radius);
    std::vector<QPointF> dots;
    for (const auto& p : painter.all(test::Primitive::Circle))
        if (p.role == 2 && p.fill == FillStyle::Solid && p.radius > 0.75 * largest) dots.push_back(p.points[0]);
    const AnalemmaticFigure f = AnalemmaticFigureOf(DialContext(s));
    std::vector<QPointF> full;
    for (const auto& h : f.hours)
        if (h.full) full.push_back(h.at);
    ASSERT_EQ(dots.size(), full.size());
    ASSERT_GE(full.size(), 15u);  // about 4 to 20 h at 51.5 degrees
    // M = 60 mm fits the page at 1:1: 10 units per millimetre, y turned downward.
    for (size_t i = 1; i < dots.size(); ++i) {
        const QPointF page = dots[i] - dots[0], mm = full[i] - full[0];
        EXPECT_NEAR(page.x(), 10 * mm.x(), 0.5) << i;
        EXPECT_NEAR(page.y(), -10 * mm.y(), 0.5) << i;
    }
    EXPECT_TRUE(painter.hasText(QStringLiteral("12")));
}

TEST(AddedDials, RefusalsSayWhyAndDrawNothingOfTheDial) {
    struct Case {
        DialState state;
        QString fragment;
    };
    DialState equator = AnalemmaticState(0.0);
    DialState pole = AnalemmaticState(-90.0);
    DialState touching = BifilarState(47.0, false, 0.0);
    touching.bifilar.threadBMm = touching.bifilar.threadAMm;
    DialState flat = BifilarState(47.0, true, 0.0);
    flat.bifilar.threadAMm = 0.0;
    for (const Case& c : {Case{equator, QStringLiteral("Stundenellipse")}, Case{pole, QStringLiteral("Datumsskala")},
                          Case{touching, QStringLiteral("berühren")}, Case{flat, QStringLiteral("größer als 0")}}) {
        const DialConstruction* construction = ConstructionFor(c.state);
        ASSERT_NE(construction, nullptr);
        test::RecordingPainter painter;
        RecordingDialogs dialogs;
        const DialResult result = construction->draw(DialContext(c.state), Page(1400, 1000), painter, dialogs);
        EXPECT_FALSE(result.drawn);
        EXPECT_TRUE(dialogs.contains(c.fragment)) << dialogs.texts().join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(painter.lines(2).empty());
        // The plot is refused too: no file that looks like a dial.
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        PlotStream stream(buffer);
        RecordingDialogs plotDialogs;
        EXPECT_FALSE(construction->writePlot(DialContext(c.state), stream, plotDialogs));
        EXPECT_TRUE(buffer.data().isEmpty());
    }
}

TEST(AddedDials, KindsAreFoundByTheirSettingNotByTheLetter) {
    DialState s = AnalemmaticState(47.0);
    EXPECT_FALSE(IsPlanarDial(s));
    EXPECT_TRUE(IsPlanarLetter(s.dialType));  // zor.ini keeps a letter older readers know
    EXPECT_EQ(DialContext(s).kind, DialKind::Analemmatic);
    const DialConstruction* analemmatic = ConstructionFor(s);
    ASSERT_NE(analemmatic, nullptr);
    EXPECT_FALSE(analemmatic->planar);
    EXPECT_NE(analemmatic->sheet, nullptr);
    s.addedKind = AddedKind::Bifilar;
    EXPECT_EQ(DialContext(s).kind, DialKind::Bifilar);
    EXPECT_NE(ConstructionFor(s), analemmatic);
    EXPECT_EQ(ConstructionFor(s)->sheet, nullptr);
    s.addedKind = AddedKind::None;
    EXPECT_TRUE(IsPlanarDial(s));
    EXPECT_TRUE(ConstructionFor(s)->planar);
}

TEST(AddedDials, PlotsHaveHeadLinesAndEnd) {
    for (DialState s : {AnalemmaticState(47.0), BifilarState(47.0, true, -20.0)}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        PlotStream stream(buffer);
        RecordingDialogs dialogs;
        ASSERT_TRUE(ConstructionFor(s)->writePlot(DialContext(s), stream, dialogs));
        const QString plot = QString::fromLatin1(buffer.data());
        EXPECT_TRUE(plot.startsWith(QStringLiteral("IN;"))) << plot.left(40).toStdString();
        EXPECT_GT(plot.count(QStringLiteral("PD")), 10);
        EXPECT_TRUE(plot.endsWith(QStringLiteral(";IW;IN;"))) << plot.right(40).toStdString();
    }
}

}  // namespace
}  // namespace zorva
