#pragma once
// DialPainter on a QPainter: the drawing window's image, a printer page, a PDF or SVG file.

#include "dials/dial_painter.h"

#include <QColor>
#include <QFont>
#include <QRectF>

#include <array>

class QPainter;

namespace zorva {

// Switches `font` to a family with the zodiac signs and back, keeping its size: the
// Liberation fonts have no zodiac signs, DejaVu has them. `signs` says which is set.
void SwitchSignFont(QFont& font, QString& plainFamily, bool& signs, TextKind kind);

class CanvasPainter : public DialPainter {
public:
    // `limits`: the part of the logical plane that can ever be seen (the device's extent);
    // strokes are cut to it before they reach the rasteriser, which keeps huge
    // coordinates of far-away samples away from its fixed-point arithmetic.
    CanvasPainter(QPainter& painter, const std::array<Rgb, 12>& colours, const QRectF& limits);

    void setPenRole(int role) override;
    void setPenColour(Rgb rgb, int plotRole) override;
    void setPenWidth(int width) override;
    void setLineStyle(LineStyle style) override;
    void moveTo(double x, double y) override;
    void lineTo(double x, double y) override;
    void circle(double cx, double cy, double r, FillStyle fill, Rgb fillRgb) override;
    void arc(double cx, double cy, double r, double startDeg, double sweepDeg) override;
    void rectangle(double x1, double y1, double x2, double y2) override;
    void fillRect(double x1, double y1, double x2, double y2, Rgb rgb) override;
    void polygon(const std::vector<QPointF>& points, FillStyle fill, Rgb fillRgb) override;
    void setFont(const QString& family, double height, bool bold) override;
    void setTextRole(int role) override;
    void setTextColour(Rgb rgb, int plotRole) override;
    double textHeight() const override;
    double textWidth(const QString& text) const override;
    void text(double x, double y, const QString& text, TextAnchor anchor, double directionDeg) override;
    void setTextKind(TextKind kind) override;
    void setWindow(double x1, double y1, double x2, double y2) override;
    void resetWindow() override;

private:
    void applyPen();
    QColor roleColour(int role) const;

    QPainter& painter_;
    std::array<Rgb, 12> colours_;
    QRectF limits_;
    QColor penColour_{Qt::black};
    int penWidth_ = 1;
    LineStyle lineStyle_ = LineStyle::Solid;
    QPointF current_;
    QFont font_;
    bool signs_ = false;
    QString plainFamily_;  // the family the signs replaced
    QColor textColour_{Qt::black};
};

// Cuts the segment a-b to `rect`; false when nothing of it lies inside.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& rect);

}  // namespace zorva
