// The bilingual tables are data other code cites by number; a shifted or mistyped entry
// puts the wrong words into a dialog, a table file or a plot label.
#include "support/test_support.h"

#include "text/texts.h"

#include <set>

namespace zorva {
namespace {

constexpr Language kDe = Language::German;
constexpr Language kEn = Language::English;

struct NamedTable {
    const char* name;
    TextTable table;
    int denseCount;  // 0: sparse
};

std::vector<NamedTable> allTables() {
    return {{"titles", titleTable(), kTitleCount},
            {"labels", labelTable(), kLabelCount},
            {"messages", messageTable(), kMessageCount},
            {"resources", resourceTable(), 0}};
}

TEST(TextTables, NumberingIsDenseOrStrictlyAscending) {
    for (const auto& t : allTables()) {
        SCOPED_TRACE(t.name);
        if (t.denseCount > 0) {
            ASSERT_EQ(t.table.size, t.denseCount);
            for (int i = 0; i < t.table.size; ++i) EXPECT_EQ(t.table.entries[i].number, i);
        } else {
            ASSERT_GT(t.table.size, 0);
            for (int i = 0; i < t.table.size; ++i) {
                // German numbers only; the English twins live 2000 higher.
                EXPECT_GE(t.table.entries[i].number, 1);
                EXPECT_LE(t.table.entries[i].number, 999);
                if (i > 0) {
                    EXPECT_LT(t.table.entries[i - 1].number, t.table.entries[i].number);
                }
            }
        }
    }
}

TEST(TextTables, EveryEntryExistsInBothLanguagesAndIsCleanText) {
    for (const auto& t : allTables()) {
        SCOPED_TRACE(t.name);
        for (int i = 0; i < t.table.size; ++i) {
            const TextEntry& e = t.table.entries[i];
            SCOPED_TRACE(e.number);
            const QString de = QString::fromUtf8(e.german);
            const QString en = QString::fromUtf8(e.english);
            EXPECT_EQ(de.isEmpty(), en.isEmpty()) << "a text without its twin";
            for (const QString& s : {de, en}) {
                EXPECT_FALSE(s.contains(QChar::ReplacementCharacter)) << "not valid UTF-8";
                EXPECT_FALSE(s.contains(QChar(3))) << "would end a plot label early";
                EXPECT_FALSE(s.contains(QLatin1Char('\\'))) << "escape left in the text";
            }
        }
    }
}

TEST(TextTables, LookupOutsideTheTablesIsEmpty) {
    for (Language lang : {kDe, kEn}) {
        EXPECT_TRUE(title(-1, lang).isEmpty());
        EXPECT_TRUE(title(kTitleCount, lang).isEmpty());
        EXPECT_TRUE(label(kLabelCount, lang).isEmpty());
        EXPECT_TRUE(message(kMessageCount, lang).isEmpty());
        EXPECT_TRUE(resourceText(0, lang).isEmpty());
    }
    EXPECT_FALSE(hasResource(0));
    EXPECT_FALSE(hasResource(2845)) << "resources are looked up by their German number";
    EXPECT_TRUE(hasResource(845));
}

struct Quoted {
    enum Kind { Title, Label, Message, Resource } kind;
    int n;
    const char* german;
    const char* english;
};

QString lookUp(Quoted::Kind kind, int n, Language lang) {
    switch (kind) {
        case Quoted::Title: return title(n, lang);
        case Quoted::Label: return label(n, lang);
        case Quoted::Message: return message(n, lang);
        case Quoted::Resource: return resourceText(n, lang);
    }
    return {};
}

// Texts other code composes with, byte for byte: blanks, accelerators, umlauts, the ´ sign,
// line breaks in the order the boxes show them, quotes and bars.
const Quoted kQuoted[] = {
    {Quoted::Title, 0, " Tabelle der Zeitgleichung", " Table Equation of Time "},
    {Quoted::Title, 14, " (Hirtensonnenuhr)", " (Shepherds\u00b4 Dial)"},
    {Quoted::Title, 21, " Schliessen", "  Close"},
    {Quoted::Title, 26, " &N\u00e4chstes... >", " &Next ... >"},
    {Quoted::Title, 28,
     "Startkonfiguration (*.ini)|*.ini|Andere Konstruktionsdaten (*.zor)|*.zor|Alle Dateien (*.*)|*.*",
     "Start Configuration (*.ini)|*.ini|Your own Construction Data (*.zor)|*.zor|All Files (*.*)|*.*"},
    {Quoted::Title, 31, "Schirmsonnenuhr", "\"Umbrella\"-dial"},
    {Quoted::Title, 35, "Ringsonnenuhr (Bauernring)", "Ring Sundial (Farmers\u00b4 Ring) "},
    {Quoted::Title, 42, "azimutale H\u00f6hensonnenuhr   (Hut-SU)", "Azimuthal Altitude Dial (Hat Dial)"},
    {Quoted::Title, 45, "Starteinstellungen (*.ini,*.zor)|*.ini;*.zor|Alle Dateien (*.*)|*.",
     "Start Configuration (*.ini,*.zor)|*.ini;*.zor|All Files (*.*)|*.*"},
    {Quoted::Message, 1, "      ", "        "},
    {Quoted::Message, 3,
     // The check refuses 0: the range says so.
     "Die Inklination muss gr\u00f6\u00dfer als 0 \u00b0 und h\u00f6chstens +175 \u00b0 sein!\n\rF\u00fcr Inklination 0\u00b0 "
     "\"horizontale Sonnenuhr\" w\u00e4hlen!",
     "The inclination has to be greater than 0 \u00b0 and at most +175 \u00b0. \n\rFor inclination 0 degrees select "
     "\"horizontal sundial\""},
    {Quoted::Message, 13, " Zul\u00e4ssiger Wertebereich ist", " Value has to be within Interval"},
    {Quoted::Message, 14, "Die Datei ist fehlerhaft und muss korrigiert \n\rwerden. Korrektur jetzt durchf\u00fchren ?",
     "File contains errors and will be corrected now.\n\rCan that be done now?"},
    {Quoted::Message, 15,
     "Der Fu\u00dfpunkt des Gnomon liegt\n\rau\u00dferhalb des abgebildeten Bereiches!\n\r\rAbbrechen?",
     "Foot of gnomon is outside the displayed area!\n\rDo you wish to cancel?"},
    {Quoted::Message, 21, "Kreisradius = 0 ist nicht zul\u00e4ssig !", "Circle radius = 0  is not allowed"},
    {Quoted::Message, 32, "Ergebnis ist eventuell falsch!", " "},
    {Quoted::Message, 33,
     " fehlt. (Weitere Information im Men\u00fc \r\"Hilfe / Hilfe Index\" unter dem Stichwort INI-Datei!",
     "File missing. For generating it have a look\rat menu \"Help / HelpIndex\"!"},
    {Quoted::Message, 35, "(Siehe auch Men\u00fc \"INFO/Hilfe\", Stichwort \"INI-Datei\")",
     "(More Information in menu \"Help / Help Index\", keyword \"INI-File\")"},
    {Quoted::Message, 38, " (b\u00fcrgerlich) ", "  ( civil )   "},
    {Quoted::Message, 44,
     "Die Aufgabe ist unter Umst\u00e4nden nicht l\u00f6sbar,weil\n\r( |geogr.Breite|-|Sonnendeklination| )< 0 "
     "ist\n\rund manche Azimutwerte nie erreicht werden.",
     "There does not always exist a solution, because\n\r    ( |latitude|-|sun declination| )< 0\n\rand the "
     "sun does not reach all azimuth values."},
    {Quoted::Message, 55, "", ""},
    {Quoted::Message, 60, "Die Schrift \"Wingdings\" ist nicht installiert. Deshalb ist",
     "Font \"Wingdings\" is not installed. Therefore display"},
    {Quoted::Message, 71, "", ""},
    {Quoted::Label, 16, " WOZ", " Local Apparent Time"},
    {Quoted::Label, 23, " geneigte Pultebene", " dial face inclined"},
    {Quoted::Label, 33, "  in &Textdatei speichern", " &save co-ordinates into file"},
    {Quoted::Label, 34, "b\u00fcrgerl. (0.83\u00b0-6\u00b0)", "civil (0.83\u00b0-6\u00b0)"},
    {Quoted::Label, 39, " fein", " thin "},
    {Quoted::Label, 67, "Eingabe?", "Input?"},
    {Quoted::Label, 68, "immer sichtbar", " always seen  "},
    {Quoted::Label, 69, "  immer hell  ", "always bright "},
    {Quoted::Label, 70, " nie sichtbar ", " not visible  "},
    {Quoted::Label, 71, " immer dunkel ", " always  dark "},
    {Quoted::Label, 72, "   Datum         Sonne      D\u00e4mmerung       Mond        EoT   Deklin", nullptr},
    {Quoted::Label, 73, "               auf/unter   Ende /Anfang   auf/unter    mm:ss   Grad", nullptr},
    {Quoted::Label, 81, "Es gilt:   Zeitgleichung = wahre Ortszeit - mittlere Ortszeit",
     " ( Equation of Time = Local Apparent Time - Local Mean Time )"},
    {Quoted::Label, 89, "    Datum:           ", nullptr},
    {Quoted::Label, 93, "    Sonne Aufgang:    ", nullptr},
    {Quoted::Label, 96, "     D\u00e4mmerung Ende:  ", nullptr},
    {Quoted::Label, 105, " Grad", " deg "},
    {Quoted::Label, 131, "G. Breite = ", "Latitude = "},
    {Quoted::Label, 132, ", G. Laenge = ", ", Longitude = "},
    {Quoted::Label, 140, "QUADRANT - SONNENUHR", "QUADRANT SUNDIAL"},
    {Quoted::Label, 144, "Temporalstunden von 0 - 6 (= Mittag) ", "Temporal hours from 0 to 6 (= noon ) "},
    {Quoted::Label, 166, "Sonne \"geht vor\"!", nullptr},
    {Quoted::Label, 210, "Zeitangaben sind b\u00fcrgerliche Zeit, aber nicht Sommerzeit, genau fuer das Jahr  ",
     nullptr},
    {Quoted::Resource, 122, " &Korrekturtabelle ", " Altit&ude correction "},
    {Quoted::Resource, 719, " Schlie\u00dfen ", " Close "},
    {Quoted::Resource, 845, "Sonnenhoehen fuer ", "Sun Altitudes for "},
    {Quoted::Resource, 571, "B&reite der Monatsskala ", nullptr},
    {Quoted::Resource, 579, "Umfang des Zylinders ", nullptr},
};

TEST(TextTables, QuotedTextsAreExact) {
    for (const Quoted& q : kQuoted) {
        SCOPED_TRACE(testing::Message() << "kind " << q.kind << " number " << q.n);
        EXPECT_EQ(lookUp(q.kind, q.n, kDe), QString::fromUtf8(q.german));
        if (q.english) {
            EXPECT_EQ(lookUp(q.kind, q.n, kEn), QString::fromUtf8(q.english));
        }
    }
}

TEST(TextTables, PiecesComposeIntoTheSentencesTheWindowsShow) {
    // Window caption of the drawing window: title 2 followed by the dial's title.
    EXPECT_EQ(title(2, kDe) + title(3, kDe), QStringLiteral(" Konstruktion einer Schirmsonnenuhr"));
    EXPECT_EQ(title(2, kEn) + title(3, kEn), QStringLiteral("Construction of an Umbrella Dial"));
    EXPECT_EQ(title(2, kEn) + title(4, kEn), QStringLiteral("Construction of a Vertical Sundial"));
    // The longitude question of the sun-position window asks labels 46 and 47 together.
    EXPECT_EQ(label(46, kDe) + label(47, kDe),
              QString::fromUtf8("Die geogr. L\u00e4nge ist mehr als 15 Grad\r\n  vom Zonenmeridian entfernt!"
                                "\r\n Ist dies in Ordnung?"));
    EXPECT_EQ(label(46, kEn) + label(47, kEn),
              QStringLiteral("The difference between zone meridian\r\n and longitude is more than 15 deg!"
                             "\r\nAre these values correct?"));
    // The diagram title takes characters 2 to 14 of label 82 as the word "zone meridian".
    EXPECT_EQ(label(82, kDe).mid(1, 13), QStringLiteral("Zonenmeridian"));
    EXPECT_EQ(label(82, kEn).mid(1, 13), QStringLiteral("Zone meridian"));
    // Compass names of the diagram are labels 0..3 without their accelerator.
    const QStringList compass = {" Nord", " Ost", " Sued", " West"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(label(i, kDe).remove(QLatin1Char('&')), compass[i]);
}

TEST(TextTables, MonthTableHeadersKeepTheirColumnsInBothLanguages) {
    // The CSV export cuts label 72 at fixed positions and the rows line up under both
    // header lines, so every heading word must start in the same column in English.
    auto wordStarts = [](const QString& s) {
        std::vector<int> starts;
        for (int i = 0; i < s.size(); ++i)
            if (s[i] != QLatin1Char(' ') && (i == 0 || s[i - 1] == QLatin1Char(' '))) starts.push_back(i);
        return starts;
    };
    for (int n : {72, 73}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(wordStarts(label(n, kEn)), wordStarts(label(n, kDe)));
    }
    EXPECT_EQ(wordStarts(label(72, kDe)), (std::vector<int>{3, 17, 28, 44, 56, 62}));
    // The rise/set print list aligns its values after labels of equal width.
    for (Language lang : {kDe, kEn})
        for (int n : {93, 94, 95, 96}) EXPECT_EQ(label(n, lang).size(), 22) << n;
}

TEST(TextTables, ResourceTextPlainDropsEveryAccelerator) {
    EXPECT_EQ(resourceTextPlain(122, kDe), QStringLiteral(" Korrekturtabelle "));
    EXPECT_EQ(resourceTextPlain(122, kEn), QStringLiteral(" Altitude correction "));
    EXPECT_EQ(resourceTextPlain(402, kDe), QStringLiteral("Wandabweichung"));
    EXPECT_EQ(resourceTextPlain(912, kDe), QStringLiteral("Inklination [vert.= 90]"));
    EXPECT_EQ(resourceTextPlain(571, kDe), QStringLiteral("Breite der Monatsskala "));
    EXPECT_EQ(resourceTextPlain(845, kEn), resourceText(845, kEn)) << "texts without & stay as they are";
    EXPECT_TRUE(resourceTextPlain(1, kDe).isEmpty());
}

TEST(TextTables, CaptionsOfMessageBoxes) {
    EXPECT_EQ(caption(CaptionKind::Question, kDe), QStringLiteral("ZORVA.EXE - Was nun?"));
    EXPECT_EQ(caption(CaptionKind::Question, kEn), QStringLiteral("ZORVA.EXE - Question"));
    EXPECT_EQ(caption(CaptionKind::Achtung, kEn), QStringLiteral("ZORVA.EXE - Attention!"));
    EXPECT_EQ(caption(CaptionKind::SaveTable, kDe), QStringLiteral("ZORVA.EXE - Tabelle speichern"));
    EXPECT_EQ(caption(CaptionKind::SaveDrawing, kEn), QStringLiteral("ZORVA.EXE - Save as Graphics File"));
}

TEST(TextTables, MenuCaptionsFollowTheMenuOrder) {
    const QStringList de = menuCaptions(kDe);
    const QStringList en = menuCaptions(kEn);
    ASSERT_EQ(de.size(), kMenuCaptionCount);
    ASSERT_EQ(en.size(), kMenuCaptionCount);
    for (int i = 0; i < kMenuCaptionCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(de[i].trimmed().isEmpty());
        EXPECT_FALSE(en[i].trimmed().isEmpty());
        EXPECT_NE(de[i], QStringLiteral("-")) << "separators take no caption";
        EXPECT_LE(de[i].count(QLatin1Char('&')), 1);
        EXPECT_LE(en[i].count(QLatin1Char('&')), 1);
    }
    // Spot checks through the whole menu: a missing or doubled entry shifts all that follow.
    const struct { int i; const char* de; const char* en; } spots[] = {
        {0, "  &Datei  ", "  &Files  "},
        {7, "  &Optionen ", "   &Options "},
        {16, "  &Zeichnung  ", "   &Display  "},
        {22, " &Berechnungen ", " &Calculations "},
        {27, "&Tabellen ...", "Tables ..."},
        {31, "Meridiandurchgang (wahrer Mittag), Jahrestabelle", "Table of Local Apparent Noon"},
        {34, "   &Hilfe", "   &Help"},
        {39, "&Deutsch", "&German"},
        {40, "&Englisch", "&English"},
        {42, "&Info", "&About"},
    };
    for (const auto& s : spots) {
        EXPECT_EQ(de[s.i], QString::fromUtf8(s.de));
        EXPECT_EQ(en[s.i], QString::fromUtf8(s.en));
    }
    EXPECT_EQ(de[2], QString::fromUtf8("Fenster s&chlie\u00dfen"));
}

}  // namespace
}  // namespace zorva
