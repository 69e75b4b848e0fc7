// Bad input answered clearly: each message names the field and says what it takes.
#include "text/texts.h"
#include "ui/resource_ids.h"
#include "ui_test_support.h"

#include <QLabel>

namespace zorva::test {
namespace {

class InputMessagesTest : public UiTest {
protected:
    void leaveWith(const QString& field, const QString& text) {
        type(field, text);
        QTest::keyClick(edit(field), Qt::Key_Return);
        Settle();
    }
};

TEST_F(InputMessagesTest, SiteDialogSaysWhichEntryIsMissing) {
    ASSERT_NE(window->openChild(ChildKind::SiteDialog), nullptr);
    type(QStringLiteral("latitudeDegrees"), QString());
    click(QStringLiteral("closeButton"));
    ASSERT_EQ(window->childCount(), 1) << "the dialog stays open";
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, caption(CaptionKind::Warning, Language::German));
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("geogr. Breite (Grad): Eingabe fehlt!\r\n"
                                                     "Taste <RETURN> bei leerem Feld ergibt den alten Wert!"));
    EXPECT_EQ(focused(), edit(QStringLiteral("latitudeDegrees")));
    EXPECT_EQ(state.latitude, 47.25);

    // RETURN in the empty field brings back the old value, as the label says.
    dialogs.clear();
    QTest::keyClick(edit(QStringLiteral("latitudeDegrees")), Qt::Key_Return);
    EXPECT_EQ(edit(QStringLiteral("latitudeDegrees"))->text(), QStringLiteral("47"));

    // The same in English, for the year.
    window->setLanguage(Language::English);
    type(QStringLiteral("year"), QString());
    click(QStringLiteral("closeButton"));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text,
              QStringLiteral("reference Year: entry missing!\r\nKey <RETURN> in an empty field gives the old value!"));
    EXPECT_EQ(window->childCount(), 1);
}

TEST_F(InputMessagesTest, SiteDialogYearLabelMatchesTheAcceptedRange) {
    ASSERT_NE(window->openChild(ChildKind::SiteDialog), nullptr);
    bool found = false;
    for (QLabel* l : window->activeChild()->findChildren<QLabel*>())
        found = found || l->text() == resourceText(res::kSiteYearsValid, Language::German);
    ASSERT_TRUE(found);
    EXPECT_EQ(resourceText(res::kSiteYearsValid, Language::German),
              QStringLiteral("Die Berechnungen gelten für Jahre  1300 bis 2500 n. Chr.  "));
    // Both ends are taken, one beyond is refused with that range.
    type(QStringLiteral("year"), QStringLiteral("1300"));
    click(QStringLiteral("closeButton"));
    EXPECT_EQ(window->childCount(), 0);
    EXPECT_EQ(state.referenceYear, 1300);
    ASSERT_NE(window->openChild(ChildKind::SiteDialog), nullptr);
    type(QStringLiteral("year"), QStringLiteral("1299"));
    click(QStringLiteral("closeButton"));
    ASSERT_FALSE(dialogs.events.empty());
    EXPECT_EQ(dialogs.events.back().text, QStringLiteral("gewähltes Jahr =1299 Zulässiger Wertebereich ist [1300..2500] !"));
}

TEST_F(InputMessagesTest, ParameterFieldsRefuseLettersAndNameTheFieldInRangeMessages) {
    state.dialType = 'q';
    state.quadrantKind = 0;
    ASSERT_NE(window->openChild(ChildKind::ParameterDialog), nullptr);
    QLineEdit* size = edit(QStringLiteral("quadrant_quadrantSize"));
    ASSERT_NE(size, nullptr);
    size->setFocus();
    size->selectAll();
    QTest::keyClick(size, Qt::Key_Delete);
    QTest::keyClicks(size, QStringLiteral("1a5b0"));
    EXPECT_EQ(size->text(), QStringLiteral("150"));  // letters never reach the field

    leaveWith(QStringLiteral("quadrant_quadrantSize"), QStringLiteral("500"));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text,
              QStringLiteral("Radius des Quadranten =500 Zulässiger Wertebereich ist [80..200] !"));
    EXPECT_EQ(state.quadrantSize, 150);

    // A real field keeps the decimal comma a German keyboard types.
    window->cancelWizard();  // leaves the rejected entry behind unchecked
    state.dialType = 'v';
    ASSERT_NE(window->openChild(ChildKind::ParameterDialog), nullptr);
    dialogs.clear();
    leaveWith(QStringLiteral("planar_gnomonLength"), QStringLiteral("4x2,5"));
    EXPECT_TRUE(dialogs.events.empty()) << dialogs.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_DOUBLE_EQ(state.gnomonLength, 42.5);
}

TEST_F(InputMessagesTest, InclinationMessageStatesTheRangeTheCheckApplies) {
    state.dialType = 'i';
    ASSERT_NE(window->openChild(ChildKind::TypeDialog), nullptr);
    leaveWith(QStringLiteral("inclination"), QStringLiteral("0"));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text,
              QStringLiteral("Die Inklination muss größer als 0 ° und höchstens +175 ° sein!\n\r"
                             "Für Inklination 0° \"horizontale Sonnenuhr\" wählen!"));
    // The smallest and largest values the message promises are taken.
    for (const char* ok : {"0.01", "175"}) {
        dialogs.clear();
        leaveWith(QStringLiteral("inclination"), QString::fromLatin1(ok));
        EXPECT_TRUE(dialogs.events.empty()) << ok;
    }
    EXPECT_EQ(message(3, Language::English),
              QStringLiteral("The inclination has to be greater than 0 ° and at most +175 °. \n\r"
                             "For inclination 0 degrees select \"horizontal sundial\""));
}

TEST_F(InputMessagesTest, WizardStepThreeReadsLikeTheFirstTwo) {
    window->startWizard();
    for (ChildKind next : {ChildKind::TypeDialog, ChildKind::ParameterDialog}) {
        window->wizardNextAction()->trigger();
        ASSERT_TRUE(WaitFor([&] { return window->activeChild() && window->activeChild()->kind() == next; }));
    }
    EXPECT_EQ(window->activeChild()->windowTitle(), QStringLiteral("Sonnenuhr erstellen, Teil 3"));
    EXPECT_EQ(find<QPushButton>(QStringLiteral("close"))->text(), QStringLiteral(" &Nächstes... >"));
    window->setLanguage(Language::English);
    EXPECT_EQ(window->activeChild()->windowTitle(), QStringLiteral("Generate Sundial, part 3"));
    EXPECT_EQ(find<QPushButton>(QStringLiteral("close"))->text(), QStringLiteral(" &Next ... >"));
    window->cancelWizard();
    // Outside the wizard the dialog is the plain parameter dialog again.
    ASSERT_NE(window->openChild(ChildKind::ParameterDialog), nullptr);
    EXPECT_EQ(find<QPushButton>(QStringLiteral("close"))->text(), QStringLiteral("Close"));
}

}  // namespace
}  // namespace zorva::test
