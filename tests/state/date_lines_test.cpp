#include "state/date_lines.h"
#include "state/text_lines.h"
#include "state/state_file_helpers.h"
#include "support/test_support.h"
#include "text/recording_dialogs.h"

#include <QFileInfo>

namespace zorva {
namespace {

using test::Crlf;
using test::ReadBytes;
using test::WriteBytes;

TEST(ValidateDateLine, ReadsOneOrTwoDigitDaysAndMonths) {
    struct Case {
        const char* text;
        int key;
        const char* date;
        const char* comment;
    };
    for (const Case c : {Case{"21/03    ( 21. März )", 321, "21/03", "21. Mar"}, Case{"1/3 Frühling", 301, "01/03", "01. Mar"},
                         Case{"21/3", 321, "21/03", "21. Mar"}, Case{"7/11", 1107, "07/11", "07. Nov"},
                         Case{" 5/05", 505, "05/05", "05. Mai"}, Case{"31/12 Silvester", 1231, "31/12", "31. Dez"},
                         Case{"30/04", 430, "30/04", "30. Apr"}, Case{"01/10 x", 1001, "01/10", "01. Okt"}}) {
        const DateLineCheck r = ValidateDateLine(QString::fromUtf8(c.text), 2013);
        EXPECT_TRUE(r.valid) << c.text;
        EXPECT_EQ(r.key, c.key) << c.text;
        EXPECT_EQ(r.date, QString::fromLatin1(c.date)) << c.text;
        EXPECT_EQ(r.comment, QString::fromLatin1(c.comment)) << c.text;
    }
}

TEST(ValidateDateLine, RejectsImpossibleDates) {
    for (const char* text : {"", "x", "2103", "00/01", "32/01", "15/13", "15/00", "31/04", "31/06", "31/09", "31/11",
                             "30/02", "ab/cd", "12/x", "1/", "21/3x"}) {
        EXPECT_FALSE(ValidateDateLine(QString::fromLatin1(text), 2024).valid) << text;
    }
}

TEST(ValidateDateLine, TwentyNinthOfFebruaryOnlyInGregorianLeapYears) {
    EXPECT_TRUE(ValidateDateLine(QStringLiteral("29/02"), 2000).valid);
    EXPECT_TRUE(ValidateDateLine(QStringLiteral("29/02"), 2024).valid);
    EXPECT_FALSE(ValidateDateLine(QStringLiteral("29/02"), 2023).valid);
    EXPECT_FALSE(ValidateDateLine(QStringLiteral("29/02"), 2100).valid);
    EXPECT_FALSE(ValidateDateLine(QStringLiteral("29/02"), 1900).valid);
}

TEST(ValidateDateLine, ReportsOnlyWhenNotQuiet) {
    RecordingDialogs dialogs;
    ValidateDateLine(QStringLiteral("31/02 nie"), 2013);
    EXPECT_TRUE(dialogs.events.empty());
    ValidateDateLine(QStringLiteral("31/02 nie"), 2013, &dialogs, Language::English);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("31/02 nie: Error in date!"));
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Error!"));
}

TEST(DateLineList, FormatAndSortedPlace) {
    const DateLineCheck r = ValidateDateLine(QStringLiteral("5/7"), 2013);
    EXPECT_EQ(FormatDateLine(r), QStringLiteral("05/07    ( 05. Jul )"));
    const QStringList list = {QStringLiteral("21/03"), QStringLiteral("29/02"), QStringLiteral("21/06"),
                              QStringLiteral("21/12")};
    EXPECT_EQ(SortedInsertIndex({list[1], list[0], list[2], list[3]}, r.key), 3);
    EXPECT_EQ(SortedInsertIndex({list[1], list[0], list[2], list[3]}, 229), 1) << "after an equal key";
    EXPECT_EQ(SortedInsertIndex({}, 101), 0);
}

class DateLineFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    QString ini() const { return dir.filePath(QStringLiteral("zor.ini")); }
    QString days() const { return dir.filePath(QStringLiteral("zor_days.ini")); }
};

TEST_F(DateLineFilesTest, SaveDateLinesReplacesOnlyTheDateSection) {
    WriteBytes(ini(), "2013\r\n[Farben]\r\n0\r\n[Datumslinien]\r\n01/01 old\r\n02/01 old\r\n");
    DialState s = StartupState();
    const QStringList dialogList = {QStringLiteral("21/03    ( 21. März )"), QStringLiteral("31/09 broken")};
    ASSERT_TRUE(SaveDateLines(s, dialogList, ini(), dialogs));
    EXPECT_EQ(ReadBytes(ini()), QByteArray("2013\r\n[Farben]\r\n0\r\n[Datumslinien]\r\n21/03    ( 21. M\xE4rz )\r\n"));
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("31/09 broken: Datum fehlerhaft!")});

    // Without a section it is appended; the rest of the file stays as it was.
    WriteBytes(ini(), "2013\r\nx\r\n");
    ASSERT_TRUE(SaveDateLines(s, {QStringLiteral("1/1")}, ini(), dialogs));
    EXPECT_EQ(ReadBytes(ini()), QByteArray("2013\r\nx\r\n[Datumslinien]\r\n1/1\r\n"));
}

TEST_F(DateLineFilesTest, SaveDateLinesWithoutSettingsFileCreatesNothing) {
    DialState s = StartupState();
    EXPECT_FALSE(SaveDateLines(s, {QStringLiteral("1/1")}, ini(), dialogs));
    EXPECT_FALSE(QFileInfo::exists(ini()));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Problem!"));
}

TEST_F(DateLineFilesTest, LoadDateLinesFromTheSettingsFileThenFromZorDays) {
    DialState s = StartupState();
    QStringList dialogList = {QStringLiteral("09/09")};
    WriteBytes(ini(), "2013\r\n[Datumslinien]\r\n21/03    ( 21. M\xE4rz )\r\n\r\n13/13 bad\r\n01/08\r\n");
    ASSERT_TRUE(LoadDateLines(s, &dialogList, ini(), days(), dialogs));
    const QStringList expected = {QStringLiteral("21/03    ( 21. März )"), QStringLiteral("01/08")};
    EXPECT_EQ(s.dateLineList, expected);
    EXPECT_EQ(dialogList, expected);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("13/13 bad: Datum fehlerhaft!")});

    // Marker without a following line: zor_days.ini supplies the list, for both lists.
    WriteBytes(ini(), "2013\r\n[Datumslinien]\r\n");
    WriteBytes(days(), "24/12\n25/12\n");
    ASSERT_TRUE(LoadDateLines(s, &dialogList, ini(), days(), dialogs));
    EXPECT_EQ(s.dateLineList, QStringList({QStringLiteral("24/12"), QStringLiteral("25/12")}));
    EXPECT_EQ(dialogList, s.dateLineList);

    QFile::remove(days());
    dialogs.clear();
    EXPECT_FALSE(LoadDateLines(s, &dialogList, ini(), days(), dialogs));
    EXPECT_EQ(s.dateLineList.size(), 2) << "nothing found: the list stays";
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, QStringLiteral("Liste für Datumslinien  nicht gefunden!"));
    EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Problem!"));
}

TEST_F(DateLineFilesTest, DateLineFileRoundTripAndEmptyListFilling) {
    DialState s = StartupState();
    s.referenceYear = 2024;
    const QStringList entries = {QStringLiteral("29/02    Schalttag"), QStringLiteral("21/03    ( 21. März )")};
    ASSERT_TRUE(SaveDateLineFile(entries, days(), s.referenceYear, dialogs, s.language));
    EXPECT_EQ(ReadBytes(days()), QByteArray("29/02    Schalttag\r\n21/03    ( 21. M\xE4rz )\r\n"));

    s.dateLineList.clear();
    FillEmptyDateLines(s, days(), dialogs, true);
    EXPECT_EQ(s.dateLineList, entries);

    s.dateLineList.clear();
    QFile::remove(days());
    dialogs.clear();
    FillEmptyDateLines(s, days(), dialogs, true);
    EXPECT_EQ(s.dateLineList, QStringList({QStringLiteral("21/03    ( 21. März )"), QStringLiteral("21/06    ( 21. Juni )"),
                                           QStringLiteral("21/12    ( 21. Dezember )")}));
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("zor_days.ini nicht gefunden!")});

    s.dateLineList = {QStringLiteral("01/01")};
    dialogs.clear();
    FillEmptyDateLines(s, days(), dialogs, true);
    EXPECT_EQ(s.dateLineList, QStringList{QStringLiteral("01/01")}) << "a list with entries is left alone";
    EXPECT_TRUE(dialogs.events.empty());
}

}  // namespace
}  // namespace zorva
