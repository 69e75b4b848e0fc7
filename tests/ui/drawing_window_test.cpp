// The drawing window, driven offscreen as a user would: open, place, zoom, draw, print.
#include "ui/drawing_window.h"

#include "dials/dial_render.h"
#include "text/texts.h"

#include "ui/colour_palette.h"
#include "ui/quadrant_legend_strip.h"
#include "ui/shadow_controls.h"
#include "ui_test_support.h"

#include <QFile>
#include <QGroupBox>
#include <QCheckBox>
#include <QPainter>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QPrinter>
#include <QPushButton>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWheelEvent>

namespace zorva::test {
namespace {

class DrawingWindowTest : public UiTest {
protected:
    DrawingWindow* open() {
        auto* w = qobject_cast<DrawingWindow*>(window->openChild(ChildKind::DrawingWindow));
        EXPECT_NE(w, nullptr);
        if (!w) return nullptr;
        EXPECT_TRUE(WaitFor([&] { return !w->hintText().isEmpty() || w->drawn(); }));
        Settle();
        return w;
    }
    DrawingCanvas* canvas(DrawingWindow* w) { return w->findChild<DrawingCanvas*>(QStringLiteral("drawingImage")); }
    static int CountPixels(const QImage& img, QRgb colour) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == colour;
        return n;
    }
};

TEST_F(DrawingWindowTest, OpensWithItsCaptionAndAsksForTheGnomonPosition) {
    state.dialType = 'v';
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral(" Konstruktion einer vertikalen Sonnenuhr"));
    EXPECT_EQ(w->hintText(),
              QStringLiteral("Zeiger mit (linkem) Mausklick positionieren  -  <Alt>+linker Mausklick positioniert den Text!"));
    const QImage& img = w->image();
    const GnomonPlacement expected = DefaultGnomonPlacement(state, img.width(), img.height());
    EXPECT_EQ(state.originX, expected.originX);
    EXPECT_EQ(state.originY, expected.originY);
    EXPECT_FALSE(w->drawn());
    // Only the origin marker and its request are on the white image.
    EXPECT_EQ(img.pixel(static_cast<int>(state.originX) - 4, static_cast<int>(state.originY)), qRgb(0, 0, 0));
    EXPECT_EQ(CountPixels(img, qRgb(255, 0, 0)), 0);
}

TEST_F(DrawingWindowTest, DrawButtonDrawsTheDialAndResetsTheZoom) {
    state.zoomFactor = 3.0;
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    // A new window starts at true scale, not at the zoom another window was left at.
    EXPECT_EQ(state.zoomFactor, 1.0);
    state.zoomFactor = 3.0;
    click(QStringLiteral("drawButton"));
    EXPECT_TRUE(w->drawn());
    EXPECT_EQ(state.zoomFactor, 1.0);
    EXPECT_GT(CountPixels(w->image(), qRgb(255, 0, 0)), 300);  // apparent-time hour lines
    EXPECT_TRUE(dialogs.events.empty());
}

TEST_F(DrawingWindowTest, ZoomStepsWheelAndKeypad) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    click(QStringLiteral("drawButton"));
    click(QStringLiteral("zoomInButton"));
    EXPECT_DOUBLE_EQ(state.zoomFactor, kZoomStep);
    click(QStringLiteral("zoomOutButton"));
    EXPECT_NEAR(state.zoomFactor, 1.0, 1e-12);
    QTest::keyClick(w, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(state.zoomFactor, kZoomStep);
    QTest::keyClick(w, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_NEAR(state.zoomFactor, 1.0, 1e-12);
    // A wheel step of -300 is ignored; one of +120 grows the zoom by 6 %.
    w->wheelZoom(-300);
    EXPECT_NEAR(state.zoomFactor, 1.0, 1e-12);
    QWheelEvent up(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas(w), &up);
    EXPECT_NEAR(state.zoomFactor, 1.06, 1e-12);
    w->wheelZoom(-299);
    EXPECT_NEAR(state.zoomFactor, 1.06 * (1 - 299.0 / 2000), 1e-12);
}

TEST_F(DrawingWindowTest, ClicksPlaceTheGnomonAndTheTextBlock) {
    state.dialType = 'h';
    state.latitude = 47.25;
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    DrawingCanvas* c = canvas(w);
    ASSERT_NE(c, nullptr);
    QTest::mouseClick(c, Qt::LeftButton, Qt::AltModifier, QPoint(200, 150));
    EXPECT_EQ(state.centreX, 200);
    EXPECT_EQ(state.centreY, 150);
    EXPECT_FALSE(w->drawn());  // moving the text block does not draw
    QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(400, 300));
    EXPECT_EQ(state.originX, 400);
    EXPECT_EQ(state.originY, 300);
    EXPECT_TRUE(w->drawn());
    // The noon line of a horizontal dial runs straight up from the gnomon foot.
    EXPECT_EQ(w->image().pixel(400, 200), qRgb(255, 0, 0));
}

TEST_F(DrawingWindowTest, AltArrowsAndPagesMoveTheOrigin) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    const double x = state.originX, y = state.originY;
    QTest::keyClick(w, Qt::Key_Right, Qt::AltModifier);
    QTest::keyClick(w, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(state.originX, x + 30);
    EXPECT_EQ(state.originY, y + 30);
    QTest::keyClick(w, Qt::Key_PageDown, Qt::AltModifier);
    EXPECT_EQ(state.originY, y + 120);
    QTest::keyClick(w, Qt::Key_PageUp, Qt::AltModifier);
    QTest::keyClick(w, Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(w, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(state.originX, x);
    EXPECT_EQ(state.originY, y);
    EXPECT_TRUE(w->drawn());
}

TEST_F(DrawingWindowTest, ARefusedElementIsReportedOnceAndTheRestIsDrawn) {
    state.dialType = 'h';
    state.latitude = 70;
    state.temporalHours = true;
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    click(QStringLiteral("drawButton"));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Problem!"));
    EXPECT_GT(CountPixels(w->image(), qRgb(255, 0, 0)), 100);
}

TEST_F(DrawingWindowTest, LettersWithoutAConstructionShowOnlyTheFrame) {
    // A letter no dialog produces (a damaged settings file) has no construction.
    state.dialType = 'b';
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->drawn());
    const QImage& img = w->image();
    int inner = 0;
    for (int y = 2; y < img.height() - 3; ++y)
        for (int x = 2; x < img.width() - 3; ++x) inner += img.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_EQ(inner, 0);
}

TEST_F(DrawingWindowTest, QuadrantKindsAreDrawnWithTheirLegendStripAndFileButtons) {
    state.expertMode = true;
    state.latitude = 50;
    for (int kind : {0, 1, 2}) {
        state.dialType = 'q';
        state.quadrantKind = kind;
        DrawingWindow* w = open();
        ASSERT_NE(w, nullptr);
        SCOPED_TRACE(kind);
        EXPECT_TRUE(w->drawn());
        EXPECT_EQ(w->windowTitle(), QStringLiteral(" Konstruktion einer QuadrantSonnenuhr"));
        // Full hours in colour 2 (blue by default).
        EXPECT_GT(CountPixels(w->image(), qRgb(0, 0, 255)), 300);
        // Plot and DXF files are offered.
        for (const char* name : {"saveHpglButton", "saveDxfButton"}) EXPECT_TRUE(find<QAbstractButton>(QString::fromLatin1(name))->isEnabled()) << name;
        // The strip under the drawing tells how to read the instrument.
        ASSERT_NE(w->quadrantLegend(), nullptr);
        EXPECT_FALSE(w->quadrantLegend()->isHidden());
        EXPECT_TRUE(w->quadrantLegend()->text().contains(kind == 0 ? QStringLiteral("Lot") : QStringLiteral("Schatten")));
        EXPECT_TRUE(w->quadrantLegend()->text().contains(QStringLiteral("Stundenlinien (volle Stunden)")));
        EXPECT_TRUE(dialogs.events.empty());
    }
    // Other dials have no strip.
    state.dialType = 'k';
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->quadrantLegend()->isHidden());
}

TEST_F(DrawingWindowTest, PrintingWithTheGnomonFootOutsideAsksFirst) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    bool setupShown = false;
    w->setPrinterSetup([&](QPrinter&) {
        setupShown = true;
        return false;
    });
    QTest::keyClick(w, Qt::Key_Left, Qt::AltModifier);
    state.originX = -40;
    dialogs.answers = {Answer::Yes};
    w->print();
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Achtung!"));
    EXPECT_EQ(dialogs.events[0].text, message(15, Language::German));
    EXPECT_FALSE(setupShown);
    dialogs.answers = {Answer::No};
    w->print();
    EXPECT_TRUE(setupShown);
}

// Printed to a PDF printer, the gnomon measure of a 35 mm gnomon is 35 mm long.
TEST_F(DrawingWindowTest, PrintToPdfIsTrueToScale) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    state.gnomonLength = 35;
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    click(QStringLiteral("drawButton"));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("print.pdf")));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageMargins(QMarginsF(8, 8, 8, 8), QPageLayout::Millimeter);
    ASSERT_TRUE(w->printTo(printer));
    QProcess p;
    p.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                       printer.outputFileName(), dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QImage page(dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    // Longest navy stroke, vertical and horizontal, in the lower left quarter (0.1 mm per pixel).
    auto navy = [](QRgb c) { return qBlue(c) > 90 && qRed(c) < 70 && qGreen(c) < 70; };
    int vertical = 0, horizontal = 0;
    for (int x = 0; x < page.width() / 3; ++x)
        for (int y = page.height() / 2, run = 0; y < page.height(); ++y)
            vertical = std::max(vertical, run = navy(page.pixel(x, y)) ? run + 1 : 0);
    for (int y = page.height() / 2; y < page.height(); ++y)
        for (int x = 0, run = 0; x < page.width() / 3; ++x)
            horizontal = std::max(horizontal, run = navy(page.pixel(x, y)) ? run + 1 : 0);
    EXPECT_NEAR(vertical, 350, 3);
    EXPECT_NEAR(horizontal, 350, 3);
    EXPECT_TRUE(dialogs.events.empty());
}

TEST_F(DrawingWindowTest, MenuEntryOpensTheWindowAndTheA3LayoutDrawsSmaller) {
    window->action(MenuEntry::Drawing)->trigger();
    Settle();
    auto* w = qobject_cast<DrawingWindow*>(window->activeChild());
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(WaitFor([&] { return !w->hintText().isEmpty(); }));
    auto measure = [&] {
        // The gnomon measure's foot stroke: the longest navy run in the lower left corner.
        const QImage& img = w->image();
        int best = 0;
        for (int y = img.height() / 2; y < img.height(); ++y)
            for (int x = 0, run = 0; x < img.width() / 3; ++x)
                best = std::max(best, run = img.pixel(x, y) == qRgb(0, 0, 128) ? run + 1 : 0);
        return best;
    };
    click(QStringLiteral("drawButton"));
    const int a4 = measure();
    window->action(MenuEntry::FormatA3)->trigger();
    EXPECT_FALSE(window->screenLikePrintout());
    click(QStringLiteral("drawButton"));
    const int a3 = measure();
    EXPECT_NEAR(a3, a4 * 280.0 / 420.0, 2.0);
    window->action(MenuEntry::FormatA4)->trigger();
    EXPECT_TRUE(window->screenLikePrintout());
}

TEST_F(DrawingWindowTest, HourLineTableShowsAnglesAndDrawingShowsTheSunlitLineWhateverWasOpened) {
    state.dialType = 'h';
    state.latitude = 47.25;
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    click(QStringLiteral("drawButton"));
    const QRect strip(0, w->image().height() - 30, w->image().width() / 2, 28);
    auto maroon = [&] {
        int n = 0;
        for (int y = strip.top(); y < strip.bottom(); ++y)
            for (int x = strip.left(); x < strip.right(); ++x) n += w->image().pixel(x, y) == qRgb(128, 0, 0);
        return n;
    };
    const int plain = maroon();
    EXPECT_GT(plain, 20);  // "Sonne auf dem Zifferblatt: ..." in the bottom strip after a plain draw
    click(QStringLiteral("angleTableButton"));
    ASSERT_TRUE(w->angleTableShown());
    const QStringList lines = w->angleTableLines();
    ASSERT_GT(lines.size(), 3);
    EXPECT_EQ(lines[1], QStringLiteral("  [hh;mm]    [dd.dd]   tan(alpha)"));
    auto* table = find<QPlainTextEdit>(QStringLiteral("angleTable"));
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->toPlainText().contains(QStringLiteral("12:00")));
    // "Zeichnen" leaves the table for the drawing, which is the same as before.
    click(QStringLiteral("drawButton"));
    EXPECT_FALSE(w->angleTableShown());
    EXPECT_EQ(maroon(), plain);
}

TEST(DrawingWindowCaption, NamesEveryDialKind) {
    DialState s = StartupState();
    auto caption = [&](char t, bool umbrella = false, int cylinder = 0) {
        s.dialType = t;
        s.umbrellaDial = umbrella;
        s.cylinderKind = cylinder;
        return DrawingWindow::CaptionFor(s);
    };
    EXPECT_EQ(caption('h'), QStringLiteral(" Konstruktion einer horizontalen Sonnenuhr"));
    EXPECT_EQ(caption('i'), QStringLiteral(" Konstruktion einer inklinierenden Sonnenuhr"));
    EXPECT_EQ(caption('v', true), QStringLiteral(" Konstruktion einer Schirmsonnenuhr"));
    EXPECT_EQ(caption('z', false, 1), QStringLiteral(" Konstruktion einer Zylindersonnenuhr (Hutsonnenuhr)"));
    EXPECT_EQ(caption('k'), QStringLiteral(" Konstruktion einer horizontalen Höhensonnenuhr"));
    s.language = Language::English;
    EXPECT_EQ(caption('h', true), QStringLiteral("Construction of an Umbrella Dial"));
    EXPECT_EQ(caption('v'), QStringLiteral("Construction of a Vertical Sundial"));
    EXPECT_EQ(caption('m'), QStringLiteral("Construction of a Sundial for Mean Time"));
    EXPECT_EQ(caption('z', false, 0), QStringLiteral("Construction of a Cylinder Sundial (Shepherds´ Dial)"));
    // The ring dial's caption names the dial instead of ending after the article.
    EXPECT_EQ(caption('r'), QStringLiteral("Construction of a Ring Sundial"));
    s.language = Language::German;
    EXPECT_EQ(caption('r'), QStringLiteral(" Konstruktion einer Ringsonnenuhr"));
    EXPECT_EQ(caption('z', false, 2), QStringLiteral(" Konstruktion einer Zylindersonnenuhr (Polstab)"));
}

TEST_F(DrawingWindowTest, RingCorrectionTableIsToggledShownAndPrinted) {
    state.dialType = 'r';
    state.ringDiameter = 200;  // half ring 314 mm: longer than the page
    state.wholeYearBand = true;
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->drawn());
    auto* button = w->findChild<QPushButton*>(QStringLiteral("correctionTableButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible());
    EXPECT_EQ(button->text(), QStringLiteral(" &Korrekturtabelle "));
    auto* hpgl = w->findChild<QPushButton*>(QStringLiteral("saveHpglButton"));
    ASSERT_NE(hpgl, nullptr);
    EXPECT_TRUE(hpgl->isEnabled());
    const int dialRed = CountPixels(w->image(), qRgb(255, 0, 0));
    EXPECT_GT(dialRed, 100);  // the hour marks

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("ring.pdf")));
    printer.setPageOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(w->printTo(printer));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("Der Halbring ist länger als der Druckbereich!"));

    button->click();
    EXPECT_TRUE(w->correctionTableShown());
    EXPECT_EQ(button->text(), QStringLiteral(" Schließen "));
    EXPECT_FALSE(hpgl->isEnabled());
    // The table replaces the drawing: no hour marks in red.
    EXPECT_EQ(CountPixels(w->image(), qRgb(255, 0, 0)), 0);
    dialogs.events.clear();
    printer.setOutputFileName(dir.filePath(QStringLiteral("table.pdf")));
    ASSERT_TRUE(w->printTo(printer));
    EXPECT_TRUE(dialogs.events.empty());  // the table fits: no warning

    button->click();
    EXPECT_FALSE(w->correctionTableShown());
    EXPECT_TRUE(hpgl->isEnabled());
    EXPECT_EQ(CountPixels(w->image(), qRgb(255, 0, 0)), dialRed);
}

TEST_F(DrawingWindowTest, CoastsAndBordersLieUnderThePlanarDialWhenAllowed) {
    QTemporaryDir dir;
    state.programDirectory = dir.path() + QLatin1Char('/');
    {
        // A coast round a large part of Europe, in the map file format.
        QFile coast(dir.filePath(QStringLiteral("coastZor.dat")));
        ASSERT_TRUE(coast.open(QIODevice::WriteOnly));
        coast.write("#\n -20.00  30.00\n  30.00  60.00\n  40.00  20.00\n -20.00  30.00\n");
    }
    state.dialType = 'h';
    state.colours[10] = 0x00C8C8;  // nothing else of the dial is drawn in it
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    auto* box = w->findChild<QWidget*>(QStringLiteral("mapBox"));
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isVisible());  // the overlay is not allowed yet
    window->closeAllChildren();

    state.mapOverlay = true;
    state.mapCoast = false;
    state.mapBorders = false;
    w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->findChild<QWidget*>(QStringLiteral("mapBox"))->isVisible());
    click(QStringLiteral("drawButton"));
    EXPECT_EQ(CountPixels(w->image(), qRgb(0x00, 0xC8, 0xC8)), 0);
    click(QStringLiteral("mapCoast"));
    EXPECT_TRUE(state.mapCoast);
    EXPECT_GT(CountPixels(w->image(), qRgb(0x00, 0xC8, 0xC8)), 50);
    // Borders asked for without their file: said, and the coast still drawn.
    dialogs.clear();
    click(QStringLiteral("mapBorders"));
    EXPECT_TRUE(dialogs.contains(QStringLiteral("GrenzenZor.dat nicht gefunden!")));
    EXPECT_GT(CountPixels(w->image(), qRgb(0x00, 0xC8, 0xC8)), 50);

    click(QStringLiteral("colourButton"));
    ASSERT_NE(window->colourPalette(), nullptr);
    EXPECT_TRUE(window->colourPalette()->isVisible());
}


// The analemmatic and the bifilar dial show their shadow too: the gnomon standing on the
// date, the threads' shadows crossing; the status line names what is drawn in both languages.
TEST_F(DrawingWindowTest, AnalemmaticAndBifilarDialsShowTheirShadowAndNameIt) {
    struct Kind {
        AddedKind kind;
        const char* german;
        const char* english;
    };
    for (const Kind k : {Kind{AddedKind::Analemmatic, "Schatten des Gnomons auf dem Datum", "gnomon standing on the date"},
                         Kind{AddedKind::Bifilar, "Schatten der beiden Fäden", "shadows of both threads"}}) {
        state.language = Language::German;
        state.addedKind = k.kind;
        state.dialType = 'h';
        state.zoneMeridian = -15;
        DrawingWindow* w = open();
        ASSERT_NE(w, nullptr);
        if (!w->drawn()) click(QStringLiteral("drawButton"));
        ASSERT_TRUE(w->drawn());
        ShadowControls* c = w->shadowControls();
        c->setClock([] { return QDateTime(QDate(2027, 6, 21), QTime(8, 30), Qt::UTC); });
        c->toggle()->setChecked(true);
        DrawingCanvas* image = canvas(w);
        ASSERT_EQ(image->shadow().status, ShadowStatus::Cast) << c->status().toStdString();
        EXPECT_TRUE(c->status().contains(QString::fromUtf8(k.german))) << c->status().toStdString();
        QImage shown(w->image().size(), QImage::Format_RGB32);
        {
            QPainter painter(&shown);
            image->paintContents(painter);
        }
        EXPECT_LT(qGray(shown.pixel(image->shadow().nodus->toPoint())), 60);
        state.language = Language::English;
        w->applyLanguage();
        c->toggle()->setChecked(false);
        c->toggle()->setChecked(true);
        EXPECT_TRUE(c->status().contains(QString::fromUtf8(k.english))) << c->status().toStdString();
        w->close();
        Settle();
    }
    EXPECT_TRUE(dialogs.events.empty());
}

TEST_F(DrawingWindowTest, ShadowNowFollowsTheClockMovesWithTheSliderAndLeavesTheDialImageAlone) {
    state.dialType = 'h';
    state.zoneMeridian = -15;
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    click(QStringLiteral("drawButton"));
    ShadowControls* c = w->shadowControls();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->toggle()->text(), QStringLiteral("Schatten jetzt"));
    QDateTime now(QDate(2027, 6, 21), QTime(8, 59), Qt::UTC);
    c->setClock([&] { return now; });
    const QImage dial = w->image();
    c->toggle()->setChecked(true);
    // 08:59 UTC is 09:59 standard time at 15 degrees east.
    ASSERT_TRUE(c->moment());
    EXPECT_EQ(ShadowMomentText(*c->moment()), QStringLiteral("2027-06-21 09:59"));
    EXPECT_TRUE(c->status().contains(QStringLiteral("Schatten des Zeigers"))) << c->status().toStdString();
    DrawingCanvas* image = canvas(w);
    ASSERT_EQ(image->shadow().status, ShadowStatus::Cast);
    // The kept dial image is not drawn again; the shadow lies over it on the screen.
    EXPECT_EQ(w->image(), dial);
    QImage shown(dial.size(), QImage::Format_RGB32);
    {
        QPainter painter(&shown);
        image->paintContents(painter);
    }
    const QPoint nodus = image->shadow().nodus->toPoint();
    EXPECT_LT(qGray(shown.pixel(nodus)), 60);
    EXPECT_NE(shown, dial);

    now = now.addSecs(60);
    c->minuteTick();
    EXPECT_EQ(c->slider()->value(), 10 * 60);
    c->slider()->setValue(15 * 60);
    EXPECT_FALSE(c->followsClock());
    now = now.addSecs(60);
    c->minuteTick();
    EXPECT_EQ(c->slider()->value(), 15 * 60);
    const QPointF afternoon = *image->shadow().nodus;
    EXPECT_NE(afternoon, QPointF(nodus));

    c->slider()->setValue(2 * 60);
    EXPECT_EQ(image->shadow().status, ShadowStatus::SunDown);
    EXPECT_TRUE(c->status().contains(QStringLiteral("untergegangen")));

    // The animation steps five minutes and stops at midnight.
    c->slider()->setValue(23 * 60 + 50);
    c->playButton()->setChecked(true);
    EXPECT_TRUE(c->playing());
    c->playStep();
    EXPECT_EQ(c->slider()->value(), 23 * 60 + 55);
    c->playStep();
    EXPECT_EQ(c->slider()->value(), 0);
    EXPECT_FALSE(c->playing());

    c->toggle()->setChecked(false);
    EXPECT_FALSE(c->moment());
    EXPECT_EQ(image->shadow().status, ShadowStatus::NotAvailable);
    state.language = Language::English;
    w->applyLanguage();
    EXPECT_EQ(c->toggle()->text(), QStringLiteral("Shadow now"));
    EXPECT_TRUE(dialogs.events.empty());
}

// Every text of the window after a language switch is the text a window opened in that
// language shows: buttons, menu entries, group titles, tool tips and the title.
TEST_F(DrawingWindowTest, AnOpenWindowFollowsALanguageSwitchInEveryText) {
    const auto texts = [](DrawingWindow* w) {
        QStringList all{w->windowTitle()};
        for (QWidget* c : w->findChildren<QWidget*>()) {
            QString text = c->toolTip();
            if (auto* b = qobject_cast<QAbstractButton*>(c)) text += QLatin1Char('|') + b->text();
            if (auto* g = qobject_cast<QGroupBox*>(c)) text += QLatin1Char('|') + g->title();
            all << c->objectName() + QLatin1Char('=') + text;
            for (QAction* a : c->actions()) all << a->objectName() + QLatin1Char('=') + a->text();
        }
        all.sort();
        return all;
    };
    for (const char dial : {'v', 'm'}) {
        state.dialType = dial;
        state.expertMode = true;
        window->setLanguage(Language::German);
        DrawingWindow* w = open();
        ASSERT_NE(w, nullptr);
        const QStringList german = texts(w);
        window->setLanguage(Language::English);
        Settle();
        const QStringList switched = texts(w);
        window->closeAllChildren();
        w = open();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(switched, texts(w)) << dial;
        EXPECT_NE(switched, german) << dial;
        window->closeAllChildren();
    }
}

}  // namespace
}  // namespace zorva::test
