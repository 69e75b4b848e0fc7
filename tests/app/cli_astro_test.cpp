// zorva-cli sun, position and azimuth-time against the reference site of the rise/set tables.
#include "app/cli/cli.h"

#include <QTextStream>
#include <gtest/gtest.h>

namespace zorva::cli {
namespace {

struct CliRun {
    int status;
    QString out;
    QString err;
};

// 47.25 N, 9.55 E, central European zone time, German unless the arguments say otherwise.
CliRun run(QStringList args, const QStringList& site = {QStringLiteral("--lat"), QStringLiteral("47.25N"),
                                                         QStringLiteral("--lon"), QStringLiteral("9.55E"),
                                                         QStringLiteral("--zone"), QStringLiteral("15E")}) {
    if (!args.contains(QStringLiteral("--lang"))) args = QStringList{QStringLiteral("--lang"), QStringLiteral("de")} + args;
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = Run(site + args, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

QStringList split(const QString& s) { return s.split(QLatin1Char('\n')); }

TEST(CliSun, RiseSetBlockOfTheSummerSolstice) {
    const CliRun r = run({QStringLiteral("sun"), QStringLiteral("1999-06-21")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QStringList expected{
        QString(),
        QStringLiteral("  ____________________________________________________________________________"),
        QString(),
        QStringLiteral("    Datum:           1999- 6-21"),
        QStringLiteral("    Geogr. Breite:    47.25 Grad"),
        QStringLiteral("    Geogr. Länge:      -9.55 Grad         Zonenmeridian:  -15.0 Grad"),
        QStringLiteral("    Zeitgleichung:      -1:39  min:sec   Werte fuer 12 Uhr Zonenzeit"),
        QStringLiteral("    Sonnendeklination:  23.44 Grad"),
        QStringLiteral("    Sonne Aufgang:      4:25 hh:min     Sonne Untergang:  20:21 hh:min"),
        QStringLiteral("    Dämmerung Beginn:   2:50 hh:min     Dämmerung Ende:   21:57 hh:min"),
        QStringLiteral("                        [ Angezeigte Dämmerungsart: nautisch (6°-12°)]"),
        QStringLiteral("    Mond Aufgang:      12:59 hh:min     Mond Untergang:    0:51 hh:min"),
        QStringLiteral("  ____________________________________________________________________________"),
        QString()};
    EXPECT_EQ(split(r.out), expected);
}

TEST(CliSun, TwilightKindsMissingEventsAndEnglish) {
    CliRun r = run({QStringLiteral("sun"), QStringLiteral("1999-06-19"), QStringLiteral("--twilight"),
                    QStringLiteral("civil")});
    ASSERT_EQ(r.status, 0);
    // The moon rises but does not set: no unit behind its times.
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Mond Aufgang:      10:49     Mond Untergang:   -----\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("[ Angezeigte Dämmerungsart: bürgerl. (0.83°-6°)]")));

    r = run({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("sun"), QStringLiteral("1999-06-21"),
             QStringLiteral("--twilight"), QStringLiteral("astronomical")},
            {QStringLiteral("--lat"), QStringLiteral("70N"), QStringLiteral("--lon"), QStringLiteral("9.55E"),
             QStringLiteral("--zone"), QStringLiteral("15E")});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Sunrise:           always seen       Sunset:           always seen  \n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("Twilight begins:  always bright      Twilight ends:   always bright ")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("[ Twilight shown: astronom.(12°-18°)]")));
}

TEST(CliPosition, TimeKindsAndTheHorizonNote) {
    CliRun r = run({QStringLiteral("position"), QStringLiteral("1999-06-21"), QStringLiteral("12:00")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Uhrzeit:       12:00:00  Zonenzeit\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Sonnenhöhe:     65.73 Grad\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Azimut:       -13.18 Grad  [negativ bei Abweichung gegen Osten]\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Sonnendeklination:   23.44 Grad\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Zeitgleichung:      -1:39  min:sec\n")));
    EXPECT_FALSE(r.out.contains(QStringLiteral("Horizont")));

    // 12:00 true local time: the sun stands on the meridian.
    r = run({QStringLiteral("position"), QStringLiteral("1999-06-21"), QStringLiteral("12:00"), QStringLiteral("--time"),
             QStringLiteral("apparent")});
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Azimut:         0.00 Grad")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("12:00:00  Wahre Ortszeit")));
    r = run({QStringLiteral("position"), QStringLiteral("1999-06-21"), QStringLiteral("23:30:15"), QStringLiteral("--time"),
             QStringLiteral("mean")});
    EXPECT_TRUE(r.out.contains(QStringLiteral("23:30:15  Mittlere Ortszeit")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Die Sonne steht unter dem Horizont!\n")));
}

TEST(CliAzimuthTime, TimeAndAltitude) {
    CliRun r = run({QStringLiteral("azimuth-time"), QStringLiteral("1999-06-21"), QStringLiteral("0")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // True noon: 12:00 + 21.8 min for 9.55 E + 1.65 min of EoT.
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Sonnenstand erreicht um: 12:23:27  hh:mm:ss\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Sonnenhöhe:    66.2 Grad\n")));

    r = run({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("azimuth-time"), QStringLiteral("1999-06-21"),
             QStringLiteral("-90")});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Sun position reached at: 7:57:55  hh:mm:ss\n")));

    // 10 N in June: the sun never stands at -100 degrees.
    r = run({QStringLiteral("azimuth-time"), QStringLiteral("1999-06-21"), QStringLiteral("-100")},
            {QStringLiteral("--lat"), QStringLiteral("10N"), QStringLiteral("--lon"), QStringLiteral("9.55E"),
             QStringLiteral("--zone"), QStringLiteral("15E")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("Die Aufgabe kann nicht geloest werden!")));
}

TEST(CliAstro, BadInputIsNamedAndNeverComputed) {
    const struct {
        QStringList args;
        int status;
        const char* fragment;
    } cases[] = {
        {{QStringLiteral("sun"), QStringLiteral("1999-02-30")}, 2, "no such day"},
        {{QStringLiteral("sun"), QStringLiteral("1999-13-01")}, 2, "no such day"},
        {{QStringLiteral("sun"), QStringLiteral("1299-12-31")}, 2, "1300 to 2500"},
        {{QStringLiteral("sun"), QStringLiteral("2501-01-01")}, 2, "1300 to 2500"},
        {{QStringLiteral("sun"), QStringLiteral("21.6.1999")}, 2, "YYYY-MM-DD"},
        {{QStringLiteral("sun")}, 2, "zorva-cli sun: DATE (YYYY-MM-DD) is missing\n"},
        {{QStringLiteral("sun"), QStringLiteral("1999-06-21"), QStringLiteral("--twilight"), QStringLiteral("dusk")}, 2, "--twilight"},
        {{QStringLiteral("sun"), QStringLiteral("1999-06-21"), QStringLiteral("x")}, 2, "unexpected argument"},
        {{QStringLiteral("position"), QStringLiteral("1999-06-21")}, 2, "zorva-cli position: TIME (hh:mm[:ss]) is missing\n"},
        {{QStringLiteral("azimuth-time"), QStringLiteral("1999-06-21")}, 2,
         "zorva-cli azimuth-time: AZIMUTH (degrees from south, west positive) is missing\n"},
        {{QStringLiteral("position"), QStringLiteral("1999-06-21"), QStringLiteral("12:60")}, 2, "TIME"},
        {{QStringLiteral("position"), QStringLiteral("1999-06-21"), QStringLiteral("24:01")}, 2, "TIME"},
        {{QStringLiteral("position"), QStringLiteral("1999-06-21"), QStringLiteral("12:00"), QStringLiteral("--time"), QStringLiteral("local")}, 2, "--time"},
        {{QStringLiteral("azimuth-time"), QStringLiteral("1999-06-21"), QStringLiteral("181")}, 2, "AZIMUTH"},
        {{QStringLiteral("azimuth-time"), QStringLiteral("1999-06-21"), QStringLiteral("west")}, 2, "AZIMUTH"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.fragment))) << r.err.toStdString();
    }
}

TEST(CliAstro, SkippedDaysOf1582AndFarZoneMeridians) {
    // 10 October 1582 did not exist: message 26, then the values of 15 October.
    CliRun r = run({QStringLiteral("sun"), QStringLiteral("1582-10-10")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Dieses Kalenderdatum existiert nicht.")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("    Datum:           1582-10-15\n")));
    EXPECT_EQ(r.out, run({QStringLiteral("sun"), QStringLiteral("1582-10-15")}).out);

    // 40 E in a 15 E zone: the window's question; the safe answer cancels, --yes computes.
    const QStringList farSite{QStringLiteral("--lat"), QStringLiteral("47.25N"), QStringLiteral("--lon"),
                              QStringLiteral("40E"), QStringLiteral("--zone"), QStringLiteral("15E")};
    r = run({QStringLiteral("sun"), QStringLiteral("1999-06-21")}, farSite);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("vom Zonenmeridian entfernt!")));
    r = run({QStringLiteral("--yes"), QStringLiteral("sun"), QStringLiteral("1999-06-21")}, farSite);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("Sonne Aufgang:      2:23 hh:min")));

    // At the poles every command answers with defined values.
    for (const char* lat : {"90N", "90S"}) {
        const QStringList pole{QStringLiteral("--lat"), QString::fromLatin1(lat), QStringLiteral("--lon"),
                               QStringLiteral("9.55E"), QStringLiteral("--zone"), QStringLiteral("15E")};
        for (const QStringList& args : {QStringList{QStringLiteral("sun"), QStringLiteral("1999-06-21")},
                                        QStringList{QStringLiteral("position"), QStringLiteral("1999-06-21"), QStringLiteral("6:00")},
                                        QStringList{QStringLiteral("azimuth-time"), QStringLiteral("1999-06-21"), QStringLiteral("45")}}) {
            const CliRun p = run(args, pole);
            EXPECT_EQ(p.status, 0) << lat << " " << args.front().toStdString() << p.err.toStdString();
            EXPECT_FALSE(p.out.contains(QStringLiteral("nan"), Qt::CaseInsensitive));
        }
    }
}

}  // namespace
}  // namespace zorva::cli
