#pragma once
// A DialPainter that records every primitive, so that tests can check what a construction
// drew (which strokes, in which colour role, where) without pixels.

#include "dials/dial_painter.h"

#include <QString>

#include <cmath>
#include <vector>

namespace zorva::test {

struct Primitive {
    enum Kind { Line, Circle, Arc, Rectangle, FillRect, Polygon, Text, Window, ResetWindow } kind = Line;
    int role = -1;  // colour role, or -1 for a fixed colour (then rgb)
    Rgb rgb = 0;
    std::vector<QPointF> points;
    double radius = 0;
    FillStyle fill = FillStyle::None;
    Rgb fillRgb = 0;
    QString text;
    double fontHeight = 0;
    bool bold = false;
    double direction = 0;  // of a text, degrees counter-clockwise from the x axis
    int penWidth = 1;  // of lines
};

class RecordingPainter : public DialPainter {
public:
    std::vector<Primitive> items;
    int penWidth = 1;

    void setPenRole(int role) override { role_ = role; rgb_ = 0; }
    void setPenColour(Rgb rgb, int) override { role_ = -1; rgb_ = rgb; }
    void setPenWidth(int width) override { penWidth = width; }
    void setLineStyle(LineStyle) override {}
    void moveTo(double x, double y) override { current_ = {x, y}; }
    void lineTo(double x, double y) override {
        Primitive p;
        p.kind = Primitive::Line;
        p.role = role_;
        p.rgb = rgb_;
        p.points = {current_, {x, y}};
        p.penWidth = penWidth;
        items.push_back(p);
        current_ = {x, y};
    }
    void circle(double cx, double cy, double r, FillStyle fill, Rgb fillRgb) override {
        Primitive p;
        p.kind = Primitive::Circle;
        p.role = role_;
        p.rgb = rgb_;
        p.points = {{cx, cy}};
        p.radius = r;
        p.fill = fill;
        p.fillRgb = fillRgb;
        items.push_back(p);
    }
    void arc(double cx, double cy, double r, double, double) override {
        Primitive p;
        p.kind = Primitive::Arc;
        p.role = role_;
        p.points = {{cx, cy}};
        p.radius = r;
        items.push_back(p);
    }
    void rectangle(double x1, double y1, double x2, double y2) override {
        Primitive p;
        p.kind = Primitive::Rectangle;
        p.role = role_;
        p.rgb = rgb_;
        p.points = {{x1, y1}, {x2, y2}};
        items.push_back(p);
    }
    void fillRect(double x1, double y1, double x2, double y2, Rgb rgb) override {
        Primitive p;
        p.kind = Primitive::FillRect;
        p.rgb = rgb;
        p.points = {{x1, y1}, {x2, y2}};
        items.push_back(p);
    }
    void polygon(const std::vector<QPointF>& points, FillStyle fill, Rgb fillRgb) override {
        Primitive p;
        p.kind = Primitive::Polygon;
        p.role = role_;
        p.rgb = rgb_;
        p.points = points;
        p.fill = fill;
        p.fillRgb = fillRgb;
        items.push_back(p);
    }
    void setFont(const QString&, double height, bool bold) override { fontHeight_ = height; bold_ = bold; }
    void setTextRole(int role) override { textRole_ = role; textRgb_ = 0; }
    void setTextColour(Rgb rgb, int) override { textRole_ = -1; textRgb_ = rgb; }
    double textHeight() const override { return fontHeight_; }
    double textWidth(const QString& text) const override { return 0.6 * fontHeight_ * text.size(); }
    void text(double x, double y, const QString& text, TextAnchor, double directionDeg) override {
        Primitive p;
        p.direction = directionDeg;
        p.kind = Primitive::Text;
        p.role = textRole_;
        p.rgb = textRgb_;
        p.points = {{x, y}};
        p.text = text;
        p.fontHeight = fontHeight_;
        p.bold = bold_;
        items.push_back(p);
    }
    void setWindow(double x1, double y1, double x2, double y2) override {
        Primitive p;
        p.kind = Primitive::Window;
        p.points = {{x1, y1}, {x2, y2}};
        items.push_back(p);
    }
    void resetWindow() override {
        Primitive p;
        p.kind = Primitive::ResetWindow;
        items.push_back(p);
    }

    // Lines drawn in a colour role.
    std::vector<Primitive> lines(int role) const {
        std::vector<Primitive> out;
        for (const auto& p : items)
            if (p.kind == Primitive::Line && p.role == role) out.push_back(p);
        return out;
    }
    std::vector<Primitive> all(Primitive::Kind kind) const {
        std::vector<Primitive> out;
        for (const auto& p : items)
            if (p.kind == kind) out.push_back(p);
        return out;
    }
    bool hasText(const QString& t) const {
        for (const auto& p : items)
            if (p.kind == Primitive::Text && p.text == t) return true;
        return false;
    }

private:
    int role_ = 0;
    Rgb rgb_ = 0;
    int textRole_ = 3;
    Rgb textRgb_ = 0;
    double fontHeight_ = 16;
    bool bold_ = false;
    QPointF current_;
};

// Joined pieces of a run of lines: consecutive lines sharing an end point form one polyline.
inline std::vector<std::vector<QPointF>> Pieces(const std::vector<Primitive>& lines) {
    std::vector<std::vector<QPointF>> out;
    for (const auto& l : lines) {
        if (!out.empty() && out.back().back() == l.points[0]) {
            out.back().push_back(l.points[1]);
        } else {
            out.push_back({l.points[0], l.points[1]});
        }
    }
    return out;
}

}  // namespace zorva::test
