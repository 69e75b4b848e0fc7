// Plots of every quadrant kind: their heads and ends, the left quadrant mirrored, the lines at
// the places the true-scale page has them, DXF files that an independent reader takes in
// millimetres, and HPGL files that hp2xx renders.
#include "dials/dial_constructions.h"
#include "dials/habermel_dial.h"
#include "dials/quadrant_dial.h"
#include "dials/recording_painter.h"
#include "plot/plot_stream.h"
#include "support/plot_readers.h"
#include "support/test_support.h"
#include "text/recording_dialogs.h"

#include <QBuffer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <map>

namespace zorva::test {
namespace {

DialState Quadrant(int kind, int scale = 0) {
    DialState s = StartupState();
    s.dialType = 'q';
    s.quadrantKind = kind;
    s.quadrantDateScale = scale;
    s.quadrantSize = 150;
    s.quadrantGnomon = 30;
    s.referenceYear = 2013;
    s.latitude = 50;
    s.longitude = -8.68;
    s.zoneMeridian = -15;
    s.timeSystem = 0;
    s.otherHourFrom = 8;
    s.otherHourTo = 16;
    s.otherHourInterval = '1';
    s.wholeYearBand = true;
    s.lineWidth = '2';
    return s;
}

QByteArray PlotOf(const DialState& s, int p = 1) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, p);
    RecordingDialogs d;
    EXPECT_TRUE(ConstructionFor(s)->writePlot(s, stream, d)) << d.texts().join(QLatin1Char('|')).toStdString();
    return buffer.data();
}

// The strokes of a plot by pen, the circles' centres by radius and the arcs' centres, all
// in the plot's units (y up).
struct ParsedPlot {
    std::map<int, std::vector<std::vector<QPointF>>> strokes;
    std::map<int, std::vector<QPointF>> circles;
    std::vector<QPointF> arcCentres;
};

ParsedPlot Parse(const QByteArray& plot) {
    ParsedPlot out;
    int pen = 0;
    QPointF at;
    for (const QByteArray& raw : plot.split(';')) {
        const QByteArray c = raw.trimmed();
        if (c.startsWith("LB")) continue;  // a label's text may hold anything
        const QList<QByteArray> v = c.mid(2).replace(',', ' ').simplified().split(' ');
        auto num = [&](int i) { return i < v.size() ? v[i].toDouble() : 0.0; };
        if (c.startsWith("SP")) {
            pen = static_cast<int>(num(0));
        } else if (c.startsWith("PU") && v.size() >= 2 && !v[0].isEmpty()) {
            at = QPointF(num(0), num(1));
        } else if (c.startsWith("PD") && v.size() >= 2 && !v[0].isEmpty()) {
            std::vector<QPointF> line{at};
            for (int i = 0; i + 1 < v.size(); i += 2) line.emplace_back(num(i), num(i + 1));
            at = line.back();
            out.strokes[pen].push_back(line);
        } else if (c.startsWith("CI")) {
            out.circles[static_cast<int>(num(0))].push_back(at);
        } else if (c.startsWith("AA")) {
            out.arcCentres.emplace_back(num(0), num(1));
        }
    }
    return out;
}

TEST(QuadrantPlots, HeadsAndEndsOfEveryKind) {
    for (int scale : {0, 1, 2}) {
        const QByteArray plot = PlotOf(Quadrant(0, scale));
        EXPECT_TRUE(plot.startsWith("IN;VS 1;PA;")) << scale;
        EXPECT_FALSE(plot.startsWith("IN;VS 1;PA;IW")) << scale;
        EXPECT_TRUE(plot.endsWith(";SP 0;IN;")) << scale;
        EXPECT_FALSE(plot.contains('\n'));
    }
    for (int kind : {1, 2}) {
        const QByteArray plot = PlotOf(Quadrant(kind));
        EXPECT_TRUE(plot.startsWith("IN;VS 1;PA;IW 0 0 16157 11038;PU 0 0;EA 16157 11038;;SP 4;PU 0 0;")) << kind;
        EXPECT_TRUE(plot.endsWith(";IW;IN;")) << kind;
        // The title block at the top left, without umlauts.
        EXPECT_TRUE(plot.contains(";SP 1;SI  0.28, 0.42;PU 200 10500;LBvertikale Hoehensonnenuhr")) << kind;
        EXPECT_TRUE(plot.contains("LBZeigerlaenge =  30.0 mm")) << kind;
        // At 25-fold resolution the window and frame grow with it.
        EXPECT_TRUE(PlotOf(Quadrant(kind), 25).startsWith("IN;VS 1;PA;IW 0 0 403925 275950;PU 0 0;EA 403925 275950;"));
    }
}

// The hour lines of the page (0.1 mm, y down) and of the plot (1/40 mm, y up), each relative
// to the point the dial is built round: every vertex of the page has a plot vertex within
// `toleranceMm`.
void ExpectPlotMatchesPage(const DialState& s, QPointF pageCentre, QPointF plotCentre, double toleranceMm) {
    DialRequest r;
    r.target = DrawTarget::Printer;
    r.clientWidth = 2800;
    r.clientHeight = 2000;
    RecordingPainter page;
    RecordingDialogs d;
    ConstructionFor(s)->draw(s, r, page, d);
    const ParsedPlot plot = Parse(PlotOf(s));
    std::vector<QPointF> plotted;
    for (const auto& line : plot.strokes.at(2))
        for (const QPointF& q : line) plotted.emplace_back((q.x() - plotCentre.x()) / 40, -(q.y() - plotCentre.y()) / 40);
    ASSERT_FALSE(plotted.empty());
    int checked = 0;
    for (const Primitive& l : page.lines(1)) {
        const QPointF q = (l.points[1] - pageCentre) / 10;
        double best = 1e9;
        for (const QPointF& o : plotted) best = std::min(best, std::hypot(o.x() - q.x(), o.y() - q.y()));
        EXPECT_LE(best, toleranceMm) << q.x() << " " << q.y();
        if (best > toleranceMm) return;
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

TEST(QuadrantPlots, PlotAndPageAgreeOnEveryHourLine) {
    // The quadrant: its apex at (2800 / 4, 10 mm) on the page, the centre of its outline on
    // the plot. Both round their points and radii, the page to 0.1 mm, the plot to 1/40 mm.
    for (int scale : {0, 1, 2}) {
        const DialState s = Quadrant(0, scale);
        const ParsedPlot plot = Parse(PlotOf(s));
        ASSERT_FALSE(plot.arcCentres.empty());
        SCOPED_TRACE(scale);
        ExpectPlotMatchesPage(s, QPointF(700, 100), plot.arcCentres.front(), 0.15);
    }
    // The Habermel plates round the foot of the gnomon (the circle of 0.8 mm).
    for (int kind : {1, 2}) {
        const DialState s = Quadrant(kind);
        DialRequest r;
        r.target = DrawTarget::Printer;
        r.clientWidth = 2800;
        r.clientHeight = 2000;
        RecordingPainter page;
        RecordingDialogs d;
        kHabermelDial.draw(s, r, page, d);
        QPointF foot;
        for (const Primitive& c : page.all(Primitive::Circle))
            if (std::abs(c.radius - 8) < 1e-9) foot = c.points[0];
        const ParsedPlot plot = Parse(PlotOf(s));
        ASSERT_EQ(plot.circles.count(32), 1u);
        SCOPED_TRACE(kind);
        ExpectPlotMatchesPage(s, foot, plot.circles.at(32).front(), 0.03);
    }
}

TEST(QuadrantPlots, ScreenAndPageAgreeOnEveryHourLine) {
    // The screen shows 210 mm over the image's height: in millimetres round the apex or the
    // gnomon's foot its hour lines are those of the page, up to the screen's pixels.
    for (int kind : {0, 1, 2}) {
        for (int scale : {0, 2}) {
            if (kind != 0 && scale != 0) continue;
            const DialState s = Quadrant(kind, scale);
            RecordingDialogs d;
            auto draw = [&](DrawTarget target, double w, double h) {
                DialRequest r;
                r.target = target;
                r.clientWidth = w;
                r.clientHeight = h;
                RecordingPainter p;
                ConstructionFor(s)->draw(s, r, p, d);
                return p;
            };
            const RecordingPainter page = draw(DrawTarget::Printer, 2800, 2000);
            const RecordingPainter screen = draw(DrawTarget::Screen, 1200, 816);
            // Units per millimetre and the centre of each drawing (the plates' area, as the
            // other altitude dials', is one unit larger than the image).
            const double onScreen = kind == 0 ? std::nearbyint(150 * 816 / 210.0) / 150 : 817 / 210.0;
            auto centre = [&](const RecordingPainter& p, double perMm, double width) {
                if (kind == 0) return QPointF(std::floor(width / 4), std::nearbyint(10 * perMm));
                for (const Primitive& c : p.all(Primitive::Circle))
                    if (std::abs(c.radius - 0.8 * perMm) < 1e-9) return c.points[0];
                ADD_FAILURE() << "no gnomon foot";
                return QPointF();
            };
            const QPointF pageCentre = centre(page, 10, 2800), screenCentre = centre(screen, onScreen, 1200);
            std::vector<QPointF> pagePoints;
            for (const Primitive& l : page.lines(1)) pagePoints.push_back((l.points[1] - pageCentre) / 10);
            ASSERT_GT(pagePoints.size(), 100u);
            int checked = 0;
            for (const Primitive& l : screen.lines(1)) {
                const QPointF q = (l.points[1] - screenCentre) / onScreen;
                double best = 1e9;
                for (const QPointF& o : pagePoints) best = std::min(best, std::hypot(o.x() - q.x(), o.y() - q.y()));
                // The quadrant rounds its points and radii to whole pixels and to 0.1 mm on the
                // page; the Habermel plates are not rounded.
                const double tolerance = kind == 0 ? 1 / onScreen + 0.07 : 1e-6;
                ASSERT_LE(best, tolerance) << kind << " " << scale << ": " << q.x() << " " << q.y();
                ++checked;
            }
            EXPECT_GT(checked, 50) << kind << " " << scale;
        }
    }
}

TEST(QuadrantPlots, ExtremeLatitudesStayOnThePageAndTheSheet) {
    // Near the equator and the poles every scale still draws, with each stroke on the page
    // and each plotted point on the sheet; kind 2 near the pole too.
    for (double latitude : {0.001, -0.001, 89.99, -89.99}) {
        for (int scale : {0, 1, 2}) {
            DialState s = Quadrant(0, scale);
            s.latitude = latitude;
            s.mirrorLeftQuadrant = scale == 2;
            DialRequest r;
            r.target = DrawTarget::Printer;
            r.clientWidth = 2800;
            r.clientHeight = 2000;
            RecordingPainter page;
            RecordingDialogs d;
            EXPECT_TRUE(kQuadrantDial.draw(s, r, page, d).drawn);
            for (const Primitive& l : page.all(Primitive::Line))
                for (const QPointF& q : l.points) {
                    ASSERT_TRUE(q.x() >= 0 && q.x() <= 2800 && q.y() >= 0 && q.y() <= 2000) << latitude << " " << scale;
                }
            // The plot's sheet holds the largest quadrant.
            s.quadrantSize = 200;
            for (const auto& [pen, lines] : Parse(PlotOf(s)).strokes)
                for (const auto& line : lines)
                    for (const QPointF& q : line) {
                        ASSERT_TRUE(q.x() >= 0 && q.x() <= 16157 && q.y() >= 0 && q.y() <= 11038) << latitude << " " << scale;
                    }
        }
    }
    DialState polar = Quadrant(2);
    polar.latitude = -89.99;
    for (const auto& [pen, lines] : Parse(PlotOf(polar)).strokes)
        for (const auto& line : lines)
            for (const QPointF& q : line) ASSERT_TRUE(q.x() >= 0 && q.x() <= 16157 && q.y() >= 0 && q.y() <= 11038);
}

TEST(QuadrantPlots, LeftQuadrantIsMirroredInThePlotOnly) {
    DialState s = Quadrant(0, 0);
    const ParsedPlot right = Parse(PlotOf(s));
    s.mirrorLeftQuadrant = true;
    const QByteArray mirroredPlot = PlotOf(s);
    const ParsedPlot left = Parse(mirroredPlot);
    ASSERT_FALSE(right.arcCentres.empty());
    ASSERT_FALSE(left.arcCentres.empty());
    const QPointF a = right.arcCentres.front(), b = left.arcCentres.front();
    EXPECT_NEAR(a.x() + b.x(), 16157, 1.0);  // mirrored about the middle of the sheet
    EXPECT_NEAR(a.y(), b.y(), 1e-9);
    // Every hour-line point has its mirror image.
    for (const auto& line : right.strokes.at(2))
        for (const QPointF& q : line) {
            EXPECT_GE(q.x(), a.x() - 1);
            bool found = false;
            for (const auto& other : left.strokes.at(2))
                for (const QPointF& o : other) found = found || (std::abs(o.x() - (16157 - q.x())) <= 1 && std::abs(o.y() - q.y()) <= 1);
            EXPECT_TRUE(found) << q.x() << " " << q.y();
            if (!found) return;
        }
    // The texts are still written left to right and all stand on the sheet.
    EXPECT_TRUE(mirroredPlot.contains("LBQUADRANT - SONNENUHR\x03"));
    EXPECT_FALSE(mirroredPlot.contains("DI -"));
    // The screen is not mirrored.
    DialRequest r;
    r.target = DrawTarget::Screen;
    r.clientWidth = 1200;
    r.clientHeight = 816;
    RecordingPainter screen;
    RecordingDialogs d;
    kQuadrantDial.draw(s, r, screen, d);
    for (const Primitive& l : screen.lines(1)) EXPECT_GE(l.points[1].x(), 300);
}

std::vector<std::pair<QString, DialState>> EveryQuadrant() {
    std::vector<std::pair<QString, DialState>> dials;
    dials.emplace_back(QStringLiteral("calendar"), Quadrant(0, 0));
    DialState half = Quadrant(0, 0);
    half.wholeYearBand = false;
    half.constructWithEoT = true;
    dials.emplace_back(QStringLiteral("half year"), half);
    dials.emplace_back(QStringLiteral("zodiac"), Quadrant(0, 1));
    dials.emplace_back(QStringLiteral("gunter"), Quadrant(0, 2));
    DialState left = Quadrant(0, 2);
    left.mirrorLeftQuadrant = true;
    left.quadrantSize = 200;
    dials.emplace_back(QStringLiteral("left gunter"), left);
    dials.emplace_back(QStringLiteral("habermel"), Quadrant(1));
    DialState two = Quadrant(2);
    two.latitude = -35;
    two.quadrantGnomon = 15;
    two.timeSystem = 2;
    dials.emplace_back(QStringLiteral("habermel two"), two);
    return dials;
}

TEST(QuadrantPlots, EveryDxfReadsInMillimetresOnTheSheet) {
    if (PythonWithEzdxf().isEmpty()) GTEST_SKIP() << "python3-ezdxf is not installed";
    QTemporaryDir dir;
    QStringList files;
    for (const auto& [name, state] : EveryQuadrant()) {
        PlotSaveRequest r;
        r.fileName = dir.filePath(name + QStringLiteral(".dxf"));
        r.format = PlotFormat::Dxf;
        r.highResolution = true;
        RecordingDialogs d;
        ASSERT_TRUE(SaveDialPlot(state, r, d).ok) << name.toStdString();
        files << r.fileName;
    }
    const std::vector<DxfSummary> read = ReadDxfSummaries(PythonWithEzdxf(), files);
    ASSERT_EQ(read.size(), size_t(files.size()));
    for (size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(files[qsizetype(i)].toStdString());
        EXPECT_EQ(read[i].errors, 0);
        // In millimetres on the sheet of 403.925 x 275.95 mm, whatever the resolution.
        EXPECT_GE(read[i].minX, -0.01);
        EXPECT_GE(read[i].minY, -0.01);
        EXPECT_LE(read[i].maxX, 403.93);
        EXPECT_LE(read[i].maxY, 275.96);
        EXPECT_GT(read[i].maxX, 150.0);  // a quadrant of 150 mm or a plate in its frame
        EXPECT_GT(read[i].entities, 50);
    }
}

TEST(QuadrantPlots, EveryPlotRendersInHp2xx) {
    if (QStandardPaths::findExecutable(QStringLiteral("hp2xx")).isEmpty()) GTEST_SKIP() << "hp2xx is not installed";
    QTemporaryDir dir;
    for (const auto& [name, state] : EveryQuadrant()) {
        PlotSaveRequest r;
        r.fileName = dir.filePath(name + QStringLiteral(".plt"));
        RecordingDialogs d;
        ASSERT_TRUE(SaveDialPlot(state, r, d).ok) << name.toStdString();
        const QString png = dir.filePath(name + QStringLiteral(".png"));
        // hp2xx cuts each of the quadrants' arcs (AA) into chords and remarks on the last
        // one when it is of no length: one remark per arc, not a fault of the plot.
        ExpectHp2xxDrawsWithoutComplaint(r.fileName, png, name.toStdString(), true);
    }
}

}  // namespace
}  // namespace zorva::test
