// The labels of every dial family that is not a plain planar dial (those have their own
// numeral tests), the analemmatic and bifilar dials at their defaults included: drawn on the screen at a northern and a southern site, no text covers
// another and none leaves the sheet; at the poles and on the equator nothing crashes and
// still nothing leaves the sheet.
#include "dials/dial_constructions.h"
#include "dials/dial_render.h"
#include "dials/label_placer.h"
#include "recording_painter.h"
#include "test_sites.h"
#include "text/recording_dialogs.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QTransform>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace zorva {
namespace {

using test::Primitive;
using test::RecordingPainter;

constexpr int kWidth = 1152, kHeight = 784;

struct Family {
    const char* name;
    std::function<void(DialState&)> set;
};

const std::vector<Family>& Families() {
    static const std::vector<Family> families = {
        {"shepherd", [](DialState& s) { s.dialType = 'z'; s.cylinderKind = 0; }},
        {"shepherd half hours", [](DialState& s) { s.dialType = 'z'; s.cylinderKind = 0; s.otherHourInterval = '1'; }},
        {"hat", [](DialState& s) { s.dialType = 'z'; s.cylinderKind = 1; }},
        {"polar cylinder", [](DialState& s) { s.dialType = 'z'; s.cylinderKind = 2; }},
        {"azimuthal cylinder", [](DialState& s) { s.dialType = 'a'; s.azimuthKind = 0; }},
        {"stereographic", [](DialState& s) { s.dialType = 'a'; s.azimuthKind = 1; s.altitudeCircleSpacing = 2; }},
        {"horizontoscope", [](DialState& s) { s.dialType = 'a'; s.azimuthKind = 1; s.altitudeCircleSpacing = 1; }},
        {"azimuthal", [](DialState& s) { s.dialType = 'a'; s.azimuthKind = 1; s.altitudeCircleSpacing = 0; }},
        {"hidokai", [](DialState& s) { s.dialType = 'k'; }},
        {"hidokai half hours", [](DialState& s) { s.dialType = 'k'; s.otherHourInterval = '1'; }},
        {"quadrant", [](DialState& s) { s.dialType = 'q'; s.quadrantKind = 0; s.quadrantDateScale = 0; }},
        {"zodiac quadrant", [](DialState& s) { s.dialType = 'q'; s.quadrantKind = 0; s.quadrantDateScale = 1; }},
        {"gunter quadrant", [](DialState& s) { s.dialType = 'q'; s.quadrantKind = 0; s.quadrantDateScale = 2; }},
        {"habermel", [](DialState& s) { s.dialType = 'q'; s.quadrantKind = 1; s.quadrantGnomon = 12; }},
        {"habermel second", [](DialState& s) { s.dialType = 'q'; s.quadrantKind = 2; s.quadrantGnomon = 12; }},
        {"cone shadow", [](DialState& s) { s.dialType = 'm'; }},
        {"biazimuthal", [](DialState& s) { s.dialType = 'c'; }},
        {"ring", [](DialState& s) { s.dialType = 'r'; s.rayDeflection = 0; }},
        {"ring deflected", [](DialState& s) { s.dialType = 'r'; s.rayDeflection = 1; }},
        {"farmers' ring", [](DialState& s) { s.dialType = 'r'; s.rayDeflection = 2; }},
        {"analemmatic", [](DialState& s) { s.dialType = 'h'; s.addedKind = AddedKind::Analemmatic; }},
        {"walk-on", [](DialState& s) { s.dialType = 'h'; s.addedKind = AddedKind::Analemmatic; s.analemmatic = WalkOnPreset(); }},
        {"bifilar", [](DialState& s) { s.dialType = 'h'; s.addedKind = AddedKind::Bifilar; }},
        {"bifilar wall", [](DialState& s) {
             s.dialType = 'v';
             s.addedKind = AddedKind::Bifilar;
             s.bifilar.vertical = true;
             s.wallDeclination = s.latitude < 0 ? 180 : 0;
         }},
    };
    return families;
}

// The test sites in zone time.
DialState AtSite(double latitude) {
    DialState s = test::AtTestSite(StartupState(), latitude);
    s.timeSystem = 1;  // zone time
    s.zoomFactor = 1.0;
    return s;
}

// The screen's letters as the window measures them, so that a label's box is the box the
// user sees (the recording painter's estimate of 0.6 of the height per letter can hide a
// name cut by the sheet's edge).
QFont ScreenFont(double height, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(height))));
    font.setBold(bold);
    return font;
}

class MeasuringPainter : public RecordingPainter {
public:
    void setFont(const QString& family, double height, bool bold) override {
        RecordingPainter::setFont(family, height, bold);
        font_ = ScreenFont(height, bold);
    }
    double textHeight() const override { return QFontMetricsF(font_).height(); }
    double textWidth(const QString& text) const override { return QFontMetricsF(font_).horizontalAdvance(text); }

private:
    QFont font_ = ScreenFont(12, false);
};

bool realMetrics = false;

struct Drawn {
    MeasuringPainter measuring;
    RecordingPainter estimating;
    RecordingPainter& painter = realMetrics ? measuring : estimating;
    RecordingDialogs dialogs;
};

std::unique_ptr<Drawn> Draw(const DialState& s) {
    auto d = std::make_unique<Drawn>();
    DrawDialOnScreen(s, DefaultScreenRequest(s, QSize(kWidth, kHeight)), d->painter, d->dialogs);
    return d;
}

// A text's box as the painter measures it, turned with the text.
QRectF Box(const Primitive& t) {
    const QFontMetricsF metrics(ScreenFont(t.fontHeight, t.bold));
    // The letters' ink stays within the em; the font's line height adds leading.
    const QSizeF size = realMetrics ? QSizeF(metrics.horizontalAdvance(t.text), t.fontHeight)
                                    : QSizeF(0.6 * t.fontHeight * t.text.size(), t.fontHeight);
    const QRectF upright(QPointF(0, 0), size);
    QTransform turn;
    turn.translate(t.points[0].x(), t.points[0].y());
    turn.rotate(-t.direction);
    return turn.mapRect(upright);
}

std::vector<Primitive> Texts(const RecordingPainter& painter) {
    std::vector<Primitive> out;
    for (const Primitive& p : painter.all(Primitive::Text))
        if (!p.text.trimmed().isEmpty()) out.push_back(p);
    return out;
}

// Inside the window's black frame.
QRectF Sheet() { return QRectF(0, 0, kWidth - 1, kHeight - 1); }

std::string Where(const Primitive& t) {
    const QRectF b = Box(t);
    return "\"" + t.text.toStdString() + "\" at " + std::to_string(int(b.x())) + "," + std::to_string(int(b.y()));
}

// Boxes touching by less than a tenth of the text height count as apart: fonts leave that
// much space above and below the letters.
bool Overlap(const QRectF& a, const QRectF& b, double slack) {
    const QRectF i = a.intersected(b);
    return i.width() > slack && i.height() > slack;
}

void ExpectCleanLabels(const DialState& s, const std::string& what) {
    const auto d = Draw(s);
    const std::vector<Primitive> texts = Texts(d->painter);
    EXPECT_FALSE(texts.empty()) << what;
    for (size_t i = 0; i < texts.size(); ++i) {
        const QRectF a = Box(texts[i]);
        EXPECT_TRUE(Sheet().adjusted(-0.5, -0.5, 0.5, 0.5).contains(a)) << what << ": " << Where(texts[i]) << " leaves the sheet";
        for (size_t j = i + 1; j < texts.size(); ++j) {
            const double slack = 0.1 * std::min(texts[i].fontHeight, texts[j].fontHeight);
            EXPECT_FALSE(Overlap(a, Box(texts[j]), slack)) << what << ": " << Where(texts[i]) << " over " << Where(texts[j]);
        }
    }
}

TEST(FamilyLabels, NoLabelCoversAnotherOrLeavesTheSheetInEitherHemisphere) {
    for (double latitude : {47.0, -35.0}) {
        for (const Family& f : Families()) {
            DialState s = AtSite(latitude);
            f.set(s);
            ExpectCleanLabels(s, std::string(f.name) + " at " + std::to_string(latitude));
        }
    }
}

// The lines of the bifilar dial run across the whole sheet: its numbers, month names and
// thread texts must still stand where no line runs through them.
TEST(FamilyLabels, BifilarLabelsStandOffTheLines) {
    for (double latitude : {47.0, -35.0}) {
        for (const Family& f : Families()) {
            if (std::string(f.name).find("bifilar") == std::string::npos) continue;
            for (const HourReckoning reckoning : {HourReckoning::ZoneApparent, HourReckoning::ZoneMean}) {
                DialState s = AtSite(latitude);
                f.set(s);
                s.bifilar.reckoning = reckoning;
                const auto d = Draw(s);
                const std::string what = std::string(f.name) + " at " + std::to_string(latitude);
                int labels = 0;
                for (const Primitive& t : Texts(d->painter)) {
                    if (t.points[0].y() < 0.15 * kHeight && t.text.size() > 8) continue;  // the legend, above the lines
                    ++labels;
                    const QRectF box = Box(t);
                    for (const Primitive& l : d->painter.all(Primitive::Line))
                        EXPECT_FALSE(SegmentMeetsRect(QLineF(l.points[0], l.points[1]), box))
                            << what << ": a line through " << Where(t) << " role " << l.role << " " << l.points[0].x() << "," << l.points[0].y() << " " << l.points[1].x() << "," << l.points[1].y();
                    for (const Primitive& l : d->painter.all(Primitive::Polygon))
                        for (size_t i = 1; i < l.points.size(); ++i)
                            EXPECT_FALSE(SegmentMeetsRect(QLineF(l.points[i - 1], l.points[i]), box))
                                << what << ": a line through " << Where(t);
                }
                EXPECT_GE(labels, 8) << what;
            }
        }
    }
}

TEST(FamilyLabels, WithTheScreensOwnLettersNoLabelCoversAnotherOrLeavesTheSheet) {
    realMetrics = true;
    for (double latitude : {47.0, -35.0}) {
        for (const Family& f : Families()) {
            DialState s = AtSite(latitude);
            f.set(s);
            ExpectCleanLabels(s, std::string(f.name) + " at " + std::to_string(latitude) + ", screen letters");
        }
        // And the planar dials with their numbers.
        for (const auto& [type, declination] : {std::pair{'h', 0.0}, std::pair{'v', 30.0}, std::pair{'i', 0.0}}) {
            DialState s = AtSite(latitude);
            s.dialType = type;
            s.wallDeclination = declination;
            s.numeralStyle = NumeralStyle::Arabic;
            ExpectCleanLabels(s, std::string(1, type) + " at " + std::to_string(latitude) + ", screen letters");
        }
    }
    realMetrics = false;
}

TEST(FamilyLabels, PolesAndTheEquatorNeitherCrashNorPushLabelsOffTheSheet) {
    for (double latitude : {89.9, -89.9, 0.0}) {
        for (const Family& f : Families()) {
            DialState s = AtSite(latitude);
            f.set(s);
            const auto d = Draw(s);
            for (const Primitive& t : Texts(d->painter))
                EXPECT_TRUE(Sheet().adjusted(-0.5, -0.5, 0.5, 0.5).contains(Box(t)))
                    << f.name << " at " << latitude << ": " << Where(t) << " leaves the sheet";
        }
    }
}

}  // namespace
}  // namespace zorva
