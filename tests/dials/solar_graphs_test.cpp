// The equation-of-time graph and the sun-position diagram: plot files to the command, and
// the screen drawing by its pixels.
#include "dials/solar_graphs.h"

#include "support/test_support.h"
#include "text/texts.h"

#include <QFile>
#include <cmath>

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>

namespace zorva {
namespace {

DialState Site(double lon = -9.55, double zone = -15) {
    DialState s = StartupState();
    s.latitude = 47.25;
    s.longitude = lon;
    s.zoneMeridian = zone;
    s.referenceYear = 1999;
    s.language = Language::German;
    return s;
}

// The y coordinate of the horizontal grid line drawn across the year at a given label.
int GridLineY(const QString& plot, const QString& labelText) {
    const QRegularExpression re(QStringLiteral(";PU (-?\\d+) (-?\\d+);LB") + QRegularExpression::escape(labelText) +
                                QChar(3));
    const QRegularExpressionMatch m = re.match(plot);
    return m.hasMatch() ? m.captured(2).toInt() + 4 * 12 : -999999;  // labels sit 12 units below their line
}

TEST(EotGraphPlot, HeadGridAndScale) {
    const QString plot = EotGraphPlot(Site(), GraphPlotOptions{});
    // Origin 182 (x 4 = 728), the -17 minute line at 850 - 17 * 30 (x 4 = 1360), 365 days of 5 units.
    EXPECT_TRUE(plot.startsWith(QStringLiteral("IN;SP 8;SI 0.14, 0.24;SP 8;PU 728 1360;PD 8028 1360;PU 728 1600;PD 8028 1600")))
        << plot.left(80).toStdString();
    EXPECT_FALSE(plot.contains(QLatin1Char('\n')));
    EXPECT_FALSE(plot.contains(QLatin1Char('\r')));
    // One minute spans 4 * 30 * factor units.
    EXPECT_EQ(GridLineY(plot, QStringLiteral("5")) - GridLineY(plot, QStringLiteral("0")), 5 * 120);
    GraphPlotOptions tall;
    tall.factor = 20;
    const QString big = EotGraphPlot(Site(), tall);
    EXPECT_EQ(GridLineY(big, QStringLiteral("5")) - GridLineY(big, QStringLiteral("0")), 5 * 2400);
    // Captions and month names, each closed by character 3.
    EXPECT_TRUE(plot.contains(QStringLiteral(";SI 0.22,0.33")));
    EXPECT_TRUE(plot.contains(QStringLiteral(";LBJan") + QChar(3)));
    EXPECT_TRUE(plot.contains(QStringLiteral(";LBZeitgleichung =(wahre Ortszeit)-(Mittlere Ortszeit) fuer das Jahr 1999") +
                              QChar(3)));
    // The curve: pen 3, every third day and the year's end, then the pen is put away.
    const int curve = plot.indexOf(QStringLiteral(";SP 3;PU 728 "));
    ASSERT_GT(curve, 0);
    const QString tail = plot.mid(curve);
    EXPECT_TRUE(tail.endsWith(QStringLiteral(";PU;SP 0;")));
    const QString points = tail.section(QStringLiteral(";PD"), 1).section(QLatin1Char(';'), 0, 0);
    EXPECT_EQ(points.split(QLatin1Char(' '), Qt::SkipEmptyParts).size(), 2 * 122);
}

TEST(EotGraphPlot, LongitudeCorrectionShiftsLabelsByTruncatedMinutes) {
    DialState s = Site();  // 9.55 E in zone -15: -21.8 minutes
    s.eotLongitudeCorrection = true;
    const QString plot = EotGraphPlot(s, GraphPlotOptions{});
    // The zero line now reads -21, and the whole graph sits 21 units higher.
    EXPECT_EQ(GridLineY(plot, QStringLiteral("-21")), 4 * (850 + 21));
    EXPECT_EQ(GridLineY(plot, QStringLiteral("-16")), 4 * (850 + 21 + 150));
    EXPECT_TRUE(plot.contains(QStringLiteral(";LBZonenzeit= wahre Ortszeit - Tabellenwert") + QChar(3)));
    EXPECT_TRUE(plot.contains(QStringLiteral(";LB[fuer das Jahr 1999 und geogr. Laenge   -9.55 Grad]") + QChar(3)));

    // On the zone meridian the corrected plot is the plain one but for its captions.
    DialState onMeridian = Site(-15, -15);
    const QString plain = EotGraphPlot(onMeridian, GraphPlotOptions{});
    onMeridian.eotLongitudeCorrection = true;
    const QString corrected = EotGraphPlot(onMeridian, GraphPlotOptions{});
    EXPECT_EQ(corrected.mid(corrected.indexOf(QStringLiteral(";SP 3"))), plain.mid(plain.indexOf(QStringLiteral(";SP 3"))));
}

TEST(EotGraphPlot, MirroringTurnsTheAxisUpsideDown) {
    GraphPlotOptions mirrored;
    mirrored.mirror = true;
    const QString plot = EotGraphPlot(Site(), mirrored);
    // The axis reads mean minus apparent time: its labels still grow upward, while the
    // curve of 1 January (EoT -3.4 minutes) now lies above the zero line.
    EXPECT_EQ(GridLineY(plot, QStringLiteral("-5")), 4 * (850 - 150));
    EXPECT_EQ(GridLineY(plot, QStringLiteral("5")), 4 * (850 + 150));
    const QRegularExpressionMatch first = QRegularExpression(QStringLiteral(";SP 3;PU 728 (\\d+);PD")).match(plot);
    ASSERT_TRUE(first.hasMatch());
    EXPECT_NEAR(first.captured(1).toInt(), 4 * (850 + 3.4 * 30), 8);
    EXPECT_LT(QRegularExpression(QStringLiteral(";SP 3;PU 728 (\\d+);PD")).match(EotGraphPlot(Site(), {})).captured(1).toInt(),
              4 * 850);
    EXPECT_TRUE(plot.contains(QStringLiteral(";LBDifferenz (mittlere Ortszeit-wahre Ortszeit) fuer das Jahr 1999")));
    DialState corrected = Site();
    corrected.eotLongitudeCorrection = true;
    EXPECT_TRUE(EotGraphPlot(corrected, mirrored).contains(QStringLiteral(";LBZonenzeit = WOZ+Tabellenwert") + QChar(3)));
}

TEST(SunPathPlot, HeadTitleAndScales) {
    const QString plot = SunPathPlot(Site());
    const QString head = QStringLiteral(
        ";IN;SS;SI 0.14, 0.24;SP 4;PU 400 4620;LB Sonnenhoehen fuer 1999  ( G. Breite =  47.25, G. Laenge =   -9.55, "
        "Zonenmeridian=  -15.00 )");
    EXPECT_EQ(plot.left(head.size()), head);
    // Azimuth strokes from y0 = 700: full height at -180, D = 53 at -179, 3 D at -170, 1.8 D at -175.
    EXPECT_TRUE(plot.contains(QStringLiteral(";SI 0.10, 0.15 ;;PU 312 700;PD 312 4300;PU 333 700;PD 333 753")));
    EXPECT_TRUE(plot.contains(QStringLiteral(";PU 417 700;PD 417 795")));
    EXPECT_TRUE(plot.contains(QStringLiteral(";PU 523 700;PD 523 859")));
    // Altitude lines across the width at every ten degrees, 40 units per degree.
    EXPECT_TRUE(plot.contains(QStringLiteral(";PU 312 1100;PD 7891 1100")));
    EXPECT_TRUE(plot.contains(QStringLiteral(";PU 312 740;PD 365 740")));
    EXPECT_TRUE(plot.contains(QStringLiteral(";LBSonnenhoehe") + QChar(3)));
    EXPECT_TRUE(plot.contains(QStringLiteral(";LB Sued") + QChar(3)));
    // Zodiac signs in the symbol set, the summer solstice (Cancer) as code 97.
    EXPECT_TRUE(plot.contains(QStringLiteral(";LBa") + QChar(3) + QStringLiteral(";SS")));
    EXPECT_EQ(plot.count(QStringLiteral(";SA;SP 1")), 7);
    EXPECT_TRUE(plot.contains(QStringLiteral(";SI 0.09, 0.15 ;SP 4")));
    EXPECT_TRUE(plot.endsWith(QStringLiteral(";PU;SP 0;")));
    EXPECT_FALSE(plot.contains(QStringLiteral(";SP 10")));
}

TEST(SunPathPlot, PlaneMarkingUsesPenTen) {
    DialState s = Site();
    s.showPlaneSunlight = true;
    s.planeInclination = 90;  // a vertical wall facing south: the summer sun goes behind it
    s.wallDeclination = 0;
    const QString plot = SunPathPlot(s, SunPathExtras{StateSkyMarker(s), {}, {}});
    EXPECT_TRUE(plot.contains(QStringLiteral(";SP 10;PU ")));
}

// ---- plot bytes against the files written before the graphs were drawn through the painter

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A terrain profile of 720 half-degree sectors: a ridge in the east, open to the west.
std::vector<SkyPoint> Ridge() {
    std::vector<SkyPoint> profile;
    for (int i = 0; i < 720; ++i) {
        const double azimuth = -180.0 + 0.5 * i;
        profile.push_back({azimuth, azimuth < 0 ? 12.0 * std::sin(-azimuth * M_PI / 180.0) + 0.37 : 0.0, false});
    }
    return profile;
}

struct GraphCase {
    const char* name;
    QString plot;
};

std::vector<GraphCase> GraphCases() {
    DialState english = Site(11.58, 15);
    english.language = Language::English;
    english.referenceYear = 2024;
    DialState corrected = Site();
    corrected.eotLongitudeCorrection = true;
    GraphPlotOptions mirrored;
    mirrored.mirror = true;
    mirrored.factor = 2.5;
    DialState wall = Site();
    wall.showPlaneSunlight = true;
    wall.planeInclination = 90;
    wall.wallDeclination = 35;
    DialState south = english;
    south.latitude = -33.9;
    south.longitude = 18.4;
    south.zoneMeridian = 30;
    south.eotLongitudeCorrection = true;
    return {
        {"graph_eot_de", EotGraphPlot(Site(), GraphPlotOptions{})},
        {"graph_eot_de_corrected_mirrored", EotGraphPlot(corrected, mirrored)},
        {"graph_eot_en_corrected", EotGraphPlot([&] { DialState s = english; s.eotLongitudeCorrection = true; return s; }(),
                                                GraphPlotOptions{0.5, false})},
        {"graph_sun_de_wall_ridge", SunPathPlot(wall, SunPathExtras{StateSkyMarker(wall), Ridge(), QStringLiteral("Sonne ab 7:12")})},
        {"graph_sun_en_south", SunPathPlot(south, SunPathExtras{StateSkyMarker(south), {}, {}})},
    };
}

TEST(GraphPlots, BytesStayAsWritten) {
    for (const GraphCase& c : GraphCases()) {
        const QString path = test::dataPath(QString::fromLatin1(c.name) + QStringLiteral(".plt"));
        const QByteArray bytes = c.plot.toLatin1();
        if (qEnvironmentVariableIntValue("ZORVA_UPDATE_GOLDEN") == 1) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const QByteArray expected = ReadFile(path);
        ASSERT_FALSE(expected.isEmpty()) << c.name;
        qsizetype at = 0;
        while (at < std::min(expected.size(), bytes.size()) && expected[at] == bytes[at]) ++at;
        EXPECT_EQ(at, expected.size()) << c.name << ": first difference at byte " << at << ": "
                                       << bytes.mid(std::max<qsizetype>(0, at - 40), 80).toStdString();
        EXPECT_EQ(bytes.size(), expected.size()) << c.name;
    }
}

// ---- screen

int CountColour(const QImage& image, QRgb colour, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == colour) ++n;
    return n;
}

TEST(EotGraphScreen, PositiveValuesPointUpward) {
    QImage image(1000, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        PaintEotGraph(p, QRectF(0, 0, 1000, 600), Site());
    }
    const QRgb curve = qRgb(255, 0, 0);  // colour 3
    // November (sun fast, +16 minutes) in the upper half, February (-14) in the lower half.
    const int nov = 80 + 850 * 305 / 365;
    const int feb = 80 + 850 * 42 / 365;
    EXPECT_GT(CountColour(image, curve, QRect(nov - 20, 0, 40, 250)), 10);
    EXPECT_EQ(CountColour(image, curve, QRect(nov - 20, 350, 40, 250)), 0);
    EXPECT_GT(CountColour(image, curve, QRect(feb - 20, 350, 40, 250)), 10);
    EXPECT_EQ(CountColour(image, curve, QRect(feb - 20, 0, 40, 250)), 0);
}

TEST(SunPathScreen, DayPathsAndMarking) {
    DialState s = Site();
    QImage image(1000, 700, QImage::Format_RGB32);
    const auto draw = [&](const DialState& state) {
        image.fill(Qt::white);
        QPainter p(&image);
        PaintSunPathDiagram(p, QRectF(0, 0, 1000, 700), state, SunPathExtras{StateSkyMarker(state), {}, {}});
    };
    draw(s);
    const QRgb dayPath = qRgb(255, 0, 0), marked = qRgb(255, 0, 255);
    EXPECT_GT(CountColour(image, dayPath, image.rect()), 500);
    EXPECT_EQ(CountColour(image, marked, image.rect()), 0);
    s.showPlaneSunlight = true;
    s.planeInclination = 90;
    s.wallDeclination = 0;
    draw(s);
    EXPECT_GT(CountColour(image, marked, image.rect()), 50);
}

}  // namespace
}  // namespace zorva
