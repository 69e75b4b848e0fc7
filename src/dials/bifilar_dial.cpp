#include "dials/bifilar_dial.h"

#include "astro/angles.h"
#include "dials/added_dial_sheet.h"
#include "dials/dial_geometry.h"
#include "dials/dial_painter.h"
#include "dials/label_placer.h"
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

PlaneFrame FrameOf(const DialContext& c) {
    return c.state.bifilar.vertical ? FrameOfPlane(90.0, c.state.wallDeclination) : FrameOfPlane(0.0, 0.0);
}

class BifilarDrawing {
public:
    BifilarDrawing(const DialContext& c, const DialRequest& r, DialPainter& p)
        : c_(c), r_(r), sheet_(SheetOf(c, r)), p_(p), placer_(sheet_.rect()), dial_(BifilarDialOf(c)) {}
    void run();

private:
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

    const DialContext& c_;
    DialRequest r_;
    AddedDialSheet sheet_;
    DialPainter& p_;
    LabelPlacer placer_;
    BifilarDial dial_;
    DrawingArea area_;
    double k_ = 1, x0_ = 0, y0_ = 0, th_ = 12, eps_ = 23.44;
};

void BifilarDrawing::run() {
    th_ = sheet_.textHeight;
    eps_ = std::abs(c_.zodiacDeclinations()[7]) > 1.0 ? std::abs(c_.zodiacDeclinations()[7]) : 23.44;
    k_ = sheet_.unitsPerMm;
    const AltitudeDialArea& a = sheet_.area;
    if (a.plot()) {
        x0_ = a.W / 2;
        const bool wall = c_.state.bifilar.vertical;
        y0_ = wall ? 0.12 * a.H : c_.latitude < 0 ? 0.25 * a.H : 0.75 * a.H;
    } else {
        x0_ = r_.originX;
        y0_ = r_.originY;
    }
    area_ = {a.ox + 1, a.ox + a.W - 3, a.oy + 1, a.oy + a.H - 3};
    p_.setWindow(a.ox, a.oy, a.ox + a.W - 2, a.oy + a.H - 2);
    legend();
    threads();
    p_.setPenWidth(c_.lineWidth);
    dateLines();
    hourLines();
    p_.setPenWidth(1);
    if (!a.plot()) p_.resetWindow();
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
        std::optional<QPointF> end;
        auto take = [&](const ShadowSample& s) {
            curve.add(s);
            if (s.visible) end = QPointF(s.x, s.y);
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
        if (end) placer_.writeNear(p_, QString::number(hour), *end, 0.4 * th_,
                                   {LabelSide::Above, LabelSide::Below, LabelSide::Right, LabelSide::Left,
                                    LabelSide::AboveRight, LabelSide::AboveLeft});
    }
}

void BifilarDrawing::dateLines() {
    p_.setPenRole(kDates);
    p_.setTextRole(kDates);
    p_.setFont(QStringLiteral("Arial"), 0.8 * th_);
    const auto& zodiac = c_.zodiacDeclinations();
    for (int index = 1; index <= 7; ++index) {
        ShadowCurve curve(p_, area_);
        std::optional<QPointF> right;
        for (int i = 0; i <= 720; ++i) {
            const ShadowSample s = sample(-180.0 + 0.5 * i, zodiac[static_cast<size_t>(index)]);
            curve.add(s);
            if (s.visible && (!right || s.x > right->x())) right = QPointF(s.x, s.y);
        }
        if (right) placer_.writeNear(p_, SignEntryMonths(index, c_.language, p_), *right, 0.4 * th_,
                                     {LabelSide::Right, LabelSide::AboveRight, LabelSide::BelowRight, LabelSide::Left});
    }
}

void BifilarDrawing::threads() {
    // The lines under the threads, and the point under their crossing.
    const AltitudeDialArea& a = sheet_.area;
    p_.setPenColour(colour::kMaroon, kThreads);
    p_.setTextColour(colour::kMaroon, kThreads);
    p_.setLineStyle(LineStyle::Dashed);
    p_.polyline({QPointF(x0_, a.oy + 1), QPointF(x0_, a.oy + a.H - 3)});
    p_.polyline({QPointF(a.ox + 1, y0_), QPointF(a.ox + a.W - 3, y0_)});
    p_.setLineStyle(LineStyle::Solid);
    placer_.avoidLine(QLineF(x0_, a.oy, x0_, a.oy + a.H));
    placer_.avoidLine(QLineF(a.ox, y0_, a.ox + a.W, y0_));
    p_.circle(x0_, y0_, 0.35 * th_, FillStyle::Solid, colour::kMaroon);
    p_.setFont(QStringLiteral("Arial"), 0.9 * th_);
    const bool wall = c_.state.bifilar.vertical;
    const QString a1 = QStringLiteral("a = ") + LengthText(c_.state.bifilar.threadAMm, false) +
                       TextOf(wall ? TextId::ThreadUpright : TextId::ThreadNorthSouth, c_.language);
    const QString b1 = QStringLiteral("b = ") + LengthText(c_.state.bifilar.threadBMm, false) +
                       TextOf(wall ? TextId::ThreadAcross : TextId::ThreadEastWest, c_.language);
    placer_.write(p_, a1, {QPointF(x0_ + 0.4 * th_, a.oy + a.H - 2.6 * th_), QPointF(x0_ + 0.4 * th_, a.oy + 5 * th_)});
    placer_.write(p_, b1, {QPointF(a.ox + a.W - 3 - p_.textWidth(b1) - th_, y0_ + 0.3 * th_),
                           QPointF(a.ox + a.W - 3 - p_.textWidth(b1) - th_, y0_ - 1.3 * th_)});
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
    // Clear of the cross thread's line: at the top on level ground, at the bottom on a wall.
    const QPointF foot(a.ox + a.W - 4 * th_, wall ? a.oy + a.H - 3 * th_ : a.oy + 9 * th_);
    DrawOrientationArrow(p_, foot, QPointF(0, -1), 5 * th_, TextOf(wall ? TextId::Up : TextId::NorthLetter, c_.language));
    placer_.avoidBox(QRectF(foot.x() - th_, foot.y() - 7 * th_, 2 * th_, 7 * th_));
}

void BifilarDrawing::legend() {
    const Language l = c_.language;
    const BifilarSettings& b = c_.state.bifilar;
    p_.setTextRole(kText);
    p_.setFont(QStringLiteral("Arial"), 1.3 * th_, true);
    const double x = sheet_.area.ox + 1.5 * th_;
    const double y = sheet_.area.plot() || r_.screen() ? sheet_.area.oy + 1.2 * th_ : r_.textY;
    LegendBlock block(p_, sheet_.area.printer() ? r_.textX : x, y);
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
    placer_.avoidBox(QRectF(block.bottom() > y ? x : x, y, block.widest(), block.bottom() - y));
}

}  // namespace

BifilarDial BifilarDialOf(const DialContext& c) {
    return BifilarDial(FrameOf(c), c.state.latitude, c.state.bifilar.threadAMm, c.state.bifilar.threadBMm);
}

QString BifilarRefusal(const DialContext& c) {
    switch (CheckThreads(c.state.bifilar.threadAMm, c.state.bifilar.threadBMm)) {
    case BifilarProblem::None: return {};
    case BifilarProblem::ThreadOnPlane: return TextOf(TextId::ThreadOnPlane, c.language);
    case BifilarProblem::ThreadsTouch: break;
    }
    return TextOf(TextId::ThreadsTouch, c.language);
}

DialResult DrawBifilarDial(const DialContext& c, const DialRequest& r, DialPainter& p, UserDialogs& d) {
    DialResult result;
    result.zoomFactor = c.state.zoomFactor;
    const QString refusal = BifilarRefusal(c);
    if (!refusal.isEmpty()) {
        d.inform(caption(CaptionKind::Warning, c.language), refusal, Icon::Warning);
        DrawRefusalText(p, SheetOf(c, r), refusal);
        return result;
    }
    BifilarDrawing(c, r, p).run();
    result.drawn = true;
    return result;
}

bool WriteBifilarPlot(const DialContext& c, PlotStream& stream, UserDialogs& dialogs) {
    return WriteSheetPlot(c, stream, dialogs, BifilarRefusal(c), PlotEnd::WindowReset,
                          [&](auto& r, auto& painter) { BifilarDrawing(c, r, painter).run(); });
}

}  // namespace zorva
