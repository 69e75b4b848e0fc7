// Time to draw the heaviest drawings of the ring dial, the polar-style cylinder and the
// bi-azimuthal dial into an offscreen image as the drawing window does (gnomon where a fresh
// window puts it), and to write their plots for DXF. Must stay far below 0.1 s.
#include "dials/canvas_painter.h"
#include "dials/dial_constructions.h"
#include "dials/dial_render.h"
#include "dials/ring_dial.h"
#include "plot/plot_stream.h"
#include "text/recording_dialogs.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

double CpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}

void Time(const char* what, const std::function<void()>& work) {
    std::vector<double> ms, cpu;
    for (int run = 0; run < 30; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = CpuMs();
        work();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        cpu.push_back(CpuMs() - c0);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%s, %zu runs:\n  wall  median %.2f ms (min %.2f, max %.2f)\n  cpu   median %.2f ms (min %.2f, max %.2f)\n",
                what, ms.size(), ms[ms.size() / 2], ms.front(), ms.back(), cpu[cpu.size() / 2], cpu.front(), cpu.back());
}

void Screen(const char* what, const zorva::DialState& s, bool table = false) {
    using namespace zorva;
    const QSize size(1200, 816);
    Time(what, [&] {
        RecordingDialogs dialogs;
        QImage image(size, QImage::Format_RGB32);
        QPainter painter(&image);
        CanvasPainter canvas(painter, s.colours, QRectF(0, 0, size.width(), size.height()));
        const DialRequest r = DefaultScreenRequest(s, size);
        if (table) kRingDial.sheet(s, r, canvas, dialogs);
        else DrawDialOnScreen(s, r, canvas, dialogs);
    });
}

void Plot(const char* what, const zorva::DialState& s) {
    using namespace zorva;
    Time(what, [&] {
        RecordingDialogs dialogs;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        PlotStream stream(buffer, ConstructionFor(s)->fixedResolution ? 1 : 25);
        ConstructionFor(s)->writePlot(s, stream, dialogs);
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    using namespace zorva;
    DialState s = StartupState();
    s.dialType = 'r';
    s.rayDeflection = 2;
    s.noonLineHorizontal = true;
    s.wholeYearBand = false;
    s.localTimeReading = false;
    s.otherHourFrom = 4;
    s.otherHourTo = 20;
    s.otherHourInterval = '3';
    Screen("ring dial, both deflection scales, sliding hole, 15-minute lines 4..20 h", s);
    Screen("ring dial correction table, 4..20 h", s, true);
    Plot("ring dial plot", s);

    s = StartupState();
    s.dialType = 'z';
    s.cylinderKind = 2;
    s.cylinderHourStyle = 1;
    s.cylinderRadius = 120;
    s.cylinderGnomon = 60;
    s.cylinderWithEoT = true;
    s.otherHourFrom = 4;
    s.otherHourTo = 20;
    s.otherHourInterval = '3';
    s.dateLineMode = '1';
    Screen("polar-style cylinder, offset style, mean-time figures of eight, 15-minute lines 4..20 h", s);
    Plot("polar-style cylinder plot for DXF", s);

    s = StartupState();
    s.dialType = 'c';
    s.latitude2 = -35;
    s.longitude2 = -20;
    s.markAnalemma = true;
    s.drawingScale = 60;
    Screen("bi-azimuthal dial, 47 N / 35 S, figure of eight", s);
    Plot("bi-azimuthal dial plot for DXF", s);
    return 0;
}
