#pragma once
// Horizon files of the European PV information service: CSV (header lines, then a column
// line "A  H_hor ..." and one line per azimuth) or JSON (outputs.horizon_profile, a list of
// {"A": azimuth, "H_hor": height}). Azimuths count from south (0 = S, 90 = W, -90 = E) in
// most files and from north (0 = N, 90 = E) in others; the header says which, else the range
// of the values does. The points are interpolated around the circle to the 720 half-degree
// sectors of a horizon profile.

#include "astro/horizon_profile.h"
#include "text/language.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace zorva {

enum class AzimuthZero { South, North };

struct PvgisHorizon {
    AzimuthZero zero = AzimuthZero::South;
    bool hasSite = false;
    double latitude = 0.0, longitudeEast = 0.0;  // of the file's header, when given
    std::vector<double> azimuths;  // as read, in the file's convention
    std::vector<double> heights;   // degrees
};

// `problem` names the file and what is wrong; nothing is changed on failure.
bool ParsePvgisHorizon(const QString& name, const QByteArray& bytes, PvgisHorizon& horizon, QString& problem,
                       Language lang);
bool ReadPvgisHorizonFile(const QString& path, PvgisHorizon& horizon, QString& problem, Language lang);

// The profile of the 720 sectors, each the height interpolated at its azimuth. The files
// give no distances: every record gets kPvgisDistanceMetres so that none reads as empty.
inline constexpr double kPvgisDistanceMetres = 0.01;
HorizonProfile ProfileFromPvgis(const PvgisHorizon& horizon, double latitude, double longitudeWest);

// A profile as CSV lines in the same layout (south-based azimuths, one line per sector; empty
// sectors at height 0), which ParsePvgisHorizon reads back; written with CR LF, atomically.
QStringList PvgisCsvLines(const HorizonProfile& profile);
bool WritePvgisCsvFile(const QString& path, const HorizonProfile& profile, SaveError* error = nullptr);

}  // namespace zorva
