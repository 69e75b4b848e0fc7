// The bi-azimuthal dial as an instrument: the plate set up at each of its two places (north
// arrow to the north, or up on a wall), the rod's shadow traced in space, and the drawn hour
// and date lines found where the shadow crosses them. Bad input and the plot twin.
#include "dials/biazimuthal_dial.h"

#include "dials/dial_constructions.h"
#include "dials/printer_page.h"
#include "dials/recording_painter.h"
#include "plot/plot_stream.h"
#include "support/test_support.h"
#include "text/texts.h"

#include <QBuffer>

#include <cmath>
#include <limits>

namespace zorva::test {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

DialState TwoPlaces(bool vertical) {
    DialState s = StartupState();
    s.dialType = 'c';
    s.latitude = 50;        // 50 N, 8 E
    s.longitude = -8;
    s.latitude2 = -35;      // 35 S, 20 E
    s.longitude2 = -20;
    s.zoneMeridian = -15;
    s.biazimuthalVertical = vertical;
    s.wallDeclination = 20;
    s.wallDeclination2 = 170;  // a wall facing north-north-east in the south
    s.drawingScale = 60;
    s.gnomonLength = 30;
    s.markAnalemma = false;
    s.zoomFactor = 1;
    s.zodiacDeclinations = {0.0, -23.44, -20.15, -11.47, 0.0, 11.47, 20.15, 23.44};
    return s;
}

DialRequest Page() {
    DialRequest r = PrinterPage();
    r.originX = 1400;
    r.originY = 1000;
    r.textX = 100;
    r.textY = 80;
    return r;
}

double SegmentDistance(QPointF p, QPointF a, QPointF b) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len = dx * dx + dy * dy;
    double t = len > 0 ? ((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / len : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x() - a.x() - t * dx, p.y() - a.y() - t * dy);
}

double Nearest(const std::vector<Primitive>& lines, QPointF p) {
    double best = std::numeric_limits<double>::infinity();
    for (const Primitive& l : lines) best = std::min(best, SegmentDistance(p, l.points[0], l.points[1]));
    return best;
}

// The sun at a place, east-north-up, for the apparent time of the zone meridian.
std::array<double, 3> SunAt(double latitude, double longitudeWest, double zone, double hour, double delta) {
    const double H = (15.0 * (hour - 12.0) + zone - longitudeWest) * kDeg;
    const double f = latitude * kDeg, d = delta * kDeg;
    return {-std::cos(d) * std::sin(H), std::cos(f) * std::sin(d) - std::sin(f) * std::cos(d) * std::cos(H),
            std::sin(f) * std::sin(d) + std::cos(f) * std::cos(d) * std::cos(H)};
}

TEST(BiazimuthalDial, RodShadowAtEachPlaceCrossesTheDrawnLinesAtTheirTime) {
    for (bool vertical : {false, true}) {
        const DialState s = TwoPlaces(vertical);
        RecordingPainter p;
        RecordingDialogs d;
        ASSERT_TRUE(kBiazimuthalDial.draw(s, Page(), p, d).drawn);
        ASSERT_TRUE(d.events.empty());
        const auto hourLines = p.lines(2), dateLines = p.lines(1);
        const BiazimuthalMap map(BiazimuthalFocus(s, 1), BiazimuthalFocus(s, 2));
        const QPointF f1 = *map.plate(map.focus(1), 90);
        const double k = s.drawingScale * 10.0;  // 0.1 mm per gnomonic unit
        // The drawing turns the plate so that the arrow of place 1 points up the page.
        const double turnDeg = BiazimuthalDrawingTurn(map, s);
        EXPECT_NEAR(BiazimuthalTurn(map.arrow(1, BiazimuthalReference(s, 1)), turnDeg).x(), 0.0, 1e-9);
        auto drawing = [&](const QPointF& q) {
            const QPointF t = BiazimuthalTurn(q - f1, turnDeg);
            return QPointF(1400 + t.x() * k, 1000 - t.y() * k);
        };
        int checked = 0;
        for (int place = 1; place <= 2; ++place) {
            const double lat = place == 1 ? s.latitude : s.latitude2, lon = place == 1 ? s.longitude : s.longitude2;
            const double wall = place == 1 ? s.wallDeclination : s.wallDeclination2;
            const QPointF foot = drawing(*map.plate(map.focus(place), 90));
            const QPointF arrow = BiazimuthalTurn(map.arrow(place, BiazimuthalReference(s, place)), turnDeg);
            // The plate's axes in space (east-north-up): on the ground turned so that the arrow
            // points north; on the wall turned so that it points up, seen from the front.
            std::array<double, 3> right{1, 0, 0}, ahead{0, 1, 0}, normal{0, 0, 1};
            if (vertical) {
                normal = {-std::sin(wall * kDeg), -std::cos(wall * kDeg), 0};
                ahead = {0, 0, 1};
                right = {-normal[1], normal[0], 0};  // (-n) x up: seen from the front
            }
            const double turn = std::atan2(arrow.x(), arrow.y());  // plate angle of the arrow from its "up"
            for (int index : {2, 3, 4, 5, 6}) {
                const double delta = s.zodiacDeclinations[static_cast<size_t>(index)];
                for (int hour : {7, 9, 11, 13, 15, 17}) {
                    const auto sun = SunAt(lat, lon, s.zoneMeridian, hour, delta);
                    const double facing = sun[0] * normal[0] + sun[1] * normal[1] + sun[2] * normal[2];
                    if (sun[2] < 0.1 || facing < 0.1) continue;
                    const auto q = map.plate(SubsolarPoint(delta, hour, s.zoneMeridian));
                    if (!q) continue;
                    const QPointF X = drawing(*q);
                    // The point of this date and hour is on the drawn lines.
                    ASSERT_LE(Nearest(hourLines, X), 0.5) << place << " " << index << " " << hour;
                    ASSERT_LE(Nearest(dateLines, X), 0.5) << place << " " << index << " " << hour;
                    // In plate millimetres from the rod's foot, turned into the set-up plate.
                    const double px = (X.x() - foot.x()) / 10, py = -(X.y() - foot.y()) / 10;
                    const double c = std::cos(turn), sn = std::sin(turn);
                    const double alongRight = c * px - sn * py, alongAhead = sn * px + c * py;
                    // The rod (height h along the plate's normal) throws its shadow along the
                    // sun's direction projected into the plate, away from the sun.
                    const double sr = sun[0] * right[0] + sun[1] * right[1] + sun[2] * right[2];
                    const double sa = sun[0] * ahead[0] + sun[1] * ahead[1] + sun[2] * ahead[2];
                    const double n = std::hypot(sr, sa);
                    ASSERT_GT(n, 1e-6);
                    const double dr = -sr / n, da = -sa / n;
                    EXPECT_NEAR(alongRight * da - alongAhead * dr, 0.0, 0.1)
                        << (vertical ? "wall " : "ground ") << place << " line " << index << " hour " << hour;
                    EXPECT_GT(alongRight * dr + alongAhead * da, 0.0);
                    ++checked;
                }
            }
        }
        EXPECT_GT(checked, 20) << vertical;
    }
}

TEST(BiazimuthalDial, CompressionKeepsTheDirectionsFromBothFocusPointsTrue) {
    // Azimuths measured on the plate from the arrow equal the great-circle bearings; here on
    // the unturned map (the plate turned back through 180 degrees).
    const UnitVector a = EarthPoint(40, 75), b = EarthPoint(52, -13);
    const BiazimuthalMap map(a, b);
    EXPECT_NEAR(map.distanceDeg(), std::acos(a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) / kDeg, 1e-9);
    for (int k = 1; k <= 2; ++k) {
        const UnitVector f = map.focus(k);
        const QPointF north = map.arrow(k, {0, 0, 1});
        for (const UnitVector& p : {EarthPoint(10, 20), EarthPoint(60, 40), EarthPoint(-5, 60)}) {
            // True bearing from f to p.
            const double lat1 = std::asin(f[2]), lon1 = std::atan2(f[1], f[0]);
            const double lat2 = std::asin(p[2]), lon2 = std::atan2(p[1], p[0]);
            const double bearing = std::atan2(std::sin(lon2 - lon1) * std::cos(lat2),
                                              std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(lon2 - lon1));
            const QPointF qf = *map.plate(f, 90), qp = *map.plate(p, 90);
            // On the plate the direction to the image is reversed; turned back it must make the
            // bearing with the arrow (clockwise seen from the face).
            const QPointF v(qf.x() - qp.x(), qf.y() - qp.y());
            const double onPlate = std::atan2(north.x() * v.y() - north.y() * v.x(), north.x() * v.x() + north.y() * v.y());
            double diff = std::remainder(-onPlate - bearing, 2 * kPi);
            EXPECT_NEAR(diff, 0.0, 1e-6) << k;
        }
    }
}

TEST(BiazimuthalDial, BadPlacesGetAClearMessage) {
    struct Case {
        double lat2, lon2, lat1;
        bool drawn;
        int message;  // 65 or 0 (another text)
    } cases[] = {
        {-50, 172, 50, false, 65},    // the antipode of 50 N 8 E
        {-30, -140, 50, false, 65},   // 139 degrees away
        {50, -8, 50, true, 0},        // the same place: a dial for one place
        {40, -8, 89.95, false, 0},    // at the pole
        {-89.9, -8, 50, false, 0},
    };
    for (const Case& c : cases) {
        DialState s = TwoPlaces(false);
        s.latitude = c.lat1;
        s.latitude2 = c.lat2;
        s.longitude2 = c.lon2;
        RecordingPainter p;
        RecordingDialogs d;
        const bool drawn = kBiazimuthalDial.draw(s, Page(), p, d).drawn;
        EXPECT_EQ(drawn, c.drawn) << c.lat2 << " " << c.lon2;
        for (const Primitive& item : p.items)
            for (const QPointF& q : item.points) ASSERT_TRUE(std::isfinite(q.x()) && std::isfinite(q.y()));
        if (drawn) {
            EXPECT_FALSE(p.lines(2).empty());
            // Identical places: told that the plate serves one place.
            ASSERT_EQ(d.events.size(), 1u);
            EXPECT_TRUE(d.events[0].text.contains(QStringLiteral("einen Ort")));
            continue;
        }
        ASSERT_EQ(d.events.size(), 1u);
        if (c.message == 65) EXPECT_TRUE(d.events[0].text.startsWith(message(65, s.language)));
        else EXPECT_FALSE(d.events[0].text.isEmpty());
        EXPECT_TRUE(p.lines(2).empty());
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        PlotStream stream(buffer, 25);
        EXPECT_FALSE(kBiazimuthalDial.writePlot(s, stream, d));
        EXPECT_TRUE(buffer.data().isEmpty());
    }
}

TEST(BiazimuthalDial, PlotHasTheStandardHeadAndTheWindowResetEnd) {
    DialState s = TwoPlaces(false);
    const DialConstruction* c = ConstructionFor(s);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(CanSavePlot(s));
    EXPECT_FALSE(c->fixedResolution);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, 25);
    RecordingDialogs d;
    ASSERT_TRUE(kBiazimuthalDial.writePlot(s, stream, d));
    const QByteArray plot = buffer.data();
    EXPECT_TRUE(plot.startsWith("IN;VS 1;PA;IW 0 0 403925 275950;PU 0 0;EA 403925 275950;"));
    EXPECT_TRUE(plot.endsWith(";IW;IN;"));
    EXPECT_TRUE(plot.contains(";SP 3"));
}

}  // namespace
}  // namespace zorva::test
