// The polar-style information block: its lines and widths in both languages, the piercing
// point, style angle, substyle direction and substyle time of the standard planes, and the
// degenerate planes (style parallel, style orthogonal, dial at the pole).
#include "dials/polar_style_info.h"
#include "support/test_support.h"

#include <cmath>

namespace zorva::test {
namespace {

PolarStyleInput Plane(char type, double latitude, double inclination, double declination, double gnomon = 35.0) {
    PolarStyleInput in;
    in.dialType = type;
    in.latitude = latitude;
    in.longitude = -9.59;
    in.inclination = inclination;
    in.declination = declination;
    in.gnomonMm = gnomon;
    return in;
}

bool HasLineStarting(const PolarStyleInfo& info, const QString& start) {
    for (const QString& l : info.lines)
        if (l.startsWith(start)) return true;
    return false;
}

QString LineStarting(const PolarStyleInfo& info, const QString& start) {
    for (const QString& l : info.lines)
        if (l.startsWith(start)) return l;
    return {};
}

// Hours of a "h:mm" text.
double Hours(const QString& hmm) {
    const QStringList parts = hmm.split(QLatin1Char(':'));
    return parts.size() == 2 ? parts[0].toDouble() + parts[1].toDouble() / 60.0 : -1.0;
}

TEST(PolarStyleInfo, HorizontalDialAt45DegreesLineByLine) {
    // Hd = -1: the style pierces the face G below the nodus foot point, at 45 degrees.
    const PolarStyleInfo info = PolarStyleInformation(Plane('h', 45.0, 0.0, 0.0));
    const QStringList expected = {
        QStringLiteral("Horizontale SONNENUHR"),
        QStringLiteral("     Geogr. Breite:                          45.00 Grad"),
        QStringLiteral("     Geogr. Länge :                          -9.59 Grad"),
        QStringLiteral("     Gnomonhoehe normal zum Zifferblatt  :  35.000 [ mm ]"),
        QStringLiteral("     Durchstosspunkt des Polstabes       : S( 0.000/-35.000)"),
        QStringLiteral("     Winkel zw. Substilare und Polstab   :   45.00 Grad"),
        QStringLiteral("     Richtung der Substilare in P(0/0)   :    0.00 Grad"),
        QStringLiteral("     Schatten auf Substilare um (WOZ)    :   12:00  Uhr"),
        QStringLiteral(" "),
    };
    ASSERT_EQ(info.lines.size(), expected.size() + 10);
    for (qsizetype i = 0; i < expected.size(); ++i) EXPECT_EQ(info.lines[i], expected[i]) << i;
    EXPECT_EQ(info.lines[expected.size()],
              QStringLiteral("*  Ein Polstab (parallel zur Erdachse) durch die Gnomonspitze schneidet"));
    EXPECT_EQ(info.lines.last(), QStringLiteral("   die positive y-Achse vom Gnomonfusspunkt vertikal nach oben."));
    EXPECT_EQ(info.styleAngle, QStringLiteral("   45.00"));
    EXPECT_EQ(info.substyleDirection, QStringLiteral("    0.00"));
    EXPECT_EQ(info.substyleTime, QStringLiteral("12:00"));
}

TEST(PolarStyleInfo, VerticalSouthWallInEnglish) {
    PolarStyleInput in = Plane('v', 47.25, 90.0, 0.0);
    in.language = Language::English;
    const PolarStyleInfo info = PolarStyleInformation(in);
    EXPECT_EQ(info.lines[0], QStringLiteral("Vertical SUNDIAL"));
    EXPECT_EQ(info.lines[1], QStringLiteral("     Latitude     :                          47.25 deg "));
    EXPECT_EQ(info.lines[3], QStringLiteral("     Declination of dial (in degrees)    :    0.00 deg "));
    EXPECT_EQ(info.lines[4], QStringLiteral("     Inclination of dial (in degrees)    :   90.00 deg "));
    // Hd = 1: S lies G tan(phi) above the nodus foot point; the style makes -(90 - phi).
    EXPECT_EQ(LineStarting(info, QStringLiteral("     Intersection")),
              QStringLiteral("     Intersection of style and dial face : S( 0.000/37.863)"));
    EXPECT_EQ(info.styleAngle, QStringLiteral("  -42.75"));
    EXPECT_EQ(info.substyleTime, QStringLiteral("12:00"));
    EXPECT_EQ(LineStarting(info, QStringLiteral("     Shadow")),
              QStringLiteral("     Shadow on sub-style (local app.time):   12:00  o´clock"));
    EXPECT_EQ(info.lines.last(), QStringLiteral("   the direction of the y-axis is upwards (counterclockwise)."));
}

TEST(PolarStyleInfo, StyleParallelToFaceHasNoPiercingPoint) {
    // A polar plane (inclination = latitude, facing south) and a horizontal dial on the equator.
    for (const PolarStyleInput& in : {Plane('i', 40.0, 40.0, 0.0), Plane('h', 0.0, 0.0, 0.0)}) {
        const PolarStyleInfo info = PolarStyleInformation(in);
        EXPECT_TRUE(info.styleParallel);
        EXPECT_TRUE(HasLineStarting(info, QStringLiteral("     Polstab parallel zur Sonnenuhr!")));
        EXPECT_FALSE(HasLineStarting(info, QStringLiteral("     Durchstosspunkt")));
        EXPECT_EQ(info.styleAngle, QStringLiteral("    0.00"));
        for (const QString& l : info.lines) EXPECT_FALSE(l.contains(QStringLiteral("nan"), Qt::CaseInsensitive)) << l.toStdString();
    }
}

TEST(PolarStyleInfo, DialAtThePoleIsComputedJustBelowIt) {
    // At 90 degrees the style stands on the nodus foot point of a horizontal dial.
    for (double pole : {90.0, -90.0, 89.9997}) {
        const PolarStyleInfo info = PolarStyleInformation(Plane('h', pole, 0.0, 0.0));
        EXPECT_TRUE(info.styleOrthogonal) << pole;
        EXPECT_TRUE(HasLineStarting(info, QStringLiteral("     Polstab rechtwinklig zum Zifferblatt        ")));
        EXPECT_TRUE(info.styleAngle.isEmpty());
        EXPECT_EQ(info.substyleTime, QStringLiteral("12:00"));
    }
    // A vertical wall there still has a (far) piercing point and finite numbers.
    const PolarStyleInfo wall = PolarStyleInformation(Plane('v', 90.0, 90.0, 20.0));
    EXPECT_TRUE(HasLineStarting(wall, QStringLiteral("     Durchstosspunkt")));
    EXPECT_FALSE(wall.styleAngle.contains(QStringLiteral("INF")));
}

TEST(PolarStyleInfo, DecliningWallSubstyleTimeAndQuadrant) {
    // Vertical wall declining 30 degrees west at 47.25 N: tan Q = tan d / sin phi.
    const PolarStyleInfo west = PolarStyleInformation(Plane('v', 47.25, 90.0, 30.0));
    const double q = std::atan(std::tan(30.0 * M_PI / 180) / std::sin(47.25 * M_PI / 180)) * 180 / M_PI;
    EXPECT_NEAR(Hours(west.substyleTime), 12.0 + q / 15.0, 1.0 / 60.0);
    // Beyond 90 degrees of declination the shadow reaches the substyle in the evening.
    const PolarStyleInfo northWest = PolarStyleInformation(Plane('v', 47.25, 90.0, 120.0));
    const double q2 = std::atan(std::tan(120.0 * M_PI / 180) / std::sin(47.25 * M_PI / 180)) * 180 / M_PI + 180;
    EXPECT_NEAR(Hours(northWest.substyleTime), 12.0 + q2 / 15.0, 1.0 / 60.0);
    // East of south it is morning.
    EXPECT_LT(Hours(PolarStyleInformation(Plane('v', 47.25, 90.0, -30.0)).substyleTime), 12.0);
}

TEST(PolarStyleInfo, InclinedFaceDecliningWestHasAnAfternoonSubstyle) {
    // The time must tend to the vertical wall's as the face steepens, and to noon as it flattens.
    const double vertical = Hours(PolarStyleInformation(Plane('v', 47.25, 90.0, 45.0)).substyleTime);
    double previous = 12.0;
    for (double b : {10.0, 30.0, 60.0, 80.0, 89.95}) {
        const double t = Hours(PolarStyleInformation(Plane('i', 47.25, b, 45.0)).substyleTime);
        EXPECT_GT(t, previous) << b;
        EXPECT_LE(t, vertical + 1.0 / 60.0) << b;
        previous = t;
    }
    EXPECT_NEAR(previous, vertical, 2.0 / 60.0);
    // A steep face turned away to the north-west: an evening time, never past midnight.
    const double late = Hours(PolarStyleInformation(Plane('i', 47.25, 80.0, 120.0)).substyleTime);
    EXPECT_GT(late, 18.0);
    EXPECT_LT(late, 24.0);
}

TEST(PolarStyleInfo, SouthernHemisphereTimesStayOnTheClock) {
    for (double d : {-170.0, -120.0, -30.0, 0.0, 30.0, 120.0, 170.0}) {
        for (char type : {'v', 'i'}) {
            const PolarStyleInfo info = PolarStyleInformation(Plane(type, -33.9, type == 'v' ? 90.0 : 50.0, d));
            const double t = Hours(info.substyleTime);
            EXPECT_GE(t, 0.0) << type << d;
            EXPECT_LT(t, 24.0) << type << d;
        }
    }
    // A south-facing wall in the south faces the pole: its substyle is still the noon line,
    // as it is for a horizontal dial and a face tilted toward the sun.
    EXPECT_EQ(PolarStyleInformation(Plane('v', -33.9, 90.0, 0.0)).substyleTime, QStringLiteral("12:00"));
    EXPECT_EQ(PolarStyleInformation(Plane('h', -33.9, 0.0, 0.0)).substyleTime, QStringLiteral("12:00"));
    EXPECT_EQ(PolarStyleInformation(Plane('i', -33.9, 30.0, 0.0)).substyleTime, QStringLiteral("12:00"));
    EXPECT_NEAR(Hours(PolarStyleInformation(Plane('i', -33.9, 30.0, 5.0)).substyleTime), 12.0, 0.5);
}

TEST(PolarStyleInfo, DeclinationsOfWholeHourDayLengths) {
    PolarStyleInput in = Plane('v', 47.25, 90.0, 0.0);
    in.dayLengthLines = true;
    in.obliquity = 23.44;
    const PolarStyleInfo info = PolarStyleInformation(in);
    const qsizetype at = info.lines.indexOf(QStringLiteral("\r\n    Sonnendeklination f. Tage mit ganzzahliger StundenAnzahl"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(info.lines[at + 1], QStringLiteral("    12 Std.: 0.0°;"));
    // At 47.25 N only 13, 14 and 15 hours stay within the obliquity:
    // arctan(sin(7.5 k) / tan(47.25)) = 6.88, 13.46, 19.48 degrees.
    EXPECT_EQ(info.lines[at + 2], QStringLiteral("    13 Std.:   6.88°, 14 Std.:  13.46°, 15 Std.:  19.48°,"));
    EXPECT_EQ(info.lines[at + 3], QStringLiteral("    11 Std.:  -6.88°, 10 Std.: -13.46°,  9 Std.: -19.48°,"));
    EXPECT_EQ(info.lines[at + 4], QStringLiteral(" "));

    // Near the polar circle all twelve fit: four to a row, a break after each fourth.
    in.latitude = 66.0;
    const PolarStyleInfo north = PolarStyleInformation(in);
    const qsizetype n = north.lines.indexOf(QStringLiteral("    12 Std.: 0.0°;"));
    ASSERT_GE(n, 0);
    EXPECT_TRUE(north.lines[n + 1].startsWith(QStringLiteral("    13 Std.:")));
    EXPECT_TRUE(north.lines[n + 2].startsWith(QStringLiteral("    17 Std.:")));
    EXPECT_TRUE(north.lines[n + 3].startsWith(QStringLiteral("    21 Std.:")));
    EXPECT_EQ(north.lines[n + 1].count(QStringLiteral("Std.")), 4);

    // On the equator every day has twelve hours: nothing else is listed.
    in.latitude = 0.0;
    const PolarStyleInfo equator = PolarStyleInformation(in);
    const qsizetype e = equator.lines.indexOf(QStringLiteral("    12 Std.: 0.0°;"));
    ASSERT_GE(e, 0);
    EXPECT_EQ(equator.lines[e + 1].trimmed(), QString());
}

}  // namespace
}  // namespace zorva::test
