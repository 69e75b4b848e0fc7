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

TEST(TerrainProfile, NoDataCellsAreNoPeaks) {
    QTemporaryDir dir;
    GridSpec g;
    g.cols = 5;
    g.rows = 5;
    g.centreRow = 4;
    g.centreCol = 2;
    g.extraHeader = QStringLiteral("NODATA_value  -9999\r\n");
    // -9999 must not read as a 9999 m peak.
    g.value = [](int r, int) { return QString::fromLatin1(r == 0 ? "-9999" : "10"); };
    TerrainTiles tiles;
    QString problem;
    ASSERT_TRUE(tiles.add(WriteGrid(dir, QStringLiteral("d.asc"), g), problem, Language::German));
    const ProfileResult r = ComputeHorizonProfile(tiles, Centre(1), {}, Language::German);
    ASSERT_EQ(r.status, ProfileStatus::Ok);
    EXPECT_EQ(FilledRecords(r.profile), 0);
    EXPECT_TRUE(r.notes.isEmpty());
}

// A grid whose data disagree with its header gives no profile, and the message names the
// file and the line.
TEST(TerrainProfile, DataThatDisagreeWithTheHeaderAreAnErrorNamingFileAndLine) {
    QTemporaryDir dir;
    GridSpec g;  // 41 x 41, six header lines with the NODATA line
    g.extraHeader = QStringLiteral("NODATA_value  -9999\r\n");
    g.value = [](int r, int c) { return QString::number((r * 7 + c * 3) % 50); };
    const auto failure = [&](const QString& name, const QByteArray& text, int nearCells = 5) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        TerrainTiles tiles;
        QString problem;
        EXPECT_TRUE(tiles.add(path, problem, Language::German)) << problem.toStdString();
        const ProfileResult r = ComputeHorizonProfile(tiles, Centre(nearCells), {}, Language::German);
        EXPECT_EQ(r.status, ProfileStatus::Failed);
        EXPECT_TRUE(r.notes.contains(r.failure));
        return r.failure;
    };
    QFile sound(WriteGrid(dir, QStringLiteral("g.asc"), g));
    ASSERT_TRUE(sound.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = sound.readAll().split('\n');  // 6 header lines, 41 rows, ""
    const auto joined = [](const QList<QByteArray>& l) { return l.join('\n'); };

    // The header states fewer rows than there are: the terrain would land a row too far south.
    QList<QByteArray> fewer = lines;
    fewer[1] = "nrows         40\r";
    EXPECT_EQ(failure(QStringLiteral("fewer.asc"), joined(fewer)),
              dir.filePath(QStringLiteral("fewer.asc")) +
                  QStringLiteral(", Zeile 47: Mehr Datenzeilen als die 40 des Dateikopfs (nrows)."));
    // ... or more rows than there are.
    QList<QByteArray> more = lines;
    more[1] = "nrows         42\r";
    EXPECT_EQ(failure(QStringLiteral("more.asc"), joined(more)),
              dir.filePath(QStringLiteral("more.asc")) + QStringLiteral(", Zeile 48: Die Datei ") +
                  dir.filePath(QStringLiteral("more.asc")) + QStringLiteral(" endet nach 41 statt 42 Datenzeilen."));
    // A row with a value too few, far from the centre and inside the near square: the count
    // is reported, not a missing centre.
    for (int row : {2, 19}) {
        QList<QByteArray> shortRow = lines;
        shortRow[6 + row] = shortRow[6 + row].left(shortRow[6 + row].lastIndexOf(' ')) + "\r";
        EXPECT_EQ(failure(QStringLiteral("short.asc"), joined(shortRow)),
                  dir.filePath(QStringLiteral("short.asc")) + QStringLiteral(", Zeile ") + QString::number(7 + row) +
                      QStringLiteral(": In der Datenzeile ") + QString::number(row + 1) +
                      QStringLiteral(" waren 40 Höhendaten statt genau 41"));
    }
    // "4x0" is not two numbers.
    QList<QByteArray> glued = lines;
    glued[10].replace(0, 2, "4x0");
    const QString gluedFailure = failure(QStringLiteral("glued.asc"), joined(glued));
    EXPECT_TRUE(gluedFailure.endsWith(QStringLiteral(", Zeile 11: \"4x0\" ist keine Zahl."))) << gluedFailure.toStdString();

    // Blank lines after the last row and numbers with fractions and signs are sound.
    QList<QByteArray> tidy = lines;
    tidy[7].replace(0, 1, "+7.5");
    // A run of twenty digits (123.45... written with an exponent) is one number, read exactly.
    tidy[8].replace(0, 1, "12345678901234567890e-17");
    tidy.append("   \r");
    tidy.append("");
    TerrainTiles tiles;
    QString problem;
    const QString tidyPath = dir.filePath(QStringLiteral("tidy.asc"));
    QFile f(tidyPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(joined(tidy));
    f.close();
    ASSERT_TRUE(tiles.add(tidyPath, problem, Language::German));
    EXPECT_EQ(ComputeHorizonProfile(tiles, Centre(5), {}, Language::German).status, ProfileStatus::Ok);
}

// The profile of the far terrain computed the plain way, every cell through atan2: the
// reference for the sweep, which compares slopes and takes sectors from a cheaper arc
// tangent. The near square is kept flat and low so that only the sweep contributes.
TEST(TerrainProfile, TheSweepAgreesWithThePlainComputationToTheDigitsOfTheFile) {
    QTemporaryDir dir;
    GridSpec g;
    g.cols = 401;
    g.rows = 301;
    g.centreRow = 140;
    g.centreCol = 190;
    const int nearCells = 3;
    // Rough terrain: many cells compete for each sector, some exactly as high as others.
    const auto height = [&](int r, int c) {
        if (std::abs(r - g.centreRow) <= nearCells && std::abs(c - g.centreCol) <= nearCells) return 0;
        const unsigned h = static_cast<unsigned>(r * 7919 + c * 104729) * 2654435761u;
        return static_cast<int>((h >> 20) % 400) + ((r + c) % 17 == 0 ? 300 : 0);
    };
    g.value = [&](int r, int c) { return QString::number(height(r, c)); };
    TerrainTiles tiles;
    QString problem;
    ASSERT_TRUE(tiles.add(WriteGrid(dir, QStringLiteral("rough.asc"), g), problem, Language::German));
    ProfileSettings s = Centre(nearCells);
    s.maxDistanceMetres = 12000;
    const ProfileResult r = ComputeHorizonProfile(tiles, s, {}, Language::German);
    ASSERT_EQ(r.status, ProfileStatus::Ok);

    constexpr double R = 6372800.0, rad = 3.14159265358979323846 / 180.0;
    const TerrainGridHeader& t = tiles.tiles().front();
    const double lat0 = 47.0 * rad, sinA = std::sin(s.minDistanceMetres / R / 2), sinB = std::sin(s.maxDistanceMetres / R / 2);
    const double aMin = sinA * sinA, aMax = sinB * sinB;
    HorizonProfile ref;
    for (int row = 0; row < g.rows; ++row)
        for (int col = 0; col < g.cols; ++col) {
            const double v = height(row, col);
            if (!(v > 0.0) || (std::abs(row - g.centreRow) <= nearCells && std::abs(col - g.centreCol) <= nearCells))
                continue;
            const double latDeg = t.topLatitude - row * t.cellSize;
            const double lat = latDeg * rad, dphi = (latDeg - 47.0) * rad;
            const double dl = (t.firstLongitude + col * t.cellSize - 9.0) * rad;
            const double a = std::sin(dphi / 2) * std::sin(dphi / 2) +
                             std::cos(lat0) * std::cos(lat) * (std::sin(dl / 2) * std::sin(dl / 2));
            if (a <= aMin || a > aMax) continue;
            const double cosC = 1 - 2 * a, sinC = 2 * std::sqrt(a * (1 - a));
            const double e = std::atan2((R + v) * cosC - R, (R + v) * sinC) / rad;
            const double bearing = std::atan2(std::sin(dl) * std::cos(lat),
                                              std::cos(lat0) * std::sin(lat) - std::sin(lat0) * std::cos(lat) * std::cos(dl)) / rad;
            const int k = static_cast<int>(((std::llround(bearing * 2) % 720) + 720) % 720);
            HorizonRecord& rec = ref.records[k];
            if (rec.empty || e > rec.elevation) {
                rec.elevation = e;
                rec.distanceMetres = 2 * std::asin(std::sqrt(a)) * R;
                rec.empty = false;
            }
        }
    ref.latitude = r.profile.latitude;
    ref.longitude = r.profile.longitude;
    ref.observerHeightMetres = r.profile.observerHeightMetres;
    ref.minDistanceMetres = r.profile.minDistanceMetres;
    EXPECT_GT(FilledRecords(ref), 700);
    const QStringList got = HorizonProfileFileLines(r.profile, Language::German);
    const QStringList want = HorizonProfileFileLines(ref, Language::German);
    ASSERT_EQ(got.size(), want.size());
    for (int i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
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
