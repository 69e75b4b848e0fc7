#include "ui/welcome_picture.h"

#include "astro/angles.h"
#include "ui/dial_pictures.h"

#include <QDir>
#include <QTimer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>

namespace zorva {
namespace {


// Hour lines of a horizontal dial at latitude phi: tan(angle) = sin(phi) tan(15 t).
double HorizontalHourAngle(double hour, double latitudeDeg) {
    const double t = (hour - 12.0) * 15.0 * kPi / 180.0;
    return std::atan2(std::sin(latitudeDeg * kPi / 180.0) * std::sin(t), std::cos(t));
}

void drawWallDial(QPainter& p, const QSizeF& s) {
    QLinearGradient sky(0, 0, 0, s.height());
    sky.setColorAt(0, QColor(120, 170, 220));
    sky.setColorAt(1, QColor(225, 235, 245));
    p.fillRect(QRectF(QPointF(0, 0), s), sky);
    // Wall of a house with a plaster face for the dial.
    const QRectF wall(s.width() * 0.12, s.height() * 0.08, s.width() * 0.76, s.height() * 0.92);
    p.fillRect(wall, QColor(226, 204, 160));
    const QRectF face(s.width() * 0.25, s.height() * 0.16, s.width() * 0.5, s.height() * 0.62);
    p.setPen(QPen(QColor(120, 60, 30), 4));
    p.setBrush(QColor(247, 240, 222));
    p.drawRect(face);
    // A south-facing vertical dial at 47 degrees north: lines fan out below the gnomon foot.
    const QPointF foot(face.center().x(), face.top() + face.height() * 0.08);
    const double length = face.height() * 0.85;
    for (int h = 6; h <= 18; ++h) {
        const double a = std::atan2(std::cos(47.0 * kPi / 180.0) * std::sin((h - 12) * 15.0 * kPi / 180.0),
                                    std::cos((h - 12) * 15.0 * kPi / 180.0));
        const QPointF end(foot.x() - length * std::sin(a), foot.y() + length * std::cos(a));
        QLineF line(foot, end);
        // Keep the line inside the face.
        QPointF cut;
        const QLineF edges[3] = {QLineF(face.topLeft(), face.bottomLeft()), QLineF(face.bottomLeft(), face.bottomRight()),
                                 QLineF(face.topRight(), face.bottomRight())};
        for (const QLineF& e : edges)
            if (line.intersects(e, &cut) == QLineF::BoundedIntersection) line.setP2(cut);
        p.setPen(QPen(h == 12 ? QColor(160, 20, 20) : QColor(40, 40, 40), h == 12 ? 3 : 2));
        p.drawLine(line);
        p.setPen(QColor(40, 40, 40));
        const QPointF label = line.pointAt(0.93) + QPointF(-10, -4);
        if (line.length() > face.height() * 0.3)
            p.drawText(QRectF(label.x() - 12, label.y() - 10, 24, 20), Qt::AlignCenter, QString::number(h));
    }
    // Gnomon and its shadow.
    p.setPen(QPen(QColor(60, 60, 70), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot, foot + QPointF(0, face.height() * 0.28));
    p.setPen(QPen(QColor(0, 0, 0, 90), 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot, foot + QPointF(face.width() * 0.18, face.height() * 0.5));
}

void drawGardenDial(QPainter& p, const QSizeF& s) {
    QLinearGradient sky(0, 0, 0, s.height());
    sky.setColorAt(0, QColor(90, 150, 210));
    sky.setColorAt(0.55, QColor(200, 225, 240));
    sky.setColorAt(0.56, QColor(110, 160, 80));
    sky.setColorAt(1, QColor(70, 120, 50));
    p.fillRect(QRectF(QPointF(0, 0), s), sky);
    // Pedestal.
    QPainterPath pedestal;
    pedestal.addRect(s.width() * 0.45, s.height() * 0.58, s.width() * 0.1, s.height() * 0.32);
    p.fillPath(pedestal, QColor(180, 175, 165));
    // The dial plate seen at an angle: an ellipse with hour lines.
    const QPointF c(s.width() * 0.5, s.height() * 0.55);
    const double rx = s.width() * 0.3, ry = s.height() * 0.14;
    p.setPen(QPen(QColor(90, 70, 40), 4));
    p.setBrush(QColor(205, 170, 95));
    p.drawEllipse(c, rx, ry);
    p.setPen(QPen(QColor(60, 40, 20), 2));
    for (int h = 5; h <= 19; ++h) {
        const double a = HorizontalHourAngle(h, 47.25);
        const QPointF end(c.x() - 0.9 * rx * std::sin(a), c.y() - 0.9 * ry * std::cos(a));
        p.drawLine(c + QPointF(0, ry * 0.2), end);
    }
    // Triangular gnomon pointing to the pole.
    // Seen a little from the side, so that its face shows.
    QPainterPath gnomon;
    gnomon.moveTo(c + QPointF(0, ry * 0.2));
    gnomon.lineTo(c + QPointF(s.width() * 0.012, -ry * 0.75));
    gnomon.lineTo(c + QPointF(s.width() * 0.012, -ry * 0.75 - s.height() * 0.2));
    gnomon.closeSubpath();
    p.setPen(QPen(QColor(50, 50, 60), 3));
    p.setBrush(QColor(80, 80, 95));
    p.drawPath(gnomon);
    // The sun.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 80));
    p.drawEllipse(QPointF(s.width() * 0.82, s.height() * 0.16), s.height() * 0.07, s.height() * 0.07);
}

}  // namespace

QPixmap BuiltInWelcomePicture(int number, const QSize& size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f = p.font();
    f.setPixelSize(std::max(10, size.height() / 40));
    p.setFont(f);
    if (number == 106) drawGardenDial(p, QSizeF(size));
    else drawWallDial(p, QSizeF(size));
    return pixmap;
}

QPixmap LoadWelcomePicture() {
    QPixmap picture(QDir::current().filePath(QStringLiteral("zorva.jpg")));
    if (!picture.isNull()) return picture;
    return BuiltInWelcomePicture(QRandomGenerator::global()->bounded(10) < 6 ? 106 : 105);
}

WelcomeArea::WelcomeArea(QWidget* parent) : QMdiArea(parent) {
    // After the last child has gone its frame may still be listed: look once it is.
    connect(this, &QMdiArea::subWindowActivated, this, [this] { QTimer::singleShot(0, this, &WelcomeArea::updateOverlays); });
}

void WelcomeArea::installPictures(const DialState& state) {
    if (strip_) return;
    state_ = &state;
    strip_ = new PictureStrip(state, viewport());
    panel_ = new PicturePanel(state, viewport());
    gallery_ = new PhotoGallery(*panel_, viewport());
    connect(strip_, &PictureStrip::picked, this, [this](int family) {
        if (gallery_->running()) gallery_->stop();
        panel_->resize(std::min(640, viewport()->width() - 20), std::min(520, viewport()->height() - 20));
        panel_->move((viewport()->width() - panel_->width()) / 2, std::max(0, (viewport()->height() - panel_->height()) / 3));
        panel_->showFamily(family, panel_->size() - QSize(40, 70));
    });
    connect(gallery_, &PhotoGallery::runningChanged, this, [this](bool running) {
        strip_->setVisible(!running && subWindowList().isEmpty());
        placeOverlays();
    });
    placeOverlays();
    updateOverlays();
}

void WelcomeArea::applyLanguage() {
    if (strip_) strip_->applyLanguage();
    if (gallery_) gallery_->applyLanguage(state_->language);
    if (panel_ && panel_->isVisible() && panel_->family() >= 0)
        panel_->showFamily(panel_->family(), panel_->size() - QSize(40, 70));
    viewport()->update();
}

void WelcomeArea::updateOverlays() {
    if (!strip_) return;
    const bool free = subWindowList().isEmpty();
    strip_->setVisible(free && !gallery_->running());
    gallery_->setVisible(free);
    if (!free) {
        if (gallery_->running()) gallery_->stop();
        panel_->hide();
    }
    placeOverlays();
    viewport()->update();
}

void WelcomeArea::placeOverlays() {
    if (!strip_) return;
    const QSize v = viewport()->size();
    const QSize g = gallery_->sizeHint();
    const int stripHeight = strip_->isVisible() ? strip_->sizeHint().height() : 0;
    strip_->setGeometry(0, v.height() - stripHeight, v.width(), stripHeight);
    gallery_->setGeometry(v.width() - g.width() - 8, v.height() - stripHeight - g.height() - 6, g.width(), g.height());
}

void WelcomeArea::resizeEvent(QResizeEvent* event) {
    QMdiArea::resizeEvent(event);
    placeOverlays();
}

void WelcomeArea::setPicture(const QPixmap& picture) {
    picture_ = picture;
    viewport()->update();
}

QRect WelcomeArea::PictureRect(const QSize& picture, const QSize& viewport) {
    if (picture.isEmpty() || viewport.isEmpty()) return {};
    const QSize target = picture.scaled(QSize(viewport.width() * 9 / 10, viewport.height() * 9 / 10),
                                        Qt::KeepAspectRatio);
    const int x = (viewport.width() - target.width()) / 2;
    const int y = (viewport.height() - target.height()) / 3;
    return QRect(QPoint(x, y), target);
}

void WelcomeArea::paintEvent(QPaintEvent* event) {
    QMdiArea::paintEvent(event);
    if (picture_.isNull() || !subWindowList().isEmpty()) return;
    QPainter p(viewport());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // The picture keeps clear of the thumbnail strip.
    QSize free = viewport()->size();
    if (strip_ && strip_->isVisible()) free.rheight() -= strip_->height();
    p.drawPixmap(PictureRect(picture_.size(), free), picture_);
}

}  // namespace zorva
