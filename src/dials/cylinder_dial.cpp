#include "dials/cylinder_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "dials/altitude_dial_common.h"
#include "dials/dial_painter.h"
#include "dials/hat_dial.h"
#include "dials/plot_painter.h"
#include "dials/polar_cylinder_dial.h"
#include "plot/plot_stream.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QRectF>

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

constexpr Rgb kPurple = 0x800080;
constexpr Rgb kAltitudeBand = 0xF5F5CB;

// Colour roles of the cylinder dials.
enum Role {
    kFrame = 0,
    kMorning = 1,
    kAfternoon = 2,
    kText = 3,
    kMorningSubdivision = 4,
    kAfternoonSubdivision = 5,
    kItalian = 5,
    kBabylonian = 6,
    kAltitude = 7,  // also the Babylonian and Italian subdivisions
    kTemporalSubdivision = 8,
    kTemporal = 9,
};


class ShepherdsDial {
public:
    ShepherdsDial(const DialState& s, const AltitudeDialArea& area, DialPainter& p, UserDialogs& d)
        : s_(s), a_(area), p_(p), d_(d), clock_(ClockHoursOf(s)), sun_(s) {}

    bool run();
    double gnomonMm() const { return b_; }

private:
    void setUp();
    void drawRefusal();
    void drawFrame();
    void drawAltitudeScale();
    void drawMonthScale();
    void drawRisingHalfMarks();
    void traceHourLines(int first, int last, bool temporal, int perHour);
    void traceBabylonianItalian(bool italian);
    void drawLegend(bool clockDrawn, bool temporalDrawn);
    void drawGnomonMeasure();

    // Shadow length of the gnomon tip below the scale's top row, drawing units.
    double shadow(double altitude) const {
        const double c = CosDeg(altitude);
        return std::abs(c) <= 1e-5 ? 100000.0 : L_ * SinDeg(altitude) / c;
    }
    double column(int day) const { return X_ + std::round((day - axis_.first) * dx_); }
    double gap() const { return a_.size(3, 8); }
    double legendFontHeight() const { return a_.screen() ? (a_.wideScreen ? 23 : 16) : a_.size(16, 40); }

    struct Label {
        double x, y;
        QString text;
        int role;
    };
    void drawLabels(std::vector<Label> labels);

    const DialState& s_;
    AltitudeDialArea a_;
    DialPainter& p_;
    UserDialogs& d_;
    ClockHours clock_;
    AltitudeSun sun_;
    DateAxis axis_;
    double b_ = 0;       // gnomon, mm
    double S_ = 0;       // scale length, mm
    bool reduced_ = false;
    double L_ = 0, dx_ = 0, D_ = 0, T_ = 0, Bt_ = 0, X_ = 0;
    int lineWidth_ = 1;
};

bool ShepherdsDial::run() {
    setUp();
    if (RefusedForTemporalHours(s_)) {
        drawRefusal();
        return false;
    }
    drawFrame();
    if (s_.altitudeLines) drawAltitudeScale();
    drawMonthScale();
    p_.setPenWidth(lineWidth_);
    bool temporalDrawn = false, clockDrawn = false;
    if (s_.temporalHours) {
        if (s_.temporalFrom < 0 || s_.temporalFrom > 12 || s_.temporalTo < 0 || s_.temporalTo > 12)
            ReportTemporalRange(s_, d_);
        traceHourLines(std::clamp(s_.temporalFrom, 0, 12), std::clamp(s_.temporalTo, 0, 12), true,
                       std::clamp(s_.temporalInterval + 1, 1, 4));
        temporalDrawn = true;
    }
    if (s_.apparentTimeLines) {
        traceHourLines(clock_.first, clock_.last, false, clock_.perHour);
        clockDrawn = true;
    }
    if (s_.expertMode && (s_.babylonianHours || s_.italianHours)) {
        if (std::abs(s_.latitude) > 65) {
            ReportBabylonianItalianLatitude(s_, d_);
        } else {
            if (s_.babylonianHours) traceBabylonianItalian(false);
            if (s_.italianHours) traceBabylonianItalian(true);
        }
    }
    p_.setPenWidth(1);
    drawLegend(clockDrawn, temporalDrawn);
    drawGnomonMeasure();
    return true;
}

void ShepherdsDial::setUp() {
    const double W = a_.W, H = a_.H;
    b_ = s_.shepherdGnomon * s_.zoomFactor;
    // A page takes 250 mm round the cylinder; the plot sheet (404 mm) takes the cylinder's
    // true circumference up to 340 mm, so that a plotted or DXF scale wraps round it.
    const double longest = a_.plot() ? 340.0 : 250.0;
    S_ = std::max(0, s_.monthScaleLength);
    reduced_ = S_ > longest;
    if (reduced_) S_ = longest;
    axis_ = DateAxisOf(s_.referenceYear, s_.monthScaleSideBySide);
    const double days = axis_.days();
    if (a_.screen()) {
        // The screen shows a sheet 305 mm wide, or as high as a landscape page.
        if (W > 1.414 * H) {
            L_ = std::round(b_ * H * 1.42 / 305);
            dx_ = S_ * H * 1.42 / 305 / days;
        } else {
            L_ = std::round(b_ * W / 305);
            dx_ = S_ * W / 305 / days;
        }
    } else {
        const double perMm = a_.printer() ? 10.0 : kPlotUnitsPerMm;
        L_ = perMm * b_;
        dx_ = perMm * S_ / days;
    }
    lineWidth_ = std::clamp(s_.lineWidth - '0', 1, 9);
    const double phi = std::abs(s_.latitude);
    const double hMax = phi < 23.45 ? 90.0 : 90.0 - phi + 23.45;
    D_ = std::abs(CosDeg(hMax)) <= 1e-4 ? 100000.0 : std::abs(L_ * SinDeg(hMax) / CosDeg(hMax) * 1.05);
    T_ = (0.9 * H > D_ ? H / 12 : H / 20) + a_.oy;
    // Room above the scale for the month names (and the note that the axis is reduced,
    // which goes there when the altitude band takes the right margin); below it for the
    // marks of the rising half year and the legend. Small windows need more than the
    // twelfth and the 7 % the scale leaves otherwise.
    const QString arial = QStringLiteral("Arial");
    p_.setFont(arial, a_.size(16, 35));
    double above = 2.4 * p_.textHeight();
    if (reduced_ && s_.altitudeLines) above += 1.3 * 0.8 * p_.textHeight();
    p_.setFont(arial, a_.size(12, 27));
    const double marks = s_.monthScaleSideBySide ? 0.0 : 1.2 * p_.textHeight();
    p_.setFont(arial, legendFontHeight());
    const double legend = 2.3 * p_.textHeight();
    T_ = std::max(T_, a_.oy + above);
    Bt_ = std::round(T_ + D_);
    const double lowest = std::min(a_.oy + 0.93 * H, a_.oy + H - legend - marks);
    if (Bt_ > lowest) {
        Bt_ = std::round(lowest);
        D_ = Bt_ - T_;
    }
    X_ = std::max(std::round((W - days * dx_) / 2) + a_.ox, a_.ox + 2);
}

void ShepherdsDial::drawRefusal() {
    const double W = a_.W, H = a_.H, ox = a_.ox, oy = a_.oy;
    p_.setFont(QStringLiteral("Times New Roman"), a_.size(30, 60));
    p_.setTextColour(colour::kNavy, kText);
    const double th = p_.textHeight();
    p_.text(ox + W / 10, oy + H / 2 - 1.5 * th, PolarTemporalLine1(s_));
    p_.text(ox + W / 6, oy + H / 2, PolarTemporalLine2(s_));
    p_.text(ox + W / 3, oy + H / 8, Tr(s_, "ZYLINDER - SONNENUHR ", "CYLINDER - SUNDIAL"));
}

void ShepherdsDial::drawFrame() {
    const double W = a_.W, H = a_.H, ox = a_.ox, oy = a_.oy;
    p_.setPenWidth(1);
    p_.setPenRole(kFrame);
    p_.setFont(QStringLiteral("Arial"), a_.size(16, 35));
    p_.setTextRole(kText);
    p_.rectangle(ox, oy, ox + W - 2, oy + H - 2);
    p_.rectangle(X_, T_, X_ + axis_.days() * dx_, Bt_);
    if (reduced_) {
        const double th = p_.textHeight();
        p_.setFont(QStringLiteral("Arial"), 0.8 * th);
        p_.setTextColour(colour::kRed, kAfternoon);
        const QString note = Tr(s_, "horizontale Monatsachse verkleinert", "Horizontal month axis is reduced");
        if (s_.altitudeLines) {
            // The right margin holds the altitude band and its labels: the note goes above
            // the month names instead, ending with the scale.
            const double nh = p_.textHeight();
            p_.text(X_ + axis_.days() * dx_ - p_.textWidth(note), std::max(oy + 2, T_ - 2.1 * th - 1.1 * nh), note);
        } else {
            p_.text(ox + W - th, oy + H / 10, note, TextAnchor::TopLeft, -90.0);
        }
        p_.setFont(QStringLiteral("Arial"), a_.size(16, 35));
        p_.setTextRole(kText);
    }
}

void ShepherdsDial::drawAltitudeScale() {
    p_.setFont(QStringLiteral("Arial"), a_.size(12, 27));
    const double th = p_.textHeight();
    const double left = X_ + axis_.days() * dx_, right = left + 2 * th;
    p_.fillRect(left, T_, right, Bt_, kAltitudeBand);
    p_.setPenRole(kAltitude);
    p_.rectangle(left, T_, right, Bt_);
    p_.setTextRole(kText);
    for (int n = 1; n <= 88; ++n) {
        const double y = shadow(n);
        if (y >= D_) break;
        const double row = T_ + y;
        p_.moveTo(n % 5 == 0 ? X_ : left, row);
        p_.lineTo(right, row);
        if (n % 5 == 0) p_.text(right + 0.3 * th, row - th / 2, QString::number(n) + QStringLiteral(" °"));
    }
    p_.setFont(QStringLiteral("Arial"), a_.size(16, 35));
}

void ShepherdsDial::drawMonthScale() {
    const int year = s_.referenceYear;
    const bool short_ = S_ < 61;
    p_.setPenRole(kFrame);
    p_.setTextRole(kText);
    const double th = p_.textHeight();
    for (int month = s_.monthScaleSideBySide ? 1 : 6; month <= 12; ++month) {
        for (int day : {1, 11, 21}) {
            const int d = DayOfYear(year, month, day);
            if (d < axis_.first || d > axis_.last) continue;
            const double x = X_ + dx_ * (d - axis_.first);
            if (day == 1) {
                const QString name = DialMonth(month);
                p_.text(x + gap(), T_ - 2.1 * th, short_ ? name.left(1) : name);
                if (!short_) p_.text(x + gap(), T_ - 1.15 * th, QStringLiteral("1"));
            } else if (day == 11 && !short_) {
                p_.text(x + gap(), T_ - 1.2 * th, QStringLiteral("11"));
            }
            if (day == 1 || !short_) {
                p_.moveTo(x, T_);
                p_.lineTo(x, Bt_);
            }
        }
    }
    // A merged scale serves the rising half year too, read from right to left, as long as
    // the lines are the same for both halves (not with the equation of time).
    if (!s_.monthScaleSideBySide && !(s_.apparentTimeLines && s_.cylinderWithEoT)) drawRisingHalfMarks();
}

void ShepherdsDial::drawRisingHalfMarks() {
    const bool short_ = S_ < 61;
    p_.setFont(QStringLiteral("Arial"), a_.size(12, 27));
    const double th = p_.textHeight();
    p_.setPenRole(kFrame);
    p_.setTextRole(kText);
    for (const RisingHalfMark& m : RisingHalfMarks(s_.referenceYear, axis_, short_)) {
        const double x = X_ + dx_ * m.offsetDays;
        p_.moveTo(x, Bt_);
        p_.lineTo(x, Bt_ + (m.day == 1 ? 0.6 : 0.35) * th);
        if (m.day == 1) {
            const QString name = short_ ? DialMonth(m.month).left(1) : DialMonth(m.month);
            // Read from right to left: the name stands left of its mark.
            p_.text(x - p_.textWidth(name) - gap() / 2, Bt_ + 0.1 * th, name);
        }
    }
    p_.setFont(QStringLiteral("Arial"), a_.size(16, 35));
}

void ShepherdsDial::drawLabels(std::vector<Label> labels) {
    // Lines that start close together would have their labels printed over each other: a
    // label that meets one already placed moves left of it.
    const double th = p_.textHeight();
    std::sort(labels.begin(), labels.end(), [](const Label& a, const Label& b) { return a.y < b.y; });
    std::vector<QRectF> placed;
    for (Label& l : labels) {
        const double w = p_.textWidth(l.text);
        QRectF box(l.x, l.y - th / 2, w, th);
        for (bool moved = true; moved;) {
            moved = false;
            for (const QRectF& other : placed)
                if (box.intersects(other)) {
                    box.moveRight(other.left() - 0.3 * th);
                    moved = true;
                }
        }
        placed.push_back(box);
        p_.setTextRole(l.role);
        p_.text(box.left(), box.top(), l.text);
    }
    p_.setTextRole(kText);
}

void ShepherdsDial::traceHourLines(int first, int last, bool temporal, int k) {
    const std::vector<int> days = SampleDays(axis_);
    std::vector<Label> labels;
    const double th = p_.textHeight();
    for (int n = first; n <= last; ++n) {
        for (int j = 0; j < k; ++j) {
            const double v = n + static_cast<double>(j) / k;
            if (v > last + 1e-9) break;
            // Temporal hour v and 12 - v fall on one line; it is drawn once.
            if (temporal && 12 - v < v - 1e-9 && 12 - v >= first - 1e-9) continue;
            const int role = j == 0 ? (temporal ? kTemporal : (n < 13 ? kMorning : kAfternoon))
                                    : (temporal ? kTemporalSubdivision
                                                : (n < 13 ? kMorningSubdivision : kAfternoonSubdivision));
            p_.setPenRole(role);
            BandCurve curve(p_, T_, D_);
            for (int d : days) {
                const double a = temporal ? sun_.temporal(d, v) : sun_.clock(clock_, d, v);
                const double y = shadow(a);
                const double x = column(d);
                curve.add(x, y);
                if (d == axis_.first && j == 0 && a > 0 && y < D_) {
                    const QString text = temporal ? TemporalLabel(n, first, last) : HourLabel(n, clock_);
                    // Right-aligned against the scale's left edge, level with the line.
                    labels.push_back({x - 0.3 * th - p_.textWidth(text), T_ + y, text, role});
                }
            }
        }
    }
    drawLabels(labels);
}

void ShepherdsDial::traceBabylonianItalian(bool italian) {
    const int year = s_.referenceYear;
    const int from = std::clamp(italian ? s_.italianFrom : s_.babylonianFrom, 0, 24);
    const int to = std::clamp(italian ? s_.italianTo : s_.babylonianTo, 0, 24);
    const int k = std::clamp((italian ? s_.italianInterval : s_.babylonianInterval) + 1, 1, 4);
    const int fullRole = italian ? kItalian : kBabylonian;
    const int labelDay = DayOfYear(year, 9, 21);
    ClockHours clock = clock_;
    clock.eot = false;
    const std::vector<int> days = SampleDays(axis_);
    std::vector<Label> labels;
    const double th = p_.textHeight();
    for (int n = from; n <= to; ++n) {
        for (int j = 0; j < k; ++j) {
            const double v = n + static_cast<double>(j) / k;
            if (v > to + 1e-9) break;
            p_.setPenRole(j == 0 ? fullRole : kAltitude);
            BandCurve curve(p_, T_, D_);
            bool labelled = !(j == 0 && n % 2 == 0);
            for (int d : days) {
                double rise = 0, set = 0;
                if (!sun_.riseAndSet(clock, d, rise, set)) {
                    curve.interrupt();
                    continue;
                }
                const double t = italian ? set - (24.0 - v) : rise + v;
                if (t < rise || t > set) {
                    curve.interrupt();
                    continue;
                }
                const double a = sun_.clock(clock, d, t);
                const double y = shadow(a);
                curve.add(column(d), y);
                if (!labelled && d >= labelDay && a > 0 && y < D_) {
                    labels.push_back({column(d), T_ + y + (italian ? 0.6 : -0.6) * th, QString::number(n), fullRole});
                    labelled = true;
                }
            }
        }
    }
    drawLabels(labels);
}

void ShepherdsDial::drawLegend(bool clockDrawn, bool temporalDrawn) {
    const double W = a_.W, H = a_.H, ox = a_.ox, oy = a_.oy;
    const QString arial = QStringLiteral("Arial");
    p_.setTextRole(kText);
    p_.setFont(arial, legendFontHeight());
    double th = p_.textHeight();
    const double x = 0.36 * W + ox;
    p_.text(x, oy + H - 2.2 * th, title(8, s_.language));
    p_.text(x, oy + H - 1.2 * th, title(14, s_.language));

    p_.setFont(arial, a_.screen() ? (a_.wideScreen ? 14 : 12) : a_.size(12, 30));
    th = p_.textHeight();
    const QString deg = Tr(s_, " Grad", " deg ");
    const QString site = Tr(s_, "G. Breite = ", "Latitude = ") + RealToText(6, 2, s_.latitude) + deg +
                         Tr(s_, ", G. Laenge = ", ", Longitude = ") + RealToText(5, 2, s_.longitude) + deg;
    // In a narrow window the site line ends at the frame instead of running out of it.
    const double x2 = std::min(0.7 * W + ox + a_.size(10, 10), ox + W - a_.size(6, 15) - p_.textWidth(site));
    p_.text(x2, oy + H - 2.6 * th, site);
    QString hours;
    if (clockDrawn) {
        hours = (clock_.local ? Tr(s_, " WOZ", " Local Apparent Time")
                              : Tr(s_, " WOZ am Zonenmeridian", "Time of zone meridian")) +
                QStringLiteral(" ") + (clock_.eot ? Tr(s_, "mit Zeitgl.", "with EoT") : Tr(s_, "ohne Zeitgl.", "without EoT")) +
                QStringLiteral(", ");
    }
    if (temporalDrawn) hours += Tr(s_, " Temporalstunden", " Temporal hours");
    p_.text(x2, oy + H - 1.5 * th, hours);
}

void ShepherdsDial::drawGnomonMeasure() { DrawGnomonBracket(p_, s_, a_, L_, b_, kText); }

}  // namespace

PlanarDialResult DrawShepherdsDial(const DialState& state, const PlanarDialRequest& request, DialPainter& painter,
                                   UserDialogs& dialogs) {
    return DrawAltitudeDial<ShepherdsDial>(state, request, painter, dialogs);
}

PlanarDialResult DrawCylinderDial(const DialState& state, const PlanarDialRequest& request, DialPainter& painter,
                                  UserDialogs& dialogs) {
    if (state.cylinderKind == 0) return DrawShepherdsDial(state, request, painter, dialogs);
    if (state.cylinderKind == 1) return DrawHatDial(state, request, painter, dialogs);
    return DrawPolarCylinderDial(state, request, painter, dialogs);
}

bool WriteShepherdsDialPlot(const DialState& state, PlotStream& stream, UserDialogs& dialogs) {
    if (RefusePolarTemporalPlot(state, dialogs)) return false;
    WriteAltitudeDialPlot(state, stream, [&](DialPainter& painter) { ShepherdsDial(state, PlotSheetArea(), painter, dialogs).run(); });
    return true;
}

}  // namespace zorva
