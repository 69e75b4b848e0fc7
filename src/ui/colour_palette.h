#pragma once
// The colour palette: the twelve pen colours and the line width of the drawings, a sample
// strip of the current set and a legend of what each colour draws for the current dial family.

#include "state/dial_state.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;

namespace zorva {

class UserDialogs;

class ColourPalette : public QWidget {
    Q_OBJECT
public:
    // Asks the user for a colour; nullopt when the choice was cancelled.
    using ColourChooser = std::function<std::optional<Rgb>(Rgb current, const QString& title)>;

    ColourPalette(DialState& state, UserDialogs& dialogs, QWidget* parent = nullptr);

    void setSettingsPath(const QString& path) { settingsPath_ = path; }
    void setColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }

    // Fills swatches, line width and legend from the state (on every opening).
    void refresh();
    void applyLanguage();
    // Swatch k (1..12) clicked: choose its colour.
    void chooseColour(int k);
    void setLineWidth(int width);
    // The sample strip as shown: twelve strokes in the twelve colours.
    const QImage& sample() const { return sample_; }
    // Legend caption and rows as shown (colour text, role text).
    QString legendCaption() const;
    std::array<std::pair<QString, QString>, 12> legendRows() const;

signals:
    void coloursChanged();
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Closed by its window frame: the window under it takes over as after "Schliessen".
    void closeEvent(QCloseEvent* event) override;

private:
    void drawSample(int marked = -1);
    void updateSwatches();

    DialState& state_;
    UserDialogs& dialogs_;
    QString settingsPath_;
    ColourChooser chooser_;
    std::array<QPushButton*, 12> swatches_{};
    std::array<QLabel*, 12> swatchLabels_{};
    std::array<QLabel*, 12> legendColour_{};
    std::array<QLabel*, 12> legendRole_{};
    QLabel* legendCaption_ = nullptr;
    QLabel* sampleLabel_ = nullptr;
    QImage sample_;
    QGroupBox* widthBox_ = nullptr;
    QButtonGroup* widthGroup_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

// The family title of the palette's legend: titles 30 (planar) .. 38 (mean time).
int LegendTitleFor(const DialState& state);

}  // namespace zorva
