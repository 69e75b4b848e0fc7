#pragma once
// What each of the twelve pen colours draws, per dial family: the legend of the colour
// palette. Rows 1..12 belong to the planar and umbrella dials, 13..24 to the quadrant, and
// so on in steps of twelve (the family's legendOffset + 1 .. + 12).

#include "text/language.h"

#include <QString>

namespace zorva {

inline constexpr int kLegendRowsPerFamily = 12;

struct ColourLegendRow {
    QString colour;  // " 1", "10", " 6, 7", ... (empty for notes and blank rows)
    QString role;    // "= Deklinationslinien", ...
};

// The heading of the legend: "Farben fuer " / "Colors for ".
QString ColourLegendHeading(Language lang);
// Row `legendOffset + index` (index 1..12); out-of-table rows are blank.
ColourLegendRow ColourLegendRowAt(int legendOffset, int index, Language lang);

}  // namespace zorva
