#include "dials/altitude_dial_common.h"
#include "dials/month_labels.h"
#include "dials/plot_painter.h"
#include "text/month_names.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/rise_set.h"
#include "astro/solar_ephemeris.h"
#include "astro/sun_position.h"
#include "dials/dial_painter.h"
#include "dials/plot_painter.h"
#include "plot/plot_stream.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <algorithm>
#include <cmath>

namespace zorva {

AltitudeDialArea AreaOfRequest(const DialRequest& r) {
    AltitudeDialArea a;
    a.target = r.target;
    a.W = r.clientWidth + 1;
    a.H = r.clientHeight + 1;
    if (r.target != DrawTarget::Screen) {
        a.ox = r.offsetX;
        a.oy = r.offsetY;
    }
    a.wideScreen = r.wideScreen;
    return a;
}

PlateFrame PlateFrameOf(const AltitudeDialArea& area, const DialRequest& r, double zoomFactor, QPointF plotOrigin) {
    if (area.plot()) return {kPlotUnitsPerMm, plotOrigin.x(), plotOrigin.y()};
    const double u = area.screen() ? ScreenUnitsPerMm(r.clientWidth, r.sheetA3) * std::max(zoomFactor, 1e-3)
                                   : kPrinterUnitsPerMm;
    return {u, r.originX, r.originY};
}

AltitudeDialArea PlotSheetArea() {
    AltitudeDialArea a;
    a.target = DrawTarget::Plot;
    a.W = kSheetWidth;
    a.H = kSheetHeight;
    return a;
}

DateAxis DateAxisOf(int year, bool wholeYear) {
    DateAxis axis;
    axis.first = wholeYear ? 1 : DayOfYear(year, 6, 21);
    axis.last = DayOfYear(year, 12, wholeYear ? 31 : 21);
    return axis;
}

std::vector<int> SampleDays(const DateAxis& axis) {
    std::vector<int> days;
    for (int d = axis.first; d < axis.last; d += 3) days.push_back(d);
    days.push_back(axis.last);
    return days;
}

namespace {

// Noon declinations of the axis days; they fall monotonically from June to December (rise in
// the south, where the same search holds).
std::vector<double> AxisDeclinations(int year, const DateAxis& axis) {
    std::vector<double> decl;
    for (int d = axis.first; d <= axis.last; ++d) decl.push_back(SolarDeclinationEoT(year, d).declination);
    return decl;
}

std::optional<double> OffsetOfDeclination(const std::vector<double>& decl, double delta) {
    for (size_t i = 0; i + 1 < decl.size(); ++i) {
        const double hi = std::max(decl[i], decl[i + 1]), lo = std::min(decl[i], decl[i + 1]);
        if (delta > hi || delta < lo) continue;
        const double f = decl[i] == decl[i + 1] ? 0.0 : (decl[i] - delta) / (decl[i] - decl[i + 1]);
        return static_cast<double>(i) + f;
    }
    return std::nullopt;
}

}  // namespace

std::vector<RisingHalfMark> RisingHalfMarks(int year, const DateAxis& axis, bool firstsOnly) {
    const std::vector<double> decl = AxisDeclinations(year, axis);
    std::vector<RisingHalfMark> marks;
    const int june21 = DayOfYear(year, 6, 21);
    for (int month = 1; month <= 6; ++month) {
        for (int day : {1, 11, 21}) {
            if (firstsOnly && day != 1) continue;
            if (DayOfYear(year, month, day) >= june21) continue;
            const double delta = SolarDeclinationEoT(year, DayOfYear(year, month, day)).declination;
            if (const auto offset = OffsetOfDeclination(decl, delta)) marks.push_back({month, day, *offset});
        }
    }
    return marks;
}

std::optional<double> AxisOffsetOfDay(int year, const DateAxis& axis, int day) {
    if (day >= axis.first && day <= axis.last) return day - axis.first;
    if (axis.first == 1) return std::nullopt;
    return OffsetOfDeclination(AxisDeclinations(year, axis), SolarDeclinationEoT(year, day).declination);
}

LabelPlacer ClipToArea(DialPainter& painter, const AltitudeDialArea& a) {
    painter.setWindow(a.ox, a.oy, a.ox + a.W - 2, a.oy + a.H - 2);
    return LabelPlacer(QRectF(a.ox, a.oy, a.W - 2, a.H - 2));
}

std::vector<int> ZodiacDateLines(const DialState& s) {
    if (s.dateLinesPerMonth == 4) return {1, 4, 7};
    return {1, 2, 3, 4, 5, 6, 7};
}

ClockHours ClockHoursOf(const DialContext& context) {
    return ClockHoursOf(context.state, context.timeSystem != TimeSystem::Zone, context.state.cylinderWithEoT,
                        context.otherLinesPerHour);
}

ClockHours ClockHoursOf(const DialState& s, bool local, bool eot, int perHour) {
    ClockHours c;
    c.local = local;
    c.eot = eot;
    c.first = c.originalFirst = std::clamp(s.otherHourFrom, 0, 24);
    c.last = c.originalLast = std::clamp(s.otherHourTo, 0, 24);
    c.perHour = perHour;
    if (c.local && !c.eot && c.first < 12 && c.last > 12) {
        // Morning and afternoon lines coincide: keep the half with more hours.
        if (c.last - 12 < 12 - c.first) c.last = 12;
        else c.first = 12;
        c.reduced = true;
    }
    return c;
}

AltitudeSun::AltitudeSun(const DialContext& c) : c_(c), sinPhi_(SinDeg(c.latitude)), cosPhi_(CosDeg(c.latitude)) {}

AltitudeSun::AltitudeSun(const DialState& s)
    : owned_(std::make_unique<const DialContext>(s)), c_(*owned_), sinPhi_(SinDeg(c_.latitude)),
      cosPhi_(CosDeg(c_.latitude)) {}

double AltitudeSun::altitude(double hourAngle, double declination) const {
    // The altitude alone; the azimuth of HorizontalFromHourAngle is not needed here.
    const double u = sinPhi_ * SinDeg(declination) + cosPhi_ * CosDeg(declination) * CosDeg(hourAngle);
    return AsinDeg(u);
}

AltitudeSun::Day& AltitudeSun::day(int d) {
    if (d < 0 || d >= static_cast<int>(days_.size())) {
        spare_ = Day();
        return spare_;
    }
    return days_[static_cast<size_t>(d)];
}

double AltitudeSun::clock(const ClockHours& clock, int d, double hour) {
    // At the instant SunPosition takes for this zone time.
    const SunEphemeris& ephemeris = c_.ephemeris();
    const DeclinationEoT e = ephemeris.at(d, ephemeris.zoneFraction(hour));
    const double meridian = clock.local ? c_.zoneMeridian : c_.longitude;
    double t = 15 * (hour - 12) - (meridian - c_.zoneMeridian);
    if (clock.eot) t += e.eot;
    return altitude(t, e.declination);
}

double AltitudeSun::temporal(int d, double N) {
    const double phi = c_.latitude, decl = c_.ephemeris().noonDeclination(d);
    double cd = CosDeg(decl);
    if (std::abs(cd) < 1e-12) cd = SignNonZero(cd) * 1e-12;
    double cp = CosDeg(phi);
    if (std::abs(cp) < 1e-12) cp = SignNonZero(cp) * 1e-12;
    const double x = -SinDeg(phi) * SinDeg(decl) / (cp * cd);
    const double H0 = x == 0.0 ? 90.0 : AcosDeg(std::clamp(x, -1.0, 1.0));
    // Hour angle of temporal hour N: -H0 at sunrise, 0 at noon, +H0 at sunset.
    return altitude((N - 6.0) * H0 / 6.0, decl);
}

bool AltitudeSun::riseAndSet(const ClockHours& clock, int d, double& rise, double& set) {
    Day& e = day(d);
    const int m = clock.local ? 0 : 1;
    if (!e.riseSet[m]) {
        const double meridian = clock.local ? c_.zoneMeridian : c_.longitude;
        const MeanRiseSet r = SunriseSunsetMean(c_.year, d, meridian, c_.latitude, c_.zoneMeridian);
        e.rise[m] = r.rise;
        e.set[m] = r.set;
        e.riseSet[m] = true;
    }
    rise = e.rise[m];
    set = e.set[m];
    return rise < set && rise > 0;
}

double TemporalHourAltitude(const DialState& s, int day, double N) { return AltitudeSun(s).temporal(day, N); }

QString HourLabel(int hour, const ClockHours& clock) {
    QString text = QString::number(hour);
    const int twin = 24 - hour;
    if (clock.reduced && twin != hour && twin >= clock.originalFirst && twin <= clock.originalLast)
        text += QLatin1Char('/') + QString::number(twin);
    return text;
}

QString TemporalLabel(int hour, int first, int last) {
    QString text = QString::number(hour);
    const int twin = 12 - hour;
    if (twin > hour && twin >= first && twin <= last) text += QLatin1Char('/') + QString::number(twin);
    return text;
}

bool ShowRefusal(const QString& refusal, DialPainter& p, const AltitudeDialArea& a, Language lang,
                 UserDialogs& dialogs, int textRole) {
    if (refusal.isEmpty()) return false;
    dialogs.inform(caption(CaptionKind::Warning, lang), refusal, Icon::Warning);
    p.setFont(QStringLiteral("Arial"), a.size(18, 45));
    p.setTextColour(colour::kRed, textRole);
    p.text(a.ox + a.W / 12, a.oy + a.H / 3, refusal.split(QStringLiteral("\r\n")).join(QLatin1Char(' ')));
    return true;
}

QString DialMonth(int month) { return MonthAbbreviation(month); }

QString DialMonthLabel(int month, Language lang, const DialPainter& painter) {
    if (dynamic_cast<const PlotPainter*>(&painter)) return MonthAbbreviation(month);
    return ShortMonthName(month, lang);
}

QString SignEntryMonths(int index, Language lang, const DialPainter& painter) {
    static constexpr int kRising[8] = {0, 12, 1, 2, 3, 4, 5, 6};
    static constexpr int kFalling[8] = {0, 12, 11, 10, 9, 8, 7, 6};
    const int i = index < 1 || index > 7 ? 4 : index;
    const int a = kRising[i], b = kFalling[i];
    const QString first = DialMonthLabel(a, lang, painter);
    return a == b ? first : first + QLatin1Char('/') + DialMonthLabel(b, lang, painter);
}

QString PolarTemporalLine1(const DialState& s) {
    return TextOf(TextId::PolarTemporalHours, s.language);
}

QString PolarTemporalLine2(const DialState& s) {
    return TextOf(TextId::DialNotConstructed, s.language);
}

void ReportTemporalRange(const DialState& s, UserDialogs& dialogs) {
    dialogs.inform(caption(CaptionKind::Error, s.language),
                   TextOf(TextId::TemporalHoursRange, s.language) +
                       QStringLiteral("\r\n") +
                       TextOf(TextId::CorrectWithF7, s.language),
                   Icon::Error);
}

void BandCurve::add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) {
        has_ = false;
        return;
    }
    if (has_) {
        double x0 = px_, y0 = py_, x1 = x, y1 = y;
        const bool outside = (y0 < 0 && y1 < 0) || (y0 > depth_ && y1 > depth_);
        if (!outside) {
            // Cut an end beyond the band where the segment crosses row 0 or row depth.
            auto cut = [&](double& xe, double& ye, double xo, double yo, double row) {
                if (std::abs(yo - ye) < 1e-5) return;
                xe = xo + (xe - xo) * (row - yo) / (ye - yo);
                ye = row;
            };
            if (y0 < 0) cut(x0, y0, x1, y1, 0.0);
            else if (y0 > depth_) cut(x0, y0, x1, y1, depth_);
            if (y1 < 0) cut(x1, y1, x0, y0, 0.0);
            else if (y1 > depth_) cut(x1, y1, x0, y0, depth_);
            if (y0 >= 0 && y0 <= depth_ && y1 >= 0 && y1 <= depth_) {
                p_.moveTo(x0, top_ + y0);
                p_.lineTo(x1, top_ + y1);
                if (keepClear_) keepClear_->avoidLine(QLineF(x0, top_ + y0, x1, top_ + y1));
            }
        }
    }
    has_ = true;
    px_ = x;
    py_ = y;
}

void DrawGnomonBracket(DialPainter& p, const DialState& s, const AltitudeDialArea& a, double L, double gnomonMm,
                       int textRole) {
    const double H = a.H, ox = a.ox, oy = a.oy;
    constexpr Rgb kPurple = 0x800080;
    p.setPenColour(kPurple, textRole);
    p.setTextColour(kPurple, textRole);
    const double h = p.textHeight();
    const double C = std::round(1.5 * h);
    const double base = H + oy - 2 * h;
    p.polyline({{1.5 * C + ox, base - L}, {C + ox, base - L}, {C + ox, base}, {C + L + ox, base}, {C + L + ox, base - C / 2}});
    p.text(ox + C, oy + H - 1.5 * h,
           TextOf(TextId::GnomonLengthIs, s.language) + RealToText(5, 0, gnomonMm) + QStringLiteral(" mm"));
    p.setTextRole(textRole);
}

double HighestSunShadow(double L, double latitude) {
    const double phi = std::abs(latitude);
    const double hMax = phi < 23.45 ? 90.0 : 90.0 - phi + 23.45;
    return std::abs(CosDeg(hMax)) <= 1e-4 ? 100000.0 : std::abs(L * SinDeg(hMax) / CosDeg(hMax) * 1.05);
}

void DrawPolarRefusal(DialPainter& p, const DialState& s, const AltitudeDialArea& a, const QString& font,
                      int firstColumn, int secondColumn, TextId titleText, int textRole) {
    const double W = a.W, H = a.H, ox = a.ox, oy = a.oy;
    p.setFont(font, a.size(30, 60));
    p.setTextColour(colour::kNavy, textRole);
    const double th = p.textHeight();
    p.text(ox + W / firstColumn, oy + H / 2 - 1.5 * th, PolarTemporalLine1(s));
    p.text(ox + W / secondColumn, oy + H / 2, PolarTemporalLine2(s));
    p.text(ox + W / 3, oy + H / 8, TextOf(titleText, s.language));
}

void DrawCylinderLegend(DialPainter& p, const DialState& s, const AltitudeDialArea& a, const CylinderLegend& legend,
                        int textRole) {
    const double W = a.W, H = a.H, ox = a.ox, oy = a.oy;
    const QString arial = QStringLiteral("Arial");
    p.setTextRole(textRole);
    p.setFont(arial, legend.titleHeight);
    double th = p.textHeight();
    const double x = 0.36 * W + ox;
    p.text(x, oy + H - 2.2 * th, title(8, s.language));
    p.text(x, oy + H - legend.subtitleRow * th, title(legend.subtitle, s.language));

    p.setFont(arial, a.screen() ? (a.wideScreen ? 14 : 12) : a.size(12, 30));
    th = p.textHeight();
    const QString deg = TextOf(TextId::DegreesSpaced, s.language);
    const QString site = TextOf(TextId::LatitudeIs, s.language) + RealToText(6, 2, s.latitude) + deg +
                         TextOf(TextId::LongitudeIs, s.language) + RealToText(5, 2, s.longitude) + deg;
    // In a narrow window the site line ends at the frame instead of running out of it.
    const double x2 = std::min(0.7 * W + ox + a.size(10, 10), ox + W - a.size(6, 15) - p.textWidth(site));
    p.text(x2, oy + H - 2.6 * th, site);
    QString hours;
    if (legend.clockDrawn) {
        hours = TextOf(legend.local ? TextId::LocalApparentTimeLong : TextId::ZoneMeridianTimeLong, s.language) +
                QStringLiteral(" ") + TextOf(legend.eot ? TextId::WithEot : TextId::WithoutEot, s.language) +
                QStringLiteral(", ");
    }
    if (legend.temporalDrawn) hours += TextOf(TextId::TemporalHoursSpaced, s.language);
    p.text(x2, oy + H - 1.5 * th, hours);
}

bool RefusedForTemporalHours(const DialState& s) { return std::abs(s.latitude) > 65 && s.temporalHours; }

bool RefusePolarTemporalPlot(const DialState& s, UserDialogs& dialogs) {
    if (!RefusedForTemporalHours(s)) return false;
    dialogs.inform(caption(CaptionKind::Warning, s.language),
                   PolarTemporalLine1(s) + QStringLiteral("\n\r") + PolarTemporalLine2(s), Icon::Warning);
    return true;
}

void WriteAltitudeDialPlot(const DialContext& context, PlotStream& stream,
                           const std::function<void(DialPainter&)>& construct) {
    stream.writeShortHead(ShortHead::SlowPen);
    {
        PlotPainter painter(stream, context.lineWidth, -1);
        construct(painter);
        painter.flush();
    }
    stream.WritePlot(QStringLiteral(";LT;IN;"));
}

}  // namespace zorva
