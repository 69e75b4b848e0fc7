// The plot dialect as the constructions write it: exact command texts, the resolution
// factor, labels, and write failures.
#include "dxf_reading.h"
#include "plot/plot_stream.h"
#include "support/test_support.h"

#include <QBuffer>
#include <QFile>

namespace zorva::test {
namespace {

// Writes through a PlotStream into memory and returns the bytes.
template <typename Draw>
QByteArray Plot(int p, Draw draw) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, p);
    draw(stream);
    return bytes;
}

void SampleDrawing(PlotStream& s) {
    s.writeStandardHead();
    s.selectPen(3);
    s.polyline({{100, 200}, {300.4, 200.5}, {300, 401}});
    s.penUp(1000, 1000);
    s.circle(120);
    s.arc(1000, 1200, -45);
    s.lineDashed();
    s.penUp(0, 0);
    s.penDown(40, 0);
    s.lineSolid();
    s.characterSize(0.18, 0.27);
    s.direction(100, 0);
    s.labelAt(200, 400, QStringLiteral("12 Uhr; (WOZ)"));
    s.symbolSet();
    s.label(QStringLiteral("^"));
    s.standardSet();
    s.penWidth(1);
    s.inputWindow(0, 10, 16151, 0);
    s.frame(800, 400);
    s.resetWindow();
}

TEST(PlotStream, CommandsAreWrittenExactlyAtBothResolutions) {
    EXPECT_EQ(Plot(1, SampleDrawing),
              QByteArray("IN;VS 1;PA;IW 0 0 16157 11038;PU 0 0;EA 16157 11038;;SP 4;PU 0 0;"
                         ";SP 3;PU 100 200;PD 300 200 300 401;PU ;"
                         ";PU 1000 1000;CI 120,0.2;PD;AA 1000 1200 -45.00 0.2;"
                         ";LT 2,2;;PU 0 0;PD 40 0;LT;;SI  0.18, 0.27;DI 100,0"
                         ";PU 200 400;LB12 Uhr; (WOZ)\x03;SA;LB^\x03;SS;PW 1;"
                         ";IW 0 10 16151 0;;EA 800 400;;IW;"));
    // 25-fold: every coordinate, length and size times 25, pens and angles unchanged;
    // 200.5 and 300.4 are rounded after scaling, not before.
    EXPECT_EQ(Plot(25, SampleDrawing),
              QByteArray("IN;VS 1;PA;IW 0 0 403925 275950;PU 0 0;EA 403925 275950;;SP 4;PU 0 0;"
                         ";SP 3;PU 2500 5000;PD 7510 5012 7500 10025;PU ;"
                         ";PU 25000 25000;CI 3000,0.2;PD;AA 25000 30000 -45.00 0.2;"
                         ";LT 2,2;;PU 0 0;PD 1000 0;LT;;SI  4.50, 6.75;DI 100,0"
                         ";PU 5000 10000;LB12 Uhr; (WOZ)\x03;SA;LB^\x03;SS;PW 1;"
                         ";IW 0 250 403775 0;;EA 20000 10000;;IW;"));
}

TEST(PlotStream, HeadsEndsAndTheTitleBlock) {
    EXPECT_EQ(Plot(1, [](PlotStream& s) { s.writeHeadFramedWithPen4(); }),
              QByteArray("IN;VS 1;PA;IW 0 0 16157 11038;SP 4;PU 0 0;EA 16157 11038"));
    EXPECT_EQ(Plot(25, [](PlotStream& s) { s.writeConeHead(); }),
              QByteArray("IN;VS 1;PA;{IW 0 0 403925 275950;}PU 0 0;EA 403925 275950"));
    EXPECT_EQ(Plot(1,
                   [](PlotStream& s) {
                       s.writeShortHead(ShortHead::Plain);
                       s.writeShortHead(ShortHead::SlowPen);
                       s.writeShortHead(ShortHead::StandardCharacterSet);
                       s.writeEnd(PlotEnd::PenAway);
                       s.writeEnd(PlotEnd::PenAwayCompact);
                       s.writeEnd(PlotEnd::Initialise);
                       s.writeEnd(PlotEnd::WindowReset);
                   }),
              QByteArray("IN;PA;IN;VS 1;PA;IN;SS;PA;;SP 0;IN;;SP0;IN;;IN;;IW;IN;"));
    // After the title's terminator the normal size follows without a leading ";".
    EXPECT_EQ(Plot(1,
                   [](PlotStream& s) {
                       s.titleBlock(0.28, 0.42, QStringLiteral("Azimutalsonnenuhr"), 0.16, 0.24,
                                    {QStringLiteral("Breite 47.25"), QString(), QStringLiteral("[WOZ ]")});
                   }),
              QByteArray(";SP 1;SI  0.28, 0.42;PU 200 10500;LBAzimutalsonnenuhr\x03SI  0.16, 0.24;"
                         ";PU 200 10300;LBBreite 47.25\x03;PU 200 9900;LB[WOZ ]\x03"));
}

TEST(PlotStream, WritePlotAddsNothingAndEmptyTextsWriteNothing) {
    const QByteArray bytes = Plot(1, [](PlotStream& s) {
        s.WritePlot(QStringLiteral("PU 1 2"));
        s.WritePlot(QString());
        s.label(QString());
        s.labelAt(5, 5, QString());
        s.penDownThrough({});
        s.polyline({{1, 1}});
        s.WritePlot(QStringLiteral(";LB20\u00B0\u0003"));
        s.label(QStringLiteral("a\u0003b"));  // a terminator inside would end the label early
        s.labelAt(0, 0, QStringLiteral("x\r\ny\nz"));
    });
    EXPECT_EQ(bytes, QByteArray("PU 1 2;LB20\xB0\x03;LBab\x03;PU 0 0;LBx y z\x03"));
    EXPECT_FALSE(bytes.contains('\n'));
    EXPECT_FALSE(bytes.contains('\r'));
}

TEST(PlotStream, AFailedWriteEndsTheConstruction) {
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly)) GTEST_SKIP() << "no /dev/full";
    PlotStream stream(full, 1);
    // The disk is full at the first command, not at some later close.
    EXPECT_THROW(stream.writeStandardHead(), PlotWriteError);
}

TEST(PlotStream, HighResolutionPlotConvertsToTheSameMillimetres) {
    const auto drawing = [](PlotStream& s) {
        s.writeStandardHead();
        s.selectPen(2);
        s.polyline({{400, 400}, {8000, 400}, {8000, 6000}});
        s.penUp(1000, 1000);
        s.circle(80, QStringLiteral("0.5"));
        s.penUp(2000, 1000);
        s.arc(1500, 1000, 90);
        s.characterSize(0.18, 0.27);
        s.labelAt(200, 10500, QStringLiteral("Titel"));
    };
    const Conversion low = ConvertText(Plot(1, drawing), 40);
    const Conversion high = ConvertText(Plot(25, drawing), 1000);
    ASSERT_TRUE(low.result.converted);
    ASSERT_EQ(low.entities.size(), high.entities.size());
    for (size_t i = 0; i < low.entities.size(); ++i) {
        EXPECT_EQ(low.entities[i].name, high.entities[i].name);
        EXPECT_EQ(low.entities[i].groups, high.entities[i].groups) << low.entities[i].name.toStdString();
    }
    EXPECT_EQ(low.polylines().at(1), (std::vector<QByteArray>{"10.0000,10.0000", "200.0000,10.0000",
                                                             "200.0000,150.0000"}));
}

}  // namespace
}  // namespace zorva::test
