#include "dials/ring_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
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

constexpr double kRad = kExactDegToRad;

// Colour roles of the ring dial.
enum Role { kFrame = 0, kDates = 1, kHours = 2, kText = 3, kSubdivision = 4, kUncorrected = 5 };

double Epsilon(const DialContext& c) {
    const double e = std::abs(c.zodiacDeclinations()[7]);
    return e > 1.0 ? e : 23.44;
}

double Altitude(double latitude, double hourAngle, double declination) {
    const double v = SinDeg(latitude) * SinDeg(declination) + CosDeg(latitude) * CosDeg(declination) * CosDeg(hourAngle);
    return AsinDeg(std::clamp(v, -1.0, 1.0));
}

// The hour angle (degrees, >= 0) at which the sun of a declination has an altitude; nullopt
// when it never reaches it.
std::optional<double> HourAngleOfAltitude(double latitude, double altitude, double declination) {
    const double den = CosDeg(latitude) * CosDeg(declination);
    if (std::abs(den) < 1e-12) return std::nullopt;
    const double c = (SinDeg(altitude) - SinDeg(latitude) * SinDeg(declination)) / den;
    if (c > 1.0 + 1e-12 || c < -1.0 - 1e-12) return std::nullopt;
    return AcosDeg(std::clamp(c, -1.0, 1.0));
}

// The hours the dial shows. Local apparent time folds morning onto afternoon (the ring reads
// the altitude only); the time of the zone meridian needs both halves.
ClockHours HoursOf(const DialState& s) {
    return ClockHoursOf(s, s.localTimeReading, false, std::clamp(LinesPerHour(s.otherHourInterval), 1, 6));
}

double HourAngleOfClock(const DialState& s, const ClockHours& h, double hour) {
    double t = 15.0 * (hour - 12.0);
    if (!h.local) t -= s.longitude - s.zoneMeridian;
    return t;
}

// Month labels of the seven sign date lines (winter solstice .. summer solstice); a date line
// serves the falling and the rising half year alike.
QString DateLineLabel(int index) {
    static constexpr int kFalling[8] = {0, 12, 11, 10, 9, 8, 7, 6};
    static constexpr int kRising[8] = {0, 12, 1, 2, 3, 4, 5, 6};
    const int a = kRising[index], b = kFalling[index];
    return a == b ? DialMonth(a) : DialMonth(a) + QLatin1Char('/') + DialMonth(b);
}

class RingDial {
public:
    RingDial(const DialContext& c, const AltitudeDialArea& a, DialPainter& p, UserDialogs& d)
        : c_(c), s_(c.state), a_(a), p_(p), d_(d) {}
    bool run();
    double gnomonMm() const { return R_ * 2; }
    // The light spot through the hole: no shadow, a bright point on the inside of the ring.
    CastShadow castShadow(const ShadowMoment& moment);

private:
    void setUp();
    double X(double arcMm) const { return x0_ + arcMm * u_; }
    double Y(double wMm) const { return yMid_ + wMm * u_; }
    void drawFrame();
    void drawDateLines();
    void drawHourLines(bool deflection, int fullRole, int subRole, bool labels);
    void drawSingleBand();
    void drawHoleHalf();
    void drawLegend();
    // An hour label above the band, centred on its line, raised a row while it would cover
    // one already placed (morning and afternoon lines of zone time lie close).
    void hourLabel(double x, const QString& text);

    const DialContext& c_;
    const DialState& s_;
    AltitudeDialArea a_;
    DialPainter& p_;
    UserDialogs& d_;
    double R_ = 75, B_ = 80, theta_ = 30, eps_ = 23.44;
    double u_ = 1;  // drawing units per mm
    double x0_ = 0, yTop_ = 0, yMid_ = 0, yStrip_ = 0, th_ = 10;
    double slotMin_ = 0, slotMax_ = 0;
    bool cut_ = false;
    ClockHours hours_;
    LabelPlacer labels_{QRectF()};
};

void RingDial::hourLabel(double x, const QString& text) {
    p_.setTextRole(kHours);
    const double w = p_.textWidth(text), h = p_.textHeight();
    // Each box keeps 0.075 h to either side: neighbours stay 0.15 h apart.
    const double pad = 0.075 * h;
    std::vector<QPointF> rows;
    for (int k = 0; k < 12; ++k) rows.push_back({x - w / 2 - pad, yTop_ - 1.25 * h - k * 1.05 * h});
    if (const auto box = labels_.place(QSizeF(w + 2 * pad, h), rows)) p_.text(box->left() + pad, box->top(), text);
}

void RingDial::setUp() {
    R_ = std::clamp(s_.ringDiameter, 10.0, 300.0) / 2;
    B_ = std::clamp(s_.ringWidth, 4.5, 150.0);
    theta_ = s_.ringAngle;
    eps_ = Epsilon(c_);
    hours_ = HoursOf(s_);
    // The hole half: the fixed hole, or the slot the sliding hole runs in.
    slotMin_ = slotMax_ = R_ * theta_ * kRad;
    if (s_.noonLineHorizontal) {
        slotMin_ = R_ * RingHoleAngle(s_, eps_) * kRad;
        slotMax_ = R_ * RingHoleAngle(s_, -eps_) * kRad;
    }
    const double left = std::max(0.0, -slotMin_);
    const double stripMm = 16, titleMm = 24, legendMm = 22, labelsMm = 26;
    const double needW = 16 + left + std::max(kPi * R_, slotMax_) + labelsMm;
    const double needH = titleMm + B_ + 6 + stripMm + legendMm;
    if (a_.screen()) u_ = std::min(a_.W / needW, a_.H / needH);
    else u_ = a_.printer() ? 10.0 : kPlotUnitsPerMm;
    th_ = a_.screen() ? std::clamp(3.2 * u_, 10.0, 22.0) : 3.2 * u_;
    x0_ = a_.ox + (8 + left) * u_;
    yTop_ = a_.oy + titleMm * u_;
    yMid_ = yTop_ + B_ / 2 * u_;
    yStrip_ = yTop_ + (B_ + 6) * u_;
    labels_ = LabelPlacer(QRectF(a_.ox, a_.oy, a_.W, a_.H));
}

bool RingDial::run() {
    if (ShowRefusal(RingRefusal(s_), p_, a_, c_.language, d_, kHours)) return false;
    setUp();
    // A ring longer than the page or the sheet is drawn as far as it goes.
    p_.setWindow(a_.ox, a_.oy, a_.ox + a_.W - 2, a_.oy + a_.H - 2);
    const int width = c_.lineWidth;
    drawFrame();
    p_.setPenWidth(width);
    if (s_.wholeYearBand) {
        drawSingleBand();
    } else {
        drawDateLines();
        p_.setPenWidth(width);
        if (s_.rayDeflection == 2) {
            p_.setLineStyle(LineStyle::Dashed);
            drawHourLines(false, kUncorrected, kUncorrected, false);
            p_.setLineStyle(LineStyle::Solid);
        }
        drawHourLines(s_.rayDeflection != 0, kHours, kSubdivision, true);
    }
    p_.setPenWidth(1);
    drawHoleHalf();
    drawLegend();
    p_.resetWindow();
    return true;
}

CastShadow RingDial::castShadow(const ShadowMoment& moment) {
    if (!RingRefusal(s_).isEmpty()) return {};
    setUp();
    CastShadow out = SunlitShadow(c_, moment, QRectF(a_.ox, a_.oy, a_.W - 2, a_.H - 2));
    if (out.status == ShadowStatus::SunDown) return out;
    const double a = out.sun.altitude, delta = out.sun.declination;
    std::optional<double> x;
    double y = yMid_;
    if (s_.wholeYearBand) {
        // The single band is read on the hole's line, without the date's deflection.
        x = R_ * (theta_ + 2 * a) * kRad;
    } else {
        x = RingSpotPosition(c_, a, delta, s_.rayDeflection != 0);
        y = Y(RingDateOffset(c_, delta));
    }
    if (!x || *x > kPi * R_) return out;
    out.status = ShadowStatus::Cast;
    out.mark = ShadowMark::LightSpot;
    out.nodus = QPointF(X(*x), y);
    return out;
}

void RingDial::drawFrame() {
    p_.setPenWidth(1);
    p_.setPenRole(kFrame);
    const double x1 = X(0), x2 = X(kPi * R_);
    p_.rectangle(x1, yTop_, x2, yTop_ + B_ * u_);
    // The suspension point at the band's start, the ring's lowest point at its end.
    p_.moveTo(x1, yTop_ - 2 * u_);
    p_.lineTo(x1, yTop_ + B_ * u_ + 2 * u_);
    p_.setFont(QStringLiteral("Arial"), 0.8 * th_);
    p_.setTextRole(kText);
}

void RingDial::drawDateLines() {
    p_.setPenRole(kDates);
    p_.setTextRole(kDates);
    p_.setFont(QStringLiteral("Arial"), 0.85 * th_);
    for (int i : ZodiacDateLines(s_)) {
        const double y = Y(RingDateOffset(c_, c_.zodiacDeclinations()[static_cast<size_t>(i)]));
        p_.moveTo(X(0), y);
        p_.lineTo(X(kPi * R_), y);
        p_.text(X(kPi * R_) + 1.5 * u_, y - p_.textHeight() / 2, DateLineLabel(i));
    }
}

void RingDial::drawHourLines(bool deflection, int fullRole, int subRole, bool labels) {
    const double end = kPi * R_;
    p_.setFont(QStringLiteral("Arial"), th_);
    ForEachHourLine(hours_, [&](double hour, int n, bool whole) {
        p_.setPenRole(whole ? fullRole : subRole);
        const double t = HourAngleOfClock(s_, hours_, hour);
        std::vector<QPointF> run;
        bool labelled = !labels || !whole;
        auto flush = [&] {
            if (run.size() >= 2) p_.polyline(run);
            run.clear();
        };
        // From the summer solstice (top of the band) to the winter solstice.
        constexpr int kSteps = 48;
        for (int k = 0; k <= kSteps; ++k) {
            const double delta = eps_ - 2 * eps_ * k / kSteps;
            const double a = Altitude(c_.latitude, t, delta);
            const auto x = a > 0 ? RingSpotPosition(c_, a, delta, deflection) : std::nullopt;
            if (!x || *x > end) {
                if (x) cut_ = true;
                flush();
                continue;
            }
            const QPointF at(X(*x), Y(RingDateOffset(c_, delta)));
            run.push_back(at);
            if (!labelled) {
                hourLabel(at.x(), HourLabel(n, hours_));
                labelled = true;
            }
        }
        flush();
    });
}

void RingDial::drawSingleBand() {
    // One row of hour marks for the equinox sun; the table shows what it costs on other dates.
    const double end = kPi * R_;
    p_.setFont(QStringLiteral("Arial"), th_);
    ForEachHourLine(hours_, [&](double hour, int n, bool whole) {
        const double a = Altitude(c_.latitude, HourAngleOfClock(s_, hours_, hour), 0.0);
        if (a <= 0) return;
        const double x = R_ * (theta_ + 2 * a) * kRad;
        if (x > end) {
            cut_ = true;
            return;
        }
        p_.setPenRole(whole ? kHours : kSubdivision);
        const double inset = whole ? 0.0 : B_ * u_ / 4;
        p_.moveTo(X(x), yTop_ + inset);
        p_.lineTo(X(x), yTop_ + B_ * u_ - inset);
        if (whole) hourLabel(X(x), HourLabel(n, hours_));
    });
}

void RingDial::drawHoleHalf() {
    // The other half of the ring, measured from the same suspension point: the hole, or the
    // slot of the sliding hole with the date of each position.
    const double top = yStrip_, h = 10 * u_;
    p_.setPenRole(kFrame);
    const double left = std::min(0.0, slotMin_), right = std::max(kPi * R_, slotMax_);
    p_.rectangle(X(left), top, X(right), top + h);
    p_.moveTo(X(0), top - u_);
    p_.lineTo(X(0), top + h + u_);
    p_.setFont(QStringLiteral("Arial"), 0.8 * th_);
    p_.setTextRole(kText);
    if (!s_.noonLineHorizontal) {
        p_.circle(X(R_ * theta_ * kRad), top + h / 2, 1.2 * u_, FillStyle::None, 0);
        p_.text(X(R_ * theta_ * kRad) + 2 * u_, top + h / 2 - p_.textHeight() / 2,
                TextOf(TextId::RingHole, c_.language) + QStringLiteral(" ") + RealToText(4, 1, theta_) + QStringLiteral(" °"));
        return;
    }
    p_.setPenRole(kDates);
    p_.setTextRole(kDates);
    p_.moveTo(X(slotMin_), top + h / 2);
    p_.lineTo(X(slotMax_), top + h / 2);
    for (int i = 1; i <= 7; ++i) {
        const double x = X(R_ * RingHoleAngle(s_, c_.zodiacDeclinations()[static_cast<size_t>(i)]) * kRad);
        p_.moveTo(x, top + h / 4);
        p_.lineTo(x, top + 3 * h / 4);
        const QString text = DateLineLabel(i);
        // Alternate above and below, the marks of neighbouring months lie close.
        const double y = i % 2 ? top + 3 * h / 4 : top + h / 4 - p_.textHeight();
        p_.text(x - p_.textWidth(text) / 2, y, text);
    }
}

void RingDial::drawLegend() {
    const QString arial = QStringLiteral("Arial");
    p_.setTextRole(kText);
    p_.setFont(arial, 1.2 * th_);
    p_.text(a_.ox + 8 * u_, a_.oy + 3 * u_,
            TextOf(TextId::RingTitle, c_.language));
    p_.setFont(arial, 0.85 * th_);
    const double lh = 1.3 * p_.textHeight();
    double y = yStrip_ + 13 * u_;
    const QString deg = QStringLiteral(" °");
    p_.text(a_.ox + 8 * u_, y,
            TextOf(TextId::LatitudeIs, c_.language) + RealToText(6, 2, s_.latitude) + deg +
                TextOf(TextId::RingDiameterIs, c_.language) + RealToText(5, 1, 2 * R_) + QStringLiteral(" mm") +
                TextOf(TextId::RingWidthIs, c_.language) + RealToText(5, 1, B_) + QStringLiteral(" mm") +
                TextOf(TextId::RingHoleAngleIs, c_.language) + RealToText(4, 1, theta_) + deg);
    y += lh;
    QString mode = hours_.local ? TextOf(TextId::LocalApparentTime, c_.language)
                                : TextOf(TextId::ZoneMeridianApparentTime, c_.language);
    if (s_.wholeYearBand) mode += TextOf(TextId::RingSingleBandNote, c_.language);
    else if (s_.rayDeflection == 0) mode += TextOf(TextId::RingDeflectionIgnored, c_.language);
    else if (s_.rayDeflection == 1) mode += TextOf(TextId::RingDeflectionConsidered, c_.language);
    else mode += TextOf(TextId::RingDeflectionDashed, c_.language);
    if (s_.noonLineHorizontal) mode += TextOf(TextId::RingSlidingHole, c_.language);
    p_.text(a_.ox + 8 * u_, y, mode);
    if (cut_) {
        p_.setTextColour(colour::kRed, kHours);
        p_.text(a_.ox + 8 * u_, y + lh,
                TextOf(TextId::RingScaleCut, c_.language));
        p_.setTextRole(kText);
    }
}

}  // namespace

std::optional<double> RingProjectedAltitude(double a, double theta, double w, double R) {
    if (std::abs(w) < 1e-12) {
        if (theta + a <= 0) return std::nullopt;
        return a;
    }
    double lambda = 0, h = a;
    for (int i = 0; i < 5; ++i) {
        const double v = SinDeg(a) / CosDeg(lambda);
        if (v >= 1.0) return std::nullopt;
        h = AsinDeg(v);
        const double c = 2 * R * SinDeg(theta + h);
        if (c <= 1e-9) return std::nullopt;
        lambda = std::atan(w / c) / kRad;
    }
    return h;
}

double RingSpotArc(double R, double theta, double h) { return R * (theta + 2 * h) * kRad; }

double RingHoleAngle(const DialState& s, double delta) {
    return s.noonLineHorizontal ? s.ringAngle - 2 * delta : s.ringAngle;
}

double RingDateOffset(const DialContext& c, double delta) {
    const DialState& s = c.state;
    if (s.wholeYearBand) return 0.0;
    // The solstice lines lie a tenth of the width from the edges; summer at the top.
    return -delta / Epsilon(c) * 0.4 * std::clamp(s.ringWidth, 4.5, 150.0);
}

std::optional<double> RingSpotPosition(const DialContext& c, double a, double delta, bool deflection) {
    const DialState& s = c.state;
    const double R = std::clamp(s.ringDiameter, 10.0, 300.0) / 2;
    const double theta = RingHoleAngle(s, delta);
    const double w = deflection ? RingDateOffset(c, delta) : 0.0;
    const auto h = RingProjectedAltitude(a, theta, w, R);
    if (!h) return std::nullopt;
    const double x = RingSpotArc(R, theta, *h);
    // Light that falls on the hole's own half reads nothing.
    if (x < 0) return std::nullopt;
    return x;
}

QString RingRefusal(const DialState& s) {
    if (std::abs(s.latitude) >= 89.9)
        return TextOf(TextId::RingAtPole, s.language);
    if (!(s.ringAngle > 0.0) || s.ringAngle > 90.0)
        return TextOf(TextId::RingHoleOutOfRange, s.language);
    return {};
}

RingCorrectionTable ComputeRingCorrectionTable(const DialContext& c) {
    const DialState& s = c.state;
    RingCorrectionTable table;
    const ClockHours h = HoursOf(s);
    for (int n = h.first; n <= h.last; ++n) table.hours.push_back(n);
    const bool single = s.wholeYearBand;
    const bool exact = !single && s.rayDeflection == 1;
    table.scale = single ? TextOf(TextId::RingSingleBand, c.language)
                  : exact ? TextOf(TextId::RingExactDateLines, c.language)
                          : TextOf(TextId::RingPlainDateLines, c.language);
    const double R = std::clamp(s.ringDiameter, 10.0, 300.0) / 2;
    for (int month = 1; month <= 12; ++month) {
        const int day = DayOfYear(s.referenceYear, month, 15);
        const double delta = SolarDeclinationEoT(s.referenceYear, day + 0.5).declination;
        std::vector<std::optional<double>> row;
        for (int n : table.hours) {
            const double t = HourAngleOfClock(s, h, n);
            const double a = Altitude(c.latitude, t, delta);
            std::optional<double> entry;
            const auto x = a > 0 ? RingSpotPosition(c, a, delta, true) : std::nullopt;
            if (x && *x <= kPi * R) {
                // The altitude the drawn scale reads at the true spot, and the time of that
                // altitude on the date the scale was drawn for.
                double readAltitude = a, readDeclination = delta;
                if (single) {
                    readAltitude = (*x / R / kRad - s.ringAngle) / 2;
                    readDeclination = 0.0;
                } else if (!exact) {
                    readAltitude = (*x / R / kRad - RingHoleAngle(s, delta)) / 2;
                }
                const auto readT = HourAngleOfAltitude(c.latitude, readAltitude, readDeclination);
                if (readT) {
                    const double trueT = std::abs(t);
                    // Minutes to add to the reading: before noon a later reading is too late.
                    const double sign = t < 0 ? -1.0 : 1.0;
                    entry = sign * (trueT - *readT) * 4.0;
                    if (exact) entry = 0.0;
                }
            }
            row.push_back(entry);
        }
        table.minutes.push_back(row);
    }
    return table;
}

namespace {

DialResult DrawRingCorrectionTable(const DialContext& c, const DialRequest& r, DialPainter& p, UserDialogs& d) {
    const DialState& s = c.state;
    DialResult result;
    const AltitudeDialArea a = AreaOfRequest(r);
    const QString refusal = RingRefusal(s);
    if (!refusal.isEmpty()) {
        d.inform(caption(CaptionKind::Warning, s.language), refusal, Icon::Warning);
        return result;
    }
    const RingCorrectionTable table = ComputeRingCorrectionTable(c);
    const QString arial = QStringLiteral("Arial");
    const double columns = table.hours.size() + 1.5;
    double th = a.screen() ? std::clamp(a.W / columns / 4.2, 9.0, 18.0) : a.size(14, 36);
    p.setTextRole(kText);
    p.setFont(arial, 1.25 * th);
    double y = a.oy + 2 * th;
    const double x = a.ox + 2 * th;
    p.text(x, y, TextOf(TextId::RingCorrectionTitle, c.language));
    y += 1.8 * th;
    p.setFont(arial, th);
    p.text(x, y, TextOf(TextId::RingCorrectionRule, c.language) +
                     table.scale + TextOf(TextId::RingCorrectionDay, c.language));
    y += 2.2 * th;
    const double cell = 4.2 * th, first = x + 1.5 * cell;
    p.setPenRole(kFrame);
    for (size_t c = 0; c < table.hours.size(); ++c) {
        const QString head = QString::number(table.hours[c]) + QStringLiteral("h");
        p.text(first + c * cell + cell - p.textWidth(head) - 0.5 * th, y, head);
    }
    y += 1.5 * th;
    p.moveTo(x, y - 0.2 * th);
    p.lineTo(first + table.hours.size() * cell, y - 0.2 * th);
    for (int m = 0; m < 12; ++m) {
        p.text(x, y, DialMonthLabel(m + 1, c.language, p));
        for (size_t c = 0; c < table.hours.size(); ++c) {
            const auto& v = table.minutes[static_cast<size_t>(m)][c];
            const QString cellText = v ? RealToText(6, 1, *v + 0.0) : QStringLiteral("  -");
            p.text(first + c * cell + cell - p.textWidth(cellText) - 0.5 * th, y, cellText);
        }
        y += 1.4 * th;
    }
    result.drawn = true;
    result.zoomFactor = s.zoomFactor;
    return result;
}

bool WriteRingDialPlot(const DialContext& c, PlotStream& stream, UserDialogs& dialogs) {
    const DialState& s = c.state;
    if (const QString refusal = RingRefusal(s); !refusal.isEmpty()) {
        dialogs.inform(caption(CaptionKind::Warning, s.language), refusal, Icon::Warning);
        return false;
    }
    stream.writeShortHead(ShortHead::StandardCharacterSet);
    {
        PlotPainter painter(stream, c.lineWidth, -1);
        RingDial(c, PlotSheetArea(), painter, dialogs).run();
        DrawPlotShadow(c, PlotSheetRequest(), painter);
        painter.flush();
    }
    stream.writeEnd(PlotEnd::PenAway);
    return true;
}

}  // namespace

bool RingLongerThanPrintArea(const DialState& s, double width) { return width < 5.0 * kPi * s.ringDiameter; }

constinit const DialConstruction kRingDial{.draw = DrawAltitudeDial<RingDial>,
                                           .writePlot = WriteRingDialPlot,
                                           .fixedResolution = true,
                                           .shadow = AltitudeDialShadow<RingDial>,
                                           .sheet = DrawRingCorrectionTable,
                                           .sheetButton = kCorrectionTableButton};

}  // namespace zorva
