#include "dials/dial_constructions.h"

#include "dials/analemmatic_dial.h"
#include "dials/azimuth_dial.h"
#include "dials/bifilar_dial.h"
#include "dials/biazimuthal_dial.h"
#include "dials/cylinder_dial.h"
#include "dials/dial_render.h"
#include "dials/hat_dial.h"
#include "dials/hidokai_dial.h"
#include "dials/hollander_dial.h"
#include "dials/habermel_dial.h"
#include "dials/polar_cylinder_dial.h"
#include "dials/quadrant_dial.h"
#include "dials/quadrant_family.h"
#include "dials/ring_dial.h"
#include "plot/plot_stream.h"
#include "text/texts.h"

namespace zorva {

const DialConstruction* ConstructionFor(const DialState& s) {
    // The added kinds first: their plane's letter stays in zor.ini.
    static const DialConstruction analemmatic{DrawAnalemmaticDial, WriteAnalemmaticPlot, nullptr, false, false,
                                              AnalemmaticShadow, DrawAnalemmaticLayoutSheet, kLayoutSheetButton};
    if (s.addedKind == AddedKind::Analemmatic) return &analemmatic;
    static const DialConstruction bifilar{DrawBifilarDial, WriteBifilarPlot, nullptr, false, false, BifilarShadow};
    if (s.addedKind == AddedKind::Bifilar) return &bifilar;
    static const DialConstruction planar{DrawPlanarDial, nullptr, nullptr, true, false, PlanarShadow};
    if (IsPlanarDial(s)) return &planar;
    // Cylinder family: the shepherd's dial, the hat dial and the polar-style cylinder.
    static const DialConstruction shepherd{DrawCylinderDial, WriteShepherdsDialPlot, nullptr, false, false,
                                           ShepherdsDialShadow};
    static const DialConstruction hat{DrawCylinderDial, WriteHatDialPlot, nullptr, false, false, HatDialShadow};
    static const DialConstruction polarCylinder{DrawCylinderDial, WritePolarCylinderPlot, nullptr, false, false,
                                                PolarCylinderShadowOnDial};
    if (s.dialType == 'z') return s.cylinderKind == 0 ? &shepherd : s.cylinderKind == 1 ? &hat : &polarCylinder;
    static const DialConstruction ring{DrawRingDial, WriteRingDialPlot, nullptr, false, true, RingDialShadow,
                                       DrawRingCorrectionTable, kCorrectionTableButton};
    if (s.dialType == 'r') return &ring;
    static const DialConstruction hidokai{DrawHidokai, WriteHidokaiPlot, nullptr, false, false, HidokaiShadow};
    if (s.dialType == 'k') return &hidokai;
    static const DialConstruction biazimuthal{DrawBiazimuthalDial, WriteBiazimuthalPlot, nullptr, false, false,
                                              BiazimuthalShadowOnDial};
    if (s.dialType == 'c') return &biazimuthal;
    static const DialConstruction hollander{DrawHollanderDial, WriteHollanderPlot, WriteHollanderConePlot, false, false,
                                            HollanderShadow};
    if (s.dialType == 'm') return &hollander;
    static const DialConstruction azimuthAltitudes{DrawAzimuthDial, WriteAzimuthDialPlot, nullptr, false, false,
                                                   AzimuthDialShadow};
    static const DialConstruction azimuthDates{DrawAzimuthDial, WriteAzimuthDialPlot, nullptr, false, true,
                                               AzimuthDialShadow};
    if (s.dialType == 'a') return s.azimuthKind == 0 ? &azimuthDates : &azimuthAltitudes;
    // Quadrant family: the calendar and zodiac quadrants plot at 40 units per millimetre only,
    // the Gunter quadrant and the Habermel dials also at 25-fold resolution for DXF. Their
    // constructions take the state itself.
    constexpr CanvasConstruction drawQuadrant = [](const DialContext& c, const DialRequest& r, DialPainter& p,
                                                   UserDialogs& d) { return DrawQuadrantDial(c.state, r, p, d); };
    constexpr CanvasConstruction drawHabermel = [](const DialContext& c, const DialRequest& r, DialPainter& p,
                                                   UserDialogs& d) { return DrawHabermelDial(c.state, r, p, d); };
    constexpr PlotConstruction writeQuadrant = [](const DialContext& c, PlotStream& stream, UserDialogs& d) {
        return WriteQuadrantPlot(c, stream, d);
    };
    static const DialConstruction quadrant{drawQuadrant, writeQuadrant, nullptr, false, true, QuadrantDialShadow};
    static const DialConstruction gunter{drawQuadrant, writeQuadrant, nullptr, false, false, QuadrantDialShadow};
    static const DialConstruction habermel{drawHabermel, writeQuadrant, nullptr, false, false, HabermelDialShadow};
    if (s.dialType == 'q') {
        if (s.quadrantKind == 1 || s.quadrantKind == 2) return &habermel;
        return s.quadrantDateScale == 2 ? &gunter : &quadrant;
    }
    return nullptr;
}

CastShadow ShadowOnDial(const DialContext& context, const DialRequest& request, const ShadowMoment& moment,
                        DialPainter* measure) {
    const DialConstruction* c = ConstructionFor(context.state);
    if (!c || !c->shadow) return {};
    MeasuringPainter measuring(measure);
    CastShadow shadow = c->shadow(context, request, moment, measuring);
    // A reading the drawing does not show (a zoomed or partly drawn dial) is said, not left to
    // be looked for.
    if (shadow.status == ShadowStatus::Cast && shadow.nodus && shadow.area.isValid() && !shadow.area.contains(*shadow.nodus))
        shadow.status = ShadowStatus::OffDrawnPart;
    return shadow;
}

double UnitsPerMmOf(const DialRequest& r) {
    if (r.screen()) return ScreenUnitsPerMm(r.clientWidth, r.sheetA3);
    return r.printer() ? kPrinterUnitsPerMm : kPlotUnitsPerMm;
}

void DrawRequestedShadow(const DialContext& context, const DialRequest& request, DialPainter& painter) {
    if (!request.shadow) return;
    DrawCastShadow(painter, ShadowOnDial(context, request, *request.shadow, &painter), UnitsPerMmOf(request));
}

void DrawPlotShadow(const DialContext& context, DialRequest request, DialPainter& painter) {
    request.shadow = PlotShadowScope::current();
    DrawRequestedShadow(context, request, painter);
}

DialRequest PlotSheetRequest() {
    DialRequest r;
    r.target = DrawTarget::Plot;
    r.clientWidth = kSheetWidth - 1;
    r.clientHeight = kSheetHeight - 1;
    return r;
}

bool CanSavePlot(const DialState& s) {
    const DialConstruction* c = ConstructionFor(s);
    return c && (c->planar || c->writePlot);
}

PlotSaveResult SaveDialPlot(const DialState& s, const PlotSaveRequest& request, UserDialogs& dialogs,
                            const ShadowMoment* shadow) {
    const DialConstruction* c = ConstructionFor(s);
    const Language l = s.language;
    if (!c || !c->writePlot) {
        PlotSaveResult refused;
        return refused;
    }
    auto writer = [&](PlotConstruction write) -> PlotWriter {
        return [&s, &dialogs, write, l, shadow](PlotStream& stream) {
            const DialContext context(s);
            const PlotShadowScope moment(shadow);
            // A dial the construction refused leaves no file that looks like a saved dial.
            if (!write(context, stream, dialogs)) throw PlotWriteError(message(69, l));
        };
    };
    PlotSaveRequest save = request;
    if (c->fixedResolution) save.highResolution = false;
    return SavePlot(save, writer(c->writePlot), dialogs, l,
                    c->writeSecondPlot ? writer(c->writeSecondPlot) : PlotWriter{});
}

}  // namespace zorva
