#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "astro/table_export.h"
#include "astro/tables.h"
#include "support/test_support.h"
#include "text/texts.h"

#include <QFile>

namespace zorva {
namespace {

// The reference site: 47.25 N, 9.55 E, central European zone time.
DialState Site(int year, double lat = 47.25, double lon = -9.55, double zone = -15) {
    DialState s = StartupState();
    s.latitude = lat;
    s.longitude = lon;
    s.zoneMeridian = zone;
    s.referenceYear = year;
    s.language = Language::German;
    s.twilightKind = 1;
    return s;
}

// Index of the row of day d (1..31) in a year table built for print: title, two blanks,
// explanation, validity, meridian, blank, header (7 lines; transit 6), and a blank line
// before every fifth day.
int RowIndex(const QStringList& lines, int day) {
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(QStringLiteral("%1. ").arg(day, 2))) return i;
    return -1;
}

// Cell of month m (1..12) in a year-table row.
QString Cell(const QString& row, int month, bool transit = false) {
    const int width = transit ? 8 : 6;
    return row.mid(4 + (month - 1) * (width + 1), width);
}

QString Golden(const QString& name) {
    QFile f(test::dataPath(name));
    if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("<missing golden file %1>").arg(name);
    return QString::fromLatin1(f.readAll());  // the files hold Windows-1252; these tables need only Latin-1
}

TEST(YearTables, DatesThatDoNotExistAreBlank) {
    // 1900 is not a leap year, 2000 is.
    for (int year : {1900, 2000}) {
        const QStringList lines = BuildYearTable(Site(year), YearTableKind::EquationOfTime, TableTarget::Print);
        const QString row29 = lines[RowIndex(lines, 29)];
        EXPECT_EQ(Cell(row29, 2).trimmed().isEmpty(), year == 1900) << year << " " << row29.toStdString();
        EXPECT_EQ(Cell(lines[RowIndex(lines, 30)], 2), QString(6, QLatin1Char(' ')));
        const QString row31 = lines[RowIndex(lines, 31)];
        for (int month : {2, 4, 6, 9, 11}) EXPECT_EQ(Cell(row31, month), QString(6, QLatin1Char(' '))) << month;
        for (int month : {1, 3, 5, 7, 8, 10, 12}) EXPECT_FALSE(Cell(row31, month).trimmed().isEmpty()) << month;
        EXPECT_EQ(row31.size(), 87);
    }
    const QStringList transit = BuildYearTable(Site(1900), YearTableKind::Transit, TableTarget::Print);
    EXPECT_EQ(Cell(transit[RowIndex(transit, 29)], 2, true), QString(8, QLatin1Char(' ')));
}

TEST(YearTables, SkippedDaysOf1582AreBlankAndTheRestCountsRealDays) {
    const QStringList lines = BuildYearTable(Site(1582), YearTableKind::Declination, TableTarget::Print);
    for (int day = 5; day <= 14; ++day) EXPECT_TRUE(Cell(lines[RowIndex(lines, day)], 10).trimmed().isEmpty()) << day;
    // 4 and 15 October 1582 are consecutive days: their declinations differ by one day's motion.
    const double d4 = Cell(lines[RowIndex(lines, 4)], 10).toDouble();
    const double d15 = Cell(lines[RowIndex(lines, 15)], 10).toDouble();
    EXPECT_NEAR(d15 - d4, -0.39, 0.03);
}

TEST(YearTables, EotCellsAreTheEphemerisAtNoonZoneTime) {
    const QStringList lines = BuildYearTable(Site(2000), YearTableKind::EquationOfTime, TableTarget::Print);
    // 12 February and 3 November 2000: the extremes, -14:15 and +16:25.
    EXPECT_EQ(Cell(lines[RowIndex(lines, 12)], 2), QStringLiteral("-14:15"));
    EXPECT_EQ(Cell(lines[RowIndex(lines, 3)], 11), QStringLiteral(" 16:25"));
    // Declination on 21 June 2000 rounds to 23.44; on 21 December to -23.44.
    const QStringList decl = BuildYearTable(Site(2000), YearTableKind::Declination, TableTarget::Print);
    EXPECT_EQ(Cell(decl[RowIndex(decl, 21)], 6), QStringLiteral(" 23.44"));
    EXPECT_EQ(Cell(decl[RowIndex(decl, 21)], 12), QStringLiteral("-23.44"));
}

TEST(YearTables, LongitudeCorrectionVanishesWhenTheSiteLiesOnTheZoneMeridian) {
    const auto rows = [](const QStringList& lines) { return lines.mid(RowIndex(lines, 1) - 1); };
    for (const DialState& s : {Site(2001, 47.25, -15, -15), Site(2001, -33.9, 180, -180), Site(2001, 10, -180, 180)}) {
        const QStringList plain = BuildYearTable(s, YearTableKind::EquationOfTime, TableTarget::Print);
        const QStringList corrected = BuildYearTable(s, YearTableKind::EotWithLongitude, TableTarget::Print);
        EXPECT_EQ(rows(corrected), rows(plain)) << s.longitude << " " << s.zoneMeridian;
    }
    // Across the date line the correction is the short way round: 179 W with a zone of
    // 180 E is 1 degree, 4 minutes.
    EXPECT_DOUBLE_EQ(LongitudeCorrection(179, -180), -1.0);
    EXPECT_DOUBLE_EQ(LongitudeCorrection(-179, 180), 1.0);
    EXPECT_DOUBLE_EQ(LongitudeCorrection(-9.55, -15), 5.45);
}

TEST(YearTables, TransitCells) {
    const QStringList lines = BuildYearTable(Site(1999), YearTableKind::Transit, TableTarget::Print);
    // 3 November 1999 at 9.55 E: EoT +4.1046 degrees, true noon at 12:05:23.
    EXPECT_EQ(Cell(lines[RowIndex(lines, 3)], 11, true), QStringLiteral("12:05:23"));
    EXPECT_EQ(lines[RowIndex(lines, 31)].size(), 4 + 12 * 8 + 11);

    // On the Greenwich meridian with zone -15 true noon is 13:00 - EoT.
    const QStringList london = BuildYearTable(Site(1999, 51.5, 0, -15), YearTableKind::Transit, TableTarget::Print);
    int checked = 0;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= DaysInMonth(1999, month); ++day) {
            const double eot = SolarDeclinationEoT(1999, DayOfYear(1999, month, day) - 15.0 / 360.0).eot;
            const QString cell = Cell(london[RowIndex(london, day)], month, true);
            // Within a second of the boundary the rounding decides; elsewhere the sign of the EoT.
            if (std::abs(eot) * 240 < 1) continue;
            EXPECT_EQ(cell.left(3), eot > 0 ? QStringLiteral("12:") : QStringLiteral("13:"))
                << month << "/" << day << " " << cell.toStdString();
            ++checked;
        }
    EXPECT_GT(checked, 350);
}

TEST(YearTables, TransitCellChoosesTheHourAfterRounding) {
    EXPECT_EQ(TransitCell(0.0), QStringLiteral("12:00:00"));
    EXPECT_EQ(TransitCell(14.99999), QStringLiteral("13:00:00"));  // 12:59:59.998, never "12:60:00"
    EXPECT_EQ(TransitCell(-0.00001), QStringLiteral("12:00:00"));
    EXPECT_EQ(TransitCell(-0.002), QStringLiteral("12:00:00"));  // -0.48 s
    EXPECT_EQ(TransitCell(-0.003), QStringLiteral("11:59:59"));  // -0.72 s
    EXPECT_EQ(TransitCell(-15), QStringLiteral("11:00:00"));
    EXPECT_EQ(TransitCell(30), QStringLiteral("14:00:00"));
    // Sites far from their zone meridian still get a clock time of the day.
    EXPECT_EQ(TransitCell(-180), QStringLiteral("00:00:00"));
    EXPECT_EQ(TransitCell(200), QStringLiteral("01:20:00"));
}

TEST(YearTables, WindowDropsOneExplanatoryLine) {
    const DialState s = Site(1999);
    for (YearTableKind kind : {YearTableKind::EquationOfTime, YearTableKind::EotWithLongitude,
                               YearTableKind::Declination, YearTableKind::Transit}) {
        const QStringList print = BuildYearTable(s, kind, TableTarget::Print);
        const QStringList window = BuildYearTable(s, kind, TableTarget::Window);
        if (kind == YearTableKind::Transit) {
            EXPECT_EQ(window, print);
            continue;
        }
        ASSERT_EQ(window.size() + 1, print.size());
        const int removed = kind == YearTableKind::EotWithLongitude ? 4 : 5;
        QStringList expected = print;
        expected.removeAt(removed);
        EXPECT_EQ(window, expected);
    }
    const QStringList eot = BuildYearTable(s, YearTableKind::EquationOfTime, TableTarget::Print);
    EXPECT_EQ(eot[4], QString(10, QLatin1Char(' ')) + label(79, Language::German));  // validity
    EXPECT_EQ(eot[5], QString(28, QLatin1Char(' ')) + QStringLiteral("(Zonenmeridian:  -15.0)"));
    const QStringList kind1 = BuildYearTable(s, YearTableKind::EotWithLongitude, TableTarget::Print);
    EXPECT_EQ(kind1[5], QStringLiteral("   Zeitdifferenz fuer geogr. Laenge  -9.55° =  21:48 min:sec, (Zonenmeridian:  -15.0°)"));
}

TEST(YearTables, BothEndsOfTheYearRangeAndThePoles) {
    for (int year : {1300, 2500})
        for (double lat : {-90.0, 90.0}) {
            const DialState s = Site(year, lat, 180, -180);
            const QStringList eot = BuildYearTable(s, YearTableKind::EquationOfTime, TableTarget::Window);
            const QString jan1 = Cell(eot[RowIndex(eot, 1)], 1);
            ASSERT_FALSE(jan1.trimmed().isEmpty());
            // The EoT stays within about +-17 minutes in every century of the range.
            const int minutes = jan1.trimmed().section(QLatin1Char(':'), 0, 0).toInt();
            EXPECT_LE(std::abs(minutes), 17) << year;
            const QStringList transit = BuildYearTable(s, YearTableKind::Transit, TableTarget::Window);
            EXPECT_TRUE(Cell(transit[RowIndex(transit, 1)], 1, true).startsWith(QStringLiteral("12:"))) << year;
        }
}

// Beyond the range the ephemeris extrapolates to nonsense (EoT of an hour in year 99999):
// no table at all rather than a wrong one.
TEST(YearTables, YearsOutsideTheRangeGiveNoTable) {
    for (int year : {1299, 2501, 99999, -5, 2147483647}) {
        const DialState s = Site(year, 47.25, -9.55, -15);
        for (YearTableKind kind : {YearTableKind::EquationOfTime, YearTableKind::EotWithLongitude,
                                   YearTableKind::Declination, YearTableKind::Transit})
            EXPECT_TRUE(BuildYearTable(s, kind, TableTarget::Window).isEmpty()) << year;
        EXPECT_TRUE(BuildMonthTable(s, year, 6).isEmpty()) << year;
    }
    const DialState s = Site(2000, 47.25, -9.55, -15);
    EXPECT_TRUE(BuildMonthTable(s, 2000, 13).isEmpty());
    EXPECT_TRUE(BuildMonthTable(s, 2000, 0).isEmpty());
    EXPECT_FALSE(BuildMonthTable(s, 2500, 12).isEmpty());
    EXPECT_FALSE(BuildMonthTable(s, 1300, 1).isEmpty());
}

TEST(MonthTable, RowsAtTheReferenceSite) {
    const QStringList lines = BuildMonthTable(Site(1999), 1999, 6);
    ASSERT_EQ(lines.size(), 31 + 6 + kMonthTableFooterLines);
    // 21 June 1999: sun 4:25/20:21, nautical twilight end 21:57 and begin 2:50, moon 12:59/0:51.
    const QString row21 = lines[21 - 1 + 4];
    EXPECT_EQ(row21.left(54), QStringLiteral(" 21. 6.1999   4:25 20:21   21:57  2:50   12:59  0:51  "));
    EXPECT_EQ(row21.size(), 67);
    EXPECT_EQ(row21.mid(61), QStringLiteral(" 23.44"));
    // The 19th: the moon rises and does not set.
    EXPECT_EQ(lines[19 - 1 + 3].mid(38, 16), QStringLiteral("   10:49 -----  "));
    // A blank line after every fifth row; the 31st row is the first of July.
    EXPECT_EQ(lines[5], QStringLiteral(" "));
    EXPECT_TRUE(lines[36].startsWith(QStringLiteral("  1. 7.1999")));
}

TEST(MonthTable, DeclinationAgreesWithTheYearTable) {
    const QStringList month = BuildMonthTable(Site(2003), 2003, 3);
    const QStringList year = BuildYearTable(Site(2003), YearTableKind::Declination, TableTarget::Print);
    for (int day = 1; day <= 31; ++day) {
        const QString m = month[day - 1 + (day - 1) / 5].mid(61, 6);
        EXPECT_EQ(m, Cell(year[RowIndex(year, day)], 3)) << day;
    }
}

TEST(MonthTable, FooterNamesTheZoneAndTheTwilight) {
    const QStringList cet = BuildMonthTable(Site(1999), 1999, 6);
    const int f = cet.size() - kMonthTableFooterLines;
    EXPECT_EQ(cet[f], QString(68, QLatin1Char('-')));
    EXPECT_EQ(cet[f + 1], QStringLiteral("    Alle Zeiten in Zonenzeit (= UT +   1 h), keine Sommerzeit! "));
    EXPECT_EQ(cet[f + 2], QStringLiteral("    Angezeigte Dämmerungsart: nautisch (6°-12°)."));
    EXPECT_EQ(cet[f + 3].size(), 68);
    EXPECT_EQ(cet[f + 4], cet[f]);

    // Half- and quarter-hour zones keep their fraction.
    EXPECT_TRUE(BuildMonthTable(Site(2010, 28.6, -77.2, -82.5), 2010, 1)[f + 1].contains(QStringLiteral("(= UT + 5.5 h)")));
    EXPECT_TRUE(BuildMonthTable(Site(2010, 27.7, -85.3, -86.25), 2010, 1)[f + 1].contains(QStringLiteral("(= UT +5.75 h)")));
    EXPECT_TRUE(BuildMonthTable(Site(2010, 40.7, 74, 75), 2010, 1)[f + 1].contains(QStringLiteral("(= UT -   5 h)")));

    DialState english = Site(1999);
    english.language = Language::English;
    english.twilightKind = 2;
    EXPECT_EQ(BuildMonthTable(english, 1999, 6)[f + 2],
              QStringLiteral("    Twilight shown: astronom.(12°-18°)."));
}

TEST(MonthTable, PolarSitesAndShortMonths) {
    // 70 N in June: the sun never sets; the whole-day label keeps the columns aligned.
    const QStringList polar = BuildMonthTable(Site(1999, 70, -9.55, -15), 1999, 6);
    EXPECT_EQ(polar[24].mid(12, 14), label(68, Language::German));
    EXPECT_EQ(polar[24].size(), 67);
    for (double lat : {90.0, -90.0}) {
        const QStringList pole = BuildMonthTable(Site(2000, lat, 180, -180), 2000, 12);
        EXPECT_EQ(pole.size(), 42);
        for (int k = 0; k < 31; ++k) EXPECT_EQ(pole[k + k / 5].size(), 67) << lat << " row " << k;
    }
    // February of a common year continues into March.
    const QStringList feb = BuildMonthTable(Site(2001), 2001, 2);
    EXPECT_TRUE(feb[28 + 5].startsWith(QStringLiteral("  1. 3.2001"))) << feb[33].toStdString();
}

TEST(MonthTable, WindowShowsHeaderRowsRuleAndTwilight) {
    const DialState s = Site(1999);
    const QStringList table = BuildMonthTable(s, 1999, 6);
    const QStringList shown = MonthTableDisplayLines(s, table);
    ASSERT_EQ(shown.size(), 44);
    EXPECT_EQ(shown[0], QStringLiteral("  Auf-/Untergangszeiten von Sonne und Mond"));
    EXPECT_EQ(shown[1], QStringLiteral("  Standard-Zeit, keine Sommerzeit! Geogr. Ort: (  -9.55 / 47.25)"));
    EXPECT_EQ(shown[3], label(72, Language::German));
    EXPECT_EQ(shown[42], QString(68, QLatin1Char('-')));
    EXPECT_TRUE(shown[43].contains(QStringLiteral("nautisch")));
}

// ---- export

TEST(TableExport, FileNamesFollowTheChosenFilter) {
    EXPECT_EQ(TableFileName(QStringLiteral("data.old.txt"), TableFileKind::Csv), QStringLiteral("data.csv"));
    EXPECT_EQ(TableFileName(QStringLiteral("Tabelle"), TableFileKind::Text), QStringLiteral("Tabelle.txt"));
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(TableFileName(QStringLiteral("/home/a.b/sun.tab.csv"), TableFileKind::Text),
              QStringLiteral("/home/a.b/sun.txt"));
    EXPECT_EQ(TableFileName(QStringLiteral("/tmp/.csv"), TableFileKind::Csv), QStringLiteral("/tmp/Tabelle.csv"));
    EXPECT_EQ(ProposedTableFileName(TableFileKind::Csv), QStringLiteral("text.csv"));
    EXPECT_EQ(ProposedTableFileName(TableFileKind::Text), QStringLiteral("text.txt"));
}

TEST(TableExport, GoldenMonthTableAsText) {
    const DialState s = Site(1999);
    const QStringList table = BuildMonthTable(s, 1999, 6);
    EXPECT_EQ(TableFileText(table, TableFamily::Month, TableFileKind::Text, s), Golden(QStringLiteral("table_month_1999-06.txt")));
}

TEST(TableExport, GoldenEotYearTableAsCsv) {
    const DialState s = Site(1999);
    const QStringList table = BuildYearTable(s, YearTableKind::EquationOfTime, TableTarget::Window);
    EXPECT_EQ(TableFileText(table, TableFamily::Year, TableFileKind::Csv, s), Golden(QStringLiteral("table_eot_1999.csv")));
}

QStringList CsvRows(const QString& text) {
    QStringList rows = text.split(QStringLiteral("\r\n"));
    EXPECT_TRUE(rows.back().isEmpty());
    rows.removeLast();
    return rows;
}

TEST(TableExport, CsvOfTheMonthTable) {
    const DialState s = Site(1999);
    const QStringList table = BuildMonthTable(s, 1999, 6);
    const QStringList rows = CsvRows(TableFileText(table, TableFamily::Month, TableFileKind::Csv, s));
    EXPECT_EQ(rows[0], QStringLiteral("\"Tabelle fuer Geogr. Ort: Laenge (oestl. neg.) ...   -9.55\""));
    EXPECT_EQ(rows[1], QStringLiteral("\"                        Breite               ...   47.25\""));
    EXPECT_EQ(rows[2], QString());
    EXPECT_EQ(rows[3], QStringLiteral("\"   Datum    \";\"     Sonne   \";\"\";\"   Dämmerung \";\"\";\"      Mond   \";\"\";\"     EoT  \";\"Deklin\""));
    // The second header and the inserted blank line are cut like the rows.
    EXPECT_EQ(rows[4].count(QLatin1Char(';')), 8);
    EXPECT_TRUE(rows[4].startsWith(QStringLiteral("\"           \";\"    auf\";\"/unter \"")));
    EXPECT_EQ(rows[5], QStringLiteral("\" \"") + QStringLiteral(";\"\"").repeated(8));
    EXPECT_EQ(rows[6 + 20 + 4], QStringLiteral(
        "\" 21. 6.1999\";\"   4:25\";\" 20:21 \";\"  21:57\";\"  2:50 \";\"  12:59\";\"  0:51 \";\"  -1:39\";\"  23.44\""));
    // The footer: five lines of an empty field and the whole line.
    EXPECT_EQ(rows.size(), 3 + 1 + 2 + 37 + 5);
    EXPECT_EQ(rows.back(), QStringLiteral("\"\";\"") + QString(68, QLatin1Char('-')) + QStringLiteral("\""));
    EXPECT_TRUE(rows[rows.size() - 4].startsWith(QStringLiteral("\"\";\"    Alle Zeiten")));
    // The window's list is left as it was: a second save writes the same file.
    EXPECT_EQ(table, BuildMonthTable(s, 1999, 6));
}

TEST(TableExport, CsvOfYearTablesSplitsAtTheColumns) {
    const DialState s = Site(1999);
    const QStringList rows = CsvRows(TableFileText(BuildYearTable(s, YearTableKind::Transit, TableTarget::Window),
                                                   TableFamily::TransitYear, TableFileKind::Csv, s));
    // Header mode up to the month names: an empty field and the line.
    EXPECT_EQ(rows[0], QStringLiteral("\"\";\" \""));
    EXPECT_EQ(rows[1], QStringLiteral("\"\";\"") + QString(13, QLatin1Char(' ')) + label(209, Language::German) +
                           QStringLiteral("\""));
    int header = -1;
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].contains(QStringLiteral("Jan"))) header = i;
    ASSERT_GT(header, 0);
    EXPECT_EQ(rows[header], QStringLiteral("\"   \";\"   Jan   \";\"   Feb   \";\"   Mar   \";\"   Apr   \";\"   Mai   \";"
                                           "\"   Jun   \";\"   Jul   \";\"   Aug   \";\"   Sep   \";\"   Okt   \";"
                                           "\"   Nov   \";\"   Dez \""));
    const QString nov3 = rows[header + 2 + 3].split(QLatin1Char(';'))[11];
    EXPECT_EQ(nov3, QStringLiteral("\" 12:05:23\""));
    // Every row after the header has thirteen fields, the signature too.
    for (int i = header; i < rows.size(); ++i) EXPECT_EQ(rows[i].count(QLatin1Char(';')), 12) << i;
}

TEST(TableExport, TextFileOfAYearTableIsTheListWithCrLf) {
    const DialState s = Site(2000);
    const QStringList table = BuildYearTable(s, YearTableKind::Declination, TableTarget::Window);
    const QString text = TableFileText(table, TableFamily::Year, TableFileKind::Text, s);
    // The first line of the list is not a single blank, so one is put in front.
    EXPECT_EQ(text, QStringLiteral(" \r\n") + table.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

}  // namespace
}  // namespace zorva
