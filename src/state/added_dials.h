#pragma once
// Dial kinds the classic settings and dial-data files have no letter for (the analemmatic
// and the bifilar dial). Their choice and their dimensions live in the preferences file
// zorva.conf; zor.ini keeps the letter of the plane they lie in ('h' or 'v'), so an older
// installation reading it draws a plain dial of the same plane.

namespace zorva {

enum class AddedKind { None = 0, Analemmatic = 1, Bifilar = 2 };

// The time the hour marks show.
enum class HourReckoning {
    LocalApparent = 0,  // the site's true solar time
    ZoneApparent = 1,   // true solar time of the zone meridian (corrected for longitude)
    LocalMean = 2,      // the site's mean time: hour marks as figure-eights
    ZoneMean = 3,       // clock time of the zone: longitude and equation of time
};
inline bool IsMeanReckoning(HourReckoning r) { return r == HourReckoning::LocalMean || r == HourReckoning::ZoneMean; }
inline bool IsZoneReckoning(HourReckoning r) { return r == HourReckoning::ZoneApparent || r == HourReckoning::ZoneMean; }

struct AnalemmaticSettings {
    double semiMajorMm = 2500.0;   // M: half the width of the hour ellipse
    bool vertical = false;         // on the wall of the state's declination
    double gnomonAngle = 90.0;     // to the plane; below 90 leaning toward the pole
    HourReckoning reckoning = HourReckoning::LocalApparent;
    bool metres = true;            // walk-on dial: legend and layout sheet in metres
    bool zodiacMarks = false;      // date scale by sign entries instead of month beginnings
};

struct BifilarSettings {
    double threadAMm = 60.0;       // up-down thread (north-south on level ground), distance
    double threadBMm = 44.0;       // cross thread (east-west), distance; about a sin(phi) at
                                   // mid-northern sites, where the hours are evenly spaced
    bool vertical = false;         // on the wall of the state's declination
    HourReckoning reckoning = HourReckoning::LocalApparent;
};

// The walk-on garden dial: an upright person as the gnomon, 5 m across, showing clock time.
inline AnalemmaticSettings WalkOnPreset() {
    AnalemmaticSettings a;
    a.semiMajorMm = 2500.0;
    a.vertical = false;
    a.gnomonAngle = 90.0;
    a.reckoning = HourReckoning::ZoneMean;
    a.metres = true;
    return a;
}

}  // namespace zorva
