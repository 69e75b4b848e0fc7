// zorva-cli draw --dial q0 | q1 | q2 writes every quadrant kind as the drawing window saves
// it: an HPGL plot with the kind's head and end, a DXF file, and the refusal of a disc that
// cannot be built as a message and a failing status, with no file left behind.
#include "app/cli/cli.h"
#include "cli_run.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace zorva::cli {
namespace {

struct Result {
    int status;
    QString err;
};

Result Draw(const QStringList& args, const QString& latitude = QStringLiteral("50N")) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = Run(QStringList{QStringLiteral("--lat"), latitude, QStringLiteral("--year"),
                                       QStringLiteral("2013"), QStringLiteral("draw")} + args,
                           o, e);
    e.flush();
    return {status, err};
}

using testing_support::Read;

TEST(CliQuadrants, EveryKindAsPlotAndDxf) {
    QTemporaryDir dir;
    const struct {
        const char* code;
        const char* head;
        const char* end;
    } kinds[] = {
        {"q0", "IN;VS 1;PA;", ";SP 0;IN;"},
        {"q1", "IN;VS 1;PA;IW 0 0 16157 11038;PU 0 0;EA 16157 11038;", ";IW;IN;"},
        {"q2", "IN;VS 1;PA;IW 0 0 16157 11038;PU 0 0;EA 16157 11038;", ";IW;IN;"},
    };
    for (const auto& k : kinds) {
        const QString code = QString::fromLatin1(k.code);
        const QString plt = dir.filePath(code + QStringLiteral(".plt"));
        Result r = Draw({QStringLiteral("--dial"), code, QStringLiteral("--out"), plt});
        ASSERT_EQ(r.status, kOk) << k.code << ": " << r.err.toStdString();
        const QByteArray plot = Read(plt);
        EXPECT_TRUE(plot.startsWith(k.head)) << k.code;
        EXPECT_TRUE(plot.endsWith(k.end)) << k.code;
        const QString dxf = dir.filePath(code + QStringLiteral(".dxf"));
        r = Draw({QStringLiteral("--dial"), code, QStringLiteral("--out"), dxf});
        ASSERT_EQ(r.status, kOk) << k.code << ": " << r.err.toStdString();
        const QByteArray text = Read(dxf);
        EXPECT_TRUE(text.startsWith("  0\r\nSECTION") || text.startsWith("0\r\nSECTION")) << k.code;
        EXPECT_TRUE(text.trimmed().endsWith("EOF")) << k.code;
    }
    // No temporary plot stays beside the files.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 6);
}

TEST(CliQuadrants, ImpossibleDiscIsRefusedWithoutAFile) {
    QTemporaryDir dir;
    const QString plt = dir.filePath(QStringLiteral("tropic.plt"));
    // At 5 N the noon sun passes the zenith: no Habermel disc.
    const Result r = Draw({QStringLiteral("--dial"), QStringLiteral("q1"), QStringLiteral("--out"), plt}, QStringLiteral("5N"));
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Zenit"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(plt));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

}  // namespace
}  // namespace zorva::cli
