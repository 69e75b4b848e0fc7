// libFuzzer target: GeoTIFF elevation rasters read through GDAL. The input describes a raster
// (size, position, cell size and shape, coordinate system, rotation, data type, void value,
// block layout) and its heights; GDAL writes it, the grid reader takes it. A raster in
// geographic coordinates, north up, must be taken at its place and read back cell for
// cell (voids as NaN), and a profile around one of its cells must be sound; any other raster
// must be refused with a message naming the file. With the last option bit the input's bytes
// themselves are the file: refused or read, never a crash.
#include "profile_checks.h"

#include "astro/elevation_grid.h"

#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace zorva;

// GDAL writes the raster as the input says; false when GDAL itself refuses.
struct Raster {
    int width = 1, height = 1;
    double west = 0, north = 0, cell = 1.0 / 1200;
    int epsg = 4326;  // 0: no coordinate system
    bool rotated = false, wideCells = false, tiled = false, floats = false, voids = false;
};

bool WriteRaster(const QString& path, const Raster& r, const std::vector<double>& heights) {
    const char* tiled[] = {"TILED=YES", "BLOCKXSIZE=16", "BLOCKYSIZE=16", nullptr};
    const char* striped[] = {nullptr};
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.toLocal8Bit().constData(), r.width, r.height, 1,
                                 r.floats ? GDT_Float32 : GDT_Int16, const_cast<char**>(r.tiled ? tiled : striped));
    if (!ds) return false;
    double gt[6] = {r.west, r.wideCells ? r.cell * 1.5 : r.cell, r.rotated ? r.cell / 7 : 0.0, r.north, 0.0, -r.cell};
    if (r.epsg != 4326 && r.epsg != 0) gt[0] = 500000 + r.west * 1000, gt[1] = 30, gt[3] = 5300000, gt[5] = -30;
    GDALSetGeoTransform(ds, gt);
    if (r.epsg != 0) {
        OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(srs, r.epsg);
        GDALSetSpatialRef(ds, srs);
        OSRDestroySpatialReference(srs);
    }
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    if (r.voids) GDALSetRasterNoDataValue(band, -32768);
    std::vector<double> copy(heights);
    const bool ok = GDALRasterIO(band, GF_Write, 0, 0, r.width, r.height, copy.data(), r.width, r.height, GDT_Float64,
                                 0, 0) == CE_None;
    GDALClose(ds);
    return ok;
}

void CheckRawFile(const uint8_t* data, size_t size, Language lang) {
    const QString path = fuzz::WriteInput(QStringLiteral("raw.tif"), data, size);
    TerrainGridHeader h;
    QString problem;
    if (!ReadTerrainGridHeader(path, h, problem, lang)) {
        if (!problem.contains(path)) fuzz::PropertyBroken("the refusal does not name the file", problem);
        return;
    }
    const std::unique_ptr<GridRowReader> rows = GridRowReader::open(h, lang);
    std::vector<float> row(static_cast<size_t>(std::min<long long>(h.columns, 1 << 20)));
    if (static_cast<long long>(row.size()) != h.columns) return;
    for (long long r = 0; r < std::min<long long>(h.rows, 64); ++r)
        if (!rows->read(row.data())) {
            if (!rows->problem().contains(path)) fuzz::PropertyBroken("a row fault does not name the file", rows->problem());
            return;
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = (GDALAllRegister(), CPLSetErrorHandler(CPLQuietErrorHandler), true);
    (void)registered;
    const uint8_t options = fuzz::TakeOptionByte(data, size);
    const Language lang = (options & 1) ? Language::English : Language::German;
    if (options & 128) {
        CheckRawFile(data, size, lang);
        return 0;
    }
    if (size < 6) return 0;

    Raster r;
    r.width = 1 + data[0] % 48;
    r.height = 1 + data[1] % 48;
    r.cell = (1 + data[2] % 4) / 1200.0;  // 3" to 12"
    r.west = (data[3] % 120) - 60 + 0.25;
    r.north = (data[4] % 100) - 50 + 0.5;
    static const int kSystems[] = {4326, 4326, 32632, 0};
    r.epsg = kSystems[(options >> 1) & 3];
    r.rotated = options & 8;
    r.wideCells = options & 16;
    r.tiled = options & 32;
    r.floats = options & 64;
    r.voids = data[5] & 1;
    data += 6;
    size -= 6;

    std::vector<double> heights(static_cast<size_t>(r.width) * r.height);
    for (size_t i = 0; i < heights.size(); ++i) {
        const uint8_t a = size ? data[(2 * i) % size] : 0, b = size ? data[(2 * i + 1) % size] : 0;
        double v = static_cast<int16_t>((a << 8 | b) % 9000);
        if (r.voids && a == 0xff) v = -32768;
        else if (r.floats) v += (b % 4) * 0.25;
        heights[i] = v;
    }
    const QString path = fuzz::WorkFile(QStringLiteral("dem.tif"));
    if (!WriteRaster(path, r, heights)) return 0;

    TerrainGridHeader h;
    QString problem;
    const bool taken = ReadTerrainGridHeader(path, h, problem, lang);
    const bool sound = r.epsg == 4326 && !r.rotated;
    if (!sound) {
        if (taken) fuzz::PropertyBroken("a raster that is not a north-up geographic grid was taken");
        if (!problem.contains(path)) fuzz::PropertyBroken("the refusal does not name the file", problem);
        return 0;
    }
    if (!taken) fuzz::PropertyBroken("a sound raster was refused", problem);
    // The header speaks of cell centres.
    const double width = r.wideCells ? r.cell * 1.5 : r.cell;
    if (h.format != GridFormat::Gdal || h.rows != r.height || h.columns != r.width ||
        std::abs(h.cellSize - r.cell) > 1e-12 || std::abs(h.columnStep() - width) > 1e-12 ||
        std::abs(h.firstLongitude - (r.west + width / 2)) > 1e-9 || std::abs(h.topLatitude - (r.north - r.cell / 2)) > 1e-9)
        fuzz::PropertyBroken("the raster is not where the file puts it");

    const std::unique_ptr<GridRowReader> rows = GridRowReader::open(h, lang);
    std::vector<float> row(static_cast<size_t>(r.width));
    for (int y = 0; y < r.height; ++y) {
        if (!rows->read(row.data())) fuzz::PropertyBroken("a row could not be read", rows->problem());
        for (int x = 0; x < r.width; ++x) {
            const double want = heights[static_cast<size_t>(y) * r.width + x];
            const float got = row[static_cast<size_t>(x)];
            const bool isVoid = r.voids && want == -32768;
            if (isVoid ? !std::isnan(got) : got != static_cast<float>(want))
                fuzz::PropertyBroken("a height changed on its way through the raster",
                                     QStringLiteral("row %1 column %2").arg(y).arg(x));
        }
    }
    if (rows->read(row.data()) || !rows->checkEnd()) fuzz::PropertyBroken("the raster reads beyond its last row");

    TerrainTiles tiles;
    if (!tiles.add(path, problem, lang)) fuzz::PropertyBroken("the raster was refused as a tile", problem);
    ProfileSettings settings;
    const int cy = (size > 0 ? data[0] : 0) % r.height, cx = (size > 1 ? data[1] : 0) % r.width;
    settings.latitude = h.topLatitude - cy * h.cellSize;
    settings.longitude = -(h.firstLongitude + cx * h.cellSize);
    settings.minDistanceMetres = 10.0;
    settings.maxDistanceMetres = 3000.0;
    settings.nearCells = 2;
    fuzz::CheckComputedProfile(ComputeHorizonProfile(tiles, settings, {}, lang), settings);
    return 0;
}
