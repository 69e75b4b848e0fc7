// The ring dial: the inscribed-angle scale against worked values, the lateral deflection,
// the light spot traced in 3-D through a ring turned out of the sun's plane, the sliding
// hole's straight noon line, the correction table, bad input and the plot twin.
#include "dials/ring_dial.h"

#include "dials/dial_constructions.h"
#include "dials/printer_page.h"
#include "dials/recording_painter.h"
#include "plot/plot_stream.h"
#include "support/test_support.h"

#include <QBuffer>

#include <cmath>
#include <optional>

namespace zorva::test {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

DialState Ring() {
    DialState s = StartupState();
    s.dialType = 'r';
    s.latitude = 50;
    s.ringDiameter = 40;
    s.ringWidth = 20;
    s.ringAngle = 45;
    s.noonLineHorizontal = false;
    s.wholeYearBand = false;
    s.rayDeflection = 0;
    s.localTimeReading = true;
    s.otherHourFrom = 6;
    s.otherHourTo = 18;
    s.otherHourInterval = '0';
    s.dateLinesPerMonth = 1;
    s.zodiacDeclinations = {0.0, -23.44, -20.15, -11.47, 0.0, 11.47, 20.15, 23.44};
    return s;
}

double AltitudeOf(double latitude, double hourAngle, double declination) {
    return std::asin(std::sin(latitude * kDeg) * std::sin(declination * kDeg) +
                     std::cos(latitude * kDeg) * std::cos(declination * kDeg) * std::cos(hourAngle * kDeg)) /
           kDeg;
}

// Worked example (inscribed-angle theorem, x = R (theta + 2a)): D = 40 mm, theta = 45 deg,
// latitude 50 N.
TEST(RingDial, SpotPositionsMatchTheInscribedAngleScale) {
    const DialState s = Ring();
    struct Case {
        double hourAngle, declination, expectedMm;
    } cases[] = {
        {0, 0, 43.633},        // equinox noon, a = 40
        {-45, 0, 34.581},      // equinox 9 h, a = 27.034
        {0, 23.44, 59.997},    // summer solstice noon, a = 63.44
        {-45, -23.44, 20.209}, // winter solstice 9 h, a = 6.449
    };
    for (const Case& c : cases) {
        const double a = AltitudeOf(50, c.hourAngle, c.declination);
        const auto x = RingSpotPosition(s, a, c.declination, false);
        ASSERT_TRUE(x.has_value());
        EXPECT_NEAR(*x, c.expectedMm, 0.002) << "t " << c.hourAngle << " decl " << c.declination;
    }
    // A date line 5 mm across the band at the equinox, 9 h: the ray tilts out of the ring's
    // plane and its projected altitude grows to 27.285 deg, the spot to 34.756 mm.
    const auto h = RingProjectedAltitude(27.034, 45, 5, 20);
    ASSERT_TRUE(h.has_value());
    EXPECT_NEAR(*h, 27.285, 0.001);
    EXPECT_NEAR(RingSpotArc(20, 45, *h), 34.756, 0.002);
}

TEST(RingDial, LateralCorrectionVanishesOnTheHoleLineAndIsSymmetric) {
    for (double a : {5.0, 27.034, 50.0}) {
        for (double theta : {10.0, 45.0, 80.0}) {
            EXPECT_DOUBLE_EQ(*RingProjectedAltitude(a, theta, 0, 20), a);
            double previous = a;
            for (double w : {1.0, 4.0, 9.0}) {
                const auto plus = RingProjectedAltitude(a, theta, w, 20);
                const auto minus = RingProjectedAltitude(a, theta, -w, 20);
                ASSERT_TRUE(plus && minus);
                EXPECT_DOUBLE_EQ(*plus, *minus);
                // Farther across the band, the ray leans more and its projection steepens.
                EXPECT_GT(*plus, previous);
                previous = *plus;
            }
        }
    }
}

// The spot traced in space: the ring (radius R, its band the cylinder of that radius about
// the normal of its plane) hangs vertically, turned by psi out of the sun's vertical plane;
// the hole sits in the band's middle at central angle theta from the top. The sun's ray
// through the hole meets the band; psi is chosen so that the spot falls on the date line.
// The spot's arc from the top, over the far half, must lie on the drawn hour line.
struct Spot {
    double arcMm = 0, lateralMm = 0;
    bool hit = false;
};

Spot TraceRing(double R, double theta, double altitude, double psi) {
    // Sun in the x-z plane; the ring's plane spanned by e (horizontal) and z, normal n.
    const double sx = std::cos(altitude * kDeg), sz = std::sin(altitude * kDeg);
    const double ex = std::cos(psi * kDeg), ey = std::sin(psi * kDeg);  // e: towards the sun's side
    const double nx = -ey, ny = ex;
    // The hole on the sun's side of the top.
    const double hx = R * std::sin(theta * kDeg) * ex, hy = R * std::sin(theta * kDeg) * ey,
                 hz = R * std::cos(theta * kDeg);
    // Light travels along -sun: P = H - k S with the in-plane distance R.
    auto inPlane = [&](double k, double& pe, double& pz, double& pn) {
        const double px = hx - k * sx, py = hy, pzz = hz - k * sz;
        pe = px * ex + py * ey;
        pz = pzz;
        pn = px * nx + py * ny;
    };
    // |(pe, pz)|^2 = R^2 is quadratic in k; one root is the hole (k = 0).
    double pe0, pz0, pn0, pe1, pz1, pn1;
    inPlane(0, pe0, pz0, pn0);
    inPlane(1, pe1, pz1, pn1);
    const double de = pe1 - pe0, dz = pz1 - pz0;
    const double k = -2 * (pe0 * de + pz0 * dz) / (de * de + dz * dz);
    Spot out;
    if (!(k > 0)) return out;
    double pe, pz, pn;
    inPlane(k, pe, pz, pn);
    out.hit = true;
    out.arcMm = R * std::atan2(-pe, pz);  // over the far half, from the top
    if (out.arcMm < 0) out.arcMm += 2 * kPi * R;
    out.lateralMm = pn;
    return out;
}

// The drawn line's column at a row (interpolated on the segment that crosses it).
std::optional<double> ColumnAtRow(const std::vector<Primitive>& lines, double row) {
    for (const Primitive& l : lines) {
        const QPointF a = l.points[0], b = l.points[1];
        if ((a.y() - row) * (b.y() - row) > 0 || a.y() == b.y()) continue;
        return a.x() + (b.x() - a.x()) * (row - a.y()) / (b.y() - a.y());
    }
    return std::nullopt;
}

TEST(RingDial, LightSpotTracedInSpaceLiesOnTheDrawnHourLine) {
    int checked = 0;
    for (double latitude : {50.0, -35.0}) {
        for (bool sliding : {false, true}) {
            DialState s = Ring();
            s.latitude = latitude;
            s.ringDiameter = 120;
            s.ringWidth = 60;
            s.ringAngle = sliding ? 60 : 40;
            s.noonLineHorizontal = sliding;
            s.rayDeflection = 1;
            const double R = 60;
            for (int hour : {8, 10}) {
                s.otherHourFrom = s.otherHourTo = hour;
                RecordingPainter p;
                RecordingDialogs d;
                ASSERT_TRUE(kRingDial.draw(s, PrinterPage(), p, d).drawn);
                const auto rects = p.all(Primitive::Rectangle);
                ASSERT_GE(rects.size(), 1u);
                const double x0 = rects[0].points[0].x();
                const double mid = (rects[0].points[0].y() + rects[0].points[1].y()) / 2;
                const auto lines = p.lines(2);
                ASSERT_FALSE(lines.empty());
                for (int index : {2, 3, 5, 6}) {
                    const double decl = s.zodiacDeclinations[static_cast<size_t>(index)];
                    const double a = AltitudeOf(latitude, 15.0 * (hour - 12), decl);
                    if (a < 3) continue;
                    const double theta = sliding ? 60 - 2 * decl : 40;
                    // The date line's place across the band (0.1 mm units on the page).
                    const double w = RingDateOffset(s, decl);
                    // Turn the ring until the spot falls on the date line.
                    double lo = -85, hi = 85;
                    for (int i = 0; i < 80; ++i) {
                        const double m = (lo + hi) / 2;
                        const Spot sp = TraceRing(R, theta, a, m);
                        ((sp.hit ? sp.lateralMm : (m > 0 ? 1e9 : -1e9)) < w ? lo : hi) = m;
                    }
                    const Spot spot = TraceRing(R, theta, a, (lo + hi) / 2);
                    // A high sun cannot be turned that far across the band: no reading there.
                    if (!spot.hit || std::abs(spot.lateralMm - w) > 1e-6) continue;
                    // A spot beyond the ring's lowest point lies in the other half: not drawn.
                    if (spot.arcMm > kPi * R - 0.5) continue;
                    const auto column = ColumnAtRow(lines, mid + 10 * w);
                    ASSERT_TRUE(column.has_value()) << latitude << " " << hour << " " << index;
                    ++checked;
                    EXPECT_NEAR((*column - x0) / 10, spot.arcMm, 0.1)
                        << "latitude " << latitude << " sliding " << sliding << " hour " << hour << " line " << index;
                }
            }
        }
    }
    EXPECT_GT(checked, 20);
}

TEST(RingDial, SlidingHoleKeepsNoonOnOneStraightLine) {
    DialState s = Ring();
    s.noonLineHorizontal = true;
    s.ringAngle = 60;
    s.otherHourFrom = s.otherHourTo = 12;
    RecordingPainter p;
    RecordingDialogs d;
    ASSERT_TRUE(kRingDial.draw(s, PrinterPage(), p, d).drawn);
    const auto noon = p.lines(2);
    ASSERT_GE(noon.size(), 10u);
    for (const Primitive& l : noon) {
        EXPECT_NEAR(l.points[0].x(), noon[0].points[0].x(), 1e-6);
        EXPECT_NEAR(l.points[1].x(), noon[0].points[0].x(), 1e-6);
    }
    // The fixed hole spreads noon over the dates: summer higher sun, farther spot.
    s.noonLineHorizontal = false;
    RecordingPainter fixed;
    kRingDial.draw(s, PrinterPage(), fixed, d);
    const auto spread = fixed.lines(2);
    EXPECT_GT(std::abs(spread.front().points[0].x() - spread.back().points[1].x()), 100);
}

TEST(RingDial, CorrectionTableNamesTheErrorOfTheDrawnScale) {
    DialState s = Ring();
    s.otherHourFrom = 8;
    s.otherHourTo = 12;
    // Single band for the equinox with the sliding hole: noon exact all year, other hours not.
    s.wholeYearBand = true;
    s.noonLineHorizontal = true;
    RingCorrectionTable t = ComputeRingCorrectionTable(s);
    ASSERT_EQ(t.hours, (std::vector<int>{8, 9, 10, 11, 12}));
    ASSERT_EQ(t.minutes.size(), 12u);
    for (int m = 0; m < 12; ++m) {
        ASSERT_TRUE(t.minutes[m][4].has_value()) << m;
        EXPECT_NEAR(*t.minutes[m][4], 0.0, 0.05) << m;
    }
    ASSERT_TRUE(t.minutes[5][1].has_value());
    EXPECT_GT(std::abs(*t.minutes[5][1]), 2.0);
    // Without the sliding hole, the June sun stands higher than the equinox band assumes: the
    // spot reads too close to noon, a morning reading is too late and must be reduced.
    s.noonLineHorizontal = false;
    t = ComputeRingCorrectionTable(s);
    ASSERT_TRUE(t.minutes[5][0].has_value() && t.minutes[11][2].has_value());
    EXPECT_LT(*t.minutes[5][0], -10.0);   // June, 8 h
    EXPECT_GT(*t.minutes[11][2], 10.0);   // December, 10 h: lower sun, the reading is too early
    EXPECT_FALSE(t.minutes[5][1].has_value());  // June 9 h: higher than any equinox sun
    // Date lines read with the deflection considered: exact.
    s.wholeYearBand = false;
    s.rayDeflection = 1;
    t = ComputeRingCorrectionTable(s);
    for (const auto& row : t.minutes) {
        for (const auto& v : row) {
            if (v) {
                EXPECT_EQ(*v, 0.0);
            }
        }
    }
    // Ignoring the deflection: no error on the hole's line (the equinox), some at the solstices.
    s.rayDeflection = 0;
    t = ComputeRingCorrectionTable(s);
    EXPECT_LT(std::abs(*t.minutes[2][0]), 0.5);  // 15 March, near the hole's line
    EXPECT_GT(std::abs(*t.minutes[5][0]), 0.5);  // 15 June, far across the band
    // The same hour after noon needs the opposite correction.
    s.otherHourFrom = 16;
    s.otherHourTo = 16;
    s.localTimeReading = false;
    s.longitude = s.zoneMeridian;
    const RingCorrectionTable pm = ComputeRingCorrectionTable(s);
    EXPECT_NEAR(*pm.minutes[5][0], -*t.minutes[5][0], 0.01);
}

TEST(RingDial, BadInputGetsAClearMessageAndNoDrawingOffThePage) {
    struct Case {
        double angle, latitude;
        bool drawn;
    } cases[] = {{0, 50, false}, {90, 50, true}, {45, 89.95, false}, {45, -89.9, false}, {45, 89.8, true}, {45, 5, true}};
    for (const Case& c : cases) {
        DialState s = Ring();
        s.ringAngle = c.angle;
        s.latitude = c.latitude;
        s.ringDiameter = 300;  // longer than the page: cut at its edge
        s.ringWidth = 150;
        RecordingPainter p;
        RecordingDialogs d;
        const DialResult r = kRingDial.draw(s, PrinterPage(), p, d);
        EXPECT_EQ(r.drawn, c.drawn) << c.angle << " " << c.latitude;
        if (!c.drawn) {
            ASSERT_EQ(d.events.size(), 1u);
            EXPECT_FALSE(d.events[0].text.isEmpty());
            EXPECT_TRUE(p.lines(2).empty());
            continue;
        }
        // Everything drawn lies inside the clipping window set to the printable area.
        const auto windows = p.all(Primitive::Window);
        ASSERT_EQ(windows.size(), 1u);
        EXPECT_EQ(windows[0].points[0], QPointF(70, 50));
        for (const Primitive& l : p.lines(2))
            for (const QPointF& q : l.points) EXPECT_TRUE(std::isfinite(q.x()) && std::isfinite(q.y()));
    }
    // Near the equator the summer sun reaches the other half of the ring: the note says so.
    DialState s = Ring();
    s.latitude = 5;
    RecordingPainter p;
    RecordingDialogs d;
    kRingDial.draw(s, PrinterPage(), p, d);
    EXPECT_TRUE(p.hasText(QStringLiteral("Skala reicht teilweise in die andere Ringhälfte: dort abgeschnitten.")));
}

TEST(RingDial, PlotHasItsHeadAndEndAndIsNeverScaled) {
    DialState s = Ring();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    RecordingDialogs d;
    ASSERT_TRUE(kRingDial.writePlot(s, stream, d));
    const QByteArray plot = buffer.data();
    EXPECT_TRUE(plot.startsWith("IN;SS;PA;"));
    EXPECT_TRUE(plot.endsWith(";SP 0;IN;"));
    EXPECT_FALSE(plot.contains('\n'));
    const DialConstruction* c = ConstructionFor(s);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->fixedResolution);
    EXPECT_TRUE(CanSavePlot(s));
    // A refused ring writes nothing.
    s.ringAngle = 0;
    QBuffer refused;
    refused.open(QIODevice::WriteOnly);
    PlotStream second(refused);
    EXPECT_FALSE(kRingDial.writePlot(s, second, d));
    EXPECT_TRUE(refused.data().isEmpty());
}

TEST(RingDial, HalfRingLongerThanThePrintableWidth) {
    DialState s = Ring();
    s.ringDiameter = 110;  // 5 pi 110 = 1728 units of 0.1 mm
    EXPECT_FALSE(RingLongerThanPrintArea(s, 2820));
    s.ringDiameter = 180;  // 2827
    EXPECT_TRUE(RingLongerThanPrintArea(s, 2820));
}

}  // namespace
}  // namespace zorva::test
