#include "astro/graphs.h"
#include "astro/eot_axis.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/rise_set.h"
#include "astro/solar_ephemeris.h"
#include "astro/sun_position.h"
#include "astro/vector_state.h"
#include "state/dial_state.h"

#include <algorithm>
#include <cmath>

namespace zorva {

EotCorrectionSplit SplitEotCorrection(double longitude, double zoneMeridian, bool enabled, MinuteSplit split) {
    if (!enabled) return {};
    const double minutes = -NormalizeAngle180(longitude - zoneMeridian) * 4.0;
    const double whole = split == MinuteSplit::Rounded ? std::nearbyint(minutes) : std::trunc(minutes);
    return {static_cast<int>(whole), (minutes - whole) / 4.0};
}

bool EotMinuteIsGridLine(int minute) { return minute % 5 == 0 || std::abs(minute) == kEotAxisMinutes; }

bool EotRowIsLabelled(int row, int wholeMinutes) { return (row + wholeMinutes) % 5 == 0; }

int EotDayAxisRow(int wholeMinutes) { return std::clamp(-wholeMinutes, -kEotAxisMinutes, kEotAxisMinutes); }

EotGraph BuildEotGraph(int year, double longitude, double zoneMeridian, bool longitudeCorrection, MinuteSplit split) {
    ClearUpperVectorState();
    EotGraph g;
    g.year = year;
    g.daysInYear = IsLeapYear(year) ? 366 : 365;
    g.correction = SplitEotCorrection(longitude, zoneMeridian, longitudeCorrection, split);
    for (int m = 2; m <= 12; ++m) g.monthStarts[m - 2] = DayOfYear(year, m, 1) - 1;
    g.monthStarts[11] = g.daysInYear;
    // No curve rather than one extrapolated far beyond the ephemeris.
    if (!ReferenceYearInRange(year)) return g;

    const auto point = [&](double x, double d) {
        return EotGraphPoint{x, (SolarDeclinationEoT(year, d).eot + g.correction.fractionDegrees) * 4.0};
    };
    g.curve.reserve(g.daysInYear / 3 + 2);
    for (int d = 1; d <= g.daysInYear; d += 3) g.curve.push_back(point(d - 1, d));
    g.curve.push_back(point(g.daysInYear, g.daysInYear + 1));
    return g;
}

namespace {

// Appends a point to a line broken into pieces: where the azimuth jumps across north the
// piece ends at one edge of the diagram and the next begins at the other.
class PieceBuilder {
public:
    explicit PieceBuilder(std::vector<SkyPolyline>& pieces) : pieces_(pieces) {}

    void add(const SkyPoint& p) {
        if (open_ && !pieces_.back().empty()) {
            const SkyPoint& q = pieces_.back().back();
            if (std::abs(p.azimuth - q.azimuth) > 180.0) {
                const double edge = q.azimuth >= 0 ? 180.0 : -180.0;
                const double unwrapped = p.azimuth + 2.0 * edge;
                const double f = (edge - q.azimuth) / (unwrapped - q.azimuth);
                const double alt = q.altitude + f * (p.altitude - q.altitude);
                pieces_.back().push_back({edge, alt, q.marked});
                pieces_.push_back({{-edge, alt, p.marked}});
            }
        }
        if (!open_) {
            pieces_.emplace_back();
            open_ = true;
        }
        pieces_.back().push_back(p);
    }
    void close() {
        if (open_ && pieces_.back().size() < 2) pieces_.pop_back();
        open_ = false;
    }

private:
    std::vector<SkyPolyline>& pieces_;
    bool open_ = false;
};

SkyPoint Sky(double hourAngle, double declination, double latitude, const SkyMarker& marker) {
    const HorizontalPosition h = HorizontalFromHourAngle(hourAngle, declination, latitude);
    SkyPoint p{h.azimuth, h.altitude, false};
    if (marker) p.marked = marker(p.azimuth, p.altitude);
    return p;
}

DayPath TraceDayPath(int index, double declination, double latitude, const SkyMarker& marker) {
    DayPath path;
    path.zodiacIndex = index;
    path.declination = declination;
    const DayArcResult arc = DayArcForDeclination(declination, latitude);
    double h0 = 0.0;
    if (arc.rises && arc.sets) h0 = arc.semiDiurnalArc;
    else if (arc.rises) h0 = 180.0;  // the sun does not set
    if (h0 <= 0.0) return path;

    PieceBuilder builder(path.pieces);
    double t = -h0;
    SkyPoint p = Sky(t, declination, latitude, marker);
    builder.add(p);
    while (t < h0) {
        // Finer steps near the horizon, where the altitude changes its course fastest.
        t += p.altitude >= 1.0 ? 0.5 : 0.1;
        if (t > h0) t = h0;
        p = Sky(t, declination, latitude, marker);
        builder.add(p);
    }
    builder.close();

    path.noon = Sky(-0.01, declination, latitude, marker);
    path.noonVisible = path.noon.altitude > 0.0;
    return path;
}

HourLine TraceHourLine(double hour, double latitude, double hourAngleShift, const SkyMarker& marker) {
    HourLine line;
    line.hour = hour;
    line.fullHour = hour == std::floor(hour);
    const double t = (hour - 12.0) * 15.0 - hourAngleShift;
    constexpr double kFirst = -23.6, kLast = 23.45;

    PieceBuilder builder(line.pieces);
    bool seenAbove = false;
    bool havePrevious = false;
    SkyPoint previous;
    double decl = kFirst;
    for (;;) {
        const SkyPoint p = Sky(t, decl, latitude, marker);
        if (havePrevious && (previous.altitude >= 0.0) != (p.altitude >= 0.0) &&
            std::abs(p.azimuth - previous.azimuth) <= 180.0) {
            // Meet the horizon exactly where the line crosses it.
            const double f = previous.altitude / (previous.altitude - p.altitude);
            SkyPoint h{previous.azimuth + f * (p.azimuth - previous.azimuth), 0.0, p.marked};
            if (p.altitude >= 0.0) {
                builder.add(h);
            } else {
                builder.add(h);
                builder.close();
            }
        }
        if (p.altitude >= 0.0) {
            builder.add(p);
            seenAbove = true;
        }
        previous = p;
        havePrevious = true;
        if (decl >= kLast) break;
        decl += seenAbove && p.altitude > -0.1 ? 0.4 : 0.1;
        if (decl > kLast) decl = kLast;
    }
    builder.close();
    line.end = previous;
    line.endVisible = previous.altitude > 0.0;
    return line;
}

}  // namespace

SunPathDiagram BuildSunPathDiagram(double latitude, const std::array<double, 8>& zodiac, double hourAngleShift,
                                   const SkyMarker& marker) {
    ClearUpperVectorState();
    SunPathDiagram diagram;
    for (int i = 1; i <= 7; ++i) {
        DayPath path = TraceDayPath(i, zodiac[i], latitude, marker);
        if (!path.pieces.empty()) diagram.dayPaths.push_back(std::move(path));
    }
    for (int half = 0; half <= 48; ++half)
        diagram.hourLines.push_back(TraceHourLine(half / 2.0, latitude, hourAngleShift, marker));
    return diagram;
}

SkyMarker PlaneShadowMarker(double inclination, double wallDeclination) {
    return [normalAltitude = 90.0 - inclination, wallDeclination](double azimuth, double altitude) {
        return IncidenceCosine(altitude, azimuth, normalAltitude, wallDeclination) < 0.0;
    };
}

}  // namespace zorva
