// libFuzzer target: any bytes as one or two ESRI ASCII elevation grids (the second after a
// line "----") must load and give a horizon profile, or a message, without a crash or
// undefined behaviour; a computed profile holds only real angles and distances within the
// limits, and it survives its own ".ele" file.
#include "profile_checks.h"

#include <string_view>

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
    fuzz::CheckComputedProfile(result, settings);
    return 0;
}
