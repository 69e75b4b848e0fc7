// Every dialog reads its numbers through these routines: the messages the user sees and the
// rule that a rejected entry never changes the stored value are checked here.
#include "support/test_support.h"

#include "text/field_readers.h"
#include "text/number_format.h"
#include "text/texts.h"

namespace zorva {
namespace {

constexpr Language kDe = Language::German;
constexpr Language kEn = Language::English;

TEST(ReadRealField, EmptyFieldShowsTheStoredValueAgain) {
    RecordingDialogs dialogs;
    TextField field;
    double value = 47.25;
    bool error = false;
    FieldReader{dialogs, kDe}.readReal(field, value, error);
    EXPECT_EQ(field.value, QStringLiteral("  47.25"));
    EXPECT_DOUBLE_EQ(value, 47.25);
    EXPECT_FALSE(error);
    EXPECT_TRUE(dialogs.events.empty());
}

TEST(ReadRealField, StoresANumberAndRefusesText) {
    {
        RecordingDialogs dialogs;
        TextField field(QStringLiteral("-9.59"));
        double value = 1.0;
        bool error = false;
        FieldReader{dialogs, kDe}.readReal(field, value, error);
        EXPECT_DOUBLE_EQ(value, -9.59);
        EXPECT_FALSE(error);
        EXPECT_TRUE(dialogs.events.empty());
    }
    const struct { Language lang; const char* text; } expected[] = {
        {kDe, "Das ist keine reelle Zahl."}, {kEn, "This is not a real number !"}};
    for (const auto& e : expected) {
        RecordingDialogs dialogs;
        TextField field(QStringLiteral("12a"));
        double value = 35.0;
        bool error = false;
        FieldReader{dialogs, e.lang}.readReal(field, value, error);
        EXPECT_TRUE(error);
        EXPECT_DOUBLE_EQ(value, 35.0);
        EXPECT_TRUE(field.value.isEmpty()) << "the field is cleared for a new entry";
        EXPECT_TRUE(field.focused);
        ASSERT_EQ(dialogs.events.size(), 1u);
        EXPECT_EQ(dialogs.events[0].text, QString::fromLatin1(e.text));
        EXPECT_EQ(dialogs.events[0].icon, Icon::Warning);
    }
}

struct RangeCase {
    const char* typed;
    bool ok;
    double stored;
};

TEST(ReadRealInRange, FiltersTheTextThenChecksTheRange) {
    const RangeCase cases[] = {
        {"-11.7", true, -11.7},
        {"1,5", true, 1.5},           // a decimal comma is read as a point
        {"12 \u00b0", true, 12.0},    // units and blanks are dropped
        {"180", true, 180.0},         // bounds are inside
        {"-180", true, -180.0},
        {"180.01", false, 0},
        {"abc", false, 0},
        {"--5", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        RecordingDialogs dialogs;
        TextField field(QString::fromUtf8(c.typed));
        double value = 35.0;
        bool error = false;
        FieldReader{dialogs, kDe}.readRealInRange(field, value, QStringLiteral("Wandabweichung"), error, 180.0,
                                                  -180.0);
        EXPECT_EQ(error, !c.ok);
        EXPECT_DOUBLE_EQ(value, c.ok ? c.stored : 35.0);
        EXPECT_EQ(dialogs.events.size(), c.ok ? 0u : 1u);
        EXPECT_EQ(field.focused, !c.ok);
    }
}

TEST(ReadRealInRange, MessagesNameTheValueAndTheInterval) {
    RecordingDialogs dialogs;
    TextField field(QStringLiteral("200"));
    double value = -11.7;
    bool error = false;
    FieldReader{dialogs, kDe}.readRealInRange(field, value, StripAccelerators(QStringLiteral("&Wandabweichung:")),
                                              error, 180.0, -180.0);
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text,
              QString::fromUtf8("Wandabweichung=200\r\n Zul\u00e4ssiger Wertebereich ist [ -180.00, ...,  180.0] !"));
    EXPECT_EQ(dialogs.events[0].icon, Icon::Warning);
    EXPECT_EQ(field.value, QStringLiteral("200")) << "the entry stays for correction";

    RecordingDialogs english;
    TextField factor(QStringLiteral("0,01"));
    double f = 1.0;
    FieldReader{english, kEn}.readRealInRange(factor, f, QStringLiteral("Factor"), error, 20.0, 0.05);
    ASSERT_EQ(english.events.size(), 1u);
    EXPECT_EQ(english.events[0].text,
              QStringLiteral("Factor=0.01\r\n Value has to be within Interval [    0.05, ...,   20.0] !"));
    EXPECT_DOUBLE_EQ(f, 1.0);

    // Not a number: message 4, and the field shows the stored value again.
    RecordingDialogs bad;
    TextField text(QStringLiteral("x"));
    double gnomon = 35.0;
    FieldReader{bad, kDe}.readRealInRange(text, gnomon, QStringLiteral("Gnomon"), error, 200.0, 5.0);
    ASSERT_EQ(bad.events.size(), 1u);
    EXPECT_EQ(bad.events[0].text, message(4, kDe));
    EXPECT_EQ(bad.events[0].icon, Icon::Warning);
    EXPECT_EQ(text.value, QStringLiteral("   35.00"));
}

TEST(ReadIntInRange, EmptyFieldRestoresAndValidEntriesAreStored) {
    RecordingDialogs dialogs;
    FieldReader reader{dialogs, kDe};
    bool error = false;
    int year = 2013;
    TextField empty;
    reader.readIntInRange(empty, 1300, 2500, error, QStringLiteral("Jahr"), year);
    EXPECT_EQ(empty.value, QStringLiteral("2013"));
    EXPECT_EQ(year, 2013);

    for (const char* typed : {"1300", "2500", "1400"}) {
        TextField field(QString::fromLatin1(typed));
        reader.readIntInRange(field, 1300, 2500, error, QStringLiteral("Jahr"), year);
        EXPECT_EQ(year, QString::fromLatin1(typed).toInt());
    }
    EXPECT_FALSE(error);
    EXPECT_TRUE(dialogs.events.empty());
}

TEST(ReadIntInRange, OkCancelBoxAlwaysSetsErrorAndKeepsTheValue) {
    for (Answer answer : {Answer::Ok, Answer::Cancel}) {
        for (const char* typed : {"3000", "1299", "12.5", "abc"}) {
            SCOPED_TRACE(typed);
            RecordingDialogs dialogs;
            dialogs.answers.push_back(answer);
            TextField field(QString::fromLatin1(typed));
            int year = 2013;
            bool error = false;
            FieldReader{dialogs, kDe}.readIntInRange(field, 1300, 2500, error,
                                                     StripAccelerators(QString::fromUtf8("gew\u00e4hltes &Jahr :")), year);
            EXPECT_TRUE(error);
            EXPECT_EQ(year, 2013);
            EXPECT_TRUE(field.focused);
            ASSERT_EQ(dialogs.events.size(), 1u);
            const DialogEvent& e = dialogs.events[0];
            EXPECT_EQ(e.buttons, Buttons::OkCancel);
            EXPECT_EQ(e.icon, Icon::Warning);
            EXPECT_EQ(e.caption, caption(CaptionKind::Problem, kDe));
            EXPECT_EQ(e.text, QString::fromUtf8("gew\u00e4hltes Jahr =") + QString::fromLatin1(typed) +
                                  QString::fromUtf8(" Zul\u00e4ssiger Wertebereich ist [1300..2500] !"));
        }
    }
    RecordingDialogs english;
    TextField minutes(QStringLiteral("61"));
    int m = 39;
    bool error = false;
    FieldReader{english, kEn}.readIntInRange(minutes, 0, 60, error, title(17, kEn), m);
    ASSERT_EQ(english.events.size(), 1u);
    EXPECT_EQ(english.events[0].text, QStringLiteral("Minutes=61 Value has to be within Interval [0..60] !"));
    EXPECT_EQ(english.events[0].caption, QStringLiteral("ZORVA.EXE - Problem!"));
}

TEST(ReadIntInRange, RetryQuestionLetsTheUserKeepTheOldValue) {
    const struct { Language lang; Answer answer; bool error; const char* tail; } cases[] = {
        {kDe, Answer::Yes, true, "] !\n\r     Nochmals eingeben?"},
        {kDe, Answer::No, false, "] !\n\r     Nochmals eingeben?"},
        {kEn, Answer::Yes, true, "] !\n\r     Enter again?"},
        {kEn, Answer::No, false, "] !\n\r     Enter again?"},
    };
    for (const auto& c : cases) {
        RecordingDialogs dialogs;
        dialogs.answers.push_back(c.answer);
        TextField field(QStringLiteral("300"));
        int length = 270;
        bool error = !c.error;  // the answer decides, whatever the flag was before
        FieldReader{dialogs, c.lang}.readIntInRange(field, 3, 290, error, QStringLiteral("Skalenlaenge "), length,
                                                    FieldReader::IntBox::RetryQuestion);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(length, 270);
        EXPECT_EQ(field.focused, c.error);
        ASSERT_EQ(dialogs.events.size(), 1u);
        EXPECT_EQ(dialogs.events[0].buttons, Buttons::YesNo);
        EXPECT_TRUE(dialogs.events[0].text.startsWith(QStringLiteral("Skalenlaenge =300") + message(13, c.lang) +
                                                      QStringLiteral(" [3..290")));
        EXPECT_TRUE(dialogs.events[0].text.endsWith(QString::fromLatin1(c.tail))) << dialogs.events[0].text.toStdString();
    }
}

}  // namespace
}  // namespace zorva
