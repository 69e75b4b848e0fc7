#pragma once
// A UserDialogs that records every box and answers questions from a script.
// Used by tests (to assert exact texts) and by zorva-cli (which answers the safe choice).

#include "text/user_dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace zorva {

struct DialogEvent {
    enum Kind { Inform, Ask, AskText } kind;
    QString caption;
    QString text;
    Icon icon;
    Buttons buttons;
    Answer answer;  // for Ask
};

class RecordingDialogs : public UserDialogs {
public:
    void inform(const QString& caption, const QString& text, Icon icon = Icon::Information) override;
    Answer ask(const QString& caption, const QString& text, Buttons buttons,
               Icon icon = Icon::Question) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt,
                                   const QString& initial) override;

    // Answers given in order; when exhausted, questions get the safe answer
    // (No for Yes/No boxes, Cancel otherwise, the initial text for input boxes).
    std::deque<Answer> answers;
    // With no scripted answer left: Yes / OK to everything instead of the safe choice.
    bool answerAll = false;
    std::deque<std::optional<QString>> textAnswers;
    // Called for every event as it happens (zorva-cli prints them).
    std::function<void(const DialogEvent&)> onEvent;

    std::vector<DialogEvent> events;
    QStringList texts() const;  // the text of every event, in order
    bool contains(const QString& fragment) const;
    void clear() { events.clear(); }
};

}  // namespace zorva
