#include "ui/hollander_panel.h"

#include "dials/canvas_painter.h"
#include "dials/hollander_dial.h"
#include "state/dial_state.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

HollanderPanel::HollanderPanel(const DialState& state, QWidget* parent)
    : OverlayPanel("hollanderPanel", parent), state_(state) {
    text_ = newListing("hollanderText");
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("hollanderGraphic"));
    picture_->setMinimumSize(1, 1);
    picture_->setAlignment(Qt::AlignCenter);
    closeButton_ = newCloseButton("hollanderClose");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addWidget(picture_, 1);
    layout->addLayout(buttons);
    applyLanguage();
}

void HollanderPanel::applyLanguage() {
    closeButton_->setText(state_.english() ? QStringLiteral("&Close") : QStringLiteral("&Schließen"));
    if (!isVisible()) return;
    if (text_->isVisible()) showInformation();
    else showGraphic();
}

void HollanderPanel::showInformation() {
    lines_ = HollanderInformation(state_);
    text_->setPlainText(lines_.join(QLatin1Char('\n')));
    picture_->hide();
    text_->show();
    show();
    raise();
}

void HollanderPanel::showGraphic() {
    text_->hide();
    picture_->show();
    show();
    raise();
    renderGraphic();
}

void HollanderPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (picture_->isVisible()) renderGraphic();
}

void HollanderPanel::renderGraphic() {
    const QSize size = picture_->size().expandedTo(QSize(200, 150));
    graphic_ = QImage(size, QImage::Format_RGB32);
    graphic_.fill(Qt::white);
    const double u = ConeFitScale(state_, QSizeF(size));
    if (u > 0) {
        QPainter painter(&graphic_);
        painter.setRenderHint(QPainter::Antialiasing);
        CanvasPainter canvas(painter, state_.colours, QRectF(0, 0, size.width(), size.height()));
        DrawConeConstruction(state_, canvas, u, QRectF(0, 0, size.width(), size.height()));
    }
    picture_->setPixmap(QPixmap::fromImage(graphic_));
}

}  // namespace zorva
