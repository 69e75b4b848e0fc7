// The cone-shadow dial as a drawing, a plot pair and an information text: what a dial
// maker gets from the window, the printer and the files.
#include "dials/hollander_dial.h"

#include "dials/canvas_painter.h"
#include "dials/dial_constructions.h"
#include "dials/dial_render.h"
#include "dials/label_placer.h"
#include "dials/recording_painter.h"
#include "dials/test_sites.h"
#include "support/plot_readers.h"
#include "plot/plot_stream.h"
#include "support/test_support.h"
#include "text/texts.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>

namespace zorva::test {
namespace {

DialState ConeDial() {
    DialState s = StartupState();
    s.dialType = 'm';
    return s;
}

QString PlotOf(const DialState& s, RecordingDialogs& dialogs, bool cone = false) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, 1);
    const bool ok = cone ? kHollanderDial.writeSecondPlot(s, stream, dialogs) : kHollanderDial.writePlot(s, stream, dialogs);
    EXPECT_TRUE(ok);
    return QString::fromLatin1(buffer.data());
}

TEST(HollanderDial, IsTheConstructionOfTheLetterM) {
    const DialConstruction* c = ConstructionFor(ConeDial());
    EXPECT_EQ(c, &kHollanderDial);
    EXPECT_NE(kHollanderDial.writeSecondPlot, nullptr);  // the cone is saved with the dial
    EXPECT_FALSE(kHollanderDial.planar);
    EXPECT_TRUE(CanSavePlot(ConeDial()));
}

TEST(HollanderDial, ScreenDrawingShowsConeHourAndDateLinesInTheirColours) {
    DialState s = ConeDial();
    RecordingPainter painter;
    RecordingDialogs dialogs;
    DialRequest r;
    // 312 pixels wide: (312 - 32) / 280 = one pixel per millimetre, so L = 35 units.
    r.clientWidth = 312;
    r.clientHeight = 212;
    r.originX = 156;
    r.originY = 140;
    const DialResult result = kHollanderDial.draw(s, r, painter, dialogs);
    ASSERT_TRUE(result.drawn);
    EXPECT_TRUE(dialogs.events.empty());
    auto linesOf = [&](int role) {
        std::vector<Primitive> out;
        for (const Primitive& p : painter.items)
            if (p.kind == Primitive::Line && p.role == role) out.push_back(p);
        return out;
    };
    // Base ellipse of psi 47.25, alpha 12, L 35: a = 35 / sqrt(cot^2 12 - cot^2 47.25) =
    // 7.587 across, b = 35 sin 12 (1/sin 35.25 + 1/sin 59.25) / 2 = 10.538 along the meridian.
    double xmin = 1e9, xmax = -1e9, ymin = 1e9, ymax = -1e9;
    for (const Primitive& p : linesOf(3)) {
        for (const QPointF& q : p.points) {
            if (std::abs(q.x() - 156) > 12) continue;  // the axis line reaches further
            if (std::abs(q.y() - 140) > 12) continue;
            xmin = std::min(xmin, q.x());
            xmax = std::max(xmax, q.x());
            ymin = std::min(ymin, q.y());
            ymax = std::max(ymax, q.y());
        }
    }
    EXPECT_NEAR(xmax - xmin, 2 * 7.587, 0.05);
    EXPECT_NEAR(156 - xmin, 7.587, 0.05);
    EXPECT_GT(linesOf(2).size(), 50u);   // whole hours
    EXPECT_GT(linesOf(1).size(), 50u);   // half hours (interval '1')
    EXPECT_GT(linesOf(5).size(), 50u);   // sign date lines
    // Noon: the summer-solstice apex shadow lies north (up) of the cone, on the meridian.
    bool noonLabel = false;
    for (const Primitive& p : painter.items) {
        if (p.kind == Primitive::Text && p.text == QStringLiteral("12"))
            // Beside the meridian (the number keeps off its line), above the cone.
            noonLabel = std::abs(p.points[0].x() + 0.6 * p.fontHeight - 156) < 2 * p.fontHeight && p.points[0].y() < 140;
    }
    EXPECT_TRUE(noonLabel);
    // Nothing of the dial outside the image.
    for (const Primitive& p : painter.items)
        if (p.kind == Primitive::Window) {
            EXPECT_LE(p.points[1].x(), 312);
        }
}

// At a northern and a southern site on a screen-sized sheet: no line runs through the legend,
// the hour numbers keep off every drawn line and off each other, and the southern dial's hour
// lines lie on the sheet below the legend instead of leaving most of it empty.
TEST(HollanderDial, LegendStaysClearNumbersKeepOffTheLinesAndTheSouthernDialFillsTheSheet) {
    constexpr int kW = 1152, kH = 784;
    for (const auto& [latitude, timeSystem] : {std::pair{47.0, 0}, std::pair{-35.0, 0}, std::pair{47.0, 1}, std::pair{-35.0, 1}}) {
        DialState s = AtTestSite(ConeDial(), latitude);
        s.timeSystem = timeSystem;
        RecordingPainter painter;
        RecordingDialogs dialogs;
        ASSERT_TRUE(kHollanderDial.draw(s, DefaultScreenRequest(s, QSize(kW, kH)), painter, dialogs).drawn) << latitude;
        const std::string where = "at " + std::to_string(latitude) + (timeSystem ? " zone time" : " solar time");

        // The legend: its title and lines, as the recording painter measures them.
        QRectF legend;
        std::vector<QRectF> numbers;
        for (const Primitive& t : painter.all(Primitive::Text)) {
            const QRectF box(t.points[0], QSizeF(0.6 * t.fontHeight * t.text.size(), t.fontHeight));
            if (t.role == 0) legend = legend.united(box);  // the legend's colour
            bool number = false;
            t.text.toInt(&number);
            if (number) numbers.push_back(box);
        }
        // Noon is numbered even where its line passes the cone on the date line nearest it.
        EXPECT_TRUE(painter.hasText(QStringLiteral("12"))) << where;
        ASSERT_FALSE(legend.isEmpty()) << where;
        ASSERT_GE(numbers.size(), 4u) << where;
        std::vector<QLineF> strokes;
        double top = 1e9, bottom = -1e9;
        for (int role : {1, 2, 5, 6}) {
            for (const Primitive& l : painter.lines(role)) {
                strokes.emplace_back(l.points[0], l.points[1]);
                EXPECT_FALSE(SegmentMeetsRect(strokes.back(), legend))
                    << where << ": a line through the legend at " << l.points[0].x() << "," << l.points[0].y();
                QPointF a = l.points[0], b = l.points[1];
                if (role == 2 && ClipSegment(a, b, QRectF(0, 0, kW, kH)))
                    top = std::min({top, a.y(), b.y()}), bottom = std::max({bottom, a.y(), b.y()});
            }
        }
        for (size_t i = 0; i < numbers.size(); ++i) {
            for (const QLineF& l : strokes)
                EXPECT_FALSE(SegmentMeetsRect(l, numbers[i])) << where << ": number at " << numbers[i].x() << ","
                                                              << numbers[i].y() << " on a line";
            for (size_t j = i + 1; j < numbers.size(); ++j) EXPECT_FALSE(numbers[i].intersects(numbers[j])) << where;
        }
        // The whole-hour lines, as far as they are on the sheet, span most of its height.
        EXPECT_GT(bottom - top, 0.55 * kH) << where;
    }
}

TEST(HollanderDial, AnglesThatFormNoConeShowTheErrorBoxAndDrawNothing) {
    DialState s = ConeDial();
    s.coneHalfAngle = 12;
    s.coneAxisInclination = 10;
    RecordingPainter painter;
    RecordingDialogs dialogs;
    DialRequest r;
    r.clientWidth = 800;
    r.clientHeight = 500;
    EXPECT_FALSE(kHollanderDial.draw(s, r, painter, dialogs).drawn);
    EXPECT_TRUE(painter.items.empty());
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text,
              QStringLiteral("Eingabefehler!\r\nDie Winkel alfa=12.00 und psi=10.00 sind zu klein oder es ist nicht psi>alfa !"));
    EXPECT_EQ(dialogs.events[0].caption, caption(CaptionKind::Error, Language::German));

    s.coneHalfAngle = 0.05;
    s.coneAxisInclination = 5;
    dialogs.clear();
    kHollanderDial.draw(s, r, painter, dialogs);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_TRUE(dialogs.events[0].text.contains(QStringLiteral("alfa=0.05 und psi= 5.00"))) << dialogs.events[0].text.toStdString();

    // The plots refuse too, and write nothing.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, 1);
    EXPECT_FALSE(kHollanderDial.writePlot(s, stream, dialogs));
    EXPECT_TRUE(buffer.data().isEmpty());
}

TEST(HollanderDial, PlotHeadQuestionAndGrid) {
    DialState s = ConeDial();
    RecordingDialogs no;
    const QString plain = PlotOf(s, no);
    EXPECT_TRUE(plain.startsWith(QStringLiteral("IN;VS 1;PA;IW 0 0 16157 11038;SP 4;PU 0 0;EA 16157 11038;PU 0 0;SI  0.22, 0.32")))
        << plain.left(120).toStdString();
    ASSERT_EQ(no.events.size(), 1u);
    EXPECT_EQ(no.events[0].caption, QStringLiteral("ZORVA.EXE - Was nun?"));
    EXPECT_EQ(no.events[0].text, QStringLiteral("Soll zusätzlich das Koordinatennetz gezeichnet werden?"));
    EXPECT_TRUE(plain.contains(QStringLiteral(";SP 1;")));
    EXPECT_TRUE(plain.contains(QStringLiteral("Sonnenuhr fuer mittlere Zeit")));
    EXPECT_FALSE(plain.contains(QLatin1Char('\n')));
    EXPECT_FALSE(plain.contains(QStringLiteral(";SP 9")));  // no grid

    RecordingDialogs yes;
    yes.answers = {Answer::Yes};
    s.language = Language::English;
    const QString grid = PlotOf(s, yes);
    EXPECT_EQ(yes.events[0].caption, QStringLiteral("ZORVA.EXE - Question"));
    EXPECT_EQ(yes.events[0].text, QStringLiteral("Additional Grid of Co-ordinates in Graphics-File"));
    EXPECT_TRUE(grid.contains(QStringLiteral(";SP 9")));
    EXPECT_GT(grid.size(), plain.size());

    // The cone plot: its own head, the cross-section and the mantle.
    RecordingDialogs quiet;
    const QString cone = PlotOf(ConeDial(), quiet, true);
    EXPECT_TRUE(cone.startsWith(QStringLiteral("IN;VS 1;PA;{IW 0 0 16157 11038;}PU 0 0;EA 16157 11038"))) << cone.left(80).toStdString();
    EXPECT_TRUE(cone.contains(QStringLiteral("Sektorwinkel =   74.85 Grad")));  // 360 sin 12
    EXPECT_TRUE(quiet.events.empty());
}

class HollanderSave : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
    RecordingDialogs dialogs_;
};

TEST_F(HollanderSave, HpglWritesTheDialAndTheConeFile) {
    PlotSaveRequest r;
    r.fileName = path(QStringLiteral("holl.plt"));
    const PlotSaveResult result = SaveDialPlot(ConeDial(), r, dialogs_);
    ASSERT_TRUE(result.ok) << dialogs_.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(result.secondFileName, path(QStringLiteral("hollCone.plt")));
    QFile dial(r.fileName), cone(result.secondFileName);
    ASSERT_TRUE(dial.open(QIODevice::ReadOnly));
    ASSERT_TRUE(cone.open(QIODevice::ReadOnly));
    EXPECT_TRUE(dial.readAll().startsWith("IN;VS 1;PA;IW 0 0 16157 11038;SP 4;"));
    EXPECT_TRUE(cone.readAll().startsWith("IN;VS 1;PA;{IW 0 0 16157 11038;}"));
    EXPECT_TRUE(dialogs_.contains(QStringLiteral("Kegelkonstruktion (Querschnitt, Mantel) in Datei  \"hollCone.plt\" !!!")))
        << dialogs_.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(HollanderSave, BothDxfFilesReadInEzdxfAndLieOnTheSheet) {
    const QString python = PythonWithEzdxf();
    if (python.isEmpty()) GTEST_SKIP() << "python3-ezdxf is not installed";
    DialState vertical = ConeDial();
    vertical.hollanderShadowLine = 1;
    vertical.wallDeclination = 30;
    vertical.coneAxisInclination = 60;
    QStringList files;
    for (const auto& [name, state] : {std::pair{QStringLiteral("horizontal"), ConeDial()}, std::pair{QStringLiteral("wall"), vertical}}) {
        PlotSaveRequest r;
        r.fileName = path(name + QStringLiteral(".dxf"));
        r.format = PlotFormat::Dxf;
        r.highResolution = true;
        const PlotSaveResult saved = SaveDialPlot(state, r, dialogs_);
        ASSERT_TRUE(saved.ok) << name.toStdString();
        files << r.fileName << saved.secondFileName;
    }
    ExpectDxfFilesOnTheSheet(python, files, 20, 0.01);
    EXPECT_TRUE(dir_.isValid());
}

TEST_F(HollanderSave, BothPlotsRenderInHp2xx) {
    if (QStandardPaths::findExecutable(QStringLiteral("hp2xx")).isEmpty()) GTEST_SKIP() << "hp2xx is not installed";
    PlotSaveRequest r;
    r.fileName = path(QStringLiteral("h.plt"));
    dialogs_.answers = {Answer::Yes};  // with the grid
    const PlotSaveResult saved = SaveDialPlot(ConeDial(), r, dialogs_);
    ASSERT_TRUE(saved.ok);
    for (const QString& file : {r.fileName, saved.secondFileName})
        ExpectHp2xxDrawsWithoutComplaint(file, file + QStringLiteral(".png"), file.toStdString());
}

TEST(HollanderDial, InformationListsSignDatesAndTheLineNearestTheCone) {
    const QStringList lines = HollanderInformation(ConeDial());
    const QString text = lines.join(QLatin1Char('\n'));
    // 2013: the sun enters Cancer on 21 June (day 172) at the full obliquity.
    EXPECT_TRUE(text.contains(QStringLiteral("Tag 172 (=21.6.) hat Deklination= 23.4"))) << text.toStdString();
    EXPECT_EQ(lines.filter(QStringLiteral(") hat Deklination=")).size(), 12);
    EXPECT_TRUE(text.contains(QStringLiteral("Tag 355 (=21.12.) hat Deklination=-23.4"))) << text.toStdString();
    EXPECT_EQ(lines.filter(QStringLiteral(" Kegelnaechste Datumslinie bei Deklination = ")).size(), 1);
    EXPECT_TRUE(text.contains(QStringLiteral("Abstand vom Kegel")));
    // One distance per sign date line, each a positive number of millimetres.
    int distances = 0;
    for (const QString& line : lines) {
        if (!line.contains(QLatin1Char('/')) && !line.startsWith(QStringLiteral("21."))) continue;
        if (line.contains(QStringLiteral("Tag "))) continue;
        const double d = line.mid(18, 8).trimmed().toDouble();
        EXPECT_GT(d, 1.0) << line.toStdString();
        ++distances;
    }
    EXPECT_EQ(distances, 7) << text.toStdString();
}

}  // namespace
}  // namespace zorva::test
