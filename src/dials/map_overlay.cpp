#include "dials/map_overlay.h"

#include "astro/angles.h"
#include "dials/dial_painter.h"
#include "dials/plot_painter.h"
#include "plot/plot_stream.h"
#include "state/data_files.h"
#include "state/input_file.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QSizeF>

#include <array>
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

namespace {

// Where the overlay goes on one target, in its drawing units (y down).
struct MapFrame {
    QPointF origin;       // the nodus foot point
    QPointF middle;       // of the drawing; points further than `reach` from it are skipped
    QSizeF reach;
    MapProjection projection;
};

// Lines shorter than this are separators in a map file, on every target: the shortest
// point ("0 0") has three characters.
constexpr int kMapLineMinLength = 4;

struct MapLayer {
    bool on;
    const char* file;
    int role;  // colour entry 10 (coast) or 11 (borders); a plot uses pens 11 and 12
};

// The coast first, the borders over it.
std::array<MapLayer, 2> Layers(const DialState& s) {
    return {MapLayer{s.mapCoast, kCoastFileName, 10}, MapLayer{s.mapBorders, kBordersFileName, 11}};
}

// The map scale the choice between the coarse and the fine map goes by.
double MapScaleMm(const DialState& s, const MapProjection& projection, double rawScale) {
    return s.gnomonLength * projection.scale() / rawScale;
}

// Opens the layer's file; a missing one is reported and the layer skipped.
bool OpenLayer(const DialState& s, const MapLayer& layer, double mapScaleMm, QFile& file, UserDialogs& dialogs) {
    // Regular files only: a FIFO under the map file's name would block the drawing forever.
    if (OpenInputFile(MapPath(s, layer.file, mapScaleMm), -1, file) == InputFileStatus::Ok) return true;
    dialogs.inform(caption(CaptionKind::Error, s.language),
                   TextOf(TextId::FileWord, s.language) + QLatin1String(layer.file) + TextOf(TextId::NotFound, s.language),
                   Icon::Error);
    return false;
}

// The mark of the nodus foot point, drawn right to left and then downward.
void DrawFootCross(DialPainter& painter, QPointF at, double half) {
    painter.setPenWidth(1);
    painter.setLineStyle(LineStyle::Solid);
    painter.setPenColour(colour::kRed, 3);
    painter.moveTo(at.x() + half, at.y());
    painter.lineTo(at.x() - half, at.y());
    painter.moveTo(at.x(), at.y() - half);
    painter.lineTo(at.x(), at.y() + half);
}

// The map lines of one open file in the painter's current pen.
void TraceMapLines(const DialState& s, const MapLayer& layer, const MapFrame& frame, QFile& file,
                   DialPainter& painter, UserDialogs& dialogs) {
    bool started = false;
    MapLineCalls calls(
        [&](const MapPoint& p, bool first) {
            if (first) started = false;
            // A place on the far half of the earth is on no map of this plane: the line
            // stops there instead of jumping across the dial to where it comes back.
            if (!frame.projection.inFront(p)) {
                started = false;
                return;
            }
            const QPointF q = frame.projection.project(p);
            const double x = frame.origin.x() - q.x(), y = frame.origin.y() + q.y();
            // A point off the drawing is skipped; its neighbours stay joined.
            if (std::abs(x - frame.middle.x()) > frame.reach.width() ||
                std::abs(y - frame.middle.y()) > frame.reach.height())
                return;
            if (started) painter.lineTo(x, y);
            else painter.moveTo(x, y);
            started = true;
        },
        [] {});
    ReportBadPoints(s, layer.file, ReadMapDevice(file, kMapLineMinLength, calls), dialogs);
}

// How the overlay plot writes its map lines: every point read, each line begun with its
// own pen-up, coordinates with leading blanks to eight characters.
PlotSpelling MapPlotSpelling() {
    PlotSpelling spelling;
    spelling.shortStrokes = true;
    spelling.unbrokenRuns = true;
    spelling.eagerMoves = true;
    spelling.coordinateWidth = 8;
    return spelling;
}

}  // namespace

void DrawMapOverlay(const DialState& s, const DialPlane& plane, double scale, DialPainter& painter,
                    UserDialogs& dialogs) {
    const double w = 2 * plane.halfWidth, h = plane.height;
    const MapFrame frame{QPointF(plane.x0, plane.y0), QPointF(plane.ox + w / 2, plane.oy + h / 2),
                         QSizeF(0.6 * w, 0.6 * h), MapProjection(plane, s.latitude, -s.longitude, scale)};
    const double mapScaleMm = MapScaleMm(s, frame.projection, scale);
    DrawFootCross(painter, frame.origin, 8);
    for (const MapLayer& layer : Layers(s)) {
        QFile file;
        if (!layer.on || !OpenLayer(s, layer, mapScaleMm, file, dialogs)) continue;
        painter.setPenRole(layer.role);
        TraceMapLines(s, layer, frame, file, painter, dialogs);
    }
}

void WriteMapOverlayPlot(const DialState& s, const DialPlane& plane, QPointF origin, PlotStream& stream,
                         UserDialogs& dialogs) {
    const double rawScale = s.gnomonLength * kPlotUnitsPerMm;
    // The plot lays its parts out on the layout area (y down from the sheet's top edge here).
    const MapFrame frame{QPointF(origin.x(), kSheetHeight - origin.y()),
                         QPointF(kLayoutWidth / 2.0, kSheetHeight - kLayoutHeight / 2.0),
                         QSizeF(0.6 * kLayoutWidth, 0.6 * kLayoutHeight),
                         MapProjection(plane, s.latitude, -s.longitude, rawScale)};
    const double mapScaleMm = MapScaleMm(s, frame.projection, rawScale);
    for (const MapLayer& layer : Layers(s)) {
        QFile file;
        if (!layer.on || !OpenLayer(s, layer, mapScaleMm, file, dialogs)) continue;
        // Each layer is a plot of its own: head, cross, then the map in the layer's pen.
        const int pen = layer.role + 1;
        const QString w = QString::number(stream.sheetWidth()), h = QString::number(stream.sheetHeight());
        stream.WritePlot(QStringLiteral("IN;VS 1;PA;IW 0 0 ") + w + QLatin1Char(' ') + h + QStringLiteral(";SP ") +
                         QString::number(pen) + QStringLiteral(";PU 0 0;EA ") + w + QLatin1Char(' ') + h +
                         QStringLiteral(";PU 0 0"));
        stream.characterSize(0.22, 0.32);
        {
            PlotPainter cross(stream, 1, -1);
            DrawFootCross(cross, frame.origin, 120);
        }
        stream.selectPen(pen);
        PlotPainter lines(stream, 1, pen, kSheetHeight, MapPlotSpelling());
        lines.setPenRole(layer.role);
        TraceMapLines(s, layer, frame, file, lines, dialogs);
    }
}

}  // namespace zorva
