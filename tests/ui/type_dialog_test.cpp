#include "ui/type_dialog.h"

#include "ui_test_support.h"

#include <QLabel>
#include <QRadioButton>

namespace zorva::test {
namespace {

class TypeDialogTest : public UiTest {
protected:
    TypeDialog* open() {
        auto* d = qobject_cast<TypeDialog*>(window->openChild(ChildKind::TypeDialog));
        Settle();
        return d;
    }
    QRadioButton* item(int i) { return find<QRadioButton>(QStringLiteral("item%1").arg(i)); }
    bool closeDialog() {
        click(QStringLiteral("closeButton"));
        Settle();
        return window->childCount() == 0;
    }
    void leave(const QString& field) {
        QTest::keyClick(edit(field), Qt::Key_Return);
        Settle();
    }
};

TEST_F(TypeDialogTest, WithoutExpertModeElevenItemsAndTheHollanderBecomesHorizontal) {
    state.expertMode = false;
    state.dialType = 'm';
    state.quadrantKind = 2;
    state.cylinderKind = 1;
    TypeDialog* d = open();
    ASSERT_NE(d, nullptr);
    // The nine classic kinds and the analemmatic and bifilar dials, which need no expert.
    EXPECT_EQ(d->itemCount(), 11);
    EXPECT_EQ(item(9), nullptr);
    EXPECT_NE(item(TypeDialog::Analemmatic), nullptr);
    EXPECT_NE(item(TypeDialog::Bifilar), nullptr);
    EXPECT_TRUE(item(0)->isChecked());
    EXPECT_EQ(item(0)->text(), " &hor");
    EXPECT_EQ(state.dialType, 'h');
    EXPECT_EQ(state.quadrantKind, 0);
    EXPECT_EQ(state.cylinderKind, 0);

    window->closeAllChildren();
    state.expertMode = true;
    EXPECT_EQ(open()->itemCount(), 13);
}

// The added kinds keep the letter of their plane (zor.ini knows no other), switch the plane
// with the level/wall choice, and hand back to the letter when a classic kind is chosen.
TEST_F(TypeDialogTest, AnalemmaticAndBifilarKeepThePlanesLetter) {
    state.expertMode = false;
    state.dialType = 'q';
    open();
    click(QStringLiteral("item%1").arg(TypeDialog::Analemmatic));
    EXPECT_EQ(state.addedKind, AddedKind::Analemmatic);
    EXPECT_EQ(state.dialType, 'h');
    EXPECT_FALSE(edit(QStringLiteral("gnomon"))->isVisible());
    click("addedPlane1");
    EXPECT_TRUE(state.analemmatic.vertical);
    EXPECT_EQ(state.dialType, 'v');
    EXPECT_TRUE(edit(QStringLiteral("wallDeclination"))->isVisible());
    click(QStringLiteral("item%1").arg(TypeDialog::Bifilar));
    EXPECT_EQ(state.addedKind, AddedKind::Bifilar);
    EXPECT_EQ(state.dialType, state.bifilar.vertical ? 'v' : 'h');
    click("item4");
    EXPECT_EQ(state.addedKind, AddedKind::None);
    EXPECT_EQ(state.dialType, 'q');
}

TEST_F(TypeDialogTest, StoredLettersSelectTheirItems) {
    const struct { char letter; bool umbrella; int item; } cases[] = {
        {'a', false, 5}, {'c', false, 9}, {'h', false, 0}, {'i', false, 2}, {'k', false, 7}, {'m', false, 10},
        {'q', false, 4}, {'r', false, 8}, {'v', false, 1}, {'z', false, 6}, {'v', true, 3}, {'b', false, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(TypeDialog::ItemForLetter(c.letter, c.umbrella), c.item) << c.letter;
    }
    state.dialType = 'b';  // no dialog ever stores it
    open();
    EXPECT_TRUE(item(0)->isChecked());
    EXPECT_EQ(state.dialType, 'h');
}

TEST_F(TypeDialogTest, ChoosingAKindSetsLetterUmbrellaAndLegendOffset) {
    state.dialType = 'q';
    open();
    const struct { int item; char letter; int legend; } cases[] = {
        {5, 'a', 24}, {9, 'c', 60}, {1, 'v', 0}, {7, 'k', 36}, {10, 'm', 72}, {4, 'q', 12}, {8, 'r', 48}, {6, 'z', 36}};
    for (const auto& c : cases) {
        click(QStringLiteral("item%1").arg(c.item));
        EXPECT_EQ(state.dialType, c.letter);
        EXPECT_EQ(state.legendOffset, c.legend);
        EXPECT_FALSE(state.umbrellaDial);
    }
    click("item3");  // umbrella: a non-planar letter becomes 'h'
    EXPECT_TRUE(state.umbrellaDial);
    EXPECT_EQ(state.dialType, 'h');
    EXPECT_TRUE(find<QRadioButton>("umbrellaPlane0")->isChecked());
    click("umbrellaPlane2");
    EXPECT_EQ(state.dialType, 'v');
    click("item1");
    EXPECT_FALSE(state.umbrellaDial);
    click("item3");  // a planar letter stays
    EXPECT_EQ(state.dialType, 'v');
    EXPECT_TRUE(find<QRadioButton>("umbrellaPlane2")->isChecked());
}

TEST_F(TypeDialogTest, FieldsShownFollowTheKind) {
    state.dialType = 'v';
    open();
    auto shown = [this](const char* name) { return edit(name)->isVisible(); };
    EXPECT_TRUE(shown("gnomon"));
    EXPECT_TRUE(shown("wallDeclination"));
    EXPECT_FALSE(shown("inclination"));
    click("item2");
    EXPECT_TRUE(shown("inclination"));
    click("item8");
    EXPECT_FALSE(shown("gnomon"));
    EXPECT_TRUE(shown("ringDiameter"));
    click("item6");
    click("cylinderKind2");
    EXPECT_TRUE(shown("cylinderRadius"));
    EXPECT_TRUE(shown("wallDeclination"));  // as the gnomon's deviation
    EXPECT_FALSE(shown("monthScale"));
    click("cylinderKind1");
    EXPECT_TRUE(shown("monthScale"));
    click("item4");
    click("quadrantKind0");
    EXPECT_FALSE(shown("gnomon"));
    click("quadrantKind1");
    EXPECT_TRUE(shown("gnomon"));
}

TEST_F(TypeDialogTest, ShepherdsGnomonCutsTheDecimals) {
    state.dialType = 'z';
    state.cylinderKind = 0;
    open();
    type("gnomon", "15.7");
    leave("gnomon");
    EXPECT_EQ(state.shepherdGnomon, 15);
    EXPECT_TRUE(dialogs.events.empty());
    ASSERT_TRUE(closeDialog());
    EXPECT_EQ(state.shepherdGnomon, 15);
}

TEST_F(TypeDialogTest, InclinationZeroPointsToTheHorizontalDial) {
    state.dialType = 'i';
    state.planeInclination = 25.4589;
    open();
    EXPECT_EQ(edit("inclination")->text(), "25.46");
    type("inclination", "0");
    leave("inclination");
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, "ZORVA.EXE - Fehler!");
    EXPECT_TRUE(dialogs.events[0].text.startsWith("Die Inklination muss größer als 0 ° und höchstens +175 ° sein!"));
    EXPECT_TRUE(dialogs.events[0].text.contains("Für Inklination 0° "));
    EXPECT_EQ(edit("inclination")->text(), "25.46");  // old value back
    EXPECT_DOUBLE_EQ(state.planeInclination, 25.4589);
    EXPECT_TRUE(WaitFor([&] { return focused() == edit("inclination"); }));
    type("inclination", "175.5");
    EXPECT_FALSE(closeDialog());
    type("inclination", "175");
    EXPECT_TRUE(closeDialog());
    EXPECT_DOUBLE_EQ(state.planeInclination, 175.0);
}

TEST_F(TypeDialogTest, WallDeclinationDueNorthAndOutOfRange) {
    state.dialType = 'v';
    open();
    type("wallDeclination", "-180");
    leave("wallDeclination");
    EXPECT_DOUBLE_EQ(state.wallDeclination, 179.9999);
    type("wallDeclination", "180");
    leave("wallDeclination");
    EXPECT_DOUBLE_EQ(state.wallDeclination, 179.9999);
    type("wallDeclination", "181");
    leave("wallDeclination");
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, "Wandabweichung muss im Bereich [-180 ° ... +180 °] liegen!");
    EXPECT_EQ(dialogs.events[0].caption, "ZORVA.EXE - Problem!");
    EXPECT_EQ(edit("wallDeclination")->text(), "180.00");
    type("wallDeclination", "-45.5");
    EXPECT_TRUE(closeDialog());
    EXPECT_DOUBLE_EQ(state.wallDeclination, -45.5);
}

TEST_F(TypeDialogTest, CloseCheckUsesItsOwnRanges) {
    state.dialType = 'h';
    open();
    // 150 passes the field's range (5..200) but not the closing one (3..120).
    type("gnomon", "150");
    leave("gnomon");
    EXPECT_DOUBLE_EQ(state.gnomonLength, 150.0);
    EXPECT_TRUE(dialogs.events.empty());
    EXPECT_FALSE(closeDialog());
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text,
              "Gnomon Höhe  =150\r\n Zulässiger Wertebereich ist [    3.00, ...,  120.0] !");
    EXPECT_FALSE(window->lastDialogOk());
    type("gnomon", "100");
    EXPECT_TRUE(closeDialog());
    EXPECT_DOUBLE_EQ(state.gnomonLength, 100.0);
}

TEST_F(TypeDialogTest, HabermelDialsLimitTheResultingDiameter) {
    // Latitude 47.25, obliquity 23.44: tan(66.19) = 2.26622, tan(19.31) = 0.35039.
    EXPECT_NEAR(TypeDialog::HabermelDiameter(2, 30, 47.25, 23.44), 2.26622 * 60 + 12, 0.001);
    EXPECT_NEAR(TypeDialog::HabermelDiameter(1, 30, 47.25, 23.44), (0.35039 + 2.26622) * 30, 0.001);
    state.dialType = 'q';
    state.quadrantKind = 2;
    open();
    type("gnomon", "80");  // 2.27 x 160 + 12 = 375 mm
    leave("gnomon");
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text,
              " Zeiger der Sonnenuhr zu groß!  Höchstwert für  \r\n den resultierenden Kreisdurchmesser ist 190 mm. ");
    EXPECT_DOUBLE_EQ(state.quadrantGnomon, 37.0);
    EXPECT_FALSE(closeDialog());
    type("gnomon", "30");
    EXPECT_TRUE(closeDialog());
    EXPECT_DOUBLE_EQ(state.quadrantGnomon, 30.0);
}

TEST_F(TypeDialogTest, HabermelDiscOfASouthernSiteAndNoneBetweenTheTropics) {
    // 35 S has the disc of 35 N; tan(90 + 35 + e) is negative and must not pass as small.
    EXPECT_NEAR(TypeDialog::HabermelDiameter(2, 30, -35, 23.44), TypeDialog::HabermelDiameter(2, 30, 35, 23.44), 1e-9);
    EXPECT_GT(TypeDialog::HabermelDiameter(1, 15, -35, 23.44), 20.0);
    // At 10 N the noon sun passes the zenith: no gnomon gives a disc.
    state.dialType = 'q';
    state.quadrantKind = 2;
    state.latitude = 10;
    open();
    type("gnomon", "20");
    leave("gnomon");
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_DOUBLE_EQ(state.quadrantGnomon, 37.0);
    EXPECT_FALSE(closeDialog());
}

TEST_F(TypeDialogTest, OpeningAndClosingNeverRoundsTheStoredValues) {
    state.dialType = 'i';
    state.planeInclination = 25.4589;
    state.wallDeclination = -11.7234;
    state.gnomonLength = 35.125;
    open();
    EXPECT_EQ(edit("inclination")->text(), "25.46");
    EXPECT_TRUE(closeDialog());
    EXPECT_DOUBLE_EQ(state.planeInclination, 25.4589);
    EXPECT_DOUBLE_EQ(state.wallDeclination, -11.7234);
    EXPECT_DOUBLE_EQ(state.gnomonLength, 35.125);
}

TEST_F(TypeDialogTest, MonthScaleAsksWhetherToEnterAgain) {
    state.dialType = 'z';
    state.monthScaleLength = 270;
    open();
    type("monthScale", "300");
    dialogs.answers = {Answer::No};  // no: keep the old value, no error
    EXPECT_TRUE(closeDialog());
    EXPECT_EQ(state.monthScaleLength, 270);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_TRUE(dialogs.events[0].text.endsWith("     Nochmals eingeben?"));
    EXPECT_TRUE(dialogs.events[0].text.startsWith("Breite der Monatsskala =300"));
}

}  // namespace
}  // namespace zorva::test

namespace zorva::test {
namespace {

// Choosing another kind neither narrows nor widens the dialog, and a small picture shows the
// kind chosen.
TEST_F(TypeDialogTest, KeepsItsWidthAndShowsThePictureOfTheChosenKind) {
    state.expertMode = true;
    open();
    auto* picture = find<QLabel>(QStringLiteral("kindPicture"));
    ASSERT_NE(picture, nullptr);
    QWidget* frame = window->activeChild()->parentWidget();
    const int width = frame->width();
    qint64 previous = 0;
    int changed = 0;
    for (int i = 0; item(i); ++i) {
        click(QStringLiteral("item%1").arg(i));
        EXPECT_EQ(frame->width(), width) << "item " << i;
        EXPECT_FALSE(picture->pixmap().isNull()) << "item " << i;
        changed += picture->pixmap().cacheKey() != previous;
        previous = picture->pixmap().cacheKey();
    }
    EXPECT_GT(changed, 8);
}

}  // namespace
}  // namespace zorva::test
