// Time to draw the stereographic azimuth dial with every hour-line family, three date lines
// a month, the day-length lines, the ecliptic and a horizon profile, into an offscreen
// image as the drawing window does. Must stay far below 0.1 s.
#include "screen_drawing_timing.h"

#include "astro/horizon_profile.h"

#include <QGuiApplication>

#include <cmath>
#include <memory>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    using namespace zorva;
    DialState s = StartupState();
    s.dialType = 'a';
    s.azimuthKind = 1;
    s.altitudeCircleSpacing = 2;
    s.drawEcliptic = true;
    s.apparentTimeLines = s.meanTimeLines = true;
    s.babylonianHours = s.italianHours = s.temporalHours = true;
    s.wholeHourDaylengthLines = true;
    s.dateLinesPerMonth = 3;
    s.hourLineInterval = '3';
    s.eotHourInterval = '1';
    auto profile = std::make_shared<HorizonProfile>();
    for (int k = 0; k < kHorizonRecordCount; ++k) {
        HorizonRecord& r = profile->records[static_cast<size_t>(k)];
        r.elevation = 4 + 3 * std::sin(k * 0.05) + 2 * std::sin(k * 0.31);
        r.distanceMetres = 3000;
        r.empty = false;
    }
    s.horizonProfile = profile;
    s.showHorizonProfile = true;

    return Time("azimuth dial, stereographic, every family, ecliptic and profile", s) < 100.0 ? 0 : 1;
}
