#pragma once
// Checks a computed horizon profile must pass in every terrain fuzz target: real angles,
// distances within the limits, and the same records after its own ".ele" lines.

#include "fuzz_support.h"

#include "astro/horizon_profile.h"
#include "astro/terrain_profile.h"

#include <cmath>

namespace zorva::fuzz {

inline bool SameWithinFile(const HorizonRecord& a, const HorizonRecord& b) {
    if (a.empty != b.empty) return false;
    if (a.empty) return true;
    // The file keeps four decimals of the angle and two of the distance.
    return std::abs(a.elevation - b.elevation) <= 0.5e-4 + 1e-9 &&
           std::abs(a.distanceMetres - b.distanceMetres) <= 0.5e-2 + 1e-9;
}

inline void CheckComputedProfile(const ProfileResult& result, const ProfileSettings& settings) {
    if (result.status == ProfileStatus::Cancelled) PropertyBroken("cancelled though nobody cancelled");
    if (result.status == ProfileStatus::Failed) {
        if (result.failure.isEmpty()) PropertyBroken("failed without a reason");
        return;
    }
    const HorizonProfile& profile = result.profile;
    for (const HorizonRecord& r : profile.records) {
        if (r.empty) continue;
        if (!(std::abs(r.elevation) <= 90.0)) PropertyBroken("an elevation that is no angle");
        // The limits are compared on the haversine term; the metres come back within rounding.
        const double slack = 1e-6 * settings.maxDistanceMetres;
        if (!(r.distanceMetres > settings.minDistanceMetres - slack &&
              r.distanceMetres <= settings.maxDistanceMetres + slack))
            PropertyBroken("terrain outside the distance limits", QString::number(r.distanceMetres, 'g', 17));
    }
    HorizonProfile reread;
    if (!ParseHorizonProfileLines(HorizonProfileFileLines(profile, Language::German), reread))
        PropertyBroken("the profile's own file does not read back");
    for (int k = 0; k < kHorizonRecordCount; ++k) {
        if (!SameWithinFile(profile.records[k], reread.records[k]))
            PropertyBroken("a record changed on its way through the profile's file", QStringLiteral("sector %1").arg(k));
    }
    if (reread.observerHeightMetres != profile.observerHeightMetres ||
        reread.minDistanceMetres != profile.minDistanceMetres)
        PropertyBroken("the observer changed on its way through the profile's file");
}

}  // namespace zorva::fuzz
