#include "astro/terrain_profile.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <functional>

namespace zorva {
namespace {

constexpr double kCell = 1.0 / 1200.0;  // 3 arc seconds

// An ESRI ASCII grid whose cell (centreRow, centreCol) has its centre at 47 N, 9 E.
struct GridSpec {
    int cols = 41, rows = 41;
    int centreRow = 20, centreCol = 20;
    double centreLat = 47.0, centreLonEast = 9.0;
    std::function<QString(int row, int col)> value = [](int, int) { return QStringLiteral("0"); };
    QString extraHeader;  // e.g. a NODATA line
};

QString WriteGrid(const QTemporaryDir& dir, const QString& name, const GridSpec& g) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray text;
    text += "ncols         " + QByteArray::number(g.cols) + "\r\n";
    text += "nrows         " + QByteArray::number(g.rows) + "\r\n";
    text += "xllcenter     " + QByteArray::number(g.centreLonEast - g.centreCol * kCell, 'f', 12) + "\r\n";
    text += "yllcenter     " + QByteArray::number(g.centreLat - (g.rows - 1 - g.centreRow) * kCell, 'f', 12) + "\r\n";
    text += "cellsize      0.000833333333\r\n";
    text += g.extraHeader.toLatin1();
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.cols; ++c) text += (c ? " " : "") + g.value(r, c).toLatin1();
        text += "\r\n";
    }
    f.write(text);
    return path;
}

ProfileSettings Centre(int nearCells) {
    ProfileSettings s;
    s.latitude = 47.0;
    s.longitude = -9.0;  // west positive
    s.minDistanceMetres = 180;
    s.maxDistanceMetres = 60000;
    s.nearCells = nearCells;
    return s;
}

int FilledRecords(const HorizonProfile& p) {
    int n = 0;
    for (const HorizonRecord& r : p.records) n += r.empty ? 0 : 1;
    return n;
}

TEST(TerrainProfile, SinglePeakGivesItsElevationAngleInItsSector) {
    QTemporaryDir dir;
    GridSpec g;
    g.cols = 41;
    g.rows = 321;
    g.centreRow = 310;  // the peak 300 rows (0.25 degree) due north
    g.value = [](int r, int c) { return QString::fromLatin1(r == 10 && c == 20 ? "1000" : "0"); };
    TerrainTiles tiles;
    QString problem;
    ASSERT_TRUE(tiles.add(WriteGrid(dir, QStringLiteral("n.asc"), g), problem, Language::German)) << problem.toStdString();
    const ProfileResult r = ComputeHorizonProfile(tiles, Centre(5), {}, Language::German);
    ASSERT_EQ(r.status, ProfileStatus::Ok) << r.failure.toStdString();
    EXPECT_EQ(r.groundHeightMetres, 0);
    // Central angle 0.25 degree: d = 6372800 * 0.0043633 = 27806.59 m; the peak stands
    // 1000 - 60.68 m (curvature) above the horizontal plane: atan(939.32 / 27811.0) = 1.93446.
    const HorizonRecord& north = r.profile.records[0];
    ASSERT_FALSE(north.empty);
    EXPECT_NEAR(north.elevation, 1.93446, 1e-4);
    EXPECT_NEAR(north.distanceMetres, 27806.59, 0.5);
    EXPECT_EQ(FilledRecords(r.profile), 1);  // the flat ground is not higher than the observer
    EXPECT_EQ(r.profile.observerHeightMetres, 0);
}

TEST(TerrainProfile, PlatformAndCurvatureLowerTheHorizon) {
    QTemporaryDir dir;
    GridSpec g;
    g.cols = 901;  // 0.75 degree of longitude east
    g.rows = 3;
    g.centreRow = 1;
    g.centreCol = 0;
    // 100 m high ground 40 km east, below the horizontal plane of the observer.
    const int eastCol =
        static_cast<int>(std::lround(40000.0 / (6372800.0 * 0.01745329252 * std::cos(0.820304748)) / kCell));
    g.value = [eastCol](int r, int c) { return QString::fromLatin1(r == 1 && c == eastCol ? "100" : "0"); };
    TerrainTiles tiles;
    QString problem;
    ASSERT_TRUE(tiles.add(WriteGrid(dir, QStringLiteral("e.asc"), g), problem, Language::German));
    const ProfileResult r = ComputeHorizonProfile(tiles, Centre(5), {}, Language::German);
    ASSERT_EQ(r.status, ProfileStatus::Ok);
    const HorizonRecord& east = r.profile.records[180];  // azimuth -90
    ASSERT_FALSE(east.empty);
    // At 40 km the ground falls d^2 / 2R = 125.5 m below the horizontal plane, so 100 m
    // high ground lies 25.5 m below it: atan(-25.5 / 40000) = -0.0366 degree.
    EXPECT_NEAR(east.elevation, -0.0366, 0.001);
    EXPECT_NEAR(east.distanceMetres, 40000.0, 50.0);

    ProfileSettings high = Centre(5);
    high.platformMetres = 150;  // now the ground 50 km away is lower than the observer
    const ProfileResult r2 = ComputeHorizonProfile(tiles, high, {}, Language::German);
    EXPECT_TRUE(r2.profile.records[180].empty);
    EXPECT_EQ(r2.profile.observerHeightMetres, 150);
}

TEST(TerrainProfile, NearSquareFillsEverySectorOfACloseWall) {
    // A wall of 30 m, three rows (278 m) north of the observer: neighbouring wall cells lie
    // up to 12 degrees of azimuth apart, yet every sector in front of it must see it.
    QTemporaryDir dir;
    GridSpec g;
    g.value = [](int r, int) { return QString::fromLatin1(r == 17 ? "30" : "0"); };
    TerrainTiles tiles;
    QString problem;
    ASSERT_TRUE(tiles.add(WriteGrid(dir, QStringLiteral("w.asc"), g), problem, Language::German));
    const ProfileResult r = ComputeHorizonProfile(tiles, Centre(20), {}, Language::German);
    ASSERT_EQ(r.status, ProfileStatus::Ok);
    const double wallY = 3 * kCell * 0.01745329252 * 6372800.0;
    for (int k = -150; k <= 150; ++k) {  // bearings -75 .. +75
        const HorizonRecord& rec = r.profile.records[(k + 720) % 720];
        ASSERT_FALSE(rec.empty) << "bearing " << k / 2.0;
        // The highest point of the sector lies on the wall within +-0.25 degree of its centre.
        const double b = std::abs(k / 2.0);
        const double near = wallY / std::cos(std::max(0.0, b - 0.25) * 0.0174532925199);
        const double far = wallY / std::cos((b + 0.25) * 0.0174532925199);
        EXPECT_GE(rec.distanceMetres, near - 0.5) << "bearing " << k / 2.0;
        EXPECT_LE(rec.distanceMetres, far + 0.5) << "bearing " << k / 2.0;
        const double d = rec.distanceMetres, drop = d * d / (2 * 6372800.0);  // curvature
        EXPECT_NEAR(rec.elevation, std::atan((30.0 - drop) / d) / 0.0174532925199, 0.0005)
            << "bearing " << k / 2.0;
    }
    EXPECT_TRUE(r.profile.records[360].empty);  // nothing to the south
}

TEST(TerrainProfile, NoDataAndDamagedRowsAreSkippedAndReported) {
    QTemporaryDir dir;
    GridSpec g;
    g.cols = 5;
    g.rows = 5;
    g.centreRow = 4;
    g.centreCol = 2;
    g.extraHeader = QStringLiteral("NODATA_value  -9999\r\n");
    // -9999 must not read as a 9999 m peak; row 3 has a value too few.
    g.value = [](int r, int c) {
        if (r == 2 && c == 4) return QString();
        return QString::fromLatin1(r == 0 ? "-9999" : r == 2 ? "50" : "10");
    };
    TerrainTiles tiles;
    QString problem;
    ASSERT_TRUE(tiles.add(WriteGrid(dir, QStringLiteral("d.asc"), g), problem, Language::German));
    const ProfileResult r = ComputeHorizonProfile(tiles, Centre(1), {}, Language::German);
    ASSERT_EQ(r.status, ProfileStatus::Ok);
    EXPECT_EQ(FilledRecords(r.profile), 0);
    ASSERT_EQ(r.notes.size(), 1);
    EXPECT_EQ(r.notes[0], QStringLiteral("In der Datenzeile 3 waren 4 Höhendaten statt genau 5"));
}

TEST(TerrainProfile, CancelledFailedAndOutsideCentres) {
    QTemporaryDir dir;
    GridSpec g;
    TerrainTiles tiles;
    QString problem;
    ASSERT_TRUE(tiles.add(WriteGrid(dir, QStringLiteral("c.asc"), g), problem, Language::German));
    long long seen = 0;
    const ProfileResult cancelled = ComputeHorizonProfile(
        tiles, Centre(5),
        [&seen](long long done, long long total) {
            EXPECT_LE(done, total);
            seen = done;
            return done < 10;
        },
        Language::German);
    EXPECT_EQ(cancelled.status, ProfileStatus::Cancelled);
    EXPECT_EQ(seen, 10);

    ProfileSettings away = Centre(5);
    away.latitude = 48.0;
    const ProfileResult outside = ComputeHorizonProfile(tiles, away, {}, Language::German);
    EXPECT_EQ(outside.status, ProfileStatus::Failed);
    EXPECT_EQ(outside.failure, QStringLiteral("Zentralpunkt liegt nicht im Bereich des geladenen Datenfeldes!"));

    GridSpec hole = g;
    hole.extraHeader = QStringLiteral("NODATA_value -32768\r\n");
    hole.value = [](int r, int c) { return QString::fromLatin1(r == 20 && c == 20 ? "-32768" : "5"); };
    TerrainTiles holed;
    ASSERT_TRUE(holed.add(WriteGrid(dir, QStringLiteral("h.asc"), hole), problem, Language::English));
    EXPECT_EQ(ComputeHorizonProfile(holed, Centre(5), {}, Language::English).failure,
              QStringLiteral("No elevation data at the centre point!"));
}

TEST(TerrainTiles, AdjoiningTilesOnlyAndTheMissingDirections) {
    QTemporaryDir dir;
    QString problem;
    GridSpec west;  // centre tile
    GridSpec east = west;
    east.centreCol = -20;  // shares its first column with the last column of the west tile
    east.value = [](int r, int c) { return QString::fromLatin1(r == 20 && c == 20 ? "500" : "0"); };
    GridSpec far = west;
    far.centreCol = -200;
    TerrainTiles tiles;
    ASSERT_TRUE(tiles.add(WriteGrid(dir, QStringLiteral("w.asc"), west), problem, Language::German));
    EXPECT_FALSE(tiles.add(WriteGrid(dir, QStringLiteral("w2.asc"), west), problem, Language::German));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("Diese Höhendaten sind schon geladen")));
    EXPECT_FALSE(tiles.add(WriteGrid(dir, QStringLiteral("f.asc"), far), problem, Language::German));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("Die Höhendaten grenzen nicht an")));
    ASSERT_TRUE(tiles.add(WriteGrid(dir, QStringLiteral("e.asc"), east), problem, Language::German));
    EXPECT_EQ(tiles.tiles().size(), 2u);

    // The peak 40 columns east lies in the second tile.
    const ProfileResult r = ComputeHorizonProfile(tiles, Centre(5), {}, Language::German);
    ASSERT_EQ(r.status, ProfileStatus::Ok);
    EXPECT_FALSE(r.profile.records[180].empty);

    // The tiles reach 1852 m north and south, 1264 m west and 3792 m east of the centre.
    EXPECT_EQ(tiles.missingDirections(47.0, -9.0, 500, Language::German), QString());
    EXPECT_EQ(tiles.missingDirections(47.0, -9.0, 2000, Language::German),
              QStringLiteral("Norden, Nordosten, Südosten, Süden, Südwesten, Westen, Nordwesten"));
    EXPECT_EQ(LoadMissingTilesQuestion(QStringLiteral("Norden"), Language::German),
              QStringLiteral("Sollen fehlende Höhendaten im Norden jetzt nachgeladen werden?"));
}

TEST(TerrainTiles, HeaderWithDecimalCommaCornerFormAndBadHeaders) {
    QTemporaryDir dir;
    const auto write = [&dir](const char* name, const QByteArray& text) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    TerrainGridHeader h;
    QString problem;
    // A 5 x 5 degree tile of 6001 cells: the corner lies half a cell outside the whole degree.
    ASSERT_TRUE(ReadTerrainGridHeader(write("t.asc", "ncols 6001\nnrows 6001\nxllcorner 4,999583333333\n"
                                                     "yllcorner 44,999583333333\ncellsize 0,000833333333\n"
                                                     "NODATA_value -9999\n1 2 3\n"),
                                      h, problem, Language::German))
        << problem.toStdString();
    EXPECT_EQ(h.columns, 6001);
    EXPECT_DOUBLE_EQ(h.cellSize, 1.0 / 1200.0);
    EXPECT_NEAR(h.firstLongitude, 5.0, 1e-9);
    EXPECT_NEAR(h.topLatitude, 50.0, 1e-9);
    EXPECT_NEAR(h.bottomLatitude(), 45.0, 1e-9);
    EXPECT_EQ(h.noData, -9999);
    EXPECT_EQ(h.headerLines, 6);
    // A stated 2.78e-4 is one arc second.
    ASSERT_TRUE(ReadTerrainGridHeader(write("s.asc", "ncols 2\nnrows 2\nxllcorner 9\nyllcorner 47\n"
                                                     "cellsize 2.78e-4\n1 2\n3 4\n"),
                                      h, problem, Language::German));
    EXPECT_DOUBLE_EQ(h.cellSize, 1.0 / 3600.0);

    EXPECT_FALSE(ReadTerrainGridHeader(write("b.asc", "ncols 2\nnrows x\n"), h, problem, Language::English));
    EXPECT_FALSE(ReadTerrainGridHeader(write("m.asc", "ncols 2\nnrows 2\ncellsize 1\n1 2\n"), h, problem,
                                       Language::English));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("No valid elevation data")));
    EXPECT_FALSE(ReadTerrainGridHeader(write("n.asc", "ncols 99999999999\nnrows 2\nxllcorner 9\nyllcorner 47\n"
                                                      "cellsize 1\n"),
                                       h, problem, Language::English));
    EXPECT_FALSE(ReadTerrainGridHeader(dir.filePath(QStringLiteral("missing.asc")), h, problem, Language::English));
}

TEST(TerrainProfile, DegreesMinutesSecondsOfTheCentreFields) {
    const DegMinSec a = ToDegMinSec(47.65);  // 47 39 00
    EXPECT_EQ(a.degrees, 47);
    EXPECT_EQ(a.minutes, 39);
    EXPECT_EQ(a.seconds, 0);
    EXPECT_FALSE(a.negative);
    const DegMinSec b = ToDegMinSec(-9.5833333333);  // 9 35 00, the sign picks the hemisphere
    EXPECT_EQ(b.degrees, 9);
    EXPECT_EQ(b.minutes, 35);
    EXPECT_EQ(b.seconds, 0);
    EXPECT_TRUE(b.negative);
    const DegMinSec c = ToDegMinSec(9.99999);  // 9 59 59.96: the seconds carry through
    EXPECT_EQ(c.degrees, 10);
    EXPECT_EQ(c.minutes, 0);
    EXPECT_EQ(c.seconds, 0);
}

}  // namespace
}  // namespace zorva
