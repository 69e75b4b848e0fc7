// Writing a planar dial as a plot stream, and saving it as DXF (plot at 25-fold resolution
// into a temporary file, then converted): the work behind the drawing window's file buttons.
#include "dials/planar_plot.h"
#include "plot/plot_stream.h"
#include "text/recording_dialogs.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

int main() {
    using namespace zorva;
    DialState plain = StartupState();
    DialState every = plain;
    every.meanTimeLines = every.italianHours = every.babylonianHours = every.temporalHours = true;
    every.altitudeLines = every.wholeHourDaylengthLines = true;
    every.hourLineInterval = '4';
    RecordingDialogs dialogs;
    for (const auto& [name, state] : {std::pair{"default wall", plain}, std::pair{"wall, every line system", every}}) {
        for (int p : {1, 25}) {
            const int runs = 10;
            qint64 bytes = 0;
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < runs; ++i) {
                QBuffer buffer;
                buffer.open(QIODevice::WriteOnly);
                PlotStream stream(buffer, p);
                CoordinateListing listing(state.language, {}, 40);
                PlanarPlotOptions options;
                options.listing = &listing;
                WritePlanarDialPlot(state, stream, options, dialogs);
                bytes = buffer.size();
            }
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / runs;
            std::printf("plot stream, %-24s p = %2d: %7.2f ms, %lld bytes, with listing\n", name, p, ms,
                        static_cast<long long>(bytes));
        }
        QTemporaryDir dir;
        PlanarSaveRequest request;
        request.fileName = dir.filePath(QStringLiteral("dial.dxf"));
        request.format = PlotFormat::Dxf;
        const auto start = std::chrono::steady_clock::now();
        SavePlanarDial(state, request, dialogs);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("DXF save,    %-24s       : %7.2f ms\n", name, ms);
    }
    return 0;
}
