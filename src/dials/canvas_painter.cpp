#include "dials/canvas_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace zorva {
namespace {

QColor ToColour(Rgb rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Canvas coordinates are whole units when drawn.
QPointF Rounded(QPointF p) { return {std::round(p.x()), std::round(p.y())}; }

}  // namespace

bool ClipSegment(QPointF& a, QPointF& b, const QRectF& rect) {
    // Liang-Barsky.
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(), rect.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    if (!std::isfinite(t0) || !std::isfinite(t1)) return false;
    const QPointF a0 = a;
    a = QPointF(a0.x() + t0 * dx, a0.y() + t0 * dy);
    b = QPointF(a0.x() + t1 * dx, a0.y() + t1 * dy);
    return true;
}

CanvasPainter::CanvasPainter(QPainter& painter, const std::array<Rgb, 12>& colours, const QRectF& limits)
    : painter_(painter), colours_(colours), limits_(limits) {
    font_ = painter_.font();
    applyPen();
}

QColor CanvasPainter::roleColour(int role) const {
    if (role < 0 || role >= static_cast<int>(colours_.size())) return Qt::black;
    return ToColour(colours_[static_cast<size_t>(role)]);
}

void CanvasPainter::applyPen() {
    QPen pen(penColour_);
    pen.setWidthF(std::max(1, penWidth_));
    pen.setStyle(lineStyle_ == LineStyle::Dashed ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
}

void CanvasPainter::setPenRole(int role) {
    penColour_ = roleColour(role);
    applyPen();
}

void CanvasPainter::setPenColour(Rgb rgb, int) {
    penColour_ = ToColour(rgb);
    applyPen();
}

void CanvasPainter::setPenWidth(int width) {
    penWidth_ = width;
    applyPen();
}

void CanvasPainter::setLineStyle(LineStyle style) {
    lineStyle_ = style;
    applyPen();
}

void CanvasPainter::moveTo(double x, double y) { current_ = QPointF(x, y); }

void CanvasPainter::lineTo(double x, double y) {
    QPointF a = current_, b(x, y);
    current_ = b;
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(x) || !std::isfinite(y)) return;
    if (!ClipSegment(a, b, limits_)) return;
    painter_.drawLine(Rounded(a), Rounded(b));
}

void CanvasPainter::circle(double cx, double cy, double r, FillStyle fill, Rgb fillRgb) {
    if (!limits_.adjusted(-r, -r, r, r).contains(cx, cy)) return;
    painter_.save();
    painter_.setBrush(fill == FillStyle::None ? QBrush(Qt::NoBrush)
                                              : QBrush(ToColour(fillRgb), fill == FillStyle::Solid
                                                                              ? Qt::SolidPattern
                                                                              : Qt::BDiagPattern));
    painter_.drawEllipse(Rounded({cx, cy}), r, r);
    painter_.restore();
}

void CanvasPainter::arc(double cx, double cy, double r, double startDeg, double sweepDeg) {
    if (!limits_.adjusted(-r, -r, r, r).contains(cx, cy)) return;
    const QPointF c = Rounded({cx, cy});
    painter_.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), qRound(startDeg * 16), qRound(sweepDeg * 16));
}

void CanvasPainter::rectangle(double x1, double y1, double x2, double y2) {
    const QRectF r = QRectF(Rounded({x1, y1}), Rounded({x2, y2})).normalized();
    painter_.save();
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(r.intersected(limits_));
    painter_.restore();
}

void CanvasPainter::fillRect(double x1, double y1, double x2, double y2, Rgb rgb) {
    const QRectF r = QRectF(Rounded({x1, y1}), Rounded({x2, y2})).normalized().intersected(limits_);
    if (!r.isEmpty()) painter_.fillRect(r, ToColour(rgb));
}

void CanvasPainter::polygon(const std::vector<QPointF>& points, FillStyle fill, Rgb fillRgb) {
    if (points.size() < 3) return;
    QPainterPath path;
    path.moveTo(Rounded(points.front()));
    for (size_t i = 1; i < points.size(); ++i) path.lineTo(Rounded(points[i]));
    path.closeSubpath();
    QPainterPath bounds;
    bounds.addRect(limits_);
    path = path.intersected(bounds);
    painter_.save();
    if (fill != FillStyle::None)
        painter_.fillPath(path, QBrush(ToColour(fillRgb), fill == FillStyle::Solid ? Qt::SolidPattern
                                                                                      : Qt::BDiagPattern));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(path);
    painter_.restore();
}

void CanvasPainter::setFont(const QString& family, double height, bool bold) {
    font_ = QFont(signs_ ? QStringLiteral("DejaVu Sans") : family);
    if (signs_) plainFamily_ = family;
    font_.setPixelSize(std::max(1, static_cast<int>(std::lround(height))));
    font_.setBold(bold);
}

void CanvasPainter::setTextRole(int role) { textColour_ = roleColour(role); }

void CanvasPainter::setTextColour(Rgb rgb, int) { textColour_ = ToColour(rgb); }

double CanvasPainter::textHeight() const { return QFontMetricsF(font_, painter_.device()).height(); }

double CanvasPainter::textWidth(const QString& text) const {
    return QFontMetricsF(font_, painter_.device()).horizontalAdvance(text);
}

void CanvasPainter::text(double x, double y, const QString& text, TextAnchor anchor, double directionDeg) {
    if (text.isEmpty() || !std::isfinite(x) || !std::isfinite(y)) return;
    if (!limits_.adjusted(-1e4, -1e4, 1e4, 1e4).contains(x, y)) return;
    const QFontMetricsF fm(font_, painter_.device());
    painter_.save();
    painter_.setFont(font_);
    painter_.setPen(textColour_);
    painter_.translate(Rounded({x, y}));
    if (directionDeg != 0.0) painter_.rotate(-directionDeg);
    const double baseline = anchor == TextAnchor::TopLeft ? fm.ascent() : -fm.descent();
    painter_.drawText(QPointF(0, baseline), text);
    painter_.restore();
}

void SwitchSignFont(QFont& font, QString& plainFamily, bool& signs, TextKind kind) {
    if (kind == TextKind::ZodiacSigns && !signs) {
        plainFamily = font.family();
        font.setFamily(QStringLiteral("DejaVu Sans"));
    } else if (kind == TextKind::Plain && signs) {
        font.setFamily(plainFamily);
    }
    signs = kind == TextKind::ZodiacSigns;
}

void CanvasPainter::setTextKind(TextKind kind) { SwitchSignFont(font_, plainFamily_, signs_, kind); }

void CanvasPainter::setWindow(double x1, double y1, double x2, double y2) {
    painter_.setClipRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
}

void CanvasPainter::resetWindow() { painter_.setClipping(false); }

}  // namespace zorva
