#include "dials/habermel_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "dials/altitude_dial_common.h"
#include "dials/dial_painter.h"
#include "dials/plot_painter.h"
#include "dials/quadrant_family.h"
#include "dials/quadrant_geometry.h"
#include "plot/plot_stream.h"
#include "text/bilingual.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorva {
namespace {

using namespace quadrant_role;

const QString kArial = QStringLiteral("Arial");

// The plot lays the dial out on this area (plotter units at p = 1); the head's frame and
// window stay those of the standard sheet.
constexpr double kPlotAreaWidth = 16400;
constexpr double kPlotAreaHeight = 10400;

// A noon shadow computed from the day's declination may reach a hair beyond the rim that
// was laid out from the same declination at another instant; up to this much it is the rim.
constexpr double kRimToleranceMm = 0.2;

double ObliquityOf(const DialState& s) { return ZodiacDeclinations(s.referenceYear).obliquity; }

// "Stundenlinien zeigen  WOZ ohne Zeitgl. (WOZ)" and its kin, as the quadrant words them; the
// calendar of these dials carries mean time too.
QString TimeLine(const DialState& s) {
    const Language l = s.language;
    QString time = s.timeSystem == 1 ? label(17, l) : label(16, l);
    if (s.timeSystem == 2) {
        time = label(18, l);
    } else if (s.constructWithEoT) {
        time += QLatin1Char(' ') + label(141, l);
    } else {
        time += QLatin1Char(' ') + label(142, l);
        if (s.timeSystem != 1) time += QStringLiteral(" (WOZ)");
    }
    return label(143, l) + time.left(60);
}

QString GnomonLine(const DialState& s, double diameter) {
    return Tr(s.language, "Zeigerlänge = ", "Gnomon length = ") + RealToText(5, 1, s.quadrantGnomon) +
           Tr(s.language, " mm, Durchmesser = ", " mm, diameter = ") + RealToText(5, 1, diameter) + QStringLiteral(" mm");
}

// The ray of a day for the plate of `s` at the obliquity `eps`.
HabermelRay RayOfDay(const DialState& s, int day, double eps) {
    const double h = s.quadrantGnomon;
    const int year = s.referenceYear;
    HabermelRay r;
    if (s.quadrantKind == 2) {
        r.angle = HabermelKind2DateAngle(day, DayOfYear(year, 6, 21), DayOfYear(year, 12, 31));
        r.rimMm = (HabermelDiameter(2, h, s.latitude, eps) - 12) / 2;
        return r;
    }
    const HabermelDisc disc = HabermelKind1Disc(h, s.latitude, eps);
    const double theta = HabermelKind1DateAngle(disc, h, s.latitude, SolarDeclinationEoT(year, day).declination);
    // From June to December on the right of the solstice ray, from December to June on the left.
    const bool secondHalf = day >= DayOfYear(year, 6, 21) && day <= DayOfYear(year, 12, 21);
    r.angle = secondHalf ? theta : -theta;
    r.rimMm = HabermelKind1RimDistance(disc, theta);
    return r;
}

int HemisphereSummerSolstice(const DialState& s) {
    return s.latitude < 0 ? DayOfYear(s.referenceYear, 12, 21) : DayOfYear(s.referenceYear, 6, 21);
}

class HabermelDial {
public:
    HabermelDial(const DialState& s, const AltitudeDialArea& a, DialPainter& p)
        : s_(s), a_(a), p_(p), kind_(s.quadrantKind == 2 ? 2 : 1), h_(s.quadrantGnomon),
          eps_(ObliquityOf(s)), diameter_(HabermelDiameter(kind_, h_, s.latitude, eps_)),
          hours_(QuadrantHoursOf(s)), sun_(s), numbers_(QPointF()) {}

    bool run();
    double diameterMm() const { return diameter_; }
    // The plate hung facing the sun and turned to the day's ray: the gnomon's shadow from G
    // down that ray, h tan(altitude) long.
    CastShadow castShadow(const DialContext& c, const ShadowMoment& moment);

private:
    // Units of a millimetre: the screen shows 210 mm over the area's height, the page and
    // the plot are true to scale.
    double unitsPerMm() const { return a_.screen() ? a_.H / 210.0 : a_.plot() ? kPlotUnitsPerMm : 10.0; }
    double mm(double millimetres) const { return millimetres * k_; }
    int hourRole() const { return hours_.temporal ? kTemporal : kHour; }
    void setUp();
    void drawRefusal(const QString& reason);
    void drawPlate();
    void drawDateRays();
    void drawAltitudeScale();
    void drawHourLines();
    void traceHour(double t, int hour, bool full);
    void drawLegend();
    // The plate point of the shadow on day `day` for the sun at `altitude`; false where the
    // sun is down or the shadow leaves the plate.
    bool shadowPoint(int day, double altitude, QPointF& point) const;
    QPointF alongRay(double angle, double millimetres) const { return G_ + RayDirection(angle) * mm(millimetres); }

    const DialState& s_;
    AltitudeDialArea a_;
    DialPainter& p_;
    int kind_;
    double h_, eps_, diameter_;
    double k_ = 1;
    QPointF O_, G_;       // centre of the disc, foot of the gnomon
    double extentMm_ = 0;  // radius of the disc round its centre, labels included
    std::vector<HabermelRay> rays_;  // by day of year (index 0 unused)
    QuadrantHours hours_;
    QuadrantSun sun_;
    HourNumbers numbers_;
    int days_ = 365;
};

void HabermelDial::setUp() {
    k_ = unitsPerMm();
    const int year = s_.referenceYear;
    days_ = DayOfYear(year, 12, 31);
    rays_.assign(static_cast<size_t>(days_) + 1, {});
    for (int d = 1; d <= days_; ++d) rays_[static_cast<size_t>(d)] = RayOfDay(s_, d, eps_);
    double offset = 0;
    if (kind_ == 1) {
        const HabermelDisc disc = HabermelKind1Disc(h_, s_.latitude, eps_);
        offset = disc.offsetMm;
        extentMm_ = disc.radiusMm + 5;  // the month names outside the rim
    } else {
        extentMm_ = diameter_ / 2;
    }
    // The disc on the left half of the area, its texts to the right; the plot centres it on
    // the sheet below the title block.
    const double cx = a_.plot() ? a_.ox + a_.W / 2 : a_.ox + std::max(mm(extentMm_ + 5), 0.3 * a_.W);
    O_ = QPointF(cx, a_.oy + a_.H / 2);
    G_ = O_ - QPointF(0, mm(offset));
    numbers_ = HourNumbers(G_, QRectF(a_.ox, a_.oy, a_.W, a_.H));
}

CastShadow HabermelDial::castShadow(const DialContext& c, const ShadowMoment& moment) {
    if (!HabermelRefusal(s_).isEmpty()) return {};
    setUp();
    CastShadow out = SunlitShadow(c, moment, a_.plot() ? QRectF() : QRectF(a_.ox, a_.oy, a_.W - 2, a_.H - 2));
    if (out.status == ShadowStatus::SunDown) return out;
    QPointF tip;
    if (!shadowPoint(std::min(moment.dayOfYear(), days_), out.sun.altitude, tip)) return out;
    out.status = ShadowStatus::Cast;
    out.nodus = tip;
    out.gnomon.push_back({G_, tip});
    return out;
}

bool HabermelDial::run() {
    setUp();
    p_.setPenWidth(1);
    p_.setPenRole(kFrame);
    // The plot's head draws the sheet's frame.
    if (!a_.plot()) p_.rectangle(a_.ox, a_.oy, a_.ox + a_.W - 2, a_.oy + a_.H - 2);
    p_.setTextRole(kText);
    const QString refusal = HabermelRefusal(s_);
    if (!refusal.isEmpty()) {
        drawRefusal(refusal);
        return false;
    }
    drawPlate();
    p_.setFont(kArial, mm(2.8));
    drawDateRays();
    drawAltitudeScale();
    p_.setPenWidth(LineWidthOf(s_));
    drawHourLines();
    p_.setPenWidth(1);
    if (!a_.plot()) drawLegend();
    return true;
}

void HabermelDial::drawRefusal(const QString& reason) {
    p_.setFont(kArial, a_.screen() ? 21 : a_.size(21, 52));
    const double th = p_.textHeight();
    const qsizetype cut = reason.indexOf(QLatin1Char('\n'));
    const QString first = QString(cut < 0 ? reason : reason.left(cut)).remove(QLatin1Char('\r'));
    const QString second = cut < 0 ? QString() : reason.mid(cut + 1).remove(QLatin1Char('\r'));
    p_.text(a_.ox + a_.W / 10, a_.oy + a_.H / 2 - std::round(1.5 * th), first.trimmed());
    p_.text(a_.ox + a_.W / 10, a_.oy + a_.H / 2, second.trimmed());
    p_.text(a_.ox + a_.W / 3, a_.oy + a_.H / 5, title(kind_ == 2 ? 41 : 40, s_.language));
}

void HabermelDial::drawPlate() {
    p_.setPenRole(kFrame);
    if (kind_ == 1) {
        p_.circle(O_.x(), O_.y(), mm(HabermelKind1Disc(h_, s_.latitude, eps_).radiusMm));
    } else {
        const double longest = (diameter_ - 12) / 2;
        p_.circle(G_.x(), G_.y(), mm(longest));
        p_.circle(G_.x(), G_.y(), mm(longest + 6));
    }
    // The gnomon's foot.
    p_.circle(G_.x(), G_.y(), mm(0.8));
    p_.moveTo(G_.x() - mm(2), G_.y());
    p_.lineTo(G_.x() + mm(2), G_.y());
    p_.moveTo(G_.x(), G_.y() - mm(2));
    p_.lineTo(G_.x(), G_.y() + mm(2));
}

void HabermelDial::drawDateRays() {
    // The first of each month as a ray from G to the rim with its "1/m" beyond the rim; the
    // 11th and 21st as ticks at the rim; the solstices as whole rays.
    const int year = s_.referenceYear;
    for (int m = 1; m <= 12; ++m) {
        for (int d : {1, 11, 21}) {
            const HabermelRay& r = rays_[static_cast<size_t>(DayOfYear(year, m, d))];
            const bool solstice = d == 21 && (m == 6 || m == 12);
            const bool first = d == 1;
            p_.setPenRole(first ? kMonthFirst : kOtherDates);
            const QPointF from = first || solstice ? alongRay(r.angle, 1.0) : alongRay(r.angle, std::max(0.0, r.rimMm - 2.0));
            const QPointF to = alongRay(r.angle, r.rimMm);
            p_.moveTo(from.x(), from.y());
            p_.lineTo(to.x(), to.y());
            if (first) {
                // Beyond the rim; where the rays of two months lie close, further out.
                p_.setTextRole(kMonthFirst);
                const QString text = QStringLiteral("1/%1").arg(m);
                const QSizeF size(p_.textWidth(text), p_.textHeight());
                std::vector<QPointF> places;
                for (double out : {2.8, 2.8 + 0.5 * size.width() / mm(1), 2.8 + size.width() / mm(1)})
                    places.push_back(alongRay(r.angle, r.rimMm + out) - QPointF(size.width() / 2, size.height() / 2));
                numbers_.writeFree(p_, text, places);
            }
        }
    }
    p_.setTextRole(kText);
}

void HabermelDial::drawAltitudeScale() {
    // Shadow lengths of every 5 degrees of altitude down the ray below G, numbered every 10
    // degrees on its left: the dial doubles as an altimeter.
    const double room = kind_ == 1 ? HabermelKind1RimDistance(HabermelKind1Disc(h_, s_.latitude, eps_), 0.0)
                                   : (diameter_ - 12) / 2;
    p_.setPenRole(kFrame);
    p_.setTextRole(kFrame);
    const double th = p_.textHeight();
    double lastNumber = -1e300;
    for (int alt = 5; alt < 90; alt += 5) {
        const double r = h_ * TanDeg(alt);
        if (r > room - 1.0) break;
        const double y = G_.y() + mm(r);
        const double tick = alt % 10 == 0 ? 2.5 : 1.5;
        p_.moveTo(G_.x() - mm(tick), y);
        p_.lineTo(G_.x(), y);
        // Numbers where they do not crowd the gnomon's foot or the number above (near the
        // foot a short gnomon puts the tens closer than a line of text).
        if (alt % 10 == 0 && mm(r) > 1.2 * th && y - lastNumber > 1.2 * th) {
            const QString text = QString::number(alt);
            numbers_.writeFixed(p_, text, G_.x() - mm(tick + 0.5) - p_.textWidth(text), y - th / 2);
            lastNumber = y;
        }
    }
    p_.setTextRole(kText);
}

bool HabermelDial::shadowPoint(int day, double altitude, QPointF& point) const {
    if (!(altitude > 0.0) || day < 1 || day > days_) return false;
    const HabermelRay& r = rays_[static_cast<size_t>(day)];
    double length = h_ * TanDeg(altitude);
    if (length > r.rimMm + kRimToleranceMm) return false;
    length = std::min(length, r.rimMm);
    point = alongRay(r.angle, length);
    return true;
}

void HabermelDial::drawHourLines() {
    ForEachHourLine(hours_, [&](double t, int n, bool full) {
        p_.setPenRole(full ? hourRole() : kSubdivision);
        traceHour(t, n, full);
    });
    p_.setFont(kArial, a_.screen() ? (a_.wideScreen ? 14 : 12) : a_.size(12, 28));
    numbers_.write(p_);
    p_.setTextRole(kText);
}

void HabermelDial::traceHour(double t, int hour, bool full) {
    // Every day of the year and round to the first again: the line closes on itself.
    std::vector<QPointF> run;
    QPointF last;
    bool any = false;
    auto flush = [&] {
        if (run.size() > 1) p_.polyline(run);
        run.clear();
    };
    const int summer = HemisphereSummerSolstice(s_);
    bool labelled = false;
    for (int i = 1; i <= days_ + 1; ++i) {
        const int day = i > days_ ? 1 : i;
        QPointF q;
        if (shadowPoint(day, sun_.altitude(day, t), q)) {
            run.push_back(q);
            last = q;
            any = true;
            if (full && day == summer && i <= days_) {
                numbers_.add(p_, q.x() + mm(1.5), q.y() - mm(1.4), RoundToIntText(hour), hourRole());
                labelled = true;
            }
        } else {
            flush();
        }
    }
    flush();
    // A line that misses the summer solstice (the sun set or the shadow left the plate) is
    // numbered where it was last drawn.
    if (full && !labelled && any) numbers_.add(p_, last.x() + mm(1.5), last.y() - mm(1.4), RoundToIntText(hour), hourRole());
}

void HabermelDial::drawLegend() {
    const Language l = s_.language;
    const double x = O_.x() + mm(extentMm_ + 8);
    const double room = a_.ox + a_.W - x - mm(3);
    if (room <= 0) return;
    // A text too long for the room beside the disc is set smaller.
    auto fitted = [&](const QString& text, double height) {
        p_.setFont(kArial, height);
        const double w = p_.textWidth(text);
        if (w > room) p_.setFont(kArial, std::max(0.5 * height, height * room / w));
    };
    double y = a_.oy + 0.08 * a_.H;
    p_.setTextRole(kText);
    const QString heading = title(kind_ == 2 ? 41 : 40, l);
    fitted(heading, a_.screen() ? (a_.wideScreen ? 24 : 18) : 50);
    p_.text(x, y, heading);
    y += 1.6 * p_.textHeight();

    const double normal = a_.screen() ? (a_.wideScreen ? 15 : 12) : 30;
    for (const QString& line : {QuadrantSiteLine(s_), TimeLine(s_), GnomonLine(s_, diameter_)}) {
        fitted(line, normal);
        p_.text(x, y, line);
        y += 1.3 * p_.textHeight();
    }
    // The gnomon to scale, so that a printout can be checked with a rule.
    if (mm(h_) <= room) {
        y += 0.5 * p_.textHeight();
        p_.setPenRole(kText);
        p_.moveTo(x, y);
        p_.lineTo(x + mm(h_), y);
        for (double end : {x, x + mm(h_)}) {
            p_.moveTo(end, y - mm(1));
            p_.lineTo(end, y + mm(1));
        }
    }
}

}  // namespace

QString HabermelRefusal(const DialState& s) {
    const int kind = s.quadrantKind == 2 ? 2 : 1;
    const double d = HabermelDiameter(kind, s.quadrantGnomon, s.latitude, ObliquityOf(s));
    if (s.timeSystem == 2 && std::abs(s.latitude) > 65) return message(64, s.language);
    if (std::isnan(d))
        return Tr(s.language, "Die Sonne steht am Mittag der Wintersonnenwende unter dem Horizont:\r\n"
                     "diese Sonnenuhr ist in dieser geogr. Breite nicht möglich.",
                  "At noon of the winter solstice the sun is below the horizon:\r\n"
                  "this dial is not possible at this latitude.");
    if (std::isinf(d))
        return Tr(s.language, "Die Mittagssonne erreicht den Zenit, ihr Schatten wird unbegrenzt lang:\r\n"
                     "diese Sonnenuhr ist in dieser geogr. Breite nicht möglich.",
                  "The noon sun reaches the zenith, its shadow grows without limit:\r\n"
                  "this dial is not possible at this latitude.");
    if (d > kHabermelMaxDiameter)
        return s.english() ? QStringLiteral(" Gnomon is too high!  Allowed Maximum\r\n for resulting dial diameter is 190 mm. ")
                           : QStringLiteral(" Zeiger der Sonnenuhr zu groß!  Höchstwert für  \r\n den resultierenden Kreisdurchmesser ist 190 mm. ");
    if (d < kHabermelMinDiameter)
        return Tr(s.language, "Durchmesser der Sonnenuhr = ", "Dial diameter = ") + RealToText(5, 1, d) +
               Tr(s.language, " mm ist zu klein (Mindestwert 20 mm).\r\nZeigerlänge mit <F7> ändern.",
                  " mm is too small (minimum 20 mm).\r\nChange the gnomon length with <F7>.");
    return {};
}

HabermelRay HabermelRayOfDay(const DialState& s, int day) { return RayOfDay(s, day, ObliquityOf(s)); }

namespace {

DialResult DrawHabermelDial(const DialContext& context, const DialRequest& request, DialPainter& painter,
                            UserDialogs&) {
    const DialState& state = context.state;
    HabermelDial dial(state, AreaOfRequest(request), painter);
    DialResult result;
    result.zoomFactor = state.zoomFactor;
    result.drawn = dial.run();
    result.gnomonMm = state.quadrantGnomon;
    return result;
}

CastShadow HabermelDialShadow(const DialContext& context, const DialRequest& request, const ShadowMoment& moment,
                              DialPainter& measure) {
    return HabermelDial(context.state, AreaOfRequest(request), measure).castShadow(context, moment);
}

bool WriteHabermelPlot(const DialContext& context, PlotStream& stream, UserDialogs& dialogs) {
    const DialState& state = context.state;
    const QString refusal = HabermelRefusal(state);
    if (!refusal.isEmpty()) {
        dialogs.inform(caption(CaptionKind::Warning, state.language), refusal, Icon::Warning);
        return false;
    }
    stream.writeStandardHead();
    stream.WritePlot(QStringLiteral(";PU;SI ") + stream.size(0.18) + QLatin1Char(',') + stream.size(0.27));
    AltitudeDialArea area;
    area.target = DrawTarget::Plot;
    area.W = kPlotAreaWidth;
    area.H = kPlotAreaHeight;
    {
        PlotPainter painter(stream, context.lineWidth, 4);
        HabermelDial(state, area, painter).run();
        if (const ShadowMoment* shadow = PlotShadowScope::current()) {
            MeasuringPainter measure(&painter);
            DrawCastShadow(painter, HabermelDial(state, area, measure).castShadow(context, *shadow),
                           kPlotUnitsPerMm);
        }
        painter.flush();
    }
    const int kind = state.quadrantKind == 2 ? 2 : 1;
    const double diameter = HabermelDiameter(kind, state.quadrantGnomon, state.latitude, ObliquityOf(state));
    // Plotters know no umlauts.
    QStringList lines{QuadrantSiteLine(state), TimeLine(state), GnomonLine(state, diameter)};
    for (QString& line : lines) line = TransliterateUmlauts(line);
    stream.titleBlock(0.28, 0.42, TransliterateUmlauts(title(kind == 2 ? 41 : 40, state.language)), 0.16, 0.24, lines);
    stream.writeEnd(PlotEnd::WindowReset);
    return true;
}

}  // namespace

constinit const DialConstruction kHabermelDial{
    .draw = DrawHabermelDial, .writePlot = WriteHabermelPlot, .shadow = HabermelDialShadow};

}  // namespace zorva
