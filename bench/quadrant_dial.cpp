// Time to draw the quadrant dial into an offscreen image as the drawing window does: the
// half-year band with hourly lines, and the whole-year band with 10-minute lines from dawn
// to dusk (the most strokes the quadrant draws). Must stay far below 0.1 s.
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
    s.timeSystem = 2;
    s.quadrantTemporalFrom = 0;
    s.quadrantTemporalTo = 12;
    s.quadrantTemporalInterval = 3;
    Time("quadrant, whole year, temporal hours 0-12 in quarters", s);
    return 0;
}
