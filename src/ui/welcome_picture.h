#pragma once
// The welcome picture of the main window and the area that shows it while no child is open.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>

namespace zorva {

// One of the two built-in pictures (105: a vertical dial on a wall, 106: a horizontal dial
// in a garden), drawn at the given size.
QPixmap BuiltInWelcomePicture(int number, const QSize& size = QSize(900, 600));
// "zorva.jpg" from the working directory, else a built-in picture chosen at random
// (106 six times in ten).
QPixmap LoadWelcomePicture();

struct DialState;
class PictureStrip;
class PicturePanel;
class PhotoGallery;

class WelcomeArea : public QMdiArea {
    Q_OBJECT
public:
    explicit WelcomeArea(QWidget* parent = nullptr);
    void setPicture(const QPixmap& picture);
    // The strip of dial thumbnails, the picture panel and the photo gallery, shown while no
    // child window is open.
    void installPictures(const DialState& state);
    void applyLanguage();
    PictureStrip* strip() const { return strip_; }
    PicturePanel* picturePanel() const { return panel_; }
    PhotoGallery* gallery() const { return gallery_; }
    // Shows or hides the pictures by whether a child window is open.
    void updateOverlays();
    // Where the picture is drawn in a viewport of this size: at most 0.9 of each side, aspect
    // kept, centred horizontally, a third of the remaining height from the top.
    static QRect PictureRect(const QSize& picture, const QSize& viewport);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeOverlays();
    QPixmap picture_;
    const DialState* state_ = nullptr;
    PictureStrip* strip_ = nullptr;
    PicturePanel* panel_ = nullptr;
    PhotoGallery* gallery_ = nullptr;
};

}  // namespace zorva
