// The plane and horizon-profile panels of the sun-position diagram.
#include "astro/horizon_profile.h"
#include "astro/pvgis_horizon.h"
#include "astro/terrain_profile.h"
#include "text/texts.h"
#include "ui/horizon_panel.h"
#include "ui/tables_window.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>

namespace zorva::test {
namespace {

class SunPathPlaneTest : public UiTest {
protected:
    void SetUp() override {
        state.latitude = 47.25;
        state.longitude = -9.55;
        state.zoneMeridian = -15;
        state.referenceYear = 1999;
        state.wallDeclination = -11.7;
        state.planeInclination = 25.4589;
        state.showPlaneSunlight = false;
        state.showHorizonProfile = false;
        UiTest::SetUp();
    }
    TablesWindow* open() {
        auto* w = qobject_cast<TablesWindow*>(
            window->openChild(ChildKind::TableWindow, OpenRequest{kTablesSunPath, 0}));
        Settle();
        return w;
    }
    QImage diagram() { return find<QWidget>("graphView")->grab().toImage(); }

    // 41 x 41 cells of 3" around 47 N, 9 E on 500 m ground with an 800 m peak 1853 m north.
    QString writeTile() {
        const double cs = 1.0 / 1200.0;
        QByteArray text = "ncols 41\nnrows 41\nxllcenter " + QByteArray::number(9.0 - 20 * cs, 'f', 10) +
                          "\nyllcenter " + QByteArray::number(47.0 - 20 * cs, 'f', 10) +
                          "\ncellsize 0.000833333333\nNODATA_value -9999\n";
        for (int r = 0; r < 41; ++r) {
            for (int c = 0; c < 41; ++c) text += (c ? " " : "") + QByteArray(r == 0 && c == 20 ? "800" : "500");
            text += "\n";
        }
        const QString path = dir.filePath(QStringLiteral("tile.asc"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(SunPathPlaneTest, PlaneFieldsEditTheStateAndTheSunlitLimits) {
    open();
    EXPECT_EQ(edit("planeLatitude")->text(), QStringLiteral("47.250000"));
    EXPECT_EQ(edit("planeLongitude")->text(), QStringLiteral("-9.550000"));
    EXPECT_EQ(edit("planeDeviation")->text(), QStringLiteral("-11.70"));
    EXPECT_EQ(edit("planeInclination")->text(), QStringLiteral("25.46"));
    EXPECT_FALSE(find<QLabel>("sunlightLabel")->isVisible());

    // A vertical south wall: RETURN stores each value and moves on.
    type(QStringLiteral("planeDeviation"), QStringLiteral("0"));
    QTest::keyClick(edit("planeDeviation"), Qt::Key_Return);
    EXPECT_EQ(focused(), edit("planeInclination"));
    type(QStringLiteral("planeInclination"), QStringLiteral("90"));
    QTest::keyClick(edit("planeInclination"), Qt::Key_Return);
    EXPECT_DOUBLE_EQ(state.wallDeclination, 0.0);
    EXPECT_DOUBLE_EQ(state.planeInclination, 90.0);

    const QImage before = diagram();
    click(QStringLiteral("planeSunlightCheck"));
    EXPECT_TRUE(state.showPlaneSunlight);
    EXPECT_EQ(find<QLabel>("sunlightLabel")->text(),
              QStringLiteral("Theoret. Besonnungsgrenzen: Frühestes / spätestes Streiflicht:            6:00 -  18:00  "
                             "Wahre Ortszeit (WOZ)"));
    EXPECT_TRUE(find<QLabel>("sunlightLabel")->isVisible());
    EXPECT_NE(diagram(), before) << "the parts behind the wall are drawn in colour 10";

    // Out of range: the range message names the field; the state keeps its value.
    type(QStringLiteral("planeLatitude"), QStringLiteral("95"));
    QTest::keyClick(edit("planeLatitude"), Qt::Key_Return);
    EXPECT_DOUBLE_EQ(state.latitude, 47.25);
    ASSERT_FALSE(dialogs.events.empty());
    EXPECT_TRUE(dialogs.events.back().text.contains(QStringLiteral("Geogr. Breite"))) << dialogs.events.back().text.toStdString();
}

TEST_F(SunPathPlaneTest, ShowingAProfileAsksForOneAndTakesItsSite) {
    open();
    // No profile, and the user declines to load one: the box is unticked again.
    dialogs.answers.push_back(Answer::No);
    click(QStringLiteral("horizonProfileCheck"));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("Es wurde kein Horizontprofil geladen!\r\n"
                                                     "Soll ein vorhandenes Horizontprofil geladen werden?"));
    EXPECT_FALSE(find<QCheckBox>("horizonProfileCheck")->isChecked());
    EXPECT_FALSE(state.showHorizonProfile);

    HorizonProfile p;
    p.latitude = 46.5;
    p.longitude = -8.25;
    for (int k = 200; k < 520; ++k) {
        p.records[k].elevation = 20.0;
        p.records[k].distanceMetres = 900.0;
        p.records[k].empty = false;
    }
    const QString path = dir.filePath(QStringLiteral("p.ele"));
    ASSERT_TRUE(WriteHorizonProfileFile(path, p, Language::German));
    const QImage before = diagram();
    dialogs.clear();
    dialogs.answers.push_back(Answer::Yes);
    files.answers.push_back(path);
    click(QStringLiteral("horizonProfileCheck"));
    EXPECT_TRUE(state.showHorizonProfile);
    ASSERT_NE(state.horizonProfile, nullptr);
    EXPECT_EQ(dialogs.texts().last(), message(70, Language::German));
    EXPECT_DOUBLE_EQ(state.latitude, 46.5);
    EXPECT_DOUBLE_EQ(state.longitude, -8.25);
    EXPECT_EQ(edit("planeLatitude")->text(), QStringLiteral("46.500000"));
    EXPECT_EQ(files.filters.last(), QStringLiteral("Horizontprofil (*.ele)|*.ele|Alle Dateien (*.*)|*.*"));
    EXPECT_NE(diagram(), before);

    // A damaged file: message 24, the profile stays.
    const QString bad = dir.filePath(QStringLiteral("bad.ele"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("nothing\r\n");
    f.close();
    files.answers.push_back(bad);
    click(QStringLiteral("loadProfileButton"));
    EXPECT_EQ(dialogs.texts().last(), message(24, Language::German));
    EXPECT_DOUBLE_EQ(state.horizonProfile->records[300].elevation, 20.0);
}

TEST_F(SunPathPlaneTest, ProfileComputedOffTheGuiThreadAndSaved) {
    state.latitude = 47.0;
    state.longitude = -9.0;
    open();
    click(QStringLiteral("computeProfileButton"));
    auto* panel = find<HorizonPanel>("horizonPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(edit("centreLatDeg")->text(), QStringLiteral("47"));
    EXPECT_EQ(edit("centreLonDeg")->text(), QStringLiteral("9"));
    EXPECT_TRUE(find<QAbstractButton>("east")->isChecked());
    EXPECT_EQ(edit("minDistanceEdit")->text(), QStringLiteral("200"));
    EXPECT_EQ(edit("maxDistanceEdit")->text(), QStringLiteral("60"));

    // The tile is asked for at the start; the 60 km circle leaves it, and the user declines
    // to load more.
    files.answers.push_back(writeTile());
    dialogs.answers.push_back(Answer::No);
    click(QStringLiteral("startProfileButton"));
    ASSERT_TRUE(WaitFor([&] { return !panel->running(); }, 10000));
    Settle();
    const QStringList texts = dialogs.texts();
    ASSERT_GE(texts.size(), 3);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("Sollen fehlende Höhendaten im Norden"))) << texts[0].toStdString();
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("Horizontprofil im Punkt:")));
    EXPECT_EQ(texts.last(), QStringLiteral("Horizontprofil erstellt! Standorthöhe=500"));
    EXPECT_EQ(find<QLabel>("profileStatus")->text(), QStringLiteral("Horizontprofil berechnet !"));
    EXPECT_EQ(edit("groundHeightEdit")->text(), QStringLiteral("500"));
    EXPECT_EQ(find<QProgressBar>("profileProgress")->value(), find<QProgressBar>("profileProgress")->maximum());
    ASSERT_NE(state.horizonProfile, nullptr);
    // 300 m above the observer at 1853 m: atan((300 - 0.27) / 1853.3) = 9.19 degrees.
    EXPECT_NEAR(state.horizonProfile->records[0].elevation, 9.19, 0.01);

    const QString out = dir.filePath(QStringLiteral("Horizont.ele"));
    files.answers.push_back(out);
    click(QStringLiteral("saveProfileButton"));
    EXPECT_EQ(dialogs.texts().last(), out + QStringLiteral(" : Datei gespeichert!"));
    HorizonProfile read;
    ASSERT_EQ(ReadHorizonProfileFile(out, read), HorizonFileStatus::Ok);
    EXPECT_EQ(read.observerHeightMetres, 500);
    EXPECT_EQ(read.minDistanceMetres, 200);

    // A minimum distance below the range: the message names the field, nothing starts.
    type(QStringLiteral("minDistanceEdit"), QStringLiteral("50"));
    dialogs.clear();
    click(QStringLiteral("startProfileButton"));
    EXPECT_FALSE(panel->running());
    ASSERT_FALSE(dialogs.events.empty());
    EXPECT_TRUE(dialogs.events.front().text.contains(QStringLiteral("Mindestabstand der Objekte")));
}

TEST_F(SunPathPlaneTest, PvgisHorizonImportedAndWrittenBack) {
    open();
    // North-based azimuths with a 10 degree wall from east to south; the file names its site.
    QByteArray csv = "Latitude (decimal degrees):\t46.100\r\nLongitude (decimal degrees):\t7.200\r\n\r\nA\tH_hor\r\n";
    for (int a = 0; a < 360; a += 15) csv += QByteArray::number(a) + (a >= 90 && a <= 180 ? "\t10.0\r\n" : "\t2.0\r\n");
    csv += "\r\nA: Azimuth (0 = N, 90 = E, 180 = S, 270 = W) (degree).\r\n";
    const QString in = dir.filePath(QStringLiteral("horizon.csv"));
    QFile f(in);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(csv);
    f.close();
    files.answers.push_back(in);
    click(QStringLiteral("importPvgisButton"));
    ASSERT_NE(state.horizonProfile, nullptr);
    EXPECT_EQ(files.filters.last(),
              QStringLiteral("PVGIS-Horizont (*.csv *.json)|*.csv;*.json|Alle Dateien (*.*)|*.*"));
    EXPECT_EQ(dialogs.texts().last(), message(70, Language::German));
    EXPECT_DOUBLE_EQ(state.latitude, 46.1);
    EXPECT_DOUBLE_EQ(state.longitude, -7.2);
    // Due east (program azimuth -90) and due south lie on the wall, north-west does not.
    EXPECT_DOUBLE_EQ(*HorizonElevation(*state.horizonProfile, -90.0), 10.0);
    EXPECT_DOUBLE_EQ(*HorizonElevation(*state.horizonProfile, 0.0), 10.0);
    EXPECT_DOUBLE_EQ(*HorizonElevation(*state.horizonProfile, 135.0), 2.0);

    // Written back as CSV from the profile panel, read again sector by sector.
    click(QStringLiteral("computeProfileButton"));
    const QString out = dir.filePath(QStringLiteral("back.csv"));
    files.answers.push_back(out);
    click(QStringLiteral("savePvgisButton"));
    EXPECT_EQ(dialogs.texts().last(), out + QStringLiteral(" : Datei gespeichert!"));
    PvgisHorizon back;
    QString problem;
    ASSERT_TRUE(ReadPvgisHorizonFile(out, back, problem, Language::German)) << problem.toStdString();
    const HorizonProfile again = ProfileFromPvgis(back, 46.1, -7.2);
    for (int k = 0; k < kHorizonRecordCount; ++k)
        EXPECT_NEAR(again.records[k].elevation, state.horizonProfile->records[k].elevation, 1e-4) << k;

    // A file without the two columns: its name in the message, the profile stays.
    const QString bad = dir.filePath(QStringLiteral("other.csv"));
    QFile g(bad);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("month;E_d\r\n1;2.5\r\n");
    g.close();
    const auto before = state.horizonProfile;
    files.answers.push_back(bad);
    dialogs.clear();
    click(QStringLiteral("importPvgisButton"));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, bad + QStringLiteral(": Keine Spalten A und H_hor gefunden."));
    EXPECT_EQ(state.horizonProfile, before);
}

}  // namespace
}  // namespace zorva::test
