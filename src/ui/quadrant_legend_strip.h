#pragma once
// The legend strip under a quadrant drawing: how the instrument of the drawing is read, and
// what each colour of the quadrant family draws, with the colours of the current palette.

#include "state/dial_state.h"

#include <QLabel>

namespace zorva {

// How the quadrant, Gunter quadrant or Habermel dial of the state is read, in its language.
QString QuadrantReadingText(const DialState& state);

class QuadrantLegendStrip : public QLabel {
    Q_OBJECT
public:
    explicit QuadrantLegendStrip(QWidget* parent = nullptr);
    // Fills the strip for the state's dial and colours (and language).
    void showFor(const DialState& state);
};

}  // namespace zorva
