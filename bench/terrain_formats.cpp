// Horizon profiles from the binary elevation formats beside the ESRI ASCII grid of the same
// heights: a 3601 x 3601 SRTM tile (1") and a 10000 x 10000 GeoTIFF (1", 256-cell blocks, 16 bit),
// both written to a temporary folder at the start together with their text twins. Every
// profile is computed in a child process of its own, so that the peak memory printed is that
// of the one computation; the profiles of each pair must be the same.
// Usage: bench-terrain-formats [GeoTIFF cells per side (10000)] [SRTM tile: 1201 or 3601 (3601)]
#include "astro/terrain_profile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gdal.h>
#include <ogr_srs_api.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace zorva;

constexpr double kArcSecond = 1.0 / 3600.0;

// Hills of 400..1600 m with a few voids; the same function feeds every format.
int Height(long long r, long long c) {
    if ((r * 7 + c * 13) % 997 == 0) return -32768;
    return static_cast<int>(1000 + 400 * std::sin(r * 0.0037) + 200 * std::cos(c * 0.0057) + (r ^ c) % 37);
}

bool WriteHgt(const QString& path, int side) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    QByteArray row(2 * side, Qt::Uninitialized);
    for (int r = 0; r < side; ++r) {
        for (int c = 0; c < side; ++c) {
            const auto v = static_cast<quint16>(static_cast<qint16>(Height(r, c)));
            row[2 * c] = static_cast<char>(v >> 8);
            row[2 * c + 1] = static_cast<char>(v & 0xff);
        }
        if (f.write(row) != row.size()) return false;
    }
    return true;
}

bool WriteEsri(const QString& path, int side, double west, double north) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write("ncols " + QByteArray::number(side) + "\nnrows " + QByteArray::number(side) + "\nxllcenter " +
            QByteArray::number(west, 'f', 10) + "\nyllcenter " +
            QByteArray::number(north - (side - 1) * kArcSecond, 'f', 10) +
            "\ncellsize 0.000277777777778\nNODATA_value -32768\n");
    QByteArray line;
    for (int r = 0; r < side; ++r) {
        line.clear();
        for (int c = 0; c < side; ++c) {
            line += QByteArray::number(Height(r, c));
            line += ' ';
        }
        line += '\n';
        if (f.write(line) != line.size()) return false;
    }
    return true;
}

bool WriteGeoTiff(const QString& path, int side, double west, double north) {
    GDALAllRegister();
    const char* options[] = {"TILED=YES", "BLOCKXSIZE=256", "BLOCKYSIZE=256", "BIGTIFF=IF_SAFER", nullptr};
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.toLocal8Bit().constData(), side, side, 1, GDT_Int16,
                                 const_cast<char**>(options));
    if (!ds) return false;
    double gt[6] = {west - kArcSecond / 2, kArcSecond, 0, north + kArcSecond / 2, 0, -kArcSecond};
    GDALSetGeoTransform(ds, gt);
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, 4326);
    GDALSetSpatialRef(ds, srs);
    OSRDestroySpatialReference(srs);
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    GDALSetRasterNoDataValue(band, -32768);
    // A block row at a time: whole blocks, written once.
    const int blockRows = 256;
    std::vector<GInt16> rows(static_cast<std::size_t>(side) * blockRows);
    bool ok = true;
    for (int r0 = 0; r0 < side && ok; r0 += blockRows) {
        const int n = std::min(blockRows, side - r0);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < side; ++c) rows[static_cast<std::size_t>(r) * side + c] = static_cast<GInt16>(Height(r0 + r, c));
        ok = GDALRasterIO(band, GF_Write, 0, r0, side, n, rows.data(), side, n, GDT_Int16, 0, 0) == CE_None;
    }
    GDALClose(ds);
    return ok;
}

struct Measured {
    bool ok = false;
    double cpuSeconds = 0, wallSeconds = 0;
    double peakMb = 0;
    long long cellsRead = 0;
    unsigned long long profileHash = 0;
};

// One profile in a child process: its CPU time and peak memory are the computation's own.
Measured Measure(const QString& path, double latitude, double lonEast, double maxKm) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        TerrainTiles tiles;
        QString problem;
        Measured m;
        if (tiles.add(path, problem, Language::English)) {
            ProfileSettings s;
            s.latitude = latitude;
            s.longitude = -lonEast;
            s.maxDistanceMetres = maxKm * 1000.0;
            const ProfileResult r = ComputeHorizonProfile(tiles, s, {}, Language::English);
            m.ok = r.status == ProfileStatus::Ok;
            m.cellsRead = r.cellsRead;
            m.profileHash = qHash(HorizonProfileFileLines(r.profile, Language::English).join(QLatin1Char('\n')));
            if (!m.ok) std::fprintf(stderr, "%s\n", qPrintable(r.failure));
        } else {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
        }
        const bool written = write(fds[1], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
        _exit(written ? 0 : 1);
    }
    close(fds[1]);
    Measured m;
    const bool got = read(fds[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!got) return {};
    m.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    m.peakMb = usage.ru_maxrss / 1024.0;
    return m;
}

void Print(const char* what, const QString& path, const Measured& m) {
    std::printf("  %-22s %8.1f MB file  %7.2f s CPU  %7.2f s wall  peak %7.1f MB  %lld cells%s\n", what,
                QFile(path).size() / 1e6, m.cpuSeconds, m.wallSeconds, m.peakMb, m.cellsRead, m.ok ? "" : "  FAILED");
}

// A binary format and the text of the same heights: both profiles, and whether they agree.
bool Pair(const QByteArray& what, const QString& binary, const QString& text, double lat, double lonEast, double maxKm) {
    std::printf("%s, centre %.4f N %.4f E, max distance %.0f km:\n", what.constData(), lat, lonEast, maxKm);
    std::fflush(stdout);
    const Measured b = Measure(binary, lat, lonEast, maxKm);
    Print(QFileInfo(binary).suffix() == QLatin1String("hgt") ? "SRTM .hgt" : "GeoTIFF (GDAL)", binary, b);
    std::fflush(stdout);
    const Measured t = Measure(text, lat, lonEast, maxKm);
    Print("ESRI ASCII, same data", text, t);
    const bool same = b.ok && t.ok && b.profileHash == t.profileHash;
    std::printf("  same profile: %s; time binary / text = %.2f\n", same ? "yes" : "NO",
                b.cpuSeconds / std::max(1e-9, t.cpuSeconds));
    std::fflush(stdout);
    return same;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int tiffSide = argc > 1 ? std::max(257, std::atoi(argv[1])) : 10000;
    const int hgtSide = argc > 2 && std::atoi(argv[2]) == 1201 ? 1201 : 3601;
    QTemporaryDir dir;
    const auto started = std::chrono::steady_clock::now();

    // The tile N46E008: first column on 8 E, first row on 47 N.
    const QString hgt = dir.filePath(QStringLiteral("N46E008.hgt"));
    const QString hgtText = dir.filePath(QStringLiteral("N46E008.asc"));
    const double hgtCell = 1.0 / (hgtSide - 1);
    bool ok = WriteHgt(hgt, hgtSide);
    {
        // The text twin of a 3" tile states its own cell size.
        QFile f(hgtText);
        ok = ok && f.open(QIODevice::WriteOnly);
        f.write("ncols " + QByteArray::number(hgtSide) + "\nnrows " + QByteArray::number(hgtSide) +
                "\nxllcenter 8\nyllcenter 46\ncellsize " + QByteArray::number(hgtCell, 'f', 15) +
                "\nNODATA_value -32768\n");
        QByteArray line;
        for (int r = 0; r < hgtSide && ok; ++r) {
            line.clear();
            for (int c = 0; c < hgtSide; ++c) line += QByteArray::number(Height(r, c)) + ' ';
            line += '\n';
            ok = f.write(line) == line.size();
        }
    }
    const QString tif = dir.filePath(QStringLiteral("dem.tif"));
    const QString tifText = dir.filePath(QStringLiteral("dem.asc"));
    ok = ok && WriteGeoTiff(tif, tiffSide, 8.0, 47.0) && WriteEsri(tifText, tiffSide, 8.0, 47.0);
    if (!ok) {
        std::fprintf(stderr, "could not write the test data into %s\n", qPrintable(dir.path()));
        return 1;
    }
    std::printf("data written in %.1f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());

    // Centres in the middle; the distance reaches every corner, so every cell is looked at.
    const double hgtMid = (hgtSide - 1) / 2 * hgtCell;
    const double tifMid = (tiffSide - 1) / 2 * kArcSecond;
    const double hgtKm = 1.2 * hgtMid * 111.2 * std::sqrt(2.0), tifKm = 1.2 * tifMid * 111.2 * std::sqrt(2.0);
    bool same = Pair("SRTM tile " + QByteArray::number(hgtSide) + QByteArray(" x ") + QByteArray::number(hgtSide),
                     hgt, hgtText, 47.0 - hgtMid, 8.0 + hgtMid, hgtKm);
    same = Pair("GeoTIFF " + QByteArray::number(tiffSide) + QByteArray(" x ") + QByteArray::number(tiffSide),
                tif, tifText, 47.0 - tifMid, 8.0 + tifMid, tifKm) &&
           same;
    return same ? 0 : 1;
}
