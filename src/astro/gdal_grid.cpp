#include "astro/gdal_grid.h"

#include "text/bilingual.h"

#include <QFileInfo>

#include <dlfcn.h>

#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <vector>

namespace zorva {
namespace {

constexpr double kDegreeInRadians = 0.017453292519943295;
constexpr std::size_t kChunkBytes = 16u << 20;  // rows read at once, whole blocks of the file

// GDAL is opened when the first raster is: linked at start it brings about a hundred shared
// libraries along and doubled the time to the first window, for a format most sessions never
// read.
struct GdalApi {
    bool loaded = false;
    decltype(&::CPLErrorReset) CPLErrorReset = nullptr;
    decltype(&::CPLGetLastErrorMsg) CPLGetLastErrorMsg = nullptr;
    decltype(&::CPLPopErrorHandler) CPLPopErrorHandler = nullptr;
    decltype(&::CPLPushErrorHandler) CPLPushErrorHandler = nullptr;
    decltype(&::GDALAllRegister) GDALAllRegister = nullptr;
    decltype(&::GDALClose) GDALClose = nullptr;
    decltype(&::GDALGetBlockSize) GDALGetBlockSize = nullptr;
    decltype(&::GDALGetGeoTransform) GDALGetGeoTransform = nullptr;
    decltype(&::GDALGetRasterBand) GDALGetRasterBand = nullptr;
    decltype(&::GDALGetRasterCount) GDALGetRasterCount = nullptr;
    decltype(&::GDALGetRasterNoDataValue) GDALGetRasterNoDataValue = nullptr;
    decltype(&::GDALGetRasterOffset) GDALGetRasterOffset = nullptr;
    decltype(&::GDALGetRasterScale) GDALGetRasterScale = nullptr;
    decltype(&::GDALGetRasterXSize) GDALGetRasterXSize = nullptr;
    decltype(&::GDALGetRasterYSize) GDALGetRasterYSize = nullptr;
    decltype(&::GDALGetSpatialRef) GDALGetSpatialRef = nullptr;
    decltype(&::GDALOpenEx) GDALOpenEx = nullptr;
    decltype(&::GDALRasterIO) GDALRasterIO = nullptr;
    decltype(&::GDALSetCacheMax64) GDALSetCacheMax64 = nullptr;
    decltype(&::OSRGetAngularUnits) OSRGetAngularUnits = nullptr;
    decltype(&::OSRGetName) OSRGetName = nullptr;
    decltype(&::OSRIsGeographic) OSRIsGeographic = nullptr;
    decltype(&::CPLQuietErrorHandler) CPLQuietErrorHandler = nullptr;
};

template <typename F>
bool Load(void* handle, const char* name, F& f) {
    f = reinterpret_cast<F>(dlsym(handle, name));
    return f != nullptr;
}

const GdalApi& Api() {
    static const GdalApi api = [] {
        GdalApi api;
        void* handle = nullptr;
        for (const char* name : {"libgdal.so.32", "libgdal.so"})
            if ((handle = dlopen(name, RTLD_NOW | RTLD_LOCAL)) != nullptr) break;
        if (!handle) return api;
        bool ok = true;
        ok = ok && Load(handle, "CPLErrorReset", api.CPLErrorReset);
        ok = ok && Load(handle, "CPLGetLastErrorMsg", api.CPLGetLastErrorMsg);
        ok = ok && Load(handle, "CPLPopErrorHandler", api.CPLPopErrorHandler);
        ok = ok && Load(handle, "CPLPushErrorHandler", api.CPLPushErrorHandler);
        ok = ok && Load(handle, "GDALAllRegister", api.GDALAllRegister);
        ok = ok && Load(handle, "GDALClose", api.GDALClose);
        ok = ok && Load(handle, "GDALGetBlockSize", api.GDALGetBlockSize);
        ok = ok && Load(handle, "GDALGetGeoTransform", api.GDALGetGeoTransform);
        ok = ok && Load(handle, "GDALGetRasterBand", api.GDALGetRasterBand);
        ok = ok && Load(handle, "GDALGetRasterCount", api.GDALGetRasterCount);
        ok = ok && Load(handle, "GDALGetRasterNoDataValue", api.GDALGetRasterNoDataValue);
        ok = ok && Load(handle, "GDALGetRasterOffset", api.GDALGetRasterOffset);
        ok = ok && Load(handle, "GDALGetRasterScale", api.GDALGetRasterScale);
        ok = ok && Load(handle, "GDALGetRasterXSize", api.GDALGetRasterXSize);
        ok = ok && Load(handle, "GDALGetRasterYSize", api.GDALGetRasterYSize);
        ok = ok && Load(handle, "GDALGetSpatialRef", api.GDALGetSpatialRef);
        ok = ok && Load(handle, "GDALOpenEx", api.GDALOpenEx);
        ok = ok && Load(handle, "GDALRasterIO", api.GDALRasterIO);
        ok = ok && Load(handle, "GDALSetCacheMax64", api.GDALSetCacheMax64);
        ok = ok && Load(handle, "OSRGetAngularUnits", api.OSRGetAngularUnits);
        ok = ok && Load(handle, "OSRGetName", api.OSRGetName);
        ok = ok && Load(handle, "OSRIsGeographic", api.OSRIsGeographic);
        ok = ok && Load(handle, "CPLQuietErrorHandler", api.CPLQuietErrorHandler);
        api.loaded = ok;
        return api;
    }();
    return api;
}

void RegisterOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (!Api().loaded) return;
        Api().GDALAllRegister();
        // Rows are read in whole blocks already; a small cache keeps memory flat however
        // large the raster (GDAL would otherwise keep a share of the machine's memory).
        Api().GDALSetCacheMax64(32 << 20);
    });
}

// GDAL's own complaints stay off the terminal; the last one completes our message.
class QuietErrors {
public:
    QuietErrors() {
        if (!Api().loaded) return;
        Api().CPLPushErrorHandler(Api().CPLQuietErrorHandler);
        Api().CPLErrorReset();
    }
    ~QuietErrors() {
        if (Api().loaded) Api().CPLPopErrorHandler();
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;
    static QString last() {
        if (!Api().loaded) return QStringLiteral(" (GDAL: libgdal.so.32)");
        const char* m = Api().CPLGetLastErrorMsg();
        return m && *m ? QStringLiteral(" (") + QString::fromUtf8(m) + QLatin1Char(')') : QString();
    }
};

struct Dataset {
    GDALDatasetH handle = nullptr;
    explicit Dataset(const QString& path) {
        RegisterOnce();
        // Local regular files only: no FIFO, no device, no network name such as "/vsicurl/".
        const QFileInfo info(path);
        if (!info.isFile() || !info.isReadable() || !Api().loaded) return;
        const char* const rasterOnly[] = {nullptr};
        handle = Api().GDALOpenEx(path.toLocal8Bit().constData(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr,
                                  rasterOnly, nullptr);
    }
    ~Dataset() {
        if (handle) Api().GDALClose(handle);
    }
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;
};

QString Unreadable(const QString& path, Language lang) {
    return Tr(lang, "Keine lesbaren Höhendaten: ", "No readable elevation data: ") + path + QuietErrors::last();
}

}  // namespace

bool ReadGdalGridHeader(TerrainGridHeader& h, QString& problem, Language lang) {
    QuietErrors quiet;
    Dataset ds(h.path);
    if (!ds.handle || Api().GDALGetRasterCount(ds.handle) < 1) {
        problem = Unreadable(h.path, lang);
        return false;
    }
    double gt[6] = {};
    if (Api().GDALGetGeoTransform(ds.handle, gt) != CE_None) {
        problem = h.path + Tr(lang, ": Die Datei sagt nicht, wo ihre Höhen liegen (keine Georeferenz).",
                              ": The file does not say where its heights lie (no georeference).");
        return false;
    }
    OGRSpatialReferenceH srs = Api().GDALGetSpatialRef(ds.handle);
    if (!srs) {
        problem = h.path + Tr(lang, ": Die Datei nennt kein Koordinatensystem.",
                              ": The file names no coordinate system.");
        return false;
    }
    if (!Api().OSRIsGeographic(srs) || std::abs(Api().OSRGetAngularUnits(srs, nullptr) - kDegreeInRadians) > 1e-12) {
        const char* name = Api().OSRGetName(srs);
        problem = h.path + Tr(lang, ": Die Höhen liegen im projizierten Koordinatensystem \"",
                              ": The heights lie in the projected coordinate system \"") +
                  QString::fromUtf8(name ? name : "?") +
                  Tr(lang, "\". Gebraucht werden geographische Koordinaten in Grad (umzurechnen etwa mit "
                           "gdalwarp -t_srs EPSG:4326).",
                     "\". Geographic coordinates in degrees are needed (reproject it with, for example, "
                     "gdalwarp -t_srs EPSG:4326).");
        return false;
    }
    // North up, no rotation: the profile walks rows of equal latitude. Cells may be wider
    // than high (tiles far from the equator, such as 1.5" x 1" above 50 degrees).
    if (gt[2] != 0.0 || gt[4] != 0.0 || !(gt[1] > 0.0) || !(gt[5] < 0.0)) {
        problem = h.path + Tr(lang, ": Das Raster ist gedreht oder nicht nach Norden ausgerichtet.",
                              ": The grid is rotated or not aligned to the north.");
        return false;
    }
    h.format = GridFormat::Gdal;
    h.columns = Api().GDALGetRasterXSize(ds.handle);
    h.rows = Api().GDALGetRasterYSize(ds.handle);
    h.cellSize = -gt[5];
    h.cellWidth = std::abs(gt[1] + gt[5]) > 1e-6 * gt[1] ? gt[1] : 0.0;
    // The geotransform gives the outer corner of the first cell; the program counts centres.
    h.firstLongitude = gt[0] + gt[1] / 2.0;
    h.topLatitude = gt[3] + gt[5] / 2.0;
    h.hasNoData = false;  // voids are handed out as NaN
    h.headerLines = 0;
    return true;
}

namespace {

class GdalRows : public GridRowReader {
public:
    GdalRows(const TerrainGridHeader& grid, Language lang) : grid_(grid), lang_(lang), ds_(grid.path) {
        QuietErrors quiet;
        if (!ds_.handle || Api().GDALGetRasterXSize(ds_.handle) != grid.columns ||
            Api().GDALGetRasterYSize(ds_.handle) != grid.rows) {
            problem_ = Unreadable(grid.path, lang);
            return;
        }
        band_ = Api().GDALGetRasterBand(ds_.handle, 1);
        int has = 0;
        const double nd = Api().GDALGetRasterNoDataValue(band_, &has);
        hasNoData_ = has != 0;
        noData_ = static_cast<float>(nd);
        scale_ = Api().GDALGetRasterScale(band_, nullptr);
        offset_ = Api().GDALGetRasterOffset(band_, nullptr);
        int blockX = 0, blockY = 0;
        Api().GDALGetBlockSize(band_, &blockX, &blockY);
        const long long fit = std::max<long long>(1, static_cast<long long>(kChunkBytes / sizeof(float)) / grid.columns);
        const long long block = std::max(1, blockY);
        // Whole blocks where they fit, so that no block is decoded twice.
        chunk_ = fit >= block ? fit / block * block : fit;
        chunk_ = std::min(chunk_, grid.rows);
        buffer_.resize(static_cast<std::size_t>(chunk_ * grid.columns));
    }

    bool read(float* out) override {
        if (!problem_.isEmpty() || rowsDone_ >= grid_.rows) return false;
        if (rowsDone_ < first_ || rowsDone_ >= first_ + loaded_) {
            if (!load(rowsDone_)) return false;
        }
        const float* row = buffer_.data() + static_cast<std::size_t>((rowsDone_ - first_) * grid_.columns);
        for (long long j = 0; j < grid_.columns; ++j) {
            const float v = row[j];
            out[j] = (hasNoData_ && v == noData_) || std::isnan(v)
                         ? std::numeric_limits<float>::quiet_NaN()
                         : static_cast<float>(v * scale_ + offset_);
        }
        ++rowsDone_;
        return true;
    }

    bool skip() override {
        if (!problem_.isEmpty() || rowsDone_ >= grid_.rows) return false;
        ++rowsDone_;
        return true;
    }

    bool checkEnd() override { return problem_.isEmpty(); }

private:
    bool load(long long row) {
        QuietErrors quiet;
        const long long n = std::min(chunk_, grid_.rows - row);
        if (Api().GDALRasterIO(band_, GF_Read, 0, static_cast<int>(row), static_cast<int>(grid_.columns), static_cast<int>(n),
                         buffer_.data(), static_cast<int>(grid_.columns), static_cast<int>(n), GDT_Float32, 0,
                         0) != CE_None) {
            problem_ = GridPlace(grid_.path, row + 1, lang_) +
                       Tr(lang_, "Die Höhen können nicht gelesen werden", "The heights cannot be read") +
                       QuietErrors::last();
            return false;
        }
        first_ = row;
        loaded_ = n;
        return true;
    }

    const TerrainGridHeader& grid_;
    Language lang_;
    Dataset ds_;
    GDALRasterBandH band_ = nullptr;
    bool hasNoData_ = false;
    float noData_ = 0;
    double scale_ = 1.0, offset_ = 0.0;
    long long chunk_ = 1, first_ = 0, loaded_ = 0;
    std::vector<float> buffer_;
};

}  // namespace

std::unique_ptr<GridRowReader> OpenGdalRows(const TerrainGridHeader& grid, Language lang) {
    return std::make_unique<GdalRows>(grid, lang);
}

}  // namespace zorva
