// libFuzzer target: any bytes as a PVGIS horizon file (CSV or JSON). A refusal names the file
// and leaves the result untouched; an accepted horizon gives a profile of real heights that
// never leave the range of the points, and that profile, written as CSV and read again in
// memory, is the same sector by sector.
#include "fuzz_support.h"

#include "astro/pvgis_horizon.h"

#include <algorithm>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorva;
    const uint8_t options = fuzz::TakeOptionByte(data, size);
    const Language lang = (options & 1) ? Language::English : Language::German;
    const QString name = (options & 2) ? QStringLiteral("horizon.json") : QStringLiteral("horizon.csv");
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    PvgisHorizon h;
    h.azimuths = {12.5};  // a marker: a refusal must leave the result as it was
    QString problem;
    if (!ParsePvgisHorizon(name, bytes, h, problem, lang)) {
        if (!problem.startsWith(name)) fuzz::PropertyBroken("the refusal does not name the file", problem);
        if (h.azimuths.size() != 1 || h.azimuths[0] != 12.5) fuzz::PropertyBroken("a refusal changed the result");
        return 0;
    }
    if (h.azimuths.size() != h.heights.size() || h.azimuths.size() < 3)
        fuzz::PropertyBroken("azimuths and heights do not pair up");
    const auto [lo, hi] = std::minmax_element(h.heights.begin(), h.heights.end());

    const HorizonProfile profile = ProfileFromPvgis(h, 47.0, -9.0);
    for (const HorizonRecord& r : profile.records) {
        if (r.empty || !std::isfinite(r.elevation)) fuzz::PropertyBroken("a sector without a height");
        if (r.elevation < *lo - 1e-9 || r.elevation > *hi + 1e-9)
            fuzz::PropertyBroken("the interpolation leaves the range of the points", QString::number(r.elevation, 'g', 17));
    }

    const QByteArray csv = PvgisCsvLines(profile).join(QStringLiteral("\r\n")).toUtf8();
    PvgisHorizon back;
    if (!ParsePvgisHorizon(QStringLiteral("back.csv"), csv, back, problem, lang))
        fuzz::PropertyBroken("the profile's own CSV does not read back", problem);
    if (back.zero != AzimuthZero::South) fuzz::PropertyBroken("the own CSV reads in the wrong convention");
    const HorizonProfile again = ProfileFromPvgis(back, 47.0, -9.0);
    for (int k = 0; k < kHorizonRecordCount; ++k) {
        // The CSV keeps four decimals.
        if (std::abs(again.records[k].elevation - profile.records[k].elevation) > 0.5e-4 + 1e-9)
            fuzz::PropertyBroken("a sector changed on its way through the CSV", QStringLiteral("sector %1").arg(k));
    }
    return 0;
}
