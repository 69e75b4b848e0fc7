// The drawing window's file output and polar-style panels, driven as a user would: open the
// panel, choose line weight and coordinates, answer the save dialog and the grid question.
#include "app/cli/cli.h"
#include "dials/dial_render.h"
#include "state/settings_file.h"
#include "ui/drawing_window.h"
#include "ui/file_output_panel.h"
#include "ui/polar_style_panel.h"

#include "ui_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace zorva::test {
namespace {

class FileOutputTest : public UiTest {
protected:
    DrawingWindow* open() {
        auto* w = qobject_cast<DrawingWindow*>(window->openChild(ChildKind::DrawingWindow));
        EXPECT_NE(w, nullptr);
        if (!w) return nullptr;
        EXPECT_TRUE(WaitFor([&] { return !w->hintText().isEmpty() || w->drawn(); }));
        Settle();
        return w;
    }
    QByteArray read(const QString& name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST(FileOutputPanelNames, ExtensionReplacedOrAppended) {
    EXPECT_EQ(FileOutputPanel::FileNameFor(QStringLiteral("zor.plt"), false), QStringLiteral("zor.dxf"));
    EXPECT_EQ(FileOutputPanel::FileNameFor(QStringLiteral("Sonnenuhr"), true), QStringLiteral("Sonnenuhr.plt"));
    EXPECT_EQ(FileOutputPanel::FileNameFor(QStringLiteral("mein.dial.v2"), true), QStringLiteral("mein.dial.plt"));
    EXPECT_EQ(FileOutputPanel::FileNameFor(QString(), false), QStringLiteral("zor.dxf"));
    EXPECT_EQ(FileOutputPanel::FileNameFor(QStringLiteral("  "), true), QStringLiteral("zor.plt"));
    EXPECT_EQ(FileOutputPanel::FileNameFor(QStringLiteral("a."), true), QStringLiteral("a.plt"));
    EXPECT_EQ(FileOutputPanel::FileNameFor(QStringLiteral("v1.0/dial"), false), QStringLiteral("v1.0/dial.dxf"));
    EXPECT_EQ(FileOutputPanel::FileNameFor(QString(70, QLatin1Char('x')), true), QString(60, QLatin1Char('x')) + ".plt");
}

TEST_F(FileOutputTest, HpglSavedWithTheChosenNameAndWeight) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    click(QStringLiteral("drawButton"));
    const double originX = state.originX, originY = state.originY;
    const QSize imageSize = w->image().size();
    click(QStringLiteral("saveHpglButton"));
    FileOutputPanel* panel = w->fileOutputPanel();
    ASSERT_TRUE(panel->isVisible());
    // The panel lies over the drawing: the image keeps the size its positions refer to.
    EXPECT_EQ(w->image().size(), imageSize);
    EXPECT_EQ(edit(QStringLiteral("plotFileName"))->text(), QStringLiteral("zor.plt"));
    auto* weight = find<QComboBox>(QStringLiteral("lineWeight"));
    ASSERT_NE(weight, nullptr);
    EXPECT_EQ(weight->currentText(), QStringLiteral(" fein"));
    weight->setCurrentIndex(2);
    type(QStringLiteral("plotFileName"), QStringLiteral("Mein Zifferblatt"));
    files.answers = {dir.filePath(QStringLiteral("Mein Zifferblatt ä.plt"))};
    click(QStringLiteral("nextButton"));
    EXPECT_EQ(files.titles.last(), QStringLiteral("ZORVA.EXE - Zeichnung als Datei speichern"));
    EXPECT_EQ(files.proposals.last(), QStringLiteral("Mein Zifferblatt.plt"));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(dialogs.contains(QStringLiteral("Datei Mein Zifferblatt ä.plt gespeichert!")));
    const QByteArray plot = read(QStringLiteral("Mein Zifferblatt ä.plt"));
    EXPECT_TRUE(plot.startsWith("IN;VS 1;PA;IW 0 0 16157 11038;"));
    // The gnomon was not placed by hand: the very file zorva-cli writes for the state.
    PlanarSaveRequest fresh;
    fresh.fileName = dir.filePath(QStringLiteral("cli.plt"));
    RecordingDialogs quiet;
    ASSERT_TRUE(SavePlanarDial(state, fresh, quiet).ok);
    EXPECT_EQ(plot, read(QStringLiteral("cli.plt")));
    EXPECT_EQ(state.plotFileName, dir.filePath(QStringLiteral("Mein Zifferblatt ä.plt")));
    EXPECT_EQ(state.plotLineWeight, 3);
    EXPECT_EQ(state.originX, originX);
    EXPECT_EQ(state.originY, originY);
}

TEST_F(FileOutputTest, DxfWithListingBesideItAndTheGnomonWhereTheUserPutIt) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    w->placeGnomon(QPoint(w->image().width() / 4, w->image().height() / 10));
    w->openFileOutput(false, true);
    EXPECT_EQ(edit(QStringLiteral("plotFileName"))->text(), QStringLiteral("zor.dxf"));
    click(QStringLiteral("coordinateOutput2"));
    files.answers = {dir.filePath(QStringLiteral("wand.dxf"))};
    dialogs.answers = {Answer::Yes};  // with the coordinate grid
    click(QStringLiteral("nextButton"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("wand.dxf"))));
    const QString listing = QString::fromUtf8(read(QStringLiteral("wand.txt")));
    EXPECT_TRUE(listing.startsWith(QStringLiteral("Vertikale SONNENUHR\r\n")));
    EXPECT_TRUE(listing.contains(QStringLiteral("Name der gespeicherten Zeichnung: ") + dir.filePath(QStringLiteral("wand.dxf"))));
    EXPECT_EQ(dialogs.events.front().text, QStringLiteral("Soll zusätzlich das Koordinatennetz gezeichnet werden?"));
    EXPECT_TRUE(dialogs.contains(QStringLiteral("wand.txt gespeichert!")));
    // The grid lines are parallel to the axes through the origin the user placed.
    const QByteArray dxf = read(QStringLiteral("wand.dxf"));
    EXPECT_TRUE(dxf.contains("L_9"));
}

// "SVG..." writes the page zorva-cli writes for the state, at true scale; after the user moved
// the gnomon, the page follows the window as the printout does; a folder that is missing is
// reported and nothing is called saved.
TEST_F(FileOutputTest, SvgOfTheWindowIsTheTrueScalePageOfZorvaCli) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    click(QStringLiteral("drawButton"));
    files.answers = {dir.filePath(QStringLiteral("wand.svg"))};
    click(QStringLiteral("saveSvgButton"));
    EXPECT_EQ(files.titles.last(), QStringLiteral("ZORVA.EXE - Zeichnung als Datei speichern"));
    EXPECT_EQ(files.proposals.last(), QStringLiteral("zor.svg"));
    EXPECT_TRUE(dialogs.contains(QStringLiteral("Datei wand.svg gespeichert!")));
    const QByteArray svg = read(QStringLiteral("wand.svg"));
    RecordingDialogs quiet;
    ASSERT_TRUE(RenderDialSvg(state, w->image().size(), dir.filePath(QStringLiteral("cli.svg")), quiet));
    EXPECT_EQ(svg, read(QStringLiteral("cli.svg")));
    EXPECT_TRUE(svg.contains("width=\"297mm\""));

    w->placeGnomon(QPoint(w->image().width() / 3, w->image().height() / 8));
    files.answers = {dir.filePath(QStringLiteral("moved.svg"))};
    w->findChild<QAction*>(QStringLiteral("saveSvgAction"))->trigger();
    const QByteArray moved = read(QStringLiteral("moved.svg"));
    EXPECT_FALSE(moved.isEmpty());
    EXPECT_NE(moved, svg);

    dialogs.events.clear();
    files.answers = {dir.filePath(QStringLiteral("fehlt/zor.svg"))};
    click(QStringLiteral("saveSvgButton"));
    EXPECT_TRUE(dialogs.contains(QStringLiteral("Datei konnte nicht gespeichert werden!")));
    EXPECT_FALSE(dialogs.contains(QStringLiteral("gespeichert!     ")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("fehlt/zor.svg"))));
}

TEST_F(FileOutputTest, CancelledSaveDialogWritesNothingAndKeepsTheState) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    const QString before = state.plotFileName;
    w->openFileOutput(true, false);
    files.answers = {QString()};
    click(QStringLiteral("nextButton"));
    EXPECT_TRUE(w->fileOutputPanel()->isVisible());  // the user may choose again or cancel
    EXPECT_TRUE(dialogs.events.empty());
    EXPECT_EQ(state.plotFileName, before);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    click(QStringLiteral("cancelButton"));
    EXPECT_FALSE(w->fileOutputPanel()->isVisible());

    // Escape in the panel cancels it as well, writing nothing.
    w->openFileOutput(true, false);
    ASSERT_TRUE(w->fileOutputPanel()->isVisible());
    auto* name = w->fileOutputPanel()->findChild<QLineEdit*>();
    ASSERT_NE(name, nullptr);
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(w->fileOutputPanel()->isVisible());
    EXPECT_TRUE(w->isVisible()) << "the drawing window stays";
    EXPECT_EQ(state.plotFileName, before);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(FileOutputTest, MissingFolderIsReportedAndNothingIsCalledSaved) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    w->openFileOutput(true, false);
    files.answers = {dir.filePath(QStringLiteral("fehlt/zor.plt"))};
    click(QStringLiteral("nextButton"));
    EXPECT_TRUE(dialogs.contains(QStringLiteral("Datei konnte nicht gespeichert werden!")));
    EXPECT_FALSE(dialogs.contains(QStringLiteral("saved!")));
    EXPECT_TRUE(state.plotFileName.isEmpty());
    EXPECT_TRUE(w->fileOutputPanel()->isVisible());
}

TEST_F(FileOutputTest, GnomonFootOutsideAsksFromTheButtonsOnly) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    w->placeGnomon(QPoint(-50, 20));
    dialogs.answers = {Answer::Yes};
    click(QStringLiteral("saveDxfButton"));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Achtung!"));
    EXPECT_TRUE(dialogs.events[0].text.startsWith(QStringLiteral("Der Fußpunkt des Gnomon liegt")));
    EXPECT_FALSE(w->fileOutputPanel()->isVisible());
    dialogs.clear();
    w->openFileOutput(false, false);  // the menu entry
    EXPECT_TRUE(dialogs.events.empty());
    EXPECT_TRUE(w->fileOutputPanel()->isVisible());
}

// The window's hat dial and the command line's, from the same settings file: the dial's
// zodiac date lines are those of the reference year on both.
TEST_F(FileOutputTest, WindowAndCommandLineWriteTheSamePlotForTheSameState) {
    state.dialType = 'z';
    state.cylinderKind = 1;
    state.referenceYear = 1850;
    window->referenceYearChanged();  // as the site dialog does
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    click(QStringLiteral("saveHpglButton"));
    files.answers = {dir.filePath(QStringLiteral("window.plt"))};
    click(QStringLiteral("nextButton"));
    const QByteArray windowPlot = read(QStringLiteral("window.plt"));
    ASSERT_FALSE(windowPlot.isEmpty());

    const QString settings = dir.filePath(QStringLiteral("zor.ini"));
    RecordingDialogs quiet;
    ASSERT_TRUE(WriteStateFile(state, settings, quiet));
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(cli::Run({QStringLiteral("--settings"), settings, QStringLiteral("draw"), QStringLiteral("--out"),
                        dir.filePath(QStringLiteral("cli.plt"))},
                       o, e),
              cli::kOk)
        << err.toStdString();
    EXPECT_EQ(read(QStringLiteral("cli.plt")), windowPlot);

    // A planar dial too, with the window's default placement.
    state.dialType = 'h';
    ASSERT_TRUE(WriteStateFile(state, settings, quiet));
    w = open();
    ASSERT_NE(w, nullptr);
    click(QStringLiteral("drawButton"));
    click(QStringLiteral("saveHpglButton"));
    files.answers = {dir.filePath(QStringLiteral("window-h.plt"))};
    click(QStringLiteral("nextButton"));
    ASSERT_EQ(cli::Run({QStringLiteral("--settings"), settings, QStringLiteral("draw"), QStringLiteral("--out"),
                        dir.filePath(QStringLiteral("cli-h.plt"))},
                       o, e),
              cli::kOk)
        << err.toStdString();
    EXPECT_EQ(read(QStringLiteral("cli-h.plt")), read(QStringLiteral("window-h.plt")));
}

TEST_F(FileOutputTest, FileButtonsOnlyForDialsWithAPlotWriter) {
    state.dialType = 'b';  // no construction, no plot
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(find<QWidget>(QStringLiteral("saveHpglButton"))->isEnabled());
    EXPECT_FALSE(find<QWidget>(QStringLiteral("saveDxfButton"))->isEnabled());
    w->openFileOutput(true, false);
    EXPECT_FALSE(w->fileOutputPanel()->isVisible());
}

TEST_F(FileOutputTest, PolarStyleInformationForTheZoomedGnomon) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    state.zoomFactor = 2.0;
    click(QStringLiteral("styleInfoButton"));
    ASSERT_TRUE(w->polarStylePanel()->isVisible());
    auto* memo = find<QPlainTextEdit>(QStringLiteral("polarStyleText"));
    ASSERT_NE(memo, nullptr);
    const QString text = memo->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Vertikale SONNENUHR\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("     Gnomonhoehe normal zum Zifferblatt  :  70.000 [ mm ]")));
    QStringList printed;
    w->polarStylePanel()->setPrinter([&](const QStringList& lines) {
        printed = lines;
        return true;
    });
    click(QStringLiteral("polarStylePrint"));
    EXPECT_EQ(printed, w->polarStylePanel()->lines());
}

// The panels over the drawing close with their own button, say so, and leave the drawing;
// opening one panel puts the other away.
TEST_F(FileOutputTest, PanelsOverTheDrawingCloseWithTheirOwnButton) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    struct Panel {
        OverlayPanel* panel;
        const char* button;
        std::function<void()> show;
    };
    const Panel panels[] = {{w->fileOutputPanel(), "cancelButton", [w] { w->openFileOutput(true, false); }},
                            {w->polarStylePanel(), "polarStyleClose", [w] { w->showPolarStyle(); }}};
    for (const Panel& p : panels) {
        QSignalSpy closed(p.panel, &OverlayPanel::closed);
        p.show();
        Settle();
        ASSERT_TRUE(p.panel->isVisible()) << p.button;
        for (const Panel& other : panels) {
            if (other.panel != p.panel) {
                EXPECT_FALSE(other.panel->isVisible()) << p.button;
            }
        }
        auto* button = p.panel->findChild<QPushButton*>(QString::fromLatin1(p.button));
        ASSERT_NE(button, nullptr) << p.button;
        QTest::mouseClick(button, Qt::LeftButton);
        Settle();
        EXPECT_FALSE(p.panel->isVisible()) << p.button;
        EXPECT_EQ(closed.count(), 1) << p.button;
        EXPECT_TRUE(w->isVisible());
    }
}

}  // namespace
}  // namespace zorva::test
