// The drawing window with the cone-shadow dial: the red note after drawing, the <Info>
// text and the <Grafik> picture of the cone.
#include "ui/drawing_window.h"

#include "ui/hollander_panel.h"
#include "ui_test_support.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace zorva::test {
namespace {

class HollanderWindowTest : public UiTest {
protected:
    DrawingWindow* open() {
        state.dialType = 'm';
        auto* w = qobject_cast<DrawingWindow*>(window->openChild(ChildKind::DrawingWindow));
        EXPECT_NE(w, nullptr);
        if (!w) return nullptr;
        EXPECT_TRUE(WaitFor([&] { return !w->hintText().isEmpty() || w->drawn(); }));
        Settle();
        return w;
    }
};

TEST_F(HollanderWindowTest, DrawingShowsTheRedNoteAndTheButtonsItNames) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    auto* info = w->findChild<QPushButton*>(QStringLiteral("styleInfoButton"));
    auto* graphic = w->findChild<QPushButton*>(QStringLiteral("coneGraphicButton"));
    ASSERT_TRUE(info && graphic);
    EXPECT_TRUE(info->isEnabled());
    EXPECT_EQ(info->text(), QStringLiteral("&Info"));
    EXPECT_FALSE(graphic->isHidden());
    EXPECT_EQ(graphic->text(), QStringLiteral("Grafik zeigen"));
    click(QStringLiteral("drawButton"));
    ASSERT_TRUE(w->drawn());
    EXPECT_EQ(w->hintText(), QStringLiteral("Zusatzinformationen beachten! (Buttons <Info> und <Grafik zeigen> anklicken)"));
    EXPECT_TRUE(dialogs.events.empty());
}

TEST_F(HollanderWindowTest, InfoAndGraphicPanels) {
    DrawingWindow* w = open();
    ASSERT_NE(w, nullptr);
    click(QStringLiteral("drawButton"));
    click(QStringLiteral("styleInfoButton"));
    HollanderPanel* panel = w->hollanderPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    auto* text = panel->findChild<QPlainTextEdit*>(QStringLiteral("hollanderText"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Tag 172 (=21.6.) hat Deklination=")));

    click(QStringLiteral("coneGraphicButton"));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(text->isVisible());
    // The cone is drawn in its colour (entry 3, navy by default) on white.
    const QImage& img = panel->graphic();
    ASSERT_FALSE(img.isNull());
    int navy = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) navy += img.pixel(x, y) == qRgb(0, 0, 128);
    EXPECT_GT(navy, 100);

    click(QStringLiteral("hollanderClose"));
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(HollanderWindowTest, PlanarDialsHaveNoConeButton) {
    state.dialType = 'v';
    auto* w = qobject_cast<DrawingWindow*>(window->openChild(ChildKind::DrawingWindow));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(WaitFor([&] { return !w->hintText().isEmpty() || w->drawn(); }));
    Settle();
    auto* graphic = w->findChild<QPushButton*>(QStringLiteral("coneGraphicButton"));
    ASSERT_NE(graphic, nullptr);
    EXPECT_TRUE(graphic->isHidden());
    EXPECT_EQ(w->findChild<QPushButton*>(QStringLiteral("styleInfoButton"))->text(), QStringLiteral("&StabInfo"));
}

}  // namespace
}  // namespace zorva::test
