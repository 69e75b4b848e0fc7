#include "dials/biazimuthal_dial.h"

#include "astro/angles.h"
#include "astro/solar_ephemeris.h"
#include "dials/altitude_dial_common.h"
#include "dials/dial_geometry.h"
#include "dials/dial_painter.h"
#include "dials/label_placer.h"
#include "dials/plot_painter.h"
#include "dials/sheet_plot.h"
#include "plot/plot_stream.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorva {
namespace {

constexpr double kRad = kExactDegToRad;
// Beyond this distance of the focus places the map of the sun's region grows without bound.
constexpr double kLongestDistanceDeg = 120.0;

enum Role { kFrame = 0, kDates = 1, kHours = 2, kText = 3, kAnalemma = 5, kFocus = 9 };

double Dot(const UnitVector& a, const UnitVector& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
UnitVector Cross(const UnitVector& a, const UnitVector& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
UnitVector Normalised(const UnitVector& v) {
    const double n = std::sqrt(Dot(v, v));
    if (n < 1e-15) return {0, 0, 1};
    return {v[0] / n, v[1] / n, v[2] / n};
}
UnitVector Combine(const UnitVector& a, double ka, const UnitVector& b, double kb) {
    return {ka * a[0] + kb * b[0], ka * a[1] + kb * b[1], ka * a[2] + kb * b[2]};
}

double Epsilon(const DialContext& c) {
    const double e = std::abs(c.zodiacDeclinations()[7]);
    return e > 1.0 ? e : 23.44;
}

class Biazimuthal {
public:
    Biazimuthal(const DialContext& c, const DialRequest& r, DialPainter& p)
        : c_(c), s_(c.state), r_(r), a_(AreaOfRequest(r)), p_(p),
          map_(BiazimuthalFocus(c.state, 1), BiazimuthalFocus(c.state, 2)) {}
    void run();
    // The shadow of the rod at focus 1 for the sun of `moment`: from the rod's foot towards the
    // image of the subsolar point, which is the reading.
    CastShadow castShadow(const ShadowMoment& moment);

private:
    void setUp();
    // A point of the earth on the drawing, when the sun standing over it can be read at one
    // of the two places.
    std::optional<QPointF> at(const UnitVector& p) const {
        bool usable = false;
        for (int k = 1; k <= 2; ++k) {
            const bool lit = Dot(p, map_.focus(k)) > 0.02;
            const bool up = !s_.biazimuthalVertical || Dot(p, BiazimuthalReference(s_, k)) > 0.02;
            usable = usable || (lit && up);
        }
        if (!usable) return std::nullopt;
        const auto q = map_.plate(p);
        if (!q) return std::nullopt;
        return toDrawing(*q);
    }
    QPointF toDrawing(const QPointF& q) const {
        const QPointF t = BiazimuthalTurn(q - f1_, turn_);
        return {x0_ + t.x() * k_, y0_ - t.y() * k_};
    }
    void drawHourLines();
    void drawDateLines();
    void drawAnalemma();
    void drawFoci();
    void drawLegend();
    void stroke(std::vector<QPointF>& run) {
        if (run.size() >= 2) p_.polyline(run);
        run.clear();
    }

    const DialContext& c_;
    const DialState& s_;
    DialRequest r_;
    AltitudeDialArea a_;
    DialPainter& p_;
    BiazimuthalMap map_;
    QPointF f1_;
    double turn_ = 0;
    double k_ = 1, u_ = 1, x0_ = 0, y0_ = 0, th_ = 12, eps_ = 23.44;
    LabelPlacer labels_{QRectF()};
    bool onArea(QPointF q) const { return labels_.sheet().contains(q); }
};

void Biazimuthal::setUp() {
    eps_ = Epsilon(c_);
    const double scaleMm = std::clamp(s_.drawingScale, 5, 1000);
    const PlateFrame frame = PlateFrameOf(a_, r_, s_.zoomFactor, QPointF(kSheetWidth / 2.0, 2.0 * kSheetHeight / 3.0));
    u_ = frame.unitsPerMm;
    x0_ = frame.x0;
    y0_ = frame.y0;
    k_ = scaleMm * u_;
    f1_ = *map_.plate(map_.focus(1), 90.0);
    turn_ = BiazimuthalDrawingTurn(map_, s_);
    th_ = a_.screen() ? 12.0 : a_.size(12, 30);
}

CastShadow Biazimuthal::castShadow(const ShadowMoment& moment) {
    setUp();
    CastShadow out = SunlitShadow(c_, moment, QRectF(a_.ox, a_.oy, a_.W - 2, a_.H - 2));
    if (out.status == ShadowStatus::SunDown) return out;
    // The plate reads apparent zone time: the subsolar point of the true sun.
    const UnitVector sun = SubsolarPoint(out.sun.declination, moment.zoneHour + out.sun.eot / 15, c_.zoneMeridian);
    if (Dot(sun, map_.focus(1)) <= 0.02) {
        out.status = ShadowStatus::PlaneNotLit;
        return out;
    }
    const auto q = map_.plate(sun);
    if (!q) {
        out.status = ShadowStatus::OffDial;
        return out;
    }
    out.status = ShadowStatus::Cast;
    out.nodus = toDrawing(*q);
    out.gnomon.push_back({QPointF(x0_, y0_), *out.nodus});
    return out;
}

void Biazimuthal::run() {
    setUp();
    labels_ = ClipToArea(p_, a_);
    const int width = c_.lineWidth;
    p_.setPenWidth(width);
    drawDateLines();
    drawHourLines();
    if (s_.markAnalemma) drawAnalemma();
    p_.setPenWidth(1);
    drawFoci();
    drawLegend();
    if (!a_.plot()) p_.resetWindow();
}

void Biazimuthal::drawHourLines() {
    p_.setPenRole(kHours);
    p_.setTextRole(kHours);
    p_.setFont(QStringLiteral("Arial"), th_);
    for (int hour = 0; hour < 24; ++hour) {
        // A meridian of the subsolar point: a straight line on the gnomonic map and on its
        // compression; sampled so that the unreadable parts drop out.
        std::vector<QPointF> run;
        std::optional<QPointF> labelAt;
        for (int i = 0; i <= 40; ++i) {
            const double delta = eps_ - 2 * eps_ * i / 40;
            const auto q = at(SubsolarPoint(delta, hour, c_.zoneMeridian));
            if (!q) {
                stroke(run);
                continue;
            }
            run.push_back(*q);
            if (!labelAt && onArea(*q)) labelAt = *q;
        }
        stroke(run);
        if (labelAt) {
            // Above the line's summer end; the lines converge where the plate is compressed.
            const QString text = QString::number(hour);
            const double w = p_.textWidth(text), h = p_.textHeight();
            labels_.write(p_, text,
                          {{labelAt->x() - w / 2, labelAt->y() - 1.3 * h},
                           {labelAt->x() - w / 2, labelAt->y() - 2.35 * h},
                           {labelAt->x() + 0.3 * h, labelAt->y() - 1.3 * h},
                           {labelAt->x() - w - 0.3 * h, labelAt->y() - 1.3 * h}});
        }
    }
}

void Biazimuthal::drawDateLines() {
    p_.setPenRole(kDates);
    p_.setTextRole(kDates);
    p_.setFont(QStringLiteral("Arial"), 0.85 * th_);
    for (int index : ZodiacDateLines(s_)) {
        const double delta = c_.zodiacDeclinations()[static_cast<size_t>(index)];
        std::vector<QPointF> run;
        std::optional<QPointF> labelAt;
        for (int i = 0; i <= 24 * 30; ++i) {
            const auto q = at(SubsolarPoint(delta, i / 30.0, c_.zoneMeridian));
            if (!q) {
                stroke(run);
                continue;
            }
            run.push_back(*q);
            if (onArea(*q) && (!labelAt || q->x() > labelAt->x())) labelAt = *q;
        }
        stroke(run);
        if (labelAt) {
            const double h = p_.textHeight();
            labels_.write(p_, SignEntryMonths(index, s_.language, p_),
                          {{labelAt->x() + 0.5 * th_, labelAt->y() - h / 2},
                           {labelAt->x() + 0.5 * th_, labelAt->y() - 1.55 * h},
                           {labelAt->x() + 0.5 * th_, labelAt->y() + 0.55 * h}});
        }
    }
}

void Biazimuthal::drawAnalemma() {
    // Mean zone time at the analemma hour: the day's equation of time moves the subsolar point.
    p_.setPenRole(kAnalemma);
    const double hour = std::clamp(s_.analemmaHour, 1, 23);
    std::vector<QPointF> run;
    for (int day = 1; day <= 367; day += 2) {
        const DeclinationEoT de = SolarDeclinationEoT(s_.referenceYear, std::min(day, 366) + hour / 24.0);
        const auto q = at(SubsolarPoint(de.declination, hour + de.eot / 15.0, c_.zoneMeridian));
        if (!q) {
            stroke(run);
            continue;
        }
        run.push_back(*q);
    }
    stroke(run);
}

void Biazimuthal::drawFoci() {
    p_.setFont(QStringLiteral("Arial"), th_);
    for (int k = 1; k <= 2; ++k) {
        const auto q = map_.plate(map_.focus(k), 90.0);
        if (!q) continue;
        const QPointF c = toDrawing(*q);
        const QPointF a = BiazimuthalTurn(map_.arrow(k, BiazimuthalReference(s_, k)), turn_);
        const double r = 1.5 * u_, len = 14 * u_;
        p_.setPenColour(colour::kRed, kFocus);
        p_.circle(c.x(), c.y(), r, FillStyle::None, 0);
        // The arrow: north on a horizontal plate, up on a wall (drawing y grows downward).
        const QPointF tip(c.x() + a.x() * len, c.y() - a.y() * len);
        const QPointF side(-a.y() * 2 * u_, -a.x() * 2 * u_);
        const QPointF back(c.x() + a.x() * (len - 3 * u_), c.y() - a.y() * (len - 3 * u_));
        p_.polyline({QPointF(c.x() + a.x() * r, c.y() - a.y() * r), tip});
        p_.polyline({back + side, tip, back - side});
        p_.setTextColour(colour::kRed, kFocus);
        const QString name = QString::number(k) + QStringLiteral(" ") +
                             (s_.biazimuthalVertical ? TextOf(TextId::Up, c_.language) : QStringLiteral("N"));
        // A focus beyond the area keeps its name off the sheet too.
        if (onArea(tip)) labels_.write(p_, name, {{tip.x() + 0.4 * th_, tip.y() - th_ / 2}, {tip.x() - 0.4 * th_ - p_.textWidth(name), tip.y() - th_ / 2}});
    }
}

void Biazimuthal::drawLegend() {
    const QString arial = QStringLiteral("Arial");
    const double x = a_.plot() ? 200 : r_.textX;
    double y = a_.plot() ? 250 : r_.textY;
    p_.setTextRole(kText);
    p_.setFont(arial, 1.3 * th_);
    p_.text(x, y, title(2, s_.language) + title(10, s_.language));
    y += 1.6 * p_.textHeight();
    p_.setFont(arial, 0.9 * th_);
    const QString deg = QStringLiteral(" °");
    auto place = [&](int k, double lat, double lon, double wall) {
        QString t = TextOf(TextId::PlaceWord, c_.language) + QString::number(k) + QStringLiteral(": ") + RealToText(6, 2, lat) + deg +
                    QStringLiteral(" / ") + RealToText(7, 2, lon) + deg;
        if (s_.biazimuthalVertical) t += TextOf(TextId::WallDeclinationIs, c_.language) + RealToText(6, 1, wall) + deg;
        return t;
    };
    p_.text(x, y, place(1, s_.latitude, s_.longitude, s_.wallDeclination));
    y += 1.3 * p_.textHeight();
    p_.text(x, y, place(2, s_.latitude2, s_.longitude2, s_.wallDeclination2));
    y += 1.3 * p_.textHeight();
    p_.text(x, y, TextOf(TextId::FocusDistanceIs, c_.language) +
                      RealToText(6, 2, map_.distanceDeg()) + deg + TextOf(TextId::ScaleIs, c_.language) +
                      QString::number(std::clamp(s_.drawingScale, 5, 1000)) + TextOf(TextId::MmRodIs, c_.language) +
                      RealToText(5, 1, s_.gnomonLength) + QStringLiteral(" mm"));
    y += 1.3 * p_.textHeight();
    p_.text(x, y,
            s_.biazimuthalVertical
                ? TextOf(TextId::BiazimuthalWallRod, c_.language)
                : TextOf(TextId::BiazimuthalUprightRod, c_.language));
}

}  // namespace

double BiazimuthalDrawingTurn(const BiazimuthalMap& map, const DialState& s) {
    const QPointF a = map.arrow(1, BiazimuthalReference(s, 1));
    return std::atan2(a.x(), a.y()) / kRad;
}

QPointF BiazimuthalTurn(const QPointF& v, double turnDeg) {
    const double c = CosDeg(turnDeg), sn = SinDeg(turnDeg);
    return {v.x() * c - v.y() * sn, v.x() * sn + v.y() * c};
}

UnitVector EarthPoint(double latitude, double longitudeWest) {
    const double east = -longitudeWest;
    return {CosDeg(latitude) * CosDeg(east), CosDeg(latitude) * SinDeg(east), SinDeg(latitude)};
}

UnitVector SubsolarPoint(double delta, double hour, double zoneMeridianWest) {
    const double gha = 15.0 * (hour - 12.0) + zoneMeridianWest;
    return EarthPoint(delta, gha);
}

BiazimuthalMap::BiazimuthalMap(const UnitVector& f1, const UnitVector& f2) : f1_(f1), f2_(f2) {
    m_ = Normalised(Combine(f1, 1, f2, 1));
    const double c = std::clamp(Dot(f1, f2), -1.0, 1.0);
    distance_ = std::acos(c) / kRad;
    UnitVector along = Combine(f2, 1, m_, -Dot(f2, m_));
    if (std::sqrt(Dot(along, along)) < 1e-9) {
        // One place: the line of the foci is undefined; east serves.
        along = Cross({0, 0, 1}, m_);
        if (std::sqrt(Dot(along, along)) < 1e-9) along = {1, 0, 0};
    }
    ex_ = Normalised(along);
    ey_ = Cross(m_, ex_);
    squeeze_ = std::clamp(Dot(f1, m_), 1e-6, 1.0);
}

std::optional<QPointF> BiazimuthalMap::plate(const UnitVector& p, double limitDeg) const {
    const double c = Dot(p, m_);
    if (!(c > std::cos(std::min(limitDeg, 89.9) * kRad) - 1e-12)) return std::nullopt;
    // The gnomonic map, compressed along the focus line, turned through 180 degrees.
    return QPointF(-squeeze_ * Dot(p, ex_) / c, -Dot(p, ey_) / c);
}

QPointF BiazimuthalMap::arrow(int k, const UnitVector& towards) const {
    const UnitVector& f = focus(k);
    UnitVector dir = Combine(towards, 1, f, -Dot(towards, f));
    if (std::sqrt(Dot(dir, dir)) < 1e-12) return {0, 1};
    dir = Normalised(dir);
    const auto a = plate(f, 90.0), b = plate(Normalised(Combine(f, 1, dir, 1e-5)), 90.0);
    if (!a || !b) return {0, 1};
    // The plate is the map turned through 180 degrees: the reference direction heads away
    // from the image of the nearby point.
    const double dx = a->x() - b->x(), dy = a->y() - b->y();
    const double n = std::hypot(dx, dy);
    if (n < 1e-15) return {0, 1};
    return {dx / n, dy / n};
}

UnitVector BiazimuthalFocus(const DialState& s, int k) {
    const double lat = k == 1 ? s.latitude : s.latitude2, lon = k == 1 ? s.longitude : s.longitude2;
    const UnitVector up = EarthPoint(lat, lon);
    if (!s.biazimuthalVertical) return up;
    // The wall's normal points to azimuth D (from south, west positive); the place whose zenith
    // it is lies a quarter circle away in that direction.
    const double D = k == 1 ? s.wallDeclination : s.wallDeclination2;
    const double east = -lon;
    const UnitVector E{-SinDeg(east), CosDeg(east), 0};
    const UnitVector N = Cross(up, E);
    return Normalised(Combine(N, -CosDeg(D), E, -SinDeg(D)));
}

UnitVector BiazimuthalReference(const DialState& s, int k) {
    if (!s.biazimuthalVertical) return {0, 0, 1};
    return EarthPoint(k == 1 ? s.latitude : s.latitude2, k == 1 ? s.longitude : s.longitude2);
}

QString BiazimuthalRefusal(const DialState& s) {
    const Language lang = s.language;
    if (std::abs(s.latitude) >= 89.9 || std::abs(s.latitude2) >= 89.9)
        return TextOf(TextId::BiazimuthalAtPole, lang);
    const UnitVector f1 = BiazimuthalFocus(s, 1), f2 = BiazimuthalFocus(s, 2);
    if (std::acos(std::clamp(Dot(f1, f2), -1.0, 1.0)) / kRad > kLongestDistanceDeg)
        return message(65, s.language) + QStringLiteral("\r\n") + message(66, s.language);
    return {};
}

namespace {

DialResult DrawBiazimuthalDial(const DialContext& c, const DialRequest& r, DialPainter& p, UserDialogs& d) {
    const DialState& s = c.state;
    DialResult result;
    result.zoomFactor = s.zoomFactor;
    result.gnomonMm = s.gnomonLength;
    if (ShowRefusal(BiazimuthalRefusal(s), p, AreaOfRequest(r), c.language, d, kHours)) return result;
    if (BiazimuthalMap(BiazimuthalFocus(s, 1), BiazimuthalFocus(s, 2)).distanceDeg() < 0.01)
        d.inform(caption(CaptionKind::Information, c.language), TextOf(TextId::BiazimuthalOnePlace, c.language),
                 Icon::Information);
    Biazimuthal(c, r, p).run();
    result.drawn = true;
    return result;
}

CastShadow BiazimuthalShadowOnDial(const DialContext& c, const DialRequest& r, const ShadowMoment& moment,
                                   DialPainter& measure) {
    if (!BiazimuthalRefusal(c.state).isEmpty()) return {};
    return Biazimuthal(c, r, measure).castShadow(moment);
}

bool WriteBiazimuthalPlot(const DialContext& c, PlotStream& stream, UserDialogs& dialogs) {
    return WriteSheetPlot(c, stream, dialogs, BiazimuthalRefusal(c.state), PlotEnd::WindowReset,
                          [&](auto& r, auto& painter) { Biazimuthal(c, r, painter).run(); });
}

}  // namespace

constinit const DialConstruction kBiazimuthalDial{
    .draw = DrawBiazimuthalDial, .writePlot = WriteBiazimuthalPlot, .shadow = BiazimuthalShadowOnDial};

}  // namespace zorva
