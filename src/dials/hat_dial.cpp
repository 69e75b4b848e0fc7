#include "dials/hat_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "astro/sun_position.h"
#include "dials/altitude_dial_common.h"
#include "dials/dial_painter.h"
#include "dials/label_placer.h"
#include "dials/plot_painter.h"
#include "plot/plot_stream.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QRectF>

#include <algorithm>
#include <cmath>

namespace zorva {

double HatAzimuthPosition(double az, double latitude) {
    if (latitude >= 0) return -az;
    return az >= 0 ? 180.0 - az : -az - 180.0;
}

int HatAzimuthLabel(int x, double latitude) {
    if (latitude >= 0) return -x;
    return x >= 0 ? 180 - x : -x - 180;
}

namespace {

constexpr Rgb kPurple = 0x800080;
constexpr Rgb kAltitudeBand = 0xF5F5CB;
// The longest azimuth scale (the cylinder's circumference) a page or the plot sheet takes.
constexpr double kLongestScale = 300.0;

// Colour roles of the hat dial.
enum Role {
    kFrame = 0,
    kMeanTime = 1,
    kTrueTime = 2,
    kText = 3,
    kTrueSubdivision = 4,
    kItalian = 4,
    kMeanSubdivision = 5,
    kBabylonian = 5,
    kBabylonianItalianSubdivision = 6,
    kAltitude = 7,
    kTemporalSubdivision = 8,
    kTemporal = 9,
};

// Zodiac signs of the date lines 1..7 (winter solstice .. summer solstice), text style.
QString ZodiacSign(int index) {
    static constexpr char16_t kSigns[8] = {0, 0x2651, 0x2652, 0x2653, 0x2648, 0x2649, 0x264A, 0x264B};
    return QString(QChar(kSigns[std::clamp(index, 1, 7)])) + QChar(0xFE0E);
}


class HatDial : public AltitudeDialParts {
public:
    using AltitudeDialParts::AltitudeDialParts;
    // The gnomon at the cylinder's top points to the sun: its shadow runs down the column of
    // the sun's azimuth, L tan(altitude) long.
    CastShadow castShadow(const ShadowMoment& moment);

private:
    struct Label {
        double x, y;  // x: the sample's column; the label goes outward from it
        int side;     // +1 right of the sample, -1 left of it
        QString text;
        int role;
    };
    struct Sample {
        double x = 0, y = 0;  // azimuth column and shadow length below the top row
        double altitude = 0;
        double position = 0;  // azimuth scale position, degrees
    };

    void setUp() override;
    void drawRefusal() override;
    void draw() override;
    void drawFrame();
    void drawAltitudeScale();
    void drawAzimuthScale();
    void traceHourLines(int first, int last, bool eot, bool temporal, bool local, int k);
    void traceDateLines();
    // The font of the scales and the lines' numbers.
    double lineFontSize() const { return a_.size(14, 30); }
    void traceBabylonianItalian(bool italian);
    void drawLabels(std::vector<Label> labels);
    void drawLegend(bool clockDrawn, bool eotDrawn, bool temporalDrawn);
    void drawGnomonMeasure();

    Sample sample(const HorizontalPosition& sun) const {
        Sample out;
        out.altitude = sun.altitude;
        out.position = HatAzimuthPosition(sun.azimuth, s_.latitude);
        out.x = X_ + std::round(out.position * da_);
        out.y = ShadowDownTheWall(L_, sun.altitude);
        return out;
    }
    bool valid(const Sample& p) const { return p.altitude > 0 && p.y < D_; }
    // Joins the samples of one curve. Where the sun passes the back of the cylinder (the
    // scale's ends at +-180 degrees) the curve leaves one end and comes in at the other: no
    // stroke across the dial.
    struct Curve {
        BandCurve band;
        bool has = false;
        double lastPosition = 0;
        void add(const Sample& p) {
            if (has && std::abs(p.position - lastPosition) > 180.0) band.interrupt();
            band.add(p.x, p.y);
            has = true;
            lastPosition = p.position;
        }
        void interrupt() { band.interrupt(); }
    };
    Curve curve() { return Curve{BandCurve(p_, T_, D_)}; }
    double left() const { return std::round(X_ - 183 * da_); }
    double right() const { return std::round(X_ + 183 * da_); }
    std::vector<int> sampleDays() const;
    HorizontalPosition temporalSun(int day, double temporalHour);
    HorizontalPosition clockSun(int day, double hour, double meridian, bool eot);

    int june21_ = 172;
    double S_ = 0;  // scale length (circumference), mm
    bool reduced_ = false;
    bool eotLines_ = false;
    double L_ = 0, da_ = 0, D_ = 0, T_ = 0, Bt_ = 0, X_ = 0;
};

void HatDial::draw() {
    if (reduced_)
        d_.inform(caption(CaptionKind::Problem, s_.language),
                  TextOf(TextId::CylinderRadiusReduced, s_.language),
                  Icon::Warning);
    drawFrame();
    p_.setFont(QStringLiteral("Arial"), lineFontSize());
    if (s_.altitudeLines) drawAltitudeScale();
    drawAzimuthScale();
    p_.setPenWidth(c_.lineWidth);
    bool temporalDrawn = false, clockDrawn = false;
    if (s_.temporalHours) {
        const HourRange t = temporalHourRange();
        traceHourLines(t.first, t.last, false, true, true, t.perHour);
        temporalDrawn = true;
    }
    const bool local = c_.timeSystem != TimeSystem::Zone;
    const int first = std::clamp(s_.otherHourFrom, 0, 24), last = std::clamp(s_.otherHourTo, 0, 24);
    const int k = LinesPerHour(s_.otherHourInterval);
    if (s_.apparentTimeLines && !eotLines_) {
        traceHourLines(first, last, false, false, local, k);
        clockDrawn = true;
    }
    if (eotLines_) {
        traceHourLines(first, last, true, false, local, k);
        clockDrawn = true;
    }
    p_.setPenWidth(c_.lineWidth);
    traceDateLines();
    if (s_.expertMode) ForBabylonianItalianHours(c_, d_, [this](bool italian) { traceBabylonianItalian(italian); });
    p_.setPenWidth(1);
    drawLegend(clockDrawn, eotLines_, temporalDrawn);
    drawGnomonMeasure();
}

CastShadow HatDial::castShadow(const ShadowMoment& moment) {
    setUp();
    CastShadow out = sunOverSheet(moment);
    if (out.status != ShadowStatus::OffDial) return out;
    HorizontalPosition sun;
    sun.altitude = out.sun.altitude;
    sun.azimuth = out.sun.azimuth;
    const Sample p = sample(sun);
    if (!valid(p) || p.x < left() || p.x > right()) return out;
    out.status = ShadowStatus::Cast;
    out.nodus = QPointF(p.x, T_ + p.y);
    out.gnomon.push_back({QPointF(p.x, T_), *out.nodus});
    return out;
}

void HatDial::setUp() {
    const double W = a_.W, H = a_.H;
    b_ = s_.shepherdGnomon * s_.zoomFactor;
    S_ = std::max(0, s_.monthScaleLength);
    reduced_ = S_ > kLongestScale;
    if (reduced_) S_ = kLongestScale;
    // Mean-time lines are figures of eight: they need the whole year.
    eotLines_ = s_.apparentTimeLines && s_.cylinderWithEoT;
    axis_ = DateAxisOf(s_.referenceYear, eotLines_);
    june21_ = DayOfYear(s_.referenceYear, 6, 21);
    if (a_.screen()) {
        // The screen shows a sheet 305 mm wide, or as high as a landscape page.
        const double unit = W > 1.414 * H ? H * 1.42 / 305 : W / 305;
        L_ = std::round(b_ * unit);
        // 360 degrees of azimuth wrap once round the cylinder's circumference S.
        da_ = S_ * unit / 360;
    } else {
        const double perMm = a_.printer() ? 10.0 : kPlotUnitsPerMm;
        L_ = perMm * b_;
        da_ = perMm * S_ / 360;
    }
    D_ = HighestSunShadow(L_, s_.latitude);
    T_ = (0.9 * H > D_ ? H / 12 : H / 20) + a_.oy;
    // Room above the scale for the azimuth labels (and the note of a reduced scale when the
    // altitude band takes the right margin), below it for the legend.
    const QString arial = QStringLiteral("Arial");
    p_.setFont(arial, a_.size(14, 30));
    double above = 1.3 * p_.textHeight();
    if (reduced_ && s_.altitudeLines) above += 1.2 * 0.8 * a_.size(16, 35);
    p_.setFont(arial, legendFontHeight());
    const double legend = 2.3 * p_.textHeight();
    T_ = std::max(T_, a_.oy + above);
    Bt_ = std::round(T_ + D_);
    const double lowest = std::min(a_.oy + 0.93 * H, a_.oy + H - legend);
    if (Bt_ > lowest) {
        Bt_ = std::round(lowest);
        D_ = Bt_ - T_;
    }
    // The scale is shifted four degrees left of the middle, leaving room for the altitude
    // band on its right; its left end never leaves the frame.
    X_ = std::round(W / 2 - 4 * da_ + a_.ox);
    X_ = std::max(X_, a_.ox + 2 + std::ceil(183 * da_));
    labels_ = LabelPlacer(QRectF(a_.ox, a_.oy, W, a_.H));
}

std::vector<int> HatDial::sampleDays() const {
    // From three days before the first day, so that a whole-year line closes its loop.
    std::vector<int> days;
    for (int d = axis_.first - 3; d < axis_.last; d += 3) days.push_back(d);
    days.push_back(axis_.last);
    return days;
}

HorizontalPosition HatDial::clockSun(int day, double hour, double meridian, bool eot) {
    // At the instant SunPosition takes for this zone time.
    const SunEphemeris& ephemeris = c_.ephemeris();
    const DeclinationEoT e = ephemeris.at(day, ephemeris.zoneFraction(hour));
    double t = 15 * (hour - 12) - (meridian - c_.zoneMeridian);
    if (eot) t += e.eot;
    return HorizontalFromHourAngle(t, e.declination, c_.latitude);
}

HorizontalPosition HatDial::temporalSun(int day, double N) {
    const double decl = c_.ephemeris().noonDeclination(day);
    double cd = CosDeg(decl), cp = CosDeg(c_.latitude);
    if (std::abs(cd) < 1e-12) cd = SignNonZero(cd) * 1e-12;
    if (std::abs(cp) < 1e-12) cp = SignNonZero(cp) * 1e-12;
    const double x = -SinDeg(c_.latitude) * SinDeg(decl) / (cp * cd);
    const double H0 = x == 0.0 ? 90.0 : AcosDeg(std::clamp(x, -1.0, 1.0));
    // Temporal hour N: hour angle -H0 at sunrise, 0 at noon (N = 6), +H0 at sunset.
    return HorizontalFromHourAngle((N - 6.0) * H0 / 6.0, decl, c_.latitude);
}

void HatDial::drawRefusal() {
    DrawPolarRefusal(p_, s_, a_, QStringLiteral("Times New Roman"), 10, 6, TextId::CylinderTitle, kText);
}

void HatDial::drawFrame() {
    const double W = a_.W, H = a_.H, ox = a_.ox, oy = a_.oy;
    const QString arial = QStringLiteral("Arial");
    p_.setPenWidth(1);
    p_.setPenRole(kFrame);
    p_.setFont(arial, a_.size(16, 35));
    p_.setTextRole(kText);
    p_.rectangle(ox, oy, ox + W - 2, oy + H - 2);
    p_.rectangle(left(), T_, right(), Bt_);
    if (reduced_) {
        const double th = p_.textHeight();
        p_.setFont(arial, 0.8 * th);
        p_.setTextColour(colour::kRed, kTrueTime);
        const QString note = TextOf(TextId::MonthAxisReduced, s_.language);
        if (s_.altitudeLines) {
            // The right margin holds the altitude band: the note goes above the azimuth
            // labels, ending with the scale.
            p_.setFont(arial, a_.size(14, 30));
            const double labels = p_.textHeight();
            p_.setFont(arial, 0.8 * th);
            p_.text(right() - p_.textWidth(note), std::max(oy + 2, T_ - 1.2 * labels - 1.1 * p_.textHeight()), note);
        } else {
            p_.text(ox + W - th, oy + H / 10, note, TextAnchor::TopLeft, -90.0);
        }
        p_.setFont(arial, a_.size(16, 35));
        p_.setTextRole(kText);
    }
}

void HatDial::drawAltitudeScale() {
    p_.setFont(QStringLiteral("Arial"), a_.size(12, 27));
    const double th = p_.textHeight();
    const double bandLeft = right(), bandRight = bandLeft + 2 * th;
    p_.fillRect(bandLeft, T_, bandRight, Bt_, kAltitudeBand);
    p_.setPenRole(kAltitude);
    p_.rectangle(bandLeft, T_, bandRight, Bt_);
    p_.setTextRole(kText);
    for (int n = 1; n <= 88; ++n) {
        const double c = CosDeg(n);
        const double y = L_ * SinDeg(n) / c;
        if (y >= D_) break;
        const double row = T_ + y;
        p_.moveTo(n % 5 == 0 ? left() : bandLeft, row);
        p_.lineTo(bandRight, row);
        if (n % 5 == 0) p_.text(bandRight + 0.3 * th, row - th / 2, QString::number(n) + QStringLiteral(" °"));
    }
    p_.setFont(QStringLiteral("Arial"), lineFontSize());
}

void HatDial::drawAzimuthScale() {
    p_.setPenRole(kFrame);
    p_.setTextRole(kText);
    const double th = p_.textHeight();
    for (int i = -18; i <= 18; ++i) {
        const double x = X_ + std::round(10 * i * da_);
        p_.moveTo(x, T_);
        p_.lineTo(x, Bt_);
        if (i % 2 != 0) continue;
        const QString label = QString::number(HatAzimuthLabel(10 * i, s_.latitude));
        // Centred over its line, so that a cutter reads the azimuth where it is marked.
        p_.text(x - p_.textWidth(label) / 2, T_ - 1.1 * th, label);
    }
}

void HatDial::drawLabels(std::vector<Label> labels) {
    // Labels of lines that start close together step outward until they no longer overlap.
    const double th = p_.textHeight();
    std::sort(labels.begin(), labels.end(), [](const Label& a, const Label& b) { return a.y < b.y; });
    for (Label& l : labels) {
        const double w = p_.textWidth(l.text);
        const double gap = 0.4 * th, step = w + 0.3 * th;
        std::vector<QPointF> places;
        for (int i = 0; i < 8; ++i)
            places.push_back({l.side > 0 ? l.x + gap + i * step : l.x - gap - w - i * step, l.y - th / 2});
        // Then the line's other side, and a line of text lower (a sign may stand beside its end).
        for (int i = 0; i < 4; ++i)
            places.push_back({l.side > 0 ? l.x - gap - w - i * step : l.x + gap + i * step, l.y - th / 2});
        for (int i = 0; i < 4; ++i)
            for (double side : {double(l.side), -double(l.side)})
                places.push_back({side > 0 ? l.x + gap + i * step : l.x - gap - w - i * step, l.y + 0.8 * th});
        p_.setTextRole(l.role);
        labels_.write(p_, l.text, places);
    }
    p_.setTextRole(kText);
}

void HatDial::traceHourLines(int first, int last, bool eot, bool temporal, bool local, int k) {
    const std::vector<int> days = sampleDays();
    // The label goes at the sample nearest to 21 June, where the lines are spread widest.
    int labelDay = days.front();
    for (int d : days)
        if (std::abs(d - june21_) < std::abs(labelDay - june21_)) labelDay = d;
    const double meridian = local ? s_.zoneMeridian : s_.longitude;
    std::vector<Label> labels;
    for (int n = first; n <= last; ++n) {
        for (int j = 0; j < k; ++j) {
            const double v = n + static_cast<double>(j) / k;
            if (v > last + 1e-9) break;
            const bool full = j == 0;
            const int role = temporal ? (full ? kTemporal : kTemporalSubdivision)
                             : eot    ? (full ? kMeanTime : kMeanSubdivision)
                                      : (full ? kTrueTime : kTrueSubdivision);
            p_.setPenRole(role);
            p_.setPenWidth(c_.lineWidth);
            Curve c = curve();
            for (int d : days) {
                HorizontalPosition sun;
                if (temporal) {
                    sun = temporalSun(d, v);
                } else {
                    sun = clockSun(d, v, meridian, eot);
                }
                // The half after 21 June is drawn thicker, so that the two halves of a
                // figure of eight are told apart.
                if (eot && d >= june21_) p_.setPenWidth(c_.lineWidth + 1);
                const Sample p = sample(sun);
                c.add(p);
                if (full && d == labelDay && valid(p) && p.y > 0)
                    labels.push_back({p.x, T_ + p.y, p.position < 0 ? -1 : 1, QString::number(n),
                                      temporal ? kTemporal : kTrueTime});
            }
        }
    }
    drawLabels(labels);
}

void HatDial::traceDateLines() {
    // A text height is a line's height, larger than the font's size: the size is restored
    // from the layout, or each sign would leave the numbers larger.
    const double current = lineFontSize();
    p_.setPenRole(kText);
    for (int index : ZodiacDateLines(s_)) {
        const double decl = c_.zodiacDeclinations()[static_cast<size_t>(index)];
        Curve c = curve();
        for (int t = -180; t <= 180; t += 3) {
            const Sample p = sample(HorizontalFromHourAngle(t, decl, c_.latitude));
            c.add(p);
            // A plotter has no zodiac signs in its character set: the plot leaves them out.
            if (t == 0 && valid(p) && !a_.plot()) {
                // The sign of the line stands at its noon point, left of the noon line: the
                // noon label takes its right (the labels sit on the 21 June line).
                p_.setFont(QStringLiteral("DejaVu Sans"), 1.3 * current);
                p_.setTextRole(kText);
                const double th = p_.textHeight();
                const QString sign = ZodiacSign(index);
                // Clear of the noon line and of the date line it belongs to.
                const double w = p_.textWidth(sign);
                labels_.write(p_, sign,
                              {{p.x - 0.45 * th - w, T_ + p.y - 1.1 * th}, {p.x - 0.45 * th - w, T_ + p.y + 0.1 * th},
                               {p.x - 1.5 * th - w, T_ + p.y - 1.1 * th}});
                p_.setFont(QStringLiteral("Arial"), current);
            }
        }
    }
}

void HatDial::traceBabylonianItalian(bool italian) {
    const int from = std::clamp(italian ? s_.italianFrom : s_.babylonianFrom, 0, 24);
    const int to = std::clamp(italian ? s_.italianTo : s_.babylonianTo, 0, 24);
    const int k = std::clamp((italian ? s_.italianInterval : s_.babylonianInterval) + 1, 1, 4);
    const int fullRole = italian ? kItalian : kBabylonian;
    ClockHours clock;
    clock.local = c_.timeSystem != TimeSystem::Zone;
    clock.eot = false;
    const double meridian = clock.local ? s_.zoneMeridian : s_.longitude;
    const std::vector<int> days = SampleDays(axis_);
    std::vector<Label> labels;
    for (int n = from; n <= to; ++n) {
        for (int j = 0; j < k; ++j) {
            const double v = n + static_cast<double>(j) / k;
            if (v > to + 1e-9) break;
            p_.setPenRole(j == 0 ? fullRole : kBabylonianItalianSubdivision);
            Curve c = curve();
            bool labelled = j != 0;
            for (int d : days) {
                double rise = 0, set = 0;
                if (!sun_.riseAndSet(clock, d, rise, set)) {
                    c.interrupt();
                    continue;
                }
                const double t = italian ? set - (24.0 - v) : rise + v;
                if (t < rise || t > set) {
                    c.interrupt();
                    continue;
                }
                const Sample p = sample(clockSun(d, t, meridian, false));
                c.add(p);
                if (!labelled && valid(p) && p.y > 0) {
                    labels.push_back({p.x, T_ + p.y, p.position < 0 ? -1 : 1, QString::number(n), fullRole});
                    labelled = true;
                }
            }
        }
    }
    drawLabels(labels);
}

void HatDial::drawLegend(bool clockDrawn, bool eotDrawn, bool temporalDrawn) {
    CylinderLegend legend = legendOf(clockDrawn, temporalDrawn);
    legend.subtitle = 15;
    legend.subtitleRow = 1.3;
    legend.eot = eotDrawn;
    DrawCylinderLegend(p_, s_, a_, legend, kText);
}

void HatDial::drawGnomonMeasure() { DrawGnomonBracket(p_, s_, a_, L_, b_, kText); }

}  // namespace

constinit const DialConstruction kHatDial = AltitudeDialConstruction<HatDial>();

}  // namespace zorva
