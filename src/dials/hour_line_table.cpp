#include "dials/hour_line_table.h"

#include "astro/angles.h"
#include "astro/solar_ephemeris.h"
#include "astro/sun_position.h"
#include "astro/time_format.h"
#include "dials/dial_geometry.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

constexpr int kDeclinationSteps = 16;  // samples across the year's declination range
constexpr double kHourAngleStep = 0.25;  // one minute of time

// The dial's plane at a large scale round the origin, every shadow inside.
DialPlane UnitPlane(const DialState& s) {
    DialPlane p;
    p.letter = s.dialType;
    p.umbrella = s.umbrellaDial;
    p.umbrellaRatio = s.umbrellaCircleRatio;
    p.inclination = s.planeInclination;
    p.wallDeclination = s.wallDeclination;
    p.siteLatitude = s.latitude;
    SetPlaneOrientation(p);
    p.g = 1000.0;
    p.ox = p.oy = -1e12;
    p.halfWidth = 1e12;
    p.height = 2e12;
    p.yHorizon = 0.0;
    return p;
}

struct Tracer {
    const DialPlane& plane;
    double obliquity;

    // The shadow of the nodus for the site's true hour angle H and the declination;
    // the plain inclined dial is drawn as its equivalent horizontal dial.
    ShadowSample at(double H, double declination) const {
        const HorizontalPosition hp =
            HorizontalFromHourAngle(H + 15.0 * plane.hourShift, declination, plane.effectiveLatitude);
        return ShadowPoint(hp.altitude, hp.azimuth, plane);
    }
    // A lit shadow of hour angle H on some day of the year; false when the face stays dark.
    bool litSample(double H, ShadowSample& out) const {
        // The middle of the range first: the most central point of the line.
        for (int k = 0; k <= kDeclinationSteps; ++k) {
            const int j = (k % 2 == 0) ? k / 2 : -(k + 1) / 2;
            const double delta = obliquity * j / (kDeclinationSteps / 2);
            const ShadowSample s = at(H, delta);
            if (s.frontLit && std::isfinite(s.x) && std::isfinite(s.y)) {
                out = s;
                return true;
            }
        }
        return false;
    }
};

QString Tr(const DialState& s, const char* german, const char* english) {
    return QString::fromUtf8(s.english() ? english : german);
}

}  // namespace

HourLineTable ComputeHourLineTable(const DialState& s, int linesPerHour) {
    HourLineTable result;
    for (auto& row : result.byHour) row.fill(kNoHourLineAngle);
    const int k = std::clamp(linesPerHour, 1, 6);
    result.linesPerHour = k;
    if (s.umbrellaDial || (s.dialType != 'h' && s.dialType != 'v' && s.dialType != 'i')) return result;

    const DialPlane plane = UnitPlane(s);
    const Tracer tracer{plane, ZodiacDeclinations(s.referenceYear).obliquity};
    const Offset foot = StyleFootPoint(plane);
    const QPointF S(plane.x0 + foot.dx, plane.y0 - foot.dy);
    const double sign = s.dialType == 'h' ? 1.0 : -1.0;
    // Hour lines show the true time of the site or of the zone meridian.
    const double lambdaRef = s.localTimeDisplay ? s.zoneMeridian : s.longitude;
    const double shift = lambdaRef - s.zoneMeridian;  // degrees of hour angle

    ShadowSample sample;
    const auto angleAt = [&](double H, double& angle) {
        if (!tracer.litSample(H, sample)) return false;
        const double dx = sample.x - S.x(), dy = sample.y - S.y();
        angle = std::atan2(-sign * dx, -sign * dy) / kDegToRad;
        // The noon line reads 0.00, not -0.00, whatever the last bit of its x.
        angle = std::round(angle * 1e9) / 1e9 + 0.0;
        return true;
    };

    for (int hour = 0; hour <= 24; ++hour) {
        for (int j = 0; j < k; ++j) {
            const double T = hour + static_cast<double>(j) / k;
            if (T > 24.0) break;
            double angle = kNoHourLineAngle;
            if (angleAt(15.0 * (T - 12.0) - shift, angle)) result.byHour[hour][j] = angle;
        }
    }
    const int from = std::clamp(s.hourFrom, 0, 24), to = std::clamp(s.hourTo, 0, 24);
    for (int hour = from; hour <= to; ++hour) {
        for (int j = 0; j < k; ++j) {
            HourLineAngle line;
            line.time = hour + static_cast<double>(j) / k;
            if (line.time > to + 1e-9) break;
            line.hour = hour;
            line.sub = j;
            line.angle = result.byHour[hour][j];
            line.lit = line.angle != kNoHourLineAngle;
            result.lines.push_back(line);
        }
    }

    // The range of hour angles in which the sun reaches the face on some day.
    for (double H = -180.0; H <= 180.0; H += kHourAngleStep) {
        if (!tracer.litSample(H, sample)) continue;
        if (!result.litRangeKnown) result.firstLitHourAngle = H;
        result.lastLitHourAngle = H;
        result.litRangeKnown = true;
    }
    if (result.litRangeKnown) {
        const auto clock = [&](double H) { return HourLineTimeText(12.0 + (H + shift) / 15.0).trimmed(); };
        result.sunlitPeriod = clock(result.firstLitHourAngle) + QStringLiteral(" - ") + clock(result.lastLitHourAngle);
    }
    return result;
}

HourLineAngleTable ConstructionAngles(const HourLineTable& a) {
    HourLineAngleTable t;
    t.angle = a.byHour;
    t.litRangeKnown = a.litRangeKnown;
    t.firstLitHourAngle = a.firstLitHourAngle;
    t.lastLitHourAngle = a.lastLitHourAngle;
    return t;
}

QString HourLineTimeText(double hours) {
    // The sunlit period may reach past midnight of the time reference.
    double h = hours;
    if (h < 0.0 || h > 24.0) h = std::fmod(std::fmod(h, 24.0) + 24.0, 24.0);
    QString t = FormatHourMin(h).trimmed();
    if (t.indexOf(QLatin1Char(':')) == 1) t.prepend(QLatin1Char('0'));
    return t;
}

QString HourLineAngleText(const HourLineAngle& line) {
    if (!line.lit || line.angle == kNoHourLineAngle) return QStringLiteral("  -----  ");
    return RealToText(7, 2, line.angle);
}

QString HourLineTangentText(const HourLineAngle& line) {
    if (!line.lit || line.angle == kNoHourLineAngle) return QStringLiteral("  -----  ");
    const double t = TanDeg(line.angle);
    if (t > 10000.0) return QStringLiteral("   >10000");
    if (t < -10000.0) return QStringLiteral("  <-10000");
    return RealToText(9, 4, t);
}

HourLineGrid HourLineAngleGrid(const HourLineTable& a) {
    HourLineGrid grid;
    const int n = static_cast<int>(a.lines.size());
    grid.groups = std::clamp((n + 12) / 13, 1, 4);
    grid.rows = (n + grid.groups - 1) / grid.groups;
    for (int g = 0; g < grid.groups; ++g)
        grid.headings << QStringLiteral("[hh;mm]") << QStringLiteral("[dd.dd]") << QStringLiteral(" tan(alpha)")
                      << QString();
    grid.cells.assign(static_cast<size_t>(grid.rows), QStringList());
    for (int r = 0; r < grid.rows; ++r) {
        QStringList& row = grid.cells[static_cast<size_t>(r)];
        for (int g = 0; g < grid.groups; ++g) {
            const int i = g * grid.rows + r;
            if (i < n) {
                const HourLineAngle& line = a.lines[static_cast<size_t>(i)];
                row << HourLineTimeText(line.time) << HourLineAngleText(line) << HourLineTangentText(line) << QString();
            } else {
                row << QString() << QString() << QString() << QString();
            }
        }
    }
    return grid;
}

QStringList HourLineAngleReport(const HourLineTable& a, const DialState& s) {
    QStringList out;
    const Language l = s.language;
    const int dialTitle = s.dialType == 'v' ? 4 : s.dialType == 'h' ? 5 : 6;
    out << title(29, l) + title(dialTitle, l);
    out << label(143, l) + label(s.localTimeDisplay ? 16 : 17, l);
    if (!a.sunlitPeriod.isEmpty())
        out << Tr(s, "Sonne auf dem Zifferblatt: ", "Sun on Sundial Plane: ") + a.sunlitPeriod;
    out << QString();
    const HourLineGrid grid = HourLineAngleGrid(a);
    // Fixed columns: time 7, angle 9, tangent 11, three blanks between groups.
    const auto cell = [](const QString& text, int width) { return text.rightJustified(width, QLatin1Char(' ')); };
    QString heading;
    for (int g = 0; g < grid.groups; ++g)
        heading += cell(QStringLiteral("[hh;mm]"), 7) + cell(QStringLiteral("[dd.dd]"), 9) +
                   cell(QStringLiteral(" tan(alpha)"), 11) + QStringLiteral("   ");
    while (heading.endsWith(QLatin1Char(' '))) heading.chop(1);
    out << heading;
    for (const QStringList& row : grid.cells) {
        QString text;
        for (int g = 0; g < grid.groups; ++g) {
            const int c = g * 4;
            text += cell(row[c], 7) + cell(row[c + 1], 9) + cell(row[c + 2], 11) + QStringLiteral("   ");
        }
        while (text.endsWith(QLatin1Char(' '))) text.chop(1);
        out << text;
    }
    return out;
}

}  // namespace zorva
