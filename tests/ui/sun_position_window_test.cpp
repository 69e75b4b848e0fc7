// The sun-position window driven offscreen as a user would: typing into its fields,
// pressing its buttons, answering its boxes through the recorder, printing to PDF.
// Reference site: 47.25 N, 9.55 E (longitude -9.55), zone meridian -15, 21 June 1999.
#include "astro/horizon_profile.h"
#include "state/dial_state.h"
#include "support/test_support.h"
#include "text/recording_dialogs.h"
#include "text/texts.h"
#include "ui/embedded_children.h"
#include "ui/sun_position_window.h"
#include "ui/tables_window.h"
#include "ui/ui_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace zorva {
namespace {

constexpr Language kDe = Language::German;

const QString kRule = QStringLiteral("  ____________________________________________________________________________");

void EnsureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives for the whole test run
}

void Settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// The text of a PDF with every run of blanks as one blank: a text extractor places the
// fixed-pitch columns by the glyph positions, not by the blanks printed.
QString Squeezed(const QString& s) { return s.simplified(); }

QString PdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(10000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext (poppler-utils) could not read " << path.toStdString();
        return {};
    }
    return Squeezed(QString::fromUtf8(p.readAllStandardOutput()).replace(QLatin1Char('\f'), QStringLiteral(" <page> ")));
}

class SunWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApplication(); }

    void SetUp() override {
        state.latitude = 47.25;
        state.longitude = -9.55;
        state.zoneMeridian = -15;
        state.referenceYear = 1999;
        state.calcMonth = 6;
        state.calcDay = 21;
    }

    void open(int mode) {
        window = std::make_unique<SunPositionWindow>(state, dialogs, mode);
        window->resize(900, 600);
        window->show();
        QApplication::setActiveWindow(window.get());
        Settle();
    }

    QLineEdit* edit(const char* name) const { return window->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QString result(const char* name) const {
        auto* l = window->findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(l, nullptr) << name;
        return l ? l->text() : QString();
    }
    // Replaces a field's text by typing and leaves it with Tab, as a user would.
    void type(const char* field, const QString& text) {
        QLineEdit* e = edit(field);
        ASSERT_NE(e, nullptr) << field;
        e->setFocus();
        Settle();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
        Settle();
    }
    void click(const char* name) {
        auto* b = window->findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        const bool marked = b->inherits("QRadioButton") || b->inherits("QCheckBox");
        QTest::mouseClick(b, Qt::LeftButton, {}, marked ? QPoint(8, b->height() / 2) : QPoint());
        Settle();
    }
    void typeSite() {
        type("latitudeEdit", QStringLiteral("47.25"));
        type("longitudeEdit", QStringLiteral("-9.55"));
        type("zoneEdit", QStringLiteral("-15"));
        type("yearEdit", QStringLiteral("1999"));
        type("monthEdit", QStringLiteral("6"));
        type("dayEdit", QStringLiteral("21"));
    }
    QStringList head() const {
        return {QString(), kRule, QString(), QStringLiteral("    Datum:           1999- 6-21"),
                QStringLiteral("    Geogr. Breite:    47.25 Grad"),
                QStringLiteral("    Geogr. Länge:      -9.55 Grad         Zonenmeridian:  -15.0 Grad")};
    }

    DialState state = StartupState();
    RecordingDialogs dialogs;
    std::unique_ptr<SunPositionWindow> window;
};

TEST_F(SunWindowTest, RiseSetModeShowsTheReferenceDay) {
    state.latitude = 10;  // the fields, not the state of the opening, decide
    state.referenceYear = 2013;
    open(kModeRiseSet);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Auf- / Untergang der Sonne"));
    EXPECT_TRUE(window->findChild<QWidget*>(QStringLiteral("panelRise"))->isVisible());
    EXPECT_FALSE(window->findChild<QWidget*>(QStringLiteral("panelPosition"))->isVisible());
    EXPECT_TRUE(window->findChild<QRadioButton*>(QStringLiteral("nauticalRadio"))->isChecked());
    typeSite();
    click("calculateButton");
    EXPECT_TRUE(dialogs.events.empty()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(result("sunriseLabel"), QStringLiteral("  4:25 hh:min"));
    EXPECT_EQ(result("sunsetLabel"), QStringLiteral(" 20:21 hh:min"));
    EXPECT_EQ(result("twilightBeginLabel"), QStringLiteral("  2:50 hh:min"));
    EXPECT_EQ(result("twilightEndLabel"), QStringLiteral(" 21:57 hh:min"));
    EXPECT_EQ(result("moonriseLabel"), QStringLiteral(" 12:59 hh:min"));
    EXPECT_EQ(result("moonsetLabel"), QStringLiteral("  0:51 hh:min"));
    EXPECT_EQ(result("riseEotLabel"), QStringLiteral(" -1:39  min:sec"));
    EXPECT_EQ(result("riseDeclinationLabel"), QStringLiteral(" 23.44 Grad"));
    EXPECT_EQ(state.latitude, 47.25);
    EXPECT_EQ(state.referenceYear, 1999);

    QStringList expected = head();
    expected << QStringLiteral("    Zeitgleichung:      -1:39  min:sec   Werte fuer 12 Uhr Zonenzeit")
             << QStringLiteral("    Sonnendeklination:  23.44 Grad")
             << QStringLiteral("    Sonne Aufgang:      4:25 hh:min     Sonne Untergang:  20:21 hh:min")
             << QStringLiteral("    Dämmerung Beginn:   2:50 hh:min     Dämmerung Ende:   21:57 hh:min")
             << QStringLiteral("                        [ Angezeigte Dämmerungsart: nautisch (6°-12°)]")
             << QStringLiteral("    Mond Aufgang:      12:59 hh:min     Mond Untergang:    0:51 hh:min") << kRule;
    EXPECT_EQ(window->printList(), expected);

    // The twilight kind is the shared setting; changing it clears the results.
    click("astronomicalRadio");
    EXPECT_EQ(state.twilightKind, 2);
    EXPECT_TRUE(result("twilightEndLabel").isEmpty());
    type("latitudeEdit", QStringLiteral("60"));
    click("calculateButton");
    EXPECT_EQ(result("twilightBeginLabel"), label(69, kDe));
    EXPECT_EQ(result("sunriseLabel").right(7), QStringLiteral(" hh:min"));
    EXPECT_EQ(window->printList().size(), 2 * expected.size());
}

TEST_F(SunWindowTest, SunriseOverTheTerrainIsAnOptionThatNeedsAProfile) {
    open(kModeRiseSet);
    typeSite();
    click("calculateButton");
    const QString plainRise = result("sunriseLabel"), plainSet = result("sunsetLabel");
    auto* option = window->findChild<QCheckBox*>(QStringLiteral("sunriseOverTerrainCheck"));
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->text(), QStringLiteral("Sonnenaufgang über dem Horizont"));
    EXPECT_FALSE(option->isChecked());

    // Chosen without a profile: the plain times, and the window says why.
    int saved = 0;
    window->setPreferencesSaver([&saved] { ++saved; });
    click("sunriseOverTerrainCheck");
    EXPECT_TRUE(state.sunriseOverTerrain);
    EXPECT_EQ(saved, 1);
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("noProfileLabel"))->isVisible());
    EXPECT_EQ(result("sunriseLabel"), plainRise);

    // Hills of 8 degrees in the east: a later sunrise, the same sunset.
    auto hills = std::make_shared<HorizonProfile>();
    for (int k = 0; k < kHorizonRecordCount; ++k) {
        if (HorizonSectorAzimuth(k) >= 0) continue;
        hills->records[k].elevation = 8.0;
        hills->records[k].distanceMetres = 4000;
        hills->records[k].empty = false;
    }
    state.horizonProfile = hills;
    click("calculateButton");
    EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("noProfileLabel"))->isVisible());
    EXPECT_GT(result("sunriseLabel"), plainRise);
    EXPECT_EQ(result("sunsetLabel"), plainSet);
    click("sunriseOverTerrainCheck");
    EXPECT_FALSE(state.sunriseOverTerrain);
    EXPECT_EQ(result("sunriseLabel"), plainRise);

    state.language = Language::English;
    window->applyLanguage();
    EXPECT_EQ(option->text(), QStringLiteral("sunrise over the terrain"));
}

TEST_F(SunWindowTest, EoTModeShowsNoonValues) {
    open(kModeEoT);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Zeitgleichung und Sonnendeklination"));
    type("monthEdit", QStringLiteral("11"));
    type("dayEdit", QStringLiteral("3"));
    type("yearEdit", QStringLiteral("2000"));
    click("calculateButton");
    // Early November: the sundial is 16.4 minutes ahead of the clock.
    EXPECT_EQ(result("eotLabel"), QStringLiteral(" 16:25  min:sec"));
    EXPECT_EQ(result("eotDeclinationLabel"), QStringLiteral("-15.23 Grad"));
    const QStringList expected{QString(),
                               kRule,
                               QString(),
                               QStringLiteral("    Datum:           2000-11- 3"),
                               QStringLiteral("    Geogr. Breite:    47.25 Grad"),
                               QStringLiteral("    Geogr. Länge:      -9.55 Grad         Zonenmeridian:  -15.0 Grad"),
                               QStringLiteral("    Zeitgleichung:      16:25  min:sec   Werte fuer 12 Uhr Zonenzeit"),
                               QStringLiteral("    Sonnendeklination: -15.23 Grad"),
                               kRule};
    EXPECT_EQ(window->printList(), expected);
    // The graph modes open on the same panel.
    open(16);
    EXPECT_TRUE(window->findChild<QWidget*>(QStringLiteral("panelEoT"))->isVisible());
}

TEST_F(SunWindowTest, PositionModeAtTheThreeKindsOfTime) {
    open(kModePosition);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Sonnenstand berechnen"));
    EXPECT_TRUE(window->findChild<QRadioButton*>(QStringLiteral("zoneTimeRadio"))->isChecked());
    EXPECT_TRUE(window->findChild<QWidget*>(QStringLiteral("altitudeGraphButton"))->isVisible());
    typeSite();
    // A blank is typed as ":".
    type("timeEdit", QStringLiteral("10 30"));
    EXPECT_EQ(edit("timeEdit")->text(), QStringLiteral("10:30"));
    click("calculateButton");
    EXPECT_EQ(result("altitudeLabel"), QStringLiteral("  57.15"));
    EXPECT_EQ(result("azimuthLabel"), QStringLiteral(" -53.47"));
    EXPECT_EQ(result("positionEotLabel"), QStringLiteral(" -1:38  min:sec"));
    EXPECT_EQ(result("positionDeclinationLabel"), QStringLiteral("  23.44 Grad"));
    QStringList expected = head();
    expected << QStringLiteral("    Uhrzeit:       10:30:00  Zonenzeit")
             << QStringLiteral("    Sonnenhöhe:     57.15 Grad")
             << QStringLiteral("    Azimut:       -53.47 Grad  [negativ bei Abweichung gegen Osten]")
             << QStringLiteral("    Sonnendeklination:   23.44 Grad")
             << QStringLiteral("    Zeitgleichung:      -1:38  min:sec") << kRule;
    EXPECT_EQ(window->printList(), expected);

    // Choosing a time kind recomputes and adds a block: 12:00 true local time is due south.
    type("timeEdit", QStringLiteral("12"));
    click("trueLocalRadio");
    EXPECT_EQ(result("azimuthLabel"), QStringLiteral("   0.00"));
    EXPECT_EQ(result("altitudeLabel"), QStringLiteral("  66.19"));
    EXPECT_EQ(window->printList()[expected.size() + 6], QStringLiteral("    Uhrzeit:       12:00:00  Wahre Ortszeit"));
    click("meanLocalRadio");
    EXPECT_EQ(window->printList()[2 * expected.size() + 6],
              QStringLiteral("    Uhrzeit:       12:00:00  Mittlere Ortszeit"));
    // Mean noon comes 1:39 before true noon: the sun is still east of south.
    EXPECT_EQ(result("azimuthLabel"), QStringLiteral("  -0.94"));
    EXPECT_EQ(state.calcTime, QStringLiteral("12"));
}

TEST_F(SunWindowTest, AzimuthModeFindsTheTime) {
    open(kModeAzimuthTime);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Zeit für gegebenen Sonnenstand"));
    EXPECT_FALSE(window->findChild<QWidget*>(QStringLiteral("altitudeGraphButton"))->isVisible());
    typeSite();
    type("azimuthEdit", QStringLiteral("45"));
    click("calculateButton");
    EXPECT_TRUE(dialogs.events.empty()) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(result("reachedAtLabel"), QStringLiteral(" 13:53:44  hh:mm:ss"));
    EXPECT_EQ(result("reachedAltitudeLabel"), QStringLiteral(" 60.1 Grad"));
    QStringList expected = head();
    expected << QStringLiteral("    Azimut:        45.00 Grad  [negativ bei Abweichung gegen Osten]")
             << QStringLiteral("    Sonnenstand erreicht um: 13:53:44  hh:mm:ss")
             << QStringLiteral("    Sonnenhöhe:    60.1 Grad") << kRule;
    EXPECT_EQ(window->printList(), expected);

    // At 10 N in June the sun never stands due south: the search says so, the time stays empty.
    type("latitudeEdit", QStringLiteral("10"));
    type("azimuthEdit", QStringLiteral("0"));
    click("calculateButton");
    EXPECT_EQ(dialogs.texts(), (QStringList{message(44, kDe), message(24, kDe)}));
    EXPECT_TRUE(result("reachedAtLabel").isEmpty());
    EXPECT_TRUE(result("reachedAltitudeLabel").isEmpty());
}

TEST_F(SunWindowTest, EmptyFieldsShowTheStoredValueAndBadEntriesSayWhatIsWrong) {
    open(kModeRiseSet);
    // Emptied and left: the stored value comes back, without a word.
    for (const char* field : {"latitudeEdit", "yearEdit", "dayEdit"}) type(field, QString());
    EXPECT_EQ(edit("latitudeEdit")->text(), QStringLiteral("    47.250000"));
    EXPECT_EQ(edit("yearEdit")->text(), QStringLiteral("1999"));
    EXPECT_EQ(edit("dayEdit")->text(), QStringLiteral("21"));
    EXPECT_TRUE(dialogs.events.empty());

    // A bad entry stays in the field as typed, the message names the field and what it
    // takes, and the stored value is kept until the entry is corrected.
    const struct {
        const char* field;
        const char* typed;
        const char* message;
    } cases[] = {
        {"latitudeEdit", "95", "geogr. Breite = 95\r\nZulässiger Wertebereich ist [-90 .. 90] !"},
        {"latitudeEdit", "4-7", "geogr. Breite = 4-7\r\nZulässiger Wertebereich ist [-90 .. 90] !"},
        {"longitudeEdit", "-181", "geogr. Länge = -181\r\nZulässiger Wertebereich ist [-180 .. 180] !"},
        {"zoneEdit", "200", "Zonenmeridian = 200\r\nZulässiger Wertebereich ist [-180 .. 180] !"},
        {"yearEdit", "1299", "Jahr = 1299\r\nZulässiger Wertebereich ist [1300 .. 2500] !"},
        {"yearEdit", "2501", "Jahr = 2501\r\nZulässiger Wertebereich ist [1300 .. 2500] !"},
        {"monthEdit", "13", "Monat = 13\r\nZulässiger Wertebereich ist [1 .. 12] !"},
        {"monthEdit", "0", "Monat = 0\r\nZulässiger Wertebereich ist [1 .. 12] !"},
        {"dayEdit", "32", "Tag = 32\r\nZulässiger Wertebereich ist [1 .. 31] !"},
    };
    for (const auto& c : cases) {
        dialogs.clear();
        type(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(edit(c.field)->text(), QString::fromLatin1(c.typed)) << c.field;
        ASSERT_EQ(dialogs.events.size(), 1u) << c.field << " " << c.typed;
        EXPECT_EQ(dialogs.events[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(dialogs.events[0].icon, Icon::Warning);
        EXPECT_EQ(QApplication::focusWidget(), edit(c.field)) << "the focus goes back to the entry";
        // No calculation runs on a bad entry, and it is not said twice.
        window->calculate();
        EXPECT_TRUE(window->printList().isEmpty());
        EXPECT_EQ(dialogs.events.size(), 1u);
        type(c.field, QString());  // back to the stored value
    }
    EXPECT_EQ(state.latitude, 47.25);
    EXPECT_EQ(state.longitude, -9.55);
    EXPECT_EQ(state.zoneMeridian, -15);
    EXPECT_EQ(state.referenceYear, 1999);
    EXPECT_EQ(state.calcMonth, 6);
    EXPECT_EQ(state.calcDay, 21);
    dialogs.clear();

    // Valid values are stored; a latitude of 0 is kept off the exact equator.
    type("latitudeEdit", QStringLiteral("0"));
    EXPECT_EQ(state.latitude, 1e-6);
    type("yearEdit", QStringLiteral("2000"));
    EXPECT_EQ(state.referenceYear, 2000);
    EXPECT_NEAR(state.zodiacDeclinations[7], 23.44, 0.005);
    type("dayEdit", QStringLiteral("31"));
    EXPECT_EQ(state.calcDay, 31);

    // A day the calendar reform skipped is computed as 15 October 1582, after saying so.
    type("yearEdit", QStringLiteral("1582"));
    type("monthEdit", QStringLiteral("10"));
    type("dayEdit", QStringLiteral("10"));
    click("calculateButton");
    EXPECT_EQ(dialogs.texts(), QStringList{message(26, kDe)});
    EXPECT_EQ(edit("dayEdit")->text(), QStringLiteral("15"));
    EXPECT_EQ(window->printList()[3], QStringLiteral("    Datum:           1582-10-15"));
}

TEST_F(SunWindowTest, KeyFiltersAndEnter) {
    open(kModePosition);
    type("latitudeEdit", QStringLiteral("4a7,.x5"));
    EXPECT_EQ(edit("latitudeEdit")->text(), QStringLiteral("47.5"));
    type("yearEdit", QStringLiteral("-2.0a0b1"));
    EXPECT_EQ(edit("yearEdit")->text(), QStringLiteral("2001"));
    type("timeEdit", QStringLiteral("9h:1x5"));
    EXPECT_EQ(edit("timeEdit")->text(), QStringLiteral("9:15"));

    // Enter moves on from field to field, and from the time field to the button.
    edit("zoneEdit")->setFocus();
    Settle();
    QTest::keyClick(edit("zoneEdit"), Qt::Key_Return);
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), edit("yearEdit"));
    edit("timeEdit")->setFocus();
    Settle();
    QTest::keyClick(edit("timeEdit"), Qt::Key_Return);
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), window->findChild<QPushButton*>(QStringLiteral("calculateButton")));
    EXPECT_TRUE(window->printList().isEmpty()) << "Enter in the time field only reaches the button";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Settle();
    EXPECT_FALSE(window->printList().isEmpty());
}

TEST_F(SunWindowTest, TimeAndAzimuthInputsThatCannotBeComputed) {
    open(kModePosition);
    // Leaving an empty time field fills in noon.
    type("timeEdit", QString());
    EXPECT_EQ(edit("timeEdit")->text(), QStringLiteral("12:00:00"));
    // A time that is no clock time stays as typed, says what is wrong and keeps the focus.
    type("timeEdit", QStringLiteral("25:70"));
    Settle();
    EXPECT_EQ(edit("timeEdit")->text(), QStringLiteral("25:70"));
    EXPECT_EQ(QApplication::focusWidget(), edit("timeEdit"));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text,
              QStringLiteral("Uhrzeit (hh:mm:ss) = 25:70\r\nDas ist keine Uhrzeit: Stunden 0 .. 23, Minuten und "
                             "Sekunden 0 .. 59!"));
    window->calculate();
    EXPECT_EQ(edit("timeEdit")->text(), QStringLiteral("25:70"));
    EXPECT_TRUE(window->printList().isEmpty());
    EXPECT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(state.calcTime, QStringLiteral("12:00:00"));
    // Emptied and computed without leaving the field (pop-up menu): "Eingabe?".
    edit("timeEdit")->clear();
    window->calculate();
    EXPECT_EQ(edit("timeEdit")->text(), QStringLiteral("Eingabe?"));
    EXPECT_TRUE(window->printList().isEmpty());
    EXPECT_TRUE(result("altitudeLabel").isEmpty());

    open(kModeAzimuthTime);
    edit("azimuthEdit")->clear();
    window->calculate();
    EXPECT_EQ(edit("azimuthEdit")->text(), QStringLiteral("Eingabe?"));
    EXPECT_EQ(QApplication::focusWidget(), edit("azimuthEdit"));
    EXPECT_TRUE(window->printList().isEmpty());
    dialogs.clear();
    type("azimuthEdit", QStringLiteral("200"));
    window->calculate();
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_TRUE(dialogs.events[0].text.startsWith(QStringLiteral("Azimut=200\r\n Zulässiger Wertebereich ist")));
    EXPECT_TRUE(window->printList().isEmpty());
    EXPECT_TRUE(result("reachedAtLabel").isEmpty());
}

TEST_F(SunWindowTest, EmptyFieldsNeverReachTheCalculation) {
    for (int mode : {kModeRiseSet, kModePosition, kModeAzimuthTime, kModeEoT}) {
        open(mode);
        for (const char* f : {"latitudeEdit", "longitudeEdit", "zoneEdit", "yearEdit", "monthEdit", "dayEdit"})
            edit(f)->clear();
        window->calculate();  // from the pop-up menu: no field was left
        for (QLabel* l : window->findChildren<QLabel*>())
            EXPECT_FALSE(l->text().contains(QStringLiteral("nan"), Qt::CaseInsensitive)) << mode;
        EXPECT_EQ(edit("latitudeEdit")->text(), QStringLiteral("    47.250000"));
        EXPECT_EQ(edit("dayEdit")->text(), QStringLiteral("21"));
        if (mode != kModePosition && mode != kModeAzimuthTime) {
            EXPECT_EQ(window->printList().mid(0, 6), head()) << mode;
        }
    }
}

TEST_F(SunWindowTest, KeyReleaseClearsTheResults) {
    open(kModeEoT);
    click("calculateButton");
    ASSERT_FALSE(result("eotLabel").isEmpty());
    edit("dayEdit")->setFocus();
    Settle();
    QTest::keyClick(edit("dayEdit"), Qt::Key_End);
    EXPECT_TRUE(result("eotLabel").isEmpty());
    EXPECT_TRUE(result("eotDeclinationLabel").isEmpty());
    click("calculateButton");
    ASSERT_FALSE(result("eotLabel").isEmpty());
    QTest::keyClick(edit("dayEdit"), Qt::Key_C, Qt::ControlModifier);  // copying changes nothing
    EXPECT_FALSE(result("eotLabel").isEmpty());
}

TEST_F(SunWindowTest, ZoneMeridianQuestionOnceUntilAFieldIsLeft) {
    open(kModeRiseSet);
    const QString question = label(46, kDe) + label(47, kDe);
    EXPECT_EQ(question, QStringLiteral("Die geogr. Länge ist mehr als 15 Grad\r\n  vom Zonenmeridian entfernt!\r\n Ist dies in Ordnung?"));
    type("longitudeEdit", QStringLiteral("-40"));
    EXPECT_TRUE(state.zoneFarFromLongitude);

    dialogs.answers = {Answer::No};
    click("calculateButton");
    ASSERT_EQ(dialogs.texts(), QStringList{question});
    EXPECT_EQ(dialogs.events[0].caption, caption(CaptionKind::Question, kDe));
    EXPECT_EQ(dialogs.events[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(window->printList().isEmpty());
    EXPECT_TRUE(result("sunriseLabel").isEmpty());

    dialogs.clear();
    dialogs.answers = {Answer::Yes};
    click("calculateButton");
    EXPECT_EQ(dialogs.texts(), QStringList{question});
    EXPECT_EQ(result("sunriseLabel"), QStringLiteral("  2:23 hh:min"));
    dialogs.clear();
    click("calculateButton");
    EXPECT_TRUE(dialogs.events.empty()) << "Yes holds until a longitude or zone field is left";

    // Leaving the zone field asks again, at the next calculation and when closing.
    type("zoneEdit", QStringLiteral("-15"));
    dialogs.answers = {Answer::No};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(dialogs.texts(), QStringList{question});
    EXPECT_TRUE(window->isVisible());
    dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(window->close());

    // A longitude near the zone meridian asks nothing.
    open(kModeRiseSet);
    dialogs.clear();
    type("longitudeEdit", QStringLiteral("-20"));
    click("calculateButton");
    EXPECT_TRUE(dialogs.events.empty());
}

TEST_F(SunWindowTest, CancelOfThePrintQuestionRemovesTheLastBlock) {
    open(kModeEoT);
    click("calculateButton");
    const QStringList one = window->printList();
    type("dayEdit", QStringLiteral("22"));
    click("calculateButton");
    ASSERT_EQ(window->printList().size(), 2 * one.size());
    dialogs.answers = {Answer::Cancel};
    window->printFromMainWindow();
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, message(11, kDe));
    EXPECT_EQ(dialogs.events[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(window->printList(), one);
    window->removeLastBlock();
    EXPECT_TRUE(window->printList().isEmpty());
    window->removeLastBlock();  // nothing left: nothing happens
    EXPECT_TRUE(window->printList().isEmpty());
}

TEST_F(SunWindowTest, PrintsToPdfWithAndWithoutFormFeed) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.filePath(QStringLiteral("sun.pdf"));
    printer.setOutputFileName(pdf);

    open(kModeRiseSet);
    window->setPrinter(&printer);
    click("calculateButton");
    const QStringList riseBlock = window->printList();
    // Without form feed the page stays open for the next calculation.
    window->printWithoutFormFeed();
    EXPECT_TRUE(window->printList().isEmpty());
    type("dayEdit", QStringLiteral("19"));
    click("calculateButton");
    const QStringList day19 = window->printList();
    EXPECT_TRUE(day19.contains(QStringLiteral("    Mond Aufgang:      10:49     Mond Untergang:   -----")));
    // F3 of the main window, Yes: with form feed; the page goes out.
    dialogs.answers = {Answer::Yes};
    window->printFromMainWindow();
    EXPECT_TRUE(window->printList().isEmpty());
    ASSERT_TRUE(QFile::exists(pdf));
    const QString text = PdfText(pdf);
    // Both blocks, each once, in order, on one page.
    const QString expected = Squeezed((riseBlock + day19).join(QLatin1Char(' '))) + QStringLiteral(" <page>");
    EXPECT_EQ(text, expected);

    // The pop-up's "Drucken  mit LF" ejects at once; an empty list prints nothing.
    QFile::remove(pdf);
    window->printWithFormFeed();
    EXPECT_FALSE(QFile::exists(pdf));
    click("calculateButton");
    window->findChild<QAction*>(QStringLiteral("printWithFormFeedAction"))->trigger();
    EXPECT_TRUE(PdfText(pdf).contains(QStringLiteral("Sonne Aufgang:")));

    // "Druck Seite" ends a job left open.
    QFile::remove(pdf);
    click("calculateButton");
    window->findChild<QAction*>(QStringLiteral("printWithoutFormFeedAction"))->trigger();
    window->findChild<QAction*>(QStringLiteral("printPageAction"))->trigger();
    EXPECT_TRUE(PdfText(pdf).contains(QStringLiteral("Mond Aufgang:")));
    EXPECT_TRUE(dialogs.events.size() == 1) << dialogs.texts().join('|').toStdString();
}

TEST_F(SunWindowTest, PrinterThatRefusesIsReported) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/nonexistent-folder/x.pdf"));
    open(kModeEoT);
    window->setPrinter(&printer);
    click("calculateButton");
    const QStringList list = window->printList();
    window->printWithFormFeed();
    EXPECT_EQ(dialogs.texts(), QStringList{message(42, kDe)});
    EXPECT_EQ(window->printList(), list) << "nothing was printed, nothing is lost";
}

TEST_F(SunWindowTest, OwnPrinterIsChosenBeforeTheFirstJobOnly) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("chosen.pdf"));
    int asked = 0;
    bool accept = false;
    open(kModeEoT);
    window->setPrinterChooser([&](QPrinter& p) {
        ++asked;
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return accept;
    });
    click("calculateButton");
    window->printWithFormFeed();  // the printer dialog is cancelled
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(window->printList().size(), 9);
    EXPECT_FALSE(QFile::exists(pdf));
    accept = true;
    window->printWithoutFormFeed();
    click("calculateButton");
    window->printWithFormFeed();
    EXPECT_EQ(asked, 2) << "chosen once, then kept";
    EXPECT_EQ(PdfText(pdf).count(QStringLiteral("Zeitgleichung:")), 2);
    EXPECT_TRUE(dialogs.events.empty());
}

TEST_F(SunWindowTest, TablesAndGraphsOpenThroughTheOpener) {
    open(kModePosition);
    for (const char* b : {"tablesButton", "graphButton", "altitudeGraphButton", "moreTablesButton"})
        EXPECT_FALSE(window->findChild<QPushButton*>(QString::fromLatin1(b))->isEnabled()) << b;

    std::vector<std::pair<int, int>> opened;
    window->setTableOpener([&](int mode, int kind) { opened.emplace_back(mode, kind); });
    EXPECT_TRUE(window->findChild<QPushButton*>(QStringLiteral("graphButton"))->isEnabled());
    edit("yearEdit")->setText(QStringLiteral("2004"));  // typed, not yet left
    click("graphButton");
    click("altitudeGraphButton");
    click("tablesButton");
    window->findChild<QAction*>(QStringLiteral("transitTableAction"))->trigger();
    window->findChild<QAction*>(QStringLiteral("riseSetTableAction"))->trigger();
    EXPECT_EQ(opened, (std::vector<std::pair<int, int>>{{16, 0}, {32, 0}, {8, 0}, {8, 3}, {1, 0}}));
    EXPECT_EQ(state.referenceYear, 2004) << "the graphs read the year of the field";
}

TEST_F(SunWindowTest, LanguageSwitchRecaptionsAndRefreshesResults) {
    open(kModeRiseSet);
    state.latitude = 70;
    open(kModeRiseSet);
    click("calculateButton");
    EXPECT_EQ(result("sunriseLabel"), label(68, kDe));
    const int lines = window->printList().size();
    state.language = Language::English;
    window->applyLanguage();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Sun Rise and Set"));
    EXPECT_EQ(result("sunriseLabel"), QStringLiteral(" always seen  "));
    EXPECT_EQ(result("riseDeclinationLabel"), QStringLiteral(" 23.44 deg "));
    EXPECT_EQ(window->findChild<QPushButton*>(QStringLiteral("calculateButton"))->text(), QStringLiteral("&Calculate"));
    EXPECT_EQ(window->printList().size(), lines) << "refreshing adds no block";
}

// Inside the main window: the calculation entries open the window in their mode, "Drucken..."
// reaches its print list, and the table buttons lead on to the tables window.
class SunWindowInMainWindow : public test::UiTest {};

TEST_F(SunWindowInMainWindow, MenuEntriesPrintAndTables) {
    state.latitude = 47.25;
    state.longitude = -9.55;
    state.zoneMeridian = -15;
    state.referenceYear = 1999;
    state.calcMonth = 6;
    state.calcDay = 21;
    const std::pair<MenuEntry, int> entries[] = {{MenuEntry::SunPosition, kModePosition},
                                                 {MenuEntry::TimeForPosition, kModeAzimuthTime},
                                                 {MenuEntry::EotDeclination, kModeEoT},
                                                 {MenuEntry::RiseSet, kModeRiseSet}};
    for (const auto& [entry, mode] : entries) {
        window->action(entry)->trigger();
        ASSERT_TRUE(test::WaitFor([&] {
            auto* c = qobject_cast<SunPositionChild*>(window->activeChild());
            return c && c->window()->calcMode() == mode;
        })) << mode;
        EXPECT_EQ(window->childCount(), 1);
    }
    auto* child = qobject_cast<SunPositionChild*>(window->activeChild());
    EXPECT_EQ(child->windowTitle(), QStringLiteral("Auf- / Untergang der Sonne"));
    click(QStringLiteral("calculateButton"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("sunsetLabel"))->text(), QStringLiteral(" 20:21 hh:min"));
    ASSERT_EQ(child->window()->printList().size(), 13);

    // "Drucken..." (F3), Cancel: the block is taken back instead of printed.
    ASSERT_TRUE(window->action(MenuEntry::Print)->isEnabled());
    dialogs.answers = {Answer::Cancel};
    window->action(MenuEntry::Print)->trigger();
    EXPECT_EQ(dialogs.texts(), QStringList{message(11, Language::German)});
    EXPECT_TRUE(child->window()->printList().isEmpty());

    // " Tabellen" in the rise/set mode: the month table, twilight kind and month as chosen here.
    click(QStringLiteral("civilRadio"));
    type(QStringLiteral("monthEdit"), QStringLiteral("12"));
    click(QStringLiteral("tablesButton"));
    ASSERT_TRUE(test::WaitFor([&] { return qobject_cast<TablesWindow*>(window->activeChild()) != nullptr; }));
    auto* tables = qobject_cast<TablesWindow*>(window->activeChild());
    EXPECT_EQ(tables->calcMode(), 1);
    EXPECT_EQ(window->childCount(), 1);
    EXPECT_EQ(state.twilightKind, 0);
    EXPECT_EQ(state.calcMonth, 12);
    EXPECT_TRUE(tables->tableLines().join('\n').contains(QStringLiteral(" 1.12.1999")));
}

}  // namespace
}  // namespace zorva
