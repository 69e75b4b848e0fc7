#pragma once
// The drawing window's polar-style information panel ("&StabInfo"): the text block of the
// dial's polar style for the current gnomon length and zoom, with a print button.

#include "ui/overlay_panel.h"

#include <QStringList>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace zorva {

struct DialState;

class PolarStylePanel : public OverlayPanel {
    Q_OBJECT
public:
    explicit PolarStylePanel(const DialState& state, QWidget* parent = nullptr);

    // Prints the lines; set by the drawing window (its printer and set-up).
    void setPrinter(std::function<bool(const QStringList&)> print) { print_ = std::move(print); }
    void applyLanguage();

    // Fills the text for the dial of the state and shows the panel.
    void showInformation();
    QStringList lines() const { return lines_; }
    bool print();

private:
    const DialState& state_;
    QStringList lines_;
    QPlainTextEdit* memo_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    std::function<bool(const QStringList&)> print_;
};

}  // namespace zorva
