#include "dials/planar_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/rise_set.h"
#include "astro/solar_ephemeris.h"
#include "astro/sun_position.h"
#include "dials/canvas_painter.h"
#include "dials/dial_context.h"
#include "dials/date_lines.h"
#include "dials/dial_painter.h"
#include "dials/hour_line_angles.h"
#include "dials/label_placer.h"
#include "dials/map_overlay.h"
#include "dials/planar_plot_extras.h"
#include "plot/plot_stream.h"
#include "state/preferences.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/recording_dialogs.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

namespace zorva {
namespace {

// Colour roles of the planar dials.
enum Role {
    kDateLines = 0,
    kMeanSubdivision = 1,
    kApparentHours = 2,
    kText = 3,  // also mean-time full hours, gnomon measure, style foot mark
    kHorizon = 4,  // also the sun-altitude lines
    kItalian = 5,
    kBabylonian = 6,
    kSubdivision = 7,
    kGrid = 8,
    kTemporal = 9,
    kDayLength = 10,
};

// Where a traced line ends and in which direction it runs there.
struct LineEnd {
    QPointF at;
    QPointF direction;  // unit vector pointing out of the line
};

QPointF Unit(QPointF v) {
    const double n = std::hypot(v.x(), v.y());
    return n > 1e-12 ? v / n : QPointF(0, -1);
}

// The stroke end farthest from `from`: the outer end of an hour line seen from the nodus foot.
std::optional<LineEnd> FarthestEnd(const std::vector<QLineF>& strokes, QPointF from) {
    std::optional<LineEnd> best;
    double bestDistance = -1;
    for (const QLineF& l : strokes) {
        for (const auto& [at, other] : {std::pair{l.p2(), l.p1()}, std::pair{l.p1(), l.p2()}}) {
            const double d = std::hypot(at.x() - from.x(), at.y() - from.y());
            if (d > bestDistance && std::isfinite(d)) {
                bestDistance = d;
                best = LineEnd{at, Unit(at - other)};
            }
        }
    }
    return best;
}

// The leftmost or rightmost stroke end: where a date line is labelled.
std::optional<LineEnd> SideEnd(const std::vector<QLineF>& strokes, bool right) {
    std::optional<LineEnd> best;
    for (const QLineF& l : strokes) {
        for (const auto& [at, other] : {std::pair{l.p2(), l.p1()}, std::pair{l.p1(), l.p2()}}) {
            if (!std::isfinite(at.x())) continue;
            if (!best || (right ? at.x() > best->at.x() : at.x() < best->at.x()))
                best = LineEnd{at, Unit(at - other)};
        }
    }
    return best;
}

// Top-left corners for a number of `size` at a line's end, best first: beyond the end along
// the line, then beside the end, then beside the line a little inward.
std::vector<QPointF> NumeralCandidates(const LineEnd& end, QSizeF size, double gap) {
    const QPointF d = end.direction, n(-d.y(), d.x());
    const QPointF half(size.width() / 2, size.height() / 2);
    // Distance from a box centre to its edge in a direction.
    const auto reach = [&](QPointF u) { return std::abs(u.x()) * half.x() + std::abs(u.y()) * half.y(); };
    std::vector<QPointF> centres;
    for (double f : {1.0, 2.0}) centres.push_back(end.at + d * (gap + f * reach(d)));
    for (double side : {1.0, -1.0}) centres.push_back(end.at + n * side * (gap + reach(n)));
    for (double back : {1.0, 3.0})
        for (double side : {1.0, -1.0})
            centres.push_back(end.at - d * (back * reach(d)) + n * side * (gap + reach(n)));
    for (double side : {1.0, -1.0}) centres.push_back(end.at + d * (gap + reach(d)) + n * side * (gap + reach(n)));
    // Then farther round the end, before the number is left out.
    const double step = std::max(size.width(), size.height());
    for (double r : {1.5, 2.5})
        for (int k = 0; k < 12; ++k) {
            const double a = k * 30.0 * kDegToRad;
            centres.push_back(end.at + QPointF(std::cos(a), std::sin(a)) * (gap + r * step));
        }
    // Last, beside the line farther in (an end under the legend).
    for (int k = 2; k <= 16; k += 2)
        for (double side : {1.0, -1.0}) centres.push_back(end.at - d * (k * step) + n * side * (gap + reach(n)));
    std::vector<QPointF> corners;
    corners.reserve(centres.size());
    for (const QPointF& c : centres) corners.push_back(c - half);
    return corners;
}

class PlanarConstruction {
public:
    PlanarConstruction(const DialContext& c, const DialRequest& r, double gnomonMm, DialPainter& p, UserDialogs& d)
        : c_(c), s_(c.state), r_(r), p_(p), d_(d), gz_(gnomonMm) {}

    bool run();
    // The gnomon's shadow and the nodus point for the sun of a moment, traced as the lines are.
    CastShadow castShadow(const ShadowMoment& moment);

private:
    bool screen() const { return r_.target == DrawTarget::Screen; }
    bool printer() const { return r_.target == DrawTarget::Printer; }
    bool plot() const { return r_.target == DrawTarget::Plot && r_.plot; }
    // The plot's coordinate listing of the traced lines.
    void listSection(PlanarPlotExtras::Section section) {
        if (plot()) r_.plot->section(section);
    }
    void listCurve(double value) {
        if (plot()) r_.plot->curve(value);
    }
    void listCurve(const QString& label) {
        if (plot()) r_.plot->curve(label);
    }
    void listPoint(const ShadowSample& sample, int hour = -1) {
        if (plot()) r_.plot->point(sample, hour);
    }

    void setUpFrame();
    void setUpArea();
    bool umbrellaChecks();
    void setUpPlane();
    void drawGrid();
    void drawHorizon();
    void drawNodusAndLegend();
    void drawLegend();
    void drawDayLengthLines();
    void drawDateLines();
    void drawGnomonMeasure();
    void traceTemporalHours();
    void traceBabylonianItalian();
    void traceBabylonianOrItalian(bool italian);
    void traceAltitudeLines();
    void traceHourLines(int firstDay, bool mean, int firstHour, int lastHour, bool analemma);
    void drawAnalemmaMarks(int hour);
    void continueToStyleFoot(double T, int j, bool anyVisible, QPointF farthest);
    void drawStyleFoot();
    void drawFinalFrame();
    // Traces a line of constant declination; its strokes as drawn.
    std::vector<QLineF> traceDeclination(double declination, bool listed = false);

    // --- numbers of the lines, placed once every line is drawn
    enum class NumeralEnd { Outer, Left, Right };
    struct PendingNumeral {
        std::vector<QLineF> strokes;
        QString text;
        int role = kText;
        NumeralEnd end = NumeralEnd::Outer;
        bool zodiac = false;
    };
    // Whether this drawing numbers its lines: by the preference, and in a plot only when
    // asked for there too.
    bool numerals() const {
        return s_.numeralStyle != NumeralStyle::None && (!r_.plotTarget() || s_.numeralsInPlotFiles);
    }
    void keepStrokes(const ShadowCurve& curve) {
        strokes_.insert(strokes_.end(), curve.strokes().begin(), curve.strokes().end());
    }
    void addNumeral(const std::vector<QLineF>& strokes, const QString& text, int role,
                    NumeralEnd end = NumeralEnd::Outer, bool zodiac = false) {
        if (!strokes.empty()) numerals_.push_back({strokes, text, role, end, zodiac});
    }
    void writeNumerals();
    QRectF labelSheet() const;
    void reserveText(double x, double y, const QString& text) {
        reserved_.emplace_back(x, y, p_.textWidth(text), p_.textHeight());
    }

    ShadowSample shadow(double altitude, double azimuth) const { return ShadowPoint(altitude, azimuth, plane_); }
    // The sun at zone time T (+ the equivalent dial's shift) with declination and EoT of that
    // instant, as SunPosition has it; `longitude` makes T a time of that meridian.
    ShadowSample shadowAt(int day, double T, bool withEoT) { return shadowAt(day, T, withEoT, lambdaRef_); }
    ShadowSample shadowAt(int day, double T, bool withEoT, double longitude) {
        return shadowAt(c_.ephemeris(), day, T, withEoT, longitude);
    }
    ShadowSample shadowAt(const SunEphemeris& ephemeris, int day, double T, bool withEoT, double longitude) const {
        const double zt = T + plane_.hourShift;
        const DeclinationEoT e = ephemeris.at(day + (zt + s_.zoneMeridian / 15 - 12) / 24);
        double t = 15 * (zt - 12) - (longitude - s_.zoneMeridian);
        if (withEoT) t += e.eot;
        const HorizontalPosition hp = HorizontalFromHourAngle(t, e.declination, plane_.effectiveLatitude);
        return shadow(hp.altitude, hp.azimuth);
    }
    // A horizon direction of the site, carried into the frame of the equivalent dial.
    ShadowSample shadowOfDirection(double altitude, double azimuth) const;
    // A free stroke, cut to the drawing area (or only the part below the plane's horizon).
    void clippedLine(QPointF a, QPointF b, bool belowHorizon = false);
    QPointF styleFoot() const {
        const Offset o = LimitOffset(StyleFootPoint(plane_));
        return {plane_.x0 + o.dx, plane_.y0 - o.dy};
    }

    const DialContext& c_;
    const DialState& s_;
    const DialRequest& r_;
    DialPainter& p_;
    UserDialogs& d_;
    double gz_;
    double w_ = 0, h_ = 0, ox_ = 0, oy_ = 0;
    double unitsPerMm_ = 1;
    double u_ = 1;
    int lineWidth_ = 1;
    double lambdaRef_ = 0;
    double obliquity_ = 23.44;
    DialPlane plane_;
    DrawingArea area_;
    std::vector<PendingNumeral> numerals_;
    // A text of the layout whose place waits for the lines: candidates best first.
    struct PendingText {
        QString text;
        double fontSize = 16;
        std::vector<QPointF> candidates;
        QRectF keepClear;  // what belongs to it besides the text
    };
    std::optional<PendingText> measureText_;
    std::vector<QLineF> strokes_;   // every traced line, for the numbers to keep off
    std::vector<QRectF> reserved_;  // legend and measure texts
    std::optional<HourLineAngleTable> angles_;
    QString sunlitPeriod_;
    QPointF sunlitAt_;  // on paper: below the legend
    QString sunlitText() const { return TextOf(TextId::SunOnDialPlane, s_.language) + sunlitPeriod_; }
};

bool PlanarConstruction::run() {
    setUpArea();
    if (w_ < 2 || h_ < 2) return false;
    if (!umbrellaChecks()) return false;
    setUpPlane();
    if (!c_.umbrella) {
        // What the hour-line angle table shows is computed here, so that a plain draw shows
        // the lines to the style foot point and the sunlit times whatever was opened before.
        HourLineAngles own = ComputeHourLineAngles(s_, true);
        angles_ = r_.angles && r_.angles->litRangeKnown ? *r_.angles : own.table;
        sunlitPeriod_ = own.sunlitPeriod;
    }
    // The map lies under the dial (the plot writes it as a plot of its own before the dial's).
    if (!plot() && MapOverlayWanted(s_)) {
        const double scale = screen() ? s_.gnomonLength * r_.clientWidth / (r_.sheetA3 ? 420.0 : 280.0)
                                      : s_.gnomonLength * kPrinterUnitsPerMm;
        DrawMapOverlay(s_, plane_, scale, p_, d_);
    }
    // Nothing of the dial may reach beyond its drawing area.
    p_.setWindow(ox_, oy_, ox_ + w_, oy_ + h_);
    if (r_.grid) drawGrid();
    if (plot()) {
        // A plot writes legend, measure and horizon in the finest pen before the dial's lines.
        drawNodusAndLegend();
        drawGnomonMeasure();
        drawHorizon();
        p_.setPenWidth(lineWidth_);
    } else {
        p_.setPenWidth(lineWidth_);
        drawHorizon();
        drawNodusAndLegend();
    }
    p_.setPenRole(kDateLines);
    if (s_.wholeHourDaylengthLines) drawDayLengthLines();
    drawDateLines();
    if (!plot()) drawGnomonMeasure();
    if (plot()) r_.plot->beforeHourLines(plane_);
    if (s_.temporalHours) traceTemporalHours();
    traceBabylonianItalian();
    if (s_.altitudeLines) traceAltitudeLines();
    if (s_.apparentTimeLines) traceHourLines(171, false, s_.hourFrom, s_.hourTo, false);
    if (s_.meanTimeLines) traceHourLines(1, true, s_.eotHourFrom, s_.eotHourTo, false);
    if (s_.markAnalemma) traceHourLines(1, true, s_.analemmaHour, s_.analemmaHour, true);
    p_.setPenWidth(1);
    writeNumerals();
    drawStyleFoot();
    p_.resetWindow();
    drawFinalFrame();
    return true;
}

void PlanarConstruction::setUpFrame() {
    if (screen()) {
        // A 30-pixel frame and 2 more are kept free round the drawing.
        w_ = r_.clientWidth - 32;
        h_ = r_.clientHeight - 32;
        ox_ = oy_ = 0;
        unitsPerMm_ = ScreenUnitsPerMm(r_.clientWidth, r_.sheetA3);
    } else {
        // The plot's sheet is the drawing area itself.
        w_ = r_.clientWidth - (plot() ? 0 : 2);
        h_ = r_.clientHeight - (plot() ? 0 : 2);
        ox_ = r_.offsetX;
        oy_ = r_.offsetY;
        unitsPerMm_ = printer() ? kPrinterUnitsPerMm : kPlotUnitsPerMm;
    }
    lineWidth_ = c_.lineWidth;
    lambdaRef_ = s_.localTimeDisplay ? s_.zoneMeridian : s_.longitude;
}

void PlanarConstruction::setUpArea() {
    setUpFrame();
    obliquity_ = ZodiacDeclinations(s_.referenceYear).obliquity;
    if (w_ < 2 || h_ < 2) return;
    p_.setFont(QStringLiteral("Arial"), screen() ? 16 : 4 * unitsPerMm_);
    p_.setTextRole(kText);
    p_.setPenWidth(1);
    if (!plot()) {
        p_.setPenColour(colour::kWhite, kText);
        p_.moveTo(ox_ + w_, oy_);
        p_.lineTo(ox_ + w_, oy_ + h_);
    }
    p_.setPenColour(colour::kBlack, kDateLines);
    if (screen()) DrawBorderFrame(p_, ox_, oy_, w_, h_, 1);
}

bool PlanarConstruction::umbrellaChecks() {
    if (c_.kind != DialKind::Inclined || !c_.umbrella) return true;
    switch (CheckInclinedUmbrella(s_.umbrellaCircleRatio, s_.planeInclination)) {
    case UmbrellaProblem::PlaneIntoDisc:
        d_.inform(caption(CaptionKind::Warning, s_.language), message(17, s_.language), Icon::Warning);
        return false;
    case UmbrellaProblem::NoDisc:
        // Without a disc the lines are those of the plain dial: drawn after the error box.
        d_.inform(caption(CaptionKind::Error, s_.language), message(21, s_.language), Icon::Error);
        return true;
    case UmbrellaProblem::None: break;
    }
    return true;
}

void PlanarConstruction::setUpPlane() {
    plane_ = PlaneOfState(s_);
    plane_.x0 = r_.originX;
    plane_.y0 = r_.originY;
    plane_.ox = ox_;
    plane_.oy = oy_;
    plane_.halfWidth = w_ / 2;
    plane_.height = h_;
    plane_.g = gz_ * unitsPerMm_;
    plane_.yHorizon = HorizonRow(plane_);
    area_ = AreaOf(plane_);
    u_ = std::round(plane_.halfWidth / (screen() && r_.sheetA3 ? 21.0 : 14.0));
}

void PlanarConstruction::drawGrid() {
    if (plot()) {
        r_.plot->grid(plane_);
        return;
    }
    p_.setPenRole(kGrid);
    const double x0 = plane_.x0, y0 = plane_.y0;
    const double half = screen() ? std::round(w_ / 160) : 10;
    p_.rectangle(x0 - half, y0 - half, x0 + half, y0 + half);
    const double step = 10 * unitsPerMm_;  // one line every centimetre
    if (!(step >= 1)) return;
    const double xFirst = x0 - std::floor((x0 - ox_) / step) * step;
    for (double x = xFirst; x <= ox_ + w_; x += step) {
        p_.moveTo(x, oy_);
        p_.lineTo(x, oy_ + h_);
    }
    const double yFirst = y0 - std::floor((y0 - oy_) / step) * step;
    for (double y = yFirst; y <= oy_ + h_; y += step) {
        p_.moveTo(ox_, y);
        p_.lineTo(ox_ + w_, y);
    }
}

void PlanarConstruction::drawHorizon() {
    if (plane_.yHorizon <= 0 || plane_.yHorizon >= h_) return;
    p_.setPenRole(kHorizon);
    p_.moveTo(ox_ + 5, oy_ + plane_.yHorizon);
    p_.lineTo(ox_ + w_ - 5, oy_ + plane_.yHorizon);
}

void PlanarConstruction::drawNodusAndLegend() {
    // The plot marks the nodus foot point with its style foot, at the end.
    if (plot()) {
        drawLegend();
        return;
    }
    const double x0 = plane_.x0, y0 = plane_.y0;
    p_.setPenRole(kGrid);
    const double q = u_ / 6;
    p_.rectangle(x0 - q, y0 - q, x0 + q, y0 + q);
    p_.setPenRole(kText);
    p_.moveTo(x0 - u_ / 2, y0);
    p_.lineTo(x0 + u_ / 2, y0);
    p_.moveTo(x0, y0 - u_ / 2);
    p_.lineTo(x0, y0 + u_ / 2);
    if (c_.kind == DialKind::Vertical && !c_.umbrella && plane_.yHorizon > 0 && plane_.yHorizon < h_) {
        p_.setPenRole(kHorizon);
        p_.moveTo(ox_ + 5, oy_ + plane_.yHorizon);
        p_.lineTo(ox_ + w_ - 5, oy_ + plane_.yHorizon);
    }
    drawLegend();
}

void PlanarConstruction::drawLegend() {
    const PlanarLegend legend = PlanarLegendTexts(s_);
    p_.setTextRole(kText);
    const QString arial = QStringLiteral("Arial");
    if (screen()) {
        const double x = ox_ + plane_.halfWidth - 4 * u_;
        const bool narrow = !r_.wideScreen;
        const bool plainHorizontal = c_.kind == DialKind::Horizontal && !c_.umbrella;
        p_.setFont(arial, PointsToPixels(narrow ? 12 : 16));
        const double titleHeight = p_.textHeight();
        const double titleOffset = narrow ? 3.5 : (plainHorizontal ? 1.8 : 2.25);
        p_.text(x, oy_ + h_ - titleOffset * titleHeight, legend.title);
        reserveText(x, oy_ + h_ - titleOffset * titleHeight, legend.title);
        p_.setFont(arial, PointsToPixels(8));
        const double th = p_.textHeight();
        const double extra = narrow ? 1.0 : 0.0;
        if (!legend.orientation.isEmpty()) {
            p_.text(x, oy_ + h_ - (2.4 + extra) * th, legend.orientation);
            reserveText(x, oy_ + h_ - (2.4 + extra) * th, legend.orientation);
        }
        p_.text(x, oy_ + h_ - (1.2 + extra) * th, legend.position);
        reserveText(x, oy_ + h_ - (1.2 + extra) * th, legend.position);
        p_.setFont(arial, 16);
    } else {
        // One line below the other at the window's text cursor.
        double y = r_.textY;
        p_.setFont(arial, 6 * unitsPerMm_);
        p_.text(r_.textX, y, legend.title);
        reserveText(r_.textX, y, legend.title);
        y += p_.textHeight();
        p_.setFont(arial, 3 * unitsPerMm_);
        if (!legend.orientation.isEmpty()) {
            p_.text(r_.textX, y, legend.orientation);
            reserveText(r_.textX, y, legend.orientation);
            y += p_.textHeight();
        }
        p_.text(r_.textX, y, legend.position);
        reserveText(r_.textX, y, legend.position);
        y += p_.textHeight();
        if (printer() && !sunlitPeriod_.isEmpty()) {
            // Under the legend, where no line is drawn; the frame writes it last.
            p_.setFont(arial, 40, true);
            sunlitAt_ = QPointF(r_.textX, y + 0.2 * p_.textHeight());
            reserveText(sunlitAt_.x(), sunlitAt_.y(), sunlitText());
        }
        p_.setFont(arial, 4 * unitsPerMm_);
    }
}

std::vector<QLineF> PlanarConstruction::traceDeclination(double declination, bool listed) {
    if (listed) listCurve(declination);
    ShadowCurve curve(p_, area_);
    for (int k = 0; k <= 96; ++k) {
        const HorizontalPosition hp =
            HorizontalFromHourAngle(15.0 * (k * 0.25) - 180.0, declination, plane_.effectiveLatitude);
        const ShadowSample sample = shadow(hp.altitude, hp.azimuth);
        curve.add(sample);
        if (listed && k % 4 == 0) listPoint(sample, k / 4);
    }
    keepStrokes(curve);
    return curve.strokes();
}

void PlanarConstruction::drawDayLengthLines() {
    p_.setPenRole(kDayLength);
    const double phi = std::abs(s_.latitude);
    std::set<double> drawn;
    for (int k = 0; k <= 12; ++k) {
        double delta = 0.0;
        if (phi >= 0.01) {
            // Semi-arc 90 + 7.5 k degrees: a day of 12 + k hours (12 - k for -delta).
            delta = std::atan(SinDeg(7.5 * k) / TanDeg(phi)) / kDegToRad;
            if (std::abs(delta) > obliquity_) continue;
            if (std::abs(delta) < 1.0) delta = 0.0;
        }
        for (double d : {delta, -delta}) {
            if (!drawn.insert(d).second) continue;
            traceDeclination(d);
        }
    }
}

void PlanarConstruction::drawDateLines() {
    p_.setPenRole(kDateLines);
    const std::vector<DateLine> lines = BuildDateLineTable(s_, &d_);
    if (!lines.empty()) listSection(PlanarPlotExtras::Section::DateLines);
    const bool zodiac = s_.dateLineMode == '0';
    for (size_t n = 0; n < lines.size(); ++n) {
        const DateLine& line = lines[n];
        if (line.fixedDeclination) {
            const std::vector<QLineF> strokes = traceDeclination(line.declination, true);
            if (!numerals()) continue;
            if (zodiac) {
                // The line of the k-th sign from the summer solstice serves the sign entered
                // in the first half of the year at one end and the one of the second half at
                // the other; the solstice lines serve one sign each.
                const int k = static_cast<int>(n);
                const int autumn = 3 + k, spring = (15 - k) % 12;
                addNumeral(strokes, p_.zodiacSign(autumn), kDateLines, NumeralEnd::Right, true);
                if (spring != autumn) addNumeral(strokes, p_.zodiacSign(spring), kDateLines, NumeralEnd::Left, true);
            } else {
                addNumeral(strokes, DateLineNumeral(line.label), kDateLines, NumeralEnd::Right);
            }
            continue;
        }
        listCurve(line.label);
        // Declination of 12:00 zone time all day long, as SunPositionNoonEphemeris has it.
        const SunPositionResult noon = SunPositionNoonEphemeris(s_.referenceYear, line.dayOfYear, 12.0,
                                                                plane_.effectiveLatitude, lambdaRef_, s_.zoneMeridian, false);
        ShadowCurve curve(p_, area_);
        for (int k = 0; k <= 96; ++k) {
            const double zt = k * 0.25 + plane_.hourShift;
            const HorizontalPosition hp = HorizontalFromHourAngle(15 * (zt - 12) - (lambdaRef_ - s_.zoneMeridian),
                                                                  noon.declination, plane_.effectiveLatitude);
            const ShadowSample sample = shadow(hp.altitude, hp.azimuth);
            curve.add(sample);
            if (k % 4 == 0) listPoint(sample, k / 4);
        }
        keepStrokes(curve);
        if (numerals()) addNumeral(curve.strokes(), DateLineNumeral(line.label), kDateLines, NumeralEnd::Right);
    }
}

void PlanarConstruction::drawGnomonMeasure() {
    // Two strokes of the gnomon's length at right angles: the gnomon to scale.
    p_.setPenRole(kText);
    const double g = plane_.g;
    const double m = screen() ? 30 : 0;
    const double xs = ox_ + u_ + m;
    const double B = 2 * (h_ / 2) + oy_ - u_;
    const double tick = printer() ? 15 : 0;
    const std::vector<QPointF> measure{{xs + 5 + tick, B - g}, {xs, B - g}, {xs, B}, {xs + g, B}, {xs + g, B - 5 - tick}};
    for (size_t i = 1; i < measure.size(); ++i) clippedLine(measure[i - 1], measure[i]);
    const double fontSize = screen() ? 16 : 3.5 * unitsPerMm_;
    p_.setFont(QStringLiteral("Arial"), fontSize);
    p_.setTextRole(kText);
    const QString text =
        TextOf(TextId::GnomonHeight, s_.language) + QStringLiteral(" (=") + RealToText(6, 2, gz_) + QStringLiteral(")");
    // A third of a line below the bar, so that the text does not touch it on paper.
    const double gap = std::max(3.0, p_.textHeight() / 3);
    for (size_t i = 1; i < measure.size(); ++i) strokes_.emplace_back(measure[i - 1], measure[i]);
    if (plot()) {
        // The plot writes it before the lines exist, at its classic place.
        p_.text(xs, B + gap, text);
        reserveText(xs, B + gap, text);
        return;
    }
    // On screen and paper it waits for the lines, to take a place beside the bar that they
    // leave free: under it, right of it, over the upright, inside the corner, best first.
    const double tw = p_.textWidth(text), th = p_.textHeight(), step = std::max(1.5 * th, g / 16);
    std::vector<QPointF> places;
    for (int k = 0; k < 4; ++k) places.emplace_back(xs + k * th, B + gap);
    for (int k = 0; k < 12; ++k)
        for (double y = B - th; y > B - g; y -= step) places.emplace_back(xs + g + 2 * gap + k * th / 2, y);
    for (int k = 0; k < 4; ++k) places.emplace_back(xs + k * th, B - g - gap - th - tick);
    for (double y = B - th - gap; y > B - g + th; y -= step) {
        places.emplace_back(xs + 2 * gap, y);
        places.emplace_back(xs + g - tw - gap, y);
    }
    measureText_ = PendingText{text, fontSize, std::move(places), QRectF(QPointF(xs, B - g), QPointF(xs + g, B))};
}

void PlanarConstruction::traceTemporalHours() {
    if (std::abs(s_.latitude) > 66) {
        ReportLinesImpossibleAtLatitude(TextId::TemporalHoursSpaced, s_.language, d_);
        return;
    }
    p_.setPenRole(kTemporal);
    listSection(PlanarPlotExtras::Section::TemporalHours);
    const int year = s_.referenceYear;
    const double phi = s_.latitude;
    const int t1 = std::max(0, s_.temporalFrom);
    const int t2 = std::clamp(s_.temporalTo, 0, 12);
    const int k = std::clamp(s_.temporalInterval + 1, 1, 4);
    const int solstice = DayOfYear(year, 6, 21);
    const bool umbrella = c_.umbrella;
    for (int n = t1; n <= t2; ++n) {
        for (int j = 0; j < k; ++j) {
            const double N = n + static_cast<double>(j) / k;
            if (N > t2 + 1e-9) break;
            listCurve(N);
            ShadowCurve curve(p_, area_);
            int day = solstice - (umbrella ? 5 : 15);
            while (true) {
                const double decl = c_.ephemeris().noonDeclination(day);
                double cd = CosDeg(decl);
                if (std::abs(cd) < 1e-12) cd = SignNonZero(cd) * 1e-12;
                const double x = -SinDeg(phi) * SinDeg(decl) / (CosDeg(phi) * cd);
                const double H0 = x == 0.0 ? 90.0 : AcosDeg(std::clamp(x, -1.0, 1.0));
                const double I = H0 / 6.0 / 15.0;  // one temporal hour, in hours
                const double T = 12.0 - (6.0 - N) * I;
                // Temporal hours count from the site's own sunrise: true local time.
                const ShadowSample sample = shadowAt(day, T, false, s_.zoneMeridian);
                curve.add(sample);
                listPoint(sample);
                if (day >= 356) break;
                const int step = umbrella ? 5 : ((day < solstice || day > 340) ? 15 : 10);
                day = std::min(day + step, 356);
            }
            keepStrokes(curve);
            if (j == 0 && numerals()) addNumeral(curve.strokes(), HourNumeral(n, s_.numeralStyle, false), kTemporal);
        }
    }
}

void PlanarConstruction::traceBabylonianItalian() {
    ForBabylonianItalianHours(c_, d_, [this](bool italian) { traceBabylonianOrItalian(italian); });
}

void PlanarConstruction::traceBabylonianOrItalian(bool italian) {
    const int year = s_.referenceYear;
    // Rise and set in the time of the chosen reference, so that a line's hour 0 lies on the horizon.
    const auto table = MeanRiseSetSummerToWinter(year, lambdaRef_, s_.latitude, s_.zoneMeridian);
    const int from = std::clamp(italian ? s_.italianFrom : s_.babylonianFrom, 0, 24);
    const int to = std::clamp(italian ? s_.italianTo : s_.babylonianTo, 0, 24);
    const int k = std::clamp((italian ? s_.italianInterval : s_.babylonianInterval) + 1, 1, 4);
    const int fullRole = italian ? kItalian : kBabylonian;
    struct Label {
        QPointF at;
        QString text;
    };
    std::vector<Label> labels;
    listSection(italian ? PlanarPlotExtras::Section::ItalianHours : PlanarPlotExtras::Section::BabylonianHours);
    for (int n = from; n <= to; ++n) {
        for (int j = 0; j < k; ++j) {
            const double v = n + static_cast<double>(j) / k;
            if (v > to + 1e-9) break;
            p_.setPenRole(j == 0 ? fullRole : kSubdivision);
            listCurve(v);
            ShadowCurve curve(p_, area_);
            for (size_t e = 2; e < table.size(); ++e) {  // from 21 June to 21 December
                const FixedDayRiseSet& day = table[e];
                const bool both = day.rise < day.set && day.rise > 0;
                const double T = italian ? day.set - (24.0 - v) : day.rise + v;
                if (!both || T < day.rise || T > day.set) {
                    curve.interrupt();
                    continue;
                }
                const ShadowSample s = shadowAt(DayOfYear(year, day.month, day.day), T, false);
                curve.add(s);
                listPoint(s);
                if (!numerals() && j == 0 && n % 2 == 0 && day.month == 9 && day.day == 21 && s.visible)
                    labels.push_back({{s.x, s.y}, RoundToIntText(n)});
            }
            keepStrokes(curve);
            if (j == 0 && numerals()) addNumeral(curve.strokes(), HourNumeral(n, s_.numeralStyle, false), fullRole);
        }
    }
    p_.setTextRole(fullRole);
    const double th = p_.textHeight();
    for (const Label& l : labels)
        p_.text(l.at.x(), l.at.y() + (italian ? 0.1 * th : -1.1 * th), l.text);
    p_.setTextRole(kText);
}

QRectF PlanarConstruction::labelSheet() const {
    // The screen's white border covers the outer 30 pixels; paper and plot keep a millimetre.
    if (screen()) return QRectF(QPointF(ox_ + 32, oy_ + 32), QPointF(ox_ + w_ - 2, oy_ + h_ - 2));
    const double m = unitsPerMm_;
    return QRectF(QPointF(ox_ + m, oy_ + m), QPointF(ox_ + w_ - m, oy_ + h_ - m));
}

void PlanarConstruction::writeNumerals() {
    const QRectF sheet = labelSheet();
    // One placer for the measure's text and the numbers, which keep off it and off the L.
    std::optional<LabelPlacer> placer;
    if (sheet.isValid()) {
        placer.emplace(sheet);
        for (const QRectF& box : reserved_) placer->avoidBox(box);
        for (const QLineF& line : strokes_) placer->avoidLine(line);
    }
    if (measureText_) {
        p_.setFont(QStringLiteral("Arial"), measureText_->fontSize);
        p_.setTextRole(kText);
        QPointF at = measureText_->candidates.front();
        if (placer) {
            const QSizeF size(p_.textWidth(measureText_->text), p_.textHeight());
            if (const std::optional<QRectF> box = placer->place(size, measureText_->candidates)) at = box->topLeft();
            // A sign inside the L reads as part of the scale: numbers keep out of the whole corner.
            placer->avoidBox(measureText_->keepClear);
        }
        p_.text(at.x(), at.y(), measureText_->text);
        measureText_.reset();
    }
    if (numerals_.empty() || !placer) return;
    // However large the preference, a number stays a small part of the sheet.
    const double height =
        std::min(UsableNumeralHeightMm(s_.numeralHeightMm) * unitsPerMm_, std::min(sheet.width(), sheet.height()) / 8);
    const QPointF foot(plane_.x0, plane_.y0);
    // Hour numbers first: where space is short, the date and altitude labels give way.
    const auto rank = [](int role) {
        switch (role) {
        case kApparentHours: return 0;
        case kText: return 1;
        case kTemporal: return 2;
        case kItalian:
        case kBabylonian: return 3;
        case kHorizon: return 4;
        default: return 5;
        }
    };
    std::stable_sort(numerals_.begin(), numerals_.end(),
                     [&](const PendingNumeral& a, const PendingNumeral& b) { return rank(a.role) < rank(b.role); });
    for (const PendingNumeral& n : numerals_) {
        const std::optional<LineEnd> end = n.end == NumeralEnd::Outer ? FarthestEnd(n.strokes, foot)
                                                                     : SideEnd(n.strokes, n.end == NumeralEnd::Right);
        if (!end) continue;
        p_.setFont(QStringLiteral("Arial"), height);
        p_.setTextKind(n.zodiac ? TextKind::ZodiacSigns : TextKind::Plain);
        p_.setTextRole(n.role);
        const QSizeF size(p_.textWidth(n.text), p_.textHeight());
        if (const std::optional<QRectF> box = placer->placeApart(size, NumeralCandidates(*end, size, 0.3 * height)))
            p_.text(box->left(), box->top(), n.text);
        if (n.zodiac) p_.setTextKind(TextKind::Plain);
    }
    p_.setFont(QStringLiteral("Arial"), screen() ? 16 : 4 * unitsPerMm_);
    p_.setTextRole(kText);
}

ShadowSample PlanarConstruction::shadowOfDirection(double altitude, double azimuth) const {
    if (c_.kind != DialKind::Inclined || c_.umbrella) return shadow(altitude, azimuth);
    const EquatorialPosition eq = EquatorialFromHorizontal(s_.latitude, altitude, azimuth);
    const HorizontalPosition hp =
        HorizontalFromHourAngle(eq.hourAngle + 15.0 * plane_.hourShift, eq.declination, plane_.effectiveLatitude);
    return shadow(hp.altitude, hp.azimuth);
}

void PlanarConstruction::traceAltitudeLines() {
    p_.setPenRole(kHorizon);
    listSection(PlanarPlotExtras::Section::AltitudeLines);
    const int perTen = std::array{1, 2, 4}[static_cast<size_t>(std::clamp(s_.altitudeInterval, 0, 2))];
    const double phi = std::abs(s_.latitude);
    const bool south = s_.latitude < 0;
    const double sinEps = SinDeg(obliquity_);
    const int from = s_.altitudeFrom, to = s_.altitudeTo;
    for (int n = from / 10; n <= to / 10; ++n) {
        for (int j = 0; j < perTen; ++j) {
            const double h = (n + static_cast<double>(j) / perTen) * 10.0;
            if (h > to + 1e-9) break;
            if (h < from - 1e-9 || h <= 0 || h >= 90) continue;
            // Azimuths (from the equator side) at which the sun stands at h between the solstices.
            double lo = 0, hi = 180;
            const double den = CosDeg(phi) * CosDeg(h);
            if (den < 1e-9) {
                if (h > obliquity_) continue;
            } else {
                const double c1 = (SinDeg(phi) * SinDeg(h) + sinEps) / den;  // winter solstice
                const double c2 = (SinDeg(phi) * SinDeg(h) - sinEps) / den;  // summer solstice
                if (c1 < -1 || c2 > 1) continue;
                lo = c1 >= 1 ? 0.0 : AcosDeg(c1);
                hi = c2 <= -1 ? 180.0 : AcosDeg(c2);
            }
            for (double side : {-1.0, 1.0}) {
                listCurve(h);
                ShadowCurve curve(p_, area_);
                const int steps = std::max(1, static_cast<int>(std::ceil((hi - lo) / 2.0 - 1e-9)));
                for (int k = 0; k <= steps; ++k) {
                    const double az = std::min(lo + 2.0 * k, hi);
                    const double A = side * (south ? 180.0 - az : az);
                    const ShadowSample sample = shadowOfDirection(h, A);
                    curve.add(sample);
                    listPoint(sample);
                }
                keepStrokes(curve);
                if (j == 0 && numerals())
                    addNumeral(curve.strokes(), RoundToIntText(h) + QChar(0x00B0), kHorizon);
            }
        }
    }
}

void PlanarConstruction::traceHourLines(int firstDay, bool mean, int firstHour, int lastHour, bool analemma) {
    const int k = LinesPerHour(mean ? s_.eotHourInterval : s_.hourLineInterval);
    const int h1 = std::clamp(firstHour, 0, 24), h2 = std::clamp(lastHour, 0, 24);
    const bool toStyleFoot = !mean && s_.linesToStyleFoot && !c_.umbrella;
    const QPointF foot = styleFoot();
    const int yearLength = DayOfYear(s_.referenceYear, 12, 31);
    listSection(analemma ? PlanarPlotExtras::Section::Analemma
                         : mean ? PlanarPlotExtras::Section::MeanTime : PlanarPlotExtras::Section::ApparentTime);
    for (int h = h1; h <= h2; ++h) {
        for (int j = 0; j < k; ++j) {
            const double T = h + static_cast<double>(j) / k;
            if (T > h2 + 1e-9) break;
            p_.setPenRole(j == 0 ? (mean ? kText : kApparentHours) : (mean ? kMeanSubdivision : kSubdivision));
            listCurve(T);
            ShadowCurve curve(p_, area_);
            QPointF farthest;
            double farthestDistance = -1;
            for (int day = firstDay; day < 366; day = day == firstDay ? firstDay + 5 : day + 3) {
                const ShadowSample s = shadowAt(day, T, mean);
                curve.add(s);
                listPoint(s);
                if (toStyleFoot && s.visible) {
                    const double dist = std::hypot(s.x - foot.x(), s.y - foot.y());
                    if (dist > farthestDistance) {
                        farthestDistance = dist;
                        farthest = {s.x, s.y};
                    }
                }
            }
            // A figure-of-eight closes on the next 1 January.
            if (mean) {
                const ShadowSample closing = shadowAt(firstDay + yearLength, T, mean);
                curve.add(closing);
                listPoint(closing);
            }
            if (toStyleFoot) continueToStyleFoot(T, j, curve.anyVisible(), farthest);
            keepStrokes(curve);
            if (j == 0 && !analemma && numerals())
                addNumeral(curve.strokes(), HourNumeral(h, s_.numeralStyle, true), mean ? kText : kApparentHours);
        }
    }
    if (analemma) drawAnalemmaMarks(h1);
}

void PlanarConstruction::continueToStyleFoot(double T, int j, bool anyVisible, QPointF farthest) {
    if (!angles_) return;
    const HourLineAngleTable* table = &*angles_;
    const QPointF foot = styleFoot();
    const double dT = (lambdaRef_ - s_.zoneMeridian) * 4.0 / 60.0;
    const double hourAngle = 15.0 * (T - dT - 12.0);
    const QRectF area(QPointF(area_.xmin, area_.ymin), QPointF(area_.xmax, area_.ymax));
    // Only lines the sun can reach on this plane, and only once the lit range is known.
    if (!table->litRangeKnown || hourAngle < table->firstLitHourAngle || hourAngle > table->lastLitHourAngle) return;
    if (anyVisible) {
        if (std::abs(farthest.x() - ox_) > 2 * w_ || std::abs(farthest.y() - oy_) > 2 * h_) return;
        QPointF a = farthest, b = foot;
        if (!ClipSegment(a, b, area)) return;
        p_.moveTo(a.x(), a.y());
        p_.lineTo(b.x(), b.y());
        return;
    }
    const int hour = static_cast<int>(std::floor(T + 1e-9));
    if (hour < 0 || hour > 24 || j < 0 || j > 5) return;
    const double angle = table->angle[static_cast<size_t>(hour)][static_cast<size_t>(j)];
    if (angle == HourLineAngleTable::kNone) return;
    const double sign = c_.kind == DialKind::Horizontal ? 1.0 : -1.0;
    const double L = 2 * std::max(w_, h_);
    QPointF a = foot, b(foot.x() - SinDeg(angle) * sign * L, foot.y() - CosDeg(angle) * sign * L);
    if (!ClipSegment(a, b, area)) return;
    p_.moveTo(a.x(), a.y());
    p_.lineTo(b.x(), b.y());
}

void PlanarConstruction::drawAnalemmaMarks(int hour) {
    static const std::vector<int> kMarks[5] = {{1}, {1, 15}, {7, 22}, {1, 11, 21}, {1, 8, 15, 22}};
    const std::vector<int>& marks = kMarks[std::clamp(s_.dayMarkings, 0, 4)];
    const double radius = screen() ? 2 : printer() ? 6 : 30;
    for (int month = 1; month <= 12; ++month) {
        for (size_t m = 0; m < marks.size(); ++m) {
            const ShadowSample s = shadowAt(DayOfYear(s_.referenceYear, month, marks[m]), hour, true);
            if (!s.visible) continue;
            if (m == 0) {
                p_.setPenRole(kMeanSubdivision);
                p_.circle(s.x, s.y, radius, FillStyle::Solid, colour::kRed);
            } else {
                p_.setPenRole(kText);
                p_.circle(s.x, s.y, radius, FillStyle::None, 0);
            }
        }
    }
}

void PlanarConstruction::drawStyleFoot() {
    if (plot()) {
        r_.plot->styleFoot(plane_);
        return;
    }
    const bool walls = c_.kind == DialKind::Vertical || c_.kind == DialKind::Inclined;
    if (walls && c_.umbrella) return;
    const Offset o = LimitOffset(StyleFootPoint(plane_));
    const double x0 = plane_.x0, y0 = plane_.y0, g = plane_.g;
    const QPointF S(x0 + o.dx, y0 - o.dy);
    if (s_.drawPoleTriangle) {
        p_.setPenColour(colour::kBlack, kDateLines);
        p_.rectangle(ox_, oy_, ox_ + w_, oy_ + h_);
        double f = std::hypot(o.dx, o.dy);
        if (f < 1e-9) return;
        if ((o.dx >= 0 && o.dy > 0) || (s_.latitude < 0 && o.dx >= 0 && o.dy < 0)) f = -f;
        // The nodus folded into the plane: the angle at S is the style's angle with the plane.
        const QPointF P(x0 + g * o.dy / f, y0 + g * o.dx / f);
        const QPolygonF triangle = QPolygonF({{x0, y0}, S, P}).intersected(
            QPolygonF(QRectF(QPointF(ox_, oy_), QPointF(ox_ + w_, oy_ + h_))));
        std::vector<QPointF> corners(triangle.begin(), triangle.end());
        if (corners.size() > 1 && corners.front() == corners.back()) corners.pop_back();
        p_.polygon(corners, FillStyle::DiagonalHatch, colour::kGrey);
        p_.setPenColour(colour::kNavy, kText);
        clippedLine({x0, y0}, S);
        p_.setFont(QStringLiteral("Arial"), screen() ? 16 : 40, true);
        p_.setTextColour(colour::kRed, kApparentHours);
        p_.text(S.x(), S.y() - 15 * Sign(o.dy), QStringLiteral("S"));
        p_.text(P.x() + 10, P.y() + 5 * Sign(o.dy), QStringLiteral("P"));
        p_.setFont(QStringLiteral("Arial"), screen() ? 16 : 40, false);
        p_.setTextRole(kText);
        return;
    }
    if (!walls) return;
    if (std::abs(o.dx) > 200000 || std::abs(o.dy) > 200000) return;
    p_.setPenRole(kText);
    clippedLine({x0, y0}, S, true);
    if (!area_.contains(S.x(), S.y())) return;
    p_.setTextRole(kText);
    p_.text(S.x() + 7, S.y() + 4, QStringLiteral("S"));
    p_.circle(S.x(), S.y(), 4, FillStyle::None, 0);
    p_.moveTo(S.x() - 6, S.y());
    p_.lineTo(S.x() + 6, S.y());
    p_.moveTo(S.x(), S.y() - 6);
    p_.lineTo(S.x(), S.y() + 6);
}

void PlanarConstruction::clippedLine(QPointF a, QPointF b, bool belowHorizon) {
    const double top = belowHorizon ? area_.ymin : oy_;
    if (!ClipSegment(a, b, QRectF(QPointF(ox_, top), QPointF(ox_ + w_, oy_ + h_)))) return;
    p_.moveTo(a.x(), a.y());
    p_.lineTo(b.x(), b.y());
}

CastShadow PlanarConstruction::castShadow(const ShadowMoment& moment) {
    setUpFrame();
    if (w_ < 2 || h_ < 2) return {};
    const bool umbrellaBlocked = c_.kind == DialKind::Inclined && c_.umbrella &&
                                 CheckInclinedUmbrella(s_.umbrellaCircleRatio, s_.planeInclination) ==
                                     UmbrellaProblem::PlaneIntoDisc;
    if (umbrellaBlocked) return {};
    setUpPlane();
    CastShadow out = SunlitShadow(c_, moment, QRectF(ox_, oy_, w_, h_));
    if (out.status == ShadowStatus::SunDown) return out;
    // The true sun at that clock time, in the frame the lines are traced in.
    const SunEphemeris other(moment.year, s_.zoneMeridian);
    const SunEphemeris& ephemeris = moment.year == c_.year ? c_.ephemeris() : other;
    const ShadowSample sample = shadowAt(ephemeris, moment.dayOfYear(), moment.zoneHour, true, s_.longitude);
    if (!sample.frontLit) {
        out.status = ShadowStatus::PlaneNotLit;
        return out;
    }
    out.status = ShadowStatus::Cast;
    const QPointF tip(sample.x, sample.y);
    out.nodus = tip;
    // The rod from its foot, and the polar style from where it meets the plane: both shadows
    // end at the nodus.
    out.gnomon.push_back({QPointF(plane_.x0, plane_.y0), tip});
    if (!c_.umbrella) out.gnomon.push_back({styleFoot(), tip});
    return out;
}

void PlanarConstruction::drawFinalFrame() {
    // The plot's head has framed the sheet already.
    if (plot()) return;
    const double border = screen() ? 30 : 0;
    if (screen())
        DrawBorderFrame(p_, ox_, oy_, w_ + border, h_ + border, border);
    else
        DrawBorderFrame(p_, ox_, oy_, w_, h_, 0);
    if (sunlitPeriod_.isEmpty()) return;
    p_.setFont(QStringLiteral("Arial"), screen() ? 16 : 40, true);
    p_.setTextColour(colour::kMaroon, kText);
    if (screen())
        p_.text(ox_ + border, oy_ + h_ + border / 2 - p_.textHeight() / 2, sunlitText());
    else
        p_.text(sunlitAt_.x(), sunlitAt_.y(), sunlitText());
}

}  // namespace

QString HourNumeral(int hour, NumeralStyle style, bool clockHour) {
    if (style != NumeralStyle::Roman) return QString::number(hour);
    // Midnight is the twenty-fourth hour of a clock; Roman numerals know no zero.
    int n = clockHour && hour == 0 ? 24 : hour;
    if (n <= 0 || n >= 4000) return QString::number(hour);
    static const std::pair<int, const char*> kDigits[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"},
                                                          {100, "C"},  {90, "XC"},  {50, "L"},  {40, "XL"},
                                                          {10, "X"},   {9, "IX"},   {5, "V"},   {4, "IV"},
                                                          {1, "I"}};
    QString text;
    for (const auto& [value, digits] : kDigits)
        while (n >= value) {
            text += QLatin1String(digits);
            n -= value;
        }
    return text;
}

QString DateLineNumeral(const QString& label) {
    // " 7.07." reads "7.7." on a dial.
    const QStringList parts = label.trimmed().split(QLatin1Char('.'), Qt::SkipEmptyParts);
    bool dayOk = false, monthOk = false;
    const int day = parts.size() >= 2 ? parts[0].trimmed().toInt(&dayOk) : 0;
    const int month = parts.size() >= 2 ? parts[1].trimmed().toInt(&monthOk) : 0;
    if (!dayOk || !monthOk) return label.trimmed();
    return QStringLiteral("%1.%2.").arg(day).arg(month);
}

UmbrellaProblem CheckInclinedUmbrella(double R, double inclination) {
    if (R == 0.0) return UmbrellaProblem::NoDisc;
    if (inclination >= 90.0 || TanDeg(inclination) >= 1.0 / std::abs(R)) return UmbrellaProblem::PlaneIntoDisc;
    return UmbrellaProblem::None;
}

int LinesPerHour(char digit) {
    if (digit >= '0' && digit <= '3') return digit - '0' + 1;
    if (digit >= '4' && digit <= '6') return 6;
    return 1;
}

DialResult DrawPlanarDial(const DialContext& context, const DialRequest& request, DialPainter& painter,
                          UserDialogs& dialogs) {
    const DialState& state = context.state;
    const ScaledGnomon scaled = ScaleGnomon(state.gnomonLength, state.zoomFactor);
    PlanarConstruction construction(context, request, scaled.gnomonMm, painter, dialogs);
    DialResult result;
    result.zoomFactor = scaled.zoom;
    result.gnomonMm = scaled.gnomonMm;
    result.drawn = construction.run();
    return result;
}

CastShadow PlanarShadow(const DialContext& context, const DialRequest& request, const ShadowMoment& moment,
                        DialPainter& measure) {
    const ScaledGnomon scaled = ScaleGnomon(context.state.gnomonLength, context.state.zoomFactor);
    RecordingDialogs quiet;
    return PlanarConstruction(context, request, scaled.gnomonMm, measure, quiet).castShadow(moment);
}

void DrawBorderFrame(DialPainter& p, double ox, double oy, double a, double h, double b) {
    if (b > 0) {
        p.fillRect(ox, oy, ox + a, oy + b, colour::kWhite);
        p.fillRect(ox, oy + h - b, ox + a, oy + h, colour::kWhite);
        p.fillRect(ox, oy, ox + b, oy + h, colour::kWhite);
        p.fillRect(ox + a - b, oy, ox + a, oy + h, colour::kWhite);
    }
    p.setPenWidth(1);
    p.setPenColour(colour::kSilver, 8);
    p.rectangle(ox + b, oy + b, ox + a - b, oy + h - b);
    p.rectangle(ox, oy, ox + a - 1, oy + h - 1);
}

PlanarLegend PlanarLegendTexts(const DialState& s) {
    PlanarLegend l;
    const char t = s.dialType;
    const bool umbrella = s.umbrellaDial;
    if (t == 'v')
        l.title = umbrella ? TextOf(TextId::VerticalUmbrellaTitle, s.language)
                           : TextOf(TextId::VerticalTitle, s.language);
    else if (t == 'i' && umbrella)
        l.title = TextOf(TextId::InclinedUmbrellaTitle, s.language);
    else if (umbrella)
        l.title = TextOf(TextId::HorizontalUmbrellaTitle, s.language);
    else if (t == 'i' && s.planeInclination != 0.0)
        l.title = TextOf(TextId::InclinedTitle, s.language);
    else
        l.title = TextOf(TextId::HorizontalTitle, s.language);

    const QString deg = TextOf(TextId::DegreesSpaced, s.language);
    l.position = TextOf(TextId::LatitudeIs, s.language) + RealToText(6, 2, s.latitude) + deg +
                 TextOf(TextId::LongitudeIs, s.language) + RealToText(6, 2, s.longitude) + deg;

    const QString incl = TextOf(TextId::InclinationIs, s.language) + RealToText(6, 2, s.planeInclination) + deg;
    const QString decl = TextOf(TextId::DeviationIs, s.language) + RealToText(6, 2, s.wallDeclination) + deg;
    const double R = s.umbrellaCircleRatio;
    if (t == 'i' && umbrella)
        l.orientation = incl + QStringLiteral("; ") + decl + QStringLiteral("; r = ") + RealToText(5, 2, R) +
                        QStringLiteral(" x h");
    else if (t == 'i')
        l.orientation = decl + QStringLiteral(";  ") + incl;
    else if (t == 'v' && umbrella)
        l.orientation = decl + QStringLiteral("; Radius r = ") + RealToText(5, 3, R) + QStringLiteral(" x h");
    else if (t == 'v')
        l.orientation = decl;
    else if (umbrella)
        l.orientation = TextOf(TextId::DiskRadius, s.language) + RealToText(5, 2, R) +
                        TextOf(TextId::TimesHeight, s.language);
    return l;
}

}  // namespace zorva
