// Map data files: how separators, points off the globe and unreadable points shape the map
// lines, the one report about unreadable points, and that a file read in blocks gives what
// the same bytes give in memory.
#include "plot/map_data.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

namespace zorva {
namespace {

struct Read {
    MapReadReport report;
    std::vector<std::vector<MapPoint>> lines;
};

Read FromBytes(const std::string& bytes, int minLength) {
    MapLineCollector c;
    Read r;
    r.report = ReadMapBytes(bytes, minLength, c);
    r.lines = std::move(c.lines);
    return r;
}

Read FromFile(const QString& path, int minLength) {
    MapLineCollector c;
    Read r;
    r.report = ReadMapFile(path, minLength, c);
    r.lines = std::move(c.lines);
    return r;
}

void ExpectSameLines(const Read& a, const Read& b) {
    ASSERT_EQ(a.lines.size(), b.lines.size());
    for (std::size_t i = 0; i < a.lines.size(); ++i) {
        ASSERT_EQ(a.lines[i].size(), b.lines[i].size()) << "map line " << i;
        for (std::size_t j = 0; j < a.lines[i].size(); ++j) {
            EXPECT_EQ(a.lines[i][j].longitude, b.lines[i][j].longitude);
            EXPECT_EQ(a.lines[i][j].latitude, b.lines[i][j].latitude);
        }
    }
    EXPECT_EQ(a.report.points, b.report.points);
    EXPECT_EQ(a.report.badPoints, b.report.badPoints);
    EXPECT_EQ(a.report.firstBadLine, b.report.firstBadLine);
}

TEST(MapData, SeparatorsOffGlobePointsAndBadNumbersShapeTheLines) {
    const std::string text =
        "# Bodensee\r\n"
        "   9.55  47.25\r\n"
        "   9.60 , 47.30\r\n"
        " 181.00  47.30\n"  // off the globe: breaks the line
        "   9.70  47.40\n"
        "   9.80  47.50\n"
        "   x.y9  47.50\n"  // no number: reported, the line goes on
        "   9.90  47.60\n"
        "short\n"           // shorter than a point: separator
        "  10.00  47.70\n"
        "  10.10  47.80\n"
        "#\n"
        "  11.00  48.00\n"  // a single point draws nothing
        "#\n"
        "  12.00  1.2.3\n"  // a run that is no number
        "  12.5\r0  4\r8.5";  // carriage returns anywhere are ignored; no line end at the end
    const Read r = FromBytes(text, 8);
    ASSERT_EQ(r.lines.size(), 3u);
    ASSERT_EQ(r.lines[0].size(), 2u);
    EXPECT_DOUBLE_EQ(r.lines[0][1].latitude, 47.30);
    ASSERT_EQ(r.lines[1].size(), 3u);
    EXPECT_DOUBLE_EQ(r.lines[1][2].longitude, 9.90);
    EXPECT_EQ(r.lines[2].size(), 2u);
    EXPECT_EQ(r.report.points, 7);
    EXPECT_EQ(r.report.badPoints, 2);
    EXPECT_EQ(r.report.firstBadLine, 7);
    EXPECT_EQ(r.report.firstBadText, QStringLiteral("x.y9  47.50"));
    EXPECT_EQ(r.report.textLines, 16);
    // The plot takes lines of four characters and more as points: "short" is a bad point
    // there and no longer a separator, so the second and third map lines join.
    const Read plot = FromBytes(text, 4);
    ASSERT_EQ(plot.lines.size(), 2u);
    EXPECT_EQ(plot.lines[1].size(), 5u);
    EXPECT_EQ(plot.report.badPoints, 3);
    // The point split by carriage returns is read as 12.50 / 48.5 once it has a partner.
    const Read tail = FromBytes(text + "\n  12.60 48.60\n", 8);
    ASSERT_EQ(tail.lines.size(), 4u);
    EXPECT_DOUBLE_EQ(tail.lines[3][0].longitude, 12.50);
    EXPECT_DOUBLE_EQ(tail.lines[3][0].latitude, 48.5);
}

TEST(MapData, TheLatitudeIsLookedForInTheFortyCharactersAfterTheLongitude) {
    const std::string near = "  9.50" + std::string(39, ' ') + "7\n  9.60 47.0\n";
    const std::string far = "  9.50" + std::string(40, ' ') + "7\n  9.60 47.0\n";
    EXPECT_EQ(FromBytes(near, 8).lines.size(), 1u);
    const Read r = FromBytes(far, 8);
    EXPECT_EQ(r.lines.size(), 0u);
    EXPECT_EQ(r.report.badPoints, 1);
}

TEST(MapData, OneReportPerFileWithNameLineAndCount) {
    MapReadReport report;
    EXPECT_EQ(MapBadPointsText(QStringLiteral("coastZor.dat"), report, Language::German), QString());
    report.badPoints = 1;
    report.firstBadLine = 17;
    report.firstBadText = QStringLiteral("9,55 47,25");
    EXPECT_EQ(MapBadPointsText(QStringLiteral("coastZor.dat"), report, Language::German),
              QStringLiteral("coastZor.dat, Zeile 17: 9,55 47,25 : Das ist keine reelle Zahl.\r\n(1 Punkt übergangen)"));
    report.badPoints = 4012;
    EXPECT_EQ(MapBadPointsText(QStringLiteral("GrenzenZor.dat"), report, Language::English),
              QStringLiteral("GrenzenZor.dat, line 17: 9,55 47,25 : This is not a real number !\r\n(4012 points skipped)"));
    // Control characters of a damaged file do not reach the box.
    const Read r = FromBytes(std::string("  9.5\x01\x02 x\n", 10), 8);
    EXPECT_EQ(r.report.firstBadText, QStringLiteral("9.5?? x"));
}

TEST(MapData, AFileReadInBlocksGivesWhatTheBytesGive) {
    // Lines of varying length so that many of them straddle the reader's block borders, a
    // line without any line end far longer than the reader keeps, and a few bad points.
    std::string text;
    for (int i = 0; i < 30000; ++i) {
        if (i % 97 == 0) text += "#\r\n";
        if (i % 1009 == 0) text += "  1-2    3\n";
        const double lon = -179.5 + (i * 0.0123);
        const double lat = -60.0 + (i % 1200) * 0.1;
        text += std::string(static_cast<std::size_t>(i % 7), ' ') + std::to_string(lon) + "  " + std::to_string(lat) +
                (i % 3 ? "\n" : "\r\n");
    }
    text += "#\n  5.00 6.00 " + std::string(300000, 'z') + "\n  5.10 6.10\n#\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.dat"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(text.data(), static_cast<qint64>(text.size())), static_cast<qint64>(text.size()));
    f.close();
    const Read fromFile = FromFile(path, 8);
    const Read fromBytes = FromBytes(text, 8);
    EXPECT_TRUE(fromFile.report.opened);
    EXPECT_EQ(fromFile.report.badPoints, 30);
    // The over-long line is still a point: only its head counts.
    EXPECT_DOUBLE_EQ(fromFile.lines.back().front().longitude, 5.00);
    EXPECT_EQ(fromFile.lines.back().size(), 2u);
    ExpectSameLines(fromFile, fromBytes);

    EXPECT_FALSE(FromFile(dir.filePath(QStringLiteral("none.dat")), 8).report.opened);
}

}  // namespace
}  // namespace zorva
