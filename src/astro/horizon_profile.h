#pragma once
// The horizon profile of a place: for every half degree of azimuth the highest terrain
// angle seen from the observer, computed from elevation grids (astro/terrain_profile.h),
// stored in ".ele" files and drawn into the sun-position diagram and onto dials.

#include "state/safe_save.h"
#include "text/language.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace zorva {

inline constexpr int kHorizonRecordCount = 720;  // one per 0.5 degree of azimuth
inline constexpr double kEarthRadiusMetres = 6372800.0;

struct HorizonRecord {
    double azimuth = 0.0;         // sector centre, from south, west positive: index / 2 - 180
    double elevation = 0.0;       // degrees above the observer's horizontal plane
    double distanceMetres = 0.0;  // to the terrain point that gives the elevation
    bool empty = true;            // no terrain found in this sector
};

struct HorizonProfile {
    HorizonProfile();  // every record empty at its sector azimuth

    double latitude = 0.0;         // centre, north positive
    double longitude = 0.0;        // centre, WEST positive (the program's convention)
    int observerHeightMetres = 0;  // ground height of the centre plus the platform
    int minDistanceMetres = 180;
    std::array<HorizonRecord, kHorizonRecordCount> records;

    bool hasTerrain() const;  // at least one record filled
};

// Record index of the half-degree sector that holds `azimuth` (any value; wraps).
int HorizonSectorIndex(double azimuth);
inline double HorizonSectorAzimuth(int index) { return index / 2.0 - 180.0; }

// Terrain angle in the sector of `azimuth`; nullopt where no terrain was found.
std::optional<double> HorizonElevation(const HorizonProfile& profile, double azimuth);
// True when the terrain of the sector of `azimuth` stands higher than `altitude`.
bool SunBehindTerrain(const HorizonProfile& profile, double azimuth, double altitude);

// ---- ".ele" files: CR LF lines, fixed-point numbers with a decimal comma.
// Empty records are written at their sector azimuth with elevation 0 and distance 0; a
// record read with distance 0 is empty again (real terrain lies beyond the minimum distance).

// The file's lines; line 3 names the observer height and minimum distance in `lang`.
QStringList HorizonProfileFileLines(const HorizonProfile& profile, Language lang);
// Atomic: a failed write leaves an existing file as it was; `error` tells why.
bool WriteHorizonProfileFile(const QString& path, const HorizonProfile& profile, Language lang,
                             SaveError* error = nullptr);

enum class HorizonFileStatus { Ok, Missing, Unreadable, TooLarge, Faulty };
// Reads lines written by HorizonProfileFileLines (also with decimal points, LF or CR LF).
// Point lines are placed by their azimuth; `profile` is left untouched on failure.
bool ParseHorizonProfileLines(const QStringList& lines, HorizonProfile& profile);
HorizonFileStatus ReadHorizonProfileFile(const QString& path, HorizonProfile& profile);

// The box texts of the profile file dialogs.
QString HorizonFileSavedText(const QString& path, Language lang);  // name + " : File saved!"
// "Save error: File  " + name, and the reason on a line of its own when one is known.
QString HorizonFileSaveErrorText(const QString& path, const SaveError& error = {}, Language lang = Language::German);

}  // namespace zorva
