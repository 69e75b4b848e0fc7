// The dial-parameter dialog driven as a user would: clicks, keys and the close check.

#include "ui/parameter_dialog.h"

#include "state/preferences.h"
#include "state/settings_file.h"

#include "support/test_support.h"
#include "text/texts.h"
#include "ui/embedded_children.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

namespace zorva {
namespace {

// The offscreen platform says so for every window it shows; nothing to see in a test log.
QtMessageHandler previousHandler = nullptr;
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("propagateSizeHints"))) return;
    if (previousHandler) previousHandler(type, context, text);
}

// One QApplication for the whole test binary.
void App() {
    static int argc = 1;
    static char name[] = "parameter_dialog_test";
    static char* argv[] = {name, nullptr};
    if (!qApp) {
        previousHandler = qInstallMessageHandler(QuietOffscreen);
        new QApplication(argc, argv);
    }
}

class ParameterDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        state = StartupState();
    }
    void open(char dialType, bool umbrella = false) {
        state.dialType = dialType;
        state.umbrellaDial = umbrella;
        dialog = std::make_unique<ParameterDialog>(state, dialogs);
        dialog->show();
        QApplication::processEvents();
    }
    template <class T>
    T* child(const QString& name) {
        T* w = dialog->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    // Types a value into a number field and confirms it with RETURN.
    void enter(const QString& field, const QString& text) {
        QLineEdit* edit = child<QLineEdit>(field);
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Types a value without confirming it, for the close check to read.
    void type(const QString& field, const QString& text) {
        QLineEdit* edit = child<QLineEdit>(field);
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    void click(QAbstractButton* button) {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    DialState state;
    RecordingDialogs dialogs;
    std::unique_ptr<ParameterDialog> dialog;
};

TEST_F(ParameterDialogTest, OnlyThePageOfTheDialTypeIsShown) {
    struct Case {
        char type;
        bool umbrella;
        ParameterDialog::Page page;
    } cases[] = {
        {'h', false, ParameterDialog::Page::Planar},   {'i', true, ParameterDialog::Page::Umbrella},
        {'q', false, ParameterDialog::Page::Quadrant}, {'z', false, ParameterDialog::Page::Cylinder},
        {'k', false, ParameterDialog::Page::Hidokai},  {'r', false, ParameterDialog::Page::Ring},
        {'a', false, ParameterDialog::Page::Azimuth},  {'c', false, ParameterDialog::Page::Biazimuthal},
        {'m', false, ParameterDialog::Page::MeanTime}, {'b', false, ParameterDialog::Page::Planar},
    };
    for (const Case& c : cases) {
        open(c.type, c.umbrella);
        EXPECT_EQ(dialog->currentPage(), c.page) << c.type;
        auto* tabs = child<QTabWidget>(QStringLiteral("pages"));
        int visible = 0;
        for (int i = 0; i < tabs->count(); ++i) visible += tabs->isTabVisible(i) ? 1 : 0;
        EXPECT_EQ(visible, 1) << c.type;
        EXPECT_EQ(tabs->currentIndex(), static_cast<int>(c.page));
        // The own date lines sit beside the planar pages only.
        EXPECT_EQ(child<QGroupBox>(QStringLiteral("dateGroup"))->isVisible(),
                  c.page == ParameterDialog::Page::Planar || c.page == ParameterDialog::Page::Umbrella);
    }
}

TEST_F(ParameterDialogTest, WithoutExpertModeTheExpertDialsFallBackToTheHorizontalDial) {
    state.expertMode = false;
    state.quadrantKind = 2;
    state.cylinderKind = 1;
    open('m');
    EXPECT_EQ(state.dialType, 'h');
    EXPECT_EQ(state.quadrantKind, 0);
    EXPECT_EQ(state.cylinderKind, 0);
    EXPECT_EQ(dialog->currentPage(), ParameterDialog::Page::Planar);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" ZORVA.EXE - Achtung! horizontale SONNENUHR"));
}

TEST_F(ParameterDialogTest, TitleAndHelpTopicFollowThePage) {
    open('v');
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" ZORVA.EXE - Achtung! vertikale SONNENUHR"));
    EXPECT_EQ(dialog->helpTopic(), 10);
    open('v', true);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Eingabe für Schirmsonnenuhr"));
    EXPECT_EQ(dialog->helpTopic(), 12);
    state.quadrantKind = 2;
    open('q');
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Eingabe für Quadrantsonnenuhr"));
    EXPECT_EQ(dialog->helpTopic(), 16);
    state.cylinderKind = 1;
    open('z');
    EXPECT_EQ(dialog->helpTopic(), 27);
    state.cylinderKind = 2;
    open('z');
    EXPECT_EQ(dialog->helpTopic(), 48);
    open('c');
    EXPECT_EQ(dialog->helpTopic(), 212);
    state.language = Language::English;
    open('i');
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" ZORVA.EXE - Attention! inclining SUNDIAL"));
    open('r');
    EXPECT_EQ(dialog->windowTitle(), title(44, Language::English) + title(35, Language::English));

    int topic = -1;
    QObject::connect(dialog.get(), &ParameterDialog::helpRequested, [&](int t) { topic = t; });
    QTest::keyClick(dialog.get(), Qt::Key_F1);
    EXPECT_EQ(topic, 20);
}

TEST_F(ParameterDialogTest, ARepeatedControlWritesItsFieldAndMovesItsTwins) {
    open('h');
    auto* planar = child<QCheckBox>(QStringLiteral("planar_babylonianHours"));
    auto* umbrella = child<QCheckBox>(QStringLiteral("umbrella_babylonianHours"));
    auto* cylinder = child<QCheckBox>(QStringLiteral("cylinder_babylonianHours"));
    ASSERT_FALSE(state.babylonianHours);
    click(planar);
    EXPECT_TRUE(state.babylonianHours);
    EXPECT_TRUE(umbrella->isChecked());
    EXPECT_TRUE(cylinder->isChecked());
    // The range of a family follows its switch.
    EXPECT_TRUE(child<QComboBox>(QStringLiteral("planar_babylonianFrom"))->isEnabled());

    auto* from = child<QComboBox>(QStringLiteral("planar_hourFrom"));
    QTest::keyClick(from, Qt::Key_Down);
    EXPECT_EQ(state.hourFrom, 9);
    EXPECT_EQ(child<QComboBox>(QStringLiteral("azimuth_hourFrom"))->currentIndex(), 9);

    // " bis zum Polstabfußpunkt" is only offered with the apparent-time lines.
    auto* foot = child<QCheckBox>(QStringLiteral("planar_linesToStyleFoot"));
    EXPECT_TRUE(foot->isEnabled());
    click(child<QCheckBox>(QStringLiteral("planar_apparentTimeLines")));
    EXPECT_FALSE(state.apparentTimeLines);
    EXPECT_FALSE(foot->isEnabled());
    EXPECT_FALSE(child<QCheckBox>(QStringLiteral("cylinder_apparentTimeLines"))->isChecked());
}

TEST_F(ParameterDialogTest, PickListsStoreTheirOwnCodes) {
    open('h');
    // Mean-time interval: "10 min" is kept as the digit 6.
    auto* eot = child<QComboBox>(QStringLiteral("planar_eotHourInterval"));
    ASSERT_EQ(eot->count(), 5);
    EXPECT_EQ(eot->itemText(4), QStringLiteral(" 10 min"));
    eot->setCurrentIndex(4);
    EXPECT_EQ(state.eotHourInterval, '6');
    EXPECT_EQ(child<QComboBox>(QStringLiteral("azimuth_eotHourInterval"))->currentIndex(), 4);
    eot->setCurrentIndex(3);
    EXPECT_EQ(state.eotHourInterval, '3');

    // Altitudes are listed as "10°" .. "80°" and stored in degrees.
    auto* alt = child<QComboBox>(QStringLiteral("planar_altitudeTo"));
    ASSERT_EQ(alt->count(), 8);
    EXPECT_EQ(alt->itemText(0), QStringLiteral("10°"));
    alt->setCurrentIndex(2);
    EXPECT_EQ(state.altitudeTo, 30);

    // Hours 0..24, temporal hours 0..12.
    EXPECT_EQ(child<QComboBox>(QStringLiteral("planar_hourTo"))->count(), 25);
    auto* temporal = child<QComboBox>(QStringLiteral("planar_temporalTo"));
    EXPECT_EQ(temporal->count(), 13);
    temporal->setCurrentIndex(12);
    EXPECT_EQ(state.temporalTo, 12);

    // Date lines per month of the mean-time dial are 1..4.
    open('m');
    auto* perMonth = child<QComboBox>(QStringLiteral("meantime_dateLinesPerMonth"));
    perMonth->setCurrentIndex(3);
    EXPECT_EQ(state.dateLinesPerMonth, 4);
}

TEST_F(ParameterDialogTest, ValuesTheListsCannotShowAreKeptUntilChanged) {
    // A settings file may hold values outside the lists; showing them must not rewrite them.
    state.altitudeTo = 90;
    state.eotHourInterval = '5';
    state.timeSystem = 2;
    open('q');
    EXPECT_EQ(state.altitudeTo, 90);
    EXPECT_EQ(state.eotHourInterval, '5');
    EXPECT_EQ(child<QComboBox>(QStringLiteral("planar_altitudeTo"))->currentIndex(), 7);
    // Temporal hours of the quadrant: no item of the time-display group is selected.
    auto* group = child<QButtonGroup>(QStringLiteral("quadrant_timeSystem_group"));
    EXPECT_EQ(group->checkedButton(), nullptr);
    EXPECT_TRUE(child<QCheckBox>(QStringLiteral("quadrant_temporalTimeSystem"))->isChecked());
}

TEST_F(ParameterDialogTest, TimeSystemTwinsOfDifferentKinds) {
    open('q');
    auto* temporal = child<QCheckBox>(QStringLiteral("quadrant_temporalTimeSystem"));
    auto* zone = child<QRadioButton>(QStringLiteral("quadrant_timeSystem_1"));
    click(zone);
    EXPECT_EQ(state.timeSystem, 1);
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("cylinder_timeSystem_1"))->isChecked());
    click(temporal);
    EXPECT_EQ(state.timeSystem, 2);
    EXPECT_FALSE(zone->isChecked());
    click(temporal);
    EXPECT_EQ(state.timeSystem, 0);
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("quadrant_timeSystem_0"))->isChecked());

    // Temporal hours of the quadrant exist for kind 0 only.
    state.quadrantKind = 1;
    open('q');
    EXPECT_FALSE(child<QCheckBox>(QStringLiteral("quadrant_temporalTimeSystem"))->isVisible());
}

TEST_F(ParameterDialogTest, ShepherdsDialWithTemporalHoursDropsApparentTime) {
    state.cylinderKind = 0;
    open('z');
    auto* eot = child<QCheckBox>(QStringLiteral("cylinder_cylinderWithEoT"));
    EXPECT_TRUE(eot->isEnabled());
    click(child<QCheckBox>(QStringLiteral("cylinder_temporalHours")));
    EXPECT_TRUE(state.temporalHours);
    EXPECT_FALSE(state.apparentTimeLines);
    EXPECT_FALSE(child<QCheckBox>(QStringLiteral("cylinder_apparentTimeLines"))->isChecked());
    EXPECT_FALSE(eot->isEnabled());
}

TEST_F(ParameterDialogTest, WholeYearQuadrantDisablesHourRangeAndArrangement) {
    open('q');
    auto* from = child<QComboBox>(QStringLiteral("quadrant_otherHourFrom"));
    auto* arrangement = child<QGroupBox>(QStringLiteral("quadrant_outerLineArrangement"));
    EXPECT_TRUE(from->isEnabled());
    click(child<QCheckBox>(QStringLiteral("quadrant_wholeYearBand")));
    EXPECT_TRUE(state.wholeYearBand);
    EXPECT_FALSE(from->isEnabled());
    EXPECT_FALSE(arrangement->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(QStringLiteral("ring_wholeYearBand"))->isChecked());
}

TEST_F(ParameterDialogTest, EclipticOnlyForTheStereographicAzimuthDial) {
    state.altitudeCircleSpacing = 0;
    open('a');
    auto* ecliptic = child<QCheckBox>(QStringLiteral("azimuth_drawEcliptic"));
    EXPECT_FALSE(ecliptic->isVisible());
    click(child<QRadioButton>(QStringLiteral("azimuth_altitudeCircleSpacing_2")));
    EXPECT_EQ(state.altitudeCircleSpacing, 2);
    EXPECT_TRUE(ecliptic->isVisible());
}

TEST_F(ParameterDialogTest, MeanTimePlaneAndShadowLineShareOneDigit) {
    open('m');
    click(child<QRadioButton>(QStringLiteral("meantime_plane_1")));
    click(child<QRadioButton>(QStringLiteral("meantime_hollanderShadowLine_2")));
    EXPECT_EQ(state.hollanderShadowLine, 7);
    click(child<QRadioButton>(QStringLiteral("meantime_plane_2")));
    EXPECT_EQ(state.hollanderShadowLine, 8);
    EXPECT_TRUE(child<QLineEdit>(QStringLiteral("meantime_planeInclination"))->isVisible());
    state.hollanderShadowLine = 3;
    dialog->refill();
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("meantime_plane_0"))->isChecked());
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("meantime_hollanderShadowLine_1"))->isChecked());
    EXPECT_FALSE(child<QLineEdit>(QStringLiteral("meantime_wallDeclination"))->isVisible());
}

// --- number fields and the close check

TEST_F(ParameterDialogTest, ANegativeConeAxisIsStoredAsItsSupplement) {
    open('m');
    enter(QStringLiteral("meantime_coneAxisInclination"), QStringLiteral("-30"));
    EXPECT_DOUBLE_EQ(state.coneAxisInclination, 150.0);
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("meantime_coneAxisInclination"))->text(), QStringLiteral("150.00"));
    // The same through the close check.
    type(QStringLiteral("meantime_coneAxisInclination"), QStringLiteral("-45"));
    EXPECT_TRUE(dialog->closeCheck());
    EXPECT_DOUBLE_EQ(state.coneAxisInclination, 135.0);
    EXPECT_TRUE(dialogs.events.empty());
}

TEST_F(ParameterDialogTest, ATwinNumberFieldFollowsItsPartner) {
    open('v');
    enter(QStringLiteral("planar_analemmaHour"), QStringLiteral("15"));
    EXPECT_EQ(state.analemmaHour, 15);
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("umbrella_analemmaHour"))->text(), QStringLiteral("15"));
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("meantime_analemmaHour"))->text(), QStringLiteral("15"));
}

TEST_F(ParameterDialogTest, RangeErrorsNameTheFieldAndKeepTheOldValue) {
    state.quadrantKind = 0;
    open('q');
    type(QStringLiteral("quadrant_quadrantSize"), QStringLiteral("250"));
    EXPECT_FALSE(dialog->closeCheck());
    EXPECT_FALSE(dialog->lastCheckOk());
    EXPECT_EQ(state.quadrantSize, 150);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, caption(CaptionKind::Problem, Language::German));
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("Radius des Quadranten =250 Zulässiger Wertebereich ist [80..200] !"));

    dialogs.clear();
    state.cylinderKind = 0;
    open('z');
    type(QStringLiteral("cylinder_shepherdGnomon"), QStringLiteral("3"));
    EXPECT_FALSE(dialog->closeCheck());
    EXPECT_TRUE(dialogs.events.at(0).text.startsWith(QStringLiteral("Zeigerlänge der Zylinderuhr =3")));
    EXPECT_EQ(state.shepherdGnomon, 70);
}

TEST_F(ParameterDialogTest, WallDeclinationAndInclinationHaveTheirOwnMessages) {
    open('i');
    type(QStringLiteral("planar_wallDeclination"), QStringLiteral("181"));
    EXPECT_FALSE(dialog->closeCheck());
    ASSERT_FALSE(dialogs.events.empty());
    EXPECT_EQ(dialogs.events.back().caption, caption(CaptionKind::Problem, Language::German));
    EXPECT_EQ(dialogs.events.back().text, message(0, Language::German));
    EXPECT_DOUBLE_EQ(state.wallDeclination, -11.7);

    type(QStringLiteral("planar_wallDeclination"), QStringLiteral("-180"));
    type(QStringLiteral("planar_planeInclination"), QStringLiteral("0"));
    EXPECT_FALSE(dialog->closeCheck());
    EXPECT_EQ(dialogs.events.back().caption, caption(CaptionKind::Error, Language::German));
    EXPECT_EQ(dialogs.events.back().text, message(3, Language::German));
    // Nothing of a failed check reaches the state, not even the good declination.
    EXPECT_DOUBLE_EQ(state.wallDeclination, -11.7);

    type(QStringLiteral("planar_planeInclination"), QStringLiteral("30,5"));
    EXPECT_TRUE(dialog->closeCheck());
    EXPECT_DOUBLE_EQ(state.wallDeclination, -179.9999);
    EXPECT_DOUBLE_EQ(state.planeInclination, 30.5);
}

TEST_F(ParameterDialogTest, InclinedUmbrellaNeedsADiscThatClearsThePlane) {
    open('i', true);
    type(QStringLiteral("umbrella_umbrellaCircleRatio"), QStringLiteral("0"));
    EXPECT_FALSE(dialog->closeCheck());
    EXPECT_EQ(dialogs.events.back().text, QStringLiteral("Kreisradius = 0 ist nicht zulässig !"));
    EXPECT_EQ(dialogs.events.back().caption, QStringLiteral("ZORVA.EXE - Fehler!"));
    EXPECT_DOUBLE_EQ(state.umbrellaCircleRatio, 0.35);

    // tan(70°) = 2.75 is not below 1 / 0.5.
    type(QStringLiteral("umbrella_umbrellaCircleRatio"), QStringLiteral("50"));
    type(QStringLiteral("umbrella_planeInclination"), QStringLiteral("70"));
    EXPECT_FALSE(dialog->closeCheck());
    EXPECT_EQ(dialogs.events.back().text,
              QStringLiteral("Diese Neigung der Pultuhr ist beim gegebenen Kreisradius nicht möglich !"));
    // Beyond 90° the tangent turns negative, but the disc still cannot clear the plane.
    type(QStringLiteral("umbrella_planeInclination"), QStringLiteral("120"));
    EXPECT_FALSE(dialog->closeCheck());
    EXPECT_DOUBLE_EQ(state.planeInclination, 25.4589);

    type(QStringLiteral("umbrella_planeInclination"), QStringLiteral("60"));
    EXPECT_TRUE(dialog->closeCheck());
    EXPECT_DOUBLE_EQ(state.umbrellaCircleRatio, 0.5);
    EXPECT_DOUBLE_EQ(state.planeInclination, 60.0);

    // Outside -100 .. 200 percent.
    type(QStringLiteral("umbrella_umbrellaCircleRatio"), QStringLiteral("250"));
    EXPECT_FALSE(dialog->closeCheck());
    EXPECT_EQ(dialogs.events.back().text, message(10, Language::German));

    // The horizontal umbrella has no such limit.
    open('h', true);
    type(QStringLiteral("umbrella_umbrellaCircleRatio"), QStringLiteral("0"));
    EXPECT_TRUE(dialog->closeCheck());
}

TEST_F(ParameterDialogTest, HabermelDialDiameterIsChecked) {
    state.quadrantKind = 1;
    open('q');
    // 47.25° N, obliquity 23.44°: (tan 19.31° + tan 66.19°) * 37 = 96.8 mm.
    EXPECT_TRUE(dialog->closeCheck());
    type(QStringLiteral("quadrant_quadrantGnomon"), QStringLiteral("80"));
    EXPECT_FALSE(dialog->closeCheck());
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_TRUE(dialogs.events[0].text.startsWith(QStringLiteral("Durchmesser der Sonnenuhr =209.33")))
        << dialogs.events[0].text.toStdString();
    EXPECT_DOUBLE_EQ(state.quadrantGnomon, 37.0);
    // Kind 2: tan(66.19°) * 2h + 12 = 80.4 for h = 15.1 ... and the gnomon range itself.
    state.quadrantKind = 2;
    open('q');
    type(QStringLiteral("quadrant_quadrantGnomon"), QStringLiteral("8"));
    EXPECT_FALSE(dialog->closeCheck());
    type(QStringLiteral("quadrant_quadrantGnomon"), QStringLiteral("15.1"));
    EXPECT_TRUE(dialog->closeCheck());
    EXPECT_DOUBLE_EQ(state.quadrantGnomon, 15.1);
}

TEST_F(ParameterDialogTest, RingQuestionIsAskedOnceUntilARingValueChanges) {
    open('r');
    // (90 - 47.25 + 23.44) * 2 + 30 = 162: the scale fits.
    EXPECT_TRUE(dialog->closeCheck());
    EXPECT_TRUE(dialogs.events.empty());

    type(QStringLiteral("ring_ringAngle"), QStringLiteral("60"));
    dialogs.answers = {Answer::Yes};  // "Eingabe ändern ?" - yes, keep the dialog open
    EXPECT_FALSE(dialog->closeCheck());
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, caption(CaptionKind::Warning, Language::German));
    EXPECT_EQ(dialogs.events[0].text, message(59, Language::German));
    EXPECT_DOUBLE_EQ(state.ringAngle, 30.0);

    // Answered once: the same values now pass without asking.
    dialogs.clear();
    EXPECT_TRUE(dialog->closeCheck());
    EXPECT_TRUE(dialogs.events.empty());
    EXPECT_DOUBLE_EQ(state.ringAngle, 60.0);

    // A new ring value asks again; "No" accepts it.
    enter(QStringLiteral("ring_ringAngle"), QStringLiteral("70"));
    dialogs.answers = {Answer::No};
    EXPECT_TRUE(dialog->closeCheck());
    EXPECT_EQ(dialogs.events.size(), 1u);
}

TEST_F(ParameterDialogTest, PolarCylinderOffersThePlaceOfItsStyle) {
    state.expertMode = true;
    state.cylinderKind = 2;
    open('z');
    auto* group = child<QGroupBox>(QStringLiteral("cylinder_cylinderHourStyle"));
    ASSERT_NE(group, nullptr);
    EXPECT_FALSE(group->isHidden());
    const auto radios = group->findChildren<QRadioButton*>();
    ASSERT_EQ(radios.size(), 3);
    EXPECT_EQ(radios[1]->text(), QStringLiteral(" versetzt um die Zeigerlänge (Richtung: Abw.)"));
    click(radios[2]);
    EXPECT_EQ(state.cylinderHourStyle, 2);
    click(radios[0]);
    EXPECT_EQ(state.cylinderHourStyle, 0);
    // The shepherd's dial has no polar style.
    state.cylinderKind = 0;
    open('z');
    EXPECT_TRUE(child<QGroupBox>(QStringLiteral("cylinder_cylinderHourStyle"))->isHidden());
}

TEST_F(ParameterDialogTest, BiazimuthalPageTakesRodHeightAndScaling) {
    open('c');
    type(QStringLiteral("biazimuthal_gnomonLength"), QStringLiteral("42.5"));
    type(QStringLiteral("biazimuthal_drawingScale"), QStringLiteral("80"));
    EXPECT_TRUE(dialog->closeCheck());
    EXPECT_DOUBLE_EQ(state.gnomonLength, 42.5);
    EXPECT_EQ(state.drawingScale, 80);
    type(QStringLiteral("biazimuthal_drawingScale"), QStringLiteral("2"));
    EXPECT_FALSE(dialog->closeCheck());
    EXPECT_EQ(state.drawingScale, 80);
}

TEST_F(ParameterDialogTest, LatitudesOfTheBiazimuthalPageAreNeverZero) {
    open('c');
    type(QStringLiteral("biazimuthal_latitude"), QStringLiteral("0"));
    type(QStringLiteral("biazimuthal_latitude2"), QStringLiteral("-0.000001"));
    type(QStringLiteral("biazimuthal_longitude"), QStringLiteral("-40"));
    EXPECT_TRUE(dialog->closeCheck());
    EXPECT_DOUBLE_EQ(state.latitude, 1e-6);
    EXPECT_DOUBLE_EQ(state.latitude2, 1e-6);
    EXPECT_TRUE(state.zoneFarFromLongitude);
}

TEST_F(ParameterDialogTest, NoContentOfAnyFieldCrashesOrHalfWritesTheState) {
    const QStringList junk = {QStringLiteral("abc"),  QStringLiteral("1e999"), QStringLiteral("--5"),
                              QStringLiteral(""),     QStringLiteral("."),     QStringLiteral("99999999999999999999"),
                              QStringLiteral("nan"),  QStringLiteral("-"),     QStringLiteral("1,2,3"),
                              QStringLiteral("½ 7")};
    const char types[] = {'h', 'v', 'i', 'q', 'z', 'k', 'r', 'a', 'c', 'm'};
    for (char t : types) {
        for (int kind = 0; kind < 3; ++kind) {
            state = StartupState();
            state.quadrantKind = kind;
            state.cylinderKind = kind;
            open(t, t == 'i' && kind == 1);
            const auto edits = dialog->findChildren<QLineEdit*>();
            for (const QString& bad : junk) {
                for (QLineEdit* victim : edits) {
                    if (!victim->isVisible() || victim->objectName() == QStringLiteral("dateEdit")) continue;
                    const DialState before = state;
                    victim->setText(bad);
                    if (!dialog->closeCheck()) {
                        EXPECT_EQ(state.gnomonLength, before.gnomonLength);
                        EXPECT_EQ(state.latitude, before.latitude);
                        EXPECT_EQ(state.planeInclination, before.planeInclination);
                        EXPECT_EQ(state.wallDeclination, before.wallDeclination);
                        EXPECT_EQ(state.ringAngle, before.ringAngle);
                        EXPECT_EQ(state.quadrantSize, before.quadrantSize);
                        EXPECT_EQ(state.hidokaiGnomon, before.hidokaiGnomon);
                    }
                    for (double v : {state.gnomonLength, state.latitude, state.planeInclination, state.ringAngle,
                                     state.umbrellaCircleRatio, state.coneAxisInclination})
                        EXPECT_TRUE(std::isfinite(v)) << t << " " << victim->objectName().toStdString();
                    dialog->refill();
                }
            }
        }
    }
}

TEST_F(ParameterDialogTest, AFailedCheckKeepsTheDialogOpenAndReportsTheOutcome) {
    open('k');
    std::vector<bool> outcomes;
    QObject::connect(dialog.get(), &ParameterDialog::closeChecked, [&](bool ok) { outcomes.push_back(ok); });
    bool closed = false;
    QObject::connect(dialog.get(), &ParameterDialog::closed, [&] { closed = true; });
    type(QStringLiteral("hidokai_hidokaiGnomon"), QStringLiteral("111"));
    click(child<QPushButton>(QStringLiteral("close")));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(closed);
    type(QStringLiteral("hidokai_hidokaiGnomon"), QStringLiteral("40"));
    click(child<QPushButton>(QStringLiteral("close")));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(closed);
    EXPECT_EQ(outcomes, (std::vector<bool>{false, true}));
    EXPECT_EQ(state.hidokaiGnomon, 40);
}

// --- language

TEST_F(ParameterDialogTest, SwitchingLanguageRecaptionsPagesGroupsAndItemsAtOnce) {
    open('v');
    auto* tabs = child<QTabWidget>(QStringLiteral("pages"));
    auto* dateGroup = child<QGroupBox>(QStringLiteral("planar_dateLineMode"));
    auto* own = child<QRadioButton>(QStringLiteral("planar_dateLineMode_2"));
    auto* bab = child<QCheckBox>(QStringLiteral("planar_babylonianHours"));
    auto* perMonth = child<QComboBox>(QStringLiteral("azimuth_dateLinesPerMonth"));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("horizontale / vertikale / inklinierende Sonnenuhr"));
    EXPECT_EQ(own->text(), QStringLiteral("  eigene Datumslinien verwenden "));
    EXPECT_EQ(perMonth->itemText(1), QStringLiteral("2  pro Monat,"));

    state.language = Language::English;
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(dialog.get(), &change);

    // The classic pages take their English captions from the title table, the added ones name
    // themselves.
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_EQ(tabs->tabText(i), i < static_cast<int>(ParameterDialog::Page::Analemmatic)
                                        ? title(30 + i, Language::English)
                                        : ParameterDialog::PageCaption(static_cast<ParameterDialog::Page>(i), Language::English));
    EXPECT_EQ(tabs->tabText(static_cast<int>(ParameterDialog::Page::Bifilar)), QStringLiteral("Bifilar Sundial"));
    EXPECT_EQ(dateGroup->title(), resourceText(dateGroup->property("resourceTag").toInt(), Language::English));
    EXPECT_NE(dateGroup->title(), resourceText(dateGroup->property("resourceTag").toInt(), Language::German));
    EXPECT_EQ(own->text(), QStringLiteral("  Use own Date Lines "));
    EXPECT_EQ(bab->text(), QStringLiteral(" Bab&ylonian Hours"));
    EXPECT_EQ(perMonth->itemText(1), QStringLiteral("2 per month"));
    EXPECT_EQ(child<QPushButton>(QStringLiteral("close"))->text(), QStringLiteral("Close"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" ZORVA.EXE - Attention! vertical SUNDIAL"));
    // Every tagged control of the dialog has an English text, and it is the one shown.
    for (QObject* o : dialog->findChildren<QObject*>()) {
        const int tag = o->property("resourceTag").toInt();
        if (tag == 0) continue;
        EXPECT_TRUE(hasResource(tag)) << tag;
        EXPECT_FALSE(resourceText(tag, Language::English).isEmpty()) << tag;
        if (auto* b = qobject_cast<QAbstractButton*>(o)) {
            EXPECT_EQ(b->text(), resourceText(tag, Language::English));
        }
    }
    // Range messages name the field in the new language.
    type(QStringLiteral("planar_gnomonLength"), QStringLiteral("1"));
    EXPECT_FALSE(dialog->closeCheck());
    EXPECT_TRUE(dialogs.events.back().text.startsWith(QStringLiteral("Gnomon Height  =1")))
        << dialogs.events.back().text.toStdString();
}

TEST_F(ParameterDialogTest, OwnDateLinesAreValidatedAndKeptInOrder) {
    state.dateLineMode = '2';
    state.dateLineList = QStringList{QStringLiteral("21/03    ( 21. Mar )")};
    open('v');
    auto* list = child<QListWidget>(QStringLiteral("dateList"));
    auto* edit = child<QLineEdit>(QStringLiteral("dateEdit"));
    EXPECT_TRUE(child<QGroupBox>(QStringLiteral("dateGroup"))->isEnabled());
    ASSERT_EQ(list->count(), 1);

    QTest::keyClicks(edit, QStringLiteral("31/04"));
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_TRUE(dialogs.events[0].text.endsWith(QStringLiteral("Datum fehlerhaft!")));
    EXPECT_EQ(state.dateLineList.size(), 1);

    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("07/03"));
    QTest::mouseClick(child<QPushButton>(QStringLiteral("addDate")), Qt::LeftButton);
    ASSERT_EQ(state.dateLineList.size(), 2);
    EXPECT_TRUE(state.dateLineList[0].startsWith(QStringLiteral("07/03")));
    EXPECT_TRUE(state.dateLineList[1].startsWith(QStringLiteral("21/03")));
    // The settings file keeps its month names; the list speaks the user's language.
    EXPECT_EQ(state.dateLineList[0], QStringLiteral("07/03    ( 07. Mar )"));
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("07/03    ( 07. Mär )"));
    state.language = Language::English;
    dialog->applyLanguage();
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("07/03    ( 7 Mar )"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("21/03    ( 21 Mar )"));
    state.language = Language::German;

    list->setCurrentRow(1);
    QTest::mouseClick(child<QPushButton>(QStringLiteral("removeDate")), Qt::LeftButton);
    ASSERT_EQ(state.dateLineList.size(), 1);
    EXPECT_TRUE(state.dateLineList[0].startsWith(QStringLiteral("07/03")));

    // Greyed unless own date lines are chosen.
    click(child<QRadioButton>(QStringLiteral("planar_dateLineMode_0")));
    EXPECT_FALSE(child<QGroupBox>(QStringLiteral("dateGroup"))->isEnabled());
}

TEST_F(ParameterDialogTest, ValuesOfEveryPageReachTheSettingsFileAndLoadParametersBringsThemBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("zor.ini"));

    // One value typed on the pages of different families, each confirmed with RETURN.
    const struct {
        char dialType;
        const char* field;
        const char* text;
    } typed[] = {{'v', "planar_analemmaHour", "15"}, {'q', "quadrant_quadrantSize", "180"}};
    for (const auto& t : typed) {
        open(t.dialType);
        enter(QString::fromLatin1(t.field), QString::fromLatin1(t.text));
    }
    ASSERT_EQ(state.analemmaHour, 15);
    ASSERT_EQ(state.quadrantSize, 180);
    state.dateLineList = QStringList{QStringLiteral("07/03")};
    ASSERT_TRUE(WriteStateFile(state, path, dialogs));

    // Change what the file holds, and a colour and the own dates, which the button keeps.
    state.analemmaHour = 9;
    state.quadrantSize = 100;
    state.colours[2] = 0x010203;
    state.dateLineList = QStringList{QStringLiteral("21/12")};
    open('v');
    dialog->setSettingsPaths(path, dir.filePath(QStringLiteral("zor_days.ini")));
    click(child<QPushButton>(QStringLiteral("loadParameters")));

    EXPECT_EQ(state.analemmaHour, 15);
    EXPECT_EQ(state.quadrantSize, 180);
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("planar_analemmaHour"))->text(), QStringLiteral("15"));
    EXPECT_EQ(state.colours[2], 0x010203u);
    EXPECT_EQ(state.dateLineList, QStringList{QStringLiteral("21/12")});
}

}  // namespace
}  // namespace zorva

// --- seated in the main window: the wizard's third step, F7 and F8

namespace zorva::test {
namespace {

class FakeDrawingWindow : public ChildWindow {
public:
    explicit FakeDrawingWindow(ChildHost& host) : ChildWindow(ChildKind::DrawingWindow, host) {}
    void applyLanguage() override {}
};

class ParameterDialogInMainWindowTest : public UiTest {
protected:
    void SetUp() override {
        makeWindow([](ChildRegistry& r) {
            r.add(ChildKind::DrawingWindow, [](ChildHost& h, const OpenRequest&) { return new FakeDrawingWindow(h); });
        });
    }
    bool waitForKind(ChildKind kind) {
        return WaitFor([&] { return window->activeChild() && window->activeChild()->kind() == kind; });
    }
    ParameterDialog* dialog() const {
        auto* child = qobject_cast<ParameterChild*>(window->activeChild());
        return child ? child->dialog() : nullptr;
    }
    void walkToParameters() {
        window->startWizard();
        ASSERT_TRUE(waitForKind(ChildKind::SiteDialog));
        window->wizardNextAction()->trigger();
        ASSERT_TRUE(waitForKind(ChildKind::TypeDialog));
        window->wizardNextAction()->trigger();
        ASSERT_TRUE(waitForKind(ChildKind::ParameterDialog));
        ASSERT_NE(dialog(), nullptr);
    }
};

TEST_F(ParameterDialogInMainWindowTest, TheWizardGoesOnToTheDrawingOnlyAfterAPassingCheck) {
    state.dialType = 'k';
    walkToParameters();
    type(QStringLiteral("hidokai_hidokaiGnomon"), QStringLiteral("200"));
    window->wizardNextAction()->trigger();  // F7, "Weiter"
    Settle();
    EXPECT_EQ(window->activeChild()->kind(), ChildKind::ParameterDialog);
    EXPECT_EQ(window->wizardStep(), 5);
    ASSERT_FALSE(dialogs.events.empty());
    EXPECT_TRUE(dialogs.events.back().text.startsWith(QStringLiteral("Zeigerlänge =200")));
    EXPECT_EQ(state.hidokaiGnomon, 25);

    type(QStringLiteral("hidokai_hidokaiGnomon"), QStringLiteral("30"));
    click(QStringLiteral("close"));
    ASSERT_TRUE(waitForKind(ChildKind::DrawingWindow));
    EXPECT_EQ(window->wizardStep(), 0);
    EXPECT_EQ(state.hidokaiGnomon, 30);
}

TEST_F(ParameterDialogInMainWindowTest, CancelPutsBackWhatTheDialogChanged) {
    state.dialType = 'h';
    walkToParameters();
    const DialState before = state;
    click(QStringLiteral("planar_italianHours"));
    type(QStringLiteral("planar_gnomonLength"), QStringLiteral("44"));
    QTest::keyClick(edit(QStringLiteral("planar_gnomonLength")), Qt::Key_Return);
    EXPECT_TRUE(state.italianHours);
    EXPECT_DOUBLE_EQ(state.gnomonLength, 44.0);
    click(QStringLiteral("cancel"));
    ASSERT_TRUE(WaitFor([&] { return window->childCount() == 0 && window->wizardStep() == 0; }));
    EXPECT_EQ(state.italianHours, before.italianHours);
    EXPECT_DOUBLE_EQ(state.gnomonLength, before.gnomonLength);
}

TEST_F(ParameterDialogInMainWindowTest, F8DoesNotOpenTheDrawingWhileTheCheckFails) {
    state.dialType = 'a';
    window->action(MenuEntry::Parameters)->trigger();  // F7 outside the wizard
    ASSERT_TRUE(waitForKind(ChildKind::ParameterDialog));
    type(QStringLiteral("azimuth_observerDistance"), QStringLiteral("5"));
    window->action(MenuEntry::Drawing)->trigger();  // F8
    Settle();
    EXPECT_EQ(window->childCount(), 1);
    EXPECT_EQ(window->activeChild()->kind(), ChildKind::ParameterDialog);
    EXPECT_FALSE(window->lastDialogOk());
    EXPECT_DOUBLE_EQ(state.observerDistanceCm, 30.0);

    type(QStringLiteral("azimuth_observerDistance"), QStringLiteral("55"));
    window->action(MenuEntry::Drawing)->trigger();
    ASSERT_TRUE(waitForKind(ChildKind::DrawingWindow));
    EXPECT_DOUBLE_EQ(state.observerDistanceCm, 55.0);
}

}  // namespace
}  // namespace zorva::test

namespace zorva {
namespace {

// The pages of the kinds without a letter: shown by their setting, the walk-on preset and the
// even thread spacing in one click, the plane choice keeping zor.ini's letter, and the
// dimensions kept in zorva.conf beside the settings file when the dialog closes.
TEST_F(ParameterDialogTest, AnalemmaticAndBifilarPagesKeepTheirValuesInThePreferences) {
    QTemporaryDir dir;
    state.addedKind = AddedKind::Analemmatic;
    state.analemmatic.semiMajorMm = 800.0;
    state.latitude = 52.0;
    open('h');
    dialog->setSettingsPaths(dir.filePath(QStringLiteral("zor.ini")), dir.filePath(QStringLiteral("zor_days.ini")));
    EXPECT_EQ(dialog->currentPage(), ParameterDialog::Page::Analemmatic);
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("analemmatic_semiMajor"))->text(), QStringLiteral("800.0"));
    click(child<QPushButton>(QStringLiteral("analemmatic_walkOn")));
    EXPECT_DOUBLE_EQ(state.analemmatic.semiMajorMm, 2500.0);
    EXPECT_EQ(state.analemmatic.reckoning, HourReckoning::ZoneMean);
    click(child<QPushButton>(QStringLiteral("analemmatic_circularScale")));
    EXPECT_DOUBLE_EQ(state.analemmatic.gnomonAngle, 71.0);
    click(child<QRadioButton>(QStringLiteral("analemmatic_plane_1")));
    EXPECT_TRUE(state.analemmatic.vertical);
    EXPECT_EQ(state.dialType, 'v');
    EXPECT_TRUE(dialog->closeCheck());
    DialState reread = StartupState();
    LoadPreferences(reread, dir.filePath(QStringLiteral("zorva.conf")));
    EXPECT_EQ(reread.addedKind, AddedKind::Analemmatic);
    EXPECT_DOUBLE_EQ(reread.analemmatic.gnomonAngle, 71.0);
    EXPECT_TRUE(reread.analemmatic.vertical);

    state = StartupState();
    state.addedKind = AddedKind::Bifilar;
    state.latitude = 30.0;
    open('h');
    dialog->setSettingsPaths(dir.filePath(QStringLiteral("zor.ini")), dir.filePath(QStringLiteral("zor_days.ini")));
    EXPECT_EQ(dialog->currentPage(), ParameterDialog::Page::Bifilar);
    enter(QStringLiteral("bifilar_threadA"), QStringLiteral("140"));
    click(child<QPushButton>(QStringLiteral("bifilar_evenSpacing")));
    EXPECT_NEAR(state.bifilar.threadBMm, 70.0, 1e-6);  // a sin 30
    EXPECT_TRUE(dialog->closeCheck());
    LoadPreferences(reread, dir.filePath(QStringLiteral("zorva.conf")));
    EXPECT_EQ(reread.addedKind, AddedKind::Bifilar);
    EXPECT_NEAR(reread.bifilar.threadBMm, 70.0, 1e-6);
}

}  // namespace
}  // namespace zorva
