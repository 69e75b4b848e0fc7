#pragma once
// Pieces the quadrant family shares: the hour range of the state, the sun's altitude for a
// line system, the collection and placement of hour numbers, the units of each target and
// a painter that mirrors a drawing for the left-handed quadrant.

#include "dials/altitude_dial_common.h"
#include "dials/dial_painter.h"
#include "state/dial_state.h"

#include <QPointF>
#include <QString>

#include <vector>

namespace zorva {

class PlotStream;
class UserDialogs;

// Colour roles of the quadrant family.
namespace quadrant_role {
inline constexpr int kFrame = 0;  // outline, degree scale, circles of the 16th, second labels
inline constexpr int kHour = 1;
inline constexpr int kSubdivision = 2;
inline constexpr int kText = 3;
inline constexpr int kMonthFirst = 5;
inline constexpr int kOtherDates = 7;
inline constexpr int kTemporal = 9;
}  // namespace quadrant_role

// The hour lines a quadrant draws.
struct QuadrantHours {
    bool temporal = false;
    int first = 0, last = -1;
    int perHour = 1;
};
// Zone time cuts a range round noon to its longer side: morning and afternoon lines of one
// altitude cannot both be read off a plumb line or a shadow.
QuadrantHours QuadrantHoursOf(const DialState& s);

// The sun's altitude for the hour lines of a quadrant: clock hours of the site's apparent or
// the zone meridian's time, with or without the equation of time, or temporal hours.
class QuadrantSun {
public:
    explicit QuadrantSun(const DialState& s);
    double altitude(int day, double hour);
    bool temporal() const { return temporal_; }

private:
    bool temporal_;
    ClockHours clock_;
    AltitudeSun sun_;
};

// Hour numbers collected while the lines are traced and written at the end, so that twins
// (morning and afternoon of one altitude) share one number "10/14" and numbers that would
// cover each other or a scale's text move apart along their line's direction. The scale
// texts go through the same label placer, written before the numbers.
class HourNumbers {
public:
    // `centre`: the point the lines fan out from (the direction a number moves in); `sheet`:
    // the area the numbers stay on.
    explicit HourNumbers(QPointF centre, const QRectF& sheet = QRectF(-1e9, -1e9, 2e9, 2e9))
        : centre_(centre), placer_(sheet) {}
    void add(DialPainter& p, double x, double y, const QString& text, int role);
    void write(DialPainter& p);
    // A scale's text at the place the layout fixes, kept clear by the numbers.
    void writeFixed(DialPainter& p, const QString& text, double x, double y, double directionDeg = 0.0) {
        placer_.writeAt(p, text, x, y, directionDeg);
    }
    // A scale's text at the first of `places` (top-left corners) where it meets no other.
    void writeFree(DialPainter& p, const QString& text, const std::vector<QPointF>& places) {
        placer_.write(p, text, places);
    }
    bool empty() const { return labels_.empty(); }

private:
    struct Label {
        double x, y;
        QString text;
        int role;
    };
    QPointF centre_;
    std::vector<Label> labels_;
    LabelPlacer placer_;
};

// Draws through another painter with the drawing mirrored about the vertical line x = axis;
// texts keep reading from left to right (their box is mirrored, not their letters).
class MirrorPainter : public DialPainter {
public:
    MirrorPainter(DialPainter& inner, double axis) : p_(inner), axis_(axis) {}
    void setPenRole(int role) override { p_.setPenRole(role); }
    void setPenColour(Rgb rgb, int plotRole) override { p_.setPenColour(rgb, plotRole); }
    void setPenWidth(int width) override { p_.setPenWidth(width); }
    void setLineStyle(LineStyle style) override { p_.setLineStyle(style); }
    void moveTo(double x, double y) override { p_.moveTo(m(x), y); }
    void lineTo(double x, double y) override { p_.lineTo(m(x), y); }
    void polyline(const std::vector<QPointF>& points) override;
    void circle(double cx, double cy, double r, FillStyle fill, Rgb fillRgb) override { p_.circle(m(cx), cy, r, fill, fillRgb); }
    void arc(double cx, double cy, double r, double startDeg, double sweepDeg) override {
        p_.arc(m(cx), cy, r, 180.0 - startDeg - sweepDeg, sweepDeg);
    }
    void rectangle(double x1, double y1, double x2, double y2) override { p_.rectangle(m(x2), y1, m(x1), y2); }
    void fillRect(double x1, double y1, double x2, double y2, Rgb rgb) override { p_.fillRect(m(x2), y1, m(x1), y2, rgb); }
    void polygon(const std::vector<QPointF>& points, FillStyle fill, Rgb fillRgb) override;
    void setFont(const QString& family, double height, bool bold) override { p_.setFont(family, height, bold); }
    void setTextRole(int role) override { p_.setTextRole(role); }
    void setTextColour(Rgb rgb, int plotRole) override { p_.setTextColour(rgb, plotRole); }
    double textHeight() const override { return p_.textHeight(); }
    double textWidth(const QString& text) const override { return p_.textWidth(text); }
    void text(double x, double y, const QString& text, TextAnchor anchor, double directionDeg) override;
    void setWindow(double x1, double y1, double x2, double y2) override { p_.setWindow(m(x2), y1, m(x1), y2); }
    void resetWindow() override { p_.resetWindow(); }

private:
    double m(double x) const { return 2.0 * axis_ - x; }
    DialPainter& p_;
    double axis_;
};

// The bilingual site line of the quadrant legends: "G. Breite = ..., G. Laenge = ...".
QString QuadrantSiteLine(const DialState& s);

}  // namespace zorva
