// The canvas painter on a real image: colours by role, cutting of far-away strokes,
// windows and text placement.
#include "dials/canvas_painter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace zorva {
namespace {

struct Canvas {
    QImage image{200, 100, QImage::Format_RGB32};
    Canvas() { image.fill(Qt::white); }
};

TEST(CanvasPainter, StrokesTakeTheColourOfTheirRoleAndEndOnWholeUnits) {
    Canvas c;
    {
        QPainter qp(&c.image);
        CanvasPainter p(qp, DialState::defaultColours(), QRectF(0, 0, 200, 100));
        p.setPenRole(2);  // red by default
        p.moveTo(10.4, 20.4);
        p.lineTo(100.4, 20.4);
    }
    EXPECT_EQ(c.image.pixel(50, 20), qRgb(255, 0, 0));
    EXPECT_EQ(c.image.pixel(50, 21), qRgb(255, 255, 255));
    EXPECT_EQ(c.image.pixel(150, 20), qRgb(255, 255, 255));
}

TEST(CanvasPainter, HugeCoordinatesAreCutNotWrapped) {
    Canvas c;
    {
        QPainter qp(&c.image);
        CanvasPainter p(qp, DialState::defaultColours(), QRectF(0, 0, 200, 100));
        p.setPenRole(0);
        // A stroke from far outside, crossing the image horizontally at y = 50.
        p.moveTo(-9.9e7, 50);
        p.lineTo(9.9e7, 50);
        // A stroke entirely outside leaves no trace.
        p.moveTo(-5e7, -5e7);
        p.lineTo(5e7, -4e7);
    }
    EXPECT_EQ(c.image.pixel(0, 50), qRgb(0, 0, 0));
    EXPECT_EQ(c.image.pixel(199, 50), qRgb(0, 0, 0));
    int dark = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) dark += c.image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_EQ(dark, 200);
}

TEST(CanvasPainter, WindowKeepsStrokesInsideUntilReset) {
    Canvas c;
    {
        QPainter qp(&c.image);
        CanvasPainter p(qp, DialState::defaultColours(), QRectF(0, 0, 200, 100));
        p.setPenRole(0);
        p.setWindow(50, 0, 150, 100);
        p.moveTo(0, 10);
        p.lineTo(199, 10);
        p.resetWindow();
        p.moveTo(0, 30);
        p.lineTo(199, 30);
    }
    EXPECT_EQ(c.image.pixel(20, 10), qRgb(255, 255, 255));
    EXPECT_EQ(c.image.pixel(100, 10), qRgb(0, 0, 0));
    EXPECT_EQ(c.image.pixel(20, 30), qRgb(0, 0, 0));
}

TEST(CanvasPainter, TextHangsBelowItsTopLeftCorner) {
    Canvas c;
    {
        QPainter qp(&c.image);
        CanvasPainter p(qp, DialState::defaultColours(), QRectF(0, 0, 200, 100));
        p.setFont(QStringLiteral("Arial"), 20, true);
        p.setTextColour(colour::kRed, 2);
        p.text(20, 40, QStringLiteral("HH"), TextAnchor::TopLeft, 0);
        EXPECT_GT(p.textWidth(QStringLiteral("HHHH")), p.textWidth(QStringLiteral("HH")));
    }
    int above = 0, below = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (qRed(c.image.pixel(x, y)) > 200 && qGreen(c.image.pixel(x, y)) < 100) (y < 40 ? above : below)++;
    EXPECT_EQ(above, 0);
    EXPECT_GT(below, 20);
}

TEST(CanvasPainter, SegmentClippingKeepsTheLine) {
    QPointF a(-100, 50), b(300, 50);
    ASSERT_TRUE(ClipSegment(a, b, QRectF(0, 0, 200, 100)));
    EXPECT_EQ(a, QPointF(0, 50));
    EXPECT_EQ(b, QPointF(200, 50));
    QPointF c(-10, -10), d(-5, 500);
    EXPECT_FALSE(ClipSegment(c, d, QRectF(0, 0, 200, 100)));
}

}  // namespace
}  // namespace zorva
