// The dial of the state on screen images and on a true-scale PDF page.
#include "dials/dial_render.h"

#include "text/recording_dialogs.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zorva {
namespace {

bool IsNavy(QRgb p) { return qBlue(p) > 90 && qRed(p) < 70 && qGreen(p) < 70; }

// Longest run of navy pixels in a column (vertical) or row of the region.
int LongestRun(const QImage& img, QRect region, bool vertical) {
    int best = 0;
    const int outer = vertical ? region.width() : region.height();
    const int inner = vertical ? region.height() : region.width();
    for (int o = 0; o < outer; ++o) {
        int run = 0;
        for (int i = 0; i < inner; ++i) {
            const int x = region.left() + (vertical ? o : i), y = region.top() + (vertical ? i : o);
            run = IsNavy(img.pixel(x, y)) ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

TEST(PrintArea, FitsTheSheetAndCentresIt) {
    const PrintArea none = FitPrintableArea(0, 0, 0, 0);
    EXPECT_EQ(none.width, 2820);
    EXPECT_EQ(none.height, 2000);
    EXPECT_EQ(none.xOffset, 75);
    EXPECT_EQ(none.yOffset, 50);
    // A printer that cannot print the outer 6.35 mm: the height shrinks by both margins,
    // the width stays at its 282 mm limit, and the offsets count from the printable corner.
    const PrintArea margins = FitPrintableArea(63.5, 50, 63.5, 63.5);
    EXPECT_EQ(margins.width, 2820);
    EXPECT_EQ(margins.height, 1971);  // 2098 - 127
    EXPECT_EQ(margins.xOffset, 11);   // (2970 - 2820) / 2 - 63.5
    EXPECT_EQ(margins.yOffset, 1);
    const PrintArea wide = FitPrintableArea(200, 100, 0, 0);
    EXPECT_EQ(wide.width, 2568);
    EXPECT_EQ(wide.xOffset, 1);
}

TEST(GnomonPlacement, FreshWindowPositionsByDialType) {
    DialState s = StartupState();
    s.dialType = 'v';
    GnomonPlacement v = DefaultGnomonPlacement(s, 1201, 800);
    EXPECT_EQ(v.originX, 601);
    EXPECT_EQ(v.originY, 37);
    EXPECT_DOUBLE_EQ(v.centreY, 680);
    s.dialType = 'h';
    s.latitude = 47.25;
    GnomonPlacement h = DefaultGnomonPlacement(s, 1200, 800);
    EXPECT_EQ(h.originY, 600);
    EXPECT_EQ(h.centreY, 32);
    s.latitude = 20;
    EXPECT_EQ(DefaultGnomonPlacement(s, 1200, 800).originY, 400);
    s.latitude = -33.9;
    GnomonPlacement south = DefaultGnomonPlacement(s, 1200, 800);
    EXPECT_EQ(south.originY, 200);
    EXPECT_EQ(south.centreY, 680);
    EXPECT_EQ(south.centreX, 450);
}

TEST(RenderDial, LettersWithoutAConstructionDrawOnlyTheFrame) {
    DialState s = StartupState();
    s.dialType = 'b';
    RecordingDialogs dialogs;
    const QImage img = RenderDialImage(s, QSize(400, 300), dialogs);
    int dark = 0;
    for (int y = 1; y < 297; ++y)
        for (int x = 1; x < 397; ++x) dark += img.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_EQ(dark, 0);
    EXPECT_EQ(img.pixel(0, 100), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(398, 100), qRgb(0, 0, 0));
}

TEST(RenderDial, ScreenImageShowsTheDialInsideItsSilverFrame) {
    DialState s = StartupState();
    RecordingDialogs dialogs;
    const QImage img = RenderDialImage(s, QSize(1200, 816), dialogs);
    // The 30-pixel border strip stays white but for its silver edge lines.
    for (int y = 40; y < 780; y += 7)
        for (int x = 1; x < 29; ++x)
            EXPECT_TRUE(img.pixel(x, y) == qRgb(255, 255, 255) || img.pixel(x, y) == qRgb(192, 192, 192)) << x << "," << y;
    int red = 0;  // apparent-time hour lines
    for (int y = 30; y < 780; ++y)
        for (int x = 30; x < 1165; ++x) red += img.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_GT(red, 500);
}

// Printed to PDF, the gnomon measure of a 35 mm gnomon is 35 mm long on the page.
TEST(RenderDial, PdfPageIsTrueToScale) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    DialState s = StartupState();
    s.gnomonLength = 35;
    RecordingDialogs dialogs;
    const QString pdf = dir.filePath(QStringLiteral("dial.pdf"));
    ASSERT_TRUE(RenderDialPdf(s, QSize(1200, 816), pdf, dialogs));
    // 254 dots per inch: one pixel is 0.1 mm.
    QProcess p;
    p.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                       pdf, dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(p.waitForFinished(60000));
    QImage page(dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), 2970, 2);
    EXPECT_NEAR(page.height(), 2100, 2);
    // The measure stands in the lower left corner of the printable area.
    const QRect corner(0, page.height() / 2, page.width() / 4, page.height() / 2);
    EXPECT_NEAR(LongestRun(page, corner, true), 350, 3);
    EXPECT_NEAR(LongestRun(page, corner, false), 350, 3);
}

}  // namespace
}  // namespace zorva
