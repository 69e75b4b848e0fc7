#include "astro/horizon_profile.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>

namespace zorva {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

HorizonProfile SampleProfile() {
    HorizonProfile p;
    p.latitude = 47.65;
    p.longitude = -9.5833333333;  // 9 35 E
    p.observerHeightMetres = 412;
    p.minDistanceMetres = 200;
    HorizonRecord& east = p.records[180];  // azimuth -90
    east.elevation = 3.14159;
    east.distanceMetres = 12345.678;
    east.empty = false;
    HorizonRecord& north = p.records[0];
    north.elevation = -0.25;
    north.distanceMetres = 59999.5;
    north.empty = false;
    return p;
}

TEST(HorizonSectors, HalfDegreeSectorsWrapAtNorth) {
    EXPECT_EQ(HorizonSectorIndex(-180.0), 0);
    EXPECT_EQ(HorizonSectorIndex(180.0), 0);
    EXPECT_EQ(HorizonSectorIndex(179.8), 0);  // nearer to north than to 179.5
    EXPECT_EQ(HorizonSectorIndex(179.7), 719);
    EXPECT_EQ(HorizonSectorIndex(0.0), 360);
    EXPECT_EQ(HorizonSectorIndex(-90.2), 180);
    EXPECT_EQ(HorizonSectorIndex(540.0), 0);
    EXPECT_DOUBLE_EQ(HorizonSectorAzimuth(719), 179.5);

    const HorizonProfile p = SampleProfile();
    EXPECT_FALSE(HorizonElevation(p, 10.0).has_value());
    EXPECT_TRUE(SunBehindTerrain(p, -90.1, 3.0));
    EXPECT_FALSE(SunBehindTerrain(p, -90.1, 3.2));
    EXPECT_FALSE(SunBehindTerrain(p, 10.0, -5.0));  // no terrain: nothing hides the sun
}

TEST(HorizonProfileFile, LinesHaveTheFixedLayoutWithDecimalComma) {
    const QStringList de = HorizonProfileFileLines(SampleProfile(), Language::German);
    ASSERT_EQ(de.size(), 723);
    EXPECT_EQ(de[0], QStringLiteral(" 47,6500000000\t  Latitude (where South is negative)"));
    EXPECT_EQ(de[1], QStringLiteral("  9,5833333333\t Longitude (where  West is negative)"));
    EXPECT_EQ(de[2], QStringLiteral("720\t NPoints (Azimut, Elevation, Abstand),\t 412\t = Höhe des Beobachters"
                                    "\t 200\t = Mindestabstand der Objekte"));
    EXPECT_EQ(de[3], QStringLiteral("-180,00 \t   -0,2500 \t 59999,50"));
    EXPECT_EQ(de[3 + 180], QStringLiteral(" -90,00 \t    3,1416 \t 12345,68"));
    EXPECT_EQ(de[3 + 360], QStringLiteral("   0,00 \t    0,0000 \t    0,00"));  // empty
    EXPECT_EQ(de[722], QStringLiteral(" 179,50 \t    0,0000 \t    0,00"));
    const QStringList en = HorizonProfileFileLines(SampleProfile(), Language::English);
    EXPECT_TRUE(en[2].endsWith(QStringLiteral("\t 412\t = Height of observer\t 200\t = Minimum distance of objects")));
}

TEST(HorizonProfileFile, RoundTripIsByteForByteWithCrLf) {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.ele")), b = dir.filePath(QStringLiteral("b.ele"));
    ASSERT_TRUE(WriteHorizonProfileFile(a, SampleProfile(), Language::German));
    HorizonProfile read;
    ASSERT_EQ(ReadHorizonProfileFile(a, read), HorizonFileStatus::Ok);
    EXPECT_NEAR(read.latitude, 47.65, 1e-10);
    EXPECT_NEAR(read.longitude, -9.5833333333, 1e-10);
    EXPECT_EQ(read.observerHeightMetres, 412);
    EXPECT_EQ(read.minDistanceMetres, 200);
    EXPECT_FALSE(read.records[180].empty);
    EXPECT_NEAR(read.records[180].elevation, 3.1416, 1e-9);
    EXPECT_TRUE(read.records[360].empty);  // distance 0 reads as empty again
    ASSERT_TRUE(WriteHorizonProfileFile(b, read, Language::German));
    const QByteArray bytes = ReadAll(a);
    EXPECT_EQ(bytes, ReadAll(b));
    EXPECT_TRUE(bytes.startsWith(" 47,6500000000\t  Latitude"));
    EXPECT_EQ(bytes.count("\r\n"), 723);
    EXPECT_TRUE(bytes.contains("H\xF6he des Beobachters"));  // Windows-1252 like the earlier files
}

TEST(HorizonProfileFile, ReadingAcceptsPointsAndShortFilesButRejectsGarbage) {
    // Decimal points, LF, fewer points than announced: each point lands in its own sector.
    HorizonProfile p;
    ASSERT_TRUE(ParseHorizonProfileLines({QStringLiteral("-33.5\t Latitude"), QStringLiteral("151.25\t Longitude"),
                                          QStringLiteral("720\t NPoints"), QStringLiteral("  45.00 \t 2.5 \t 800.00")},
                                         p));
    EXPECT_DOUBLE_EQ(p.latitude, -33.5);
    EXPECT_DOUBLE_EQ(p.longitude, -151.25);
    EXPECT_FALSE(p.records[450].empty);
    EXPECT_DOUBLE_EQ(p.records[450].elevation, 2.5);
    EXPECT_EQ(p.records[451].azimuth, 45.5);

    // A distance the file would write as 0 is no terrain, so the profile is the same when
    // read back from its own file.
    HorizonProfile tiny;
    ASSERT_TRUE(ParseHorizonProfileLines({QStringLiteral("47"), QStringLiteral("9"), QStringLiteral("720"),
                                          QStringLiteral("10,0 \t 5,0 \t 0,004"), QStringLiteral("11,0 \t 5,0 \t 0,005")},
                                         tiny));
    EXPECT_TRUE(tiny.records[380].empty);
    EXPECT_FALSE(tiny.records[382].empty);
    HorizonProfile again;
    ASSERT_TRUE(ParseHorizonProfileLines(HorizonProfileFileLines(tiny, Language::German), again));
    EXPECT_EQ(HorizonProfileFileLines(again, Language::German), HorizonProfileFileLines(tiny, Language::German));

    HorizonProfile kept = SampleProfile();
    EXPECT_FALSE(ParseHorizonProfileLines({QStringLiteral("x"), QStringLiteral("1"), QStringLiteral("2")}, kept));
    EXPECT_FALSE(ParseHorizonProfileLines({QStringLiteral("47"), QStringLiteral("9"), QStringLiteral("720"),
                                           QStringLiteral("0,0 \t abc \t 1,0")},
                                          kept));
    EXPECT_FALSE(ParseHorizonProfileLines({QStringLiteral("147"), QStringLiteral("9"), QStringLiteral("720"),
                                           QStringLiteral("0,0 \t 1,0 \t 1,0")},
                                          kept));
    EXPECT_EQ(kept.observerHeightMetres, 412);  // untouched by the failures

    QTemporaryDir dir;
    EXPECT_EQ(ReadHorizonProfileFile(dir.filePath(QStringLiteral("none.ele")), kept), HorizonFileStatus::Missing);
}

TEST(HorizonProfileFile, WriteFailureIsReported) {
    QTemporaryDir dir;
    EXPECT_FALSE(WriteHorizonProfileFile(dir.filePath(QStringLiteral("no/such/dir/p.ele")), SampleProfile(),
                                         Language::German));
}

}  // namespace
}  // namespace zorva
