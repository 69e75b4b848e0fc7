#pragma once
// UserDialogs through QMessageBox and QInputDialog.

#include "text/user_dialogs.h"

class QWidget;

namespace zorva {

class QtDialogs : public UserDialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void inform(const QString& caption, const QString& text, Icon icon = Icon::Information) override;
    Answer ask(const QString& caption, const QString& text, Buttons buttons, Icon icon = Icon::Question) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt, const QString& initial) override;
    void beep() override;

private:
    QWidget* parent_;
};

// True when an installed font family has this name (case-insensitive).
bool FontInstalled(const QString& name);
// True when an installed font has every zodiac sign U+2648..U+2653 (the dials' date labels).
bool ZodiacSignsInstalled();

}  // namespace zorva
