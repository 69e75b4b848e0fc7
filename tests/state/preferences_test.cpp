// zorva.conf: defaults when absent or faulty, round trips, other entries kept, no locale.
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
    EXPECT_TRUE(LoadPreferences(s, path));
    EXPECT_EQ(s.numeralStyle, NumeralStyle::Arabic);
    EXPECT_EQ(s.numeralHeightMm, kDefaultNumeralHeightMm);
    EXPECT_FALSE(s.numeralsInPlotFiles);

    WriteAll(path, "[numerals]\nstyle=klingon\nheightMm=4,5\ninPlotFiles=maybe\n");
    EXPECT_TRUE(LoadPreferences(s, path));
    EXPECT_EQ(s.numeralStyle, NumeralStyle::Arabic);
    EXPECT_EQ(s.numeralHeightMm, kDefaultNumeralHeightMm);
    EXPECT_FALSE(s.numeralsInPlotFiles);

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
}

}  // namespace
}  // namespace zorva
