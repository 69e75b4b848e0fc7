// Time to draw the altitude dials of the cylinder family into an offscreen image as the
// drawing window does: the shepherd's dial for the whole year with every line system and
// quarter-hour lines, the Hidokai with its wall face and the hat dial with every line
// system. Must stay far below 0.1 s.
#include "screen_drawing_timing.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    using namespace zorva;
    DialState s = StartupState();
    s.dialType = 'z';
    s.cylinderKind = 0;
    Time("shepherd's dial, default settings", s);
    s.monthScaleSideBySide = true;
    s.apparentTimeLines = s.temporalHours = s.altitudeLines = true;
    s.expertMode = s.babylonianHours = s.italianHours = true;
    s.cylinderWithEoT = true;
    s.otherHourFrom = 4;
    s.otherHourTo = 20;
    s.otherHourInterval = '3';
    s.temporalInterval = 3;
    Time("shepherd's dial, whole year, every line system, 15-minute lines", s);
    s.dialType = 'k';
    s.hidokaiVerticalDial = true;
    Time("Hidokai with wall face, whole year, 15-minute lines", s);
    s.dialType = 'z';
    s.cylinderKind = 1;
    Time("hat dial, mean-time figures of eight, every line system, 15-minute lines", s);
    return 0;
}
