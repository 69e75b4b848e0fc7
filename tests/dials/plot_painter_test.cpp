// The plot painter: pens by colour role, y turned upward, pen-down runs, circles and labels
// in the plot dialect, the resolution factor and the pen-width rule.
#include "dials/plot_painter.h"
#include "support/test_support.h"

#include <QBuffer>
#include <QRegularExpression>

namespace zorva::test {
namespace {

struct Plot {
    explicit Plot(int p = 1, int lineWidth = 1) : stream((buffer.open(QIODevice::WriteOnly), buffer), p),
                                                  painter(stream, lineWidth) {}
    QString text() {
        painter.flush();
        return QString::fromLatin1(buffer.data());
    }
    QBuffer buffer;
    PlotStream stream;
    PlotPainter painter;
};

TEST(PlotPainter, PenIsRolePlusOneAndYPointsUp) {
    Plot plot;
    plot.painter.setPenRole(0);
    plot.painter.moveTo(100, 38);           // 11038 - 38 = 11000
    plot.painter.lineTo(200, 1038);
    plot.painter.lineTo(300, 11038);
    plot.painter.setPenRole(2);
    plot.painter.moveTo(0, 0);
    plot.painter.lineTo(10, 10);
    EXPECT_EQ(plot.text(), QStringLiteral(";SP 1;PU 100 11000;PD 200 10000 300 0;SP 3;PU 0 11038;PD 10 11028"));
}

TEST(PlotPainter, PenSelectedOnlyWhenSomethingIsDrawn) {
    Plot plot;  // the head left pen 4 selected
    plot.painter.setPenRole(7);
    plot.painter.setPenRole(3);
    plot.painter.moveTo(0, 0);
    plot.painter.lineTo(40, 0);
    plot.painter.setPenColour(0xFFFFFF, 8);
    plot.painter.moveTo(0, 0);
    plot.painter.lineTo(40, 0);
    EXPECT_EQ(plot.text(), QStringLiteral(";PU 0 11038;PD 40 11038;SP 9;PU 0 11038;PD 40 11038"));
}

TEST(PlotPainter, ResolutionFactorMultipliesEveryNumberButPens) {
    const auto draw = [](Plot& plot) {
        plot.painter.setPenRole(1);
        plot.painter.moveTo(8200.4, 5500.2);
        plot.painter.lineTo(8300.6, 5600.8);
        plot.painter.circle(100, 200, 30, FillStyle::Solid, 0xFF0000);
        plot.painter.setFont(QStringLiteral("Arial"), 120, false);
        plot.painter.setTextRole(3);
        plot.painter.text(200, 300, QStringLiteral("Gnomon Höhe"), TextAnchor::BottomLeft, 0);
    };
    Plot one(1), hires(25);
    draw(one);
    draw(hires);
    EXPECT_EQ(one.text(), QStringLiteral(";SP 2;PU 8200 5538;PD 8301 5437;PU 100 10838;CI 30,3;"
                                         ";SP 4;PU 200 10738;SI  0.15, 0.23;LBGnomon Hoehe\x03"));
    // Rounded separately: 25 × 5537.8 = 138445, not 25 × 5538.
    EXPECT_EQ(hires.text(), QStringLiteral(";SP 2;PU 205010 138445;PD 207515 135930;PU 2500 270950;CI 750,3;"
                                           ";SP 4;PU 5000 268450;SI  3.75, 5.62;LBGnomon Hoehe\x03"));
}

TEST(PlotPainter, LabelsStandOnTheirLowerLeftCorner) {
    Plot plot;
    plot.painter.setFont(QStringLiteral("Arial"), 160, false);
    plot.painter.text(400, 1000, QStringLiteral("S"), TextAnchor::TopLeft, 0);
    plot.painter.text(400, 2000, QStringLiteral("T"), TextAnchor::BottomLeft, 0);
    // The size is written once while it stays the same.
    // Capitals take three quarters of the line pitch: 120 units, 3 mm.
    EXPECT_EQ(plot.text(), QStringLiteral(";PU 400 9918;SI  0.20, 0.30;LBS\x03;PU 400 9038;LBT\x03"));
    EXPECT_DOUBLE_EQ(plot.painter.textHeight(), 160);
    EXPECT_DOUBLE_EQ(plot.painter.textWidth(QStringLiteral("ABCD")), 4 * 120);
}

TEST(PlotPainter, TurnedLabelWritesItsDirection) {
    Plot plot;
    plot.painter.setFont(QStringLiteral("Arial"), 100, false);
    plot.painter.text(0, 11038, QStringLiteral("up"), TextAnchor::BottomLeft, 90);
    plot.painter.text(0, 11038, QStringLiteral("again"), TextAnchor::BottomLeft, 90);
    plot.painter.text(0, 11038, QStringLiteral("flat"), TextAnchor::BottomLeft, 0);
    const QString t = plot.text();
    EXPECT_EQ(t.count(QStringLiteral(";DI ")), 2) << t.toStdString();
    EXPECT_TRUE(t.contains(QStringLiteral(";DI 0,100;LBup\x03"))) << t.toStdString();
    EXPECT_TRUE(t.contains(QStringLiteral(";DI 100,0;LBflat\x03"))) << t.toStdString();
}

TEST(PlotPainter, EmptyLabelsAndFillsWriteNothing) {
    Plot plot;
    plot.painter.text(0, 0, QString(), TextAnchor::TopLeft, 0);
    plot.painter.text(0, 0, QStringLiteral("   "), TextAnchor::TopLeft, 0);
    plot.painter.fillRect(0, 0, 100, 100, 0xFFFFFF);
    EXPECT_EQ(plot.text(), QString());
}

TEST(PlotPainter, PenWidthOnlyWhenTheLineWidthIsNotOne) {
    {
        Plot fine(1, 1);
        fine.painter.setPenWidth(1);
        fine.painter.setPenWidth(3);
        fine.painter.moveTo(0, 0);
        fine.painter.lineTo(1, 1);
        fine.painter.setPenWidth(1);
        EXPECT_FALSE(fine.text().contains(QStringLiteral("PW")));
    }
    Plot thick(1, 3);
    thick.painter.setPenWidth(1);
    thick.painter.setPenWidth(3);
    thick.painter.setPenWidth(3);
    thick.painter.moveTo(0, 0);
    thick.painter.lineTo(1, 1);
    thick.painter.setPenWidth(1);
    // Written just before the stroke that uses it: a width nothing was drawn with is skipped.
    EXPECT_EQ(thick.text(), QStringLiteral(";PW 2;;SP 1;PU 0 11038;PD 1 11037"));
    thick.painter.applyPenWidth();
    EXPECT_TRUE(thick.text().endsWith(QStringLiteral(";PW 0;")));
}

TEST(PlotPainter, RectanglePolygonAndDashes) {
    Plot plot;
    plot.painter.setPenRole(3);
    plot.painter.setLineStyle(LineStyle::Dashed);
    plot.painter.rectangle(10, 20, 30, 40);
    plot.painter.setLineStyle(LineStyle::Solid);
    plot.painter.polygon({{0, 0}, {10, 0}, {10, 10}}, FillStyle::DiagonalHatch, 0x808080);
    EXPECT_EQ(plot.text(), QStringLiteral(";LT 2,2;;PU 10 11018;PD 30 11018 30 10998 10 10998 10 11018;LT;"
                                          ";PU 0 11038;PD 10 11038 10 11028 0 11038"));
}

TEST(PlotPainter, WindowIsMirroredIntoTheSheet) {
    Plot plot;
    plot.painter.setWindow(0, 38, 16157, 11038);
    plot.painter.resetWindow();
    EXPECT_EQ(plot.text(), QStringLiteral(";IW 0 0 16157 11000;;IW 0 0 16157 11038;"));
}

TEST(PlotPainter, ArcRunsCounterClockwiseOnTheSheet) {
    Plot plot;
    plot.painter.setPenRole(0);
    plot.painter.arc(1000, 1038, 100, 0, 90);
    EXPECT_EQ(plot.text(), QStringLiteral(";SP 1;PU 1100 10000;PD;AA 1000 10000 90.00 0.2;"));
}

TEST(PlotPainter, LongRunsAreSplitIntoValidPenDownCommands) {
    Plot plot;
    plot.painter.setPenRole(3);
    plot.painter.moveTo(0, 0);
    for (int i = 1; i <= 2000; ++i) plot.painter.lineTo(i, 0);
    const QString t = plot.text();
    // Every pair is written once, and every chunk starts with a pen-down command.
    EXPECT_EQ(t.count(QStringLiteral(" 11038")), 2001);
    const QStringList commands = t.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& c : commands) EXPECT_TRUE(c.startsWith(QStringLiteral("PU ")) || c.startsWith(QStringLiteral("PD ")));
    EXPECT_GT(commands.size(), 2);
}

}  // namespace
}  // namespace zorva::test

namespace zorva::test {
namespace {

TEST(PlotPainter, StrokesTooShortForThePlotterAreLeftOut) {
    Plot plot;
    plot.painter.setPenRole(0);
    plot.painter.moveTo(100, 100);
    plot.painter.lineTo(100.2, 100.1);  // the same plotter unit
    plot.painter.lineTo(200, 100);
    plot.painter.lineTo(200.3, 99.8);
    plot.painter.lineTo(300, 100);
    plot.painter.moveTo(500, 500);
    plot.painter.lineTo(500.4, 500);
    EXPECT_EQ(plot.text(), QStringLiteral(";SP 1;PU 100 10938;PD 200 10938 300 10938"));
}

TEST(PlotPainter, NothingReachesBeyondTheSheet) {
    Plot plot;
    plot.painter.setPenRole(3);
    // A circle across the top edge becomes chords the plot window cuts; one beyond the
    // sheet and a label that would stand above it are left out.
    plot.painter.circle(8200, 20, 80, FillStyle::None, 0);
    plot.painter.circle(8200, -500, 80, FillStyle::None, 0);
    plot.painter.setFont(QStringLiteral("Arial"), 160, false);
    plot.painter.text(100, 50, QStringLiteral("20"), TextAnchor::BottomLeft, 0);
    plot.painter.text(16100, 5000, QStringLiteral("wide"), TextAnchor::BottomLeft, 0);
    const QString t = plot.text();
    EXPECT_FALSE(t.contains(QStringLiteral("CI"))) << t.toStdString();
    EXPECT_FALSE(t.contains(QStringLiteral("LB"))) << t.toStdString();
    EXPECT_TRUE(t.startsWith(QStringLiteral(";PU 8280 11018;PD "))) << t.toStdString();
    EXPECT_EQ(t.count(QStringLiteral(";PU ")), 1);
}

}  // namespace
}  // namespace zorva::test
