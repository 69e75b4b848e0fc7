// Time to draw the quadrant family into an offscreen image as the drawing window does: the
// quadrant's half-year band with hourly lines, the whole-year band with 10-minute lines from
// dawn to dusk, the Gunter quadrant, and the Habermel plates with 10-minute mean-time lines
// over every day of the year (the most strokes the family draws). Each must stay far below
// 0.1 s.
#include "screen_drawing_timing.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    using namespace zorva;
    DialState s = StartupState();
    s.dialType = 'q';
    s.quadrantKind = 0;
    s.quadrantDateScale = 0;
    Time("quadrant, default settings (half-year band)", s);
    s.wholeYearBand = true;
    s.constructWithEoT = true;
    s.otherHourFrom = 4;
    s.otherHourTo = 20;
    s.otherHourInterval = '4';
    Time("quadrant, whole year, mean time 4-20 h, 10-minute lines", s);
    s.quadrantDateScale = 2;
    Time("Gunter quadrant, 4-20 h, 10-minute lines", s);
    s.quadrantDateScale = 0;
    s.timeSystem = 2;
    s.quadrantTemporalFrom = 0;
    s.quadrantTemporalTo = 12;
    s.quadrantTemporalInterval = 3;
    Time("quadrant, whole year, temporal hours 0-12 in quarters", s);

    // Local mean time keeps the whole range (zone time would keep one side of noon).
    s.timeSystem = 0;
    s.quadrantGnomon = 30;
    for (int kind : {1, 2}) {
        s.quadrantKind = kind;
        Time(kind == 1 ? "Habermel dial, mean time 4-20 h, 10-minute lines"
                       : "Habermel dial II, mean time 4-20 h, 10-minute lines",
             s);
    }
    return 0;
}
