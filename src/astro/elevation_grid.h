#pragma once
// Terrain elevation grids read for the horizon profile, one interface for every format:
//  - ESRI ASCII grids: keyword header lines, then one text line of elevations per row;
//  - SRTM height tiles (.hgt): big-endian 16-bit rows of 1201 or 3601 samples, the tile's
//    south-west corner in the file name (N47E009.hgt), voids -32768;
//  - GeoTIFF and every other raster GDAL reads, in geographic coordinates (astro/gdal_grid.h).
// Rows run from north to south and are streamed: grids of hundreds of megabytes are never
// held in memory. A grid can also be read from bytes in memory (checks, fuzzing).

#include "text/language.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace zorva {

enum class GridFormat { EsriAscii, SrtmHgt, Gdal };

struct TerrainGridHeader {
    QString path;  // the file, or the name of the bytes below
    QByteArray bytes;  // when not empty the grid is read from here instead of the file
    GridFormat format = GridFormat::EsriAscii;
    long long columns = 0, rows = 0;
    double cellSize = 0.0;  // degrees of latitude per row; 1/3600 multiples are taken exactly
    // Degrees of longitude per column where they differ from cellSize (tiles far from the
    // equator widen their cells east-west); 0 for square cells.
    double cellWidth = 0.0;
    double firstLongitude = 0.0;  // centre of the first column, EAST positive as in the files
    double topLatitude = 0.0;     // centre of the first (northernmost) row
    bool hasNoData = false;
    double noData = 0.0;
    int headerLines = 0;  // text lines before the first row (ESRI)

    double columnStep() const { return cellWidth > 0.0 ? cellWidth : cellSize; }
    double lastLongitude() const { return firstLongitude + (columns - 1) * columnStep(); }
    double bottomLatitude() const { return topLatitude - (rows - 1) * cellSize; }
};

// Reads and checks the header; `problem` names what is wrong (in `lang`). The format follows
// from the name and the first bytes: ".hgt" is an SRTM tile, ".asc" or a file that starts
// with the keywords an ESRI ASCII grid, anything else a raster for GDAL. Bytes in memory are
// SRTM tiles or ESRI grids.
bool ReadTerrainGridHeader(const QString& path, TerrainGridHeader& header, QString& problem, Language lang);
bool ReadTerrainGridHeaderBytes(const QString& name, const QByteArray& bytes, TerrainGridHeader& header,
                                QString& problem, Language lang);

// The rows of one grid, north to south. Every fault names the file and the line (or row).
class GridRowReader {
public:
    virtual ~GridRowReader() = default;
    static std::unique_ptr<GridRowReader> open(const TerrainGridHeader& grid, Language lang);

    // The next row into `out` (`columns` values, no-data cells as the file has them).
    // False at the end of the data or on a fault (then problem() is set).
    virtual bool read(float* out) = 0;
    // Passes over the next row without reading its values.
    virtual bool skip() = 0;
    // After the last row: false with problem() set when more data follow.
    virtual bool checkEnd() = 0;

    const QString& problem() const { return problem_; }
    long long rowsDone() const { return rowsDone_; }

protected:
    QString problem_;
    long long rowsDone_ = 0;
};

// "<file>, Zeile <line>: " / "<file>, line <line>: " in front of a fault.
QString GridPlace(const QString& path, long long line, Language lang);

}  // namespace zorva
