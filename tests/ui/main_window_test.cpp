#include "ui/main_window.h"

#include "help/help_system.h"

#include "ui/site_dialog.h"
#include "ui/type_dialog.h"
#include "ui/welcome_picture.h"
#include "ui_test_support.h"

#include "text/number_format.h"
#include "text/texts.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace zorva::test {
namespace {

// A parameter dialog whose close check the test decides, standing in for the real one.
class FakeParameterDialog : public ChildWindow {
public:
    FakeParameterDialog(ChildHost& host, bool& accept) : ChildWindow(ChildKind::ParameterDialog, host), accept_(accept) {}
    bool closeCheck() override { return accept_; }
    void applyLanguage() override {}

private:
    bool& accept_;
};

class FakeDrawingWindow : public ChildWindow {
public:
    explicit FakeDrawingWindow(ChildHost& host) : ChildWindow(ChildKind::DrawingWindow, host) {}
    void applyLanguage() override {}
};

class MainWindowTest : public UiTest {
protected:
    void withLaterWindows() {
        makeWindow([this](ChildRegistry& r) {
            r.add(ChildKind::ParameterDialog,
                  [this](ChildHost& h, const OpenRequest&) { return new FakeParameterDialog(h, parameterOk); });
            r.add(ChildKind::DrawingWindow, [](ChildHost& h, const OpenRequest&) { return new FakeDrawingWindow(h); });
        });
    }
    bool enabled(MenuEntry e) const { return window->action(e)->isEnabled(); }
    ChildKind activeKind() const { return window->activeChild()->kind(); }
    bool waitForKind(ChildKind kind) {
        return WaitFor([&] { return window->activeChild() && window->activeChild()->kind() == kind; });
    }
    void expectMenusOfNoWizard() {
        EXPECT_EQ(window->wizardStep(), 0);
        for (MenuEntry e : {MenuEntry::OptionsMenu, MenuEntry::CalculationsMenu, MenuEntry::Wizard, MenuEntry::Wizard2,
                            MenuEntry::Site, MenuEntry::Type})
            EXPECT_TRUE(enabled(e)) << static_cast<int>(e);
    }
    bool parameterOk = true;
};

TEST_F(MainWindowTest, TitleMenusAndKeys) {
    EXPECT_EQ(window->windowTitle(), "  Zorva  v. 3.9 ");
    const QStringList german = menuCaptions(Language::German);
    ASSERT_EQ(german.size(), static_cast<int>(MenuEntry::Count));
    for (int i = 0; i < german.size(); ++i) EXPECT_EQ(window->action(MenuEntry(i))->text(), german[i]) << i;
    EXPECT_EQ(window->menuBar()->actions().size(), 5);
    EXPECT_EQ(window->menuBar()->actions().at(3)->text(), " &Berechnungen ");

    const struct { MenuEntry entry; QKeySequence key; } keys[] = {
        {MenuEntry::Wizard, QKeySequence("Alt+F1")},   {MenuEntry::CloseWindows, QKeySequence("Alt+F3")},
        {MenuEntry::Print, QKeySequence("F3")},        {MenuEntry::Quit, QKeySequence("Alt+X")},
        {MenuEntry::Site, QKeySequence("F5")},         {MenuEntry::Type, QKeySequence("F6")},
        {MenuEntry::Parameters, QKeySequence("F7")},   {MenuEntry::SaveIni, QKeySequence("Shift+F2")},
        {MenuEntry::LoadIni, QKeySequence("Shift+F4")},  {MenuEntry::SaveDialData, QKeySequence("F2")},
        {MenuEntry::LoadDialData, QKeySequence("F4")}, {MenuEntry::Drawing, QKeySequence("F8")},
        {MenuEntry::Palette, QKeySequence("Alt+F8")},  {MenuEntry::RiseSet, QKeySequence("F9")},
        {MenuEntry::SunPosition, QKeySequence("F10")}, {MenuEntry::TimeForPosition, QKeySequence("F11")},
        {MenuEntry::EotDeclination, QKeySequence("F12")}, {MenuEntry::GraphSunPosition, QKeySequence("Alt+F10")},
        {MenuEntry::GraphEot, QKeySequence("Alt+F12")}, {MenuEntry::HelpIndex, QKeySequence("F1")},
        {MenuEntry::ExpertMode, QKeySequence("Ctrl+Alt+X")}, {MenuEntry::German, QKeySequence("Ctrl+D")},
        {MenuEntry::English, QKeySequence("Ctrl+E")}};
    for (const auto& k : keys) EXPECT_EQ(window->action(k.entry)->shortcut(), k.key) << k.key.toString().toStdString();
    EXPECT_EQ(window->mapOverlayAction()->shortcut(), QKeySequence("Ctrl+Alt+M"));
    EXPECT_FALSE(enabled(MenuEntry::Print));
    EXPECT_FALSE(enabled(MenuEntry::CloseWindows));
    EXPECT_FALSE(enabled(MenuEntry::PrintWindow));
}

TEST_F(MainWindowTest, WizardWalksSiteTypeAndParameters) {
    QTest::keyClick(window.get(), Qt::Key_F1, Qt::AltModifier);
    ASSERT_TRUE(waitForKind(ChildKind::SiteDialog));
    EXPECT_EQ(window->wizardStep(), 1);
    EXPECT_EQ(window->activeChild()->windowTitle(), "Sonnenuhr erstellen, Teil 1");
    EXPECT_EQ(find<QPushButton>("closeButton")->text(), " &Nächstes... >");
    EXPECT_TRUE(find<QPushButton>("cancelButton")->isVisible());
    for (MenuEntry e : {MenuEntry::OptionsMenu, MenuEntry::CalculationsMenu, MenuEntry::Wizard, MenuEntry::Wizard2,
                        MenuEntry::Drawing, MenuEntry::Site})
        EXPECT_FALSE(enabled(e)) << static_cast<int>(e);
    EXPECT_EQ(window->popupMenu()->objectName(), "wizardPopup");

    QTest::keyClick(window->activeChild(), Qt::Key_F7);  // "Weiter"
    ASSERT_TRUE(waitForKind(ChildKind::TypeDialog));
    EXPECT_EQ(window->childCount(), 1);
    EXPECT_EQ(window->wizardStep(), 4);
    EXPECT_EQ(window->activeChild()->windowTitle(), "Sonnenuhr erstellen, Teil 2");
    EXPECT_EQ(find<QPushButton>("closeButton")->text(), " &Nächstes... >");

    click("closeButton");
    ASSERT_TRUE(waitForKind(ChildKind::ParameterDialog));
    EXPECT_EQ(window->wizardStep(), 5);
    EXPECT_EQ(window->childCount(), 1);
}

TEST_F(MainWindowTest, CancellingInStepTwoRestoresMenusAndTheTypeChoice) {
    state.dialType = 'v';
    window->startWizard();
    window->wizardNextAction()->trigger();
    ASSERT_TRUE(waitForKind(ChildKind::TypeDialog));
    click("item5");
    EXPECT_EQ(state.dialType, 'a');
    click("cancelButton");
    ASSERT_TRUE(WaitFor([&] { return window->childCount() == 0; }));
    expectMenusOfNoWizard();
    EXPECT_EQ(state.dialType, 'v');
}

TEST_F(MainWindowTest, CancelClosesEvenWithBadInputAndWritesNothing) {
    const DialState before = state;
    window->startWizard();
    ASSERT_TRUE(waitForKind(ChildKind::SiteDialog));
    type("latitudeDegrees", "99");
    type("year", "1750");
    click("cancelButton");
    ASSERT_TRUE(WaitFor([&] { return window->childCount() == 0; }));
    expectMenusOfNoWizard();
    EXPECT_TRUE(window->lastDialogOk());
    EXPECT_EQ(state.referenceYear, before.referenceYear);
    EXPECT_DOUBLE_EQ(state.latitude, before.latitude);
    // Nothing is stuck: the next command opens its window.
    EXPECT_NE(window->openChild(ChildKind::TypeDialog), nullptr);
}

TEST_F(MainWindowTest, ClosingTheFirstStepByItsFrameEndsTheWizard) {
    window->startWizard();
    ASSERT_TRUE(waitForKind(ChildKind::SiteDialog));
    window->activeChild()->parentWidget()->close();  // the MDI frame's close button
    ASSERT_TRUE(WaitFor([&] { return window->childCount() == 0; }));
    ASSERT_TRUE(WaitFor([&] { return window->wizardStep() == 0; }));
    expectMenusOfNoWizard();
}

TEST_F(MainWindowTest, WizardHandsOverToParameterDialogAndDrawingWindow) {
    withLaterWindows();
    window->startWizard();
    window->wizardNextAction()->trigger();
    ASSERT_TRUE(waitForKind(ChildKind::TypeDialog));
    window->wizardNextAction()->trigger();
    ASSERT_TRUE(waitForKind(ChildKind::ParameterDialog));
    EXPECT_EQ(window->wizardStep(), 5);
    EXPECT_FALSE(enabled(MenuEntry::OptionsMenu));

    parameterOk = false;
    window->wizardNextAction()->trigger();
    Settle();
    EXPECT_EQ(activeKind(), ChildKind::ParameterDialog);  // vetoed
    parameterOk = true;
    window->wizardNextAction()->trigger();
    ASSERT_TRUE(waitForKind(ChildKind::DrawingWindow));
    EXPECT_EQ(window->wizardStep(), 0);
    EXPECT_TRUE(enabled(MenuEntry::OptionsMenu));
    EXPECT_TRUE(enabled(MenuEntry::CloseWindows));
}

TEST_F(MainWindowTest, TheParameterDialogIsTheWizardsThirdStep) {
    state.dialType = 'h';
    state.gnomonLength = 35.0;
    window->startWizard();
    window->wizardNextAction()->trigger();
    ASSERT_TRUE(waitForKind(ChildKind::TypeDialog));
    window->wizardNextAction()->trigger();
    ASSERT_TRUE(waitForKind(ChildKind::ParameterDialog));
    EXPECT_EQ(window->wizardStep(), 5);
    auto* cancel = window->activeChild()->findChild<QPushButton*>("cancel");
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_EQ(window->activeChild()->windowTitle(), "Sonnenuhr erstellen, Teil 3");

    QTest::mouseClick(cancel, Qt::LeftButton);  // "Abbruch"
    ASSERT_TRUE(WaitFor([&] { return window->childCount() == 0; }));
    expectMenusOfNoWizard();

    // Outside the wizard its "Schliessen" just closes it.
    window->action(MenuEntry::Parameters)->trigger();
    ASSERT_TRUE(waitForKind(ChildKind::ParameterDialog));
    EXPECT_FALSE(window->activeChild()->findChild<QPushButton*>("cancel")->isVisible());
    QTest::mouseClick(window->activeChild()->findChild<QPushButton*>("close"), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return window->childCount() == 0; }));
    EXPECT_EQ(window->wizardStep(), 0);
}

TEST_F(MainWindowTest, CalculationWindowsOpenWithTheirModeAndFollowTheLanguage) {
    window->action(MenuEntry::SunPosition)->trigger();  // F10
    ASSERT_TRUE(waitForKind(ChildKind::CalculationWindow));
    const QString german = window->activeChild()->windowTitle();
    window->setLanguage(Language::English);
    EXPECT_FALSE(german.isEmpty());
    EXPECT_NE(window->activeChild()->windowTitle(), german);
    EXPECT_TRUE(enabled(MenuEntry::Print));
}

TEST_F(MainWindowTest, AVetoingChildKeepsTheNextWindowFromOpening) {
    withLaterWindows();
    ASSERT_NE(window->openChild(ChildKind::ParameterDialog), nullptr);
    parameterOk = false;
    window->action(MenuEntry::Drawing)->trigger();  // F8
    Settle();
    EXPECT_EQ(window->childCount(), 1);
    EXPECT_EQ(activeKind(), ChildKind::ParameterDialog);
    EXPECT_FALSE(window->lastDialogOk());
    parameterOk = true;
    window->action(MenuEntry::Drawing)->trigger();
    Settle();
    EXPECT_EQ(window->childCount(), 1);
    EXPECT_EQ(activeKind(), ChildKind::DrawingWindow);
}

TEST_F(MainWindowTest, OneChildAtATime) {
    window->action(MenuEntry::Site)->trigger();
    window->action(MenuEntry::Type)->trigger();
    Settle();
    EXPECT_EQ(window->childCount(), 1);
    EXPECT_EQ(activeKind(), ChildKind::TypeDialog);
    EXPECT_TRUE(enabled(MenuEntry::CloseWindows));
    window->action(MenuEntry::CloseWindows)->trigger();
    Settle();
    EXPECT_EQ(window->childCount(), 0);
}

TEST_F(MainWindowTest, ExpertModeSwitch) {
    state.expertMode = true;
    state.dialType = 'm';
    state.cylinderKind = 2;
    window->action(MenuEntry::Type)->trigger();
    Settle();
    EXPECT_EQ(qobject_cast<TypeDialog*>(window->activeChild())->itemCount(), 13);

    window->action(MenuEntry::ExpertMode)->trigger();
    Settle();
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, "Zorva, v. 3.9 ");
    EXPECT_EQ(dialogs.events[0].text,
              "Der Experten-Modus wurde ausgeschaltet.\n\rManche Sonnenuhrenarten werden so nicht mehr unterstützt.");
    EXPECT_FALSE(state.expertMode);
    EXPECT_EQ(state.dialType, 'h');
    EXPECT_EQ(state.cylinderKind, 0);
    EXPECT_FALSE(window->action(MenuEntry::ExpertMode)->isChecked());
    auto* reopened = qobject_cast<TypeDialog*>(window->activeChild());
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->itemCount(), 11);

    window->setLanguage(Language::English);
    window->action(MenuEntry::ExpertMode)->trigger();
    EXPECT_EQ(dialogs.events.back().caption, "Zorva 3.9 , Info");
    EXPECT_EQ(dialogs.events.back().text, "You switched expert mode on!");
}

TEST_F(MainWindowTest, SwitchingExpertModeOffRedrawsABiazimuthalDialAsHorizontal) {
    state.expertMode = true;
    state.dialType = 'c';
    QPointer<ChildWindow> drawing = window->openChild(ChildKind::DrawingWindow);
    ASSERT_FALSE(drawing.isNull());
    EXPECT_TRUE(drawing->parentWidget()->isMaximized());
    window->action(MenuEntry::ExpertMode)->trigger();
    Settle();
    EXPECT_EQ(state.dialType, 'h');
    ASSERT_NE(window->activeChild(), nullptr);
    EXPECT_EQ(activeKind(), ChildKind::DrawingWindow);
    EXPECT_TRUE(drawing.isNull());  // a new window for the new letter
    EXPECT_EQ(window->childCount(), 1);
}

TEST_F(MainWindowTest, MapOverlaySwitch) {
    window->mapOverlayAction()->trigger();
    EXPECT_TRUE(state.mapOverlay);
    EXPECT_EQ(dialogs.events.back().text, "Overlay von Landkarten ist möglich!");
    EXPECT_EQ(dialogs.events.back().caption, "Zorva 3.9 ");
    window->mapOverlayAction()->trigger();
    EXPECT_FALSE(state.mapOverlay);
    EXPECT_EQ(dialogs.events.back().text, "Overlay von Landkarten ist gesperrt!");
}

TEST_F(MainWindowTest, LanguageSwitchRecaptionsMenusAndOpenDialogAtOnce) {
    window->startWizard();
    ASSERT_TRUE(waitForKind(ChildKind::SiteDialog));
    QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(state.language, Language::English);
    EXPECT_EQ(window->action(MenuEntry::FileMenu)->text(), "  &Files  ");
    EXPECT_TRUE(window->action(MenuEntry::English)->isChecked());
    EXPECT_EQ(window->activeChild()->windowTitle(), "Generate Sundial, part 1");
    EXPECT_EQ(find<QPushButton>("closeButton")->text(), " &Next ... >");
    EXPECT_EQ(window->wizardNextAction()->text(), "&Next   > ...");
    window->setLanguage(Language::German);
    EXPECT_EQ(window->action(MenuEntry::FileMenu)->text(), "  &Datei  ");
    EXPECT_EQ(find<QPushButton>("closeButton")->text(), " &Nächstes... >");
}

TEST_F(MainWindowTest, LoadDefaultsOpensTheSiteDialog) {
    state.latitude = 10;
    state.dialType = 'q';
    window->action(MenuEntry::LoadDefaults)->trigger();
    Settle();
    EXPECT_DOUBLE_EQ(state.latitude, 47.25);
    EXPECT_EQ(state.dialType, 'q');  // kept by "load defaults"
    ASSERT_NE(window->activeChild(), nullptr);
    EXPECT_EQ(activeKind(), ChildKind::SiteDialog);
}

TEST_F(MainWindowTest, HintsSwitch) {
    EXPECT_FALSE(state.showHints);
    window->action(MenuEntry::Hints)->trigger();
    EXPECT_TRUE(state.showHints);
    EXPECT_TRUE(window->action(MenuEntry::Hints)->isChecked());
}

TEST_F(MainWindowTest, HelpOpensAtTheTopicInTheUsersLanguage) {
    ASSERT_TRUE(enabled(MenuEntry::HelpIndex));
    window->action(MenuEntry::HelpIndex)->trigger();  // F1
    ASSERT_NE(window->helpWindow(), nullptr);
    EXPECT_TRUE(window->helpWindow()->isVisible());
    EXPECT_EQ(window->helpWindow()->currentUrl().toString(), "qrc:/help/de/overview.html#topic100");

    window->startWizard();
    ASSERT_TRUE(waitForKind(ChildKind::SiteDialog));
    QAction* help = window->popupMenu()->actions().at(2);
    EXPECT_EQ(help->text(), "Hilfe");
    help->trigger();
    EXPECT_EQ(window->helpWindow()->currentUrl().fragment(), "topic5");
    window->setLanguage(Language::English);  // the open help follows the language
    EXPECT_EQ(window->helpWindow()->currentUrl().toString(), "qrc:/help/en/site.html#topic5");
    EXPECT_TRUE(dialogs.events.empty());
    // A topic without its own section shows the contents.
    EXPECT_EQ(HelpTopicUrl(Language::German, 4711).fragment(), "topic100");
}

TEST(FileFilters, TableFiltersBecomeQtFilters) {
    EXPECT_EQ(QtFilterFromTable(title(28, Language::German)),
              "Startkonfiguration (*.ini);;Andere Konstruktionsdaten (*.zor);;Alle Dateien (*)");
    // "*." would show no file at all here; it means every file.
    EXPECT_EQ(QtFilterFromTable(title(45, Language::German)), "Starteinstellungen (*.ini *.zor);;Alle Dateien (*)");
}

TEST(WelcomePicture, FitsInsideTheAreaKeepingItsShape) {
    const QRect r = WelcomeArea::PictureRect(QSize(900, 600), QSize(1000, 500));
    EXPECT_LE(r.height(), 450);
    EXPECT_LE(r.width(), 900);
    EXPECT_NEAR(double(r.width()) / r.height(), 1.5, 0.01);
    EXPECT_NEAR(r.left() + r.width() / 2.0, 500, 1);
    EXPECT_EQ(r.top(), (500 - r.height()) / 3);
    const QImage picture = BuiltInWelcomePicture(105, QSize(300, 200)).toImage();
    EXPECT_NE(picture.pixel(5, 5), picture.pixel(150, 100));  // something is drawn
}

}  // namespace
}  // namespace zorva::test
