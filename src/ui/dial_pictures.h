#pragma once
// Pictures of the dial families the program constructs: the strip of thumbnails under the
// welcome picture, the picture panel a thumbnail opens and the photo gallery. The pictures
// are drawn by the program's own constructions, so they show what it really draws.

#include "state/dial_state.h"

#include <QFrame>
#include <QPixmap>
#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

namespace zorva {

struct DialFamily {
    QString german;
    QString english;
    QString caption(Language l) const { return l == Language::English ? english : german; }
};

// The families in the order of the strip and of the gallery.
const std::vector<DialFamily>& DialFamilies();
// The state a family's picture is drawn from: the site and year of `base`, the family's dial.
DialState FamilyPictureState(int family, const DialState& base);
// The picture of a family at `size`; families without a construction get a captioned tile.
QPixmap FamilyPicture(int family, const DialState& base, const QSize& size);
// The picture of the dial of `s` at `size`; a null pixmap for a kind without a construction.
QPixmap DialThumbnail(const DialState& s, const QSize& size);

// The thumbnails with their caption "Sonnenuhren, die von diesem Programm berechnet werden".
class PictureStrip : public QWidget {
    Q_OBJECT
public:
    PictureStrip(const DialState& state, QWidget* parent = nullptr);
    void applyLanguage();
    int count() const { return static_cast<int>(buttons_.size()); }

signals:
    void picked(int family);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void renderNext();
    const DialState& state_;
    QLabel* caption_ = nullptr;
    std::vector<QToolButton*> buttons_;
    size_t rendered_ = 0;
    Language shownLanguage_ = Language::German;
};

// One picture with its title; Escape or "X" hides it.
class PicturePanel : public QFrame {
    Q_OBJECT
public:
    PicturePanel(const DialState& state, QWidget* parent = nullptr);
    void showFamily(int family, const QSize& pictureSize);
    int family() const { return family_; }
    QString caption() const;
    const DialState& state() const { return state_; }

signals:
    void closedByUser();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const DialState& state_;
    QLabel* title_ = nullptr;
    QLabel* picture_ = nullptr;
    QPushButton* close_ = nullptr;
    int family_ = -1;
};

// " &Start Photo Gallery ": every tick shows the next family in the picture panel.
class PhotoGallery : public QWidget {
    Q_OBJECT
public:
    PhotoGallery(PicturePanel& panel, QWidget* parent = nullptr);
    bool running() const;
    void start();
    void stop();
    void next();
    int intervalMs() const;
    void applyLanguage(Language lang);

signals:
    void runningChanged(bool running);

private:
    PicturePanel& panel_;
    QTimer* timer_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QSlider* speed_ = nullptr;
    QLabel* speedLabel_ = nullptr;
    int index_ = 0;
};

}  // namespace zorva
