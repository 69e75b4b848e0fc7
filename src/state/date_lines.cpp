#include "state/date_lines.h"

#include "state/text_lines.h"
#include "text/month_names.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QFileInfo>

namespace zorva {
namespace {

const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "Mai", "Jun",
                                     "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// A day or month number: optional leading blanks, then one or two digits.
bool ParseSmallNumber(const QString& text, int& value) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 2) return false;
    int v = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
        v = v * 10 + (c.unicode() - '0');
    }
    value = v;
    return true;
}

QString TwoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

void ReportBadDate(const QString& text, UserDialogs& dialogs, Language lang) {
    dialogs.inform(caption(CaptionKind::Error, lang), text + QLatin1String(": ") + message(57, lang), Icon::Error);
}

void ReportWriteFailure(const QString& path, UserDialogs& dialogs, Language lang, const SaveError& error = {}) {
    const QString reason = SaveErrorText(error, lang);
    dialogs.inform(caption(CaptionKind::Error, lang),
                   path + QLatin1String(" :\r\n") + message(18, lang) +
                       (reason.isEmpty() ? QString() : QStringLiteral("\r\n") + reason),
                   Icon::Error);
}

// The valid, non-empty lines of `lines`, the others reported.
QStringList ValidLines(const QStringList& lines, int referenceYear, UserDialogs& dialogs, Language lang) {
    QStringList out;
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty()) continue;
        if (ValidateDateLine(line, referenceYear, &dialogs, lang).valid) out << line;
    }
    return out;
}

}  // namespace

DateLineCheck ValidateDateLine(const QString& text, int referenceYear, UserDialogs* dialogs, Language lang) {
    DateLineCheck r;
    int day = 0;
    int month = 0;
    bool ok = !text.isEmpty();
    if (ok) {
        const bool oneDigitDay = text.size() < 2 || text[1] == QLatin1Char(' ') || text[1] == QLatin1Char('/');
        ok = ParseSmallNumber(text.left(oneDigitDay ? 1 : 2), day);
    }
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    if (ok) ok = slash >= 0;
    if (ok) {
        QString monthText = text.mid(slash + 1, 2);
        if (monthText.size() == 2 && monthText[1] == QLatin1Char(' ')) monthText.chop(1);
        ok = ParseSmallNumber(monthText, month);
    }
    if (ok) {
        const bool thirtyDays = month == 4 || month == 6 || month == 9 || month == 11;
        ok = month >= 1 && month <= 12 && day >= 1 && day <= 31 && !(thirtyDays && day > 30) &&
             !(month == 2 && day > 29) && !(month == 2 && day == 29 && !IsLeapYear(referenceYear));
    }
    if (!ok) {
        if (dialogs) ReportBadDate(text, *dialogs, lang);
        return r;
    }
    r.valid = true;
    r.key = month * 100 + day;
    r.date = TwoDigits(day) + QLatin1Char('/') + TwoDigits(month);
    r.comment = TwoDigits(day) + QLatin1String(". ") + QLatin1String(kMonthNames[month - 1]);
    return r;
}

QString FormatDateLine(const DateLineCheck& check) {
    return check.date + QLatin1String("    ( ") + check.comment + QLatin1String(" )");
}

QString DateLineDisplayText(const QString& entry, Language lang) {
    const DateLineCheck check = ValidateDateLine(entry, 2000);
    if (!check.valid) return entry;
    const int day = check.key % 100;
    const QString name = ShortMonthName(check.key / 100, lang);
    const QString dayText = lang == Language::English ? QString::number(day) : TwoDigits(day) + QLatin1Char('.');
    return check.date + QLatin1String("    ( ") + dayText + QLatin1Char(' ') + name + QLatin1String(" )");
}

int SortedInsertIndex(const QStringList& list, int key) {
    int i = 0;
    // Ordering does not depend on the year; 2000 lets 29/02 take its place.
    while (i < list.size() && ValidateDateLine(list[i], 2000).key <= key) ++i;
    return i;
}

QStringList DefaultDateLines() {
    return {QStringLiteral("21/03    ( 21. März )"), QStringLiteral("21/06    ( 21. Juni )"),
            QStringLiteral("21/12    ( 21. Dezember )")};
}

bool SaveDateLineFile(const QStringList& entries, const QString& path, int referenceYear,
                      UserDialogs& dialogs, Language lang) {
    SaveError error;
    if (WriteLineFile(path, ValidLines(entries, referenceYear, dialogs, lang), &error)) return true;
    ReportWriteFailure(path, dialogs, lang, error);
    return false;
}

bool LoadDateLineFile(DialState& s, const QString& path, UserDialogs& dialogs) {
    QStringList lines;
    if (ReadLineFile(path, lines) != LineFileStatus::Ok) {
        dialogs.inform(caption(CaptionKind::Error, s.language), path + message(29, s.language), Icon::Error);
        return false;
    }
    s.dateLineList = ValidLines(lines, s.referenceYear, dialogs, s.language);
    return true;
}

bool SaveDateLines(const DialState& s, const QStringList& dialogList, const QString& settingsPath,
                   UserDialogs& dialogs) {
    const Language lang = s.language;
    QStringList lines;
    const LineFileStatus status = ReadLineFile(settingsPath, lines);
    if (status == LineFileStatus::Missing) {
        // Without a settings file there is no section to replace; say so instead of doing nothing.
        dialogs.inform(caption(CaptionKind::Problem, lang), settingsPath + message(33, lang), Icon::Warning);
        return false;
    }
    if (status != LineFileStatus::Ok) {
        ReportWriteFailure(settingsPath, dialogs, lang);
        return false;
    }
    const qsizetype marker = lines.indexOf(QStringLiteral("[Datumslinien]"));
    if (marker >= 0) lines.erase(lines.begin() + marker, lines.end());
    lines << QStringLiteral("[Datumslinien]");
    lines << ValidLines(dialogList, s.referenceYear, dialogs, lang);
    SaveError error;
    if (WriteLineFile(settingsPath, lines, &error)) return true;
    ReportWriteFailure(settingsPath, dialogs, lang, error);
    return false;
}

bool LoadDateLines(DialState& s, QStringList* dialogList, const QString& settingsPath,
                   const QString& dateLinesPath, UserDialogs& dialogs) {
    QStringList lines;
    if (ReadLineFile(settingsPath, lines) != LineFileStatus::Ok) lines.clear();
    const qsizetype marker = lines.indexOf(QStringLiteral("[Datumslinien]"));
    if (marker >= 0 && marker + 1 < lines.size()) {
        s.dateLineList = ValidLines(lines.mid(marker + 1), s.referenceYear, dialogs, s.language);
        if (dialogList) *dialogList = s.dateLineList;
        return true;
    }
    if (QFileInfo::exists(dateLinesPath)) {
        if (!LoadDateLineFile(s, dateLinesPath, dialogs)) return false;
        // The dialog shows what the state now holds.
        if (dialogList) *dialogList = s.dateLineList;
        return true;
    }
    dialogs.inform(caption(CaptionKind::Problem, s.language), message(63, s.language) + message(29, s.language),
                   Icon::Warning);
    return false;
}

void FillEmptyDateLines(DialState& s, const QString& dateLinesPath, UserDialogs& dialogs, bool reportMissing) {
    if (!s.dateLineList.isEmpty()) return;
    if (QFileInfo::exists(dateLinesPath)) {
        LoadDateLineFile(s, dateLinesPath, dialogs);
    } else if (reportMissing) {
        dialogs.inform(caption(CaptionKind::Warning, s.language),
                       QLatin1String(kDateLinesFileName) + message(29, s.language), Icon::Warning);
    }
    if (s.dateLineList.isEmpty()) s.dateLineList = DefaultDateLines();
}

}  // namespace zorva
