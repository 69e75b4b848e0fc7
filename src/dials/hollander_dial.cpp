#include "dials/hollander_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "dials/canvas_painter.h"
#include "dials/dial_geometry.h"
#include "dials/dial_painter.h"
#include "dials/label_placer.h"
#include "dials/plot_painter.h"
#include "plot/plot_stream.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/recording_dialogs.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>

namespace zorva {
namespace {

// Colour roles of this dial.
enum Role {
    kLegend = 0,
    kSubdivision = 1,
    kHours = 2,
    kCone = 3,
    kSignDates = 5,
    kOtherDates = 6,
    kApexFoot = 8,
};

// "21.6." of a day of the year.
QString DayDotMonth(int year, int dayOfYear) {
    int month = 1;
    for (int m = 2; m <= 12; ++m)
        if (dayOfYear >= DayOfYear(year, m, 1)) month = m;
    const int day = dayOfYear - DayOfYear(year, month, 1) + 1;
    return QString::number(day) + QLatin1Char('.') + QString::number(month) + QLatin1Char('.');
}

using DateLineReport = ConeShadowReport::SignLine;

// The index of the counted point of smallest elliptical radius; -1 when none is counted.
int NearestCounted(const std::vector<HollanderPoint>& points) {
    int nearest = -1;
    double radius = 1e300;
    for (size_t i = 0; i < points.size(); ++i) {
        if (points[i].counted && points[i].radius < radius) {
            radius = points[i].radius;
            nearest = static_cast<int>(i);
        }
    }
    return nearest;
}

struct Frame {
    DrawTarget target = DrawTarget::Screen;
    double ox = 0, oy = 0, w = 0, h = 0;  // drawing area
    double x0 = 0, y0 = 0;                // ellipse centre
    double textX = 0, textY = 0;
    double unitsPerMm = 1;
    bool grid = false;
};

class HollanderConstruction {
public:
    // `p` may be null for a construction that only reports.
    HollanderConstruction(const DialState& s, const Frame& f, double gnomonMm, DialPainter* p)
        : s_(s), f_(f), p_(p), gz_(gnomonMm) {}

    // False when the angles form no cone on the plane (nothing drawn).
    bool prepare(UserDialogs& dialogs);
    void draw();
    // The cone's shadow at a moment: the two edges from the tangent points on the base to the
    // apex' shadow, and the dial point the day's edge marks on the day's date line.
    CastShadow castShadow(const DialContext& c, const ShadowMoment& moment);

    const std::vector<DayPair>& pairs() const { return pairs_; }
    // The pairs of the sign date lines, from the June to the December solstice.
    std::vector<int> signLinePairs() const;
    // The date line nearest to the cone along the middle hour line; -1 when there is none.
    int nearestPairOfMiddleHour();
    // How near the date line comes to the cone's base.
    DateLineReport reportDateLine(size_t pair);
    // Lowest and highest row (y down, from the ellipse centre) the whole-hour lines reach
    // within `halfWidth` of the meridian; none when no hour line is traced.
    std::optional<std::pair<double, double>> hourLineRows(double halfWidth);

private:
    bool plot() const { return f_.target == DrawTarget::Plot; }
    bool screen() const { return f_.target == DrawTarget::Screen; }
    double mm(double v) const { return v * f_.unitsPerMm; }
    QPointF toDrawing(QPointF p) const { return {f_.x0 + p.x(), f_.y0 + p.y()}; }
    // A point of the cone's frame (x east, y north of the plane) on the drawing.
    QPointF planePoint(double x, double y) const {
        double X = x, Y = -y;
        if (std::abs(plane_.rotation) > 0.0001) {
            const double c = CosDeg(plane_.rotation), sn = SinDeg(plane_.rotation);
            const double X2 = X * c + Y * sn;
            Y = -X * sn + Y * c;
            X = X2;
        }
        return {f_.x0 + X, f_.y0 + Y};
    }
    double timeShift() const {
        double shift = plane_.deltaLambda / 15.0;
        if (s_.timeSystem == 1) shift += (s_.longitude - s_.zoneMeridian) / 15.0;
        return shift;
    }
    // Point of the pair chosen last with usePair.
    HollanderPoint point(double T) const {
        HollanderPoint hp = tracer_->at(T);
        hp.at = toDrawing(hp.at);
        return hp;
    }
    void usePair(size_t pair) { tracer_->setPair(pairs_[pair]); }
    bool nearOrigin(QPointF p) const { return std::abs(p.x() - f_.x0) < 2 * f_.w && std::abs(p.y() - f_.y0) < 2 * f_.h; }
    // Lines stop at the legend, which is written over the drawing's top.
    bool underLegend(QPointF p) const { return legendBox_.contains(p); }
    QRectF measureLegend();
    // A stroke from the pen's place `from`; the part under the legend is left out.
    void lineTo(QPointF to, QPointF from);
    // Joins successive counted points; anything else breaks the line.
    void drawCounted(const std::vector<HollanderPoint>& points);

    void drawGrid();
    void drawLegend();
    void drawCone();
    std::vector<HollanderPoint> dateLinePoints(size_t pair);
    DateLineReport reportOf(size_t pair, const std::vector<HollanderPoint>& points) const;
    void drawDateLine(size_t pair, bool labelled);
    void drawDateLines();
    void drawHourLines();
    void drawHourNumbers();

    const DialState& s_;
    Frame f_;
    DialPainter* p_;
    double gz_;
    int nearestPair_ = -1;
    int lineWidth_ = 1;
    HollanderPlane plane_;
    ConeEllipse cone_;
    std::vector<DayPair> pairs_;
    std::vector<double> drawnSignDeclinations_;
    QRectF legendBox_;  // empty on a plot, which has its own title block
    // Date labels and hour numbers: on the drawing, off the legend, each other and the lines.
    LabelPlacer labels_{QRectF()};
    std::unique_ptr<HollanderTracer> tracer_;
};

bool HollanderConstruction::prepare(UserDialogs& dialogs) {
    if (RefuseConeAngles(s_, dialogs)) return false;
    const auto cone = ConeEllipseFor(mm(gz_), s_.coneHalfAngle, s_.coneAxisInclination);
    if (!cone) return false;
    cone_ = *cone;
    plane_ = HollanderPlaneOf(s_);
    pairs_ = PairDaysOfYear(s_.referenceYear);
    lineWidth_ = LineWidthOf(s_);
    tracer_ = std::make_unique<HollanderTracer>(s_, plane_, cone_);
    return !pairs_.empty();
}

void HollanderConstruction::draw() {
    p_->setWindow(f_.ox, f_.oy, f_.ox + f_.w, f_.oy + f_.h);
    labels_ = LabelPlacer(QRectF(f_.ox, f_.oy, f_.w, f_.h));
    if (!plot()) {
        legendBox_ = measureLegend();
        labels_.avoidBox(legendBox_);
    }
    if (f_.grid) drawGrid();
    drawCone();
    nearestPair_ = nearestPairOfMiddleHour();
    drawHourLines();
    drawDateLines();
    drawHourNumbers();
    if (!plot()) drawLegend();
    p_->setPenWidth(1);
    p_->setLineStyle(LineStyle::Solid);
    p_->resetWindow();
}

CastShadow HollanderConstruction::castShadow(const DialContext& c, const ShadowMoment& moment) {
    CastShadow out = SunlitShadow(c, moment, QRectF(f_.ox, f_.oy, f_.w, f_.h));
    if (out.status == ShadowStatus::SunDown) return out;
    // The equivalent horizontal plane: the site's hour angle less the longitude difference.
    const double t = out.sun.hourAngle - plane_.deltaLambda, delta = out.sun.declination;
    const ApexShadow apex = ApexShadowAt(cone_, plane_.latitude, t, delta);
    if (apex.Y <= 0) {
        out.status = ShadowStatus::PlaneNotLit;
        return out;
    }
    const auto upper = ShadowEdgeFrom(cone_, apex.at, true), lower = ShadowEdgeFrom(cone_, apex.at, false);
    // The apex' shadow on the cone's base: no edge to read.
    if (!upper || !lower || cone_.ellipticRadius(apex.at.x(), apex.at.y()) <= 1.0) return out;
    out.status = ShadowStatus::Cast;
    const double a2 = cone_.a * cone_.a, b2 = cone_.b * cone_.b;
    for (const ShadowEdge& e : {*upper, *lower}) {
        // The tangent's double root on the base ellipse.
        const double x = -(e.k * e.q / b2) / (1 / a2 + e.k * e.k / b2);
        out.gnomon.push_back({planePoint(x, e.k * x + e.q), planePoint(apex.at.x(), apex.at.y())});
    }
    // The dial point of the day's pair at the moment's mean time of the plane.
    const int day = moment.dayOfYear();
    for (size_t i = 0; i < pairs_.size(); ++i) {
        const DayPair& pair = pairs_[i];
        if (pair.dayA != day && pair.dayB != day) continue;
        usePair(i);
        const double eot = pair.dayA == day ? pair.eotA : pair.eotB;
        const HollanderPoint hp = point(12 + (t - eot) / 15);
        // As the lines: a point far beyond the drawing or under the legend is not drawn.
        if (!plot() && legendBox_.isEmpty()) legendBox_ = measureLegend();
        if (hp.counted && nearOrigin(hp.at) && !underLegend(hp.at)) out.nodus = hp.at;
        break;
    }
    return out;
}

void HollanderConstruction::drawCounted(const std::vector<HollanderPoint>& points) {
    // Steps shorter than this are merged: the curves are smooth, and a dense run of tiny
    // strokes only costs drawing time (0.2 mm on paper and in the plot, 2 pixels on screen).
    const double minStep = screen() ? 2.0 : mm(0.2);
    bool open = false;
    bool pending = false;  // `last` is not drawn yet
    QPointF drawn, last;
    auto finish = [&] {
        if (pending) lineTo(last, drawn);
        pending = false;
    };
    for (const HollanderPoint& hp : points) {
        if (!hp.counted || !nearOrigin(hp.at) || underLegend(hp.at)) {
            finish();
            open = false;
            continue;
        }
        // A jump longer than the drawing is a line running off to infinity and back.
        if (open && std::abs(hp.at.x() - last.x()) <= f_.w && std::abs(hp.at.y() - last.y()) <= f_.h) {
            if (std::hypot(hp.at.x() - drawn.x(), hp.at.y() - drawn.y()) >= minStep) {
                lineTo(hp.at, drawn);
                drawn = hp.at;
                pending = false;
            } else {
                pending = true;
            }
        } else {
            finish();
            p_->moveTo(hp.at.x(), hp.at.y());
            drawn = hp.at;
            pending = false;
        }
        last = hp.at;
        open = true;
    }
    finish();
}

void HollanderConstruction::lineTo(QPointF to, QPointF from) {
    QPointF in0 = from, in1 = to;
    if (legendBox_.isEmpty() || !ClipSegment(in0, in1, legendBox_)) {
        p_->lineTo(to.x(), to.y());
        labels_.avoidLine(QLineF(from, to));
        return;
    }
    // The pieces before and after the legend, in the stroke's direction.
    const QPointF d = to - from;
    const double len2 = QPointF::dotProduct(d, d);
    auto param = [&](QPointF q) { return len2 > 0 ? QPointF::dotProduct(q - from, d) / len2 : 0.0; };
    double t0 = param(in0), t1 = param(in1);
    if (t0 > t1) std::swap(t0, t1);
    if (t0 > 1e-9) {
        const QPointF a = from + t0 * d;
        p_->lineTo(a.x(), a.y());
        labels_.avoidLine(QLineF(from, a));
    }
    const QPointF b = from + t1 * d;
    p_->moveTo(b.x(), b.y());
    if (t1 < 1 - 1e-9) {
        p_->lineTo(to.x(), to.y());
        labels_.avoidLine(QLineF(b, to));
    }
}

void HollanderConstruction::drawGrid() {
    p_->setPenRole(kApexFoot);
    p_->setPenWidth(1);
    const double step = mm(10);  // one line every centimetre
    if (!(step >= 2)) return;
    for (double x = f_.x0 - std::floor((f_.x0 - f_.ox) / step) * step; x <= f_.ox + f_.w; x += step) {
        p_->moveTo(x, f_.oy);
        p_->lineTo(x, f_.oy + f_.h);
    }
    for (double y = f_.y0 - std::floor((f_.y0 - f_.oy) / step) * step; y <= f_.oy + f_.h; y += step) {
        p_->moveTo(f_.ox, y);
        p_->lineTo(f_.ox + f_.w, y);
    }
}

QStringList LegendLines(const DialState& s, double gnomonMm) {
    const QString deg = TextOf(TextId::Degrees, s.language);
    QStringList lines;
    lines << TextOf(TextId::LatitudeIs, s.language) + RealToText(6, 2, s.latitude) + deg +
                 TextOf(TextId::LongitudeIs, s.language) + RealToText(6, 2, s.longitude) + deg;
    const int plane = std::clamp(s.hollanderShadowLine, 0, 8) % 3;
    QString planeText = plane == 0 ? TextOf(TextId::Horizontal, s.language)
                                   : plane == 1 ? TextOf(TextId::Vertical, s.language) : TextOf(TextId::Inclined, s.language);
    if (plane != 0)
        planeText += QStringLiteral(", ") + TextOf(TextId::DeviationIs, s.language) + RealToText(6, 2, s.wallDeclination) +
                     deg;
    if (plane == 2)
        planeText += QStringLiteral(", ") + TextOf(TextId::InclinationIs, s.language) + RealToText(6, 2, s.planeInclination) + deg;
    lines << planeText;
    lines << TextOf(TextId::AxisInclination, s.language) + QStringLiteral(" = ") + RealToText(6, 2, s.coneAxisInclination) +
                 deg + QStringLiteral(", ") + TextOf(TextId::ConeHalfAngle, s.language) +
                 QStringLiteral(" = ") + RealToText(5, 2, s.coneHalfAngle) + deg + QStringLiteral(", L = ") +
                 RealToText(6, 2, gnomonMm) + QStringLiteral(" mm");
    lines << (s.timeSystem == 1 ? TextOf(TextId::ZoneTime, s.language) : TextOf(TextId::LocalMeanTime, s.language));
    return lines;
}

QString LegendTitle(const DialState& s) { return title(12, s.language).trimmed(); }

QRectF HollanderConstruction::measureLegend() {
    const QString arial = QStringLiteral("Arial");
    p_->setFont(arial, screen() ? PointsToPixels(10) : mm(4));
    double width = p_->textWidth(LegendTitle(s_));
    double height = 1.2 * p_->textHeight();
    p_->setFont(arial, screen() ? PointsToPixels(8) : mm(3));
    for (const QString& line : LegendLines(s_, gz_)) {
        width = std::max(width, p_->textWidth(line));
        height += 1.1 * p_->textHeight();
    }
    const double margin = 0.5 * p_->textHeight();
    return QRectF(f_.textX - margin, f_.textY - margin, width + 2 * margin, height + 2 * margin);
}

void HollanderConstruction::drawLegend() {
    const QString arial = QStringLiteral("Arial");
    p_->setFont(arial, screen() ? PointsToPixels(10) : mm(4));
    p_->setTextRole(kLegend);
    const QStringList lines = LegendLines(s_, gz_);
    double y = f_.textY;
    p_->text(f_.textX, y, LegendTitle(s_));
    y += 1.2 * p_->textHeight();
    p_->setFont(arial, screen() ? PointsToPixels(8) : mm(3));
    for (const QString& line : lines) {
        p_->text(f_.textX, y, line);
        y += 1.1 * p_->textHeight();
    }
}

void HollanderConstruction::drawCone() {
    p_->setPenRole(kCone);
    p_->setPenWidth(lineWidth_);
    std::vector<QPointF> ellipse;
    for (double t = 0; t < 2 * kPi; t += 0.05) ellipse.push_back(planePoint(cone_.a * std::cos(t), cone_.b * std::sin(t)));
    ellipse.push_back(ellipse.front());
    p_->polyline(ellipse);
    QRectF base;
    for (const QPointF& q : ellipse) base |= QRectF(q, QSizeF(1e-9, 1e-9));
    labels_.avoidBox(base);
    p_->setPenWidth(1);
    const QPointF south = planePoint(0, -2 * cone_.b), north = planePoint(0, 1.5 * cone_.b);
    p_->moveTo(south.x(), south.y());
    p_->lineTo(north.x(), north.y());
    labels_.avoidLine(QLineF(south, north));
    const double cross = std::max(4.0, mm(1.5));
    p_->setFont(QStringLiteral("Arial"), screen() ? PointsToPixels(8) : mm(3));
    p_->setTextRole(kCone);
    auto mark = [&](double y, const QString& name) {
        const QPointF m = planePoint(0, y);
        p_->moveTo(m.x() - cross, m.y());
        p_->lineTo(m.x() + cross, m.y());
        p_->moveTo(m.x(), m.y() - cross);
        p_->lineTo(m.x(), m.y() + cross);
        const QRectF box(m.x() + cross, m.y() - p_->textHeight() / 2, p_->textWidth(name), p_->textHeight());
        p_->text(box.left(), box.top(), name);
        labels_.avoidBox(box);
        labels_.avoidBox(QRectF(m.x() - cross, m.y() - cross, 2 * cross, 2 * cross));
    };
    mark(cone_.c, QStringLiteral(" A"));
    mark(cone_.apexFoot, QStringLiteral(" S"));
    if (s_.hollanderOption) {
        // The nodus-foot mark of the planar dials, at the foot of the apex.
        const QPointF m = planePoint(0, cone_.apexFoot);
        const double u = std::round(f_.w / 2 / 14);
        p_->setPenRole(kApexFoot);
        p_->rectangle(m.x() - u / 6, m.y() - u / 6, m.x() + u / 6, m.y() + u / 6);
        p_->moveTo(m.x() - u / 2, m.y());
        p_->lineTo(m.x() + u / 2, m.y());
        p_->moveTo(m.x(), m.y() - u / 2);
        p_->lineTo(m.x(), m.y() + u / 2);
    }
}

void HollanderConstruction::drawHourLines() {
    const int first = std::clamp(s_.hourFrom, 0, 24), last = std::clamp(s_.hourTo, 0, 24);
    const int k = LinesPerHour(s_.hourLineInterval);
    const double shift = timeShift();
    struct Line {
        double value;
        bool whole;
        std::vector<HollanderPoint> points;
    };
    std::vector<Line> lines;
    for (int N = first; N <= last; ++N) {
        for (int j = 0; j < k; ++j) {
            const double v = N + static_cast<double>(j) / k;
            if (v >= last + 0.01) break;
            lines.push_back({v, j == 0, std::vector<HollanderPoint>(pairs_.size())});
        }
    }
    // Pair by pair, so that each day's angles are worked out once.
    for (size_t i = 0; i < pairs_.size(); ++i) {
        usePair(i);
        for (Line& line : lines) line.points[i] = point(line.value - shift);
    }
    for (const Line& line : lines) {
        p_->setPenRole(line.whole ? kHours : kSubdivision);
        p_->setPenWidth(line.whole ? lineWidth_ + 1 : lineWidth_);
        drawCounted(line.points);
    }
}

std::optional<std::pair<double, double>> HollanderConstruction::hourLineRows(double halfWidth) {
    const int first = std::clamp(s_.hourFrom, 0, 24), last = std::clamp(s_.hourTo, 0, 24);
    double top = 1e300, bottom = -1e300;
    for (size_t i = 0; i < pairs_.size(); ++i) {
        usePair(i);
        for (int N = first; N <= last; ++N) {
            const HollanderPoint hp = point(N - timeShift());
            if (!hp.counted || std::abs(hp.at.x() - f_.x0) > halfWidth || !nearOrigin(hp.at)) continue;
            top = std::min(top, hp.at.y() - f_.y0);
            bottom = std::max(bottom, hp.at.y() - f_.y0);
        }
    }
    if (top > bottom) return std::nullopt;
    return std::make_pair(top, bottom);
}

void HollanderConstruction::drawHourNumbers() {
    if (nearestPair_ < 0) return;
    const int first = std::clamp(s_.hourFrom, 0, 24), last = std::clamp(s_.hourTo, 0, 24);
    const double shift = timeShift();
    p_->setTextRole(kHours);
    p_->setFont(QStringLiteral("Arial"), screen() ? PointsToPixels(10) : mm(4));
    const double th = p_->textHeight();
    // On the date line nearest the middle hour, else on the next one out where the line
    // runs there: a noon line that passes the cone on the nearest date line keeps its number.
    std::vector<size_t> order{static_cast<size_t>(nearestPair_)};
    for (size_t d = 1; d < pairs_.size(); ++d)
        for (const long i : {long(nearestPair_) - long(d), long(nearestPair_) + long(d)})
            if (i >= 0 && i < long(pairs_.size())) order.push_back(static_cast<size_t>(i));
    for (int N = first; N <= last; ++N) {
        if (N % 2 != 0) continue;
        std::optional<HollanderPoint> found;
        for (const size_t pair : order) {
            usePair(pair);
            const HollanderPoint hp = point(N - shift);
            if (hp.counted && hp.radius > 1.1 && nearOrigin(hp.at)) {
                found = hp;
                break;
            }
        }
        if (!found) continue;
        const HollanderPoint hp = *found;
        // Away from the cone, so that the number does not sit on its own line's end.
        QPointF away = hp.at - QPointF(f_.x0, f_.y0);
        const double len = std::hypot(away.x(), away.y());
        if (len > 0) away *= th / len;
        const QString text = RoundToIntText(N);
        const double w = p_->textWidth(text);
        // Beyond the line's inner end (toward the cone, where no hour line runs), then
        // outward along it and to either side.
        const QPointF across(-away.y(), away.x());
        std::vector<QPointF> places;
        for (double m : {-1.0, -1.6, 1.0, 1.8, 2.6, 3.4, 4.2, 5.0, 6.0})
            for (double side : {0.0, 1.2, -1.2}) places.push_back(hp.at + m * away + side * across - QPointF(w / 2, th / 2));
        labels_.write(*p_, text, places);
    }
}

std::vector<HollanderPoint> HollanderConstruction::dateLinePoints(size_t pair) {
    const DayPair& dp = pairs_[pair];
    const double x = -TanDeg(dp.declinationA) * TanDeg(plane_.latitude);
    const double H0 = AcosDeg(std::clamp(x, -1.0, 1.0));
    std::vector<HollanderPoint> points;
    const double start = 12 - H0 / 15 + 0.01, end = 12 + H0 / 15 + 0.01;
    const int steps = std::max(2, static_cast<int>(std::ceil((end - start) * 30)));
    points.reserve(static_cast<size_t>(steps) + 1);
    usePair(pair);
    for (int i = 0; i <= steps; ++i) points.push_back(point(start + (end - start) * i / steps));
    return points;
}

DateLineReport HollanderConstruction::reportOf(size_t pair, const std::vector<HollanderPoint>& points) const {
    DateLineReport report;
    report.pair = static_cast<int>(pair);
    // The point nearest to the base lies among those of smallest elliptical radius.
    std::vector<const HollanderPoint*> near;
    for (const HollanderPoint& hp : points) {
        if (hp.onBase) report.tooShort = true;
        if (hp.counted) near.push_back(&hp);
    }
    const size_t keep = std::min<size_t>(near.size(), 5);
    std::partial_sort(near.begin(), near.begin() + static_cast<long>(keep), near.end(),
                      [](const HollanderPoint* a, const HollanderPoint* b) { return a->radius < b->radius; });
    for (size_t i = 0; i < keep; ++i) {
        const QPointF at = near[i]->at;
        double best = 1e300;
        for (int k = 0; k < 1440; ++k) {
            const QPointF e = planePoint(cone_.a * CosDeg(0.25 * k), cone_.b * SinDeg(0.25 * k));
            best = std::min(best, std::hypot(at.x() - e.x(), at.y() - e.y()));
        }
        const double d = best / f_.unitsPerMm;
        if (report.distanceMm < 0 || d < report.distanceMm) report.distanceMm = d;
    }
    return report;
}

DateLineReport HollanderConstruction::reportDateLine(size_t pair) { return reportOf(pair, dateLinePoints(pair)); }

void HollanderConstruction::drawDateLine(size_t pair, bool labelled) {
    const DayPair& dp = pairs_[pair];
    const std::vector<HollanderPoint> points = dateLinePoints(pair);
    drawCounted(points);
    if (!labelled) return;
    // The dates of both halves of the year, at the line's first point on the drawing.
    QString text = DayDotMonth(s_.referenceYear, dp.dayA);
    if (dp.dayB != dp.dayA) text += QLatin1Char('/') + DayDotMonth(s_.referenceYear, dp.dayB);
    p_->setTextRole(kSignDates);
    const double tw = p_->textWidth(text), th = p_->textHeight();
    // From the morning end on, beside the first point of the drawing where the label is
    // free: left of it, right of it, then just above or below.
    const QRectF area(f_.ox, f_.oy, f_.w, f_.h);
    // Only near the line's first point on the drawing, where a reader looks for it.
    std::vector<QPointF> places;
    std::optional<QPointF> first;
    for (const HollanderPoint& hp : points) {
        if (!hp.counted || !area.contains(hp.at)) continue;
        if (!first) first = hp.at;
        if (std::hypot(hp.at.x() - first->x(), hp.at.y() - first->y()) > 3 * tw) break;
        const QPointF at = hp.at - QPointF(0, th / 2);
        for (const QPointF& c : {at - QPointF(tw + th / 3, 0), at + QPointF(th / 3, 0), at - QPointF(tw / 2, 0.8 * th),
                                 at + QPointF(-tw / 2, 0.8 * th)})
            if (area.contains(QRectF(c, QSizeF(tw, th)))) places.push_back(c);
    }
    if (!places.empty()) labels_.write(*p_, text, places);
}

std::vector<int> HollanderConstruction::signLinePairs() const {
    const double obliquity = ZodiacDeclinations(s_.referenceYear).obliquity;
    const int perMonth = std::clamp(s_.dateLinesPerMonth, 1, 4);
    // The sign dates from the June to the December solstice; with "solstices and
    // equinoxes" only those three.
    std::vector<int> pairs;
    for (int i = 0; i <= 6; ++i) {
        if (perMonth == 4 && i % 3 != 0) continue;
        const int pair = NearestPair(pairs_, SignDeclination(i, obliquity));
        if (pair >= 0) pairs.push_back(pair);
    }
    return pairs;
}

int HollanderConstruction::nearestPairOfMiddleHour() {
    const int first = std::clamp(s_.hourFrom, 0, 24), last = std::clamp(s_.hourTo, 0, 24);
    if (first > last) return -1;
    const double value = (first + last) / 2;
    std::vector<HollanderPoint> points(pairs_.size());
    for (size_t i = 0; i < pairs_.size(); ++i) {
        usePair(i);
        points[i] = point(value - timeShift());
    }
    return NearestCounted(points);
}

void HollanderConstruction::drawDateLines() {
    const int perMonth = std::clamp(s_.dateLinesPerMonth, 1, 4);
    p_->setFont(QStringLiteral("Arial"), screen() ? PointsToPixels(7) : mm(2.5));
    for (int pair : signLinePairs()) {
        drawnSignDeclinations_.push_back(pairs_[static_cast<size_t>(pair)].meanDeclination());
        p_->setPenRole(kSignDates);
        p_->setPenWidth(lineWidth_ + 1);
        drawDateLine(static_cast<size_t>(pair), true);
    }
    // Between them one line on the 6th or two on the 1st and 11th of each month.
    std::vector<int> days;
    if (perMonth == 2) days = {6};
    if (perMonth == 3) days = {1, 11};
    p_->setPenRole(kOtherDates);
    p_->setPenWidth(lineWidth_);
    const int firstA = pairs_.front().dayA, lastA = pairs_.back().dayA;
    for (int month = 6; month <= 12; ++month) {
        for (int d : days) {
            const int day = DayOfYear(s_.referenceYear, month, d);
            if (day <= firstA || day >= lastA) continue;
            drawDateLine(static_cast<size_t>(PairOfDay(pairs_, day)), false);
        }
    }
    // The date line nearest to the cone bounds the hour lines; dashed unless a sign line lies on it.
    if (nearestPair_ >= 0) {
        const double decl = pairs_[static_cast<size_t>(nearestPair_)].meanDeclination();
        const bool onSignLine = std::any_of(drawnSignDeclinations_.begin(), drawnSignDeclinations_.end(),
                                            [decl](double d) { return std::abs(d - decl) < 0.3; });
        if (!onSignLine) {
            p_->setPenRole(kSignDates);
            p_->setPenWidth(1);
            p_->setLineStyle(LineStyle::Dashed);
            drawDateLine(static_cast<size_t>(nearestPair_), false);
            p_->setLineStyle(LineStyle::Solid);
        }
    }
}

double GnomonMm(const DialState& s) { return ScaleGnomon(s.gnomonLength, s.zoomFactor).gnomonMm; }

}  // namespace

HollanderPlane HollanderPlaneOf(const DialState& s) {
    HollanderPlane p;
    const int kind = std::clamp(s.hollanderShadowLine, 0, 8) % 3;
    if (kind == 0) {
        p.latitude = s.latitude;
        return p;
    }
    const EquivalentDial e = EquivalentHorizontalDial(s.latitude, kind == 1 ? 90.0 : s.planeInclination, s.wallDeclination);
    p.latitude = e.latitude;
    p.deltaLambda = e.deltaLambda;
    p.rotation = e.rotation;
    return p;
}

HollanderTracer::HollanderTracer(const DialState& s, const HollanderPlane& plane, const ConeEllipse& cone)
    : cone_(cone) {
    edgeOrder_ = std::clamp(s.hollanderShadowLine, 0, 8) / 3;
    southern_ = plane.latitude < 0;
    sinPhi_ = SinDeg(plane.latitude);
    cosPhi_ = CosDeg(plane.latitude);
    sinSite_ = SinDeg(s.latitude);
    cosSite_ = CosDeg(s.latitude);
    cosDl_ = CosDeg(plane.deltaLambda);
    sinDl_ = SinDeg(plane.deltaLambda);
    rotate_ = std::abs(plane.rotation) > 0.0001;
    cosRho_ = CosDeg(plane.rotation);
    sinRho_ = SinDeg(plane.rotation);
}

void HollanderTracer::setPair(const DayPair& pair) {
    E1_ = pair.eotA;
    E2_ = pair.eotB;
    if (edgeOrder_ == 0 && E1_ > E2_) std::swap(E1_, E2_);
    if (edgeOrder_ == 2) std::swap(E1_, E2_);
    if (southern_) std::swap(E1_, E2_);
    sinDelta_ = SinDeg(pair.declinationA);
    cosDelta_ = CosDeg(pair.declinationA);
    tanDelta_ = TanDeg(pair.declinationA);
}

HollanderPoint HollanderTracer::at(double T) const {
    HollanderPoint out;
    SunAngles first, second;
    for (SunAngles* a : {&first, &second}) {
        a->sinPhi = sinPhi_;
        a->cosPhi = cosPhi_;
        a->tanDelta = tanDelta_;
    }
    const double t1 = 15.0 * (T - 12.0) + E1_, t2 = 15.0 * (T - 12.0) + E2_;
    first.sinT = SinDeg(t1);
    first.cosT = CosDeg(t1);
    second.sinT = SinDeg(t2);
    second.cosT = CosDeg(t2);
    // Both shadows must exist: the sun above the dial plane and above the site's horizon
    // (hour angle of the site t + delta lambda).
    auto lit = [&](const SunAngles& a) {
        const double abovePlane = sinPhi_ * sinDelta_ + cosPhi_ * cosDelta_ * a.cosT;
        const double cosSite = a.cosT * cosDl_ - a.sinT * sinDl_;
        const double aboveHorizon = sinSite_ * sinDelta_ + cosSite_ * cosDelta_ * cosSite;
        return abovePlane > 0 && aboveHorizon > 0;
    };
    const MeanTimePoint m = CrossingPointFrom(cone_, first, second);
    out.radius = m.radius;
    // East right, north up; then turned with the plane's meridian.
    double X = m.at.x(), Y = -m.at.y();
    if (rotate_) {
        const double X2 = X * cosRho_ + Y * sinRho_;
        Y = -X * sinRho_ + Y * cosRho_;
        X = X2;
    }
    out.at = QPointF(X, Y);
    const bool shadows = lit(first) && lit(second);
    out.counted = shadows && m.valid && m.radius > 1.05;
    out.onBase = shadows && !out.counted;
    return out;
}

HollanderPoint HollanderPointAt(const DialState& s, const HollanderPlane& plane, const ConeEllipse& cone,
                                const DayPair& pair, double T) {
    HollanderTracer tracer(s, plane, cone);
    tracer.setPair(pair);
    return tracer.at(T);
}

bool RefuseConeAngles(const DialState& s, UserDialogs& dialogs) {
    const double alpha = s.coneHalfAngle, psi = s.coneAxisInclination;
    // psi + alpha of 180 or more: the far side of the cone never reaches the plane either.
    if (!ConeAnglesRefused(alpha, psi) && psi + alpha < 180.0) return false;
    const QString text = s.english()
                             ? QStringLiteral("Input error!\r\nThe angles alfa=") + RealToText(4, 2, alpha) +
                                   QStringLiteral(" and psi=") + RealToText(5, 2, psi) +
                                   QStringLiteral(" are too small or psi>alfa does not hold !")
                             : QStringLiteral("Eingabefehler!\r\nDie Winkel alfa=") + RealToText(4, 2, alpha) +
                                   QStringLiteral(" und psi=") + RealToText(5, 2, psi) +
                                   QStringLiteral(" sind zu klein oder es ist nicht psi>alfa !");
    dialogs.inform(caption(CaptionKind::Error, s.language), text, Icon::Error);
    return true;
}

namespace {

Frame FrameOfRequest(const DialRequest& r) {
    Frame f;
    f.target = r.target;
    if (r.target == DrawTarget::Screen) {
        f.w = r.clientWidth - 2;
        f.h = r.clientHeight - 2;
        f.unitsPerMm = ScreenUnitsPerMm(r.clientWidth, r.sheetA3);
    } else {
        f.ox = r.offsetX;
        f.oy = r.offsetY;
        f.w = r.clientWidth;
        f.h = r.clientHeight;
        f.unitsPerMm = r.target == DrawTarget::Printer ? kPrinterUnitsPerMm : kPlotUnitsPerMm;
    }
    f.x0 = r.originX;
    f.y0 = r.originY;
    f.textX = r.textX;
    f.textY = r.textY;
    f.grid = r.grid;
    return f;
}

DialResult DrawHollanderDial(const DialContext& context, const DialRequest& r, DialPainter& painter,
                             UserDialogs& dialogs) {
    const DialState& s = context.state;
    const ScaledGnomon scaled = ScaleGnomon(s.gnomonLength, s.zoomFactor);
    DialResult result;
    result.zoomFactor = scaled.zoom;
    result.gnomonMm = scaled.gnomonMm;
    const Frame f = FrameOfRequest(r);
    if (f.w < 2 || f.h < 2) return result;
    HollanderConstruction c(s, f, scaled.gnomonMm, &painter);
    if (!c.prepare(dialogs)) return result;
    c.draw();
    result.drawn = true;
    return result;
}

CastShadow HollanderShadow(const DialContext& context, const DialRequest& request, const ShadowMoment& moment,
                           DialPainter& measure) {
    const Frame f = FrameOfRequest(request);
    if (f.w < 2 || f.h < 2) return {};
    HollanderConstruction c(context.state, f, ScaleGnomon(context.state.gnomonLength, context.state.zoomFactor).gnomonMm,
                            &measure);
    RecordingDialogs quiet;
    if (!c.prepare(quiet)) return {};
    return c.castShadow(context, moment);
}

bool WriteHollanderPlot(const DialContext& context, PlotStream& stream, UserDialogs& dialogs) {
    const DialState& s = context.state;
    if (RefuseConeAngles(s, dialogs)) return false;
    stream.writeHeadFramedWithPen4();
    stream.penUp(0, 0);
    stream.characterSize(0.22, 0.32);
    const bool en = s.english();
    const bool grid =
        dialogs.ask(en ? QStringLiteral("ZORVA.EXE - Question") : QStringLiteral("ZORVA.EXE - Was nun?"),
                    en ? QStringLiteral("Additional Grid of Co-ordinates in Graphics-File")
                       : QStringLiteral("Soll zusätzlich das Koordinatennetz gezeichnet werden?"),
                    Buttons::YesNo) == Answer::Yes;
    stream.titleBlock(0.3, 0.45, LegendTitle(s), 0.18, 0.27, LegendLines(s, GnomonMm(s)));
    PlotPainter painter(stream, context.lineWidth, 1);
    DialRequest r = PlotRequest(kSheetWidth, kSheetHeight);
    // The dial sits where a fresh drawing window puts it: centred, a third from the edge
    // its date lines spread away from.
    r.originX = kSheetWidth / 2.0;
    r.originY = ConeDialOriginRow(s, kSheetHeight, kPlotUnitsPerMm);
    r.grid = grid;
    const DialResult result = DrawHollanderDial(context, r, painter, dialogs);
    if (result.drawn) DrawPlotShadow(context, r, painter);
    painter.flush();
    return result.drawn;
}

}  // namespace

double ConeDialOriginRow(const DialState& s, double height, double unitsPerMm) {
    const double classic = ConeDialOriginRow(s.latitude, height);
    if (s.latitude >= 0 || !(unitsPerMm > 0) || !(height > 0)) return classic;
    // A southern dial's hour lines open downward from the apex foot: the ellipse centre goes
    // where they fill the sheet below the legend, not a fixed third from the top.
    Frame f;
    f.target = DrawTarget::Printer;
    f.w = 1.5 * height;
    f.h = height;
    f.unitsPerMm = unitsPerMm;
    HollanderConstruction c(s, f, GnomonMm(s), nullptr);
    RecordingDialogs quiet;
    if (!c.prepare(quiet)) return classic;
    const auto rows = c.hourLineRows(0.5 * f.w);
    if (!rows) return classic;
    const double top = 0.17 * height, room = 0.95 * height - top;
    const double extent = rows->second - rows->first;
    const double row = extent < room ? top + (room - extent) / 2 - rows->first : top - rows->first;
    return std::clamp(row, 0.1 * height, 0.9 * height);
}

void DrawConeConstruction(const DialState& s, DialPainter& p, double u, const QRectF& area) {
    const double Lmm = GnomonMm(s);
    const auto cone = ConeEllipseFor(Lmm, s.coneHalfAngle, s.coneAxisInclination);
    if (!cone || !(u > 0)) return;
    const ConeEllipse& e = *cone;
    const bool en = s.english();
    const QString arial = QStringLiteral("Arial");
    const int width = LineWidthOf(s);
    const Mantle m = UnfoldMantle(e, 360);
    const double sLong = GeneratorLength(e, 0), sShort = GeneratorLength(e, 180);
    QStringList section;
    section << (en ? QStringLiteral("Cone cross section (meridian plane)") : QStringLiteral("Kegel im Querschnitt (Meridianebene)"))
            << TextOf(TextId::AxisInclination, s.language) + QStringLiteral(" psi = ") + RealToText(6, 2, e.psi)
            << TextOf(TextId::ConeHalfAngle, s.language) + QStringLiteral(" alfa = ") + RealToText(5, 2, e.alpha)
            << QStringLiteral("L = ") + RealToText(6, 2, Lmm) + QStringLiteral(" mm, h = ") +
                   RealToText(6, 2, e.apexHeight) + QStringLiteral(" mm")
            << QStringLiteral("2b = ") + RealToText(6, 2, 2 * e.b) + QStringLiteral(" mm, 2a = ") +
                   RealToText(6, 2, 2 * e.a) + QStringLiteral(" mm")
            << QStringLiteral("A-S = ") + RealToText(6, 2, e.apexFoot - e.c) + QStringLiteral(" mm, ") +
                   TextOf(TextId::CentreToA, s.language) + RealToText(6, 2, e.c) + QStringLiteral(" mm")
            << TextOf(TextId::Generators, s.language) + RealToText(6, 2, sLong) + QStringLiteral(" / ") +
                   RealToText(6, 2, sShort) + QStringLiteral(" mm");
    QStringList mantle;
    mantle << (en ? QStringLiteral("Unfolded cone mantle") : QStringLiteral("Abgewickelter Kegelmantel"))
           << (en ? QStringLiteral("Sector angle = ") : QStringLiteral("Sektorwinkel = ")) + RealToText(7, 2, m.sectorDeg) +
                  (en ? QStringLiteral(" deg") : QStringLiteral(" Grad"))
           << (en ? QStringLiteral("Marks: angle round the axis, 0 = longest generator")
                  : QStringLiteral("Marken: Winkel um die Achse, 0 = laengste Mantellinie"));
    // The texts in each half of the sheet, below the section and at the top of the mantle
    // side: smaller letters where the lines would run over the edge.
    const double half = area.width() / 2;
    double th = std::max(3.0 * u, area.height() / 60);
    p.setFont(arial, th);
    double widest = 0;
    for (const QString& line : section + mantle) widest = std::max(widest, p.textWidth(line));
    if (widest > half - 2 * th && widest > 0) th *= (half - 2 * th) / widest;
    th = std::min(th, 0.25 * area.height() / (2 + 1.4 * section.size()));

    // --- cross-section in the meridian plane: south vertex left, apex side right.
    const double left = std::min(-e.b, e.apexFoot), right = std::max(e.b, e.apexFoot);
    const double baseY = area.top() + area.height() * 0.75;
    const double cx = area.left() + half / 2 - (left + right) / 2 * u;
    auto at = [&](double along, double height) { return QPointF(cx + along * u, baseY - height * u); };
    const QPointF apex = at(e.apexFoot, e.apexHeight);
    p.setPenRole(kLegend);
    p.setPenWidth(1);
    const QPointF b0 = at(left - 0.15 * (right - left), 0), b1 = at(right + 0.15 * (right - left), 0);
    p.moveTo(b0.x(), b0.y());
    p.lineTo(b1.x(), b1.y());
    p.setPenRole(kCone);
    p.setPenWidth(width + 1);
    const QPointF south = at(-e.b, 0), north = at(e.b, 0), axisFoot = at(e.c, 0), apexFoot = at(e.apexFoot, 0);
    p.polyline({south, apex, north});
    p.setPenWidth(1);
    p.setLineStyle(LineStyle::Dashed);
    p.polyline({apex, axisFoot});
    p.polyline({apex, apexFoot});
    p.setLineStyle(LineStyle::Solid);
    p.setFont(arial, th);
    p.setTextRole(kLegend);
    p.text(axisFoot.x() - th, axisFoot.y() + th / 3, QStringLiteral("A"));
    p.text(apexFoot.x() + th / 3, apexFoot.y() + th / 3, QStringLiteral("S"));
    double ty = baseY + 2 * th;
    for (const QString& line : section) {
        p.text(area.left() + th, ty, line);
        ty += 1.4 * th;
    }

    // --- unfolded mantle: apex in the middle of the right half, longest generator downward,
    // seam along the shortest.
    // A fan narrower than a half disc hangs from its apex near the top.
    const QPointF centre(area.left() + 1.5 * half, area.top() + area.height() * (m.sectorDeg <= 180 ? 0.2 : 0.5));
    auto dev = [&](double len, double angleDeg) {
        return QPointF(centre.x() + len * u * SinDeg(angleDeg), centre.y() + len * u * CosDeg(angleDeg));
    };
    std::vector<QPointF> outline{centre};
    for (const QPointF& r : m.rim) outline.push_back(dev(r.x(), r.y()));
    outline.push_back(centre);
    p.setPenRole(kCone);
    p.setPenWidth(width + 1);
    p.polyline(outline);
    p.setPenWidth(1);
    // Marks every 30 degrees round the axis, to set the cone on its base ellipse.
    p.setPenRole(kSubdivision);
    p.setLineStyle(LineStyle::Dashed);
    for (int k = -150; k <= 150; k += 30) {
        const double len = GeneratorLength(e, k);
        const QPointF rim = dev(len, k * SinDeg(e.alpha));
        p.polyline({centre, rim});
    }
    p.setLineStyle(LineStyle::Solid);
    p.setTextRole(kLegend);
    // Every mark is labelled where the rim leaves room, else every second or third.
    const double arc30 = GeneratorLength(e, 180) * u * 30 * SinDeg(e.alpha) * kDegToRad;
    const int labelStep = arc30 >= 3 * th ? 30 : arc30 >= 1.5 * th ? 60 : arc30 >= th ? 90 : 180;
    // The rim labels and the texts stay on the sheet and apart.
    LabelPlacer labels(area);
    for (int k = -180; k <= 180; k += labelStep) {
        const double len = GeneratorLength(e, k);
        const QString text = QString::number(k);
        const double w = p.textWidth(text);
        std::vector<QPointF> places;
        for (double out : {1.5, 2.5, 3.5}) {
            const QPointF label = dev(len + out * th / u, k * SinDeg(e.alpha));
            places.push_back(label - QPointF(w / 2, th / 2));
        }
        labels.write(p, text, places);
    }
    ty = area.top() + 1.5 * th;
    for (const QString& line : mantle) {
        p.text(area.left() + half + th, ty, line);
        ty += 1.4 * th;
    }
}

double ConeFitScale(const DialState& s, const QSizeF& area) {
    const auto cone = ConeEllipseFor(GnomonMm(s), s.coneHalfAngle, s.coneAxisInclination);
    if (!cone || area.width() <= 0 || area.height() <= 0) return 0;
    const ConeEllipse& e = *cone;
    // Cross-section in the left half (its base a quarter from the bottom), mantle round the
    // middle of the right half with room for the rim labels.
    const double width = 1.3 * (std::max(e.b, e.apexFoot) - std::min(-e.b, e.apexFoot));
    const double u1 = 0.45 * area.width() / width;
    const double u2 = 0.6 * area.height() / e.apexHeight;
    const double r = GeneratorLength(e, 0);
    const bool fan = 360 * SinDeg(e.alpha) <= 180;
    const double u3 = (fan ? 0.6 : 0.35) * std::min(area.width() / 2, area.height()) / r;
    return std::min({u1, u2, u3});
}

namespace {

bool WriteHollanderConePlot(const DialContext& context, PlotStream& stream, UserDialogs& dialogs) {
    const DialState& s = context.state;
    if (RefuseConeAngles(s, dialogs)) return false;
    stream.writeConeHead();
    PlotPainter painter(stream, context.lineWidth, 0, kSheetHeight);
    DrawConeConstruction(s, painter, kPlotUnitsPerMm, QRectF(0, 0, kSheetWidth, kSheetHeight));
    painter.flush();
    return true;
}

}  // namespace

ConeShadowReport ReportConeShadowDial(const DialState& s) {
    ConeShadowReport report;
    // Millimetres round the ellipse centre: the report needs no drawing area.
    Frame f;
    f.target = DrawTarget::Printer;
    f.unitsPerMm = 1;
    HollanderConstruction c(s, f, GnomonMm(s), nullptr);
    class Silent : public UserDialogs {
    public:
        void inform(const QString&, const QString&, Icon) override {}
        Answer ask(const QString&, const QString&, Buttons, Icon) override { return Answer::No; }
        std::optional<QString> askText(const QString&, const QString&, const QString&) override { return {}; }
    } silent;
    if (!c.prepare(silent)) return report;
    report.cone = true;
    report.pairs = c.pairs();
    report.nearestPair = c.nearestPairOfMiddleHour();
    for (int pair : c.signLinePairs()) {
        report.signLines.push_back(c.reportDateLine(static_cast<size_t>(pair)));
    }
    return report;
}

QStringList HollanderInformation(const DialState& s) {
    QStringList lines;
    const bool en = s.english();
    lines << LegendTitle(s);
    lines << LegendLines(s, GnomonMm(s));
    const ConeShadowReport report = ReportConeShadowDial(s);
    if (!report.cone) {
        lines << (en ? QStringLiteral("The angles form no cone on the plane.")
                     : QStringLiteral("Die Winkel ergeben keinen Kegel auf der Ebene."));
        return lines;
    }
    const auto& pairs = report.pairs;
    const double obliquity = ZodiacDeclinations(s.referenceYear).obliquity;
    lines << QString();
    QString signs;
    for (int i = 0; i < 12; ++i) {
        const int pair = NearestPair(pairs, SignDeclination(i, obliquity));
        if (pair < 0) continue;
        const DayPair& dp = pairs[static_cast<size_t>(pair)];
        const bool firstHalf = i > 6;
        const int day = firstHalf ? dp.dayB : dp.dayA;
        const double decl = firstHalf ? dp.declinationB : dp.declinationA;
        signs += (en ? QStringLiteral("Day ") : QStringLiteral("Tag ")) + QString::number(day) + QStringLiteral(" (=") +
                 DayDotMonth(s.referenceYear, day) + (en ? QStringLiteral(") has declination=") : QStringLiteral(") hat Deklination=")) +
                 RealToText(7, 3, decl) + QStringLiteral("\r\n");
    }
    lines << signs.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    lines << QString();
    if (report.nearestPair >= 0)
        lines << TextOf(TextId::DateLineNearestCone, s.language) + QStringLiteral(" = ") +
                     RealToText(7, 3, pairs[static_cast<size_t>(report.nearestPair)].meanDeclination());
    lines << QString();
    lines << TextOf(TextId::DateLineOfDial, s.language) + QStringLiteral("       ") +
                 TextOf(TextId::DistanceFromCone, s.language) + QStringLiteral(" [mm]");
    for (const ConeShadowReport::SignLine& r : report.signLines) {
        if (r.pair < 0) continue;
        const DayPair& dp = pairs[static_cast<size_t>(r.pair)];
        QString date = DayDotMonth(s.referenceYear, dp.dayA);
        if (dp.dayB != dp.dayA) date += QLatin1Char('/') + DayDotMonth(s.referenceYear, dp.dayB);
        QString line = date.leftJustified(18) +
                       (r.distanceMm < 0 ? QStringLiteral("   -----") : RealToText(8, 2, r.distanceMm));
        if (r.tooShort) line += QStringLiteral("  ") + TextOf(TextId::ConeShadow, s.language) +
                                TextOf(TextId::SometimesTooShort, s.language);
        lines << line;
    }
    return lines;
}

constinit const DialConstruction kHollanderDial{.draw = DrawHollanderDial,
                                                .writePlot = WriteHollanderPlot,
                                                .writeSecondPlot = WriteHollanderConePlot,
                                                .shadow = HollanderShadow};

}  // namespace zorva
