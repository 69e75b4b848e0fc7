// Elevation grids behind one row interface: an SRTM tile and a GeoTIFF give the profile of
// the same heights written as an ESRI grid, tiles of different kinds combine, and damaged or
// unusable files are refused with the file named.
#include "astro/elevation_grid.h"
#include "astro/terrain_profile.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gdal.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <functional>
#include <vector>

namespace zorva {
namespace {

// Heights of a 3" tile: a ridge to the north-east, some voids, low ground elsewhere.
int Height(int r, int c) {
    if ((r * 31 + c * 17) % 2003 == 0) return -32768;
    const double ridge = 900.0 * std::exp(-std::pow((r - 300) / 40.0, 2)) * (c > 500 ? 1.0 : 0.3);
    return 200 + static_cast<int>(ridge) + (r ^ c) % 23;
}

QByteArray HgtBytes(int side, const std::function<int(int, int)>& height) {
    QByteArray bytes;
    bytes.reserve(2 * side * side);
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            const auto v = static_cast<quint16>(static_cast<qint16>(height(r, c)));
            bytes.append(static_cast<char>(v >> 8));
            bytes.append(static_cast<char>(v & 0xff));
        }
    return bytes;
}

// The same heights as an ESRI grid of cell centres (the tile's first row and column lie on
// its whole-degree edges).
QByteArray EsriBytes(int side, double lonWest, double latSouth, const std::function<int(int, int)>& height) {
    QByteArray text = "ncols " + QByteArray::number(side) + "\nnrows " + QByteArray::number(side) + "\nxllcenter " +
                      QByteArray::number(lonWest, 'f', 6) + "\nyllcenter " + QByteArray::number(latSouth, 'f', 6) +
                      "\ncellsize " + QByteArray::number(1.0 / (side - 1), 'f', 12) + "\nNODATA_value -32768\n";
    for (int r = 0; r < side; ++r) {
        for (int c = 0; c < side; ++c) text += (c ? " " : "") + QByteArray::number(height(r, c));
        text += '\n';
    }
    return text;
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

// Heights as a GeoTIFF written through GDAL: 16-bit, tiled in 256-cell blocks, the void value
// declared, `cols` x `rows` cells of `dLon` x `dLat` degrees whose first cell's centre lies
// at (lonCentre, latCentre), in geographic coordinates unless `epsg` names another system.
QString GeoTiffCells(const QTemporaryDir& dir, const QString& name, int cols, int rows, double lonCentre,
                     double latCentre, double dLon, double dLat, const std::function<int(int, int)>& height,
                     int epsg = 4326) {
    GDALAllRegister();
    const QString path = dir.filePath(name);
    const char* options[] = {"TILED=YES", "BLOCKXSIZE=256", "BLOCKYSIZE=256", "COMPRESS=DEFLATE", nullptr};
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.toLocal8Bit().constData(), cols, rows, 1, GDT_Int16,
                                 const_cast<char**>(options));
    EXPECT_NE(ds, nullptr);
    double gt[6] = {lonCentre - dLon / 2, dLon, 0, latCentre + dLat / 2, 0, -dLat};
    if (epsg != 4326) gt[0] = 500000, gt[1] = 30, gt[3] = 5300000, gt[5] = -30;
    GDALSetGeoTransform(ds, gt);
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, epsg);
    GDALSetSpatialRef(ds, srs);
    OSRDestroySpatialReference(srs);
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    GDALSetRasterNoDataValue(band, -32768);
    std::vector<GInt16> row(cols);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) row[c] = static_cast<GInt16>(height(r, c));
        EXPECT_EQ(GDALRasterIO(band, GF_Write, 0, r, cols, 1, row.data(), cols, 1, GDT_Int16, 0, 0), CE_None);
    }
    GDALClose(ds);
    return path;
}

// A square one-degree tile of `side` cells per side whose south-west cell centre lies at
// (lonWest, latSouth).
QString GeoTiff(const QTemporaryDir& dir, const QString& name, int side, double lonWest, double latSouth,
                const std::function<int(int, int)>& height, int epsg = 4326) {
    const double cs = 1.0 / (side - 1);
    return GeoTiffCells(dir, name, side, side, lonWest, latSouth + 1, cs, cs, height, epsg);
}

ProfileResult Profile(const QStringList& paths, double lat, double lonEast) {
    TerrainTiles tiles;
    QString problem;
    for (const QString& p : paths) EXPECT_TRUE(tiles.add(p, problem, Language::German)) << problem.toStdString();
    ProfileSettings s;
    s.latitude = lat;
    s.longitude = -lonEast;
    s.maxDistanceMetres = 60000;
    s.nearCells = 40;
    return ComputeHorizonProfile(tiles, s, {}, Language::German);
}

TEST(ElevationGrid, AnSrtmTileAndAGeoTiffGiveTheProfileOfTheSameHeightsAsText) {
    QTemporaryDir dir;
    const QString hgt = Write(dir, QStringLiteral("N47E009.hgt"), HgtBytes(1201, Height));
    const QString tif = GeoTiff(dir, QStringLiteral("dem.tif"), 1201, 9.0, 47.0, Height);
    const QString asc = Write(dir, QStringLiteral("same.asc"), EsriBytes(1201, 9.0, 47.0, Height));
    struct Expected {
        QString path;
        GridFormat format;
    };
    for (const Expected& e : {Expected{hgt, GridFormat::SrtmHgt}, Expected{tif, GridFormat::Gdal}}) {
        TerrainGridHeader h;
        QString problem;
        ASSERT_TRUE(ReadTerrainGridHeader(e.path, h, problem, Language::German)) << problem.toStdString();
        EXPECT_EQ(h.format, e.format);
        EXPECT_EQ(h.columns, 1201);
        EXPECT_EQ(h.rows, 1201);
        EXPECT_DOUBLE_EQ(h.cellSize, 1.0 / 1200.0);
        EXPECT_NEAR(h.firstLongitude, 9.0, 1e-12);
        EXPECT_NEAR(h.topLatitude, 48.0, 1e-12);
    }

    // A valley site south of the ridge.
    const ProfileResult fromAsc = Profile({asc}, 47.5, 9.6);
    ASSERT_EQ(fromAsc.status, ProfileStatus::Ok) << fromAsc.failure.toStdString();
    EXPECT_GT(fromAsc.profile.records[20].elevation, 1.0);  // the ridge, 10 degrees east of north
    const QStringList expected = HorizonProfileFileLines(fromAsc.profile, Language::German);
    EXPECT_EQ(HorizonProfileFileLines(Profile({hgt}, 47.5, 9.6).profile, Language::German), expected);
    EXPECT_EQ(HorizonProfileFileLines(Profile({tif}, 47.5, 9.6).profile, Language::German), expected);

    // Bytes in memory read as the file does.
    TerrainTiles memory;
    QString problem;
    ASSERT_TRUE(memory.addBytes(QStringLiteral("N47E009.hgt"), HgtBytes(1201, Height), problem, Language::German));
    ProfileSettings s;
    s.latitude = 47.5;
    s.longitude = -9.6;
    s.nearCells = 40;
    EXPECT_EQ(HorizonProfileFileLines(ComputeHorizonProfile(memory, s, {}, Language::German).profile, Language::German),
              expected);

    // The void value the GeoTIFF declares is a void: cell (0, 0) is one.
    const ProfileResult voidCentre = Profile({tif}, 48.0, 9.0);
    EXPECT_EQ(voidCentre.status, ProfileStatus::Failed);
    EXPECT_EQ(voidCentre.failure, QStringLiteral("Im Zentralpunkt fehlen Höhendaten!"));
}

TEST(ElevationGrid, RastersThatCannotBeUsedAreRefusedNamingTheFile) {
    QTemporaryDir dir;
    TerrainGridHeader h;
    QString problem;
    // Metres of a transverse Mercator zone are no degrees: refused with the way out.
    const QString utm = GeoTiff(dir, QStringLiteral("utm.tif"), 64, 9.0, 47.0, Height, 32632);
    EXPECT_FALSE(ReadTerrainGridHeader(utm, h, problem, Language::English));
    EXPECT_TRUE(problem.startsWith(utm + QStringLiteral(": The heights lie in the projected coordinate system \"WGS 84 / UTM zone 32N\"")))
        << problem.toStdString();
    EXPECT_TRUE(problem.contains(QStringLiteral("gdalwarp -t_srs EPSG:4326")));

    // Cut in half after it was written: the header fails or the rows do, never silently.
    const QString whole = GeoTiff(dir, QStringLiteral("cut.tif"), 1201, 9.0, 47.0, Height);
    QFile f(whole);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(f.size() / 2));
    f.close();
    TerrainTiles tiles;
    if (tiles.add(whole, problem, Language::German)) {
        ProfileSettings s;
        s.latitude = 47.5;
        s.longitude = -9.5;
        s.nearCells = 10;
        const ProfileResult r = ComputeHorizonProfile(tiles, s, {}, Language::German);
        EXPECT_EQ(r.status, ProfileStatus::Failed);
        EXPECT_TRUE(r.failure.startsWith(whole + QStringLiteral(", Zeile "))) << r.failure.toStdString();
    } else {
        EXPECT_TRUE(problem.contains(whole)) << problem.toStdString();
    }

    // Not a raster at all, under a name that claims no format.
    const QString text = Write(dir, QStringLiteral("notes.dat"), "some words\n");
    EXPECT_FALSE(ReadTerrainGridHeader(text, h, problem, Language::German));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("Keine lesbaren Höhendaten: ") + text)) << problem.toStdString();
}

// Far from the equator tiles come with cells wider than high (1.5" x 1" above 50 degrees):
// every column must stand at its own longitude, or terrain lands a third too close.
TEST(ElevationGrid, CellsWiderThanHighKeepTheirLongitudes) {
    QTemporaryDir dir;
    constexpr double kSecond = 1.0 / 3600.0;
    constexpr int kCols = 1200, kRows = 1800, kWall = 1000;
    // A 900 m north-south wall in column kWall of low ground.
    const QString tif = GeoTiffCells(dir, QStringLiteral("n51.tif"), kCols, kRows, 7.0, 51.5, 1.5 * kSecond, kSecond,
                                     [](int, int c) { return c == kWall ? 900 : 50; });
    TerrainGridHeader h;
    QString problem;
    ASSERT_TRUE(ReadTerrainGridHeader(tif, h, problem, Language::English)) << problem.toStdString();
    EXPECT_DOUBLE_EQ(h.cellSize, kSecond);
    EXPECT_NEAR(h.columnStep(), 1.5 * kSecond, 1e-15);
    EXPECT_NEAR(h.lastLongitude(), 7.0 + (kCols - 1) * 1.5 * kSecond, 1e-9);

    // The site in column 400 of row 900: the wall due east at 600 columns of 1.5".
    const double lat = 51.5 - 900 * kSecond, lonEast = 7.0 + 400 * 1.5 * kSecond;
    const ProfileResult r = Profile({tif}, lat, lonEast);
    ASSERT_EQ(r.status, ProfileStatus::Ok) << r.failure.toStdString();
    const HorizonRecord& east = r.profile.records[180];
    ASSERT_FALSE(east.empty);
    const double expected = 600 * 1.5 * kSecond * M_PI / 180.0 * kEarthRadiusMetres * std::cos(lat * M_PI / 180.0);
    // Within one cell (29 m east-west here); a 1" column step would give two thirds of it.
    EXPECT_NEAR(east.distanceMetres, expected, 30.0);
    const double rise = 850.0 - expected * expected / (2 * kEarthRadiusMetres);  // less the Earth's curvature
    EXPECT_NEAR(east.elevation, std::atan(rise / expected) * 180.0 / M_PI, 0.02);
    // Heights of the same wall in a square-celled twin lie where the wide cells put them.
    const QString square = GeoTiffCells(dir, QStringLiteral("twin.tif"), 3 * kCols / 2, kRows, 7.0, 51.5, kSecond,
                                        kSecond, [](int, int c) { return c == 3 * kWall / 2 ? 900 : 50; });
    const ProfileResult twin = Profile({square}, lat, lonEast);
    ASSERT_EQ(twin.status, ProfileStatus::Ok) << twin.failure.toStdString();
    EXPECT_NEAR(twin.profile.records[180].distanceMetres, east.distanceMetres, 1.0);
    EXPECT_NEAR(twin.profile.records[180].elevation, east.elevation, 1e-3);
}

TEST(ElevationGrid, TilesOfDifferentKindsCombine) {
    QTemporaryDir dir;
    // A 600 m plateau in the eastern tile, given as text; the site in the western SRTM tile.
    const QString west = Write(dir, QStringLiteral("n47e009.HGT"), HgtBytes(1201, [](int, int) { return 100; }));
    const QString east = Write(dir, QStringLiteral("east.asc"),
                               EsriBytes(1201, 10.0, 47.0, [](int, int c) { return c > 100 && c < 200 ? 600 : 100; }));
    const ProfileResult alone = Profile({west}, 47.5, 9.9);
    const ProfileResult both = Profile({west, east}, 47.5, 9.9);
    ASSERT_EQ(both.status, ProfileStatus::Ok) << both.failure.toStdString();
    EXPECT_TRUE(alone.profile.records[180].empty);  // due east
    ASSERT_FALSE(both.profile.records[180].empty);
    EXPECT_GT(both.profile.records[180].elevation, 1.5);
    // The same plateau as a GeoTIFF beside the SRTM tile.
    const QString eastTif = GeoTiff(dir, QStringLiteral("east.tif"), 1201, 10.0, 47.0,
                                    [](int, int c) { return c > 100 && c < 200 ? 600 : 100; });
    EXPECT_EQ(HorizonProfileFileLines(Profile({west, eastTif}, 47.5, 9.9).profile, Language::German),
              HorizonProfileFileLines(both.profile, Language::German));
}

TEST(ElevationGrid, DamagedTilesAreRefusedNamingTheFile) {
    QTemporaryDir dir;
    TerrainGridHeader h;
    QString problem;
    const QByteArray tile = HgtBytes(1201, [](int, int) { return 5; });
    // Cut short, or a name that does not say where the tile lies.
    const QString cut = Write(dir, QStringLiteral("S33W071.hgt"), tile.left(tile.size() - 2));
    EXPECT_FALSE(ReadTerrainGridHeader(cut, h, problem, Language::German));
    EXPECT_EQ(problem, cut + QStringLiteral(": 2884800 Bytes passen zu keiner SRTM-Kachel (1201 x 1201 oder 3601 x "
                                            "3601 Werte)."));
    const QString unnamed = Write(dir, QStringLiteral("tile.hgt"), tile);
    EXPECT_FALSE(ReadTerrainGridHeader(unnamed, h, problem, Language::English));
    EXPECT_EQ(problem, unnamed + QStringLiteral(": The file name names no SRTM tile (such as N47E009.hgt)."));
    EXPECT_FALSE(ReadTerrainGridHeader(dir.filePath(QStringLiteral("N00E000.hgt")), h, problem, Language::English));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("Unable to read file: ")));
    // South and west count negative: the tile's north-west cell lies at 32 S, 71 W.
    ASSERT_TRUE(ReadTerrainGridHeaderBytes(QStringLiteral("S33W071.hgt"), tile, h, problem, Language::English));
    EXPECT_DOUBLE_EQ(h.topLatitude, -32.0);
    EXPECT_DOUBLE_EQ(h.firstLongitude, -71.0);

    // A tile that shrinks after its header was read: the profile fails, it is not short.
    const QString shrinking = Write(dir, QStringLiteral("N47E009.hgt"), tile);
    TerrainTiles tiles;
    ASSERT_TRUE(tiles.add(shrinking, problem, Language::German));
    Write(dir, QStringLiteral("N47E009.hgt"), tile.left(tile.size() / 2));
    ProfileSettings s;
    s.latitude = 47.5;
    s.longitude = -9.5;
    s.nearCells = 10;
    const ProfileResult r = ComputeHorizonProfile(tiles, s, {}, Language::German);
    EXPECT_EQ(r.status, ProfileStatus::Failed);
    EXPECT_EQ(r.failure, QStringLiteral("Die Datei ") + shrinking + QStringLiteral(" endet nach 600 statt 1201 Zeilen."));
}

}  // namespace
}  // namespace zorva
