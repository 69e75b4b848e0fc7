// Number texts end up in settings files, tables and plot commands; a blank too many or a
// digit rounded the other way breaks a file layout or moves a line.
#include "support/test_support.h"

#include "text/number_format.h"
#include "text/texts.h"

namespace zorva {
namespace {

TEST(RealToText, ShapesUsedByFilesTablesAndMessages) {
    const struct { int width, decimals; double x; const char* text; } cases[] = {
        {13, 6, 47.25, "    47.250000"},   // latitude of the settings file
        {13, 6, -9.59, "    -9.590000"},   // longitude, east negative
        {7, 2, -15.0, " -15.00"},          // zone meridian
        {7, 2, 0.0, "   0.00"},
        {8, 2, -180.0, " -180.00"},        // lower bound of a range message
        {7, 1, 180.0, "  180.0"},          // upper bound of a range message
        {6, 2, 23.4367, " 23.44"},         // declination in the tables
        {4, 0, 1999.0, "1999"},
        {2, 0, 7.0, " 7"},
        {5, 2, 0.18, " 0.18"},             // plot text size: a leading blank below 10
        {3, 2, 12345.678, "12345.68"},     // longer than the width: never cut
        {0, 0, 2.4, "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RealToText(c.width, c.decimals, c.x), QString::fromLatin1(c.text));
    }
}

TEST(RealToText, WidthBelowDecimalsReportsAndGivesNoText) {
    for (Language lang : {Language::German, Language::English}) {
        RecordingDialogs dialogs;
        EXPECT_TRUE(RealToText(1, 2, 3.0, &dialogs, lang).isEmpty());
        ASSERT_EQ(dialogs.events.size(), 1u);
        EXPECT_EQ(dialogs.events[0].text, message(25, lang));
        EXPECT_EQ(dialogs.events[0].caption, caption(CaptionKind::Warning, lang));
        EXPECT_EQ(dialogs.events[0].icon, Icon::Warning);
    }
    EXPECT_EQ(message(25, Language::German), QStringLiteral("Fehler bei Umwandlung in String!"));
    EXPECT_TRUE(RealToText(0, 1, 3.0).isEmpty()) << "also without anyone to tell";
}

TEST(RoundToIntText, ClampsAndRoundsHalfToEven) {
    const struct { double x; const char* text; } cases[] = {
        {3e9, "217000000"},   {-3e9, "-217000000"}, {217000000.4, "217000000"},
        {2.5, "2"},           {3.5, "4"},           {-2.5, "-2"},
        {1234.5, "1234"},     {1235.5, "1236"},     {1234.51, "1235"},
        {-0.4, "0"},          {0.0, "0"},           {-17.6, "-18"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(RoundToIntText(c.x), QString::fromLatin1(c.text));
    }
}

TEST(IntToTextWidth, PadsOnTheLeftOnly) {
    EXPECT_EQ(IntToTextWidth(5, 3), QStringLiteral("  5"));
    EXPECT_EQ(IntToTextWidth(-1, 4), QStringLiteral("  -1"));
    EXPECT_EQ(IntToTextWidth(2024, 4), QStringLiteral("2024"));
    EXPECT_EQ(IntToTextWidth(12345, 3), QStringLiteral("12345"));
}

TEST(TextFunctions, StripAcceleratorsAndTransliterateUmlauts) {
    EXPECT_EQ(StripAccelerators(QStringLiteral("geogr. &Breite:")), QStringLiteral("geogr. Breite"));
    EXPECT_EQ(StripAccelerators(QString::fromUtf8("gew\u00e4hltes &Jahr :")), QString::fromUtf8("gew\u00e4hltes Jahr "));
    EXPECT_EQ(StripAccelerators(QStringLiteral("Abw.")), QStringLiteral("Abw."));

    EXPECT_EQ(TransliterateUmlauts(QString::fromUtf8("\u00c4quator \u00d6l \u00dcber \u00e4 \u00f6 \u00fc")),
              QStringLiteral("Aequator Oel Ueber ae oe ue"));
    // Everything else, the sharp s and the degree sign included, is copied as it is.
    const QString other = QString::fromUtf8("Stra\u00dfe 12\u00b0; [WOZ]");
    EXPECT_EQ(TransliterateUmlauts(other), other);
}

TEST(ParseNumbers, AcceptsPlainDecimalsOnly) {
    const struct { const char* text; bool ok; double value; } reals[] = {
        {"47.25", true, 47.25}, {"-9.59", true, -9.59}, {"+3", true, 3.0}, {".5", true, 0.5},
        {"0", true, 0.0},       {"1e3", true, 1000.0},
        {"1e999", false, 0},    {"--5", false, 0},      {"+-5", false, 0},  {"", false, 0},
        {"abc", false, 0},      {"1,5", false, 0},      {"inf", false, 0},  {"nan", false, 0},
        {" 5", false, 0},       {"5 ", false, 0},       {"-", false, 0},    {"1.2.3", false, 0},
    };
    for (const auto& c : reals) {
        SCOPED_TRACE(c.text);
        double v = -77.0;
        EXPECT_EQ(ParseReal(QString::fromLatin1(c.text), v), c.ok);
        EXPECT_DOUBLE_EQ(v, c.ok ? c.value : -77.0) << "a refused text leaves the value alone";
    }
    const struct { const char* text; bool ok; long long value; } ints[] = {
        {"2013", true, 2013}, {"-15", true, -15}, {"+7", true, 7},
        {"1.5", false, 0},    {"", false, 0},     {"x", false, 0},  {"+-5", false, 0},
        {"--5", false, 0},    {"99999999999999999999", false, 0},
    };
    for (const auto& c : ints) {
        SCOPED_TRACE(c.text);
        long long v = -77;
        EXPECT_EQ(ParseInt(QString::fromLatin1(c.text), v), c.ok);
        EXPECT_EQ(v, c.ok ? c.value : -77);
    }
}

}  // namespace
}  // namespace zorva
