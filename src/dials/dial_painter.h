#pragma once
// The one drawing interface of the dial constructions. A construction traces its curves
// once and draws through this; the canvas painter puts them on a screen image, a printer
// or a PDF/SVG page, the plot painter writes the plot stream. Coordinates are drawing
// units with y growing downward; a painter for a y-up target mirrors them itself.

#include "state/dial_state.h"

#include <QPointF>
#include <QString>

#include <vector>

namespace zorva {

// Fixed colours the constructions use beside the twelve drawing colours.
namespace colour {
inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kWhite = 0xFFFFFF;
inline constexpr Rgb kSilver = 0xC0C0C0;
inline constexpr Rgb kGrey = 0x808080;
inline constexpr Rgb kNavy = 0x000080;
inline constexpr Rgb kRed = 0xFF0000;
inline constexpr Rgb kMaroon = 0x800000;
}  // namespace colour

enum class LineStyle { Solid, Dashed };
enum class FillStyle { None, Solid, DiagonalHatch };
// Where a label's reference point lies: its top-left corner (canvas text) or the left end
// of its baseline's bottom (plot labels).
enum class TextAnchor { TopLeft, BottomLeft };
// What the following labels are written in: plain text, or the signs of the zodiac (a font
// that has the Unicode signs on a canvas, the symbol set of the plot).
enum class TextKind { Plain, ZodiacSigns };

class DialPainter {
public:
    virtual ~DialPainter() = default;

    // --- pens. A colour role is an index 0..11 into the twelve drawing colours; a plot
    // draws role r with pen r + 1. A fixed colour names the role a plot uses instead.
    virtual void setPenRole(int role) = 0;
    virtual void setPenColour(Rgb rgb, int plotRole) = 0;
    virtual void setPenWidth(int width) = 0;
    virtual void setLineStyle(LineStyle style) = 0;

    // --- strokes
    virtual void moveTo(double x, double y) = 0;
    virtual void lineTo(double x, double y) = 0;
    virtual void polyline(const std::vector<QPointF>& points) {
        if (points.empty()) return;
        moveTo(points.front().x(), points.front().y());
        for (size_t i = 1; i < points.size(); ++i) lineTo(points[i].x(), points[i].y());
    }
    // Circle round (cx, cy); filled with `fill` when FillStyle::Solid.
    virtual void circle(double cx, double cy, double r, FillStyle fill = FillStyle::None, Rgb fillRgb = 0) = 0;
    // Arc round (cx, cy) from `startDeg` (0 = +x, counter-clockwise as seen on the drawing)
    // through `sweepDeg`.
    virtual void arc(double cx, double cy, double r, double startDeg, double sweepDeg) = 0;
    // Outline of the rectangle with corners (x1, y1) and (x2, y2) in the current pen.
    virtual void rectangle(double x1, double y1, double x2, double y2) = 0;
    // Solid fill without outline (erasing strips, backgrounds).
    virtual void fillRect(double x1, double y1, double x2, double y2, Rgb rgb) = 0;
    // Closed polygon outlined in the current pen and filled as asked.
    virtual void polygon(const std::vector<QPointF>& points, FillStyle fill, Rgb fillRgb) = 0;

    // --- text. Heights are drawing units (the canvas uses pixel or 0.1 mm heights).
    virtual void setFont(const QString& family, double height, bool bold = false) = 0;
    virtual void setTextRole(int role) = 0;
    virtual void setTextColour(Rgb rgb, int plotRole) = 0;
    virtual double textHeight() const = 0;
    virtual double textWidth(const QString& text) const = 0;
    virtual void text(double x, double y, const QString& text, TextAnchor anchor = TextAnchor::TopLeft,
                      double directionDeg = 0.0) = 0;
    virtual void setTextKind(TextKind) {}
    // The label of sign `sign` (0 = Aries .. 11 = Pisces) for the text kind ZodiacSigns.
    // U+FE0E asks for the text form, not a coloured picture.
    virtual QString zodiacSign(int sign) const {
        return QString(QChar(static_cast<char16_t>(0x2648 + ((sign % 12) + 12) % 12))) + QChar(0xFE0E);
    }
    // Ends a pen-down stroke run where the target keeps one open (the plot's pen up).
    virtual void liftPen() {}

    // --- window: nothing is drawn outside it until it is reset (the plot's IW).
    virtual void setWindow(double x1, double y1, double x2, double y2) = 0;
    virtual void resetWindow() = 0;
};

}  // namespace zorva
