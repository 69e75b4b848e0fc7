#include "ui/shadow_controls.h"

#include "text/named_texts.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace zorva {
namespace {

constexpr int kMinutesPerDay = 24 * 60;
// The animation runs a day in about 14 seconds: five minutes every 50 ms.
constexpr int kPlayStepMinutes = 5;
constexpr int kPlayIntervalMs = 50;

}  // namespace

ShadowControls::ShadowControls(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("shadowControls"));
    clock_ = [] { return QDateTime::currentDateTimeUtc(); };
    toggle_ = new QCheckBox(this);
    toggle_->setObjectName(QStringLiteral("shadowToggle"));
    date_ = new QDateEdit(this);
    date_->setObjectName(QStringLiteral("shadowDate"));
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date_->setCalendarPopup(true);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("shadowTime"));
    slider_->setRange(0, kMinutesPerDay - 1);
    slider_->setPageStep(60);
    time_ = new QLabel(this);
    play_ = new QPushButton(this);
    play_->setObjectName(QStringLiteral("shadowPlay"));
    play_->setCheckable(true);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("shadowStatus"));
    status_->setWordWrap(true);
    minuteTimer_ = new QTimer(this);
    minuteTimer_->setInterval(60 * 1000);
    playTimer_ = new QTimer(this);
    playTimer_->setInterval(kPlayIntervalMs);

    auto* row = new QHBoxLayout;
    row->addWidget(slider_, 1);
    row->addWidget(time_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toggle_);
    layout->addWidget(date_);
    layout->addLayout(row);
    layout->addWidget(play_);
    layout->addWidget(status_);

    connect(toggle_, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            setToNow();
            minuteTimer_->start();
        } else {
            minuteTimer_->stop();
            setPlaying(false);
            status_->clear();
        }
        date_->setEnabled(on);
        slider_->setEnabled(on);
        play_->setEnabled(on);
        emit changed();
    });
    connect(slider_, &QSlider::valueChanged, this, [this](int minutes) {
        time_->setText(QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0')));
        if (!setting_) userMoved();
    });
    connect(date_, &QDateEdit::dateChanged, this, [this] {
        if (!setting_) userMoved();
    });
    connect(play_, &QPushButton::toggled, this, [this](bool on) { setPlaying(on); });
    connect(minuteTimer_, &QTimer::timeout, this, &ShadowControls::minuteTick);
    connect(playTimer_, &QTimer::timeout, this, &ShadowControls::playStep);
    date_->setEnabled(false);
    slider_->setEnabled(false);
    play_->setEnabled(false);
    applyLanguage(lang_);
}

void ShadowControls::applyLanguage(Language lang) {
    lang_ = lang;
    toggle_->setText(ShadowToggleText(lang));
    play_->setText(TextOf(playing() ? TextId::ShadowPause : TextId::ShadowPlayDay, lang));
    slider_->setToolTip(TextOf(TextId::ShadowTimeTip, lang));
}

std::optional<ShadowMoment> ShadowControls::moment() const {
    if (!toggle_->isChecked()) return std::nullopt;
    const QDate d = date_->date();
    return ShadowMoment{d.year(), d.month(), d.day(), slider_->value() / 60.0};
}

void ShadowControls::setStatus(const QString& text) { status_->setText(text); }
QString ShadowControls::status() const { return status_->text(); }
bool ShadowControls::playing() const { return playTimer_->isActive(); }

void ShadowControls::setToNow() {
    // Standard time of the zone meridian: no daylight saving, as the dial's lines.
    const QDateTime zone = clock_().toUTC().addSecs(static_cast<qint64>(std::lround(-zoneMeridian_ / 15.0 * 3600)));
    setting_ = true;
    date_->setDate(zone.date());
    slider_->setValue(zone.time().hour() * 60 + zone.time().minute());
    setting_ = false;
    followClock_ = true;
}

void ShadowControls::userMoved() {
    followClock_ = false;
    emit changed();
}

void ShadowControls::minuteTick() {
    if (!toggle_->isChecked() || !followClock_ || playing()) return;
    setToNow();
    emit changed();
}

void ShadowControls::setPlaying(bool on) {
    if (on == playing()) return;
    if (on) {
        followClock_ = false;
        playTimer_->start();
    } else {
        playTimer_->stop();
    }
    setting_ = true;
    play_->setChecked(on);
    setting_ = false;
    play_->setText(TextOf(on ? TextId::ShadowPause : TextId::ShadowPlayDay, lang_));
}

void ShadowControls::playStep() {
    const int next = slider_->value() + kPlayStepMinutes;
    setting_ = true;
    slider_->setValue(next % kMinutesPerDay);
    setting_ = false;
    // The day ends the animation at midnight.
    if (next >= kMinutesPerDay) setPlaying(false);
    emit changed();
}

}  // namespace zorva
