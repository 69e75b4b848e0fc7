#pragma once
// Year tables (equation of time, with longitude correction, declination, meridian transit)
// and the month table of rise and set times, built as lists of text lines. The window,
// the printer, the text/CSV export and zorva-cli all read these lists.

#include "state/dial_state.h"

#include <QString>
#include <QStringList>

namespace zorva {

enum class YearTableKind : int {
    EquationOfTime = 0,
    EotWithLongitude = 1,  // EoT plus the correction from the site's meridian to the zone's
    Declination = 2,
    Transit = 3,           // zone time of true noon
};

// The window (and the export, which saves what the window holds) shows one explanatory
// line fewer than the printout of a year table.
enum class TableTarget { Window, Print };

// Longitude correction lambda - zone in degrees (west positive), reduced into [-180, 180]
// so that a site and a zone meridian on either side of the date line are 0..180 apart,
// not 360.
double LongitudeCorrection(double longitude, double zoneMeridian);

// The year table of `kind` for s.referenceYear at the site of `s`, in s.language; empty for
// a year outside kFirstReferenceYear..kLastReferenceYear.
QStringList BuildYearTable(const DialState& s, YearTableKind kind, TableTarget target);

// One cell of the transit table: zone time of true noon, "hh:mm:ss" (8 characters), for
// x = longitude correction - EoT in degrees. The hour is chosen after rounding to the
// second, so no cell ever reads "12:60:00".
QString TransitCell(double xDegrees);

// The month table: 31 rows of days from the first of `month` in `year` (rows beyond the
// month's end continue into the next month), a blank line after every fifth row, then a
// footer of five lines (rule, time zone, twilight kind, signature, rule). Twilight from
// s.twilightKind. Empty for a year outside the reference years or a month outside 1..12.
QStringList BuildMonthTable(const DialState& s, int year, int month);
inline constexpr int kMonthTableFooterLines = 5;

// The lines the window shows in front of the month table: title, time kind and place,
// a blank line and the two column headers.
QStringList MonthTableHeader(const DialState& s);

// The lines the window draws for a month table: its header, the rows, and of the footer
// only the first rule and the twilight line (44 lines in all).
QStringList MonthTableDisplayLines(const DialState& s, const QStringList& monthTable);

// The right-aligned last line of every table.
QString TableSignature(int width);

}  // namespace zorva
