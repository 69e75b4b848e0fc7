#include "dials/plot_painter.h"

#include "astro/angles.h"
#include "text/number_format.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zorva {
namespace {

// A font height is a line pitch, as on a canvas: the plotter's capitals take three
// quarters of it and are two thirds as wide as high; a character cell is 1.5 widths wide.
constexpr double kCapitalPerHeight = 0.75;
constexpr double kWidthPerCapital = 2.0 / 3.0;

}  // namespace

PlotPainter::PlotPainter(PlotStream& stream, int lineWidthOption, int selectedPen, double sheetHeight,
                         PlotSpelling spelling)
    : stream_(stream),
      lineWidthOption_(lineWidthOption),
      spelling_(std::move(spelling)),
      sheetHeight_(sheetHeight),
      selectedPen_(selectedPen) {}

PlotPainter::~PlotPainter() {
    // A painter going out of scope during a failed write must not throw again.
    try {
        flush();
    } catch (const PlotWriteError&) {
    }
}

int PlotPainter::PenOfRole(int role) { return std::clamp(role, 0, 11) + 1; }

void PlotPainter::flush() { closeRun(); }

void PlotPainter::closeRun() {
    if (!runOpen_) return;
    runOpen_ = false;
    const QString run = std::exchange(run_, QString());
    stream_.WritePlot(run);
}

void PlotPainter::selectPen(int pen) {
    if (pen == selectedPen_) return;
    closeRun();
    stream_.selectPen(pen);
    selectedPen_ = pen;
}

void PlotPainter::setPenRole(int role) { strokePen_ = PenOfRole(role); }

void PlotPainter::setPenColour(Rgb, int plotRole) { strokePen_ = PenOfRole(plotRole); }

void PlotPainter::setPenWidth(int width) {
    // Plots of the finest line keep the plotter's own pen.
    if (lineWidthOption_ == 1) return;
    wantedWidth_ = std::max(0, width - 1);
}

void PlotPainter::applyPenWidth() {
    if (wantedWidth_ < 0 || wantedWidth_ == writtenWidth_) return;
    closeRun();
    stream_.penWidth(wantedWidth_);
    writtenWidth_ = wantedWidth_;
}

void PlotPainter::setLineStyle(LineStyle style) {
    if (style == lineStyle_) return;
    closeRun();
    lineStyle_ = style;
    if (style == LineStyle::Dashed) stream_.lineDashed();
    else stream_.lineSolid();
}

QString PlotPainter::coord(double units) const {
    if (spelling_.coordinateWidth > 0) return RealToText(spelling_.coordinateWidth, 0, units * stream_.p());
    return stream_.coord(units);
}

void PlotPainter::moveTo(double x, double y) {
    const QPointF to(x, plotY(y));
    if (spelling_.eagerMoves) {
        closeRun();
        applyPenWidth();
        selectPen(strokePen_);
        position_ = to;
        stream_.WritePlot(QStringLiteral(";PU ") + coord(to.x()) + QLatin1Char(' ') + coord(to.y()));
        moved_ = true;
        return;
    }
    // A move to where the pen already is continues the stroke (joined strokes of a measure).
    if (runOpen_ && stream_.coord(to.x()) == stream_.coord(position_.x()) &&
        stream_.coord(to.y()) == stream_.coord(position_.y()))
        return;
    closeRun();
    position_ = to;
}

void PlotPainter::lineTo(double x, double y) {
    const QPointF to(x, plotY(y));
    // A stroke shorter than a plotter unit is no stroke: plotters and viewers complain about
    // zero-length segments. Judged at the plot file's resolution, so that a plot at 25-fold
    // resolution leaves out the same points.
    const QString kx = RoundToIntText(to.x()), ky = RoundToIntText(to.y());
    if (!spelling_.shortStrokes &&
        (runOpen_ ? (kx == lastX_ && ky == lastY_)
                  : (kx == RoundToIntText(position_.x()) && ky == RoundToIntText(position_.y())))) {
        position_ = to;
        return;
    }
    const QString tx = coord(to.x()), ty = coord(to.y());
    applyPenWidth();
    selectPen(strokePen_);
    if (!runOpen_) {
        // After an eager move the pen stands at the run's start already.
        run_ = moved_ ? QStringLiteral(";PD")
                      : QStringLiteral(";PU ") + coord(position_.x()) + QLatin1Char(' ') + coord(position_.y()) +
                            QStringLiteral(";PD");
        runOpen_ = true;
        moved_ = false;
    }
    run_ += QLatin1Char(' ') + tx + QLatin1Char(' ') + ty;
    lastX_ = kx;
    lastY_ = ky;
    position_ = to;
    // Keep the buffer small on very long curves.
    if (run_.size() > 4096) {
        stream_.WritePlot(std::exchange(run_, spelling_.unbrokenRuns ? QString() : QStringLiteral(";PD")));
    }
}

void PlotPainter::polyline(const std::vector<QPointF>& points) {
    if (points.size() < 2) return;
    moveTo(points.front().x(), points.front().y());
    for (size_t i = 1; i < points.size(); ++i) lineTo(points[i].x(), points[i].y());
    closeRun();
}

void PlotPainter::circle(double cx, double cy, double r, FillStyle, Rgb) {
    // Plots carry no fills: a filled mark is its outline in the pen of its role.
    if (!std::isfinite(cx) || !std::isfinite(cy) || !(r > 0)) return;
    const QPointF centre(cx, plotY(cy));
    if (centre.x() - r < 0 || centre.x() + r > kSheetWidth || centre.y() - r < 0 || centre.y() + r > sheetHeight_) {
        // Plot windows cut strokes but not circles: one that crosses the sheet's edge is
        // drawn as chords, so that only its part on the sheet reaches paper or DXF.
        if (centre.x() + r < 0 || centre.x() - r > kSheetWidth || centre.y() + r < 0 || centre.y() - r > sheetHeight_)
            return;
        std::vector<QPointF> chords;
        for (int k = 0; k <= 72; ++k) chords.emplace_back(cx + r * CosDeg(5.0 * k), cy + r * SinDeg(5.0 * k));
        polyline(chords);
        return;
    }
    applyPenWidth();
    selectPen(strokePen_);
    closeRun();
    position_ = centre;
    moved_ = false;
    // Chords of 3 degrees: smooth at every size, and clean in plot viewers.
    stream_.WritePlot(QStringLiteral(";PU ") + stream_.coord(position_.x()) + QLatin1Char(' ') +
                      stream_.coord(position_.y()) + QStringLiteral(";CI ") + stream_.coord(r) + QStringLiteral(",3;"));
}

void PlotPainter::arc(double cx, double cy, double r, double startDeg, double sweepDeg) {
    applyPenWidth();
    selectPen(strokePen_);
    closeRun();
    // Counter-clockwise as seen on the drawing is counter-clockwise on the y-up sheet.
    const QPointF centre(cx, plotY(cy));
    const QPointF start(centre.x() + r * CosDeg(startDeg), centre.y() + r * SinDeg(startDeg));
    stream_.penUp(start);
    stream_.arc(centre.x(), centre.y(), sweepDeg);
    const double end = startDeg + sweepDeg;
    position_ = QPointF(centre.x() + r * CosDeg(end), centre.y() + r * SinDeg(end));
    moved_ = false;
}

void PlotPainter::rectangle(double x1, double y1, double x2, double y2) {
    polyline({{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}});
}

void PlotPainter::fillRect(double, double, double, double, Rgb) {
    // White strips and backgrounds only erase on a canvas; a plot has nothing to erase.
}

void PlotPainter::polygon(const std::vector<QPointF>& points, FillStyle, Rgb) {
    if (points.size() < 2) return;
    std::vector<QPointF> closed = points;
    closed.push_back(points.front());
    polyline(closed);
}

void PlotPainter::setFont(const QString&, double height, bool) {
    fontHeight_ = std::max(1.0, height);
    for (const auto& [spelledHeight, command] : spelling_.sizeCommands) {
        if (spelledHeight != fontHeight_ || fontHeight_ == writtenSize_) continue;
        closeRun();
        stream_.WritePlot(command);
        writtenSize_ = fontHeight_;
    }
}

void PlotPainter::setTextRole(int role) {
    textPen_ = PenOfRole(role);
    if (spelling_.eagerTextPen) selectPen(textPen_);
}

void PlotPainter::setTextColour(Rgb, int plotRole) { setTextRole(plotRole); }

double PlotPainter::textWidth(const QString& text) const {
    return static_cast<double>(text.size()) * 1.5 * kWidthPerCapital * kCapitalPerHeight * fontHeight_;
}

void PlotPainter::writeSize() {
    if (fontHeight_ == writtenSize_) return;
    const double capitalCm = kCapitalPerHeight * fontHeight_ / kPlotUnitsPerCm;
    stream_.characterSize(capitalCm * kWidthPerCapital, capitalCm);
    writtenSize_ = fontHeight_;
}

void PlotPainter::text(double x, double y, const QString& text, TextAnchor anchor, double directionDeg) {
    // Plotters know no umlauts; the legend texts are written the way a plotter can print them.
    const QString label = TransliterateUmlauts(text);
    if (label.trimmed().isEmpty() || !std::isfinite(x) || !std::isfinite(y)) return;
    // A plot label stands on its lower left corner.
    const double capital = kCapitalPerHeight * fontHeight_;
    const double baselineRow = anchor == TextAnchor::TopLeft ? y + capital : y;
    double px = x, py = plotY(baselineRow);
    // A plotter cuts labels at the sheet, a DXF does not: a label that does not fit on the
    // sheet is left out.
    if (directionDeg == 0.0 && !spelling_.labelsOffSheet && (px < 0 || px + textWidth(label) > kSheetWidth || py < 0 || py + capital > sheetHeight_))
        return;
    if (anchor == TextAnchor::TopLeft && directionDeg != 0.0) {
        // Turn the corner offset with the text.
        px = x + capital * SinDeg(directionDeg);
        py = plotY(y) - capital * CosDeg(directionDeg);
    }
    applyPenWidth();
    selectPen(textPen_);
    closeRun();
    stream_.penUp(px, py);
    writeSize();
    if (directionDeg != direction_) {
        // "+ 0.0" keeps a vanishing component from reading "-0".
        stream_.direction(std::round(100.0 * CosDeg(directionDeg)) + 0.0, std::round(100.0 * SinDeg(directionDeg)) + 0.0);
        direction_ = directionDeg;
    }
    stream_.label(label);
    position_ = QPointF(px, py);
    moved_ = false;
}

void PlotPainter::setTextKind(TextKind kind) {
    flush();
    if (kind == TextKind::ZodiacSigns) stream_.symbolSet();
    else stream_.standardSet();
    if (spelling_.penAfterCharacterSet) selectedPen_ = -1;
}

// The symbol set has the signs at the characters from 94 (Aries) on.
QString PlotPainter::zodiacSign(int sign) const {
    return QString(QLatin1Char(static_cast<char>(94 + ((sign % 12) + 12) % 12)));
}

void PlotPainter::liftPen() {
    flush();
    moved_ = false;
    if (spelling_.bareLift) stream_.WritePlot(QStringLiteral(";PU"));
    else stream_.penUp();
}

void PlotPainter::setWindow(double x1, double y1, double x2, double y2) {
    closeRun();
    const double left = std::min(x1, x2), right = std::max(x1, x2);
    const double bottom = std::min(plotY(y1), plotY(y2)), top = std::max(plotY(y1), plotY(y2));
    stream_.inputWindow(left, bottom, right, top);
}

void PlotPainter::resetWindow() {
    closeRun();
    stream_.inputWindow();
}

}  // namespace zorva
