// libFuzzer target: any bytes as one or two ESRI ASCII elevation grids (the second after a
// line "----") must load and give a horizon profile, or a message, without a crash or
// undefined behaviour; a computed profile holds only real angles and distances within the
// limits, and it survives its own ".ele" file.
#include "fuzz_support.h"

#include "astro/horizon_profile.h"
#include "astro/terrain_profile.h"

#include <cmath>
#include <string_view>

namespace {

bool SameWithinFile(const zorva::HorizonRecord& a, const zorva::HorizonRecord& b) {
    if (a.empty != b.empty) return false;
    if (a.empty) return true;
    // The file keeps four decimals of the angle and two of the distance.
    return std::abs(a.elevation - b.elevation) <= 0.5e-4 + 1e-9 &&
           std::abs(a.distanceMetres - b.distanceMetres) <= 0.5e-2 + 1e-9;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorva;
    const uint8_t options = fuzz::TakeOptionByte(data, size);
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find("\n----\n");
    const std::string_view first = input.substr(0, split);

    TerrainTiles tiles;
    QString problem;
    const QString firstPath = fuzz::WriteInput(QStringLiteral("a.asc"), reinterpret_cast<const uint8_t*>(first.data()),
                                               first.size());
    if (!tiles.add(firstPath, problem, Language::German)) {
        if (problem.isEmpty()) fuzz::PropertyBroken("a grid was refused without a reason");
        return 0;
    }
    if (split != std::string_view::npos) {
        const std::string_view second = input.substr(split + 6);
        const QString secondPath = fuzz::WriteInput(QStringLiteral("b.asc"),
                                                    reinterpret_cast<const uint8_t*>(second.data()), second.size());
        if (!tiles.add(secondPath, problem, Language::English) && problem.isEmpty())
            fuzz::PropertyBroken("a second grid was refused without a reason");
    }

    // The centre: the middle of the first grid, moved by a few cells as the options say.
    const TerrainGridHeader& grid = tiles.tiles().front();
    const double cs = grid.cellSize;
    ProfileSettings settings;
    const long long row = grid.rows / 2 + ((options >> 2) & 3) - 1;
    const long long col = grid.columns / 2 + ((options >> 4) & 3) - 1;
    settings.latitude = grid.topLatitude - static_cast<double>(row) * cs;
    settings.longitude = -(grid.firstLongitude + static_cast<double>(col) * cs);
    settings.platformMetres = (options & 1) ? 25.0 : 0.0;
    settings.minDistanceMetres = (options & 2) ? 0.0 : 180.0;
    settings.maxDistanceMetres = (options & 64) ? 3000.0 : 60000.0;
    settings.nearCells = (options & 128) ? 250 : 6;

    long long lastDone = -1;
    const ProfileResult result = ComputeHorizonProfile(
        tiles, settings,
        [&](long long done, long long total) {
            if (done <= lastDone || done > total) fuzz::PropertyBroken("the progress runs backwards or beyond its end");
            lastDone = done;
            return true;
        },
        Language::German);
    if (result.status == ProfileStatus::Cancelled) fuzz::PropertyBroken("cancelled though nobody cancelled");
    if (result.status == ProfileStatus::Failed) {
        if (result.failure.isEmpty()) fuzz::PropertyBroken("failed without a reason");
        return 0;
    }
    const HorizonProfile& profile = result.profile;
    for (const HorizonRecord& r : profile.records) {
        if (r.empty) continue;
        if (!(std::abs(r.elevation) <= 90.0)) fuzz::PropertyBroken("an elevation that is no angle");
        // The limits are compared on the haversine term; the metres come back within rounding.
        const double slack = 1e-6 * settings.maxDistanceMetres;
        if (!(r.distanceMetres > settings.minDistanceMetres - slack && r.distanceMetres <= settings.maxDistanceMetres + slack))
            fuzz::PropertyBroken("terrain outside the distance limits",
                                 QString::number(r.distanceMetres, 'g', 17));
    }

    HorizonProfile reread;
    if (!ParseHorizonProfileLines(HorizonProfileFileLines(profile, Language::German), reread))
        fuzz::PropertyBroken("the profile's own file does not read back");
    for (int k = 0; k < kHorizonRecordCount; ++k) {
        if (!SameWithinFile(profile.records[k], reread.records[k]))
            fuzz::PropertyBroken("a record changed on its way through the profile's file",
                                 QStringLiteral("sector %1").arg(k));
    }
    if (reread.observerHeightMetres != profile.observerHeightMetres ||
        reread.minDistanceMetres != profile.minDistanceMetres)
        fuzz::PropertyBroken("the observer changed on its way through the profile's file");
    return 0;
}
