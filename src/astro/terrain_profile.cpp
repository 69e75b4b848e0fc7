#include "astro/terrain_profile.h"

#include "astro/angles.h"
#include "text/bilingual.h"
#include "text/number_format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace zorva {
namespace {

constexpr double kRad = kExactDegToRad;
constexpr double kR = kEarthRadiusMetres;
constexpr double kMetresPerDegree = 111110.0;  // distance limits in degrees: km / 111.11

// ------------------------------------------------------------------ geometry

struct Observer {
    double lat = 0, lonEast = 0;  // degrees
    double sinLat = 0, cosLat = 1;
    double radius = kR;           // R + ground + platform
    double height = 0;            // ground + platform
    double aMin = 0, aMax = 1;    // haversine terms of the distance limits
    double minDistance = 0;
};

double HaversineTerm(double metres) {
    const double s = std::sin(std::min(metres / kR, kPi) / 2.0);
    return s * s;
}

// Elevation angle of a terrain point of height `v` at central angle with haversine term `a`:
// signed, so that terrain hidden below the observer's horizontal plane by the curvature of
// the Earth does not count as rising above it.
double ElevationAngle(const Observer& o, double v, double a) {
    const double cosC = 1.0 - 2.0 * a;
    const double sinC = 2.0 * std::sqrt(std::max(0.0, a * (1.0 - a)));
    const double r = kR + v;
    return std::atan2(r * cosC - o.radius, r * sinC) / kRad;
}

int SectorOfBearing(double bearingDeg) {
    // Bearing from north, east positive; index k stands for azimuth k/2 - 180 from south,
    // which is bearing k/2.
    long long k = std::llround(bearingDeg * 2.0);
    k %= kHorizonRecordCount;
    if (k < 0) k += kHorizonRecordCount;
    return static_cast<int>(k);
}

// atan2(y, x) to a few 1e-9 radians without a library call: octant reduction, then the
// series of atan on |w| <= tan(pi/8) after atan z = pi/4 + atan((z - 1) / (z + 1)).
double FastAtan2(double y, double x) {
    const double ax = std::abs(x), ay = std::abs(y);
    const double lo = std::min(ax, ay), hi = std::max(ax, ay);
    const double z = lo / hi;
    constexpr double kTanPi8 = 0.41421356237309504880;
    const bool shifted = z > kTanPi8;
    const double w = shifted ? (z - 1.0) / (z + 1.0) : z;
    const double w2 = w * w;
    // Remainder below w^19 / 19 < 3e-9.
    double p = 1.0 / 17.0;
    p = p * w2 - 1.0 / 15.0;
    p = p * w2 + 1.0 / 13.0;
    p = p * w2 - 1.0 / 11.0;
    p = p * w2 + 1.0 / 9.0;
    p = p * w2 - 1.0 / 7.0;
    p = p * w2 + 1.0 / 5.0;
    p = p * w2 - 1.0 / 3.0;
    p = p * w2 + 1.0;
    double t = w * p + (shifted ? kPi / 4.0 : 0.0);
    if (ay > ax) t = kPi / 2.0 - t;
    if (x < 0.0) t = kPi - t;
    return y < 0.0 ? -t : t;
}

// The sector of the direction (x north, y east), exactly as SectorOfBearing(atan2(y, x))
// assigns it: the cheap arc tangent decides wherever it is clearly inside a sector.
int SectorOf(double y, double x) {
    if (x != 0.0 || y != 0.0) {
        // Half degrees in [-360, 360], moved up so that truncation rounds to the nearest.
        const double shifted = FastAtan2(y, x) * (2.0 / kRad) + (kHorizonRecordCount + 0.5);
        const int whole = static_cast<int>(shifted);
        const double frac = shifted - whole;
        // The approximation errs by < 3e-9 rad = 3.4e-7 half degrees; away from the rounding
        // border its sector is the exact one.
        if (frac > 1e-5 && frac < 1.0 - 1e-5) return whole >= kHorizonRecordCount ? whole - kHorizonRecordCount : whole;
    }
    return SectorOfBearing(std::atan2(y, x) / kRad);
}

void Offer(HorizonProfile& p, int k, double elevation, double distance) {
    HorizonRecord& r = p.records[k];
    if (r.empty || elevation > r.elevation) {
        r.elevation = elevation;
        r.distanceMetres = distance;
        r.empty = false;
    }
}

struct TileGeometry {
    long long rowBase = 0, colBase = 0;  // position in the lattice of the first tile
};

TileGeometry Place(const TerrainGridHeader& first, const TerrainGridHeader& t) {
    return {std::llround((first.topLatitude - t.topLatitude) / first.cellSize),
            std::llround((t.firstLongitude - first.firstLongitude) / first.columnStep())};
}

}  // namespace

// ------------------------------------------------------------------ header and tiles

bool TerrainTiles::add(const QString& path, QString& problem, Language lang) {
    TerrainGridHeader h;
    return ReadTerrainGridHeader(path, h, problem, lang) && addHeader(h, problem, lang);
}

bool TerrainTiles::addBytes(const QString& name, const QByteArray& bytes, QString& problem, Language lang) {
    TerrainGridHeader h;
    return ReadTerrainGridHeaderBytes(name, bytes, h, problem, lang) && addHeader(h, problem, lang);
}

bool TerrainTiles::addHeader(const TerrainGridHeader& h, QString& problem, Language lang) {
    const QString& path = h.path;
    if (tiles_.empty()) {
        tiles_.push_back(h);
        return true;
    }
    const double cs = tiles_.front().cellSize, cw = tiles_.front().columnStep();
    if (std::abs(h.cellSize - cs) > 1e-4 || std::abs(h.columnStep() - cw) > 1e-4) {
        problem = Tr(lang, "Die Rasterweite passt nicht zu den geladenen Höhendaten: ",
                     "The cell size does not match the loaded elevation data: ") +
                  path;
        return false;
    }
    // Overlap of two extents along one axis in cells: >= -1.5 touches (one shared or no
    // shared row), beyond 1.5 the extents lie side by side on that axis.
    const auto overlap = [](double lo1, double hi1, double lo2, double hi2, double step) {
        return (std::min(hi1, hi2) - std::max(lo1, lo2)) / step;
    };
    bool adjoins = false;
    for (const TerrainGridHeader& t : tiles_) {
        const double ox = overlap(t.firstLongitude, t.lastLongitude(), h.firstLongitude, h.lastLongitude(), cw);
        const double oy = overlap(t.bottomLatitude(), t.topLatitude, h.bottomLatitude(), h.topLatitude, cs);
        const bool touchX = ox >= -1.5 && ox <= 0.5, touchY = oy >= -1.5 && oy <= 0.5;
        const bool sideX = ox > 0.5, sideY = oy > 0.5;
        if (sideX && sideY) {
            problem = Tr(lang, "Diese Höhendaten sind schon geladen: ", "These elevation data are already loaded: ") +
                      path;
            return false;
        }
        if ((touchX && touchY) || (touchX && sideY) || (sideX && touchY)) adjoins = true;
    }
    if (!adjoins) {
        problem = Tr(lang, "Die Höhendaten grenzen nicht an die geladenen an: ",
                     "The elevation data do not adjoin the loaded data: ") +
                  path;
        return false;
    }
    tiles_.push_back(h);
    return true;
}

bool TerrainTiles::covers(double latitude, double longitude) const {
    const double lonEast = -longitude;
    for (const TerrainGridHeader& t : tiles_) {
        const double half = t.cellSize / 2.0, halfWidth = t.columnStep() / 2.0;
        if (latitude <= t.topLatitude + half && latitude >= t.bottomLatitude() - half &&
            lonEast >= t.firstLongitude - halfWidth && lonEast <= t.lastLongitude() + halfWidth)
            return true;
    }
    return false;
}

QString TerrainTiles::missingDirections(double latitude, double longitude, double maxDistanceMetres,
                                        Language lang) const {
    const double dLat = maxDistanceMetres / kMetresPerDegree;
    const double dLon = dLat / std::max(0.01, std::cos(latitude * kRad));
    struct Dir {
        int n, e;
        const char* de;
        const char* en;
    };
    static const Dir dirs[] = {{1, 0, "Norden", "north"},     {1, 1, "Nordosten", "north-east"},
                               {0, 1, "Osten", "east"},       {-1, 1, "Südosten", "south-east"},
                               {-1, 0, "Süden", "south"},     {-1, -1, "Südwesten", "south-west"},
                               {0, -1, "Westen", "west"},     {1, -1, "Nordwesten", "north-west"}};
    QStringList missing;
    for (const Dir& d : dirs) {
        const double lat = std::clamp(latitude + d.n * dLat, -90.0, 90.0);
        if (!covers(lat, longitude - d.e * dLon)) missing << Tr(lang, d.de, d.en);
    }
    return missing.join(QStringLiteral(", "));
}

// ------------------------------------------------------------------ computation

namespace {

// The near square: elevations of (2n+1)^2 cells around the centre cell, NaN where unknown.
struct NearSquare {
    int n = 0;
    long long centreRow = 0, centreCol = 0;  // lattice of the first tile
    std::vector<float> cells;
    float& at(int di, int dj) { return cells[static_cast<std::size_t>((di + n) * (2 * n + 1) + (dj + n))]; }
    bool contains(long long row, long long col) const {
        return std::llabs(row - centreRow) <= n && std::llabs(col - centreCol) <= n;
    }
};

// The best terrain of each sector while the grids are swept: compared by slope (rise over
// horizontal distance, a monotonic stand-in for the elevation angle), the angle itself is
// computed once per sector at the end from the winning cell.
struct SectorBest {
    std::array<double, kHorizonRecordCount> slope;
    std::array<double, kHorizonRecordCount> a{};      // haversine term of the winning cell
    std::array<float, kHorizonRecordCount> height{};  // its elevation
    SectorBest() { slope.fill(-std::numeric_limits<double>::infinity()); }
};

// Unit vectors (x north, y east) of the sector borders: border k lies between sector k and
// k + 1, at bearing (k + 0.5) / 2 degrees.
struct SectorBorders {
    std::array<double, kHorizonRecordCount> cos, sin;
    SectorBorders() {
        for (int k = 0; k < kHorizonRecordCount; ++k) {
            cos[k] = std::cos((k + 0.5) / 2.0 * kRad);
            sin[k] = std::sin((k + 0.5) / 2.0 * kRad);
        }
    }
};

class ProfileRun {
public:
    ProfileRun(const TerrainTiles& tiles, const ProfileSettings& s, const ProfileProgress& progress, Language lang)
        : tiles_(tiles.tiles()), s_(s), progress_(progress), lang_(lang) {}

    ProfileResult run();

private:
    bool readNearSquare(const TerrainGridHeader& t, const TileGeometry& g);
    bool sweepTile(const TerrainGridHeader& t, const TileGeometry& g);
    void takeSweep();
    void nearPass();
    void offerNearPoint(double x, double y, double v);
    bool tick();
    bool fault(const QString& problem);

    const std::vector<TerrainGridHeader>& tiles_;
    const ProfileSettings& s_;
    const ProfileProgress& progress_;
    Language lang_;
    ProfileResult result_;
    Observer o_;
    NearSquare near_;
    SectorBest best_;
    SectorBorders borders_;
    double cs_ = 0, cw_ = 0;  // cell height and width, degrees
    double centreCellLat_ = 0, centreCellLon_ = 0;  // east positive
    long long done_ = 0, total_ = 0;
    bool cancelled_ = false;
};

bool ProfileRun::tick() {
    ++done_;
    if (progress_ && !progress_(done_, total_)) cancelled_ = true;
    return !cancelled_;
}

// A grid whose data disagree with its header gives no profile: a row missing or shifted
// would put terrain in the wrong place without anyone noticing.
bool ProfileRun::fault(const QString& problem) {
    result_.notes << problem;
    result_.failure = problem;
    return false;
}

// Pass 1: the cells of the near square, and with them the ground height of the centre.
bool ProfileRun::readNearSquare(const TerrainGridHeader& t, const TileGeometry& g) {
    const long long firstRow = std::max(0LL, near_.centreRow - near_.n - g.rowBase);
    const long long lastRow = std::min(t.rows - 1, near_.centreRow + near_.n - g.rowBase);
    const long long firstCol = std::max(0LL, near_.centreCol - near_.n - g.colBase);
    const long long lastCol = std::min(t.columns - 1, near_.centreCol + near_.n - g.colBase);
    if (firstRow > lastRow || firstCol > lastCol) return true;
    const std::unique_ptr<GridRowReader> in = GridRowReader::open(t, lang_);
    std::vector<float> row(static_cast<std::size_t>(t.columns));
    for (long long r = 0; r <= lastRow; ++r) {
        if (r < firstRow ? !in->skip() : !in->read(row.data()))
            return fault(in->problem());
        if (r < firstRow) continue;
        for (long long c = firstCol; c <= lastCol; ++c) {
            const float v = row[static_cast<std::size_t>(c)];
            if (t.hasNoData && v == static_cast<float>(t.noData)) continue;
            near_.at(static_cast<int>(g.rowBase + r - near_.centreRow), static_cast<int>(g.colBase + c - near_.centreCol)) =
                v;
        }
        if (!tick()) return false;
    }
    return true;
}

// Pass 2: every cell outside the near square within the distance limits. Per cell only the
// sector and whether the cell beats the sector's best are needed: the slope decides the
// latter, and the sector comes from a cheap arc tangent that hands the few cells near a
// sector border to the exact one.
bool ProfileRun::sweepTile(const TerrainGridHeader& t, const TileGeometry& g) {
    const std::unique_ptr<GridRowReader> in = GridRowReader::open(t, lang_);
    if (!in->problem().isEmpty()) return fault(in->problem());

    // Per column: sin^2(dlambda/2), sin and cos dlambda.
    const std::size_t n = static_cast<std::size_t>(t.columns);
    std::vector<double> colHav(n), colSin(n), colCos(n);
    for (std::size_t j = 0; j < n; ++j) {
        const double dl = (t.firstLongitude + static_cast<double>(j) * t.columnStep() - o_.lonEast) * kRad;
        const double h = std::sin(dl / 2.0);
        colHav[j] = h * h;
        colSin[j] = std::sin(dl);
        colCos[j] = std::cos(dl);
    }
    std::vector<float> row(n);
    const float noData = static_cast<float>(t.noData);
    const bool hasNoData = t.hasNoData;
    const float observer = static_cast<float>(o_.height);
    const double radius = o_.radius, aMin = o_.aMin, aMax = o_.aMax;
    double* bestSlope = best_.slope.data();
    for (long long r = 0; r < t.rows; ++r) {
        const double lat = t.topLatitude - static_cast<double>(r) * t.cellSize;
        const double dphi = (lat - o_.lat) * kRad;
        const double rowHav = std::sin(dphi / 2.0) * std::sin(dphi / 2.0);
        if (rowHav > aMax) {  // the whole row lies beyond the maximum distance
            if (!in->skip()) return fault(in->problem());
            if (!tick()) return false;
            continue;
        }
        if (!in->read(row.data())) return fault(in->problem());
        const double sinLat = std::sin(lat * kRad), cosLat = std::cos(lat * kRad);
        const double rowCos = o_.cosLat * cosLat;
        const double bearingA = o_.cosLat * sinLat, bearingB = o_.sinLat * cosLat;
        result_.cellsRead += t.columns;
        const long long latticeRow = g.rowBase + r;
        const bool nearRow = std::llabs(latticeRow - near_.centreRow) <= near_.n;
        int k = -1;  // sector of the last cell taken; neighbours mostly share it
        double loC = 0, loS = 0, hiC = 0, hiS = 0;
        for (std::size_t j = 0; j < n; ++j) {
            const float v = row[j];
            if (!(v > observer) || (hasNoData && v == noData)) continue;
            const double a = rowHav + rowCos * colHav[j];
            if (a <= aMin || a > aMax) continue;
            if (nearRow && std::llabs(g.colBase + static_cast<long long>(j) - near_.centreCol) <= near_.n) continue;
            // Direction x north, y east. Still inside the last cell's sector when it lies
            // clearly between that sector's borders (signs of two cross products).
            const double x = bearingA - bearingB * colCos[j], y = colSin[j] * cosLat;
            const double margin = 1e-9 * (std::abs(x) + std::abs(y));
            if (k < 0 || !(y * loC - x * loS > margin && y * hiC - x * hiS < -margin)) {
                k = SectorOf(y, x);
                const int below = k == 0 ? kHorizonRecordCount - 1 : k - 1;
                loC = borders_.cos[below], loS = borders_.sin[below];
                hiC = borders_.cos[k], hiS = borders_.sin[k];
            }
            // Rise over run in the observer's horizontal plane is the tangent of the
            // elevation: num / den with den = rv * sinC > 0. Compared squared first (no root,
            // no division), with a little slack; the few candidates are decided exactly.
            const double rv = kR + static_cast<double>(v);
            const double num = rv * (1.0 - 2.0 * a) - radius;
            const double best = bestSlope[k];
            const double den2 = 4.0 * rv * rv * (a * (1.0 - a));
            const double bound = best * best * den2;
            const bool candidate = best >= 0.0 ? num > 0.0 && num * num > bound * (1.0 - 1e-9)
                                               : num >= 0.0 || num * num < bound * (1.0 + 1e-9);
            if (!candidate) continue;
            const double slope = num / (rv * (2.0 * std::sqrt(a * (1.0 - a))));
            if (!(slope > best)) continue;
            bestSlope[k] = slope;
            best_.a[k] = a;
            best_.height[k] = v;
        }
        if (!tick()) return false;
    }
    return in->checkEnd() || fault(in->problem());
}

// The winners of the sweep become records; the exact angle and distance once per sector.
void ProfileRun::takeSweep() {
    for (int k = 0; k < kHorizonRecordCount; ++k) {
        if (best_.slope[k] == -std::numeric_limits<double>::infinity()) continue;
        const double a = best_.a[k];
        Offer(result_.profile, k, ElevationAngle(o_, best_.height[k], a), 2.0 * std::asin(std::sqrt(a)) * kR);
    }
}

// A terrain point of the near square at x metres east and y metres north of the centre.
void ProfileRun::offerNearPoint(double x, double y, double v) {
    if (!(v > o_.height)) return;
    const double d = std::hypot(x, y);
    if (d <= o_.minDistance || d > s_.maxDistanceMetres) return;
    const double a = HaversineTerm(d);
    double bearing = std::atan2(x, y) / kRad;
    Offer(result_.profile, SectorOfBearing(bearing), ElevationAngle(o_, v, a), d);
}

// Pass 3: the near square. Close to the observer neighbouring cells lie many sectors apart;
// the terrain between two neighbours of a row or a column is taken as the straight line
// between them, so every sector whose centre ray crosses that line gets its height there.
void ProfileRun::nearPass() {
    const int n = near_.n;
    const double metresPerDegLat = kR * kRad;
    const double metresPerDegLon = metresPerDegLat * o_.cosLat;
    const auto xy = [&](int di, int dj) {
        return std::pair<double, double>{(centreCellLon_ + dj * cw_ - o_.lonEast) * metresPerDegLon,
                                         (centreCellLat_ - di * cs_ - o_.lat) * metresPerDegLat};
    };
    const auto segment = [&](int di1, int dj1, int di2, int dj2) {
        const float v1 = near_.at(di1, dj1), v2 = near_.at(di2, dj2);
        if (std::isnan(v1) || std::isnan(v2)) return;
        if (!(v1 > o_.height) && !(v2 > o_.height)) return;
        const auto [x1, y1] = xy(di1, dj1);
        const auto [x2, y2] = xy(di2, dj2);
        const double b1 = std::atan2(x1, y1) / kRad, b2 = std::atan2(x2, y2) / kRad;
        double span = b2 - b1;
        if (span > 180.0) span -= 360.0;
        if (span < -180.0) span += 360.0;
        if (std::abs(span) < 0.5 && SectorOfBearing(b1) == SectorOfBearing(b2)) return;
        // Sector centres (multiples of 0.5 degree) from b1 towards b2.
        const double lo = std::min(b1, b1 + span), hi = std::max(b1, b1 + span);
        const double dx = x2 - x1, dy = y2 - y1;
        for (double sigma = std::ceil(lo * 2.0) / 2.0; sigma <= hi; sigma += 0.5) {
            const double ux = std::sin(sigma * kRad), uy = std::cos(sigma * kRad);
            const double denom = ux * dy - uy * dx;
            if (std::abs(denom) < 1e-12) continue;
            const double t = -(ux * y1 - uy * x1) / denom;
            if (t < 0.0 || t > 1.0) continue;
            const double px = x1 + t * dx, py = y1 + t * dy;
            if (px * ux + py * uy <= 0.0) continue;  // behind the observer
            const double v = v1 + t * (v2 - v1);
            if (!(v > o_.height)) continue;
            const double d = std::hypot(px, py);
            if (d <= o_.minDistance || d > s_.maxDistanceMetres) continue;
            Offer(result_.profile, SectorOfBearing(sigma), ElevationAngle(o_, v, HaversineTerm(d)), d);
        }
    };
    for (int di = -n; di <= n; ++di) {
        for (int dj = -n; dj <= n; ++dj) {
            const float v = near_.at(di, dj);
            if (std::isnan(v)) continue;
            const auto [x, y] = xy(di, dj);
            offerNearPoint(x, y, v);
            if (dj < n) segment(di, dj, di, dj + 1);
            if (di < n) segment(di, dj, di + 1, dj);
        }
    }
}

ProfileResult ProfileRun::run() {
    result_.status = ProfileStatus::Failed;
    if (tiles_.empty() || !(s_.maxDistanceMetres > s_.minDistanceMetres)) {
        result_.failure = CentreOutsideText(lang_);
        return result_;
    }
    const TerrainGridHeader& first = tiles_.front();
    cs_ = first.cellSize;
    cw_ = first.columnStep();
    o_.lat = s_.latitude;
    o_.lonEast = -s_.longitude;
    o_.sinLat = std::sin(o_.lat * kRad);
    o_.cosLat = std::cos(o_.lat * kRad);
    o_.minDistance = s_.minDistanceMetres;
    o_.aMin = HaversineTerm(s_.minDistanceMetres);
    o_.aMax = HaversineTerm(s_.maxDistanceMetres);

    near_.n = std::max(1, s_.nearCells);
    near_.centreRow = std::llround((first.topLatitude - o_.lat) / cs_);
    near_.centreCol = std::llround((o_.lonEast - first.firstLongitude) / cw_);
    near_.cells.assign(static_cast<std::size_t>(2 * near_.n + 1) * (2 * near_.n + 1),
                       std::numeric_limits<float>::quiet_NaN());
    centreCellLat_ = first.topLatitude - near_.centreRow * cs_;
    centreCellLon_ = first.firstLongitude + near_.centreCol * cw_;

    std::vector<TileGeometry> places;
    bool centreInside = false;
    for (const TerrainGridHeader& t : tiles_) {
        places.push_back(Place(first, t));
        const TileGeometry& g = places.back();
        const long long r = near_.centreRow - g.rowBase, c = near_.centreCol - g.colBase;
        if (r >= 0 && r < t.rows && c >= 0 && c < t.columns) centreInside = true;
        total_ += t.rows;
        const long long nearRows = std::min(t.rows - 1, near_.centreRow + near_.n - g.rowBase) -
                                   std::max(0LL, near_.centreRow - near_.n - g.rowBase) + 1;
        if (nearRows > 0) total_ += nearRows;
    }
    if (!centreInside) {
        result_.failure = CentreOutsideText(lang_);
        return result_;
    }
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        if (!readNearSquare(tiles_[i], places[i])) {
            result_.status = cancelled_ ? ProfileStatus::Cancelled : ProfileStatus::Failed;
            return result_;
        }
    }
    const float ground = near_.at(0, 0);
    if (std::isnan(ground)) {
        result_.failure = Tr(lang_, "Im Zentralpunkt fehlen Höhendaten!", "No elevation data at the centre point!");
        return result_;
    }
    result_.groundHeightMetres = static_cast<int>(std::lround(ground));
    o_.height = ground + s_.platformMetres;
    o_.radius = kR + o_.height;

    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        if (!sweepTile(tiles_[i], places[i])) {
            result_.status = cancelled_ ? ProfileStatus::Cancelled : ProfileStatus::Failed;
            return result_;
        }
    }
    takeSweep();
    nearPass();

    HorizonProfile& p = result_.profile;
    p.latitude = s_.latitude;
    p.longitude = s_.longitude;
    p.observerHeightMetres = static_cast<int>(std::lround(o_.height));
    p.minDistanceMetres = static_cast<int>(std::lround(s_.minDistanceMetres));
    result_.status = ProfileStatus::Ok;
    return result_;
}

}  // namespace

ProfileResult ComputeHorizonProfile(const TerrainTiles& tiles, const ProfileSettings& settings,
                                    const ProfileProgress& progress, Language lang) {
    return ProfileRun(tiles, settings, progress, lang).run();
}

DegMinSec ToDegMinSec(double value) {
    DegMinSec d;
    d.negative = value < 0;
    const double a = std::abs(value);
    d.degrees = static_cast<int>(std::trunc(a));
    const double minutes = (a - d.degrees) * 60.0;
    d.minutes = static_cast<int>(std::trunc(minutes));
    d.seconds = static_cast<int>(std::lround((minutes - d.minutes) * 60.0));
    if (d.seconds == 60) {
        d.seconds = 0;
        ++d.minutes;
    }
    if (d.minutes == 60) {
        d.minutes = 0;
        ++d.degrees;
    }
    return d;
}

// ------------------------------------------------------------------ texts

QString HorizonCaption(Language lang) { return Tr(lang, "Horizontprofil erstellen", "Create horizon profile"); }

QString HorizonStartText(const TerrainTiles& tiles, const ProfileSettings& s, Language lang) {
    const QString crlf = QStringLiteral("\r\n");
    QString text = Tr(lang, "Horizontprofil im Punkt: ", "Horizon profile at point: ") + RealToText(13, 8, s.latitude) +
                   QStringLiteral(" / ") + RealToText(13, 8, -s.longitude) + crlf;
    if (!tiles.empty()) {
        double north = -90, south = 90, west = 360, east = -360;
        for (const TerrainGridHeader& t : tiles.tiles()) {
            north = std::max(north, t.topLatitude);
            south = std::min(south, t.bottomLatitude());
            west = std::min(west, t.firstLongitude);
            east = std::max(east, t.lastLongitude());
        }
        text += Tr(lang, "       TabellenIntervall = ", "       Table interval = ") +
                RealToText(12, 8, tiles.tiles().front().cellSize).trimmed() + crlf;
        text += Tr(lang, "Höhendaten aus Tabelle (Breite/Länge): ", "Elevation data from table (lat/lon): ") +
                RealToText(9, 4, south).trimmed() + QStringLiteral(" .. ") + RealToText(9, 4, north).trimmed() + QStringLiteral(" / ") +
                RealToText(9, 4, west).trimmed() + QStringLiteral(" .. ") + RealToText(9, 4, east).trimmed() + crlf;
    }
    text += QString::number(kHorizonRecordCount) +
            Tr(lang, " Horizontpunkte mit 0.5 Grad Azimutaldistanz.", " horizon points at 0.5 degree azimuth spacing.");
    return text;
}

QString HorizonDoneText(int groundHeightMetres, Language lang) {
    return Tr(lang, "Horizontprofil erstellt! ", "Horizon profile created! ") +
           Tr(lang, "Standorthöhe=", "Site height=") + QString::number(groundHeightMetres);
}

QString HorizonCalculatedText(Language lang) {
    return Tr(lang, "Horizontprofil berechnet !", "Horizon profile calculated !");
}

QString CentreOutsideText(Language lang) {
    return Tr(lang, "Zentralpunkt liegt nicht im Bereich des geladenen Datenfeldes!",
              "The centre point lies outside the loaded elevation data!");
}

QString LoadMissingTilesQuestion(const QString& directions, Language lang) {
    return Tr(lang, "Sollen fehlende Höhendaten im ", "Shall the missing elevation data in the ") + directions +
           Tr(lang, " jetzt nachgeladen werden?", " be loaded now?");
}

QString NoProfileQuestion(Language lang) {
    return Tr(lang, "Es wurde kein Horizontprofil geladen!", "No horizon profile has been loaded!") +
           QStringLiteral("\r\n") +
           Tr(lang, "Soll ein vorhandenes Horizontprofil geladen werden?", "Shall an existing horizon profile be loaded?");
}

}  // namespace zorva
