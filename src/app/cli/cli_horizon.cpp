#include "app/cli/cli.h"

#include "astro/pvgis_horizon.h"
#include "astro/terrain_profile.h"
#include "dials/plane_sunlight.h"
#include "text/number_format.h"
#include "text/texts.h"

#include <cmath>
#include <memory>

namespace zorva::cli {
namespace {

// A whole or decimal number of an option within [lo, hi]; false reports it.
bool TakeNumber(Context& ctx, QStringList& args, const char* name, double lo, double hi, double& value,
                int& status) {
    QString text;
    bool missing = false;
    if (!TakeOption(args, QString::fromLatin1(name), text, missing)) return true;
    double v = 0;
    if (missing || !ParseReal(text, v) || v < lo || v > hi) {
        status = BadOption(ctx, QString::fromLatin1(name), text,
                           QStringLiteral("a number from %1 to %2").arg(lo).arg(hi));
        return false;
    }
    value = v;
    return true;
}

// The profile as the name asks: a PVGIS-style CSV for ".csv", else the ".ele" file.
int WriteProfile(Context& ctx, const QString& outPath, const HorizonProfile& profile, Language lang) {
    const bool csv = outPath.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    SaveError error;
    if (!(csv ? WritePvgisCsvFile(outPath, profile, &error) : WriteHorizonProfileFile(outPath, profile, lang, &error))) {
        ctx.dialogs.inform(caption(CaptionKind::Error, lang), HorizonFileSaveErrorText(outPath, error, lang),
                           Icon::Error);
        return kFaultyInput;
    }
    ctx.dialogs.inform(caption(CaptionKind::Information, lang), HorizonFileSavedText(outPath, lang));
    return kOk;
}

// horizon --pvgis FILE --out P.ele|P.csv: a horizon file of the PV information service as a
// profile; its own site when it names one, else the site of the state.
int HorizonFromPvgis(Context& ctx, const QString& inPath, const QString& outPath) {
    const Language lang = ctx.state.language;
    zorva::PvgisHorizon h;
    QString problem;
    if (!ReadPvgisHorizonFile(inPath, h, problem, lang)) {
        ctx.dialogs.inform(caption(CaptionKind::Error, lang), problem, Icon::Error);
        return kFaultyInput;
    }
    const HorizonProfile profile = h.hasSite ? ProfileFromPvgis(h, h.latitude, -h.longitudeEast)
                                             : ProfileFromPvgis(h, ctx.state.latitude, ctx.state.longitude);
    return WriteProfile(ctx, outPath, profile, lang);
}

}  // namespace

// horizon --grid A.asc|N47E009.hgt|dem.tif [--grid B ...] | --pvgis H.csv|H.json  --out P.ele|P.csv
//         [--min-distance M] [--max-distance KM] [--platform M]
// The centre is the site (--lat/--lon or the settings file).
int CommandHorizon(Context& ctx, QStringList args) {
    const Language lang = ctx.state.language;
    QStringList grids;
    QString value, outPath;
    bool missing = false;
    while (TakeOption(args, QStringLiteral("--grid"), value, missing)) {
        if (missing) return BadOption(ctx, QStringLiteral("--grid"), value, QStringLiteral("an elevation grid (.asc, .hgt, GeoTIFF or another raster GDAL reads)"));
        grids << value;
    }
    if (TakeOption(args, QStringLiteral("--out"), value, missing)) {
        if (missing) return BadOption(ctx, QStringLiteral("--out"), value, QStringLiteral("an .ele or .csv file"));
        outPath = value;
    }
    QString pvgisPath;
    if (TakeOption(args, QStringLiteral("--pvgis"), value, missing)) {
        if (missing) return BadOption(ctx, QStringLiteral("--pvgis"), value, QStringLiteral("a horizon .csv or .json file"));
        pvgisPath = value;
    }
    ProfileSettings settings;
    settings.latitude = ctx.state.latitude;
    settings.longitude = ctx.state.longitude;
    settings.minDistanceMetres = 180;
    settings.maxDistanceMetres = 60000;
    double minDistance = 180, maxKm = 60, platform = 0;
    int status = kOk;
    if (!TakeNumber(ctx, args, "--min-distance", 100, 400, minDistance, status) ||
        !TakeNumber(ctx, args, "--max-distance", 0, 300, maxKm, status) ||
        !TakeNumber(ctx, args, "--platform", 0, 300, platform, status))
        return status;
    if (grids.isEmpty() == pvgisPath.isEmpty() || outPath.isEmpty()) {
        ctx.err << "zorva-cli horizon: expected --grid FILE (.asc, .hgt, .tif; one or more) or --pvgis FILE, "
                   "and --out FILE.ele or FILE.csv\n";
        ctx.err.flush();
        return kBadCommandLine;
    }
    if (const int s = CheckNoExtraArgs(ctx, args, QStringLiteral("horizon")); s != kOk) return s;
    const QStringList inputs = pvgisPath.isEmpty() ? grids : QStringList{pvgisPath};
    if (const int s = CheckOutputPath(ctx, outPath, inputs); s != kOk) return s;
    if (!pvgisPath.isEmpty()) return HorizonFromPvgis(ctx, pvgisPath, outPath);
    // Nearer objects than 180 m are never taken: the grid cells are too coarse there.
    settings.minDistanceMetres = std::max(180.0, std::round(minDistance));
    settings.maxDistanceMetres = maxKm * 1000.0;
    settings.platformMetres = std::round(platform);
    if (settings.maxDistanceMetres <= settings.minDistanceMetres)
        return BadOption(ctx, QStringLiteral("--max-distance"), QString::number(maxKm),
                         QStringLiteral("must reach beyond the minimum distance"));

    TerrainTiles tiles;
    for (const QString& g : grids) {
        QString problem;
        if (!tiles.add(g, problem, lang)) {
            ctx.dialogs.inform(caption(CaptionKind::Error, lang), problem, Icon::Error);
            return kFaultyInput;
        }
    }
    if (!tiles.covers(settings.latitude, settings.longitude)) {
        ctx.dialogs.inform(caption(CaptionKind::Error, lang), CentreOutsideText(lang), Icon::Error);
        return kFaultyInput;
    }
    // The command line names every tile there is; what is missing is reported, not asked for.
    const QString missingDirections =
        tiles.missingDirections(settings.latitude, settings.longitude, settings.maxDistanceMetres, lang);
    if (!missingDirections.isEmpty())
        ctx.dialogs.inform(caption(CaptionKind::Warning, lang), LoadMissingTilesQuestion(missingDirections, lang),
                           Icon::Warning);
    ctx.dialogs.inform(HorizonCaption(lang), HorizonStartText(tiles, settings, lang));

    int lastTenth = -1;
    const ProfileResult result = ComputeHorizonProfile(
        tiles, settings,
        [&ctx, &lastTenth](long long done, long long total) {
            const int tenth = total > 0 ? static_cast<int>(done * 10 / total) : 10;
            if (tenth != lastTenth) {
                lastTenth = tenth;
                ctx.err << tenth * 10 << " %\n";
                ctx.err.flush();
            }
            return true;
        },
        lang);
    for (const QString& note : result.notes) ctx.dialogs.inform(caption(CaptionKind::Information, lang), note);
    if (result.status != ProfileStatus::Ok) {
        if (!result.failure.isEmpty() && !result.notes.contains(result.failure)) ctx.err << result.failure << "\n";
        ctx.dialogs.inform(caption(CaptionKind::Error, lang), message(24, lang), Icon::Error);
        return kFaultyInput;
    }
    ctx.dialogs.inform(HorizonCaption(lang), HorizonDoneText(result.groundHeightMetres, lang));
    return WriteProfile(ctx, outPath, result.profile, lang);
}

// plane-sunlight [--inclination DEG] [--declination DEG] [--longitude-correction]
// The line under the sun-position diagram for the plane of the state.
int CommandPlaneSunlight(Context& ctx, QStringList args) {
    int status = kOk;
    if (!TakeNumber(ctx, args, "--inclination", 0, 180, ctx.state.planeInclination, status) ||
        !TakeNumber(ctx, args, "--declination", -180, 180, ctx.state.wallDeclination, status))
        return status;
    if (TakeFlag(args, QStringLiteral("--longitude-correction"))) ctx.state.eotLongitudeCorrection = true;
    if (const int s = CheckNoExtraArgs(ctx, args, QStringLiteral("plane-sunlight")); s != kOk) return s;
    ctx.out << PlaneSunlightLabel(ctx.state) << "\n";
    return kOk;
}

int TakeTerrainOption(Context& ctx, QStringList& args) {
    QString path;
    bool missing = false;
    if (!TakeOption(args, QStringLiteral("--terrain"), path, missing)) return kOk;
    auto profile = std::make_shared<HorizonProfile>();
    if (missing || path.isEmpty() || ReadHorizonProfileFile(path, *profile) != HorizonFileStatus::Ok)
        return BadOption(ctx, QStringLiteral("--terrain"), path, QStringLiteral("a readable horizon profile file (.ele)"));
    ctx.state.horizonProfile = profile;
    ctx.state.sunriseOverTerrain = true;
    return kOk;
}

}  // namespace zorva::cli
