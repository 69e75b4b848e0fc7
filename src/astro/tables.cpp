#include "astro/tables.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/rise_set.h"
#include "astro/solar_ephemeris.h"
#include "astro/terrain_rise_set.h"
#include "astro/time_format.h"
#include "astro/vector_state.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <cmath>

namespace zorva {
namespace {

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

const QString kYearHeader = QStringLiteral(
    "      Jan    Feb    Mar    Apr    Mai    Jun    Jul    Aug    Sep    Okt    Nov    Dez ");
const QString kTransitHeader = QStringLiteral(
    "      Jan      Feb      Mar      Apr      Mai      Jun      Jul      Aug      Sep      Okt"
    "      Nov      Dez ");
constexpr int kMonthRuleWidth = 68;
constexpr int kTerrainNote = 991;

// Day of year by the Julian day numbers, so that 1582 counts the days that really passed.
double DayNumberInYear(int year, int month, int day) {
    return JulianDayNumber(day, month, year) - JulianDayNumber(0, 1, year);
}

// Declination and EoT at 12:00 zone time of a calendar day.
DeclinationEoT NoonValues(int year, int month, int day, double zoneMeridian) {
    return SolarDeclinationEoT(year, DayNumberInYear(year, month, day) + zoneMeridian / 360.0);
}

// Declination in hundredths, rounded through the thousandths like the year table always did.
QString DeclinationCell(double declination) {
    const double thousandths = std::nearbyint(declination * 1000.0) / 1000.0;
    return RealToText(6, 2, thousandths).rightJustified(6, QLatin1Char(' '));
}

QString YearCell(YearTableKind kind, const DeclinationEoT& v, double correction) {
    switch (kind) {
    case YearTableKind::Declination:
        return DeclinationCell(v.declination);
    case YearTableKind::Transit:
        return TransitCell(correction - v.eot);
    case YearTableKind::EquationOfTime:
    case YearTableKind::EotWithLongitude:
        break;
    }
    return FormatMinSec(v.eot - correction);
}

// The zone's offset from UT in hours as the footer writes it: whole hours as before
// ("   1"), zones on half or quarter hours with their fraction (" 5.5", "5.75").
QString ZoneOffsetText(double hours) {
    const double a = std::abs(hours);
    if (std::abs(a - std::round(a)) < 1e-9) return IntToTextWidth(static_cast<long long>(std::round(a)), 4);
    if (std::abs(a * 10.0 - std::round(a * 10.0)) < 1e-9) return RealToText(4, 1, a);
    return RealToText(4, 2, a);
}

}  // namespace

double LongitudeCorrection(double longitude, double zoneMeridian) {
    return NormalizeAngle180(longitude - zoneMeridian);
}

QString TableSignature(int width) {
    // Short enough to stay inside the last column when a spreadsheet file cuts it like a row.
    return QStringLiteral("Zorva ").rightJustified(width, QLatin1Char(' '));
}

QString TransitCell(double x) {
    // Zone time of true noon, 12 h + x / 15 h, rounded half away from zero to the second
    // like the minute:second texts; then wrapped into one day.
    const double seconds = 43200.0 + x * 240.0;
    long long s = static_cast<long long>(seconds >= 0 ? std::floor(seconds + 0.5) : std::ceil(seconds - 0.5));
    s = ((s % 86400) + 86400) % 86400;
    const auto two = [](long long v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(s / 3600) + QLatin1Char(':') + two(s / 60 % 60) + QLatin1Char(':') + two(s % 60);
}

QStringList BuildYearTable(const DialState& s, YearTableKind kind, TableTarget target) {
    // No table rather than one extrapolated far beyond the ephemeris.
    if (!ReferenceYearInRange(s.referenceYear)) return {};
    ClearUpperVectorState();
    const Language lang = s.language;
    const int year = s.referenceYear;
    const QString yearText = QString::number(year);
    const bool transit = kind == YearTableKind::Transit;
    const bool withCorrection = kind == YearTableKind::EotWithLongitude || transit;
    const double c = withCorrection ? LongitudeCorrection(s.longitude, s.zoneMeridian) : 0.0;

    QStringList lines;
    switch (kind) {
    case YearTableKind::Transit: lines << blanks(13) + label(209, lang); break;
    case YearTableKind::Declination: lines << blanks(8) + label(78, lang) + RealToText(4, 0, year); break;
    case YearTableKind::EotWithLongitude: lines << blanks(9) + label(117, lang) + yearText; break;
    case YearTableKind::EquationOfTime: lines << blanks(13) + label(77, lang) + yearText; break;
    }
    lines << QStringLiteral(" ") << QStringLiteral(" ");
    switch (kind) {
    case YearTableKind::Declination: lines << blanks(10) + label(80, lang); break;
    case YearTableKind::EotWithLongitude: lines << blanks(12) + label(118, lang); break;
    case YearTableKind::EquationOfTime: lines << blanks(13) + label(81, lang); break;
    case YearTableKind::Transit: break;
    }
    if (transit)
        lines << blanks(13) + label(210, lang) + yearText;
    else
        lines << blanks(10) + label(79, lang);
    if (withCorrection) {
        lines << blanks(transit ? 12 : 2) + label(38, lang) + RealToText(7, 2, s.longitude) +
                     QStringLiteral("° = ") + FormatMinSec(c) + QStringLiteral(" min:sec, ") + label(82, lang) +
                     RealToText(6, 1, s.zoneMeridian) + QStringLiteral("°)");
    } else {
        lines << blanks(28) + label(82, lang) + RealToText(6, 1, s.zoneMeridian) + QLatin1Char(')');
    }
    lines << QStringLiteral(" ");
    const QString& header = transit ? kTransitHeader : kYearHeader;
    lines << header;

    // Values for the whole year first: one ephemeris call per existing date.
    const QString emptyCell = blanks(transit ? 8 : 6);
    QString cells[31][12];
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= 31; ++d) {
            cells[d - 1][m - 1] = DateExists(year, m, d)
                                      ? YearCell(kind, NoonValues(year, m, d, s.zoneMeridian), c)
                                      : emptyCell;
        }
    }
    for (int d = 1; d <= 31; ++d) {
        if (d % 5 == 1) lines << QStringLiteral(" ");
        QString row = RealToText(2, 0, d) + QStringLiteral(". ");
        for (int m = 0; m < 12; ++m) {
            if (m > 0) row += QLatin1Char(' ');
            row += cells[d - 1][m];
        }
        lines << row;
    }
    lines << TableSignature(header.size());

    if (target == TableTarget::Window) {
        if (kind == YearTableKind::EotWithLongitude) lines.removeAt(4);  // the validity line
        else if (!transit) lines.removeAt(5);                            // the meridian line
    }
    return lines;
}

QStringList MonthTableHeader(const DialState& s) {
    const Language lang = s.language;
    return {QStringLiteral("  ") + label(83, lang),
            QStringLiteral("  ") + label(124, lang) + label(75, lang) + label(84, lang) + QLatin1Char('(') +
                RealToText(7, 2, s.longitude) + QStringLiteral(" /") + RealToText(6, 2, s.latitude) +
                QLatin1Char(')'),
            QStringLiteral(" "),
            label(72, lang),
            label(73, lang)};
}

QStringList BuildMonthTable(const DialState& s, int year, int month) {
    if (!ReferenceYearInRange(year) || month < 1 || month > 12) return {};
    ClearUpperVectorState();
    const Language lang = s.language;
    const double zone = s.zoneMeridian;
    const double firstDay = ModifiedJulianDate(1, month, year, 0.0);

    QStringList lines;
    for (int k = 0; k < 31; ++k) {
        // Whole days from the first: the date of each row is that of its 0:00 zone time.
        const CalendarInstant date = CalendarFromMJD(firstDay + k);
        QString row = IntToTextWidth(date.day, 3) + QLatin1Char('.') + IntToTextWidth(date.month, 2) +
                      QLatin1Char('.') + IntToTextWidth(date.year, 4) + QLatin1Char(' ');
        row += RiseSetTableColumns(RiseSetForDayOverTerrain(RiseSetTerrain(s), date.year, date.month, date.day,
                                                            s.latitude, s.longitude, zone, s.twilightKind),
                                   lang);
        const DeclinationEoT v = NoonValues(date.year, date.month, date.day, zone);
        // Rounded like the year table's declination, so both tables agree on every day; adding
        // 0.005 before the rounding of the text would shift half of all values up by 0.01.
        row += FormatMinSec(v.eot) + QLatin1Char(' ') + DeclinationCell(v.declination);
        lines << row;
        if (k % 5 == 4) lines << QStringLiteral(" ");
    }

    const QString rule(kMonthRuleWidth, QLatin1Char('-'));
    const double offsetHours = -zone / 15.0;
    lines << rule;
    lines << label(74, lang) + (offsetHours >= 0 ? QStringLiteral(" +") : QStringLiteral(" -")) +
                 ZoneOffsetText(offsetHours) + QStringLiteral(" h)") + label(75, lang);
    const int twilight = s.twilightKind < 0 || s.twilightKind > 2 ? 1 : s.twilightKind;
    // The twilight line also says when the sun's columns go by the terrain.
    lines << QStringLiteral("   ") + label(76, lang) + label(34 + twilight, lang) + QLatin1Char('.') +
                 (RiseSetTerrain(s) ? resourceText(kTerrainNote, lang) : QString());
    lines << TableSignature(kMonthRuleWidth);
    lines << rule;
    return lines;
}

QStringList MonthTableDisplayLines(const DialState& s, const QStringList& monthTable) {
    QStringList lines = MonthTableHeader(s);
    const int footerStart = monthTable.size() - kMonthTableFooterLines;
    for (int i = 0; i < monthTable.size(); ++i) {
        const int f = i - footerStart;
        // Of the footer the window keeps the first rule and the twilight line.
        if (f >= 0 && f != 0 && f != 2) continue;
        lines << monthTable[i];
    }
    return lines;
}

}  // namespace zorva
