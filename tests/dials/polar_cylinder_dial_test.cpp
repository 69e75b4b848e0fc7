// The polar-style cylinder: the shadow of a nodus on the style traced in space onto the
// cylinder and found on the drawn hour and date lines, the axis and rim cases of the
// equatorial-section relation, bad input and the plot twin.
#include "dials/polar_cylinder_dial.h"

#include "dials/cylinder_dial.h"
#include "dials/date_lines.h"
#include "dials/dial_constructions.h"
#include "dials/printer_page.h"
#include "dials/recording_painter.h"
#include "astro/solar_ephemeris.h"
#include "plot/plot_stream.h"
#include "support/test_support.h"

#include <QBuffer>

#include <array>
#include <cmath>
#include <optional>

namespace zorva::test {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

using Vec = std::array<double, 3>;
double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec Add(const Vec& a, const Vec& b, double k = 1) { return {a[0] + k * b[0], a[1] + k * b[1], a[2] + k * b[2]}; }
Vec Cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

DialState Cylinder() {
    DialState s = StartupState();
    s.dialType = 'z';
    s.cylinderKind = 2;
    s.cylinderRadius = 100;
    s.cylinderGnomon = 60;
    s.cylinderHourStyle = 0;
    s.wallDeclination = 30;
    s.otherHourFrom = 8;
    s.otherHourTo = 16;
    s.otherHourInterval = '0';
    s.timeSystem = 0;
    s.cylinderWithEoT = false;
    s.dateLineMode = '0';
    s.zoomFactor = 1.0;
    return s;
}

DialRequest Page() {
    DialRequest r = PrinterPage();
    r.originX = 1470;
    r.originY = 1050;
    r.textX = 100;
    r.textY = 80;
    return r;
}

// The nodus shadow in space. East-north-up frame; the cylinder's axis through the origin
// along the earth's axis p; the style parallel to it through the nodus, `offset` from the
// axis towards hour angle `direction`. Unrolled as seen from the axis: the generator
// opposite the noon sun in the middle, the elevated pole's end up. Millimetres.
std::optional<QPointF> TraceCylinder(double latitude, double R, double offset, double direction, double t,
                                     double delta) {
    const double f = latitude * kDeg;
    const Vec p{0, std::cos(f), std::sin(f)};        // north celestial pole
    const Vec e1{0, -std::sin(f), std::cos(f)};      // the equator on the meridian
    const Vec e2{-1, 0, 0};                          // west
    auto equatorial = [&](double h) { return Add({0, 0, 0}, Add(Add({0, 0, 0}, e1, std::cos(h * kDeg)), e2, std::sin(h * kDeg))); };
    const Vec sun = Add(Add({0, 0, 0}, equatorial(t), std::cos(delta * kDeg)), p, std::sin(delta * kDeg));
    if (sun[2] <= 0) return std::nullopt;
    const Vec nodus = Add({0, 0, 0}, equatorial(direction), offset);
    // |X - (X.p) p| = R along X = nodus - l sun.
    auto perp = [&](const Vec& v) { return Add(v, p, -Dot(v, p)); };
    const Vec a = perp(nodus), b = perp(sun);
    const double A = Dot(b, b), B = -2 * Dot(a, b), C = Dot(a, a) - R * R;
    const double disc = B * B - 4 * A * C;
    if (disc < 0 || A < 1e-12) return std::nullopt;
    const double l = (-B + std::sqrt(disc)) / (2 * A);
    if (!(l > 1e-9)) return std::nullopt;
    const Vec X = Add(nodus, sun, -l);
    const Vec up = Add({0, 0, 0}, p, latitude < 0 ? -1 : 1);
    const Vec facing = Add({0, 0, 0}, e1, -1);
    const Vec right = Cross(facing, up);
    const Vec Xp = perp(X);
    const double angle = std::atan2(Dot(Xp, right), Dot(Xp, facing));
    return QPointF(R * angle, Dot(X, up));
}

std::optional<double> RowAtColumn(const std::vector<Primitive>& lines, double column) {
    std::optional<double> best;
    for (const Primitive& l : lines) {
        const QPointF a = l.points[0], b = l.points[1];
        if ((a.x() - column) * (b.x() - column) > 0 || a.x() == b.x()) continue;
        return a.y() + (b.y() - a.y()) * (column - a.x()) / (b.x() - a.x());
    }
    return best;
}

TEST(PolarCylinder, NodusShadowTracedInSpaceLiesOnTheDrawnLines) {
    struct Style {
        int kind;
        double direction;
    } styles[] = {{0, 0}, {1, 30}, {2, -20}, {2, 0}};
    for (double latitude : {50.0, -35.0}) {
        for (const Style& st : styles) {
            DialState s = Cylinder();
            s.latitude = latitude;
            s.cylinderHourStyle = st.kind;
            s.wallDeclination = st.direction;
            const double offset = st.kind == 0 ? 0 : st.kind == 1 ? 60 : 100;
            RecordingDialogs d;
            const std::vector<DateLine> dates = BuildDateLineTable(s, &d);
            ASSERT_GE(dates.size(), 5u);
            for (int hour : {9, 11, 14}) {
                s.otherHourFrom = 8;
                s.otherHourTo = 16;
                // One hour line at a time, so that the line found is the one of that hour.
                DialState only = s;
                only.otherHourFrom = only.otherHourTo = hour;
                RecordingPainter hourLine;
                ASSERT_TRUE(kPolarCylinderDial.draw(only, Page(), hourLine, d).drawn);
                RecordingPainter full;
                ASSERT_TRUE(kPolarCylinderDial.draw(s, Page(), full, d).drawn);
                const auto hourLines = hourLine.lines(2);
                ASSERT_FALSE(hourLines.empty());
                for (size_t i : {size_t(1), size_t(3), size_t(5)}) {
                    const DateLine& line = dates[std::min(i, dates.size() - 1)];
                    const double delta = line.fixedDeclination
                                             ? line.declination
                                             : SolarDeclinationEoT(s.referenceYear, line.dayOfYear + 0.5).declination;
                    const auto spot = TraceCylinder(latitude, 100, offset, st.direction, 15.0 * (hour - 12), delta);
                    if (!spot) continue;
                    const double x = 1470 + 10 * spot->x(), y = 1050 - 10 * spot->y();
                    // The hour line is a generator: one column.
                    EXPECT_NEAR(hourLines.front().points[0].x(), x, 1.0)
                        << latitude << " style " << st.kind << " hour " << hour;
                    // The date line passes through the spot: among the drawn date lines, one is
                    // within 0.1 mm of it at that column.
                    double nearest = 1e9;
                    for (const auto& piece : Pieces(full.lines(1))) {
                        std::vector<Primitive> segments;
                        for (size_t k = 1; k < piece.size(); ++k) {
                            Primitive pr;
                            pr.points = {piece[k - 1], piece[k]};
                            segments.push_back(pr);
                        }
                        if (const auto row = RowAtColumn(segments, x)) nearest = std::min(nearest, std::abs(*row - y));
                    }
                    EXPECT_LE(nearest, 1.0) << latitude << " style " << st.kind << " hour " << hour << " date " << i;
                }
            }
        }
    }
}

TEST(PolarCylinder, AxisAndRimCasesOfTheEquatorialSection) {
    // Style on the axis: k = R, R pi/12 per hour, the solstice lines at -+0.4335 R.
    for (double t : {-60.0, -15.0, 0.0, 45.0}) {
        const auto c = PolarCylinderShadow(100, PolarStyle{0, 0}, t, 23.44, 50);
        ASSERT_TRUE(c.has_value());
        EXPECT_NEAR(c->kMm, 100, 1e-9);
        EXPECT_NEAR(c->uMm, 100 * t * kDeg, 1e-9);
        EXPECT_NEAR(c->vMm, -43.36, 0.01);  // 0.4336 R
    }
    // Style on the rim facing the noon sun: generator angle 2t, k = 2R cos t.
    for (double t : {-75.0, -30.0, 10.0, 60.0}) {
        const auto c = PolarCylinderShadow(80, PolarStyle{80, 0}, t, -10, 47);
        ASSERT_TRUE(c.has_value());
        EXPECT_NEAR(c->generatorDeg, 2 * t, 1e-9);
        EXPECT_NEAR(c->kMm, 160 * std::cos(t * kDeg), 1e-9);
        EXPECT_NEAR(c->vMm, -c->kMm * std::tan(-10 * kDeg), 1e-9);
    }
    // A rim style on the sun's side of the trough casts no shadow on the wall behind it.
    EXPECT_FALSE(PolarCylinderShadow(80, PolarStyle{80, 180}, 0, 0, 47).has_value());
    // The style kinds and their fields.
    DialState s = Cylinder();
    s.cylinderHourStyle = 1;
    EXPECT_DOUBLE_EQ(PolarStyleOf(s).offsetMm, 60);
    EXPECT_DOUBLE_EQ(PolarStyleOf(s).directionDeg, 30);
    s.cylinderHourStyle = 2;
    EXPECT_DOUBLE_EQ(PolarStyleOf(s).offsetMm, 100);
    s.cylinderHourStyle = 0;
    EXPECT_DOUBLE_EQ(PolarStyleOf(s).offsetMm, 0);
}

TEST(PolarCylinder, MeanTimeLinesAreFiguresOfEight) {
    DialState s = Cylinder();
    s.latitude = 50;
    s.cylinderWithEoT = true;
    s.otherHourFrom = s.otherHourTo = 12;
    RecordingPainter p;
    RecordingDialogs d;
    ASSERT_TRUE(kPolarCylinderDial.draw(s, Page(), p, d).drawn);
    double lo = 1e9, hi = -1e9;
    for (const Primitive& l : p.lines(5))
        for (const QPointF& q : l.points) {
            lo = std::min(lo, q.x());
            hi = std::max(hi, q.x());
        }
    // About -14 .. +16 minutes of time: 30 minutes = 7.5 deg, R pi / 24 = 13.1 mm on the axis style.
    EXPECT_NEAR((hi - lo) / 10, 100 * 7.5 * kDeg * (30.7 / 30), 1.5);
}

TEST(PolarCylinder, BadInputGetsAClearMessageAndNothingOffTheArea) {
    DialState s = Cylinder();
    s.cylinderHourStyle = 1;
    s.cylinderGnomon = 120;  // outside the 100 mm cylinder
    RecordingPainter p;
    RecordingDialogs d;
    EXPECT_FALSE(kPolarCylinderDial.draw(s, Page(), p, d).drawn);
    ASSERT_EQ(d.events.size(), 1u);
    EXPECT_TRUE(d.events[0].text.contains(QStringLiteral("Radius")));
    EXPECT_TRUE(p.lines(2).empty());
    QBuffer refused;
    refused.open(QIODevice::WriteOnly);
    PlotStream stream(refused);
    EXPECT_FALSE(kPolarCylinderDial.writePlot(s, stream, d));
    EXPECT_TRUE(refused.data().isEmpty());

    // The ends of the ranges and the pole draw, inside a window on the printable area.
    for (double radius : {4.0, 500.0}) {
        for (double latitude : {89.95, -89.95, 0.000001}) {
            for (int kind : {0, 1, 2}) {
                DialState e = Cylinder();
                e.cylinderRadius = radius;
                e.cylinderGnomon = 3;
                e.cylinderHourStyle = kind;
                e.latitude = latitude;
                RecordingPainter q;
                RecordingDialogs dd;
                EXPECT_TRUE(kPolarCylinderDial.draw(e, Page(), q, dd).drawn) << radius << " " << latitude;
                const auto windows = q.all(Primitive::Window);
                ASSERT_EQ(windows.size(), 1u);
                EXPECT_EQ(windows[0].points[1], QPointF(70 + 2800 + 1 - 2, 50 + 2000 + 1 - 2));
                for (const Primitive& l : q.items)
                    for (const QPointF& pt : l.points) ASSERT_TRUE(std::isfinite(pt.x()) && std::isfinite(pt.y()));
            }
        }
    }
}

TEST(PolarCylinder, PlotHasTheStandardHeadAndScalesForDxf) {
    DialState s = Cylinder();
    s.latitude = 47.25;
    const DialConstruction* c = ConstructionFor(s);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(CanSavePlot(s));
    EXPECT_FALSE(c->fixedResolution);
    QByteArray plots[2];
    for (int i = 0; i < 2; ++i) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        PlotStream stream(buffer, i == 0 ? 1 : 25);
        RecordingDialogs d;
        ASSERT_TRUE(kPolarCylinderDial.writePlot(s, stream, d));
        plots[i] = buffer.data();
    }
    EXPECT_TRUE(plots[0].startsWith("IN;VS 1;PA;IW 0 0 16157 11038;PU 0 0;EA 16157 11038;"));
    EXPECT_TRUE(plots[1].startsWith("IN;VS 1;PA;IW 0 0 403925 275950;"));
    EXPECT_TRUE(plots[0].endsWith(";IN;"));
    EXPECT_TRUE(plots[0].contains(";SP 3"));  // hour lines: colour entry 2, pen 3
}

}  // namespace
}  // namespace zorva::test
