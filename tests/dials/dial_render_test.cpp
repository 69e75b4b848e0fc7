// The dial of the state on screen images and on a true-scale PDF page.
#include "dials/dial_render.h"

#include "text/recording_dialogs.h"

#include <QFile>
#include <QImage>
#include <QSet>
#include <QXmlStreamReader>
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

// The SVG is the printout at true scale: an A4 landscape sheet in millimetres with 0.1 mm
// units, one group per pen named after what it draws, and the gnomon measure of a 35 mm
// gnomon 350 units (35 mm) long in both legs.
TEST(RenderDial, SvgIsTheTrueScalePageWithOneGroupPerPen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    DialState s = StartupState();
    s.dialType = 'h';
    s.latitude = 47.0;
    s.gnomonLength = 35;
    s.zoomFactor = 1.0;
    s.legendOffset = LegendOffsetFor('h');
    RecordingDialogs dialogs;
    const QString svg = dir.filePath(QStringLiteral("dial.svg"));
    ASSERT_TRUE(RenderDialSvg(s, QSize(1200, 816), svg, dialogs));
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList ids;
    QString group;
    bool sheet = false;
    int measures = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("svg")) {
            EXPECT_EQ(a.value(QLatin1String("width")), QLatin1String("297mm"));
            EXPECT_EQ(a.value(QLatin1String("height")), QLatin1String("210mm"));
            EXPECT_EQ(a.value(QLatin1String("viewBox")), QLatin1String("0 0 2970 2100"));
            sheet = true;
        } else if (xml.name() == QLatin1String("g")) {
            group = a.value(QLatin1String("id")).toString();
            ids << group;
        } else if (xml.name() == QLatin1String("path") && group.startsWith(QLatin1String("pen-4-text"))) {
            // The measure: one stroke of five points, two legs at right angles.
            const QStringList t = a.value(QLatin1String("d")).toString().remove(QLatin1Char('M')).remove(QLatin1Char('L'))
                                      .split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (t.size() != 10) continue;
            std::vector<QPointF> p;
            for (int i = 0; i < 10; i += 2) p.emplace_back(t[i].toDouble(), t[i + 1].toDouble());
            if (std::abs(p[1].x() - p[2].x()) > 1e-6 || std::abs(p[2].y() - p[3].y()) > 1e-6) continue;
            EXPECT_NEAR(std::abs(p[2].y() - p[1].y()), 350.0, 0.5);
            EXPECT_NEAR(std::abs(p[3].x() - p[2].x()), 350.0, 0.5);
            ++measures;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(sheet);
    EXPECT_EQ(measures, 1);
    // Date lines, apparent-time hour lines and text each have their group; ids are unique.
    for (const char* id : {"pen-1-declination-lines", "pen-3-full-hours-without-eot", "pen-4-text"})
        EXPECT_TRUE(ids.contains(QLatin1String(id))) << id << " in " << ids.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
}

}  // namespace
}  // namespace zorva
