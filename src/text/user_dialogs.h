#pragma once
// How the core talks to the user: message boxes, questions, input boxes.
// The GUI implements it with QMessageBox, zorva-cli on the console, tests with a recorder.

#include <QString>
#include <optional>

namespace zorva {

enum class Icon { None, Warning, Error, Information, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual void inform(const QString& caption, const QString& text, Icon icon = Icon::Information) = 0;
    virtual Answer ask(const QString& caption, const QString& text, Buttons buttons,
                       Icon icon = Icon::Question) = 0;
    // A one-line input box; nullopt when cancelled.
    virtual std::optional<QString> askText(const QString& caption, const QString& prompt,
                                           const QString& initial) = 0;
    virtual void beep() {}
};

}  // namespace zorva
