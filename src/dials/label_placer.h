#pragma once
// Where the numbers and labels of a drawing go: each label names the point it belongs to and
// the places it may take, best first; the placer takes the first place that lies on the
// sheet and meets no label placed before and, where possible, none of the lines it was told
// to keep clear of. When every place collides it takes the one that collides least, moved
// onto the sheet. Every construction places its labels here, so screen, paper and plot agree.

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <cstdint>
#include <optional>
#include <vector>

namespace zorva {

class DialPainter;

// The usual places round a point, in order of preference.
enum class LabelSide { Right, Left, Above, Below, AboveRight, BelowRight, AboveLeft, BelowLeft };

class LabelPlacer {
public:
    // `sheet`: the area every label must lie in (drawing units, y down).
    explicit LabelPlacer(const QRectF& sheet);

    // A line labels should stay off (a stroke of the drawing), and a box no label may cover
    // (a title block, a legend).
    void avoidLine(const QLineF& line);
    void avoidBox(const QRectF& box);

    // Chooses a box of `size` among `candidates` (top-left corners, best first) and keeps it
    // as taken. nullopt when the label does not fit on the sheet at all.
    std::optional<QRectF> place(const QSizeF& size, const std::vector<QPointF>& candidates);
    // As place(), but nullopt instead of a place that meets another label or a kept-clear box:
    // for numbers that are better left out than written over each other.
    std::optional<QRectF> placeApart(const QSizeF& size, const std::vector<QPointF>& candidates);
    // Candidates round `anchor` at `gap` from it, on the given sides in that order.
    std::optional<QRectF> placeNear(const QPointF& anchor, const QSizeF& size, double gap,
                                    const std::vector<LabelSide>& sides);

    // Places `text` in the painter's current font and writes it; false when it did not fit.
    bool write(DialPainter& painter, const QString& text, const std::vector<QPointF>& candidates);
    bool writeNear(DialPainter& painter, const QString& text, const QPointF& anchor, double gap,
                   const std::vector<LabelSide>& sides);

    // Writes `text` where the layout fixes it (a scale, a legend) and keeps its box as taken,
    // so that the labels placed later stay off it.
    // `directionDeg` turns the text counter-clockwise about (x, y), as DialPainter::text does.
    void writeAt(DialPainter& painter, const QString& text, double x, double y, double directionDeg = 0.0);

    const std::vector<QRectF>& placed() const { return placed_; }
    const QRectF& sheet() const { return sheet_; }

private:
    // Cost of a box: 0 when free; labels and boxes weigh far more than lines.
    double cost(const QRectF& box) const;
    std::optional<QRectF> best(const QSizeF& size, const std::vector<QPointF>& candidates, double& bestCost) const;
    QRectF ontoSheet(QRectF box) const;

    // Buckets of the kept-clear lines on a coarse grid, so that a candidate box is tested
    // against the lines near it only: a drawing has thousands of strokes and hundreds of
    // labels. Built when a box is first weighed after lines were added.
    void indexLines() const;
    int cellX(double x) const;
    int cellY(double y) const;

    QRectF sheet_;
    std::vector<QRectF> placed_;
    std::vector<QRectF> boxes_;
    std::vector<QLineF> lines_;

    mutable std::size_t indexedLines_ = 0;
    mutable QRectF gridArea_;
    mutable double cellWidth_ = 1.0, cellHeight_ = 1.0;
    mutable std::vector<std::vector<std::uint32_t>> cells_;  // line numbers per cell
    mutable std::vector<std::uint32_t> wideLines_;           // lines spanning many cells
    mutable std::vector<std::uint32_t> seen_;                // per line: the query that last met it
    mutable std::uint32_t query_ = 0;
};

// True when a segment crosses or lies inside the rectangle.
bool SegmentMeetsRect(const QLineF& line, const QRectF& rect);

}  // namespace zorva
