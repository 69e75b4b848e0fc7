#pragma once
// Pieces shared by the altitude dials of the cylinder family (shepherd's dial, Hidokai):
// the target a construction draws on, the sun's altitude for a clock or temporal hour,
// the date axis and the legend texts. The dials read the time by the sun's altitude alone,
// so a morning hour and its afternoon twin fall on one line.

#include "astro/angles.h"
#include "dials/dial_construction.h"
#include "dials/dial_context.h"
#include "dials/label_placer.h"
#include "dials/planar_dial.h"
#include "state/dial_state.h"

#include <QString>

#include "dials/live_shadow.h"
#include "text/recording_dialogs.h"

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zorva {

class DialPainter;
class PlotStream;
class UserDialogs;

// The drawing area of one target: client size (each plus 1, as the frame expects), the
// offsets of the printable area and the units of a millimetre.
struct AltitudeDialArea {
    DrawTarget target = DrawTarget::Screen;
    double W = 0.0, H = 0.0;
    double ox = 0.0, oy = 0.0;
    bool wideScreen = true;
    bool screen() const { return target == DrawTarget::Screen; }
    bool printer() const { return target == DrawTarget::Printer; }
    bool plot() const { return target == DrawTarget::Plot; }
    // A length given in printer units (0.1 mm) or screen pixels, for this target; the plot
    // has four times the printer's units.
    double size(double screenPixels, double printerUnits) const {
        return screen() ? screenPixels : plot() ? 4.0 * printerUnits : printerUnits;
    }
};
AltitudeDialArea AreaOfRequest(const DialRequest& request);
// Where a plate drawn at a scale stands: drawing units per millimetre (the screen's with the
// zoom) and the origin — the window's on screen and paper, `plotOrigin` on the plot sheet.
struct PlateFrame {
    double unitsPerMm = 1.0;
    double x0 = 0.0, y0 = 0.0;
};
PlateFrame PlateFrameOf(const AltitudeDialArea& area, const DialRequest& request, double zoomFactor,
                        QPointF plotOrigin);
// The plot sheet as the area of a plot construction.
AltitudeDialArea PlotSheetArea();

// The date axis: 21 June .. 21 December, or the whole year.
struct DateAxis {
    int first = 172;
    int last = 355;
    int days() const { return last - first; }
};
DateAxis DateAxisOf(int year, bool wholeYear);
// Sample days of the hour lines: every third day from the first, the last step cut.
std::vector<int> SampleDays(const DateAxis& axis);

// A merged (half-year) axis serves the rising half year too, read backward: the 1st, 11th
// and 21st of January to June (the 1st only with `firstsOnly`) at the axis position of
// equal noon declination, in days from the axis' first day.
struct RisingHalfMark {
    int month = 1;
    int day = 1;
    double offsetDays = 0.0;
};
std::vector<RisingHalfMark> RisingHalfMarks(int year, const DateAxis& axis, bool firstsOnly);
// Where a day of the year stands on the axis, in days from its first day: its own place, or
// on a merged axis the place of equal noon declination; nullopt when the axis has none.
std::optional<double> AxisOffsetOfDay(int year, const DateAxis& axis, int day);

// One hour line of an altitude dial: its value, colour role and label.
enum class HourKind { Clock, Temporal, Babylonian, Italian };

// Clock-hour settings shared by the altitude dials.
struct ClockHours {
    bool local = true;   // site's own true time (else true time of the zone meridian)
    bool eot = false;    // constructed with the equation of time (mean time)
    int first = 8, last = 16;
    int perHour = 1;
    bool reduced = false;  // the range spanned noon and was cut to one half
    int originalFirst = 8, originalLast = 16;
};
// Calls `line(hour, wholeHour, isWholeHour)` for every line of an hour range (`first`, `last`,
// `perHour`): the whole hours and their subdivisions, up to the last whole hour.
template <class Hours, class Line>
void ForEachHourLine(const Hours& h, Line line) {
    for (int n = h.first; n <= h.last; ++n)
        for (int j = 0; j < h.perHour; ++j) {
            const double t = n + static_cast<double>(j) / h.perHour;
            if (t > h.last) break;
            line(t, n, j == 0);
        }
}

// The clock-hour options of the state, with the range spanning noon cut to its longer half
// when the two halves coincide (local true time without the equation of time).
ClockHours ClockHoursOf(const DialContext& context);
// The same for a dial reading the site's own time (`local`) or the zone's, with or without
// the equation of time, `perHour` lines an hour.
ClockHours ClockHoursOf(const DialState& s, bool local, bool eot, int perHour);
// Clips `painter` to the drawing area and gives the area's label placer: lines may run past
// the area (zoomed in); a line is labelled where it is on the area.
LabelPlacer ClipToArea(DialPainter& painter, const AltitudeDialArea& a);
// The zodiac date lines (1 the winter solstice .. 7 the summer solstice) the state asks for:
// all seven, or only the solstices and the equinox.
std::vector<int> ZodiacDateLines(const DialState& s);

// The sun's altitude (degrees) for the hour lines of one drawing, from the drawing's
// interpolated ephemeris; the rise and set of each day are computed once.
class AltitudeSun {
public:
    explicit AltitudeSun(const DialContext& c);
    // With a context of its own, for a construction that has none.
    explicit AltitudeSun(const DialState& s);
    // At clock hour `hour` of the clock's time reference, as SunPosition has it.
    double clock(const ClockHours& clock, int day, double hour);
    // Temporal hour N (0 at sunrise, 6 at noon, 12 at sunset) of the day: the half day arc
    // of the noon declination divided into six equal hours.
    double temporal(int day, double temporalHour);
    // Rise and set in hours of the clock's time reference, as the Babylonian and Italian
    // hours count them; false when the sun does not both rise and set that day.
    bool riseAndSet(const ClockHours& clock, int day, double& rise, double& set);

private:
    struct Day {
        bool riseSet[2] = {false, false};  // per meridian: zone meridian, site longitude
        double rise[2] = {0, 0}, set[2] = {0, 0};
    };
    Day& day(int d);
    double altitude(double hourAngle, double declination) const;
    std::unique_ptr<const DialContext> owned_;
    const DialContext& c_;
    double sinPhi_, cosPhi_;
    std::vector<Day> days_ = std::vector<Day>(400);
    Day spare_;
};

double TemporalHourAltitude(const DialState& s, int day, double temporalHour);

// The label of a full hour; with a reduced range also the afternoon twin ("9/15").
QString HourLabel(int hour, const ClockHours& clock);
// The twin of a temporal hour ("2/10"), when both lie in the range.
QString TemporalLabel(int hour, int first, int last);

// "Jan" .. "Dez", the dial's month names in either language.
QString DialMonth(int month);
// The months in which the sun enters sign `index` (1 winter solstice .. 7 summer solstice,
// the layout of the zodiac declinations): "Jun", "Mai/Jul" ... "Dez", named as DialMonthLabel does.
QString SignEntryMonths(int index, Language lang, const DialPainter& painter);

// "Temporalstunden sind in dieser geogr. Breite nicht möglich!" and its second line.
QString PolarTemporalLine1(const DialState& s);
QString PolarTemporalLine2(const DialState& s);
// Temporal hours outside 0..12: the error box.
void ReportTemporalRange(const DialState& s, UserDialogs& dialogs);

// Band clipping of a curve whose samples lie at rows top + y: joins consecutive samples and
// cuts each segment to 0 <= y <= depth by linear interpolation in x.
class BandCurve {
public:
    // Strokes drawn are handed to `keepClear`, when given, for the labels to stay off.
    BandCurve(DialPainter& painter, double top, double depth, LabelPlacer* keepClear = nullptr)
        : p_(painter), top_(top), depth_(depth), keepClear_(keepClear) {}
    void add(double x, double y);
    void interrupt() { has_ = false; }

private:
    DialPainter& p_;
    double top_, depth_;
    LabelPlacer* keepClear_;
    bool has_ = false;
    double px_ = 0, py_ = 0;
};


// The gnomon to scale as a purple bracket at the bottom left with its length in mm, so that a
// printout can be checked with a rule. `length` in drawing units, `textRole` the legend role.
void DrawGnomonBracket(DialPainter& painter, const DialState& s, const AltitudeDialArea& a, double length,
                       double gnomonMm, int textRole);

// How far below the scale's top the noon shadow of the highest sun of the year reaches (with
// 5 % to spare), for a gnomon of L drawing units; 100000 when the sun can stand in the zenith.
double HighestSunShadow(double L, double latitude);

// What stands in place of a polar dial with temporal hours: the two lines of the refusal in
// `font`, starting at W / firstColumn and W / secondColumn, and the dial's title above them.
void DrawPolarRefusal(DialPainter& painter, const DialState& s, const AltitudeDialArea& a, const QString& font,
                      int firstColumn, int secondColumn, TextId title, int textRole);

// The legend of the cylinder dials at the bottom of the sheet: the family title and the
// dial's own line (title-table entries), the site and the hour lines drawn.
struct CylinderLegend {
    double titleHeight = 16;  // font height of the two title lines
    int subtitle = 14;        // title-table entry of the second line
    double subtitleRow = 1.2; // its baseline row, text heights above the bottom
    bool clockDrawn = false;
    bool local = true;        // the site's own time (else the zone meridian's)
    bool eot = false;
    bool temporalDrawn = false;
};
void DrawCylinderLegend(DialPainter& painter, const DialState& s, const AltitudeDialArea& a,
                        const CylinderLegend& legend, int textRole);

// A dial the state does not allow: the warning box, and the reason in red across the drawing
// area in place of the dial (its lines joined into one). False when `refusal` is empty.
bool ShowRefusal(const QString& refusal, DialPainter& painter, const AltitudeDialArea& a, Language lang,
                 UserDialogs& dialogs, int textRole);

// Temporal hours cannot be drawn where the sun may not rise or set (beyond 65 degrees).
bool RefusedForTemporalHours(const DialState& s);
// Refuses the plot of a polar dial with temporal hours (with its warning).
bool RefusePolarTemporalPlot(const DialState& s, UserDialogs& dialogs);

// What every altitude dial construction works with: the drawing's context and state, its
// area and painter, the clock hours and the sun of its lines, and the placement of its labels.
class AltitudeDialParts {
public:
    AltitudeDialParts(const DialContext& c, const AltitudeDialArea& area, DialPainter& p, UserDialogs& d)
        : c_(c), s_(c.state), a_(area), p_(p), d_(d), clock_(ClockHoursOf(c)), sun_(c) {}
    virtual ~AltitudeDialParts() = default;
    // Lays the dial out and draws it; false when the latitude refuses temporal hours (the
    // refusal stands in place of the dial).
    bool run() {
        setUp();
        if (RefusedForTemporalHours(s_)) {
            drawRefusal();
            return false;
        }
        draw();
        return true;
    }
    // The gnomon (the Hidokai's nodus height) as drawn, millimetres.
    double gnomonMm() const { return b_; }

protected:
    virtual void setUp() = 0;
    virtual void drawRefusal() = 0;
    virtual void draw() = 0;


    const DialContext& c_;
    const DialState& s_;
    AltitudeDialArea a_;
    DialPainter& p_;
    UserDialogs& d_;
    ClockHours clock_;
    AltitudeSun sun_;
    LabelPlacer labels_{QRectF()};
    double b_ = 0;  // the gnomon, mm
    DateAxis axis_;

    // How far below the gnomon's foot its tip's shadow falls on a cylinder's wall for a
    // gnomon of `gnomon` drawing units: gnomon tan(altitude), a far-off value at 90 degrees.
    static double ShadowDownTheWall(double gnomon, double altitude) {
        const double c = CosDeg(altitude);
        return std::abs(c) <= 1e-5 ? 100000.0 : gnomon * SinDeg(altitude) / c;
    }
    // The start of the shadow, once the dial is laid out: the sun of `moment` over the sheet
    // (status OffDial or SunDown); not available when the dial refuses temporal hours.
    CastShadow sunOverSheet(const ShadowMoment& moment) const {
        if (RefusedForTemporalHours(s_)) return {};
        return SunlitShadow(c_, moment, QRectF(a_.ox, a_.oy, a_.W - 2, a_.H - 2));
    }
    // The temporal hours the state asks for on the cylinder dials: first..last, lines per
    // hour; a range outside 0..12 is reported and clamped.
    struct HourRange {
        int first, last, perHour;
    };
    HourRange temporalHourRange() const {
        if (s_.temporalFrom < 0 || s_.temporalFrom > 12 || s_.temporalTo < 0 || s_.temporalTo > 12)
            ReportTemporalRange(s_, d_);
        return {std::clamp(s_.temporalFrom, 0, 12), std::clamp(s_.temporalTo, 0, 12),
                std::clamp(s_.temporalInterval + 1, 1, 4)};
    }
    // The legend's title size of the cylinder dials.
    double legendFontHeight() const { return a_.screen() ? (a_.wideScreen ? 23 : 16) : a_.size(16, 40); }
    // The cylinder dials' legend of what was drawn, the clock as the state reckons it.
    CylinderLegend legendOf(bool clockDrawn, bool temporalDrawn) const {
        CylinderLegend legend;
        legend.titleHeight = legendFontHeight();
        legend.clockDrawn = clockDrawn;
        legend.local = clock_.local;
        legend.eot = clock_.eot;
        legend.temporalDrawn = temporalDrawn;
        return legend;
    }
};

// The canvas entry of an altitude dial construction `Dial(state, area, painter, dialogs)`.
template <class Dial>
DialResult DrawAltitudeDial(const DialContext& context, const DialRequest& request, DialPainter& painter,
                            UserDialogs& dialogs) {
    Dial dial(context, AreaOfRequest(request), painter, dialogs);
    DialResult result;
    result.zoomFactor = context.state.zoomFactor;
    result.drawn = dial.run();
    result.gnomonMm = dial.gnomonMm();
    return result;
}

// The shadow over an altitude dial `Dial` with `CastShadow castShadow(const ShadowMoment&)`,
// laid out as its drawing for `request` is.
template <class Dial>
CastShadow AltitudeDialShadow(const DialContext& context, const DialRequest& request, const ShadowMoment& moment,
                              DialPainter& measure) {
    RecordingDialogs quiet;
    return Dial(context, AreaOfRequest(request), measure, quiet).castShadow(moment);
}

// The plot twin of an altitude dial: refuses a polar dial with temporal hours, else writes
// the short head, the construction through a plot painter on the sheet and the end.
template <class Dial>
bool WriteAltitudeDialPlot(const DialContext& context, PlotStream& stream, UserDialogs& dialogs);
void WriteAltitudeDialPlot(const DialContext& context, PlotStream& stream,
                           const std::function<void(DialPainter&)>& construct);
template <class Dial>
bool WriteAltitudeDialPlot(const DialContext& context, PlotStream& stream, UserDialogs& dialogs) {
    if (RefusePolarTemporalPlot(context.state, dialogs)) return false;
    WriteAltitudeDialPlot(context, stream, [&](DialPainter& painter) {
        Dial(context, PlotSheetArea(), painter, dialogs).run();
        DrawPlotShadow(context, PlotSheetRequest(), painter);
    });
    return true;
}

// The construction of an altitude dial `Dial`: canvas, plot and shadow from the one class.
template <class Dial>
constexpr DialConstruction AltitudeDialConstruction() {
    DialConstruction construction;
    construction.draw = DrawAltitudeDial<Dial>;
    construction.writePlot = WriteAltitudeDialPlot<Dial>;
    construction.shadow = AltitudeDialShadow<Dial>;
    return construction;
}

}  // namespace zorva
