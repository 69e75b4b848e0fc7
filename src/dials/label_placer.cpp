#include "dials/label_placer.h"

#include "dials/canvas_painter.h"
#include "dials/dial_painter.h"

#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

constexpr double kLabelCost = 1000.0;  // per label met
constexpr double kLineCost = 1.0;      // per line met

bool Finite(const QRectF& r) {
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.width()) && std::isfinite(r.height());
}

constexpr int kGridCells = 64;       // per side
constexpr int kWideLineCells = 256;  // a line over more cells is tested against every box

}  // namespace

bool SegmentMeetsRect(const QLineF& line, const QRectF& rect) {
    // Far apart (the usual case): not even the bounding boxes meet.
    if (std::max(line.x1(), line.x2()) < rect.left() || std::min(line.x1(), line.x2()) > rect.right() ||
        std::max(line.y1(), line.y2()) < rect.top() || std::min(line.y1(), line.y2()) > rect.bottom())
        return false;
    QPointF a = line.p1(), b = line.p2();
    return rect.contains(a) || rect.contains(b) || ClipSegment(a, b, rect);
}

LabelPlacer::LabelPlacer(const QRectF& sheet) : sheet_(sheet.normalized()) {}

void LabelPlacer::avoidLine(const QLineF& line) {
    if (std::isfinite(line.x1()) && std::isfinite(line.y1()) && std::isfinite(line.x2()) && std::isfinite(line.y2()))
        lines_.push_back(line);
}

void LabelPlacer::avoidBox(const QRectF& box) {
    if (Finite(box)) boxes_.push_back(box.normalized());
}

double LabelPlacer::cost(const QRectF& label) const {
    // Two labels that touch read as one: a tenth of the text height between them.
    const double gap = std::min(label.width(), label.height()) / 10;
    const QRectF spaced = label.adjusted(-gap, -gap, gap, gap);
    double c = 0.0;
    for (const QRectF& r : placed_)
        if (r.intersects(spaced)) c += kLabelCost;
    for (const QRectF& r : boxes_)
        if (r.intersects(spaced)) c += kLabelCost;
    // Lines cost less the more a label would have to move to clear them. A line that only
    // grazes the box still looks as if it ran through the letters: a margin of a sixth of
    // the text height keeps it clear.
    if (lines_.empty()) return c;
    const double margin = std::min(label.width(), label.height()) / 6;
    const QRectF box = label.adjusted(-margin, -margin, margin, margin);
    if (indexedLines_ != lines_.size()) indexLines();
    if (++query_ == 0) {  // the stamps wrapped round: forget them
        std::fill(seen_.begin(), seen_.end(), 0u);
        query_ = 1;
    }
    auto meet = [&](std::uint32_t i) {
        if (seen_[i] == query_) return;
        seen_[i] = query_;
        if (SegmentMeetsRect(lines_[i], box)) c += kLineCost;
    };
    for (std::uint32_t i : wideLines_) meet(i);
    const int x0 = cellX(box.left()), x1 = cellX(box.right());
    const int y0 = cellY(box.top()), y1 = cellY(box.bottom());
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            for (std::uint32_t i : cells_[static_cast<std::size_t>(y) * kGridCells + x]) meet(i);
    return c;
}

int LabelPlacer::cellX(double x) const {
    const double f = std::floor((x - gridArea_.left()) / cellWidth_);
    return f < 0 ? 0 : f >= kGridCells ? kGridCells - 1 : static_cast<int>(f);
}

int LabelPlacer::cellY(double y) const {
    const double f = std::floor((y - gridArea_.top()) / cellHeight_);
    return f < 0 ? 0 : f >= kGridCells ? kGridCells - 1 : static_cast<int>(f);
}

void LabelPlacer::indexLines() const {
    // The grid spans the lines where they can meet a label: on the sheet. Cell numbers are
    // clamped at the border, the same for lines and boxes, so nothing beyond it is lost.
    QRectF extent;
    for (const QLineF& l : lines_) extent |= QRectF(l.p1(), l.p2()).normalized().adjusted(0, 0, 1e-9, 1e-9);
    const QRectF onSheet = extent.intersected(sheet_);
    gridArea_ = onSheet.isValid() ? onSheet : extent;
    cellWidth_ = std::max(gridArea_.width() / kGridCells, 1e-9);
    cellHeight_ = std::max(gridArea_.height() / kGridCells, 1e-9);
    cells_.assign(static_cast<std::size_t>(kGridCells) * kGridCells, {});
    wideLines_.clear();
    for (std::uint32_t i = 0; i < lines_.size(); ++i) {
        const QLineF& l = lines_[i];
        const int x0 = cellX(std::min(l.x1(), l.x2())), x1 = cellX(std::max(l.x1(), l.x2()));
        const int y0 = cellY(std::min(l.y1(), l.y2())), y1 = cellY(std::max(l.y1(), l.y2()));
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > kWideLineCells) {
            wideLines_.push_back(i);
            continue;
        }
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) cells_[static_cast<std::size_t>(y) * kGridCells + x].push_back(i);
    }
    seen_.assign(lines_.size(), 0u);
    query_ = 0;
    indexedLines_ = lines_.size();
}

QRectF LabelPlacer::ontoSheet(QRectF box) const {
    if (box.right() > sheet_.right()) box.moveRight(sheet_.right());
    if (box.left() < sheet_.left()) box.moveLeft(sheet_.left());
    if (box.bottom() > sheet_.bottom()) box.moveBottom(sheet_.bottom());
    if (box.top() < sheet_.top()) box.moveTop(sheet_.top());
    return box;
}

std::optional<QRectF> LabelPlacer::place(const QSizeF& size, const std::vector<QPointF>& candidates) {
    double k = 0.0;
    const std::optional<QRectF> box = best(size, candidates, k);
    if (box) placed_.push_back(*box);
    return box;
}

std::optional<QRectF> LabelPlacer::placeApart(const QSizeF& size, const std::vector<QPointF>& candidates) {
    double k = 0.0;
    const std::optional<QRectF> box = best(size, candidates, k);
    if (!box || k >= kLabelCost) return std::nullopt;
    placed_.push_back(*box);
    return box;
}

std::optional<QRectF> LabelPlacer::best(const QSizeF& size, const std::vector<QPointF>& candidates,
                                        double& bestCost) const {
    if (!(size.width() >= 0) || !(size.height() >= 0) || size.width() > sheet_.width() ||
        size.height() > sheet_.height())
        return std::nullopt;
    std::optional<QRectF> chosen;
    bestCost = 0.0;
    for (const QPointF& c : candidates) {
        if (!std::isfinite(c.x()) || !std::isfinite(c.y())) continue;
        QRectF box(c, size);
        // A place off the sheet is taken only when nothing better is found, moved onto it.
        const bool on = sheet_.contains(box);
        if (!on) box = ontoSheet(box);
        const double k = cost(box) + (on ? 0.0 : 0.5 * kLineCost);
        if (!chosen || k < bestCost) {
            chosen = box;
            bestCost = k;
            if (k == 0.0) break;
        }
    }
    return chosen;
}

std::optional<QRectF> LabelPlacer::placeNear(const QPointF& a, const QSizeF& size, double gap,
                                             const std::vector<LabelSide>& sides) {
    const double w = size.width(), h = size.height();
    std::vector<QPointF> candidates;
    candidates.reserve(sides.size());
    for (LabelSide side : sides) {
        switch (side) {
        case LabelSide::Right: candidates.push_back({a.x() + gap, a.y() - h / 2}); break;
        case LabelSide::Left: candidates.push_back({a.x() - gap - w, a.y() - h / 2}); break;
        case LabelSide::Above: candidates.push_back({a.x() - w / 2, a.y() - gap - h}); break;
        case LabelSide::Below: candidates.push_back({a.x() - w / 2, a.y() + gap}); break;
        case LabelSide::AboveRight: candidates.push_back({a.x() + gap, a.y() - gap - h}); break;
        case LabelSide::BelowRight: candidates.push_back({a.x() + gap, a.y() + gap}); break;
        case LabelSide::AboveLeft: candidates.push_back({a.x() - gap - w, a.y() - gap - h}); break;
        case LabelSide::BelowLeft: candidates.push_back({a.x() - gap - w, a.y() + gap}); break;
        }
    }
    return place(size, candidates);
}

bool LabelPlacer::write(DialPainter& painter, const QString& text, const std::vector<QPointF>& candidates) {
    const auto box = place(QSizeF(painter.textWidth(text), painter.textHeight()), candidates);
    if (!box) return false;
    painter.text(box->left(), box->top(), text);
    return true;
}

void LabelPlacer::writeAt(DialPainter& painter, const QString& text, double x, double y, double directionDeg) {
    painter.text(x, y, text, TextAnchor::TopLeft, directionDeg);
    QTransform turn;
    turn.translate(x, y);
    turn.rotate(-directionDeg);
    const QRectF box = turn.mapRect(QRectF(0, 0, painter.textWidth(text), painter.textHeight()));
    if (Finite(box)) placed_.push_back(box);
}

bool LabelPlacer::writeNear(DialPainter& painter, const QString& text, const QPointF& anchor, double gap,
                            const std::vector<LabelSide>& sides) {
    const auto box = placeNear(anchor, QSizeF(painter.textWidth(text), painter.textHeight()), gap, sides);
    if (!box) return false;
    painter.text(box->left(), box->top(), text);
    return true;
}

}  // namespace zorva
