#include "astro/rise_set.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/time_format.h"
#include "text/texts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zorva {
namespace {

// The rise/set search carries its own constants (full-precision degree factor and the
// published ones of the short series), independent of the program's stored factor.
constexpr double kRad = kExactDegToRad;
constexpr double kTwoPi = 6.283185307;

}  // namespace

double TwilightAltitude(int twilightKind) {
    switch (twilightKind) {
        case 0: return -6.0;
        case 2: return -18.0;
        default: return -12.0;
    }
}

double ThresholdAltitude(RiseSetBody body, int twilightKind) {
    switch (body) {
        case RiseSetBody::Moon: return 0.13333333333333333;   // +8'
        case RiseSetBody::Sun: return -0.8333333333333334;    // -50'
        case RiseSetBody::Twilight: break;
    }
    return TwilightAltitude(twilightKind);
}

double ThresholdSine(RiseSetBody body, int twilightKind) {
    // Five altitudes in all: each sine is taken once.
    static const std::array<double, 5> sines = [] {
        std::array<double, 5> v{};
        v[0] = std::sin(ThresholdAltitude(RiseSetBody::Moon, 1) * kRad);
        v[1] = std::sin(ThresholdAltitude(RiseSetBody::Sun, 1) * kRad);
        for (int kind = 0; kind < 3; ++kind) v[2 + kind] = std::sin(TwilightAltitude(kind) * kRad);
        return v;
    }();
    switch (body) {
        case RiseSetBody::Moon: return sines[0];
        case RiseSetBody::Sun: return sines[1];
        case RiseSetBody::Twilight: break;
    }
    return sines[2 + (twilightKind == 0 ? 0 : twilightKind == 2 ? 2 : 1)];
}

namespace {

// Mean anomaly M and the mean longitude without its periodic part.
struct SunArguments {
    RotatingAngle M, L;
    static constexpr double kRateM = 99.997351, kRateL = 99.997351 + 6191.2 / 1296000;
    static SunArguments At(double T) {
        return {RotatingAngle::At(0.993133, kRateM, T), RotatingAngle::At(0.7859453 + 0.993133, kRateL, T)};
    }
    // The arguments `hours` (0..24) later.
    SunArguments afterHours(int hours) const {
        static const std::array<SunArguments, 25> turns = [] {
            const DayOfTurns m = DayOfTurns::OfSeriesRate(kRateM), l = DayOfTurns::OfSeriesRate(kRateL);
            std::array<SunArguments, 25> t;
            for (int h = 0; h <= 24; ++h) t[h] = {m.after[h], l.after[h]};
            return t;
        }();
        return {M.turnedBy(turns[hours].M), L.turnedBy(turns[hours].L)};
    }
};

EquatorialUnit SunFromArguments(const SunArguments& a) {
    const double sM = a.M.s, cM = a.M.c;
    const double DL = 6893 * sM + 72 * (2 * sM * cM);
    const double d = kTwoPi * DL / 1296000;  // the periodic part of the longitude, below 0.04 rad
    const double sd = SinSmall(d), cd = CosSmall(d);
    const double SL = a.L.s * cd + a.L.c * sd;
    const double X = a.L.c * cd - a.L.s * sd;
    const double Y = 0.91748 * SL;
    const double Z = 0.39778 * SL;
    const double rho = std::sqrt(1 - Z * Z);
    return EquatorialUnitFromCartesian(X, Y, Z, rho);
}

}  // namespace

EquatorialUnit MiniSunUnit(double T) {
    return SunFromArguments(SunArguments::At(T));
}

RaDec MiniSun(double T) {
    return RaDecFromUnit(MiniSunUnit(T));
}

double LocalSiderealTime(double mjd, double longitude) {
    const double mjd0 = std::trunc(mjd);
    const double ut = (mjd - mjd0) * 24;
    const double t0 = (mjd0 - 51544.5) / 36525;
    const double gmst = 6.697374558 + 1.0027379093 * ut +
                        (8640184.812866 + (0.093104 - 6.2e-6 * t0) * t0) * t0 / 3600;
    return 24 * FracPositive((gmst - longitude / 15) / 24);
}

QuadraticZerosResult QuadraticZeros(double yMinus, double y0, double yPlus) {
    QuadraticZerosResult r;
    const double a = 0.5 * (yPlus + yMinus) - y0;
    const double b = 0.5 * (yPlus - yMinus);
    const double c = y0;
    if (a == 0) return r;
    r.xe = -b / (2 * a);
    r.ye = (a * r.xe + b) * r.xe + c;
    const double dis = b * b - 4 * a * c;
    if (!(dis >= 0)) return r;
    const double dx = 0.5 * std::sqrt(dis) / std::abs(a);
    r.zero1 = r.xe - dx;
    r.zero2 = r.xe + dx;
    if (std::abs(r.zero1) <= 1) ++r.count;
    if (std::abs(r.zero2) <= 1) ++r.count;
    if (r.zero1 < -1) r.zero1 = r.zero2;
    return r;
}

namespace {

// cos of the hour angle LST - RA by the difference formula: the sines and cosines of the
// right ascension come with the direction.
double SinAltitudeOf(const EquatorialUnit& p, double sinLst, double cosLst, double cosPhi, double sinPhi) {
    const double cosTau = cosLst * p.cosRightAscension + sinLst * p.sinRightAscension;
    return sinPhi * p.sinDeclination + cosPhi * p.cosDeclination * cosTau;
}

}  // namespace

double SinAltitude(RiseSetBody body, double mjd0, double hour, double longitude, double cosPhi, double sinPhi) {
    const double mjd = mjd0 + hour / 24;
    const double T = (mjd - 51544.5) / 36525;
    const EquatorialUnit p = body == RiseSetBody::Moon ? MiniMoonUnit(T) : MiniSunUnit(T);
    const double lst = 15 * kRad * LocalSiderealTime(mjd, longitude);
    return SinAltitudeOf(p, std::sin(lst), std::cos(lst), cosPhi, sinPhi);
}

double MidnightMJD(int year, int month, int day, double zoneMeridian) {
    return ModifiedJulianDate(day, month, year, 0) + zoneMeridian / 360;
}

namespace {

// hour / 24 for the whole hours of a day.
constexpr std::array<double, 25> kHourFraction = [] {
    std::array<double, 25> f{};
    for (int hour = 0; hour <= 24; ++hour) f[hour] = hour / 24.0;
    return f;
}();

// Local sidereal time at the whole hours 0..24 of one day as its sine and cosine; the same
// for every body of the day.
class DaySiderealTime {
public:
    DaySiderealTime(double mjd0, double longitude) {
        // Within a UT day the angle grows by exactly one sidereal hour per hour: an hour's value
        // is the day's first turned by whole sidereal hours. Where UT passes midnight the
        // formula restarts from the new day; there the exact angle is computed and turned on
        // from there. The day's 24 hours pass midnight at most once.
        static const double kNominal = 15 * kRad * 1.0027379093;
        static const DayOfTurns turns(kNominal);
        const double lst0 = 15 * kRad * LocalSiderealTime(mjd0, longitude);
        const RotatingAngle start{std::sin(lst0), std::cos(lst0)};
        const int crossing = FirstHourOfNextUtDay(mjd0);
        for (int hour = 0; hour < crossing; ++hour) store(hour, start.turnedBy(turns.after[hour]));
        if (crossing > 24) return;
        const double lst = 15 * kRad * LocalSiderealTime(mjd0 + kHourFraction[crossing], longitude);
        constexpr double kFullCircle = 15 * kRad * 24;
        double residue = lst - lst0 - crossing * kNominal;
        residue -= kFullCircle * std::round(residue / kFullCircle);
        // The residue stays below 1e-8 rad: sine and cosine to second order are exact.
        const RotatingAngle restart = start.turnedBy(turns.after[crossing]).turnedBy({residue, 1 - residue * residue / 2});
        for (int hour = crossing; hour <= 24; ++hour) store(hour, restart.turnedBy(turns.after[hour - crossing]));
    }
    double sinAt(int hour) const { return sin_[hour]; }
    double cosAt(int hour) const { return cos_[hour]; }

private:
    // The first whole hour whose UT day (the integer part of its MJD) is not midnight's; 25 if
    // none. The day number never falls as the hours go on: a binary search.
    static int FirstHourOfNextUtDay(double mjd0) {
        const double utDay = std::trunc(mjd0);
        int below = 0, above = 25;  // day(below) == utDay, day(above) differs (25: none)
        while (above - below > 1) {
            const int middle = (below + above) / 2;
            (std::trunc(mjd0 + kHourFraction[middle]) == utDay ? below : above) = middle;
        }
        return above;
    }
    void store(int hour, const RotatingAngle& at) {
        sin_[hour] = at.s;
        cos_[hour] = at.c;
    }

    std::array<double, 25> sin_, cos_;
};

// Sine of a body's altitude at the whole hours 0..24 of one day, each computed once and
// only when asked for: the sun and twilight scans read the same sun, and the series'
// arguments are midnight's turned by the hours instead of fresh library calls.
class HourlySinAltitude {
public:
    HourlySinAltitude(RiseSetBody body, double mjd0, double sinPhi, double cosPhi, const DaySiderealTime& lst)
        : moon_(body == RiseSetBody::Moon), sinPhi_(sinPhi), cosPhi_(cosPhi), lst_(lst) {
        const double T0 = (mjd0 - 51544.5) / 36525;
        if (moon_)
            moonMidnight_ = MoonArguments::At(T0);
        else
            sunMidnight_ = SunArguments::At(T0);
    }
    double operator()(int hour) {
        if (!(known_ >> hour & 1)) compute(hour);
        return value_[hour];
    }
    // The direction at 0:00 and at 24:00, each with its sample.
    const EquatorialUnit& midnight() {
        operator()(0);
        return midnight_;
    }
    const EquatorialUnit& nextMidnight() {
        operator()(24);
        return nextMidnight_;
    }
    double sinPhi() const { return sinPhi_; }
    double cosPhi() const { return cosPhi_; }
    const DaySiderealTime& siderealTime() const { return lst_; }

private:
    [[gnu::noinline]] void compute(int hour) {
        const EquatorialUnit p = moon_ ? MoonFromArguments(moonMidnight_.afterHours(hour))
                                       : SunFromArguments(sunMidnight_.afterHours(hour));
        value_[hour] = SinAltitudeOf(p, lst_.sinAt(hour), lst_.cosAt(hour), cosPhi_, sinPhi_);
        known_ |= 1u << hour;
        if (hour == 0) midnight_ = p;
        if (hour == 24) nextMidnight_ = p;
    }

    bool moon_;
    double sinPhi_, cosPhi_;
    const DaySiderealTime& lst_;
    MoonArguments moonMidnight_;
    SunArguments sunMidnight_;
    std::array<double, 25> value_;
    uint32_t known_ = 0;  // bit h: value_[h] is computed
    EquatorialUnit midnight_, nextMidnight_;
};

// Whether a two-hour window of the scan may hold an event; false only when its parabola
// cannot reach zero in [-1, 1] whatever its middle sample: the bend a = (y(-1) + y(1)) / 2
// - y(0) stays within kSinAltitudeBend. Skipping the others skips their middle hour's
// series. The margin keeps the skip off windows whose samples come close to zero, where
// the parabola's own rounding could decide.
constexpr double kSkipMargin = 1e-4;

bool WindowMayHoldEvent(double yMinus, double yPlus) {
    const double mid = 0.5 * (yPlus + yMinus), b = 0.5 * (yPlus - yMinus);
    const bool vertexInside = std::abs(b) < 2 * kSinAltitudeBend;
    const double reach = kSinAltitudeBend + b * b / (4 * kSinAltitudeBend);
    if (yMinus > 0 && yPlus > 0) {
        // The lowest parabola: the middle sample kSinAltitudeBend below the ends' mean.
        const double lowest = vertexInside ? mid - reach : std::min(yMinus, yPlus);
        return !(lowest > kSkipMargin);
    }
    if (yMinus < 0 && yPlus < 0) {
        const double highest = vertexInside ? mid + reach : std::max(yMinus, yPlus);
        return !(highest < -kSkipMargin);
    }
    return true;
}

// Where a day's events can be, from the body's directions at 0:00 and 24:00 alone: in
// between the direction departs from the chord joining them by at most
// bend * k (24 - k) / 2 after k hours (bend: its second derivative's bound, per hour squared),
// and the sine of the altitude, the zenith's dot product with it, by no more. The parabola of
// a window moves by at most 1.25 times its samples' error (the largest sum of the three
// Lagrange weights on [-1, 1]), so a window whose forecast parabola stays farther from zero
// cannot hold an event: it is passed without a series.
class DayForecast {
public:
    DayForecast(HourlySinAltitude& sinAltitude, double bend) : bend_(bend) {
        const EquatorialUnit& a = sinAltitude.midnight();
        const EquatorialUnit& b = sinAltitude.nextMidnight();
        const double cosPhi = sinAltitude.cosPhi(), sinPhi = sinAltitude.sinPhi();
        // The direction's components, times the zenith's parts that do not turn with the sky.
        const double x = cosPhi * a.cosDeclination * a.cosRightAscension, y = cosPhi * a.cosDeclination * a.sinRightAscension;
        const double dx = cosPhi * b.cosDeclination * b.cosRightAscension - x;
        const double dy = cosPhi * b.cosDeclination * b.sinRightAscension - y;
        const double z = sinPhi * a.sinDeclination, dz = sinPhi * b.sinDeclination - z;
        const DaySiderealTime& lst = sinAltitude.siderealTime();
        for (int k = 0; k <= 24; ++k) {
            const double f = kHourFraction[k];
            sinAltitude_[k] = (z + dz * f) + lst.cosAt(k) * (x + dx * f) + lst.sinAt(k) * (y + dy * f);
        }
    }
    bool windowMayHoldEvent(int hour, double sinThreshold) const {
        const double yMinus = sinAltitude_[hour - 1] - sinThreshold, y0 = sinAltitude_[hour] - sinThreshold,
                     yPlus = sinAltitude_[hour + 1] - sinThreshold;
        const double reach = bend_ * kReachPerBend[hour / 2] + kSkipMargin;
        const double a = 0.5 * (yPlus + yMinus) - y0, b = 0.5 * (yPlus - yMinus);
        // Both ends beyond the reach on one side: the parabola crosses only when its vertex lies
        // within [-1, 1] (|b| < 2 |a|) and its value there, y0 - b^2 / 4a, comes within reach.
        if (yMinus > reach && yPlus > reach) return a > 0 && std::abs(b) < 2 * a && !(4 * a * (y0 - reach) > b * b);
        if (yMinus < -reach && yPlus < -reach)
            return a < 0 && std::abs(b) < -2 * a && !(4 * a * (y0 + reach) > b * b);
        return true;
    }

private:
    // By window: 1.25 times the largest k (24 - k) / 2 of its three samples (the one nearest noon).
    static constexpr std::array<double, 12> kReachPerBend = [] {
        std::array<double, 12> r{};
        for (int hour = 1; hour < 24; hour += 2) {
            const int k = std::clamp(12, hour - 1, hour + 1);
            r[hour / 2] = 1.25 * (k * (24 - k) / 2);
        }
        return r;
    }();
    double bend_;
    std::array<double, 25> sinAltitude_;
};

// The scan in two-hour windows [h - 1, h + 1] (h odd), each with the parabola through its
// three samples; a window is passed when the forecast shows it cannot hold an event, and its
// middle sample is not taken when its ends show that.
RiseSetTimes Scan(HourlySinAltitude& sinAltitude, double sinThreshold, const DayForecast& forecast) {
    auto y = [&](int hour) { return sinAltitude(hour) - sinThreshold; };
    RiseSetTimes r;
    r.aboveAtMidnight = y(0) > 0;
    for (int hour = 1; hour < 25 && !(r.rises && r.sets); hour += 2) {
        if (!forecast.windowMayHoldEvent(hour, sinThreshold)) continue;
        const double yMinus = y(hour - 1), yPlus = y(hour + 1);
        if (!WindowMayHoldEvent(yMinus, yPlus)) continue;
        const double y0 = y(hour);
        const QuadraticZerosResult q = QuadraticZeros(yMinus, y0, yPlus);
        if (q.count == 1) {
            if (yMinus < 0) {
                r.riseHours = hour + q.zero1;
                r.rises = true;
            } else {
                r.setHours = hour + q.zero1;
                r.sets = true;
            }
        } else if (q.count == 2) {
            if (q.ye < 0) {
                r.riseHours = hour + q.zero2;
                r.setHours = hour + q.zero1;
            } else {
                r.riseHours = hour + q.zero1;
                r.setHours = hour + q.zero2;
            }
            r.rises = r.sets = true;
        }
    }
    return r;
}

}  // namespace

RiseSetTimes RiseSetSearch(RiseSetBody body, double mjd0, double latitude, double longitude, double sinThreshold) {
    const DaySiderealTime lst(mjd0, longitude);
    HourlySinAltitude sinAltitude(body, mjd0, std::sin(latitude * kRad), std::cos(latitude * kRad), lst);
    const DayForecast forecast(sinAltitude, body == RiseSetBody::Moon ? kMoonDirectionBend : kSunDirectionBend);
    return Scan(sinAltitude, sinThreshold, forecast);
}

RiseSetTexts RiseSetText(const RiseSetTimes& times, RiseSetBody body, Language lang) {
    RiseSetTexts t;
    if (times.wholeDay()) {
        const bool twilight = body == RiseSetBody::Twilight;
        const int n = times.aboveAtMidnight ? (twilight ? 69 : 68) : (twilight ? 71 : 70);
        t.rise = t.set = label(n, lang);
        return t;
    }
    const QString none = QStringLiteral(" -----");
    t.rise = times.rises ? FormatHourMin(times.riseHours) : none;
    t.set = times.sets ? FormatHourMin(times.setHours) : none;
    t.complete = times.rises && times.sets;
    return t;
}

DayRiseSet RiseSetForDay(int year, int month, int day, double latitude, double longitude, double zoneMeridian,
                         int twilightKind) {
    const double mjd0 = MidnightMJD(year, month, day, zoneMeridian);
    DayRiseSet r;
    // Tables ask for one site day after day: its latitude's sine and cosine are taken once.
    static thread_local double cachedLatitude = std::nan(""), sinPhi = 0, cosPhi = 1;
    if (latitude != cachedLatitude) {
        sinPhi = std::sin(latitude * kRad);
        cosPhi = std::cos(latitude * kRad);
        cachedLatitude = latitude;
    }
    const DaySiderealTime lst(mjd0, longitude);
    HourlySinAltitude sun(RiseSetBody::Sun, mjd0, sinPhi, cosPhi, lst);
    const DayForecast sunForecast(sun, kSunDirectionBend);
    r.sun = Scan(sun, ThresholdSine(RiseSetBody::Sun, twilightKind), sunForecast);
    r.twilight = Scan(sun, ThresholdSine(RiseSetBody::Twilight, twilightKind), sunForecast);
    HourlySinAltitude moon(RiseSetBody::Moon, mjd0, sinPhi, cosPhi, lst);
    const DayForecast moonForecast(moon, kMoonDirectionBend);
    r.moon = Scan(moon, ThresholdSine(RiseSetBody::Moon, twilightKind), moonForecast);
    return r;
}

QString RiseSetTableColumns(const DayRiseSet& day, Language lang) {
    QString line;
    auto append = [&](const RiseSetTimes& times, RiseSetBody body, bool setFirst) {
        const RiseSetTexts t = RiseSetText(times, body, lang);
        if (times.wholeDay()) {
            line += t.rise;
            return;
        }
        // Rise and set stand side by side and the pair is followed by two blanks, so that a
        // pair is as wide as a whole-day label and the columns stay under their headers.
        const QString blanks = QStringLiteral("  ");
        line += setFirst ? t.set + t.rise + blanks : t.rise + t.set + blanks;
    };
    append(day.sun, RiseSetBody::Sun, false);
    append(day.twilight, RiseSetBody::Twilight, true);  // evening end first, then morning begin
    append(day.moon, RiseSetBody::Moon, false);
    return line;
}

// --- closed-form day arc

namespace {

double SemiDiurnalArc(double declination, double latitude) {
    const double x = -TanDeg(latitude) * TanDeg(declination);
    if (90 - std::abs(latitude) < 1e-6 || std::abs(x) < 1e-15) return 90;
    if (std::abs(x) >= 1) return 90 - Sign(x) * 90;
    double h0 = AtanDeg(std::sqrt(1 - x * x) / x);
    if (h0 < 0) h0 += 180;
    return h0;
}

DayArcResult ArcWithFlags(double declination, double latitude, bool strictNorth) {
    DayArcResult r;
    r.declination = declination;
    if (latitude > 0) {
        const double setsMargin = 90 - declination - latitude;
        const double risesMargin = declination + 90 - latitude;
        r.sets = strictNorth ? setsMargin > 0 : setsMargin >= 0;
        r.rises = strictNorth ? risesMargin > 0 : risesMargin >= 0;
    } else {
        r.sets = latitude + 90 + declination >= 0;
        r.rises = latitude + 90 - declination >= 0;
    }
    r.semiDiurnalArc = r.rises && r.sets ? SemiDiurnalArc(declination, latitude) : 0.0;
    return r;
}

// H0 of the azimuth-dial rule: acos(x) with its own guards, 0..180.
double SunsetHourAngle(double declination, double latitude) {
    const double x = -TanDeg(latitude) * TanDeg(declination);
    if (std::abs(x) < 1e-12) return 90;
    if (std::abs(x) > 0.9999999) return 90 - Sign(x) * 90;
    return AcosDeg(x);
}

}  // namespace

DayArcResult DayArc(int year, double dayOfYear, double meridian, double latitude) {
    const double decl = SunPosition(year, dayOfYear, 12.0, latitude, meridian, meridian, false).declination;
    return ArcWithFlags(decl, latitude, false);
}

DayArcResult DayArcForDeclination(double declination, double latitude) {
    return ArcWithFlags(declination, latitude, true);
}

MeanRiseSet SunriseSunsetMean(int year, double dayOfYear, double meridian, double latitude, double zoneMeridian) {
    const DayArcResult arc = DayArc(year, dayOfYear, meridian, latitude);
    if (arc.rises && !arc.sets) return {0.0, 24.0};
    if (!arc.rises) return {-1.0, 0.0};
    // Longitudes count west: a meridian west of the zone sees the sun later by 4 min per degree.
    const double shift = (meridian - zoneMeridian) / 15;
    return {12 + shift - arc.semiDiurnalArc / 15, 12 + shift + arc.semiDiurnalArc / 15};
}

RiseSetDirections RiseSetAzimuths(int year, double dayOfYear, double meridian, double latitude) {
    RiseSetDirections r;
    r.declination = SunPositionNoonEphemeris(year, dayOfYear, 12.0, latitude, meridian, meridian, false).declination;
    const double h0 = SunsetHourAngle(r.declination, latitude);
    r.rise = 12 - h0 / 15;
    r.set = 12 + h0 / 15;
    r.atRise = SunPositionNoonEphemeris(year, dayOfYear, r.rise, latitude, meridian, meridian, false);
    r.atSet = SunPositionNoonEphemeris(year, dayOfYear, r.set, latitude, meridian, meridian, false);
    return r;
}

HourAngleDirection SunsetHourAngleDirection(double declination, double latitude) {
    HourAngleDirection r;
    r.hourAngle = SunsetHourAngle(declination, latitude);
    r.direction = HorizontalFromHourAngle(r.hourAngle, declination, latitude);
    return r;
}

namespace {

// The mean rise and set on `days` of every month from `firstMonth` to December, with the sun's
// azimuth at both when asked.
template <size_t N>
std::array<FixedDayRiseSet, N> MeanRiseSetTable(int year, double meridian, double latitude, double zoneMeridian,
                                                int firstMonth, std::initializer_list<int> days, bool azimuths) {
    std::array<FixedDayRiseSet, N> table;
    size_t i = 0;
    for (int month = firstMonth; month <= 12; ++month)
        for (int day : days) {
            const int doy = DayOfYear(year, month, day);
            const MeanRiseSet m = SunriseSunsetMean(year, doy, meridian, latitude, zoneMeridian);
            FixedDayRiseSet& e = table[i++];
            e = {month, day, m.rise, m.set, 0.0, 0.0};
            if (!azimuths) continue;
            e.riseAzimuth = SunPosition(year, doy, m.rise, latitude, meridian, zoneMeridian, false).azimuth;
            e.setAzimuth = SunPosition(year, doy, m.set, latitude, meridian, zoneMeridian, false).azimuth;
        }
    return table;
}

}  // namespace

std::array<FixedDayRiseSet, 21> MeanRiseSetSummerToWinter(int year, double meridian, double latitude,
                                                          double zoneMeridian) {
    return MeanRiseSetTable<21>(year, meridian, latitude, zoneMeridian, 6, {1, 11, 21}, false);
}

std::array<FixedDayRiseSet, 48> MeanRiseSetFourDaysAMonth(int year, double meridian, double latitude,
                                                          double zoneMeridian) {
    return MeanRiseSetTable<48>(year, meridian, latitude, zoneMeridian, 1, {1, 8, 15, 22}, true);
}

}  // namespace zorva
