// Time to draw the altitude dials of the cylinder family into an offscreen image as the
// drawing window does: the shepherd's dial for the whole year with every line system and
// quarter-hour lines, the Hidokai with its wall face and the hat dial with every line
// system. Must stay far below 0.1 s.
#include "dials/canvas_painter.h"
#include "dials/dial_render.h"
#include "text/recording_dialogs.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

void Time(const char* what, const zorva::DialState& s) {
    using namespace zorva;
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
    std::printf("%s, %dx%d image, %zu runs:\n"
                "  wall  median %.2f ms (min %.2f, max %.2f)\n  cpu   median %.2f ms (min %.2f, max %.2f)\n",
                what, size.width(), size.height(), ms.size(), ms[ms.size() / 2], ms.front(), ms.back(),
                cpu[cpu.size() / 2], cpu.front(), cpu.back());
}

}  // namespace

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
