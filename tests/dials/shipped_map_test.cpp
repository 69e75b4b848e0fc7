// The coast and border data shipped with the program: found from the build tree like an
// installed program finds its data, sound to the last point, and in the right place on a
// dial: capes of the coast lie where the projection puts their coordinates.
#include "dials/map_overlay.h"

#include "recording_painter.h"
#include "state/data_files.h"
#include "support/test_support.h"
#include "text/recording_dialogs.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zorva {
namespace {

QString BuildTree() { return zorva::test::binaryPath(QString()); }

struct MapRead {
    MapReadReport report;
    std::vector<std::vector<MapPoint>> lines;
};

MapRead ReadAll(const QString& path, int minPointLength) {
    MapLineCollector c;
    MapRead r;
    r.report = ReadMapFile(path, minPointLength, c);
    r.lines = std::move(c.lines);
    return r;
}

TEST(ShippedMap, BothResolutionsOfCoastAndBordersReadWithoutAFault) {
    QStandardPaths::setTestModeEnabled(true);
    for (const char* name : {kCoastFileName, kBordersFileName}) {
        const QString fine = FindDataFile(QLatin1String(name), BuildTree());
        ASSERT_FALSE(fine.isEmpty()) << name;
        QString coarse = fine;
        coarse.replace(QStringLiteral(".dat"), QLatin1String(kCoarseMapSuffix) + QStringLiteral(".dat"));
        const MapRead f = ReadAll(fine, 8), c = ReadAll(coarse, 8);
        ASSERT_TRUE(f.report.opened && c.report.opened) << name;
        EXPECT_EQ(f.report.badPoints + c.report.badPoints, 0) << name;
        // The plot reads the same files with its shorter separator rule: nothing changes.
        EXPECT_EQ(ReadAll(fine, 4).lines.size(), f.lines.size()) << name;
        EXPECT_GT(f.report.points, 2 * c.report.points) << name;
        EXPECT_GT(c.lines.size(), 100u) << name;
    }
    QStandardPaths::setTestModeEnabled(false);
}

// A horizontal dial at the site, drawn over the coast; the cape's place on the canvas and the
// distance from it to the nearest drawn vertex, in kilometres on the earth.
struct Cape {
    const char* name;
    double latitude, longitudeEast;
};

struct Drawn {
    double nearestKm = std::numeric_limits<double>::max();
    size_t segments = 0;
};

Drawn DrawAround(const Cape& cape, double gnomonMm, const QString& programDir = BuildTree() + QLatin1Char('/')) {
    DialState s = StartupState();
    s.programDirectory = programDir;
    s.dialType = 'h';
    s.latitude = cape.latitude;
    s.longitude = -cape.longitudeEast;
    s.gnomonLength = gnomonMm;
    s.mapOverlay = true;
    s.mapCoast = true;
    s.mapBorders = false;
    DialPlane plane;
    plane.letter = 'h';
    plane.siteLatitude = cape.latitude;
    plane.g = 6371.0;  // the earth's radius: one unit is a kilometre round the centre
    plane.x0 = plane.y0 = 20000;
    plane.halfWidth = 20000;
    plane.height = 40000;
    SetPlaneOrientation(plane);
    test::RecordingPainter painter;
    RecordingDialogs dialogs;
    DrawMapOverlay(s, plane, plane.g, painter, dialogs);
    EXPECT_TRUE(dialogs.events.empty()) << cape.name;
    const MapProjection projection(plane, cape.latitude, cape.longitudeEast, plane.g);
    const QPointF q = projection.project({cape.longitudeEast, cape.latitude});
    const QPointF at(plane.x0 - q.x(), plane.y0 + q.y());
    Drawn d;
    for (const auto& line : painter.lines(10)) {
        for (const QPointF& p : line.points) d.nearestKm = std::min(d.nearestKm, std::hypot(p.x() - at.x(), p.y() - at.y()));
        ++d.segments;
    }
    return d;
}

TEST(ShippedMap, CapesLieOnTheCoastOfAHorizontalDialAtBothResolutions) {
    QStandardPaths::setTestModeEnabled(true);
    // Coordinates of the capes as surveyed, one in each quarter of the globe; the map's own
    // generalisation moves a headland by a few kilometres at 1:50 million and by up to some
    // ten at 1:110 million. A swapped or mis-signed coordinate would miss by thousands.
    const Cape capes[] = {{"Cabo da Roca", 38.7806, -9.4989},
                          {"Cape York", -10.6867, 142.5311},
                          {"Cape Agulhas", -34.8337, 20.0034},
                          {"Cape Comorin", 8.0780, 77.5410}};
    for (const Cape& cape : capes) {
        EXPECT_LT(DrawAround(cape, 200.0).nearestKm, 8.0) << cape.name << " (1:50 million)";
        EXPECT_LT(DrawAround(cape, 35.0).nearestKm, 20.0) << cape.name << " (1:110 million)";
    }
    QStandardPaths::setTestModeEnabled(false);
}

TEST(ShippedMap, TheCoarseMapIsDrawnForASmallEarthButNeverReplacesTheUsersOwn) {
    QStandardPaths::setTestModeEnabled(true);
    const Cape site{"Bodensee", 47.65, 9.58};
    const size_t small = DrawAround(site, 35.0).segments, large = DrawAround(site, 200.0).segments;
    EXPECT_GT(small, 0u);
    EXPECT_GT(large, 2 * small);
    // The user's own coast beside the program, without a coarse twin: drawn at every scale.
    QTemporaryDir own;
    QFile f(own.filePath(kCoastFileName));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#\n   9.500   47.600\n   9.600   47.700\n   9.700   47.650\n");
    f.close();
    EXPECT_EQ(DrawAround(site, 35.0, own.path() + QLatin1Char('/')).segments, 2u);
    QStandardPaths::setTestModeEnabled(false);
}

}  // namespace
}  // namespace zorva
