// Reading map data files (coast lines and borders): a generated file of 11 MB, then one of
// 110 MB, read through the map reader. The anchor, timed in the same run, is counting the
// lines of the same file; the peak memory must not grow with the file.
//   build/bench-map-data [MEGABYTES of the large file (default 110)]
#include "plot/map_data.h"
#include "process_measure.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using zorva::bench::CountLines;
using zorva::bench::CpuSeconds;
using zorva::bench::PeakRssKb;

// Coast-like lines of a few hundred points with "#" between them, as the usual files are.
bool WriteMap(const QString& path, long long bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    QByteArray chunk;
    long long written = 0;
    for (int line = 0; written < bytes; ++line) {
        chunk = "# " + QByteArray::number(line) + "\n";
        for (int k = 0; k < 400; ++k) {
            const double lon = -179.0 + std::fmod(line * 0.731 + k * 0.0137, 358.0);
            const double lat = -70.0 + std::fmod(line * 0.377 + 5.0 * std::sin(k * 0.05), 140.0);
            chunk += "  " + QByteArray::number(lon, 'f', 5) + "  " + QByteArray::number(lat, 'f', 5) + "\n";
        }
        written += f.write(chunk);
    }
    return true;
}

class Counter : public zorva::MapLineSink {
public:
    void beginLine() override { ++lines; }
    void point(const zorva::MapPoint& p) override { sum += p.longitude; }
    void endLine() override {}
    long long lines = 0;
    double sum = 0;
};

bool Run(const QTemporaryDir& dir, long long megabytes) {
    const QString path = dir.filePath(QStringLiteral("map.dat"));
    if (!WriteMap(path, megabytes * 1000 * 1000)) return false;
    const double mb = QFile(path).size() / 1e6;
    double t0 = CpuSeconds();
    const long long textLines = CountLines(path);
    const double anchor = CpuSeconds() - t0;
    Counter counter;
    t0 = CpuSeconds();
    const zorva::MapReadReport report = zorva::ReadMapFile(path, 8, counter);
    const double seconds = CpuSeconds() - t0;
    std::printf("map file %6.1f MB, %lld lines: %.3f s CPU (%.0f MB/s), %lld points in %lld map lines; anchor: counting "
                "the lines %.3f s (%.0f MB/s), reader / anchor = %.1f; peak RSS %.1f MB\n",
                mb, textLines, seconds, mb / seconds, report.points, counter.lines, anchor, mb / anchor,
                seconds / anchor, PeakRssKb() / 1024.0);
    QFile::remove(path);
    return report.opened;
}

}  // namespace

int main(int argc, char** argv) {
    const long long megabytes = argc > 1 ? std::max(1LL, std::atoll(argv[1])) : 110;
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    // The small file first: ru_maxrss only grows, so an equal peak after the large file
    // shows that memory does not depend on the file size.
    if (!Run(dir, std::max(1LL, megabytes / 10))) return 1;
    return Run(dir, megabytes) ? 0 : 1;
}
