#pragma once
// Elevation rasters in every format GDAL reads (GeoTIFF first of all) behind the row interface
// of astro/elevation_grid.h. Only north-up grids in a geographic coordinate
// system are taken; anything projected is refused with a hint how to reproject it. Rows are
// read in blocks of the file's own layout, so a raster of gigabytes costs a few megabytes.

#include "astro/elevation_grid.h"

namespace zorva {

// Fills the header of `h.path` (cell size as the file states it); `problem` names the file.
bool ReadGdalGridHeader(TerrainGridHeader& h, QString& problem, Language lang);
// The rows, north to south; voids and cells GDAL cannot read as a number come out as NaN.
std::unique_ptr<GridRowReader> OpenGdalRows(const TerrainGridHeader& grid, Language lang);

}  // namespace zorva
