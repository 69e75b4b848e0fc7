// Rise/set search of sun, twilight and moon for every day of 100 years at one site:
// the work behind a month table is 31 such days, behind a year of tables 365. The anchor,
// timed in the same run, is the JavaScript library suncalc's sunrise and sunset for the same
// days (installed by tools/bench_anchors.sh; skipped when node or the library is missing).
#include "astro/calendar.h"
#include "astro/rise_set.h"
#include "astro/solar_ephemeris.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Microseconds per day of the anchor, or a negative value when it cannot run.
double SuncalcMicrosecondsPerDay(const char* program) {
    std::string self(program);
    const std::string dir = self.substr(0, self.find_last_of('/') + 1);
    const std::string modules = dir + "bench-anchors/node_modules";
    const std::string script = std::string(ZORVA_SOURCE_DIR) + "/bench/suncalc_anchor.js";
    const std::string command = "node '" + script + "' '" + modules + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    double us = -1;
    if (std::fscanf(pipe, "%lf", &us) != 1) us = -1;
    return pclose(pipe) == 0 ? us : -1;
}

}  // namespace

int main(int, char** argv) {
    using namespace zorva;
    const double latitude = 47.25, longitude = -9.55, zone = -15;
    const double firstDay = ModifiedJulianDate(1, 1, 1950), lastDay = ModifiedJulianDate(1, 1, 2050);
    long days = 0, events = 0;
    double checksum = 0;

    // Processor time, as the anchor measures it; the median of several passes, as the anchor
    // takes it, so that a moment of load on the shared machine moves neither much.
    constexpr int kPasses = 5;
    std::vector<double> passSeconds;
    for (int pass = 0; pass < kPasses; ++pass) {
        days = events = 0;
        checksum = 0;
        const std::clock_t start = std::clock();
        for (double mjd = firstDay; mjd < lastDay; mjd += 1) {
            const CalendarInstant c = CalendarFromMJD(mjd);
            const DayRiseSet d = RiseSetForDay(c.year, c.month, c.day, latitude, longitude, zone, 1);
            for (const RiseSetTimes* t : {&d.sun, &d.twilight, &d.moon}) {
                events += t->rises + t->sets;
                checksum += (t->rises ? t->riseHours : 0) + (t->sets ? t->setHours : 0);
            }
            ++days;
        }
        passSeconds.push_back(double(std::clock() - start) / CLOCKS_PER_SEC);
    }
    std::sort(passSeconds.begin(), passSeconds.end());
    const double seconds = passSeconds[kPasses / 2];

    const auto start2 = std::chrono::steady_clock::now();
    for (int year = 1950; year < 2050; ++year)
        for (int n = 1; n <= 365; ++n) checksum += SolarDeclinationEoT(year, n + zone / 360).eot;
    const double seconds2 = std::chrono::duration<double>(std::chrono::steady_clock::now() - start2).count();

    std::printf("rise/set search (sun, twilight, moon): %ld days 1950..2049 in %.3f s = %.2f us per day "
                "(%.2f ms per month table; median of %d passes, %.2f..%.2f us)\n",
                days, seconds, seconds / days * 1e6, seconds / days * 31 * 1e3, kPasses,
                passSeconds.front() / days * 1e6, passSeconds.back() / days * 1e6);
    std::printf("declination and EoT: %d evaluations in %.3f s = %.3f us each\n", 36500, seconds2,
                seconds2 / 36500 * 1e6);
    std::printf("events found: %ld, checksum %.6f\n", events, checksum);  // of the last pass
    const double anchor = SuncalcMicrosecondsPerDay(argv[0]);
    if (anchor > 0)
        std::printf("anchor suncalc (sunrise and sunset only): %.2f us per day; Zorva (sun, twilight and moon) is "
                    "%.1fx faster\n",
                    anchor, anchor / (seconds / days * 1e6));
    else
        std::printf("anchor suncalc not run (node missing, or run tools/bench_anchors.sh)\n");
    return 0;
}
