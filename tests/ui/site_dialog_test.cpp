#include "ui/site_dialog.h"

#include "ui_test_support.h"

#include <QRadioButton>

namespace zorva::test {
namespace {

class SiteDialogTest : public UiTest {
protected:
    void open() {
        ASSERT_NE(window->openChild(ChildKind::SiteDialog), nullptr);
        Settle();
    }
    void typeAngle(const QString& row, int d, int m, int s) {
        type(row + QStringLiteral("Degrees"), QString::number(d));
        type(row + QStringLiteral("Minutes"), QString::number(m));
        type(row + QStringLiteral("Seconds"), QString::number(s));
    }
    void choose(const QString& radio) { click(radio); }
    // "Schliessen": true when the dialog closed.
    bool closeDialog() {
        click(QStringLiteral("closeButton"));
        Settle();
        return window->childCount() == 0;
    }
};

TEST(SiteDialogSplit, AnglesSplitIntoWholeDegreesMinutesAndRoundedSeconds) {
    auto d = SiteDialog::SplitAngle(47.25);
    EXPECT_EQ(d.degrees, 47);
    EXPECT_EQ(d.minutes, 15);
    EXPECT_EQ(d.seconds, 0);
    d = SiteDialog::SplitAngle(-9.59);  // 9 deg 35' 24''
    EXPECT_EQ(d.degrees, 9);
    EXPECT_EQ(d.minutes, 35);
    EXPECT_EQ(d.seconds, 24);
    // 59' 59.9'' rounds to 60 seconds: shown as 0 with one minute more.
    d = SiteDialog::SplitAngle(47.0 + 59.0 / 60 + 59.9 / 3600);
    EXPECT_EQ(d.minutes, 60);
    EXPECT_EQ(d.seconds, 0);
}

TEST_F(SiteDialogTest, OpensWithTheStoredSiteAndHemispheres) {
    state.latitude = -33.5;
    state.longitude = 70.75;  // west
    state.zoneMeridian = -15.0;
    state.referenceYear = 1999;
    open();
    EXPECT_EQ(edit("latitudeDegrees")->text(), "33");
    EXPECT_EQ(edit("latitudeMinutes")->text(), "30");
    EXPECT_EQ(edit("longitudeMinutes")->text(), "45");
    EXPECT_EQ(edit("year")->text(), "1999");
    EXPECT_TRUE(find<QRadioButton>("south")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("west")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("zoneEast")->isChecked());
    EXPECT_EQ(window->activeChild()->windowTitle(), "Ort und Zeit ...");
    EXPECT_FALSE(find<QPushButton>("cancelButton")->isVisible());
}

TEST_F(SiteDialogTest, LatitudeRulesOnClosing) {
    open();
    typeAngle("latitude", 47, 60, 0);
    ASSERT_TRUE(closeDialog());
    EXPECT_DOUBLE_EQ(state.latitude, 48.0);

    open();
    typeAngle("latitude", 0, 0, 0);
    ASSERT_TRUE(closeDialog());
    EXPECT_DOUBLE_EQ(state.latitude, 1e-6);  // never exactly 0

    open();
    typeAngle("latitude", 90, 30, 0);
    choose("south");
    ASSERT_TRUE(closeDialog());
    EXPECT_DOUBLE_EQ(state.latitude, -90.0);
    EXPECT_TRUE(dialogs.events.empty()) << dialogs.texts().join("|").toStdString();
}

TEST_F(SiteDialogTest, EastLongitudeAndZoneAreNegativeAndNeedNoQuestion) {
    open();
    typeAngle("longitude", 9, 35, 24);
    choose("east");
    typeAngle("zone", 15, 0, 0);
    choose("zoneEast");
    ASSERT_TRUE(closeDialog());
    EXPECT_NEAR(state.longitude, -9.59, 1e-12);
    EXPECT_DOUBLE_EQ(state.zoneMeridian, -15.0);
    EXPECT_FALSE(state.zoneFarFromLongitude);
    EXPECT_TRUE(dialogs.events.empty());
}

TEST_F(SiteDialogTest, FarFromTheZoneMeridianAsksAndNoKeepsTheDialogAndTheState) {
    const DialState before = state;
    open();
    typeAngle("longitude", 31, 0, 0);
    choose("east");
    dialogs.answers = {Answer::No};
    EXPECT_FALSE(closeDialog());
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text,
              "Die geogr. Länge ist mehr als 15 Grad\r\n  vom Zonenmeridian entfernt!\r\n Ist dies in Ordnung?");
    EXPECT_EQ(dialogs.events[0].caption, "ZORVA.EXE - Warnung!");
    EXPECT_DOUBLE_EQ(state.longitude, before.longitude);  // nothing half-written
    EXPECT_FALSE(window->lastDialogOk());
    EXPECT_TRUE(WaitFor([&] { return focused() == edit("longitudeDegrees"); }));

    dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(closeDialog());
    EXPECT_DOUBLE_EQ(state.longitude, -31.0);
    EXPECT_TRUE(state.zoneFarFromLongitude);
}

TEST_F(SiteDialogTest, RangeErrorsNameTheFieldAndVetoTheClose) {
    const double latitude = state.latitude;
    open();
    type("latitudeMinutes", "61");
    QTest::keyClick(edit("latitudeMinutes"), Qt::Key_Tab);  // leaving the field checks it
    Settle();
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, "Winkelminuten=61 Zulässiger Wertebereich ist [0..60] !");
    EXPECT_EQ(dialogs.events[0].caption, "ZORVA.EXE - Problem!");
    EXPECT_EQ(dialogs.events[0].buttons, Buttons::OkCancel);
    EXPECT_TRUE(WaitFor([&] { return focused() == edit("latitudeMinutes"); }));

    type("latitudeMinutes", "15");
    dialogs.clear();
    type("latitudeDegrees", "91");
    EXPECT_FALSE(closeDialog());
    EXPECT_EQ(dialogs.events.at(0).text, "geogr. Breite=91 Zulässiger Wertebereich ist [0..90] !");
    EXPECT_DOUBLE_EQ(state.latitude, latitude);
    EXPECT_TRUE(WaitFor([&] { return focused() == edit("latitudeDegrees"); }));
}

TEST_F(SiteDialogTest, YearRangeAndRecomputedZodiac) {
    open();
    type("year", "1200");
    EXPECT_FALSE(closeDialog());
    EXPECT_EQ(dialogs.events.at(0).text, "gewähltes Jahr =1200 Zulässiger Wertebereich ist [1300..2500] !");
    EXPECT_EQ(state.referenceYear, 2013);

    type("year", "1400");  // below the years the label names, inside the field's range
    const double solsticeBefore = state.zodiacDeclinations[7];
    EXPECT_TRUE(closeDialog());
    EXPECT_EQ(state.referenceYear, 1400);
    EXPECT_GT(state.zodiacDeclinations[7], solsticeBefore);  // the obliquity was larger then
    EXPECT_NEAR(state.zodiacDeclinations[7], 23.5, 0.05);
}

TEST_F(SiteDialogTest, UnchangedRowsKeepTheirExactValues) {
    state.latitude = 47.123456;  // 47 7' 24.4''
    state.longitude = -9.555555;
    open();
    type("longitudeSeconds", "21");
    ASSERT_TRUE(closeDialog());
    EXPECT_DOUBLE_EQ(state.latitude, 47.123456);
    EXPECT_NEAR(state.longitude, -(9 + 33 / 60.0 + 21 / 3600.0), 1e-12);
}

TEST_F(SiteDialogTest, KeysEmptyFieldsAndEnter) {
    open();
    QLineEdit* degrees = edit("latitudeDegrees");
    type("latitudeDegrees", "4a-7.");
    EXPECT_EQ(degrees->text(), "47");  // only digits reach the field
    type("latitudeDegrees", "");
    QTest::keyClick(degrees, Qt::Key_Return);  // Enter moves on to "Schliessen"
    Settle();
    EXPECT_EQ(focused(), find<QPushButton>("closeButton"));
    EXPECT_EQ(degrees->text(), "47");  // an empty field shows the stored value again
    EXPECT_TRUE(dialogs.events.empty());
}

TEST_F(SiteDialogTest, LongitudeBeyond180ContinuesOnTheOtherSide) {
    open();
    typeAngle("longitude", 180, 30, 0);
    choose("west");
    typeAngle("zone", 165, 0, 0);
    choose("zoneEast");
    ASSERT_TRUE(closeDialog());
    EXPECT_DOUBLE_EQ(state.longitude, -179.5);  // 179 deg 30' east
    EXPECT_DOUBLE_EQ(state.zoneMeridian, -165.0);
    EXPECT_TRUE(dialogs.events.empty());
}

}  // namespace
}  // namespace zorva::test
