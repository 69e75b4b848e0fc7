#include "dials/live_shadow.h"

#include "astro/calendar.h"
#include "astro/sun_position.h"
#include "dials/canvas_painter.h"
#include "dials/dial_painter.h"
#include "text/named_texts.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <cmath>

namespace zorva {

int ShadowMoment::dayOfYear() const { return DayOfYear(year, month, day); }

std::optional<ShadowMoment> ParseShadowMoment(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})[ T]+(\\d{1,2}):(\\d{2})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    ShadowMoment moment;
    moment.year = m.captured(1).toInt();
    moment.month = m.captured(2).toInt();
    moment.day = m.captured(3).toInt();
    const int hour = m.captured(4).toInt(), minute = m.captured(5).toInt();
    if (moment.year < 1 || moment.month < 1 || moment.month > 12 || moment.day < 1 ||
        moment.day > DaysInMonth(moment.year, moment.month) || hour > 23 || minute > 59)
        return std::nullopt;
    moment.zoneHour = hour + minute / 60.0;
    return moment;
}

QString ShadowMomentText(const ShadowMoment& m) {
    const int minutes = static_cast<int>(std::lround(m.zoneHour * 60));
    return QStringLiteral("%1-%2-%3 %4:%5")
        .arg(m.year, 4, 10, QLatin1Char('0'))
        .arg(m.month, 2, 10, QLatin1Char('0'))
        .arg(m.day, 2, 10, QLatin1Char('0'))
        .arg(minutes / 60 % 24, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

SiteSun SunAtMoment(const DialContext& c, const ShadowMoment& m) {
    // The instant as the constructions count it: days of the year, from noon UT. The drawing's
    // ephemeris serves its own reference year; another year gets one of its own.
    const double d = m.dayOfYear() + (m.zoneHour + c.zoneMeridian / 15 - 12) / 24;
    const DeclinationEoT e = m.year == c.year ? c.ephemeris().at(d) : SunEphemeris(m.year, c.zoneMeridian).at(d);
    SiteSun sun;
    sun.declination = e.declination;
    sun.eot = e.eot;
    sun.hourAngle = 15 * (m.zoneHour - 12) - (c.longitude - c.zoneMeridian) + e.eot;
    const HorizontalPosition hp = HorizontalFromHourAngle(sun.hourAngle, e.declination, c.latitude);
    sun.altitude = hp.altitude;
    sun.azimuth = hp.azimuth;
    return sun;
}

struct MeasuringPainter::Screen {
    // The drawing window's image is a QImage too: the same fonts measure alike.
    QImage image{1, 1, QImage::Format_RGB32};
    QPainter painter{&image};
    std::array<Rgb, 12> colours{};
    CanvasPainter canvas{painter, colours, QRectF(0, 0, 1, 1)};
};

MeasuringPainter::MeasuringPainter(DialPainter* target) : target_(target) {
    if (!target_) {
        screen_ = std::make_unique<Screen>();
        target_ = &screen_->canvas;
    }
}

MeasuringPainter::~MeasuringPainter() = default;

namespace {
thread_local const ShadowMoment* tPlotShadow = nullptr;
}  // namespace

PlotShadowScope::PlotShadowScope(const ShadowMoment* moment) : previous_(tPlotShadow) { tPlotShadow = moment; }
PlotShadowScope::~PlotShadowScope() { tPlotShadow = previous_; }
const ShadowMoment* PlotShadowScope::current() { return tPlotShadow; }

CastShadow SunlitShadow(const DialContext& context, const ShadowMoment& moment, const QRectF& area) {
    CastShadow out;
    out.area = area;
    out.sun = SunAtMoment(context, moment);
    out.status = out.sun.altitude > 0 ? ShadowStatus::OffDial : ShadowStatus::SunDown;
    return out;
}

QString ShadowToggleText(Language lang) { return TextOf(TextId::ShadowNow, lang); }

QString ShadowStatusText(const CastShadow& shadow, const ShadowMoment& moment, Language lang) {
    const QString when = ShadowMomentText(moment) + QStringLiteral(": ");
    switch (shadow.status) {
    case ShadowStatus::Cast:
        switch (shadow.mark) {
        case ShadowMark::LightSpot: return when + TextOf(TextId::ShadowLightSpot, lang);
        case ShadowMark::PlumbLine: return when + TextOf(TextId::ShadowPlumbLine, lang);
        case ShadowMark::GnomonOnDate: return when + TextOf(TextId::ShadowGnomonOnDate, lang);
        case ShadowMark::ThreadShadows: return when + TextOf(TextId::ShadowOfThreads, lang);
        case ShadowMark::Shadow: break;
        }
        return when + TextOf(TextId::ShadowCast, lang);
    case ShadowStatus::SunDown: return when + TextOf(TextId::SunIsDown, lang);
    case ShadowStatus::PlaneNotLit: return when + TextOf(TextId::PlaneNotSunlit, lang);
    case ShadowStatus::OffDial: return when + TextOf(TextId::ShadowOffDial, lang);
    case ShadowStatus::OffDrawnPart: return when + TextOf(TextId::ShadowOffDrawnPart, lang);
    case ShadowStatus::NotAvailable: break;
    }
    return TextOf(TextId::ShadowNotAvailable, lang);
}

void DrawCastShadow(DialPainter& p, const CastShadow& shadow, double unitsPerMm) {
    if (!ShadowToDraw(shadow)) return;
    const bool cut = shadow.area.isValid();
    if (cut) p.setWindow(shadow.area.left(), shadow.area.top(), shadow.area.right(), shadow.area.bottom());
    p.setLineStyle(LineStyle::Solid);
    p.setPenWidth(3);
    p.setPenColour(colour::kGrey, 0);
    for (const auto& stroke : shadow.gnomon) p.polyline(stroke);
    if (shadow.nodus) {
        const QPointF n = *shadow.nodus;
        p.setPenWidth(1);
        p.setPenColour(colour::kBlack, 0);
        p.circle(n.x(), n.y(), 0.6 * unitsPerMm, FillStyle::Solid, colour::kBlack);
        p.setPenColour(colour::kRed, 0);
        p.circle(n.x(), n.y(), 1.5 * unitsPerMm, FillStyle::None, 0);
    }
    p.setPenWidth(1);
    if (cut) p.resetWindow();
}

}  // namespace zorva
