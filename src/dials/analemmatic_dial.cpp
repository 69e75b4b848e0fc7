#include "dials/analemmatic_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "dials/added_dial_sheet.h"
#include "dials/dial_painter.h"
#include "dials/label_placer.h"
#include "dials/live_shadow.h"
#include "dials/month_labels.h"
#include "dials/sheet_plot.h"
#include "text/month_names.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QLineF>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

namespace zorva {
namespace {

enum Role { kFrame = 0, kDates = 1, kHours = 2, kText = 3, kEights = 5, kGnomon = 9 };

double Obliquity(const DialContext& c) {
    const double e = std::abs(c.zodiacDeclinations()[7]);
    return e > 1.0 ? e : 23.44;
}

// The instant of `clock` hours of the reckoning on `day` as a fraction of a day from noon UT.
double DayFraction(const DialContext& c, HourReckoning r, double clock) {
    const double meridian = IsZoneReckoning(r) ? c.zoneMeridian : c.longitude;
    return (clock + meridian / 15.0 - 12.0) / 24.0;
}

QString MonthDay(int month, int day, Language lang) {
    return QString::number(day) + QStringLiteral(". ") + ShortMonthName(month, lang);
}

QRectF BoxOf(const AnalemmaticFigure& f) {
    double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
    auto take = [&](QPointF p) {
        x0 = std::min(x0, p.x());
        x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y());
        y1 = std::max(y1, p.y());
    };
    for (const QPointF& p : f.ellipse) take(p);
    for (const auto& e : f.eights)
        for (const auto& piece : e.pieces)
            for (const QPointF& p : piece) take(p);
    take(f.winterEnd);
    take(f.summerEnd);
    if (x0 > x1) return {};
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

// What the layout and the shadow need of the traced figure.
struct FigureExtent {
    QRectF box;
    double minimumGnomon = 0;
};

// The extent of the dial of `c`, remembered for the last dial asked: the live shadow needs it
// on every frame, and tracing the figure-eights and the minimum gnomon takes longer than one.
// Everything the figure depends on is the key, so a changed dial is traced anew.
FigureExtent ExtentOf(const DialContext& c) {
    const AnalemmaticSettings& a = c.state.analemmatic;
    const std::array<double, 10> key{c.state.latitude, a.semiMajorMm, a.vertical ? 1.0 : 0.0, a.gnomonAngle,
                                     double(a.reckoning), c.state.wallDeclination, double(c.year), c.longitude,
                                     c.zoneMeridian, Obliquity(c)};
    thread_local std::optional<std::pair<std::array<double, 10>, FigureExtent>> last;
    if (!last || last->first != key) {
        const AnalemmaticFigure f = AnalemmaticFigureOf(c);
        last.emplace(key, FigureExtent{BoxOf(f), f.minimumGnomon});
    }
    return last->second;
}

}  // namespace

AnalemmaticInput AnalemmaticInputOf(const DialContext& c) {
    const AnalemmaticSettings& a = c.state.analemmatic;
    AnalemmaticInput in;
    in.latitude = c.state.latitude;
    in.semiMajor = a.semiMajorMm;
    in.vertical = a.vertical;
    in.wallDeclination = c.state.wallDeclination;
    in.gnomonAngle = a.gnomonAngle;
    return in;
}

QString AnalemmaticRefusal(const DialContext& c) {
    switch (CheckAnalemmatic(AnalemmaticInputOf(c))) {
    case AnalemmaticProblem::None: return {};
    case AnalemmaticProblem::NoSize: return TextOf(TextId::AnalemmaticNoSize, c.language);
    case AnalemmaticProblem::FlatEllipse: return TextOf(TextId::AnalemmaticFlat, c.language);
    case AnalemmaticProblem::NoDateScale: return TextOf(TextId::AnalemmaticNoDateScale, c.language);
    case AnalemmaticProblem::GnomonTooFlat: break;
    }
    return TextOf(TextId::AnalemmaticGnomonFlat, c.language);
}

AnalemmaticFigure AnalemmaticFigureOf(const DialContext& c) {
    AnalemmaticFigure f;
    const AnalemmaticDial dial(AnalemmaticInputOf(c));
    const HourReckoning r = c.state.analemmatic.reckoning;
    const double eps = Obliquity(c);
    f.mean = IsMeanReckoning(r);
    f.semiMinor = dial.semiMinor();
    f.minimumGnomon = dial.minimumGnomonLength(eps, f.mean);
    for (int k = 0; k <= 180; ++k) f.ellipse.push_back(dial.hourPoint(-180.0 + 2.0 * k));
    f.winterEnd = dial.gnomonFoot(c.latitude < 0 ? eps : -eps);
    f.summerEnd = dial.gnomonFoot(c.latitude < 0 ? -eps : eps);

    if (!f.mean) {
        for (int half = 0; half < 48; ++half) {
            const double clock = half / 2.0;
            const double t = ClockHourAngle(c, r, clock, 0.0);
            if (!dial.hourCanBeLit(t, eps)) continue;
            f.hours.push_back({clock, dial.hourPoint(t), half % 2 == 0});
        }
    } else {
        std::array<int, 13> firstOfMonth{};
        for (int m = 1; m <= 12; ++m) firstOfMonth[static_cast<size_t>(m)] = DayOfYear(c.year, m, 1);
        for (int hour = 0; hour < 24; ++hour) {
            AnalemmaticFigure::FigureEight eight;
            eight.clock = hour;
            std::vector<QPointF> piece;
            const double tau = ClockHourAngle(c, r, hour, 0.0);
            for (int day = 1; day <= 366; ++day) {
                const DeclinationEoT sun = c.ephemeris().at(std::min(day, 365), DayFraction(c, r, hour));
                const Vec3 s = SunDirection(tau + sun.eot, sun.declination, c.state.latitude);
                const bool lit = s.z > 0.0 && s.dot(dial.plane().normal) > 0.0;
                if (!lit) {
                    if (piece.size() > 1) eight.pieces.push_back(piece);
                    piece.clear();
                    continue;
                }
                const QPointF at = dial.meanTimePoint(tau, sun.declination, sun.eot, eps);
                piece.push_back(at);
                for (int m = 1; m <= 12; ++m)
                    if (firstOfMonth[static_cast<size_t>(m)] == day) eight.firsts.push_back({m, at});
            }
            if (piece.size() > 1) eight.pieces.push_back(piece);
            if (!eight.pieces.empty()) f.eights.push_back(eight);
        }
    }

    for (int month = 1; month <= 12; ++month) {
        for (int day : {1, 11, 21}) {
            const double delta = c.ephemeris().noonDeclination(DayOfYear(c.year, month, day));
            f.dates.push_back({month, day, dial.gnomonFoot(delta), month <= 6});
        }
    }
    return f;
}

QString AnalemmaticLayoutText(const DialContext& c) {
    const bool metres = c.state.analemmatic.metres;
    const Language l = c.language;
    const double unit = metres ? 1000.0 : 1.0;
    const int decimals = metres ? 3 : 1;
    // A value that rounds to zero is written without a sign.
    auto number = [&](double mm) {
        const double v = mm / unit;
        return RealToText(decimals, decimals, std::abs(v) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : v).trimmed();
    };
    const AnalemmaticFigure f = AnalemmaticFigureOf(c);
    QString t = TextOf(TextId::LayoutPoint, l) + QStringLiteral(";x ") + TextOf(c.state.analemmatic.vertical ? TextId::LayoutRight : TextId::LayoutEast, l) +
                QStringLiteral(" [") + (metres ? QStringLiteral("m") : QStringLiteral("mm")) + QStringLiteral("];y ") +
                TextOf(c.state.analemmatic.vertical ? TextId::LayoutUp : TextId::LayoutNorth, l) +
                QStringLiteral(" [") + (metres ? QStringLiteral("m") : QStringLiteral("mm")) + QStringLiteral("]\r\n");
    auto row = [&](const QString& name, QPointF p) {
        t += name + QLatin1Char(';') + number(p.x()) + QLatin1Char(';') + number(p.y()) + QStringLiteral("\r\n");
    };
    for (const auto& h : f.hours) row(ClockLabel(h.clock) + TextOf(TextId::LayoutOClock, l), h.at);
    for (const auto& e : f.eights)
        for (const auto& m : e.firsts)
            row(ClockLabel(e.clock) + TextOf(TextId::LayoutOClock, l) + QStringLiteral(" ") + MonthDay(m.month, 1, l), m.at);
    for (const auto& d : f.dates) row(TextOf(TextId::LayoutGnomonOn, l) + MonthDay(d.month, d.day, l), d.at);
    return t;
}

namespace {

class AnalemmaticDrawing {
public:
    AnalemmaticDrawing(const DialContext& c, const DialRequest& r, DialPainter& p)
        : c_(c), sheet_(SheetOf(c, r)), p_(p), placer_(sheet_.rect()) {}
    void run();
    // The shadow of a gnomon of the minimum length standing on the moment's date, and the
    // point it reads: on the ellipse, or on the day's place of the figure-eight.
    CastShadow shadow(const ShadowMoment& moment);

private:
    QPointF at(QPointF mm) const { return {cx_ + mm.x() * k_, cy_ - mm.y() * k_}; }
    void layout();
    void legend();
    void scale();
    void hours();
    void dates();
    void arrows();

    const DialContext& c_;
    AddedDialSheet sheet_;
    DialPainter& p_;
    LabelPlacer placer_;
    AnalemmaticFigure f_;      // traced by run() only
    FigureExtent extent_;
    double reduction_ = 1, k_ = 1, cx_ = 0, cy_ = 0, th_ = 12;
    double legendBottom_ = 0;
};

void AnalemmaticDrawing::layout() {
    th_ = sheet_.textHeight;
    scale();
}

void AnalemmaticDrawing::run() {
    p_.setWindow(sheet_.area.ox, sheet_.area.oy, sheet_.area.ox + sheet_.area.W - 2, sheet_.area.oy + sheet_.area.H - 2);
    f_ = AnalemmaticFigureOf(c_);
    extent_ = {BoxOf(f_), f_.minimumGnomon};
    layout();
    p_.setPenWidth(c_.lineWidth);
    hours();
    dates();
    p_.setPenWidth(1);
    arrows();
    legend();
    if (!sheet_.area.plot()) p_.resetWindow();
}

CastShadow AnalemmaticDrawing::shadow(const ShadowMoment& moment) {
    extent_ = ExtentOf(c_);
    layout();
    CastShadow out = SunlitShadow(c_, moment, sheet_.rect());
    if (out.status == ShadowStatus::SunDown) return out;
    const AnalemmaticDial dial(AnalemmaticInputOf(c_));
    const double delta = out.sun.declination;
    const Vec3 s = SunDirection(out.sun.hourAngle, delta, c_.state.latitude);
    QPointF tip;
    if (!dial.shadowOfTop(s, delta, extent_.minimumGnomon, tip)) {
        out.status = ShadowStatus::PlaneNotLit;
        return out;
    }
    const std::optional<double> reading = dial.shadowReading(s, delta, out.sun.hourAngle);
    if (!reading) return out;
    // A mean-time dial is read where the shadow meets the day's place on the figure-eight.
    const QPointF read = IsMeanReckoning(c_.state.analemmatic.reckoning) ? dial.meanTimePoint(*reading - out.sun.eot, delta, out.sun.eot, Obliquity(c_))
                                 : dial.hourPoint(*reading);
    out.status = ShadowStatus::Cast;
    out.mark = ShadowMark::GnomonOnDate;
    out.gnomon.push_back({at(dial.gnomonFoot(delta)), at(tip)});
    out.nodus = at(read);
    return out;
}

void AnalemmaticDrawing::scale() {
    // The legend takes the top; the figure is centred below it with room for its labels. The
    // reduction is chosen for the printed page (legend 30 mm, margins 7.5 mm), so that the
    // screen shows the scale the printout will have.
    const double legendHeight = 7.4 * 1.35 * th_;
    const QRectF box = extent_.box;
    const double margin = 2.5 * th_;
    const double zoomless = sheet_.area.screen() ? sheet_.unitsPerMm / std::max(c_.state.zoomFactor, 1e-3)
                                                 : sheet_.unitsPerMm;
    const double sheetW = sheet_.area.W / zoomless, sheetH = sheet_.area.H / zoomless;
    reduction_ = ReductionToFit(box.width(), box.height(), sheetW - 15.0, sheetH - 45.0);
    k_ = sheet_.unitsPerMm / reduction_;
    const double roomTop = sheet_.area.oy + legendHeight + margin, roomBottom = sheet_.area.oy + sheet_.area.H - margin;
    cx_ = sheet_.area.ox + sheet_.area.W / 2 - box.center().x() * k_;
    // Centred in the room, but never cut at the bottom.
    const double half = box.height() * k_ / 2;
    const double middle = std::min((roomTop + roomBottom) / 2, roomBottom - half);
    cy_ = middle + box.center().y() * k_;
    placer_.avoidBox(QRectF(sheet_.area.ox, sheet_.area.oy, sheet_.area.W * 0.75, legendHeight));
}

void AnalemmaticDrawing::hours() {
    p_.setPenRole(kHours);
    p_.setTextRole(kHours);
    std::vector<QPointF> outline;
    for (const QPointF& q : f_.ellipse) outline.push_back(at(q));
    p_.setLineStyle(LineStyle::Dashed);
    p_.polyline(outline);
    p_.setLineStyle(LineStyle::Solid);
    // The date scale's months keep off the ellipse and the figure-eights where they can.
    auto avoid = [&](const std::vector<QPointF>& line) {
        for (size_t i = 1; i < line.size(); ++i) placer_.avoidLine(QLineF(line[i - 1], line[i]));
    };
    avoid(outline);
    const QPointF centre = at({0, 0});
    p_.setFont(QStringLiteral("Arial"), th_);
    auto label = [&](const QString& text, QPointF where) {
        // Outward from the centre, on the side the point lies.
        const QPointF d = where - centre;
        std::vector<LabelSide> sides;
        if (std::abs(d.x()) > std::abs(d.y())) sides = {d.x() > 0 ? LabelSide::Right : LabelSide::Left};
        else sides = {d.y() > 0 ? LabelSide::Below : LabelSide::Above};
        for (LabelSide s : {LabelSide::AboveRight, LabelSide::BelowRight, LabelSide::AboveLeft, LabelSide::BelowLeft})
            sides.push_back(s);
        placer_.writeNear(p_, text, where, 0.5 * th_, sides);
    };
    const double dot = std::max(0.4 * th_, 1.5 * sheet_.unitsPerMm / 10.0);
    for (const auto& h : f_.hours) {
        const QPointF q = at(h.at);
        p_.circle(q.x(), q.y(), h.full ? dot : 0.5 * dot, FillStyle::Solid, c_.state.colours[kHours]);
        if (h.full) label(ClockLabel(h.clock), q);
    }
    p_.setPenRole(kEights);
    for (const auto& e : f_.eights) {
        QPointF outer;
        double far = -1;
        for (const auto& piece : e.pieces) {
            std::vector<QPointF> line;
            for (const QPointF& q : piece) {
                line.push_back(at(q));
                const double r = std::hypot(q.x(), q.y());
                if (r > far) far = r, outer = at(q);
            }
            p_.polyline(line);
            avoid(line);
        }
        label(ClockLabel(e.clock), outer);
    }
}

void AnalemmaticDrawing::dates() {
    p_.setPenRole(kDates);
    p_.setTextRole(kDates);
    const QPointF a = at(f_.winterEnd), b = at(f_.summerEnd);
    p_.polyline({a, b});
    placer_.avoidLine(QLineF(a, b));
    // Ticks across the scale; the months of the rising half on one side, the rest on the other.
    QPointF along = b - a;
    const double len = std::hypot(along.x(), along.y());
    along = len > 0 ? along / len : QPointF(0, -1);
    const QPointF across(-along.y(), along.x());
    p_.setFont(QStringLiteral("Arial"), 0.8 * th_);
    for (const auto& d : f_.dates) {
        const QPointF q = at(d.at);
        const double side = d.risingHalf ? -1.0 : 1.0;
        const double tick = (d.day == 1 ? 1.2 : 0.6) * th_;
        p_.polyline({q, q + across * (side * tick)});
        if (d.day != 1) continue;
        const QString text = DialMonthLabel(d.month, c_.language, p_);
        const QPointF end = q + across * (side * (tick + 0.3 * th_));
        const double w = p_.textWidth(text), h = p_.textHeight();
        // The scale runs up or down the sheet by hemisphere: the text goes where its tick points.
        const double x = across.x() * side < 0 ? end.x() - w : end.x();
        // Beside the tick's end first; further out along the tick when a line is in the way.
        const double out = across.x() * side < 0 ? -1.0 : 1.0;
        std::vector<QPointF> places;
        for (double shift : {0.0, 1.0, 2.0})
            for (double dy : {-h / 2, -h, 0.0}) places.push_back(QPointF(x + out * shift * th_, end.y() + dy));
        placer_.write(p_, text, places);
    }
}

void AnalemmaticDrawing::arrows() {
    const QRectF box = extent_.box;
    const QPointF foot = at({box.right(), box.top()}) + QPointF(3.5 * th_, -1.5 * th_);
    const double length = 5.0 * th_;
    p_.setPenRole(kFrame);
    p_.setTextRole(kFrame);
    p_.setFont(QStringLiteral("Arial"), 1.2 * th_, true);
    const bool wall = c_.state.analemmatic.vertical;
    DrawOrientationArrow(p_, foot, QPointF(0, -1), length, TextOf(wall ? TextId::Up : TextId::NorthLetter, c_.language));
    placer_.avoidBox(QRectF(foot.x() - th_, foot.y() - length - 2 * th_, 2 * th_, length + 2 * th_));
    // A leaning gnomon: which way it leans, drawn at the middle of the date scale.
    const double z = c_.state.analemmatic.gnomonAngle;
    if (std::abs(z - 90.0) > 0.05) {
        const QPointF mid = (at(f_.winterEnd) + at(f_.summerEnd)) / 2;
        const AnalemmaticDial dial(AnalemmaticInputOf(c_));
        const Vec3 g = dial.gnomonDirection();
        QPointF lean(g.dot(dial.plane().right), -g.dot(dial.plane().up));
        const double n = std::hypot(lean.x(), lean.y());
        if (n > 1e-9) {
            p_.setPenColour(colour::kMaroon, kGnomon);
            p_.setTextColour(colour::kMaroon, kGnomon);
            p_.setFont(QStringLiteral("Arial"), 0.8 * th_);
            DrawOrientationArrow(p_, mid + QPointF(2.5 * th_, 0), lean / n, 3.0 * th_, QStringLiteral("G"));
        }
    }
}

void AnalemmaticDrawing::legend() {
    const Language l = c_.language;
    const AnalemmaticSettings& a = c_.state.analemmatic;
    const bool m = a.metres;
    p_.setTextRole(kText);
    p_.setFont(QStringLiteral("Arial"), 1.3 * th_, true);
    LegendBlock block(p_, sheet_.area.ox + 1.5 * th_, sheet_.area.oy + 1.2 * th_);
    block.line(TextOf(TextId::AnalemmaticTitle, l) +
               TextOf(a.vertical ? TextId::OnTheWall : TextId::OnLevelGround, l));
    p_.setFont(QStringLiteral("Arial"), th_);
    const QString deg = QStringLiteral("°");
    QString site = TextOf(TextId::LatitudeIs, l) + RealToText(2, 2, c_.state.latitude).trimmed() + deg;
    if (IsZoneReckoning(a.reckoning))
        site += TextOf(TextId::LongitudeIs, l) + RealToText(2, 2, c_.state.longitude).trimmed() + deg;
    if (a.vertical)
        site += TextOf(TextId::WallDeclinationIs, l) + RealToText(1, 1, c_.state.wallDeclination).trimmed() + deg;
    block.line(site);
    block.line(TextOf(TextId::SemiAxesAre, l) + LengthText(a.semiMajorMm, m) + QStringLiteral(", b = ") +
               LengthText(std::abs(f_.semiMinor), m) + TextOf(TextId::ScaleIs, l) + ScaleText(reduction_));
    const bool upright = std::abs(a.gnomonAngle - 90.0) < 0.05;
    block.line((upright ? TextOf(TextId::GnomonUpright, l)
                        : TextOf(TextId::GnomonLeaning, l) + RealToText(1, 1, a.gnomonAngle).trimmed() + deg) +
               TextOf(TextId::MinimumGnomonIs, l) + LengthText(f_.minimumGnomon, m));
    block.line(TextOf(ReckoningText(a.reckoning), l) +
               (f_.mean ? TextOf(TextId::HourPointsAsEights, l) : QString()));
    block.line(TextOf(TextId::StandOnTheDate, l));
    if (std::abs(f_.semiMinor) < 0.17 * a.semiMajorMm) block.line(TextOf(TextId::EllipseVeryFlat, l));
    legendBottom_ = block.bottom();
}


// The layout table (the marks' x and y from the centre) as a sheet to print and take outside.
bool DrawLayoutSheet(const DialContext& c, const DialRequest& r, DialPainter& p) {
    const AddedDialSheet sheet = SheetOf(c, r);
    const Language l = c.language;
    const double th = sheet.area.size(11, 26);
    p.setTextRole(kText);
    p.setFont(QStringLiteral("Arial"), 1.3 * th, true);
    LegendBlock head(p, sheet.area.ox + 1.5 * th, sheet.area.oy + 1.2 * th);
    head.line(TextOf(TextId::LayoutSheetTitle, l) + QStringLiteral(" — ") + TextOf(TextId::AnalemmaticTitle, l));
    p.setFont(QStringLiteral("Arial"), th);
    head.line(TextOf(TextId::LayoutOrigin, l));
    // The table in columns of rows; monospaced so the numbers stand under each other.
    const QStringList lines = AnalemmaticLayoutText(c).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (lines.isEmpty()) return false;
    p.setFont(QStringLiteral("Courier New"), th);
    const QStringList heading = lines.front().split(QLatin1Char(';'));
    auto cell = [](const QString& text, int width, bool right) {
        return right ? text.rightJustified(width) : text.leftJustified(width);
    };
    int nameWidth = 0;
    for (const QString& line : lines) nameWidth = std::max<int>(nameWidth, line.section(QLatin1Char(';'), 0, 0).size());
    auto format = [&](const QStringList& parts) {
        return cell(parts.value(0), nameWidth, false) + QStringLiteral("  ") + cell(parts.value(1), 10, true) +
               QStringLiteral("  ") + cell(parts.value(2), 10, true);
    };
    const QString title = format({heading.value(0), QStringLiteral("x"), QStringLiteral("y")});
    const double columnWidth = p.textWidth(title) + 2.5 * th;
    const double rowHeight = 1.25 * p.textHeight();
    const double top = head.bottom() + 0.8 * th;
    const double bottom = sheet.area.oy + sheet.area.H - 2 * th;
    double x = sheet.area.ox + 1.5 * th, y = top;
    p.text(x, y, title);
    y += rowHeight;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (y + rowHeight > bottom) {
            x += columnWidth;
            y = top;
            p.text(x, y, title);
            y += rowHeight;
        }
        p.text(x, y, format(lines[i].split(QLatin1Char(';'))));
        y += rowHeight;
    }
    p.setFont(QStringLiteral("Arial"), 0.9 * th);
    p.text(sheet.area.ox + 1.5 * th, bottom + 0.3 * th, heading.value(1) + QStringLiteral(", ") + heading.value(2));
    return true;
}

constexpr DialConstruction AnalemmaticConstruction() {
    DialConstruction construction = AddedDialConstruction<AnalemmaticDrawing, AnalemmaticRefusal>();
    construction.sheet = [](const DialContext& c, const DialRequest& r, DialPainter& p, UserDialogs& d) {
        return DrawSheetDial(c, r, p, d, AnalemmaticRefusal(c), [&] { return DrawLayoutSheet(c, r, p); });
    };
    construction.sheetButton = kLayoutSheetButton;
    return construction;
}

}  // namespace

constinit const DialConstruction kAnalemmaticDial = AnalemmaticConstruction();

}  // namespace zorva
