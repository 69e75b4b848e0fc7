#include "dials/bifilar_dial.h"

#include "astro/angles.h"
#include "dials/added_dial_sheet.h"
#include "dials/dial_geometry.h"
#include "dials/dial_painter.h"
#include "dials/label_placer.h"
#include "dials/live_shadow.h"
#include "dials/sheet_plot.h"
#include "text/named_texts.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QLineF>

#include <algorithm>
#include <cmath>
#include <optional>

namespace zorva {
namespace {

enum Role { kFrame = 0, kDates = 1, kHours = 2, kText = 3, kMeanHours = 5, kThreads = 9 };

PlaneFrame FrameOf(const DialState& s) {
    return s.bifilar.vertical ? FrameOfPlane(90.0, s.wallDeclination) : FrameOfPlane(0.0, 0.0);
}

// The height of the legend at the top of the sheet, millimetres (title and three lines).
constexpr double kLegendStripMm = 26.0;

class BifilarDrawing {
public:
    BifilarDrawing(const DialContext& c, const DialRequest& r, DialPainter& p)
        : c_(c), r_(r), sheet_(SheetOf(c, r)), p_(p), placer_(sheet_.rect()), dial_(BifilarDialOf(c)) {}
    void run();
    // Both threads' shadows across the drawing and their crossing, the point the dial reads.
    CastShadow shadow(const ShadowMoment& moment);

private:
    void layout();
    ShadowSample sample(double t, double delta) const {
        ShadowSample s;
        const auto q = dial_.lit(t, delta) ? dial_.at(t, delta) : std::nullopt;
        if (!q) return s;
        s.x = x0_ + q->x() * k_;
        s.y = y0_ - q->y() * k_;
        s.frontLit = s.sunlit = true;
        s.visible = area_.contains(s.x, s.y);
        return s;
    }
    void hourLines();
    void dateLines();
    void threads();
    void legend();
    // Numbers and month names wait until every line is traced, so that each keeps off all of
    // them, not only those drawn before it.
    void writeLabels();
    struct PendingLabel {
        QString text;
        int role = 0;
        double fontSize = 12;
        std::vector<QPointF> places;  // top-left corners, best first
    };
    std::vector<PendingLabel> labels_;

    const DialContext& c_;
    DialRequest r_;
    AddedDialSheet sheet_;
    DialPainter& p_;
    LabelPlacer placer_;
    BifilarDial dial_;
    DrawingArea area_;
    double k_ = 1, x0_ = 0, y0_ = 0, th_ = 12, eps_ = 23.44;
    double legendBottom_ = 0;
    size_t hourLabels_ = 0;  // where the hour numbers go in: after the threads' texts
};

void BifilarDrawing::layout() {
    th_ = sheet_.textHeight;
    eps_ = std::abs(c_.zodiacDeclinations()[7]) > 1.0 ? std::abs(c_.zodiacDeclinations()[7]) : 23.44;
    k_ = sheet_.unitsPerMm;
    const AltitudeDialArea& a = sheet_.area;
    if (a.plot()) {
        x0_ = a.ox + a.W / 2;
        y0_ = BifilarCrossingRow(c_.state, a.oy, a.W, a.H, k_);
    } else {
        x0_ = r_.originX;
        y0_ = r_.originY;
    }
    // The legend decides where the lines may run: the sheet below it.
    legend();
    area_ = {a.ox + 1, a.ox + a.W - 3, std::max(a.oy + 1, legendBottom_ + 0.5 * th_), a.oy + a.H - 3};
}

void BifilarDrawing::run() {
    const AltitudeDialArea& a = sheet_.area;
    p_.setWindow(a.ox, a.oy, a.ox + a.W - 2, a.oy + a.H - 2);
    layout();
    threads();
    p_.setPenWidth(c_.lineWidth);
    dateLines();
    hourLines();
    p_.setPenWidth(1);
    writeLabels();
    if (!a.plot()) p_.resetWindow();
}

void BifilarDrawing::writeLabels() {
    for (const PendingLabel& l : labels_) {
        if (l.role == kThreads) p_.setTextColour(colour::kMaroon, kThreads);
        else p_.setTextRole(l.role);
        p_.setFont(QStringLiteral("Arial"), l.fontSize);
        placer_.write(p_, l.text, l.places);
    }
    labels_.clear();
}

CastShadow BifilarDrawing::shadow(const ShadowMoment& moment) {
    layout();
    CastShadow out = SunlitShadow(c_, moment, QRectF(QPointF(area_.xmin, area_.ymin), QPointF(area_.xmax, area_.ymax)));
    if (out.status == ShadowStatus::SunDown) return out;
    const Vec3 s = SunDirection(out.sun.hourAngle, out.sun.declination, c_.state.latitude);
    const std::optional<QPointF> crossing = dial_.shadow(s);
    if (!crossing) {
        out.status = ShadowStatus::PlaneNotLit;
        return out;
    }
    const QPointF at(x0_ + crossing->x() * k_, y0_ - crossing->y() * k_);
    if (!area_.contains(at.x(), at.y())) return out;
    // Each thread's shadow runs parallel to its thread: across the whole drawing.
    out.status = ShadowStatus::Cast;
    out.mark = ShadowMark::ThreadShadows;
    out.gnomon.push_back({QPointF(at.x(), area_.ymin), QPointF(at.x(), area_.ymax)});
    out.gnomon.push_back({QPointF(area_.xmin, at.y()), QPointF(area_.xmax, at.y())});
    out.nodus = at;
    return out;
}

void BifilarDrawing::hourLines() {
    const HourReckoning r = c_.state.bifilar.reckoning;
    const bool mean = IsMeanReckoning(r);
    p_.setPenRole(mean ? kMeanHours : kHours);
    p_.setTextRole(mean ? kMeanHours : kHours);
    p_.setFont(QStringLiteral("Arial"), th_);
    const double meridian = IsZoneReckoning(r) ? c_.zoneMeridian : c_.longitude;
    for (int hour = 0; hour < 24; ++hour) {
        ShadowCurve curve(p_, area_);
        std::vector<QPointF> shown;
        auto take = [&](const ShadowSample& s) {
            curve.add(s);
            if (s.visible) shown.push_back(QPointF(s.x, s.y));
        };
        if (!mean) {
            const double t = ClockHourAngle(c_, r, hour, 0.0);
            for (int i = 0; i <= 46; ++i) take(sample(t, -eps_ + 2 * eps_ * i / 46));
        } else {
            // The clock's hour on every day: a loop over the year (the equation of time
            // moves it across, the declination along).
            const double u = (hour + meridian / 15.0 - 12.0) / 24.0;
            for (int day = 1; day <= 366; ++day) {
                const DeclinationEoT sun = c_.ephemeris().at(std::min(day, 365), u);
                take(sample(ClockHourAngle(c_, r, hour, sun.eot), sun.declination));
            }
        }
        for (const QLineF& stroke : curve.strokes()) placer_.avoidLine(stroke);
        if (shown.empty()) continue;
        // At the line's end, or further back along it where the end is crowded.
        const QString text = QString::number(hour);
        const double w = p_.textWidth(text), h = p_.textHeight(), gap = 0.4 * th_;
        std::vector<QPointF> places;
        for (size_t eighth = 0; eighth < 8; ++eighth) {
            const QPointF a = shown[shown.size() - 1 - shown.size() * eighth / 8];
            places.insert(places.end(), {QPointF(a.x() - w / 2, a.y() - gap - h), QPointF(a.x() - w / 2, a.y() + gap),
                                         QPointF(a.x() + gap, a.y() - h / 2), QPointF(a.x() - gap - w, a.y() - h / 2)});
        }
        // Then round the end, farther out: an hour loop cut by the sheet's edge leaves little room.
        const QPointF end = shown.back();
        for (double r : {1.5, 2.5, 3.5})
            for (int k = 0; k < 12; ++k) {
                const double angle = k * kPi / 6;
                places.push_back(end + r * h * QPointF(std::cos(angle), std::sin(angle)) - QPointF(w / 2, h / 2));
            }
        // Hour numbers before the months: where room is short, a month name gives way.
        labels_.insert(labels_.begin() + hourLabels_++, PendingLabel{text, mean ? kMeanHours : kHours, th_, places});
    }
}

void BifilarDrawing::dateLines() {
    p_.setPenRole(kDates);
    p_.setTextRole(kDates);
    p_.setFont(QStringLiteral("Arial"), 0.8 * th_);
    const auto& zodiac = c_.zodiacDeclinations();
    for (int index = 1; index <= 7; ++index) {
        ShadowCurve curve(p_, area_);
        std::vector<QPointF> shown;
        for (int i = 0; i <= 720; ++i) {
            const ShadowSample s = sample(-180.0 + 0.5 * i, zodiac[static_cast<size_t>(index)]);
            curve.add(s);
            if (s.visible) shown.push_back(QPointF(s.x, s.y));
        }
        for (const QLineF& stroke : curve.strokes()) placer_.avoidLine(stroke);
        if (shown.empty()) continue;
        // Right of the line's right end; where that end meets the sheet's edge, above or
        // below the line a little further in, so that the name is neither cut nor on its line.
        std::sort(shown.begin(), shown.end(), [](QPointF a, QPointF b) { return a.x() > b.x(); });
        const QString text = SignEntryMonths(index, c_.language, p_);
        const double w = p_.textWidth(text), h = p_.textHeight(), gap = 0.4 * th_;
        std::vector<QPointF> places{{shown.front().x() + gap, shown.front().y() - h / 2}};
        for (double back : {0.0, 1.0, 2.0, 4.0, 6.0, 9.0, 12.0, 16.0, 20.0, 25.0, 30.0}) {
            const double x = shown.front().x() - gap - back * h - w;
            // Over or under the line where it runs beneath the name's width.
            double high = shown.front().y(), low = high;
            for (const QPointF& q : shown)
                if (q.x() >= x - gap && q.x() <= x + w + gap) high = std::min(high, q.y()), low = std::max(low, q.y());
            places.insert(places.end(), {QPointF(x, high - gap - h), QPointF(x, low + gap)});
        }
        labels_.push_back(PendingLabel{text, kDates, 0.8 * th_, places});
    }
}

void BifilarDrawing::threads() {
    // The lines under the threads, and the point under their crossing.
    const AltitudeDialArea& a = sheet_.area;
    p_.setPenColour(colour::kMaroon, kThreads);
    p_.setTextColour(colour::kMaroon, kThreads);
    p_.setLineStyle(LineStyle::Dashed);
    const bool crossingShown = area_.contains(x0_, y0_);
    if (x0_ >= area_.xmin && x0_ <= area_.xmax) {
        p_.polyline({QPointF(x0_, area_.ymin), QPointF(x0_, area_.ymax)});
        placer_.avoidLine(QLineF(x0_, area_.ymin, x0_, area_.ymax));
    }
    if (y0_ >= area_.ymin && y0_ <= area_.ymax) {
        p_.polyline({QPointF(area_.xmin, y0_), QPointF(area_.xmax, y0_)});
        placer_.avoidLine(QLineF(area_.xmin, y0_, area_.xmax, y0_));
    }
    p_.setLineStyle(LineStyle::Solid);
    if (crossingShown) p_.circle(x0_, y0_, 0.35 * th_, FillStyle::Solid, colour::kMaroon);
    p_.setFont(QStringLiteral("Arial"), 0.9 * th_);
    const bool wall = c_.state.bifilar.vertical;
    const QString a1 = QStringLiteral("a = ") + LengthText(c_.state.bifilar.threadAMm, false) +
                       TextOf(wall ? TextId::ThreadUpright : TextId::ThreadNorthSouth, c_.language);
    const QString b1 = QStringLiteral("b = ") + LengthText(c_.state.bifilar.threadBMm, false) +
                       TextOf(wall ? TextId::ThreadAcross : TextId::ThreadEastWest, c_.language);
    // Beside their lines, placed with the numbers once every line is traced: along the
    // north-south line from the bottom up, along the east-west line from the right inward.
    std::vector<QPointF> alongA, alongB;
    for (double k = 0; k <= 16; ++k) {
        alongA.emplace_back(x0_ + 0.4 * th_, a.oy + a.H - (2.6 + 2 * k) * th_);
        alongA.emplace_back(x0_ - 0.4 * th_ - p_.textWidth(a1), a.oy + a.H - (2.6 + 2 * k) * th_);
    }
    alongA.emplace_back(x0_ + 0.4 * th_, area_.ymin + 0.5 * th_);
    for (double k = 0; k <= 16; ++k) {
        const double x = a.ox + a.W - 3 - p_.textWidth(b1) - (1 + 2 * k) * th_;
        alongB.emplace_back(x, y0_ + 0.3 * th_);
        alongB.emplace_back(x, y0_ - 1.3 * th_);
    }
    labels_.push_back(PendingLabel{a1, kThreads, 0.9 * th_, alongA});
    labels_.push_back(PendingLabel{b1, kThreads, 0.9 * th_, alongB});
    hourLabels_ = labels_.size();
    if (const auto centre = dial_.hourLineCentre()) {
        const QPointF z(x0_ + centre->x() * k_, y0_ - centre->y() * k_);
        if (area_.contains(z.x(), z.y())) {
            p_.polyline({z - QPointF(0.5 * th_, 0), z + QPointF(0.5 * th_, 0)});
            p_.polyline({z - QPointF(0, 0.5 * th_), z + QPointF(0, 0.5 * th_)});
        }
    }
    // North on level ground (up on the drawing), up on a wall.
    p_.setPenRole(kFrame);
    p_.setTextRole(kFrame);
    p_.setFont(QStringLiteral("Arial"), 1.2 * th_, true);
    // In the strip beside the legend, where no line is drawn.
    const QPointF foot(a.ox + a.W - 4 * th_, area_.ymin - 0.3 * th_);
    const QString up = TextOf(wall ? TextId::Up : TextId::NorthLetter, c_.language);
    DrawOrientationArrow(p_, foot, QPointF(0, -1), 5 * th_, up);
    const double half = std::max(th_, 0.5 * p_.textWidth(up) + 0.2 * th_);
    placer_.avoidBox(QRectF(foot.x() - half, foot.y() - 7 * th_, 2 * half, 7 * th_));
}

void BifilarDrawing::legend() {
    const Language l = c_.language;
    const BifilarSettings& b = c_.state.bifilar;
    p_.setTextRole(kText);
    p_.setFont(QStringLiteral("Arial"), 1.3 * th_, true);
    // Top left on every target, so that the page shows what the screen shows.
    const double x = sheet_.area.ox + 1.5 * th_;
    const double y = sheet_.area.oy + 1.2 * th_;
    LegendBlock block(p_, x, y);
    block.line(TextOf(TextId::BifilarTitle, l) + TextOf(b.vertical ? TextId::OnTheWall : TextId::OnLevelGround, l));
    p_.setFont(QStringLiteral("Arial"), th_);
    const QString deg = QStringLiteral("°");
    QString site = TextOf(TextId::LatitudeIs, l) + RealToText(2, 2, c_.state.latitude).trimmed() + deg;
    if (IsZoneReckoning(b.reckoning))
        site += TextOf(TextId::LongitudeIs, l) + RealToText(2, 2, c_.state.longitude).trimmed() + deg;
    if (b.vertical) site += TextOf(TextId::WallDeclinationIs, l) + RealToText(1, 1, c_.state.wallDeclination).trimmed() + deg;
    block.line(site);
    QString threads = TextOf(TextId::ThreadsAre, l) + QStringLiteral("a = ") + LengthText(b.threadAMm, false) +
                      QStringLiteral(", b = ") + LengthText(b.threadBMm, false);
    if (const auto even = EvenSpacingThread(dial_.plane(), c_.state.latitude, b.threadAMm))
        threads += TextOf(TextId::EvenSpacingAt, l) + LengthText(*even, false);
    block.line(threads);
    block.line(TextOf(ReckoningText(b.reckoning), l));
    placer_.avoidBox(QRectF(x, y, block.widest(), block.bottom() - y));
    legendBottom_ = block.bottom();
}

}  // namespace

BifilarDial BifilarDialOf(const DialState& s) {
    return BifilarDial(FrameOf(s), s.latitude, s.bifilar.threadAMm, s.bifilar.threadBMm);
}

BifilarDial BifilarDialOf(const DialContext& c) { return BifilarDialOf(c.state); }

double BifilarCrossingRow(const DialState& s, double top, double width, double height, double unitsPerMm) {
    // The middle of the dial: its date lines within a quarter of the sheet's width of the
    // crossing (further out they spread toward the rising and setting sun).
    const BifilarDial dial = BifilarDialOf(s);
    const double half = 0.25 * width / unitsPerMm;
    double low = 1e300, high = -1e300;
    for (double delta : {-23.44, 0.0, 23.44}) {
        for (int i = 0; i <= 360; ++i) {
            const double t = -180.0 + i;
            const auto q = dial.lit(t, delta) ? dial.at(t, delta) : std::nullopt;
            if (!q || std::abs(q->x()) > half) continue;
            low = std::min(low, q->y());
            high = std::max(high, q->y());
        }
    }
    if (low > high) return top + 0.75 * height;
    // The room below the legend strip; lines are drawn on top of y = row - y_mm * k.
    const double roomTop = top + kLegendStripMm * unitsPerMm, roomBottom = top + height - 4.0 * unitsPerMm;
    if ((high - low) * unitsPerMm <= roomBottom - roomTop)
        return (roomTop + roomBottom) / 2 + (high + low) / 2 * unitsPerMm;
    // Too tall: the end nearer the crossing (the summer's short shadows) stays in the room.
    return std::abs(low) < std::abs(high) ? roomBottom + low * unitsPerMm : roomTop + high * unitsPerMm;
}

QString BifilarRefusal(const DialContext& c) {
    switch (CheckThreads(c.state.bifilar.threadAMm, c.state.bifilar.threadBMm)) {
    case BifilarProblem::None: return {};
    case BifilarProblem::ThreadOnPlane: return TextOf(TextId::ThreadOnPlane, c.language);
    case BifilarProblem::ThreadsTouch: break;
    }
    return TextOf(TextId::ThreadsTouch, c.language);
}

constinit const DialConstruction kBifilarDial = AddedDialConstruction<BifilarDrawing, BifilarRefusal>();

}  // namespace zorva
