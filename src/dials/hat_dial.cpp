#include "dials/hat_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/solar_ephemeris.h"
#include "astro/sun_position.h"
#include "dials/altitude_dial_common.h"
#include "dials/dial_painter.h"
#include "dials/plot_painter.h"
#include "plot/plot_stream.h"
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


class HatDial {
public:
    HatDial(const DialState& s, const AltitudeDialArea& area, DialPainter& p, UserDialogs& d)
        : s_(s), a_(area), p_(p), d_(d), sun_(s) {}

    bool run();
    double gnomonMm() const { return b_; }

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

    void setUp();
    void drawRefusal();
    void drawFrame();
    void drawAltitudeScale();
    void drawAzimuthScale();
    void traceHourLines(int first, int last, bool eot, bool temporal, bool local, int k);
    void traceDateLines();
    void traceBabylonianItalian(bool italian);
    void drawLabels(std::vector<Label> labels);
    void drawLegend(bool clockDrawn, bool eotDrawn, bool temporalDrawn);
    void drawGnomonMeasure();

    Sample sample(const HorizontalPosition& sun) const {
        Sample out;
        out.altitude = sun.altitude;
        out.position = HatAzimuthPosition(sun.azimuth, s_.latitude);
        out.x = X_ + std::round(out.position * da_);
        const double c = CosDeg(sun.altitude);
        out.y = std::abs(c) <= 1e-5 ? 100000.0 : L_ * SinDeg(sun.altitude) / c;
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
    double legendFontHeight() const { return a_.screen() ? (a_.wideScreen ? 23 : 16) : a_.size(16, 40); }
    std::vector<int> sampleDays() const;
    HorizontalPosition temporalSun(int day, double temporalHour);
    HorizontalPosition clockSun(int day, double hour, double meridian, bool eot);

    // Declination and EoT of the sample days: the lines ask for thousands of instants on a
    // few hundred days, so each day's ephemeris is evaluated three times and interpolated.
    struct Ephemeris {
        bool clock = false;
        double decl[3] = {0, 0, 0}, eot[3] = {0, 0, 0};  // at d - 0.5, d, d + 0.5
        bool noon = false;
        double noonDeclination = 0;
    };
    Ephemeris& ephemeris(int day) {
        const int i = day + 10;
        if (i < 0 || i >= static_cast<int>(ephemeris_.size())) {
            spare_ = Ephemeris();
            return spare_;
        }
        return ephemeris_[static_cast<size_t>(i)];
    }
    std::vector<Ephemeris> ephemeris_ = std::vector<Ephemeris>(400);
    Ephemeris spare_;

    const DialState& s_;
    AltitudeDialArea a_;
    DialPainter& p_;
    UserDialogs& d_;
    AltitudeSun sun_;
    DateAxis axis_;
    int june21_ = 172;
    double b_ = 0;  // gnomon, mm
    double S_ = 0;  // scale length (circumference), mm
    bool reduced_ = false;
    bool eotLines_ = false;
    double L_ = 0, da_ = 0, D_ = 0, T_ = 0, Bt_ = 0, X_ = 0;
    int lineWidth_ = 1;
};

bool HatDial::run() {
    setUp();
    if (RefusedForTemporalHours(s_)) {
        drawRefusal();
        return false;
    }
    if (reduced_)
        d_.inform(caption(CaptionKind::Problem, s_.language),
                  Tr(s_, "Zylinderradius ist zu groß und wurde verkleinert!",
                     "Cylinder radius is too large and has been reduced!"),
                  Icon::Warning);
    drawFrame();
    p_.setFont(QStringLiteral("Arial"), a_.size(14, 30));
    if (s_.altitudeLines) drawAltitudeScale();
    drawAzimuthScale();
    p_.setPenWidth(lineWidth_);
    bool temporalDrawn = false, clockDrawn = false;
    if (s_.temporalHours) {
        int first = s_.temporalFrom, last = s_.temporalTo;
        if (first < 0 || first > 12 || last < 0 || last > 12) ReportTemporalRange(s_, d_);
        traceHourLines(std::clamp(first, 0, 12), std::clamp(last, 0, 12), false, true, true,
                       std::clamp(s_.temporalInterval + 1, 1, 4));
        temporalDrawn = true;
    }
    const bool local = s_.timeSystem != 1;
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
    p_.setPenWidth(lineWidth_);
    traceDateLines();
    if (s_.expertMode && (s_.babylonianHours || s_.italianHours)) {
        if (std::abs(s_.latitude) > 65) {
            ReportBabylonianItalianLatitude(s_, d_);
        } else {
            if (s_.babylonianHours) traceBabylonianItalian(false);
            if (s_.italianHours) traceBabylonianItalian(true);
        }
    }
    p_.setPenWidth(1);
    drawLegend(clockDrawn, eotLines_, temporalDrawn);
    drawGnomonMeasure();
    return true;
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
        da_ = S_ * unit / 365;
    } else {
        const double perMm = a_.printer() ? 10.0 : kPlotUnitsPerMm;
        L_ = perMm * b_;
        da_ = perMm * S_ / 365;
    }
    lineWidth_ = std::clamp(s_.lineWidth - '0', 1, 9);
    const double phi = std::abs(s_.latitude);
    const double hMax = phi < 23.45 ? 90.0 : 90.0 - phi + 23.45;
    D_ = std::abs(CosDeg(hMax)) <= 1e-4 ? 100000.0 : std::abs(L_ * SinDeg(hMax) / CosDeg(hMax) * 1.05);
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
}

std::vector<int> HatDial::sampleDays() const {
    // From three days before the first day, so that a whole-year line closes its loop.
    std::vector<int> days;
    for (int d = axis_.first - 3; d < axis_.last; d += 3) days.push_back(d);
    days.push_back(axis_.last);
    return days;
}

HorizontalPosition HatDial::clockSun(int day, double hour, double meridian, bool eot) {
    Ephemeris& e = ephemeris(day);
    if (!e.clock) {
        for (int k = 0; k < 3; ++k) {
            const DeclinationEoT de = SolarDeclinationEoT(s_.referenceYear, day + 0.5 * (k - 1));
            e.decl[k] = de.declination;
            e.eot[k] = de.eot;
        }
        e.clock = true;
    }
    // The instant of this zone time as a fraction of a day from noon UT, as SunPosition has it.
    const double u = (hour + s_.zoneMeridian / 15 - 12) / 24;
    auto q = [u](const double* n) { return n[1] + u * (n[2] - n[0]) + 2 * u * u * (n[2] - 2 * n[1] + n[0]); };
    double t = 15 * (hour - 12) - (meridian - s_.zoneMeridian);
    if (eot) t += q(e.eot);
    return HorizontalFromHourAngle(t, q(e.decl), s_.latitude);
}

HorizontalPosition HatDial::temporalSun(int day, double N) {
    Ephemeris& e = ephemeris(day);
    if (!e.noon) {
        e.noonDeclination = SunPositionNoonEphemeris(s_.referenceYear, day, 12.0, s_.latitude, s_.zoneMeridian,
                                                     s_.zoneMeridian, false)
                                .declination;
        e.noon = true;
    }
    const double decl = e.noonDeclination;
    double cd = CosDeg(decl), cp = CosDeg(s_.latitude);
    if (std::abs(cd) < 1e-12) cd = SignNonZero(cd) * 1e-12;
    if (std::abs(cp) < 1e-12) cp = SignNonZero(cp) * 1e-12;
    const double x = -SinDeg(s_.latitude) * SinDeg(decl) / (cp * cd);
    const double H0 = x == 0.0 ? 90.0 : AcosDeg(std::clamp(x, -1.0, 1.0));
    // Temporal hour N: hour angle -H0 at sunrise, 0 at noon (N = 6), +H0 at sunset.
    return HorizontalFromHourAngle((N - 6.0) * H0 / 6.0, decl, s_.latitude);
}

void HatDial::drawRefusal() {
    const double W = a_.W, H = a_.H, ox = a_.ox, oy = a_.oy;
    p_.setFont(QStringLiteral("Times New Roman"), a_.size(30, 60));
    p_.setTextColour(colour::kNavy, kText);
    const double th = p_.textHeight();
    p_.text(ox + W / 10, oy + H / 2 - 1.5 * th, PolarTemporalLine1(s_));
    p_.text(ox + W / 6, oy + H / 2, PolarTemporalLine2(s_));
    p_.text(ox + W / 3, oy + H / 8, Tr(s_, "ZYLINDER - SONNENUHR ", "CYLINDER - SUNDIAL"));
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
        const QString note = Tr(s_, "horizontale Monatsachse verkleinert", "Horizontal month axis is reduced");
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
    const double current = p_.textHeight();
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
    p_.setFont(QStringLiteral("Arial"), current);
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
    // Labels of lines that start close together move outward until they no longer overlap.
    const double th = p_.textHeight();
    std::sort(labels.begin(), labels.end(), [](const Label& a, const Label& b) { return a.y < b.y; });
    std::vector<QRectF> placed;
    for (Label& l : labels) {
        const double w = p_.textWidth(l.text);
        const double gap = 0.4 * th;
        QRectF box(l.side > 0 ? l.x + gap : l.x - gap - w, l.y - th / 2, w, th);
        for (bool moved = true; moved;) {
            moved = false;
            for (const QRectF& other : placed)
                if (box.intersects(other)) {
                    if (l.side > 0) box.moveLeft(other.right() + 0.3 * th);
                    else box.moveRight(other.left() - 0.3 * th);
                    moved = true;
                }
        }
        placed.push_back(box);
        p_.setTextRole(l.role);
        p_.text(box.left(), box.top(), l.text);
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
            p_.setPenWidth(lineWidth_);
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
                if (eot && d >= june21_) p_.setPenWidth(lineWidth_ + 1);
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
    const double current = p_.textHeight();
    p_.setPenRole(kText);
    const bool three = s_.dateLinesPerMonth == 4;
    for (int index = 1; index <= 7; ++index) {
        if (three && index != 1 && index != 4 && index != 7) continue;
        const double decl = s_.zodiacDeclinations[static_cast<size_t>(index)];
        Curve c = curve();
        for (int t = -180; t <= 180; t += 3) {
            const Sample p = sample(HorizontalFromHourAngle(t, decl, s_.latitude));
            c.add(p);
            // A plotter has no zodiac signs in its character set: the plot leaves them out.
            if (t == 0 && valid(p) && !a_.plot()) {
                // The sign of the line stands at its noon point, left of the noon line: the
                // noon label takes its right (the labels sit on the 21 June line).
                p_.setFont(QStringLiteral("DejaVu Sans"), 1.3 * current);
                p_.setTextRole(kText);
                const double th = p_.textHeight();
                const QString sign = ZodiacSign(index);
                p_.text(p.x - 0.2 * th - p_.textWidth(sign), T_ + p.y - 1.05 * th, sign);
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
    clock.local = s_.timeSystem != 1;
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
    const double W = a_.W, H = a_.H, ox = a_.ox, oy = a_.oy;
    const QString arial = QStringLiteral("Arial");
    p_.setTextRole(kText);
    p_.setFont(arial, legendFontHeight());
    double th = p_.textHeight();
    const double x = 0.36 * W + ox;
    p_.text(x, oy + H - 2.2 * th, title(8, s_.language));
    p_.text(x, oy + H - 1.3 * th, title(15, s_.language));

    p_.setFont(arial, a_.screen() ? (a_.wideScreen ? 14 : 12) : a_.size(12, 30));
    th = p_.textHeight();
    const QString deg = Tr(s_, " Grad", " deg ");
    const QString site = Tr(s_, "G. Breite = ", "Latitude = ") + RealToText(6, 2, s_.latitude) + deg +
                         Tr(s_, ", G. Laenge = ", ", Longitude = ") + RealToText(5, 2, s_.longitude) + deg;
    // In a narrow window the site line ends at the frame instead of running out of it.
    const double x2 = std::min(0.7 * W + ox + a_.size(10, 10), ox + W - a_.size(6, 15) - p_.textWidth(site));
    p_.text(x2, oy + H - 2.6 * th, site);
    QString hours;
    if (clockDrawn) {
        hours = (s_.timeSystem != 1 ? Tr(s_, " WOZ", " Local Apparent Time")
                                    : Tr(s_, " WOZ am Zonenmeridian", "Time of zone meridian")) +
                QStringLiteral(" ") + (eotDrawn ? Tr(s_, "mit Zeitgl.", "with EoT") : Tr(s_, "ohne Zeitgl.", "without EoT")) +
                QStringLiteral(", ");
    }
    if (temporalDrawn) hours += Tr(s_, " Temporalstunden", " Temporal hours");
    p_.text(x2, oy + H - 1.5 * th, hours);
}

void HatDial::drawGnomonMeasure() { DrawGnomonBracket(p_, s_, a_, L_, b_, kText); }

}  // namespace

PlanarDialResult DrawHatDial(const DialState& state, const PlanarDialRequest& request, DialPainter& painter,
                             UserDialogs& dialogs) {
    return DrawAltitudeDial<HatDial>(state, request, painter, dialogs);
}

bool WriteHatDialPlot(const DialState& state, PlotStream& stream, UserDialogs& dialogs) {
    if (RefusePolarTemporalPlot(state, dialogs)) return false;
    WriteAltitudeDialPlot(state, stream, [&](DialPainter& painter) { HatDial(state, PlotSheetArea(), painter, dialogs).run(); });
    return true;
}

}  // namespace zorva
