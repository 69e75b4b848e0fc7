#include "app/cli/cli.h"

#include "dials/dial_render.h"

#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

namespace zorva::cli {
namespace {

// The drawing window's image at its usual size on a 1280-pixel screen.
constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 816;

bool ParseSize(const QString& text, QSize& size) {
    static const QRegularExpression re(QStringLiteral("^(\\d{2,5})[xX](\\d{2,5})$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return false;
    const int w = m.captured(1).toInt(), h = m.captured(2).toInt();
    if (w < 100 || h < 100 || w > 20000 || h > 20000) return false;
    size = QSize(w, h);
    return true;
}

}  // namespace

int CommandDraw(Context& ctx, QStringList args) {
    QString out, sizeText;
    bool missing = false;
    if (!TakeOption(args, QStringLiteral("--out"), out, missing) || missing || out.isEmpty())
        return BadOption(ctx, QStringLiteral("--out"), out, QStringLiteral("a file name ending in .png, .pdf or .svg"));
    QSize size(kDefaultWidth, kDefaultHeight);
    if (TakeOption(args, QStringLiteral("--size"), sizeText, missing) && (missing || !ParseSize(sizeText, size)))
        return BadOption(ctx, QStringLiteral("--size"), sizeText, QStringLiteral("WxH pixels, e.g. 1200x816"));
    if (const int status = CheckNoExtraArgs(ctx, args, QStringLiteral("draw")); status != kOk) return status;

    const QString suffix = QFileInfo(out).suffix().toLower();
    if (suffix == QLatin1String("plt") || suffix == QLatin1String("dxf")) {
        // Plot stream and DXF output come with the planar plot writer.
        ctx.err << "zorva-cli draw: ." << suffix << " output is not available in this build\n";
        ctx.err.flush();
        return kBadCommandLine;
    }
    if (suffix != QLatin1String("png") && suffix != QLatin1String("pdf") && suffix != QLatin1String("svg"))
        return BadOption(ctx, QStringLiteral("--out"), out, QStringLiteral("a file name ending in .png, .pdf or .svg"));

    if (!IsPlanarLetter(ctx.state.dialType)) {
        ctx.err << "zorva-cli draw: the construction of dial type '" << QChar::fromLatin1(ctx.state.dialType)
                << "' is not available in this build; only the frame is drawn\n";
        ctx.err.flush();
    }
    bool written = false;
    if (suffix == QLatin1String("png"))
        written = RenderDialImage(ctx.state, size, ctx.dialogs).save(out, "PNG");
    else if (suffix == QLatin1String("svg"))
        written = RenderDialSvg(ctx.state, size, out, ctx.dialogs);
    else
        written = RenderDialPdf(ctx.state, size, out, ctx.dialogs);
    if (!written) {
        ctx.err << "zorva-cli draw: cannot write " << out << "\n";
        ctx.err.flush();
        return kFaultyInput;
    }
    return kOk;
}

}  // namespace zorva::cli
