// Converts generated plot files of long polylines (5 MB, then 50 MB) and reports throughput
// and peak memory: the converter streams, so the peak must not grow with the file size.
// The anchor: hp2xx rendering the same large plot to SVG in the same run (skipped when it
// is not installed), three times each, alternating; the ratio compares the medians of CPU
// seconds, as the wall time of both is mostly the disk taking the output.
//   build/bench-hpgl2dxf [MEGABYTES (default 50)]
#include "plot/hpgl_to_dxf.h"
#include "process_measure.h"
#include "text/recording_dialogs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Processor seconds in user space and in the kernel (reading the plot, writing and syncing
// the DXF): the two are reported apart, their sum is compared.
struct CpuTimes {
    double user = 0, kernel = 0;
    double total() const { return user + kernel; }
    CpuTimes operator-(const CpuTimes& o) const { return {user - o.user, kernel - o.kernel}; }
};

double Seconds(const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; }

CpuTimes CpuOf(const rusage& usage) { return {Seconds(usage.ru_utime), Seconds(usage.ru_stime)}; }

CpuTimes CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return CpuOf(usage);
}

// A planar dial's plot at 25-fold resolution: standard head, then polylines of 900 points
// (date-line-like curves, some leaving the sheet) until the file reaches `bytes`.
bool WritePlot(const QString& path, qint64 bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write("IN;VS 1;PA;IW 0 0 403925 275950;PU 0 0;EA 403925 275950;;SP 4;PU 0 0;");
    QByteArray chunk;
    qint64 written = 0;
    for (int line = 0; written < bytes; ++line) {
        chunk = ";SP " + QByteArray::number(1 + line % 11) + ";PU ";
        for (int k = 0; k < 900; ++k) {
            const double t = k / 900.0;
            const long x = std::lround(-20000 + t * 444000);
            const long y = std::lround(137975 + 150000 * std::sin(t * 9.0 + line * 0.37) * std::cos(line * 0.11));
            chunk += QByteArray::number(static_cast<qlonglong>(x)) + ' ' + QByteArray::number(static_cast<qlonglong>(y));
            chunk += k == 0 ? ";PD" : "";
            chunk += ' ';
        }
        chunk += ";PU ;";
        written += f.write(chunk);
    }
    return true;
}

// CPU seconds of `hp2xx -m svg` on the plot; negative when it could not run.
CpuTimes Hp2xxCpuSeconds(const QString& plot, const QString& svg) {
    const QByteArray in = plot.toLocal8Bit(), out = svg.toLocal8Bit();
    const pid_t pid = fork();
    if (pid < 0) return {-1, 0};
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execlp("hp2xx", "hp2xx", "-q", "-m", "svg", "-f", out.constData(), in.constData(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) == 127) return {-1, 0};
    return CpuOf(usage);
}

CpuTimes Median(std::vector<CpuTimes> runs) {
    std::sort(runs.begin(), runs.end(), [](const CpuTimes& a, const CpuTimes& b) { return a.total() < b.total(); });
    return runs[runs.size() / 2];
}

// `runs` conversions of one plot, each followed by the anchor's run when `anchor`: both are
// taken as the median of their runs, side by side, so that a moment of load on the shared
// machine falls on either alike and moves neither figure much.
bool Run(const QTemporaryDir& dir, qint64 megabytes, int runs, bool anchor) {
    const QString plot = dir.filePath(QStringLiteral("bench.plt"));
    const QString dxf = dir.filePath(QStringLiteral("bench.dxf"));
    const QString svg = dir.filePath(QStringLiteral("bench.svg"));
    if (!WritePlot(plot, megabytes * 1000 * 1000)) return false;
    const double plotMb = QFileInfo(plot).size() / 1e6;
    std::vector<CpuTimes> ours, theirs;
    std::vector<double> walls;
    double dxfMb = 0;
    bool converted = true;
    for (int run = 0; run < runs; ++run) {
        zorva::RecordingDialogs dialogs;
        QElapsedTimer timer;
        const CpuTimes cpuBefore = CpuSeconds();
        timer.start();
        converted = zorva::ConvertPlotToDxf(plot, dxf, 2, 1000, dialogs).converted && converted;
        walls.push_back(timer.nsecsElapsed() / 1e9);
        ours.push_back(CpuSeconds() - cpuBefore);
        dxfMb = QFileInfo(dxf).size() / 1e6;
        QFile::remove(dxf);
        if (anchor) {
            theirs.push_back(Hp2xxCpuSeconds(plot, svg));
            QFile::remove(svg);
        }
    }
    const CpuTimes cpu = Median(ours);
    std::sort(walls.begin(), walls.end());
    const double seconds = walls[walls.size() / 2];
    // Wall time includes syncing the DXF to disk; CPU time is the converter's own work.
    std::printf("plot %7.1f MB -> DXF %7.1f MB: %6.2f s wall (%6.1f MB/s), %6.2f s CPU (%.2f user, %.2f kernel; "
                "%6.1f MB/s), peak RSS %6.1f MB%s%s\n",
                plotMb, dxfMb, seconds, plotMb / seconds, cpu.total(), cpu.user, cpu.kernel, plotMb / cpu.total(),
                zorva::bench::PeakRssKb() / 1024.0, runs > 1 ? "; medians of the runs" : "",
                converted ? "" : "  (NOT CONVERTED)");
    if (anchor) {
        const CpuTimes hp2xx = Median(theirs);
        if (hp2xx.user >= 0)
            std::printf("hp2xx -m svg on the same plot: %6.2f s CPU (%.2f user, %.2f kernel; %6.1f MB/s); the "
                        "converter is %.1fx as fast (%d runs each, alternating)\n",
                        hp2xx.total(), hp2xx.user, hp2xx.kernel, plotMb / hp2xx.total(), hp2xx.total() / cpu.total(),
                        runs);
        else
            std::printf("hp2xx not available: no anchor\n");
    }
    QFile::remove(plot);
    return converted;
}

}  // namespace

int main(int argc, char** argv) {
    const qint64 megabytes = argc > 1 ? std::atoll(argv[1]) : 50;
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    // The small file first: ru_maxrss only grows, so an equal peak after the large file
    // shows that memory does not depend on the file size.
    if (!Run(dir, std::max<qint64>(1, megabytes / 10), 1, false)) return 1;
    if (!Run(dir, megabytes, 3, true)) return 1;
    return 0;
}
