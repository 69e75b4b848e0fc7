// Time to draw the cone-shadow mean-time dial into an offscreen image as the drawing window
// does, with ten-minute hour lines and three date lines per month (the densest choice).
// Must stay far below 0.1 s.
#include "dials/canvas_painter.h"
#include "dials/dial_painter.h"
#include "dials/hollander_dial.h"
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

// Takes the strokes without drawing them: the construction's own share of the time.
class DiscardingPainter : public zorva::DialPainter {
public:
    void setPenRole(int) override {}
    void setPenColour(zorva::Rgb, int) override {}
    void setPenWidth(int) override {}
    void setLineStyle(zorva::LineStyle) override {}
    void moveTo(double, double) override {}
    void lineTo(double, double) override { ++strokes; }
    void circle(double, double, double, zorva::FillStyle, zorva::Rgb) override {}
    void arc(double, double, double, double, double) override {}
    void rectangle(double, double, double, double) override {}
    void fillRect(double, double, double, double, zorva::Rgb) override {}
    void polygon(const std::vector<QPointF>&, zorva::FillStyle, zorva::Rgb) override {}
    void setFont(const QString&, double, bool) override {}
    void setTextRole(int) override {}
    void setTextColour(zorva::Rgb, int) override {}
    double textHeight() const override { return 12; }
    double textWidth(const QString& t) const override { return 6.0 * t.size(); }
    void text(double, double, const QString&, zorva::TextAnchor, double) override {}
    void setWindow(double, double, double, double) override {}
    void resetWindow() override {}
    long strokes = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    using namespace zorva;
    DialState s = StartupState();
    s.dialType = 'm';
    s.hourLineInterval = '4';
    s.dateLinesPerMonth = 3;
    s.hourFrom = 5;
    s.hourTo = 20;
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
            DialRequest r;
            r.clientWidth = size.width();
            r.clientHeight = size.height();
            const GnomonPlacement g = DefaultGnomonPlacement(s, size.width(), size.height());
            r.originX = g.originX;
            r.originY = g.originY;
            r.textX = g.centreX;
            r.textY = g.centreY;
            DrawDialOnScreen(s, r, canvas, dialogs);
        }
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        cpu.push_back(cpuMs() - c0);
    }
    std::vector<double> construction;
    long strokes = 0;
    for (int run = 0; run < 30; ++run) {
        DiscardingPainter discard;
        DialRequest r;
        r.clientWidth = size.width();
        r.clientHeight = size.height();
        const GnomonPlacement g = DefaultGnomonPlacement(s, size.width(), size.height());
        r.originX = g.originX;
        r.originY = g.originY;
        const double c0 = cpuMs();
        DrawHollanderDial(s, r, discard, dialogs);
        construction.push_back(cpuMs() - c0);
        strokes = discard.strokes;
    }
    std::sort(construction.begin(), construction.end());
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("cone-shadow dial, 10-minute hour lines 5..20, 3 date lines per month, %dx%d image, %zu runs:\n"
                "  wall  median %.2f ms (min %.2f, max %.2f)\n  cpu   median %.2f ms (min %.2f, max %.2f)\n",
                size.width(), size.height(), ms.size(), ms[ms.size() / 2], ms.front(), ms.back(),
                cpu[cpu.size() / 2], cpu.front(), cpu.back());
    std::printf("  construction alone (%ld strokes), cpu median %.2f ms\n", strokes, construction[construction.size() / 2]);
    return cpu[cpu.size() / 2] < 100.0 ? 0 : 1;
}
