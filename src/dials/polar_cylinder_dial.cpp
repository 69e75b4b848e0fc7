#include "dials/polar_cylinder_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "dials/altitude_dial_common.h"
#include "dials/date_lines.h"
#include "dials/dial_geometry.h"
#include "dials/dial_painter.h"
#include "dials/label_placer.h"
#include "dials/plot_painter.h"
#include "dials/sheet_plot.h"
#include "plot/plot_stream.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/recording_dialogs.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorva {
namespace {

constexpr double kRad = kExactDegToRad;

enum Role { kFrame = 0, kDates = 1, kHours = 2, kText = 3, kSubdivision = 4, kMeanTime = 5 };

double Altitude(double latitude, double t, double delta) {
    const double v = SinDeg(latitude) * SinDeg(delta) + CosDeg(latitude) * CosDeg(delta) * CosDeg(t);
    return AsinDeg(std::clamp(v, -1.0, 1.0));
}

double Radius(const DialState& s) { return std::clamp(s.cylinderRadius, 4.0, 500.0); }

class PolarCylinder {
public:
    PolarCylinder(const DialContext& c, const DialRequest& r, DialPainter& p, UserDialogs& d)
        : c_(c), s_(c.state), r_(r), a_(AreaOfRequest(r)), p_(p), d_(d) {}
    bool run();
    // The style's shadow (a generator over the band of the year) and the nodus point.
    CastShadow castShadow(const ShadowMoment& moment);

private:
    void setUp();
    QPointF at(const CylinderShadow& c) const { return {x0_ + c.uMm * u_, y0_ - c.vMm * u_}; }
    double hourAngle(double hour) const {
        double t = 15.0 * (hour - 12.0);
        if (c_.timeSystem == TimeSystem::Zone) t -= c_.longitude - c_.zoneMeridian;
        return t;
    }
    std::optional<CylinderShadow> shadow(double t, double delta) const {
        if (Altitude(c_.latitude, t, delta) <= 0) return std::nullopt;
        return PolarCylinderShadow(R_, style_, t, delta, c_.latitude);
    }
    void stroke(std::vector<QPointF>& run) {
        for (const QPointF& q : run) grow(q);
        if (run.size() >= 2) p_.polyline(run);
        run.clear();
    }
    void grow(const QPointF& q) {
        left_ = std::min(left_, q.x());
        right_ = std::max(right_, q.x());
        top_ = std::min(top_, q.y());
        bottom_ = std::max(bottom_, q.y());
    }
    void drawHourLines();
    void drawDateLines();
    void drawOutline();
    void drawSection();
    void drawLegend();

    const DialContext& c_;
    const DialState& s_;
    DialRequest r_;
    AltitudeDialArea a_;
    DialPainter& p_;
    UserDialogs& d_;
    double R_ = 250, eps_ = 23.44;
    PolarStyle style_;
    double u_ = 10, x0_ = 0, y0_ = 0, th_ = 30;
    double left_ = 1e300, right_ = -1e300, top_ = 1e300, bottom_ = -1e300;
    LabelPlacer labels_{QRectF()};
    bool onArea(QPointF q) const { return labels_.sheet().contains(q); }
};

void PolarCylinder::setUp() {
    R_ = Radius(s_);
    style_ = PolarStyleOf(s_);
    eps_ = std::abs(c_.zodiacDeclinations()[7]) > 1 ? std::abs(c_.zodiacDeclinations()[7]) : 23.44;
    const PlateFrame frame = PlateFrameOf(a_, r_, s_.zoomFactor, QPointF(kSheetWidth / 2.0, kSheetHeight / 2.0));
    u_ = frame.unitsPerMm;
    x0_ = frame.x0;
    y0_ = frame.y0;
    th_ = a_.screen() ? 13.0 : a_.size(13, 32);
}

CastShadow PolarCylinder::castShadow(const ShadowMoment& moment) {
    if (!PolarCylinderRefusal(s_).isEmpty()) return {};
    setUp();
    CastShadow out = SunlitShadow(c_, moment, QRectF(a_.ox, a_.oy, a_.W - 2, a_.H - 2));
    if (out.status == ShadowStatus::SunDown) return out;
    const auto c = PolarCylinderShadow(R_, style_, out.sun.hourAngle, out.sun.declination, c_.latitude);
    if (!c) {
        out.status = ShadowStatus::PlaneNotLit;
        return out;
    }
    out.status = ShadowStatus::Cast;
    out.nodus = at(*c);
    // The style is parallel to the axis: its shadow runs along the generator, across the
    // year's band of date lines.
    CylinderShadow top = *c, bottom = *c;
    top.vMm = -c->kMm * TanDeg(-eps_);
    bottom.vMm = -c->kMm * TanDeg(eps_);
    out.gnomon.push_back({at(top), at(bottom)});
    return out;
}

bool PolarCylinder::run() {
    if (ShowRefusal(PolarCylinderRefusal(s_), p_, a_, c_.language, d_, kHours)) return false;
    setUp();
    labels_ = ClipToArea(p_, a_);
    const int width = c_.lineWidth;
    p_.setPenWidth(width);
    drawHourLines();
    p_.setPenWidth(width);
    drawDateLines();
    p_.setPenWidth(1);
    drawOutline();
    drawSection();
    drawLegend();
    p_.resetWindow();
    return true;
}

void PolarCylinder::drawHourLines() {
    const int first = std::clamp(s_.otherHourFrom, 0, 24), last = std::clamp(s_.otherHourTo, 0, 24);
    const int k = std::clamp(c_.otherLinesPerHour, 1, 6);
    const bool eot = s_.cylinderWithEoT;
    p_.setFont(QStringLiteral("Arial"), th_);
    for (int n = first; n <= last; ++n) {
        for (int j = 0; j < k; ++j) {
            const double hour = n + static_cast<double>(j) / k;
            if (hour > last + 1e-9) break;
            p_.setPenRole(j == 0 ? (eot ? kMeanTime : kHours) : kSubdivision);
            std::vector<QPointF> run;
            std::optional<QPointF> highest;
            if (!eot) {
                // A straight generator: sampled over the declinations, cut where the sun is down.
                for (int i = 0; i <= 40; ++i) {
                    const double delta = -eps_ + 2 * eps_ * i / 40;
                    const auto c = shadow(hourAngle(hour), delta);
                    if (!c) {
                        stroke(run);
                        continue;
                    }
                    run.push_back(at(*c));
                    if (onArea(run.back()) && (!highest || run.back().y() < highest->y())) highest = run.back();
                }
            } else {
                // Mean time: the day's equation of time turns the line into a figure of eight.
                for (int day = 1; day <= 366; day += 3) {
                    const DeclinationEoT de = SolarDeclinationEoT(s_.referenceYear, day + hour / 24.0);
                    const auto c = shadow(hourAngle(hour) + de.eot, de.declination);
                    if (!c) {
                        stroke(run);
                        continue;
                    }
                    run.push_back(at(*c));
                    if (onArea(run.back()) && (!highest || run.back().y() < highest->y())) highest = run.back();
                }
            }
            stroke(run);
            if (j == 0 && highest) {
                p_.setTextRole(kHours);
                // Above the line's top end; where the rim style crowds the lines, a row higher.
                const QString text = QString::number(n);
                const double w = p_.textWidth(text), h = p_.textHeight();
                std::vector<QPointF> places;
                for (int row = 0; row < 4; ++row)
                    places.push_back({highest->x() - w / 2, highest->y() - (1.4 + 1.05 * row) * h});
                labels_.write(p_, text, places);
            }
        }
    }
}

void PolarCylinder::drawDateLines() {
    const int first = std::clamp(s_.otherHourFrom, 0, 24), last = std::clamp(s_.otherHourTo, 0, 24);
    if (first >= last) return;
    const std::vector<DateLine> lines = BuildDateLineTable(s_, &d_);
    p_.setPenRole(kDates);
    p_.setTextRole(kDates);
    p_.setFont(QStringLiteral("Arial"), 0.85 * th_);
    const double t0 = hourAngle(first), t1 = hourAngle(last);
    for (const DateLine& line : lines) {
        const double delta = line.fixedDeclination
                                 ? line.declination
                                 : SolarDeclinationEoT(s_.referenceYear, line.dayOfYear + 0.5).declination;
        std::vector<QPointF> run;
        std::optional<QPointF> start;
        for (int i = 0; i <= 120; ++i) {
            const auto c = shadow(t0 + (t1 - t0) * i / 120, delta);
            if (!c) {
                stroke(run);
                continue;
            }
            run.push_back(at(*c));
            if (!start && onArea(run.back())) start = run.back();
        }
        stroke(run);
        if (start && !line.label.isEmpty()) {
            // Left of the line's start, else right of it or just above.
            const double w = p_.textWidth(line.label), h = p_.textHeight();
            labels_.write(p_, line.label,
                          {{start->x() - w - 0.4 * th_, start->y() - h / 2}, {start->x() + 0.4 * th_, start->y() - h / 2},
                           {start->x() - w / 2, start->y() - 1.3 * h}});
        }
    }
}

void PolarCylinder::drawOutline() {
    if (!(left_ < right_)) return;
    // The piece of the cylinder the lines need, with a margin: the pattern to cut.
    const double m = 5 * u_;
    p_.setPenRole(kFrame);
    p_.rectangle(left_ - m, top_ - 3 * th_, right_ + m, bottom_ + m);
    // Where the nodus shadow falls at the equinox noon: the origin the user placed.
    p_.moveTo(x0_ - 2 * u_, y0_);
    p_.lineTo(x0_ + 2 * u_, y0_);
    p_.moveTo(x0_, y0_ - 2 * u_);
    p_.lineTo(x0_, y0_ + 2 * u_);
    const bool cut = left_ - m < a_.ox || right_ + m > a_.ox + a_.W || top_ - 3 * th_ < a_.oy ||
                     bottom_ + m > a_.oy + a_.H;
    if (cut) {
        p_.setFont(QStringLiteral("Arial"), th_);
        p_.setTextColour(colour::kRed, kHours);
        p_.text(a_.ox + 2 * th_, a_.oy + a_.H - 2.5 * th_,
                TextOf(TextId::PolarCylinderCut, c_.language));
    }
}

void PolarCylinder::drawSection() {
    // The equatorial section at a small scale: the circle, the axis and the style, so the
    // maker sees where the style goes (the top of the sketch faces the noon sun).
    const double r = 10 * (a_.screen() ? std::max(2.0, u_ / std::max(s_.zoomFactor, 1e-3)) : u_ / 2.5);
    const double cx = a_.ox + a_.W - 2.5 * r, cy = a_.oy + 2.2 * r;
    p_.setPenRole(kFrame);
    p_.circle(cx, cy, r, FillStyle::None, 0);
    p_.circle(cx, cy, 0.06 * r, FillStyle::None, 0);
    const double f = style_.offsetMm / R_;
    const double sign = c_.latitude < 0 ? -1.0 : 1.0;
    // Seen from above the elevated end with the noon sun at the top: the sky turns clockwise
    // in the north, so west lies right there and left in the south.
    const double sx = cx + sign * f * r * SinDeg(style_.directionDeg), sy = cy - f * r * CosDeg(style_.directionDeg);
    p_.setPenRole(kHours);
    p_.circle(sx, sy, 0.1 * r, FillStyle::Solid, 0xFF0000);
    p_.setTextRole(kText);
    p_.setFont(QStringLiteral("Arial"), 0.8 * th_);
    const QString noon = TextOf(TextId::NoonSun, c_.language);
    p_.text(cx - p_.textWidth(noon) / 2, cy - r - 1.3 * p_.textHeight(), noon);
}

void PolarCylinder::drawLegend() {
    const QString arial = QStringLiteral("Arial");
    const double x = a_.plot() ? a_.ox + 200 : r_.textX;
    double y = a_.plot() ? a_.oy + 300 : r_.textY;
    p_.setTextRole(kText);
    p_.setFont(arial, 1.3 * th_);
    p_.text(x, y, TextOf(TextId::PolarCylinderTitle, c_.language));
    y += 1.6 * p_.textHeight();
    p_.setFont(arial, 0.9 * th_);
    static constexpr TextId kStyle[] = {TextId::StyleOnAxis, TextId::StyleOffsetBy, TextId::StyleOnRim};
    const int kind = std::clamp(s_.cylinderHourStyle, 0, 2);
    QString styleText = TextOf(kStyle[kind], c_.language);
    if (kind == 1) styleText += RealToText(5, 1, style_.offsetMm) + QStringLiteral(" mm");
    if (kind != 0) styleText += TextOf(TextId::DirectionIs, c_.language) + RealToText(6, 1, s_.wallDeclination) + QStringLiteral(" °");
    p_.text(x, y,
            TextOf(TextId::LatitudeIs, c_.language) + RealToText(6, 2, s_.latitude) + QStringLiteral(" °, ") +
                TextOf(TextId::RadiusIs, c_.language) + RealToText(5, 1, R_) + QStringLiteral(" mm, ") + styleText);
    y += 1.3 * p_.textHeight();
    QString time = c_.timeSystem == TimeSystem::Zone ? TextOf(TextId::ZoneMeridianApparentTime, c_.language)
                                      : TextOf(TextId::LocalApparentTime, c_.language);
    if (s_.cylinderWithEoT) time += TextOf(TextId::WithEotMeanTime, c_.language);
    p_.text(x, y, time);
}

}  // namespace

PolarStyle PolarStyleOf(const DialState& s) {
    PolarStyle st;
    const double R = Radius(s);
    const int kind = std::clamp(s.cylinderHourStyle, 0, 2);
    st.offsetMm = kind == 0 ? 0.0 : kind == 1 ? std::min(std::max(s.cylinderGnomon, 0.0), R) : R;
    st.directionDeg = kind == 0 ? 0.0 : s.wallDeclination;
    return st;
}

std::optional<CylinderShadow> PolarCylinderShadow(double R, const PolarStyle& style, double t, double delta,
                                                  double latitude) {
    // South of the equator the elevated pole is the south pole: seen from it the sky turns
    // the other way, so hour angles, declinations and the style's direction change sign.
    const double s = latitude < 0 ? -1.0 : 1.0;
    const double tc = s * t, dc = s * delta, sigma = s * style.directionDeg;
    const double ux = -CosDeg(tc), uy = -SinDeg(tc);
    const double Sx = style.offsetMm * CosDeg(sigma), Sy = style.offsetMm * SinDeg(sigma);
    const double Su = Sx * ux + Sy * uy;
    const double disc = Su * Su - style.offsetMm * style.offsetMm + R * R;
    if (disc < 0) return std::nullopt;
    const double k = -Su + std::sqrt(disc);
    if (!(k > 1e-9 * R)) return std::nullopt;
    const double Px = Sx + k * ux, Py = Sy + k * uy;
    CylinderShadow c;
    c.kMm = k;
    c.generatorDeg = std::atan2(-Py, -Px) / kRad;
    // Seen from the axis with the elevated pole up, the mirrored angles already put west on
    // the left in the north and on the right in the south.
    c.uMm = R * c.generatorDeg * kRad;
    c.vMm = -k * TanDeg(dc);
    return c;
}

QString PolarCylinderRefusal(const DialState& s) {
    const Language lang = s.language;
    if (!(s.cylinderRadius >= 4.0 && s.cylinderRadius <= 500.0))
        return TextOf(TextId::CylinderRadiusRange, lang);
    if (s.cylinderHourStyle == 1 && !(s.cylinderGnomon <= s.cylinderRadius))
        return TextOf(TextId::OffsetStyleOutside, lang);
    return {};
}

namespace {

DialResult DrawPolarCylinderDial(const DialContext& c, const DialRequest& r, DialPainter& p, UserDialogs& d) {
    DialResult result;
    result.zoomFactor = c.state.zoomFactor;
    result.gnomonMm = c.state.cylinderGnomon;
    result.drawn = PolarCylinder(c, r, p, d).run();
    return result;
}

CastShadow PolarCylinderShadowOnDial(const DialContext& c, const DialRequest& r, const ShadowMoment& moment,
                                     DialPainter& measure) {
    RecordingDialogs quiet;
    return PolarCylinder(c, r, measure, quiet).castShadow(moment);
}

bool WritePolarCylinderPlot(const DialContext& c, PlotStream& stream, UserDialogs& dialogs) {
    return WriteSheetPlot(c, stream, dialogs, PolarCylinderRefusal(c.state), PlotEnd::Initialise,
                          [&](auto& r, auto& painter) { PolarCylinder(c, r, painter, dialogs).run(); });
}

}  // namespace

constinit const DialConstruction kPolarCylinderDial{
    .draw = DrawPolarCylinderDial, .writePlot = WritePolarCylinderPlot, .shadow = PolarCylinderShadowOnDial};

}  // namespace zorva
