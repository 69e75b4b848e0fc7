#pragma once
// Pieces the analemmatic and the bifilar construction share: the time their hour marks show,
// the sheet they draw on (units of a millimetre, reduction to fit), the orientation arrow and
// the legend block.

#include "dials/altitude_dial_common.h"
#include "dials/dial_construction.h"
#include "dials/dial_context.h"
#include "dials/dial_request.h"
#include "dials/sheet_plot.h"
#include "state/added_dials.h"
#include "text/named_texts.h"

#include <QPointF>
#include <QRectF>
#include <QString>

namespace zorva {

class DialPainter;
class LabelPlacer;

// Hour angle (degrees) of the sun when a clock of reckoning `r` shows `clock` hours, on a day
// with equation of time `eot` (degrees, apparent minus mean).
double ClockHourAngle(const DialContext& c, HourReckoning r, double clock, double eot);
// "8" for a full hour, "8:30" otherwise.
QString ClockLabel(double clock);
TextId ReckoningText(HourReckoning r);

struct AddedDialSheet {
    AltitudeDialArea area;
    double unitsPerMm = 10.0;  // drawing units per millimetre of the sheet (zoom included)
    double textHeight = 30.0;
    QRectF rect() const { return {area.ox, area.oy, area.W - 2, area.H - 2}; }
};
AddedDialSheet SheetOf(const DialContext& c, const DialRequest& r);

// The smallest of 1, 2, 2.5, 5, 10, 20, 25, 50 ... that brings a figure of `width` x
// `height` mm into `room` (mm).
double ReductionToFit(double width, double height, double roomWidth, double roomHeight);
// "1:20", or "1:1" for true scale.
QString ScaleText(double reduction);
// A length in metres (3 decimals) or millimetres (1 decimal), with its unit.
QString LengthText(double mm, bool metres);

// An arrow from `foot` along the unit vector `direction` (drawing coordinates, y down) of
// `length` units, labelled at its tip.
void DrawOrientationArrow(DialPainter& painter, QPointF foot, QPointF direction, double length, const QString& label);

// Lines of text one below the other from a top-left corner.
class LegendBlock {
public:
    LegendBlock(DialPainter& painter, double x, double y) : p_(painter), x_(x), y_(y) {}
    void line(const QString& text, double sizeFactor = 1.0);
    double bottom() const { return y_; }
    double widest() const { return widest_; }

private:
    DialPainter& p_;
    double x_, y_;
    double widest_ = 0.0;
};

// The refusal of a construction in red across the sheet (the message box was shown).
void DrawRefusalText(DialPainter& painter, const AddedDialSheet& sheet, const QString& text);

// Draws a sheet dial by `draw` (true when it drew) unless `refusal` says why not (then the
// message and the refusal's text).
template <class Draw>
DialResult DrawSheetDial(const DialContext& c, const DialRequest& r, DialPainter& p, UserDialogs& d,
                         const QString& refusal, Draw draw) {
    DialResult result;
    result.zoomFactor = c.state.zoomFactor;
    if (!refusal.isEmpty()) {
        d.inform(caption(CaptionKind::Warning, c.language), refusal, Icon::Warning);
        DrawRefusalText(p, SheetOf(c, r), refusal);
        return result;
    }
    result.drawn = draw();
    return result;
}

// The construction of an added dial drawn by `Drawing(context, request, painter)` with run()
// and shadow(moment), refused with the text `Refusal(context)` when that is not empty.
template <class Drawing, QString (*Refusal)(const DialContext&)>
constexpr DialConstruction AddedDialConstruction() {
    DialConstruction construction;
    construction.draw = [](const DialContext& c, const DialRequest& r, DialPainter& p, UserDialogs& d) {
        return DrawSheetDial(c, r, p, d, Refusal(c), [&] {
            Drawing(c, r, p).run();
            return true;
        });
    };
    construction.writePlot = [](const DialContext& c, PlotStream& stream, UserDialogs& dialogs) {
        return WriteSheetPlot(c, stream, dialogs, Refusal(c), PlotEnd::WindowReset,
                              [&](auto& r, auto& painter) { Drawing(c, r, painter).run(); });
    };
    construction.shadow = [](const DialContext& c, const DialRequest& r, const ShadowMoment& moment,
                             DialPainter& measure) -> CastShadow {
        if (!Refusal(c).isEmpty()) return {};
        return Drawing(c, r, measure).shadow(moment);
    };
    return construction;
}

}  // namespace zorva
