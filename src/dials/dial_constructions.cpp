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
#include "dials/ring_dial.h"
#include "plot/plot_stream.h"
#include "text/texts.h"

namespace zorva {

const DialConstruction* ConstructionFor(const DialState& s) {
    // The added kinds first: their plane's letter stays in zor.ini.
    if (s.addedKind == AddedKind::Analemmatic) return &kAnalemmaticDial;
    if (s.addedKind == AddedKind::Bifilar) return &kBifilarDial;
    static constexpr DialConstruction planar{.draw = DrawPlanarDial, .planar = true, .shadow = PlanarShadow};
    if (IsPlanarDial(s)) return &planar;
    switch (s.dialType) {
    case 'z': return s.cylinderKind == 0 ? &kShepherdsDial : s.cylinderKind == 1 ? &kHatDial : &kPolarCylinderDial;
    case 'r': return &kRingDial;
    case 'k': return &kHidokai;
    case 'c': return &kBiazimuthalDial;
    case 'm': return &kHollanderDial;
    case 'a': return s.azimuthKind == 0 ? &kAzimuthDatesDial : &kAzimuthAltitudesDial;
    case 'q':
        if (s.quadrantKind == 1 || s.quadrantKind == 2) return &kHabermelDial;
        return s.quadrantDateScale == 2 ? &kGunterQuadrant : &kQuadrantDial;
    default: return nullptr;
    }
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

DialRequest PlotRequest(double width, double height) {
    DialRequest r;
    r.target = DrawTarget::Plot;
    r.clientWidth = width;
    r.clientHeight = height;
    return r;
}

DialRequest PlotSheetRequest() { return PlotRequest(kSheetWidth - 1, kSheetHeight - 1); }

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
