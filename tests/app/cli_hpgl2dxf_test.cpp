// zorva-cli hpgl2dxf: converts a plot file, prints boxes and the message list on stderr.
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

class Hpgl2Dxf : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QByteArray read(const QString& name) {
        QFile f(dir_.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir_;
};

TEST_F(Hpgl2Dxf, ConvertsAndReportsOnStderr) {
    const QString plot = write(QStringLiteral("a.plt"), "IN;SP 1;PW 1;PU 0 0;PD 25000 0;XY;");
    const QString dxf = dir_.filePath(QStringLiteral("a.dxf"));
    CliRun r = run({QStringLiteral("hpgl2dxf"), plot, dxf, QStringLiteral("--divisor"), QStringLiteral("1000"),
                    QStringLiteral("--weight"), QStringLiteral("3")});
    EXPECT_EQ(r.status, kOk) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, QStringLiteral("ZORVA.EXE - Information!: \n       Datei a.dxf gespeichert!\n"
                                    "Command PW (=Penwidth) only supported by HPGL2.\n"
                                    "Command: XY; not supported!\n"));
    const QByteArray bytes = read(QStringLiteral("a.dxf"));
    EXPECT_TRUE(bytes.contains(" 10\r\n25.0000\r\n"));  // 25000 units / 1000
    EXPECT_TRUE(bytes.contains(" 40 \r\n  0.00\r\n"));  // PW 1 at divisor 1000

    // Defaults: divisor 40, line weight 1 (no width); English with --lang.
    r = run({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("hpgl2dxf"),
             write(QStringLiteral("b.plt"), "IN;SP 2;PU 0 0;PD 400 0;"), dir_.filePath(QStringLiteral("b.dxf"))});
    EXPECT_EQ(r.status, kOk);
    EXPECT_EQ(r.err, QStringLiteral("ZORVA.EXE - Information!: \n       File b.dxf saved!\n"));
    EXPECT_TRUE(read(QStringLiteral("b.dxf")).contains(" 10\r\n10.0000\r\n"));
    EXPECT_TRUE(read(QStringLiteral("b.dxf")).contains(" 40 \r\n0.00000000000000E+00\r\n"));
}

TEST_F(Hpgl2Dxf, FaultyInputExitsWithOne) {
    CliRun r = run({QStringLiteral("hpgl2dxf"), write(QStringLiteral("digits.plt"), "12 34 ;\r\n"),
                    dir_.filePath(QStringLiteral("d.dxf"))});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(QStringLiteral("digits.plt ist kein HPGL-File!")));
    EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("d.dxf"))));

    r = run({QStringLiteral("hpgl2dxf"), write(QStringLiteral("e.plt"), "IN;PA;"), dir_.filePath(QStringLiteral("e.dxf"))});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Datei e.plt nicht konvertiert!")));

    r = run({QStringLiteral("hpgl2dxf"), dir_.filePath(QStringLiteral("missing.plt")), dir_.filePath(QStringLiteral("m.dxf"))});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Das war ein Datei-Öffnungsfehler!")));

    r = run({QStringLiteral("hpgl2dxf"), write(QStringLiteral("f.plt"), "IN;SP 1;PU 0 0;PD 1 1;"),
             dir_.filePath(QStringLiteral("no/folder/f.dxf"))});
    EXPECT_EQ(r.status, kFaultyInput);
}

TEST_F(Hpgl2Dxf, BadCommandLinesExitWithTwo) {
    const QString plot = write(QStringLiteral("a.plt"), "IN;SP 1;PU 0 0;PD 1 1;");
    const QString dxf = dir_.filePath(QStringLiteral("a.dxf"));
    const QStringList cases[] = {
        {QStringLiteral("hpgl2dxf")},
        {QStringLiteral("hpgl2dxf"), plot},
        {QStringLiteral("hpgl2dxf"), plot, dxf, QStringLiteral("extra")},
        {QStringLiteral("hpgl2dxf"), plot, dxf, QStringLiteral("--divisor"), QStringLiteral("25")},
        {QStringLiteral("hpgl2dxf"), plot, dxf, QStringLiteral("--divisor")},
        {QStringLiteral("hpgl2dxf"), plot, dxf, QStringLiteral("--weight"), QStringLiteral("4")},
    };
    for (const QStringList& args : cases) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, kBadCommandLine) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(dxf));
}

}  // namespace
}  // namespace zorva::cli
