// zorva-cli table ... writes the very file the tables window's export writes.
#include "app/cli/cli.h"
#include "astro/solar_ephemeris.h"
#include "dials/solar_graphs.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace zorva::cli {
namespace {

struct CliRun {
    int status;
    QString out;
    QString err;
};

// 47.25 N, 9.55 E, central European zone time, German.
CliRun run(const QStringList& args) {
    const QStringList site{QStringLiteral("--lang"), QStringLiteral("de"), QStringLiteral("--lat"),
                           QStringLiteral("47.25N"), QStringLiteral("--lon"), QStringLiteral("9.55E"),
                           QStringLiteral("--zone"), QStringLiteral("15E")};
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = Run(site + args, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing ") + path.toUtf8() + '>';
}

TEST(CliTable, MonthTableOnStdoutAndInAFile) {
    const QByteArray golden = FileBytes(test::dataPath(QStringLiteral("table_month_1999-06.txt")));
    CliRun r = run({QStringLiteral("table"), QStringLiteral("month"), QStringLiteral("1999-06")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString::fromLatin1(golden));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("juni.txt"));
    r = run({QStringLiteral("table"), QStringLiteral("month"), QStringLiteral("1999-06"), QStringLiteral("--out"), path});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(FileBytes(path), golden);  // Windows-1252 bytes, CR LF line ends
}

TEST(CliTable, YearTablesAsCsv) {
    const CliRun r = run({QStringLiteral("--year"), QStringLiteral("1999"), QStringLiteral("table"),
                          QStringLiteral("eot"), QStringLiteral("--csv")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString::fromLatin1(FileBytes(test::dataPath(QStringLiteral("table_eot_1999.csv")))));

    const CliRun transit = run({QStringLiteral("--year"), QStringLiteral("1999"), QStringLiteral("table"),
                                QStringLiteral("transit")});
    ASSERT_EQ(transit.status, 0);
    const QStringList lines = transit.out.split(QStringLiteral("\r\n"));
    const int nov3 = lines.indexOf(QRegularExpression(QStringLiteral("^ 3\\. .*")));
    ASSERT_GT(nov3, 0);
    EXPECT_EQ(lines[nov3].mid(4 + 10 * 9, 8), QStringLiteral("12:05:23"));

    for (const char* kind : {"eot-longitude", "declination"}) {
        const CliRun k = run({QStringLiteral("table"), QString::fromLatin1(kind)});
        EXPECT_EQ(k.status, 0) << kind;
        EXPECT_TRUE(k.out.contains(QStringLiteral("      Jan    Feb"))) << kind;
    }
}

TEST(CliTable, TwilightChoiceReachesTheFooter) {
    const CliRun r = run({QStringLiteral("table"), QStringLiteral("month"), QStringLiteral("2024-02"),
                          QStringLiteral("--twilight"), QStringLiteral("astronomical")});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("Angezeigte Dämmerungsart: astronom.(12°-18°).\r\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral(" 29. 2.2024")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("  2. 3.2024")));
}

TEST(CliTable, BadCommandLinesExitWithTwo) {
    const QStringList bad[] = {
        {QStringLiteral("table")},
        {QStringLiteral("table"), QStringLiteral("weekly")},
        {QStringLiteral("table"), QStringLiteral("month")},
        {QStringLiteral("table"), QStringLiteral("month"), QStringLiteral("1999-13")},
        {QStringLiteral("table"), QStringLiteral("month"), QStringLiteral("1299-06")},
        {QStringLiteral("table"), QStringLiteral("month"), QStringLiteral("June")},
        {QStringLiteral("table"), QStringLiteral("month"), QStringLiteral("1999-06"), QStringLiteral("--twilight"),
         QStringLiteral("dusk")},
        {QStringLiteral("table"), QStringLiteral("eot"), QStringLiteral("extra")},
        {QStringLiteral("table"), QStringLiteral("eot"), QStringLiteral("--out")},
    };
    for (const QStringList& args : bad) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(r.err.isEmpty());
    }
}

TEST(CliTable, UnwritableTargetIsReportedAndNothingIsLeft) {
    QTemporaryDir dir;
    const QString missingFolder = dir.filePath(QStringLiteral("no/such/folder/t.txt"));
    CliRun r = run({QStringLiteral("table"), QStringLiteral("eot"), QStringLiteral("--out"), missingFolder});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Open error: File  ") + missingFolder)) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(missingFolder));

    // A name that is taken by a folder cannot become the table (a bad command line, refused
    // before anything is computed); the folder is left alone.
    const QString folder = dir.filePath(QStringLiteral("taken.txt"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    r = run({QStringLiteral("table"), QStringLiteral("month"), QStringLiteral("2000-01"), QStringLiteral("--out"), folder});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/inside")).isDir());
}

TEST(CliGraph, PlotDxfPngAndPdf) {
    QTemporaryDir dir;
    const QStringList year{QStringLiteral("--year"), QStringLiteral("1999")};
    const QString plt = dir.filePath(QStringLiteral("EoT.plt"));
    CliRun r = run(year + QStringList{QStringLiteral("graph"), QStringLiteral("eot"), QStringLiteral("--out"), plt});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(FileBytes(plt).startsWith("IN;SP 8;SI 0.14, 0.24;SP 8;PU 728 1360;PD 8028 1360;"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("       Datei EoT.plt gespeichert!     "))) << r.err.toStdString();

    // The magnification factor stretches the minute axis: the -17 line moves from 1360 to 4 * (850 - 17 * 600).
    r = run(year + QStringList{QStringLiteral("graph"), QStringLiteral("eot"), QStringLiteral("--factor"),
                               QStringLiteral("20"), QStringLiteral("--mirror"), QStringLiteral("--out"), plt});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(FileBytes(plt).startsWith("IN;SP 8;SI 0.14, 0.24;SP 8;PU 728 44200;"));

    const QString dxf = dir.filePath(QStringLiteral("Azi.dxf"));
    r = run(year + QStringList{QStringLiteral("graph"), QStringLiteral("sunpath"), QStringLiteral("--out"), dxf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray drawing = FileBytes(dxf);
    EXPECT_TRUE(drawing.contains("POLYLINE"));
    EXPECT_TRUE(drawing.contains("L_3"));  // the day paths
    EXPECT_TRUE(drawing.contains("Sonnenhoehen fuer 1999"));
    // Nothing but the drawing is left in the folder: the temporary plot file is gone.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);

    const QString png = dir.filePath(QStringLiteral("sun.png"));
    r = run({QStringLiteral("graph"), QStringLiteral("sunpath"), QStringLiteral("--size"), QStringLiteral("800x500"),
             QStringLiteral("--out"), png});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(800, 500));

    const QString pdf = dir.filePath(QStringLiteral("eot.pdf"));
    r = run({QStringLiteral("graph"), QStringLiteral("eot"), QStringLiteral("--longitude-correction"),
             QStringLiteral("--out"), pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(FileBytes(pdf).startsWith("%PDF"));
}

// The plot files of zorva-cli are the tables window's files for the same site and year, also
// in a year whose zodiac declinations the window refreshes and a fresh command line does not.
TEST(CliGraph, PlotsAreTheTablesWindowsFiles) {
    QTemporaryDir dir;
    DialState window = StartupState();
    window.language = Language::German;
    window.latitude = 47.25;
    window.longitude = -9.55;
    window.zoneMeridian = -15;
    window.referenceYear = 1650;
    window.zodiacDeclinations = ZodiacDeclinations(window.referenceYear).zodiac;
    for (const GraphKind kind : {GraphKind::EquationOfTime, GraphKind::SunPath}) {
        const QString which = kind == GraphKind::SunPath ? QStringLiteral("sunpath") : QStringLiteral("eot");
        const QString cliPath = dir.filePath(which + QStringLiteral("-cli.plt"));
        const CliRun r = run({QStringLiteral("--year"), QStringLiteral("1650"), QStringLiteral("graph"), which,
                              QStringLiteral("--out"), cliPath});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QString windowPath = dir.filePath(which + QStringLiteral("-window.plt"));
        RecordingDialogs dialogs;
        ASSERT_TRUE(SaveGraph(kind, window, GraphPlotOptions{}, StateSunPathExtras(window, false), windowPath,
                              PlotFormat::Hpgl, dialogs));
        EXPECT_EQ(FileBytes(cliPath), FileBytes(windowPath)) << which.toStdString();
    }
}

TEST(CliGraph, BadOptionsAndUnwritableTargets) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("g.plt"));
    const QStringList bad[] = {
        {QStringLiteral("graph")},
        {QStringLiteral("graph"), QStringLiteral("eot")},
        {QStringLiteral("graph"), QStringLiteral("moon"), QStringLiteral("--out"), out},
        {QStringLiteral("graph"), QStringLiteral("eot"), QStringLiteral("--out"), dir.filePath(QStringLiteral("g.svg"))},
        {QStringLiteral("graph"), QStringLiteral("eot"), QStringLiteral("--factor"), QStringLiteral("20.5"), QStringLiteral("--out"), out},
        {QStringLiteral("graph"), QStringLiteral("eot"), QStringLiteral("--factor"), QStringLiteral("0.04"), QStringLiteral("--out"), out},
        {QStringLiteral("graph"), QStringLiteral("eot"), QStringLiteral("--factor"), QStringLiteral("x"), QStringLiteral("--out"), out},
        {QStringLiteral("graph"), QStringLiteral("sunpath"), QStringLiteral("--mirror"), QStringLiteral("--out"), out},
        {QStringLiteral("graph"), QStringLiteral("eot"), QStringLiteral("--size"), QStringLiteral("big"), QStringLiteral("--out"), out},
    };
    for (const QStringList& args : bad) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));

    for (const char* name : {"no/such/folder/g.plt", "no/such/folder/g.dxf", "no/such/folder/g.png", "no/such/folder/g.pdf"}) {
        const QString target = dir.filePath(QString::fromLatin1(name));
        const CliRun r = run({QStringLiteral("graph"), QStringLiteral("eot"), QStringLiteral("--out"), target});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_FALSE(r.err.contains(QStringLiteral("saved"))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(target));
    }
}

}  // namespace
}  // namespace zorva::cli
