#pragma once
// The own date lines of planar dials: "DD/MM" followed by a comment, one per entry,
// kept in DialState::dateLineList, in the "[Datumslinien]" section and in "zor_days.ini".

#include "state/dial_state.h"

#include <QString>
#include <QStringList>

namespace zorva {

class UserDialogs;

inline constexpr const char* kDateLinesFileName = "zor_days.ini";

struct DateLineCheck {
    bool valid = false;
    int key = 0;       // month * 100 + day, the order of the list
    QString date;      // "DD/MM"
    QString comment;   // "DD. Mon" with the three-letter month name
};

// Reads day and month from the start of `text`. Day 29 of February is valid only in a
// Gregorian leap `referenceYear`. With `dialogs`, an invalid text is reported as
// "<text>: Datum fehlerhaft!" (Error caption).
DateLineCheck ValidateDateLine(const QString& text, int referenceYear, UserDialogs* dialogs = nullptr,
                               Language lang = Language::German);
// The entry the parameter dialog makes of a valid date: "21/03    ( 21. Mar )".
QString FormatDateLine(const DateLineCheck& check);
// How the list shows an entry in `lang`: its date with the month's name in that language,
// "21/03    ( 21. Mär )" / "21/03    ( 21 Mar )"; an entry without a valid date as it is.
QString DateLineDisplayText(const QString& entry, Language lang);
// Index at which an entry with this key keeps the list sorted (after entries of equal key).
int SortedInsertIndex(const QStringList& list, int key);

// The three lines a list receives when no file supplies any.
QStringList DefaultDateLines();

// Writes `entries` that pass validation (the others are reported and left out) to a
// date-line file such as "zor_days.ini".
bool SaveDateLineFile(const QStringList& entries, const QString& path, int referenceYear,
                      UserDialogs& dialogs, Language lang);
// Replaces s.dateLineList by the valid non-empty lines of such a file (invalid ones are
// reported). False, with the list untouched, when the file cannot be read.
bool LoadDateLineFile(DialState& s, const QString& path, UserDialogs& dialogs);

// "&Speichere Datumswerte to INI": replaces the "[Datumslinien]" section of the settings
// file by the valid entries of the dialog's list. Nothing happens when the file is missing.
bool SaveDateLines(const DialState& s, const QStringList& dialogList, const QString& settingsPath,
                   UserDialogs& dialogs);
// "nur Datumswerte aus INI laden": the date lines of the settings file, else of
// `dateLinesPath` ("zor_days.ini"), into s.dateLineList and, when given, the dialog's list.
bool LoadDateLines(DialState& s, QStringList* dialogList, const QString& settingsPath,
                   const QString& dateLinesPath, UserDialogs& dialogs);

// After dial data were loaded: an empty list is filled from `dateLinesPath`, else with the
// three defaults. `reportMissing` tells the user when that file does not exist.
void FillEmptyDateLines(DialState& s, const QString& dateLinesPath, UserDialogs& dialogs,
                        bool reportMissing);

}  // namespace zorva
