// The numbers of the planar dials' lines: where they stand, that they keep off each other and
// on the sheet, and what the plot files get.
#include "dials/dial_render.h"
#include "dials/planar_dial.h"
#include "dials/planar_plot.h"
#include "plot/plot_stream.h"
#include "recording_painter.h"
#include "text/recording_dialogs.h"

#include <QBuffer>
#include <QRectF>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorva {
namespace {

using test::Primitive;
using test::RecordingPainter;

constexpr int kWidth = 1152, kHeight = 784;  // 4 pixels per millimetre on an A4 layout
constexpr int kApparentRole = 2;

DialState OnlyApparent(char letter, double latitude, int from, int to) {
    DialState s = StartupState();
    s.dialType = letter;
    s.latitude = latitude;
    s.longitude = -9.59;
    s.zoneMeridian = -15;
    s.wallDeclination = letter == 'v' ? 30 : 0;
    s.planeInclination = letter == 'i' ? 60 : 0;
    s.zoomFactor = 1.0;
    s.apparentTimeLines = true;
    s.hourLineInterval = '0';
    s.hourFrom = from;
    s.hourTo = to;
    s.meanTimeLines = s.markAnalemma = false;
    s.babylonianHours = s.italianHours = s.temporalHours = s.altitudeLines = false;
    s.wholeHourDaylengthLines = false;
    s.drawPoleTriangle = false;
    s.linesToStyleFoot = false;
    s.dateLineMode = '3';
    s.numeralStyle = NumeralStyle::Arabic;
    return s;
}

DialRequest ScreenRequest(const DialState& s) { return DefaultScreenRequest(s, QSize(kWidth, kHeight)); }

struct Drawn {
    RecordingPainter painter;
    RecordingDialogs dialogs;
    DialRequest request;
};

std::unique_ptr<Drawn> Draw(const DialState& s) {
    auto d = std::make_unique<Drawn>();
    d->request = ScreenRequest(s);
    DrawPlanarDial(s, d->request, d->painter, d->dialogs);
    return d;
}

// The box of a text as the painter measured it (in the text's own font).
QRectF Box(const RecordingPainter&, const Primitive& t) {
    return QRectF(t.points[0], QSizeF(0.6 * t.fontHeight * t.text.size(), t.fontHeight));
}

// Numbers, degrees, dates and zodiac signs; the legend and the measure are longer texts.
bool IsNumeral(const Primitive& p) {
    static const QRegularExpression numeral(QStringLiteral("^([0-9]+°?|[IVXLC]+|[0-9]+\\.[0-9]+\\.|[\\x{2648}-\\x{2653}]\\x{FE0E})$"));
    return p.kind == Primitive::Text && numeral.match(p.text).hasMatch();
}

std::vector<Primitive> Numerals(const RecordingPainter& painter) {
    std::vector<Primitive> out;
    for (const Primitive& p : painter.items)
        if (IsNumeral(p)) out.push_back(p);
    return out;
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF d = b - a;
    const double len2 = d.x() * d.x() + d.y() * d.y();
    const double t = len2 > 0 ? std::clamp(((p - a).x() * d.x() + (p - a).y() * d.y()) / len2, 0.0, 1.0) : 0.0;
    const QPointF q = a + t * d;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

double DistanceToBox(QPointF p, const QRectF& r) {
    const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
    const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
    return std::hypot(dx, dy);
}

// The visible drawing inside the screen's white border.
QRectF ScreenSheet() { return QRectF(QPointF(30, 30), QPointF(kWidth - 32, kHeight - 32)); }

void ExpectApart(const RecordingPainter& painter, const std::vector<Primitive>& numerals, const QRectF& sheet,
                 const std::string& what) {
    for (size_t i = 0; i < numerals.size(); ++i) {
        const QRectF a = Box(painter, numerals[i]);
        EXPECT_TRUE(sheet.contains(a)) << what << ": " << numerals[i].text.toStdString() << " at " << a.x() << ","
                                       << a.y() << " leaves the sheet";
        for (size_t j = i + 1; j < numerals.size(); ++j) {
            const QRectF b = Box(painter, numerals[j]);
            EXPECT_FALSE(a.intersects(b)) << what << ": " << numerals[i].text.toStdString() << " over "
                                          << numerals[j].text.toStdString();
        }
    }
}

// Each hour line drawn alone: its number is the hour, lies beside the line and at its outer
// end (farther from the nodus foot than the line's inner end), on the sheet.
TEST(PlanarNumerals, EachHourNumberSitsAtTheOuterEndOfItsLine) {
    struct Case {
        char letter;
        double latitude;
    };
    for (const Case c : {Case{'h', 47.25}, Case{'h', -35.0}, Case{'v', 47.25}, Case{'v', -35.0}, Case{'i', 47.25},
                         Case{'i', -35.0}}) {
        for (int hour = 8; hour <= 16; ++hour) {
            const DialState s = OnlyApparent(c.letter, c.latitude, hour, hour);
            const auto d = Draw(s);
            const std::vector<Primitive> strokes = d->painter.lines(kApparentRole);
            const std::vector<Primitive> numbers = Numerals(d->painter);
            const std::string where = std::string(1, c.letter) + " " + std::to_string(c.latitude) + " " +
                                      std::to_string(hour) + " h";
            if (strokes.empty()) {
                EXPECT_TRUE(numbers.empty()) << where << ": a number without its line";
                continue;
            }
            ASSERT_EQ(numbers.size(), 1u) << where;
            EXPECT_EQ(numbers[0].text, QString::number(hour)) << where;
            const QRectF box = Box(d->painter, numbers[0]);
            EXPECT_TRUE(ScreenSheet().contains(box)) << where;
            // Ends of the drawn line nearest to and farthest from the nodus foot.
            const QPointF foot(d->request.originX, d->request.originY);
            QPointF inner, outer;
            double near = std::numeric_limits<double>::max(), far = -1, toLine = std::numeric_limits<double>::max();
            for (const Primitive& l : strokes) {
                for (const QPointF& p : l.points) {
                    const double r = std::hypot(p.x() - foot.x(), p.y() - foot.y());
                    if (r < near) near = r, inner = p;
                    if (r > far) far = r, outer = p;
                }
                toLine = std::min(toLine, DistanceToSegment(box.center(), l.points[0], l.points[1]));
            }
            const double h = numbers[0].fontHeight;
            EXPECT_LT(toLine, 3.5 * h) << where << ": the number is not beside its line";
            // An end under the legend sends the number back along its line.
            bool endUnderLegend = false;
            for (const Primitive& t : d->painter.all(Primitive::Text))
                if (!IsNumeral(t) && DistanceToBox(outer, Box(d->painter, t)) < 3 * h) endUnderLegend = true;
            if (endUnderLegend) continue;
            EXPECT_LT(DistanceToBox(outer, box), 3 * h) << where << ": not at the outer end";
            if (std::hypot(outer.x() - inner.x(), outer.y() - inner.y()) > 6 * h) {
                EXPECT_GT(DistanceToBox(inner, box), DistanceToBox(outer, box)) << where;
            }
        }
    }
}

TEST(PlanarNumerals, RomanNumbersAndNoneAtAll) {
    DialState s = OnlyApparent('h', 47.25, 8, 16);
    s.numeralStyle = NumeralStyle::Roman;
    const auto roman = Draw(s);
    for (const char* text : {"VIII", "IX", "XII", "XIV", "XVI"}) EXPECT_TRUE(roman->painter.hasText(QString::fromLatin1(text))) << text;
    EXPECT_FALSE(roman->painter.hasText(QStringLiteral("12")));
    s.numeralStyle = NumeralStyle::None;
    EXPECT_TRUE(Numerals(Draw(s)->painter).empty());

    EXPECT_EQ(HourNumeral(4, NumeralStyle::Roman, true), QStringLiteral("IV"));
    EXPECT_EQ(HourNumeral(19, NumeralStyle::Roman, true), QStringLiteral("XIX"));
    EXPECT_EQ(HourNumeral(0, NumeralStyle::Roman, true), QStringLiteral("XXIV"));
    EXPECT_EQ(HourNumeral(0, NumeralStyle::Roman, false), QStringLiteral("0"));
    EXPECT_EQ(HourNumeral(14, NumeralStyle::Arabic, true), QStringLiteral("14"));
    EXPECT_EQ(DateLineNumeral(QStringLiteral(" 7.07.")), QStringLiteral("7.7."));
    EXPECT_EQ(DateLineNumeral(QStringLiteral("21.06.")), QStringLiteral("21.6."));
}

DialState EveryFamily(char letter, double latitude) {
    DialState s = OnlyApparent(letter, latitude, 5, 20);
    s.meanTimeLines = true;
    s.eotHourFrom = 9;
    s.eotHourTo = 15;
    s.temporalHours = true;
    s.babylonianHours = true;
    s.italianHours = true;
    s.altitudeLines = true;
    s.dateLineMode = '0';
    return s;
}

// Every line system at once, both hemispheres: no number covers another or the legend, and
// every number stays on the sheet.
TEST(PlanarNumerals, EveryFamilyInBothHemispheresKeepsItsNumbersApart) {
    for (char letter : {'h', 'v', 'i'}) {
        for (double latitude : {47.0, -35.0}) {
            for (bool umbrella : {false, true}) {
                DialState s = EveryFamily(letter, latitude);
                s.umbrellaDial = umbrella;
                if (umbrella && letter == 'i') s.planeInclination = 20;
                const auto d = Draw(s);
                const std::string what = std::string(1, letter) + (umbrella ? " umbrella " : " ") + std::to_string(latitude);
                const std::vector<Primitive> numbers = Numerals(d->painter);
                EXPECT_GE(numbers.size(), 10u) << what;
                ExpectApart(d->painter, numbers, ScreenSheet(), what);
                // Nor over the legend and the gnomon text.
                for (const Primitive& t : d->painter.all(Primitive::Text)) {
                    if (IsNumeral(t) || t.text.size() < 8) continue;
                    for (const Primitive& n : numbers)
                        EXPECT_FALSE(Box(d->painter, t).intersects(Box(d->painter, n)))
                            << what << ": " << n.text.toStdString() << " at " << n.points[0].x() << ","
                            << n.points[0].y() << " over " << t.text.toStdString() << " at " << t.points[0].x() << ","
                            << t.points[0].y();
                }
            }
        }
    }
}

TEST(PlanarNumerals, ZodiacAndDateLabelsAtTheEndsOfTheDateLines) {
    DialState s = OnlyApparent('h', 47.25, 12, 12);
    s.dateLineMode = '0';
    const auto zodiac = Draw(s);
    int signs = 0;
    for (const Primitive& p : Numerals(zodiac->painter))
        if (p.text.front().unicode() >= 0x2648 && p.text.front().unicode() <= 0x2653) ++signs;
    // Seven lines, the two solstice lines with one sign each: all twelve signs.
    EXPECT_EQ(signs, 12);
    s.dateLineMode = '2';
    s.dateLineList.clear();
    const auto dates = Draw(s);
    for (const char* label : {"21.6.", "23.9.", "21.12."}) EXPECT_TRUE(dates->painter.hasText(QString::fromLatin1(label))) << label;
}

// Heights of nothing, of nonsense and of more than the sheet, sites at the poles and on the
// equator, and a wall the sun never reaches in the chosen hours: no crash, nothing off the sheet.
TEST(PlanarNumerals, BadHeightsAndExtremeSitesKeepTheNumbersOnTheSheet) {
    for (double height : {0.0, -3.0, std::numeric_limits<double>::quiet_NaN(), 1e9}) {
        DialState s = EveryFamily('h', 47.0);
        s.numeralHeightMm = height;
        const auto d = Draw(s);
        const std::vector<Primitive> numbers = Numerals(d->painter);
        ASSERT_FALSE(numbers.empty()) << height;
        for (const Primitive& n : numbers) {
            EXPECT_TRUE(std::isfinite(n.fontHeight) && n.fontHeight > 0) << height;
            EXPECT_TRUE(ScreenSheet().contains(Box(d->painter, n))) << height << " " << n.text.toStdString();
        }
    }
    for (char letter : {'h', 'v', 'i'})
        for (double latitude : {89.9, -89.9, 1e-6, 0.0})
            for (bool umbrella : {false, true}) {
                DialState s = EveryFamily(letter, latitude);
                s.umbrellaDial = umbrella;
                if (umbrella && letter == 'i') s.planeInclination = 20;
                const auto d = Draw(s);
                for (const Primitive& n : Numerals(d->painter))
                    EXPECT_TRUE(ScreenSheet().contains(Box(d->painter, n)))
                        << letter << " " << latitude << " " << n.text.toStdString();
            }
    // A north wall at 47 N around noon: no line, so no number.
    DialState north = OnlyApparent('v', 47.25, 11, 13);
    north.wallDeclination = 180;
    const auto d = Draw(north);
    EXPECT_TRUE(d->painter.lines(kApparentRole).empty());
    EXPECT_TRUE(Numerals(d->painter).empty());
}

QString PlotOf(const DialState& s) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PlotStream stream(buffer, 1);
    RecordingDialogs dialogs;
    WritePlanarDialPlot(s, stream, PlanarPlotOptions{}, dialogs);
    return QString::fromLatin1(buffer.data());
}

// The plot keeps its classic commands unless numbers are asked for there as well; then they
// are the plot's own labels.
TEST(PlanarNumerals, PlotFilesCarryNumbersOnlyWhenAskedFor) {
    DialState s = OnlyApparent('h', 47.25, 8, 16);
    s.numeralStyle = NumeralStyle::None;
    const QString classic = PlotOf(s);
    s.numeralStyle = NumeralStyle::Arabic;
    EXPECT_EQ(PlotOf(s), classic);
    s.numeralsInPlotFiles = true;
    const QString numbered = PlotOf(s);
    EXPECT_GT(numbered.count(QStringLiteral("LB")), classic.count(QStringLiteral("LB")) + 8);
    for (int hour = 8; hour <= 16; ++hour)
        EXPECT_TRUE(numbered.contains(QStringLiteral("LB") + QString::number(hour) + QChar(3))) << hour;
}

}  // namespace
}  // namespace zorva
