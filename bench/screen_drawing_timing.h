#pragma once
// Times one screen drawing of a dial as the drawing window makes it (1200 x 816 image, 30
// runs), prints the median, minimum and maximum of wall-clock and thread CPU time and
// returns the median CPU milliseconds.
#include "dials/canvas_painter.h"
#include "dials/dial_render.h"
#include "text/recording_dialogs.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// The machine is shared: the thread's CPU time is reported beside the wall-clock time.
inline double ThreadCpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}

inline double Time(const char* what, const zorva::DialState& s) {
    using namespace zorva;
    const QSize size(1200, 816);
    RecordingDialogs dialogs;
    std::vector<double> ms, cpu;
    for (int run = 0; run < 30; ++run) {
        QImage image(size, QImage::Format_RGB32);
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = ThreadCpuMs();
        {
            QPainter painter(&image);
            CanvasPainter canvas(painter, s.colours, QRectF(0, 0, size.width(), size.height()));
            DrawDialOnScreen(s, DefaultScreenRequest(s, size), canvas, dialogs);
        }
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        cpu.push_back(ThreadCpuMs() - c0);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%s, %dx%d image, %zu runs:\n"
                "  wall  median %.2f ms (min %.2f, max %.2f)\n  cpu   median %.2f ms (min %.2f, max %.2f)\n",
                what, size.width(), size.height(), ms.size(), ms[ms.size() / 2], ms.front(), ms.back(),
                cpu[cpu.size() / 2], cpu.front(), cpu.back());
    return cpu[cpu.size() / 2];
}

}  // namespace
