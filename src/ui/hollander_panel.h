#pragma once
// The drawing window's extra information for the cone-shadow dial: the text of <Info>
// (sign dates, the date line nearest to the cone, distances from the cone) and the graphic
// of <Grafik> (the cone's cross-section and unfolded mantle), shown over the drawing.

#include "ui/overlay_panel.h"

#include <QImage>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zorva {

struct DialState;

class HollanderPanel : public OverlayPanel {
    Q_OBJECT
public:
    explicit HollanderPanel(const DialState& state, QWidget* parent = nullptr);
    void applyLanguage();

    void showInformation();
    void showGraphic();
    QStringList lines() const { return lines_; }
    const QImage& graphic() const { return graphic_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void renderGraphic();

    const DialState& state_;
    QStringList lines_;
    QImage graphic_;
    QPlainTextEdit* text_ = nullptr;
    QLabel* picture_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

}  // namespace zorva
