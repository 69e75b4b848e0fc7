// The one label placement of every construction: labels stay on the sheet, off each other
// and off lines where a free place exists; the hour numbers of the altitude, hat, azimuth and
// cone-shadow dials at a northern and a southern site neither overlap nor leave the sheet.
#include "dials/label_placer.h"
#include "dials/dial_constructions.h"

#include "dials/azimuth_dial.h"
#include "dials/cylinder_dial.h"
#include "dials/hat_dial.h"
#include "dials/hidokai_dial.h"
#include "dials/hollander_dial.h"
#include "printer_page.h"
#include "recording_painter.h"
#include "support/test_support.h"

#include <algorithm>
#include <random>
#include <set>

namespace zorva::test {
namespace {

TEST(LabelPlacer, TakesTheFirstFreePlaceAndKeepsLabelsApart) {
    LabelPlacer placer(QRectF(0, 0, 100, 100));
    const QSizeF size(20, 10);
    const auto a = placer.place(size, {{10, 10}, {50, 50}});
    ASSERT_TRUE(a);
    EXPECT_EQ(a->topLeft(), QPointF(10, 10));
    // The same first choice is taken now: the second place is used.
    const auto b = placer.place(size, {{15, 12}, {50, 50}});
    ASSERT_TRUE(b);
    EXPECT_EQ(b->topLeft(), QPointF(50, 50));
    EXPECT_FALSE(a->intersects(*b));
    // No free place: the one meeting fewest labels, never dropped.
    const auto c = placer.place(size, {{12, 12}, {45, 45}});
    ASSERT_TRUE(c);
    EXPECT_EQ(placer.placed().size(), 3u);
}

TEST(LabelPlacer, KeepsLabelsOnTheSheet) {
    LabelPlacer placer(QRectF(0, 0, 100, 50));
    // Only places off the sheet: moved onto it.
    const auto box = placer.place(QSizeF(30, 10), {{90, -5}});
    ASSERT_TRUE(box);
    EXPECT_TRUE(QRectF(0, 0, 100, 50).contains(*box));
    // A free place on the sheet beats one that runs off it.
    const auto next = placer.place(QSizeF(30, 10), {{-10, 20}, {10, 30}});
    ASSERT_TRUE(next);
    EXPECT_EQ(next->topLeft(), QPointF(10, 30));
    // Larger than the sheet, or only non-finite places: not placed at all.
    EXPECT_FALSE(placer.place(QSizeF(101, 10), {{0, 0}}));
    EXPECT_FALSE(placer.place(QSizeF(10, 10), {{std::nan(""), 0}, {0, std::numeric_limits<double>::infinity()}}));
}

TEST(LabelPlacer, AvoidsLinesWhereItCanAndBoxesLikeLabels) {
    LabelPlacer placer(QRectF(0, 0, 200, 200));
    placer.avoidLine(QLineF(0, 15, 200, 15));
    placer.avoidBox(QRectF(100, 100, 50, 50));
    // Across the line, then clear of it.
    auto box = placer.placeNear({50, 15}, QSizeF(20, 10), 2, {LabelSide::Right, LabelSide::Below});
    ASSERT_TRUE(box);
    EXPECT_GE(box->top(), 15);
    // Only the line or the reserved box: the line is the lesser evil.
    box = placer.place(QSizeF(20, 10), {{110, 110}, {10, 10}});
    ASSERT_TRUE(box);
    EXPECT_EQ(box->topLeft(), QPointF(10, 10));
    // A line passing a pixel under the letters reads as struck through: the next place is taken.
    placer.avoidLine(QLineF(0, 181, 200, 181));
    box = placer.place(QSizeF(20, 12), {{10, 168}, {10, 150}});
    ASSERT_TRUE(box);
    EXPECT_EQ(box->topLeft(), QPointF(10, 150));
}

TEST(LabelPlacer, SegmentsMeetRectangles) {
    const QRectF r(10, 10, 10, 10);
    EXPECT_TRUE(SegmentMeetsRect(QLineF(0, 15, 30, 15), r));    // straight through
    EXPECT_TRUE(SegmentMeetsRect(QLineF(12, 12, 13, 13), r));   // inside
    EXPECT_TRUE(SegmentMeetsRect(QLineF(0, 0, 30, 30), r));     // diagonal through
    EXPECT_FALSE(SegmentMeetsRect(QLineF(0, 0, 30, 5), r));     // above
    EXPECT_FALSE(SegmentMeetsRect(QLineF(0, 25, 9, 35), r));    // beside
    EXPECT_FALSE(SegmentMeetsRect(QLineF(25, 0, 25, 30), r));   // vertical, right of it
}

// The placer looks only at the lines near a box; it must choose exactly what weighing every
// line would choose: long and short strokes, strokes off the sheet or running far beyond it,
// and strokes added between placements.
TEST(LabelPlacer, ChoosesAsIfEveryLineWereWeighed) {
    const QRectF sheet(0, 0, 400, 300);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> across(-100, 500), step(-12, 12), far(-1e5, 1e5);
    LabelPlacer placer(sheet);
    std::vector<QLineF> lines;
    std::vector<QRectF> taken;
    auto addLines = [&](int n) {
        for (int i = 0; i < n; ++i) {
            const QPointF a(across(random), across(random));
            QLineF l;
            switch (i % 4) {
            case 0: l = QLineF(a, a + QPointF(step(random), step(random))); break;  // a date-line piece
            case 1: l = QLineF(a, QPointF(across(random), across(random))); break;   // an hour line
            case 2: l = QLineF(QPointF(far(random), a.y()), QPointF(far(random), a.y() + 1)); break;
            default: l = QLineF(a, QPointF(a.x(), a.y() + step(random))); break;     // upright piece
            }
            lines.push_back(l);
            placer.avoidLine(l);
        }
    };
    auto reference = [&](const QRectF& box) {
        double c = 0;
        const double g = std::min(box.width(), box.height()) / 10;
        for (const QRectF& r : taken)
            if (r.intersects(box.adjusted(-g, -g, g, g))) c += 1000;
        // Lines are weighed against the box with its margin of a sixth of its height.
        const double m = std::min(box.width(), box.height()) / 6;
        for (const QLineF& l : lines)
            if (SegmentMeetsRect(l, box.adjusted(-m, -m, m, m))) c += 1;
        return c;
    };
    int crowded = 0;  // labels with no free candidate: the weighing decided
    for (int round = 0; round < 6; ++round) {
        addLines(400);
        for (int label = 0; label < 40; ++label) {
            const QSizeF size(8 + step(random) / 2, 5);
            std::vector<QPointF> candidates;
            for (int k = 0; k < 8; ++k) candidates.push_back({across(random) * 0.8, across(random) * 0.6});
            // The reference: first candidate on the sheet without cost, else the cheapest.
            std::optional<QRectF> expected;
            double best = 0;
            for (const QPointF& c : candidates) {
                QRectF box(c, size);
                const bool on = sheet.contains(box);
                if (!on) {
                    box.moveLeft(std::clamp(box.left(), sheet.left(), sheet.right() - box.width()));
                    box.moveTop(std::clamp(box.top(), sheet.top(), sheet.bottom() - box.height()));
                }
                const double k = reference(box) + (on ? 0.0 : 0.5);
                if (!expected || k < best) {
                    expected = box;
                    best = k;
                    if (k == 0) break;
                }
            }
            const auto got = placer.place(size, candidates);
            ASSERT_TRUE(got && expected);
            ASSERT_EQ(*got, *expected) << "round " << round << ", label " << label;
            if (best > 0) ++crowded;
            taken.push_back(*got);
        }
    }
    EXPECT_GT(crowded, 20);
}

struct Site {
    double latitude, longitude, zone;
};
constexpr Site kNorth{47.25, -9.59, -15.0};
constexpr Site kSouth{-35.0, -149.0, -150.0};  // west positive: 149 E, zone 150 E

DialState Dial(char type, int kind, const Site& site) {
    DialState s = StartupState();
    s.dialType = type;
    s.cylinderKind = kind;
    s.azimuthKind = kind;
    s.latitude = site.latitude;
    s.longitude = site.longitude;
    s.zoneMeridian = site.zone;
    s.referenceYear = 2024;
    return s;
}

DialRequest Page() {
    DialRequest r = PrinterPage();
    r.originX = 70 + 1400;
    r.originY = 50 + 1333;
    r.textX = 70 + 1050;
    r.textY = 50 + 80;
    return r;
}

std::vector<std::pair<QString, QRectF>> Labels(const RecordingPainter& p, const std::set<QString>& of) {
    std::vector<std::pair<QString, QRectF>> out;
    for (const Primitive& t : p.items)
        if (t.kind == Primitive::Text && of.count(t.text))
            out.emplace_back(t.text, QRectF(t.points[0], QSizeF(0.6 * t.fontHeight * t.text.size(), t.fontHeight)));
    return out;
}

std::set<QString> HourNumbers() {
    std::set<QString> numbers;
    for (int h = 0; h <= 24; ++h) {
        numbers.insert(QString::number(h));
        for (int twin = 0; twin <= 24; ++twin) numbers.insert(QString::number(h) + QLatin1Char('/') + QString::number(twin));
    }
    return numbers;
}

void ExpectApartAndOnTheSheet(const std::vector<std::pair<QString, QRectF>>& labels, const QRectF& sheet,
                              const std::string& what) {
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_TRUE(sheet.contains(labels[i].second)) << what << " " << labels[i].first.toStdString();
        for (size_t j = i + 1; j < labels.size(); ++j) {
            // Touching edges are no overlap.
            const QRectF overlap = labels[i].second.intersected(labels[j].second);
            EXPECT_TRUE(overlap.width() < 1e-6 || overlap.height() < 1e-6)
                << what << ": " << labels[i].first.toStdString() << " over " << labels[j].first.toStdString() << " at "
                << labels[i].second.x() << "," << labels[i].second.y() << " / " << labels[j].second.x() << ","
                << labels[j].second.y();
        }
    }
}

TEST(LabelsOfEveryFamily, HourNumbersApartAndOnTheSheetInBothHemispheres) {
    struct Family {
        const char* name;
        char type;
        int kind;
    };
    const QRectF sheet(70, 50, 2801, 2001);
    for (const Site& site : {kNorth, kSouth}) {
        for (const Family f : {Family{"shepherd", 'z', 0}, Family{"hat", 'z', 1}, Family{"hidokai", 'k', 0},
                               Family{"azimuth", 'a', 1}, Family{"cone", 'm', 0}}) {
            DialState s = Dial(f.type, f.kind, site);
            s.temporalHours = true;
            s.babylonianHours = true;
            s.italianHours = true;
            s.meanTimeLines = true;
            RecordingPainter p;
            RecordingDialogs d;
            const DialRequest r = Page();
            ConstructionFor(s)->draw(s, r, p, d);
            const auto labels = Labels(p, HourNumbers());
            const std::string what = std::string(f.name) + (site.latitude > 0 ? " north" : " south");
            EXPECT_FALSE(labels.empty()) << what;
            ExpectApartAndOnTheSheet(labels, sheet, what);
        }
    }
}

// 35 S in zone time with half-hour lines: the late lines do not exist on 21 June (the sun
// has set) but do later in the half year; each carries its number.
TEST(LabelsOfEveryFamily, LateHourLinesOfASouthernAltitudeDialAreNumbered) {
    for (char type : {'z', 'k'}) {
        DialState s = Dial(type, 0, kSouth);
        s.timeSystem = 1;
        s.otherHourInterval = '1';
        s.otherHourFrom = 6;
        s.otherHourTo = 19;
        RecordingPainter p;
        RecordingDialogs d;
        ConstructionFor(s)->draw(s, Page(), p, d);
        for (const char* hour : {"17", "18"}) EXPECT_TRUE(p.hasText(QString::fromLatin1(hour))) << type << " " << hour;
    }
}

}  // namespace
}  // namespace zorva::test
