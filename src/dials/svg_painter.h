#pragma once
// DialPainter writing an SVG document for cutting and engraving: drawing units are 0.1 mm,
// the document states its size in millimetres, and every pen (hour lines of one system,
// date lines, text, frame, ...) is one group with an id that says what it draws, so laser
// and CNC software import the drawing at 1:1 and can pick a line family by its layer.

#include "dials/dial_painter.h"

#include <QByteArray>
#include <QFont>
#include <QRectF>

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zorva {

class SvgPainter : public DialPainter {
public:
    // `sheet`: the document's extent in 0.1 mm (x, y from 0). `legendOffset`: the dial
    // family's rows of the colour legend, which name the groups.
    SvgPainter(const std::array<Rgb, 12>& colours, const QRectF& sheet, int legendOffset);

    // The whole document; the painter can go on drawing afterwards.
    QByteArray document(const QString& title);

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
    void liftPen() override;
    void setWindow(double x1, double y1, double x2, double y2) override;
    void resetWindow() override;

    // The id of the group of pen `role` (0..11): "pen-3-full-hours-without-eot".
    std::string groupId(int role) const;

private:
    // A run of drawing between two solid fills: within it each pen is one group. A fill
    // covers what was drawn before it, so the order across runs is kept.
    struct Run {
        std::vector<int> order;           // pens in order of first use
        std::map<int, std::string> body;  // pen -> its elements
    };
    std::string& out(int role);
    void endPath();
    std::string strokeAttributes() const;
    std::string clipAttribute() const;
    std::string fillFor(FillStyle fill, Rgb rgb);  // a colour or a hatch pattern

    std::array<Rgb, 12> colours_;
    QRectF sheet_;
    int legendOffset_;
    std::vector<Run> runs_{1};
    std::string defs_;
    std::set<std::string> hatches_;

    int penRole_ = 3;
    Rgb penRgb_ = 0;
    int penWidth_ = 1;
    LineStyle lineStyle_ = LineStyle::Solid;
    int textRole_ = 3;
    Rgb textRgb_ = 0;
    QFont font_;
    bool signs_ = false;
    QString plainFamily_;
    int clip_ = 0;  // the active clip rectangle's number; 0 = none
    int clips_ = 0;

    QPointF current_;
    QPointF lastPoint_;  // where the open path ends
    std::string path_;  // the open polyline's path data
    bool pathOpen_ = false;
};

}  // namespace zorva
