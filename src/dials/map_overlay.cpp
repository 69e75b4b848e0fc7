#include "dials/map_overlay.h"

#include "astro/angles.h"
#include "dials/dial_painter.h"
#include "plot/plot_stream.h"
#include "state/data_files.h"
#include "state/input_file.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace zorva {
namespace {

void ReportBadPoints(const DialState& s, const char* file, const MapReadReport& report, UserDialogs& dialogs) {
    // One box per file: a damaged file would otherwise ask for thousands of clicks.
    const QString text = MapBadPointsText(QLatin1String(file), report, s.language);
    if (!text.isEmpty()) dialogs.inform(caption(CaptionKind::Error, s.language), text, Icon::Error);
}

// Hands each map line's points to `point` (first = true at the start of a line) and calls
// `end` after its last point.
template <class Point, class End>
class MapLineCalls : public MapLineSink {
public:
    MapLineCalls(Point point, End end) : point_(point), end_(end) {}
    void beginLine() override { first_ = true; }
    void point(const MapPoint& p) override {
        point_(p, first_);
        first_ = false;
    }
    void endLine() override { end_(); }

private:
    Point point_;
    End end_;
    bool first_ = false;
};

QString MapPath(const DialState& s, const char* name, double mapScaleMm) {
    const QString fine = FindDataFile(QLatin1String(name), s.programDirectory);
    if (fine.isEmpty() || !CoarseMapSuffices(mapScaleMm)) return fine;
    // The coarse twin only from the same folder: a user's own map is never replaced by ours.
    const QFileInfo info(fine);
    const QString twin = info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1String(kCoarseMapSuffix) +
                         QLatin1Char('.') + info.suffix();
    return QFileInfo(twin).isFile() ? twin : fine;
}

}  // namespace

bool CoarseMapSuffices(double mapScaleMm) { return mapScaleMm < kFineMapFromScaleMm; }

MapProjection::MapProjection(const DialPlane& plane, double siteLatitude, double siteLongitudeEast, double scale)
    : scale_(scale) {
    double deltaLambda = 0.0;
    if (plane.letter == 'h') {
        centreLatitude_ = siteLatitude;
    } else {
        const double inclination = plane.letter == 'v' ? 90.0 : plane.inclination;
        const EquivalentDial e = EquivalentHorizontalDial(siteLatitude, inclination, plane.wallDeclination);
        centreLatitude_ = e.latitude;
        deltaLambda = e.deltaLambda;
        rotation_ = e.rotation;
    }
    centreLatitude_ = std::clamp(centreLatitude_, -89.999, 89.999);
    centreLongitude_ = deltaLambda - siteLongitudeEast;
    if (std::abs(centreLatitude_) > 0.05) {
        // The earth's axis is the polar style: the map's pole belongs on the style foot point.
        // The pole on the plane's side is taken (the other one projects to the same point but
        // lies behind the plane, where the guard of the projection would throw it away).
        const Offset f = StyleFootPoint(plane);
        const QPointF pole = raw({0.0, centreLatitude_ > 0 ? 90.0 : -90.0});
        const double poleDistance = std::hypot(pole.x(), pole.y());
        if (poleDistance > 0) scale_ *= std::hypot(f.dx, f.dy) / poleDistance;
    }
}

QPointF MapProjection::raw(const MapPoint& p) const {
    const double phi = centreLatitude_;
    const double cl = centreLongitude_ + p.longitude;
    double u = SinDeg(phi) * SinDeg(p.latitude) + CosDeg(phi) * CosDeg(p.latitude) * CosDeg(cl);
    if (u < 1e-6) u = 1e-6;
    double x = scale_ * CosDeg(p.latitude) * SinDeg(cl) / u;
    double y = scale_ * (CosDeg(phi) * SinDeg(p.latitude) - SinDeg(phi) * CosDeg(p.latitude) * CosDeg(cl)) / u;
    if (std::abs(rotation_) > 0.001) {
        const double c = CosDeg(rotation_), s = SinDeg(rotation_);
        const double xr = x * c - y * s;
        y = x * s + y * c;
        x = xr;
    }
    return {x, y};
}

QPointF MapProjection::project(const MapPoint& point) const { return raw(point); }

bool MapProjection::inFront(const MapPoint& p) const {
    const double phi = centreLatitude_;
    return SinDeg(phi) * SinDeg(p.latitude) + CosDeg(phi) * CosDeg(p.latitude) * CosDeg(centreLongitude_ + p.longitude) >=
           1e-6;
}

bool MapOverlayWanted(const DialState& s) {
    const char t = s.dialType;
    return s.mapOverlay && (s.mapCoast || s.mapBorders) && (t == 'h' || t == 'v' || t == 'i');
}

void DrawMapOverlay(const DialState& s, const DialPlane& plane, double scale, DialPainter& painter,
                    UserDialogs& dialogs) {
    const double x0 = plane.x0, y0 = plane.y0;
    const double w = 2 * plane.halfWidth, h = plane.height;
    const QPointF middle(plane.ox + w / 2, plane.oy + h / 2);
    painter.setPenWidth(1);
    painter.setLineStyle(LineStyle::Solid);
    painter.setPenColour(colour::kRed, 2);
    painter.moveTo(x0 - 8, y0);
    painter.lineTo(x0 + 8, y0);
    painter.moveTo(x0, y0 - 8);
    painter.lineTo(x0, y0 + 8);
    const MapProjection projection(plane, s.latitude, -s.longitude, scale);
    const double mapScaleMm = s.gnomonLength * projection.scale() / scale;

    struct Layer {
        bool on;
        const char* file;
        int role;
    };
    for (const Layer& layer : {Layer{s.mapBorders, kBordersFileName, 11}, Layer{s.mapCoast, kCoastFileName, 10}}) {
        if (!layer.on) continue;
        painter.setPenRole(layer.role);
        bool started = false;
        MapLineCalls calls(
            [&](const MapPoint& p, bool first) {
                if (first) started = false;
                // A place on the far half of the earth is on no map of this plane: the line
                // stops there instead of jumping across the dial to where it comes back.
                if (!projection.inFront(p)) {
                    started = false;
                    return;
                }
                const QPointF q = projection.project(p);
                const double col = x0 - q.x(), row = y0 + q.y();
                // A point off the drawing is skipped; its neighbours stay joined.
                if (std::abs(col - middle.x()) > 0.6 * w || std::abs(row - middle.y()) > 0.6 * h) return;
                if (started) painter.lineTo(col, row);
                else painter.moveTo(col, row);
                started = true;
            },
            [] {});
        const MapReadReport report = ReadMapFile(MapPath(s, layer.file, mapScaleMm), 8, calls);
        if (!report.opened) {
            dialogs.inform(caption(CaptionKind::Error, s.language),
                           QLatin1String(layer.file) + TextOf(TextId::NotFound, s.language), Icon::Error);
            continue;
        }
        ReportBadPoints(s, layer.file, report, dialogs);
    }
}

void WriteMapOverlayPlot(const DialState& s, const DialPlane& plane, QPointF origin, PlotStream& stream,
                         UserDialogs& dialogs) {
    const int p = stream.p();
    const double W = kSheetWidth * p, H = kSheetHeight * p;
    const double layoutW = kLayoutWidth * p, layoutH = kLayoutHeight * p;
    const QPointF o(origin.x() * p, origin.y() * p);
    DialPlane scaled = plane;
    scaled.g = plane.g * p;
    const double rawScale = s.gnomonLength * kPlotUnitsPerMm * p;
    const MapProjection projection(scaled, s.latitude, -s.longitude, rawScale);
    const double mapScaleMm = s.gnomonLength * projection.scale() / rawScale;
    auto n = [](double v) { return RealToText(8, 0, v); };
    auto i = [](double v) { return QString::number(std::lround(v)); };

    struct Layer {
        bool on;
        const char* file;
        int pen;
    };
    for (const Layer& layer : {Layer{s.mapCoast, kCoastFileName, 11}, Layer{s.mapBorders, kBordersFileName, 12}}) {
        if (!layer.on) continue;
        // The head is written once the file is known to open, before its first point.
        QFile file;
        // Regular files only: a FIFO under the map file's name would block the drawing forever.
        if (OpenInputFile(MapPath(s, layer.file, mapScaleMm), -1, file) != InputFileStatus::Ok) {
            dialogs.inform(caption(CaptionKind::Error, s.language),
                           TextOf(TextId::FileWord, s.language) + QLatin1String(layer.file) + TextOf(TextId::NotFound, s.language),
                           Icon::Error);
            continue;
        }
        const QString pen = QString::number(layer.pen);
        QString out = QStringLiteral("IN;VS 1;PA;IW 0 0 ") + i(W) + QLatin1Char(' ') + i(H) + QStringLiteral(";SP ") + pen +
                      QStringLiteral(";PU 0 0;EA ") + i(W) + QLatin1Char(' ') + i(H) + QStringLiteral(";PU 0 0;SI ") +
                      RealToText(5, 2, 0.22 * p) + QLatin1Char(',') + RealToText(5, 2, 0.32 * p);
        const double c = 120.0 * p;
        out += QStringLiteral(";SP 4;PU ") + i(o.x() + c) + QLatin1Char(' ') + i(o.y()) + QStringLiteral(";PD ") +
               i(o.x() - c) + QLatin1Char(' ') + i(o.y()) + QStringLiteral(";PU ") + i(o.x()) + QLatin1Char(' ') +
               i(o.y() + c) + QStringLiteral(";PD ") + i(o.x()) + QLatin1Char(' ') + i(o.y() - c);
        out += QStringLiteral(";SP ") + pen;
        stream.WritePlot(out);
        QString text;
        int drawn = 0;
        MapLineCalls calls(
            [&](const MapPoint& mp, bool first) {
                if (first) drawn = 0;
                if (!projection.inFront(mp)) {  // as on the canvas
                    drawn = 0;
                    return;
                }
                const QPointF q = projection.project(mp);
                const double x = o.x() - q.x(), y = o.y() - q.y();
                if (std::abs(x - layoutW / 2) > 0.6 * layoutW || std::abs(y - layoutH / 2) > 0.6 * layoutH) return;
                if (drawn == 0) text += QStringLiteral(";PU ") + n(x) + QLatin1Char(' ') + n(y);
                else {
                    if (drawn == 1) text += QStringLiteral(";PD");
                    text += QLatin1Char(' ') + n(x) + QLatin1Char(' ') + n(y);
                }
                ++drawn;
                // A long coast goes out in pieces; the bytes are the same.
                if (text.size() > 32768) {
                    stream.WritePlot(text);
                    text.clear();
                }
            },
            [&] {
                stream.WritePlot(text);
                text.clear();
            });
        const MapReadReport report = ReadMapDevice(file, 4, calls);
        ReportBadPoints(s, layer.file, report, dialogs);
    }
}

}  // namespace zorva
