// Desktop conventions: Escape cancels a dialog as "Abbruch" does, the settings-file keys stay
// clear of the window manager's, and quitting never drops changed settings unasked.
#include "state/settings_file.h"
#include "text/texts.h"
#include "ui_test_support.h"

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

namespace zorva::test {
namespace {

class PlatformKeysTest : public UiTest {
protected:
    void pressEscape() {
        QWidget* target = focused();
        if (!target || !window->activeChild() || !window->activeChild()->isAncestorOf(target))
            target = window->activeChild();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, Qt::Key_Escape);
        Settle();
    }
    // The fields a dialog may change, as the settings file writes them.
    QStringList fileLines() const { return BuildStateLines(state); }
};

TEST_F(PlatformKeysTest, EscapeClosesEachDialogAndKeepsTheState) {
    const QStringList before = fileLines();

    // Site: a typed latitude is not taken.
    ASSERT_NE(window->openChild(ChildKind::SiteDialog), nullptr);
    type(QStringLiteral("latitudeDegrees"), QStringLiteral("12"));
    pressEscape();
    EXPECT_EQ(window->childCount(), 0);
    EXPECT_EQ(fileLines(), before);

    // Type: a click on another kind changes the state at once; Escape takes it back.
    ASSERT_NE(window->openChild(ChildKind::TypeDialog), nullptr);
    click(QStringLiteral("item5"));
    ASSERT_EQ(state.dialType, 'a');
    pressEscape();
    EXPECT_EQ(window->childCount(), 0);
    EXPECT_EQ(fileLines(), before);

    // Parameters: a value confirmed with RETURN is in the state; Escape takes it back.
    ASSERT_NE(window->openChild(ChildKind::ParameterDialog), nullptr);
    QLineEdit* gnomon = edit(QStringLiteral("planar_gnomonLength"));
    ASSERT_NE(gnomon, nullptr);
    type(QStringLiteral("planar_gnomonLength"), QStringLiteral("61"));
    QTest::keyClick(gnomon, Qt::Key_Return);
    ASSERT_EQ(state.gnomonLength, 61.0);
    pressEscape();
    EXPECT_EQ(window->childCount(), 0);
    EXPECT_EQ(fileLines(), before);
    EXPECT_TRUE(dialogs.events.empty()) << dialogs.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(PlatformKeysTest, EscapeEndsTheWizardAtEveryStep) {
    const QStringList before = fileLines();
    for (int step = 1; step <= 3; ++step) {
        window->startWizard();
        for (int k = 1; k < step; ++k) {
            const ChildKind next = k == 1 ? ChildKind::TypeDialog : ChildKind::ParameterDialog;
            window->wizardNextAction()->trigger();
            ASSERT_TRUE(WaitFor([&] { return window->activeChild() && window->activeChild()->kind() == next; }))
                << step;
        }
        if (step == 2) click(QStringLiteral("item3"));
        pressEscape();
        ASSERT_TRUE(WaitFor([&] { return window->childCount() == 0; })) << step;
        EXPECT_EQ(window->wizardStep(), kWizardNone) << step;
        EXPECT_TRUE(window->action(MenuEntry::Site)->isEnabled()) << step;
        EXPECT_EQ(fileLines(), before) << step;
    }
}

TEST_F(PlatformKeysTest, SettingsFileKeysAvoidTheWindowManagersAndShowInTheMenu) {
    const QKeySequence closeWindow(QStringLiteral("Alt+F4"));
    const QKeySequence runCommand(QStringLiteral("Alt+F2"));
    for (QAction* a : window->findChildren<QAction*>()) {
        EXPECT_NE(a->shortcut(), closeWindow) << a->text().toStdString();
        EXPECT_NE(a->shortcut(), runCommand) << a->text().toStdString();
    }
    QAction* load = window->action(MenuEntry::LoadIni);
    EXPECT_EQ(load->shortcut(), QKeySequence(QStringLiteral("Shift+F4")));
    // The options menu lists the entry, so the menu shows its key beside it.
    QMenu* options = window->action(MenuEntry::OptionsMenu)->menu();
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(options->actions().contains(load));
}

class QuitTest : public UiTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state.programDirectory = dir.path() + QLatin1Char('/');
        UiTest::SetUp();
        RecordingDialogs quiet;
        ASSERT_TRUE(WriteStateFile(state, dir.filePath(QStringLiteral("zor.ini")), quiet));
        window->startUp();
        dialogs.clear();
    }
    QByteArray fileBytes() const {
        QFile f(dir.filePath(QStringLiteral("zor.ini")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(QuitTest, UnchangedSettingsQuitWithoutAQuestion) {
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(dialogs.events.empty()) << dialogs.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(QuitTest, ChangedSettingsAskAndEachAnswerDoesWhatItSays) {
    const QByteArray saved = fileBytes();
    state.latitude = 12.5;

    dialogs.answers = {Answer::Cancel};
    EXPECT_FALSE(window->close());
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].kind, DialogEvent::Ask);
    EXPECT_EQ(dialogs.events[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(dialogs.events[0].text,
              QStringLiteral("Die Einstellungen weichen von der Datei zor.ini ab.\r\nVor dem Beenden speichern?"));
    EXPECT_EQ(fileBytes(), saved);

    dialogs.answers = {Answer::No};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(fileBytes(), saved);
}

TEST_F(QuitTest, YesSavesTheSettingsBeforeQuitting) {
    window->setLanguage(Language::English);
    state.latitude = 12.5;
    dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(window->close());
    ASSERT_FALSE(dialogs.events.empty());
    EXPECT_EQ(dialogs.events[0].text,
              QStringLiteral("The settings differ from the settings file zor.ini.\r\nSave them before quitting?"));
    DialState reread = StartupState();
    RecordingDialogs quiet;
    ASSERT_TRUE(ReadStateFile(reread, dir.filePath(QStringLiteral("zor.ini")), true, true, quiet));
    EXPECT_DOUBLE_EQ(reread.latitude, 12.5);
    EXPECT_EQ(reread.language, Language::English);
}

}  // namespace
}  // namespace zorva::test
