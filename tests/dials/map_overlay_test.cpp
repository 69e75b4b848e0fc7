// The map under a planar dial: reading map files, the projection that puts the subsolar
// point under the nodus shadow, drawing on the canvas and writing the overlay plot.
#include "dials/map_overlay.h"

#include "astro/sun_position.h"
#include "plot/plot_stream.h"
#include "recording_painter.h"
#include "text/recording_dialogs.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zorva {
namespace {

DialPlane Plane(char letter, double phi, double d = 0, double i = 90) {
    DialPlane p;
    p.letter = letter;
    p.siteLatitude = phi;
    p.wallDeclination = d;
    p.inclination = i;
    p.g = 100;
    p.x0 = 5000;
    p.y0 = 5000;
    p.ox = 0;
    p.oy = 0;
    p.halfWidth = 5000;
    p.height = 10000;
    SetPlaneOrientation(p);
    return p;
}

void Write(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

// A horizontal dial at 47.25 N drawn 1000 x 1000 units round its nodus foot point.
DialPlane SmallPlane() {
    DialPlane plane = Plane('h', 47.25);
    plane.halfWidth = 500;
    plane.height = 1000;
    plane.x0 = plane.y0 = 500;
    return plane;
}

// Where the map puts a place on the canvas.
QPointF OnCanvas(const DialPlane& plane, const MapProjection& m, MapPoint p) {
    const QPointF q = m.project(p);
    return {plane.x0 - q.x(), plane.y0 + q.y()};
}

TEST(MapProjection, TheSubsolarPlaceLiesUnderTheShadowOfTheNodus) {
    const double siteEast = 9.55;
    struct Case {
        char letter;
        double d, i;
    };
    for (const Case c : {Case{'h', 0, 0}, Case{'v', 0, 90}, Case{'v', 30, 90}, Case{'v', -50, 90}, Case{'i', 20, 30},
                         Case{'i', -35, 60}}) {
        const DialPlane plane = Plane(c.letter, 47.25, c.d, c.i);
        const MapProjection map(plane, 47.25, siteEast, 1.0);
        // The pole of the earth's axis lies on the style foot point.
        const Offset f = StyleFootPoint(plane);
        const QPointF pole = OnCanvas(plane, map, {0.0, map.centreLatitude() > 0 ? 90.0 : -90.0});
        EXPECT_NEAR(pole.x(), plane.x0 + f.dx, 1e-6) << c.letter << c.d;
        EXPECT_NEAR(pole.y(), plane.y0 - f.dy, 1e-6) << c.letter << c.d;
        // The sun at hour angle t and declination delta stands in the zenith of the place at
        // latitude delta and longitude (site - t); its shadow must fall on that place.
        int checked = 0;
        for (double t : {-60.0, -25.0, 0.0, 35.0, 70.0})
            for (double delta : {-20.0, 0.0, 15.0, 23.0}) {
                // The construction sees an inclined plane as the horizontal dial of its
                // equivalent place: the sun as seen there.
                const HorizontalPosition sun =
                    HorizontalFromHourAngle(t + 15.0 * plane.hourShift, delta, plane.effectiveLatitude);
                const ShadowSample shadow = ShadowPoint(sun.altitude, sun.azimuth, plane);
                if (!shadow.frontLit || std::abs(shadow.x - plane.x0) > 2000 || std::abs(shadow.y - plane.y0) > 2000)
                    continue;
                const QPointF place = OnCanvas(plane, map, {siteEast - t, delta});
                EXPECT_NEAR(place.x(), shadow.x, 1e-6) << c.letter << c.d << " t=" << t << " delta=" << delta;
                EXPECT_NEAR(place.y(), shadow.y, 1e-6) << c.letter << c.d << " t=" << t << " delta=" << delta;
                ++checked;
            }
        EXPECT_GT(checked, 3) << c.letter << c.d;
    }
}

class MapDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        s = StartupState();
        s.programDirectory = dir.path() + QLatin1Char('/');
        s.dialType = 'h';
        s.latitude = 47.25;
        s.longitude = -9.55;
        s.mapOverlay = true;
        s.mapCoast = true;
        s.mapBorders = false;
    }
    QTemporaryDir dir;
    DialState s;
    RecordingDialogs dialogs;
};

TEST_F(MapDrawing, APointOffTheDrawingIsSkippedWithoutBreakingTheLine) {
    // Three places near the site and one far beyond the drawing between them (83 degrees
    // away, still on the near half of the earth).
    Write(dir.filePath(kCoastFileName), "  9.50 47.20\n  9.60 47.30\n 100.00  10.00\n  9.70 47.40\n");
    DialPlane plane = SmallPlane();
    test::RecordingPainter painter;
    DrawMapOverlay(s, plane, 100.0, painter, dialogs);
    EXPECT_TRUE(dialogs.events.empty());
    const auto coast = painter.lines(10);
    ASSERT_EQ(coast.size(), 2u);
    EXPECT_EQ(coast[0].points[1], coast[1].points[0]);  // joined across the skipped point
    // The red cross at the nodus foot point comes first.
    int red = 0;
    for (const auto& item : painter.items)
        if (item.kind == test::Primitive::Line && item.role == -1 && item.rgb == colour::kRed) ++red;
    EXPECT_EQ(red, 2);

    // Borders asked for but missing: said once, the coast still drawn.
    s.mapBorders = true;
    test::RecordingPainter again;
    DrawMapOverlay(s, plane, 100.0, again, dialogs);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, "Datei GrenzenZor.dat nicht gefunden!");
    EXPECT_EQ(again.lines(10).size(), 2u);

    // A place on the far half of the earth (the antipodes of the site's neighbourhood) is on
    // no map of this plane: the line stops there instead of jumping to where it comes back.
    s.mapBorders = false;
    Write(dir.filePath(kCoastFileName), "  9.50 47.20\n  9.60 47.30\n 170.00 -40.00\n  9.70 47.40\n  9.80 47.45\n");
    test::RecordingPainter far;
    DrawMapOverlay(s, plane, 100.0, far, dialogs);
    const auto pieces = far.lines(10);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_NE(pieces[0].points[1], pieces[1].points[0]);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, 1);
    WriteMapOverlayPlot(s, plane, QPointF(8000, 3000), stream, dialogs);
    EXPECT_EQ(QString::fromLatin1(buffer.data()).count(QStringLiteral(";PD")), 2 + 2);  // cross, then two pieces
}

TEST_F(MapDrawing, CanvasAndPlotReadTheSameLinesAndReportTheSameMissingFile) {
    // Points written short are points on every target, not separators.
    Write(dir.filePath(kCoastFileName), "9.5 47\n9.6 47\n  9.70 47.40\n");
    s.mapBorders = true;  // no borders file
    DialPlane plane = SmallPlane();
    test::RecordingPainter painter;
    DrawMapOverlay(s, plane, 100.0, painter, dialogs);
    EXPECT_EQ(painter.lines(10).size(), 2u);

    plane.g = 1400;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, 1);
    WriteMapOverlayPlot(s, plane, QPointF(8000, 3000), stream, dialogs);
    const QString plot = QString::fromLatin1(buffer.data());
    const QString run = plot.mid(plot.lastIndexOf(QStringLiteral(";SP 11"))).section(QStringLiteral(";PD"), 1);
    EXPECT_EQ(run.split(QLatin1Char(' '), Qt::SkipEmptyParts).size(), 2 * 2) << plot.toStdString();

    ASSERT_EQ(dialogs.events.size(), 2u);
    EXPECT_EQ(dialogs.events[0].text, "Datei GrenzenZor.dat nicht gefunden!");
    EXPECT_EQ(dialogs.events[1].text, dialogs.events[0].text);
}

TEST_F(MapDrawing, UnreadablePointsAreReportedOncePerFileWithTheLine) {
    Write(dir.filePath(kCoastFileName), "#\n  9.50 47.20\n  9.6.0 47.30\n  9.70 47.40\n  -- 47.50\n");
    Write(dir.filePath(kBordersFileName), "  9.50 47.20\n  9.70 47.40\n");
    s.mapBorders = true;
    DialPlane plane = SmallPlane();
    test::RecordingPainter painter;
    DrawMapOverlay(s, plane, 100.0, painter, dialogs);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text,
              "coastZor.dat, Zeile 3: 9.6.0 47.30 : Das ist keine reelle Zahl.\r\n(2 Punkte übergangen)");
    EXPECT_EQ(painter.lines(10).size(), 1u);  // the readable points of the coast stay joined
    EXPECT_EQ(painter.lines(11).size(), 1u);

    // The plot reports the same once, after its map lines.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, 1);
    WriteMapOverlayPlot(s, plane, QPointF(8000, 3000), stream, dialogs);
    ASSERT_EQ(dialogs.events.size(), 2u);
    EXPECT_EQ(dialogs.events[1].text, dialogs.events[0].text);
}

TEST_F(MapDrawing, AFileOfSeparatorsWritesOnlyTheHeadAndTheCross) {
    Write(dir.filePath(kCoastFileName), "#\n#\n#\n");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, 1);
    DialPlane plane = Plane('h', 47.25);
    plane.g = 1400;
    WriteMapOverlayPlot(s, plane, QPointF(8000, 3000), stream, dialogs);
    EXPECT_EQ(QString::fromLatin1(buffer.data()),
              "IN;VS 1;PA;IW 0 0 16157 11038;SP 11;PU 0 0;EA 16157 11038;PU 0 0;SI  0.22, 0.32"
              ";SP 4;PU 8120 3000;PD 7880 3000;PU 8000 3120;PD 8000 2880;SP 11");
}

TEST_F(MapDrawing, PlotPointsCarryLeadingBlanksAndScaleWithTheResolution) {
    Write(dir.filePath(kCoastFileName), "  9.55 47.25\n  9.55 45.00\n");
    DialPlane plane = Plane('h', 47.25);
    plane.g = 1400;
    for (int p : {1, 25}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        PlotStream stream(buffer, p);
        WriteMapOverlayPlot(s, plane, QPointF(8000, 3000), stream, dialogs);
        const QString plot = QString::fromLatin1(buffer.data());
        // The site itself lies on the nodus foot point.
        const QString first = p == 1 ? QStringLiteral(";PU     8000     3000;PD") : QStringLiteral(";PU   200000    75000;PD");
        EXPECT_TRUE(plot.contains(first)) << plot.toStdString();
    }
}

}  // namespace
}  // namespace zorva
