#pragma once
// A text of one place written in both languages where it is used (UTF-8 literals). Texts
// that several places say, or that callers rely on, are named texts (named_texts.h).

#include "text/language.h"

#include <QString>

namespace zorva {

inline QString Tr(Language lang, const char* german, const char* english) {
    return QString::fromUtf8(lang == Language::English ? english : german);
}

// Such a text kept in a table of the place that says it.
struct BilingualText {
    const char* german;
    const char* english;
    QString in(Language lang) const { return Tr(lang, german, english); }
};

}  // namespace zorva
