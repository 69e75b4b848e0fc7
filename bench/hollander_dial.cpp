// Time to draw the cone-shadow mean-time dial into an offscreen image as the drawing window
// does, with ten-minute hour lines and three date lines per month (the densest choice).
// Must stay far below 0.1 s.
#include "screen_drawing_timing.h"

#include "dials/dial_painter.h"
#include "dials/hollander_dial.h"

#include <QGuiApplication>

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
    const double screen = Time("cone-shadow dial, 10-minute hour lines 5..20, 3 date lines per month", s);
    const QSize size(1200, 816);
    const DialRequest r = DefaultScreenRequest(s, size);
    RecordingDialogs dialogs;
    std::vector<double> construction;
    long strokes = 0;
    for (int run = 0; run < 30; ++run) {
        DiscardingPainter discard;
        const double c0 = ThreadCpuMs();
        kHollanderDial.draw(s, r, discard, dialogs);
        construction.push_back(ThreadCpuMs() - c0);
        strokes = discard.strokes;
    }
    std::sort(construction.begin(), construction.end());
    std::printf("  construction alone (%ld strokes), cpu median %.2f ms\n", strokes, construction[construction.size() / 2]);
    return screen < 100.0 ? 0 : 1;
}
