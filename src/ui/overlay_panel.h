#pragma once
// The base of the panels that lie over the drawing window's image (file output, polar-style
// text, the cone-shadow dial's information): their own background and frame, hidden until
// the window asks for them.

#include <QFrame>

class QPlainTextEdit;
class QPushButton;

namespace zorva {

class OverlayPanel : public QFrame {
    Q_OBJECT
public:
    OverlayPanel(const char* name, QWidget* parent);

signals:
    // The user closed the panel with its own button.
    void closed();

protected:
    // A button of the panel that hides it and reports closed().
    QPushButton* newCloseButton(const char* name);
    // Read-only, unwrapped text in a fixed-width font: the listings are laid out in columns.
    QPlainTextEdit* newListing(const char* name);
};

}  // namespace zorva
