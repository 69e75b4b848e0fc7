// Horizon files of the PV information service: both azimuth conventions (stated in a legend
// or a description, or told by the range of the values), CSV and JSON, interpolation to the
// half-degree sectors, the CSV written back, and files that are no horizon.
#include "astro/pvgis_horizon.h"
#include "support/test_support.h"

#include <QTemporaryDir>

#include <cmath>

namespace zorva {
namespace {

// A horizon by compass bearing (clockwise from north): a 12 degree ridge in the east-south-east.
double HeightAtBearing(double bearing) {
    const double d = std::remainder(bearing - 110.0, 360.0);
    return std::max(0.0, 12.0 - std::abs(d) * 0.4);
}

// The same horizon as a file: every 7.5 degrees, azimuths counted from south (west
// positive) or from north (east positive), optionally with the legend that says which.
QByteArray Csv(AzimuthZero zero, bool legend) {
    QByteArray text = "Latitude (decimal degrees):\t47.250\r\nLongitude (decimal degrees):\t9.550\r\n"
                      "Elevation (m):\t420\r\n\r\nA\tH_hor\tA_sun(w)\tH_sun(w)\r\n";
    for (int i = 0; i < 48; ++i) {
        const double a = zero == AzimuthZero::South ? -180.0 + 7.5 * i : 7.5 * i;
        const double bearing = zero == AzimuthZero::South ? a + 180.0 : a;
        text += QByteArray::number(a, 'f', 1) + '\t' + QByteArray::number(HeightAtBearing(bearing), 'f', 1) +
                "\t0.0\t0.0\r\n";
    }
    text += "\r\n";
    if (legend)
        text += zero == AzimuthZero::South ? "A: Azimuth (0 = S, 90 = W, -90 = E) (degree).\r\n"
                                           : "A: Azimuth (0 = N, 90 = E, 180 = S, 270 = W) (degree).\r\n";
    text += "H_hor: Horizon height (degree).\r\n";
    return text;
}

QByteArray Json(AzimuthZero zero) {
    QByteArray points;
    for (int i = 0; i < 48; ++i) {
        const double a = zero == AzimuthZero::South ? -180.0 + 7.5 * i : 7.5 * i;
        const double bearing = zero == AzimuthZero::South ? a + 180.0 : a;
        points += (i ? "," : "") + QByteArray("{\"A\": ") + QByteArray::number(a, 'f', 1) +
                  ", \"H_hor\": " + QByteArray::number(HeightAtBearing(bearing), 'f', 1) + "}";
    }
    const QByteArray description = zero == AzimuthZero::South ? "Azimuth (0 = S, 90 = W, -90 = E)" : "Azimuth (0 = N, 90 = E)";
    return "{\"inputs\": {\"location\": {\"latitude\": 47.25, \"longitude\": 9.55}}, \"outputs\": {\"horizon_profile\": [" +
           points + "]}, \"meta\": {\"outputs\": {\"horizon_profile\": {\"variables\": {\"A\": {\"description\": \"" +
           description + "\"}}}}}}";
}

PvgisHorizon Parse(const QByteArray& bytes, const char* name = "h.csv") {
    PvgisHorizon h;
    QString problem;
    EXPECT_TRUE(ParsePvgisHorizon(QString::fromLatin1(name), bytes, h, problem, Language::German))
        << problem.toStdString();
    return h;
}

// The profile's sector that faces a compass bearing.
double AtBearing(const HorizonProfile& p, double bearing) {
    return p.records[HorizonSectorIndex(bearing - 180.0)].elevation;
}

TEST(PvgisHorizon, BothConventionsInCsvAndJsonGiveTheSameProfile) {
    struct Case {
        const char* what;
        QByteArray bytes;
        AzimuthZero zero;
    };
    const Case cases[] = {{"csv from south, legend", Csv(AzimuthZero::South, true), AzimuthZero::South},
                          {"csv from north, legend", Csv(AzimuthZero::North, true), AzimuthZero::North},
                          {"csv from south, by range", Csv(AzimuthZero::South, false), AzimuthZero::South},
                          {"csv from north, by range", Csv(AzimuthZero::North, false), AzimuthZero::North},
                          {"json from south", Json(AzimuthZero::South), AzimuthZero::South},
                          {"json from north", Json(AzimuthZero::North), AzimuthZero::North}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PvgisHorizon h = Parse(c.bytes);
        EXPECT_EQ(h.zero, c.zero);
        ASSERT_EQ(h.azimuths.size(), 48u);
        ASSERT_TRUE(h.hasSite);
        EXPECT_DOUBLE_EQ(h.latitude, 47.25);
        EXPECT_DOUBLE_EQ(h.longitudeEast, 9.55);
        const HorizonProfile p = ProfileFromPvgis(h, h.latitude, -h.longitudeEast);
        EXPECT_FALSE(p.records[0].empty);
        // On the file's points the heights as given; between them on the straight line.
        EXPECT_NEAR(AtBearing(p, 105.0), 10.0, 1e-9);
        EXPECT_NEAR(AtBearing(p, 112.5), 11.0, 1e-9);
        EXPECT_NEAR(AtBearing(p, 110.0), 10.0 + 5.0 / 7.5, 1e-9);
        EXPECT_NEAR(AtBearing(p, 290.0), 0.0, 1e-9);
        // Around north the interpolation wraps from the last point to the first.
        EXPECT_NEAR(AtBearing(p, 359.5), 0.0, 1e-9);
        EXPECT_DOUBLE_EQ(p.records[0].distanceMetres, kPvgisDistanceMetres);
    }
}

TEST(PvgisHorizon, AWrittenProfileReadsBackSectorBySector) {
    HorizonProfile p;
    p.latitude = -33.9;
    p.longitude = -18.4;  // 18.4 E
    for (int k = 0; k < kHorizonRecordCount; ++k) {
        if (k % 97 == 5) continue;  // a few empty sectors, written at height 0
        p.records[k].elevation = 8.0 * std::sin(k * 0.05) + 0.12345;
        p.records[k].distanceMetres = 1000 + k;
        p.records[k].empty = false;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.csv"));
    ASSERT_TRUE(WritePvgisCsvFile(path, p));
    PvgisHorizon h;
    QString problem;
    ASSERT_TRUE(ReadPvgisHorizonFile(path, h, problem, Language::German)) << problem.toStdString();
    EXPECT_EQ(h.zero, AzimuthZero::South);
    ASSERT_EQ(h.azimuths.size(), static_cast<std::size_t>(kHorizonRecordCount));
    const HorizonProfile back = ProfileFromPvgis(h, h.latitude, -h.longitudeEast);
    EXPECT_NEAR(back.latitude, -33.9, 1e-9);
    EXPECT_NEAR(back.longitude, -18.4, 1e-9);
    for (int k = 0; k < kHorizonRecordCount; ++k)
        EXPECT_NEAR(back.records[k].elevation, p.records[k].empty ? 0.0 : p.records[k].elevation, 0.00005) << k;
}

TEST(PvgisHorizon, FilesThatAreNoHorizonAreRefusedNamingTheFile) {
    PvgisHorizon h;
    h.azimuths = {1.0};
    QString problem;
    EXPECT_FALSE(ParsePvgisHorizon(QStringLiteral("x.csv"), "Latitude: 47\r\nAz\tHeight\r\n0\t1\r\n90\t2\r\n180\t3\r\n",
                                   h, problem, Language::German));
    EXPECT_EQ(problem, QStringLiteral("x.csv: Keine Spalten A und H_hor gefunden."));
    EXPECT_EQ(h.azimuths.size(), 1u);  // untouched
    EXPECT_FALSE(ParsePvgisHorizon(QStringLiteral("y.csv"), "A\tH_hor\r\n0\t1\r\n", h, problem, Language::English));
    EXPECT_EQ(problem, QStringLiteral("y.csv: No horizon points (columns A and H_hor) found."));
    EXPECT_FALSE(ParsePvgisHorizon(QStringLiteral("z.csv"), "A\tH_hor\r\n0\t1\r\n90\t200\r\n180\t3\r\n", h, problem,
                                   Language::English));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("z.csv: Impossible horizon point 90 / 200")));
    EXPECT_FALSE(ParsePvgisHorizon(QStringLiteral("j.json"), "{\"outputs\": {\"horizon_profile\": [{\"A\": \"x\"}]}}",
                                   h, problem, Language::English));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("j.json: A horizon point without numbers")));
    EXPECT_FALSE(ParsePvgisHorizon(QStringLiteral("k.json"), "{\"outputs\": ", h, problem, Language::English));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("k.json: No readable JSON")));
    EXPECT_FALSE(ReadPvgisHorizonFile(QStringLiteral("/nonexistent/h.csv"), h, problem, Language::English));
}

}  // namespace
}  // namespace zorva
