// The command-line frame: help, version, site options and their errors.
#include "app/cli/cli.h"
#include "cli_run.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace zorva::cli {
namespace {

using testing_support::CliRun;
using testing_support::run;

TEST(CliFrame, HelpAndVersion) {
    CliRun r = run({QStringLiteral("--help")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("hpgl2dxf IN.plt OUT.dxf")));
    r = run({QStringLiteral("--version")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, QStringLiteral("zorva-cli 3.9\n"));
}

TEST(CliFrame, HemisphereLettersAndSignedNumbersUseTheProgramsConvention) {
    double v = 0;
    ASSERT_TRUE(ParseLatitude(QStringLiteral("47.25N"), v));
    EXPECT_DOUBLE_EQ(v, 47.25);
    ASSERT_TRUE(ParseLatitude(QStringLiteral("33.9s"), v));
    EXPECT_DOUBLE_EQ(v, -33.9);
    ASSERT_TRUE(ParseLatitude(QStringLiteral("-12.5"), v));
    EXPECT_DOUBLE_EQ(v, -12.5);
    ASSERT_TRUE(ParseLongitude(QStringLiteral("9.55E"), v));
    EXPECT_DOUBLE_EQ(v, -9.55);  // west positive
    ASSERT_TRUE(ParseLongitude(QStringLiteral("74W"), v));
    EXPECT_DOUBLE_EQ(v, 74.0);
    ASSERT_TRUE(ParseLongitude(QStringLiteral("-15"), v));
    EXPECT_DOUBLE_EQ(v, -15.0);

    for (const char* bad : {"", "N", "95N", "-47N", "47.25X", "4 7", "1e999", "--5", "nan", "inf"})
        EXPECT_FALSE(ParseLatitude(QString::fromLatin1(bad), v)) << bad;
    for (const char* bad : {"181E", "9,55E", "E9", "abc"})
        EXPECT_FALSE(ParseLongitude(QString::fromLatin1(bad), v)) << bad;
}

TEST(CliFrame, MalformedOptionsNameTheOptionAndExitWithTwo) {
    const struct {
        QStringList args;
        const char* option;
    } cases[] = {
        {{QStringLiteral("--lat"), QStringLiteral("north"), QStringLiteral("sun")}, "--lat"},
        {{QStringLiteral("--lon"), QStringLiteral("200E"), QStringLiteral("sun")}, "--lon"},
        {{QStringLiteral("--zone"), QStringLiteral("x"), QStringLiteral("sun")}, "--zone"},
        {{QStringLiteral("--year"), QStringLiteral("1299"), QStringLiteral("sun")}, "--year"},
        {{QStringLiteral("--year"), QStringLiteral("20a0"), QStringLiteral("sun")}, "--year"},
        {{QStringLiteral("--lang"), QStringLiteral("fr"), QStringLiteral("sun")}, "--lang"},
        {{QStringLiteral("sun"), QStringLiteral("--lat")}, "--lat"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.option))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(CliFrame, UnknownOrMissingCommandIsABadCommandLine) {
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({QStringLiteral("fly")}).status, 2);
    EXPECT_EQ(run({QStringLiteral("--frobnicate"), QStringLiteral("sun")}).status, 2);
}

// Sizes a person can use pass; degenerate and monstrous ones get one line, not a stream of
// painter warnings or minutes of drawing.
TEST(CliFrame, ImageSizesAreBoundedWithOneMessage) {
    QString out, err;
    QTextStream o(&out), e(&err);
    Context ctx(o, e);
    QSize size;
    EXPECT_EQ(ParseImageSize(ctx, QStringLiteral("--size"), QStringLiteral("8000x8000"), size), kOk);
    EXPECT_EQ(size, QSize(8000, 8000));
    EXPECT_EQ(ParseImageSize(ctx, QStringLiteral("--size"), QStringLiteral("16000X100"), size), kOk);
    EXPECT_EQ(ParseImageSize(ctx, QStringLiteral("--size"), QStringLiteral("100x100"), size), kOk);
    EXPECT_TRUE(err.isEmpty());
    const struct {
        const char* text;
        const char* why;
    } bad[] = {
        {"00x00", "from 100 to 16000 pixels a side"},   {"99x100", "from 100 to 16000 pixels a side"},
        {"16001x100", "from 100 to 16000 pixels a side"}, {"20000x20000", "from 100 to 16000 pixels a side"},
        {"16000x16000", "at most 256 MB of pixels"},      {"8193x8193", "at most 256 MB of pixels"},
        {"", "WIDTHxHEIGHT"},                             {"1e3x1e3", "WIDTHxHEIGHT"},
        {"-100x100", "WIDTHxHEIGHT"},                     {"1234567890x1", "WIDTHxHEIGHT"},
    };
    for (const auto& b : bad) {
        err.clear();
        size = QSize(7, 7);
        EXPECT_EQ(ParseImageSize(ctx, QStringLiteral("--size"), QString::fromLatin1(b.text), size), kBadCommandLine);
        e.flush();
        EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << b.text << ": " << err.toStdString();
        EXPECT_TRUE(err.contains(QLatin1String(b.why))) << b.text << ": " << err.toStdString();
        EXPECT_EQ(size, QSize(7, 7));
    }
    const CliRun r = run({"graph", "eot", "--size", "00x00", "--out", "never-written.png"});
    EXPECT_EQ(r.status, kBadCommandLine);
    EXPECT_EQ(r.err, QStringLiteral("zorva-cli: invalid value for --size: '00x00' (from 100 to 16000 pixels a side)\n"));
}

// Options without the name of the table or graph used to crash after the usage check.
TEST(CliFrame, TablesAndGraphsWithoutTheirNameAreBadCommandLines) {
    for (const QStringList& args : {QStringList{"table", "--csv"}, QStringList{"table", "--out", "t.csv"},
                                    QStringList{"graph", "--out", "g.png"}, QStringList{"graph", "--size", "200x200",
                                                                                        "--out", "g.png"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, kBadCommandLine) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("zorva-cli ") + args.front() + QStringLiteral(": which ")))
            << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(args.back()));
    }
}

TEST(CliFrame, AnOutputThatWouldReplaceAnInputIsRefused) {
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("a.zor"));
    ASSERT_EQ(run({"settings", "write", settings}).status, kOk);
    QFile f(settings);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    ASSERT_TRUE(QFile::link(settings, dir.filePath(QStringLiteral("link.txt"))));
    for (const QString& out : {settings, dir.filePath(QStringLiteral("link.txt"))}) {
        const CliRun r = run({"--settings", settings, "table", "eot", "--out", out});
        EXPECT_EQ(r.status, kBadCommandLine);
        EXPECT_EQ(r.err, QStringLiteral("zorva-cli: the output ") + out + QStringLiteral(" is the input ") + settings +
                             QStringLiteral("; it would be destroyed (choose another file name)\n"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), before);
        f.close();
    }
    // The same command with a new name works.
    EXPECT_EQ(run({"--settings", settings, "table", "eot", "--out", dir.filePath(QStringLiteral("t.txt"))}).status, kOk);
}

}  // namespace
}  // namespace zorva::cli
