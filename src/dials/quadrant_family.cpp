#include "dials/quadrant_family.h"

#include "dials/habermel_dial.h"
#include "dials/planar_dial.h"
#include "dials/quadrant_dial.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <QRectF>

#include <algorithm>
#include <cmath>

namespace zorva {

QuadrantHours QuadrantHoursOf(const DialState& s) {
    QuadrantHours r;
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
    if (s.timeSystem == 1 && r.first < 12 && r.last > 12) {
        if (r.last - 12 >= 12 - r.first) r.first = 12;
        else r.last = 12;
    }
    return r;
}

QuadrantSun::QuadrantSun(const DialState& s) : temporal_(s.timeSystem == 2), sun_(s) {
    clock_.local = s.timeSystem != 1;
    clock_.eot = s.constructWithEoT;
}

double QuadrantSun::altitude(int day, double hour) {
    return temporal_ ? sun_.temporal(day, hour) : sun_.clock(clock_, day, hour);
}

void HourNumbers::add(DialPainter& p, double x, double y, const QString& text, int role) {
    // Morning and afternoon hours of one apparent-time altitude end at one point: one number
    // "10/14" instead of two printed over each other.
    const double near = 0.2 * p.textHeight();
    for (Label& l : labels_) {
        if (l.role == role && std::abs(l.x - x) < near && std::abs(l.y - y) < near) {
            if (!l.text.split(QLatin1Char('/')).contains(text)) l.text += QLatin1Char('/') + text;
            return;
        }
    }
    labels_.push_back({x, y, text, role});
}

void HourNumbers::write(DialPainter& p) {
    // Lines close together end close together; a number that would cover one already written
    // moves outward along its line's direction until it is free.
    const double th = p.textHeight();
    for (const Label& l : labels_) {
        const QPointF at(l.x, l.y);
        const QPointF ray = at - centre_;
        const double length = std::hypot(ray.x(), ray.y());
        const QPointF step = length > 0 ? ray * (th / length) : QPointF(0, th);
        // Outward along the line, then a little to either side of it, before further out.
        const QPointF across(-step.y() / 2, step.x() / 2);
        std::vector<QPointF> places;
        for (int k = 0; k < 6; ++k)
            for (const QPointF& side : {QPointF(), across, -across}) places.push_back(at + k * step + side);
        p.setTextRole(l.role);
        placer_.write(p, l.text, places);
    }
    labels_.clear();
}

void MirrorPainter::polyline(const std::vector<QPointF>& points) {
    std::vector<QPointF> mirrored;
    mirrored.reserve(points.size());
    for (const QPointF& q : points) mirrored.emplace_back(m(q.x()), q.y());
    p_.polyline(mirrored);
}

void MirrorPainter::polygon(const std::vector<QPointF>& points, FillStyle fill, Rgb fillRgb) {
    std::vector<QPointF> mirrored;
    mirrored.reserve(points.size());
    for (const QPointF& q : points) mirrored.emplace_back(m(q.x()), q.y());
    p_.polygon(mirrored, fill, fillRgb);
}

void MirrorPainter::text(double x, double y, const QString& text, TextAnchor anchor, double directionDeg) {
    // The text's run from its anchor to its far end is mirrored and read the other way: it
    // starts at the mirror image of the far end and turns the other way.
    const double w = p_.textWidth(text);
    const double endX = x + w * std::cos(directionDeg * 3.14159265358979323846 / 180.0);
    const double endY = y - w * std::sin(directionDeg * 3.14159265358979323846 / 180.0);
    p_.text(m(endX), endY, text, anchor, directionDeg == 0.0 ? 0.0 : -directionDeg);
}

QString QuadrantSiteLine(const DialState& s) {
    const Language l = s.language;
    return label(131, l) + RealToText(6, 2, s.latitude) + label(105, l) + label(132, l) + RealToText(6, 2, s.longitude) +
           label(105, l);
}

}  // namespace zorva
