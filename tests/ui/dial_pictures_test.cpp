// The dial pictures of the main window: thumbnails, picture panel, photo gallery, About.
#include "ui/dial_pictures.h"

#include "dials/dial_constructions.h"
#include "dials/habermel_dial.h"
#include "ui/welcome_picture.h"
#include "ui_test_support.h"

#include <QDialog>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>

#include <set>

namespace zorva::test {
namespace {

// Share of pixels in the picture that differ from the caption tile's paper colour.
double DrawnShare(const QPixmap& pixmap) {
    const QImage img = pixmap.toImage();
    int drawn = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xF4F1E6u) ++drawn;
    return double(drawn) / (img.width() * img.height());
}

TEST(DialPictures, EachFamilyIsDrawnForTheSiteWithItsOwnDial) {
    DialState base = StartupState();
    base.latitude = -33.9;
    base.referenceYear = 2031;
    const auto& families = DialFamilies();
    ASSERT_EQ(families.size(), 21u);
    std::set<std::pair<char, int>> seen;
    for (int i = 0; i < static_cast<int>(families.size()); ++i) {
        const DialState s = FamilyPictureState(i, base);
        EXPECT_DOUBLE_EQ(s.latitude, -33.9) << i;
        EXPECT_EQ(s.referenceYear, 2031) << i;
        EXPECT_EQ(s.legendOffset, LegendOffsetFor(s.dialType)) << i;
        EXPECT_FALSE(families[static_cast<size_t>(i)].caption(Language::English).isEmpty());
    }
    EXPECT_EQ(FamilyPictureState(17, base).dialType, 'h');
    EXPECT_EQ(FamilyPictureState(18, base).dialType, 'v');
    EXPECT_TRUE(FamilyPictureState(10, base).umbrellaDial);
    // The added kinds: only the classic families leave the added kind unset.
    EXPECT_EQ(FamilyPictureState(19, base).addedKind, AddedKind::Analemmatic);
    EXPECT_EQ(FamilyPictureState(20, base).addedKind, AddedKind::Bifilar);
    EXPECT_EQ(FamilyPictureState(18, base).addedKind, AddedKind::None);
    EXPECT_GT(DrawnShare(FamilyPicture(19, base, QSize(160, 120))), 0.5);
    EXPECT_EQ(FamilyPictureState(3, base).cylinderKind, 1);

    // The Habermel picture takes a gnomon whose disc the site allows (37 mm would give 224 mm
    // at 33.9 S), so that it shows the dial, not its refusal.
    const DialState habermel = FamilyPictureState(5, base);
    EXPECT_EQ(habermel.quadrantKind, 1);
    EXPECT_NE(ConstructionFor(habermel), nullptr);
    EXPECT_TRUE(HabermelRefusal(habermel).isEmpty());

    // A family the program draws shows its dial; one it does not shows a captioned tile.
    const QPixmap drawn = FamilyPicture(17, base, QSize(160, 120));
    EXPECT_EQ(drawn.size().width(), 160);
    EXPECT_GT(DrawnShare(drawn), 0.5);
    base.dialType = 'r';
    if (!ConstructionFor(FamilyPictureState(14, base))) {
        const QPixmap tile = FamilyPicture(14, base, QSize(160, 120));
        EXPECT_EQ(tile.size(), QSize(160, 120));
        EXPECT_LT(DrawnShare(tile), 0.5);
    }
}

class PicturesInTheMainWindow : public UiTest {
protected:
    WelcomeArea* area() const { return window->findChild<WelcomeArea*>(); }
    void start() {
        QTemporaryDir* d = new QTemporaryDir;
        dirs.emplace_back(d);
        state.programDirectory = d->path() + QLatin1Char('/');
        dialogs.answers = {Answer::Yes};
        window->startUp();
        Settle();
    }
    std::vector<std::unique_ptr<QTemporaryDir>> dirs;
};

QString LastThumbnailName() {
    return QStringLiteral("thumbnail") + QString::number(DialFamilies().size() - 1);
}

TEST_F(PicturesInTheMainWindow, ThumbnailsOpenThePicturePanelWhileNoWindowIsOpen) {
    start();
    ASSERT_NE(area()->strip(), nullptr);
    EXPECT_TRUE(area()->strip()->isVisible());
    ASSERT_TRUE(WaitFor([this] {
        auto* last = area()->strip()->findChild<QToolButton*>(LastThumbnailName());
        return last && !last->icon().isNull();
    }));
    EXPECT_EQ(area()->strip()->findChild<QLabel*>("stripCaption")->text(),
              "Sonnenuhren, die von diesem Programm berechnet werden");

    area()->strip()->findChild<QToolButton*>(QStringLiteral("thumbnail17"))->click();
    Settle();
    PicturePanel* panel = area()->picturePanel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->caption(), "horizontale Sonnenuhr");
    QTest::keyClick(panel, Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisible());

    EXPECT_EQ(area()->gallery()->findChild<QPushButton*>("startGallery")->text(), " &Fotogalerie starten ");
    auto* first = area()->strip()->findChild<QToolButton*>(QStringLiteral("thumbnail0"));
    const qint64 germanPicture = first->icon().cacheKey();
    window->setLanguage(Language::English);
    EXPECT_EQ(area()->strip()->findChild<QLabel*>("stripCaption")->text(), "Sundials calculated by this program");
    EXPECT_EQ(area()->gallery()->findChild<QPushButton*>("startGallery")->text(), " &Start Photo Gallery ");
    // The thumbnails carry words too: they are drawn again in English.
    EXPECT_TRUE(WaitFor([&] { return first->icon().cacheKey() != germanPicture; }));

    // On a wide screen the thumbnails stand centred under the caption.
    window->resize(2400, 900);
    Settle();
    QWidget* strip = area()->strip();
    auto* lastThumb = strip->findChild<QToolButton*>(LastThumbnailName());
    const int leftGap = first->mapTo(strip, QPoint(0, 0)).x();
    const int rightGap = strip->width() - lastThumb->mapTo(strip, QPoint(lastThumb->width(), 0)).x();
    EXPECT_GT(leftGap, 100);
    EXPECT_NEAR(leftGap, rightGap, 16);

    // A child window takes the place of the pictures, and gives it back.
    window->openChild(ChildKind::SiteDialog);
    ASSERT_TRUE(WaitFor([this] { return !area()->strip()->isVisible(); }));
    EXPECT_FALSE(area()->gallery()->isVisible());
    window->closeAllChildren();
    EXPECT_TRUE(WaitFor([this] { return area()->strip()->isVisible() && area()->gallery()->isVisible(); }));
}

TEST_F(PicturesInTheMainWindow, TheGalleryCyclesThroughTheDialsItCanDraw) {
    start();
    PhotoGallery* gallery = area()->gallery();
    ASSERT_NE(gallery, nullptr);
    EXPECT_EQ(gallery->intervalMs(), 2200);
    gallery->findChild<QPushButton*>("startGallery")->click();
    Settle();
    EXPECT_TRUE(gallery->running());
    EXPECT_FALSE(area()->strip()->isVisible());
    PicturePanel* panel = area()->picturePanel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->size(), QSize(600, 600));
    std::set<int> shown;
    for (int i = 0; i < 40; ++i) {
        EXPECT_NE(ConstructionFor(FamilyPictureState(panel->family(), state)), nullptr) << panel->family();
        shown.insert(panel->family());
        gallery->next();
    }
    EXPECT_TRUE(shown.count(17) && shown.count(18));  // horizontal and vertical dials

    auto* speed = gallery->findChild<QSlider*>("gallerySpeed");
    speed->setValue(30);
    EXPECT_EQ(gallery->intervalMs(), 3000);
    EXPECT_EQ(gallery->findChild<QLabel*>("gallerySpeedLabel")->text(), "3 s");

    gallery->findChild<QPushButton*>("stopGallery")->click();
    Settle();
    EXPECT_FALSE(gallery->running());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(area()->strip()->isVisible());
    EXPECT_TRUE(gallery->findChild<QPushButton*>("startGallery")->isVisible());
}

TEST_F(PicturesInTheMainWindow, AboutShowsTheVersion) {
    start();
    window->action(MenuEntry::About)->trigger();
    Settle();
    auto* panel = window->findChild<QDialog*>("aboutPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->findChild<QLabel*>("versionLabel")->text(), "3.9 ");
    panel->findChild<QPushButton*>("aboutClose")->click();
    EXPECT_TRUE(WaitFor([this] { return window->findChild<QDialog*>("aboutPanel") == nullptr; }));
}

}  // namespace
}  // namespace zorva::test
