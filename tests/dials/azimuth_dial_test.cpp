// The azimuth dial: the three altitude scales against hand-computed radii, sun directions
// placed where the pointer's shadow falls, lines that end on the horizon circle, the
// southern variant, the horizon profile's shading, and the plot and DXF files.
#include "astro/horizon_profile.h"
#include "dials/azimuth_dial.h"
#include "dials/dial_constructions.h"
#include "dials/printer_page.h"
#include "dials/recording_painter.h"
#include "support/plot_readers.h"
#include "plot/plot_stream.h"
#include "support/test_support.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorva::test {
namespace {

// Colour roles the dial draws with (see the legend of the palette).
constexpr int kApparentRole = 1, kProfileRole = 3, kEclipticRole = 4, kMainDateRole = 5, kTemporalRole = 7,
              kDiscRole = 8, kShadedRole = 10;

DialState AzimuthState(int spacing) {
    DialState s = StartupState();
    s.dialType = 'a';
    s.azimuthKind = 1;
    s.altitudeCircleSpacing = spacing;
    s.basePlateDiameterCm = 18;  // R = 90 mm
    s.observerDistanceCm = 30;
    s.latitude = 47.25;
    s.apparentTimeLines = true;
    s.constructWithEoT = false;
    s.meanTimeLines = false;
    s.timeSystem = 0;
    s.hourFrom = 5;
    s.hourTo = 19;
    s.hourLineInterval = '0';
    s.dateLinesPerMonth = 1;
    s.wholeHourDaylengthLines = false;
    s.temporalHours = s.babylonianHours = s.italianHours = false;
    s.includeAzimuthLines = true;
    return s;
}

// The printed page: 0.1 mm units, so R = 900 for an 18 cm plate.
RecordingPainter DrawPrinted(const DialState& s, RecordingDialogs& dialogs) {
    const DialRequest r = PrinterPage();
    RecordingPainter painter;
    EXPECT_TRUE(ConstructionFor(s)->draw(s, r, painter, dialogs).drawn);
    return painter;
}

// The disc's centre: the centre of the horizon circle (radius R).
QPointF Centre(const RecordingPainter& p, double R) {
    for (const Primitive& c : p.all(Primitive::Circle))
        if (c.role == kDiscRole && std::abs(c.radius - R) < 1e-6) return c.points[0];
    ADD_FAILURE() << "no horizon circle of radius " << R;
    return {};
}

double DistanceToSegment(QPointF q, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(q - a, ab) / len2, 0.0, 1.0) : 0.0;
    const QPointF n = a + t * ab - q;
    return std::hypot(n.x(), n.y());
}

double NearestLine(const std::vector<Primitive>& lines, QPointF q) {
    double best = std::numeric_limits<double>::infinity();
    for (const Primitive& l : lines) best = std::min(best, DistanceToSegment(q, l.points[0], l.points[1]));
    return best;
}

double Radius(QPointF q, QPointF c) { return std::hypot(q.x() - c.x(), q.y() - c.y()); }

TEST(AltitudeScale, RadiiOfTheThreeSpacings) {
    // Equal spacing, R = 900: R (1 - h/90).
    const AltitudeScale equal(AltitudeSpacing::Equal, 900, 3000);
    EXPECT_DOUBLE_EQ(equal.radius(0), 900);
    EXPECT_DOUBLE_EQ(equal.radius(30), 600);
    EXPECT_DOUBLE_EQ(equal.radius(42.75), 472.5);
    EXPECT_NEAR(equal.radius(90), 0, 1e-12);

    // Stereographic: R tan(45 - h/2); tan 30 = 0.5773503, tan 15 = 0.2679492.
    const AltitudeScale stereo(AltitudeSpacing::Stereographic, 900, 3000);
    EXPECT_NEAR(stereo.radius(0), 900, 1e-6);
    EXPECT_NEAR(stereo.radius(30), 519.6152, 1e-3);
    EXPECT_NEAR(stereo.radius(60), 241.1543, 1e-3);
    EXPECT_NEAR(stereo.radius(90), 0, 1e-6);

    // Horizontoscope, R = 90, D = 300: E = sqrt(45^2 + 300^2) - 45 = 303.35622 - 45 = 258.35622;
    // D^2 - E^2 = 23252.06 = R E.
    // r(30) = 0.8660254 * 600 * 23252.06 / (0.5 * 156747.95 + 600 * 258.35622) = 51.7685
    // r(45) = 0.7071068 * 13951236 / (0.7071068 * 156747.95 + 155013.74)   = 37.1073
    // r(60) = 0.5 * 13951236 / (0.8660254 * 156747.95 + 155013.74)          = 23.9909
    const AltitudeScale tonne(AltitudeSpacing::Tonne, 90, 300);
    EXPECT_NEAR(tonne.E(), 258.35623, 1e-4);
    EXPECT_NEAR(tonne.radius(30), 51.7685, 1e-3);
    EXPECT_NEAR(tonne.radius(45), 37.1073, 1e-3);
    EXPECT_NEAR(tonne.radius(60), 23.9909, 1e-3);
    EXPECT_NEAR(tonne.radius(90), 0, 1e-9);
    // R = 60, D = 100: E = sqrt(900 + 10000) - 30 = 74.40307; r(20) = 41.5462, r(50) = 21.4289.
    const AltitudeScale tonne2(AltitudeSpacing::Tonne, 60, 100);
    EXPECT_NEAR(tonne2.radius(20), 41.5462, 1e-3);
    EXPECT_NEAR(tonne2.radius(50), 21.4289, 1e-3);
}

TEST(AltitudeScale, TonneHorizonIsTheBasePlateWhateverTheObserverDistance) {
    for (double D : {10.0, 30.0, 55.5, 400.0}) {
        const AltitudeScale tonne(AltitudeSpacing::Tonne, 90, D * 10);
        EXPECT_NEAR(tonne.radius(0), 90, 1e-9) << D;
        // Higher sun, shorter radius.
        EXPECT_LT(tonne.radius(10), tonne.radius(0)) << D;
        EXPECT_LT(tonne.radius(80), tonne.radius(70)) << D;
    }
}

TEST(AzimuthDial, ShadowPointsLieOppositeTheSun) {
    // South at the top, west to the right: a southern sun throws the mark below the centre,
    // a western sun to the left.
    const QPointF c(100, 100);
    const QPointF noon = DiscPoint(c, 50, 0), west = DiscPoint(c, 50, 90), east = DiscPoint(c, 50, -90);
    EXPECT_NEAR(noon.x(), 100, 1e-9);
    EXPECT_NEAR(noon.y(), 150, 1e-9);
    EXPECT_NEAR(west.x(), 50, 1e-9);
    EXPECT_NEAR(west.y(), 100, 1e-9);
    EXPECT_NEAR(east.x(), 150, 1e-9);
}

TEST(AzimuthDial, EquinoxLinePassesTheHandComputedSunPositions) {
    RecordingDialogs dialogs;
    const DialState s = AzimuthState(0);
    const RecordingPainter p = DrawPrinted(s, dialogs);
    const QPointF c = Centre(p, 900);
    const auto dates = p.lines(kMainDateRole);
    ASSERT_FALSE(dates.empty());
    // Apparent noon at 47.25 N on the equinox: altitude 90 - 47.25 = 42.75 in the south;
    // equal spacing r = 900 (1 - 42.75/90) = 472.5, straight below the centre.
    EXPECT_LT(NearestLine(dates, c + QPointF(0, 472.5)), 0.5);
    // 15 h: sin h = cos 47.25 cos 45 = 0.479985, h = 28.6844; tan A = 1 / sin 47.25, A = 53.7093
    // (west). r = 900 (1 - 28.6844/90) = 613.156: x = -r sin A = -494.22, y = r cos A = 362.92.
    EXPECT_LT(NearestLine(dates, c + QPointF(-494.22, 362.92)), 0.5);
    // The mirror image at 9 h lies to the right.
    EXPECT_LT(NearestLine(dates, c + QPointF(494.22, 362.92)), 0.5);

    // The altitude circles 0, 10, ... 80 and the ring of the degree scale.
    for (int h = 0; h <= 80; h += 10) {
        const double r = 900 * (1 - h / 90.0);
        const auto circles = p.all(Primitive::Circle);
        EXPECT_TRUE(std::any_of(circles.begin(), circles.end(),
                                [&](const Primitive& q) { return q.points[0] == c && std::abs(q.radius - r) < 1e-9; }))
            << h;
    }
    EXPECT_TRUE(p.hasText(QStringLiteral("40")));
    EXPECT_TRUE(p.hasText(QStringLiteral("Sued")));
    EXPECT_TRUE(p.hasText(QStringLiteral("Ost")));
    EXPECT_TRUE(p.hasText(QStringLiteral("West")));
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST(AzimuthDial, HourLinesStopOnTheHorizonCircle) {
    RecordingDialogs dialogs;
    DialState s = AzimuthState(2);
    s.drawEcliptic = false;
    const RecordingPainter p = DrawPrinted(s, dialogs);
    const QPointF c = Centre(p, 900);
    const auto hours = p.lines(kApparentRole);
    ASSERT_FALSE(hours.empty());
    // The 5 and 6 o'clock lines run into the horizon in September: they end on it exactly
    // and never reach beyond it.
    int onHorizon = 0;
    for (const Primitive& l : hours) {
        for (const QPointF& q : l.points) {
            EXPECT_LE(Radius(q, c), 900 + 1e-6);
            if (std::abs(Radius(q, c) - 900) < 1e-6) ++onHorizon;
        }
    }
    EXPECT_GE(onHorizon, 4);
    // Apparent noon: every point on the meridian below the centre.
    const auto labels = p.all(Primitive::Text);
    const auto noon = std::find_if(labels.begin(), labels.end(), [](const Primitive& t) { return t.text == "12"; });
    ASSERT_NE(noon, labels.end());
    EXPECT_GT(noon->points[0].y(), c.y());
}

TEST(AzimuthDial, SouthernSiteNamesNorthBelowAndLabelsTheDecemberSolstice) {
    RecordingDialogs dialogs;
    DialState s = AzimuthState(0);
    s.latitude = -33.9;
    const RecordingPainter p = DrawPrinted(s, dialogs);
    const QPointF c = Centre(p, 900);
    EXPECT_FALSE(p.hasText(QStringLiteral("Sued")));
    const auto texts = p.all(Primitive::Text);
    const auto north = std::find_if(texts.begin(), texts.end(), [](const Primitive& t) { return t.text == "Nord"; });
    ASSERT_NE(north, texts.end());
    EXPECT_GT(north->points[0].y(), c.y() + 900);
    // At noon on 21 December the sun stands at 90 - 33.9 + 23.44 = 79.5 in the north: its
    // shadow mark is above the centre at r = 900 (1 - 79.54/90) = 104.6; the number one
    // text height (33) closer to the centre, centred on that point.
    const auto noon = std::find_if(texts.begin(), texts.end(), [](const Primitive& t) { return t.text == "12"; });
    ASSERT_NE(noon, texts.end());
    const double labelCentreY = noon->points[0].y() + noon->fontHeight / 2;
    EXPECT_NEAR(labelCentreY, c.y() - (104.6 - 33), 1.0);
}

TEST(AzimuthDial, TemporalHoursLeaveOutSunriseAndSunset) {
    RecordingDialogs dialogs;
    DialState s = AzimuthState(0);
    s.apparentTimeLines = false;
    s.temporalHours = true;
    s.timeSystem = 2;
    s.temporalFrom = 0;
    s.temporalTo = 12;
    const RecordingPainter p = DrawPrinted(s, dialogs);
    EXPECT_FALSE(p.lines(kTemporalRole).empty());
    for (int n = 1; n <= 11; ++n) EXPECT_TRUE(p.hasText(QString::number(n))) << n;
    for (const Primitive& t : p.all(Primitive::Text)) {
        if (t.role != kTemporalRole) continue;
        EXPECT_NE(t.text, QStringLiteral("0"));
        EXPECT_NE(t.text, QStringLiteral("12"));
    }
    EXPECT_TRUE(p.hasText(QStringLiteral("[ Temporalstunden ]")));

    // Beyond 66 degrees the temporal hours are refused with a message; the rest is drawn.
    RecordingDialogs polar;
    s.latitude = 68;
    const RecordingPainter q = DrawPrinted(s, polar);
    EXPECT_TRUE(q.lines(kTemporalRole).empty());
    ASSERT_EQ(polar.texts().size(), 1);
    EXPECT_TRUE(polar.texts().front().contains(QStringLiteral("Temporalstunden")));
    EXPECT_FALSE(q.lines(kMainDateRole).empty());
}

TEST(AzimuthDial, TerrainShadesTheLinesBelowTheProfile) {
    RecordingDialogs dialogs;
    DialState s = AzimuthState(0);
    auto profile = std::make_shared<HorizonProfile>();
    for (HorizonRecord& r : profile->records) {
        r.elevation = 10;
        r.distanceMetres = 5000;
        r.empty = false;
    }
    s.horizonProfile = profile;
    s.showHorizonProfile = true;
    const RecordingPainter p = DrawPrinted(s, dialogs);
    const QPointF c = Centre(p, 900);
    // Terrain of 10 degrees all round: the profile is the circle r(10) = 800.
    const auto outline = p.lines(kProfileRole);
    ASSERT_GE(outline.size(), 700u);
    for (const Primitive& l : outline) EXPECT_NEAR(Radius(l.points[0], c), 800, 1e-6);
    // Below it every hour and date line turns to the shading colour, above it keeps its own.
    const auto shaded = p.lines(kShadedRole);
    ASSERT_FALSE(shaded.empty());
    for (const Primitive& l : shaded) EXPECT_GT(std::max(Radius(l.points[0], c), Radius(l.points[1], c)), 800 - 1e-6);
    for (int role : {kApparentRole, kMainDateRole})
        for (const Primitive& l : p.lines(role)) EXPECT_LT(std::min(Radius(l.points[0], c), Radius(l.points[1], c)), 800 + 1e-6);

    // Switched off, nothing is shaded and no profile is drawn.
    s.showHorizonProfile = false;
    const RecordingPainter q = DrawPrinted(s, dialogs);
    EXPECT_TRUE(q.lines(kProfileRole).empty());
    EXPECT_TRUE(q.lines(kShadedRole).empty());
}

TEST(AzimuthDial, StereographicEclipticAndPole) {
    RecordingDialogs dialogs;
    DialState s = AzimuthState(2);
    s.drawEcliptic = true;
    const RecordingPainter p = DrawPrinted(s, dialogs);
    const QPointF c = Centre(p, 900);
    // The summer solstice culminates at 90 - 47.25 + 23.44 = 66.19 degrees in the south:
    // its mark lies below the centre at R tan(45 - 33.095) = 900 tan 11.905 = 189.75.
    const auto arcs = p.all(Primitive::Arc);
    ASSERT_FALSE(arcs.empty());
    for (const Primitive& a : arcs) {
        EXPECT_EQ(a.role, kEclipticRole);
        EXPECT_NEAR(Radius(c + QPointF(0, 189.75), a.points[0]), a.radius, 1.0);
    }
    // The pole, where the hour circles meet: R tan(45 - 47.25/2) = 900 tan 21.375 = 352.2,
    // on the meridian above the centre.
    EXPECT_TRUE(p.hasText(QStringLiteral("P")));
    EXPECT_LT(NearestLine(p.lines(0), c + QPointF(0, -352.2)), 0.5);
    EXPECT_TRUE(p.hasText(QStringLiteral("Stereographische Sonnenuhr")));
}

TEST(AzimuthDial, DateCirclesOfKindZero) {
    RecordingDialogs dialogs;
    DialState s = AzimuthState(0);
    s.azimuthKind = 0;
    s.declinationScale = true;
    const RecordingPainter p = DrawPrinted(s, dialogs);
    // Seven circles of the sign entries, the winter solstice outermost on R and the summer
    // solstice innermost; the equinox halfway between. R itself is not drawn a second time.
    std::vector<double> radii;
    QPointF c;
    for (const Primitive& q : p.all(Primitive::Circle)) {
        if (q.role == kMainDateRole) radii.push_back(q.radius);
        if (q.role == kMainDateRole) c = q.points[0];
        EXPECT_FALSE(q.role == kDiscRole && std::abs(q.radius - 900) < 1e-6);
    }
    ASSERT_EQ(radii.size(), 7u);
    std::sort(radii.begin(), radii.end());
    EXPECT_NEAR(radii.back(), 900, 1e-6);
    EXPECT_NEAR(radii[3], (radii.front() + radii.back()) / 2, 1e-6);
    // Apparent noon stays on the meridian below the centre, hour lines stay inside R.
    for (const Primitive& l : p.lines(kApparentRole))
        for (const QPointF& q : l.points) EXPECT_LE(Radius(q, c), 900 + 1e-6);
}

// The plot writer's text.
QString PlotOf(const DialState& s, int p) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, p);
    RecordingDialogs dialogs;
    EXPECT_TRUE(ConstructionFor(s)->writePlot(s, stream, dialogs));
    return QString::fromLatin1(buffer.data());
}

TEST(AzimuthDialPlot, HeadDiscLegendAndEnd) {
    DialState s = AzimuthState(0);
    const QString plot = PlotOf(s, 1);
    EXPECT_TRUE(plot.startsWith(QStringLiteral("IN;VS 1;PA;IW 0 0 16157 11038;PU 0 0;EA 16157 11038;;SP 4;PU 0 0;;PU;SI  0.18, 0.27")))
        << plot.left(120).toStdString();
    EXPECT_TRUE(plot.endsWith(QStringLiteral(";SP0;IN;")));
    // 400 plotter units per centimetre: the horizon circle of an 18 cm plate has radius 3600,
    // round the centre (7300, 5300).
    EXPECT_TRUE(plot.contains(QStringLiteral(";PU 7300 5300;CI 3600,")));
    EXPECT_TRUE(plot.contains(QStringLiteral(";SP 1;SI  0.28, 0.42;PU 200 10500;LBAZIMUTALE SONNENUHR\x03SI  0.16, 0.24;")));
    EXPECT_TRUE(plot.contains(QStringLiteral(";PU 200 10100;LB[ WOZ ohne Zeitgl. (WOZ)]\x03")));
    // Date lines: main dates with pen 6 and the wider pen.
    EXPECT_TRUE(plot.contains(QStringLiteral(";PW 1;")));
    EXPECT_TRUE(plot.contains(QStringLiteral(";SP 6")));
    EXPECT_FALSE(plot.contains(QLatin1Char('\n')));

    // At 25-fold resolution for DXF every length is 25 times as long.
    const QString fine = PlotOf(s, 25);
    EXPECT_TRUE(fine.contains(QStringLiteral(";PU 182500 132500;CI 90000,")));

    // The horizontoscope of a small plate writes smaller characters.
    s.altitudeCircleSpacing = 1;
    s.basePlateDiameterCm = 10;
    EXPECT_TRUE(PlotOf(s, 1).contains(QStringLiteral(";PU;SI  0.12, 0.18")));

    // Kind 0 has the short head and the larger title.
    s.azimuthKind = 0;
    const QString dates = PlotOf(s, 1);
    EXPECT_TRUE(dates.startsWith(QStringLiteral("IN;PA;")));
    EXPECT_TRUE(dates.contains(QStringLiteral(";SP 1;SI  0.30, 0.40;PU 200 10500;LB")));
    EXPECT_TRUE(dates.endsWith(QStringLiteral(";SP0;IN;")));
}

TEST(AzimuthDialPlot, DxfOfBothKindsIsInMillimetres) {
    const QString python = PythonWithEzdxf();
    if (python.isEmpty()) GTEST_SKIP() << "python3-ezdxf is not installed";
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    QStringList files;
    for (int kind : {1, 0}) {
        DialState s = AzimuthState(2);
        s.azimuthKind = kind;
        PlotSaveRequest r;
        r.fileName = dir.filePath(QStringLiteral("kind%1.dxf").arg(kind));
        r.format = PlotFormat::Dxf;
        r.highResolution = true;
        ASSERT_TRUE(SaveDialPlot(s, r, dialogs).ok) << dialogs.texts().join(QLatin1Char('|')).toStdString();
        files << r.fileName;
    }
    // The largest circle is the outer ring of the scale; the horizon circle has 90 mm radius
    // round (182.5, 132.5) mm in both kinds (kind 0 plots at p = 1 and converts with 40).
    const char* script = R"(
import sys, ezdxf
for path in sys.argv[1:]:
    doc = ezdxf.readfile(path)
    errors = len(doc.audit().errors)
    circles = [e for e in doc.modelspace() if e.dxftype() == 'CIRCLE']
    hits = [c for c in circles if abs(c.dxf.radius - 90) < 0.01 and abs(c.dxf.center.x - 182.5) < 0.01 and abs(c.dxf.center.y - 132.5) < 0.01]
    texts = [e.dxf.text for e in doc.modelspace() if e.dxftype() == 'TEXT']
    print(errors, len(hits), 'West' in texts)
)";
    QProcess reader;
    reader.start(python, QStringList{QStringLiteral("-c"), QString::fromLatin1(script)} + files);
    ASSERT_TRUE(reader.waitForFinished(180000));
    ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    for (const QString& line : lines) EXPECT_EQ(line, QStringLiteral("0 1 True"));
}

TEST(AzimuthDialPlot, EveryVariantRendersInHp2xx) {
    if (QStandardPaths::findExecutable(QStringLiteral("hp2xx")).isEmpty()) GTEST_SKIP() << "hp2xx is not installed";
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    for (int variant = 0; variant < 4; ++variant) {
        DialState s = AzimuthState(variant % 3);
        s.azimuthKind = variant == 3 ? 0 : 1;
        s.meanTimeLines = s.babylonianHours = s.italianHours = s.temporalHours = true;
        PlotSaveRequest r;
        r.fileName = dir.filePath(QStringLiteral("v%1.plt").arg(variant));
        ASSERT_TRUE(SaveDialPlot(s, r, dialogs).ok);
        ExpectHp2xxDrawsWithoutComplaint(r.fileName, dir.filePath(QStringLiteral("v%1.png").arg(variant)),
                                         "variant " + std::to_string(variant));
    }
}

}  // namespace
}  // namespace zorva::test
