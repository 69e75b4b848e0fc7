// The coordinate listing beside a plot: millimetres from the nodus foot point with y up,
// four points to a row, the file it writes and the file it refuses to half-write.
#include "dials/coordinate_listing.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zorva::test {
namespace {

TEST(CoordinateListing, MillimetresFromTheOriginWithYUp) {
    // Origin at (8200, 38) in y-down plot units, 40 units per millimetre.
    CoordinateListing listing(Language::German, {8200, 38}, 40);
    EXPECT_EQ(listing.toMillimetres(8200 + 400, 38 + 1200), QPointF(10, -30));
    listing.beginSection(QStringLiteral("Datumslinien"));
    listing.beginCurve(QStringLiteral("21.06."));
    for (int hour = 6; hour <= 11; ++hour) listing.addPoint(8200 - 40 * (12 - hour), 38 + 400, hour);
    listing.beginCurve(QStringLiteral("22.12."));
    listing.addPoint(8200, 38 + 123.4);
    EXPECT_EQ(listing.pointCount(), 7);
    EXPECT_EQ(listing.lines(),
              (QStringList{QString(), QStringLiteral("Datumslinien"), QStringLiteral("21.06."),
                           QStringLiteral("   ( 6 Uhr):   -6.000/  -10.000   ( 7 Uhr):   -5.000/  -10.000"
                                          "   ( 8 Uhr):   -4.000/  -10.000   ( 9 Uhr):   -3.000/  -10.000"),
                           QStringLiteral("   (10 Uhr):   -2.000/  -10.000   (11 Uhr):   -1.000/  -10.000"),
                           QStringLiteral("22.12."), QStringLiteral("       0.000/   -3.085")}));
}

TEST(CoordinateListing, MillimetresDoNotDependOnTheResolution) {
    // The same dial plotted at 25-fold resolution lists the same millimetres.
    CoordinateListing low(Language::English, {8200, 38}, 40), high(Language::English, {8200 * 25, 38 * 25}, 1000);
    low.addPoint(9000, 2000, 14);
    high.addPoint(9000 * 25, 2000 * 25, 14);
    EXPECT_EQ(low.lines(), high.lines());
    EXPECT_EQ(low.lines().last(), QStringLiteral("   (14 h):   20.000/  -49.050"));
}

TEST(CoordinateListing, WritesCrLfTextAndRefusesWhatItCannotWrite) {
    QTemporaryDir dir;
    CoordinateListing listing(Language::German, {0, 0}, 40);
    listing.addLine(QStringLiteral("Geogr. Länge"));
    listing.addPoint(40, -40);
    const QString path = dir.filePath(QStringLiteral("Mein Zifferblatt ä.txt"));
    QString error;
    ASSERT_TRUE(listing.writeFile(path, &error)) << error.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Geogr. L\xC3\xA4nge\r\n       1.000/    1.000\r\n"));

    // A folder that does not exist: nothing is written, the reason is told.
    EXPECT_FALSE(listing.writeFile(dir.filePath(QStringLiteral("missing/zor.txt")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing/zor.txt"))));
    // A folder in the way of the name.
    QDir(dir.path()).mkdir(QStringLiteral("taken.txt"));
    EXPECT_FALSE(listing.writeFile(dir.filePath(QStringLiteral("taken.txt"))));
}

TEST(CoordinateListing, ListingNameBesideThePlot) {
    EXPECT_EQ(ListingFileName(QStringLiteral("/tmp/a b/Sonnenuhr.plt")), QStringLiteral("/tmp/a b/Sonnenuhr.txt"));
    EXPECT_EQ(ListingFileName(QStringLiteral("/tmp/dial.v2.dxf")), QStringLiteral("/tmp/dial.v2.txt"));
    EXPECT_EQ(ListingFileName(QStringLiteral("zor")), QStringLiteral("zor.txt"));
    EXPECT_EQ(ListingFileName(QStringLiteral("/tmp/x/")), QStringLiteral("/tmp/x/zor.txt"));
}

}  // namespace
}  // namespace zorva::test
