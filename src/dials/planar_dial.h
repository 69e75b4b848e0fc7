#pragma once
// The planar dials ('h', 'v', 'i' and their umbrella variants): one construction that
// traces every element once and draws it through a DialPainter, on the screen, on a
// printer page or (through the plot painter) into the plot stream.

#include "dials/dial_context.h"
#include "dials/dial_geometry.h"
#include "dials/dial_request.h"
#include "dials/live_shadow.h"
#include "state/dial_state.h"

#include <QString>

namespace zorva {

class DialPainter;
class UserDialogs;

// Lines per hour of an interval choice " 60 min" .. " 10 min": the index plus one, but six
// for ten minutes (stored as '4' by the list index and as '6' in settings files).
int LinesPerHour(char intervalDigit);

// Whether an inclined umbrella dial can be built: its disc (radius `circleRatio` times the
// gnomon) must clear the plane, which needs a disc at all and an inclination below 90
// degrees with tan(inclination) < 1 / |ratio|.
enum class UmbrellaProblem { None, NoDisc, PlaneIntoDisc };
UmbrellaProblem CheckInclinedUmbrella(double circleRatio, double planeInclination);

// The number of an hour line: Arabic, or Roman (a clock's hour 0 as XXIV). Arabic for
// `NumeralStyle::None` too: whether numbers are written is the caller's decision.
QString HourNumeral(int hour, NumeralStyle style, bool clockHour);
// A date line's label as a dial shows it: "21.6.", " 7.07." as "7.7.".
QString DateLineNumeral(const QString& label);

// Scales the gnomon for the target and draws the whole dial of `state`.
DialResult DrawPlanarDial(const DialContext& context, const DialRequest& request, DialPainter& painter,
                          UserDialogs& dialogs);

// The shadow of the rod and of the polar style, and the nodus point, for the sun of `moment`
// on the dial as `request` draws it.
CastShadow PlanarShadow(const DialContext& context, const DialRequest& request, const ShadowMoment& moment,
                        DialPainter& measure);

// The white strips, silver inner rectangle and silver outer edge that frame a map-capable
// dial: an area of width a and height h at (ox, oy) with border width b.
void DrawBorderFrame(DialPainter& painter, double ox, double oy, double a, double h, double b);

// The bilingual legend texts (title, position line, orientation line) of a planar dial.
struct PlanarLegend {
    QString title;
    QString position;
    QString orientation;  // empty for a plain horizontal dial
};
PlanarLegend PlanarLegendTexts(const DialState& state);

}  // namespace zorva
