#pragma once
// The bilingual text tables: titles, labels, messages, message-box captions,
// menu captions and the numbered string resources of the controls.

#include "text/language.h"

#include <QString>
#include <QStringList>

namespace zorva {

enum class CaptionKind {
    Achtung, Warning, Error, Information, Problem, Question,
    SaveDrawing, SaveData, LoadData, SaveTable
};

inline constexpr int kTitleCount = 46;
inline constexpr int kLabelCount = 235;
inline constexpr int kMessageCount = 72;
inline constexpr int kMenuCaptionCount = 43;

// Entry n in the given language; an unknown number yields an empty text.
QString title(int n, Language lang);
QString label(int n, Language lang);
QString message(int n, Language lang);
QString caption(CaptionKind kind, Language lang);
// String resource n (German numbering; the English twin is n + 2000).
QString resourceText(int n, Language lang);
// The same with every "&" removed, for captions used as value names.
QString resourceTextPlain(int n, Language lang);
bool hasResource(int n);
// The main menu's captions in menu order (top-level entry, its entries, sub-entries).
QStringList menuCaptions(Language lang);

// Raw table access for completeness checks.
struct TextEntry {
    int number;
    const char* german;  // UTF-8
    const char* english;
};
struct TextTable {
    const TextEntry* entries;
    int size;
};
TextTable titleTable();
TextTable labelTable();
TextTable messageTable();
TextTable resourceTable();

}  // namespace zorva
