// Rebuilding the five tables and drawing the two graphs of the tables window, as the window
// does after every option change: each must stay well under 0.1 s.
#include "astro/table_export.h"
#include "astro/tables.h"
#include "dials/solar_graphs.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

// Best and mean wall time of `runs` calls, in milliseconds.
void Measure(const char* what, int runs, const std::function<long()>& work) {
    double best = 1e9, total = 0;
    long sink = 0;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        sink += work();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, ms);
        total += ms;
    }
    std::printf("%-44s best %7.2f ms   mean %7.2f ms   (%d runs, %ld)\n", what, best, total / runs, runs, sink);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    using namespace zorva;
    DialState s = StartupState();
    s.latitude = 47.25;
    s.longitude = -9.55;
    s.zoneMeridian = -15;
    s.referenceYear = 1999;
    constexpr int kRuns = 20;

    Measure("month table (31 days, sun/twilight/moon)", kRuns, [&] {
        const QStringList t = BuildMonthTable(s, 1999, 6);
        return long(TableFileText(t, TableFamily::Month, TableFileKind::Csv, s).size());
    });
    const struct {
        const char* name;
        YearTableKind kind;
    } kinds[] = {{"year table: equation of time", YearTableKind::EquationOfTime},
                 {"year table: EoT + longitude correction", YearTableKind::EotWithLongitude},
                 {"year table: declination", YearTableKind::Declination},
                 {"year table: transit", YearTableKind::Transit}};
    for (const auto& k : kinds)
        Measure(k.name, kRuns, [&] {
            const QStringList t = BuildYearTable(s, k.kind, TableTarget::Window);
            return long(TableFileText(t, TableFamily::Year, TableFileKind::Text, s).size());
        });

    QImage image(1600, 1000, QImage::Format_ARGB32_Premultiplied);
    Measure("EoT graph on a 1600 x 1000 image", kRuns, [&] {
        image.fill(Qt::white);
        QPainter p(&image);
        PaintEotGraph(p, QRectF(0, 0, 1600, 1000), s);
        return 1L;
    });
    Measure("EoT graph plot file", kRuns, [&] { return long(EotGraphPlot(s, GraphPlotOptions{}).size()); });
    s.showPlaneSunlight = true;  // with the colour-10 marking of a plane
    Measure("sun-position diagram on a 1600 x 1000 image", kRuns, [&] {
        image.fill(Qt::white);
        QPainter p(&image);
        PaintSunPathDiagram(p, QRectF(0, 0, 1600, 1000), s, SunPathExtras{StateSkyMarker(s), {}, {}});
        return 1L;
    });
    Measure("sun-position diagram plot file", kRuns, [&] {
        return long(SunPathPlot(s, SunPathExtras{StateSkyMarker(s), {}, {}}).size());
    });
    return 0;
}
