#include "dials/hidokai_dial.h"

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

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

// Colour roles of the Hidokai.
enum Role {
    kFrame = 0,
    kMorning = 1,
    kAfternoon = 2,
    kText = 3,
    kMorningSubdivision = 4,  // also the temporal subdivisions
    kAfternoonSubdivision = 5,
    kTemporal = 9,
};


// Joins the samples of an hour line and cuts every segment to the columns left..right
// (the faces shown), by linear interpolation along the segment.
class FaceCurve {
public:
    FaceCurve(DialPainter& p, double left, double right, LabelPlacer& keepClear)
        : p_(p), left_(left), right_(right), keepClear_(keepClear) {}
    void add(double x, double y) {
        if (has_) {
            double x0 = px_, y0 = py_, x1 = x, y1 = y;
            const bool outside = (x0 < left_ && x1 < left_) || (x0 > right_ && x1 > right_);
            if (!outside) {
                auto cut = [](double& xe, double& ye, double xo, double yo, double column) {
                    if (std::abs(xo - xe) < 1e-9) return;
                    ye = yo + (ye - yo) * (column - xo) / (xe - xo);
                    xe = column;
                };
                if (x0 < left_) cut(x0, y0, x1, y1, left_);
                else if (x0 > right_) cut(x0, y0, x1, y1, right_);
                if (x1 < left_) cut(x1, y1, x0, y0, left_);
                else if (x1 > right_) cut(x1, y1, x0, y0, right_);
                if (x0 >= left_ && x0 <= right_ && x1 >= left_ && x1 <= right_) {
                    p_.moveTo(x0, y0);
                    p_.lineTo(x1, y1);
                    keepClear_.avoidLine(QLineF(x0, y0, x1, y1));
                }
            }
        }
        has_ = true;
        px_ = x;
        py_ = y;
    }

private:
    DialPainter& p_;
    double left_, right_;
    LabelPlacer& keepClear_;
    bool has_ = false;
    double px_ = 0, py_ = 0;
};

class Hidokai : public AltitudeDialParts {
public:
    using AltitudeDialParts::AltitudeDialParts;
    // The dial turned to the sun with the nodus over the date's row: the shadow runs along
    // that row from the nodus' foot, over the floor and up the wall.
    CastShadow castShadow(const ShadowMoment& moment);

private:
    void setUp() override;
    void drawRefusal() override;
    void draw() override;
    void drawGnomonMeasure();
    void writeGnomonLength();
    void drawFaces();
    void drawMonthScale();
    void drawRisingHalfMarks();
    void traceHourLines(int first, int last, bool temporal, int perHour);
    void drawLegend(bool temporal);

    double row(double day) const { return T_ + (day - axis_.first) * dy_; }
    double facesRight() const { return E_ + (wall_ ? s_px_ : 0.0); }
    // Column of the nodus shadow for the sun at `altitude`: on the floor above the transition
    // altitude, else on the wall unfolded beside it (below the horizon: beyond the wall's top).
    double column(double altitude) const {
        const double sn = SinDeg(altitude), cs = CosDeg(altitude);
        if (altitude > a0_) return X_ + (std::abs(sn) <= 1e-7 ? 1e7 : s_px_ * cs / sn);
        return E_ + s_px_ - (std::abs(cs) <= 1e-7 ? -1e7 : Dp_ * sn / cs);
    }

    double A_ = 0;                 // date axis for 365 days, mm
    bool wall_ = true;
    double s_px_ = 0, Dp_ = 0, dy_ = 0, a0_ = 0;
    double T_ = 0, X_ = 0, E_ = 0, w_ = 0;
};

void Hidokai::draw() {
    const double W = a_.W, H = a_.H, ox = a_.ox, oy = a_.oy;
    p_.setPenWidth(1);
    p_.setPenRole(kFrame);
    p_.setFont(QStringLiteral("Arial"), a_.size(16, 35));
    p_.setTextRole(kText);
    p_.rectangle(ox, oy, ox + W - 2, oy + H - 2);
    drawGnomonMeasure();
    drawFaces();
    drawMonthScale();

    int first = 0, last = 0, k = 1;
    const bool temporal = s_.temporalHours;
    if (temporal) {
        first = s_.quadrantTemporalFrom;
        last = s_.quadrantTemporalTo;
        k = std::clamp(s_.quadrantTemporalInterval + 1, 1, 4);
        if (first < 0 || first > 12 || last < 0 || last > 12) {
            ReportTemporalRange(s_, d_);
            first = 0;
            last = 6;
        }
    } else {
        first = clock_.first;
        last = clock_.last;
        k = clock_.perHour;
    }
    p_.setPenWidth(c_.lineWidth);
    if (temporal || s_.apparentTimeLines) traceHourLines(first, last, temporal, k);
    p_.setPenWidth(1);
    drawLegend(temporal);
    writeGnomonLength();
}

CastShadow Hidokai::castShadow(const ShadowMoment& moment) {
    setUp();
    CastShadow out = sunOverSheet(moment);
    if (out.status != ShadowStatus::OffDial) return out;
    const std::optional<double> offset = AxisOffsetOfDay(s_.referenceYear, axis_, moment.dayOfYear());
    const double x = column(out.sun.altitude);
    if (!offset || x > facesRight()) return out;
    const double y = row(axis_.first + *offset);
    out.status = ShadowStatus::Cast;
    out.nodus = QPointF(x, y);
    out.gnomon.push_back({QPointF(X_, y), *out.nodus});
    return out;
}

void Hidokai::setUp() {
    const double W = a_.W, H = a_.H;
    b_ = s_.hidokaiGnomon * s_.zoomFactor;
    A_ = std::max(0, s_.hidokaiMonthScale);
    const double D = std::max(0, s_.hidokaiHorizontalScale);
    wall_ = s_.hidokaiVerticalDial;
    axis_ = DateAxisOf(s_.referenceYear, s_.monthScaleSideBySide);
    if (a_.screen()) {
        // The screen shows a sheet 320 mm wide.
        s_px_ = std::round(b_ * W / 320);
        Dp_ = std::round(D * W / 320);
        dy_ = A_ * W / 320 / 365;
    } else {
        const double perMm = a_.printer() ? 10.0 : kPlotUnitsPerMm;
        s_px_ = perMm * b_;
        Dp_ = perMm * D;
        dy_ = perMm * A_ / 365;
    }
    a0_ = Dp_ > 0 ? std::atan(s_px_ / Dp_) / kDegToRad : 90.0;
    // A margin of a twelfth above the faces, less when they would reach into the legend;
    // faces smaller than the sheet stand in the middle of the room above the legend, not
    // at the top of an otherwise empty page.
    const double faces = axis_.days() * dy_;
    double top = H / 12;
    if (A_ > 180) top = H / 25;
    else if (H / 12 + faces > 0.85 * H) top = H / 20;
    if (top + faces < 0.85 * H) top += (0.85 * H - top - faces) / 2;
    T_ = a_.oy + top;
    w_ = Dp_ + (wall_ ? s_px_ : 0.0);
    p_.setFont(QStringLiteral("Arial"), a_.size(12, 27));
    X_ = std::max((W - w_) / 2 + a_.ox, a_.ox + 1.4 * p_.textWidth(QStringLiteral("Sep")));
    E_ = std::round(X_ + Dp_);
    labels_ = LabelPlacer(QRectF(a_.ox, a_.oy, W, H));
}

void Hidokai::drawRefusal() {
    DrawPolarRefusal(p_, s_, a_, QStringLiteral("Times"), 8, 5, TextId::AltitudeDialTitle, kText);
}

void Hidokai::drawGnomonMeasure() {
    // The nodus height to scale as a bracket in the bottom right corner.
    const double W = a_.W, H = a_.H, ox = a_.ox, oy = a_.oy;
    const double u = std::round(1.5 * p_.textHeight());
    const double s = s_px_;
    p_.setPenRole(kText);
    p_.polyline({{ox + W - 1.5 * u, oy + H - u - s}, {ox + W - u, oy + H - u - s}, {ox + W - u, oy + H - u},
                 {ox + W - u - s, oy + H - u}, {ox + W - u - s, oy + H - 1.5 * u}});
}

void Hidokai::writeGnomonLength() {
    // Under the bracket, clear of it, ending with it; above it when the legend is in the way.
    const double W = a_.W, H = a_.H, ox = a_.ox, oy = a_.oy;
    p_.setFont(QStringLiteral("Arial"), a_.size(16, 35));
    p_.setTextRole(kText);
    const double th = p_.textHeight();
    const double u = std::round(1.5 * th);
    const QString text = TextOf(TextId::GnomonLengthIs, s_.language) + RealToText(6, 2, b_) + QStringLiteral(" mm");
    const double w = p_.textWidth(text);
    labels_.write(p_, text, {{ox + W - u - w, oy + H - u + 0.3 * th}, {ox + W - u - w, oy + H - u - s_px_ - 1.3 * th}});
}

void Hidokai::drawFaces() {
    p_.setFont(QStringLiteral("Arial"), a_.size(12, 27));
    p_.setPenRole(kFrame);
    const double bottom = row(axis_.last);
    p_.rectangle(X_, T_, E_, bottom);
    if (wall_) p_.rectangle(E_, T_, E_ + s_px_, bottom);
    // The numbers of lines starting inside the faces keep off their edges.
    const double right = facesRight();
    for (const QLineF& edge : {QLineF(X_, T_, right, T_), QLineF(X_, bottom, right, bottom), QLineF(X_, T_, X_, bottom),
                               QLineF(E_, T_, E_, bottom), QLineF(right, T_, right, bottom)})
        labels_.avoidLine(edge);
}

void Hidokai::drawMonthScale() {
    const int year = s_.referenceYear;
    const bool short_ = A_ < 61;
    const double th = p_.textHeight();
    p_.setPenRole(kFrame);
    p_.setTextRole(kText);
    for (int month = s_.monthScaleSideBySide ? 1 : 6; month <= 12; ++month) {
        for (int day : {1, 11, 21}) {
            const int d = DayOfYear(year, month, day);
            if (d < axis_.first || d > axis_.last) continue;
            const double y = row(d);
            if (day == 1) {
                // Left of the floor, centred on the line of the 1st.
                if (short_) labels_.writeAt(p_, DialMonthLabel(month, s_.language, p_).left(1), X_ - 1.2 * th, y - 0.5 * th);
                else labels_.writeAt(p_, DialMonthLabel(month, s_.language, p_), X_ - 1.9 * th, y - 0.5 * th);
            }
            if ((day == 1 || A_ > 80) && d != axis_.last) {
                p_.moveTo(X_, y);
                p_.lineTo(X_ + w_, y);
                labels_.avoidLine(QLineF(X_, y, X_ + w_, y));
            }
        }
    }
    if (!s_.monthScaleSideBySide && !(s_.cylinderWithEoT && !s_.temporalHours && s_.apparentTimeLines))
        drawRisingHalfMarks();
}

void Hidokai::drawRisingHalfMarks() {
    // January to June read upward, marked right of the faces.
    const double th = p_.textHeight();
    const double x = facesRight();
    for (const RisingHalfMark& m : RisingHalfMarks(s_.referenceYear, axis_, A_ < 61)) {
        const double y = T_ + m.offsetDays * dy_;
        const QLineF mark(x, y, x + (m.day == 1 ? 0.6 : 0.35) * th, y);
        p_.moveTo(mark.x1(), mark.y1());
        p_.lineTo(mark.x2(), mark.y2());
        labels_.avoidLine(mark);
        if (m.day == 1) {
            const QString name = A_ < 61 ? DialMonthLabel(m.month, s_.language, p_).left(1) : DialMonthLabel(m.month, s_.language, p_);
            labels_.writeAt(p_, name, x + 0.8 * th, y - 0.5 * th);
        }
    }
}

void Hidokai::traceHourLines(int first, int last, bool temporal, int k) {
    const std::vector<int> days = SampleDays(axis_);
    const double th = p_.textHeight();
    struct Label {
        double x, y;
        QString text;
        int role;
        QPointF last;  // where the line ends, on the last day
    };
    std::vector<Label> labels;
    for (int n = first; n <= last; ++n) {
        for (int j = 0; j < k; ++j) {
            const double v = n + static_cast<double>(j) / k;
            if (v > last + 1e-9) break;
            // Temporal hour v and 12 - v fall on one line; it is drawn once.
            if (temporal && 12 - v < v - 1e-9 && 12 - v >= first - 1e-9) continue;
            const int role = j == 0 ? (temporal ? kTemporal : (n < 13 ? kMorning : kAfternoon))
                                    : (temporal || n < 13 ? kMorningSubdivision : kAfternoonSubdivision);
            p_.setPenRole(role);
            bool labelled = j != 0;
            FaceCurve curve(p_, X_, facesRight(), labels_);
            for (int d : days) {
                const double a = temporal ? sun_.temporal(d, v) : sun_.clock(clock_, d, v);
                const double x = column(a);
                curve.add(x, row(d));
                // Numbered where the line begins: on the first day, or later where the sun
                // is still down on the first days.
                if (!labelled && a > 0 && x >= X_ && x <= facesRight()) {
                    const QString text = temporal ? TemporalLabel(n, first, last) : HourLabel(n, clock_);
                    labels.push_back({x, row(d), text, role, {x, row(d)}});
                    labelled = true;
                } else if (labelled && j == 0 && a > 0 && x >= X_ && x <= facesRight()) {
                    labels.back().last = QPointF(x, row(d));
                }
            }
        }
    }
    // Above the line's start; near noon the lines start close together and a label that
    // would run into a neighbour moves up a row. A line that starts lower down (the sun
    // rising late in the year) is labelled beside its start, off the other lines.
    std::sort(labels.begin(), labels.end(), [](const Label& a, const Label& b) { return a.x < b.x; });
    for (const Label& l : labels) {
        const double w = p_.textWidth(l.text);
        std::vector<QPointF> places;
        for (int r = 0; r < 4; ++r) places.push_back({l.x - w / 2, l.y - (1.2 + r) * th});
        for (const QPointF& side : {QPointF(0.3 * th, -0.5 * th), QPointF(-w - 0.3 * th, -0.5 * th),
                                    QPointF(0.3 * th, -1.3 * th), QPointF(-w - 0.3 * th, -1.3 * th),
                                    QPointF(0.3 * th, 0.3 * th), QPointF(-w - 0.3 * th, 0.3 * th)})
            places.push_back(QPointF(l.x, l.y) + side);
        // Among the date lines there may be no room: then below the line's end, under the faces.
        if (l.last.y() > l.y)
            for (int r = 0; r < 4; ++r) places.push_back({l.last.x() - w / 2, l.last.y() + (0.3 + 1.1 * r) * th});
        p_.setTextRole(l.role);
        labels_.write(p_, l.text, places);
    }
    p_.setTextRole(kText);
}

void Hidokai::drawLegend(bool temporal) {
    const double W = a_.W, H = a_.H, ox = a_.ox, oy = a_.oy;
    const QString arial = QStringLiteral("Arial");
    p_.setTextRole(kText);
    p_.setFont(arial, a_.size(28, 50));
    double th = p_.textHeight();
    labels_.writeAt(p_, TextOf(TextId::AltitudeDialTitle, s_.language), W / 15 + ox, oy + H - 1.8 * th);
    p_.setFont(arial, a_.size(14, 30));
    th = p_.textHeight();
    labels_.writeAt(p_,
                    TextOf(TextId::LatitudeIs, s_.language) + RealToText(5, 2, s_.latitude) +
                        TextOf(TextId::LongitudeIs, s_.language) + RealToText(5, 2, s_.longitude),
                    W / 2 + ox, oy + H - 3 * th);
    QString hours;
    if (temporal) {
        hours = QStringLiteral("[") + TextOf(TextId::TemporalHoursSpaced, s_.language) + QStringLiteral(" ]");
    } else if (s_.apparentTimeLines) {
        hours = clock_.local ? TextOf(TextId::LocalApparentTimeLong, s_.language)
                             : TextOf(TextId::ZoneMeridianTimeLong, s_.language);
        hours += clock_.eot ? QStringLiteral(" ") + TextOf(TextId::WithEot, s_.language)
                            : QStringLiteral("  ") + TextOf(TextId::WithoutEot, s_.language);
    }
    labels_.writeAt(p_, hours, W / 2 + ox, oy + H - 2 * th);
}

}  // namespace

constinit const DialConstruction kHidokai = AltitudeDialConstruction<Hidokai>();

}  // namespace zorva
