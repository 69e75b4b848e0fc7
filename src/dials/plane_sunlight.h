#pragma once
// The sunlit limits of a plane over the year: the earliest and the latest moment at which
// sunlight can touch the plane, and for planes that turn their back to the noon sun the
// end of the morning window and the start of the afternoon window.

#include "text/language.h"

#include <QString>

namespace zorva {

struct DialState;

// Hour angles in degrees (0 at true noon, negative before).
struct PlaneSunlight {
    bool lit = false;            // false: the sun never reaches the plane
    double first = 180.0;        // earliest first light of the year
    double firstDeclination = 0.0;
    double last = -180.0;        // latest last light of the year
    double morningEnd = 0.0;     // E2: latest end of a morning window
    double afternoonStart = 0.0; // S2: earliest start of an afternoon window
    bool split = false;          // two windows a day: "F - E2; S2 - L"
};

// `latitude` of the site; the plane by its inclination to the horizontal (90 = vertical)
// and the azimuth of its normal (east negative).
PlaneSunlight ComputePlaneSunlight(double latitude, double inclination, double wallDeclination);

// The result text: nine blanks + F + " - " + L, or F + " - " + E2 + "; " + S2 + " - " + L.
// Times are true local time, or true zone time when `hourShift` (lambda - zone, degrees) is
// given; each as hours:minutes in six characters.
QString PlaneSunlightText(const PlaneSunlight& limits, double hourShift, Language lang);

// The limits of the state's plane (latitude, planeInclination, wallDeclination) with its
// longitude correction, as the result text.
QString StatePlaneSunlightText(const DialState& s);
// The label under the sun-position diagram: resource 913 + result + "  " + time kind.
QString PlaneSunlightLabel(const DialState& s);
// The printed footer: the sunlit limits and the plane, or only the time kind.
QString PlaneSunlightFooter(const DialState& s);

}  // namespace zorva
