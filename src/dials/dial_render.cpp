#include "dials/dial_render.h"

#include "dials/canvas_painter.h"
#include "dials/bifilar_dial.h"
#include "dials/dial_constructions.h"
#include "dials/dial_painter.h"
#include "dials/svg_painter.h"
#include "dials/hollander_dial.h"
#include "state/safe_save.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace zorva {

bool IsPlanarLetter(char t) { return t == 'h' || t == 'i' || t == 'v'; }

bool IsPlanarDial(const DialState& s) { return s.addedKind == AddedKind::None && IsPlanarLetter(s.dialType); }

GnomonPlacement DefaultGnomonPlacement(const DialState& s, int width, int height) {
    GnomonPlacement p;
    p.originX = (width + 1) / 2;
    p.centreX = 3.0 * width / 8.0;
    if (s.addedKind == AddedKind::Bifilar) {
        // The threads' crossing where the dial's middle fits the sheet below the legend.
        p.originX = width / 2.0;
        p.originY = std::round(BifilarCrossingRow(s, 0.0, width, height,
                                                  ScreenUnitsPerMm(width, false) * std::max(s.zoomFactor, 1e-3)));
        p.centreY = height / 25.0;
        return p;
    }
    if (s.dialType == 'c' || s.dialType == 'm') {
        p.originX = width / 2.0;
        p.originY = s.dialType == 'm' ? ConeDialOriginRow(s, height, ScreenUnitsPerMm(width, false))
                                      : ConeDialOriginRow(s.latitude, height);
        p.centreY = height / 25.0;
        return p;
    }
    if (s.dialType == 'v') {
        p.originY = (width + 1) / 32;
        p.centreY = 0.85 * height;
        return p;
    }
    p.originY = std::abs(s.latitude) > 30 ? 0.75 * height : height / 2.0;
    p.centreY = height / 25.0;
    if (s.latitude < 0) {
        // The shadows of a southern horizontal dial fall toward the bottom.
        p.originY = height - p.originY;
        p.centreY = height - width / 10.0;
    }
    return p;
}

DialResult DrawDialOnScreen(const DialState& state, const DialRequest& request, DialPainter& painter,
                            UserDialogs& dialogs, DialView view) {
    const double W = request.clientWidth, H = request.clientHeight;
    painter.fillRect(0, 0, W, H, colour::kWhite);
    painter.setPenWidth(1);
    painter.setPenColour(colour::kBlack, 0);
    painter.rectangle(0, 0, W - 2, H - 2);
    DialResult result;
    result.zoomFactor = state.zoomFactor;
    const DialContext context(state);
    if (view) {
        result = view(context, request, painter, dialogs);
    } else {
        if (const DialConstruction* c = ConstructionFor(state)) result = c->draw(context, request, painter, dialogs);
        DrawRequestedShadow(context, request, painter);
    }
    return result;
}

PrintArea FitPrintableArea(double left, double right, double top, double bottom) {
    PrintArea a;
    a.width = static_cast<int>(std::min(2820.0, 2968.0 - 2 * std::max(left, right)));
    a.height = static_cast<int>(std::min(2000.0, 2098.0 - 2 * std::max(top, bottom)));
    a.xOffset = static_cast<int>(std::max(0.0, (2970.0 - a.width) / 2 - left));
    a.yOffset = static_cast<int>(std::max(0.0, (2100.0 - a.height) / 2 - top));
    return a;
}

void MapTenthMillimetres(QPainter& painter, double dpiX, double dpiY) {
    painter.scale(dpiX / 254.0, dpiY / 254.0);
}

DialResult DrawDialOnPage(QPainter& painter, const PrintArea& area, const DialState& state,
                          const PrintPlacement& placement, UserDialogs& dialogs,
                          DialResult (*draw)(const DialContext&, const DialRequest&, DialPainter&, UserDialogs&)) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(40);
    painter.setFont(font);
    CanvasPainter canvas(painter, state.colours, PageExtent(area));
    return DrawDialOnPage(canvas, area, state, placement, dialogs, draw);
}

QRectF PageExtent(const PrintArea& area) {
    return QRectF(0, 0, area.xOffset + area.width + 2, area.yOffset + area.height + 2);
}

DialResult DrawDialOnPage(DialPainter& painter, const PrintArea& area, const DialState& state,
                          const PrintPlacement& placement, UserDialogs& dialogs,
                          DialResult (*draw)(const DialContext&, const DialRequest&, DialPainter&, UserDialogs&)) {
    DialRequest r;
    r.target = DrawTarget::Printer;
    r.clientWidth = area.width;
    r.clientHeight = area.height;
    r.offsetX = area.xOffset;
    r.offsetY = area.yOffset;
    r.grid = placement.grid;
    // Window positions scale with the printable area.
    const double sx = placement.drawSize.width() > 0 ? double(area.width) / placement.drawSize.width() : 1.0;
    const double sy = placement.drawSize.height() > 0 ? double(area.height) / placement.drawSize.height() : 1.0;
    r.originX = area.xOffset + std::round(sx * placement.screen.originX);
    r.originY = area.yOffset + std::round(sy * placement.screen.originY);
    r.textX = area.xOffset + std::round(sx * placement.screen.centreX);
    r.textY = area.yOffset + std::round(sy * placement.screen.centreY);
    r.shadow = placement.shadow;
    DialResult result;
    result.zoomFactor = state.zoomFactor;
    const DialContext context(state);
    if (draw) result = draw(context, r, painter, dialogs);
    else if (const DialConstruction* c = ConstructionFor(state)) result = c->draw(context, r, painter, dialogs);
    if (!draw) DrawRequestedShadow(context, r, painter);
    return result;
}

namespace {

// A page drawn without a window: the gnomon and text block where a fresh window of
// `screenSize` would put them.
PrintPlacement PagePlacement(const DialState& state, QSize screenSize, const ShadowMoment* shadow) {
    PrintPlacement placement;
    placement.screen = DefaultGnomonPlacement(state, screenSize.width(), screenSize.height());
    placement.drawSize = screenSize;
    placement.shadow = shadow;
    return placement;
}

}  // namespace

DialRequest ScreenRequestFor(const PrintPlacement& placement) {
    DialRequest r;
    r.target = DrawTarget::Screen;
    r.clientWidth = placement.drawSize.width();
    r.clientHeight = placement.drawSize.height();
    r.originX = placement.screen.originX;
    r.originY = placement.screen.originY;
    r.textX = placement.screen.centreX;
    r.textY = placement.screen.centreY;
    r.grid = placement.grid;
    r.shadow = placement.shadow;
    return r;
}

DialRequest DefaultScreenRequest(const DialState& state, QSize size, bool grid, const ShadowMoment* shadow) {
    PrintPlacement placement = PagePlacement(state, size, shadow);
    placement.grid = grid;
    DialRequest r = ScreenRequestFor(placement);
    r.wideScreen = true;
    return r;
}

QImage RenderDialImage(const DialState& state, QSize size, UserDialogs& dialogs, bool grid,
                       const ShadowMoment* shadow, DialView view) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CanvasPainter canvas(painter, state.colours, QRectF(0, 0, size.width(), size.height()));
    DrawDialOnScreen(state, DefaultScreenRequest(state, size, grid, shadow), canvas, dialogs, view);
    return image;
}

namespace {

// Saves what `paint` writes into the device; a device that refuses a write fails the save.
template <typename Paint>
bool SaveRendering(const QString& path, SaveError* error, Paint paint) {
    SafeSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly) && paint(file);
    if (ok) {
        ok = file.commit();
    } else {
        if (!file.error().failed() && error) *error = {SaveFault::WriteFailed, 0};
        file.cancel();
    }
    if (error && file.error().failed()) *error = file.error();
    return ok;
}

}  // namespace

bool RenderDialSvg(const DialState& state, QSize screenSize, const QString& path, UserDialogs& dialogs,
                   SaveError* error, const ShadowMoment* shadow, DialView view) {
    return RenderDialSvg(state, PagePlacement(state, screenSize, shadow), path, dialogs, error, view);
}

bool RenderDialSvg(const DialState& state, const PrintPlacement& placement, const QString& path, UserDialogs& dialogs,
                   SaveError* error, DialView view) {
    // The printout's page, A4 landscape in 0.1 mm, drawn wholly (no printer margins).
    const PrintArea area = FitPrintableArea(0, 0, 0, 0);
    SvgPainter svg(state.colours, QRectF(0, 0, kA4LongTenths, kA4ShortTenths), state.legendOffset);
    DrawDialOnPage(svg, area, state, placement, dialogs, view);
    const QByteArray document = svg.document(QStringLiteral("Zorva"));
    return SaveRendering(path, error, [&](QIODevice& device) { return device.write(document) == document.size(); });
}

bool RenderDialPdf(const DialState& state, QSize screenSize, const QString& path, UserDialogs& dialogs,
                   SaveError* error, const ShadowMoment* shadow, DialView view) {
    return SaveRendering(path, error, [&](QIODevice& device) {
        QPdfWriter writer(&device);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
        writer.setCreator(QStringLiteral("Zorva"));
        QPainter painter;
        if (!painter.begin(&writer)) return false;
        MapTenthMillimetres(painter, writer.logicalDpiX(), writer.logicalDpiY());
        DrawDialOnPage(painter, FitPrintableArea(0, 0, 0, 0), state, PagePlacement(state, screenSize, shadow), dialogs, view);
        return painter.end();
    });
}

bool RenderDialPng(const DialState& state, QSize size, const QString& path, UserDialogs& dialogs, SaveError* error,
                   const ShadowMoment* shadow, DialView view) {
    const QImage image = RenderDialImage(state, size, dialogs, false, shadow, view);
    return SaveRendering(path, error, [&](QIODevice& device) { return image.save(&device, "PNG"); });
}

}  // namespace zorva
