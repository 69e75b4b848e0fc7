// zorva-cli draw for the analemmatic and bifilar dials: every output format from the one
// construction, the layout sheet as a table, and bad input refused with the construction's
// message and exit status 1.
#include "app/cli/cli.h"
#include "cli_run.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace zorva::cli {
namespace {

using testing_support::CliRun;

// No settings file of the user: the program's start-up state, in English.
CliRun run(QStringList args) { return testing_support::run(QStringList{QStringLiteral("--lang"), QStringLiteral("en")} + args); }
using testing_support::Read;

TEST(CliAddedDials, EveryFormatComesFromTheConstruction) {
    QTemporaryDir dir;
    for (const QString& dial : {QStringLiteral("walk-on"), QStringLiteral("analemmatic-wall"), QStringLiteral("bifilar"),
                               QStringLiteral("bifilar-wall")}) {
        for (const QString& suffix : {QStringLiteral("png"), QStringLiteral("pdf"), QStringLiteral("svg"),
                                     QStringLiteral("plt"), QStringLiteral("dxf")}) {
            const QString out = dir.filePath(dial + QLatin1Char('.') + suffix);
            const CliRun r = run({QStringLiteral("draw"), QStringLiteral("--dial"), dial, QStringLiteral("--out"), out});
            EXPECT_EQ(r.status, kOk) << dial.toStdString() << " " << suffix.toStdString() << r.err.toStdString();
            EXPECT_GT(Read(out).size(), 1000) << dial.toStdString() << " " << suffix.toStdString();
        }
        // Something is drawn on the image besides the frame: more than a few non-white pixels.
        const QImage image(dir.filePath(dial + QStringLiteral(".png")));
        int ink = 0;
        for (int y = 5; y < image.height() - 5; y += 2)
            for (int x = 5; x < image.width() - 5; x += 2) ink += image.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_GT(ink, 2000) << dial.toStdString();
    }
}

TEST(CliAddedDials, LayoutSheetAsTableAndAsPage) {
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("layout.csv"));
    const CliRun r = run({QStringLiteral("--lat"), QStringLiteral("26.75S"), QStringLiteral("draw"), QStringLiteral("--dial"),
                          QStringLiteral("walk-on"), QStringLiteral("--time"), QStringLiteral("apparent"),
                          QStringLiteral("--layout"), QStringLiteral("--out"), csv});
    ASSERT_EQ(r.status, kOk) << r.err.toStdString();
    const QString text = QString::fromUtf8(Read(csv));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Point;x east [m];y north [m]\r\n"))) << text.left(80).toStdString();
    // Local apparent noon: on the noon line, M sin(26.75) south of the centre.
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n12 h;0.000;-1.125\r\n"))) << text.toStdString();
    const QString pdf = dir.filePath(QStringLiteral("layout.pdf"));
    EXPECT_EQ(run({QStringLiteral("draw"), QStringLiteral("--dial"), QStringLiteral("walk-on"), QStringLiteral("--layout"),
                   QStringLiteral("--out"), pdf})
                  .status,
              kOk);
    EXPECT_GT(Read(pdf).size(), 1000);
    // Only the analemmatic dial has a layout sheet.
    EXPECT_EQ(run({QStringLiteral("draw"), QStringLiteral("--dial"), QStringLiteral("bifilar"), QStringLiteral("--layout"),
                   QStringLiteral("--out"), dir.filePath(QStringLiteral("b.csv"))})
                  .status,
              kBadCommandLine);
}

TEST(CliAddedDials, BadInputIsRefusedWithTheReason) {
    QTemporaryDir dir;
    const CliRun equator = run({QStringLiteral("--lat"), QStringLiteral("0"), QStringLiteral("draw"), QStringLiteral("--dial"),
                                QStringLiteral("analemmatic"), QStringLiteral("--out"), dir.filePath(QStringLiteral("e.plt"))});
    EXPECT_EQ(equator.status, kFaultyInput);
    EXPECT_TRUE(equator.err.contains(QStringLiteral("hour ellipse collapses"))) << equator.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("e.plt"))));

    const CliRun touching = run({QStringLiteral("draw"), QStringLiteral("--dial"), QStringLiteral("bifilar"),
                                 QStringLiteral("--threads"), QStringLiteral("80,80"), QStringLiteral("--out"),
                                 dir.filePath(QStringLiteral("t.dxf"))});
    EXPECT_EQ(touching.status, kFaultyInput);
    EXPECT_TRUE(touching.err.contains(QStringLiteral("would touch"))) << touching.err.toStdString();

    EXPECT_EQ(run({QStringLiteral("draw"), QStringLiteral("--dial"), QStringLiteral("bifilar"), QStringLiteral("--threads"),
                   QStringLiteral("80"), QStringLiteral("--out"), dir.filePath(QStringLiteral("x.png"))})
                  .status,
              kBadCommandLine);
    EXPECT_EQ(run({QStringLiteral("draw"), QStringLiteral("--dial"), QStringLiteral("walk-on"), QStringLiteral("--time"),
                   QStringLiteral("sundial"), QStringLiteral("--out"), dir.filePath(QStringLiteral("x.png"))})
                  .status,
              kBadCommandLine);
}

}  // namespace
}  // namespace zorva::cli
