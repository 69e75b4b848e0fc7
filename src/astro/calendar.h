#pragma once
// Calendar arithmetic: day of year, Julian day number, Modified Julian Date and back.

#include "text/language.h"

#include <QString>

namespace zorva {

class UserDialogs;

// Gregorian leap rule, used for every year (also before 1582) by the day-of-year count.
bool IsLeapYear(int year);
// Days of the month by that rule; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
// True for a day the program can compute with: month 1..12, day within the month by the
// rule above, and not one of 5..14 October 1582, which the calendar reform skipped.
bool DateExists(int year, int month, int day);

// 1 = 1 January.
int DayOfYear(int year, int month, int day);

// Julian Date at 12:00 UT of the calendar day (2451545 = 1 January 2000), an integer
// held in a double. Julian calendar up to 4 October 1582, Gregorian from 15 October 1582.
// A date of the skipped days 5..14 October 1582 shows message 26 (when dialogs are
// given) and is computed as 15 October 1582.
double JulianDayNumber(int day, int month, int year, UserDialogs* dialogs = nullptr,
                       Language lang = Language::German);

// MJD of the calendar day at `hours` UT (0.0 = 17 November 1858, 0:00 UT). Julian rule up
// to 4 October 1582, Gregorian after it.
double ModifiedJulianDate(int day, int month, int year, double hours = 0.0);

struct CalendarInstant {
    int day = 0;
    int month = 0;
    int year = 0;
    double hours = 0.0;  // time of day, UT
};
CalendarInstant CalendarFromMJD(double mjd);

// Month names of tables and graph labels (German abbreviations in both languages), 1..12.
QString MonthAbbreviation(int month);
// "15. Feb" for day 46: day of the month, ". ", month abbreviation, in the calendar of `year`.
QString DayMonthText(int dayOfYear, int year);

}  // namespace zorva
