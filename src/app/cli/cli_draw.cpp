#include "app/cli/cli.h"

#include "astro/horizon_profile.h"
#include "dials/analemmatic_dial.h"
#include "dials/dial_constructions.h"
#include "dials/dial_render.h"
#include "dials/planar_plot.h"
#include "state/safe_save.h"
#include "state/settings_file.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QFileInfo>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace zorva::cli {
namespace {

// The drawing window's image at its usual size on a 1280-pixel screen.
constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 816;

// The plot or DXF file the drawing window saves for the state's planar dial, with the
// coordinate listing when asked for.
int DrawPlot(Context& ctx, const QString& out, PlotFormat format, const QString& listing,
             const std::optional<ShadowMoment>& shadow) {
    if (!CanSavePlot(ctx.state)) {
        ctx.err << "zorva-cli draw: the plot of dial type '" << QChar::fromLatin1(ctx.state.dialType)
                << "' is not available in this build\n";
        ctx.err.flush();
        return kFaultyInput;
    }
    if (!IsPlanarDial(ctx.state)) {
        if (!listing.isEmpty())
            return BadOption(ctx, QStringLiteral("--listing"), listing, QStringLiteral("coordinates exist for planar dials only"));
        PlotSaveRequest save;
        save.fileName = QFileInfo(out).absoluteFilePath();
        save.format = format;
        save.highResolution = true;
        save.lineWeight = std::clamp(ctx.state.plotLineWeight, 1, 3);
        return SaveDialPlot(ctx.state, save, ctx.dialogs, shadow ? &*shadow : nullptr).ok ? kOk : kFaultyInput;
    }
    PlanarSaveRequest request;
    request.fileName = QFileInfo(out).absoluteFilePath();
    request.format = format;
    request.lineWeight = std::clamp(ctx.state.plotLineWeight, 1, 3);
    if (!listing.isEmpty()) {
        request.coordinates = CoordinateOutput::TextFile;
        request.listingFileName = QFileInfo(listing).absoluteFilePath();
    }
    request.gridMm = AskPlotGrid(ctx.dialogs, ctx.state.language);
    request.shadow = shadow;
    const PlanarSaveResult result = SavePlanarDial(ctx.state, request, ctx.dialogs);
    return result.ok ? kOk : kFaultyInput;
}

// The shadow as the screen rendering places it (its status is the same on every target).
CastShadow ScreenShadow(const DialState& s, QSize size, const ShadowMoment& moment) {
    return ShadowOnDial(DialContext(s), DefaultScreenRequest(s, size), moment);
}

// A moment without a shadow is said on the error stream; the dial is drawn all the same.
void ReportShadow(Context& ctx, const CastShadow& shadow, const ShadowMoment& moment) {
    if (shadow.status == ShadowStatus::Cast) return;
    ctx.err << "zorva-cli draw: " << ShadowStatusText(shadow, moment, ctx.state.language) << '\n';
    ctx.err.flush();
}

// The kinds without a letter of their own: the plane's letter goes with them.
bool ApplyAddedDialCode(DialState& s, const QString& code) {
    if (code == QLatin1String("walk-on")) {
        s.addedKind = AddedKind::Analemmatic;
        s.analemmatic = WalkOnPreset();
    } else if (code == QLatin1String("analemmatic") || code == QLatin1String("analemmatic-wall")) {
        s.addedKind = AddedKind::Analemmatic;
        s.analemmatic.vertical = code.endsWith(QLatin1String("wall"));
    } else if (code == QLatin1String("bifilar") || code == QLatin1String("bifilar-wall")) {
        s.addedKind = AddedKind::Bifilar;
        s.bifilar.vertical = code.endsWith(QLatin1String("wall"));
    } else {
        return false;
    }
    const bool wall = s.addedKind == AddedKind::Analemmatic ? s.analemmatic.vertical : s.bifilar.vertical;
    s.dialType = wall ? 'v' : 'h';
    s.umbrellaDial = false;
    s.legendOffset = LegendOffsetFor(s.dialType);
    return true;
}

bool ParseReckoning(const QString& text, HourReckoning& r) {
    const QStringList names = {QStringLiteral("apparent"), QStringLiteral("zone-apparent"), QStringLiteral("mean"),
                               QStringLiteral("zone")};
    const int i = static_cast<int>(names.indexOf(text));
    if (i < 0) return false;
    r = static_cast<HourReckoning>(i);
    return true;
}

// The options of the added kinds; kOk, or the status of a bad value.
int TakeAddedDialOptions(Context& ctx, QStringList& args) {
    bool missing = false;
    QString value;
    if (TakeOption(args, QStringLiteral("--semi-axis"), value, missing)) {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (missing || !ok || !(v > 0) || v > 100000)
            return BadOption(ctx, QStringLiteral("--semi-axis"), value, QStringLiteral("millimetres, e.g. 2500"));
        ctx.state.analemmatic.semiMajorMm = v;
    }
    if (TakeOption(args, QStringLiteral("--gnomon-angle"), value, missing)) {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (missing || !ok || !std::isfinite(v))
            return BadOption(ctx, QStringLiteral("--gnomon-angle"), value, QStringLiteral("degrees to the plane, 90 upright"));
        ctx.state.analemmatic.gnomonAngle = v;
    }
    if (TakeOption(args, QStringLiteral("--threads"), value, missing)) {
        const QStringList parts = value.split(QLatin1Char(','));
        bool okA = false, okB = false;
        const double a = parts.value(0).toDouble(&okA), b = parts.value(1).toDouble(&okB);
        // Zero and equal distances reach the construction, which refuses them with its message.
        if (missing || parts.size() != 2 || !okA || !okB || !std::isfinite(a) || !std::isfinite(b))
            return BadOption(ctx, QStringLiteral("--threads"), value, QStringLiteral("A,B in millimetres, e.g. 120,85"));
        ctx.state.bifilar.threadAMm = a;
        ctx.state.bifilar.threadBMm = b;
    }
    if (TakeOption(args, QStringLiteral("--time"), value, missing)) {
        HourReckoning r;
        if (missing || !ParseReckoning(value, r))
            return BadOption(ctx, QStringLiteral("--time"), value, QStringLiteral("apparent, zone-apparent, mean or zone"));
        ctx.state.analemmatic.reckoning = r;
        ctx.state.bifilar.reckoning = r;
    }
    return kOk;
}

// The layout sheet of the analemmatic dial as a text table (.txt, .csv).
int WriteLayoutText(Context& ctx, const QString& out) {
    const QByteArray text = AnalemmaticLayoutText(DialContext(ctx.state)).toUtf8();
    SafeSaveFile file(out);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
    if (!ok) {
        const Language lang = ctx.state.language;
        ctx.dialogs.inform(caption(CaptionKind::Error, lang),
                           message(53, lang) + QStringLiteral("\r\n") + out + QStringLiteral("\r\n") +
                               SaveErrorText(file.error(), lang),
                           Icon::Error);
        return kFaultyInput;
    }
    return kOk;
}

}  // namespace

int CommandDraw(Context& ctx, QStringList args) {
    QString out, sizeText;
    bool missing = false;
    if (!TakeOption(args, QStringLiteral("--out"), out, missing) || missing || out.isEmpty())
        return BadOption(ctx, QStringLiteral("--out"), out, QStringLiteral("a file name ending in .png, .pdf, .svg, .plt or .dxf"));
    QSize size(kDefaultWidth, kDefaultHeight);
    if (TakeOption(args, QStringLiteral("--size"), sizeText, missing)) {
        if (const int r = ParseImageSize(ctx, QStringLiteral("--size"), missing ? QString() : sizeText, size); r != kOk)
            return r;
    }
    QString dial;
    if (TakeOption(args, QStringLiteral("--dial"), dial, missing)) {
        if (!missing && !dial.isEmpty() && ApplyAddedDialCode(ctx.state, dial)) {
        } else if (missing || !ApplyDialCode(ctx.state, dial)) {
            return BadOption(ctx, QStringLiteral("--dial"), dial,
                             QStringLiteral("a dial code: h, v, i, sh, sv, si, q0, q1, q2, z0, z1, z2, k, a, m0, c0, r, "
                                            "analemmatic, analemmatic-wall, walk-on, bifilar, bifilar-wall"));
        } else {
            ctx.state.addedKind = AddedKind::None;
        }
    }
    if (const int status = TakeAddedDialOptions(ctx, args); status != kOk) return status;
    const bool layout = TakeFlag(args, QStringLiteral("--layout"));
    QString listing;
    if (TakeOption(args, QStringLiteral("--listing"), listing, missing) && (missing || listing.isEmpty()))
        return BadOption(ctx, QStringLiteral("--listing"), listing, QStringLiteral("a text file for the coordinates"));
    QString horizon;
    if (TakeOption(args, QStringLiteral("--horizon"), horizon, missing) && (missing || horizon.isEmpty()))
        return BadOption(ctx, QStringLiteral("--horizon"), horizon, QStringLiteral("a horizon profile file (.ele)"));
    QString shadowText;
    std::optional<ShadowMoment> shadow;
    if (TakeOption(args, QStringLiteral("--shadow"), shadowText, missing) &&
        (missing || !(shadow = ParseShadowMoment(shadowText))))
        return BadOption(ctx, QStringLiteral("--shadow"), shadowText,
                         QStringLiteral("'YYYY-MM-DD hh:mm', the standard time of the dial's zone meridian"));
    if (const int status = CheckNoExtraArgs(ctx, args, QStringLiteral("draw")); status != kOk) return status;
    const QStringList inputs = horizon.isEmpty() ? QStringList() : QStringList{horizon};
    if (const int status = CheckOutputPath(ctx, out, inputs); status != kOk) return status;
    if (!listing.isEmpty()) {
        if (const int status = CheckOutputPath(ctx, listing, inputs + QStringList{out}); status != kOk) return status;
        if (QFileInfo(listing).absoluteFilePath() == QFileInfo(out).absoluteFilePath()) {
            ctx.err << "zorva-cli draw: --listing and --out name the same file " << out << "\n";
            ctx.err.flush();
            return kBadCommandLine;
        }
    }
    if (!horizon.isEmpty()) {
        // The profile drawn on dials that show one (the azimuth dial).
        auto profile = std::make_shared<HorizonProfile>();
        if (ReadHorizonProfileFile(horizon, *profile) != HorizonFileStatus::Ok)
            return BadOption(ctx, QStringLiteral("--horizon"), horizon, QStringLiteral("a readable horizon profile file (.ele)"));
        ctx.state.horizonProfile = profile;
        ctx.state.showHorizonProfile = true;
    }

    if (shadow) ReportShadow(ctx, ScreenShadow(ctx.state, size, *shadow), *shadow);
    const QString suffix = QFileInfo(out).suffix().toLower();
    const DialConstruction* construction = ConstructionFor(ctx.state);
    DialView view = nullptr;
    if (layout) {
        if (ctx.state.addedKind != AddedKind::Analemmatic || !construction || !construction->sheet)
            return BadOption(ctx, QStringLiteral("--layout"), QString(), QStringLiteral("a layout sheet exists for the analemmatic dial only"));
        if (suffix == QLatin1String("txt") || suffix == QLatin1String("csv")) {
            if (const QString refusal = AnalemmaticRefusal(DialContext(ctx.state)); !refusal.isEmpty()) {
                ctx.dialogs.inform(caption(CaptionKind::Warning, ctx.state.language), refusal, Icon::Warning);
                return kFaultyInput;
            }
            return WriteLayoutText(ctx, out);
        }
        if (suffix != QLatin1String("png") && suffix != QLatin1String("pdf") && suffix != QLatin1String("svg"))
            return BadOption(ctx, QStringLiteral("--out"), out, QStringLiteral("with --layout: .txt, .csv, .png, .pdf or .svg"));
        view = construction->sheet;
    }
    if (suffix == QLatin1String("plt") || suffix == QLatin1String("dxf"))
        return DrawPlot(ctx, out, suffix == QLatin1String("dxf") ? PlotFormat::Dxf : PlotFormat::Hpgl, listing, shadow);
    if (!listing.isEmpty())
        return BadOption(ctx, QStringLiteral("--listing"), listing, QStringLiteral("only with --out FILE.plt or FILE.dxf"));
    if (suffix != QLatin1String("png") && suffix != QLatin1String("pdf") && suffix != QLatin1String("svg"))
        return BadOption(ctx, QStringLiteral("--out"), out, QStringLiteral("a file name ending in .png, .pdf, .svg, .plt or .dxf"));

    if (!ConstructionFor(ctx.state)) {
        ctx.err << "zorva-cli draw: the construction of dial type '" << QChar::fromLatin1(ctx.state.dialType)
                << "' is not available in this build; only the frame is drawn\n";
        ctx.err.flush();
    }
    const ShadowMoment* moment = shadow ? &*shadow : nullptr;
    bool written = false;
    SaveError error;
    if (suffix == QLatin1String("png"))
        written = RenderDialPng(ctx.state, size, out, ctx.dialogs, &error, moment, view);
    else if (suffix == QLatin1String("svg"))
        written = RenderDialSvg(ctx.state, size, out, ctx.dialogs, &error, moment, view);
    else
        written = RenderDialPdf(ctx.state, size, out, ctx.dialogs, &error, moment, view);
    if (!written) {
        const Language lang = ctx.state.language;
        ctx.dialogs.inform(caption(CaptionKind::Error, lang),
                           message(53, lang) + QStringLiteral("\r\n") + out + QStringLiteral("\r\n") +
                               SaveErrorText(error, lang),
                           Icon::Error);
        return kFaultyInput;
    }
    return kOk;
}

}  // namespace zorva::cli
