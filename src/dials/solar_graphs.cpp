#include "dials/solar_graphs.h"

#include "astro/calendar.h"
#include "astro/eot_axis.h"
#include "astro/horizon_profile.h"
#include "astro/tables.h"
#include "astro/time_format.h"
#include "dials/canvas_painter.h"
#include "dials/dial_context.h"
#include "dials/plane_sunlight.h"
#include "dials/plot_painter.h"
#include "plot/windows1252.h"
#include "text/month_names.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <QBuffer>
#include <QPainter>

#include <array>
#include <cmath>
#include <functional>
#include <optional>

namespace zorva {
namespace {

// Colour roles of the graphs (a plot draws role r with pen r + 1).
constexpr int kTextRole = 0;
constexpr int kScaleRole = 3;
constexpr int kHourLineRole = 0;
constexpr int kDayPathRole = 2;
constexpr int kSymbolRole = 0;
constexpr int kMarkedRole = 9;
constexpr int kProfileRole = 2;
constexpr int kEotGridRole = 7;
constexpr int kEotCurveRole = 2;
constexpr Rgb kSpeedWordGrey = 0xA0A0A0;

// A font in the target's drawing units.
struct GraphFont {
    QString family = QStringLiteral("Arial");
    double height = 10.0;
    bool bold = false;
};

void Use(DialPainter& p, const GraphFont& f) { p.setFont(f.family, f.height, f.bold); }

// Where a label stands beside its point: moved by `offset` (drawing units, y down) and to the
// left by `widthShare` of its own width (0 starts there, 0.5 is centred, 1 ends there). The
// point found is the label's bottom-left corner.
struct LabelPlace {
    QPointF offset;
    double widthShare = 0.0;
};

void Label(DialPainter& p, QPointF at, const LabelPlace& place, const QString& text) {
    p.text(at.x() + place.offset.x() - place.widthShare * p.textWidth(text), at.y() + place.offset.y(), text,
           TextAnchor::BottomLeft);
}

void Line(DialPainter& p, double x1, double y1, double x2, double y2) {
    p.moveTo(x1, y1);
    p.lineTo(x2, y2);
}

// Pen widths of the screen and the page grow with the drawing; a plot keeps its pens.
int PenWidth(double width) { return std::max(1, static_cast<int>(std::lround(width))); }

// A plot of the graphs: its pens as they stand, no pen widths, and the spelling of its files.
PlotSpelling GraphPlotSpelling(std::vector<std::pair<double, QString>> sizes) {
    PlotSpelling spelling;
    spelling.sizeCommands = std::move(sizes);
    spelling.labelsOffSheet = true;
    spelling.shortStrokes = true;
    spelling.unbrokenRuns = true;
    spelling.penAfterCharacterSet = true;
    spelling.bareLift = true;
    spelling.eagerTextPen = true;
    return spelling;
}

// Drawing y of a plot's y (upward from the sheet's bottom edge).
double FromPlotY(double plotY) { return kSheetHeight - plotY; }

QString PlotText(const std::function<void(PlotStream&)>& write) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer);
    write(stream);
    return FromWindows1252(buffer.data());
}

// ======================================================================== EoT graph

// Where the parts of the EoT graph go on one target.
struct EotLayout {
    std::function<double(double)> x;  // day of the year -> x
    std::function<double(double)> y;  // row, or minutes of the curve -> y
    // The grid follows the values m + rowShift of the rows m, so that the labels stay on
    // round values when the longitude correction shifts them; 0 keeps it on the rows.
    int rowShift = 0;
    bool edgeRowsLabelled = false;  // the outermost rows carry their values
    double valueSign = 1.0;         // -1 on the mirrored axis
    GraphFont scaleFont, textFont;
    QStringList speedWords;  // "sun fast" and "sun slow" across the two halves, or none
    GraphFont speedFont;
    double minuteTick = 0, monthTick = 0, dayTick = 0;  // half lengths
    LabelPlace minuteLabel;          // beside the minute axis at a row
    double monthLabelDrop = 0;       // month names below the graph's lower edge
    double captionRise = 0, captionPitch = 0;  // first caption above the upper edge, then downward
    QStringList captions;
    std::array<QString, 12> monthNames;
    int gridWidth = 1, axisWidth = 1, curveWidth = 1;
};

void DrawEotGraph(DialPainter& p, const EotGraph& g, const EotLayout& L) {
    const int whole = g.correction.wholeMinutes;
    const double left = L.x(0), right = L.x(g.daysInYear);
    const double top = std::min(L.y(-kEotAxisMinutes), L.y(kEotAxisMinutes));
    const double bottom = std::max(L.y(-kEotAxisMinutes), L.y(kEotAxisMinutes));
    const auto gridRow = [&](int m) { return EotRowIsLabelled(m, L.rowShift) || std::abs(m) == kEotAxisMinutes; };
    const auto labelledRow = [&](int m) {
        return EotRowIsLabelled(m, L.rowShift) || (L.edgeRowsLabelled && std::abs(m) == kEotAxisMinutes);
    };
    const int axis = EotDayAxisRow(L.rowShift);

    if (!L.speedWords.isEmpty()) {
        // Under everything else, so that the grid and the curve stay on top of them.
        Use(p, L.speedFont);
        p.setTextColour(kSpeedWordGrey, kTextRole);
        const QString& fast = L.speedWords.front();
        const QString& slow = L.speedWords.back();
        p.text((left + right - p.textWidth(fast)) / 2, L.y(kEotAxisMinutes * 0.6), fast, TextAnchor::BottomLeft);
        p.text((left + right - p.textWidth(slow)) / 2, L.y(-kEotAxisMinutes * 0.6), slow, TextAnchor::TopLeft);
    }
    Use(p, L.scaleFont);

    p.setPenRole(kEotGridRole);
    p.setPenWidth(L.gridWidth);
    for (int m = -kEotAxisMinutes; m <= kEotAxisMinutes; ++m)
        if (gridRow(m)) Line(p, left, L.y(m), right, L.y(m));
    for (int start : g.monthStarts) Line(p, L.x(start), L.y(-kEotAxisMinutes), L.x(start), L.y(kEotAxisMinutes));

    p.setPenRole(kTextRole);
    p.setTextRole(kTextRole);
    p.setPenWidth(L.axisWidth);
    for (int m = -kEotAxisMinutes; m <= kEotAxisMinutes; ++m) {
        if (labelledRow(m))
            Label(p, {left, L.y(m)}, L.minuteLabel, QString::number(static_cast<int>((m + whole) * L.valueSign)));
        else
            Line(p, left - L.minuteTick, L.y(m), left + L.minuteTick, L.y(m));
    }
    Line(p, left, L.y(-kEotAxisMinutes), left, L.y(kEotAxisMinutes));
    Line(p, left, L.y(axis), right, L.y(axis));

    Use(p, L.textFont);
    int monthStart = 0;
    for (int month = 1; month <= 12; ++month) {
        p.text(L.x(monthStart + 4), bottom + L.monthLabelDrop, L.monthNames[static_cast<std::size_t>(month - 1)],
               TextAnchor::BottomLeft);
        monthStart = g.monthStarts[static_cast<std::size_t>(month - 1)];
    }
    for (int i = 0; i < L.captions.size(); ++i)
        p.text(left, top - L.captionRise + i * L.captionPitch, L.captions[i], TextAnchor::BottomLeft);

    monthStart = 0;
    for (int month = 1; month <= 12; ++month) {
        // Upward, as a plotter draws them.
        Line(p, L.x(monthStart), L.y(axis) + L.monthTick, L.x(monthStart), L.y(axis) - L.monthTick);
        for (int d : {10, 20})
            Line(p, L.x(monthStart + d - 1), L.y(axis) + L.dayTick, L.x(monthStart + d - 1), L.y(axis) - L.dayTick);
        monthStart = g.monthStarts[static_cast<std::size_t>(month - 1)];
    }

    p.setPenRole(kEotCurveRole);
    p.setPenWidth(L.curveWidth);
    for (std::size_t i = 0; i < g.curve.size(); ++i) {
        const double x = L.x(g.curve[i].day), y = L.y(g.curve[i].minutes);
        if (i == 0) p.moveTo(x, y);
        else p.lineTo(x, y);
    }
}

// The graph fitted into `area` of a screen or page.
EotLayout ScreenEotLayout(const QRectF& area, const DialState& s, const EotGraph& g) {
    const Language lang = s.language;
    const double textH = std::clamp(area.height() / 34.0, 7.0, area.width() / 50.0);
    const double lw = std::max(1.0, area.height() / 500.0);
    const double left = area.left() + textH * 3.5, right = area.right() - textH;
    const double top = area.top() + textH * 2.5, bottom = area.bottom() - textH * 2.2;
    const double dayW = (right - left) / g.daysInYear;
    const double minH = (bottom - top) / (2.0 * kEotAxisMinutes);
    const double yZero = (top + bottom) / 2.0;

    EotLayout L;
    L.x = [left, dayW](double day) { return left + day * dayW; };
    L.y = [yZero, minH](double minutes) { return yZero - minutes * minH; };  // sun fast: up
    L.rowShift = g.correction.wholeMinutes;
    L.scaleFont = {QStringLiteral("Arial"), textH * 0.8};
    L.textFont = {QStringLiteral("Arial"), textH};
    if (!s.eotLongitudeCorrection) {
        L.speedWords = {label(166, lang), label(167, lang)};
        L.speedFont = {QStringLiteral("Arial"), textH * 1.6, true};
    }
    L.minuteTick = textH * 0.3;
    L.monthTick = textH * 0.5;
    L.dayTick = textH * 0.25;
    L.minuteLabel = {QPointF(-textH * 0.5, textH * 0.45), 1.0};
    L.monthLabelDrop = textH * 1.6;
    L.captionRise = textH * 1.1;
    L.captions = {label(s.eotLongitudeCorrection ? 164 : 165, lang)};
    for (int month = 1; month <= 12; ++month) L.monthNames[static_cast<std::size_t>(month - 1)] = ShortMonthName(month, lang);
    L.gridWidth = PenWidth(lw * 0.6);
    L.axisWidth = PenWidth(lw);
    L.curveWidth = PenWidth(lw * 2.0);
    return L;
}

// The plot file's layout: a 2000 x 1500 area at (100, 100) written four times larger, in
// plotter units of 1/40 mm.
constexpr double kEotScaleHeight = 224.0 / 3.0;  // labels 56 units a character wide
constexpr double kEotTextHeight = 117.0;

EotLayout PlotEotLayout(const DialState& s, const GraphPlotOptions& options, const EotGraph& g) {
    const Language lang = s.language;
    const double mirror = options.mirror ? -1.0 : 1.0;
    const double x0 = 100 + std::trunc(2000.0 / 190.0 * 8.0) - 2;  // 182
    const double y0 = 100 + 750 - g.correction.wholeMinutes * mirror;
    const double minute = 150.0 / 5.0 * options.factor * mirror;

    EotLayout L;
    L.x = [x0](double day) { return 4.0 * (x0 + 5.0 * day); };
    L.y = [y0, minute](double minutes) { return FromPlotY(4.0 * (y0 + minutes * minute)); };
    L.edgeRowsLabelled = true;
    L.valueSign = mirror;
    L.scaleFont = {QString(), kEotScaleHeight};
    L.textFont = {QString(), kEotTextHeight};
    L.minuteTick = 4.0 * 6;
    L.monthTick = 4.0 * 15;
    L.dayTick = 4.0 * 7;
    L.minuteLabel = {QPointF(-4.0 * 20, 4.0 * 12), 1.0};
    L.monthLabelDrop = 4.0 * 50;
    L.captionRise = 4.0 * 90;
    L.captionPitch = 4.0 * 45;
    const QString yearText = QString::number(s.referenceYear);
    if (!s.eotLongitudeCorrection) {
        L.captions << label(options.mirror ? 170 : 169, lang) + label(60, lang) + yearText;
    } else {
        L.captions << label(options.mirror ? 171 : 164, lang)
                   << QLatin1Char('[') + label(60, lang) + yearText + label(168, lang) + RealToText(7, 2, s.longitude) +
                          QStringLiteral(" Grad]");
    }
    for (int month = 1; month <= 12; ++month) L.monthNames[static_cast<std::size_t>(month - 1)] = MonthAbbreviation(month);
    return L;
}

EotGraph StateEotGraph(const DialState& s, MinuteSplit split) {
    return BuildEotGraph(s.referenceYear, s.longitude, s.zoneMeridian, s.eotLongitudeCorrection, split);
}

// ======================================================================== sun-position diagram

struct SkyFrame {
    double x0 = 0, y0 = 0;  // azimuth -180, altitude 0
    double sx = 1, sy = 1;  // units per degree, altitude upward
    QPointF at(double azimuth, double altitude) const { return {x0 + (azimuth + 180.0) * sx, y0 - altitude * sy}; }
    QPointF at(const SkyPoint& q) const { return at(q.azimuth, q.altitude); }
};

// A piece of the title block; `follows` puts it after the previous piece on its line,
// `at.x()` apart.
struct TitlePiece {
    QPointF at;
    GraphFont font;
    QString text;
    bool follows = false;
};

// Where the parts of the sun-position diagram go on one target.
struct SunPathLayout {
    SkyFrame frame;
    double tick = 1;  // the shortest scale stroke
    std::vector<TitlePiece> title;
    int titleRole = kTextRole;
    GraphFont scaleFont, captionFont, hourFont, signFont, footerFont;
    LabelPlace altitudeLabel, altitudeCaption, azimuthCaption, compassLabel, hourLabel, signLabel;
    std::optional<LabelPlace> azimuthNumber;  // the azimuths every 30 degrees, or none
    QPointF footerAt;
    int scaleWidth = 1, hourWidth = 1, fullHourWidth = 1, dayPathWidth = 1, profileWidth = 1;
};

double StrokeLength(int degree, double d, double full) {
    if (degree % 30 == 0) return full;
    if (degree % 10 == 0) return 3 * d;
    if (degree % 5 == 0) return std::nearbyint(1.8 * d);
    return d;
}

double HourAngleShift(const DialState& s) {
    return s.eotLongitudeCorrection ? LongitudeCorrection(s.longitude, s.zoneMeridian) : 0.0;
}

// A sky line in its own pen, in the marking pen where the sun is hidden there.
void SkyLine(DialPainter& p, const SkyFrame& f, const SkyPolyline& line, int ownRole) {
    if (line.size() < 2) return;
    const QPointF first = f.at(line.front());
    p.moveTo(first.x(), first.y());
    for (std::size_t i = 1; i < line.size(); ++i) {
        p.setPenRole(line[i].marked ? kMarkedRole : ownRole);
        const QPointF q = f.at(line[i]);
        p.lineTo(q.x(), q.y());
    }
}

void DrawSunPathDiagram(DialPainter& p, const SunPathDiagram& d, const SunPathExtras& extras, const DialState& s,
                        const SunPathLayout& L) {
    const Language lang = s.language;
    const SkyFrame& f = L.frame;

    QPointF end;
    for (const TitlePiece& piece : L.title) {
        Use(p, piece.font);
        p.setTextRole(L.titleRole);
        const QPointF at = piece.follows ? QPointF(end.x() + piece.at.x(), end.y()) : piece.at;
        p.text(at.x(), at.y(), piece.text, TextAnchor::BottomLeft);
        end = QPointF(at.x() + p.textWidth(piece.text), at.y());
    }

    Use(p, L.scaleFont);
    p.setPenRole(kScaleRole);
    p.setPenWidth(L.scaleWidth);
    p.setTextRole(kScaleRole);
    const double full = 90.0 * f.sy;
    for (int a = -180; a <= 180; ++a) {
        const QPointF base = f.at(a, 0);
        Line(p, base.x(), base.y(), base.x(), base.y() - StrokeLength(a, L.tick, full));
    }
    for (int h = 0; h <= 90; ++h) {
        const QPointF base = f.at(-180, h);
        const double len = h % 10 == 0 ? 360.0 * f.sx : h % 5 == 0 ? 2 * L.tick : L.tick;
        Line(p, base.x(), base.y(), base.x() + len, base.y());
        if (h % 10 == 0) Label(p, base, L.altitudeLabel, QString::number(h));
    }
    Use(p, L.captionFont);
    Label(p, f.at(-180, 90), L.altitudeCaption, label(221, lang));
    Label(p, f.at(180, 0), L.azimuthCaption, QStringLiteral("Azi"));
    const double compass[4] = {-184, -93, -3, 87};
    for (int i = 0; i < 4; ++i) Label(p, f.at(compass[i], 0), L.compassLabel, StripAccelerators(label(i, lang)));
    if (L.azimuthNumber) {
        Use(p, L.scaleFont);
        for (int a = -150; a <= 150; a += 30) Label(p, f.at(a, 0), *L.azimuthNumber, QString::number(a));
    }

    // Hour lines, full hours wider, then their numbers.
    for (const HourLine& line : d.hourLines) {
        p.setPenWidth(line.fullHour ? L.fullHourWidth : L.hourWidth);
        for (const SkyPolyline& piece : line.pieces) SkyLine(p, f, piece, kHourLineRole);
    }
    p.liftPen();
    Use(p, L.hourFont);
    p.setTextRole(kScaleRole);
    for (const HourLine& line : d.hourLines)
        if (line.fullHour && line.endVisible)
            Label(p, f.at(line.end), L.hourLabel, QString::number(static_cast<int>(line.hour)));

    // Day paths and the signs of their days at noon.
    p.setPenWidth(L.dayPathWidth);
    for (const DayPath& path : d.dayPaths)
        for (const SkyPolyline& piece : path.pieces) SkyLine(p, f, piece, kDayPathRole);
    Use(p, L.signFont);
    for (const DayPath& path : d.dayPaths) {
        if (!path.noonVisible) continue;
        p.liftPen();
        p.setTextKind(TextKind::ZodiacSigns);
        p.setTextRole(kSymbolRole);
        // Zodiac index 1 is Capricorn, sign 9 counted from Aries.
        Label(p, f.at(path.noon), L.signLabel, p.zodiacSign((path.zodiacIndex + 8) % 12));
        p.setTextKind(TextKind::Plain);
    }

    if (extras.horizonProfile.size() >= 2) {
        p.setPenRole(kProfileRole);
        p.setPenWidth(L.profileWidth);
        for (std::size_t i = 0; i < extras.horizonProfile.size(); ++i) {
            const SkyPoint& q = extras.horizonProfile[i];
            const QPointF pt = f.at(q.azimuth, std::max(0.0, q.altitude));
            if (i == 0) p.moveTo(pt.x(), pt.y());
            else p.lineTo(pt.x(), pt.y());
        }
    }
    if (!extras.footer.isEmpty()) {
        Use(p, L.footerFont);
        p.setTextRole(kTextRole);
        p.text(L.footerAt.x(), L.footerAt.y(), extras.footer, TextAnchor::BottomLeft);
    }
}

SunPathLayout ScreenSunPathLayout(const QRectF& area, const DialState& s, const SunPathExtras& extras) {
    const Language lang = s.language;
    const double textH = std::clamp(area.height() / 40.0, 7.0, area.width() / 60.0);
    const double lw = std::max(1.0, area.height() / 600.0);
    const GraphFont small{QStringLiteral("Arial"), textH * 0.8};
    const GraphFont normal{QStringLiteral("Arial"), textH};

    SunPathLayout L;
    const double footerH = extras.footer.isEmpty() ? 0.0 : textH * 1.6;
    SkyFrame& f = L.frame;
    f.x0 = area.left() + textH * 3.0;
    f.sx = (area.right() - textH * 3.0 - f.x0) / 360.0;
    const double top = area.top() + textH * 5.0;
    f.y0 = area.bottom() - textH * 2.6 - footerH;
    f.sy = (f.y0 - top) / 90.0;
    L.tick = 2.5 * std::min(f.sx, f.sy);

    const GraphFont bold{QStringLiteral("Arial"), textH * 1.2, true};
    L.title = {{QPointF(area.left() + textH, area.top() + textH * 1.6), bold,
                resourceText(845, lang) + QString::number(s.referenceYear)},
               {QPointF(textH, 0), normal, QStringLiteral("  ") + SunPathTitle(s), true},
               {QPointF(area.left() + textH, area.top() + textH * 3.0), normal,
                resourceText(495, lang) + QStringLiteral("  ") + label(142, lang)}};
    L.scaleFont = small;
    L.captionFont = normal;
    L.hourFont = small;
    L.signFont = {QStringLiteral("DejaVu Sans"), textH * 1.3};
    L.footerFont = normal;
    L.altitudeLabel = {QPointF(-textH * 0.3, textH * 0.45), 1.0};
    L.altitudeCaption = {QPointF(-textH * 2.5, -textH * 0.4)};
    L.azimuthCaption = {QPointF(textH * 0.3, textH * 0.6)};
    L.compassLabel = {QPointF(0, textH * 1.6)};
    L.azimuthNumber = LabelPlace{QPointF(0, textH * 2.45), 0.5};
    L.hourLabel = {QPointF(0, -textH * 0.15), 0.5};
    L.signLabel = {QPointF(textH * 0.4, -textH * 0.05)};
    L.footerAt = QPointF(area.left() + textH, area.bottom() - textH * 0.3);
    L.scaleWidth = PenWidth(lw * 0.5);
    L.hourWidth = PenWidth(lw);
    L.fullHourWidth = PenWidth(lw * 2.0);
    L.dayPathWidth = PenWidth(lw * 1.5);
    L.profileWidth = PenWidth(lw * (LineWidthOf(s) + 1));
    return L;
}

// The plot file's layout: 2000 x 1500 at (100, 100), every size written four times larger.
constexpr double kSunTitleHeight = 128.0;
constexpr double kSunScaleHeight = 80.0;  // labels 60 units a character wide
constexpr double kSunHourHeight = 72.0;

SunPathLayout PlotSunPathLayout(const DialState& s) {
    const Language lang = s.language;
    const double W = 4 * 2000.0, H = 4 * 1500.0;
    SunPathLayout L;
    SkyFrame& f = L.frame;
    f.x0 = 100 + std::trunc(W / 190.0 * 5.0) + 2;  // 312
    const double y0 = 100 + std::nearbyint(0.1 * H);  // 700 above the sheet's bottom edge
    f.y0 = FromPlotY(y0);
    f.sx = W / 380.0;
    f.sy = std::nearbyint(0.6 * H) / 90.0;  // 40 per degree
    L.tick = std::nearbyint(2.5 * f.sx);    // 53

    L.title = {{QPointF(100 + 300, FromPlotY(y0 + 90.0 * f.sy + 320)), {QString(), kSunTitleHeight},
                QStringLiteral(" ") + resourceText(845, lang) + QString::number(s.referenceYear) +
                    QStringLiteral("  ( ") + label(131, lang) + RealToText(6, 2, s.latitude) + label(132, lang) +
                    RealToText(7, 2, s.longitude) + QStringLiteral(", ") + label(82, lang).mid(1, 13) +
                    QLatin1Char('=') + RealToText(8, 2, s.zoneMeridian) + QStringLiteral(" )")}};
    L.titleRole = kScaleRole;
    L.scaleFont = L.captionFont = {QString(), kSunScaleHeight};
    L.hourFont = L.signFont = L.footerFont = {QString(), kSunHourHeight};
    L.altitudeLabel = {QPointF(-40, 25), 1.0};
    L.altitudeCaption = {QPointF(-200, -100)};
    L.azimuthCaption = {QPointF(40, 25)};
    L.compassLabel = {QPointF(0, 140)};
    L.hourLabel = {QPointF(-30, -40)};
    L.signLabel = {QPointF(40, -40)};
    L.footerAt = QPointF(400, FromPlotY(250));
    return L;
}

// Plot files of both graphs: their sizes as the files have always spelled them.
PlotSpelling EotPlotSpelling() {
    return GraphPlotSpelling({{kEotScaleHeight, QStringLiteral(";SI 0.14, 0.24")},
                              {kEotTextHeight, QStringLiteral(";SI 0.22,0.33")}});
}
PlotSpelling SunPathPlotSpelling() {
    return GraphPlotSpelling({{kSunTitleHeight, QStringLiteral(";SI 0.14, 0.24")},
                              {kSunScaleHeight, QStringLiteral(";SI 0.10, 0.15 ;")},
                              {kSunHourHeight, QStringLiteral(";SI 0.09, 0.15 ")}});
}

SunPathDiagram StateSunPathDiagram(const DialState& s, const SunPathExtras& extras) {
    return BuildSunPathDiagram(s.latitude, DialContext(s).zodiacDeclinations(), HourAngleShift(s), extras.marker);
}

}  // namespace

SkyMarker StateSkyMarker(const DialState& s) {
    SkyMarker plane;
    if (s.showPlaneSunlight) plane = PlaneShadowMarker(s.planeInclination, s.wallDeclination);
    if (!s.showHorizonProfile || !s.horizonProfile) return plane;
    return [plane, profile = s.horizonProfile](double azimuth, double altitude) {
        return (plane && plane(azimuth, altitude)) || SunBehindTerrain(*profile, azimuth, altitude);
    };
}

SunPathExtras StateSunPathExtras(const DialState& s, bool print) {
    SunPathExtras extras;
    extras.marker = StateSkyMarker(s);
    if (s.showHorizonProfile && s.horizonProfile) {
        // Sectors without terrain lie on the horizon line.
        extras.horizonProfile.reserve(kHorizonRecordCount);
        for (const HorizonRecord& r : s.horizonProfile->records)
            extras.horizonProfile.push_back({r.azimuth, r.empty ? 0.0 : r.elevation, false});
    }
    if (print) extras.footer = PlaneSunlightFooter(s);
    return extras;
}

QString SunPathTitle(const DialState& s) {
    const Language lang = s.language;
    return label(131, lang) + FormatHourMinSec(s.latitude) + label(132, lang) + FormatHourMinSec(s.longitude) +
           QStringLiteral(", ") + label(82, lang).mid(1, 13) + QLatin1Char('=') + RealToText(6, 2, s.zoneMeridian);
}

void PaintEotGraph(QPainter& painter, const QRectF& area, const DialState& s) {
    const EotGraph g = StateEotGraph(s, MinuteSplit::Rounded);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    CanvasPainter canvas(painter, s.colours, area);
    DrawEotGraph(canvas, g, ScreenEotLayout(area, s, g));
    painter.restore();
}

void PaintSunPathDiagram(QPainter& painter, const QRectF& area, const DialState& s, const SunPathExtras& extras) {
    const SunPathDiagram d = StateSunPathDiagram(s, extras);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    CanvasPainter canvas(painter, s.colours, area);
    DrawSunPathDiagram(canvas, d, extras, s, ScreenSunPathLayout(area, s, extras));
    painter.restore();
}

void WriteEotGraphPlot(PlotStream& stream, const DialState& s, const GraphPlotOptions& options) {
    const EotGraph g = StateEotGraph(s, MinuteSplit::Truncated);
    stream.WritePlot(QStringLiteral("IN;SP 8"));
    PlotPainter painter(stream, 1, -1, kSheetHeight, EotPlotSpelling());
    DrawEotGraph(painter, g, PlotEotLayout(s, options, g));
    painter.flush();
    stream.WritePlot(QStringLiteral(";PU;SP 0;"));
}

void WriteSunPathPlot(PlotStream& stream, const DialState& s, const SunPathExtras& extras) {
    const SunPathDiagram d = StateSunPathDiagram(s, extras);
    stream.WritePlot(QStringLiteral(";IN;SS"));
    PlotPainter painter(stream, 1, -1, kSheetHeight, SunPathPlotSpelling());
    DrawSunPathDiagram(painter, d, extras, s, PlotSunPathLayout(s));
    painter.flush();
    stream.WritePlot(QStringLiteral(";PU;SP 0;"));
}

QString EotGraphPlot(const DialState& s, const GraphPlotOptions& options) {
    return PlotText([&](PlotStream& stream) { WriteEotGraphPlot(stream, s, options); });
}

QString SunPathPlot(const DialState& s, const SunPathExtras& extras) {
    return PlotText([&](PlotStream& stream) { WriteSunPathPlot(stream, s, extras); });
}

// ======================================================================== both

void PaintGraph(QPainter& painter, GraphKind kind, const QRectF& area, const DialState& s, const SunPathExtras& extras) {
    if (kind == GraphKind::EquationOfTime) PaintEotGraph(painter, area, s);
    else PaintSunPathDiagram(painter, area, s, extras);
}

QRectF GraphPrintArea(GraphKind kind, bool landscape) {
    // Height x width: 1300 x 1950 (EoT) or 1370 x 1950 in portrait, 1950 x 2650 or 1950 x 2750
    // in landscape.
    const bool eot = kind == GraphKind::EquationOfTime;
    if (landscape) return QRectF(50, 50, eot ? 2650 : 2750, 1950);
    return QRectF(50, 50, 1950, eot ? 1300 : 1370);
}

QString GraphFileName(GraphKind kind, PlotFormat format) {
    return (kind == GraphKind::EquationOfTime ? QStringLiteral("EoT.") : QStringLiteral("Azi.")) +
           (format == PlotFormat::Dxf ? QStringLiteral("dxf") : QStringLiteral("plt"));
}

bool SaveGraph(GraphKind kind, const DialState& s, const GraphPlotOptions& options, const SunPathExtras& extras,
               const QString& fileName, PlotFormat format, UserDialogs& dialogs) {
    PlotSaveRequest request;
    request.fileName = fileName;
    request.format = format;
    request.highResolution = false;  // graphs are plotted at 40 units per millimetre only
    request.lineWeight = s.plotLineWeight;
    const auto write = [&](PlotStream& stream) {
        if (kind == GraphKind::EquationOfTime) WriteEotGraphPlot(stream, s, options);
        else WriteSunPathPlot(stream, s, extras);
    };
    return SavePlot(request, write, dialogs, s.language).ok;
}

}  // namespace zorva
