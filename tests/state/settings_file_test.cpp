#include "state/settings_file.h"
#include "state/text_lines.h"
#include "state/state_file_helpers.h"
#include "support/test_support.h"
#include "text/recording_dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sys/stat.h>

namespace zorva {
namespace {

using test::Crlf;
using test::ReadBytes;
using test::WriteBytes;

// The file a fresh installation writes, line by line (date lines supplied by the test).
const QStringList kDefaultLayout = {
    "2013",
    " 47.250000;       47.25",
    " -9.590000;      -15.00",
    "      -15.00",
    " 35.00; 51.00;  250.00;    270",
    "70,180,120,25,100,150",
    " -11.700000; 78.300000",
    "  25.458900; 47.250000; 12.000000",
    "13",
    "00njjjnnnnnn0njnnj1jnnnn1jj0j1nn0110n",
    "v",
    "8",
    "19",
    "Djnnj",
    "true",
    "   0.350000; 150.00;  80.00; 30.0",
    "   37.0",
    "[Farben]",
    // black, blue, red, navy, olive, green, aqua, grey, lime, fuchsia, grey as colour numbers
    "0", "16711680", "255", "8388608", "32896", "32768", "16776960", "8421504", "65280", "16711935", "8421504",
    "[Zeiten]",
    "9", "17", "0", "20", "5", "24", "1", "11", "20", "70", "10", "18", "1", "6",
    "010100",
    "[Datumslinien]",
};

class SettingsFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    QString path(const QString& name = QStringLiteral("dial.zor")) const { return dir.filePath(name); }

    QStringList defaultLines() const {
        QStringList l = kDefaultLayout;
        l << QStringLiteral("21/03    ( 21. März )") << QStringLiteral("21/06    ( 21. Juni )");
        return l;
    }
    DialState defaultStateWithDates() const {
        DialState s = StartupState();
        s.dateLineList = {QStringLiteral("21/03    ( 21. März )"), QStringLiteral("21/06    ( 21. Juni )")};
        return s;
    }
    // Reads `lines` (CR LF) from a dial-data file into a fresh start-up state.
    bool readLines(const QStringList& lines, DialState& s, StateFileReport* report = nullptr) {
        WriteBytes(path(), EncodeLineFileText(lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")));
        return ReadStateFile(s, path(), true, true, dialogs, report);
    }
};

TEST_F(SettingsFileTest, WritesTheExactByteLayoutInWindows1252WithCrLf) {
    ASSERT_TRUE(WriteStateFile(defaultStateWithDates(), path(), dialogs));
    QByteArray expected;
    for (const QString& l : defaultLines()) expected += EncodeLineFileText(l) + "\r\n";
    const QByteArray written = ReadBytes(path());
    EXPECT_EQ(written, expected);
    EXPECT_TRUE(written.contains("21. M\xE4rz )\r\n")) << "umlaut must be one Windows-1252 byte";
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Information!"));
    EXPECT_EQ(dialogs.events[0].text, path() + QStringLiteral(" gespeichert!"));
}

TEST_F(SettingsFileTest, WriteFailureIsReportedAndLeavesThePreviousFile) {
    const QString target = path(QStringLiteral("keep.zor"));
    WriteBytes(target, "previous content\r\n");
    // A target that cannot be replaced: the folder is a file.
    const QString impossible = path(QStringLiteral("keep.zor/inner.zor"));
    EXPECT_FALSE(WriteStateFile(StartupState(), impossible, dialogs));
    EXPECT_EQ(ReadBytes(target), QByteArray("previous content\r\n"));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Fehler!"));
    EXPECT_EQ(dialogs.events[0].text,
              impossible + QStringLiteral(" :\r\nINI-Datei konnte nicht gespeichert werden! (Schreibgeschützt?)\r\n"
                                          "Der Ordner existiert nicht. Die bisherige Datei ist unverändert."));

    dialogs.clear();
    DialState english = StartupState();
    english.language = Language::English;
    EXPECT_FALSE(WriteStateFile(english, impossible, dialogs));
    EXPECT_EQ(dialogs.events[0].text, impossible + QStringLiteral(" :\r\nCould not save INI-file! (Write-protection?)\r\n"
                                                                  "The folder does not exist. The earlier file is unchanged."));
}

TEST_F(SettingsFileTest, RoundTripReproducesEveryStoredFieldAndKeepsColour11) {
    const DialState written = test::EveryFieldChanged();
    ASSERT_TRUE(WriteStateFile(written, path(), dialogs));
    DialState read = StartupState();
    read.colours[11] = 0x123456;  // not stored: must survive the read
    read.zoneFarFromLongitude = true;
    dialogs.clear();
    StateFileReport report;
    ASSERT_TRUE(ReadStateFile(read, path(), true, true, dialogs, &report)) << dialogs.texts().join("\n").toStdString();
    EXPECT_TRUE(dialogs.events.empty()) << dialogs.texts().join("\n").toStdString();
    DialState expected = written;
    expected.colours[11] = 0x123456;
    test::ExpectStoredFieldsEqual(expected, read);
    EXPECT_EQ(read.legendOffset, 0);  // 'i'
    EXPECT_FALSE(read.zoneFarFromLongitude) << "recomputed from the zone and longitude read";
}

TEST_F(SettingsFileTest, RoundTripOfEachDialCode) {
    struct Case {
        char type;
        bool umbrella;
        const char* code;
        int legend;
    };
    for (const Case c : {Case{'h', true, "sh", 0}, Case{'v', false, "v", 0}, Case{'q', false, "q2", 12},
                         Case{'a', false, "a", 24}, Case{'z', false, "z1", 36}, Case{'k', false, "k", 36},
                         Case{'r', false, "r", 48}, Case{'c', false, "c0", 60}, Case{'m', false, "m7", 72}}) {
        DialState s = StartupState();
        s.dialType = c.type;
        s.umbrellaDial = c.umbrella;
        s.quadrantKind = 2;
        s.cylinderKind = 1;
        s.hollanderShadowLine = 7;
        const QStringList lines = BuildStateLines(s);
        EXPECT_EQ(lines[10], QString::fromLatin1(c.code));
        DialState back = StartupState();
        back.dialType = 'x';
        ASSERT_TRUE(readLines(lines, back)) << c.code;
        EXPECT_EQ(back.dialType, c.type) << c.code;
        EXPECT_EQ(back.umbrellaDial, c.umbrella) << c.code;
        EXPECT_EQ(back.legendOffset, c.legend) << c.code;
    }
}

TEST_F(SettingsFileTest, HandWrittenFileWithEveryOptionReadsIntoTheExpectedState) {
    DialState s = StartupState();
    s.colours[11] = 0xABCDEF;
    StateFileReport report;
    // Not sound: its 29/02 is no date in 1999 (checked below).
    EXPECT_FALSE(ReadStateFile(s, test::dataPath(QStringLiteral("settings_all_options.zor")), true, true, dialogs,
                               &report));

    DialState e = StartupState();
    e.referenceYear = 1999;
    e.latitude = 48.208333;
    e.latitude2 = -33.75;
    e.longitude = -16.373611;
    e.longitude2 = 151.25;
    e.zoneMeridian = -15.0;
    e.gnomonLength = 42.5;
    e.cylinderGnomon = 60.0;
    e.cylinderRadius = 300.0;
    e.monthScaleLength = 320;
    e.shepherdGnomon = 65;
    e.hidokaiHorizontalScale = 200;
    e.hidokaiMonthScale = 140;
    e.hidokaiGnomon = 30;
    e.drawingScale = 250;
    e.quadrantSize = 180;
    e.wallDeclination = 23.5;
    e.wallDeclination2 = -66.5;
    e.planeInclination = 30.0;
    e.coneAxisInclination = 135.0;
    e.coneHalfAngle = 20.0;
    e.analemmaHour = 15;
    // "23jnnjjjjjjj2jnjjj4njjjj3nn2n3jj5202j"
    e.dateLineMode = '2';
    e.eotHourInterval = '3';
    e.linesToStyleFoot = true;
    e.reservedOptionFlag = false;
    e.apparentTimeLines = false;
    e.markAnalemma = false;  // position 25 ("n") wins over position 5 ("j")
    e.babylonianHours = e.italianHours = e.altitudeLines = e.temporalHours = true;
    e.mirrorLeftQuadrant = e.constructWithEoT = true;
    e.timeSystem = 2;
    e.apparentTimeScale = false;  // derived from the time system, not from position 17 ("j")
    e.outerLineArrangement = true;
    e.localTimeDisplay = false;
    e.monthScaleSideBySide = e.cylinderWithEoT = true;
    e.hourLineInterval = '4';
    e.hidokaiVerticalDial = false;
    e.wholeYearBand = e.localTimeReading = e.drawPoleTriangle = e.meanTimeLines = true;
    e.dayMarkings = 3;
    e.declinationScale = false;
    e.rayDeflection = 2;
    e.noonLineHorizontal = false;
    e.lineWidth = '3';
    e.hollanderOption = e.biazimuthalVertical = true;
    e.hollanderShadowLine = 5;
    e.altitudeCircleSpacing = 2;
    e.azimuthKind = 0;
    e.quadrantDateScale = 2;
    e.wholeHourDaylengthLines = true;
    e.dialType = 'm';  // "c1" of older files
    e.umbrellaDial = false;
    e.hourFrom = 6;
    e.hourTo = 20;
    e.language = Language::English;
    e.expertMode = false;
    e.mapOverlay = e.mapBorders = true;
    e.mapCoast = false;
    e.dialogsNormalSize = false;
    e.umbrellaCircleRatio = 0.42;
    e.ringDiameter = 180.0;
    e.ringWidth = 60.0;
    e.ringAngle = 45.0;
    e.quadrantGnomon = 55.5;
    e.colours = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0x808080, 0x808000,
                 0x00FFFF, 0x010000, 0x000100, 0x000001, 0xC0C0C0, 0xABCDEF};
    e.eotHourFrom = 7;
    e.eotHourTo = 18;
    e.babylonianFrom = 1;
    e.babylonianTo = 23;
    e.italianFrom = 2;
    e.italianTo = 22;
    e.temporalFrom = 2;
    e.temporalTo = 10;
    e.altitudeFrom = 30;
    e.altitudeTo = 80;
    e.otherHourFrom = 6;
    e.otherHourTo = 20;
    e.quadrantTemporalFrom = 2;
    e.quadrantTemporalTo = 11;
    e.babylonianInterval = 2;
    e.italianInterval = 3;
    e.temporalInterval = 3;
    e.altitudeInterval = 2;
    e.otherHourInterval = '1';
    e.quadrantTemporalInterval = 3;
    e.dateLineList = {QStringLiteral("01/05    ( 01. Mai )"), QStringLiteral("15/08    ( 15. Aug )"),
                      QStringLiteral("24/12    ( 24. Dezember, März )")};
    test::ExpectStoredFieldsEqual(e, s);
    EXPECT_EQ(s.legendOffset, 72);

    // 29/02 is reported twice and left out; nothing else was wrong.
    EXPECT_FALSE(report.sound);
    EXPECT_EQ(report.failingLine, 0);
    ASSERT_EQ(dialogs.events.size(), 2u);
    // The file switched the messages to English at line 13.
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("29/02    Schalttag: Error in date!"));
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Error!"));
    EXPECT_EQ(dialogs.events[1].text, QStringLiteral("Fehlerhaftes Datum 29/02    Schalttag in ") +
                                          test::dataPath(QStringLiteral("settings_all_options.zor")));

    // Written again, "c1" becomes the Hollander code with its shadow line.
    EXPECT_EQ(BuildStateLines(s)[10], QStringLiteral("m5"));
}

TEST_F(SettingsFileTest, LfOnlyAndUtf8FilesReadLikeTheOriginal) {
    DialState viaCrlf = StartupState(), viaLf = StartupState(), viaUtf8 = StartupState();
    ASSERT_TRUE(readLines(defaultLines(), viaCrlf));
    QByteArray lf;
    for (const QString& l : defaultLines()) lf += EncodeLineFileText(l) + "\n";
    WriteBytes(path(QStringLiteral("lf.zor")), lf);
    ASSERT_TRUE(ReadStateFile(viaLf, path(QStringLiteral("lf.zor")), true, true, dialogs));
    WriteBytes(path(QStringLiteral("utf8.zor")), "\xEF\xBB\xBF" + defaultLines().join("\n").toUtf8());
    ASSERT_TRUE(ReadStateFile(viaUtf8, path(QStringLiteral("utf8.zor")), true, true, dialogs));
    test::ExpectStoredFieldsEqual(viaCrlf, viaLf);
    test::ExpectStoredFieldsEqual(viaCrlf, viaUtf8);
    EXPECT_EQ(viaUtf8.dateLineList.value(0), QStringLiteral("21/03    ( 21. März )"));
}

TEST_F(SettingsFileTest, DateLinesOutsideWindows1252AreWrittenAsUtf8AndNotLost) {
    DialState s = StartupState();
    s.dateLineList = {QStringLiteral("21/03    Frühling → Tagundnachtgleiche")};
    ASSERT_TRUE(WriteStateFile(s, path(), dialogs));
    const QByteArray bytes = ReadBytes(path());
    EXPECT_TRUE(bytes.startsWith("2013\r\n")) << "no byte-order mark before the first line";
    DialState back = StartupState();
    ASSERT_TRUE(ReadStateFile(back, path(), true, true, dialogs));
    EXPECT_EQ(back.dateLineList, s.dateLineList);
}

TEST_F(SettingsFileTest, InvalidDateLineIsReportedWhenWrittenAndLeftOut) {
    DialState s = StartupState();
    s.referenceYear = 2023;
    s.dateLineList = {QStringLiteral("29/02    Schalttag"), QStringLiteral("01/03"),
                      QStringLiteral("02/03 broken\r\ninto two")};
    const QStringList lines = BuildStateLines(s, &dialogs);
    EXPECT_EQ(lines.mid(lines.indexOf("[Datumslinien]") + 1),
              QStringList({QStringLiteral("01/03"), QStringLiteral("02/03 broken  into two")}));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("29/02    Schalttag: Datum fehlerhaft!"));
}

// --- structure --------------------------------------------------------------------------

TEST_F(SettingsFileTest, TwentyFiveLinesWithMarkersInOrderAreStructurallyFaulty) {
    QStringList lines;
    for (int i = 0; i < 22; ++i) lines << QStringLiteral("1");
    lines.insert(5, "[Farben]");
    lines.insert(10, "[Zeiten]");
    lines << "[Datumslinien]";
    ASSERT_EQ(lines.size(), 25);
    DialState s = StartupState();
    s.gnomonLength = 99;  // LoadDefaults resets it
    StateFileReport report;
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_TRUE(report.structuralFault);
    EXPECT_EQ(s.gnomonLength, 35.0);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].kind, DialogEvent::Ask);
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Was nun?"));
    EXPECT_EQ(dialogs.events[0].text,
              QStringLiteral("Die Datei ist fehlerhaft und muss korrigiert \n\rwerden. Korrektur jetzt durchführen ?"));

    // One more line and the structure passes; the header is then read by its rules.
    lines.insert(0, "2013");
    dialogs.clear();
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_FALSE(report.structuralFault);
}

TEST_F(SettingsFileTest, MarkersMissingOrOutOfOrderAreStructuralFaults) {
    const QList<std::pair<QString, QString>> swaps = {{"[Farben]", "[Zeiten]"}, {"[Zeiten]", "[Datumslinien]"}};
    for (const auto& [a, b] : swaps) {
        QStringList lines = defaultLines();
        const qsizetype ia = lines.indexOf(a), ib = lines.indexOf(b);
        lines[ia] = b;
        lines[ib] = a;
        DialState s = StartupState();
        StateFileReport report;
        dialogs.clear();
        EXPECT_FALSE(readLines(lines, s, &report));
        EXPECT_TRUE(report.structuralFault) << a.toStdString();
    }
    for (const char* marker : {"[Farben]", "[Zeiten]", "[Datumslinien]"}) {
        QStringList lines = defaultLines();
        lines[lines.indexOf(marker)] = QString::fromLatin1(marker) + QLatin1Char(' ');  // not an exact match
        DialState s = StartupState();
        StateFileReport report;
        EXPECT_FALSE(readLines(lines, s, &report));
        EXPECT_TRUE(report.structuralFault) << marker;
    }
}

TEST_F(SettingsFileTest, StructuralFaultYesKeepsABackupAndRewritesNoLeavesTheFile) {
    const QByteArray garbage = "this is\r\nnot a dial\r\n";
    const QString ini = path(QStringLiteral("zor.ini"));
    WriteBytes(ini, garbage);
    DialState s = StartupState();
    EXPECT_FALSE(ReadStateFile(s, ini, true, true, dialogs));
    EXPECT_EQ(ReadBytes(ini), garbage);
    EXPECT_FALSE(QFileInfo::exists(path("zor_ini.bak")));

    dialogs.clear();
    dialogs.answers = {Answer::Yes};
    StateFileReport report;
    EXPECT_FALSE(ReadStateFile(s, ini, true, true, dialogs, &report));
    EXPECT_TRUE(report.corrected);
    EXPECT_EQ(ReadBytes(path("zor_ini.bak")), garbage);
    EXPECT_EQ(ReadBytes(ini), EncodeLineFileText(BuildStateLines(s).join("\r\n") + "\r\n"));
    EXPECT_TRUE(dialogs.contains(QStringLiteral("Das alte ZOR.INI ist unter dem Namen ZOR_INI.BAK gespeichert.")));
    EXPECT_TRUE(dialogs.contains(ini + QStringLiteral(" gespeichert!")));
}

// --- per-line rules ---------------------------------------------------------------------

TEST_F(SettingsFileTest, FailingLineStopsReadingAndAsksWithItsNumberFromOne) {
    QStringList lines = defaultLines();
    lines[1] = QStringLiteral(" 95.000000;       47.25");  // latitude out of range
    lines[3] = QStringLiteral("      -30.00");             // after the failure: must not be read
    DialState s = StartupState();
    s.referenceYear = 1800;
    StateFileReport report;
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(report.failingLine, 2);
    EXPECT_EQ(s.referenceYear, 2013);   // line 0 was read
    EXPECT_EQ(s.latitude, 47.25);       // the fallback
    EXPECT_EQ(s.zoneMeridian, -15.0);   // untouched
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Problem!"));
    EXPECT_EQ(dialogs.events[0].buttons, Buttons::YesNo);
    EXPECT_EQ(dialogs.events[0].text,
              path() + QStringLiteral(" : line 2\n\rDie Datei ist fehlerhaft und muss korrigiert \n\rwerden. "
                                      "Korrektur jetzt durchführen ?"));
}

TEST_F(SettingsFileTest, CorrectionAfterAFailingLineBacksUpThenWritesDefaults) {
    QStringList lines = defaultLines();
    lines[31] = QStringLiteral("25");  // [Zeiten] line 2 outside 0..24
    WriteBytes(path(), Crlf(lines.mid(0, 45)) + "[Datumslinien]\r\n");
    const QByteArray before = ReadBytes(path());
    WriteBytes(path("dial.zor.bak"), "older backup");
    DialState s = StartupState();
    dialogs.answers = {Answer::Yes};
    StateFileReport report;
    EXPECT_FALSE(ReadStateFile(s, path(), true, true, dialogs, &report));
    EXPECT_EQ(report.failingLine, 32);
    EXPECT_TRUE(report.corrected);
    EXPECT_EQ(ReadBytes(path("dial.zor.bak")), before);
    EXPECT_TRUE(dialogs.contains(QStringLiteral("Die alte Datei dial.zor ist unter dem Namen dial.zor.bak gespeichert.")));
    EXPECT_EQ(s.eotHourTo, 17) << "defaults loaded by the correction";
    DialState again = StartupState();
    dialogs.clear();
    EXPECT_TRUE(ReadStateFile(again, path(), true, true, dialogs)) << dialogs.texts().join("\n").toStdString();
}

TEST_F(SettingsFileTest, NoCorrectionWithoutABackup) {
    QStringList lines = defaultLines();
    lines[11] = QStringLiteral("30");
    WriteBytes(path(), Crlf(lines));
    const QByteArray before = ReadBytes(path());
    QDir(dir.path()).mkdir(QStringLiteral("dial.zor.bak"));  // a folder cannot take the backup
    DialState s = StartupState();
    dialogs.answers = {Answer::Yes};
    StateFileReport report;
    EXPECT_FALSE(ReadStateFile(s, path(), true, true, dialogs, &report));
    EXPECT_FALSE(report.corrected);
    EXPECT_EQ(ReadBytes(path()), before);
    EXPECT_TRUE(dialogs.texts().join('|').contains(QStringLiteral(
        "Von dial.zor konnte keine Sicherungsdatei angelegt werden!\r\nDer Name bezeichnet einen Ordner.")));
}

// Each corrected file keeps its own backup; only zor.ini uses the name earlier versions know.
TEST_F(SettingsFileTest, CorrectedFilesInOneFolderKeepTheirOwnBackups) {
    QStringList lines = defaultLines();
    lines[11] = QStringLiteral("30");
    const QByteArray a = Crlf(lines), b = Crlf(lines) + "[Datumslinien]\r\n", ini = Crlf(lines) + "\r\n";
    WriteBytes(path("a.zor"), a);
    WriteBytes(path("b.zor"), b);
    WriteBytes(path("zor.ini"), ini);
    for (const char* name : {"a.zor", "b.zor", "zor.ini"}) {
        DialState s = StartupState();
        dialogs.answers = {Answer::Yes};
        StateFileReport report;
        EXPECT_FALSE(ReadStateFile(s, path(QString::fromLatin1(name)), true, true, dialogs, &report));
        EXPECT_TRUE(report.corrected) << name;
    }
    EXPECT_EQ(SettingsBackupPath(path("a.zor")), path("a.zor.bak"));
    EXPECT_EQ(SettingsBackupPath(path("ZOR.INI")), path("zor_ini.bak"));
    EXPECT_EQ(ReadBytes(path("a.zor.bak")), a);
    EXPECT_EQ(ReadBytes(path("b.zor.bak")), b);
    EXPECT_EQ(ReadBytes(path("zor_ini.bak")), ini);
    EXPECT_TRUE(dialogs.contains(QStringLiteral("Die alte Datei b.zor ist unter dem Namen b.zor.bak gespeichert.")));
    EXPECT_TRUE(dialogs.contains(QStringLiteral("Das alte ZOR.INI ist unter dem Namen ZOR_INI.BAK gespeichert.")));
}

// Each numeric line replaced by a non-number: which lines fail (and where), which fall back.
TEST_F(SettingsFileTest, NonNumbersInEveryNumericLine) {
    struct Case {
        int line;           // from 0
        int failingLine;    // from 1, 0 = reading goes on
        bool sound;
    };
    const Case cases[] = {
        {0, 0, true},  {1, 2, false}, {2, 3, false}, {3, 4, false},  {4, 5, false},  {5, 0, true},
        {6, 7, false}, {7, 8, false}, {8, 0, true},  {11, 12, false}, {12, 13, false}, {15, 0, false},
        {16, 17, false},
    };
    for (const Case& c : cases) {
        QStringList lines = defaultLines();
        lines[c.line] = QStringLiteral("abc");
        DialState s = StartupState();
        StateFileReport report;
        dialogs.clear();
        EXPECT_EQ(readLines(lines, s, &report), c.sound) << "line " << c.line;
        EXPECT_EQ(report.failingLine, c.failingLine) << "line " << c.line;
    }
    for (int line = 18; line <= 28; ++line) {  // colours
        QStringList lines = defaultLines();
        lines[line] = QStringLiteral("x");
        DialState s = StartupState();
        StateFileReport report;
        dialogs.clear();
        EXPECT_FALSE(readLines(lines, s, &report));
        EXPECT_EQ(report.failingLine, line + 1);
    }
    for (int line = 30; line <= 43; ++line) {  // times
        QStringList lines = defaultLines();
        lines[line] = QStringLiteral("1.5");
        DialState s = StartupState();
        StateFileReport report;
        dialogs.clear();
        EXPECT_FALSE(readLines(lines, s, &report));
        EXPECT_EQ(report.failingLine, line + 1);
    }
}

TEST_F(SettingsFileTest, FallbacksOfLinesThatDoNotStopReading) {
    QStringList lines = defaultLines();
    lines[0] = QStringLiteral("MMXIII");
    lines[5] = QStringLiteral("x,181;y,,26");
    lines[8] = QStringLiteral("13.5");
    DialState s = StartupState();
    EXPECT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.referenceYear, 2007);
    EXPECT_EQ(s.shepherdGnomon, 70);
    EXPECT_EQ(s.hidokaiHorizontalScale, 170);  // "181;y" is no integer
    EXPECT_EQ(s.hidokaiMonthScale, 150);
    EXPECT_EQ(s.hidokaiGnomon, 26);
    EXPECT_EQ(s.drawingScale, 100);  // field absent: kept
    EXPECT_EQ(s.analemmaHour, 12);

    // Without "," the integers are split at ";".
    lines = defaultLines();
    lines[5] = QStringLiteral("71;181;121;26;101;151");
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.quadrantSize, 151);
    EXPECT_EQ(s.shepherdGnomon, 71);
}

// The reference year takes the site dialog's range: a year the calculations cannot serve
// stops reading at line 1 with the fallback, like every other range fault of the file.
TEST_F(SettingsFileTest, ReferenceYearOutsideTheDialogsRangeFailsWithTheFallback) {
    for (const char* year : {"2147483647", "-5", "99999", "1299", "2501", "0", "99999999999999"}) {
        QStringList lines = defaultLines();
        lines[0] = QString::fromLatin1(year);
        DialState s = StartupState();
        s.latitude = 10.0;
        StateFileReport report;
        dialogs.clear();
        EXPECT_FALSE(readLines(lines, s, &report)) << year;
        EXPECT_EQ(report.failingLine, 1) << year;
        EXPECT_EQ(s.referenceYear, 2007) << year;
        EXPECT_EQ(s.latitude, 10.0) << "nothing after the failing line is read";
        ASSERT_EQ(dialogs.events.size(), 1u) << year;
        EXPECT_TRUE(dialogs.events[0].text.startsWith(path() + QStringLiteral(" : line 1\n\r")));
    }
    for (const char* year : {"1300", "2500", " 1999 "}) {
        QStringList lines = defaultLines();
        lines[0] = QString::fromLatin1(year);
        DialState s = StartupState();
        dialogs.clear();
        EXPECT_TRUE(readLines(lines, s)) << year;
        EXPECT_EQ(s.referenceYear, QString::fromLatin1(year).trimmed().toInt());
    }
}

// A FIFO, a folder or a device under the file's name: refused at once, never waited on.
TEST_F(SettingsFileTest, SpecialFilesAreRefusedWithoutBlocking) {
    const QString fifo = path(QStringLiteral("fifo.zor"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QDir(dir.path()).mkdir(QStringLiteral("folder.zor"));
    for (const QString& special : {fifo, path(QStringLiteral("folder.zor")), QStringLiteral("/dev/zero")}) {
        DialState s = StartupState();
        s.gnomonLength = 12.5;
        StateFileReport report;
        dialogs.clear();
        EXPECT_FALSE(ReadStateFile(s, special, true, true, dialogs, &report));
        EXPECT_TRUE(report.unreadable) << special.toStdString();
        EXPECT_EQ(s.gnomonLength, 12.5);
        ASSERT_EQ(dialogs.events.size(), 1u);
        EXPECT_EQ(dialogs.events[0].text,
                  special + QStringLiteral(": keine gewöhnliche Datei (ein Ordner, eine Pipe oder ein Gerät)"));
    }
}

TEST_F(SettingsFileTest, SiteLinesClampTinyLatitudesAndCheckSecondValues) {
    QStringList lines = defaultLines();
    lines[1] = QStringLiteral("  0.000000;       -0.00");
    DialState s = StartupState();
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.latitude, 1e-6);
    EXPECT_EQ(s.latitude2, 1e-6);

    lines[1] = QStringLiteral(" 47.250000;       91.00");
    StateFileReport report;
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(report.failingLine, 2);
    EXPECT_EQ(s.latitude2, 47.25);

    lines = defaultLines();
    lines[2] = QStringLiteral(" -9.590000;     -180.50");
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(report.failingLine, 3);
    EXPECT_EQ(s.longitude2, -9.59);

    lines = defaultLines();
    lines[6] = QStringLiteral(" 181.000000; 78.300000");
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(s.wallDeclination, -11.7);
}

TEST_F(SettingsFileTest, ConeAxisAndHalfAngleFaults) {
    QStringList lines = defaultLines();
    lines[7] = QStringLiteral("  25.458900;  0.500000; 12.000000");
    DialState s = StartupState();
    s.latitude = 0;
    StateFileReport report;
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(report.failingLine, 8);
    EXPECT_EQ(s.planeInclination, 25.4589) << "the plane keeps what the file says";
    EXPECT_EQ(s.coneAxisInclination, 47.25) << "the cone axis falls back to the latitude";
    ASSERT_GE(dialogs.events.size(), 2u);
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Fehler!"));
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("Line 7:  0.500000; 12.000000 : INI-Datei ist fehlerhaft!"));

    // In the south the fallback axis is turned by 180 degrees.
    lines[1] = QStringLiteral("-33.900000;      -33.90");
    dialogs.clear();
    EXPECT_FALSE(readLines(lines, s));
    EXPECT_DOUBLE_EQ(s.coneAxisInclination, 146.1);

    lines = defaultLines();
    lines[7] = QStringLiteral("  25.458900; 50.000000; 87.000000");
    dialogs.clear();
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(report.failingLine, 8);
    EXPECT_EQ(s.coneHalfAngle, 25.0);
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("In Line 7:87.000000 : INI-Datei ist fehlerhaft!"));
}

TEST_F(SettingsFileTest, UmbrellaAndRingLineReportsWithoutStopping) {
    QStringList lines = defaultLines();
    lines[15] = QStringLiteral("  x; 400.00;  -5.00; 95.0");
    lines[16] = QStringLiteral("   40.0");
    DialState s = StartupState();
    s.umbrellaCircleRatio = 0.5;
    StateFileReport report;
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(report.failingLine, 0);
    EXPECT_EQ(s.umbrellaCircleRatio, 0.5);
    EXPECT_EQ(s.ringDiameter, 110.0);
    EXPECT_EQ(s.ringWidth, 50.0);
    EXPECT_EQ(s.ringAngle, 50.0);
    EXPECT_EQ(s.quadrantGnomon, 40.0) << "reading went on";
    EXPECT_EQ(dialogs.texts(), QStringList({QStringLiteral("Line 16/1 : INI-Datei ist fehlerhaft!"),
                                            QStringLiteral("Line 16/3 : INI-Datei ist fehlerhaft!")}));

    lines[15] = QStringLiteral("   -0.250000");  // older files: the ratio alone
    dialogs.clear();
    EXPECT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.umbrellaCircleRatio, -0.25);
    lines[15] = QStringLiteral("none");
    EXPECT_FALSE(readLines(lines, s));
    EXPECT_EQ(dialogs.texts().value(0), QStringLiteral("Line 15 : INI-Datei ist fehlerhaft!"));
}

TEST_F(SettingsFileTest, QuadrantGnomonLine) {
    QStringList lines = defaultLines();
    lines[16] = QStringLiteral("  100.0");  // the parameter dialog's upper limit
    DialState s = StartupState();
    EXPECT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.quadrantGnomon, 100.0);
    lines[16] = QStringLiteral("    0.5");
    StateFileReport report;
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(report.failingLine, 17);
    EXPECT_EQ(dialogs.texts().value(0), QStringLiteral("In Line 16:    0.5 : INI-Datei ist fehlerhaft!"));
}

TEST_F(SettingsFileTest, ShortOptionStringKeepsDefaultsOfMissingPositions) {
    QStringList lines = defaultLines();
    lines[9] = QStringLiteral("  3");  // leading blanks skipped: only position 0
    DialState s = StartupState();
    s.dayMarkings = 3;
    s.rayDeflection = 1;
    s.azimuthKind = 1;
    s.quadrantDateScale = 2;
    s.altitudeCircleSpacing = 0;
    s.lineWidth = '2';
    s.markAnalemma = true;
    s.wholeHourDaylengthLines = true;
    s.eotHourInterval = '3';
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.dateLineMode, '3');
    EXPECT_EQ(s.eotHourInterval, '0');
    EXPECT_EQ(s.hourLineInterval, '0');
    EXPECT_EQ(s.dayMarkings, 0);
    EXPECT_EQ(s.rayDeflection, 0);
    EXPECT_EQ(s.hollanderShadowLine, 0);
    EXPECT_EQ(s.altitudeCircleSpacing, 1);
    EXPECT_EQ(s.azimuthKind, 0);
    EXPECT_EQ(s.quadrantDateScale, 0);
    EXPECT_EQ(s.lineWidth, '2') << "only when present";
    EXPECT_TRUE(s.wholeHourDaylengthLines) << "only when present";
    EXPECT_TRUE(s.markAnalemma) << "a flag an older file does not have keeps its value";
    EXPECT_TRUE(s.apparentTimeScale);

    // A 25-character string of an older version: the later positions keep their values.
    lines[9] = QStringLiteral("10jjjjnnnnnnjnjnnn2jnnnn2");
    s.noonLineHorizontal = false;
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.timeSystem, 1);
    EXPECT_FALSE(s.apparentTimeScale);
    EXPECT_EQ(s.dayMarkings, 2);
    EXPECT_FALSE(s.noonLineHorizontal);
}

TEST_F(SettingsFileTest, OptionDigitsOutOfRangeFallBackSilently) {
    QStringList lines = defaultLines();
    lines[9] = QStringLiteral("99njjjnnnnnnxnjnnj9jnnnn9jj9j1nn9990n");
    DialState s = StartupState();
    s.timeSystem = 2;
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_TRUE(dialogs.events.empty());
    EXPECT_EQ(s.dateLineMode, '0');
    EXPECT_EQ(s.eotHourInterval, '0');
    EXPECT_EQ(s.timeSystem, 0);
    EXPECT_EQ(s.hourLineInterval, '0');
    EXPECT_EQ(s.dayMarkings, 0);
    EXPECT_EQ(s.rayDeflection, 0);
    EXPECT_EQ(s.hollanderShadowLine, 0);
    EXPECT_EQ(s.altitudeCircleSpacing, 0);
    EXPECT_EQ(s.azimuthKind, 0);
}

TEST_F(SettingsFileTest, DialCodeVariants) {
    QStringList lines = defaultLines();
    DialState s = StartupState();
    lines[10] = QStringLiteral("c1");
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.dialType, 'm');
    lines[10] = QStringLiteral("zx");
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.dialType, 'z');
    EXPECT_EQ(s.cylinderKind, 0);
    lines[10] = QStringLiteral("q9");  // no such quadrant
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.quadrantKind, 0);
    lines[10] = QStringLiteral("sv");
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.dialType, 'v');
    EXPECT_TRUE(s.umbrellaDial);
    lines[10] = QStringLiteral("b");  // never written by the dialogs; stored, draws nothing
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.dialType, 'b');
    EXPECT_FALSE(s.umbrellaDial);
}

TEST_F(SettingsFileTest, LanguageLineAndStartValues) {
    QStringList lines = defaultLines();
    lines[13] = QStringLiteral("E");
    lines[14] = QStringLiteral("False");  // only "false" turns it off
    DialState s = StartupState();
    s.dialogsNormalSize = false;
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.language, Language::English);
    EXPECT_FALSE(s.expertMode);
    EXPECT_FALSE(s.mapCoast);
    EXPECT_TRUE(s.dialogsNormalSize);
}

TEST_F(SettingsFileTest, IntervalLine) {
    QStringList lines = defaultLines();
    lines[44] = QStringLiteral("  3212x3");
    DialState s = StartupState();
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.babylonianInterval, 3);
    EXPECT_EQ(s.italianInterval, 2);
    EXPECT_EQ(s.temporalInterval, 1);
    EXPECT_EQ(s.altitudeInterval, 2);
    EXPECT_EQ(s.otherHourInterval, 'x') << "stored unchanged";
    EXPECT_EQ(s.quadrantTemporalInterval, 3);
    lines[44] = QStringLiteral("01");  // short: the rest keeps
    ASSERT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.italianInterval, 1);
    EXPECT_EQ(s.quadrantTemporalInterval, 3);
    lines[44] = QStringLiteral("0a0100");
    StateFileReport report;
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(report.failingLine, 45);
}

TEST_F(SettingsFileTest, ColoursAndDateLinesOnlyWhenRequested) {
    QStringList lines = defaultLines();
    lines[18] = QStringLiteral("");   // skipped
    lines.insert(29, QStringLiteral("16777215"));  // twelfth colour, before [Zeiten]
    WriteBytes(path(), Crlf(lines.mid(0, 47)) + "21/06    ( 21. Juni )\r\n");
    DialState s = StartupState();
    s.colours.fill(0x111111);
    s.dateLineList = {QStringLiteral("01/01")};
    ASSERT_TRUE(ReadStateFile(s, path(), false, false, dialogs));
    EXPECT_EQ(s.colours[0], 0x111111u);
    EXPECT_EQ(s.dateLineList, QStringList{QStringLiteral("01/01")});
    ASSERT_TRUE(ReadStateFile(s, path(), true, true, dialogs));
    EXPECT_EQ(s.colours[0], 0x0000FFu) << "the empty line is skipped: blue comes first";
    EXPECT_EQ(s.colours[10], 0xFFFFFFu);
    EXPECT_EQ(s.colours[11], 0x111111u);
    EXPECT_EQ(s.dateLineList, QStringList{QStringLiteral("21/06    ( 21. Juni )")});
}

TEST_F(SettingsFileTest, MissingFiles) {
    DialState s = StartupState();
    s.gnomonLength = 77;
    const QString ini = path(QStringLiteral("zor.ini"));
    StateFileReport report;
    EXPECT_FALSE(ReadStateFile(s, ini, true, true, dialogs, &report));
    EXPECT_TRUE(report.fileMissing);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Was nun?"));
    EXPECT_EQ(dialogs.events[0].text, ini + QStringLiteral(" : \n\rDie Datei fehlt. Soll sie erstellt werden?\n\r"
                                                           "(Siehe auch Menü \"INFO/Hilfe\", Stichwort \"INI-Datei\")"));
    EXPECT_FALSE(QFileInfo::exists(ini));
    EXPECT_EQ(s.gnomonLength, 77.0);

    dialogs.clear();
    dialogs.answers = {Answer::Yes};
    EXPECT_FALSE(ReadStateFile(s, ini, true, true, dialogs, &report));
    EXPECT_TRUE(report.corrected);
    EXPECT_EQ(s.gnomonLength, 35.0);
    DialState back = StartupState();
    EXPECT_TRUE(ReadStateFile(back, ini, true, true, dialogs));

    // Another file that does not exist is reported; nothing is asked or created.
    dialogs.clear();
    EXPECT_FALSE(ReadStateFile(s, path(QStringLiteral("gone.zor")), true, true, dialogs));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].kind, DialogEvent::Inform);
    EXPECT_EQ(dialogs.events[0].text, path(QStringLiteral("gone.zor")) + QStringLiteral(" nicht gefunden!"));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("gone.zor"))));
}

// --- corrupt files of many kinds ---------------------------------------------------------

TEST_F(SettingsFileTest, TruncatedAtEveryLine) {
    const QStringList full = defaultLines();
    for (int k = 0; k <= full.size(); ++k) {
        DialState s = StartupState();
        StateFileReport report;
        dialogs.clear();
        const bool sound = readLines(full.mid(0, k), s, &report);
        // Until the last marker is there, the structure is incomplete.
        const bool complete = k > full.indexOf("[Datumslinien]");
        EXPECT_EQ(sound, complete) << k << " lines";
        EXPECT_EQ(report.structuralFault, !complete) << k << " lines";
        EXPECT_EQ(s.latitude, 47.25);
    }
}

TEST_F(SettingsFileTest, MissingLinesInsideSectionsFailAtTheirPlace) {
    QStringList lines = defaultLines();
    lines.removeAt(44);  // the interval line
    lines.removeAt(40);  // one of the times: [Datumslinien] now stands where the last time belongs
    DialState s = StartupState();
    StateFileReport report;
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(report.failingLine, 44);

    // An older header without lines 15 and 16 reads; a header cut before line 15 fails.
    lines = defaultLines();
    lines.removeAt(16);
    lines.removeAt(15);
    EXPECT_TRUE(readLines(lines, s)) << dialogs.texts().join("\n").toStdString();
    lines.removeAt(14);
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(report.failingLine, 15);
}

TEST_F(SettingsFileTest, EmptyBinaryHugeAndVeryLongLineFilesEndInADefinedState) {
    DialState s = StartupState();
    StateFileReport report;

    WriteBytes(path(), QByteArray());
    EXPECT_FALSE(ReadStateFile(s, path(), true, true, dialogs, &report));
    EXPECT_TRUE(report.structuralFault);

    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator rng(1234);
    for (auto& b : garbage) b = static_cast<char>(rng.bounded(256));
    WriteBytes(path(), garbage);
    EXPECT_FALSE(ReadStateFile(s, path(), true, true, dialogs, &report));
    EXPECT_TRUE(report.structuralFault);

    // Markers intact but garbage between them.
    QStringList lines = defaultLines();
    for (int i = 0; i < lines.size(); ++i)
        if (!lines[i].startsWith('[')) lines[i] = QString::fromLatin1(garbage.mid(i * 50, 40)).remove('\r').remove('\n');
    dialogs.clear();
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_GT(report.failingLine, 0);

    lines = defaultLines();
    lines[1] = QString(300000, QLatin1Char('1'));  // a number beyond any double
    lines[9] = QString(500000, QLatin1Char('j'));
    EXPECT_FALSE(readLines(lines, s, &report));
    EXPECT_EQ(report.failingLine, 2);
    EXPECT_EQ(s.latitude, 47.25);

    lines = defaultLines();
    lines[9] = QString(500000, QLatin1Char('j'));
    lines << QStringLiteral("01/01 ") + QString(100000, QLatin1Char('c'));
    EXPECT_TRUE(readLines(lines, s));
    EXPECT_EQ(s.dateLineList.last().size(), 100006);

    // Far beyond any settings file: not read at all, nothing asked, state untouched.
    QByteArray huge = Crlf(defaultLines());
    huge += QByteArray(kMaxLineFileBytes, 'x');
    WriteBytes(path(), huge);
    s.gnomonLength = 12.5;
    dialogs.clear();
    EXPECT_FALSE(ReadStateFile(s, path(), true, true, dialogs, &report));
    EXPECT_TRUE(report.unreadable);
    EXPECT_EQ(s.gnomonLength, 12.5);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].kind, DialogEvent::Inform);
}

// --- colour section ----------------------------------------------------------------------

TEST_F(SettingsFileTest, SaveColoursPatchesOnlyTheColourSection) {
    const QString ini = path(QStringLiteral("zor.ini"));
    QStringList lines = defaultLines();
    lines.insert(29, QStringLiteral("123"));  // a twelfth colour line: replaced as well
    WriteBytes(ini, Crlf(lines));
    DialState s = StartupState();
    s.colours[0] = 0x0A0B0C;
    s.colours[10] = 0xFFFFFF;
    ASSERT_TRUE(SaveColours(s, ini, dialogs));
    QStringList expected = defaultLines();
    expected[18] = QString::number(0x0C0B0A);
    expected[28] = QString::number(0xFFFFFF);
    EXPECT_EQ(ReadBytes(ini), Crlf(expected));
    DialState back = StartupState();
    ASSERT_TRUE(LoadColours(back, ini, dialogs));
    EXPECT_EQ(back.colours[0], 0x0A0B0Cu);
    EXPECT_TRUE(dialogs.events.empty());
}

TEST_F(SettingsFileTest, SaveColoursRefusesWithoutFileOrSection) {
    DialState s = StartupState();
    const QString ini = path(QStringLiteral("zor.ini"));
    EXPECT_FALSE(SaveColours(s, ini, dialogs));
    EXPECT_FALSE(QFileInfo::exists(ini));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Problem!"));
    EXPECT_TRUE(dialogs.events[0].text.startsWith(ini + QStringLiteral(" fehlt. (Weitere Information im Menü ")));

    WriteBytes(ini, "2013\r\nno colours here\r\n");
    dialogs.clear();
    EXPECT_FALSE(SaveColours(s, ini, dialogs));
    EXPECT_EQ(ReadBytes(ini), QByteArray("2013\r\nno colours here\r\n"));
    EXPECT_TRUE(dialogs.contains(QStringLiteral("Es ist keine Farbpalette gespeichert!")));
}

TEST_F(SettingsFileTest, LoadColoursReportsBadLinesAndResetsWithoutFile) {
    const QString ini = path(QStringLiteral("zor.ini"));
    DialState s = StartupState();
    s.colours.fill(0x222222);
    EXPECT_FALSE(LoadColours(s, ini, dialogs));
    EXPECT_EQ(s.colours, DialState::defaultColours());
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("zor.ini nicht gefunden!"));
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Warnung!"));

    QStringList lines = defaultLines();
    lines[19] = QStringLiteral("blue");
    WriteBytes(ini, Crlf(lines));
    s.colours.fill(0x222222);
    dialogs.clear();
    EXPECT_FALSE(LoadColours(s, ini, dialogs));
    EXPECT_EQ(s.colours[0], 0x000000u);
    EXPECT_EQ(s.colours[1], 0x222222u) << "the faulty colour keeps its value";
    EXPECT_EQ(s.colours[2], 0xFF0000u) << "later colours stay in their places";
    EXPECT_EQ(s.colours[11], 0x222222u);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("blue : Fehlerhafte Eingabe !")});
}

}  // namespace
}  // namespace zorva
