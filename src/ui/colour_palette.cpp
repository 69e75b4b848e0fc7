#include "ui/colour_palette.h"

#include "dials/dial_context.h"
#include "state/settings_file.h"
#include "text/colour_legend.h"
#include "text/named_texts.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace zorva {
namespace {

constexpr int kWidths = 5;
constexpr int kSampleWidth = 46;
constexpr int kSampleHeight = 300;

QColor ToQColor(Rgb rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
Rgb FromQColor(const QColor& c) {
    return (static_cast<Rgb>(c.red()) << 16) | (static_cast<Rgb>(c.green()) << 8) | static_cast<Rgb>(c.blue());
}

}  // namespace

int LegendTitleFor(const DialState& s) {
    switch (s.dialType) {
        case 'h':
        case 'v':
        case 'i': return s.umbrellaDial ? 31 : 30;
        case 'q': return 32;
        case 'z': return 33;
        case 'k': return 34;
        case 'r': return 35;
        case 'a': return 36;
        case 'c': return 37;
        case 'm': return 38;
        default: return 30;
    }
}

ColourPalette::ColourPalette(DialState& state, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), state_(state), dialogs_(dialogs) {
    setObjectName(QStringLiteral("colourPalette"));
    setWindowFlag(Qt::Tool);
    chooser_ = [this](Rgb current, const QString& title) -> std::optional<Rgb> {
        const QColor c = QColorDialog::getColor(ToQColor(current), this, title);
        if (!c.isValid()) return std::nullopt;
        return FromQColor(c);
    };

    auto* outer = new QHBoxLayout(this);
    auto* swatchGrid = new QGridLayout;
    for (int k = 0; k < 12; ++k) {
        swatchLabels_[k] = new QLabel;
        swatches_[k] = new QPushButton;
        swatches_[k]->setObjectName(QStringLiteral("colour%1").arg(k + 1));
        swatches_[k]->setFixedSize(48, 20);
        swatches_[k]->setAutoDefault(false);
        swatchLabels_[k]->setBuddy(swatches_[k]);
        swatchGrid->addWidget(swatchLabels_[k], k, 0);
        swatchGrid->addWidget(swatches_[k], k, 1);
        connect(swatches_[k], &QPushButton::clicked, this, [this, k] { chooseColour(k + 1); });
    }
    auto* left = new QVBoxLayout;
    left->addLayout(swatchGrid);
    widthBox_ = new QGroupBox;
    widthBox_->setObjectName(QStringLiteral("lineWidthBox"));
    auto* widthLayout = new QHBoxLayout(widthBox_);
    widthGroup_ = new QButtonGroup(this);
    for (int k = 0; k < kWidths; ++k) {
        auto* r = new QRadioButton(QString::number(k + 1));
        r->setObjectName(QStringLiteral("lineWidth%1").arg(k + 1));
        widthGroup_->addButton(r, k);
        widthLayout->addWidget(r);
    }
    connect(widthGroup_, &QButtonGroup::idClicked, this, [this](int k) { setLineWidth(k + 1); });
    left->addWidget(widthBox_);
    outer->addLayout(left);

    sampleLabel_ = new QLabel;
    sampleLabel_->setObjectName(QStringLiteral("sampleImage"));
    sampleLabel_->setFrameShape(QFrame::Box);
    outer->addWidget(sampleLabel_, 0, Qt::AlignTop);

    auto* right = new QVBoxLayout;
    legendCaption_ = new QLabel;
    legendCaption_->setObjectName(QStringLiteral("legendCaption"));
    QFont bold = legendCaption_->font();
    bold.setBold(true);
    legendCaption_->setFont(bold);
    right->addWidget(legendCaption_);
    auto* legend = new QGridLayout;
    for (int i = 0; i < 12; ++i) {
        legendColour_[i] = new QLabel;
        legendColour_[i]->setObjectName(QStringLiteral("legendColour%1").arg(i + 1));
        legendRole_[i] = new QLabel;
        legendRole_[i]->setObjectName(QStringLiteral("legendRole%1").arg(i + 1));
        legend->addWidget(legendColour_[i], i, 0);
        legend->addWidget(legendRole_[i], i, 1);
    }
    legend->setColumnStretch(1, 1);
    right->addLayout(legend);
    right->addStretch(1);
    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name) {
        auto* b = new QPushButton;
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    saveButton_ = button("saveColours");
    loadButton_ = button("loadColours");
    resetButton_ = button("resetColours");
    buttons->addStretch(1);
    closeButton_ = button("closePalette");
    right->addLayout(buttons);
    outer->addLayout(right, 1);

    connect(saveButton_, &QPushButton::clicked, this, [this] { SaveColours(state_, settingsPath_, dialogs_); });
    connect(loadButton_, &QPushButton::clicked, this, [this] {
        LoadColours(state_, settingsPath_, dialogs_);
        updateSwatches();
        drawSample();
        emit coloursChanged();
    });
    connect(resetButton_, &QPushButton::clicked, this, [this] {
        ResetColours(state_);
        updateSwatches();
        drawSample();
        emit coloursChanged();
    });
    connect(closeButton_, &QPushButton::clicked, this, [this] {
        hide();
        emit closed();
    });
    applyLanguage();
    refresh();
}

void ColourPalette::applyLanguage() {
    const Language l = state_.language;
    setWindowTitle(TextOf(TextId::PaletteTitle, l));
    for (int k = 0; k < 12; ++k)
        swatchLabels_[k]->setText(TextOf(TextId::ColourNumberColon, l).arg(k + 1));
    widthBox_->setTitle(TextOf(TextId::LineWidthButton, l));
    saveButton_->setText(TextOf(TextId::SaveColoursButton, l));
    loadButton_->setText(TextOf(TextId::LoadColoursButton, l));
    resetButton_->setText(TextOf(TextId::ResetColoursButton, l));
    sampleLabel_->setToolTip(l == Language::English ? QStringLiteral("shows the actual color set")
                                                    : QStringLiteral("zeigt die aktuellen Farben"));
    closeButton_->setText(TextOf(TextId::CloseButton, l));
    refresh();
}

QString ColourPalette::legendCaption() const { return legendCaption_->text(); }

std::array<std::pair<QString, QString>, 12> ColourPalette::legendRows() const {
    std::array<std::pair<QString, QString>, 12> rows;
    for (int i = 0; i < 12; ++i) rows[i] = {legendColour_[i]->text(), legendRole_[i]->text()};
    return rows;
}

void ColourPalette::refresh() {
    const Language l = state_.language;
    legendCaption_->setText(QStringLiteral(" ") + ColourLegendHeading(l) + title(LegendTitleFor(state_), l) +
                            QLatin1Char(':'));
    for (int i = 0; i < 12; ++i) {
        const ColourLegendRow row = ColourLegendRowAt(state_.legendOffset, i + 1, l);
        legendColour_[i]->setText(row.colour);
        legendRole_[i]->setText(row.role);
    }
    const int width = std::clamp(state_.lineWidth - '0', 1, kWidths);
    if (QAbstractButton* b = widthGroup_->button(width - 1)) b->setChecked(true);
    updateSwatches();
    drawSample();
}

void ColourPalette::updateSwatches() {
    for (int k = 0; k < 12; ++k) {
        const QColor c = ToQColor(state_.colours[static_cast<size_t>(k)]);
        swatches_[k]->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid #404040;").arg(c.name()));
        swatches_[k]->setToolTip(c.name());
    }
}

void ColourPalette::drawSample(int marked) {
    sample_ = QImage(kSampleWidth, kSampleHeight, QImage::Format_RGB32);
    sample_.fill(Qt::white);
    QPainter p(&sample_);
    const int width = LineWidthOf(state_);
    for (int i = 0; i < 12; ++i) {
        const int y = 8 + static_cast<int>(std::lround(kSampleHeight / 21.35 / 1.14 * 2 * i));
        p.setPen(QPen(ToQColor(state_.colours[static_cast<size_t>(i)]), width));
        p.drawLine(10, y, 35, y);
        if (i == marked) {
            p.setPen(QPen(Qt::black, 1, Qt::DotLine));
            p.drawRect(6, y - 4 - width / 2, 33, 8 + width);
        }
    }
    p.end();
    sampleLabel_->setPixmap(QPixmap::fromImage(sample_));
}

void ColourPalette::chooseColour(int k) {
    if (k < 1 || k > 12) return;
    drawSample(k - 1);
    const Language l = state_.language;
    const std::optional<Rgb> chosen =
        chooser_ ? chooser_(state_.colours[static_cast<size_t>(k - 1)], TextOf(TextId::ColourNumber, l).arg(k))
                 : std::nullopt;
    if (chosen) {
        state_.colours[static_cast<size_t>(k - 1)] = *chosen & 0xFFFFFF;
        // The bi-azimuthal and mean-time dials draw their second map layer in colour 12.
        if (state_.legendOffset > 59) state_.colours[11] = state_.colours[9];
        updateSwatches();
        emit coloursChanged();
    }
    drawSample();
}

void ColourPalette::setLineWidth(int width) {
    width = std::clamp(width, 1, kWidths);
    state_.lineWidth = static_cast<char>('0' + width);
    if (QAbstractButton* b = widthGroup_->button(width - 1)) b->setChecked(true);
    drawSample();
    emit coloursChanged();
}

void ColourPalette::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void ColourPalette::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        emit closed();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace zorva
