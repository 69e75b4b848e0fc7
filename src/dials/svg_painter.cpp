#include "dials/svg_painter.h"

#include "dials/canvas_painter.h"
#include "text/colour_legend.h"

#include <QFontMetricsF>

#include <charconv>
#include <cmath>
#include <set>

namespace zorva {
namespace {

constexpr int kFills = -1;  // the pseudo pen of the fills that start a run

// Numbers as the file needs them whatever the locale: at most two decimals (a micrometre).
std::string Num(double v) {
    if (!std::isfinite(v)) v = 0;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    std::string s(buf, res.ptr);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string Colour(Rgb rgb) {
    static const char* hex = "0123456789abcdef";
    std::string s = "#";
    for (int shift = 20; shift >= 0; shift -= 4) s += hex[(rgb >> shift) & 0xF];
    return s;
}

std::string Escaped(const QString& text) {
    std::string s;
    for (char c : text.toUtf8().toStdString()) {
        switch (c) {
            case '&': s += "&amp;"; break;
            case '<': s += "&lt;"; break;
            case '>': s += "&gt;"; break;
            case '"': s += "&quot;"; break;
            default: s += c;
        }
    }
    return s;
}

// "= full hours without EoT" -> "full-hours-without-eot".
std::string Slug(const QString& text) {
    std::string s;
    for (QChar c : text) {
        const char a = c.toLower().toLatin1();
        if ((a >= 'a' && a <= 'z') || (a >= '0' && a <= '9')) s += a;
        else if (!s.empty() && s.back() != '-') s += '-';
    }
    while (!s.empty() && s.back() == '-') s.pop_back();
    return s;
}

}  // namespace

SvgPainter::SvgPainter(const std::array<Rgb, 12>& colours, const QRectF& sheet, int legendOffset)
    : colours_(colours), sheet_(sheet), legendOffset_(legendOffset), font_(QStringLiteral("Arial")) {
    font_.setPixelSize(40);
    penRgb_ = colours_[static_cast<size_t>(penRole_)];
    textRgb_ = penRgb_;
}

std::string SvgPainter::groupId(int role) const {
    if (role == kFills) return "fills";
    const std::string pen = "pen-" + std::to_string(role + 1);
    const std::string name = Slug(ColourLegendRowAt(legendOffset_, role + 1, Language::English).role);
    return name.size() < 3 ? pen : pen + "-" + name;
}

std::string& SvgPainter::out(int role) {
    Run& run = runs_.back();
    auto it = run.body.find(role);
    if (it == run.body.end()) {
        run.order.push_back(role);
        it = run.body.emplace(role, std::string()).first;
    }
    return it->second;
}

std::string SvgPainter::strokeAttributes() const {
    std::string a = " fill=\"none\" stroke=\"" + Colour(penRgb_) + "\" stroke-width=\"" + Num(std::max(1, penWidth_)) + "\"";
    if (lineStyle_ == LineStyle::Dashed) {
        const double w = std::max(1, penWidth_);
        a += " stroke-dasharray=\"" + Num(4 * w) + " " + Num(2 * w) + "\"";
    }
    return a + clipAttribute();
}

std::string SvgPainter::clipAttribute() const {
    return clip_ ? " clip-path=\"url(#clip" + std::to_string(clip_) + ")\"" : std::string();
}

void SvgPainter::endPath() {
    if (!pathOpen_) return;
    out(penRole_) += "<path d=\"" + path_ + "\"" + strokeAttributes() + "/>\n";
    path_.clear();
    pathOpen_ = false;
}

void SvgPainter::setPenRole(int role) {
    endPath();
    penRole_ = std::clamp(role, 0, 11);
    penRgb_ = colours_[static_cast<size_t>(penRole_)];
}

void SvgPainter::setPenColour(Rgb rgb, int plotRole) {
    endPath();
    penRole_ = std::clamp(plotRole, 0, 11);
    penRgb_ = rgb;
}

void SvgPainter::setPenWidth(int width) {
    endPath();
    penWidth_ = width;
}

void SvgPainter::setLineStyle(LineStyle style) {
    endPath();
    lineStyle_ = style;
}

void SvgPainter::moveTo(double x, double y) {
    // A stroke that goes on where the last one ended stays one path.
    if (!pathOpen_ || QPointF(x, y) != lastPoint_) endPath();
    current_ = QPointF(x, y);
}

void SvgPainter::liftPen() { endPath(); }

void SvgPainter::lineTo(double x, double y) {
    QPointF a = current_, b(x, y);
    const bool continues = pathOpen_;
    current_ = b;
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(x) || !std::isfinite(y) ||
        !ClipSegment(a, b, sheet_)) {
        endPath();
        return;
    }
    // A segment cut at its start begins a new stroke where it enters the sheet.
    if (!continues || a != lastPoint_) {
        if (!path_.empty()) path_ += ' ';
        path_ += "M" + Num(a.x()) + " " + Num(a.y());
    }
    path_ += " L" + Num(b.x()) + " " + Num(b.y());
    pathOpen_ = true;
    lastPoint_ = b;
}

void SvgPainter::circle(double cx, double cy, double r, FillStyle fill, Rgb fillRgb) {
    endPath();
    if (!sheet_.adjusted(-r, -r, r, r).contains(cx, cy)) return;
    std::string attrs = strokeAttributes();
    if (fill != FillStyle::None) attrs.replace(attrs.find(" fill=\"none\""), 12, " fill=\"" + fillFor(fill, fillRgb) + "\"");
    out(penRole_) += "<circle cx=\"" + Num(cx) + "\" cy=\"" + Num(cy) + "\" r=\"" + Num(r) + "\"" + attrs + "/>\n";
}

void SvgPainter::arc(double cx, double cy, double r, double startDeg, double sweepDeg) {
    endPath();
    if (!sheet_.adjusted(-r, -r, r, r).contains(cx, cy)) return;
    if (std::abs(sweepDeg) >= 360.0) {
        out(penRole_) += "<circle cx=\"" + Num(cx) + "\" cy=\"" + Num(cy) + "\" r=\"" + Num(r) + "\"" +
                         strokeAttributes() + "/>\n";
        return;
    }
    const double a0 = startDeg * M_PI / 180.0, a1 = (startDeg + sweepDeg) * M_PI / 180.0;
    // Counter-clockwise as seen on the drawing is the negative sweep of y-down SVG.
    const std::string flags = std::string(std::abs(sweepDeg) > 180.0 ? " 1 " : " 0 ") + (sweepDeg > 0 ? "0 " : "1 ");
    out(penRole_) += "<path d=\"M" + Num(cx + r * std::cos(a0)) + " " + Num(cy - r * std::sin(a0)) + " A" + Num(r) +
                     " " + Num(r) + " 0" + flags + Num(cx + r * std::cos(a1)) + " " + Num(cy - r * std::sin(a1)) +
                     "\"" + strokeAttributes() + "/>\n";
}

void SvgPainter::rectangle(double x1, double y1, double x2, double y2) {
    endPath();
    const QRectF r = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized().intersected(sheet_);
    if (r.isEmpty()) return;
    out(penRole_) += "<rect x=\"" + Num(r.x()) + "\" y=\"" + Num(r.y()) + "\" width=\"" + Num(r.width()) +
                     "\" height=\"" + Num(r.height()) + "\"" + strokeAttributes() + "/>\n";
}

void SvgPainter::fillRect(double x1, double y1, double x2, double y2, Rgb rgb) {
    endPath();
    const QRectF r = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized().intersected(sheet_);
    if (r.isEmpty()) return;
    // What follows lies above the fill; what came before stays below it.
    if (!runs_.back().order.empty() && runs_.back().order.back() != kFills) runs_.emplace_back();
    out(kFills) += "<rect x=\"" + Num(r.x()) + "\" y=\"" + Num(r.y()) + "\" width=\"" + Num(r.width()) + "\" height=\"" +
                   Num(r.height()) + "\" fill=\"" + Colour(rgb) + "\" stroke=\"none\"" + clipAttribute() + "/>\n";
}

std::string SvgPainter::fillFor(FillStyle fill, Rgb rgb) {
    if (fill == FillStyle::Solid) return Colour(rgb);
    const std::string id = "hatch-" + Colour(rgb).substr(1);
    if (hatches_.insert(id).second)
        defs_ += "<pattern id=\"" + id + "\" width=\"8\" height=\"8\" patternUnits=\"userSpaceOnUse\">"
                 "<path d=\"M0 8 L8 0\" stroke=\"" + Colour(rgb) + "\" stroke-width=\"1\"/></pattern>\n";
    return "url(#" + id + ")";
}

void SvgPainter::polygon(const std::vector<QPointF>& points, FillStyle fill, Rgb fillRgb) {
    endPath();
    if (points.size() < 3) return;
    std::string d;
    for (size_t i = 0; i < points.size(); ++i) {
        const QPointF p(std::clamp(points[i].x(), sheet_.left() - 1e4, sheet_.right() + 1e4),
                        std::clamp(points[i].y(), sheet_.top() - 1e4, sheet_.bottom() + 1e4));
        d += (i ? " L" : "M") + Num(p.x()) + " " + Num(p.y());
    }
    std::string attrs = strokeAttributes();
    if (fill != FillStyle::None) attrs.replace(attrs.find(" fill=\"none\""), 12, " fill=\"" + fillFor(fill, fillRgb) + "\"");
    // Cut to the sheet as the other targets are.
    if (!clip_) attrs += " clip-path=\"url(#sheet)\"";
    out(penRole_) += "<path d=\"" + d + " Z\"" + attrs + "/>\n";
}

void SvgPainter::setFont(const QString& family, double height, bool bold) {
    if (signs_) plainFamily_ = family;
    font_ = QFont(signs_ ? QStringLiteral("DejaVu Sans") : family);
    font_.setPixelSize(std::max(1, static_cast<int>(std::lround(height))));
    font_.setBold(bold);
}

void SvgPainter::setTextRole(int role) {
    textRole_ = std::clamp(role, 0, 11);
    textRgb_ = colours_[static_cast<size_t>(textRole_)];
}

void SvgPainter::setTextColour(Rgb rgb, int plotRole) {
    textRole_ = std::clamp(plotRole, 0, 11);
    textRgb_ = rgb;
}

double SvgPainter::textHeight() const { return QFontMetricsF(font_).height(); }

double SvgPainter::textWidth(const QString& text) const { return QFontMetricsF(font_).horizontalAdvance(text); }

void SvgPainter::text(double x, double y, const QString& text, TextAnchor anchor, double directionDeg) {
    endPath();
    if (text.isEmpty() || !std::isfinite(x) || !std::isfinite(y)) return;
    if (!sheet_.adjusted(-1e4, -1e4, 1e4, 1e4).contains(x, y)) return;
    const QFontMetricsF fm(font_);
    const double baseline = anchor == TextAnchor::TopLeft ? fm.ascent() : -fm.descent();
    std::string e = "<text x=\"" + Num(x) + "\" y=\"" + Num(y + baseline) + "\" font-family=\"" +
                    Escaped(font_.family()) + "\" font-size=\"" + Num(font_.pixelSize()) + "\"";
    if (font_.bold()) e += " font-weight=\"bold\"";
    e += " fill=\"" + Colour(textRgb_) + "\"";
    if (directionDeg != 0.0) e += " transform=\"rotate(" + Num(-directionDeg) + " " + Num(x) + " " + Num(y) + ")\"";
    e += clipAttribute() + " xml:space=\"preserve\">" + Escaped(text) + "</text>\n";
    out(textRole_) += e;
}

void SvgPainter::setTextKind(TextKind kind) { SwitchSignFont(font_, plainFamily_, signs_, kind); }

void SvgPainter::setWindow(double x1, double y1, double x2, double y2) {
    endPath();
    const QRectF r = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    clip_ = ++clips_;
    defs_ += "<clipPath id=\"clip" + std::to_string(clip_) + "\"><rect x=\"" + Num(r.x()) + "\" y=\"" + Num(r.y()) +
             "\" width=\"" + Num(r.width()) + "\" height=\"" + Num(r.height()) + "\"/></clipPath>\n";
}

void SvgPainter::resetWindow() {
    endPath();
    clip_ = 0;
}

QByteArray SvgPainter::document(const QString& title) {
    endPath();
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
    doc += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + Num(sheet_.width() / 10.0) +
           "mm\" height=\"" + Num(sheet_.height() / 10.0) + "mm\" viewBox=\"0 0 " + Num(sheet_.width()) + " " +
           Num(sheet_.height()) + "\">\n";
    doc += "<title>" + Escaped(title) + "</title>\n<desc>1 unit = 0.1 mm</desc>\n";
    doc += "<defs>\n<clipPath id=\"sheet\"><rect x=\"0\" y=\"0\" width=\"" + Num(sheet_.width()) + "\" height=\"" +
           Num(sheet_.height()) + "\"/></clipPath>\n" + defs_ + "</defs>\n";
    std::map<int, int> seen;
    for (const Run& run : runs_) {
        for (int role : run.order) {
            const std::string id = groupId(role);
            const int n = ++seen[role];
            doc += "<g id=\"" + (n == 1 ? id : id + "-" + std::to_string(n)) + "\" class=\"" + id + "\">\n";
            doc += run.body.at(role);
            doc += "</g>\n";
        }
    }
    doc += "</svg>\n";
    return QByteArray::fromStdString(doc);
}

}  // namespace zorva
