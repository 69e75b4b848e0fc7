#include "dials/solar_graphs.h"
#include "astro/eot_axis.h"

#include "astro/calendar.h"
#include "astro/horizon_profile.h"
#include "dials/plane_sunlight.h"
#include "astro/tables.h"
#include "astro/time_format.h"
#include "astro/vector_state.h"
#include "dials/dial_context.h"
#include "text/number_format.h"
#include "text/month_names.h"
#include "text/texts.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace zorva {
namespace {

const QChar kEndOfLabel(3);

QColor Colour(const DialState& s, int n) {
    const Rgb rgb = s.colours[static_cast<std::size_t>(std::clamp(n, 1, 12) - 1)];
    return QColor(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
}

QString Num(double units) { return RoundToIntText(units); }
QString PlotLabel(const QString& text) { return TransliterateUmlauts(text); }

// Pens of the sun-position diagram (the plot uses the same numbers as palette colours).
constexpr int kScalePen = 4;
constexpr int kDayPathPen = 3;
constexpr int kHourLinePen = 1;
constexpr int kSymbolPen = 1;
constexpr int kMarkedPen = 10;
constexpr int kProfilePen = 3;
constexpr int kEotGridPen = 8;
constexpr int kEotCurvePen = 3;

// Zodiac signs of the day paths 1..7: Capricorn, Aquarius, Pisces, Aries, Taurus, Gemini,
// Cancer. On screen the Unicode signs; in the plot file the symbol-set codes.
QString ZodiacGlyph(int index) {
    static constexpr char16_t kSigns[8] = {0, 0x2651, 0x2652, 0x2653, 0x2648, 0x2649, 0x264A, 0x264B};
    return QString(QChar(kSigns[std::clamp(index, 1, 7)])) + QChar(0xFE0E);
}
QChar ZodiacPlotCode(int index) {
    static constexpr char kCodes[8] = {0, 103, 104, 105, 94, 95, 96, 97};
    return QLatin1Char(kCodes[std::clamp(index, 1, 7)]);
}

QFont Font(const QString& family, double pixelHeight, bool bold = false) {
    QFont f(family);
    f.setPixelSize(std::max(6, static_cast<int>(std::lround(pixelHeight))));
    f.setBold(bold);
    return f;
}

// Writes polylines whose points may switch to the marking pen, keeping one pen per run.
class PlotPolylines {
public:
    PlotPolylines(QString& out, int pen) : out_(out), ownPen_(pen) {}

    void write(const std::vector<QPointF>& pts, const std::vector<bool>& marked) {
        if (pts.size() < 2) return;
        int pen = penFor(marked.size() > 1 && marked[1]);
        start(pen, pts[0]);
        for (std::size_t i = 1; i < pts.size(); ++i) {
            const int wanted = penFor(marked[i]);
            if (wanted != pen) {
                pen = wanted;
                start(pen, pts[i - 1]);
            }
            out_ += QLatin1Char(' ') + Num(pts[i].x()) + QLatin1Char(' ') + Num(pts[i].y());
        }
    }

private:
    int penFor(bool marked) const { return marked ? kMarkedPen : ownPen_; }
    void start(int pen, QPointF p) {
        if (pen != currentPen_) out_ += QStringLiteral(";SP ") + QString::number(pen);
        currentPen_ = pen;
        out_ += QStringLiteral(";PU ") + Num(p.x()) + QLatin1Char(' ') + Num(p.y()) + QStringLiteral(";PD");
    }

    QString& out_;
    int ownPen_;
    int currentPen_ = -1;
};

// Draws polylines on a painter, switching to colour 10 where points are marked.
void PaintMarkedPolyline(QPainter& p, const std::vector<QPointF>& pts, const std::vector<bool>& marked,
                         const QPen& own, const QPen& markedPen) {
    std::size_t runStart = 0;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        // A run ends where the next segment changes colour; each run is one polyline.
        if (i + 1 < pts.size() && marked[i + 1] == marked[i]) continue;
        p.setPen(marked[i] ? markedPen : own);
        ClearUpperVectorState();  // the stroker's trigonometry, after the last raster call
        p.drawPolyline(pts.data() + runStart, static_cast<int>(i - runStart + 1));
        runStart = i;
    }
}

// ---- sun-position diagram geometry shared by screen and plot

struct SkyFrame {
    double x0, y0;  // azimuth -180, altitude 0
    double sx, sy;  // units per degree; sy points in the target's "up" direction
    QPointF at(double azimuth, double altitude) const { return {x0 + (azimuth + 180.0) * sx, y0 - altitude * sy}; }
};

void SkyPoints(const SkyFrame& f, const SkyPolyline& line, std::vector<QPointF>& pts, std::vector<bool>& marked) {
    pts.clear();
    marked.clear();
    for (const SkyPoint& q : line) {
        pts.push_back(f.at(q.azimuth, q.altitude));
        marked.push_back(q.marked);
    }
}

double StrokeLength(int degree, double d, double full) {
    if (degree % 30 == 0) return full;
    if (degree % 10 == 0) return 3 * d;
    if (degree % 5 == 0) return std::nearbyint(1.8 * d);
    return d;
}

double HourAngleShift(const DialState& s) {
    return s.eotLongitudeCorrection ? LongitudeCorrection(s.longitude, s.zoneMeridian) : 0.0;
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

// ======================================================================== EoT, screen

void PaintEotGraph(QPainter& p, const QRectF& area, const DialState& s) {
    const Language lang = s.language;
    const EotGraph g = BuildEotGraph(s.referenceYear, s.longitude, s.zoneMeridian, s.eotLongitudeCorrection,
                                     MinuteSplit::Rounded);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const double textH = std::clamp(area.height() / 34.0, 7.0, area.width() / 50.0);
    const QFont small = Font(QStringLiteral("Arial"), textH * 0.8);
    const QFont normal = Font(QStringLiteral("Arial"), textH);
    const QFont big = Font(QStringLiteral("Arial"), textH * 1.6, true);
    const double lw = std::max(1.0, area.height() / 500.0);

    const double left = area.left() + textH * 3.5;
    const double right = area.right() - textH;
    const double top = area.top() + textH * 2.5;
    const double bottom = area.bottom() - textH * 2.2;
    const double dayW = (right - left) / g.daysInYear;
    const double minH = (bottom - top) / (2.0 * kEotAxisMinutes);
    const double yZero = (top + bottom) / 2.0;
    const auto X = [&](double day) { return left + day * dayW; };
    const auto Y = [&](double minutes) { return yZero - minutes * minH; };  // sun fast: up

    // Captions first, so that the grid and the curve stay on top of them.
    p.setFont(normal);
    p.setPen(Colour(s, 1));
    const QString caption = label(s.eotLongitudeCorrection ? 164 : 165, lang);
    p.drawText(QPointF(left, area.top() + textH * 1.2), caption);
    if (!s.eotLongitudeCorrection) {
        p.setFont(big);
        p.setPen(QColor(0xA0, 0xA0, 0xA0));
        const QFontMetricsF fm(big);
        const QString fast = label(166, lang), slow = label(167, lang);
        p.drawText(QPointF((left + right - fm.horizontalAdvance(fast)) / 2, Y(kEotAxisMinutes * 0.6)), fast);
        p.drawText(QPointF((left + right - fm.horizontalAdvance(slow)) / 2, Y(-kEotAxisMinutes * 0.6) + fm.ascent()),
                   slow);
    }

    // Row m of the graph shows the value m + whole (the longitude correction's whole minutes).
    // Grid lines and labels sit on values divisible by 5, and the day axis on the value 0 (on
    // the edge nearest to it when the corrected curve lies wholly above or below zero).
    const int whole = g.correction.wholeMinutes;
    const auto labelled = [whole](int m) { return EotRowIsLabelled(m, whole); };
    const int axis = EotDayAxisRow(whole);

    // Minute grid and month lines.
    p.setPen(QPen(Colour(s, kEotGridPen), lw * 0.6));
    for (int m = -kEotAxisMinutes; m <= kEotAxisMinutes; ++m)
        if (labelled(m) || std::abs(m) == kEotAxisMinutes) p.drawLine(QPointF(X(0), Y(m)), QPointF(X(g.daysInYear), Y(m)));
    for (int start : g.monthStarts)
        p.drawLine(QPointF(X(start), Y(-kEotAxisMinutes)), QPointF(X(start), Y(kEotAxisMinutes)));

    // Axes, ticks and labels.
    p.setPen(QPen(Colour(s, 1), lw));
    p.setFont(small);
    const QFontMetricsF fmSmall(small);
    p.drawLine(QPointF(X(0), Y(-kEotAxisMinutes)), QPointF(X(0), Y(kEotAxisMinutes)));
    p.drawLine(QPointF(X(0), Y(axis)), QPointF(X(g.daysInYear), Y(axis)));
    for (int m = -kEotAxisMinutes; m <= kEotAxisMinutes; ++m) {
        if (!labelled(m)) {
            p.drawLine(QPointF(X(0) - textH * 0.3, Y(m)), QPointF(X(0) + textH * 0.3, Y(m)));
            continue;
        }
        const QString text = QString::number(m + whole);
        p.drawText(QPointF(X(0) - textH * 0.5 - fmSmall.horizontalAdvance(text), Y(m) + fmSmall.ascent() / 2.5), text);
    }
    int monthStart = 0;
    p.setFont(normal);
    for (int month = 1; month <= 12; ++month) {
        p.drawLine(QPointF(X(monthStart), Y(axis) - textH * 0.5), QPointF(X(monthStart), Y(axis) + textH * 0.5));
        for (int d : {10, 20})
            p.drawLine(QPointF(X(monthStart + d - 1), Y(axis) - textH * 0.25),
                       QPointF(X(monthStart + d - 1), Y(axis) + textH * 0.25));
        p.drawText(QPointF(X(monthStart + 4), bottom + textH * 1.4), ShortMonthName(month, lang));
        monthStart = g.monthStarts[static_cast<std::size_t>(month - 1)];
    }

    // The curve.
    QPainterPath path;
    for (std::size_t i = 0; i < g.curve.size(); ++i) {
        const QPointF pt(X(g.curve[i].day), Y(g.curve[i].minutes));
        if (i == 0) path.moveTo(pt);
        else path.lineTo(pt);
    }
    p.setPen(QPen(Colour(s, kEotCurvePen), lw * 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

// ======================================================================== EoT, plot file

QString EotGraphPlot(const DialState& s, const GraphPlotOptions& options) {
    const Language lang = s.language;
    const EotGraph g = BuildEotGraph(s.referenceYear, s.longitude, s.zoneMeridian, s.eotLongitudeCorrection,
                                     MinuteSplit::Truncated);
    const int whole = g.correction.wholeMinutes;
    const double mirror = options.mirror ? -1.0 : 1.0;
    // Laid out on a 2000 x 1500 area at (100, 100); every coordinate is written times 4.
    const double x0 = 100 + std::trunc(2000.0 / 190.0 * 8.0) - 2;  // 182
    const double y0 = 100 + 750 - whole * mirror;
    const double minute = 150.0 / 5.0 * options.factor * mirror;
    const auto X = [&](double day) { return 4.0 * (x0 + 5.0 * day); };
    const auto Y = [&](double minutes) { return 4.0 * (y0 + minutes * minute); };
    const auto point = [&](double x, double y) { return Num(x) + QLatin1Char(' ') + Num(y); };
    const auto move = [&](double x, double y) { return QStringLiteral(";PU ") + point(x, y); };
    const auto draw = [&](double x, double y) { return QStringLiteral(";PD ") + point(x, y); };
    const auto text = [&](double x, double y, const QString& t) {
        return move(x, y) + QStringLiteral(";LB") + PlotLabel(t) + kEndOfLabel;
    };
    const double yLow = std::min(Y(-kEotAxisMinutes), Y(kEotAxisMinutes));
    const double yHigh = std::max(Y(-kEotAxisMinutes), Y(kEotAxisMinutes));

    QString out = QStringLiteral("IN;SP 8;SI 0.14, 0.24;SP 8");
    for (int m = -kEotAxisMinutes; m <= kEotAxisMinutes; ++m)
        if (EotMinuteIsGridLine(m)) out += move(X(0), Y(m)) + draw(X(g.daysInYear), Y(m));
    for (int start : g.monthStarts)
        out += move(X(start), Y(-kEotAxisMinutes)) + draw(X(start), Y(kEotAxisMinutes));

    out += QStringLiteral(";SP 1");
    for (int m = -kEotAxisMinutes; m <= kEotAxisMinutes; ++m) {
        if (EotMinuteIsGridLine(m)) {
            const QString value = QString::number(static_cast<int>((m + whole) * mirror));
            out += text(X(0) - 4.0 * (20 + 14 * value.size()), Y(m) - 4.0 * 12, value);
        } else {
            out += move(X(0) - 4.0 * 6, Y(m)) + draw(X(0) + 4.0 * 6, Y(m));
        }
    }
    out += move(X(0), Y(-kEotAxisMinutes)) + draw(X(0), Y(kEotAxisMinutes));
    out += move(X(0), Y(0)) + draw(X(g.daysInYear), Y(0));

    out += QStringLiteral(";SI 0.22,0.33");
    int monthStart = 0;
    for (int month = 1; month <= 12; ++month) {
        out += text(X(monthStart + 4), yLow - 4.0 * 50, MonthAbbreviation(month));
        monthStart = g.monthStarts[static_cast<std::size_t>(month - 1)];
    }

    const QString yearText = QString::number(s.referenceYear);
    QStringList captions;
    if (!s.eotLongitudeCorrection) {
        captions << label(options.mirror ? 170 : 169, lang) + label(60, lang) + yearText;
    } else {
        captions << label(options.mirror ? 171 : 164, lang)
                 << QLatin1Char('[') + label(60, lang) + yearText + label(168, lang) + RealToText(7, 2, s.longitude) +
                        QStringLiteral(" Grad]");
    }
    for (int i = 0; i < captions.size(); ++i) out += text(X(0), yHigh + 4.0 * (90 - 45 * i), captions[i]);

    monthStart = 0;
    for (int month = 1; month <= 12; ++month) {
        out += move(X(monthStart), Y(0) - 4.0 * 15) + draw(X(monthStart), Y(0) + 4.0 * 15);
        for (int d : {10, 20})
            out += move(X(monthStart + d - 1), Y(0) - 4.0 * 7) + draw(X(monthStart + d - 1), Y(0) + 4.0 * 7);
        monthStart = g.monthStarts[static_cast<std::size_t>(month - 1)];
    }

    out += QStringLiteral(";SP 3");
    for (std::size_t i = 0; i < g.curve.size(); ++i) {
        const double x = X(g.curve[i].day), y = Y(g.curve[i].minutes);
        out += i == 0 ? move(x, y) + QStringLiteral(";PD") : QLatin1Char(' ') + point(x, y);
    }
    out += QStringLiteral(";PU;SP 0;");
    return out;
}

// ======================================================================== sun path, screen

void PaintSunPathDiagram(QPainter& p, const QRectF& area, const DialState& s, const SunPathExtras& extras) {
    const Language lang = s.language;
    const SunPathDiagram d = BuildSunPathDiagram(s.latitude, DialContext(s).zodiacDeclinations(), HourAngleShift(s), extras.marker);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const double textH = std::clamp(area.height() / 40.0, 7.0, area.width() / 60.0);
    const QFont small = Font(QStringLiteral("Arial"), textH * 0.8);
    const QFont normal = Font(QStringLiteral("Arial"), textH);
    const QFont bold = Font(QStringLiteral("Arial"), textH * 1.2, true);
    const QFont symbols = Font(QStringLiteral("DejaVu Sans"), textH * 1.3);
    const double lw = std::max(1.0, area.height() / 600.0);

    // Title block.
    p.setPen(Colour(s, 1));
    p.setFont(bold);
    const QString heading = resourceText(845, lang) + QString::number(s.referenceYear);
    p.drawText(QPointF(area.left() + textH, area.top() + textH * 1.4), heading);
    const double headingW = QFontMetricsF(bold).horizontalAdvance(heading);
    p.setFont(normal);
    p.drawText(QPointF(area.left() + textH * 2 + headingW, area.top() + textH * 1.4), QStringLiteral("  ") + SunPathTitle(s));
    p.drawText(QPointF(area.left() + textH, area.top() + textH * 2.8),
               resourceText(495, lang) + QStringLiteral("  ") + label(142, lang));

    const double footerH = extras.footer.isEmpty() ? 0.0 : textH * 1.6;
    SkyFrame f;
    f.x0 = area.left() + textH * 3.0;
    f.sx = (area.right() - textH * 3.0 - f.x0) / 360.0;
    const double top = area.top() + textH * 5.0;
    f.y0 = area.bottom() - textH * 2.6 - footerH;
    f.sy = (f.y0 - top) / 90.0;
    const double tick = 2.5 * std::min(f.sx, f.sy);

    // Scales.
    p.setPen(QPen(Colour(s, kScalePen), lw * 0.5));
    for (int a = -180; a <= 180; ++a) {
        const double len = StrokeLength(a, tick, 90.0 * f.sy);
        const QPointF base = f.at(a, 0);
        p.drawLine(base, base - QPointF(0, len));
    }
    p.setFont(small);
    const QFontMetricsF fmSmall(small);
    for (int h = 0; h <= 90; ++h) {
        const double len = h % 10 == 0 ? 360.0 * f.sx : h % 5 == 0 ? 2 * tick : tick;
        const QPointF base = f.at(-180, h);
        p.drawLine(base, base + QPointF(len, 0));
        if (h % 10 == 0) {
            const QString t = QString::number(h);
            p.drawText(base + QPointF(-fmSmall.horizontalAdvance(t) - textH * 0.3, fmSmall.ascent() / 2.5), t);
        }
    }
    p.setPen(Colour(s, kScalePen));
    p.setFont(normal);
    p.drawText(f.at(-180, 90) + QPointF(-textH * 2.5, -textH * 0.6), label(221, lang));
    p.drawText(f.at(180, 0) + QPointF(textH * 0.3, textH * 0.4), QStringLiteral("Azi"));
    const double compass[4] = {-184, -93, -3, 87};
    for (int i = 0; i < 4; ++i)
        p.drawText(f.at(compass[i], 0) + QPointF(0, textH * 1.4), StripAccelerators(label(i, lang)));
    for (int a = -150; a <= 150; a += 30) {
        const QString t = QString::number(a);
        p.setFont(small);
        p.drawText(f.at(a, 0) + QPointF(-fmSmall.horizontalAdvance(t) / 2, textH * 2.3), t);
    }

    std::vector<QPointF> pts;
    std::vector<bool> marked;
    const QPen markedPen(Colour(s, kMarkedPen), lw * 1.5);

    // Horizon profile.
    if (!extras.horizonProfile.empty()) {
        QPainterPath profile;
        for (std::size_t i = 0; i < extras.horizonProfile.size(); ++i) {
            const QPointF pt = f.at(extras.horizonProfile[i].azimuth, std::max(0.0, extras.horizonProfile[i].altitude));
            if (i == 0) profile.moveTo(pt);
            else profile.lineTo(pt);
        }
        p.setPen(QPen(Colour(s, kProfilePen), lw * (s.lineWidth - '0' + 1)));
        p.drawPath(profile);
    }

    // Hour lines, full hours one pen width thicker, with their numbers.
    p.setFont(small);
    for (const HourLine& line : d.hourLines) {
        const QPen own(Colour(s, kHourLinePen), line.fullHour ? lw * 2.0 : lw);
        for (const SkyPolyline& piece : line.pieces) {
            SkyPoints(f, piece, pts, marked);
            PaintMarkedPolyline(p, pts, marked, own, markedPen);
        }
        if (line.fullHour && line.endVisible) {
            p.setPen(Colour(s, kScalePen));
            const QString t = QString::number(static_cast<int>(line.hour));
            p.drawText(f.at(line.end.azimuth, line.end.altitude) + QPointF(-fmSmall.horizontalAdvance(t) / 2, -textH * 0.3),
                       t);
        }
    }

    // Day paths and their signs.
    p.setFont(symbols);
    const QFontMetricsF fmSym(symbols);
    for (const DayPath& path : d.dayPaths) {
        const QPen own(Colour(s, kDayPathPen), lw * 1.5);
        for (const SkyPolyline& piece : path.pieces) {
            SkyPoints(f, piece, pts, marked);
            PaintMarkedPolyline(p, pts, marked, own, markedPen);
        }
        if (path.noonVisible) {
            p.setPen(Colour(s, kSymbolPen));
            const QPointF at = f.at(path.noon.azimuth, path.noon.altitude);
            p.drawText(at + QPointF(textH * 0.4, -textH * 0.3), ZodiacGlyph(path.zodiacIndex));
        }
    }

    if (!extras.footer.isEmpty()) {
        p.setPen(Colour(s, 1));
        p.setFont(normal);
        p.drawText(QPointF(area.left() + textH, area.bottom() - textH * 0.5), extras.footer);
    }
    p.restore();
}

// ======================================================================== sun path, plot file

QString SunPathPlot(const DialState& s, const SunPathExtras& extras) {
    const Language lang = s.language;
    const SunPathDiagram d = BuildSunPathDiagram(s.latitude, DialContext(s).zodiacDeclinations(), HourAngleShift(s), extras.marker);
    // Laid out on 2000 x 1500 at (100, 100), every size times 4.
    const double W = 4 * 2000.0, Hh = 4 * 1500.0;
    SkyFrame f;
    f.x0 = 100 + std::trunc(W / 190.0 * 5.0) + 2;     // 312
    f.y0 = 100 + std::nearbyint(0.1 * Hh);            // 700
    f.sx = W / 380.0;
    f.sy = -std::nearbyint(0.6 * Hh) / 90.0;           // 40 per degree, upward
    const double D = std::nearbyint(2.5 * f.sx);       // 53
    const double full = 90.0 * -f.sy;                  // 3600
    const auto point = [](QPointF p) { return Num(p.x()) + QLatin1Char(' ') + Num(p.y()); };
    const auto move = [&](QPointF p) { return QStringLiteral(";PU ") + point(p); };
    const auto draw = [&](QPointF p) { return QStringLiteral(";PD ") + point(p); };
    const auto text = [&](QPointF p, const QString& t) {
        return move(p) + QStringLiteral(";LB") + PlotLabel(t) + kEndOfLabel;
    };

    QString out = QStringLiteral(";IN;SS;SI 0.14, 0.24;SP 4");
    out += move(QPointF(100 + 300, f.y0 + full + 320)) + QStringLiteral(";LB ") +
           PlotLabel(resourceText(845, lang) + QString::number(s.referenceYear) + QStringLiteral("  ( ") +
                     label(131, lang) + RealToText(6, 2, s.latitude) + label(132, lang) +
                     RealToText(7, 2, s.longitude) + QStringLiteral(", ") + label(82, lang).mid(1, 13) +
                     QLatin1Char('=') + RealToText(8, 2, s.zoneMeridian) + QStringLiteral(" )")) +
           kEndOfLabel;

    out += QStringLiteral(";SI 0.10, 0.15 ;");
    for (int a = -180; a <= 180; ++a) {
        const QPointF base = f.at(a, 0);
        out += move(base) + draw(base + QPointF(0, StrokeLength(a, D, full)));
    }
    for (int h = 0; h <= 90; ++h) {
        const QPointF base = f.at(-180, h);
        const double len = h % 10 == 0 ? 360.0 * f.sx : h % 5 == 0 ? 2 * D : D;
        out += move(base) + draw(base + QPointF(len, 0));
        if (h % 10 == 0) out += text(base + QPointF(-40.0 - 60.0 * QString::number(h).size(), -25), QString::number(h));
    }
    out += text(f.at(-180, 90) + QPointF(-200, 100), label(221, lang));
    out += text(f.at(180, 0) + QPointF(40, -25), QStringLiteral("Azi"));
    const double compass[4] = {-184, -93, -3, 87};
    for (int i = 0; i < 4; ++i) out += text(f.at(compass[i], 0) + QPointF(0, -140), StripAccelerators(label(i, lang)));

    std::vector<QPointF> pts;
    std::vector<bool> marked;
    {
        PlotPolylines lines(out, kHourLinePen);
        for (const HourLine& line : d.hourLines)
            for (const SkyPolyline& piece : line.pieces) {
                SkyPoints(f, piece, pts, marked);
                lines.write(pts, marked);
            }
    }
    out += QStringLiteral(";PU;SI 0.09, 0.15 ;SP 4");
    for (const HourLine& line : d.hourLines)
        if (line.fullHour && line.endVisible)
            out += text(f.at(line.end.azimuth, line.end.altitude) + QPointF(-30, 40),
                        QString::number(static_cast<int>(line.hour)));
    {
        PlotPolylines paths(out, kDayPathPen);
        for (const DayPath& path : d.dayPaths)
            for (const SkyPolyline& piece : path.pieces) {
                SkyPoints(f, piece, pts, marked);
                paths.write(pts, marked);
            }
    }
    for (const DayPath& path : d.dayPaths) {
        if (!path.noonVisible) continue;
        out += QStringLiteral(";PU;SA;SP ") + QString::number(kSymbolPen) +
               text(f.at(path.noon.azimuth, path.noon.altitude) + QPointF(40, 40), ZodiacPlotCode(path.zodiacIndex)) +
               QStringLiteral(";SS");
    }
    if (extras.horizonProfile.size() >= 2) {
        out += QStringLiteral(";SP ") + QString::number(kProfilePen);
        for (std::size_t i = 0; i < extras.horizonProfile.size(); ++i) {
            const QPointF pt = f.at(extras.horizonProfile[i].azimuth, std::max(0.0, extras.horizonProfile[i].altitude));
            out += i == 0 ? move(pt) + QStringLiteral(";PD") : QLatin1Char(' ') + point(pt);
        }
    }
    if (!extras.footer.isEmpty()) out += QStringLiteral(";SP 1") + text(QPointF(400, 250), extras.footer);
    out += QStringLiteral(";PU;SP 0;");
    return out;
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
    const QString plot = kind == GraphKind::EquationOfTime ? EotGraphPlot(s, options) : SunPathPlot(s, extras);
    PlotSaveRequest request;
    request.fileName = fileName;
    request.format = format;
    request.highResolution = false;  // graphs are plotted at 40 units per millimetre only
    request.lineWeight = s.plotLineWeight;
    return SavePlot(request, [&plot](PlotStream& stream) { stream.WritePlot(plot); }, dialogs, s.language).ok;
}

}  // namespace zorva
