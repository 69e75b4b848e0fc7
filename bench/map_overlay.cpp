// Screen drawing of the default vertical dial without the map, over the coarse map
// (1:110 million, a gnomon of 35 mm) and over the fine map (1:50 million, 100 mm), coast and
// borders both on: what the map files cost the drawing window. Run from the build folder,
// whose data/ holds the map files.
#include "screen_drawing_timing.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    zorva::DialState s = zorva::StartupState();
    const double plain = Time("vertical dial without map", s);
    s.mapOverlay = s.mapCoast = s.mapBorders = true;
    const double coarse = Time("over coast and borders 1:110 million (gnomon 35 mm)", s);
    s.gnomonLength = 100;
    const double fine = Time("over coast and borders 1:50 million (gnomon 100 mm)", s);
    std::printf("the map costs %.1f ms (coarse) and %.1f ms (fine) of CPU time\n", coarse - plain, fine - plain);
    return 0;
}
