#pragma once
// Pieces shared by the altitude dials of the cylinder family (shepherd's dial, Hidokai):
// the target a construction draws on, the sun's altitude for a clock or temporal hour,
// the date axis and the legend texts. The dials read the time by the sun's altitude alone,
// so a morning hour and its afternoon twin fall on one line.

#include "dials/planar_dial.h"
#include "state/dial_state.h"

#include <QString>

#include <functional>
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
AltitudeDialArea AreaOfRequest(const PlanarDialRequest& request);
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
// The clock-hour options of the state, with the range spanning noon cut to its longer half
// when the two halves coincide (local true time without the equation of time).
ClockHours ClockHoursOf(const DialState& s);

// The sun's altitude (degrees) for the hour lines of one drawing. The lines ask for
// thousands of instants on a few hundred days, so declination and EoT come from three
// ephemeris evaluations per day, interpolated (within 1e-5 degrees of the direct value),
// and the noon declination and the rise and set of each day are computed once.
class AltitudeSun {
public:
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
        bool ephemeris = false;
        double decl[3] = {0, 0, 0}, eot[3] = {0, 0, 0};  // at d - 0.5, d, d + 0.5
        bool noon = false;
        double noonDeclination = 0;
        bool riseSet[2] = {false, false};  // per meridian: zone meridian, site longitude
        double rise[2] = {0, 0}, set[2] = {0, 0};
    };
    Day& day(int d);
    double altitude(double hourAngle, double declination) const;
    const DialState& s_;
    double sinPhi_, cosPhi_;
    std::vector<Day> days_ = std::vector<Day>(400);
    Day spare_;
};

double TemporalHourAltitude(const DialState& s, int day, double temporalHour);

// The label of a full hour; with a reduced range also the afternoon twin ("9/15").
QString HourLabel(int hour, const ClockHours& clock);
// The twin of a temporal hour ("2/10"), when both lie in the range.
QString TemporalLabel(int hour, int first, int last);

QString Tr(const DialState& s, const char* german, const char* english);
// "Jan" .. "Dez", the dial's month names in either language.
QString DialMonth(int month);

// "Temporalstunden sind in dieser geogr. Breite nicht möglich!" and its second line.
QString PolarTemporalLine1(const DialState& s);
QString PolarTemporalLine2(const DialState& s);
// Temporal hours outside 0..12: the error box.
void ReportTemporalRange(const DialState& s, UserDialogs& dialogs);
// Babylonian and Italian hours above 65 degrees of latitude: the problem box.
void ReportBabylonianItalianLatitude(const DialState& s, UserDialogs& dialogs);

// Band clipping of a curve whose samples lie at rows top + y: joins consecutive samples and
// cuts each segment to 0 <= y <= depth by linear interpolation in x.
class BandCurve {
public:
    BandCurve(DialPainter& painter, double top, double depth) : p_(painter), top_(top), depth_(depth) {}
    void add(double x, double y);
    void interrupt() { has_ = false; }

private:
    DialPainter& p_;
    double top_, depth_;
    bool has_ = false;
    double px_ = 0, py_ = 0;
};


// The gnomon to scale as a purple bracket at the bottom left with its length in mm, so that a
// printout can be checked with a rule. `length` in drawing units, `textRole` the legend role.
void DrawGnomonBracket(DialPainter& painter, const DialState& s, const AltitudeDialArea& a, double length,
                       double gnomonMm, int textRole);

// Temporal hours cannot be drawn where the sun may not rise or set (beyond 65 degrees).
bool RefusedForTemporalHours(const DialState& s);
// Refuses the plot of a polar dial with temporal hours (with its warning).
bool RefusePolarTemporalPlot(const DialState& s, UserDialogs& dialogs);

// The canvas entry of an altitude dial construction `Dial(state, area, painter, dialogs)`.
template <class Dial>
PlanarDialResult DrawAltitudeDial(const DialState& state, const PlanarDialRequest& request, DialPainter& painter,
                                  UserDialogs& dialogs) {
    Dial dial(state, AreaOfRequest(request), painter, dialogs);
    PlanarDialResult result;
    result.zoomFactor = state.zoomFactor;
    result.drawn = dial.run();
    result.gnomonMm = dial.gnomonMm();
    return result;
}

// Writes the short head, the construction through a plot painter on the sheet and the end.
void WriteAltitudeDialPlot(const DialState& state, PlotStream& stream,
                           const std::function<void(DialPainter&)>& construct);

}  // namespace zorva
