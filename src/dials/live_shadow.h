#pragma once
// The sun's shadow on a drawn dial at one moment: where the gnomon's shadow and the nodus
// point fall, in the drawing's own units. Each family projects its gnomon through the same
// geometry its lines are traced with, so a reading on the drawn lines is the time shown.

#include "dials/dial_context.h"
#include "dials/dial_painter.h"
#include "dials/dial_request.h"
#include "text/language.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace zorva {

// A moment at the site: a date and the standard time of the state's zone meridian.
struct ShadowMoment {
    int year = 2000;
    int month = 1;
    int day = 1;
    double zoneHour = 12.0;  // 0 <= zoneHour < 24
    int dayOfYear() const;
};
// "YYYY-MM-DD hh:mm" (a blank or a 'T' between date and time); nullopt for anything else,
// a date that does not exist or a time outside 00:00..23:59.
std::optional<ShadowMoment> ParseShadowMoment(const QString& text);
QString ShadowMomentText(const ShadowMoment& moment);

// The sun at the site for a moment, from the drawing's own ephemeris: hour angle (west
// positive), declination, equation of time, altitude and azimuth (from south, west positive),
// degrees.
struct SiteSun {
    double hourAngle = 0.0;
    double declination = 0.0;
    double eot = 0.0;
    double altitude = 0.0;
    double azimuth = 0.0;
};
SiteSun SunAtMoment(const DialContext& context, const ShadowMoment& moment);

enum class ShadowStatus {
    Cast,          // the shadow falls on the dial
    SunDown,       // the sun is below the horizon
    PlaneNotLit,   // the sun is up but behind the dial's plane
    OffDial,       // the sun shines on the dial, but the reading lies beyond what it shows
    OffDrawnPart,  // the reading falls on the dial, but outside the part the drawing shows
    NotAvailable,  // the dial kind has no projection of its gnomon
};

// What the user of the instrument sees at the moment: a shadow with its tip or nodus, a light
// spot, a plumb line, a gnomon standing on the day's date (analemmatic), or the shadows of
// two threads crossing (bifilar).
enum class ShadowMark { Shadow, LightSpot, PlumbLine, GnomonOnDate, ThreadShadows };

struct CastShadow {
    ShadowStatus status = ShadowStatus::NotAvailable;
    ShadowMark mark = ShadowMark::Shadow;
    // Strokes of the gnomon's shadow and the nodus point (or light spot), drawing units.
    std::vector<std::vector<QPointF>> gnomon;
    std::optional<QPointF> nodus;
    QRectF area;  // the drawing area the shadow is cut to
    SiteSun sun;
};

// Draws nothing but measures text as `target` does (the screen's fonts without one): a
// construction whose layout follows the size of its texts finds the same places for its
// shadow as for its lines.
class MeasuringPainter final : public DialPainter {
public:
    explicit MeasuringPainter(DialPainter* target = nullptr);
    ~MeasuringPainter() override;
    void setPenRole(int) override {}
    void setPenColour(Rgb, int) override {}
    void setPenWidth(int) override {}
    void setLineStyle(LineStyle) override {}
    void moveTo(double, double) override {}
    void lineTo(double, double) override {}
    void circle(double, double, double, FillStyle, Rgb) override {}
    void arc(double, double, double, double, double) override {}
    void rectangle(double, double, double, double) override {}
    void fillRect(double, double, double, double, Rgb) override {}
    void polygon(const std::vector<QPointF>&, FillStyle, Rgb) override {}
    void setFont(const QString& family, double height, bool bold) override { target_->setFont(family, height, bold); }
    void setTextRole(int) override {}
    void setTextColour(Rgb, int) override {}
    double textHeight() const override { return target_->textHeight(); }
    double textWidth(const QString& text) const override { return target_->textWidth(text); }
    void text(double, double, const QString&, TextAnchor, double) override {}
    void setWindow(double, double, double, double) override {}
    void resetWindow() override {}

private:
    struct Screen;
    std::unique_ptr<Screen> screen_;
    DialPainter* target_;
};

// One family's projection of its gnomon and nodus for the sun of `moment`, in the geometry
// the family draws `request` with; `measure` sizes the texts the layout depends on.
using ShadowProjection = CastShadow (*)(const DialContext& context, const DialRequest& request,
                                        const ShadowMoment& moment, DialPainter& measure);

// The start of every family's shadow: the sun of the moment and the area it is cut to; the
// status says the sun is down, or (until the family finds its shadow) that it misses the dial.
CastShadow SunlitShadow(const DialContext& context, const ShadowMoment& moment, const QRectF& area);

// "Schatten jetzt" / "Shadow now" and the status line of a moment's shadow.
QString ShadowToggleText(Language lang);
QString ShadowStatusText(const CastShadow& shadow, const ShadowMoment& moment, Language lang);

// The moment whose shadow the plot writers draw over the dial while one save is under way: the
// writers keep the signature every family shares, the moment travels beside them.
class PlotShadowScope {
public:
    explicit PlotShadowScope(const ShadowMoment* moment);
    ~PlotShadowScope();
    PlotShadowScope(const PlotShadowScope&) = delete;
    PlotShadowScope& operator=(const PlotShadowScope&) = delete;
    // The moment of the save under way on this thread; null outside one.
    static const ShadowMoment* current();

private:
    const ShadowMoment* previous_;
};

// Draws the shadow of the save under way, if it asks for one, over a plot drawn for `request`.
void DrawPlotShadow(const DialContext& context, DialRequest request, DialPainter& painter);
// A plot request for a drawing area of `width` x `height` plot units at the sheet's corner.
DialRequest PlotRequest(double width, double height);
// The plot sheet as the request of a construction that takes the whole sheet.
DialRequest PlotSheetRequest();

// True when some of the shadow is to be drawn.
inline bool ShadowToDraw(const CastShadow& shadow) {
    return shadow.status == ShadowStatus::Cast || shadow.status == ShadowStatus::OffDrawnPart;
}

// Draws the shadow over a finished drawing: dark strokes, the nodus as a ring round a dot
// (cut to the area: of a reading outside the drawn part, what reaches into it).
// `unitsPerMm` sizes strokes and the dot alike on screen, page and plot.
void DrawCastShadow(DialPainter& painter, const CastShadow& shadow, double unitsPerMm);

}  // namespace zorva
