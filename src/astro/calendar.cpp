#include "astro/calendar.h"

#include "text/texts.h"
#include "text/user_dialogs.h"

#include <cmath>
#include <cstdint>

namespace zorva {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDays[month - 1];
}

bool DateExists(int year, int month, int day) {
    if (day < 1 || day > DaysInMonth(year, month)) return false;
    return !(year == 1582 && month == 10 && day >= 5 && day <= 14);
}

int DayOfYear(int year, int month, int day) {
    if (month <= 2) return (month - 1) * 31 + day;
    return static_cast<int>(month * 30.6001 - 32.3) + day + (IsLeapYear(year) ? 1 : 0);
}

double JulianDayNumber(int day, int month, int year, UserDialogs* dialogs, Language lang) {
    std::int64_t y = year, m = month;
    if (month <= 2) {
        y = year - 1;
        m = month + 12;
    }
    // The calendar switch compared on the date as one integer: a real year + month/100 +
    // day/10000 can land a rounding step beside 1582.1015.
    const std::int64_t key = std::int64_t(year) * 10000 + month * 100 + day;
    std::int64_t c;
    std::int64_t d = day;
    if (key >= 15821015) {
        c = y / 400 - y / 100;
    } else if (key <= 15821004) {
        c = -2;
    } else {
        if (dialogs) dialogs->inform(caption(CaptionKind::Warning, lang), message(26, lang), Icon::Warning);
        d = 15;
        c = -12;
    }
    const auto jd = static_cast<std::int64_t>(std::trunc(365.25 * double(y))) +
                    static_cast<std::int64_t>(30.6001 * double(m + 1)) + d + c + 1720997;
    return double(jd);
}

double ModifiedJulianDate(int day, int month, int year, double hours) {
    std::int64_t y = year, m = month;
    if (month <= 2) {
        y = year - 1;
        m = month + 12;
    }
    const std::int64_t key = std::int64_t(year) * 10000 + month * 100 + day;
    std::int64_t b;
    if (key <= 15821004) {
        b = static_cast<std::int64_t>(std::trunc((double(y) + 4716.0) / 4.0)) - 1181;
    } else {
        b = y / 400 - y / 100 + y / 4;
    }
    const std::int64_t whole = 365 * y - 679004 + b + static_cast<std::int64_t>(30.6001 * double(m + 1)) + day;
    return double(whole) + hours / 24.0;
}

CalendarInstant CalendarFromMJD(double mjd) {
    if (!std::isfinite(mjd) || std::abs(mjd) > 1e9) return {};
    const double a = mjd + 2400000.5 + 0.5;
    const double c = std::trunc(a);
    double d;
    if (c >= 2299161) {
        const double e = std::trunc((c - 1867216.25) / 36524.25);
        d = c + (e - std::trunc(e / 4)) + 1525;
    } else {
        d = c + 1524;
    }
    const double f = std::trunc((d - 122.1) / 365.25);
    const double g = d - (365 * f + std::trunc(f / 4));
    const double n = std::trunc(g / 30.6001);
    CalendarInstant r;
    r.day = static_cast<int>(std::trunc(g + 0.5) - std::trunc(30.6001 * n));
    r.month = static_cast<int>(n - 1 - 12 * std::trunc(n / 14));
    r.year = static_cast<int>(f - 4715 - std::trunc((7.0 + r.month) / 10));
    r.hours = (a - c) * 24;
    return r;
}

QString MonthAbbreviation(int month) {
    static const char* const kNames[12] = {"Jan", "Feb", "Mar", "Apr", "Mai", "Jun",
                                           "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    if (month < 1 || month > 12) return {};
    return QString::fromLatin1(kNames[month - 1]);
}

QString DayMonthText(int dayOfYear, int year) {
    int month = 1;
    for (int m = 2; m <= 12; ++m)
        if (dayOfYear >= DayOfYear(year, m, 1)) month = m;
    const int day = dayOfYear - DayOfYear(year, month, 1) + 1;
    return QString::number(day) + QStringLiteral(". ") + MonthAbbreviation(month);
}

}  // namespace zorva
