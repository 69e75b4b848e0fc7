#include "dials/quadrant_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "dials/dial_context.h"
#include "dials/dial_painter.h"
#include "dials/plot_painter.h"
#include "dials/quadrant_family.h"
#include "dials/quadrant_geometry.h"
#include "plot/plot_stream.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QPointF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorva {
namespace {

using namespace quadrant_role;

constexpr Rgb kScaleGrey = 0xDFDFDF;
const QString kArial = QStringLiteral("Arial");

// Half to even, as the drawing's integer positions are rounded.
double Round(double x) { return std::nearbyint(x); }

// The Gunter quadrant keeps the outermost date circle this many millimetres inside the
// limb, room for the hour numbers between it and the degree scale.
constexpr double kGunterLimbMarginMm = 16.0;

class QuadrantDial {
public:
    QuadrantDial(const DialState& s, const DialRequest& r, DialPainter& p)
        : s_(s), p_(p), target_(r.target), wide_(r.wideScreen), W_(r.clientWidth), H_(r.clientHeight),
          hours_(HoursOf(s)), sun_(s), numbers_(QPointF()) {}

    bool run();
    // What the user of the quadrant aimed at the sun sees: the plumb line hanging from the
    // apex at the sun's altitude, and the point where it crosses the day's date circle.
    CastShadow castShadow(const DialContext& c, const ShadowMoment& moment);

private:
    static QuadrantHours HoursOf(const DialState& s) {
        // The Gunter quadrant reads the site's own apparent time: its morning and afternoon
        // lines coincide, so a range round noon is kept whole.
        if (s.quadrantDateScale == 2 && s.timeSystem == 1) {
            DialState local = s;
            local.timeSystem = 0;
            return QuadrantHoursOf(local);
        }
        return QuadrantHoursOf(s);
    }
    bool screen() const { return target_ == DrawTarget::Screen; }
    // A length in printer units (0.1 mm) for the page or the plot (four times as many units).
    double printed(double units) const { return target_ == DrawTarget::Plot ? 4 * units : units; }
    void setFont(double height) {
        fontHeight_ = height;
        p_.setFont(kArial, height);
    }
    QString lbl(int n) const { return label(n, s_.language); }
    bool refusesTemporalHours() const { return std::abs(s_.latitude) > 65 && hours_.temporal; }
    bool gunter() const { return s_.quadrantDateScale == 2; }
    void setUp();
    void drawRefusal();
    void drawOutline();
    void drawTexts();
    void drawDegreeScale(double a);
    void drawWholeYearCircles();
    void drawHalfYearCircles();
    void drawZodiacCircles(double (QuadrantDial::*radius)(double) const);
    void drawEcliptic();
    void drawHourLines();
    void traceDeclinations(double t, int hour, bool full);
    void traceGunter(double t, int hour, bool full);
    void traceWholeYear(double t, int hour, bool full);
    void traceHalfYear(double t, int hour, bool full, bool mirrored);
    void addLabel(double x, double y, const QString& text, int role) {
        labelled_ = true;
        numbers_.add(p_, x, y, text, role);
    }
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
    int hourRole() const { return hours_.temporal ? kTemporal : kHour; }

    QPointF point(double angle, double N) const {
        return {xA_ + Round(N * SinDeg(angle)), Round(N * CosDeg(angle) + yA_)};
    }
    QPointF exactPoint(double angle, double N) const { return {xA_ + N * SinDeg(angle), yA_ + N * CosDeg(angle)}; }
    bool onQuadrant(const QPointF& q) const { return q.x() >= xA_ && q.y() >= yA_; }
    // Radius of a declination on the zodiac scale: the solstices on R / 2 and on the rim,
    // the summer solstice inside or outside as the calendar band has 21 June.
    double zodiacRadius(double delta) const {
        const double fromWinter = (delta + zodiac_.obliquity) / (2 * zodiac_.obliquity);
        return R_ / 2 * (1 + (s_.outerLineArrangement ? fromWinter : 1 - fromWinter));
    }
    // Radius of a declination on the Gunter scale, projected from the pole of the site's
    // hemisphere (a southern quadrant is the northern one for the other pole).
    double gunterRadius(double delta) const { return Req_ * GunterDateRadius(hemisphere_ * delta); }
    // Radius of a day on the whole-year band: 1 January on R / 2, 31 December on R.
    double wholeYearRadius(int day) const { return Round((double(day - E_) / (F_ - E_) + 1) * R_ / 2); }
    // Radius of a day (after 21 June) on the half-year band.
    double halfYearRadius(int day) const {
        const double q = double(day - G_) / 183;
        return s_.outerLineArrangement ? Round(R_ * 0.5 * (2 - q)) : Round(R_ * 0.5 * (q + 1));
    }

    const DialState& s_;
    DialPainter& p_;
    DrawTarget target_;
    bool wide_;
    double W_, H_;
    double ox_ = 0, oy_ = 0;
    double R_ = 0, C_ = 0, B_ = 0, L_ = 0, xA_ = 0, yA_ = 0;
    double Req_ = 0;  // radius of the equator on the Gunter scale
    double hemisphere_ = 1;
    double fontHeight_ = 0;
    int E_ = 1, F_ = 365, G_ = 172, december21_ = 355;
    QuadrantHours hours_;
    QuadrantSun sun_;
    HourNumbers numbers_;
    ZodiacTable zodiac_;
    QPointF lastDrawn_;
    bool drawnAny_ = false, labelled_ = false;
};

void QuadrantDial::setUp() {
    // The quadrant takes the corner of the area on both targets.
    ox_ = 0;
    oy_ = 0;
    const int size = std::clamp(s_.quadrantSize, 1, 100000);
    R_ = screen() ? Round(size * H_ / 210) : printed(10.0 * size);
    C_ = R_ / size;
    B_ = Round(R_ / 30);
    L_ = screen() ? double(static_cast<long>(B_) / 2) : Round(0.2 * B_);
    xA_ = ox_ + static_cast<long>(W_) / 4;
    yA_ = oy_ + Round(10 * C_);
    numbers_ = HourNumbers(QPointF(xA_, yA_), QRectF(ox_, oy_, W_, H_));
    const int year = s_.referenceYear;
    E_ = 1;
    F_ = DayOfYear(year, 12, 31);
    G_ = DayOfYear(year, 6, 21);
    december21_ = DayOfYear(year, 12, 21);
    if (s_.quadrantDateScale != 0) zodiac_ = ZodiacDeclinations(year);
    hemisphere_ = s_.latitude < 0 ? -1.0 : 1.0;
    if (gunter()) Req_ = (R_ - kGunterLimbMarginMm * C_) / GunterDateRadius(-zodiac_.obliquity);
}

bool QuadrantDial::run() {
    setUp();
    p_.setPenWidth(1);
    p_.setPenRole(kFrame);
    p_.rectangle(ox_, oy_, ox_ + W_ - 2, oy_ + H_ - 2);
    setFont(screen() ? 14 : printed(35));
    p_.setTextRole(kText);
    if (refusesTemporalHours()) {
        drawRefusal();
        return false;
    }
    drawOutline();
    drawTexts();
    p_.setPenWidth(LineWidthOf(s_));
    switch (s_.quadrantDateScale) {
        case 0:
            drawDegreeScale(Round(R_ / 2 - 2 * C_));
            if (s_.wholeYearBand) drawWholeYearCircles();
            else drawHalfYearCircles();
            break;
        case 2:
            // The Gunter quadrant carries its degrees on the limb.
            drawDegreeScale(Round(R_));
            drawZodiacCircles(&QuadrantDial::gunterRadius);
            drawEcliptic();
            break;
        default:
            drawDegreeScale(Round(R_ / 2 - 2 * C_));
            drawZodiacCircles(&QuadrantDial::zodiacRadius);
            break;
    }
    drawHourLines();
    p_.setPenWidth(1);
    return true;
}

CastShadow QuadrantDial::castShadow(const DialContext& c, const ShadowMoment& moment) {
    setUp();
    if (refusesTemporalHours()) return {};
    CastShadow out = SunlitShadow(c, moment, QRectF(ox_, oy_, W_ - 2, H_ - 2));
    if (out.status == ShadowStatus::SunDown) return out;
    const double h = out.sun.altitude, delta = out.sun.declination;
    std::optional<double> radius;
    switch (s_.quadrantDateScale) {
        case 0: {
            const int day = moment.dayOfYear();
            if (s_.wholeYearBand) {
                radius = wholeYearRadius(std::clamp(day, E_, F_));
            } else if (const auto offset = AxisOffsetOfDay(s_.referenceYear, DateAxis{G_, december21_}, day)) {
                // The rising half reads on the circle of the same noon declination.
                const double q = *offset / 183;
                radius = R_ * 0.5 * (s_.outerLineArrangement ? 2 - q : q + 1);
            }
            break;
        }
        case 2: radius = gunterRadius(delta); break;
        default: radius = zodiacRadius(delta); break;
    }
    if (!radius) return out;
    out.status = ShadowStatus::Cast;
    out.mark = ShadowMark::PlumbLine;
    out.nodus = exactPoint(h, *radius);
    out.gnomon.push_back({QPointF(xA_, yA_), exactPoint(h, R_)});
    return out;
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
    setFont(screen() ? (wide_ ? 28 : 18) : printed(80));
    const double x = Round(10 * C_) + W_ / 2 + ox_;
    p_.text(x, oy_ + H_ - Round(22 * C_), gunter() ? QStringLiteral("Gunter - Quadrant") : lbl(140));

    setFont(screen() ? (wide_ ? 15 : 12) : printed(30));
    const double th = p_.textHeight();
    p_.text(x, oy_ + H_ - Round(17 * C_ - 2 * th), QuadrantSiteLine(s_));

    QString time = s_.timeSystem == 1 && !gunter() ? lbl(17) : lbl(16);
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
        numbers_.writeFixed(p_, QString::number(10 * i), xA_ + r * SinDeg(w), yA_ + r * CosDeg(w), 10.0 * i);
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
                numbers_.writeFixed(p_, QStringLiteral("1/%1").arg(m), xA_ - L_ - Round(0.8 * B_), yA_ + N - Round(0.25 * B_));
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
                numbers_.writeFixed(p_, QStringLiteral("1/%1").arg(13 - m), x, yA_ - th);
            }
            p_.setTextRole(kMonthFirst);
            numbers_.writeFixed(p_, QStringLiteral("1/%1").arg(m), xA_ - L_ - Round(0.8 * B_), yA_ + N - Round(0.25 * B_));
        }
    }
}

void QuadrantDial::drawZodiacCircles(double (QuadrantDial::*radius)(double) const) {
    // Every 10 degrees of the sun's longitude from the summer to the winter solstice; the
    // entries into the signs in colour 5. A declination serves both halves of the year.
    for (int i = 0; i <= 36; i += 2) {
        p_.setPenRole(i % 6 == 0 ? kMonthFirst : kOtherDates);
        p_.arc(xA_, yA_, (this->*radius)(zodiac_.byLongitude[static_cast<size_t>(i)]), -90, 90);
    }
    // The signs between their circles: those of the falling half (Cancer .. Sagittarius)
    // beside the downward edge, those of the rising half (Gemini .. Capricorn) above the
    // upper edge, as the months of the calendar band.
    const double th = p_.textHeight();
    for (int k = 0; k < 6; ++k) {
        const double mid = ((this->*radius)(zodiac_.byLongitude[static_cast<size_t>(6 * k)]) +
                            (this->*radius)(zodiac_.byLongitude[static_cast<size_t>(6 * k + 6)])) / 2;
        const QString falling(QChar(0x2648 + 3 + k));
        const QString rising(QChar(0x2648 + (14 - k) % 12));
        p_.setTextRole(kMonthFirst);
        numbers_.writeFixed(p_, falling, xA_ - L_ - Round(0.8 * B_), yA_ + mid - th / 2);
        p_.setTextRole(kFrame);
        numbers_.writeFixed(p_, rising, xA_ + mid - p_.textWidth(rising) / 2, yA_ - th);
    }
    p_.setTextRole(kText);
}

void QuadrantDial::drawEcliptic() {
    // The ecliptic at (radius of its declination, right ascension): its northern half from
    // the equinox on the edge of altitude 0 to the solstice on the other edge, the southern
    // half folded over it. Marks every 30 degrees of longitude, at the entries into the signs.
    const double eps = zodiac_.obliquity;
    p_.setPenRole(kFrame);
    for (double start : {0.0, 180.0}) {
        std::vector<QPointF> arc;
        for (int k = 0; k <= 45; ++k) {
            const double lambda = start + 2.0 * k;
            arc.push_back(exactPoint(EclipticFoldedRightAscension(lambda, eps), gunterRadius(EclipticDeclination(lambda, eps))));
        }
        p_.polyline(arc);
        for (double lambda = start + 30; lambda < start + 90; lambda += 30) {
            const double alpha = EclipticFoldedRightAscension(lambda, eps);
            const double r = gunterRadius(EclipticDeclination(lambda, eps));
            const QPointF a = exactPoint(alpha, r - C_), b = exactPoint(alpha, r + C_);
            p_.moveTo(a.x(), a.y());
            p_.lineTo(b.x(), b.y());
        }
    }
}

void QuadrantDial::drawHourLines() {
    const QuadrantHours& h = hours_;
    ForEachHourLine(h, [&](double t, int n, bool full) {
        p_.setPenRole(full ? hourRole() : kSubdivision);
        beginLine();
        if (gunter()) {
            traceGunter(t, n, full);
        } else if (s_.quadrantDateScale == 1) {
            traceDeclinations(t, n, full);
        } else if (s_.wholeYearBand) {
            traceWholeYear(t, n, full);
        } else {
            traceHalfYear(t, n, full, false);
            labelLineEnd(full, n);
            // Mean noon a second time, mirrored about the bisector of the quadrant.
            if (t == 12 && s_.constructWithEoT && !h.temporal && h.first < 12 && h.last > 12)
                traceHalfYear(t, n, full, true);
            return;
        }
        labelLineEnd(full, n);
    });
    numbers_.write(p_);
    p_.setTextRole(kText);
}

void QuadrantDial::traceDeclinations(double t, int hour, bool full) {
    const double phi = s_.latitude;
    const double shift = s_.timeSystem == 1 ? s_.longitude - s_.zoneMeridian : 0.0;
    QPointF previous;
    // The hour's number at the line's end on the rim.
    const int rimEnd = s_.outerLineArrangement ? 0 : 36;
    for (int i = 0; i <= 36; ++i) {
        const double delta = zodiac_.byLongitude[static_cast<size_t>(i)];
        const double hourAngle = hours_.temporal ? TemporalHourAngle(phi, delta, t) : 15 * (t - 12) - shift;
        const double h = AltitudeAt(phi, delta, hourAngle);
        const QPointF q = point(h, Round(zodiacRadius(delta)));
        if (i > 0 && h > -2 && onQuadrant(previous) && onQuadrant(q)) segment(previous, q);
        if (i == rimEnd && full && q.x() > xA_)
            addLabel(q.x() + Round(1.5 * C_), q.y() + Round(1.5 * C_), RoundToIntText(hour), hourRole());
        previous = q;
    }
}

void QuadrantDial::traceGunter(double t, int hour, bool full) {
    // From the summer tropic inside to the winter tropic next to the limb, every half degree
    // of declination; the number stands at the winter end. Apparent time of the site: the
    // scale is one of declination, which serves every date of that declination.
    const double phi = s_.latitude, eps = zodiac_.obliquity;
    constexpr int kSteps = 96;
    QPointF previous;
    for (int i = 0; i <= kSteps; ++i) {
        const double delta = hemisphere_ * eps * (1.0 - 2.0 * i / kSteps);
        const double hourAngle = hours_.temporal ? TemporalHourAngle(phi, delta, t) : 15 * (t - 12);
        const double h = AltitudeAt(phi, delta, hourAngle);
        const QPointF q = exactPoint(h, gunterRadius(delta));
        if (i > 0 && h >= 0 && onQuadrant(previous) && onQuadrant(q)) segment(previous, q);
        previous = q;
    }
    if (full && previous.x() > xA_)
        addLabel(previous.x() + Round(1.5 * C_), previous.y() + Round(1.5 * C_), RoundToIntText(hour), hourRole());
}

void QuadrantDial::traceWholeYear(double t, int hour, bool full) {
    QPointF previous;
    bool first = true;
    for (int D : SampleDays(DateAxis{E_, F_})) {
        const double h = sun_.altitude(D, t);
        const QPointF q = point(h, wholeYearRadius(D));
        if (!first && h > -2 && onQuadrant(previous) && onQuadrant(q)) segment(previous, q);
        previous = q;
        first = false;
    }
    if (full && previous.x() > xA_)
        addLabel(previous.x() + Round(1.5 * C_), previous.y() + Round(1.5 * C_), RoundToIntText(hour), hourRole());
}

void QuadrantDial::traceHalfYear(double t, int hour, bool full, bool mirrored) {
    auto angle = [&](int day) {
        const double h = sun_.altitude(day, t);
        return mirrored ? 90 - h : h;
    };
    // The labelled end on the outer circle.
    const double endAngle = angle(s_.outerLineArrangement ? G_ : december21_);
    const QPointF end = point(endAngle, R_);
    if (full && end.x() > xA_) {
        if (!mirrored) {
            addLabel(end.x() + Round(1.5 * C_), end.y() + Round(1.5 * C_), RoundToIntText(hour), hourRole());
        } else {
            const double y = CosDeg(endAngle) < 0.4 ? end.y() : end.y() + 0.35 * B_;
            addLabel(end.x() + Round(3.5 * C_), y, RoundToIntText(hour), hourRole());
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
            if (h > -2 && onQuadrant(previous) && onQuadrant(q)) segment(previous, q);
            previous = q;
        }
    }
}

void QuadrantDial::labelLineEnd(bool full, int hour) {
    // A line whose labelled end lies beyond the edges (evening hours in winter) gets its
    // number where it leaves the quadrant, so that no hour line stays unnamed.
    if (!full || labelled_ || !drawnAny_) return;
    addLabel(lastDrawn_.x() + Round(1.5 * C_), lastDrawn_.y() - Round(0.5 * p_.textHeight()), RoundToIntText(hour),
             hourRole());
}

DialResult DrawQuadrantDial(const DialContext& context, const DialRequest& request, DialPainter& painter,
                            UserDialogs&) {
    const DialState& state = context.state;
    QuadrantDial dial(state, request, painter);
    DialResult result;
    result.zoomFactor = state.zoomFactor;
    result.drawn = dial.run();
    return result;
}

CastShadow QuadrantDialShadow(const DialContext& context, const DialRequest& request, const ShadowMoment& moment,
                              DialPainter& measure) {
    return QuadrantDial(context.state, request, measure).castShadow(context, moment);
}

bool WriteQuadrantDialPlot(const DialContext& context, PlotStream& stream, UserDialogs& dialogs) {
    const DialState& state = context.state;
    if (state.timeSystem == 2 && std::abs(state.latitude) > 65) {
        dialogs.inform(caption(CaptionKind::Warning, state.language),
                       PolarTemporalLine1(state) + QStringLiteral("\n\r") + PolarTemporalLine2(state), Icon::Warning);
        return false;
    }
    stream.writeShortHead(ShortHead::SlowPen);
    const DialRequest request = PlotRequest(kSheetWidth, kSheetHeight);
    {
        PlotPainter plot(stream, context.lineWidth, -1);
        // The left quadrant is the right one mirrored about the middle of the sheet; its
        // texts still read from left to right.
        MirrorPainter mirror(plot, kSheetWidth / 2.0);
        DialPainter& painter = state.mirrorLeftQuadrant ? static_cast<DialPainter&>(mirror) : plot;
        QuadrantDial(state, request, painter).run();
        DrawPlotShadow(context, request, painter);
        plot.flush();
    }
    stream.writeEnd(PlotEnd::PenAway);
    return true;
}

}  // namespace

// The calendar and zodiac quadrants plot at 40 units per millimetre only, the Gunter
// quadrant (date scale 2) also at 25-fold resolution for DXF.
constinit const DialConstruction kQuadrantDial{
    .draw = DrawQuadrantDial, .writePlot = WriteQuadrantDialPlot, .fixedResolution = true, .shadow = QuadrantDialShadow};
constinit const DialConstruction kGunterQuadrant{
    .draw = DrawQuadrantDial, .writePlot = WriteQuadrantDialPlot, .shadow = QuadrantDialShadow};

}  // namespace zorva
