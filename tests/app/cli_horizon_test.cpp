// zorva-cli horizon computes and writes the profile file; plane-sunlight prints the label
// of the sun-position diagram.
#include "app/cli/cli.h"
#include "app/cli_run.h"
#include "astro/horizon_profile.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>

namespace zorva::cli {
namespace {

using testing_support::run;

// 41 x 41 cells of 3" with the centre cell at 47 N, 9 E on 500 m ground, and one 800 m
// peak 20 cells (1853 m) due north.
QString WriteTile(const QTemporaryDir& dir, const char* name, double lonEastCentre) {
    const double cs = 1.0 / 1200.0;
    QByteArray text = "ncols 41\r\nnrows 41\r\nxllcenter " + QByteArray::number(lonEastCentre - 20 * cs, 'f', 10) +
                      "\r\nyllcenter " + QByteArray::number(47.0 - 20 * cs, 'f', 10) +
                      "\r\ncellsize 0.000833333333\r\nNODATA_value -9999\r\n";
    for (int r = 0; r < 41; ++r) {
        for (int c = 0; c < 41; ++c) text += (c ? " " : "") + QByteArray(r == 0 && c == 20 ? "800" : "500");
        text += "\r\n";
    }
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    return path;
}

const QStringList kSite{QStringLiteral("--lang"), QStringLiteral("de"), QStringLiteral("--lat"), QStringLiteral("47N"),
                        QStringLiteral("--lon"), QStringLiteral("9E")};

TEST(CliHorizon, WritesTheProfileAroundTheSite) {
    QTemporaryDir dir;
    const QString grid = WriteTile(dir, "a.asc", 9.0);
    const QString out = dir.filePath(QStringLiteral("p.ele"));
    const auto r = run(kSite + QStringList{QStringLiteral("horizon"), QStringLiteral("--grid"), grid,
                                           QStringLiteral("--out"), out, QStringLiteral("--max-distance"),
                                           QStringLiteral("3"), QStringLiteral("--platform"), QStringLiteral("10")});
    ASSERT_EQ(r.status, kOk) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Horizontprofil im Punkt:   47.00000000 /    9.00000000")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("100 %")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Horizontprofil erstellt! Standorthöhe=500")));
    EXPECT_TRUE(r.err.contains(out + QStringLiteral(" : Datei gespeichert!")));
    HorizonProfile p;
    ASSERT_EQ(ReadHorizonProfileFile(out, p), HorizonFileStatus::Ok);
    EXPECT_EQ(p.observerHeightMetres, 510);
    EXPECT_DOUBLE_EQ(p.latitude, 47.0);
    EXPECT_DOUBLE_EQ(p.longitude, -9.0);
    // 290 m above the observer at 1853 m: atan((290 - 0.27) / 1853.3) = 8.89 degrees.
    ASSERT_FALSE(p.records[0].empty);
    EXPECT_NEAR(p.records[0].elevation, 8.89, 0.01);
    EXPECT_NEAR(p.records[0].distanceMetres, 1853.3, 1.0);
}

TEST(CliHorizon, GridsOfMixedFormatsCombine) {
    QTemporaryDir dir;
    // A flat SRTM tile (46..47 N, 9..10 E, 3") and north of it a text grid with a 900 m peak
    // 1.2 km north of the site.
    const QString hgt = dir.filePath(QStringLiteral("N46E009.hgt"));
    QFile f(hgt);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray row;
    for (int c = 0; c < 1201; ++c) row += QByteArray("\x01\xf4", 2);  // 500 m
    for (int r = 0; r < 1201; ++r) f.write(row);
    f.close();
    const double cs = 1.0 / 1200.0;
    QByteArray text = "ncols 1201\nnrows 20\nxllcenter 9\nyllcenter " + QByteArray::number(47.0 + cs, 'f', 12) +
                      "\ncellsize " + QByteArray::number(cs, 'f', 12) + "\nNODATA_value -9999\n";
    for (int r = 0; r < 20; ++r) {
        for (int c = 0; c < 1201; ++c) text += (c ? " " : "") + QByteArray(r == 19 - 2 && c == 600 ? "900" : "500");
        text += "\n";
    }
    const QString asc = dir.filePath(QStringLiteral("north.asc"));
    QFile g(asc);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(text);
    g.close();
    const QString out = dir.filePath(QStringLiteral("p.ele"));
    // The site 10 cells south of the tile's northern edge.
    const QStringList site{QStringLiteral("--lat"), QString::number(47.0 - 10 * cs, 'f', 10), QStringLiteral("--lon"),
                           QStringLiteral("9.5E")};
    const auto r = run(site + QStringList{QStringLiteral("horizon"), QStringLiteral("--grid"), hgt, QStringLiteral("--grid"),
                                          asc, QStringLiteral("--out"), out, QStringLiteral("--max-distance"),
                                          QStringLiteral("5")});
    ASSERT_EQ(r.status, kOk) << r.err.toStdString();
    HorizonProfile p;
    ASSERT_EQ(ReadHorizonProfileFile(out, p), HorizonFileStatus::Ok);
    EXPECT_EQ(p.observerHeightMetres, 500);
    // 400 m up at 13 cells (1204 m) north: about 18.4 degrees.
    ASSERT_FALSE(p.records[0].empty);
    EXPECT_NEAR(p.records[0].elevation, 18.4, 0.1);
    EXPECT_TRUE(p.records[180].empty);  // flat to the east
}

TEST(CliHorizon, FaultyInputAndBadCommandLines) {
    QTemporaryDir dir;
    const QString grid = WriteTile(dir, "a.asc", 9.0);
    const QString far = WriteTile(dir, "far.asc", 10.0);
    const QString out = dir.filePath(QStringLiteral("p.ele"));
    const QStringList cmd{QStringLiteral("horizon"), QStringLiteral("--out"), out};

    // A tile that does not adjoin: reported, nothing written.
    auto r = run(kSite + cmd + QStringList{QStringLiteral("--grid"), grid, QStringLiteral("--grid"), far});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Die Höhendaten grenzen nicht an die geladenen an")));
    EXPECT_FALSE(QFile::exists(out));
    // The site outside the data.
    r = run(QStringList{QStringLiteral("--lang"), QStringLiteral("de"), QStringLiteral("--lat"), QStringLiteral("48N"),
                        QStringLiteral("--lon"), QStringLiteral("9E")} +
            cmd + QStringList{QStringLiteral("--grid"), grid});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Zentralpunkt liegt nicht im Bereich des geladenen Datenfeldes!")));
    // The default 60 km reach beyond the small tile in every direction.
    r = run(kSite + cmd + QStringList{QStringLiteral("--grid"), grid});
    EXPECT_EQ(r.status, kOk);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Sollen fehlende Höhendaten im Norden, Nordosten")));

    EXPECT_EQ(run(kSite + cmd + QStringList{QStringLiteral("--grid"), grid, QStringLiteral("--min-distance"),
                                            QStringLiteral("50")})
                  .status,
              kBadCommandLine);
    EXPECT_EQ(run(kSite + cmd + QStringList{QStringLiteral("--grid"), grid, QStringLiteral("--platform"),
                                            QStringLiteral("301")})
                  .status,
              kBadCommandLine);
    EXPECT_EQ(run(kSite + QStringList{QStringLiteral("horizon"), QStringLiteral("--grid"), grid}).status,
              kBadCommandLine);
}

TEST(CliHorizon, AGridThatDisagreesWithItsHeaderWritesNothing) {
    QTemporaryDir dir;
    const QString grid = WriteTile(dir, "a.asc", 9.0);
    QFile f(grid);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    f.close();
    // One row fewer stated than written: the terrain would land one row too far south.
    text.replace("nrows 41", "nrows 40");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    f.close();
    const QString out = dir.filePath(QStringLiteral("p.ele"));
    const auto r = run(kSite + QStringList{QStringLiteral("horizon"), QStringLiteral("--grid"), grid,
                                           QStringLiteral("--out"), out, QStringLiteral("--max-distance"),
                                           QStringLiteral("3")});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(grid + QStringLiteral(", Zeile 47: Mehr Datenzeilen als die 40 des Dateikopfs (nrows).")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Die Aufgabe kann nicht geloest werden!")));
    EXPECT_FALSE(QFile::exists(out));
}

TEST(CliHorizon, PvgisFileToProfileAndAComputedProfileAsCsv) {
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("pvgis.csv"));
    {
        QFile f(in);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Latitude (decimal degrees):\t46.5\r\nLongitude (decimal degrees):\t8.25\r\n\r\nA\tH_hor\r\n");
        for (int i = 0; i < 8; ++i) f.write(QByteArray::number(-180 + 45 * i) + "\t" + QByteArray::number(i) + "\r\n");
        f.write("\r\nA: Azimuth (0 = S, 90 = W, -90 = E) (degree).\r\n");
    }
    const QString ele = dir.filePath(QStringLiteral("p.ele"));
    auto r = run(kSite + QStringList{QStringLiteral("horizon"), QStringLiteral("--pvgis"), in, QStringLiteral("--out"), ele});
    ASSERT_EQ(r.status, kOk) << r.err.toStdString();
    HorizonProfile p;
    ASSERT_EQ(ReadHorizonProfileFile(ele, p), HorizonFileStatus::Ok);
    EXPECT_DOUBLE_EQ(p.latitude, 46.5);  // the file's own site
    EXPECT_DOUBLE_EQ(p.longitude, -8.25);
    EXPECT_NEAR(p.records[HorizonSectorIndex(0.0)].elevation, 4.0, 1e-4);    // south
    EXPECT_NEAR(p.records[HorizonSectorIndex(22.5)].elevation, 4.5, 1e-4);   // halfway to south-west

    // A grid's profile written as CSV reads back as the same horizon.
    const QString tile = WriteTile(dir, "a.asc", 9.0);
    const QString csv = dir.filePath(QStringLiteral("p.csv")), direct = dir.filePath(QStringLiteral("direct.ele"));
    for (const QString& out : {csv, direct}) {
        r = run(kSite + QStringList{QStringLiteral("horizon"), QStringLiteral("--grid"), tile, QStringLiteral("--out"), out,
                                    QStringLiteral("--max-distance"), QStringLiteral("3")});
        ASSERT_EQ(r.status, kOk) << r.err.toStdString();
    }
    r = run(kSite + QStringList{QStringLiteral("horizon"), QStringLiteral("--pvgis"), csv, QStringLiteral("--out"), ele});
    ASSERT_EQ(r.status, kOk) << r.err.toStdString();
    HorizonProfile fromGrid;
    ASSERT_EQ(ReadHorizonProfileFile(ele, p), HorizonFileStatus::Ok);
    ASSERT_EQ(ReadHorizonProfileFile(direct, fromGrid), HorizonFileStatus::Ok);
    EXPECT_GT(fromGrid.records[0].elevation, 9.0);  // the peak due north
    for (int k = 0; k < kHorizonRecordCount; ++k)
        EXPECT_NEAR(p.records[k].elevation, fromGrid.records[k].empty ? 0.0 : fromGrid.records[k].elevation, 1e-4) << k;

    // Wrong columns: said with the file's name, nothing written; a grid and a PVGIS file at
    // once is a bad command line.
    const QString wrong = dir.filePath(QStringLiteral("wrong.csv"));
    {
        QFile f(wrong);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Azimuth;Height\r\n0;1\r\n90;2\r\n180;3\r\n");
    }
    const QString none = dir.filePath(QStringLiteral("none.ele"));
    r = run(kSite + QStringList{QStringLiteral("horizon"), QStringLiteral("--pvgis"), wrong, QStringLiteral("--out"), none});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(wrong + QStringLiteral(": Keine Spalten A und H_hor gefunden."))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(none));
    EXPECT_EQ(run(kSite + QStringList{QStringLiteral("horizon"), QStringLiteral("--pvgis"), in, QStringLiteral("--grid"),
                                      WriteTile(dir, "b.asc", 9.0), QStringLiteral("--out"), none})
                  .status,
              kBadCommandLine);
}

TEST(CliHorizon, SunriseOverTheTerrainOfAProfile) {
    QTemporaryDir dir;
    HorizonProfile flat, ridge;
    for (HorizonRecord& r : ridge.records) {
        r.elevation = 8.0;
        r.distanceMetres = 3000;
        r.empty = false;
    }
    flat.latitude = ridge.latitude = 47;
    flat.longitude = ridge.longitude = -9;
    const QString flatPath = dir.filePath(QStringLiteral("flat.ele")), ridgePath = dir.filePath(QStringLiteral("ridge.ele"));
    ASSERT_TRUE(WriteHorizonProfileFile(flatPath, flat, Language::German));
    ASSERT_TRUE(WriteHorizonProfileFile(ridgePath, ridge, Language::German));
    const QStringList day = kSite + QStringList{QStringLiteral("sun"), QStringLiteral("1999-03-21")};

    const auto plain = run(day);
    ASSERT_EQ(plain.status, kOk) << plain.err.toStdString();
    const auto overFlat = run(day + QStringList{QStringLiteral("--terrain"), flatPath});
    EXPECT_EQ(overFlat.out, plain.out);
    const auto overRidge = run(day + QStringList{QStringLiteral("--terrain"), ridgePath});
    ASSERT_EQ(overRidge.status, kOk);
    const QStringList a = plain.out.split(QLatin1Char('\n')), b = overRidge.out.split(QLatin1Char('\n'));
    ASSERT_EQ(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i) {
        // Only the sun's line changes; twilight and moon keep the flat horizon.
        if (a[i].contains(QStringLiteral("Sonne Aufgang"))) EXPECT_NE(a[i], b[i]);
        else EXPECT_EQ(a[i], b[i]);
    }

    // The month table says so under the table.
    const QStringList month = kSite + QStringList{QStringLiteral("table"), QStringLiteral("month"), QStringLiteral("1999-03")};
    const auto table = run(month + QStringList{QStringLiteral("--terrain"), ridgePath});
    ASSERT_EQ(table.status, kOk) << table.err.toStdString();
    EXPECT_TRUE(table.out.contains(QStringLiteral("Sonne auf/unter: über dem Horizontprofil."))) << table.out.toStdString();
    EXPECT_NE(table.out, run(month).out);

    const auto missing = run(day + QStringList{QStringLiteral("--terrain"), dir.filePath(QStringLiteral("none.ele"))});
    EXPECT_EQ(missing.status, kBadCommandLine);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("--terrain"))) << missing.err.toStdString();
}

TEST(CliPlaneSunlight, PrintsTheLabelOfThePlane) {
    const auto r = run(QStringList{QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("--lat"),
                                   QStringLiteral("47.25N"), QStringLiteral("--lon"), QStringLiteral("9.59E"),
                                   QStringLiteral("--zone"), QStringLiteral("15E"), QStringLiteral("plane-sunlight"),
                                   QStringLiteral("--inclination"), QStringLiteral("90"),
                                   QStringLiteral("--declination"), QStringLiteral("0"),
                                   QStringLiteral("--longitude-correction")});
    ASSERT_EQ(r.status, kOk) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Theoret. limits of sunshine: earliest / latest grazing light:            6:22 -  "
                                    "18:22  Apparent Zone Time (without EoT)\n"));
    EXPECT_EQ(run({QStringLiteral("plane-sunlight"), QStringLiteral("--inclination"), QStringLiteral("181")}).status,
              kBadCommandLine);
}

}  // namespace
}  // namespace zorva::cli
