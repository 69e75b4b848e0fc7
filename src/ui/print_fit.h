#pragma once
// Where a printout goes on the page: window pictures and text tables are scaled so that
// nothing is cut at the page's edges.

#include <QRect>
#include <QSize>

namespace zorva {

// The rectangle a grabbed window is printed into: as large as the page allows, with the
// window's proportions, centred across the page and at its top.
QRect FitPictureOnPage(QSize picture, const QRect& page);

// The factor applied to a table's nominal text height so that its widest line fits the
// usable width; 1 when it fits already (tables are never enlarged).
double TableFitScale(double widestLine, double usableWidth);

}  // namespace zorva
