#include "text/recording_dialogs.h"

namespace zorva {

void RecordingDialogs::inform(const QString& caption, const QString& text, Icon icon) {
    events.push_back({DialogEvent::Inform, caption, text, icon, Buttons::Ok, Answer::Ok});
    if (onEvent) onEvent(events.back());
}

Answer RecordingDialogs::ask(const QString& caption, const QString& text, Buttons buttons, Icon icon) {
    Answer a;
    if (!answers.empty()) {
        a = answers.front();
        answers.pop_front();
    } else if (answerAll) {
        a = (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes : Answer::Ok;
    } else {
        a = (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::No : Answer::Cancel;
        if (buttons == Buttons::Ok) a = Answer::Ok;
    }
    events.push_back({DialogEvent::Ask, caption, text, icon, buttons, a});
    if (onEvent) onEvent(events.back());
    return a;
}

std::optional<QString> RecordingDialogs::askText(const QString& caption, const QString& prompt,
                                                 const QString& initial) {
    std::optional<QString> a = initial;
    if (!textAnswers.empty()) {
        a = textAnswers.front();
        textAnswers.pop_front();
    }
    events.push_back({DialogEvent::AskText, caption, prompt, Icon::Question, Buttons::OkCancel,
                      a ? Answer::Ok : Answer::Cancel});
    if (onEvent) onEvent(events.back());
    return a;
}

QStringList RecordingDialogs::texts() const {
    QStringList out;
    for (const auto& e : events) out << e.text;
    return out;
}

bool RecordingDialogs::contains(const QString& fragment) const {
    for (const auto& e : events)
        if (e.text.contains(fragment)) return true;
    return false;
}

}  // namespace zorva
