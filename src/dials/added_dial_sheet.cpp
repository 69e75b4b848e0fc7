#include "dials/added_dial_sheet.h"

#include "dials/dial_geometry.h"
#include "dials/dial_painter.h"
#include "plot/plot_stream.h"
#include "text/number_format.h"

#include <algorithm>
#include <cmath>

namespace zorva {

double ClockHourAngle(const DialContext& c, HourReckoning r, double clock, double eot) {
    double t = 15.0 * (clock - 12.0);
    // Longitudes west positive: a site west of its zone meridian sees the sun later.
    if (IsZoneReckoning(r)) t -= c.longitude - c.zoneMeridian;
    if (IsMeanReckoning(r)) t += eot;
    return t;
}

QString ClockLabel(double clock) {
    const int minutes = static_cast<int>(std::lround(clock * 60.0));
    const int h = minutes / 60, m = minutes % 60;
    if (m == 0) return QString::number(h);
    return QString::number(h) + QLatin1Char(':') + QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
}

TextId ReckoningText(HourReckoning r) {
    switch (r) {
    case HourReckoning::LocalApparent: return TextId::ReckoningLocalApparent;
    case HourReckoning::ZoneApparent: return TextId::ReckoningZoneApparent;
    case HourReckoning::LocalMean: return TextId::ReckoningLocalMean;
    case HourReckoning::ZoneMean: break;
    }
    return TextId::ReckoningZoneMean;
}

AddedDialSheet SheetOf(const DialContext& c, const DialRequest& r) {
    AddedDialSheet s;
    s.area = AreaOfRequest(r);
    if (s.area.screen()) s.unitsPerMm = ScreenUnitsPerMm(r.clientWidth, r.sheetA3) * std::max(c.state.zoomFactor, 1e-3);
    else if (s.area.printer()) s.unitsPerMm = kPrinterUnitsPerMm;
    else s.unitsPerMm = kPlotUnitsPerMm;
    s.textHeight = s.area.size(12, 30);
    return s;
}

double ReductionToFit(double width, double height, double roomWidth, double roomHeight) {
    if (!(width > 0) || !(height > 0) || !(roomWidth > 0) || !(roomHeight > 0)) return 1.0;
    const double need = std::max(width / roomWidth, height / roomHeight);
    for (double decade = 1.0; decade < 1e7; decade *= 10.0)
        for (double step : {1.0, 2.0, 2.5, 5.0})
            if (step * decade >= need) return step * decade;
    return 1e7;
}

QString ScaleText(double reduction) {
    return QStringLiteral("1:") + QString::number(reduction, 'g', 8);
}

QString LengthText(double mm, bool metres) {
    if (metres) return RealToText(3, 3, mm / 1000.0).trimmed() + QStringLiteral(" m");
    return RealToText(1, 1, mm).trimmed() + QStringLiteral(" mm");
}

void DrawOrientationArrow(DialPainter& p, QPointF foot, QPointF d, double length, const QString& label) {
    const QPointF tip = foot + d * length;
    const QPointF side(-d.y(), d.x());
    const QPointF back = tip - d * (length * 0.22);
    p.polyline({foot, tip});
    p.polyline({back + side * (length * 0.1), tip, back - side * (length * 0.1)});
    const double w = p.textWidth(label), h = p.textHeight();
    // Beyond the tip, centred on the arrow's line.
    const QPointF at = tip + d * (0.7 * h);
    p.text(at.x() - w / 2 + d.x() * w / 2, at.y() - h / 2 + d.y() * h / 2, label);
}

void LegendBlock::line(const QString& text, double factor) {
    const double h = p_.textHeight();
    p_.text(x_, y_, text);
    widest_ = std::max(widest_, p_.textWidth(text));
    y_ += 1.35 * h * factor;
}

void DrawRefusalText(DialPainter& p, const AddedDialSheet& sheet, const QString& text) {
    p.setFont(QStringLiteral("Arial"), sheet.area.size(16, 40));
    p.setTextColour(colour::kRed, 2);
    double y = sheet.area.oy + sheet.area.H / 3;
    const double x = sheet.area.ox + sheet.area.W / 12, room = sheet.area.W - 2 * (x - sheet.area.ox);
    // Broken into lines at blanks so that a long reason stays on the sheet.
    for (const QString& paragraph : text.split(QStringLiteral("\r\n"))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '))) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && p.textWidth(longer) > room) {
                p.text(x, y, line);
                y += 1.4 * p.textHeight();
                line = word;
            } else {
                line = longer;
            }
        }
        p.text(x, y, line);
        y += 1.4 * p.textHeight();
    }
}

}  // namespace zorva
