#include "dials/quadrant_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "dials/altitude_dial_common.h"
#include "dials/dial_painter.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <QPointF>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorva {
namespace {

// Colour roles of the quadrant.
enum Role {
    kFrame = 0,  // also the degree scale, the circles of the 16th and the other half-year's labels
    kHour = 1,
    kSubdivision = 2,
    kText = 3,
    kMonthFirst = 5,
    kOtherDates = 7,
    kTemporal = 9,
};

constexpr Rgb kScaleGrey = 0xDFDFDF;
const QString kArial = QStringLiteral("Arial");

// Half to even, as the drawing's integer positions are rounded.
double Round(double x) { return std::nearbyint(x); }

struct HourRange {
    bool temporal = false;
    int first = 0, last = -1;
    int perHour = 1;
};

HourRange HourRangeOf(const DialState& s) {
    HourRange r;
    r.temporal = s.timeSystem == 2;
    if (r.temporal) {
        r.first = std::clamp(s.quadrantTemporalFrom, 0, 12);
        r.last = std::clamp(s.quadrantTemporalTo, 0, 12);
        r.perHour = std::clamp(s.quadrantTemporalInterval + 1, 1, 4);
        return r;
    }
    r.first = std::clamp(s.otherHourFrom, 0, 24);
    r.last = std::clamp(s.otherHourTo, 0, 24);
    r.perHour = std::max(1, LinesPerHour(s.otherHourInterval));
    // Zone time: the morning and afternoon lines of one altitude cannot both be read off the
    // plumb line, so the range keeps the side of noon with more hours.
    if (s.timeSystem == 1 && r.first < 12 && r.last > 12) {
        if (r.last - 12 >= 12 - r.first) r.first = 12;
        else r.last = 12;
    }
    return r;
}

class QuadrantDial {
public:
    QuadrantDial(const DialState& s, const PlanarDialRequest& r, DialPainter& p)
        : s_(s), p_(p), screen_(r.target == DrawTarget::Screen), wide_(r.wideScreen), W_(r.clientWidth),
          H_(r.clientHeight), hours_(HourRangeOf(s)), sun_(s) {
        clock_.local = s.timeSystem != 1;
        clock_.eot = s.constructWithEoT;
    }

    bool run();

private:
    struct Label {
        double x, y;
        QString text;
        int role;
    };

    void setFont(double height) {
        fontHeight_ = height;
        p_.setFont(kArial, height);
    }
    QString lbl(int n) const { return label(n, s_.language); }
    bool refusesTemporalHours() const { return std::abs(s_.latitude) > 65 && hours_.temporal; }
    void setUp();
    void drawRefusal();
    void drawOutline();
    void drawTexts();
    void drawDegreeScale(double a);
    void drawWholeYearCircles();
    void drawHalfYearCircles();
    void drawZodiacCircles();
    void drawHourLines();
    void traceZodiac(double t, int hour, bool full);
    void traceWholeYear(double t, int hour, bool full);
    void traceHalfYear(double t, int hour, bool full, bool mirrored);
    void addLabel(double x, double y, const QString& text, int role);
    // One stroke of an hour line; remembers where the line was last drawn.
    void segment(const QPointF& a, const QPointF& b) {
        p_.moveTo(a.x(), a.y());
        p_.lineTo(b.x(), b.y());
        lastDrawn_ = b;
        drawnAny_ = true;
    }
    void beginLine() {
        drawnAny_ = false;
        labelled_ = false;
    }
    void labelLineEnd(bool full, int hour);

    double altitude(int day, double t) { return hours_.temporal ? sun_.temporal(day, t) : sun_.clock(clock_, day, t); }
    QPointF point(double angle, double N) const {
        return {xA_ + Round(N * SinDeg(angle)), Round(N * CosDeg(angle) + yA_)};
    }
    bool onQuadrant(const QPointF& q) const { return q.x() >= xA_ && q.y() >= yA_; }
    // Radius of a declination on the zodiac scale: the winter solstice on R / 2, the summer
    // solstice on the rim.
    double zodiacRadius(double delta) const {
        return R_ / 2 * (1 + (delta + zodiac_.obliquity) / (2 * zodiac_.obliquity));
    }
    // Radius of a day on the whole-year band: 1 January on R / 2, 31 December on R.
    double wholeYearRadius(int day) const { return Round((double(day - E_) / (F_ - E_) + 1) * R_ / 2); }
    // Radius of a day (after 21 June) on the half-year band.
    double halfYearRadius(int day) const {
        const double q = double(day - G_) / 183;
        return s_.outerLineArrangement ? Round(R_ * 0.5 * (2 - q)) : Round(R_ * 0.5 * (q + 1));
    }

    const DialState& s_;
    DialPainter& p_;
    bool screen_, wide_;
    double W_, H_;
    double ox_ = 0, oy_ = 0;
    double R_ = 0, C_ = 0, B_ = 0, L_ = 0, xA_ = 0, yA_ = 0;
    double fontHeight_ = 0;
    int E_ = 1, F_ = 365, G_ = 172, december21_ = 355;
    HourRange hours_;
    ClockHours clock_;
    AltitudeSun sun_;
    std::vector<Label> labels_;
    ZodiacTable zodiac_;
    QPointF lastDrawn_;
    bool drawnAny_ = false, labelled_ = false;
};

void QuadrantDial::setUp() {
    // The quadrant takes the corner of the area on both targets.
    ox_ = 0;
    oy_ = 0;
    const int size = std::clamp(s_.quadrantSize, 1, 100000);
    R_ = screen_ ? Round(size * H_ / 210) : 10.0 * size;
    C_ = R_ / size;
    B_ = Round(R_ / 30);
    L_ = screen_ ? double(static_cast<long>(B_) / 2) : Round(0.2 * B_);
    xA_ = ox_ + static_cast<long>(W_) / 4;
    yA_ = oy_ + Round(10 * C_);
    const int year = s_.referenceYear;
    E_ = 1;
    F_ = DayOfYear(year, 12, 31);
    G_ = DayOfYear(year, 6, 21);
    december21_ = DayOfYear(year, 12, 21);
    if (s_.quadrantDateScale == 1) zodiac_ = ZodiacDeclinations(year);
}

bool QuadrantDial::run() {
    setUp();
    p_.setPenWidth(1);
    p_.setPenRole(kFrame);
    p_.rectangle(ox_, oy_, ox_ + W_ - 2, oy_ + H_ - 2);
    setFont(screen_ ? 14 : 35);
    p_.setTextRole(kText);
    if (refusesTemporalHours()) {
        drawRefusal();
        return false;
    }
    drawOutline();
    drawTexts();
    p_.setPenWidth(std::clamp(s_.lineWidth - '0', 1, 9));
    switch (s_.quadrantDateScale) {
        case 0:
            drawDegreeScale(Round(R_ / 2 - 2 * C_));
            if (s_.wholeYearBand) drawWholeYearCircles();
            else drawHalfYearCircles();
            drawHourLines();
            break;
        case 2:
            // The Gunter quadrant carries its degrees on the rim. Its stereographic projection
            // is not drawn yet; the note keeps the bare scale from passing for a finished dial.
            drawDegreeScale(Round(R_));
            p_.setTextColour(colour::kRed, kText);
            p_.text(xA_ + Round(2 * C_), yA_ + R_ + Round(3 * C_),
                    Tr(s_, "Die stereographische Datumsskala wird noch nicht gezeichnet.",
                       "The stereographic date scale is not drawn yet."));
            p_.setTextRole(kText);
            break;
        default:
            drawDegreeScale(Round(R_ / 2 - 2 * C_));
            drawZodiacCircles();
            drawHourLines();
            break;
    }
    p_.setPenWidth(1);
    return true;
}

void QuadrantDial::drawRefusal() {
    setFont(1.5 * fontHeight_);
    const double th = p_.textHeight();
    const QString text = message(64, s_.language);
    const qsizetype cut = text.indexOf(QLatin1Char('\n'));
    const QString first = cut < 0 ? text : text.left(cut);
    const QString second = cut < 0 ? QString() : text.mid(cut + 1).remove(QLatin1Char('\r'));
    p_.text(W_ / 10, H_ / 2 - Round(1.5 * th), first);
    p_.text(W_ / 6, H_ / 2, second);
    p_.text(W_ / 3, H_ / 5, lbl(140));
}

void QuadrantDial::drawOutline() {
    p_.setPenRole(kFrame);
    p_.arc(xA_, yA_, R_, -90, 90);
    p_.moveTo(xA_, yA_);
    p_.lineTo(xA_ + R_, yA_);
    p_.moveTo(xA_, yA_);
    p_.lineTo(xA_, yA_ + R_);
}

void QuadrantDial::drawTexts() {
    p_.setTextRole(kText);
    setFont(screen_ ? (wide_ ? 28 : 18) : 80);
    const double x = Round(10 * C_) + W_ / 2 + ox_;
    p_.text(x, oy_ + H_ - Round(22 * C_),
            s_.quadrantDateScale == 2 ? QStringLiteral("Gunter - Quadrant") : lbl(140));

    setFont(screen_ ? (wide_ ? 15 : 12) : 30);
    const double th = p_.textHeight();
    p_.text(x, oy_ + H_ - Round(17 * C_ - 2 * th),
            lbl(131) + RealToText(6, 2, s_.latitude) + lbl(105) + lbl(132) + RealToText(6, 2, s_.longitude) +
                lbl(105));

    QString time = s_.timeSystem == 1 && s_.quadrantDateScale != 2 ? lbl(17) : lbl(16);
    if (hours_.temporal) {
        time = lbl(18);
        p_.text(ox_ + 20, oy_ + static_cast<long>((static_cast<long>(H_) + 1) / 25) / 3, lbl(144));
    } else if (!s_.constructWithEoT || s_.quadrantDateScale != 0) {
        time += QLatin1Char(' ') + lbl(142);
        if (s_.timeSystem != 1) time += QStringLiteral(" (WOZ)");
    } else {
        time += QLatin1Char(' ') + lbl(141);
    }
    p_.text(x, oy_ + H_ - Round(17 * C_ - th), lbl(143) + time.left(60));
}

void QuadrantDial::drawDegreeScale(double a) {
    p_.setPenRole(kFrame);
    // The outer band of the scale in grey, drawn before its arcs so that they stay on top.
    std::vector<QPointF> band;
    const double inner = Round(a - 2 * C_);
    for (int i = 0; i <= 180; ++i) band.push_back({xA_ + a * SinDeg(i * 0.5), yA_ + a * CosDeg(i * 0.5)});
    for (int i = 180; i >= 0; --i) band.push_back({xA_ + inner * SinDeg(i * 0.5), yA_ + inner * CosDeg(i * 0.5)});
    p_.polygon(band, FillStyle::Solid, kScaleGrey);
    for (double r : {a, inner, Round(a - 4 * C_)}) p_.arc(xA_, yA_, r, -90, 90);

    for (int w = 1; w <= 89; ++w) {
        const double T = w % 10 == 0 ? 6 : w % 5 == 0 ? 4 : 2.5;
        const double r0 = a - 1, r1 = Round(a - 1 - C_ * T);
        p_.moveTo(xA_ + r0 * SinDeg(w), yA_ + r0 * CosDeg(w));
        p_.lineTo(xA_ + r1 * SinDeg(w), yA_ + r1 * CosDeg(w));
    }

    setFont(0.85 * fontHeight_);
    p_.setTextColour(colour::kBlack, kText);
    const double th = p_.textHeight();
    const double r = Round(a - 1 - 5 * C_ - th - 2);
    for (int i = 1; i <= 8; ++i) {
        const double w = 10 * i - 1;
        p_.text(xA_ + r * SinDeg(w), yA_ + r * CosDeg(w), QString::number(10 * i), TextAnchor::TopLeft, 10.0 * i);
    }
    p_.setTextRole(kText);
}

void QuadrantDial::drawWholeYearCircles() {
    const int year = s_.referenceYear;
    for (int m = 1; m <= 12; ++m) {
        for (int d : {1, 16}) {
            const double N = wholeYearRadius(DayOfYear(year, m, d));
            p_.setPenRole(d == 1 ? kMonthFirst : kFrame);
            p_.arc(xA_, yA_, N, -90, 90);
            if (d == 1) {
                p_.setTextRole(kMonthFirst);
                p_.text(xA_ - L_ - Round(0.8 * B_), yA_ + N - Round(0.25 * B_), QStringLiteral("1/%1").arg(m));
            }
        }
    }
}

void QuadrantDial::drawHalfYearCircles() {
    const int year = s_.referenceYear;
    const double th = p_.textHeight();
    for (int m = 6; m <= 12; ++m) {
        for (int d : {1, 11, 21}) {
            if (m == 6 && d != 21) continue;
            const double N = halfYearRadius(DayOfYear(year, m, d));
            if (d != 1) {
                p_.setPenRole(kOtherDates);
                p_.arc(xA_, yA_, N, -90, 90);
                continue;
            }
            p_.setPenRole(kMonthFirst);
            p_.arc(xA_, yA_, N, -90, 90);
            // The band serves the rising half of the year too, read on the upper edge; with
            // the equation of time its lines hold for this half only.
            if (!s_.constructWithEoT) {
                p_.setTextRole(kFrame);
                const double x = s_.outerLineArrangement ? xA_ + N - Round(R_ * 6.5 / 183) : xA_ + N + Round(R_ * 3 / 183);
                p_.text(x, yA_ - th, QStringLiteral("1/%1").arg(13 - m));
            }
            p_.setTextRole(kMonthFirst);
            p_.text(xA_ - L_ - Round(0.8 * B_), yA_ + N - Round(0.25 * B_), QStringLiteral("1/%1").arg(m));
        }
    }
}

void QuadrantDial::drawHourLines() {
    const HourRange& h = hours_;
    for (int n = h.first; n <= h.last; ++n) {
        for (int j = 0; j < h.perHour; ++j) {
            const double t = n + double(j) / h.perHour;
            if (t > h.last) break;
            const bool full = j == 0;
            const int role = full ? (h.temporal ? kTemporal : kHour) : kSubdivision;
            p_.setPenRole(role);
            beginLine();
            if (s_.quadrantDateScale == 1) {
                traceZodiac(t, n, full);
                labelLineEnd(full, n);
                continue;
            }
            if (s_.wholeYearBand) {
                traceWholeYear(t, n, full);
                labelLineEnd(full, n);
                continue;
            }
            traceHalfYear(t, n, full, false);
            labelLineEnd(full, n);
            // Mean noon a second time, mirrored about the bisector of the quadrant.
            if (t == 12 && s_.constructWithEoT && !h.temporal && h.first < 12 && h.last > 12)
                traceHalfYear(t, n, full, true);
        }
    }
    // Lines close to noon end close together on the rim; a number that would cover one
    // already written moves outward along its line's direction until it is free.
    const double th = p_.textHeight();
    std::vector<QRectF> placed;
    for (const Label& l : labels_) {
        QPointF at(l.x, l.y);
        const QPointF ray = at - QPointF(xA_, yA_);
        const double length = std::hypot(ray.x(), ray.y());
        const QPointF step = length > 0 ? ray * (th / length) : QPointF(0, th);
        QRectF box(at, QSizeF(p_.textWidth(l.text), th));
        for (int k = 0; k < 6; ++k) {
            const bool free = std::none_of(placed.begin(), placed.end(), [&](const QRectF& r) { return r.intersects(box); });
            if (free) break;
            box.translate(step);
        }
        placed.push_back(box);
        p_.setTextRole(l.role);
        p_.text(box.left(), box.top(), l.text);
    }
    labels_.clear();
    p_.setTextRole(kText);
}

void QuadrantDial::drawZodiacCircles() {
    // Every 10 degrees of the sun's longitude from the summer to the winter solstice; the
    // entries into the signs in colour 5. A declination serves both halves of the year.
    for (int i = 0; i <= 36; i += 2) {
        p_.setPenRole(i % 6 == 0 ? kMonthFirst : kOtherDates);
        p_.arc(xA_, yA_, zodiacRadius(zodiac_.byLongitude[static_cast<size_t>(i)]), -90, 90);
    }
    // The signs between their circles: those of the falling half (Cancer .. Sagittarius)
    // beside the downward edge, those of the rising half (Gemini .. Capricorn) above the
    // upper edge, as the months of the calendar band.
    const double th = p_.textHeight();
    for (int k = 0; k < 6; ++k) {
        const double mid = (zodiacRadius(zodiac_.byLongitude[static_cast<size_t>(6 * k)]) +
                            zodiacRadius(zodiac_.byLongitude[static_cast<size_t>(6 * k + 6)])) / 2;
        const QString falling(QChar(0x2648 + 3 + k));
        const QString rising(QChar(0x2648 + (14 - k) % 12));
        p_.setTextRole(kMonthFirst);
        p_.text(xA_ - L_ - Round(0.8 * B_), yA_ + mid - th / 2, falling);
        p_.setTextRole(kFrame);
        p_.text(xA_ + mid - p_.textWidth(rising) / 2, yA_ - th, rising);
    }
    p_.setTextRole(kText);
}

void QuadrantDial::traceZodiac(double t, int hour, bool full) {
    const double phi = s_.latitude;
    const double shift = s_.timeSystem == 1 ? s_.longitude - s_.zoneMeridian : 0.0;
    QPointF previous;
    for (int i = 0; i <= 36; ++i) {
        const double delta = zodiac_.byLongitude[static_cast<size_t>(i)];
        double hourAngle = 15 * (t - 12) - shift;
        if (hours_.temporal) {
            const double x = -TanDeg(phi) * TanDeg(delta);
            hourAngle = (t - 6) * AcosDeg(std::clamp(x, -1.0, 1.0)) / 6;
        }
        const double h =
            AsinDeg(SinDeg(phi) * SinDeg(delta) + CosDeg(phi) * CosDeg(delta) * CosDeg(hourAngle));
        const QPointF q = point(h, Round(zodiacRadius(delta)));
        if (i > 0 && h > -2 && onQuadrant(previous) && onQuadrant(q)) {
            segment(previous, q);
        }
        if (i == 0 && full && q.x() > xA_)
            addLabel(q.x() + Round(1.5 * C_), q.y() + Round(1.5 * C_), RoundToIntText(hour),
                     hours_.temporal ? kTemporal : kHour);
        previous = q;
    }
}

void QuadrantDial::traceWholeYear(double t, int hour, bool full) {
    QPointF previous;
    bool first = true;
    for (int D : SampleDays(DateAxis{E_, F_})) {
        const double h = altitude(D, t);
        const QPointF q = point(h, wholeYearRadius(D));
        if (!first && h > -2 && onQuadrant(previous) && onQuadrant(q)) {
            segment(previous, q);
        }
        previous = q;
        first = false;
    }
    if (full && previous.x() > xA_)
        addLabel(previous.x() + Round(1.5 * C_), previous.y() + Round(1.5 * C_), RoundToIntText(hour),
                 hours_.temporal ? kTemporal : kHour);
}

void QuadrantDial::traceHalfYear(double t, int hour, bool full, bool mirrored) {
    auto angle = [&](int day) {
        const double h = altitude(day, t);
        return mirrored ? 90 - h : h;
    };
    const int role = hours_.temporal ? kTemporal : kHour;
    // The labelled end on the outer circle.
    const double endAngle = angle(s_.outerLineArrangement ? G_ : december21_);
    const QPointF end = point(endAngle, R_);
    if (full && end.x() > xA_) {
        if (!mirrored) {
            addLabel(end.x() + Round(1.5 * C_), end.y() + Round(1.5 * C_), RoundToIntText(hour), role);
        } else {
            const double y = CosDeg(endAngle) < 0.4 ? end.y() : end.y() + 0.35 * B_;
            addLabel(end.x() + Round(3.5 * C_), y, RoundToIntText(hour), role);
        }
    }
    QPointF previous = s_.outerLineArrangement ? end : point(angle(G_), R_ / 2);
    const int year = s_.referenceYear;
    int lastDay = G_;
    for (int m = 6; m <= 12; ++m) {
        for (int d = 2; d <= 28; d += 2) {
            const int D = std::min(DayOfYear(year, m, d), december21_);
            // Only the days after the solstice, each once (the December steps stop at the 21st).
            if (D <= lastDay) continue;
            lastDay = D;
            const double h = angle(D);
            const QPointF q = point(h, halfYearRadius(D));
            if (h > -2 && onQuadrant(previous) && onQuadrant(q)) {
                segment(previous, q);
            }
            previous = q;
        }
    }
}

void QuadrantDial::labelLineEnd(bool full, int hour) {
    // A line whose labelled end lies beyond the edges (evening hours in winter) gets its
    // number where it leaves the quadrant, so that no hour line stays unnamed.
    if (!full || labelled_ || !drawnAny_) return;
    addLabel(lastDrawn_.x() + Round(1.5 * C_), lastDrawn_.y() - Round(0.5 * p_.textHeight()), RoundToIntText(hour),
             hours_.temporal ? kTemporal : kHour);
}

void QuadrantDial::addLabel(double x, double y, const QString& text, int role) {
    labelled_ = true;
    // Morning and afternoon hours of one apparent-time altitude end at one point: one label
    // "10/14" instead of two numbers printed over each other.
    const double near = 0.2 * p_.textHeight();
    for (Label& l : labels_) {
        if (l.role == role && std::abs(l.x - x) < near && std::abs(l.y - y) < near) {
            l.text += QLatin1Char('/') + text;
            return;
        }
    }
    labels_.push_back({x, y, text, role});
}

}  // namespace

PlanarDialResult DrawQuadrantDial(const DialState& state, const PlanarDialRequest& request, DialPainter& painter,
                                  UserDialogs&) {
    QuadrantDial dial(state, request, painter);
    PlanarDialResult result;
    result.zoomFactor = state.zoomFactor;
    result.drawn = dial.run();
    return result;
}

}  // namespace zorva
