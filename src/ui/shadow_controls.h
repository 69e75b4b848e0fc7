#pragma once
// The drawing window's controls of the sun's shadow: the toggle "Schatten jetzt" / "Shadow
// now", a date field and a time slider that move the shadow through the year and the day, a
// play button that runs the day, and the status line. While the user has not moved them, the
// moment follows the clock minute by minute.

#include "dials/live_shadow.h"

#include <QDateTime>
#include <QGroupBox>

#include <functional>
#include <optional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;

namespace zorva {

class ShadowControls : public QGroupBox {
    Q_OBJECT
public:
    explicit ShadowControls(QWidget* parent = nullptr);

    void applyLanguage(Language lang);
    // The zone meridian (degrees, west positive) whose standard time the moment is.
    void setZoneMeridian(double westDegrees) { zoneMeridian_ = westDegrees; }
    // The moment to show; nullopt while the toggle is off.
    std::optional<ShadowMoment> moment() const;
    void setStatus(const QString& text);
    QString status() const;
    bool followsClock() const { return followClock_; }
    bool playing() const;

    // --- for the tests
    QCheckBox* toggle() const { return toggle_; }
    QSlider* slider() const { return slider_; }
    QDateEdit* dateField() const { return date_; }
    QPushButton* playButton() const { return play_; }
    // Replaces the clock (UTC) the toggle and the minute timer read.
    void setClock(std::function<QDateTime()> utcNow) { clock_ = std::move(utcNow); }
    // One tick of the minute timer and one step of the animation.
    void minuteTick();
    void playStep();

signals:
    void changed();

private:
    void setToNow();
    void userMoved();
    void setPlaying(bool on);

    QCheckBox* toggle_ = nullptr;
    QDateEdit* date_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* time_ = nullptr;
    QPushButton* play_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* minuteTimer_ = nullptr;
    QTimer* playTimer_ = nullptr;
    std::function<QDateTime()> clock_;
    double zoneMeridian_ = -15.0;
    bool followClock_ = true;
    bool setting_ = false;  // the controls are being set by the program, not the user
    Language lang_ = Language::German;
};

}  // namespace zorva
