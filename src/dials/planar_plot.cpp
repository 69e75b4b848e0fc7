#include "dials/planar_plot.h"

#include "astro/angles.h"
#include "dials/canvas_painter.h"
#include "dials/dial_render.h"
#include "astro/time_format.h"
#include "dials/hour_line_angles.h"
#include "dials/dial_constructions.h"
#include "dials/map_overlay.h"
#include "dials/planar_plot_extras.h"
#include "dials/plot_painter.h"
#include "dials/polar_style_info.h"
#include "plot/plot_stream.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QFileInfo>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace zorva {
namespace {

// The plot-only parts of the planar construction and the listing of its points.
class PlanarPlotWriter : public PlanarPlotExtras {
public:
    PlanarPlotWriter(const DialState& s, PlotPainter& painter, const PlanarPlotOptions& options)
        : s_(s), painter_(painter), stream_(painter.stream()), options_(options), listing_(options.listing) {}

    void grid(const DialPlane& plane) override;
    void beforeHourLines(const DialPlane& plane) override;
    void styleFoot(const DialPlane& plane) override;
    void section(Section section) override;
    void curve(const QString& label) override;
    void curve(double value) override;
    void point(const ShadowSample& sample, int hour) override;

private:
    QString num(double units) const { return stream_.coord(units); }

    const DialState& s_;
    PlotPainter& painter_;
    PlotStream& stream_;
    const PlanarPlotOptions& options_;
    CoordinateListing* listing_;
    Section section_ = Section::DateLines;
};

void PlanarPlotWriter::grid(const DialPlane& plane) {
    // A grid every few millimetres through the nodus foot point, at least 2 units inside
    // its window; spacings outside 1 mm .. 1 m would plot nothing or flood the file.
    double mm = options_.gridMm;
    if (!std::isfinite(mm) || mm <= 0) mm = 10.0;
    mm = std::clamp(mm, 1.0, 1000.0);
    const double step = kPlotUnitsPerMm * mm;
    const double right = kGridWindowRight, top = kGridWindowTop, inset = 2.0;
    const double x0 = plane.x0, y0 = painter_.plotY(plane.y0);
    painter_.flush();
    stream_.WritePlot(QStringLiteral(";IW 0 0 ") + num(right) + QLatin1Char(' ') + num(top));
    painter_.selectPen(9);
    if (x0 - 80 >= 0 && x0 + 80 <= right && y0 - 80 >= 0 && y0 + 80 <= top) {
        stream_.WritePlot(QStringLiteral(";PU ") + num(x0) + QLatin1Char(' ') + num(y0) + QStringLiteral(";CI ") + num(80) +
                          QStringLiteral(",3;"));
    } else {
        // Near the sheet's edge the circle round the origin is cut like every stroke.
        painter_.setPenRole(8);
        painter_.circle(plane.x0, plane.y0, 80, FillStyle::None, 0);
        painter_.flush();
        stream_.WritePlot(QStringLiteral(";"));
    }
    QString lines;
    const auto flushLines = [&] {
        stream_.WritePlot(lines);
        lines.clear();
    };
    const double firstX = x0 - std::floor((x0 - inset) / step) * step;
    for (double x = firstX; x <= right - inset; x += step) {
        lines += QStringLiteral("PU ") + num(x) + QLatin1Char(' ') + num(inset) + QStringLiteral(";PD ") + num(x) +
                 QLatin1Char(' ') + num(top - inset) + QLatin1Char(';');
        if (lines.size() > 4096) flushLines();
    }
    const double firstY = y0 - std::floor((y0 - inset) / step) * step;
    for (double y = firstY; y <= top - inset; y += step) {
        lines += QStringLiteral("PU ") + num(inset) + QLatin1Char(' ') + num(y) + QStringLiteral(";PD ") +
                 num(right - inset) + QLatin1Char(' ') + num(y) + QLatin1Char(';');
        if (lines.size() > 4096) flushLines();
    }
    flushLines();
}

void PlanarPlotWriter::beforeHourLines(const DialPlane& plane) {
    painter_.flush();
    const double W = kSheetWidth, H = kSheetHeight;
    if (s_.dialType == 'v') {
        // Only the wall below its horizon, the nodus row, carries hour lines; a nodus at the
        // top of the sheet keeps the whole sheet.
        const double y0 = painter_.plotY(plane.y0);
        if (y0 < H - 10) stream_.inputWindow(0, 0, kWallWindowRight, y0 + 10);
        else stream_.inputWindow();
    } else if (s_.dialType == 'i') {
        double top = H;
        if (plane.yHorizon > 0) top = std::clamp(painter_.plotY(plane.oy + plane.yHorizon) + 5, 1.0, H);
        stream_.inputWindow(0, 0, W, top);
    }
}

void PlanarPlotWriter::styleFoot(const DialPlane& plane) {
    painter_.applyPenWidth();
    painter_.flush();
    stream_.inputWindow();
    const double x0 = plane.x0, y0 = plane.y0;  // drawing rows, y downward
    // The nodus foot point: a square of 3 mm round it.
    painter_.setPenRole(3);
    painter_.rectangle(x0 - 60, y0 + 60, x0 + 60, y0 - 60);
    const bool walls = s_.dialType == 'v' || s_.dialType == 'i';
    if (!walls || s_.umbrellaDial) return;

    const Offset o = LimitOffset(StyleFootPoint(plane));
    const QPointF S(x0 + o.dx, y0 - o.dy);
    const QRectF sheet(0, 0, kSheetWidth, kSheetHeight);
    // A dashed line from the nodus foot point toward the style foot point, on the sheet.
    QPointF a(x0, y0), b = S;
    if (ClipSegment(a, b, sheet)) {
        painter_.setLineStyle(LineStyle::Dashed);
        painter_.moveTo(a.x(), a.y());
        painter_.lineTo(b.x(), b.y());
        painter_.setLineStyle(LineStyle::Solid);
    }
    if (!sheet.contains(S)) return;
    painter_.moveTo(S.x() - 36, S.y());
    painter_.lineTo(S.x() + 36, S.y());
    painter_.moveTo(S.x(), S.y() - 36);
    painter_.lineTo(S.x(), S.y() + 36);
    painter_.circle(S.x(), S.y(), 50, FillStyle::None, 0);
    painter_.setTextRole(3);
    painter_.text(S.x() + 60, S.y() - 20, QStringLiteral("S"), TextAnchor::BottomLeft, 0.0);
}

void PlanarPlotWriter::section(Section section) {
    section_ = section;
    if (!listing_) return;
    const Language l = s_.language;
    QString heading;
    switch (section) {
    case Section::DateLines:
        heading = TextOf(TextId::ListingDateLines, l);
        break;
    case Section::TemporalHours: heading = TextOf(TextId::TemporalHours, l); break;
    case Section::BabylonianHours: heading = TextOf(TextId::BabylonianHours, l); break;
    case Section::ItalianHours: heading = TextOf(TextId::ItalianHours, l); break;
    case Section::AltitudeLines: heading = TextOf(TextId::ListingAltitudeLines, l); break;
    case Section::ApparentTime:
        heading = TextOf(TextId::ListingApparentTime, l) + label(s_.localTimeDisplay ? 16 : 17, l);
        break;
    case Section::MeanTime:
        heading = TextOf(TextId::ListingMeanTime, l);
        break;
    case Section::Analemma: heading = TextOf(TextId::Analemma, l); break;
    }
    listing_->beginSection(heading);
}

void PlanarPlotWriter::curve(const QString& label) {
    if (listing_) listing_->beginCurve(label);
}

void PlanarPlotWriter::curve(double value) {
    if (!listing_) return;
    switch (section_) {
    case Section::DateLines: listing_->beginCurve(RealToText(6, 2, value) + QStringLiteral("°")); break;
    case Section::AltitudeLines: listing_->beginCurve(RealToText(5, 1, value) + QStringLiteral("°")); break;
    default: listing_->beginCurve(FormatHourMin(value).trimmed()); break;
    }
}

void PlanarPlotWriter::point(const ShadowSample& sample, int hour) {
    if (listing_ && sample.visible) listing_->addPoint(sample.x, sample.y, hour);
}

double Proportion(double value, double from, double to) { return from > 0 ? std::round(value / from * to) : value; }

}  // namespace

QPointF DefaultPlotOrigin(const DialState& s, double g) {
    const double W = kSheetWidth;
    if (s.dialType == 'v') {
        double x0 = 8200;
        // A wall turned far east or west throws its shadows to one side.
        if (s.wallDeclination > 50) x0 += 2400;
        else if (s.wallDeclination < -50) x0 -= 2400;
        return {std::min(x0, W), 11000};
    }
    double phi = s.latitude;
    if (s.dialType == 'i' && !s.umbrellaDial)
        phi = EquivalentHorizontalDial(s.latitude, s.planeInclination, s.wallDeclination).latitude;
    const double a = std::abs(phi);
    double y0 = a <= 30 ? 5500 : a <= 49 ? 4000 : 2500;
    if (a > 50 && g > 3000) y0 = 1500;
    if (phi < 0) y0 = 11000 - y0;
    return {8200, y0};
}

QStringList ListingHead(const DialState& s, double gnomonMm, const QString& plotFileName) {
    const Language l = s.language;
    QStringList head = PolarStyleInformation(PolarStyleInputFor(s, gnomonMm)).lines;
    head << QString();
    head << label(143, l) + label(s.localTimeDisplay ? 16 : 17, l);
    if (s.umbrellaDial)
        head << TextOf(TextId::DiskRadius, l) + RealToText(5, 2, s.umbrellaCircleRatio) +
                    TextOf(TextId::TimesHeight, l);
    head << TextOf(TextId::SavedDrawingName, l) + plotFileName;
    return head;
}

bool WritePlanarDialPlot(const DialState& s, PlotStream& stream, const PlanarPlotOptions& options,
                         UserDialogs& dialogs) {
    const ScaledGnomon scaled = ScaleGnomon(s.gnomonLength, s.zoomFactor);
    const double g = scaled.gnomonMm * kPlotUnitsPerMm;
    const double W = kSheetWidth, H = kSheetHeight;

    DialRequest r;
    r.target = DrawTarget::Plot;
    r.clientWidth = W;
    r.clientHeight = H;
    r.grid = options.grid;
    r.angles = options.angles;
    // Rows of the construction run downward from the top of the sheet.
    const QPointF origin = DefaultPlotOrigin(s, g);
    r.originX = origin.x();
    r.originY = H - origin.y();
    const GnomonPlacement defaults = DefaultGnomonPlacement(s, static_cast<int>(W), static_cast<int>(H));
    // Whole plotter units, as positions carried over from the window are.
    r.textX = std::round(defaults.centreX);
    r.textY = std::round(defaults.centreY);
    if (options.placement) {
        const WindowPlacement& w = *options.placement;
        if (w.originFixed) {
            r.originX = Proportion(w.origin.x(), w.imageSize.width(), W);
            r.originY = Proportion(w.origin.y(), w.imageSize.height(), H);
        }
        r.textX = Proportion(w.text.x(), w.imageSize.width(), W);
        r.textY = Proportion(w.text.y(), w.imageSize.height(), H);
    }

    if (MapOverlayWanted(s)) {
        DialPlane plane = PlaneOfState(s);
        plane.g = g;
        WriteMapOverlayPlot(s, plane, QPointF(r.originX, H - r.originY), stream, dialogs);
    }
    stream.writeStandardHead();

    if (options.listing) {
        options.listing->setOrigin({r.originX, r.originY}, kPlotUnitsPerMm);
        options.listing->addLines(ListingHead(s, scaled.gnomonMm, options.plotFileName));
    }

    PlotPainter painter(stream, LineWidthOf(s));
    PlanarPlotWriter extras(s, painter, options);
    r.plot = &extras;
    const DialContext context(s);
    const DialResult result = DrawPlanarDial(context, r, painter, dialogs);
    if (result.drawn && options.shadow) {
        r.shadow = &*options.shadow;
        DrawRequestedShadow(context, r, painter);
    }
    painter.flush();
    return result.drawn;
}

PlanarSaveResult SavePlanarDial(const DialState& s, const PlanarSaveRequest& request, UserDialogs& dialogs) {
    const Language l = s.language;
    PlanarSaveResult result;

    // The window's angles when it hands them over, else the construction's own.
    const HourLineAngles angles = request.angles ? *request.angles : ComputeHourLineAngles(s, true);

    std::optional<CoordinateListing> listing;
    if (request.coordinates != CoordinateOutput::None) listing.emplace(l, QPointF(), kPlotUnitsPerMm);
    QString listingFile;
    if (request.coordinates == CoordinateOutput::TextFile) {
        listingFile = request.listingFileName.isEmpty() ? ListingFileName(request.fileName) : request.listingFileName;
        if (QFileInfo::exists(listingFile))
            dialogs.inform(caption(CaptionKind::Problem, l), message(28, l) + listingFile, Icon::Warning);
    }

    PlanarPlotOptions options;
    options.grid = request.gridMm.has_value();
    options.gridMm = request.gridMm.value_or(10.0);
    options.placement = request.placement;
    options.listing = listing ? &*listing : nullptr;
    options.plotFileName = request.fileName;
    options.angles = &angles.table;
    options.shadow = request.shadow;

    const PlotWriter writer = [&](PlotStream& stream) {
        if (listing) listing.emplace(l, QPointF(), kPlotUnitsPerMm);
        // A dial the construction refused leaves no file that looks like a saved dial.
        if (!WritePlanarDialPlot(s, stream, options, dialogs)) throw PlotWriteError(message(69, l));
    };
    PlotSaveRequest save;
    save.fileName = request.fileName;
    save.format = request.format;
    save.highResolution = true;
    save.lineWeight = request.lineWeight;
    const PlotSaveResult saved = SavePlot(save, writer, dialogs, l);
    result.conversionMessages = saved.conversionMessages;
    if (!saved.ok) return result;
    result.ok = true;
    if (!listing) return result;

    result.listing = listing->lines();
    if (request.coordinates == CoordinateOutput::TextFile) {
        QString error;
        if (!listing->writeFile(listingFile, &error)) {
            dialogs.inform(caption(CaptionKind::Error, l),
                           message(53, l) + QStringLiteral("\r\n") + listingFile + QStringLiteral(" (") + error +
                               QLatin1Char(')'),
                           Icon::Error);
            result.ok = false;
            return result;
        }
        result.listingFile = listingFile;
        dialogs.inform(caption(CaptionKind::Information, l),
                       QStringLiteral("\r\n       ") + QFileInfo(listingFile).fileName() + message(58, l),
                       Icon::Information);
    }
    return result;
}

std::optional<double> AskPlotGrid(UserDialogs& dialogs, Language language) {
    if (dialogs.ask(caption(CaptionKind::Question, language), message(16, language), Buttons::YesNo) != Answer::Yes)
        return std::nullopt;
    const std::optional<QString> text =
        dialogs.askText(TextOf(TextId::DrawGrid, language),
                        TextOf(TextId::GridWidth, language),
                        QStringLiteral("10"));
    double mm = 10.0;
    if (text && ParseReal(text->trimmed(), mm) && mm > 0) return mm;
    return 10.0;
}

}  // namespace zorva
