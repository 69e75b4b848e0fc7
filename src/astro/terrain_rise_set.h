#pragma once
// Sunrise and sunset over the terrain of a horizon profile: the first moment of the day at
// which the sun stands above the terrain in its direction and the last one, found by the
// same rule as the plain sunrise (the sun's centre 50' below the line: refraction and the
// half diameter), so that a flat profile gives the plain times.

#include "astro/horizon_profile.h"
#include "astro/rise_set.h"

namespace zorva {

struct DialState;

// The sun of the day from `mjd0` (MidnightMJD) over 24 hours at the site (longitude WEST
// positive), against the profile. `rises`/`sets` mark the first appearance and the last
// disappearance; a sun that appears and hides again in between (a peak) keeps the outer
// two. Sectors without terrain count as the flat horizon.
RiseSetTimes TerrainSunRiseSet(const HorizonProfile& profile, double mjd0, double latitude, double longitude);

// Sun, twilight and moon of the day as RiseSetForDay, the sun's rise and set over the
// terrain when `profile` is given.
DayRiseSet RiseSetForDayOverTerrain(const HorizonProfile* profile, int year, int month, int day, double latitude,
                                    double longitude, double zoneMeridian, int twilightKind);

// The profile the rise and set of the sun go by: the loaded one while "sunrise over the
// terrain" is chosen, else none (the flat horizon).
const HorizonProfile* RiseSetTerrain(const DialState& state);

}  // namespace zorva
