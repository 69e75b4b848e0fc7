// libFuzzer target: any bytes as a horizon-profile file (".ele") must read without a crash or
// undefined behaviour; a profile read from it survives its own file: written and read again
// it gives the same lines.
#include "fuzz_support.h"

#include "astro/horizon_profile.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorva;
    const uint8_t options = fuzz::TakeOptionByte(data, size);
    const Language lang = (options & 1) ? Language::English : Language::German;
    const QString path = fuzz::WriteInput(QStringLiteral("in.ele"), data, size);

    HorizonProfile profile;
    profile.records[0].elevation = 12.5;  // a marker: a failed read must leave the profile as it was
    const HorizonFileStatus status = ReadHorizonProfileFile(path, profile);
    if (status != HorizonFileStatus::Ok) {
        if (profile.records[0].elevation != 12.5) fuzz::PropertyBroken("a failed read changed the profile");
        return 0;
    }
    for (const HorizonRecord& r : profile.records) {
        if (!std::isfinite(r.azimuth) || !std::isfinite(r.elevation) || !std::isfinite(r.distanceMetres))
            fuzz::PropertyBroken("a record holds a number that is none");
        if (!r.empty && !(r.distanceMetres > 0)) fuzz::PropertyBroken("terrain without a distance");
    }

    const QString copy = fuzz::WorkFile(QStringLiteral("copy.ele"));
    if (!WriteHorizonProfileFile(copy, profile, lang)) fuzz::PropertyBroken("the profile could not be written");
    HorizonProfile again;
    if (ReadHorizonProfileFile(copy, again) != HorizonFileStatus::Ok)
        fuzz::PropertyBroken("the written profile does not read back");
    const QStringList written = HorizonProfileFileLines(profile, lang);
    const QStringList rewritten = HorizonProfileFileLines(again, lang);
    if (written != rewritten) {
        for (qsizetype i = 0; i < written.size(); ++i)
            if (written[i] != rewritten.value(i))
                fuzz::PropertyBroken("the profile changed on its way through its file",
                                     written[i] + QStringLiteral(" | ") + rewritten.value(i));
        fuzz::PropertyBroken("the profile changed on its way through its file");
    }
    return 0;
}
