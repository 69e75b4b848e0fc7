#include "dials/azimuth_dial.h"

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/horizon_profile.h"
#include "astro/rise_set.h"
#include "astro/solar_ephemeris.h"
#include "astro/sun_position.h"
#include "dials/dial_painter.h"
#include "dials/label_placer.h"
#include "dials/plot_painter.h"
#include "plot/plot_stream.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/recording_dialogs.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace zorva {

AltitudeScale::AltitudeScale(AltitudeSpacing spacing, double R, double D)
    : spacing_(spacing), R_(R), D_(D), E_(std::sqrt(R * R / 4 + D * D) - R / 2) {}

double AltitudeScale::radius(double h) const {
    switch (spacing_) {
        case AltitudeSpacing::Equal: return R_ * (1 - h / 90);
        case AltitudeSpacing::Tonne: {
            // The horizontoscope: the observer at distance D sees the altitude h under the
            // angle it has in the sky; E^2 + R E = D^2 puts the horizon exactly on R.
            const double D = D_, E = E_;
            const double den = SinDeg(h) * (D * D + E * E) + 2 * D * E;
            if (std::abs(den) < 1e-12) return R_;
            return CosDeg(h) * 2 * D * (D * D - E * E) / den;
        }
        case AltitudeSpacing::Stereographic: return R_ * TanDeg(45 - h / 2);
    }
    return R_;
}

QPointF DiscPoint(QPointF centre, double r, double azimuth) {
    return {centre.x() - r * SinDeg(azimuth), centre.y() + r * CosDeg(azimuth)};
}

namespace {

// Colour roles of the azimuth dial.
enum Role {
    kBabylonian = 0,
    kApparent = 1,
    kApparentFraction = 2,
    kProfile = 3,
    kEcliptic = 4,
    kMainDates = 5,
    kDates = 6,
    kTemporal = 7,
    kDisc = 8,  // also the fractions of temporal and Italian hours on the canvas
    kItalian = 9,
    kShaded = 10,  // behind the terrain, and the day-length lines
};
// Every fraction of an hour is plotted with pen 3.
constexpr int kPlotFractionRole = 2;
// Whole Babylonian hours are plotted with pen 4.
constexpr int kPlotBabylonianRole = 3;

// A sun direction on a track, with the declination kind 0 places it by.
struct Sample {
    bool valid = false;
    double altitude = 0, azimuth = 0, declination = 0;
};

struct HourLabel {
    QPointF at;  // the line's point
    double azimuth = 0;
    double radius = 0;
    QString text;
    int role = 0;
};

int DaysInMonth(int year, int month) {
    return month == 12 ? 31 : DayOfYear(year, month + 1, 1) - DayOfYear(year, month, 1);
}

// The day arcs of the sample days, each computed once per drawing.
class DayArcCache {
public:
    explicit DayArcCache(int year) : year_(year) {}
    const DayArcResult& dayArc(int day, double meridian, double latitude) {
        auto it = arcs_.find(day);
        if (it == arcs_.end()) it = arcs_.emplace(day, DayArc(year_, day, meridian, latitude)).first;
        return it->second;
    }

private:
    int year_;
    std::unordered_map<int, DayArcResult> arcs_;
};

class AzimuthConstruction {
public:
    AzimuthConstruction(const DialContext& c, const DialRequest& r, DialPainter& p, UserDialogs& d)
        : c_(c), s_(c.state), r_(r), p_(p), d_(d), scale_(AltitudeSpacing::Equal, 1, 1), arcs_(c.year) {}

    bool run();
    // The pointer tip's shadow: where the sun's direction marks the disc, joined to the centre.
    CastShadow castShadow(const ShadowMoment& moment);
    // The plot's text height of the head ("SI 0.18,0.27"), as a drawing font height.
    static constexpr double kPlotFontHeight = 144;

private:
    friend class Track;
    bool screen() const { return r_.target == DrawTarget::Screen; }
    bool printer() const { return r_.target == DrawTarget::Printer; }
    bool plot() const { return r_.target == DrawTarget::Plot; }
    bool dates() const { return s_.azimuthKind == 0; }
    AltitudeSpacing spacing() const {
        return static_cast<AltitudeSpacing>(std::clamp(s_.altitudeCircleSpacing, 0, 2));
    }
    bool temporalDisplay() const { return c_.timeSystem == TimeSystem::Temporal; }
    bool profileShown() const {
        return !dates() && s_.showHorizonProfile && s_.horizonProfile && s_.horizonProfile->hasTerrain();
    }
    // Canvas and plot colour the same element differently in a few places.
    void setRole(int canvasRole, int plotRole) { p_.setPenRole(plot() ? plotRole : canvasRole); }
    void setTextRoles(int canvasRole, int plotRole) { p_.setTextRole(plot() ? plotRole : canvasRole); }
    // Whole hours stand out by a wider pen on the canvas; the plot keeps its hour lines
    // fine (a pen width there is a width in millimetres) and tells them apart by pen.
    void setHourLineWidth(bool whole) { p_.setPenWidth(plot() ? 1 : whole ? lineWidth_ + 1 : lineWidth_); }

    void setUp();
    void drawCross();
    void drawAltitudeCircles();
    void drawDateCircles();
    void drawRays(double inner, double inner30);
    void drawDegreeScale();
    void drawPole();
    void drawProfile();
    void drawDayLengthLines();
    void drawDateLines();
    void traceDeclination(double declination, int role);
    void drawHourLines();
    void traceClockHours(bool mean, int from, int to, int perHour);
    void traceTemporalHours();
    void traceBabylonianOrItalian(bool italian);
    void drawHourLabels();
    void drawEcliptic();
    void drawLegend();

    double radiusOf(const Sample& sample) const;
    QPointF project(const Sample& sample) const { return DiscPoint(centre_, radiusOf(sample), sample.azimuth); }
    double dateRadius(double declination) const;
    // The half year from 20 June to 23 December (each declination once) or the whole year
    // with 1 January of the next year (figure-eights), on the odd days of every month.
    std::vector<int> sampleDays(bool wholeYear) const;
    void centredText(QPointF at, const QString& text);

    const DialContext& c_;
    const DialState& s_;
    const DialRequest& r_;
    DialPainter& p_;
    UserDialogs& d_;
    AltitudeScale scale_;
    double W_ = 0, H_ = 0, ox_ = 0, oy_ = 0;
    double R_ = 0, T_ = 0, Q_ = 0;
    double innerDateRadius_ = 0;
    bool outerDateCircle_ = false;  // a date circle lies on R
    QPointF centre_;
    int lineWidth_ = 1;
    double obliquity_ = 23.44;
    double fontHeight_ = 14;
    std::vector<HourLabel> labels_;
    DayArcCache arcs_;
};

// Joins the successive sun directions of one line: where the sun goes below the horizon
// the line ends on the horizon circle itself, and stretches behind the terrain take the
// shading colour.
class Track {
public:
    Track(AzimuthConstruction& c, int canvasRole, int plotRole) : c_(c), canvasRole_(canvasRole), plotRole_(plotRole) {}

    void add(const Sample& s) {
        if (!s.valid) {
            have_ = false;
            return;
        }
        const bool b = visible(s);
        const QPointF pb = b ? c_.project(s) : QPointF();
        if (have_) {
            const bool a = visible(previous_);
            if (a && b) segment(previous_, previousPoint_, s, pb);
            else if (a && s.altitude <= 0) {
                const Sample h = horizonCrossing(previous_, s);
                segment(previous_, previousPoint_, h, c_.project(h));
            } else if (b && previous_.altitude <= 0) {
                const Sample h = horizonCrossing(s, previous_);
                segment(h, c_.project(h), s, pb);
            }
        }
        previous_ = s;
        previousPoint_ = pb;
        have_ = true;
    }
    void interrupt() { have_ = false; }

private:
    static bool visible(const Sample& s) { return s.altitude > 0 && s.altitude < 89.9; }
    // The point between `above` and `below` where the altitude passes 0.
    static Sample horizonCrossing(const Sample& above, const Sample& below) {
        const double f = above.altitude / (above.altitude - below.altitude);
        Sample h = above;
        h.altitude = 0;
        h.azimuth = above.azimuth + f * NormalizeAngle180(below.azimuth - above.azimuth);
        h.declination = above.declination + f * (below.declination - above.declination);
        return h;
    }
    void segment(const Sample& a, QPointF pa, const Sample& b, QPointF pb) {
        bool shaded = false;
        if (c_.profileShown()) {
            const double az = a.azimuth + 0.5 * NormalizeAngle180(b.azimuth - a.azimuth);
            shaded = SunBehindTerrain(*c_.s_.horizonProfile, az, 0.5 * (a.altitude + b.altitude));
        }
        const int role = shaded ? kShaded : (c_.plot() ? plotRole_ : canvasRole_);
        if (role != currentRole_) {
            c_.p_.setPenRole(role);
            currentRole_ = role;
        }
        c_.p_.moveTo(pa.x(), pa.y());
        c_.p_.lineTo(pb.x(), pb.y());
    }

    AzimuthConstruction& c_;
    int canvasRole_, plotRole_;
    int currentRole_ = -1;
    Sample previous_;
    QPointF previousPoint_;
    bool have_ = false;
};

double AzimuthConstruction::radiusOf(const Sample& sample) const {
    return dates() ? dateRadius(sample.declination) : scale_.radius(sample.altitude);
}

double AzimuthConstruction::dateRadius(double declination) const {
    // The highest sun of the year (shortest shadow) on the inner circle, the lowest on R.
    const double d = std::clamp(declination * (s_.latitude < 0 ? -1 : 1), -obliquity_, obliquity_);
    return innerDateRadius_ + (R_ - innerDateRadius_) * (obliquity_ - d) / (2 * obliquity_);
}

std::vector<int> AzimuthConstruction::sampleDays(bool wholeYear) const {
    const int year = s_.referenceYear;
    std::vector<int> days;
    for (int month = wholeYear ? 1 : 6; month <= 12; ++month) {
        for (int day = 1; day <= std::min(29, DaysInMonth(year, month)); day += 2) {
            if (!wholeYear && ((month == 6 && day < 20) || (month == 12 && day > 23))) continue;
            days.push_back(DayOfYear(year, month, day));
        }
    }
    // The figure-eight closes on the next 1 January.
    if (wholeYear) days.push_back(DayOfYear(year, 12, 31) + 1);
    return days;
}

void AzimuthConstruction::centredText(QPointF at, const QString& text) {
    p_.text(at.x() - p_.textWidth(text) / 2, at.y() - p_.textHeight() / 2, text);
}

void AzimuthConstruction::setUp() {
    lineWidth_ = c_.lineWidth;
    obliquity_ = ZodiacDeclinations(s_.referenceYear).obliquity;
    const double plate = s_.basePlateDiameterCm, distance = s_.observerDistanceCm;
    const double north = s_.latitude < 0 ? -1 : 1;
    if (plot()) {
        W_ = kSheetWidth;
        H_ = kSheetHeight;
        // 400 plotter units to the centimetre; the stream multiplies by p.
        R_ = plate * 400 / 2;
        scale_ = AltitudeScale(spacing(), R_, distance * 400);
        fontHeight_ = kPlotFontHeight;
        T_ = 0.75 * kPlotFontHeight;
        centre_ = {7300, kSheetHeight - 5300.0};
    } else {
        W_ = r_.clientWidth - (printer() ? 2 : 0);
        H_ = r_.clientHeight - (printer() ? 2 : 0);
        ox_ = r_.offsetX;
        oy_ = r_.offsetY;
        // The screen shows 21 cm of plate over the drawing's height; the printer is true to scale.
        const double unitsPerCm = printer() ? 100 : H_ / 21;
        R_ = plate * unitsPerCm / 2;
        scale_ = AltitudeScale(spacing(), R_, distance * unitsPerCm);
        fontHeight_ = printer() ? 33 : 14;
        p_.setFont(QStringLiteral("Arial"), fontHeight_);
        T_ = p_.textHeight();
        centre_ = {ox_ + 0.57 * W_, oy_ + (H_ + north * T_) / 2};
    }
    Q_ = R_ + 2 * T_;
    innerDateRadius_ = 0.3 * R_;
    p_.setFont(QStringLiteral("Arial"), fontHeight_);
}

CastShadow AzimuthConstruction::castShadow(const ShadowMoment& moment) {
    setUp();
    if (W_ < 2 || H_ < 2 || !(R_ > 0)) return {};
    CastShadow out = SunlitShadow(c_, moment, plot() ? QRectF() : QRectF(ox_, oy_, W_, H_));
    if (out.status == ShadowStatus::SunDown) return out;
    const Sample sample{true, out.sun.altitude, out.sun.azimuth, out.sun.declination};
    // The lines end short of the zenith, where the azimuth is lost.
    if (out.sun.altitude >= 89.9) return out;
    out.status = ShadowStatus::Cast;
    out.nodus = project(sample);
    out.gnomon.push_back({centre_, *out.nodus});
    return out;
}

bool AzimuthConstruction::run() {
    setUp();
    if (W_ < 2 || H_ < 2 || !(R_ > 0)) return false;
    if (!plot()) p_.setWindow(ox_, oy_, ox_ + W_, oy_ + H_);
    p_.setLineStyle(LineStyle::Solid);
    p_.setPenWidth(1);
    drawCross();
    if (dates()) {
        drawDateCircles();
        if (s_.includeAzimuthLines) drawRays(innerDateRadius_, innerDateRadius_);
    } else {
        drawAltitudeCircles();
        if (s_.includeAzimuthLines) drawRays(scale_.radius(70), scale_.radius(80));
    }
    drawDegreeScale();
    if (!dates()) {
        if (spacing() == AltitudeSpacing::Stereographic) drawPole();
        if (s_.wholeHourDaylengthLines) drawDayLengthLines();
        drawDateLines();
        drawProfile();
    }
    drawHourLines();
    if (!dates() && spacing() == AltitudeSpacing::Stereographic && s_.drawEcliptic) drawEcliptic();
    p_.setPenWidth(1);
    if (!plot()) {
        drawLegend();
        p_.resetWindow();
    }
    return true;
}

void AzimuthConstruction::drawCross() {
    p_.setPenRole(kDisc);
    const double cx = centre_.x(), cy = centre_.y();
    p_.moveTo(cx - Q_, cy);
    p_.lineTo(cx + Q_, cy);
    p_.moveTo(cx, cy - Q_);
    p_.lineTo(cx, cy + Q_);
    const Language l = s_.language;
    const QString east = label(1, l).mid(2), west = label(3, l).mid(2);
    p_.setTextRole(0);
    const double gap = T_ / 2 + 4;  // beside the ring; above it the word sits on the ring
    const double th = p_.textHeight();
    p_.text(cx - Q_ - gap - p_.textWidth(east), cy - th / 2, east);
    p_.text(cx + Q_ + gap, cy - th / 2, west);
    if (s_.latitude >= 0) {
        const QString south = StripAccelerators(label(2, l)).trimmed();
        p_.text(cx - p_.textWidth(south) / 2, cy - Q_ - 3 - th, south);
    } else {
        const QString north = StripAccelerators(label(0, l)).trimmed();
        p_.text(cx - p_.textWidth(north) / 2, cy + Q_ + 3, north);
    }
}

void AzimuthConstruction::drawAltitudeCircles() {
    p_.setPenRole(kDisc);
    for (int h = 0; h <= 80; h += 10) p_.circle(centre_.x(), centre_.y(), scale_.radius(h), FillStyle::None, 0);
    // Small plates of the horizontoscope crowd the labels near the centre.
    const bool small = spacing() == AltitudeSpacing::Tonne && s_.basePlateDiameterCm < 11;
    p_.setFont(QStringLiteral("Arial"), fontHeight_ * (small ? 0.8 : 1.0));
    p_.setTextRole(kDisc);
    const double th = p_.textHeight();
    for (int h = 20; h <= 80; h += 20) {
        // On the south meridian, just beside the cross.
        const double y = centre_.y() - scale_.radius(h);
        p_.text(centre_.x() + 3, y - th, RealToText(2, 0, h).trimmed());
    }
    p_.setFont(QStringLiteral("Arial"), fontHeight_);
}

void AzimuthConstruction::drawRays(double inner, double inner30) {
    p_.setPenRole(kDisc);
    for (int a = 0; a < 360; a += 10) {
        const double to = a % 30 == 0 ? inner30 : inner;
        const QPointF from = DiscPoint(centre_, R_, a), end = DiscPoint(centre_, to, a);
        p_.moveTo(from.x(), from.y());
        p_.lineTo(end.x(), end.y());
    }
}

void AzimuthConstruction::drawDegreeScale() {
    p_.setPenRole(kDisc);
    for (int a = 0; a < 360; ++a) {
        const double inner = a % 30 == 0 ? R_ : a % 10 == 0 ? R_ + 0.6 * T_ : a % 5 == 0 ? R_ + T_ : R_ + 1.4 * T_;
        const QPointF from = DiscPoint(centre_, Q_ - 1, a), to = DiscPoint(centre_, inner, a);
        p_.moveTo(from.x(), from.y());
        p_.lineTo(to.x(), to.y());
    }
    for (double r : {Q_ + 1, Q_ + 3}) p_.circle(centre_.x(), centre_.y(), r, FillStyle::None, 0);
    // Kind 1 draws R as its zero-altitude circle, kind 0 as its winter-solstice circle when
    // it has one: a cutter must not follow the same circle twice.
    if (dates() && !outerDateCircle_) p_.circle(centre_.x(), centre_.y(), R_, FillStyle::None, 0);
}

void AzimuthConstruction::drawPole() {
    // The celestial pole placed like every sky direction, where the hour lines converge.
    const double phi = std::abs(s_.latitude);
    const QPointF P = DiscPoint(centre_, R_ * TanDeg(45 - phi / 2), s_.latitude >= 0 ? 180.0 : 0.0);
    const double m = T_ / 3;
    p_.setPenRole(0);
    p_.moveTo(P.x() - m, P.y());
    p_.lineTo(P.x() + m, P.y());
    p_.moveTo(P.x(), P.y() - m);
    p_.lineTo(P.x(), P.y() + m);
    p_.setTextRole(0);
    p_.text(P.x() + m, P.y() - p_.textHeight() - m / 2, QStringLiteral("P"));
}

void AzimuthConstruction::drawProfile() {
    if (!profileShown()) return;
    std::vector<QPointF> points;
    for (const HorizonRecord& rec : s_.horizonProfile->records) {
        if (rec.empty) continue;
        points.push_back(DiscPoint(centre_, scale_.radius(rec.elevation), rec.azimuth));
    }
    if (points.size() < 2) return;
    points.push_back(points.front());
    p_.setPenRole(kProfile);
    p_.polyline(points);
}

void AzimuthConstruction::traceDeclination(double declination, int role) {
    Track track(*this, role, role);
    const double phi = s_.latitude;
    // Only the hours round the day arc: the night adds nothing to the disc.
    double first = 1.0, last = 23.0;
    const double cosArc = -TanDeg(phi) * TanDeg(declination);
    if (cosArc >= 1) return;
    if (cosArc > -1) {
        const double arcHours = AcosDeg(cosArc) / 15;
        first = std::max(first, std::floor((12 - arcHours) * 10) / 10 - 0.1);
        last = std::min(last, 12 + arcHours + 0.2);
    }
    // Finer near the horizon, so that the line meets the horizon circle cleanly.
    for (double T = first; T <= last + 1e-9;) {
        const HorizontalPosition hp = HorizontalFromHourAngle(15 * (T - 12), declination, phi);
        track.add({true, hp.altitude, hp.azimuth, declination});
        T += hp.altitude < 1.5 ? 0.025 : 0.1;
    }
}

void AzimuthConstruction::drawDayLengthLines() {
    const double phi = std::abs(s_.latitude);
    if (phi < 0.01) return;  // every day lasts twelve hours on the equator
    p_.setPenWidth(1);
    for (int k = -12; k <= 12; ++k) {
        // Semi-arc 90 + 7.5 k degrees: a day of 12 + k hours.
        const double declination = Sign(s_.latitude) * AtanDeg(SinDeg(7.5 * k) / TanDeg(phi));
        if (std::abs(declination) > obliquity_) continue;
        traceDeclination(declination, kShaded);
    }
}

void AzimuthConstruction::drawDateLines() {
    // The declinations of ecliptic longitude 90, 95, ... 270: the sun's entries into the signs
    // every 30 degrees are the main dates; two or three lines a month add the 15- or
    // 10-degree points, the fourth choice keeps the solstices and the equinox.
    const ZodiacTable zodiac = ZodiacDeclinations(s_.referenceYear);
    const int choice = std::clamp(s_.dateLinesPerMonth, 1, 4);
    for (int i = 0; i <= 36; ++i) {
        const bool main = i % 6 == 0;
        const bool wanted = choice == 1 ? main : choice == 2 ? i % 3 == 0 : choice == 3 ? i % 2 == 0 : i % 18 == 0;
        if (!wanted) continue;
        // The plot writes "PW 1" for the main dates and "PW 0" for the others.
        p_.setPenWidth(plot() ? (main ? 2 : 1) : main ? lineWidth_ + 1 : lineWidth_);
        traceDeclination(zodiac.byLongitude[static_cast<size_t>(i)], main ? kMainDates : kDates);
    }
    p_.setPenWidth(plot() ? 1 : lineWidth_);
}

void AzimuthConstruction::drawDateCircles() {
    // Kind 0: a circle per date, the lowest sun outside. Zodiac signs or calendar dates.
    const ZodiacTable zodiac = ZodiacDeclinations(s_.referenceYear);
    const int choice = std::clamp(s_.dateLinesPerMonth, 1, 4);
    const int year = s_.referenceYear;
    p_.setFont(QStringLiteral("Arial"), fontHeight_ * 0.9);
    if (s_.declinationScale) {
        for (int i = 0; i <= 36; ++i) {
            const bool main = i % 6 == 0;
            const bool wanted = choice == 1 ? main : choice == 2 ? i % 3 == 0 : choice == 3 ? i % 2 == 0 : i % 18 == 0;
            if (!wanted) continue;
            const double r = dateRadius(zodiac.byLongitude[static_cast<size_t>(i)]);
            if (std::abs(r - R_) < 1e-6 * R_) outerDateCircle_ = true;
            p_.setPenRole(main ? kMainDates : kDates);
            p_.setPenWidth(plot() ? (main ? 2 : 1) : main ? lineWidth_ + 1 : lineWidth_);
            p_.circle(centre_.x(), centre_.y(), r, FillStyle::None, 0);
        }
        p_.setPenWidth(1);
        // The signs between their circles: the sun passes from one to the next in a month.
        // Longitude 90 + 30 j .. 120 + 30 j: Cancer to Capricorn on the right, their
        // twins of the other half year on the left.
        for (int j = 0; j < 6; ++j) {
            const double r = 0.5 * (dateRadius(zodiac.byLongitude[static_cast<size_t>(6 * j)]) +
                                    dateRadius(zodiac.byLongitude[static_cast<size_t>(6 * j + 6)]));
            p_.setTextRole(kMainDates);
            for (int side = 0; side < 2; ++side) {
                const QPointF at = DiscPoint(centre_, r, side == 0 ? 95.0 : -95.0);
                // Cancer .. Sagittarius on the right, Gemini .. Capricorn on the left.
                const int sign = side == 0 ? 3 + j : (14 - j) % 12;
                // The plot writes its signs in the size of the dates.
                if (!plot()) p_.setFont(QStringLiteral("Arial"), fontHeight_);
                p_.setTextKind(TextKind::ZodiacSigns);
                centredText(at, p_.zodiacSign(sign));
                p_.setTextKind(TextKind::Plain);
                if (!plot()) p_.setFont(QStringLiteral("Arial"), fontHeight_ * 0.9);
            }
        }
    } else {
        static const std::vector<int> kDays[3] = {{1}, {1, 15}, {1, 11, 21}};
        struct Mark {
            int month, day;
        };
        std::vector<Mark> marks;
        if (choice == 4) {
            marks = {{3, 21}, {6, 21}, {9, 23}, {12, 21}};
        } else {
            for (int month = 1; month <= 12; ++month)
                for (int day : kDays[choice - 1]) marks.push_back({month, day});
        }
        for (const Mark& m : marks) {
            const DayArcResult arc = DayArc(year, DayOfYear(year, m.month, m.day), s_.zoneMeridian, s_.latitude);
            const double r = dateRadius(arc.declination);
            if (std::abs(r - R_) < 1e-6 * R_) outerDateCircle_ = true;
            const bool main = m.day == 1 || choice == 4;
            p_.setPenRole(main ? kMainDates : kDates);
            p_.setPenWidth(plot() ? (main ? 2 : 1) : main ? lineWidth_ + 1 : lineWidth_);
            p_.circle(centre_.x(), centre_.y(), r, FillStyle::None, 0);
            if (!main) continue;
            // The first half year is read on the east side, the second on the west side,
            // so that the two dates of one circle do not overlap.
            const bool firstHalf = m.month < 7;
            const double azimuth = (firstHalf ? -1 : 1) * (95.0 + 2.0 * (m.month % 6));
            p_.setTextRole(kMainDates);
            centredText(DiscPoint(centre_, r, azimuth),
                        QString::number(m.day) + QLatin1Char('.') + QString::number(m.month) + QLatin1Char('.'));
        }
        p_.setPenWidth(1);
    }
    p_.setFont(QStringLiteral("Arial"), fontHeight_);
}

void AzimuthConstruction::drawHourLines() {
    labels_.clear();
    if (s_.apparentTimeLines)
        traceClockHours(s_.constructWithEoT, s_.hourFrom, s_.hourTo, LinesPerHour(s_.hourLineInterval));
    if (s_.meanTimeLines) traceClockHours(true, s_.eotHourFrom, s_.eotHourTo, LinesPerHour(s_.eotHourInterval));
    if (s_.temporalHours || temporalDisplay()) traceTemporalHours();
    ForBabylonianItalianHours(c_, d_, [this](bool italian) { traceBabylonianOrItalian(italian); });
    p_.setPenWidth(plot() ? 1 : lineWidth_);
    drawHourLabels();
}

void AzimuthConstruction::traceClockHours(bool mean, int from, int to, int perHour) {
    const int year = s_.referenceYear;
    const int h1 = std::clamp(from, 0, 24), h2 = std::clamp(to, 0, 24);
    // Zone time reads the true sun of the zone meridian; local time that of the site.
    const double longitude = c_.timeSystem == TimeSystem::Zone ? s_.longitude : s_.zoneMeridian;
    const std::vector<int> days = sampleDays(mean);
    const int labelDay = DayOfYear(year, s_.latitude < 0 ? 12 : 6, 21);
    for (int h = h1; h <= h2; ++h) {
        for (int j = 0; j < perHour; ++j) {
            const double T = h + static_cast<double>(j) / perHour;
            if (T > h2 + 1e-9) break;
            const bool whole = j == 0;
            setHourLineWidth(whole);
            Track track(*this, whole ? kApparent : kApparentFraction, whole ? kApparent : kPlotFractionRole);
            for (int day : days) {
                // The sun of that instant, as SunPosition computes it.
                const DeclinationEoT e = c_.ephemeris().at(day + (T + s_.zoneMeridian / 15 - 12) / 24);
                double t = 15 * (T - 12) - (longitude - s_.zoneMeridian);
                if (mean) t += e.eot;
                const HorizontalPosition sp = HorizontalFromHourAngle(t, e.declination, s_.latitude);
                const Sample sample{true, sp.altitude, sp.azimuth, e.declination};
                track.add(sample);
                if (whole && day == labelDay && sp.altitude > 0 && sp.altitude < 89.9 && h % 24 != 0)
                    labels_.push_back({project(sample), sp.azimuth, radiusOf(sample), QString::number(h), kApparent});
            }
        }
    }
}

void AzimuthConstruction::traceTemporalHours() {
    if (std::abs(s_.latitude) > 66) {
        ReportLinesImpossibleAtLatitude(TextId::TemporalHoursSpaced, s_.language, d_);
        return;
    }
    const int year = s_.referenceYear;
    const int k = std::clamp(s_.temporalInterval + 1, 1, 4);
    const int t1 = std::clamp(s_.temporalFrom, 0, 12), t2 = std::clamp(s_.temporalTo, 0, 12);
    const std::vector<int> days = sampleDays(false);
    const int labelDay = DayOfYear(year, s_.latitude < 0 ? 12 : 6, 21);
    for (int n = t1; n <= t2; ++n) {
        for (int j = 0; j < k; ++j) {
            const double N = n + static_cast<double>(j) / k;
            if (N > t2 + 1e-9) break;
            // Hours 0 and 12 are sunrise and sunset: they lie on the horizon circle itself.
            if (N <= 0 || N >= 12) continue;
            const bool whole = j == 0;
            setHourLineWidth(whole);
            Track track(*this, whole ? kTemporal : kDisc, whole ? kTemporal : kPlotFractionRole);
            for (int day : days) {
                const DayArcResult& arc = arcs_.dayArc(day, s_.zoneMeridian, s_.latitude);
                if (!arc.rises || !arc.sets) {
                    track.interrupt();
                    continue;
                }
                // One temporal hour is a sixth of the half day arc.
                const double t = -(6 - N) * arc.semiDiurnalArc / 6;
                const HorizontalPosition hp = HorizontalFromHourAngle(t, arc.declination, s_.latitude);
                const Sample sample{true, hp.altitude, hp.azimuth, arc.declination};
                track.add(sample);
                if (whole && day == labelDay && hp.altitude > 0 && hp.altitude < 89.9)
                    labels_.push_back({project(sample), hp.azimuth, radiusOf(sample), QString::number(n), kTemporal});
            }
        }
    }
}

void AzimuthConstruction::traceBabylonianOrItalian(bool italian) {
    const int from = std::clamp(italian ? s_.italianFrom : s_.babylonianFrom, 0, 24);
    const int to = std::clamp(italian ? s_.italianTo : s_.babylonianTo, 0, 24);
    const int k = std::clamp((italian ? s_.italianInterval : s_.babylonianInterval) + 1, 1, 4);
    const std::vector<int> days = sampleDays(false);
    for (int n = from; n <= to; ++n) {
        for (int j = 0; j < k; ++j) {
            const double v = n + static_cast<double>(j) / k;
            if (v > to + 1e-9) break;
            const bool whole = j == 0;
            setHourLineWidth(whole);
            const int canvasRole = whole ? (italian ? kItalian : kBabylonian) : (italian ? kDisc : kEcliptic);
            const int plotRole = whole ? (italian ? kItalian : kPlotBabylonianRole) : kPlotFractionRole;
            Track track(*this, canvasRole, plotRole);
            for (int day : days) {
                const DayArcResult& arc = arcs_.dayArc(day, s_.zoneMeridian, s_.latitude);
                if (!arc.rises || !arc.sets) {
                    track.interrupt();
                    continue;
                }
                // Hours since the last sunset (Italian) or since sunrise (Babylonian).
                const double t = italian ? arc.semiDiurnalArc + 15 * (v - 24) : -arc.semiDiurnalArc + 15 * v;
                const HorizontalPosition hp = HorizontalFromHourAngle(t, arc.declination, s_.latitude);
                track.add({true, hp.altitude, hp.azimuth, arc.declination});
            }
        }
    }
}

void AzimuthConstruction::drawHourLabels() {
    // Every hour of the horizontoscope would crowd its small circles: even hours only.
    const bool evenOnly = !dates() && spacing() == AltitudeSpacing::Tonne;
    LabelPlacer placer(QRectF(ox_, oy_, W_, H_));
    std::vector<std::pair<QString, QRectF>> written;
    const double step = plot() ? 200 : T_;
    for (const HourLabel& l : labels_) {
        if (evenOnly && l.text.toInt() % 2 != 0) continue;
        const double r = std::max(0.0, l.radius - step);
        const QSizeF size(p_.textWidth(l.text), p_.textHeight());
        auto at = [&](double radius) {
            const QPointF c = DiscPoint(centre_, std::max(0.0, radius), l.azimuth);
            return QPointF(c.x() - size.width() / 2, c.y() - size.height() / 2);
        };
        // The same number where one already stands (the lines of two time systems meet at
        // the horizon) is written once.
        const QRectF first(at(r), size);
        if (std::any_of(written.begin(), written.end(),
                        [&](const auto& w) { return w.first == l.text && w.second.intersects(first); }))
            continue;
        // Inward along its line, where the lines spread, rather than over another number.
        // Where those are taken, further along it or beside its end.
        const QPointF beside(0.8 * size.width(), 0);
        std::vector<QPointF> places{at(r), at(r - 0.6 * step), at(r - 1.2 * step), at(r + 0.6 * step),
                                    at(r - 1.8 * step), at(r + 1.2 * step), at(r) + beside, at(r) - beside};
        // Where the lines crowd, farther along the line and beside it before two numbers touch.
        for (double k : {1.8, 2.4, 3.0, 3.6})
            for (const QPointF& q : {at(r + k * step), at(r + (k - 1.8) * step) + beside, at(r + (k - 1.8) * step) - beside})
                places.push_back(q);
        std::optional<QRectF> box = placer.placeApart(size, places);
        if (!box) box = placer.place(size, places);
        if (!box) continue;
        written.emplace_back(l.text, *box);
        setTextRoles(l.role, l.role);
        p_.text(box->left(), box->top(), l.text);
    }
}

void AzimuthConstruction::drawEcliptic() {
    // The ecliptic as the sky shows it when the solstice nearer the zenith culminates,
    // projected like the sun: a circle of the stereographic projection, drawn where it
    // stands above the horizon.
    const double eps = obliquity_;
    const double phi = s_.latitude;
    const double siderealTime = phi >= 0 ? 90.0 : 270.0;
    auto direction = [&](double lambda) {
        const double declination = AsinDeg(SinDeg(eps) * SinDeg(lambda));
        const double rightAscension = std::atan2(CosDeg(eps) * SinDeg(lambda), CosDeg(lambda)) / kDegToRad;
        return HorizontalFromHourAngle(siderealTime - rightAscension, declination, phi);
    };
    auto point = [&](double lambda) {
        const HorizontalPosition hp = direction(lambda);
        return DiscPoint(centre_, R_ * TanDeg(45 - hp.altitude / 2), hp.azimuth);
    };
    // The circle through three of its points above the horizon: the equinox points rise
    // and set, the solstice culminates.
    const QPointF a = point(0), b = point(siderealTime), c = point(180);
    const double d = 2 * (a.x() * (b.y() - c.y()) + b.x() * (c.y() - a.y()) + c.x() * (a.y() - b.y()));
    if (std::abs(d) < 1e-9) return;
    auto sq = [](QPointF q) { return q.x() * q.x() + q.y() * q.y(); };
    const QPointF M((sq(a) * (b.y() - c.y()) + sq(b) * (c.y() - a.y()) + sq(c) * (a.y() - b.y())) / d,
                    (sq(a) * (c.x() - b.x()) + sq(b) * (a.x() - c.x()) + sq(c) * (b.x() - a.x())) / d);
    const double rho = std::hypot(a.x() - M.x(), a.y() - M.y());
    if (!(rho > 0) || rho > 1000 * R_) return;
    // Angle on the drawing, counter-clockwise as seen (y grows downward).
    auto angleOf = [&](QPointF q) { return std::atan2(-(q.y() - M.y()), q.x() - M.x()) / kDegToRad; };

    // The plot switches to its symbol set for the whole ecliptic.
    p_.liftPen();
    p_.setTextKind(TextKind::ZodiacSigns);
    p_.setPenRole(kEcliptic);
    p_.setPenWidth(plot() ? c_.plotLineWeight : lineWidth_);
    // Arcs over the stretches above the horizon, found in half-degree steps of longitude.
    double runStart = 0, sweep = 0, previousAngle = 0;
    bool inRun = false;
    auto closeRun = [&]() {
        if (inRun && std::abs(sweep) > 1e-6) p_.arc(M.x(), M.y(), rho, runStart, sweep);
        inRun = false;
    };
    for (int i = 0; i <= 720; ++i) {
        const double lambda = 0.5 * i;
        const bool above = direction(lambda).altitude >= 0;
        const double angle = angleOf(point(lambda));
        if (above && !inRun) {
            inRun = true;
            runStart = angle;
            sweep = 0;
        } else if (above) {
            sweep += NormalizeAngle180(angle - previousAngle);
        } else {
            closeRun();
        }
        previousAngle = angle;
        if (i == 720) closeRun();
    }
    // A tick every degree, towards the circle's centre; longer at 5, 10 and 30 degrees.
    p_.setPenWidth(1);
    const double unit = R_ / 30;
    for (int lambda = 0; lambda < 360; ++lambda) {
        if (direction(lambda).altitude < 0) continue;
        const double length = unit * (lambda % 30 == 0 ? 1.5 : lambda % 10 == 0 ? 1.0 : lambda % 5 == 0 ? 0.7 : 0.5);
        const QPointF q = point(lambda);
        const double f = length / rho;
        p_.moveTo(q.x(), q.y());
        p_.lineTo(q.x() + (M.x() - q.x()) * f, q.y() + (M.y() - q.y()) * f);
    }
    // The signs in the middle of their 30 degrees, outside the circle.
    p_.setTextRole(kEcliptic);
    if (!plot()) p_.setFont(QStringLiteral("Arial"), fontHeight_ * 1.2);
    for (int sign = 0; sign < 12; ++sign) {
        const double lambda = 30.0 * sign + 15;
        if (direction(lambda).altitude < 0) continue;
        const QPointF q = point(lambda);
        const double f = (rho + 1.2 * T_) / rho;
        const QPointF at(M.x() + (q.x() - M.x()) * f, M.y() + (q.y() - M.y()) * f);
        centredText(at, p_.zodiacSign(sign));
    }
    p_.setTextKind(TextKind::Plain);
    p_.setFont(QStringLiteral("Arial"), fontHeight_);
}

QString DialTitle(const DialState& s) {
    if (s.azimuthKind != 0 && s.altitudeCircleSpacing == 2) return TextOf(TextId::StereographicTitle, s.language);
    QString title = TextOf(TextId::AzimuthTitle, s.language);
    if (s.azimuthKind != 0 && s.altitudeCircleSpacing == 1) title += QStringLiteral(" (Tonne)");
    return title;
}

QString LatitudeLine(const DialState& s) {
    const QString deg = TextOf(TextId::DegreesSpaced, s.language);
    QString line = TextOf(TextId::LatitudeIs, s.language) + RealToText(6, 2, s.latitude).trimmed() + deg;
    if (s.timeSystem == 1)
        line += TextOf(TextId::LongitudeIs, s.language) + RealToText(7, 2, s.longitude).trimmed() + deg;
    return line;
}

QString TimeSystemLine(const DialState& s) {
    if (s.timeSystem == 2) return QStringLiteral("[") + TextOf(TextId::TemporalHoursSpaced, s.language) + QStringLiteral(" ]");
    const bool eot = (s.apparentTimeLines && s.constructWithEoT) || s.meanTimeLines;
    QString line = QStringLiteral("[") +
                   (s.timeSystem == 1 ? TextOf(TextId::ApparentTimeAtZoneMeridian, s.language) : TextOf(TextId::ApparentTime, s.language)) +
                   QStringLiteral(" ") + (eot ? TextOf(TextId::WithEot, s.language) : TextOf(TextId::WithoutEot, s.language));
    line += (s.timeSystem == 0 && !eot) ? TextOf(TextId::ApparentTimeClosing, s.language) : QStringLiteral(" ]");
    return line;
}

void AzimuthConstruction::drawLegend() {
    const QString arial = QStringLiteral("Arial");
    const double x = ox_ + W_ / 25, y = oy_ + H_ / 25;
    p_.setTextColour(colour::kBlack, 0);
    p_.setFont(arial, printer() ? 45 : 20, true);
    p_.text(x, y, DialTitle(s_));
    p_.setFont(arial, printer() ? 35 : 14);
    const double th = p_.textHeight();
    p_.text(x, y + 2 * th, LatitudeLine(s_));
    p_.text(x, y + 3.5 * th, TimeSystemLine(s_));
    p_.setTextColour(colour::kRed, 0);
    p_.text(x, oy_ + H_ - H_ / 25 - th,
            TextOf(TextId::GnomonHeightHelp, s_.language));
    p_.setFont(arial, fontHeight_);
}

DialResult DrawAzimuthDial(const DialContext& context, const DialRequest& request, DialPainter& painter,
                           UserDialogs& dialogs) {
    AzimuthConstruction construction(context, request, painter, dialogs);
    DialResult result;
    result.zoomFactor = context.state.zoomFactor;
    result.drawn = construction.run();
    return result;
}

CastShadow AzimuthDialShadow(const DialContext& context, const DialRequest& request, const ShadowMoment& moment,
                             DialPainter& measure) {
    RecordingDialogs quiet;
    return AzimuthConstruction(context, request, measure, quiet).castShadow(moment);
}

bool WriteAzimuthDialPlot(const DialContext& context, PlotStream& stream, UserDialogs& dialogs) {
    const DialState& state = context.state;
    const bool dates = state.azimuthKind == 0;
    const bool small = !dates && state.altitudeCircleSpacing == 1 && state.basePlateDiameterCm < 11;
    if (dates) {
        stream.writeShortHead(ShortHead::Plain);
    } else {
        stream.writeStandardHead();
        stream.WritePlot(QStringLiteral(";PU;SI ") + stream.size(small ? 0.12 : 0.18) + QLatin1Char(',') +
                         stream.size(small ? 0.18 : 0.27));
    }
    const DialRequest request = PlotRequest(kSheetWidth, kSheetHeight);
    bool drawn = false;
    {
        // Pen widths are part of this plot whatever the line-width option: date and hour
        // lines carry their own.
        PlotPainter painter(stream, 2, dates ? 0 : 4);
        AzimuthConstruction construction(context, request, painter, dialogs);
        drawn = construction.run();
        if (drawn) DrawPlotShadow(context, request, painter);
        painter.flush();
    }
    if (!drawn) return false;
    const QStringList lines{LatitudeLine(state), TimeSystemLine(state)};
    if (dates)
        stream.titleBlock(0.3, 0.4, DialTitle(state), 0.15, 0.24, lines);
    else
        stream.titleBlock(0.28, 0.42, DialTitle(state), 0.16, 0.24, lines);
    stream.writeEnd(PlotEnd::PenAwayCompact);
    return true;
}

}  // namespace

// The date dial plots at p = 1 only; the altitude dial also at the resolution of a DXF.
constinit const DialConstruction kAzimuthDatesDial{
    .draw = DrawAzimuthDial, .writePlot = WriteAzimuthDialPlot, .fixedResolution = true, .shadow = AzimuthDialShadow};
constinit const DialConstruction kAzimuthAltitudesDial{
    .draw = DrawAzimuthDial, .writePlot = WriteAzimuthDialPlot, .shadow = AzimuthDialShadow};

}  // namespace zorva
