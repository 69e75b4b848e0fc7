#include "dials/cylinder_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "dials/altitude_dial_common.h"
#include "dials/month_labels.h"
#include "dials/dial_painter.h"
#include "dials/label_placer.h"
#include "dials/plot_painter.h"
#include "plot/plot_stream.h"
#include "text/named_texts.h"
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


class ShepherdsDial : public AltitudeDialParts {
public:
    using AltitudeDialParts::AltitudeDialParts;
    // The cap turned to the moment's date and the gnomon to the sun: its shadow runs straight
    // down the date's column, L tan(altitude) long.
    CastShadow castShadow(const ShadowMoment& moment);

private:
    void setUp() override;
    void drawRefusal() override;
    void draw() override;
    void drawFrame();
    void drawAltitudeScale();
    void drawMonthScale();
    void drawRisingHalfMarks();
    void traceHourLines(int first, int last, bool temporal, int perHour);
    void traceBabylonianItalian(bool italian);
    void drawLegend(bool clockDrawn, bool temporalDrawn);
    void drawGnomonMeasure();

    // Shadow length of the gnomon tip below the scale's top row, drawing units.
    double shadow(double altitude) const { return ShadowDownTheWall(L_, altitude); }
    double column(int day) const { return X_ + std::round((day - axis_.first) * dx_); }
    double gap() const { return a_.size(3, 8); }

    struct Label {
        double x, y;
        QString text;
        int role;
    };
    void drawLabels(std::vector<Label> labels);

    double S_ = 0;       // scale length, mm
    bool reduced_ = false;
    double L_ = 0, dx_ = 0, D_ = 0, T_ = 0, Bt_ = 0, X_ = 0;
};

void ShepherdsDial::draw() {
    drawFrame();
    if (s_.altitudeLines) drawAltitudeScale();
    drawMonthScale();
    p_.setPenWidth(c_.lineWidth);
    bool temporalDrawn = false, clockDrawn = false;
    if (s_.temporalHours) {
        const HourRange t = temporalHourRange();
        traceHourLines(t.first, t.last, true, t.perHour);
        temporalDrawn = true;
    }
    if (s_.apparentTimeLines) {
        traceHourLines(clock_.first, clock_.last, false, clock_.perHour);
        clockDrawn = true;
    }
    if (s_.expertMode) ForBabylonianItalianHours(c_, d_, [this](bool italian) { traceBabylonianItalian(italian); });
    p_.setPenWidth(1);
    drawLegend(clockDrawn, temporalDrawn);
    drawGnomonMeasure();
}

CastShadow ShepherdsDial::castShadow(const ShadowMoment& moment) {
    setUp();
    CastShadow out = sunOverSheet(moment);
    if (out.status != ShadowStatus::OffDial) return out;
    const std::optional<double> offset = AxisOffsetOfDay(s_.referenceYear, axis_, moment.dayOfYear());
    const double y = shadow(out.sun.altitude);
    if (!offset || y >= D_) return out;
    // The drawn lines stand on whole-day columns.
    const double x = X_ + std::round(*offset * dx_);
    out.status = ShadowStatus::Cast;
    out.nodus = QPointF(x, T_ + y);
    out.gnomon.push_back({QPointF(x, T_), *out.nodus});
    return out;
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
    D_ = HighestSunShadow(L_, s_.latitude);
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
    labels_ = LabelPlacer(QRectF(a_.ox, a_.oy, W, H));
}

void ShepherdsDial::drawRefusal() {
    DrawPolarRefusal(p_, s_, a_, QStringLiteral("Times New Roman"), 10, 6, TextId::CylinderTitle, kText);
}

void ShepherdsDial::drawFrame() {
    const double W = a_.W, H = a_.H, ox = a_.ox, oy = a_.oy;
    p_.setPenWidth(1);
    p_.setPenRole(kFrame);
    p_.setFont(QStringLiteral("Arial"), a_.size(16, 35));
    p_.setTextRole(kText);
    p_.rectangle(ox, oy, ox + W - 2, oy + H - 2);
    p_.rectangle(X_, T_, X_ + axis_.days() * dx_, Bt_);
    const QRectF scale(QPointF(X_, T_), QPointF(X_ + axis_.days() * dx_, Bt_));
    for (const QLineF& side : {QLineF(scale.topLeft(), scale.topRight()), QLineF(scale.topRight(), scale.bottomRight()),
                               QLineF(scale.bottomRight(), scale.bottomLeft()), QLineF(scale.bottomLeft(), scale.topLeft())})
        labels_.avoidLine(side);
    if (reduced_) {
        const double th = p_.textHeight();
        p_.setFont(QStringLiteral("Arial"), 0.8 * th);
        p_.setTextColour(colour::kRed, kAfternoon);
        const QString note = TextOf(TextId::MonthAxisReduced, s_.language);
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
                const QString name = DialMonthLabel(month, s_.language, p_);
                labels_.writeAt(p_, short_ ? name.left(1) : name, x + gap(), T_ - 2.1 * th);
                if (!short_) labels_.writeAt(p_, QStringLiteral("1"), x + gap(), T_ - 1.15 * th);
            } else if (day == 11 && !short_) {
                labels_.writeAt(p_, QStringLiteral("11"), x + gap(), T_ - 1.2 * th);
            }
            if (day == 1 || !short_) {
                p_.moveTo(x, T_);
                p_.lineTo(x, Bt_);
                labels_.avoidLine(QLineF(x, T_, x, Bt_));
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
            const QString name = short_ ? DialMonthLabel(m.month, s_.language, p_).left(1) : DialMonthLabel(m.month, s_.language, p_);
            // Read from right to left: the name stands left of its mark.
            labels_.writeAt(p_, name, x - p_.textWidth(name) - gap() / 2, Bt_ + 0.1 * th);
        }
    }
    p_.setFont(QStringLiteral("Arial"), a_.size(16, 35));
}

void ShepherdsDial::drawLabels(std::vector<Label> labels) {
    // Lines that start close together would have their labels printed over each other: a
    // label that meets one already placed steps left, level with its line, and only then a
    // row up or down.
    const double th = p_.textHeight();
    std::sort(labels.begin(), labels.end(), [](const Label& a, const Label& b) { return a.y < b.y; });
    for (Label& l : labels) {
        const double step = p_.textWidth(l.text) + 0.3 * th;
        std::vector<QPointF> places;
        for (double row : {0.0, -1.0, 1.0, -2.0, 2.0})
            for (int i = 0; i < 6; ++i) places.push_back({l.x - i * step, l.y - th / 2 + row * th});
        // A crowded margin: into the dial, right of the line's start.
        for (int i = 1; i < 4; ++i) places.push_back({l.x + i * step + 0.6 * th, l.y - th / 2});
        p_.setTextRole(l.role);
        labels_.write(p_, l.text, places);
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
            bool labelled = j != 0;
            // Temporal hour v and 12 - v fall on one line; it is drawn once.
            if (temporal && 12 - v < v - 1e-9 && 12 - v >= first - 1e-9) continue;
            const int role = j == 0 ? (temporal ? kTemporal : (n < 13 ? kMorning : kAfternoon))
                                    : (temporal ? kTemporalSubdivision
                                                : (n < 13 ? kMorningSubdivision : kAfternoonSubdivision));
            p_.setPenRole(role);
            BandCurve curve(p_, T_, D_, &labels_);
            for (int d : days) {
                const double a = temporal ? sun_.temporal(d, v) : sun_.clock(clock_, d, v);
                const double y = shadow(a);
                const double x = column(d);
                curve.add(x, y);
                // Numbered where the line begins: at the scale's left edge, or further on
                // where the sun is still down on the first days.
                if (!labelled && a > 0 && y < D_) {
                    const QString text = temporal ? TemporalLabel(n, first, last) : HourLabel(n, clock_);
                    labels.push_back({x - 0.3 * th - p_.textWidth(text), T_ + y, text, role});
                    labelled = true;
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
            BandCurve curve(p_, T_, D_, &labels_);
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
    DrawCylinderLegend(p_, s_, a_, legendOf(clockDrawn, temporalDrawn), kText);
}

void ShepherdsDial::drawGnomonMeasure() { DrawGnomonBracket(p_, s_, a_, L_, b_, kText); }

}  // namespace

constinit const DialConstruction kShepherdsDial = AltitudeDialConstruction<ShepherdsDial>();

}  // namespace zorva
