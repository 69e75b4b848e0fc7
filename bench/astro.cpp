// Rise/set search of sun, twilight and moon for every day of 100 years at one site:
// the work behind a month table is 31 such days, behind a year of tables 365.
#include "astro/calendar.h"
#include "astro/rise_set.h"
#include "astro/solar_ephemeris.h"

#include <chrono>
#include <cstdio>

int main() {
    using namespace zorva;
    const double latitude = 47.25, longitude = -9.55, zone = -15;
    const double firstDay = ModifiedJulianDate(1, 1, 1950), lastDay = ModifiedJulianDate(1, 1, 2050);
    long days = 0, events = 0;
    double checksum = 0;

    const auto start = std::chrono::steady_clock::now();
    for (double mjd = firstDay; mjd < lastDay; mjd += 1) {
        const CalendarInstant c = CalendarFromMJD(mjd);
        const DayRiseSet d = RiseSetForDay(c.year, c.month, c.day, latitude, longitude, zone, 1);
        for (const RiseSetTimes* t : {&d.sun, &d.twilight, &d.moon}) {
            events += t->rises + t->sets;
            checksum += (t->rises ? t->riseHours : 0) + (t->sets ? t->setHours : 0);
        }
        ++days;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const auto start2 = std::chrono::steady_clock::now();
    for (int year = 1950; year < 2050; ++year)
        for (int n = 1; n <= 365; ++n) checksum += SolarDeclinationEoT(year, n + zone / 360).eot;
    const double seconds2 = std::chrono::duration<double>(std::chrono::steady_clock::now() - start2).count();

    std::printf("rise/set search (sun, twilight, moon): %ld days 1950..2049 in %.3f s = %.2f us per day "
                "(%.2f ms per month table)\n",
                days, seconds, seconds / days * 1e6, seconds / days * 31 * 1e3);
    std::printf("declination and EoT: %d evaluations in %.3f s = %.3f us each\n", 36500, seconds2,
                seconds2 / 36500 * 1e6);
    std::printf("events found: %ld, checksum %.6f\n", events, checksum);
    return 0;
}
