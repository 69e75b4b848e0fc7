#include "astro/terrain_rise_set.h"

#include "astro/angles.h"
#include "state/dial_state.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zorva {
namespace {

constexpr double kRad = kExactDegToRad;
constexpr int kStepsPerDay = 24 * 30;     // two minutes: a peak narrower than that may be missed
constexpr double kResolutionHours = 0.1 / 3600.0;

// How far the sun stands above the line at which it rises over the terrain in its direction
// (as a difference of sines); positive while it is visible. The altitude follows the plain
// search's own curve, a parabola through the hourly samples of each two-hour step, so that
// where the terrain is flat both searches find the same moment; the direction is exact.
class Clearance {
public:
    Clearance(const HorizonProfile& profile, double mjd0, double latitude, double longitude)
        : profile_(profile), mjd0_(mjd0), longitude_(longitude), sinPhi_(std::sin(latitude * kRad)),
          cosPhi_(std::cos(latitude * kRad)), threshold_(ThresholdAltitude(RiseSetBody::Sun, 0)) {
        for (int hour = 0; hour <= 24; ++hour)
            sinAltitude_[hour] = SinAltitude(RiseSetBody::Sun, mjd0, hour, longitude, cosPhi_, sinPhi_);
    }

    double operator()(double hour) const {
        const int mid = std::clamp(1 + 2 * static_cast<int>(std::floor(hour / 2)), 1, 23);
        const double x = hour - mid;
        const double yMinus = sinAltitude_[mid - 1], y0 = sinAltitude_[mid], yPlus = sinAltitude_[mid + 1];
        const double sinAlt = ((0.5 * (yPlus + yMinus) - y0) * x + 0.5 * (yPlus - yMinus)) * x + y0;
        const double terrain = HorizonElevation(profile_, azimuth(hour)).value_or(0.0);
        return sinAlt - std::sin((terrain + threshold_) * kRad);
    }

private:
    // The sun's azimuth (from south, west positive) at the hour.
    double azimuth(double hour) const {
        const double mjd = mjd0_ + hour / 24;
        const EquatorialUnit sun = MiniSunUnit((mjd - 51544.5) / 36525);
        const double lst = 15 * kRad * LocalSiderealTime(mjd, longitude_);
        const double sinLst = std::sin(lst), cosLst = std::cos(lst);
        // Hour angle = sidereal time - right ascension.
        const double cosTau = cosLst * sun.cosRightAscension + sinLst * sun.sinRightAscension;
        const double sinTau = sinLst * sun.cosRightAscension - cosLst * sun.sinRightAscension;
        return std::atan2(sun.cosDeclination * sinTau,
                          sun.cosDeclination * cosTau * sinPhi_ - sun.sinDeclination * cosPhi_) / kRad;
    }

    const HorizonProfile& profile_;
    double mjd0_, longitude_, sinPhi_, cosPhi_, threshold_;
    std::array<double, 25> sinAltitude_{};
};

// The moment within (a, b] at which the clearance changes its sign; the terrain steps from
// sector to sector, so the crossing is bracketed, not interpolated.
double Crossing(const Clearance& f, double a, double b, bool visibleAtA) {
    while (b - a > kResolutionHours) {
        const double m = (a + b) / 2;
        if ((f(m) > 0) == visibleAtA) a = m;
        else b = m;
    }
    return (a + b) / 2;
}

}  // namespace

RiseSetTimes TerrainSunRiseSet(const HorizonProfile& profile, double mjd0, double latitude, double longitude) {
    const Clearance f(profile, mjd0, latitude, longitude);
    RiseSetTimes r;
    double previous = 0;
    bool visible = f(0) > 0;
    r.aboveAtMidnight = visible;
    for (int i = 1; i <= kStepsPerDay; ++i) {
        const double hour = 24.0 * i / kStepsPerDay;
        const bool now = f(hour) > 0;
        if (now != visible) {
            const double t = Crossing(f, previous, hour, visible);
            if (now && !r.rises) {
                r.rises = true;
                r.riseHours = t;
            } else if (!now) {
                r.sets = true;
                r.setHours = t;
            }
            visible = now;
        }
        previous = hour;
    }
    return r;
}

DayRiseSet RiseSetForDayOverTerrain(const HorizonProfile* profile, int year, int month, int day, double latitude,
                                    double longitude, double zoneMeridian, int twilightKind) {
    DayRiseSet r = RiseSetForDay(year, month, day, latitude, longitude, zoneMeridian, twilightKind);
    if (profile)
        r.sun = TerrainSunRiseSet(*profile, MidnightMJD(year, month, day, zoneMeridian), latitude, longitude);
    return r;
}

const HorizonProfile* RiseSetTerrain(const DialState& state) {
    return state.sunriseOverTerrain ? state.horizonProfile.get() : nullptr;
}

}  // namespace zorva
