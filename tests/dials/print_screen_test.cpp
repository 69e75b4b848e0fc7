// The printout and the screen of one construction: drawn through the painter interface on
// both targets, every stroke of the page lies where the screen has it, in millimetres from
// the gnomon's foot, and every hour numeral inside the drawing stands at the same place.
#include "dials/dial_geometry.h"
#include "dials/dial_render.h"
#include "dials/label_placer.h"
#include "text/named_texts.h"
#include "recording_painter.h"
#include "test_sites.h"
#include "text/recording_dialogs.h"

#include <QLineF>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace zorva {
namespace {

using test::Primitive;
using test::RecordingPainter;

// A window image with the proportions of the printable area (282 x 200 mm).
constexpr int kWidth = 1128, kHeight = 800;

struct Drawing {
    std::vector<QLineF> strokes;  // mm from the gnomon's foot, y down
    std::vector<int> roles;
    std::vector<std::pair<QString, QPointF>> numerals;  // centre of each number's box, mm
    QRectF area;                  // the drawing area, mm from the gnomon's foot
};

Drawing InMillimetres(const RecordingPainter& p, QPointF origin, double unitsPerMm, const QRectF& area) {
    Drawing d;
    auto mm = [&](QPointF q) { return (q - origin) / unitsPerMm; };
    for (const Primitive& l : p.all(Primitive::Line))
        // Role 3 (without mean-time lines): the gnomon's measure and the style foot's mark,
        // which stand with the legend, placed in proportion to the sheet; -1: the frame.
        if (l.role >= 0 && l.role != 3) {
            d.strokes.emplace_back(mm(l.points[0]), mm(l.points[1]));
            d.roles.push_back(l.role);
        }
    for (const Primitive& t : p.all(Primitive::Text)) {
        bool number = false;
        t.text.toInt(&number);
        if (number) d.numerals.emplace_back(t.text, mm(t.points[0] + QPointF(0.3 * t.fontHeight * t.text.size(), t.fontHeight / 2)));
    }
    d.area = QRectF(mm(area.topLeft()), mm(area.bottomRight()));
    return d;
}

double DistanceToSegment(QPointF p, const QLineF& l) {
    const QPointF ab = l.p2() - l.p1();
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - l.p1(), ab) / len2, 0.0, 1.0) : 0.0;
    const QPointF q = l.p1() + t * ab;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

double Nearest(QPointF p, const std::vector<QLineF>& lines) {
    double best = 1e300;
    for (const QLineF& l : lines) best = std::min(best, DistanceToSegment(p, l));
    return best;
}

// Every stroke end of `from` well inside both areas lies on a stroke of `to`.
void ExpectStrokesOn(const Drawing& from, const Drawing& to, double toleranceMm, const std::string& what) {
    const QRectF common = from.area.intersected(to.area).adjusted(6, 6, -6, -6);
    int compared = 0, off = 0;
    for (size_t i = 0; i < from.strokes.size(); i += 3) {
        for (const QPointF& p : {from.strokes[i].p1(), from.strokes[i].p2()}) {
            if (!common.contains(p)) continue;
            ++compared;
            const double d = Nearest(p, to.strokes);
            if (d > toleranceMm && ++off <= 5)
                ADD_FAILURE() << what << ": a stroke of role " << from.roles[i] << " at " << p.x() << "," << p.y() << " mm is " << d << " mm from the other's";
        }
    }
    EXPECT_GT(compared, 50) << what;
    EXPECT_EQ(off, 0) << what << " of " << compared;
}

// The printout of a fresh window of kWidth x kHeight on an A4 page with no margins given.
struct Printout {
    RecordingPainter page;
    PrintArea area = FitPrintableArea(0, 0, 0, 0);
    QRectF paper() const { return QRectF(area.xOffset, area.yOffset, area.width, area.height); }
};
bool Print(const DialState& s, Printout& out) {
    RecordingDialogs dialogs;
    PrintPlacement placement;
    placement.screen = DefaultGnomonPlacement(s, kWidth, kHeight);
    placement.drawSize = QSize(kWidth, kHeight);
    return DrawDialOnPage(out.page, out.area, s, placement, dialogs).drawn;
}

void ExpectPrintoutEqualsScreen(const DialState& s, const std::string& what) {
    RecordingDialogs dialogs;
    RecordingPainter screen;
    const GnomonPlacement g = DefaultGnomonPlacement(s, kWidth, kHeight);
    ASSERT_TRUE(DrawDialOnScreen(s, DefaultScreenRequest(s, QSize(kWidth, kHeight)), screen, dialogs).drawn) << what;
    const double screenPerMm = ScreenUnitsPerMm(kWidth, false);
    const Drawing onScreen = InMillimetres(screen, {g.originX, g.originY}, screenPerMm, QRectF(0, 0, kWidth, kHeight));

    Printout printed;
    ASSERT_TRUE(Print(s, printed)) << what;
    const PrintArea& area = printed.area;
    // The gnomon's foot on paper, as the page places it.
    const QPointF pageOrigin(area.xOffset + std::round(double(area.width) / kWidth * g.originX),
                             area.yOffset + std::round(double(area.height) / kHeight * g.originY));
    const Drawing onPaper = InMillimetres(printed.page, pageOrigin, 10.0, printed.paper());

    // A pixel of the screen is a quarter millimetre.
    ExpectStrokesOn(onScreen, onPaper, 0.6, what + ", screen on paper");
    ExpectStrokesOn(onPaper, onScreen, 0.6, what + ", paper on screen");
    // The numbers inside the drawing: the same ones, each near its place on the screen (the
    // letters of the screen and of the printer differ a little in size). Those by the edge
    // follow their line to the edge of the sheet, which is 288 mm wide on the screen and
    // 282 mm on paper.
    const QRectF inner = onScreen.area.intersected(onPaper.area).adjusted(20, 20, -20, -20);
    int numerals = 0;
    for (const auto& [text, at] : onScreen.numerals) {
        if (!inner.contains(at)) continue;
        ++numerals;
        double best = 1e300;
        for (const auto& [other, there] : onPaper.numerals)
            if (other == text) best = std::min(best, std::hypot(at.x() - there.x(), at.y() - there.y()));
        EXPECT_LT(best, 2.0) << what << ": numeral " << text.toStdString() << " at " << at.x() << "," << at.y() << " mm";
    }
    EXPECT_GT(numerals, 3) << what;
}

DialState Site(double latitude) {
    DialState s = test::AtTestSite(StartupState(), latitude);
    s.zoomFactor = 1.0;
    return s;
}

TEST(PrintoutAndScreen, PlanarDialsHaveTheirLinesAndNumeralsInTheSamePlaces) {
    DialState h = Site(47);
    h.dialType = 'h';
    ExpectPrintoutEqualsScreen(h, "horizontal 47 N");
    DialState v = Site(47);
    v.dialType = 'v';
    v.wallDeclination = 30;
    ExpectPrintoutEqualsScreen(v, "vertical declining 30 W");
    DialState south = Site(-35);
    south.dialType = 'h';
    ExpectPrintoutEqualsScreen(south, "horizontal 35 S");
}

QRectF TextBox(const Primitive& t) { return QRectF(t.points[0], QSizeF(0.6 * t.fontHeight * t.text.size(), t.fontHeight)); }

// A text of the layout (the sunlit times, the gnomon's measure) stands where no line of the
// dial runs, over no other text, on the sheet.
void ExpectTextClear(const RecordingPainter& drawn, const QString& start, const QRectF& sheet, const std::string& what) {
    int found = 0;
    for (const Primitive& t : drawn.all(Primitive::Text)) {
        if (!t.text.startsWith(start)) continue;
        ++found;
        const QRectF box = TextBox(t);
        EXPECT_TRUE(sheet.contains(box)) << what;
        int crossing = 0;
        for (const Primitive& l : drawn.all(Primitive::Line))
            if (l.role >= 0 && SegmentMeetsRect(QLineF(l.points[0], l.points[1]), box)) ++crossing;
        EXPECT_EQ(crossing, 0) << what << ": lines through " << t.text.toStdString();
        for (const Primitive& other : drawn.all(Primitive::Text)) {
            if (other.text == t.text) continue;
            EXPECT_FALSE(box.intersects(TextBox(other))) << what << ": " << t.text.toStdString() << " over " << other.text.toStdString();
        }
    }
    EXPECT_EQ(found, 1) << what << ": " << start.toStdString();
}

// The gnomon's measure is an L of two strokes of the gnomon's length; no number or sign may
// stand in its corner, where it would read as part of the scale.
void ExpectMeasureCornerFree(const RecordingPainter& drawn, const std::string& what) {
    // Its two long strokes, of the text role, meet at the corner (bottom left).
    std::vector<QLineF> legs;
    for (const Primitive& l : drawn.all(Primitive::Line))
        if (l.role == 3) legs.emplace_back(l.points[0], l.points[1]);
    std::optional<QRectF> corner;
    for (const QLineF& a : legs)
        for (const QLineF& b : legs)
            if (std::abs(a.dx()) < 1e-9 && std::abs(b.dy()) < 1e-9 && a.length() > 20 && std::abs(a.length() - b.length()) < 1e-6 &&
                a.p2() == b.p1())
                corner = QRectF(QPointF(a.p2().x(), a.p1().y()), b.p2());
    ASSERT_TRUE(corner) << what << ": no measure";
    for (const Primitive& t : drawn.all(Primitive::Text)) {
        if (t.text.size() <= 3) {
            EXPECT_FALSE(corner->intersects(TextBox(t))) << what << ": " << t.text.toStdString() << " in the measure's corner";
        }
    }
}

TEST(PrintoutAndScreen, LayoutTextsKeepOffTheLines) {
    for (const auto& [latitude, type, declination] : {std::tuple{47.0, 'h', 0.0}, std::tuple{47.0, 'v', 30.0},
                                                      std::tuple{-35.0, 'h', 0.0}}) {
        for (Language language : {Language::German, Language::English}) {
            DialState s = Site(latitude);
            s.dialType = type;
            s.wallDeclination = declination;
            s.language = language;
            const std::string what = std::string(1, type) + " at " + std::to_string(latitude) + (language == Language::English ? " en" : " de");
            Printout printed;
            ASSERT_TRUE(Print(s, printed)) << what;
            const RecordingPainter& page = printed.page;
            const QRectF paper = printed.paper();
            ExpectTextClear(page, TextOf(TextId::SunOnDialPlane, s.language), paper, what + " on paper");
            ExpectTextClear(page, TextOf(TextId::GnomonHeight, s.language), paper, what + " on paper");
            ExpectMeasureCornerFree(page, what + " on paper");

            RecordingPainter screen;
            RecordingDialogs dialogs;
            ASSERT_TRUE(DrawDialOnScreen(s, DefaultScreenRequest(s, QSize(kWidth, kHeight)), screen, dialogs).drawn) << what;
            const QRectF window(30, 30, kWidth - 62, kHeight - 62);
            ExpectTextClear(screen, TextOf(TextId::GnomonHeight, s.language), window, what + " on screen");
            ExpectMeasureCornerFree(screen, what + " on screen");
        }
    }
}

}  // namespace
}  // namespace zorva
