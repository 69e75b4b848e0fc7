// Horizon profile from a large elevation grid: a synthetic hilly tile (default 3001 x 3001
// cells of 3", about 40 MB of text) is written to a temporary file and the profile is
// computed from it for an observer in the valley nearest the middle, so that most of the
// terrain rises above the observer (the heavy case). The anchor, timed in the same run, is reading the same file line by
// line without looking at the numbers: what no profile computation can undercut.
// Usage: bench-horizon-profile [cells per side] [maximum distance km] [profile.ele to write]
//   e.g. bench-horizon-profile 6001 300     the whole 6001 x 6001 tile in range
#include "astro/terrain_profile.h"
#include "process_measure.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using zorva::bench::CountLines;
using zorva::bench::CpuSeconds;
using zorva::bench::PeakRssKb;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    using namespace zorva;
    const int side = argc > 1 ? std::max(11, std::atoi(argv[1])) : 3001;
    const double cs = 1.0 / 1200.0;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.asc"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        QByteArray head;
        head += "ncols " + QByteArray::number(side) + "\nnrows " + QByteArray::number(side) + "\n";
        head += "xllcorner 8.0\nyllcorner 46.0\ncellsize 0.000833333333\nNODATA_value -9999\n";
        f.write(head);
        QByteArray line;
        for (int r = 0; r < side; ++r) {
            line.clear();
            for (int c = 0; c < side; ++c) {
                // Rolling hills of 400..1600 m with a few no-data holes.
                const int v = (r * 7 + c * 13) % 997 == 0
                                  ? -9999
                                  : static_cast<int>(1000 + 400 * std::sin(r * 0.011) + 200 * std::cos(c * 0.017) +
                                                     (r ^ c) % 37);
                line += QByteArray::number(v);
                line += ' ';
            }
            line += "\r\n";
            f.write(line);
        }
    }
    const double megabytes = QFile(path).size() / 1e6;

    // CPU seconds, the best of three: on a loaded machine the wall clock measures the
    // neighbours too.
    constexpr int kRuns = 3;
    double anchor = 1e9;
    long long lines = 0;
    for (int i = 0; i < kRuns; ++i) {
        const double cpu = CpuSeconds();
        lines = CountLines(path);
        anchor = std::min(anchor, CpuSeconds() - cpu);
    }

    TerrainTiles tiles;
    QString problem;
    if (!tiles.add(path, problem, Language::English)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    // The valley: sin(r * 0.011) and cos(c * 0.017) at their minima nearest the middle.
    const double pi = 3.14159265358979323846;
    const double valleyRow = 1.5 * pi / 0.011 + std::round((side / 2.0 - 1.5 * pi / 0.011) / (2 * pi / 0.011)) * (2 * pi / 0.011);
    const double valleyCol = pi / 0.017 + std::round((side / 2.0 - pi / 0.017) / (2 * pi / 0.017)) * (2 * pi / 0.017);
    ProfileSettings s;
    s.latitude = 46.0 + (side - 1 - std::round(valleyRow)) * cs + cs / 2;
    s.longitude = -(8.0 + std::round(valleyCol) * cs + cs / 2);
    if (argc > 2) s.maxDistanceMetres = std::max(1.0, std::atof(argv[2])) * 1000.0;
    long long calls = 0;
    ProfileResult r;
    double seconds = 1e9, wall = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        calls = 0;
        const auto start = std::chrono::steady_clock::now();
        const double cpu = CpuSeconds();
        r = ComputeHorizonProfile(
            tiles, s, [&calls](long long, long long) { return ++calls > 0; }, Language::English);
        seconds = std::min(seconds, CpuSeconds() - cpu);
        wall = std::min(wall, Seconds(start));
    }
    int filled = 0;
    for (const HorizonRecord& rec : r.profile.records) filled += rec.empty ? 0 : 1;
    const double cells = static_cast<double>(side) * side;
    std::printf("grid %d x %d (%.1f MB), max distance %.0f km: %.2f s CPU (%.2f s wall, best of three), %.3f s per million cells, "
                "%lld cells within reach, %d of 720 sectors, %lld progress calls, status %d\n",
                side, side, megabytes, s.maxDistanceMetres / 1000.0, seconds, wall, seconds / (cells / 1e6),
                r.cellsRead, filled, calls, static_cast<int>(r.status));
    std::printf("anchor: reading the %lld lines alone %.2f s CPU (%.0f MB/s); profile / anchor = %.1f; peak RSS %.1f MB\n",
                lines, anchor, megabytes / std::max(1e-9, anchor), seconds / std::max(1e-9, anchor),
                PeakRssKb() / 1024.0);
    if (argc > 3 && r.status == ProfileStatus::Ok &&
        !WriteHorizonProfileFile(QString::fromLocal8Bit(argv[3]), r.profile, Language::English))
        return 1;
    return r.status == ProfileStatus::Ok ? 0 : 1;
}
