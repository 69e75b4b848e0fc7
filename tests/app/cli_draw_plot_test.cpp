// zorva-cli draw --out FILE.plt|dxf writes the files the drawing window saves for the
// state's planar dial, with the listing on request; questions get the safe answer.
#include "app/cli/cli.h"
#include "cli_run.h"
#include "dials/planar_plot.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace zorva::cli {
namespace {

using testing_support::CliRun;
using testing_support::run;
using testing_support::Read;

class DrawPlot : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    // What the drawing window writes for a fresh dial of the state (no placement by mouse).
    QByteArray saved(const QString& name, PlotFormat format, CoordinateOutput coordinates = CoordinateOutput::None) {
        PlanarSaveRequest r;
        r.fileName = path(name);
        r.format = format;
        r.coordinates = coordinates;
        RecordingDialogs dialogs;
        EXPECT_TRUE(SavePlanarDial(StartupState(), r, dialogs).ok);
        return Read(r.fileName);
    }
    QTemporaryDir dir_;
};

TEST_F(DrawPlot, PlotAndDxfAreTheDrawingWindowsFiles) {
    const CliRun plt = run({QStringLiteral("draw"), QStringLiteral("--out"), path(QStringLiteral("cli.plt"))});
    ASSERT_EQ(plt.status, kOk) << plt.err.toStdString();
    EXPECT_TRUE(plt.err.contains(QStringLiteral("Soll zusätzlich das Koordinatennetz gezeichnet werden? -> No")));
    EXPECT_TRUE(plt.err.contains(QStringLiteral("Datei cli.plt gespeichert!")));
    const QByteArray cliPlot = Read(path(QStringLiteral("cli.plt")));
    EXPECT_TRUE(cliPlot.startsWith("IN;VS 1;PA;IW 0 0 16157 11038;PU 0 0;EA 16157 11038;;SP 4;PU 0 0;"));
    EXPECT_EQ(cliPlot, saved(QStringLiteral("gui.plt"), PlotFormat::Hpgl));

    const CliRun dxf = run({QStringLiteral("draw"), QStringLiteral("--out"), path(QStringLiteral("cli.dxf"))});
    ASSERT_EQ(dxf.status, kOk) << dxf.err.toStdString();
    EXPECT_EQ(Read(path(QStringLiteral("cli.dxf"))), saved(QStringLiteral("gui.dxf"), PlotFormat::Dxf));
}

TEST_F(DrawPlot, ListingToTheNamedFile) {
    const QString listing = path(QStringLiteral("Koordinaten ä.txt"));
    const CliRun r = run({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("draw"), QStringLiteral("--out"),
                          path(QStringLiteral("dial.plt")), QStringLiteral("--listing"), listing});
    ASSERT_EQ(r.status, kOk) << r.err.toStdString();
    const QString text = QString::fromUtf8(Read(listing));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Vertical SUNDIAL\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("File name of saved construction: ") + path(QStringLiteral("dial.plt"))));
    EXPECT_TRUE(text.contains(QStringLiteral("(12 h):")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("dial.txt"))));
}

TEST_F(DrawPlot, YesAddsTheGridOfTenMillimetres) {
    const CliRun r = run({QStringLiteral("--yes"), QStringLiteral("draw"), QStringLiteral("--out"), path(QStringLiteral("g.plt"))});
    ASSERT_EQ(r.status, kOk) << r.err.toStdString();
    const QByteArray plot = Read(path(QStringLiteral("g.plt")));
    // The wall's foot lies 38 units below the top: its circle is cut at the window.
    EXPECT_TRUE(plot.contains(";IW 0 0 16150 11030;SP 9;PU 8280 11000;PD 8280 10993 ")) << plot.left(300).toStdString();
    EXPECT_TRUE(plot.contains(" 8280 11000;PU 200 2;PD 200 11028;PU 600 2;PD 600 11028;"));
}

TEST_F(DrawPlot, BadRequests) {
    // A listing belongs to plot files only.
    CliRun r = run({QStringLiteral("draw"), QStringLiteral("--out"), path(QStringLiteral("a.png")), QStringLiteral("--listing"),
                    path(QStringLiteral("a.txt"))});
    EXPECT_EQ(r.status, kBadCommandLine);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.png"))));
    r = run({QStringLiteral("draw"), QStringLiteral("--out"), path(QStringLiteral("a.plt")), QStringLiteral("--listing")});
    EXPECT_EQ(r.status, kBadCommandLine);

    // A folder that does not exist: a clear error, no file, no temporary file beside it.
    r = run({QStringLiteral("draw"), QStringLiteral("--out"), path(QStringLiteral("missing/a.dxf"))});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Fehler"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("gespeichert!")));
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(DrawPlot, TheDialCodeChoosesTheDial) {
    // A shepherd's dial straight from the command line, as a plot and as a picture.
    CliRun r = run({QStringLiteral("draw"), QStringLiteral("--dial"), QStringLiteral("z0"), QStringLiteral("--out"),
                    path(QStringLiteral("shepherd.plt"))});
    EXPECT_EQ(r.status, kOk) << r.err.toStdString();
    const QByteArray shepherd = Read(path(QStringLiteral("shepherd.plt")));
    EXPECT_TRUE(shepherd.startsWith("IN;"));
    EXPECT_NE(shepherd, saved(QStringLiteral("vertical.plt"), PlotFormat::Hpgl));
    r = run({QStringLiteral("draw"), QStringLiteral("--dial"), QStringLiteral("sv"), QStringLiteral("--out"),
             path(QStringLiteral("umbrella.png"))});
    EXPECT_EQ(r.status, kOk) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("umbrella.png"))));

    r = run({QStringLiteral("draw"), QStringLiteral("--dial"), QStringLiteral(""), QStringLiteral("--out"),
             path(QStringLiteral("x.png"))});
    EXPECT_EQ(r.status, kBadCommandLine);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--dial"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.png"))));
}

TEST_F(DrawPlot, RingPolarCylinderAndBiazimuthalDialsToEveryFormat) {
    struct Kind {
        const char* code;
        const char* head;
        const char* end;
    } kinds[] = {{"r", "IN;SS;PA;", ";SP 0;IN;"},
                 {"z2", "IN;VS 1;PA;IW 0 0 16157 11038;", ";IN;"},
                 {"c0", "IN;VS 1;PA;IW 0 0 16157 11038;", ";IW;IN;"}};
    for (const Kind& k : kinds) {
        const QString code = QString::fromLatin1(k.code);
        QStringList site;
        // The bi-azimuthal plate for two places far enough apart to show its two focus points.
        if (code == QLatin1String("c0")) site = {QStringLiteral("--lat"), QStringLiteral("50N")};
        for (const QString& suffix : {QStringLiteral("plt"), QStringLiteral("dxf"), QStringLiteral("png"),
                                      QStringLiteral("pdf"), QStringLiteral("svg")}) {
            const QString out = path(code + QLatin1Char('.') + suffix);
            CliRun r = run(QStringList{QStringLiteral("draw"), QStringLiteral("--dial"), code, QStringLiteral("--out"), out} + site);
            ASSERT_EQ(r.status, kOk) << k.code << " " << suffix.toStdString() << " " << r.err.toStdString();
            const QByteArray bytes = Read(out);
            ASSERT_FALSE(bytes.isEmpty()) << k.code << " " << suffix.toStdString();
            if (suffix == QLatin1String("plt")) {
                EXPECT_TRUE(bytes.startsWith(k.head)) << k.code;
                EXPECT_TRUE(bytes.endsWith(k.end)) << k.code;
                EXPECT_FALSE(r.err.contains(QStringLiteral("not available"))) << r.err.toStdString();
            }
            if (suffix == QLatin1String("dxf")) {
                EXPECT_TRUE(bytes.contains("ENTITIES")) << k.code;
            }
        }
    }
}

}  // namespace
}  // namespace zorva::cli
