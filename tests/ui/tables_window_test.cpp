#include "ui/tables_window.h"

#include "astro/horizon_profile.h"
#include "astro/table_export.h"
#include "astro/tables.h"
#include "ui_test_support.h"

#include "text/texts.h"

#include <QCheckBox>
#include <QScrollBar>
#include <QScrollArea>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QMap>
#include <QRadioButton>
#include <QTemporaryDir>

namespace zorva::test {
namespace {

class TablesWindowTest : public UiTest {
protected:
    void SetUp() override {
        state.latitude = 47.25;
        state.longitude = -9.55;
        state.zoneMeridian = -15;
        state.referenceYear = 1999;
        state.calcMonth = 6;
        state.twilightKind = 1;
        UiTest::SetUp();
    }
    TablesWindow* open(int mode, int kind = 0) {
        auto* w = qobject_cast<TablesWindow*>(window->openChild(ChildKind::TableWindow, OpenRequest{mode, kind}));
        Settle();
        return w;
    }
    TablesWindow* tables() const { return qobject_cast<TablesWindow*>(window->activeChild()); }
    QString readFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
    QTemporaryDir dir;
};

TEST_F(TablesWindowTest, MenuEntriesOpenTheirTablesAndGraphs) {
    window->action(MenuEntry::TableNoon)->trigger();
    Settle();
    ASSERT_NE(tables(), nullptr);
    EXPECT_EQ(tables()->calcMode(), kTablesYear);
    EXPECT_EQ(tables()->yearTableKind(), YearTableKind::Transit);
    EXPECT_EQ(tables()->windowTitle(), resourceTextPlain(68, Language::German));
    EXPECT_TRUE(tables()->tableLines().join('\n').contains(QStringLiteral("12:05:23")));
    EXPECT_TRUE(find<QRadioButton>("yearKind3")->isChecked());
    EXPECT_FALSE(find<QWidget>("twilightBox")->isVisible());

    // Alt+F12 and Alt+F10: the two graphs, titled with the year.
    EXPECT_EQ(window->action(MenuEntry::GraphEot)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F12));
    window->action(MenuEntry::GraphEot)->trigger();
    Settle();
    ASSERT_NE(tables(), nullptr);
    EXPECT_EQ(window->childCount(), 1);
    EXPECT_EQ(tables()->calcMode(), kTablesEotGraph);
    EXPECT_EQ(tables()->windowTitle(), QStringLiteral("Grafik der Zeitgleichung  1999"));
    EXPECT_TRUE(find<QLabel>("heading")->text().startsWith(QStringLiteral("Die Zeitgleichung EoT ist definiert als:")));
    EXPECT_FALSE(find<QPushButton>("saveTableButton")->isVisible());
    window->action(MenuEntry::GraphSunPosition)->trigger();
    Settle();
    EXPECT_EQ(tables()->calcMode(), kTablesSunPath);
    EXPECT_EQ(tables()->windowTitle(), QStringLiteral("Sonnenstandsdiagramm  1999"));
    EXPECT_TRUE(find<QWidget>("planePanel")->isVisible());

    window->action(MenuEntry::TableRiseSet)->trigger();
    Settle();
    EXPECT_EQ(tables()->calcMode(), kTablesMonth);
    EXPECT_EQ(tables()->windowTitle(), resourceTextPlain(65, Language::German));
    EXPECT_EQ(tables()->displayedLines().size(), 44);
}

TEST_F(TablesWindowTest, TwilightMonthAndKindRebuildTheTable) {
    open(kTablesMonth);
    ASSERT_NE(tables(), nullptr);
    EXPECT_TRUE(find<QRadioButton>("twilight1")->isChecked());
    EXPECT_TRUE(tables()->tableLines()[24].startsWith(QStringLiteral(" 21. 6.1999   4:25 20:21   21:57  2:50")));
    click(QStringLiteral("twilight0"));
    EXPECT_EQ(state.twilightKind, 0);  // shared with the sun-position window
    EXPECT_TRUE(tables()->tableLines().join('\n').contains(QStringLiteral("bürgerl. (0.83°-6°).")));
    EXPECT_FALSE(tables()->tableLines()[24].contains(QStringLiteral("21:57  2:50")));

    find<QComboBox>("monthChoice")->setCurrentIndex(1);  // February
    Settle();
    EXPECT_EQ(state.calcMonth, 2);
    EXPECT_TRUE(tables()->tableLines()[0].startsWith(QStringLiteral("  1. 2.1999")));

    // The pop-up menu switches to a year table in the same window.
    tables()->findChild<QAction*>(QStringLiteral("popupDeclinationTable"))->trigger();
    Settle();
    EXPECT_EQ(tables()->calcMode(), kTablesYear);
    EXPECT_EQ(tables()->yearTableKind(), YearTableKind::Declination);
    EXPECT_TRUE(tables()->tableLines()[0].contains(QStringLiteral("Tabelle der Sonnendeklination fuer das Jahr 1999")));
    click(QStringLiteral("yearKind1"));
    EXPECT_EQ(tables()->yearTableKind(), YearTableKind::EotWithLongitude);
    EXPECT_EQ(tables()->windowTitle(), resourceTextPlain(66, Language::German));
}

TEST_F(TablesWindowTest, TheMonthTableTakesTheTerrainWhenAsked) {
    // A 5 degree ridge all round: every sunrise later, every sunset earlier.
    auto ridge = std::make_shared<HorizonProfile>();
    for (HorizonRecord& r : ridge->records) {
        r.elevation = 5.0;
        r.distanceMetres = 2500;
        r.empty = false;
    }
    state.horizonProfile = ridge;
    open(kTablesMonth);
    const QStringList plain = tables()->tableLines();
    auto* option = find<QCheckBox>("sunriseOverTerrainCheck");
    ASSERT_NE(option, nullptr);
    EXPECT_TRUE(option->isVisible());
    click(QStringLiteral("sunriseOverTerrainCheck"));
    EXPECT_TRUE(state.sunriseOverTerrain);
    const QStringList terrain = tables()->tableLines();
    ASSERT_EQ(terrain.size(), plain.size());
    // 21 June: the sun's pair changes, the twilight pair beside it does not.
    EXPECT_FALSE(terrain[24].startsWith(QStringLiteral(" 21. 6.1999   4:25 20:21"))) << terrain[24].toStdString();
    EXPECT_EQ(terrain[24].mid(26), plain[24].mid(26));
    EXPECT_TRUE(tables()->displayedLines().join('\n').contains(QStringLiteral("über dem Horizontprofil")));
    click(QStringLiteral("sunriseOverTerrainCheck"));
    EXPECT_EQ(tables()->tableLines(), plain);
    // Only the month table has rise and set.
    open(kTablesYear, 2);
    EXPECT_FALSE(find<QCheckBox>("sunriseOverTerrainCheck")->isVisible());
}

TEST_F(TablesWindowTest, SavingAsCsvCutsTheNameAtItsFirstDot) {
    open(kTablesYear, 0);
    const QString chosen = dir.filePath(QStringLiteral("data.old.txt"));
    files.answers.push_back(chosen);
    files.filterAnswers.push_back(1);  // "Excel-Datei (*.CSV)"
    tables()->saveTable();
    EXPECT_EQ(files.titles.back(), QStringLiteral("ZORVA.EXE - Tabelle speichern"));
    EXPECT_EQ(files.proposals.back(), QStringLiteral("Tabelle"));
    EXPECT_EQ(files.filters.back(), QStringLiteral("Textdatei (*.TXT)|*.TXT|Excel-Datei (*.CSV)|*.CSV"));
    EXPECT_EQ(files.namesPerFilter, QStringList({QStringLiteral("text.txt"), QStringLiteral("text.csv")}));
    const QString saved = dir.filePath(QStringLiteral("data.csv"));
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_FALSE(QFile::exists(chosen));
    EXPECT_EQ(readFile(saved), TableFileText(tables()->tableLines(), TableFamily::Year, TableFileKind::Csv, state));

    // The text filter, and a second save that writes the very same file.
    files.answers.push_back(dir.filePath(QStringLiteral("eot")));
    files.filterAnswers.push_back(0);
    tables()->saveTable();
    const QString first = readFile(dir.filePath(QStringLiteral("eot.txt")));
    files.answers.push_back(dir.filePath(QStringLiteral("eot.txt")));
    tables()->saveTable();
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("eot.txt"))), first);
    EXPECT_TRUE(first.startsWith(QStringLiteral(" \r\n             Zeitgleichung in min:sec fuer das Jahr 1999\r\n")));
    EXPECT_TRUE(dialogs.events.empty()) << dialogs.texts().join('|').toStdString();

    // Cancelled: nothing written, nothing said.
    tables()->saveTable();
    EXPECT_TRUE(dialogs.events.empty());
}

TEST_F(TablesWindowTest, UnwritableTableTargetIsReported) {
    open(kTablesMonth);
    const QString target = dir.filePath(QStringLiteral("missing/folder/t.txt"));
    files.answers.push_back(target);
    tables()->saveTable();
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("Open error: File  ") + target +
                                          QStringLiteral("\r\nDer Ordner existiert nicht. Die bisherige Datei ist unverändert."));
    EXPECT_EQ(dialogs.events[0].icon, Icon::Error);
}

TEST_F(TablesWindowTest, GraphFactorIsValidatedBeforeAnythingIsSaved) {
    open(kTablesEotGraph);
    click(QStringLiteral("saveHpglButton"));
    EXPECT_TRUE(find<QWidget>("graphOptions")->isVisible());
    EXPECT_TRUE(find<QLabel>("graphFileLabel")->text().endsWith(QStringLiteral("EoT.plt")));
    type(QStringLiteral("factorEdit"), QStringLiteral("25"));
    click(QStringLiteral("graphSaveOk"));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_TRUE(dialogs.events[0].text.startsWith(QStringLiteral("Vergrößerungsfaktor in y-Richtung  =25\r\n")))
        << dialogs.events[0].text.toStdString();
    EXPECT_TRUE(files.titles.isEmpty());  // no save dialog

    dialogs.clear();
    type(QStringLiteral("factorEdit"), QStringLiteral("20"));
    click(QStringLiteral("mirrorCheck"));
    const QString target = dir.filePath(QStringLiteral("EoT.plt"));
    files.answers.push_back(target);
    click(QStringLiteral("graphSaveOk"));
    EXPECT_EQ(files.proposals.back(), QStringLiteral("EoT.plt"));
    const QString plot = readFile(target);
    // Factor 20: one minute spans 2400 units; mirrored, the -17 minute line lies at 850 + 17 * 600.
    EXPECT_TRUE(plot.startsWith(QStringLiteral("IN;SP 8;SI 0.14, 0.24;SP 8;PU 728 44200;"))) << plot.left(60).toStdString();
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("\r\n       Datei EoT.plt gespeichert!     "));
    EXPECT_FALSE(find<QWidget>("graphOptions")->isVisible());
}

TEST_F(TablesWindowTest, SunPathDiagramSavesDxfWithoutMirroring) {
    open(kTablesSunPath);
    click(QStringLiteral("saveDxfButton"));
    EXPECT_FALSE(find<QCheckBox>("mirrorCheck")->isEnabled());
    EXPECT_TRUE(find<QLabel>("graphFileLabel")->text().endsWith(QStringLiteral("Sonnenpositionen.dxf")));
    const QString target = dir.filePath(QStringLiteral("Azi.dxf"));
    files.answers.push_back(target);
    click(QStringLiteral("graphSaveOk"));
    EXPECT_EQ(files.proposals.back(), QStringLiteral("Azi.dxf"));
    EXPECT_TRUE(readFile(target).contains(QStringLiteral("POLYLINE")));
}

TEST_F(TablesWindowTest, LongitudeCorrectionRedrawsTheGraph) {
    open(kTablesEotGraph);
    auto* view = find<QWidget>("graphView");
    ASSERT_NE(view, nullptr);
    const QImage plain = view->grab().toImage();
    click(QStringLiteral("longitudeCorrectionCheck"));
    EXPECT_TRUE(state.eotLongitudeCorrection);
    EXPECT_TRUE(find<QCheckBox>("graphCorrectionCheck")->isChecked());
    EXPECT_NE(view->grab().toImage(), plain);
}

TEST_F(TablesWindowTest, PrintingTablesAndGraphs) {
    const QString pdf = dir.filePath(QStringLiteral("print.pdf"));
    for (const auto& [mode, kind] : {std::pair{kTablesMonth, 0}, std::pair{kTablesYear, 3}, std::pair{kTablesEotGraph, 0},
                                     std::pair{kTablesSunPath, 0}}) {
        open(mode, kind);
        QFile::remove(pdf);
        bool landscapeWhilePrinting = false;
        tables()->setPrinterSetup([&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return true;
        });
        tables()->print();
        landscapeWhilePrinting = readFile(pdf).contains(QStringLiteral("/MediaBox [0 0 842"));
        EXPECT_TRUE(readFile(pdf).startsWith(QStringLiteral("%PDF"))) << mode;
        // The transit table goes out in landscape; afterwards the printer is in portrait again.
        if (mode == kTablesYear) { EXPECT_TRUE(landscapeWhilePrinting); }
        if (mode == kTablesMonth) { EXPECT_FALSE(landscapeWhilePrinting); }
        EXPECT_EQ(tables()->printer().pageLayout().orientation(), QPageLayout::Portrait);
    }
    EXPECT_TRUE(dialogs.events.empty()) << dialogs.texts().join('|').toStdString();

    // "Drucken..." (F3) of the main window prints the open table on the main window's printer.
    QFile::remove(pdf);
    window->action(MenuEntry::Print)->trigger();
    EXPECT_TRUE(readFile(pdf).startsWith(QStringLiteral("%PDF")));

    // A printer that cannot start: message 42.
    open(kTablesMonth);
    tables()->setPrinterSetup([&](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(dir.filePath(QStringLiteral("no/such/folder/x.pdf")));
        return true;
    });
    tables()->print();
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, message(42, Language::German));
}

// Every year table is printed whole: each value of the table, the December column included,
// is in the text of the printed page (a table wider than the paper used to lose its right edge).
TEST_F(TablesWindowTest, PrintedYearTablesKeepEveryColumn) {
    const QString pdf = dir.filePath(QStringLiteral("year.pdf"));
    for (int kind = 0; kind <= 3; ++kind) {
        open(kTablesYear, kind);
        tables()->setPrinterSetup([&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return true;
        });
        QFile::remove(pdf);
        tables()->print();
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        ASSERT_TRUE(text.waitForFinished(30000)) << kind;
        const QStringList printed = QString::fromUtf8(text.readAllStandardOutput()).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        QMap<QString, int> available;
        for (const QString& t : printed) ++available[t];
        const QStringList lines = BuildYearTable(state, static_cast<YearTableKind>(kind), TableTarget::Print);
        ASSERT_GT(lines.size(), 30) << kind;
        int missing = 0;
        QString firstMissing;
        for (const QString& line : lines)
            for (const QString& token : line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
                if (--available[token] < 0 && missing++ == 0) firstMissing = token;
        EXPECT_EQ(missing, 0) << "kind " << kind << ", first missing: " << firstMissing.toStdString();
    }
}

TEST_F(TablesWindowTest, TableFontFitsTheWindow) {
    open(kTablesYear, 3);
    auto* view = qobject_cast<TableView*>(find<QWidget>("tableView"));
    ASSERT_NE(view, nullptr);
    // Measured on a view of its own: the window's scroll area sizes its view itself.
    TableView probe;
    probe.setLines(view->lines());
    probe.resize(2400, 1400);
    const int large = probe.fittedPointSize();
    probe.resize(900, 700);
    const int small = probe.fittedPointSize();
    EXPECT_LE(large, 12);
    EXPECT_LT(small, large);
    const QFontMetricsF fm(QFont(QStringLiteral("Courier New"), small));
    EXPECT_LE(fm.lineSpacing() * 44, 700 + 1e-9);
}

TEST_F(TablesWindowTest, SmallWindowsScrollInsteadOfShrinkingTheTextAway) {
    for (const auto& [mode, kind] : {std::pair{kTablesMonth, 0}, std::pair{kTablesYear, 0}, std::pair{kTablesYear, 3}}) {
        open(mode, kind);
        auto* view = qobject_cast<TableView*>(find<QWidget>("tableView"));
        ASSERT_NE(view, nullptr);
        auto* scroll = find<QScrollArea>("tableViewScroll");
        ASSERT_NE(scroll, nullptr);
        window->activeChild()->parentWidget()->showNormal();
        window->activeChild()->parentWidget()->resize(520, 420);
        Settle();
        // Never below 9 points, and the last line is reached by scrolling.
        EXPECT_GE(view->fittedPointSize(), 9) << mode << " " << kind;
        EXPECT_GE(view->height(), view->minimumSizeHint().height());
        EXPECT_GT(view->height(), scroll->viewport()->height());
        EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
        const QFontMetricsF fm(QFont(QStringLiteral("Courier New"), view->fittedPointSize()));
        EXPECT_LE(fm.lineSpacing() * (view->lines().size() + 1), view->height() + 1e-9)
            << "every line, day 31 too, lies inside the view";
    }
    open(kTablesEotGraph);
    auto* scroll = find<QScrollArea>("graphViewScroll");
    ASSERT_NE(scroll, nullptr);
    window->activeChild()->parentWidget()->showNormal();
    window->activeChild()->parentWidget()->resize(500, 420);
    Settle();
    EXPECT_GE(find<QWidget>("graphView")->width(), 720);
    EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
}

TEST_F(TablesWindowTest, EnglishTexts) {
    state.language = Language::English;
    open(kTablesYear, 2);
    EXPECT_TRUE(tables()->tableLines()[0].contains(QStringLiteral("Table of the Declination of the Sun for the year 1999")));
    EXPECT_EQ(find<QPushButton>("saveTableButton")->text(), QStringLiteral("&Save table"));
}

}  // namespace
}  // namespace zorva::test
