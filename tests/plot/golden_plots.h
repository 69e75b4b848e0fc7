#pragma once
// The sample plot files of tests/data and how each is converted.

#include <QString>
#include <vector>

namespace zorva::test {

struct GoldenPlotCase {
    QString name;      // tests/data/<name>.plt, .dxf, .messages
    double divisor;    // 40 or 1000
    int lineWeight;
};

inline std::vector<GoldenPlotCase> GoldenPlotCases() {
    return {
        {QStringLiteral("plot_vertical_dial"), 1000, 2},  // planar dial at 25-fold resolution
        {QStringLiteral("plot_azimuth_dial"), 40, 1},     // arcs, directions, symbol set
        {QStringLiteral("plot_cone"), 1000, 1},           // the window between braces
        {QStringLiteral("plot_map_overlay"), 1000, 1},    // several heads, blank-padded numbers
        {QStringLiteral("plot_foreign"), 40, 3},          // other origin: line breaks, PR, ER, AR, SL
        {QStringLiteral("plot_sun_diagram"), 40, 1},      // the tables window's graph export
    };
}

}  // namespace zorva::test
