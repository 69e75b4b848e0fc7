// zorva.conf: defaults when absent or faulty, round trips, other entries kept, no locale;
// the numeral preferences and the dial kinds zor.ini has no letter for.
#include "state/preferences.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace zorva {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(Preferences, AbsentOrFaultyEntriesTakeTheirDefaults) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zorva.conf"));
    DialState s;
    s.numeralStyle = NumeralStyle::None;
    s.numeralHeightMm = 9;
    s.numeralsInPlotFiles = true;
    s.sunriseOverTerrain = true;
    EXPECT_TRUE(LoadPreferences(s, path));
    EXPECT_EQ(s.numeralStyle, NumeralStyle::Arabic);
    EXPECT_EQ(s.numeralHeightMm, kDefaultNumeralHeightMm);
    EXPECT_FALSE(s.numeralsInPlotFiles);
    EXPECT_FALSE(s.sunriseOverTerrain);

    WriteAll(path, "[numerals]\nstyle=klingon\nheightMm=4,5\ninPlotFiles=maybe\n[horizon]\nsunriseOverTerrain=ja\n");
    s.sunriseOverTerrain = true;
    EXPECT_TRUE(LoadPreferences(s, path));
    EXPECT_EQ(s.numeralStyle, NumeralStyle::Arabic);
    EXPECT_EQ(s.numeralHeightMm, kDefaultNumeralHeightMm);
    EXPECT_FALSE(s.numeralsInPlotFiles);
    EXPECT_FALSE(s.sunriseOverTerrain);

    // Heights outside what a drawing can use are brought into range.
    WriteAll(path, "[numerals]\nstyle=ROMAN\nheightMm=500\n");
    LoadPreferences(s, path);
    EXPECT_EQ(s.numeralStyle, NumeralStyle::Roman);
    EXPECT_EQ(s.numeralHeightMm, 30.0);
    EXPECT_EQ(UsableNumeralHeightMm(0.0), kDefaultNumeralHeightMm);
    EXPECT_EQ(UsableNumeralHeightMm(std::nan("")), kDefaultNumeralHeightMm);
    EXPECT_EQ(UsableNumeralHeightMm(0.2), 1.0);
}

TEST(Preferences, SavedUnderADecimalCommaLocaleAndReadBackKeepingOtherEntries) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zorva.conf"));
    WriteAll(path, "[window]\ngeometry=100 200\n[numerals]\nstyle=none\n");
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before ? before : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    DialState s;
    s.numeralStyle = NumeralStyle::Roman;
    s.numeralHeightMm = 6.5;
    s.numeralsInPlotFiles = true;
    s.sunriseOverTerrain = true;
    ASSERT_TRUE(SavePreferences(s, path));
    std::setlocale(LC_NUMERIC, saved.c_str());
    QLocale::setDefault(QLocale::c());

    const QByteArray text = ReadAll(path);
    EXPECT_TRUE(text.contains("heightMm=6.5\n")) << text.constData();
    EXPECT_TRUE(text.contains("geometry=100 200\n")) << text.constData();
    DialState back;
    EXPECT_TRUE(LoadPreferences(back, path));
    EXPECT_EQ(back.numeralStyle, NumeralStyle::Roman);
    EXPECT_EQ(back.numeralHeightMm, 6.5);
    EXPECT_TRUE(back.numeralsInPlotFiles);
    EXPECT_TRUE(back.sunriseOverTerrain);
    EXPECT_TRUE(text.contains("[horizon]\nsunriseOverTerrain=true\n")) << text.constData();
    PreferencesFile file(path);
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.value(QStringLiteral("window/geometry")), QStringLiteral("100 200"));
}

TEST(Preferences, AFolderThatCannotTakeTheFileIsReportedAndTheStateKeepsLoading) {
    QTemporaryDir dir;
    // A folder where the file should be: neither readable as preferences nor replaceable.
    const QString path = dir.filePath(QStringLiteral("zorva.conf"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("zorva.conf")));
    DialState s;
    EXPECT_FALSE(LoadPreferences(s, path));
    EXPECT_EQ(s.numeralStyle, NumeralStyle::Arabic);
    SaveError error;
    EXPECT_FALSE(SavePreferences(s, path, &error));
    EXPECT_TRUE(error.failed());
}

TEST(Preferences, TheFileLiesBesideTheSettingsFile) {
    QTemporaryDir dir;
    const QString programDir = dir.path() + QLatin1Char('/');
    EXPECT_EQ(PreferencesFilePath(programDir), programDir + QStringLiteral("zorva.conf"));
    EXPECT_EQ(PreferencesPathBeside(dir.filePath(QStringLiteral("zor.ini"))), dir.filePath(QStringLiteral("zorva.conf")));
}

TEST(Preferences, AddedKindAndDimensionsSurviveARoundTripUnderADecimalCommaLocale) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zorva.conf"));
    DialState s = StartupState();
    s.addedKind = AddedKind::Bifilar;
    s.analemmatic.semiMajorMm = 1234.5;
    s.analemmatic.vertical = true;
    s.analemmatic.gnomonAngle = 64.375;
    s.analemmatic.reckoning = HourReckoning::LocalMean;
    s.analemmatic.metres = false;
    s.analemmatic.zodiacMarks = true;
    s.bifilar.threadAMm = 98.25;
    s.bifilar.threadBMm = 71.5;
    s.bifilar.vertical = true;
    s.bifilar.reckoning = HourReckoning::ZoneApparent;
    s.numeralStyle = NumeralStyle::Roman;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(SavePreferences(s, path));
    QLocale::setDefault(QLocale::c());
    const QByteArray text = ReadAll(path);
    EXPECT_TRUE(text.contains("semiMajorMm=1234.5\n")) << text.constData();
    EXPECT_TRUE(text.contains("gnomonAngle=64.375\n")) << text.constData();
    EXPECT_FALSE(text.contains("1234,5"));

    DialState r = StartupState();
    EXPECT_TRUE(LoadPreferences(r, path));
    EXPECT_EQ(r.addedKind, AddedKind::Bifilar);
    EXPECT_EQ(r.analemmatic.semiMajorMm, 1234.5);
    EXPECT_TRUE(r.analemmatic.vertical);
    EXPECT_EQ(r.analemmatic.gnomonAngle, 64.375);
    EXPECT_EQ(r.analemmatic.reckoning, HourReckoning::LocalMean);
    EXPECT_FALSE(r.analemmatic.metres);
    EXPECT_TRUE(r.analemmatic.zodiacMarks);
    EXPECT_EQ(r.bifilar.threadAMm, 98.25);
    EXPECT_EQ(r.bifilar.threadBMm, 71.5);
    EXPECT_TRUE(r.bifilar.vertical);
    EXPECT_EQ(r.bifilar.reckoning, HourReckoning::ZoneApparent);
    // Both kinds of preference share the one file.
    EXPECT_EQ(r.numeralStyle, NumeralStyle::Roman);
}

TEST(Preferences, FaultyOrMissingDialEntriesTakeTheirDefaultsAndOtherGroupsStay) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zorva.conf"));
    WriteAll(path, "[shadow]\nshown=true\n\n[analemmatic]\nsemiMajorMm=-5\ngnomonAngle=abc\nreckoning=9\nvertical=maybe\n"
                   "[bifilar]\nthreadAMm=1e400\nthreadBMm=60\n[dial]\nkind=sideways\n");
    const AnalemmaticSettings da;
    const BifilarSettings db;
    DialState s = StartupState();
    s.addedKind = AddedKind::Analemmatic;
    s.analemmatic.semiMajorMm = 777;
    s.analemmatic.vertical = !da.vertical;
    s.bifilar.threadAMm = 55;
    LoadPreferences(s, path);
    EXPECT_EQ(s.addedKind, AddedKind::None);
    EXPECT_EQ(s.analemmatic.semiMajorMm, da.semiMajorMm);
    EXPECT_EQ(s.analemmatic.gnomonAngle, da.gnomonAngle);
    EXPECT_EQ(s.analemmatic.reckoning, da.reckoning);
    EXPECT_EQ(s.analemmatic.vertical, da.vertical);
    EXPECT_EQ(s.bifilar.threadAMm, db.threadAMm);
    EXPECT_EQ(s.bifilar.threadBMm, 60.0);

    s.addedKind = AddedKind::Analemmatic;
    ASSERT_TRUE(SavePreferences(s, path));
    const QByteArray text = ReadAll(path);
    EXPECT_TRUE(text.contains("[shadow]\nshown=true\n")) << text.constData();
    EXPECT_TRUE(text.contains("kind=analemmatic\n")) << text.constData();

    // A settings file without preferences beside it holds a classic dial: its letter is the dial.
    EXPECT_TRUE(LoadPreferences(s, dir.filePath(QStringLiteral("absent/zorva.conf"))));
    EXPECT_EQ(s.addedKind, AddedKind::None);
}

}  // namespace
}  // namespace zorva
