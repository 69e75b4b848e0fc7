// The hour-line angle table of the drawing window ("Std.linien"): built when the window
// first shows a planar dial and again on request; it must stay far below a tenth of a second.
#include "dials/hour_line_angles.h"

#include <chrono>
#include <cstdio>

int main() {
    using namespace zorva;
    struct Case {
        const char* name;
        char type;
        double inclination, declination;
    };
    const Case cases[] = {{"horizontal", 'h', 0, 0}, {"vertical declining", 'v', 90, -11.7},
                          {"inclined declining", 'i', 25.4589, -11.7}, {"north wall", 'v', 90, 170}};
    double checksum = 0;
    for (const Case& c : cases) {
        DialState s = StartupState();
        s.dialType = c.type;
        s.planeInclination = c.inclination;
        s.wallDeclination = c.declination;
        const int runs = 20;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < runs; ++i) {
            s.hourLineInterval = '4';  // ten-minute lines
            const HourLineAngles a = ComputeHourLineAngles(s, true);
            checksum += a.table.firstLitHourAngle + a.rows.size();
        }
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / runs;
        std::printf("hour-line angle table, %-20s (10-minute lines): %.2f ms\n", c.name, ms);
    }
    std::printf("checksum %.3f\n", checksum);
    return 0;
}
