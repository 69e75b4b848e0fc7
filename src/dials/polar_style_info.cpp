#include "dials/polar_style_info.h"

#include "astro/angles.h"
#include "astro/solar_ephemeris.h"
#include "astro/time_format.h"
#include "dials/dial_geometry.h"
#include "text/bilingual.h"
#include "text/number_format.h"

#include <cmath>
#include <limits>

namespace zorva {
namespace {

using Texts = BilingualText;

QString T(Language lang, Texts t) { return t.in(lang); }

constexpr Texts kLatitude{"     Geogr. Breite:", "     Latitude     :"};
constexpr Texts kLongitude{"     Geogr. Länge :", "     Longitude    :"};
constexpr Texts kDeclination{"     Deklination der Uhr (Süd-Abweichung):", "     Declination of dial (in degrees)    :"};
constexpr Texts kInclination{"     Neigung der Uhrenebene (in Grad)    :", "     Inclination of dial (in degrees)    :"};
constexpr Texts kGnomon{"     Gnomonhoehe normal zum Zifferblatt  :", "     Length of gnomon, orthogonal to dial:"};
constexpr Texts kPiercing{"     Durchstosspunkt des Polstabes       : S(", "     Intersection of style and dial face : S("};
constexpr Texts kStyleAngle{"     Winkel zw. Substilare und Polstab   :", "     Angle from dial face to pole style  :"};
constexpr Texts kSubstyle{"     Richtung der Substilare in P(0/0)   :", "     Direction of sub-style in P(0/0)    :"};
constexpr Texts kParallel{"     Polstab parallel zur Sonnenuhr!", "     Polar-pointing style parallel to face"};
constexpr Texts kOrthogonal{"     Polstab rechtwinklig zum Zifferblatt        ",
                            "     Polar-pointing style orthogonal to dial face"};
constexpr Texts kSubstyleTime{"     Schatten auf Substilare um (WOZ)    :", "     Shadow on sub-style (local app.time):"};
constexpr Texts kUnit{" Grad", " deg "};
constexpr Texts kOClock{" Uhr", " o´clock"};
constexpr Texts kHours{"Std.", "hours"};
constexpr Texts kDayLengthHeading{"Sonnendeklination f. Tage mit ganzzahliger StundenAnzahl",
                                  "Sun declinations for days with integer Sunshine hours"};

constexpr Texts kExplanation[10] = {
    {"*  Ein Polstab (parallel zur Erdachse) durch die Gnomonspitze schneidet",
     "*  The polar-pointing style through the tip of the gnomon intersects with"},
    {"   die Uhrenebene in S(x/y). Die Substilare verläuft vom Gnomonfusspunkt",
     "   the dial face in S(x/y). The sub-style is drawn from the base point P"},
    {"   (=Koordinatenursprung P) zum Punkt S, und S ist zugleich Schnittpunkt",
     "   of the gnomon (= origin of coordinate-system)to point S, and S is the"},
    {"   der Stundenlinien ohne EoT.", "   intersection point of the hour lines without EoT too."},
    {"*  Die Richtung der Substilare wird in P(0/0), ausgehend von der nach",
     "*  The angle of the sub-style is measured in P(0/0), starting from the"},
    {"   unten gerichteten negativen y-Achse, im Gegenuhrzeigersinn angegeben.",
     "   negative y-axis counterclockwise."},
    {"*  Ein negativer Winkel zwischen Substilare und Polstab bedeutet, dass",
     "*  If the angle between dial face and polar-pointing style is negative,"},
    {"   der vom Punkt S zur Gnomonspitze gerichtete Polstab zum Südpol zeigt.",
     "   the style points to the South pole (seen from the face along the style)."},
    {"*  Die positive x-Achse geht vom Gnomonfusspunkt horizontal nach rechts,",
     "*  The positive x-axis is horizontal to the right, beginning in P(0/0),"},
    {"   die positive y-Achse vom Gnomonfusspunkt vertikal nach oben.",
     "   the direction of the y-axis is upwards (counterclockwise)."},
};

QString DialTitle(const PolarStyleInput& in) {
    const Language l = in.language;
    QString title;
    if (in.umbrella) {
        if (in.dialType == 'i') title = T(l, {"SCHIRMUHR,pultfoermig", "inclining Umbrella Sundial"});
        else if (in.dialType == 'v') title = T(l, {"vertikale SCHIRMUHR", "vertical Umbrella Sundial"});
        else title = T(l, {"horizontale SCHIRMUHR", "horizontal Umbrella Sundial"});
    } else {
        if (in.dialType == 'v') title = T(l, {"vertikale SONNENUHR", "vertical SUNDIAL"});
        else if (in.dialType == 'h') title = T(l, {"horizontale SONNENUHR", "horizontal SUNDIAL"});
        else title = T(l, {"inklinierende SONNENUHR", "inclining SUNDIAL"});
    }
    if (!title.isEmpty()) title[0] = title[0].toUpper();
    return title;
}

// The entries "   13 Std.:  6.94°, ..." of one block, four to a line.
QStringList DayLengthBlock(const PolarStyleInput& in, bool longer) {
    const QString hours = T(in.language, kHours);
    QString block = QStringLiteral("   ");
    for (int k = 1; k <= 12; ++k) {
        const double delta = WholeHourDayLengthDeclination(in.latitude, k, in.obliquity);
        if (std::isnan(delta)) continue;
        block += QLatin1Char(' ') + IntToTextWidth(longer ? 12 + k : 12 - k, 2) + QLatin1Char(' ') + hours +
                 QStringLiteral(": ") + RealToText(6, 2, longer ? delta : -delta) + QStringLiteral("°,");
        if (k % 4 == 0) block += QStringLiteral("\r\n   ");
    }
    return block.split(QStringLiteral("\r\n"));
}

}  // namespace

double WholeHourDayLengthDeclination(double latitude, int k, double obliquity) {
    const double phi = std::abs(latitude);
    // On the equator every day lasts twelve hours.
    if (phi < 0.01) return k == 0 ? 0.0 : std::numeric_limits<double>::quiet_NaN();
    double delta = AtanDeg(SinDeg(7.5 * k) / TanDeg(phi));
    if (std::abs(delta) > obliquity) return std::numeric_limits<double>::quiet_NaN();
    if (std::abs(delta) < 1.0) delta = 0.0;
    return delta;
}

PolarStyleInput PolarStyleInputFor(const DialState& s, double gnomonMm) {
    PolarStyleInput in;
    in.latitude = s.latitude;
    in.longitude = s.longitude;
    in.dialType = s.dialType;
    in.umbrella = s.umbrellaDial;
    in.inclination = s.dialType == 'h' ? 0.0 : s.dialType == 'v' ? 90.0 : s.planeInclination;
    in.declination = s.dialType == 'h' ? 0.0 : s.wallDeclination;
    in.gnomonMm = gnomonMm;
    in.dayLengthLines = s.wholeHourDaylengthLines;
    in.obliquity = ZodiacDeclinations(s.referenceYear).obliquity;
    in.language = s.language;
    return in;
}

PolarStyleInfo PolarStyleInformation(const PolarStyleInput& in) {
    const Language l = in.language;
    const QString unit = T(l, kUnit);
    PolarStyleInfo info;
    QStringList& lines = info.lines;

    lines << DialTitle(in);
    lines << T(l, kLatitude) + RealToText(31, 2, in.latitude) + unit;
    lines << T(l, kLongitude) + RealToText(31, 2, in.longitude) + unit;
    if (in.dialType != 'h') {
        lines << T(l, kDeclination) + RealToText(8, 2, in.declination) + unit;
        lines << T(l, kInclination) + RealToText(8, 2, in.inclination) + unit;
    }
    const double G = in.gnomonMm;
    lines << T(l, kGnomon) + RealToText(8, 3, G) + QStringLiteral(" [ mm ]");

    double phi = in.latitude;
    if (std::abs(std::abs(phi) - 90.0) < 5e-4) phi = 89.999 * Sign(phi);
    const double b = in.inclination, d = in.declination;
    const double sinB = SinDeg(b), cosB = CosDeg(b), sinD = SinDeg(d), cosD = CosDeg(d);
    const double tanPhi = TanDeg(phi), sinPhi = SinDeg(phi), cosPhi = CosDeg(phi);

    const double Hd = sinB * cosD - cosB * tanPhi;
    double xS = 0.0, yS = 0.0;
    if (std::abs(Hd) < 1e-7) {
        info.styleParallel = true;
        lines << T(l, kParallel);
    } else {
        // "+ 0.0": a face without declination writes 0.000, not -0.000.
        xS = -G * sinD / Hd + 0.0;
        yS = (cosD * cosB + sinB * tanPhi) * G / Hd + 0.0;
        lines << T(l, kPiercing) + RealToText(6, 3, xS) + QLatin1Char('/') + RealToText(6, 3, yS) + QLatin1Char(')');
    }

    if (!info.styleParallel && std::abs(xS) + std::abs(yS) < 0.005) {
        info.styleOrthogonal = true;
        lines << T(l, kOrthogonal);
    } else {
        // Negative: seen from S toward the nodus, the style points to the south pole.
        const double s = -Hd * cosPhi;
        const double A = std::abs(s) <= 1e-8 ? 0.0 : AsinDeg(s) + 0.0;
        info.styleAngle = RealToText(8, 2, A);
        lines << T(l, kStyleAngle) + info.styleAngle + unit;

        double L;
        if (std::abs(sinD) < 1e-7) L = std::abs(d) >= 1.0 ? 90.0 : -90.0;
        else L = AtanDeg((cosD * cosB + sinB * tanPhi) / sinD);
        info.substyleDirection = RealToText(8, 2, L + 90.0);
        lines << T(l, kSubstyle) + info.substyleDirection + unit;
    }

    // The shadow lies on the substyle when the sun's hour angle is the longitude difference
    // of the equivalent horizontal dial. For an inclined face that difference is taken
    // with its own sign and quadrant, so that a face declining west gets an afternoon time
    // that tends to the vertical wall's as it steepens (a face at the pole-facing side of a
    // southern wall reads the same line twelve hours apart). Times stay on the 24-hour clock.
    double Q;
    if (std::abs(std::abs(b) - 90.0) < 0.01) {
        double s = sinPhi;
        if (std::abs(s) < 1e-12) s = (Sign(s) + 0.2) * 1e-12;
        Q = AtanDeg(TanDeg(d) / s);
        if (d > 90.0) Q += 180.0;
        else if (d < -90.0) Q -= 180.0;
    } else {
        Q = Atan2Deg(sinB * sinD, sinB * cosD * sinPhi + cosB * cosPhi);
    }
    double hours = std::fmod(12.0 + Q / 15.0, 24.0);
    if (hours < 0) hours += 24.0;
    // FormatMinSec writes minutes:seconds of 4 × its argument: here hours:minutes.
    const QString time = FormatMinSec(hours / 4.0);
    info.substyleTime = time.trimmed();
    lines << T(l, kSubstyleTime) + QStringLiteral("  ") + time + QLatin1Char(' ') + T(l, kOClock);

    if (in.dayLengthLines) {
        lines << QStringLiteral("\r\n    ") + T(l, kDayLengthHeading);
        lines << QStringLiteral("    12 ") + T(l, kHours) + QStringLiteral(": 0.0°;");
        lines << DayLengthBlock(in, true);
        lines << DayLengthBlock(in, false);
    }

    lines << QStringLiteral(" ");
    for (const Texts& t : kExplanation) lines << T(l, t);
    return info;
}

}  // namespace zorva
