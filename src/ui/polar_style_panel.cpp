#include "ui/polar_style_panel.h"

#include "dials/dial_geometry.h"
#include "dials/polar_style_info.h"
#include "state/dial_state.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

PolarStylePanel::PolarStylePanel(const DialState& state, QWidget* parent)
    : OverlayPanel("polarStylePanel", parent), state_(state) {
    memo_ = newListing("polarStyleText");
    printButton_ = new QPushButton(this);
    printButton_->setObjectName(QStringLiteral("polarStylePrint"));
    closeButton_ = newCloseButton("polarStyleClose");
    connect(printButton_, &QPushButton::clicked, this, [this] { print(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(printButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo_, 1);
    layout->addLayout(buttons);
    applyLanguage();
}

void PolarStylePanel::applyLanguage() {
    const bool en = state_.english();
    printButton_->setText(en ? QStringLiteral("&Print") : QStringLiteral("&Drucken"));
    closeButton_->setText(en ? QStringLiteral("&Close") : QStringLiteral("&Schließen"));
    if (isVisible()) showInformation();
}

void PolarStylePanel::showInformation() {
    // The gnomon as drawn: its length times the zoom, to hundredths of a millimetre.
    const ScaledGnomon g = ScaleGnomon(state_.gnomonLength, state_.zoomFactor);
    lines_ = PolarStyleInformation(PolarStyleInputFor(state_, g.gnomonMm)).lines;
    QString text = lines_.join(QLatin1Char('\n'));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    memo_->setPlainText(text);
    show();
}

bool PolarStylePanel::print() {
    if (!print_ || lines_.isEmpty()) return false;
    QStringList printed;
    for (const QString& l : lines_) printed << QString(l).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
    return print_(printed);
}

}  // namespace zorva
