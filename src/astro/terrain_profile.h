#pragma once
// The horizon profile computed from terrain elevation grids (astro/elevation_grid.h). Grids
// of 6001 x 6001 cells are hundreds of megabytes: they are streamed row by row and never
// held in memory; only the near square around the centre is kept (501 x 501 cells).

#include "astro/elevation_grid.h"
#include "astro/horizon_profile.h"
#include "text/language.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace zorva {

// The tiles of one computation: the first sets the cell size, every further one must have
// the same cell size and adjoin a loaded tile along an edge or at a corner.
class TerrainTiles {
public:
    // False with `problem` set when the file is unreadable, malformed, of another cell size,
    // already loaded or not adjoining.
    bool add(const QString& path, QString& problem, Language lang);
    // The same for a grid held in memory under `name`.
    bool addBytes(const QString& name, const QByteArray& bytes, QString& problem, Language lang);
    const std::vector<TerrainGridHeader>& tiles() const { return tiles_; }
    bool empty() const { return tiles_.empty(); }
    void clear() { tiles_.clear(); }
    // latitude north positive, longitude WEST positive (the program's convention).
    bool covers(double latitude, double longitude) const;
    // Compass directions (in `lang`, comma separated) where the circle of `maxDistanceMetres`
    // around the centre leaves the loaded data; empty when everything is covered.
    QString missingDirections(double latitude, double longitude, double maxDistanceMetres, Language lang) const;

private:
    bool addHeader(const TerrainGridHeader& h, QString& problem, Language lang);
    std::vector<TerrainGridHeader> tiles_;
};

struct ProfileSettings {
    double latitude = 47.65;    // centre, north positive
    double longitude = -9.5833333333;  // centre, WEST positive
    double platformMetres = 0.0;
    double minDistanceMetres = 180.0;
    double maxDistanceMetres = 60000.0;
    int nearCells = 250;  // half width of the near square, cells
};

// Called after every processed row; returning false cancels the computation.
using ProfileProgress = std::function<bool(long long rowsDone, long long rowsTotal)>;

enum class ProfileStatus { Ok, Cancelled, Failed };

struct ProfileResult {
    ProfileStatus status = ProfileStatus::Failed;
    HorizonProfile profile;
    int groundHeightMetres = 0;  // of the centre cell
    QStringList notes;           // what the user should read before the result
    QString failure;             // why the computation failed (a damaged grid: file and line)
    long long cellsRead = 0;
};

// The profile around the centre of `settings` from the loaded tiles.
ProfileResult ComputeHorizonProfile(const TerrainTiles& tiles, const ProfileSettings& settings,
                                    const ProfileProgress& progress, Language lang);

// A decimal angle as the degree, minute and second fields of the profile panel: degrees and
// minutes truncated, seconds rounded, a rounded 60 carried into the minutes (and degrees).
struct DegMinSec {
    int degrees = 0, minutes = 0, seconds = 0;
    bool negative = false;
};
DegMinSec ToDegMinSec(double value);

// ---- texts of the profile computation
QString HorizonCaption(Language lang);  // "Horizontprofil erstellen"
// The information before the rows are processed: centre, data bounds, number of points.
QString HorizonStartText(const TerrainTiles& tiles, const ProfileSettings& settings, Language lang);
QString HorizonDoneText(int groundHeightMetres, Language lang);  // "Horizontprofil erstellt! Standorthöhe=..."
QString HorizonCalculatedText(Language lang);                     // "Horizontprofil berechnet !"
QString CentreOutsideText(Language lang);
// "Sollen fehlende Höhendaten im " + directions + " jetzt nachgeladen werden?"
QString LoadMissingTilesQuestion(const QString& directions, Language lang);
// "Es wurde kein Horizontprofil geladen!" CR LF "Soll ein vorhandenes Horizontprofil geladen werden?"
QString NoProfileQuestion(Language lang);

}  // namespace zorva
