// Horizon profile from a large elevation grid: a synthetic hilly tile (default 3001 x 3001
// cells of 3", about 40 MB of text) is written to a temporary file and the profile is
// computed from it; the time per million cells is what a 6001 x 6001 tile scales with.
// Usage: bench-horizon-profile [cells per side] [maximum distance km]
#include "astro/terrain_profile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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

    TerrainTiles tiles;
    QString problem;
    if (!tiles.add(path, problem, Language::English)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    ProfileSettings s;
    s.latitude = 46.0 + side * cs / 2;
    s.longitude = -(8.0 + side * cs / 2);
    if (argc > 2) s.maxDistanceMetres = std::max(1.0, std::atof(argv[2])) * 1000.0;
    long long calls = 0;
    const auto start = std::chrono::steady_clock::now();
    const ProfileResult r = ComputeHorizonProfile(
        tiles, s, [&calls](long long, long long) { return ++calls > 0; }, Language::English);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int filled = 0;
    for (const HorizonRecord& rec : r.profile.records) filled += rec.empty ? 0 : 1;
    const double cells = static_cast<double>(side) * side;
    std::printf("grid %d x %d (%.1f MB): %.2f s, %.3f s per million cells, %lld cells within reach, "
                "%.3f s per million cells within reach, %d of 720 sectors, %lld progress calls, status %d\n",
                side, side, megabytes, seconds, seconds / (cells / 1e6), r.cellsRead,
                seconds / std::max(1e-6, r.cellsRead / 1e6), filled, calls,
                static_cast<int>(r.status));
    return r.status == ProfileStatus::Ok ? 0 : 1;
}
