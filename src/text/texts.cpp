#include "text/texts.h"
#include "text/month_names.h"

#include "text/tables_internal.h"

namespace zorva {
namespace {

const TextEntry* find(const TextEntry* table, int size, int n) {
    // Tables are stored in ascending order, most of them dense from 0.
    if (n >= 0 && n < size && table[n].number == n) return &table[n];
    int lo = 0, hi = size - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        if (table[mid].number == n) return &table[mid];
        if (table[mid].number < n) lo = mid + 1; else hi = mid - 1;
    }
    return nullptr;
}

QString pick(const TextEntry* e, Language lang) {
    if (!e) return {};
    return QString::fromUtf8(lang == Language::English ? e->english : e->german);
}

struct CaptionPair { const char* german; const char* english; };
const CaptionPair kCaptions[] = {
    {"ZORVA.EXE - Achtung!", "ZORVA.EXE - Attention!"},
    {"ZORVA.EXE - Warnung!", "ZORVA.EXE - Warning!"},
    {"ZORVA.EXE - Fehler!", "ZORVA.EXE - Error!"},
    {"ZORVA.EXE - Information!", "ZORVA.EXE - Information!"},
    {"ZORVA.EXE - Problem!", "ZORVA.EXE - Problem!"},
    {"ZORVA.EXE - Was nun?", "ZORVA.EXE - Question"},
    {"ZORVA.EXE - Zeichnung als Datei speichern", "ZORVA.EXE - Save as Graphics File"},
    {"ZORVA.EXE - Konstruktionsdaten speichern", "ZORVA.EXE - Save Construction Data"},
    {"ZORVA.EXE - Konstruktionsdaten laden", "ZORVA.EXE - Load Construction Data"},
    {"ZORVA.EXE - Tabelle speichern", "ZORVA.EXE - Save Table"},
};

}  // namespace

QString title(int n, Language lang) { return pick(find(kTitles, kTitlesSize, n), lang); }
QString label(int n, Language lang) { return pick(find(kLabels, kLabelsSize, n), lang); }
QString message(int n, Language lang) { return pick(find(kMessages, kMessagesSize, n), lang); }

QString caption(CaptionKind kind, Language lang) {
    const auto& c = kCaptions[static_cast<int>(kind)];
    return QString::fromUtf8(lang == Language::English ? c.english : c.german);
}

QString resourceText(int n, Language lang) { return pick(find(kResources, kResourcesSize, n), lang); }

QString resourceTextPlain(int n, Language lang) { return resourceText(n, lang).remove(QLatin1Char('&')); }

bool hasResource(int n) { return find(kResources, kResourcesSize, n) != nullptr; }

QStringList menuCaptions(Language lang) {
    QStringList out;
    const char* const* src = lang == Language::English ? kMenuCaptionsEnglish : kMenuCaptionsGerman;
    for (int i = 0; i < kMenuCaptionsSize; ++i) out << QString::fromUtf8(src[i]);
    return out;
}

TextTable titleTable() { return {kTitles, kTitlesSize}; }
TextTable labelTable() { return {kLabels, kLabelsSize}; }
TextTable messageTable() { return {kMessages, kMessagesSize}; }
TextTable resourceTable() { return {kResources, kResourcesSize}; }

QString ShortMonthName(int month, Language lang) {
    static const char* const kGerman[12] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                            "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    static const char* const kEnglish[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month < 1 || month > 12) return {};
    return QString::fromUtf8((lang == Language::English ? kEnglish : kGerman)[month - 1]);
}

}  // namespace zorva
