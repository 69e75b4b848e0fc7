// Screen drawing of every dial family as zorva-cli and the drawing window make it (the image
// with frame, placement and legend, 1200 x 816), twice per family: as the program starts it
// (the default of the kind) and with every line system switched on at the finest interval.
// Prints the median thread CPU time of each against one frame at 60 Hz (16.7 ms) and the
// 5 ms an untouched default should stay below, so zoom, dragging and the live shadow stay
// smooth. Exit 1 when a heaviest case misses the frame.
#include "dials/dial_render.h"
#include "state/dial_state.h"
#include "state/settings_file.h"
#include "text/recording_dialogs.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double CpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}

double MedianCpuMs(const zorva::DialState& s, int runs) {
    zorva::RecordingDialogs dialogs;
    std::vector<double> cpu;
    for (int run = 0; run < runs; ++run) {
        const double c0 = CpuMs();
        const QImage image = zorva::RenderDialImage(s, QSize(1200, 816), dialogs);
        cpu.push_back(CpuMs() - c0);
        if (image.isNull()) return -1;
    }
    std::sort(cpu.begin(), cpu.end());
    return cpu[cpu.size() / 2];
}

// Every line system the families know, at the finest intervals they offer; flags a family
// does not read leave it unchanged.
void EveryLineSystem(zorva::DialState& s) {
    s.expertMode = true;
    s.apparentTimeLines = s.meanTimeLines = s.markAnalemma = true;
    s.babylonianHours = s.italianHours = s.temporalHours = s.altitudeLines = true;
    s.wholeHourDaylengthLines = true;
    s.dateLineMode = '1';
    s.dateLinesPerMonth = 3;
    s.hourLineInterval = '4';
    s.eotHourInterval = '1';
    s.otherHourFrom = 4;
    s.otherHourTo = 20;
    s.otherHourInterval = '4';
    s.hourFrom = 4;
    s.hourTo = 20;
    s.temporalInterval = 3;
    s.wholeYearBand = true;
    s.constructWithEoT = s.cylinderWithEoT = true;
    s.monthScaleSideBySide = true;
    s.drawEcliptic = true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    using namespace zorva;
    const char* codes[] = {"h", "v", "i", "sh", "sv", "si", "q0", "q1", "q2", "z0", "z1", "z2", "k", "a", "m0", "c0", "r"};
    constexpr double kFrameMs = 1000.0 / 60, kDefaultMs = 5.0;
    std::printf("family   default ms   every line system ms   (CPU medians of 15 drawings, 1200x816)\n");
    int missed = 0;
    double worstDefault = 0, worstHeavy = 0;
    for (const char* code : codes) {
        DialState s = StartupState();
        if (!ApplyDialCode(s, QString::fromLatin1(code))) return 2;
        const double plain = MedianCpuMs(s, 15);
        EveryLineSystem(s);
        const double heavy = MedianCpuMs(s, 15);
        worstDefault = std::max(worstDefault, plain);
        worstHeavy = std::max(worstHeavy, heavy);
        missed += heavy > kFrameMs;
        std::printf("%-6s %10.2f%s %16.2f%s\n", code, plain, plain > kDefaultMs ? " (>5)" : "     ", heavy,
                    heavy > kFrameMs ? " (misses a 60 Hz frame)" : "");
    }
    std::printf("slowest default %.2f ms (goal < %.0f), slowest with every line system %.2f ms (goal < %.1f)\n",
                worstDefault, kDefaultMs, worstHeavy, kFrameMs);
    return missed ? 1 : 0;
}
