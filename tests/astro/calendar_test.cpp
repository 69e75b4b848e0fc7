#include "astro/calendar.h"
#include "support/test_support.h"
#include "text/texts.h"

#include <cmath>

namespace zorva {
namespace {

TEST(DayOfYear, LeapRuleAppliesToEveryYear) {
    EXPECT_EQ(DayOfYear(2000, 3, 1), 61);   // divisible by 400: leap
    EXPECT_EQ(DayOfYear(1900, 3, 1), 60);   // by 100 only: common
    EXPECT_EQ(DayOfYear(2100, 12, 31), 365);
    EXPECT_EQ(DayOfYear(2024, 2, 29), 60);
    EXPECT_EQ(DayOfYear(2024, 12, 31), 366);
    EXPECT_EQ(DayOfYear(1500, 3, 1), 60);   // Gregorian rule also before the reform
    // Consecutive days of a whole year count up by one, month borders included.
    for (int year : {1999, 2000}) {
        int expected = 1;
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysInMonth(year, m); ++d) EXPECT_EQ(DayOfYear(year, m, d), expected++) << m << "/" << d;
    }
}

TEST(JulianDayNumber, CalendarSwitchAndSkippedDays) {
    EXPECT_EQ(JulianDayNumber(1, 1, 2000), 2451545.0);
    EXPECT_EQ(JulianDayNumber(15, 10, 1582), 2299161.0);
    EXPECT_EQ(JulianDayNumber(4, 10, 1582), 2299160.0);
    EXPECT_EQ(JulianDayNumber(1, 3, 1500) - JulianDayNumber(28, 2, 1500), 2.0);  // Julian 29 Feb 1500

    RecordingDialogs dialogs;
    EXPECT_EQ(JulianDayNumber(10, 10, 1582, &dialogs, Language::German), 2299161.0);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, message(26, Language::German));
    EXPECT_EQ(dialogs.events[0].icon, Icon::Warning);
    EXPECT_TRUE(dialogs.events[0].text.startsWith(QStringLiteral("Dieses Kalenderdatum existiert nicht.")));

    dialogs.clear();
    JulianDayNumber(14, 10, 1582, &dialogs, Language::English);
    JulianDayNumber(5, 10, 1582, &dialogs, Language::English);
    JulianDayNumber(4, 10, 1582, &dialogs, Language::English);
    JulianDayNumber(15, 10, 1582, &dialogs, Language::English);
    ASSERT_EQ(dialogs.events.size(), 2u);
    EXPECT_TRUE(dialogs.events[0].text.startsWith(QStringLiteral("This date does not exist.")));
}

TEST(ModifiedJulianDate, AgreesWithJulianDayNumberAndInverts) {
    EXPECT_EQ(ModifiedJulianDate(1, 1, 2000, 0), 51544.0);
    EXPECT_EQ(ModifiedJulianDate(17, 11, 1858, 0), 0.0);
    EXPECT_DOUBLE_EQ(ModifiedJulianDate(1, 1, 2000, 18), 51544.75);
    const CalendarInstant c = CalendarFromMJD(51544.5);
    EXPECT_EQ(c.day, 1);
    EXPECT_EQ(c.month, 1);
    EXPECT_EQ(c.year, 2000);
    EXPECT_NEAR(c.hours, 12.0, 1e-6);

    // Every existing day of the years the program accepts: the MJD is the Julian day
    // number (12:00 UT) less 2400000.5 - 0.5, and the calendar read back is the date itself.
    // Julian leap rule before the reform, Gregorian after it.
    auto monthLength = [](int year, int month) {
        if (month == 2 && year < 1582) return year % 4 == 0 ? 29 : 28;
        return DaysInMonth(year, month);
    };
    int checked = 0;
    for (int year = 1300; year <= 2500; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= monthLength(year, month); ++day) {
                if (year == 1582 && month == 10 && day >= 5 && day <= 14) continue;
                const double mjd = ModifiedJulianDate(day, month, year, 0);
                ASSERT_EQ(mjd, JulianDayNumber(day, month, year) - 2400001.0) << year << "-" << month << "-" << day;
                const CalendarInstant back = CalendarFromMJD(mjd + 0.25);
                ASSERT_EQ(back.year, year);
                ASSERT_EQ(back.month, month);
                ASSERT_EQ(back.day, day);
                ASSERT_NEAR(back.hours, 6.0, 1e-5);
                ++checked;
            }
    EXPECT_GT(checked, 438000);
    // The day after 4 October 1582 is 15 October.
    EXPECT_EQ(ModifiedJulianDate(15, 10, 1582) - ModifiedJulianDate(4, 10, 1582), 1.0);
}

TEST(CalendarFromMJD, NonFiniteInputGivesNoDate) {
    EXPECT_EQ(CalendarFromMJD(std::nan("")).year, 0);
    EXPECT_EQ(CalendarFromMJD(1e300).month, 0);
}

TEST(DateExists, RejectsImpossibleDates) {
    EXPECT_TRUE(DateExists(2000, 2, 29));
    EXPECT_FALSE(DateExists(1999, 2, 29));
    EXPECT_FALSE(DateExists(2000, 2, 30));
    EXPECT_FALSE(DateExists(2000, 4, 31));
    EXPECT_FALSE(DateExists(2000, 13, 1));
    EXPECT_FALSE(DateExists(2000, 0, 1));
    EXPECT_FALSE(DateExists(2000, 1, 0));
    EXPECT_TRUE(DateExists(1582, 10, 4));
    EXPECT_FALSE(DateExists(1582, 10, 5));
    EXPECT_FALSE(DateExists(1582, 10, 14));
    EXPECT_TRUE(DateExists(1582, 10, 15));
}

TEST(DayMonthText, MonthFoundInTheYearsCalendar) {
    EXPECT_EQ(DayMonthText(46, 1999), QStringLiteral("15. Feb"));
    EXPECT_EQ(DayMonthText(1, 1999), QStringLiteral("1. Jan"));
    EXPECT_EQ(DayMonthText(60, 1999), QStringLiteral("1. Mar"));
    EXPECT_EQ(DayMonthText(60, 2000), QStringLiteral("29. Feb"));
    EXPECT_EQ(DayMonthText(121, 1999), QStringLiteral("1. Mai"));
    EXPECT_EQ(DayMonthText(366, 2000), QStringLiteral("31. Dez"));
    EXPECT_EQ(DayMonthText(288, 1999), QStringLiteral("15. Okt"));
}

}  // namespace
}  // namespace zorva
