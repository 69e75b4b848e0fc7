// Time to draw the stereographic azimuth dial with every hour-line family, three date lines
// a month, the day-length lines, the ecliptic and a horizon profile, into an offscreen
// image as the drawing window does. Must stay far below 0.1 s.
#include "astro/horizon_profile.h"
#include "dials/canvas_painter.h"
#include "dials/dial_render.h"
#include "text/recording_dialogs.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

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

    const QSize size(1200, 816);
    RecordingDialogs dialogs;
    // The machine is shared: report the thread's CPU time beside the wall-clock time.
    auto cpuMs = [] {
        timespec t;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
    };
    std::vector<double> ms, cpu;
    for (int run = 0; run < 30; ++run) {
        QImage image(size, QImage::Format_RGB32);
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuMs();
        {
            QPainter painter(&image);
            CanvasPainter canvas(painter, s.colours, QRectF(0, 0, size.width(), size.height()));
            PlanarDialRequest r;
            r.clientWidth = size.width();
            r.clientHeight = size.height();
            DrawDialOnScreen(s, r, canvas, dialogs);
        }
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        cpu.push_back(cpuMs() - c0);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("azimuth dial, stereographic, every family, ecliptic and profile, %dx%d image, %zu runs:\n"
                "  wall  median %.2f ms (min %.2f, max %.2f)\n  cpu   median %.2f ms (min %.2f, max %.2f)\n",
                size.width(), size.height(), ms.size(), ms[ms.size() / 2], ms.front(), ms.back(),
                cpu[cpu.size() / 2], cpu.front(), cpu.back());
    return cpu[cpu.size() / 2] < 100.0 ? 0 : 1;
}
