#include "ui/dial_pictures.h"

#include "astro/angles.h"
#include "astro/solar_ephemeris.h"
#include "dials/dial_constructions.h"
#include "dials/dial_render.h"
#include "dials/quadrant_geometry.h"
#include "text/recording_dialogs.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

namespace zorva {
namespace {

struct FamilyEntry {
    const char* german;
    const char* english;
    std::function<void(DialState&)> set;
};

const std::vector<FamilyEntry>& Entries() {
    static const std::vector<FamilyEntry> entries = {
        {"Hirtensonnenuhr", "Shepherd's Dial", [](DialState& s) { s.dialType = 'z'; s.cylinderKind = 0; }},
        {"azimutale Zylindersonnenuhr", "Azimuthal Cylinder Dial", [](DialState& s) { s.dialType = 'a'; s.azimuthKind = 0; }},
        {"Zylindersonnenuhr mit Polstab", "Cylinder Dial with Polar Style", [](DialState& s) { s.dialType = 'z'; s.cylinderKind = 2; }},
        {"Hutsonnenuhr", "Hat Dial", [](DialState& s) { s.dialType = 'z'; s.cylinderKind = 1; }},
        {"horizontale Höhensonnenuhr", "Horizontal Altitude Dial", [](DialState& s) { s.dialType = 'k'; }},
        {"Höhensonnenuhren nach Habermel", "Habermel Altitude Dials", [](DialState& s) {
             s.dialType = 'q';
             s.quadrantKind = 1;
             // A gnomon whose disc the site allows (at most 150 mm across).
             const double perMm = HabermelDiameter(1, 1.0, s.latitude, ZodiacDeclinations(s.referenceYear).obliquity);
             if (perMm > 0 && std::isfinite(perMm)) s.quadrantGnomon = std::min(s.quadrantGnomon, std::max(9.0, 150.0 / perMm));
         }},
        {"Quadrantsonnenuhr", "Quadrant", [](DialState& s) { s.dialType = 'q'; s.quadrantKind = 0; }},
        {"stereographische Sonnenuhr", "Stereographic Dial",
         [](DialState& s) { s.dialType = 'a'; s.azimuthKind = 1; s.altitudeCircleSpacing = 2; }},
        {"Horizontoskop", "Horizontoscope",
         [](DialState& s) { s.dialType = 'a'; s.azimuthKind = 1; s.altitudeCircleSpacing = 1; }},
        {"Azimutalsonnenuhr", "Azimuthal Dial",
         [](DialState& s) { s.dialType = 'a'; s.azimuthKind = 1; s.altitudeCircleSpacing = 0; }},
        {"Schirmsonnenuhr", "Umbrella Dial", [](DialState& s) { s.dialType = 'h'; s.umbrellaDial = true; }},
        {"geneigte Schirmsonnenuhr", "Inclined Umbrella Dial",
         [](DialState& s) { s.dialType = 'i'; s.umbrellaDial = true; s.planeInclination = 30; }},
        {"Sonnenuhr für mittlere Zeit", "Mean Time Sundial", [](DialState& s) { s.dialType = 'm'; }},
        {"biazimutale Sonnenuhr", "Compressed Sundial", [](DialState& s) { s.dialType = 'c'; }},
        {"Ringsonnenuhr", "Ring Dial", [](DialState& s) { s.dialType = 'r'; s.rayDeflection = 0; }},
        {"Ringsonnenuhr mit Strahlablenkung", "Ring Dial with Ray Deflection", [](DialState& s) { s.dialType = 'r'; s.rayDeflection = 1; }},
        {"Bauernring, beide Skalen", "Farmers' Ring, Both Scales", [](DialState& s) { s.dialType = 'r'; s.rayDeflection = 2; }},
        {"horizontale Sonnenuhr", "Horizontal Dial", [](DialState& s) { s.dialType = 'h'; s.umbrellaDial = false; }},
        {"vertikale Sonnenuhr", "Vertical Dial", [](DialState& s) { s.dialType = 'v'; s.umbrellaDial = false; }},
        {"begehbare analemmatische Sonnenuhr", "Walk-on Analemmatic Dial", [](DialState& s) {
             s.addedKind = AddedKind::Analemmatic;
             s.analemmatic = WalkOnPreset();
             s.dialType = 'h';
         }},
        {"bifilare Sonnenuhr", "Bifilar Dial", [](DialState& s) {
             s.addedKind = AddedKind::Bifilar;
             s.dialType = 'h';
             s.bifilar.threadAMm = 50.0;
             s.bifilar.threadBMm = s.bifilar.threadAMm * std::abs(std::sin(s.latitude * kPi / 180.0));
         }},
    };
    return entries;
}

QPixmap CaptionTile(const QString& caption, const QSize& size) {
    QPixmap tile(size);
    tile.fill(QColor(0xF4, 0xF1, 0xE6));
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    const double r = std::min(size.width(), size.height()) / 10.0;
    const QPointF sun(size.width() / 2.0, size.height() * 0.3);
    p.setPen(QPen(QColor(0xC0, 0x80, 0x00), std::max(1.0, r / 6)));
    p.setBrush(QColor(0xFF, 0xD0, 0x40));
    p.drawEllipse(sun, r, r);
    for (int i = 0; i < 12; ++i) {
        const double a = i * 30.0 * kPi / 180.0;
        p.drawLine(sun + QPointF(std::cos(a), std::sin(a)) * r * 1.3, sun + QPointF(std::cos(a), std::sin(a)) * r * 1.7);
    }
    // The caption below the rays, as large as fits.
    const QRect box(3, static_cast<int>(sun.y() + r * 1.9) + 2, size.width() - 6,
                    size.height() - static_cast<int>(sun.y() + r * 1.9) - 4);
    QFont f = p.font();
    int pixels = std::max(7, size.height() / 12);
    for (; pixels > 7; --pixels) {
        f.setPixelSize(pixels);
        const QRect need = QFontMetrics(f).boundingRect(box, Qt::AlignHCenter | Qt::TextWordWrap, caption);
        if (need.height() <= box.height() && need.width() <= box.width()) break;
    }
    f.setPixelSize(pixels);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, caption);
    return tile;
}

}  // namespace

const std::vector<DialFamily>& DialFamilies() {
    static const std::vector<DialFamily> families = [] {
        std::vector<DialFamily> out;
        for (const FamilyEntry& e : Entries()) out.push_back({QString::fromUtf8(e.german), QString::fromUtf8(e.english)});
        return out;
    }();
    return families;
}

DialState FamilyPictureState(int family, const DialState& base) {
    DialState s = StartupState();
    s.latitude = base.latitude;
    s.longitude = base.longitude;
    s.zoneMeridian = base.zoneMeridian;
    s.referenceYear = base.referenceYear;
    s.zodiacDeclinations = base.zodiacDeclinations;
    s.language = base.language;
    s.colours = base.colours;
    s.lineWidth = base.lineWidth;
    if (family >= 0 && family < static_cast<int>(Entries().size())) Entries()[static_cast<size_t>(family)].set(s);
    s.legendOffset = LegendOffsetFor(s.dialType);
    return s;
}

QPixmap FamilyPicture(int family, const DialState& base, const QSize& size) {
    const DialState s = FamilyPictureState(family, base);
    const QString caption = family >= 0 && family < static_cast<int>(DialFamilies().size())
                                ? DialFamilies()[static_cast<size_t>(family)].caption(base.language)
                                : QString();
    if (!ConstructionFor(s)) return CaptionTile(caption, size);
    return DialThumbnail(s, size);
}

QPixmap DialThumbnail(const DialState& s, const QSize& size) {
    if (!ConstructionFor(s)) return {};
    // Pictures never ask: a construction's questions and refusals stay unseen here.
    RecordingDialogs quiet;
    const QSize drawn(std::max(size.width() * 2, 300), std::max(size.height() * 2, 200));
    const QImage image = RenderDialImage(s, drawn, quiet);
    return QPixmap::fromImage(image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

// --- strip

PictureStrip::PictureStrip(const DialState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("pictureStrip"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    caption_ = new QLabel;
    caption_->setObjectName(QStringLiteral("stripCaption"));
    caption_->setAlignment(Qt::AlignHCenter);
    layout->addWidget(caption_);
    auto* row = new QWidget;
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(2, 2, 2, 2);
    rowLayout->setSpacing(4);
    for (int i = 0; i < static_cast<int>(DialFamilies().size()); ++i) {
        auto* b = new QToolButton;
        b->setObjectName(QStringLiteral("thumbnail%1").arg(i));
        b->setIconSize(QSize(72, 54));
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, i] { emit picked(i); });
        rowLayout->addWidget(b);
        buttons_.push_back(b);
    }
    auto* scroll = new QScrollArea;
    scroll->setWidget(row);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setObjectName(QStringLiteral("stripScroll"));
    scroll->setAlignment(Qt::AlignCenter);  // under the centred caption, not at the left edge
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFixedHeight(row->sizeHint().height() + 18);
    layout->addWidget(scroll);
    applyLanguage();
}

void PictureStrip::applyLanguage() {
    const Language l = state_.language;
    caption_->setText(l == Language::English ? QStringLiteral("Sundials calculated by this program")
                                             : QStringLiteral("Sonnenuhren, die von diesem Programm berechnet werden"));
    for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->setToolTip(DialFamilies()[i].caption(l));
    // The thumbnails carry words too: draw them again in the new language.
    if (shownLanguage_ != l && rendered_ > 0) {
        const bool idle = rendered_ >= buttons_.size();
        rendered_ = 0;
        if (idle && isVisible()) QTimer::singleShot(0, this, &PictureStrip::renderNext);
    }
    shownLanguage_ = l;
}

void PictureStrip::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Thumbnails are drawn one per event-loop turn, so the window is usable at once.
    if (rendered_ < buttons_.size()) QTimer::singleShot(0, this, &PictureStrip::renderNext);
}

void PictureStrip::renderNext() {
    if (rendered_ >= buttons_.size()) return;
    QToolButton* b = buttons_[rendered_];
    b->setIcon(QIcon(FamilyPicture(static_cast<int>(rendered_), state_, b->iconSize())));
    ++rendered_;
    if (rendered_ < buttons_.size()) QTimer::singleShot(0, this, &PictureStrip::renderNext);
}

// --- panel

PicturePanel::PicturePanel(const DialState& state, QWidget* parent) : QFrame(parent), state_(state) {
    setObjectName(QStringLiteral("picturePanel"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    title_ = new QLabel;
    title_->setObjectName(QStringLiteral("pictureTitle"));
    QFont f = title_->font();
    f.setBold(true);
    title_->setFont(f);
    close_ = new QPushButton(QStringLiteral("X"));
    close_->setObjectName(QStringLiteral("pictureClose"));
    close_->setFixedWidth(28);
    top->addWidget(title_, 1);
    top->addWidget(close_);
    layout->addLayout(top);
    picture_ = new QLabel;
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture_, 1);
    connect(close_, &QPushButton::clicked, this, [this] {
        hide();
        emit closedByUser();
    });
    hide();
}

void PicturePanel::showFamily(int family, const QSize& pictureSize) {
    family_ = family;
    title_->setText(caption());
    picture_->setPixmap(FamilyPicture(family, state_, pictureSize));
    show();
    raise();
    setFocus();
}

QString PicturePanel::caption() const {
    if (family_ < 0 || family_ >= static_cast<int>(DialFamilies().size())) return {};
    return DialFamilies()[static_cast<size_t>(family_)].caption(state_.language);
}

void PicturePanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        emit closedByUser();
        return;
    }
    QFrame::keyPressEvent(event);
}

// --- gallery

PhotoGallery::PhotoGallery(PicturePanel& panel, QWidget* parent) : QWidget(parent), panel_(panel) {
    setObjectName(QStringLiteral("photoGallery"));
    timer_ = new QTimer(this);
    timer_->setInterval(2200);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    startButton_ = new QPushButton;
    startButton_->setObjectName(QStringLiteral("startGallery"));
    stopButton_ = new QPushButton;
    stopButton_->setObjectName(QStringLiteral("stopGallery"));
    speed_ = new QSlider(Qt::Horizontal);
    speed_->setObjectName(QStringLiteral("gallerySpeed"));
    speed_->setRange(5, 100);
    speed_->setValue(22);
    speed_->setFixedWidth(120);
    speedLabel_ = new QLabel(QStringLiteral("2.2 s"));
    speedLabel_->setObjectName(QStringLiteral("gallerySpeedLabel"));
    layout->addWidget(speed_);
    layout->addWidget(speedLabel_);
    layout->addWidget(stopButton_);
    layout->addWidget(startButton_);
    connect(startButton_, &QPushButton::clicked, this, &PhotoGallery::start);
    connect(stopButton_, &QPushButton::clicked, this, &PhotoGallery::stop);
    connect(timer_, &QTimer::timeout, this, &PhotoGallery::next);
    connect(speed_, &QSlider::valueChanged, this, [this](int position) {
        timer_->setInterval(position * 100);
        speedLabel_->setText(QString::number(position / 10.0) + QStringLiteral(" s"));
    });
    // The gallery also ends when the panel is closed by hand.
    connect(&panel_, &PicturePanel::closedByUser, this, [this] {
        if (running()) stop();
    });
    for (QWidget* w : {static_cast<QWidget*>(speed_), static_cast<QWidget*>(speedLabel_), static_cast<QWidget*>(stopButton_)})
        w->hide();
    applyLanguage(Language::German);
}

bool PhotoGallery::running() const { return timer_->isActive(); }
int PhotoGallery::intervalMs() const { return timer_->interval(); }

void PhotoGallery::applyLanguage(Language lang) {
    const bool en = lang == Language::English;
    startButton_->setText(en ? QStringLiteral(" &Start Photo Gallery ") : QStringLiteral(" &Fotogalerie starten "));
    stopButton_->setText(en ? QStringLiteral("&Stop") : QStringLiteral("&Anhalten"));
}

void PhotoGallery::start() {
    index_ = -1;
    panel_.resize(600, 600);
    if (QWidget* area = panel_.parentWidget())
        panel_.move((area->width() - panel_.width()) / 2, std::max(0, (area->height() - panel_.height()) / 2));
    next();
    startButton_->hide();
    for (QWidget* w : {static_cast<QWidget*>(speed_), static_cast<QWidget*>(speedLabel_), static_cast<QWidget*>(stopButton_)})
        w->show();
    timer_->start();
    emit runningChanged(true);
}

void PhotoGallery::stop() {
    timer_->stop();
    panel_.hide();
    panel_.move(120, 60);
    for (QWidget* w : {static_cast<QWidget*>(speed_), static_cast<QWidget*>(speedLabel_), static_cast<QWidget*>(stopButton_)})
        w->hide();
    startButton_->show();
    emit runningChanged(false);
}

void PhotoGallery::next() {
    // The gallery shows the dials this build draws; families without a construction are skipped.
    const int n = static_cast<int>(DialFamilies().size());
    for (int step = 0; step < n; ++step) {
        index_ = (index_ + 1) % n;
        if (ConstructionFor(FamilyPictureState(index_, panel_.state()))) break;
    }
    panel_.showFamily(index_, QSize(560, 520));
}

}  // namespace zorva
