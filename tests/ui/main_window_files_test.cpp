#include "state/settings_file.h"
#include "text/texts.h"
#include "ui_test_support.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

namespace zorva::test {
namespace {

class MainWindowFilesTest : public UiTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state.programDirectory = dir.path() + QLatin1Char('/');
        UiTest::SetUp();
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    bool siteDialogOpen() const {
        return window->activeChild() && window->activeChild()->kind() == ChildKind::SiteDialog;
    }
    QTemporaryDir dir;
};

TEST_F(MainWindowFilesTest, ASettingsFileInEnglishStartsTheProgramInEnglish) {
    DialState english = StartupState();
    english.language = Language::English;
    english.referenceYear = 2000;
    RecordingDialogs quiet;
    ASSERT_TRUE(WriteStateFile(english, path("zor.ini"), quiet));

    window->startUp();
    EXPECT_EQ(state.language, Language::English);
    EXPECT_EQ(window->action(MenuEntry::FileMenu)->text(), "  &Files  ");
    EXPECT_EQ(window->action(MenuEntry::Quit)->text(), "&Quit");
    EXPECT_TRUE(window->action(MenuEntry::English)->isChecked());
    EXPECT_EQ(state.referenceYear, 2000);
    EXPECT_NEAR(state.zodiacDeclinations[7], 23.44, 0.005);  // the year's zodiac, recomputed
    EXPECT_EQ(window->settingsPath(), path("zor.ini"));
    EXPECT_FALSE(dialogs.contains("not found"));
}

TEST_F(MainWindowFilesTest, WithoutASettingsFileTheStartAsksToCreateIt) {
    dialogs.answers = {Answer::Yes};
    window->startUp();
    ASSERT_FALSE(dialogs.events.empty());
    EXPECT_TRUE(dialogs.events[0].text.contains("Die Datei fehlt. Soll sie erstellt werden?"));
    EXPECT_TRUE(QFile::exists(path("zor.ini")));
    EXPECT_EQ(state.language, Language::German);
}

TEST_F(MainWindowFilesTest, DialDataSaveAndLoadThroughTheFileDialogs) {
    window->startUp();
    dialogs.clear();
    state.latitude = 52.5;
    state.dialType = 'k';
    files.answers = {path("garden.zor")};
    window->action(MenuEntry::SaveDialData)->trigger();  // F2
    ASSERT_EQ(files.titles.size(), 1);
    EXPECT_EQ(files.titles[0], "ZORVA.EXE - Konstruktionsdaten speichern");
    EXPECT_EQ(files.filters[0], title(28, Language::German));
    EXPECT_TRUE(files.proposals[0].endsWith("myDial.zor"));
    EXPECT_TRUE(QFile::exists(path("garden.zor")));

    state.latitude = 10;
    state.dialType = 'v';
    files.answers = {path("garden.zor")};
    window->action(MenuEntry::LoadDialData)->trigger();  // F4
    EXPECT_EQ(files.titles.last(), "ZORVA.EXE - Konstruktionsdaten laden");
    EXPECT_EQ(files.filters.last(), title(45, Language::German));
    EXPECT_DOUBLE_EQ(state.latitude, 52.5);
    EXPECT_EQ(state.dialType, 'k');
    EXPECT_EQ(state.legendOffset, 36);
    Settle();
    EXPECT_TRUE(siteDialogOpen());

    // Cancelled dialogs change nothing.
    window->closeAllChildren();
    files.answers = {QString()};
    state.latitude = 11;
    window->action(MenuEntry::LoadDialData)->trigger();
    EXPECT_DOUBLE_EQ(state.latitude, 11.0);
}

TEST_F(MainWindowFilesTest, IniSaveOffersTheSettingsFileAndIniLoadReadsIt) {
    window->startUp();
    state.referenceYear = 1999;
    files.answers = {window->settingsPath()};
    window->action(MenuEntry::SaveIni)->trigger();  // Alt+F2
    EXPECT_EQ(files.proposals.last(), window->settingsPath());
    EXPECT_TRUE(dialogs.contains(" gespeichert!"));

    state.referenceYear = 2100;
    window->action(MenuEntry::LoadIni)->trigger();  // Alt+F4
    EXPECT_EQ(state.referenceYear, 1999);
    Settle();
    EXPECT_TRUE(siteDialogOpen());
}

TEST_F(MainWindowFilesTest, LoadingIsRefusedWhileAnOpenDialogVetoes) {
    window->startUp();
    window->openChild(ChildKind::SiteDialog);
    Settle();
    type("latitudeDegrees", "95");
    dialogs.clear();
    state.referenceYear = 2100;
    window->action(MenuEntry::LoadIni)->trigger();
    EXPECT_EQ(state.referenceYear, 2100);  // the file was not read over the pending input
    EXPECT_TRUE(dialogs.contains("geogr. Breite=95"));
}

TEST_F(MainWindowFilesTest, DateLineFileEntriesOfTheOptionsPopup) {
    dialogs.answers = {Answer::Yes};
    window->startUp();
    state.dialType = 'h';
    state.dateLineMode = '0';
    QAction* saveDates = window->optionsEntry(MainWindow::kSaveDates);
    QAction* loadDates = window->optionsEntry(MainWindow::kLoadDates);
    EXPECT_EQ(saveDates->text(), "Speichern Datum");
    EXPECT_EQ(loadDates->text(), "LadDatum");

    // Hidden unless the parameter dialog is active with its own date lines chosen.
    window->popupMenu();
    EXPECT_FALSE(saveDates->isVisible());
    window->openChild(ChildKind::ParameterDialog);
    Settle();
    window->popupMenu();
    EXPECT_FALSE(saveDates->isVisible());
    state.dateLineMode = '2';
    window->popupMenu();
    EXPECT_TRUE(saveDates->isVisible());
    EXPECT_TRUE(loadDates->isVisible());
    EXPECT_FALSE(loadDates->isEnabled());  // no "zor_days.ini" yet

    state.dateLineList = {QStringLiteral("07/03    ( 07. Mar )"), QStringLiteral("bad"),
                          QStringLiteral("21/06    ( 21. Jun )")};
    saveDates->trigger();
    EXPECT_TRUE(dialogs.contains("bad"));  // an invalid entry is reported and left out
    QFile file(path("zor_days.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(file.readAll()), "07/03    ( 07. Mar )\r\n21/06    ( 21. Jun )\r\n");
    file.close();

    window->popupMenu();
    EXPECT_TRUE(loadDates->isEnabled());
    state.dateLineList = {QStringLiteral("01/01")};
    loadDates->trigger();
    EXPECT_EQ(state.dateLineList,
              QStringList({QStringLiteral("07/03    ( 07. Mar )"), QStringLiteral("21/06    ( 21. Jun )")}));
    auto* list = window->findChild<QListWidget*>(QStringLiteral("dateList"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);  // the open dialog shows what was loaded
    EXPECT_EQ(list->item(0)->text(), "07/03    ( 07. Mär )");

    window->setLanguage(Language::English);
    EXPECT_EQ(list->item(1)->text(), "21/06    ( 21 Jun )");
    EXPECT_EQ(saveDates->text(), "Save Dates");
    EXPECT_EQ(loadDates->text(), "Load Dates");
}

}  // namespace
}  // namespace zorva::test
