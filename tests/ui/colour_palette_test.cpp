// The colour palette: legend per dial family, choosing colours and the line width, and the
// main window's Alt+F8.
#include "ui/colour_palette.h"

#include "state/settings_file.h"
#include "ui_test_support.h"

#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>

namespace zorva::test {
namespace {

class ColourPaletteTest : public UiTest {
protected:
    ColourPalette* open(char letter, bool umbrella = false) {
        state.dialType = letter;
        state.umbrellaDial = umbrella;
        state.legendOffset = LegendOffsetFor(letter);
        window->action(MenuEntry::Palette)->trigger();
        Settle();
        ColourPalette* p = window->colourPalette();
        if (p) p->setColourChooser([this](Rgb current, const QString& title) -> std::optional<Rgb> {
            asked << title;
            lastCurrent = current;
            return answer;
        });
        return p;
    }
    QStringList asked;
    Rgb lastCurrent = 0;
    std::optional<Rgb> answer;
};

TEST_F(ColourPaletteTest, TheLegendShowsTheRolesOfTheDialFamilyOnly) {
    ColourPalette* p = open('m');
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(p->legendCaption(), " Farben fuer SU fuer mittlere Zeit:");
    const auto rows = p->legendRows();
    int roles = 0;
    for (const auto& [colour, role] : rows) roles += role.isEmpty() ? 0 : 1;
    EXPECT_EQ(roles, 8);
    EXPECT_EQ(rows[0].first, " 1");
    EXPECT_EQ(rows[0].second, "_ Text");
    EXPECT_EQ(rows[3].second, "= Schattenkegel (Markierung)");
    EXPECT_EQ(rows[7].first, "10");
    EXPECT_EQ(rows[7].second, "= Grenzen");
    for (int i = 8; i < 12; ++i) EXPECT_TRUE(rows[i].first.isEmpty() && rows[i].second.isEmpty()) << i;

    window->setLanguage(Language::English);
    EXPECT_EQ(p->legendCaption(), " Colors for Mean Time Sundial:");
    EXPECT_EQ(p->legendRows()[0].second, "= text");
    EXPECT_EQ(p->findChild<QPushButton*>("closePalette")->text(), "Close");
}

TEST_F(ColourPaletteTest, FamiliesShareTheirRowsButKeepTheirTitles) {
    ColourPalette* p = open('v', true);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->legendCaption(), " Farben fuer Schirmsonnenuhr:");
    EXPECT_EQ(p->legendRows()[0].second, "= Deklinationslinien");
    // The map's colours 11 and 12 (coast lines and borders) are named, not cut to "en".
    EXPECT_EQ(p->legendRows()[10].second, "= Küstenlinien (Karte)");
    EXPECT_EQ(p->legendRows()[11].second, "= Grenzen (Karte)");
    p->findChild<QPushButton*>("closePalette")->click();
    p = open('k');
    EXPECT_EQ(p->legendCaption(), " Farben fuer horizontale Höhensonnenuhr:");
    EXPECT_EQ(p->legendRows()[0].second, "= Rahmen mit Datumsmarken");
    EXPECT_EQ(p->legendRows()[9].second, "= Gradnetz, Kreisbogen");
    p = open('a');
    EXPECT_EQ(p->legendRows()[9].second, "= Horizontprofil");
}

TEST_F(ColourPaletteTest, ChoosingColourTenOfAMapDialAlsoSetsColourTwelve) {
    ColourPalette* p = open('c');
    ASSERT_NE(p, nullptr);
    answer = 0x123456;
    p->findChild<QPushButton*>("colour10")->click();
    EXPECT_EQ(asked, QStringList{"Farbe 10"});
    EXPECT_EQ(lastCurrent, DialState::defaultColours()[9]);
    EXPECT_EQ(state.colours[9], 0x123456u);
    EXPECT_EQ(state.colours[11], 0x123456u);

    // Other families keep colour 12 apart.
    p = open('h');
    answer = 0x00AA00;
    p->chooseColour(10);
    EXPECT_EQ(state.colours[9], 0x00AA00u);
    EXPECT_EQ(state.colours[11], 0x123456u);

    // A cancelled choice changes nothing.
    answer.reset();
    p->chooseColour(3);
    EXPECT_EQ(state.colours[2], DialState::defaultColours()[2]);

    p->findChild<QPushButton*>("resetColours")->click();
    EXPECT_EQ(state.colours, DialState::defaultColours());
}

TEST_F(ColourPaletteTest, SampleStrokesInTheColoursAndTheChosenWidth) {
    ColourPalette* p = open('h');
    ASSERT_NE(p, nullptr);
    state.colours[4] = 0xFF8000;
    p->refresh();
    const QImage& img = p->sample();
    const int y4 = 8 + static_cast<int>(std::lround(img.height() / 21.35 / 1.14 * 2 * 4));
    EXPECT_EQ(img.pixel(20, y4) & 0xFFFFFF, 0xFF8000u);
    EXPECT_EQ(img.pixel(40, y4) & 0xFFFFFF, 0xFFFFFFu);  // strokes end at x = 35
    EXPECT_EQ(img.pixel(20, y4 + 2) & 0xFFFFFF, 0xFFFFFFu);

    p->findChild<QAbstractButton*>("lineWidth4")->click();
    EXPECT_EQ(state.lineWidth, '4');
    const QImage& wide = p->sample();
    EXPECT_EQ(wide.pixel(20, y4 + 1) & 0xFFFFFF, 0xFF8000u);
    EXPECT_EQ(wide.pixel(20, y4 - 1) & 0xFFFFFF, 0xFF8000u);
}

TEST_F(ColourPaletteTest, ClosingReturnsToTheOpenWindowWithItsViewIntact) {
    // The sun-position diagram stays the diagram (not the month table), in the new colours.
    QPointer<ChildWindow> graph = window->openChild(ChildKind::TableWindow, OpenRequest{32, 0});
    ASSERT_NE(graph, nullptr);
    ColourPalette* p = open('h');
    ASSERT_NE(p, nullptr);
    ASSERT_NE(p->findChild<QPushButton*>("closePalette"), nullptr);
    p->findChild<QPushButton*>("closePalette")->click();
    Settle();
    EXPECT_EQ(window->activeChild(), graph.data());
    EXPECT_EQ(window->childCount(), 1);

    // A drawing comes back drawn, not blank.
    QPointer<ChildWindow> drawing = window->openChild(ChildKind::DrawingWindow);
    ASSERT_NE(drawing, nullptr);
    auto* draw = drawing->findChild<QPushButton*>(QStringLiteral("drawButton"));
    ASSERT_NE(draw, nullptr);
    draw->click();
    Settle();
    auto* canvas = drawing->findChild<QWidget*>(QStringLiteral("drawingImage"));
    ASSERT_NE(canvas, nullptr);
    const QImage before = canvas->grab().toImage();
    p = open('h');
    ASSERT_NE(p, nullptr);
    p->close();
    Settle();
    EXPECT_EQ(window->activeChild(), drawing.data());
    const QImage after = canvas->grab().toImage();
    EXPECT_EQ(after, before) << "the same drawing in the same colours";
    int inked = 0;
    for (int y = 0; y < after.height(); y += 4)
        for (int x = 0; x < after.width(); x += 4) inked += (after.pixel(x, y) & 0xFFFFFF) != 0xFFFFFFu;
    EXPECT_GT(inked, 50) << "the drawing is still there";
}

TEST_F(ColourPaletteTest, SavedColoursComeBackFromTheSettingsFile) {
    QTemporaryDir dir;
    state.programDirectory = dir.path() + QLatin1Char('/');
    dialogs.answers = {Answer::Yes};
    window->startUp();
    ASSERT_TRUE(QFile::exists(window->settingsPath()));
    ColourPalette* p = open('h');
    ASSERT_NE(p, nullptr);
    answer = 0x0A0B0C;
    p->chooseColour(1);
    p->findChild<QPushButton*>("saveColours")->click();
    p->findChild<QPushButton*>("resetColours")->click();
    EXPECT_EQ(state.colours[0], DialState::defaultColours()[0]);
    p->findChild<QPushButton*>("loadColours")->click();
    EXPECT_EQ(state.colours[0], 0x0A0B0Cu);
}

}  // namespace
}  // namespace zorva::test
