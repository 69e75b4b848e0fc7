// Time to construct the default vertical dial with every hour-line system switched on,
// drawn into an offscreen image as the drawing window does. Must stay far below 0.1 s.
#include "screen_drawing_timing.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    using namespace zorva;
    DialState s = StartupState();  // the default vertical dial
    s.apparentTimeLines = s.meanTimeLines = s.markAnalemma = true;
    s.babylonianHours = s.italianHours = s.temporalHours = s.altitudeLines = true;
    s.wholeHourDaylengthLines = true;
    s.dateLineMode = '1';
    s.hourLineInterval = '4';
    s.eotHourInterval = '3';
    return Time("planar dial, default vertical, every hour-line system", s) < 100.0 ? 0 : 1;
}
