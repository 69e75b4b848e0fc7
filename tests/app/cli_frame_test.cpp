// The command-line frame: help, version, site options and their errors.
#include "app/cli/cli.h"
#include "cli_run.h"

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

}  // namespace
}  // namespace zorva::cli
